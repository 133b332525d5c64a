#include "cli/CommandLine.h"
#include "output/InvoiceDocument.h"
#include "services/SharedState.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // Drawing a PDF needs fonts, which come with a (display-less) GUI application from the
    // document's module; the other commands start without one.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "pdf") == 0) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Without a session's runtime folder Qt warns; the private folder serves.
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(invorator::UserTempFolder()));
        app = invorator::DocumentApplication(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // Once the invoice is printed the process ends: taking the parsed document and the
    // model apart first would only cost time.
    return invorator::RunCommandLine(args, QCoreApplication::applicationDirPath(), out, err, [](int status) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    });
}
