#pragma once

#include <QSqlDatabase>
#include <QString>

namespace invorator {

// Why a database could not be opened before its driver had a say.
enum class DbProblem {
    Driver,      // the message is the driver's text
    FileMissing, // subject: the file
    NoDriver,    // subject: the driver's name
    NotOpened,   // the driver failed without a text
};

// Outcome of a database operation: converts to bool; on failure carries the driver's text,
// or the program's own reason as a code with what it names (and an English message for
// when no texts can be read, as when the texts database itself fails).
struct [[nodiscard]] DbResult
{
    DbResult() = default;
    DbResult(bool ok, QString message, DbProblem problem = DbProblem::Driver, QString subject = {})
        : ok(ok), message(std::move(message)), problem(problem), subject(std::move(subject))
    {
    }
    bool ok = false;
    QString message;
    DbProblem problem = DbProblem::Driver;
    QString subject;
    explicit operator bool() const { return ok; }
};

// Where a database lives: a SQLite file that must already exist, or a PostgreSQL server.
struct DbConfig
{
    enum class Engine { SQLite, PostgreSQL };
    Engine engine = Engine::SQLite;
    QString path; // SQLite
    QString host; // PostgreSQL
    int port = 5432;
    QString name;
    QString user;
    QString password;
    int timeoutSeconds = 10; // PostgreSQL: how long connecting may take

    static DbConfig sqliteFile(const QString &path)
    {
        DbConfig config;
        config.path = path;
        return config;
    }
};

// One named connection for one purpose (texts, archive), whatever the engine. It is
// closed when the object goes.
class Database
{
public:
    explicit Database(QString purpose) : m_purpose(std::move(purpose)) {}
    ~Database() { close(); }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the connection; an open one is closed first. A SQLite file that is missing or
    // is not a database fails instead of being created empty.
    DbResult open(const DbConfig &config);
    void close();
    bool isOpen() const { return !m_connectionName.isEmpty(); }
    // The open connection, or an invalid one.
    QSqlDatabase connection() const;
    QString connectionName() const { return m_connectionName; }

private:
    QString m_purpose;
    QString m_connectionName;
};

// Writes that belong together: begun on construction, rolled back when the guard goes
// without a successful commit (an early return, a failed step, an exception). Closing
// the database first ends the transaction too: the engine rolls it back, and a later
// commit fails.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Whether the transaction could be begun; nothing should be written otherwise.
    const DbResult &begun() const { return m_begun; }
    DbResult commit();

private:
    // The connection the transaction was begun on, while it is still open.
    QSqlDatabase connection() const;

    Database &m_db;
    QString m_connectionName;
    DbResult m_begun;
    bool m_open = false;
};

} // namespace invorator
