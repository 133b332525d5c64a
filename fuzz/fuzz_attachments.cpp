// Names, data and addresses from the input through the attachment writer: whatever they
// hold, files land inside the export folder only, each shortcut holds one address line.
#include "attachments/Attachments.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace invorator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir root;
    static const QString folder = root.filePath(QStringLiteral("export"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    // The input is up to three parts separated by NUL bytes: name, base64 data, address.
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    const QString name = QString::fromUtf8(parts.value(0));
    const QString base64 = QString::fromUtf8(parts.value(1));
    const QString uri = QString::fromUtf8(parts.value(2));
    AttachmentStore store(folder);
    (void)store.writeBase64(base64, name);
    (void)store.writeShortcut(name, uri);
    (void)store.writeBase64(base64, name); // a second time: numbered, not replaced
    store.finish();
    const QStringList outside =
        QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (outside != QStringList{QStringLiteral("export")})
        std::abort();
    const QStringList inside = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    if (inside.size() != store.written().size())
        std::abort();
    for (const QString &written : store.written()) {
        if (!written.endsWith(QLatin1String(".url")))
            continue;
        QFile f(QDir(folder).filePath(written));
        if (!f.open(QIODevice::ReadOnly) || f.readAll().count('\n') != 2)
            std::abort();
    }
    return 0;
}
