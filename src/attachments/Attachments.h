#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace invorator {

// The file extension for a media type of the table, or empty for any other type.
QString MimeExtension(const QString &mime);

// Decodes base64 by the XML Schema rules: white space is ignored, anything else that
// is not base64 makes the whole text invalid.
std::optional<QByteArray> DecodeBase64(const QString &data);

// Turns a name taken from a document into one safe file name: no path separators,
// no control characters, not "." or "..", not hidden, not empty, not too long.
QString SafeFileName(const QString &name);

// Decodes data and writes it to path, replacing a file of that name; false on any failure.
bool Base64ToFile(const QString &data, const QString &path);
// Writes folder/"Reference to <name>.url" pointing at uri; false on failure.
bool CreateUrlShortcut(const QString &folder, const QString &name, const QString &uri);

// Writes the attachments of one import into the export folder. Every name is made safe,
// and a name already used by this import gets a number (Externfile-2.png) so nothing is lost.
class AttachmentStore
{
public:
    explicit AttachmentStore(QString folder) : m_folder(std::move(folder)) {}

    const QString &folder() const { return m_folder; }
    // Returns the file name written, or nothing when the data was invalid or the write failed.
    std::optional<QString> writeBase64(const QString &data, const QString &name);
    std::optional<QString> writeShortcut(const QString &name, const QString &uri);
    // Names of the files written, in order.
    const QStringList &written() const { return m_written; }

private:
    QString claimName(const QString &wanted);
    QString m_folder;
    QSet<QString> m_used;
    QStringList m_written;
};

} // namespace invorator
