#pragma once

#include "archive/ArchiveListing.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace invorator {

class SharedState;

// What `invorator-cli archive list|show|export|verify` was asked.
struct ArchiveRequest
{
    QString action; // list, show, export or verify
    qint64 id = 0;  // show, export
    QString out;    // export: the file to write
    ArchiveFilter filter;
    bool all = false;
    bool json = false;
};

// Reads the request from the command's positional arguments and options, or returns the
// reason it cannot be used.
QString ParseArchiveRequest(const QStringList &positional, ArchiveRequest &request);

// Runs the request on the archive the state's setting names (a file or a PostgreSQL
// address), with texts in the state's language: 0 when
// done, 3 when the archive cannot be read, the entry is missing or OUT cannot be written,
// 6 when verify finds a document whose bytes do not give its SHA-256.
int RunArchiveRequest(const ArchiveRequest &request, const SharedState &state, QTextStream &out,
                      QTextStream &err);

} // namespace invorator
