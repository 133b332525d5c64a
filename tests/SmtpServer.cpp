#include "SmtpServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace testing_support {

SmtpServer &SmtpServer::instance()
{
    static SmtpServer server;
    return server;
}

SmtpServer::SmtpServer()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start("/usr/bin/python3", {SMTP_SERVER_SCRIPT, m_dir.path(), user(), password()});
    while (m_process.waitForReadyRead(30000)) {
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("PORT ")) {
            m_port = line.mid(5).toInt();
            return;
        }
    }
    throw std::runtime_error("the test mail server did not start (python3-aiosmtpd, openssl)");
}

SmtpServer::~SmtpServer()
{
    // The server ends when its input closes.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
}

int SmtpServer::mailCount() const
{
    return int(QDir(m_dir.path()).entryList({"*.json"}, QDir::Files).size());
}

QJsonObject SmtpServer::mail(int number) const
{
    QFile f(m_dir.filePath(QString::number(number) + ".json"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QString SmtpServer::writeConfig(const QString &dir, const QList<std::pair<QString, QString>> &overrides) const
{
    const QString path = dir + "/Support.ini";
    QList<std::pair<QString, QString>> values = {{"Server", "localhost"},   {"Port", QString::number(m_port)},
                                                 {"User", user()},          {"Password", password()},
                                                 {"From", user()},          {"To", "hilfe@tarvo.example"},
                                                 {"CaFile", certificate()}, {"TimeoutSeconds", "10"}};
    for (const auto &[key, value] : overrides)
        for (auto &entry : values)
            if (entry.first == key)
                entry.second = value;
    // Written as an administrator writes it, values as they are.
    QByteArray text = "; the test's mail account\n[Support]\n";
    for (const auto &[key, value] : values)
        if (!value.isEmpty())
            text += key.toUtf8() + " = " + value.toUtf8() + "\n";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size())
        return {};
    return path;
}

SilentPort::SilentPort()
{
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        ::listen(m_socket, 4) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &size) != 0)
        throw std::runtime_error("no silent port");
    m_port = ntohs(address.sin_port);
}

SilentPort::~SilentPort()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

} // namespace testing_support
