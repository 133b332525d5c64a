#include "archive/ArchiveGateway.h"

#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace invorator {

namespace {

const QString headerColumns = QStringLiteral(
    "RoutingID, InvoiceNumber, Subject, InvoiceDate, PayableBy, InvoiceType, PaymentMethod, Remarks, "
    "SellerName, SellerTaxNumber, SellerRecipiedEMail, SellerStreet, SellerCountry, SellerZip, SellerCity, "
    "SellerContactPerson, SellerContactEmail, SellerContactPhone, "
    "BuyerName, BuyerTaxNumber, BuyerRecipiedEMail, BuyerStreet, BuyerCountry, BuyerZip, BuyerCity, "
    "BuyerContactPerson, BuyerContactEmail, BuyerContactPhone, "
    "SumOfNet, TaxAmountWithVAT, TotalAmountWithoutVAT, Dicounts, Sucharges, Prepayment, RoundingAmount, "
    "PaymentDue, CustomizationID, ProfileID, AccountingCost, CurrencyCode");

// The time as the clock on the user's wall shows it; a bound date-time would reach a
// PostgreSQL server as UTC and be turned into the server's zone.
QString localTime(const QDateTime &when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString placeholders(qsizetype n)
{
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

} // namespace

ArchiveGateway::~ArchiveGateway()
{
    if (m_nativeItem)
        sqlite3_finalize(m_nativeItem);
}

DbResult ArchiveGateway::run(QSqlQuery &query)
{
    if (query.exec())
        return {true, {}};
    return {false, query.lastError().text()};
}

DbResult ArchiveGateway::runPrepared(std::optional<QSqlQuery> &slot, const QString &sql,
                                     std::initializer_list<QVariant> values)
{
    if (!slot) {
        slot.emplace(m_db.connection());
        slot->prepare(sql);
    }
    int i = 0;
    for (const QVariant &v : values)
        slot->bindValue(i++, v);
    return run(*slot);
}

DbResult ArchiveGateway::checkUsable()
{
    for (const char *table : {"tblInvoice", "tblInvoice_Items", "tblInvoice_Deduction", "tblDocuments"}) {
        QSqlQuery q(m_db.connection());
        if (!q.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(QLatin1String(table))))
            return {false, q.lastError().text()};
    }
    // A file that cannot be written fails here, before anything is asked or written.
    Transaction probe(m_db);
    return probe.begun();
}

DbResult ArchiveGateway::createTables(const QString &sqlText)
{
    // Comment lines out first, then one statement at a time: the drivers run only the
    // first of several.
    QStringList lines;
    for (const QString &line : sqlText.split(QLatin1Char('\n')))
        if (!line.trimmed().startsWith(QLatin1String("--")))
            lines << line;
    for (const QString &part : lines.join(QLatin1Char('\n')).split(QLatin1Char(';'))) {
        const QString statement = part.trimmed();
        if (statement.isEmpty())
            continue;
        QSqlQuery q(m_db.connection());
        if (!q.exec(statement))
            return {false, q.lastError().text()};
    }
    return {true, {}};
}

std::optional<std::optional<qint64>> ArchiveGateway::findInvoice(const QString &number)
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ID FROM tblInvoice WHERE InvoiceNumber = ? ORDER BY ID"));
    q.addBindValue(number);
    if (!q.exec())
        return std::nullopt;
    if (!q.next())
        return std::optional<qint64>();
    return std::optional<qint64>(q.value(0).toLongLong());
}

DbResult ArchiveGateway::insertHeader(const QDateTime &when, const QString &user, const HeaderValues &values)
{
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("INSERT INTO tblInvoice (CreateDate, CreateUser, ") + headerColumns +
              QStringLiteral(") VALUES (") + placeholders(2 + static_cast<qsizetype>(values.size())) +
              QLatin1Char(')'));
    q.addBindValue(localTime(when));
    q.addBindValue(user);
    for (const QVariant &v : values)
        q.addBindValue(v);
    return run(q);
}

DbResult ArchiveGateway::updateHeader(qint64 id, const QDateTime &when, const QString &user,
                                      const HeaderValues &values)
{
    QStringList sets{QStringLiteral("ChangeDate = ?"), QStringLiteral("ChangeUser = ?")};
    for (const QString &column : headerColumns.split(QStringLiteral(", ")))
        sets << column + QStringLiteral(" = ?");
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("UPDATE tblInvoice SET ") + sets.join(QStringLiteral(", ")) +
              QStringLiteral(" WHERE ID = ?"));
    q.addBindValue(localTime(when));
    q.addBindValue(user);
    for (const QVariant &v : values)
        q.addBindValue(v);
    q.addBindValue(id);
    return run(q);
}

DbResult ArchiveGateway::deleteItems(const QString &number)
{
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("DELETE FROM tblInvoice_Items WHERE InvoiceNumber = ?"));
    q.addBindValue(number);
    return run(q);
}

std::optional<bool> ArchiveGateway::itemsKeepDecimals()
{
    QSqlQuery q(m_db.connection());
    const bool sqlite = m_db.connection().driverName() == QLatin1String("QSQLITE");
    const bool ran =
        q.exec(sqlite ? QStringLiteral("SELECT type FROM pragma_table_info('tblInvoice_Items') "
                                       "WHERE name = 'Quantity'")
                      : QStringLiteral("SELECT data_type FROM information_schema.columns WHERE "
                                       "table_name = 'tblinvoice_items' AND column_name = 'quantity' "
                                       "AND table_schema = current_schema()"));
    if (!ran || !q.next())
        return std::nullopt;
    const QString type = q.value(0).toString().toUpper();
    return type.contains(QLatin1String("TEXT")) || type.contains(QLatin1String("NUMERIC"));
}

DbResult ArchiveGateway::insertItem(const QString &number, int pos, const QString &lineId,
                                    const QString &itemName, const QString &description,
                                    const std::array<QVariant, 6> &numbers)
{
    static const QString sql =
        QStringLiteral("INSERT INTO tblInvoice_Items (InvoiceNumber, Pos, LineID, ItemName, "
                       "Description, Quantity, Net, Gross, VAT, TotalGross, TotalNet) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!m_nativeTried) {
        m_nativeTried = true;
        const QSqlDatabase c = m_db.connection();
        const QVariant handle = c.driver() ? c.driver()->handle() : QVariant();
        if (c.driverName() == QLatin1String("QSQLITE") && handle.isValid() &&
            qstrcmp(handle.typeName(), "sqlite3*") == 0) {
            sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
            if (!db || sqlite3_prepare_v3(db, sql.toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT,
                                          &m_nativeItem, nullptr) != SQLITE_OK)
                m_nativeItem = nullptr;
        }
    }
    if (!m_nativeItem)
        return runPrepared(m_insertItem, sql,
                           {number, pos, lineId, itemName, description, numbers[0], numbers[1], numbers[2],
                            numbers[3], numbers[4], numbers[5]});
    const auto text = [&](int i, const QString &t) {
        sqlite3_bind_text16(m_nativeItem, i, t.utf16(), static_cast<int>(t.size() * 2), SQLITE_TRANSIENT);
    };
    text(1, number);
    sqlite3_bind_int(m_nativeItem, 2, pos);
    text(3, lineId);
    text(4, itemName);
    text(5, description);
    for (int i = 0; i < 6; ++i) {
        const QVariant &n = numbers[static_cast<std::size_t>(i)];
        if (n.typeId() == QMetaType::Double)
            sqlite3_bind_double(m_nativeItem, 6 + i, n.toDouble());
        else
            text(6 + i, n.toString());
    }
    const int stepped = sqlite3_step(m_nativeItem);
    sqlite3_reset(m_nativeItem);
    if (stepped == SQLITE_DONE)
        return {true, {}};
    return {false, QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_nativeItem)))};
}

DbResult ArchiveGateway::deleteDeductions(const QString &number)
{
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("DELETE FROM tblInvoice_Deduction WHERE InvoiceNumber = ?"));
    q.addBindValue(number);
    return run(q);
}

DbResult ArchiveGateway::insertDeduction(const QString &number, const QString &code, const QString &reason,
                                         const QString &factor, const QString &amount,
                                         const QString &basicAmount)
{
    return runPrepared(
        m_insertDeduction,
        QStringLiteral("INSERT INTO tblInvoice_Deduction (InvoiceNumber, Code, reason, Factor, "
                       "Amount, BasicAmount) VALUES (?, ?, ?, ?, ?, ?)"),
        {number, code, reason, factor, amount, basicAmount});
}

DbResult ArchiveGateway::insertDocument(const QString &docType, const QString &number,
                                        const QByteArray &bytes, const QString &fileName,
                                        const QString &fileType)
{
    QSqlQuery q(m_db.connection());
    q.prepare(
        QStringLiteral("INSERT INTO tblDocuments (DocType, InvoiceNumber, BinaryFile, FileName, FileType, "
                       "FileSize) VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(docType);
    q.addBindValue(number);
    q.addBindValue(bytes);
    q.addBindValue(fileName);
    q.addBindValue(fileType);
    q.addBindValue(static_cast<qint64>(bytes.size()));
    return run(q);
}

DbResult ArchiveGateway::lockNumber(const QString &number)
{
    // SQLite's write transaction already excludes every other writer.
    if (m_db.connection().driverName() == QLatin1String("QSQLITE"))
        return {true, {}};
    // Saves of one number wait for each other until the step's transaction ends.
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"));
    q.addBindValue(number);
    return run(q);
}

} // namespace invorator
