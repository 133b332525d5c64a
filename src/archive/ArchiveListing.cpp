#include "archive/ArchiveListing.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace invorator {

namespace {

// The seller that, with the number, makes an invoice; older saves left no SellerKey.
const char *const sellerOf = "COALESCE(NULLIF(i.SellerKey, ''), i.SellerName, '')";

QString entrySelect()
{
    return QStringLiteral("SELECT i.ID, i.SellerName, %1, i.InvoiceNumber, i.InvoiceDate, "
                          "COALESCE(i.AmountDue, i.PaymentDue), i.Currency, i.SumsCheck, i.Validation, "
                          "i.CreateDate, i.ReplacedDate, i.ReplacedUser, i.DocumentID, "
                          "COALESCE(NULLIF(i.FileSha256, ''), d.Sha256) "
                          "FROM tblInvoice i LEFT JOIN tblDocuments d ON d.ID = i.DocumentID ")
        .arg(QLatin1String(sellerOf));
}

// A date-time column as text: SQLite keeps the text written, PostgreSQL gives a date-time.
QString timeText(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' '));
}

// Findings of either check make the state "findings"; a check that agreed, with none
// failing, makes it "valid"; an invoice saved without either result has none.
QString stateOf(const QString &sums, const QString &validation)
{
    if (sums == QLatin1String("warnings") || sums == QLatin1String("wrong") ||
        validation == QLatin1String("warnings") || validation == QLatin1String("invalid"))
        return QStringLiteral("findings");
    if (sums == QLatin1String("agree") || validation == QLatin1String("valid"))
        return QStringLiteral("valid");
    return {};
}

ArchiveEntry entryOf(const QSqlQuery &q)
{
    ArchiveEntry e;
    e.id = q.value(0).toLongLong();
    e.seller = q.value(1).toString();
    e.sellerKey = q.value(2).toString();
    e.number = q.value(3).toString();
    e.issueDate = q.value(4).toString();
    e.amountDue = q.value(5).toString();
    e.currency = q.value(6).toString();
    e.state = stateOf(q.value(7).toString(), q.value(8).toString());
    e.createDate = timeText(q.value(9));
    e.replacedDate = timeText(q.value(10));
    e.replacedUser = q.value(11).toString();
    if (!q.value(12).isNull())
        e.documentId = q.value(12).toLongLong();
    e.sha256 = q.value(13).toString().toLower();
    return e;
}

bool contains(const QString &text, const QString &part)
{
    return text.contains(part, Qt::CaseInsensitive);
}

} // namespace

QString ArchiveEntry::invoiceKey() const
{
    return sellerKey + QLatin1Char('\n') + number;
}

QDate ArchiveEntry::date() const
{
    return ArchiveFilter::parseDate(issueDate);
}

QDate ArchiveFilter::parseDate(const QString &text)
{
    for (const char *format : {"yyyy-MM-dd", "dd.MM.yyyy", "d.M.yyyy"})
        if (const QDate d = QDate::fromString(text.trimmed(), QString::fromLatin1(format)); d.isValid())
            return d;
    return {};
}

bool ArchiveFilter::matches(const ArchiveEntry &e) const
{
    const QString s = seller.trimmed();
    if (!s.isEmpty() && !contains(e.seller, s) && !contains(e.sellerKey, s))
        return false;
    if (!number.trimmed().isEmpty() && !contains(e.number, number.trimmed()))
        return false;
    if (from.isValid() || to.isValid()) {
        // An entry without a readable date is outside every range.
        const QDate d = e.date();
        if (!d.isValid() || (from.isValid() && d < from) || (to.isValid() && d > to))
            return false;
    }
    if (minAmount || maxAmount) {
        const DecimalRead amount = Decimal::fromXml(e.amountDue);
        if (!amount || (minAmount && *amount.value < *minAmount) || (maxAmount && *amount.value > *maxAmount))
            return false;
    }
    return state.isEmpty() || e.state == state;
}

std::vector<ArchiveEntry> Filtered(const std::vector<ArchiveEntry> &entries, const ArchiveFilter &filter)
{
    std::vector<ArchiveEntry> kept;
    for (const ArchiveEntry &e : entries)
        if (filter.matches(e))
            kept.push_back(e);
    return kept;
}

std::optional<std::vector<ArchiveEntry>> ArchiveListing::select(const QString &where,
                                                                const QVariantList &values)
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    // Amounts come as their exact text, never through a double.
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    q.prepare(entrySelect() + where + QStringLiteral("ORDER BY i.ID DESC"));
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    std::vector<ArchiveEntry> found;
    while (q.next())
        found.push_back(entryOf(q));
    return found;
}

std::optional<std::vector<ArchiveEntry>> ArchiveListing::entries(bool all)
{
    return select(all ? QString() : QStringLiteral("WHERE i.ReplacedDate IS NULL "), {});
}

std::optional<std::vector<ArchiveEntry>> ArchiveListing::versions(qint64 id)
{
    return select(QStringLiteral("WHERE %1 = (SELECT %1 FROM tblInvoice i WHERE i.ID = ?) "
                                 "AND i.InvoiceNumber = (SELECT InvoiceNumber FROM tblInvoice WHERE ID = ?) ")
                      .arg(QLatin1String(sellerOf)),
                  {id, id});
}

std::optional<StoredDocument> ArchiveListing::document(qint64 id)
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT d.ID, d.FileName, d.FileSize, d.Sha256, d.ImportDate, d.BinaryFile "
                             "FROM tblInvoice i JOIN tblDocuments d ON d.ID = i.DocumentID WHERE i.ID = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return StoredDocument{q.value(0).toLongLong(),         q.value(1).toString(), q.value(2).toLongLong(),
                          q.value(3).toString().toLower(), timeText(q.value(4)),  q.value(5).toByteArray()};
}

std::optional<std::vector<DocumentMismatch>> ArchiveListing::verify()
{
    QSqlQuery q(m_db.connection());
    // One document at a time: the archive's files together may not fit in memory.
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT ID, FileName, Sha256, BinaryFile FROM tblDocuments ORDER BY ID"))) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    std::vector<DocumentMismatch> mismatches;
    while (q.next()) {
        const QString recorded = q.value(2).toString().trimmed().toLower();
        const QString actual = QString::fromLatin1(
            QCryptographicHash::hash(q.value(3).toByteArray(), QCryptographicHash::Sha256).toHex());
        if (recorded != actual)
            mismatches.push_back({q.value(0).toLongLong(), q.value(1).toString(), recorded, actual});
    }
    if (q.lastError().isValid()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    return mismatches;
}

} // namespace invorator
