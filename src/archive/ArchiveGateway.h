#pragma once

#include "services/Database.h"

#include <QByteArray>
#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <array>
#include <initializer_list>
#include <optional>
#include <vector>

struct sqlite3_stmt;

namespace invorator {

// The values of one tblInvoice row, in the order of its columns from RoutingID to
// CurrencyCode and then from SellerKey to FileSha256 (without DocumentID and the
// replacement's date and user); texts, decimals (as decimal text) or Null.
using HeaderValues = std::vector<QVariant>;

// One line of an invoice version: position, line id, article, description, then quantity,
// net, gross, VAT, total gross and total net, each an exact decimal as text, a double where
// the archive keeps doubles, or Null (a line without a VAT rate has no gross amounts).
struct ItemRow
{
    int pos = 0;
    QString lineId, itemName, description;
    std::array<QVariant, 6> numbers;
};

// One allowance or charge: code, reason, factor, amount and basic amount.
struct DeductionRow
{
    QString code, reason, factor, amount, basicAmount;
};

// Every SQL statement on the archive: the rest of the program asks this class to write
// an invoice's rows and never builds a statement itself. All values are bound.
class ArchiveGateway
{
public:
    static constexpr int SchemaVersion = 2;

    explicit ArchiveGateway(Database &db) : m_db(db) {}
    ~ArchiveGateway();
    ArchiveGateway(const ArchiveGateway &) = delete;
    ArchiveGateway &operator=(const ArchiveGateway &) = delete;

    // Whether the four tables are there and the archive takes writes; the engine's
    // description when not.
    DbResult checkUsable();

    // The tables where they are missing, from the SQL text of data/sql/Invoices.sql (in
    // this engine's words for its types).
    DbResult createTables(const QString &sqlText);
    // The schema version the archive records; 0 when it records none (or cannot say).
    int schemaVersion();
    // Brings an archive of an earlier schema up to this one, inside the caller's
    // transaction: adds the missing columns, fills what can be derived for existing rows,
    // installs the rules that keep stored documents and replaced versions unchanged, and
    // records the version.
    DbResult upgrade();

    // Makes saves of one seller's invoice number wait for each other until the save's
    // transaction ends.
    DbResult lockInvoice(const QString &sellerKey, const QString &number);
    // The latest version of the seller's invoice number, or nothing; a failed query is a failure.
    std::optional<std::optional<qint64>> findLatest(const QString &sellerKey, const QString &number);
    DbResult markReplaced(qint64 id, const QDateTime &when, const QString &user);
    // The row id of the new version. A replacement takes the creation of the version it
    // replaces and is changed now by the user.
    std::optional<qint64> insertHeader(const QDateTime &when, const QString &user, const HeaderValues &values,
                                       qint64 documentId, std::optional<qint64> replaces);

    // Whether the lines' number columns keep exact decimals (archives made before keep
    // doubles there); nothing when the question failed.
    std::optional<bool> itemsKeepDecimals();
    DbResult insertItems(qint64 invoiceId, const QString &number, const std::vector<ItemRow> &rows);
    DbResult insertDeductions(qint64 invoiceId, const QString &number, const std::vector<DeductionRow> &rows);

    // The stored document of this content (SHA-256 as hex), stored now when the archive
    // has none; its row id.
    std::optional<qint64> storeDocument(const QString &docType, const QString &number,
                                        const QByteArray &bytes, const QString &sha256,
                                        const QString &fileName, const QString &fileType,
                                        const QDateTime &when);

    QString lastError() const { return m_lastError; }

private:
    bool sqlite() const;
    DbResult run(QSqlQuery &query);
    DbResult exec(const QString &sql, std::initializer_list<QVariant> values = {});
    std::optional<qint64> insertReturningId(const QString &sql, const std::vector<QVariant> &values);
    // Rows of `width` values each into `table`'s columns, many rows per statement.
    DbResult insertBatched(const QString &table, const QString &columns, int width,
                           const std::vector<QVariant> &values);
    DbResult insertItemsNative(qint64 invoiceId, const QString &number, const std::vector<ItemRow> &rows);

    Database &m_db;
    QString m_lastError;
    // On SQLite the lines go through SQLite's own statement: binding through Qt SQL costs
    // more than the insert.
    sqlite3_stmt *m_nativeItem = nullptr;
    bool m_nativeTried = false;
};

} // namespace invorator
