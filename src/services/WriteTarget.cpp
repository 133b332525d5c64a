#include "services/WriteTarget.h"

#include <QFile>

#include <sys/stat.h>

namespace invorator {

std::optional<QString> RefusedWriteTarget(const QString &path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return std::nullopt; // missing, or unreachable: the write itself says why it fails
    const char *what = S_ISDIR(st.st_mode)    ? "a folder"
                       : S_ISCHR(st.st_mode)  ? "a character device"
                       : S_ISBLK(st.st_mode)  ? "a block device"
                       : S_ISFIFO(st.st_mode) ? "a named pipe"
                       : S_ISSOCK(st.st_mode) ? "a socket"
                                              : "something else";
    return QStringLiteral("not a regular file but %1; it was left as it is").arg(QLatin1String(what));
}

} // namespace invorator
