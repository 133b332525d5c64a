#include "attachments/Attachments.h"

#include "services/WriteTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
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

// UTF-8 bytes of a safe name: most file systems allow 255, and a number for a name used
// twice ("-12") must still fit.
constexpr qsizetype maxNameBytes = 240;

// Writes the file beside its target and renames it over it, so a failed write leaves no
// half file and an older file of that name is replaced whole. Anything at the target that
// is no regular file stays: the rename would replace a device or a pipe. Returns why the
// file could not be written, or nothing.
std::optional<AttachmentFailure> writeFile(const QString &path, const QByteArray &bytes)
{
    if (auto refused = RefusedWriteTarget(path))
        return AttachmentFailure{{}, refused, {}};
    QTemporaryFile file(path + QStringLiteral(".XXXXXX.part"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return AttachmentFailure{{}, {}, file.errorString()};
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return AttachmentFailure{{}, {}, QString::fromLocal8Bit(std::strerror(errno))};
    file.setAutoRemove(false);
    return std::nullopt;
}

// The longest start of text that takes at most `bytes` bytes in UTF-8, never ending
// inside a character.
QString leftBytes(const QString &text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const char32_t c = text.at(i).unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype size = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (used + size > bytes)
            break;
        used += size;
        i += pair ? 2 : 1;
    }
    return text.left(i);
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
    if (safe.toUtf8().size() > maxNameBytes) {
        const qsizetype dot = safe.lastIndexOf(QLatin1Char('.'));
        const QString extension =
            dot > 0 && safe.size() - dot <= 10 ? leftBytes(safe.mid(dot), 40) : QString();
        safe = leftBytes(safe, maxNameBytes - extension.toUtf8().size()) + extension;
    }
    // An unpaired surrogate cannot be written as UTF-8: it becomes a replacement mark.
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        if (c.isHighSurrogate() && i + 1 < safe.size() && safe.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            safe[i] = QChar(u'_');
    }
    return safe;
}

QString AttachmentStore::claimName(const QString &wanted)
{
    QString name = wanted;
    if (m_used.contains(name)) {
        const qsizetype dot = wanted.lastIndexOf(QLatin1Char('.'));
        const QString stem = dot > 0 ? wanted.left(dot) : wanted;
        const QString extension = dot > 0 ? wanted.mid(dot) : QString();
        // Numbering goes on where the last duplicate of this name stopped.
        int &n = m_nextNumber[wanted];
        n = std::max(n, 2);
        do
            name = stem + QLatin1Char('-') + QString::number(n++) + extension;
        while (m_used.contains(name));
    }
    m_used.insert(name);
    return name;
}

std::optional<QString> AttachmentStore::store(const QString &name, const std::optional<QByteArray> &bytes)
{
    const QString fileName = claimName(SafeFileName(name));
    if (!bytes) {
        m_failed.push_back({fileName, {}, {}});
        return std::nullopt;
    }
    if (auto problem = writeFile(QDir(m_folder).filePath(fileName), *bytes)) {
        problem->name = fileName;
        m_failed.push_back(std::move(*problem));
        m_writeFailed = true;
        return std::nullopt;
    }
    m_written << fileName;
    return fileName;
}

std::optional<QString> AttachmentStore::writeBase64(const QString &data, const QString &name)
{
    return store(name, DecodeBase64(data));
}

std::optional<QString> AttachmentStore::writeShortcut(const QString &name, const QString &uri)
{
    return store(QStringLiteral("Reference to ") + name + QStringLiteral(".url"), shortcutText(uri));
}

void AttachmentStore::finish()
{
    if (m_written.isEmpty())
        return;
    // One flush of the folder's file system for all files of the import.
    const int fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

} // namespace invorator
