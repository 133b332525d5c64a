#include "support/SupportConfig.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace invorator {

std::optional<SupportConfig> ReadSupportConfig(const QString &programFolder, SupportConfigProblem *problem)
{
    const QByteArray named = qgetenv("INVORATOR_SUPPORT_CONFIG");
    const QString path =
        named.isEmpty() ? programFolder + QStringLiteral("/DB/Support.ini") : QString::fromLocal8Bit(named);
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
        *problem = {120, path, {}};
        return std::nullopt;
    }
    // Read line by line, values as written: a password may hold commas, quotes or
    // semicolons, which a settings parser would take as lists, quoting or comments.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *problem = {121, path, {}};
        return std::nullopt;
    }
    QHash<QString, QString> values;
    bool inSupport = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inSupport = line.compare(QLatin1String("[Support]"), Qt::CaseInsensitive) == 0;
        else if (inSupport && !line.startsWith(QLatin1Char(';')) && !line.startsWith(QLatin1Char('#')))
            if (const qsizetype eq = line.indexOf(QLatin1Char('=')); eq > 0)
                values.insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
    }
    const auto value = [&values](const char *key) {
        return values.value(QString::fromLatin1(key).toLower());
    };
    SupportConfig c;
    c.server = value("Server");
    c.user = value("User");
    c.password = value("Password");
    c.from = value("From");
    c.to = value("To");
    c.caFile = value("CaFile");
    bool ok = true;
    if (const QString port = value("Port"); !port.isEmpty()) {
        c.port = port.toInt(&ok);
        ok = ok && c.port > 0 && c.port < 65536;
    }
    if (const QString t = value("TimeoutSeconds"); ok && !t.isEmpty()) {
        c.timeoutSeconds = t.toInt(&ok);
        ok = ok && c.timeoutSeconds > 0;
    }
    QStringList missing;
    const std::pair<const char *, const QString *> required[] = {{"Server", &c.server},
                                                                 {"User", &c.user},
                                                                 {"Password", &c.password},
                                                                 {"From", &c.from},
                                                                 {"To", &c.to}};
    for (const auto &[key, value] : required)
        if (value->isEmpty())
            missing << QString::fromLatin1(key);
    if (!ok)
        missing << QStringLiteral("Port/TimeoutSeconds");
    if (!missing.isEmpty()) {
        *problem = {122, path, missing.join(QStringLiteral(", "))};
        return std::nullopt;
    }
    return c;
}

MailResult CheckAttachment(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return {MailResult::Problem::Attachment, path};
    if (info.size() > MaxAttachmentBytes)
        return {MailResult::Problem::AttachmentTooLarge, path};
    return {};
}

QString SupportBody(const SupportRequest &r)
{
    const QString crlf = QStringLiteral("\r\n");
    return r.name + crlf + crlf + r.company + crlf + r.contactEmail + crlf + r.message;
}

} // namespace invorator
