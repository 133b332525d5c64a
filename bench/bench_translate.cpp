// Measures how long translating the whole window takes with the shipped texts database:
// the same language again, and a switch of language (as a client save does), which
// changes every text and the look of every translated control.
#include "frame/FormTranslation.h"
#include "frame/frmInvora.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

using namespace invorator;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    RecordingSink sink;
    for (const char *language : {"DE", "EN", "FR"}) {
        SharedState state(QApplication::applicationDirPath());
        state.CommandLineLanguage = QString::fromLatin1(language);
        frmInvora window(state, &sink);
        window.show();
        QApplication::processEvents();
        constexpr int runs = 50;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < runs; ++i)
            TranslateWindow(state, &window);
        std::printf("TranslateForm %s again: %.2f ms per call (mean of %d)\n", language,
                    double(timer.nsecsElapsed()) / 1e6 / runs, runs);
        // From German to this language and back: the first translation from designed texts.
        if (state.LanguageCode == QLatin1String("DE"))
            continue;
        double slowest = 0;
        timer.restart();
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer one;
            one.start();
            state.LanguageCode = i % 2 ? QString::fromLatin1(language) : QStringLiteral("DE");
            TranslateWindow(state, &window);
            slowest = std::max(slowest, double(one.nsecsElapsed()) / 1e6);
        }
        std::printf("TranslateForm switching DE <-> %s: %.2f ms per call (mean of %d), slowest %.2f ms\n",
                    language, double(timer.nsecsElapsed()) / 1e6 / runs, runs, slowest);
    }
    return 0;
}
