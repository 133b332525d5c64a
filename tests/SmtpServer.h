#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A real mail server for the tests of one program: SMTP with implicit TLS and AUTH on
// 127.0.0.1 (aiosmtpd), with a certificate of its own for "localhost". Started once,
// stopped when the program ends.
class SmtpServer
{
public:
    static SmtpServer &instance();

    int port() const { return m_port; }
    QString certificate() const { return m_dir.filePath("cert.pem"); }
    static QString user() { return QStringLiteral("support@tarvo.example"); }
    // Commas, quotes, semicolons and hashes: read as written, not as lists or comments.
    static QString password() { return QStringLiteral("ge,heim;\"24\"#zeichen=lang"); }

    // The mails received so far, each as the server's Python read it back.
    int mailCount() const;
    QJsonObject mail(int number) const;

    // Writes an account file for this server into dir (Support.ini) and returns its path;
    // `overrides` replace or remove (empty value) settings.
    QString writeConfig(const QString &dir, const QList<std::pair<QString, QString>> &overrides = {}) const;

private:
    SmtpServer();
    ~SmtpServer();
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

// A port that accepts connections and never answers: a server that hangs.
class SilentPort
{
public:
    SilentPort();
    ~SilentPort();
    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

} // namespace testing_support
