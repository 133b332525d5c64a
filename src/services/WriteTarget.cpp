#include "services/WriteTarget.h"

#include <QFile>

#include <sys/stat.h>

namespace invorator {

std::optional<WriteRefusal> RefusedWriteTarget(const QString &path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return std::nullopt; // missing, or unreachable: the write itself says why it fails
    return S_ISDIR(st.st_mode)    ? WriteRefusal::Folder
           : S_ISCHR(st.st_mode)  ? WriteRefusal::CharacterDevice
           : S_ISBLK(st.st_mode)  ? WriteRefusal::BlockDevice
           : S_ISFIFO(st.st_mode) ? WriteRefusal::NamedPipe
           : S_ISSOCK(st.st_mode) ? WriteRefusal::Socket
                                  : WriteRefusal::Other;
}

} // namespace invorator
