#include "cli/CommandLine.h"

#include "archive/InvoiceArchive.h"
#include "clients/ClientRecord.h"
#include "import/ImportDriver.h"
#include "localisation/TextsGateway.h"
#include "localisation/TranslateForm.h"
#include "localisation/TranslateModel.h"
#include "output/DisplayModelOutput.h"
#include "output/InvoiceDocument.h"
#include "services/SharedState.h"
#include "support/SupportRequest.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>

#include <unistd.h>

#include <algorithm>

namespace invorator {

namespace {

const char *usage = "usage: invorator-cli show|json|check [--kind cii|ubl|peppol|pdf|auto] [--export DIR] "
                    "[--lang CODE] FILE\n"
                    "       invorator-cli save [--kind K] [--archive PATH|URI] [--lang CODE] FILE...\n"
                    "       invorator-cli pdf [--kind K] [--lang CODE] FILE OUT.pdf\n"
                    "       invorator-cli archive-init [--archive PATH|URI]\n"
                    "       invorator-cli support --name NAME --message TEXT [--attach FILE] [--lang CODE]";

struct Options
{
    QString command;
    InvoiceKind kind = InvoiceKind::Auto;
    QString exportFolder;
    QString language;
    QString archive;
    bool archiveGiven = false;
    QStringList files;
    QString name;
    QString message;
    QString attachment;
};

// Fills options, or returns the reason the arguments cannot be used.
QString parse(const QStringList &args, Options &o)
{
    if (args.isEmpty())
        return QStringLiteral("no command given");
    o.command = args.first();
    static const QStringList commands{QStringLiteral("show"),    QStringLiteral("json"),
                                      QStringLiteral("save"),    QStringLiteral("archive-init"),
                                      QStringLiteral("support"), QStringLiteral("check"),
                                      QStringLiteral("pdf")};
    if (!commands.contains(o.command))
        return QStringLiteral("unknown command '%1'").arg(o.command);
    const bool archiveCommand =
        o.command == QLatin1String("save") || o.command == QLatin1String("archive-init");
    const bool support = o.command == QLatin1String("support");
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
        } else if (a == QLatin1String("--archive") && archiveCommand) {
            if (!value(o.archive))
                return QStringLiteral("--archive needs a file or a PostgreSQL address");
            o.archiveGiven = true;
        } else if (support && (a == QLatin1String("--name") || a == QLatin1String("--message") ||
                               a == QLatin1String("--attach"))) {
            QString &target = a == QLatin1String("--name")      ? o.name
                              : a == QLatin1String("--message") ? o.message
                                                                : o.attachment;
            if (!value(target))
                return QStringLiteral("%1 needs a value").arg(a);
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option '%1'").arg(a);
        } else if (o.command == QLatin1String("archive-init") || support) {
            return QStringLiteral("%1 takes no file").arg(o.command);
        } else if (o.files.isEmpty() || o.command == QLatin1String("save") ||
                   (o.command == QLatin1String("pdf") && o.files.size() == 1)) {
            o.files << a;
        } else {
            return QStringLiteral("more than one file given");
        }
    }
    if (support && (o.name.trimmed().isEmpty() || o.message.trimmed().isEmpty()))
        return QStringLiteral("support needs --name and --message");
    if (o.files.isEmpty() && o.command != QLatin1String("archive-init") && !support)
        return QStringLiteral("no invoice file given");
    if (o.command == QLatin1String("pdf") && o.files.size() != 2)
        return QStringLiteral("pdf needs the invoice and the PDF to write");
    return {};
}

void printMessages(const std::vector<Message> &messages, QTextStream &err)
{
    for (const Message &m : messages)
        err << "[" << iconName(m.icon) << "] " << m.title << " (" << m.number << "): " << m.text
            << (m.icon == MsgIcon::Question
                    ? (m.answer == MsgAnswer::Yes ? QStringLiteral(" -> Yes") : QStringLiteral(" -> No"))
                    : QString())
            << '\n';
}

// Answers the archive's question (42) with Yes and a kind mismatch (50) with No.
class SaveAnswers : public RecordingSink
{
public:
    MsgAnswer show(const Message &message) override
    {
        Message m = message;
        m.answer = m.icon != MsgIcon::Question ? MsgAnswer::Ok
                   : m.number == 42            ? MsgAnswer::Yes
                                               : MsgAnswer::No;
        RecordingSink::show(m);
        return m.answer;
    }
};

// Mails a support request with the account and client record of the installation.
int sendSupport(const SharedState &state, const Options &o, QTextStream &err)
{
    RecordingSink quiet;
    clsMandant client;
    if (const auto loaded = LoadClient(state, quiet))
        client = loaded->client;
    const PreparedSupportMail prepared = PrepareSupportMail(state, client, o.name, o.message, o.attachment);
    QString failure = prepared.failure;
    if (prepared.config) {
        const MailResult sent = SendSupportMail(*prepared.config, prepared.request);
        if (sent)
            return 0;
        failure = DescribeMailFailure(state, sent);
    }
    err << SupportErrorText << failure << '\n';
    return 3;
}

int initArchive(const SharedState &state, QTextStream &err)
{
    QString problem;
    const auto where = ArchiveLocation::parse(state.ArchiveSetting, state.programFolder(), &problem);
    if (!where) {
        err << "invorator-cli: " << problem << '\n';
        return 2;
    }
    if (const DbResult made = InitArchive(*where, state.programFolder()); !made) {
        err << "Fehler: " << made.message << '\n';
        return 3;
    }
    return 0;
}

// Imports and saves each file, trying all of them: 0 when every file was saved with every
// step, 3 when a save failed, else 1 when a file could not be read as an invoice.
int saveAll(SharedState &state, const Options &o, QTextStream &out, QTextStream &err)
{
    DisplayModel model;
    model.setDocumentTypes(TextsGateway(state).documentTypes());
    const bool progress = o.files.size() > 1 && isatty(STDERR_FILENO);
    int status = 0;
    for (qsizetype i = 0; i < o.files.size(); ++i) {
        const QString &file = o.files[i];
        if (progress)
            err << "\r" << (i + 1) << " of " << o.files.size() << ": " << file << "\x1b[K" << Qt::flush;
        SaveAnswers sink;
        ImportDriver driver(state, model, sink);
        if (!driver.ImportInvoice(file, o.kind)) {
            printMessages(sink.messages(), err);
            status = std::max(status, 1);
            continue;
        }
        const auto imported = sink.messages().size();
        const SaveOutcome saved = SaveToArchive(state, model, QFileInfo(file).absoluteFilePath(), sink);
        std::vector<Message> messages = sink.messages();
        for (std::size_t k = imported; k < messages.size(); ++k) {
            const Message &m = messages[k];
            // The report of a save is what the command prints; everything else is a message.
            if (m.number == 43 || m.number == 45)
                out << m.text << '\n';
            else if (m.number != 42)
                printMessages({m}, err);
        }
        if (saved != SaveOutcome::Saved)
            status = 3;
    }
    if (progress)
        err << '\n';
    return status;
}

} // namespace

int RunCommandLine(const QStringList &arguments, const QString &programFolder, QTextStream &out,
                   QTextStream &err, const std::function<void(int)> &finished)
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

    if (o.archiveGiven)
        state.ArchiveSetting = o.archive;
    if (o.command == QLatin1String("archive-init"))
        return initArchive(state, err);
    if (o.command == QLatin1String("save"))
        return saveAll(state, o, out, err);
    if (o.command == QLatin1String("support"))
        return sendSupport(state, o, err);

    DisplayModel model;
    model.setDocumentTypes(TextsGateway(state).documentTypes());
    ImportReport report;
    TranslateModel(state, model, report.titles);
    RecordingSink sink(MsgAnswer::No);
    ImportDriver driver(state, model, sink);
    driver.setExportFolder(o.exportFolder);
    driver.keepLastDocument(bool(finished));
    const ImportResult result = driver.ImportInvoice(o.files.first(), o.kind);

    report.kind = result.kind;
    report.numberFormat = state.NumberFormat;
    report.messages = sink.messages();
    report.attachments = driver.attachments();
    report.checks = driver.sumFindings();
    if (o.command == QLatin1String("check")) {
        printMessages(report.messages, err);
        if (!result)
            return 1;
        out << FormatFindings(report.checks);
        return report.checks.empty() ? 0 : 4;
    }
    if (o.command == QLatin1String("pdf")) {
        printMessages(report.messages, err);
        if (!result)
            return 1;
        QString problem;
        if (!WriteInvoicePdf(model, DocumentTextsOf(state, report.titles, o.files.first()), o.files.at(1),
                             &problem)) {
            err << "invorator-cli: " << o.files.at(1) << ": " << problem << '\n';
            return 3;
        }
        return 0;
    }
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
        printMessages(report.messages, err);
        if (result)
            out << FormatModelText(model, report);
    }
    const int status = result ? 0 : 1;
    if (finished) {
        for (QTextStream *stream : {&out, &err}) {
            stream->flush();
            if (auto *file = qobject_cast<QFileDevice *>(stream->device()))
                file->flush();
        }
        finished(status);
    }
    return status;
}

} // namespace invorator
