// Measures how much the whole import costs over libxml2's bare parse of the same file,
// for generated invoices of 10, 1,000 and 10,000 lines. Prints one line per case.
#include "GeneratedInvoices.h"
#include "PdfMaker.h"
#include "archive/InvoiceArchive.h"
#include "checks/SumChecks.h"
#include "checks/Validation.h"
#include "import/ImportDriver.h"
#include "model/DisplayModel.h"
#include "output/InvoiceDocument.h"
#include "readers/cii/clsCIIImport.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"
#include "services/XmlDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <libxml/parser.h>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace invorator;

namespace {

double seconds(const std::function<void()> &run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// An import of its own, with the program folder beside the benchmark, for reading one file
// again and again.
struct Importer
{
    SharedState state{QCoreApplication::applicationDirPath()};
    DisplayModel model;
    RecordingSink sink;
    ImportDriver driver{state, model, sink};
};

void libxml2Parse(const QByteArray &xml)
{
    xmlDoc *doc = xmlReadMemory(xml.constData(), static_cast<int>(xml.size()), "bench.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlFreeDoc(doc);
}

// file is what the import reads; xml is the invoice XML libxml2 parses alone.
void report(const char *format, int lines, const QString &file, const QByteArray &xml, InvoiceKind kind)
{
    Importer importer;
    ImportDriver &driver = importer.driver;
    // Parse and import take turns, and the best of each counts, so a slow moment of the
    // machine does not land on one side only.
    double parse = 1e9;
    double import = 1e9;
    double spent = 0;
    for (int i = 0; i < 41 && (i < 7 || spent < 3.0); ++i) {
        parse = std::min(parse, seconds([&] { libxml2Parse(xml); }));
        const double once = seconds([&] { (void)driver.ImportInvoice(file, kind); });
        import = std::min(import, once);
        spent += once;
    }
    std::printf("%-6s %6d lines  %8.1f KB  libxml2 parse %8.2f ms  import %8.2f ms  ratio %5.2f  (rows %d)\n",
                format, lines, xml.size() / 1024.0, parse * 1e3, import * 1e3, import / parse,
                importer.model.lvTable.rowCount());
    std::fflush(stdout);
}

// Wall time of one run of a program of the build, from process start to exit.
double runTime(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start(program.contains(QLatin1Char('/'))
                ? program
                : QCoreApplication::applicationDirPath() + QLatin1Char('/') + program,
            args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

// Saving a 10,000-line invoice into a SQLite archive, and into the PostgreSQL database that
// INVORATOR_BENCH_ARCHIVE names (postgresql://user@host:port/db, made by archive-init) when
// it is set, against importing it, in one run.
void reportSave(const QString &file, const QDir &dir)
{
    SharedState state(QCoreApplication::applicationDirPath());
    const QString archive = dir.filePath(QStringLiteral("archive.mdb"));
    QFile::remove(archive);
    QStringList targets;
    if (QFile::copy(state.archivePath(), archive))
        targets << archive;
    else
        std::printf("save: no archive beside the program\n");
    const QString server = qEnvironmentVariable("INVORATOR_BENCH_ARCHIVE");
    if (server.isEmpty())
        std::printf("save: no PostgreSQL server named (INVORATOR_BENCH_ARCHIVE)\n");
    else
        targets << server;
    DisplayModel model;
    RecordingSink sink(MsgAnswer::Yes);
    ImportDriver driver(state, model, sink);
    ImportResult imported;
    for (const QString &target : targets) {
        state.ArchiveSetting = target;
        double import = 1e9;
        double save = 1e9;
        bool saved = true;
        for (int i = 0; i < 5; ++i) {
            import = std::min(import, seconds([&] { imported = driver.ImportInvoice(file, InvoiceKind::CII);
        }));
        save = std::min(save, seconds([&] {
                            saved =
                                saved && SaveToArchive(state, model, imported).outcome == SaveOutcome::Saved;
                        }));
    }
    std::printf("save   %6d lines  into %-10s %8.2f ms  import %8.2f ms  ratio %5.2f%s\n",
                model.lvTable.rowCount(), target == archive ? "SQLite" : "PostgreSQL", save * 1e3,
                import * 1e3, save / import, saved ? "" : "  (the save failed)");
    std::fflush(stdout);
}
} // namespace

} // namespace

// Processor time of the process, which a busy machine disturbs less than the clock on the
// wall; the machines this runs on offer no instruction counters.
double cpuSeconds(const std::function<void()> &run)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    run();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

// Validation of an invoice against its import. The import validates too, so its own
// validation is taken out: what is compared is reading the invoice with and without it.
void reportValidation(const QString &file, InvoiceKind kind, const char *format, int lines)
{
    Importer importer;
    ImportDriver &driver = importer.driver;
    XmlDocument doc;
    if (!doc.load(file)) {
        std::printf("validate: the invoice could not be loaded\n");
        return;
    }
    const QString folder = ValidationFolder(importer.state.programFolder());
    std::size_t findings = ValidateInvoice(doc, folder).findings.size(); // the schemas are compiled once
    double import = 1e9;
    double validation = 1e9;
    const auto importOnce = [&] {
        static_cast<void>(driver.ImportInvoice(file, kind));
    };
    for (int i = 0; i < 5; ++i) {
        import = std::min(import, cpuSeconds(importOnce));
        validation = std::min(validation,
                              cpuSeconds([&] { findings = ValidateInvoice(doc, folder).findings.size(); }));
    }
    const double reading = std::max(1e-6, import - validation);
    std::printf("validate %-4s %6d lines  validation %8.2f ms  import without it %8.2f ms  ratio %5.2f  "
                "(findings %zu, CPU time)\n",
                format, lines, validation * 1e3, reading * 1e3, validation / reading, findings);
    std::fflush(stdout);
}

// Instructions that callgrind counts inside one function of `invorator-cli json FILE`, with
// everything it calls; -1 without valgrind.
qint64 instructionsIn(const QString &file, const QString &function, const QDir &dir)
{
    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    if (valgrind.isEmpty())
        return -1;
    const QString out = dir.filePath(QStringLiteral("callgrind.out"));
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(valgrind, {QStringLiteral("--tool=callgrind"), QStringLiteral("--callgrind-out-file=") + out,
                       QStringLiteral("--toggle-collect=") + function,
                       QCoreApplication::applicationDirPath() + QStringLiteral("/invorator-cli"),
                       QStringLiteral("json"), file});
    if (!p.waitForFinished(15 * 60 * 1000))
        return -1;
    QFile counts(out);
    if (!counts.open(QIODevice::ReadOnly))
        return -1;
    while (!counts.atEnd()) {
        const QByteArray line = counts.readLine().trimmed();
        if (line.startsWith("totals:") || line.startsWith("summary:"))
            return line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return -1;
}

// The same comparison in instructions, which no other load on the machine changes.
void reportValidationInstructions(const QString &file, const char *format, int lines, const QDir &dir)
{
    const qint64 validation = instructionsIn(file, QStringLiteral("*ValidateInvoice*"), dir);
    const qint64 import = instructionsIn(file, QStringLiteral("*ImportDriver::ImportInvoice*"), dir);
    if (validation <= 0 || import <= validation) {
        std::printf("validate %-4s %6d lines  instructions: valgrind not found or no count\n", format, lines);
        return;
    }
    std::printf(
        "validate %-4s %6d lines  validation %12lld instructions  import without it %12lld  ratio %5.2f\n",
        format, lines, validation, import - validation, double(validation) / double(import - validation));
    std::fflush(stdout);
}

// Validation of every XML invoice of the corpus, one line per file.
void reportCorpusValidation()
{
    const QString folder = ValidationFolder(QCoreApplication::applicationDirPath());
    QDirIterator files(QStringLiteral(CORPUS_DIR), {QStringLiteral("*.xml"), QStringLiteral("*.XML")},
                       QDir::Files, QDirIterator::Subdirectories);
    QStringList paths;
    while (files.hasNext())
        paths << files.next();
    paths.sort();
    double total = 0;
    for (const QString &path : paths) {
        XmlDocument doc;
        if (!doc.load(path))
            continue;
        (void)ValidateInvoice(doc, folder);
        double best = 1e9;
        std::size_t findings = 0;
        for (int i = 0; i < 5; ++i)
            best =
                std::min(best, cpuSeconds([&] { findings = ValidateInvoice(doc, folder).findings.size(); }));
        total += best;
        std::printf("validate corpus %-60s %7.2f ms  (findings %zu)\n",
                    qPrintable(path.mid(QStringLiteral(CORPUS_DIR).size() + 1)), best * 1e3, findings);
    }
    std::printf("validate corpus %d files  %8.2f ms in all\n", int(paths.size()), total * 1e3);
    std::fflush(stdout);
}

// The check of sums of a 10,000-line invoice against the whole import of it (which runs
// the check too).
void reportCheck(const QString &file, InvoiceKind kind, const char *format)
{
    Importer importer;
    ImportDriver &driver = importer.driver;
    XmlDocument doc;
    if (!doc.load(file)) {
        std::printf("check: the invoice could not be loaded\n");
        return;
    }
    AmountLayout layout;
    if (kind == InvoiceKind::CII)
        layout.cii = &CrossIndustryInvoice;
    double import = 1e9;
    double check = 1e9;
    std::size_t findings = 0;
    const auto importOnce = [&] {
        static_cast<void>(driver.ImportInvoice(file, kind));
    };
    for (int i = 0; i < 7; ++i) {
        import = std::min(import, seconds(importOnce));
        check = std::min(check, seconds([&] { findings = CheckSums(doc, layout).size(); }));
    }
    std::printf(
        "check  %-6s 10000 lines  check of sums %8.2f ms  import %8.2f ms  ratio %5.2f  (findings %zu)\n",
        format, check * 1e3, import * 1e3, check / import, findings);
    std::fflush(stdout);
}

// Writing the invoice as a PDF against importing it.
void reportPdf(const QString &file, const QDir &dir, int lines)
{
    Importer importer;
    importer.state.OpenTextsDb();
    ImportDriver &driver = importer.driver;
    double import = 1e9;
    double pdf = 1e9;
    QString problem;
    const auto importOnce = [&] {
        static_cast<void>(driver.ImportInvoice(file, InvoiceKind::CII));
    };
    for (int i = 0; i < 3; ++i) {
        import = std::min(import, seconds(importOnce));
        pdf = std::min(pdf, seconds([&] {
                           (void)WriteInvoicePdf(importer.model,
                                                 DocumentTextsOf(importer.state, SectionTitles(), file),
                                                 dir.filePath(QStringLiteral("bench.pdf")), &problem);
                       }));
    }
    std::printf("pdf    %6d lines  PDF %9.2f ms  import %8.2f ms  ratio %6.2f\n", lines, pdf * 1e3,
                import * 1e3, pdf / import);
    std::fflush(stdout);
}

int main(int argc, char *argv[])
{
    // The PDF needs fonts, which come with a GUI application; no display is needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Keep freed memory in the process, so every run works on warm pages instead of
    // paying page faults that vary from run to run.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // An optional folder keeps the generated invoices for a look afterwards.
    QTemporaryDir temp;
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path());
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::exit(1);
        return path;
    };
    for (int lines : {10, 1000, 10000}) {
        const QByteArray xml = ciiInvoice(lines);
        report("CII", lines, write(QStringLiteral("cii-%1.xml").arg(lines), xml), xml, InvoiceKind::CII);
    }
    for (int lines : {10, 1000, 10000}) {
        const QByteArray xml = ublInvoice(lines);
        report("UBL", lines, write(QStringLiteral("ubl-%1.xml").arg(lines), xml), xml, InvoiceKind::UBL);
    }
    reportSave(dir.filePath(QStringLiteral("cii-10000.xml")), dir);
    reportCheck(dir.filePath(QStringLiteral("cii-10000.xml")), InvoiceKind::CII, "CII");
    reportPdf(dir.filePath(QStringLiteral("cii-1000.xml")), dir, 1000);
    reportPdf(dir.filePath(QStringLiteral("cii-10000.xml")), dir, 10000);
    reportCheck(dir.filePath(QStringLiteral("ubl-10000.xml")), InvoiceKind::UBL, "UBL");
    for (int lines : {1000, 10000}) {
        reportValidation(dir.filePath(QStringLiteral("cii-%1.xml").arg(lines)), InvoiceKind::CII, "CII",
                         lines);
        reportValidation(dir.filePath(QStringLiteral("ubl-%1.xml").arg(lines)), InvoiceKind::UBL, "UBL",
                         lines);
    }
    for (const char *format : {"cii", "ubl"})
        reportValidationInstructions(dir.filePath(QStringLiteral("%1-10000.xml").arg(QLatin1String(format))),
                                     format, 10000, dir);
    reportCorpusValidation();
    const QByteArray xml = ciiInvoice(10000);
    const QByteArray pdf = testing_support::MakePdf({{"factur-x.xml", xml}});
    report("PDF", 10000, write(QStringLiteral("cii-10000.pdf"), pdf), xml, InvoiceKind::Pdf);

    // The whole command-line process against xmllint only parsing the same file.
    for (const char *name : {"cii-10000.xml", "ubl-10000.xml"}) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        double cli = 1e9;
        double xmllint = 1e9;
        for (int i = 0; i < 7; ++i) {
            cli = std::min(cli, runTime(QStringLiteral("invorator-cli"), {QStringLiteral("json"), file}));
            xmllint = std::min(
                xmllint, runTime(QStringLiteral("/usr/bin/xmllint"), {QStringLiteral("--noout"), file}));
        }
        if (xmllint > 0 && cli > 0)
            std::printf("process %-14s invorator-cli json %8.1f ms  xmllint --noout %8.1f ms  ratio %5.2f\n",
                        name, cli * 1e3, xmllint * 1e3, cli / xmllint);
        else
            std::printf("process %-14s could not run invorator-cli or xmllint\n", name);
    }

    // The window: process start until it has drawn a converted 1,000-line invoice, against
    // the command line printing the same invoice as JSON; and with its picture written.
    const QString invoice = write(QStringLiteral("window-1000.xml"), ciiInvoice(1000));
    const QString shot = dir.filePath(QStringLiteral("window.png"));
    double window = 1e9;
    double picture = 1e9;
    double cli = 1e9;
    for (int i = 0; i < 5; ++i) {
        window = std::min(window, runTime(QStringLiteral("invorator"), {QStringLiteral("--shown"), invoice}));
        picture = std::min(
            picture, runTime(QStringLiteral("invorator"), {QStringLiteral("--screenshot"), shot, invoice}));
        cli = std::min(cli, runTime(QStringLiteral("invorator-cli"), {QStringLiteral("json"), invoice}));
    }
    if (window < 0 || picture < 0 || cli < 0) {
        std::printf("window start-up: could not run invorator or invorator-cli\n");
        return 1;
    }
    std::printf("window start-up with 1000 lines %8.1f ms  invorator-cli json %8.1f ms  ratio %5.2f"
                "  (with the picture written as PNG: %8.1f ms)\n",
                window * 1e3, cli * 1e3, window / cli, picture * 1e3);
    return 0;
}
