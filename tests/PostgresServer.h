#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

namespace testing_support {

// A PostgreSQL server of the tests' own: a new cluster in a temporary folder, listening on
// a free port of 127.0.0.1 with trust authentication, stopped and removed at the end. Run
// as the postgres user when the tests run as root (the server refuses root), as a child
// that the system stops when the test process ends in any way.
class PostgresServer
{
public:
    PostgresServer() = default;
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Starts the server; false with the reason when it cannot.
    bool start(QString *why);
    // A new empty database; its address for the program.
    QString createDatabase(const QString &name);
    // The server's main process (0 when it does not run), for a test that stops it answering.
    qint64 processId() const;

private:
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);

    QTemporaryDir m_dir;
    QString m_bin;
    int m_port = 0;
    bool m_asPostgres = false;
    std::unique_ptr<QProcess> m_server;
};

} // namespace testing_support
