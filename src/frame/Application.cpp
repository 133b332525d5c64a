#include "frame/Application.h"

#include "frame/frmInvora.h"
#include "services/SharedState.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTextStream>
#include <QTimer>

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
    QString screenshot;
    if (args.value(0) == QLatin1String("--screenshot")) {
        if (args.size() != 3) {
            QTextStream(stderr) << "usage: invorator [FILE] | invorator --screenshot OUT.png FILE\n";
            return 2;
        }
        screenshot = args.at(1);
        args = args.mid(2);
    }
    SharedState state(QApplication::applicationDirPath());
    // A screenshot run must not wait for anyone to close a box: its messages go to stderr.
    StderrMessages quiet;
    frmInvora window(state, screenshot.isEmpty() ? nullptr : &quiet);
    window.show();
    window.fillStatusBar();
    if (!args.isEmpty())
        window.convertFile(args.first());
    if (!screenshot.isEmpty()) {
        QApplication::processEvents();
        return window.grab().save(screenshot) ? 0 : 1;
    }
    return QApplication::exec();
}

} // namespace invorator
