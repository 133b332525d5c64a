// What one run of `invorator-cli json|show|check` costs on a generated 10-line CII
// invoice, where start-up is nearly all of it: instructions counted by callgrind (in
// total and in the dynamic loader), the shared objects the process maps, and the best
// wall time of 20 runs. Prints one line per command.
#include "GeneratedInvoices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

QString cliPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/invorator-cli");
}

QProcess *start(QProcess &p, const QString &program, const QStringList &args,
                const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    p.setProcessEnvironment(env);
    p.start(program, args);
    return p.waitForFinished(120000) ? &p : nullptr;
}

// Instructions of the whole process and of the dynamic loader alone, summed from
// callgrind's output file: its own cost lines per object, not the inclusive cost that
// follows each `calls=` line.
struct Instructions
{
    qint64 total = -1;
    qint64 loader = 0;
};

Instructions countInstructions(const QStringList &args, const QTemporaryDir &dir)
{
    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    if (valgrind.isEmpty())
        return {};
    const QString out = dir.filePath(QStringLiteral("callgrind.out"));
    QProcess p;
    if (!start(p, valgrind,
               QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--callgrind-out-file=") + out,
                           cliPath()} +
                   args))
        return {};
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression object(QStringLiteral("^ob=\\((\\d+)\\)(?: (.*))?$"));
    static const QRegularExpression named(QStringLiteral("^c?ob=\\((\\d+)\\) (.*)$"));
    QHash<QString, QString> names;
    QHash<QString, qint64> cost;
    QString current;
    bool inclusive = false;
    Instructions n;
    n.total = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (const auto m = named.match(line); m.hasMatch())
            names.insert(m.captured(1), m.captured(2));
        if (const auto m = object.match(line); m.hasMatch()) {
            current = m.captured(1);
        } else if (line.startsWith(QLatin1String("calls="))) {
            inclusive = true;
        } else if (!line.isEmpty() &&
                   (line[0].isDigit() || line[0] == u'+' || line[0] == u'-' || line[0] == u'*')) {
            if (std::exchange(inclusive, false))
                continue;
            const qint64 c = line.section(QLatin1Char(' '), 1, 1).toLongLong();
            cost[current] += c;
            n.total += c;
        }
    }
    for (auto it = cost.cbegin(); it != cost.cend(); ++it)
        if (names.value(it.key()).contains(QLatin1String("/ld-linux")))
            n.loader += it.value();
    return n;
}

// The shared objects the loader maps, whether linked or opened later.
int sharedObjects(const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    QProcess p;
    if (!start(p, cliPath(), args, env))
        return -1;
    return int(QString::fromUtf8(p.readAllStandardError()).count(QLatin1String("generating link map")));
}

double bestMilliseconds(const QStringList &args)
{
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        if (!start(p, cliPath(), args) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString invoice = dir.filePath(QStringLiteral("cii-10.xml"));
    QFile f(invoice);
    if (!f.open(QIODevice::WriteOnly) || f.write(ciiInvoice(10)) < 0)
        return 1;
    f.close();
    for (const char *command : {"json", "show", "check"}) {
        const QStringList args{QString::fromLatin1(command), invoice};
        const Instructions n = countInstructions(args, dir);
        if (n.total < 0)
            std::printf("start-up %-5s 10 lines  (no valgrind: instructions not counted)", command);
        else
            std::printf("start-up %-5s 10 lines  %6.1f M instructions, %5.1f M in the dynamic loader",
                        command, n.total / 1e6, n.loader / 1e6);
        std::printf("  %3d shared objects  best of 20 %6.1f ms\n", sharedObjects(args),
                    bestMilliseconds(args));
        std::fflush(stdout);
    }
    return 0;
}
