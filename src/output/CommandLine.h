#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace invorator {

// invorator-cli: reads one invoice with the same driver as the window and prints it
// ("show") or writes it as JSON ("json"). Exit status 0 when the reader ran, 1 when the
// file could not be read as an invoice of the kind, 2 for a usage error.
int RunCommandLine(const QStringList &arguments, const QString &programFolder, QTextStream &out,
                   QTextStream &err);

} // namespace invorator
