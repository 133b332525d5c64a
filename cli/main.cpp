#include "output/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    // Once the invoice is printed the process ends: taking the parsed document and the
    // model apart first would only cost time.
    return invorator::RunCommandLine(args, QCoreApplication::applicationDirPath(), out, err, [](int status) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    });
}
