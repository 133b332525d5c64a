#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/prctl.h>
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
    if (m_server) {
        // A fast shutdown: open connections are ended.
        ::kill(static_cast<pid_t>(m_server->processId()), SIGINT);
        if (!m_server->waitForFinished(10000))
            m_server->kill();
        m_server->waitForFinished(5000);
    }
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
    const passwd *postgres = m_asPostgres ? ::getpwnam("postgres") : nullptr;
    const uid_t uid = postgres ? postgres->pw_uid : ::getuid();
    const gid_t gid = postgres ? postgres->pw_gid : ::getgid();
    if (m_asPostgres && (!postgres || ::chown(QFile::encodeName(m_dir.path()).constData(), uid, gid) != 0)) {
        *why = "cannot hand the cluster folder to the postgres user";
        return false;
    }
    QString output;
    if (!run(m_bin + "/initdb",
             {"-D", m_dir.filePath("data"), "-U", "postgres", "-A", "trust", "--no-sync", "-E", "UTF8",
              "--locale=C"},
             &output)) {
        *why = "initdb failed: " + output;
        return false;
    }
    // The port is free when asked but may be taken before the server binds it: try again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        auto server = std::make_unique<QProcess>();
        server->setProcessChannelMode(QProcess::MergedChannels);
        server->setStandardOutputFile(m_dir.filePath("server.log"), QIODevice::Append);
        server->setChildProcessModifier([uid, gid] {
            // The user first: changing it clears the signal on the parent's death.
            if (::getuid() != uid && (::setgid(gid) != 0 || ::setuid(uid) != 0))
                ::_exit(127);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        });
        server->start(m_bin + "/postgres",
                      {"-D", m_dir.filePath("data"), "-p", QString::number(m_port), "-k", m_dir.path(), "-c",
                       "listen_addresses=127.0.0.1", "-c", "fsync=off"});
        if (!server->waitForStarted(10000))
            continue;
        for (int wait = 0; wait < 150 && server->state() == QProcess::Running; ++wait) {
            if (run(m_bin + "/pg_isready", {"-q", "-h", "127.0.0.1", "-p", QString::number(m_port)})) {
                m_server = std::move(server);
                return true;
            }
            QThread::msleep(100);
        }
        server->kill();
        server->waitForFinished(5000);
    }
    QFile log(m_dir.filePath("server.log"));
    log.open(QIODevice::ReadOnly);
    *why = "the server did not start: " + QString::fromLocal8Bit(log.readAll());
    return false;
}

qint64 PostgresServer::processId() const
{
    return m_server ? m_server->processId() : 0;
}

QString PostgresServer::createDatabase(const QString &name)
{
    if (!run(m_bin + "/createdb", {"-h", "127.0.0.1", "-p", QString::number(m_port), "-U", "postgres", name}))
        return {};
    return QString("postgresql://postgres@127.0.0.1:%1/%2").arg(m_port).arg(name);
}

} // namespace testing_support
