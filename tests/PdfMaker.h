#pragma once

#include <QByteArray>

#include <string>
#include <vector>

namespace testing_support {

struct EmbeddedFile
{
    std::string name;
    QByteArray data;
    int copies = 1;        // file entries pointing at the one stream (name, name-2, ...)
    bool deflated = false; // data is a zlib stream already: stored as it is, for readers to inflate
};

// A small PDF carrying the given files as embedded files, their streams compressed
// (or stored plain), optionally encrypted with a user password.
QByteArray MakePdf(const std::vector<EmbeddedFile> &files, bool compress = true,
                   const char *userPassword = nullptr);

} // namespace testing_support
