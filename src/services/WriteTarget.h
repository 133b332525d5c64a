#pragma once

#include <QString>

#include <optional>

namespace invorator {

// What stands where a file was to be written, when it is no regular file.
enum class WriteRefusal { Folder, CharacterDevice, BlockDevice, NamedPipe, Socket, Other };

// Why the program must not write a file at path: something other than a regular file is
// there already (a folder, a device, a named pipe, a socket; a symbolic link counts as
// what it points at). Writing would replace it, block on it or pour the file into it, so
// every file the program writes checks its target first and leaves such a thing as it is.
// Nothing when path is missing or a regular file. WriteRefusalText words the reason.
std::optional<WriteRefusal> RefusedWriteTarget(const QString &path);

} // namespace invorator
