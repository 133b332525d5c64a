#include "attachments/Attachments.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <utility>

namespace invorator {

namespace {

constexpr std::array<std::pair<const char *, const char *>, 7> mimeTable{{
    {"application/pdf", ".pdf"},
    {"image/png", ".png"},
    {"image/jpg", ".jpg"},
    {"image/jpeg", ".jpeg"},
    {"text/csv", ".csv"},
    {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", ".xlsx"},
    {"application/vnd.oasis.opendocument.spreadsheet", ".ods"},
}};

constexpr qsizetype maxNameLength = 200; // characters; stays below the 255-byte limit of most file systems

bool writeFile(const QString &path, const QByteArray &bytes)
{
    // Written beside the target and renamed over it, so a failed write leaves no half file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

QByteArray shortcutText(const QString &uri)
{
    QString target;
    for (QChar c : uri)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f) // a line break would add keys to the file
            target += c;
    return QByteArrayLiteral("[InternetShortcut]\r\nURL=") + target.toUtf8() + QByteArrayLiteral("\r\n");
}

} // namespace

QString MimeExtension(const QString &mime)
{
    for (const auto &[type, extension] : mimeTable)
        if (mime == QLatin1String(type))
            return QLatin1String(extension);
    return {};
}

std::optional<QByteArray> DecodeBase64(const QString &data)
{
    QByteArray compact;
    compact.reserve(data.size());
    for (QChar c : data) {
        const char16_t u = c.unicode();
        if (u == ' ' || u == '\t' || u == '\n' || u == '\r')
            continue;
        const bool valid = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
                           u == '+' || u == '/' || u == '=';
        if (!valid)
            return std::nullopt;
        compact += static_cast<char>(u);
    }
    if (compact.size() % 4 != 0)
        return std::nullopt;
    const qsizetype firstPad = compact.indexOf('=');
    if (firstPad >= 0) {
        // Padding only at the very end: "xx==" or "xxx=".
        if (firstPad < compact.size() - 2)
            return std::nullopt;
        for (qsizetype i = firstPad; i < compact.size(); ++i)
            if (compact[i] != '=')
                return std::nullopt;
    }
    auto result = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return std::nullopt;
    return *result;
}

QString SafeFileName(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool bad = u < 0x20 || u == 0x7f || u == '/' || u == '\\' || u == ':' || u == '*' || u == '?' ||
                         u == '"' || u == '<' || u == '>' || u == '|';
        safe += bad ? QChar(u'_') : c;
    }
    safe = safe.trimmed();
    if (safe.startsWith(QLatin1Char('.')))
        safe[0] = QLatin1Char('_'); // also turns "." and ".." into harmless names
    if (safe.isEmpty())
        safe = QStringLiteral("Anlage");
    if (safe.size() > maxNameLength) {
        const qsizetype dot = safe.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot > 0 && safe.size() - dot <= 10 ? safe.mid(dot) : QString();
        safe = safe.left(maxNameLength - extension.size()) + extension;
    }
    return safe;
}

bool Base64ToFile(const QString &data, const QString &path)
{
    const auto bytes = DecodeBase64(data);
    return bytes && writeFile(path, *bytes);
}

bool CreateUrlShortcut(const QString &folder, const QString &name, const QString &uri)
{
    return writeFile(folder + QStringLiteral("/Reference to ") + name + QStringLiteral(".url"),
                     shortcutText(uri));
}

QString AttachmentStore::claimName(const QString &wanted)
{
    QString name = wanted;
    const qsizetype dot = wanted.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? wanted.left(dot) : wanted;
    const QString extension = dot > 0 ? wanted.mid(dot) : QString();
    for (int n = 2; m_used.contains(name); ++n)
        name = stem + QLatin1Char('-') + QString::number(n) + extension;
    m_used.insert(name);
    return name;
}

std::optional<QString> AttachmentStore::writeBase64(const QString &data, const QString &name)
{
    const auto bytes = DecodeBase64(data);
    if (!bytes)
        return std::nullopt;
    const QString fileName = claimName(SafeFileName(name));
    if (!writeFile(QDir(m_folder).filePath(fileName), *bytes))
        return std::nullopt;
    m_written << fileName;
    return fileName;
}

std::optional<QString> AttachmentStore::writeShortcut(const QString &name, const QString &uri)
{
    const QString fileName =
        claimName(SafeFileName(QStringLiteral("Reference to ") + name + QStringLiteral(".url")));
    if (!writeFile(QDir(m_folder).filePath(fileName), shortcutText(uri)))
        return std::nullopt;
    m_written << fileName;
    return fileName;
}

} // namespace invorator
