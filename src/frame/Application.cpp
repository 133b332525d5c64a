#include "frame/Application.h"

#include "frame/FormTranslation.h"
#include "frame/frmInvora.h"
#include "services/SharedState.h"
#include "support/SupportMail.h"

#include <QApplication>
#include <QJsonDocument>
#include <QStyleFactory>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace invorator {

namespace {

class StderrMessages : public MessageSink
{
public:
    MsgAnswer show(const Message &m) override
    {
        QTextStream(stderr) << m.title << " (" << m.number << "): " << m.text << '\n';
        return m.icon == MsgIcon::Question ? MsgAnswer::No : MsgAnswer::Ok;
    }
};

} // namespace

int RunApplication(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitialiseMail(); // before the window can send from a thread of its own
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QStringList args = QApplication::arguments();
    args.removeFirst();
    // --lang CODE: the window in that language for this run.
    // --screenshot OUT.png FILE: convert, draw the window into a picture and end.
    // --shown FILE: convert, draw the whole window once and end (for timing start-up).
    // --dump-texts: print what every control shows after start-up, as JSON, and end.
    QString language;
    if (const auto at = args.indexOf(QLatin1String("--lang")); at >= 0 && at + 1 < args.size()) {
        language = args.at(at + 1);
        args.remove(at, 2);
    }
    const QString mode = args.value(0);
    QString screenshot;
    const bool once = mode == QLatin1String("--shown");
    const bool dump = mode == QLatin1String("--dump-texts");
    if (mode == QLatin1String("--screenshot") && args.size() == 3) {
        screenshot = args.at(1);
        args = args.mid(2);
    } else if (once || dump) {
        args = args.mid(1);
    }
    if (args.size() > 1 || args.value(0).startsWith(QLatin1String("--")) || (dump && !args.isEmpty())) {
        QTextStream(stderr)
            << "usage: invorator [--lang CODE] [FILE | --screenshot OUT.png FILE | --shown FILE"
               " | --dump-texts]\n";
        return 2;
    }
    SharedState state(QApplication::applicationDirPath());
    state.CommandLineLanguage = language;
    const bool headless = !screenshot.isEmpty() || once || dump;
    // A run that ends by itself must not wait for anyone to close a box: its messages go to stderr.
    StderrMessages quiet;
    frmInvora window(state, headless ? &quiet : nullptr);
    window.show();
    window.fillStatusBar();
    if (!args.isEmpty())
        window.convertFile(args.first());
    if (headless) {
        // Showing the window draws it once; the picture draws it again.
        QApplication::processEvents();
        int status = 0;
        if (dump)
            QTextStream(stdout) << QJsonDocument(DumpTexts(&window)).toJson(QJsonDocument::Indented);
        else if (!screenshot.isEmpty())
            status = window.grab().save(screenshot) ? 0 : 1;
        // These runs measure and show the start; tearing a thousand rows down again is
        // no part of it, and the process ends here anyway.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    return QApplication::exec();
}

} // namespace invorator
