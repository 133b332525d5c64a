#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace invorator {

// invorator-cli: reads one invoice with the same driver as the window and prints it
// ("show") or writes it as JSON ("json"); saves invoices into the archive ("save"), makes
// one ("archive-init") or finds them again ("archive"). Exit status 0 when the reader ran
// (and the save succeeded), 1 when the file could not be read as an invoice of the kind,
// 2 for a usage error, 3 when a save failed, 6 when archive verify finds a changed file.
// `finished`, when given, receives the status of show and json once the output is
// written, before anything is taken apart: a program may end there.
int RunCommandLine(const QStringList &arguments, const QString &programFolder, QTextStream &out,
                   QTextStream &err, const std::function<void(int)> &finished = {});

} // namespace invorator
