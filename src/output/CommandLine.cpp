#include "output/CommandLine.h"

#include "import/ImportDriver.h"
#include "localisation/TextsGateway.h"
#include "output/DisplayModelOutput.h"
#include "services/SharedState.h"

#include <QIODevice>

namespace invorator {

namespace {

const char *usage =
    "usage: invorator-cli show|json [--kind cii|ubl|peppol|pdf|auto] [--export DIR] [--lang CODE] FILE";

struct Options
{
    QString command;
    InvoiceKind kind = InvoiceKind::Auto;
    QString exportFolder;
    QString language;
    QString file;
};

// Fills options, or returns the reason the arguments cannot be used.
QString parse(const QStringList &args, Options &o)
{
    if (args.isEmpty())
        return QStringLiteral("no command given");
    o.command = args.first();
    if (o.command != QLatin1String("show") && o.command != QLatin1String("json"))
        return QStringLiteral("unknown command '%1'").arg(o.command);
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&](QString &target) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        if (a == QLatin1String("--kind")) {
            QString k;
            if (!value(k))
                return QStringLiteral("--kind needs a value");
            static const QStringList kinds{QStringLiteral("auto"), QStringLiteral("cii"),
                                           QStringLiteral("ubl"), QStringLiteral("peppol"),
                                           QStringLiteral("pdf")};
            const auto index = kinds.indexOf(k.toLower());
            if (index < 0)
                return QStringLiteral("unknown kind '%1'").arg(k);
            o.kind = static_cast<InvoiceKind>(index);
        } else if (a == QLatin1String("--export")) {
            if (!value(o.exportFolder))
                return QStringLiteral("--export needs a folder");
        } else if (a == QLatin1String("--lang")) {
            if (!value(o.language))
                return QStringLiteral("--lang needs a language code");
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option '%1'").arg(a);
        } else if (o.file.isEmpty()) {
            o.file = a;
        } else {
            return QStringLiteral("more than one file given");
        }
    }
    if (o.file.isEmpty())
        return QStringLiteral("no invoice file given");
    return {};
}

} // namespace

int RunCommandLine(const QStringList &arguments, const QString &programFolder, QTextStream &out,
                   QTextStream &err)
{
    Options o;
    if (const QString problem = parse(arguments, o); !problem.isEmpty()) {
        err << "invorator-cli: " << problem << '\n' << usage << '\n';
        return 2;
    }
    SharedState state(programFolder);
    state.readSettings();
    if (!state.OpenTextsDb())
        err << "Data-Connect failed! Please control connect.udl in Folder \\DB\r\nError Message: "
            << state.textsDbError() << '\n';
    if (!o.language.isEmpty()) {
        if (state.TextsDbOpen && !TextsGateway(state).hasLanguage(o.language)) {
            err << "invorator-cli: unknown language '" << o.language << "'\n";
            return 2;
        }
        state.LanguageCode = o.language.toUpper();
    }

    DisplayModel model;
    model.setDocumentTypes(TextsGateway(state).documentTypes());
    RecordingSink sink(MsgAnswer::No);
    ImportDriver driver(state, model, sink);
    driver.setExportFolder(o.exportFolder);
    const ImportResult result = driver.ImportInvoice(o.file, o.kind);

    ImportReport report;
    report.kind = result.kind;
    report.numberFormat = state.NumberFormat;
    report.messages = sink.messages();
    report.attachments = driver.attachments();
    if (o.command == QLatin1String("json")) {
        const QByteArray json = ModelToJsonText(model, report);
        // Straight to a file or pipe; a stream over a string takes the text.
        if (out.device()) {
            out.flush();
            out.device()->write(json);
        } else {
            out << QString::fromUtf8(json);
        }
    } else {
        for (const Message &m : report.messages)
            err << "[" << iconName(m.icon) << "] " << m.title << " (" << m.number << "): " << m.text
                << (m.icon == MsgIcon::Question ? QStringLiteral(" -> No") : QString()) << '\n';
        if (result)
            out << FormatModelText(model, report);
    }
    return result ? 0 : 1;
}

} // namespace invorator
