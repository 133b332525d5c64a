#pragma once

#include "model/Decimal.h"
#include "services/Database.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace invorator {

// One archived version of an invoice as a bookkeeper looks for it.
struct ArchiveEntry
{
    qint64 id = 0;
    QString seller;    // SellerName
    QString sellerKey; // the seller's identity with the number (VAT id, tax number or name)
    QString number;
    QString issueDate; // as stored ("dd.MM.yyyy")
    QString amountDue; // exact decimal text; PaymentDue where an older save left AmountDue empty
    QString currency;
    QString state; // "valid", "findings", or empty when the invoice was not checked
    QString createDate;
    QString replacedDate; // empty on the latest version
    QString replacedUser;
    std::optional<qint64> documentId;
    QString sha256; // of the stored file

    bool latest() const { return replacedDate.isEmpty(); }
    // Versions of one invoice share this: the seller's identity (its name where an older
    // save left none) and the number.
    QString invoiceKey() const;
    QDate date() const;
};

// What a bookkeeper filters by; every criterion left empty lets every entry pass.
struct ArchiveFilter
{
    QString seller; // part of the seller's name or identity, in any case
    QString number; // part of the number, in any case
    QDate from;
    QDate to;
    std::optional<Decimal> minAmount;
    std::optional<Decimal> maxAmount;
    QString state; // "valid" or "findings"

    bool matches(const ArchiveEntry &entry) const;
    // A date as the user types it: "2026-12-01", "01.12.2026" or "1.12.2026".
    static QDate parseDate(const QString &text);
};

// A stored document as the archive keeps it.
struct StoredDocument
{
    qint64 id = 0;
    QString fileName;
    qint64 fileSize = 0;
    QString sha256;
    QString importDate;
    QByteArray bytes;
};

// A stored document whose bytes do not give its recorded SHA-256 (empty when none was recorded).
struct DocumentMismatch
{
    qint64 id = 0;
    QString fileName;
    QString recorded;
    QString actual;
};

// Every statement that reads the archive back: listing, one entry's versions, its stored
// document, and the check of every document against its fingerprint. Writes none.
class ArchiveListing
{
public:
    explicit ArchiveListing(Database &db) : m_db(db) {}

    // The archived invoices, newest first: the latest versions, or every version with `all`.
    // Nothing when the archive could not be read (lastError() says why).
    std::optional<std::vector<ArchiveEntry>> entries(bool all);
    // Every version of the invoice the entry belongs to, newest first (empty when no such entry).
    std::optional<std::vector<ArchiveEntry>> versions(qint64 id);
    // The entry's stored document with its bytes, or nothing (no entry, no document, or an error).
    std::optional<StoredDocument> document(qint64 id);
    // Recomputes the SHA-256 of every stored document; nothing when the archive could not be read.
    std::optional<std::vector<DocumentMismatch>> verify();

    const QString &lastError() const { return m_error; }

private:
    // The entries the condition picks (a WHERE clause with its bound values, or none), newest first.
    std::optional<std::vector<ArchiveEntry>> select(const QString &where, const QVariantList &values);
    Database &m_db;
    QString m_error;
};

// Filters, newest first as they came.
std::vector<ArchiveEntry> Filtered(const std::vector<ArchiveEntry> &entries, const ArchiveFilter &filter);

} // namespace invorator
