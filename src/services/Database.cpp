#include "services/Database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace invorator {

DbResult OpenDatabase(const QString &connectionName, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {false, QStringLiteral("Could not find file '%1'.").arg(path)};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        if (!db.open()) {
            const QString message = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            return {false, message};
        }
        // SQLite opens any file lazily; reading its schema tells whether it is a database at all.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            const QString message = probe.lastError().text();
            probe = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            return {false, message};
        }
    }
    return {true, {}};
}

void CloseDatabase(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QString UniqueConnectionName(const QString &purpose)
{
    QString name = purpose;
    for (int n = 2; QSqlDatabase::contains(name); ++n)
        name = purpose + QLatin1Char('-') + QString::number(n);
    return name;
}

} // namespace invorator
