#pragma once

#include "services/WriteTarget.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace invorator {

// The file extension for a media type of the table, or empty for any other type.
QString MimeExtension(const QString &mime);

// Decodes base64 by the XML Schema rules: white space is ignored, anything else that
// is not base64 makes the whole text invalid.
std::optional<QByteArray> DecodeBase64(const QString &data);

// Turns a name taken from a document into one safe file name: no path separators,
// no control characters, not "." or "..", not hidden, not empty, and short enough in
// UTF-8 bytes for any file system, cut between characters and keeping the extension.
QString SafeFileName(const QString &name);

// An attachment that could not be written: its file name, and why when its data was valid:
// what stands at its path, or the system's reason.
struct AttachmentFailure
{
    QString name;
    std::optional<WriteRefusal> refused;
    QString error;
};

// Writes the attachments of one import into the export folder. Every name is made safe,
// and a name already used by this import gets a number (Externfile-2.png) so nothing is
// lost. A file of that name from an earlier import is replaced; a folder, device, pipe or
// socket of that name is left as it is and the attachment fails. Files are written without
// waiting for the disk; finish() does that once for all.
class AttachmentStore
{
public:
    explicit AttachmentStore(QString folder) : m_folder(std::move(folder)) {}

    const QString &folder() const { return m_folder; }
    // Returns the file name written, or nothing when the data was invalid or the write failed.
    std::optional<QString> writeBase64(const QString &data, const QString &name);
    std::optional<QString> writeShortcut(const QString &name, const QString &uri);
    // Brings what was written to the disk.
    void finish();
    // Names of the files written, in order.
    const QStringList &written() const { return m_written; }
    // The attachments that could not be written, in order.
    const std::vector<AttachmentFailure> &failed() const { return m_failed; }
    // Whether a file could not be written (as opposed to data that was no base64).
    bool writeFailed() const { return m_writeFailed; }

private:
    QString claimName(const QString &wanted);
    std::optional<QString> store(const QString &name, const std::optional<QByteArray> &bytes);
    QString m_folder;
    QSet<QString> m_used;
    QHash<QString, int> m_nextNumber; // per wanted name: the number to try next
    QStringList m_written;
    std::vector<AttachmentFailure> m_failed;
    bool m_writeFailed = false;
};

} // namespace invorator
