#include "frame/Application.h"

#include "frame/FormTranslation.h"
#include "frame/frmInvora.h"
#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "services/SharedState.h"
#include "support/SupportMail.h"

#include <QApplication>
#include <QCommandLineParser>
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

// Writes the picture of the window; 0, or 3 with the reason on stderr when the file
// cannot be written or something other than a regular file is there.
int writeScreenshot(const SharedState &state, QWidget &window, const QString &path)
{
    QString problem;
    if (const auto refused = RefusedWriteTarget(path))
        problem = WriteRefusalText(state, *refused);
    else if (!window.grab().save(path))
        problem = GetMeldung(state, PictureNotWrittenText);
    if (problem.isEmpty())
        return 0;
    QTextStream(stderr) << "invorator: " << path << ": " << problem << '\n';
    return 3;
}

} // namespace

int RunApplication(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitialiseMail(); // before the window can send from a thread of its own
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // --lang CODE: the window in that language for this run.
    // --screenshot OUT.png FILE: convert, draw the window into a picture and end.
    // --shown FILE: convert, draw the whole window once and end (for timing start-up).
    // --dump-texts: print what every control shows after start-up, as JSON, and end.
    QCommandLineParser parser;
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("CODE"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"), QString(),
                                              QStringLiteral("OUT.png"));
    const QCommandLineOption shown(QStringLiteral("shown"));
    const QCommandLineOption dumpTexts(QStringLiteral("dump-texts"));
    parser.addOptions({lang, screenshotOption, shown, dumpTexts});
    const bool parsed = parser.parse(QApplication::arguments());
    const bool picture = parser.isSet(screenshotOption);
    const bool once = parser.isSet(shown);
    const bool dump = parser.isSet(dumpTexts);
    const QStringList files = parser.positionalArguments();
    // One way of running at most, and one file at most: the picture needs it, the dump takes none.
    if (!parsed || int(picture) + int(once) + int(dump) > 1 || files.size() > 1 ||
        (picture && files.isEmpty()) || (dump && !files.isEmpty())) {
        QTextStream(stderr)
            << "usage: invorator [--lang CODE] [FILE | --screenshot OUT.png FILE | --shown FILE"
               " | --dump-texts]\n";
        return 2;
    }
    SharedState state(QApplication::applicationDirPath());
    state.CommandLineLanguage = parser.value(lang);
    const QString screenshot = parser.value(screenshotOption);
    const bool headless = !screenshot.isEmpty() || once || dump;
    // A run that ends by itself must not wait for anyone to close a box: its messages go to stderr.
    StderrMessages quiet;
    frmInvora window(state, headless ? &quiet : nullptr);
    window.show();
    window.fillStatusBar();
    if (!files.isEmpty())
        window.convertFile(files.first());
    if (headless) {
        // Showing the window draws it once; the picture draws it again.
        QApplication::processEvents();
        int status = 0;
        if (dump)
            QTextStream(stdout) << QJsonDocument(DumpTexts(&window)).toJson(QJsonDocument::Indented);
        else if (!screenshot.isEmpty())
            status = writeScreenshot(state, window, screenshot);
        // These runs measure and show the start; tearing a thousand rows down again is
        // no part of it, and the process ends here anyway.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    return QApplication::exec();
}

} // namespace invorator
