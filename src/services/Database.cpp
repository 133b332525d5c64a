#include "services/Database.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace invorator {

namespace {

// A connection name starting with `purpose` that no open connection uses yet.
QString uniqueConnectionName(const QString &purpose)
{
    QString name = purpose;
    for (int n = 2; QSqlDatabase::contains(name); ++n)
        name = purpose + QLatin1Char('-') + QString::number(n);
    return name;
}

void forget(const QString &connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

} // namespace

DbResult Database::open(const DbConfig &config)
{
    close();
    const bool sqlite = config.engine == DbConfig::Engine::SQLite;
    if (sqlite && !QFileInfo(config.path).isFile())
        return {false, QStringLiteral("Could not find file '%1'.").arg(config.path), DbProblem::FileMissing,
                config.path};
    const QString driver = sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return {false, QStringLiteral("The database driver %1 is not installed.").arg(driver),
                DbProblem::NoDriver, driver};
    const QString name = uniqueConnectionName(m_purpose);
    bool failed = false;
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        if (sqlite) {
            db.setDatabaseName(config.path);
            // Another program writing the same file makes this one wait, not fail.
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(config.timeoutSeconds * 1000));
        } else {
            db.setHostName(config.host);
            db.setPort(config.port);
            db.setDatabaseName(config.name);
            db.setUserName(config.user);
            db.setPassword(config.password);
            // Neither connecting, nor one statement may take longer, and a wait for another
            // writer's lock ends a little earlier, so that the reason names the lock; a server that stops
            // answering is noticed by the connection's keepalives and the time-out for unacknowledged data.
            const int t = config.timeoutSeconds;
            db.setConnectOptions(
                QStringLiteral(
                    "connect_timeout=%1;keepalives=1;keepalives_idle=%2;"
                    "keepalives_interval=2;keepalives_count=3;tcp_user_timeout=%3;"
                    "options='-c lock_timeout=%4s -c statement_timeout=%5s -c client_min_messages=warning'")
                    .arg(t)
                    .arg(std::max(1, t / 2))
                    .arg(t * 1000)
                    .arg(t)
                    .arg(t));
        }
        if (!db.open()) {
            failed = true;
            problem = db.lastError().text();
        } else if (sqlite) {
            // SQLite opens any file lazily; reading its schema tells whether it is a database at all.
            QSqlQuery probe(db);
            failed = !probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            problem = probe.lastError().text();
        }
    }
    if (failed) {
        forget(name);
        if (problem.isEmpty())
            return {false, QStringLiteral("The database could not be opened."), DbProblem::NotOpened, {}};
        return {false, problem};
    }
    m_connectionName = name;
    return {true, {}};
}

void Database::close()
{
    if (m_connectionName.isEmpty())
        return;
    forget(m_connectionName);
    m_connectionName.clear();
}

QSqlDatabase Database::connection() const
{
    if (m_connectionName.isEmpty())
        return {};
    return QSqlDatabase::database(m_connectionName, false);
}

Transaction::Transaction(Database &db) : m_db(db), m_connectionName(db.connectionName())
{
    QSqlDatabase c = connection();
    if (!c.isOpen()) {
        m_begun = {false, QStringLiteral("The database is not open.")};
        return;
    }
    if (c.driverName() == QLatin1String("QSQLITE")) {
        // Take the write lock at the start: two writers that both began reading would
        // otherwise deadlock on the upgrade, and SQLite answers that at once with "busy".
        QSqlQuery begin(c);
        m_open = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
        m_begun = m_open ? DbResult{true, {}} : DbResult{false, begin.lastError().text()};
        return;
    }
    m_open = c.transaction();
    m_begun = m_open ? DbResult{true, {}} : DbResult{false, c.lastError().text()};
}

namespace {

bool finish(QSqlDatabase &c, bool commit, QString *problem = nullptr)
{
    if (c.driverName() == QLatin1String("QSQLITE")) {
        QSqlQuery q(c);
        const bool ok = q.exec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
        if (!ok && problem)
            *problem = q.lastError().text();
        return ok;
    }
    const bool ok = commit ? c.commit() : c.rollback();
    if (!ok && problem)
        *problem = c.lastError().text();
    return ok;
}

} // namespace

QSqlDatabase Transaction::connection() const
{
    // A connection closed (and perhaps opened anew) since the begin is not ours any more.
    if (m_connectionName.isEmpty() || m_db.connectionName() != m_connectionName)
        return {};
    return m_db.connection();
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    if (QSqlDatabase c = connection(); c.isOpen())
        finish(c, false);
}

DbResult Transaction::commit()
{
    if (!m_open)
        return m_begun ? DbResult{false, QStringLiteral("The transaction has ended.")} : m_begun;
    m_open = false;
    QSqlDatabase c = connection();
    if (!c.isOpen())
        return {false, QStringLiteral("The database was closed before the commit.")};
    QString message;
    if (!finish(c, true, &message)) {
        finish(c, false);
        return {false, message};
    }
    return {true, {}};
}

} // namespace invorator
