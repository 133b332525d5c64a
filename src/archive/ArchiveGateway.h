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
// CurrencyCode; texts, decimals (as decimal text) or Null.
using HeaderValues = std::vector<QVariant>;

// Every SQL statement on the archive: the rest of the program asks this class to write
// an invoice's rows and never builds a statement itself. All values are bound.
class ArchiveGateway
{
public:
    explicit ArchiveGateway(Database &db) : m_db(db) {}
    ~ArchiveGateway();
    ArchiveGateway(const ArchiveGateway &) = delete;
    ArchiveGateway &operator=(const ArchiveGateway &) = delete;

    // Whether the four tables are there and the archive takes writes; the engine's
    // description when not.
    DbResult checkUsable();

    // The tables where they are missing, from the SQL text for this engine.
    DbResult createTables(const QString &sqlText);

    // The first header row of the number, or nothing; a failed query is a failure.
    std::optional<std::optional<qint64>> findInvoice(const QString &number);
    DbResult insertHeader(const QDateTime &when, const QString &user, const HeaderValues &values);
    DbResult updateHeader(qint64 id, const QDateTime &when, const QString &user, const HeaderValues &values);

    // Whether the lines' number columns keep exact decimals (archives made before keep
    // doubles there); nothing when the question failed.
    std::optional<bool> itemsKeepDecimals();
    DbResult deleteItems(const QString &number);
    // Quantity, net, gross, VAT, total gross and total net: each an exact decimal as text,
    // or a double where the archive keeps doubles.
    DbResult insertItem(const QString &number, int pos, const QString &lineId, const QString &itemName,
                        const QString &description, const std::array<QVariant, 6> &numbers);

    DbResult deleteDeductions(const QString &number);
    DbResult insertDeduction(const QString &number, const QString &code, const QString &reason,
                             const QString &factor, const QString &amount, const QString &basicAmount);

    DbResult insertDocument(const QString &docType, const QString &number, const QByteArray &bytes,
                            const QString &fileName, const QString &fileType);

    // Makes concurrent saves of one invoice number wait for each other until the save's
    // transaction ends.
    DbResult lockNumber(const QString &number);

private:
    DbResult run(QSqlQuery &query);
    // Runs a statement prepared once and kept in the slot, with these values.
    DbResult runPrepared(std::optional<QSqlQuery> &slot, const QString &sql,
                         std::initializer_list<QVariant> values);

    Database &m_db;
    // Statements used once per line are prepared once per save. On SQLite the lines go
    // through SQLite's own statement: binding through Qt SQL costs more than the insert.
    std::optional<QSqlQuery> m_insertItem;
    sqlite3_stmt *m_nativeItem = nullptr;
    bool m_nativeTried = false;
    std::optional<QSqlQuery> m_insertDeduction;
};

} // namespace invorator
