#include "frame/Application.h"

#include "frame/frmInvora.h"
#include "services/SharedState.h"

#include <QApplication>
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
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QStringList args = QApplication::arguments();
    args.removeFirst();
    // --screenshot OUT.png FILE: convert, draw the window into a picture and end.
    // --shown FILE: convert, draw the whole window once and end (for timing start-up).
    QString screenshot;
    const bool once = args.value(0) == QLatin1String("--shown");
    if (args.value(0) == QLatin1String("--screenshot")) {
        if (args.size() != 3) {
            QTextStream(stderr)
                << "usage: invorator [FILE] | invorator --screenshot OUT.png FILE | invorator --shown FILE\n";
            return 2;
        }
        screenshot = args.at(1);
        args = args.mid(2);
    } else if (once) {
        args = args.mid(1);
    }
    SharedState state(QApplication::applicationDirPath());
    // A screenshot run must not wait for anyone to close a box: its messages go to stderr.
    StderrMessages quiet;
    frmInvora window(state, screenshot.isEmpty() && !once ? nullptr : &quiet);
    window.show();
    window.fillStatusBar();
    if (!args.isEmpty())
        window.convertFile(args.first());
    if (!screenshot.isEmpty() || once) {
        // Showing the window draws it once; the picture draws it again.
        QApplication::processEvents();
        const int status = once || window.grab().save(screenshot) ? 0 : 1;
        // These runs measure and show the start; tearing a thousand rows down again is
        // no part of it, and the process ends here anyway.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    return QApplication::exec();
}

} // namespace invorator
