#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

namespace {

// A port nobody listens on right now.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

} // namespace

PostgresServer::~PostgresServer()
{
    if (m_running)
        run(m_bin + "/pg_ctl", {"stop", "-D", m_dir.filePath("data"), "-m", "immediate", "-w"});
}

bool PostgresServer::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_asPostgres)
        p.start("runuser", QStringList{"-u", "postgres", "--", program} + arguments);
    else
        p.start(program, arguments);
    const bool done = p.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool PostgresServer::start(QString *why)
{
    const QStringList versions =
        QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (versions.isEmpty()) {
        *why = "PostgreSQL is not installed (package postgresql)";
        return false;
    }
    m_bin = "/usr/lib/postgresql/" + versions.last() + "/bin";
    m_asPostgres = ::geteuid() == 0;
    if (m_asPostgres) {
        const passwd *postgres = ::getpwnam("postgres");
        if (!postgres ||
            ::chown(QFile::encodeName(m_dir.path()).constData(), postgres->pw_uid, postgres->pw_gid) != 0) {
            *why = "cannot hand the cluster folder to the postgres user";
            return false;
        }
    }
    QString output;
    if (!run(m_bin + "/initdb", {"-D", m_dir.filePath("data"), "-U", "postgres", "-A", "trust", "--no-sync"},
             &output)) {
        *why = "initdb failed: " + output;
        return false;
    }
    m_port = freePort();
    const QString options =
        QString("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off").arg(m_port).arg(m_dir.path());
    if (!run(m_bin + "/pg_ctl",
             {"start", "-w", "-D", m_dir.filePath("data"), "-o", options, "-l", m_dir.filePath("server.log")},
             &output)) {
        *why = "pg_ctl start failed: " + output;
        return false;
    }
    m_running = true;
    return true;
}

QString PostgresServer::createDatabase(const QString &name)
{
    if (!run(m_bin + "/createdb", {"-h", "127.0.0.1", "-p", QString::number(m_port), "-U", "postgres", name}))
        return {};
    return QString("postgresql://postgres@127.0.0.1:%1/%2").arg(m_port).arg(name);
}

} // namespace testing_support
