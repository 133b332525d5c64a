#include "archive/ArchiveGateway.h"

#include <QCryptographicHash>
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
    "PaymentDue, CustomizationID, ProfileID, AccountingCost, CurrencyCode, "
    "SellerKey, VatTotal, AmountDue, Currency, SellerVatID, BuyerVatID, IBAN, DueDate, DocumentTypeCode, "
    "SumsCheck, Validation, FileSha256");

// The columns schema version 2 added, with their types as data/sql/Invoices.sql writes them.
struct AddedColumn
{
    const char *table, *column, *type;
};
constexpr AddedColumn addedColumns[] = {{"tblInvoice", "SellerKey", "TEXT"},
                                        {"tblInvoice", "DocumentID", "INTEGER"},
                                        {"tblInvoice", "ReplacedDate", "DATETIME"},
                                        {"tblInvoice", "ReplacedUser", "TEXT"},
                                        {"tblInvoice", "VatTotal", "DECIMAL_TEXT"},
                                        {"tblInvoice", "AmountDue", "DECIMAL_TEXT"},
                                        {"tblInvoice", "Currency", "TEXT"},
                                        {"tblInvoice", "SellerVatID", "TEXT"},
                                        {"tblInvoice", "BuyerVatID", "TEXT"},
                                        {"tblInvoice", "IBAN", "TEXT"},
                                        {"tblInvoice", "DueDate", "TEXT"},
                                        {"tblInvoice", "DocumentTypeCode", "TEXT"},
                                        {"tblInvoice", "SumsCheck", "TEXT"},
                                        {"tblInvoice", "Validation", "TEXT"},
                                        {"tblInvoice", "FileSha256", "TEXT"},
                                        {"tblInvoice_Items", "InvoiceID", "INTEGER"},
                                        {"tblInvoice_Deduction", "InvoiceID", "INTEGER"},
                                        {"tblDocuments", "Sha256", "TEXT"},
                                        {"tblDocuments", "ImportDate", "DATETIME"}};

// The child tables, whose rows belong to the version their InvoiceID names.
constexpr const char *childTables[] = {"tblInvoice_Items", "tblInvoice_Deduction"};

// Rows of one multi-row insert: few statements for a long invoice, and far below the
// engines' limits of bound values per statement.
constexpr std::size_t batchRows = 1000;

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

bool ArchiveGateway::sqlite() const
{
    return m_db.connection().driverName() == QLatin1String("QSQLITE");
}

DbResult ArchiveGateway::run(QSqlQuery &query)
{
    if (query.exec())
        return {true, {}};
    m_lastError = query.lastError().text();
    return {false, m_lastError};
}

DbResult ArchiveGateway::exec(const QString &sql, std::initializer_list<QVariant> values)
{
    QSqlQuery q(m_db.connection());
    if (values.size() == 0) {
        if (q.exec(sql))
            return {true, {}};
        m_lastError = q.lastError().text();
        return {false, m_lastError};
    }
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    return run(q);
}

std::optional<qint64> ArchiveGateway::insertReturningId(const QString &sql,
                                                        const std::vector<QVariant> &values)
{
    QSqlQuery q(m_db.connection());
    q.prepare(sql + QStringLiteral(" RETURNING ID"));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!run(q))
        return std::nullopt;
    if (!q.next()) {
        m_lastError = QStringLiteral("The database returned no row id.");
        return std::nullopt;
    }
    return q.value(0).toLongLong();
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
        if (const DbResult done = exec(statement); !done)
            return done;
    }
    return {true, {}};
}

int ArchiveGateway::schemaVersion()
{
    // Asked without a failing statement: on PostgreSQL one would end the transaction.
    QSqlQuery q(m_db.connection());
    const bool present = q.exec(sqlite() ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                                          "'table' AND name = 'tblArchiveInfo'")
                                         : QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                                          "WHERE table_name = 'tblarchiveinfo' AND "
                                                          "table_schema = current_schema()")) &&
                         q.next() && q.value(0).toInt() > 0;
    if (!present)
        return 0;
    QSqlQuery v(m_db.connection());
    if (!v.exec(QStringLiteral("SELECT Value FROM tblArchiveInfo WHERE Name = 'SchemaVersion'")) || !v.next())
        return 0;
    return v.value(0).toInt();
}

DbResult ArchiveGateway::upgrade()
{
    const bool lite = sqlite();
    // Filling existing rows may take longer than one save may wait.
    if (!lite)
        if (const DbResult unlimited = exec(QStringLiteral("SET LOCAL statement_timeout = 0")); !unlimited)
            return unlimited;
    for (const AddedColumn &c : addedColumns) {
        const QString table = QLatin1String(c.table), column = QLatin1String(c.column);
        QString type = QLatin1String(c.type);
        if (lite) {
            QSqlQuery probe(m_db.connection());
            if (probe.exec(QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(column, table)))
                continue;
        } else {
            type = type == QLatin1String("DATETIME")       ? QStringLiteral("TIMESTAMP")
                   : type == QLatin1String("DECIMAL_TEXT") ? QStringLiteral("NUMERIC")
                   : type == QLatin1String("INTEGER")      ? QStringLiteral("BIGINT")
                                                           : type;
        }
        const QString add = lite ? QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                 : QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 %3");
        if (const DbResult added = exec(add.arg(table, column, type)); !added)
            return added;
    }
    QStringList statements{
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS idxInvoice_SellerKey ON tblInvoice (SellerKey, InvoiceNumber)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS idxInvoice_Items_InvoiceID ON tblInvoice_Items (InvoiceID)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS idxInvoice_Deduction_InvoiceID ON tblInvoice_Deduction (InvoiceID)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idxDocuments_Sha256 ON tblDocuments (Sha256)"),
        // Rows of the first schema: one header per number (the first one was the one
        // updated), the seller as that schema kept it.
        QStringLiteral("UPDATE tblInvoice SET SellerKey = COALESCE(NULLIF(SellerTaxNumber, ''), SellerName) "
                       "WHERE SellerKey IS NULL"),
    };
    for (const char *child : childTables)
        statements << QStringLiteral("UPDATE %1 SET InvoiceID = (SELECT min(i.ID) FROM tblInvoice i WHERE "
                                     "i.InvoiceNumber = %1.InvoiceNumber) WHERE InvoiceID IS NULL")
                          .arg(QLatin1String(child));
    for (const QString &statement : statements)
        if (const DbResult done = exec(statement); !done)
            return done;
    // Each stored file's fingerprint, computed here so that both engines agree on it.
    {
        QSqlQuery files(m_db.connection());
        files.setForwardOnly(true);
        if (!files.exec(QStringLiteral("SELECT ID, BinaryFile FROM tblDocuments WHERE Sha256 IS NULL")))
            return {false, files.lastError().text()};
        std::vector<std::pair<qint64, QString>> sums;
        while (files.next())
            sums.emplace_back(files.value(0).toLongLong(),
                              QString::fromLatin1(QCryptographicHash::hash(files.value(1).toByteArray(),
                                                                           QCryptographicHash::Sha256)
                                                      .toHex()));
        for (const auto &[id, sum] : sums)
            if (const DbResult done =
                    exec(QStringLiteral("UPDATE tblDocuments SET Sha256 = ? WHERE ID = ?"), {sum, id});
                !done)
                return done;
    }
    // A header of the first schema belongs to the last file saved with its number.
    if (const DbResult done = exec(QStringLiteral("UPDATE tblInvoice SET DocumentID = (SELECT max(d.ID) FROM "
                                                  "tblDocuments d WHERE d.InvoiceNumber = "
                                                  "tblInvoice.InvoiceNumber) WHERE DocumentID IS NULL"));
        !done)
        return done;
    if (const DbResult done = exec(QStringLiteral("UPDATE tblInvoice SET FileSha256 = (SELECT d.Sha256 FROM "
                                                  "tblDocuments d WHERE d.ID = tblInvoice.DocumentID) WHERE "
                                                  "FileSha256 IS NULL AND DocumentID IS NOT NULL"));
        !done)
        return done;

    // The archive's own rules: a stored file, a replaced version and its lines and
    // allowances stay as they are, whoever writes to the database.
    QStringList rules;
    if (lite) {
        const auto refuse = [&](const QString &name, const char *event, const char *table,
                                const QString &when) {
            rules << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 BEFORE %2 ON %3 %4 BEGIN SELECT "
                                    "RAISE(ABORT, 'archived rows of %3 cannot be changed'); END")
                         .arg(name, QLatin1String(event), QLatin1String(table), when);
        };
        for (const char *event : {"UPDATE", "DELETE"}) {
            const QString e = QLatin1String(event);
            refuse(QStringLiteral("trgKeep_Documents_") + e, event, "tblDocuments", {});
            refuse(QStringLiteral("trgKeep_Invoice_") + e, event, "tblInvoice",
                   QStringLiteral("WHEN OLD.ReplacedDate IS NOT NULL"));
            for (const char *child : childTables)
                refuse(QStringLiteral("trgKeep_%1_%2").arg(QLatin1String(child).mid(3), e), event, child,
                       QStringLiteral("WHEN EXISTS (SELECT 1 FROM tblInvoice WHERE ID = OLD.InvoiceID AND "
                                      "ReplacedDate IS NOT NULL)"));
        }
    } else {
        rules << QStringLiteral(
            "CREATE OR REPLACE FUNCTION invorator_keep_archived() RETURNS trigger LANGUAGE plpgsql AS $f$\n"
            "BEGIN\n"
            "  IF TG_OP = 'TRUNCATE' OR TG_TABLE_NAME = 'tbldocuments' THEN\n"
            "    RAISE EXCEPTION 'archived rows of % cannot be changed', TG_TABLE_NAME;\n"
            "  END IF;\n"
            // Each table's own fields in a branch of its own: a record has only its table's.
            "  IF TG_TABLE_NAME = 'tblinvoice' THEN\n"
            "    IF OLD.ReplacedDate IS NOT NULL THEN\n"
            "      RAISE EXCEPTION 'archived rows of % cannot be changed', TG_TABLE_NAME;\n"
            "    END IF;\n"
            "  ELSIF EXISTS (SELECT 1 FROM tblInvoice WHERE ID = OLD.InvoiceID AND ReplacedDate IS NOT NULL) "
            "THEN\n"
            "    RAISE EXCEPTION 'archived rows of % cannot be changed', TG_TABLE_NAME;\n"
            "  END IF;\n"
            "  IF TG_OP = 'DELETE' THEN RETURN OLD; END IF;\n"
            "  RETURN NEW;\n"
            "END $f$");
        for (const char *table : {"tblDocuments", "tblInvoice", "tblInvoice_Items", "tblInvoice_Deduction"}) {
            const QString t = QLatin1String(table);
            rules << QStringLiteral("DROP TRIGGER IF EXISTS trgKeep ON %1").arg(t)
                  << QStringLiteral("CREATE TRIGGER trgKeep BEFORE UPDATE OR DELETE ON %1 FOR EACH ROW "
                                    "EXECUTE FUNCTION invorator_keep_archived()")
                         .arg(t)
                  << QStringLiteral("DROP TRIGGER IF EXISTS trgKeepAll ON %1").arg(t)
                  << QStringLiteral("CREATE TRIGGER trgKeepAll BEFORE TRUNCATE ON %1 FOR EACH STATEMENT "
                                    "EXECUTE FUNCTION invorator_keep_archived()")
                         .arg(t);
        }
        // No other role of the server changes a stored file; the archive's own role is
        // held by the triggers.
        rules << QStringLiteral("REVOKE UPDATE, DELETE, TRUNCATE ON tblDocuments FROM PUBLIC");
    }
    rules << QStringLiteral("INSERT INTO tblArchiveInfo (Name, Value) VALUES ('SchemaVersion', '%1') "
                            "ON CONFLICT (Name) DO UPDATE SET Value = excluded.Value")
                 .arg(SchemaVersion);
    for (const QString &rule : rules)
        if (const DbResult done = exec(rule); !done)
            return done;
    return {true, {}};
}

DbResult ArchiveGateway::lockInvoice(const QString &sellerKey, const QString &number)
{
    // SQLite's write transaction already excludes every other writer.
    if (sqlite())
        return {true, {}};
    // Saves of one invoice wait for each other until the save's transaction ends; the
    // lock time-out of the connection ends a wait that lasts too long.
    return exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"),
                {sellerKey + QLatin1Char('\n') + number});
}

std::optional<std::optional<qint64>> ArchiveGateway::findLatest(const QString &sellerKey,
                                                                const QString &number)
{
    QSqlQuery q(m_db.connection());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ID FROM tblInvoice WHERE SellerKey = ? AND InvoiceNumber = ? AND "
                             "ReplacedDate IS NULL ORDER BY ID DESC"));
    q.addBindValue(sellerKey);
    q.addBindValue(number);
    if (!run(q))
        return std::nullopt;
    if (!q.next())
        return std::optional<qint64>();
    return std::optional<qint64>(q.value(0).toLongLong());
}

DbResult ArchiveGateway::markReplaced(qint64 id, const QDateTime &when, const QString &user)
{
    return exec(QStringLiteral("UPDATE tblInvoice SET ReplacedDate = ?, ReplacedUser = ? WHERE ID = ?"),
                {localTime(when), user, id});
}

std::optional<qint64> ArchiveGateway::insertHeader(const QDateTime &when, const QString &user,
                                                   const HeaderValues &values, qint64 documentId,
                                                   std::optional<qint64> replaces)
{
    std::vector<QVariant> bound{localTime(when), user};
    bound.insert(bound.end(), values.begin(), values.end());
    bound.emplace_back(documentId);
    const auto id = insertReturningId(
        QStringLiteral("INSERT INTO tblInvoice (%1, %2, ")
                .arg(replaces ? QStringLiteral("ChangeDate") : QStringLiteral("CreateDate"),
                     replaces ? QStringLiteral("ChangeUser") : QStringLiteral("CreateUser")) +
            headerColumns + QStringLiteral(", DocumentID) VALUES (") +
            placeholders(static_cast<qsizetype>(bound.size())) + QLatin1Char(')'),
        bound);
    if (!id || !replaces)
        return id;
    if (!exec(
            QStringLiteral("UPDATE tblInvoice SET CreateDate = (SELECT p.CreateDate FROM tblInvoice p WHERE "
                           "p.ID = ?), CreateUser = (SELECT p.CreateUser FROM tblInvoice p WHERE p.ID = ?) "
                           "WHERE ID = ?"),
            {*replaces, *replaces, *id}))
        return std::nullopt;
    return id;
}

std::optional<bool> ArchiveGateway::itemsKeepDecimals()
{
    QSqlQuery q(m_db.connection());
    const bool ran =
        q.exec(sqlite() ? QStringLiteral("SELECT type FROM pragma_table_info('tblInvoice_Items') "
                                         "WHERE name = 'Quantity'")
                        : QStringLiteral("SELECT data_type FROM information_schema.columns WHERE "
                                         "table_name = 'tblinvoice_items' AND column_name = 'quantity' "
                                         "AND table_schema = current_schema()"));
    if (!ran || !q.next())
        return std::nullopt;
    const QString type = q.value(0).toString().toUpper();
    return type.contains(QLatin1String("TEXT")) || type.contains(QLatin1String("NUMERIC"));
}

DbResult ArchiveGateway::insertBatched(const QString &table, const QString &columns, int width,
                                       const std::vector<QVariant> &values)
{
    const std::size_t rows = values.size() / static_cast<std::size_t>(width);
    const QString row = QLatin1Char('(') + placeholders(width) + QLatin1Char(')');
    for (std::size_t first = 0; first < rows; first += batchRows) {
        const std::size_t n = std::min<std::size_t>(batchRows, rows - first);
        QStringList marks;
        for (std::size_t i = 0; i < n; ++i)
            marks << row;
        QSqlQuery q(m_db.connection());
        q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns) +
                  marks.join(QStringLiteral(", ")));
        const auto from =
            values.begin() + static_cast<std::ptrdiff_t>(first * static_cast<std::size_t>(width));
        for (auto v = from; v != from + static_cast<std::ptrdiff_t>(n * static_cast<std::size_t>(width)); ++v)
            q.addBindValue(*v);
        if (const DbResult done = run(q); !done)
            return done;
    }
    return {true, {}};
}

namespace {
const QString itemColumns = QStringLiteral("InvoiceNumber, InvoiceID, Pos, LineID, ItemName, Description, "
                                           "Quantity, Net, Gross, VAT, TotalGross, TotalNet");
} // namespace

DbResult ArchiveGateway::insertItems(qint64 invoiceId, const QString &number,
                                     const std::vector<ItemRow> &rows)
{
    if (sqlite())
        return insertItemsNative(invoiceId, number, rows);
    std::vector<QVariant> values;
    values.reserve(rows.size() * 12);
    for (const ItemRow &r : rows) {
        values.insert(values.end(), {number, invoiceId, r.pos, r.lineId, r.itemName, r.description});
        values.insert(values.end(), r.numbers.begin(), r.numbers.end());
    }
    return insertBatched(QStringLiteral("tblInvoice_Items"), itemColumns, 12, values);
}

DbResult ArchiveGateway::insertItemsNative(qint64 invoiceId, const QString &number,
                                           const std::vector<ItemRow> &rows)
{
    const QString sql = QStringLiteral("INSERT INTO tblInvoice_Items (") + itemColumns +
                        QStringLiteral(") VALUES (") + placeholders(12) + QLatin1Char(')');
    if (!m_nativeTried) {
        m_nativeTried = true;
        const QSqlDatabase c = m_db.connection();
        const QVariant handle = c.driver() ? c.driver()->handle() : QVariant();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
            sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
            if (!db || sqlite3_prepare_v3(db, sql.toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT,
                                          &m_nativeItem, nullptr) != SQLITE_OK)
                m_nativeItem = nullptr;
        }
    }
    if (!m_nativeItem) {
        std::vector<QVariant> values;
        for (const ItemRow &r : rows) {
            values.insert(values.end(), {number, invoiceId, r.pos, r.lineId, r.itemName, r.description});
            values.insert(values.end(), r.numbers.begin(), r.numbers.end());
        }
        return insertBatched(QStringLiteral("tblInvoice_Items"), itemColumns, 12, values);
    }
    const auto text = [&](int i, const QString &t) {
        sqlite3_bind_text16(m_nativeItem, i, t.utf16(), static_cast<int>(t.size() * 2), SQLITE_TRANSIENT);
    };
    for (const ItemRow &r : rows) {
        text(1, number);
        sqlite3_bind_int64(m_nativeItem, 2, invoiceId);
        sqlite3_bind_int(m_nativeItem, 3, r.pos);
        text(4, r.lineId);
        text(5, r.itemName);
        text(6, r.description);
        for (int i = 0; i < 6; ++i) {
            const QVariant &n = r.numbers[static_cast<std::size_t>(i)];
            if (n.isNull())
                sqlite3_bind_null(m_nativeItem, 7 + i);
            else if (n.typeId() == QMetaType::Double)
                sqlite3_bind_double(m_nativeItem, 7 + i, n.toDouble());
            else
                text(7 + i, n.toString());
        }
        const int stepped = sqlite3_step(m_nativeItem);
        sqlite3_reset(m_nativeItem);
        if (stepped != SQLITE_DONE) {
            m_lastError = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_nativeItem)));
            return {false, m_lastError};
        }
    }
    return {true, {}};
}

DbResult ArchiveGateway::insertDeductions(qint64 invoiceId, const QString &number,
                                          const std::vector<DeductionRow> &rows)
{
    std::vector<QVariant> values;
    for (const DeductionRow &r : rows)
        values.insert(values.end(), {number, invoiceId, r.code, r.reason, r.factor, r.amount, r.basicAmount});
    return insertBatched(
        QStringLiteral("tblInvoice_Deduction"),
        QStringLiteral("InvoiceNumber, InvoiceID, Code, reason, Factor, Amount, BasicAmount"), 7, values);
}

std::optional<qint64> ArchiveGateway::storeDocument(const QString &docType, const QString &number,
                                                    const QByteArray &bytes, const QString &sha256,
                                                    const QString &fileName, const QString &fileType,
                                                    const QDateTime &when)
{
    QSqlQuery q(m_db.connection());
    q.prepare(QStringLiteral("SELECT ID FROM tblDocuments WHERE Sha256 = ? ORDER BY ID"));
    q.addBindValue(sha256);
    if (!run(q))
        return std::nullopt;
    if (q.next())
        return q.value(0).toLongLong();
    return insertReturningId(
        QStringLiteral("INSERT INTO tblDocuments (DocType, InvoiceNumber, BinaryFile, FileName, FileType, "
                       "FileSize, Sha256, ImportDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {docType, number, bytes, fileName, fileType, static_cast<qint64>(bytes.size()), sha256,
         localTime(when)});
}

} // namespace invorator
