#include "cli/CommandLine.h"

#include "archive/InvoiceArchive.h"
#include "cli/ArchiveCommands.h"
#include "clients/ClientRecord.h"
#include "import/ImportDriver.h"
#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "localisation/TranslateForm.h"
#include "localisation/TranslateModel.h"
#include "output/DisplayModelOutput.h"
#include "output/InvoiceDocument.h"
#include "output/ValidationTexts.h"
#include "services/SharedState.h"
#include "support/SupportMail.h"
#include "support/SupportRequest.h"

#include <QCommandLineParser>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>

#include <unistd.h>

#include <algorithm>

namespace invorator {

namespace {

const char *usage = "usage: invorator-cli show|json|check [--kind cii|ubl|peppol|pdf|auto] [--export DIR] "
                    "[--lang CODE] FILE\n"
                    "       invorator-cli validate [--kind K] [--format text|json] [--lang CODE] FILE...\n"
                    "       invorator-cli save [--kind K] [--archive PATH|URI] [--lang CODE] FILE...\n"
                    "       invorator-cli pdf [--kind K] [--lang CODE] FILE OUT.pdf\n"
                    "       invorator-cli archive-init [--archive PATH|URI]\n"
                    "       invorator-cli archive list [--seller S] [--number N] [--from DATE] [--to DATE] "
                    "[--min AMOUNT] [--max AMOUNT] [--state valid|findings] [--all] [--format text|json] "
                    "[--archive PATH|URI]\n"
                    "       invorator-cli archive show|export|verify [ID] [OUT] [--archive PATH|URI]\n"
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
    bool json = false; // validate: one JSON object per file
    ArchiveRequest archiveRequest;
};

// An option with its value (none for a switch): the commands it belongs to, and the reason
// given when the value is missing.
struct CommandOption
{
    const char *name;
    const char *valueName;
    const char *missing;
    bool (*takenBy)(const QString &command);
};

bool anyCommand(const QString &)
{
    return true;
}
bool archiveCommand(const QString &command)
{
    return command == QLatin1String("save") || command == QLatin1String("archive-init") ||
           command == QLatin1String("archive");
}
bool archiveQuery(const QString &command)
{
    return command == QLatin1String("archive");
}
bool supportCommand(const QString &command)
{
    return command == QLatin1String("support");
}
bool validateCommand(const QString &command)
{
    return command == QLatin1String("validate");
}
bool formatCommand(const QString &command)
{
    return validateCommand(command) || archiveQuery(command);
}

constexpr CommandOption commandOptions[] = {
    {"kind", "K", "--kind needs a value", anyCommand},
    {"export", "DIR", "--export needs a folder", anyCommand},
    {"lang", "CODE", "--lang needs a language code", anyCommand},
    {"archive", "PATH|URI", "--archive needs a file or a PostgreSQL address", archiveCommand},
    {"name", "NAME", "--name needs a value", supportCommand},
    {"message", "TEXT", "--message needs a value", supportCommand},
    {"attach", "FILE", "--attach needs a value", supportCommand},
    {"format", "text|json", "--format needs text or json", formatCommand},
    {"seller", "S", "--seller needs a value", archiveQuery},
    {"number", "N", "--number needs a value", archiveQuery},
    {"from", "DATE", "--from needs a date", archiveQuery},
    {"to", "DATE", "--to needs a date", archiveQuery},
    {"min", "AMOUNT", "--min needs an amount", archiveQuery},
    {"max", "AMOUNT", "--max needs an amount", archiveQuery},
    {"state", "valid|findings", "--state needs valid or findings", archiveQuery},
    {"all", nullptr, nullptr, archiveQuery},
};

// The archive list's filters, or the reason one cannot be used.
QString parseArchiveFilter(const QCommandLineParser &parser, ArchiveRequest &r)
{
    const auto value = [&parser](const char *name) {
        return parser.value(QString::fromLatin1(name));
    };
    r.filter.seller = value("seller");
    r.filter.number = value("number");
    r.all = parser.isSet(QStringLiteral("all"));
    for (auto [name, date] : {std::pair{"from", &r.filter.from}, std::pair{"to", &r.filter.to}}) {
        if (!parser.isSet(QString::fromLatin1(name)))
            continue;
        *date = ArchiveFilter::parseDate(value(name));
        if (!date->isValid())
            return QStringLiteral("not a date: '%1'").arg(value(name));
    }
    for (auto [name, amount] :
         {std::pair{"min", &r.filter.minAmount}, std::pair{"max", &r.filter.maxAmount}}) {
        if (!parser.isSet(QString::fromLatin1(name)))
            continue;
        const DecimalRead read = Decimal::fromXml(value(name));
        if (!read)
            return QStringLiteral("not an amount: '%1'").arg(value(name));
        *amount = read.value;
    }
    r.filter.state = value("state");
    if (!r.filter.state.isEmpty() && r.filter.state != QLatin1String("valid") &&
        r.filter.state != QLatin1String("findings"))
        return QStringLiteral("unknown state '%1'").arg(r.filter.state);
    return {};
}

// Fills options, or returns the reason the arguments cannot be used.
QString parse(const QStringList &args, Options &o)
{
    if (args.isEmpty())
        return QStringLiteral("no command given");
    o.command = args.first();
    static const QStringList commands{
        QStringLiteral("show"),         QStringLiteral("json"),     QStringLiteral("save"),
        QStringLiteral("archive-init"), QStringLiteral("support"),  QStringLiteral("check"),
        QStringLiteral("pdf"),          QStringLiteral("validate"), QStringLiteral("archive")};
    if (!commands.contains(o.command))
        return QStringLiteral("unknown command '%1'").arg(o.command);
    const bool support = supportCommand(o.command);

    // Only the command's own options are known to the parser: any other is unknown.
    QCommandLineParser parser;
    for (const CommandOption &option : commandOptions)
        if (option.takenBy(o.command))
            parser.addOption(option.valueName
                                 ? QCommandLineOption(QString::fromLatin1(option.name), QString(),
                                                      QString::fromLatin1(option.valueName))
                                 : QCommandLineOption(QString::fromLatin1(option.name)));
    // The command stands where the parser expects the program's name.
    if (!parser.parse(args)) {
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
            return QStringLiteral("unknown option '%1%2'")
                .arg(unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                     unknown.first());
        // Otherwise the last argument is an option whose value is missing.
        for (const CommandOption &option : commandOptions)
            if (option.missing && args.last() == QLatin1String("--") + QLatin1String(option.name))
                return QString::fromLatin1(option.missing);
        return parser.errorText();
    }
    const auto value = [&parser](const char *name) {
        return parser.value(QString::fromLatin1(name));
    };
    if (parser.isSet(QStringLiteral("kind"))) {
        static const QStringList kinds{QStringLiteral("auto"), QStringLiteral("cii"), QStringLiteral("ubl"),
                                       QStringLiteral("peppol"), QStringLiteral("pdf")};
        const auto index = kinds.indexOf(value("kind").toLower());
        if (index < 0)
            return QStringLiteral("unknown kind '%1'").arg(value("kind"));
        o.kind = static_cast<InvoiceKind>(index);
    }
    o.exportFolder = value("export");
    o.language = value("lang");
    if (archiveCommand(o.command)) {
        o.archiveGiven = parser.isSet(QStringLiteral("archive"));
        o.archive = value("archive");
    }
    if (support) {
        o.name = value("name");
        o.message = value("message");
        o.attachment = value("attach");
    }
    if (formatCommand(o.command) && parser.isSet(QStringLiteral("format"))) {
        const QString format = value("format").toLower();
        if (format != QLatin1String("text") && format != QLatin1String("json"))
            return QStringLiteral("unknown format '%1'").arg(value("format"));
        o.json = format == QLatin1String("json");
    }
    o.files = parser.positionalArguments();
    if (archiveQuery(o.command)) {
        o.archiveRequest.json = o.json;
        if (QString problem = ParseArchiveRequest(o.files, o.archiveRequest); !problem.isEmpty())
            return problem;
        return parseArchiveFilter(parser, o.archiveRequest);
    }
    if (o.command == QLatin1String("archive-init") || support) {
        if (!o.files.isEmpty())
            return QStringLiteral("%1 takes no file").arg(o.command);
    } else if (o.command != QLatin1String("save") && !validateCommand(o.command) &&
               o.files.size() > (o.command == QLatin1String("pdf") ? 2 : 1)) {
        return QStringLiteral("more than one file given");
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

// The command line answers the questions of an import itself: it reads only the kind it
// was told (a mismatch is refused), and it never opens the export folder. The questions
// are reported with their answers like every other message.
void answerImportQuestions(const SharedState &state, const ImportResult &result, RecordingSink &sink)
{
    if (result.outcome == ImportOutcome::Refused && result.fits != InvoiceKind::Auto)
        sink.show(KindMismatchQuestion(state, result.kind, result.fits));
    if (result.offerExportFolder)
        sink.show(OpenExportFolderQuestion(state));
}

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
    ArchiveLocation::Problem problem{};
    const auto where = ArchiveLocation::parse(state.ArchiveSetting, state.programFolder(), &problem);
    if (!where) {
        err << "invorator-cli: " << ArchiveAddressText(state, problem, state.ArchiveSetting) << '\n';
        return 2;
    }
    if (const DbResult made = InitArchive(*where, state.programFolder()); !made) {
        err << "Fehler: " << DbResultText(state, made) << '\n';
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
        // Every line of the report names its file, and each file's lines are out before the
        // next file is read, so that the report keeps the order of the files.
        const auto report = [&](const std::vector<Message> &messages, bool saved) {
            QString text;
            QTextStream lines(&text);
            if (saved)
                for (const Message &m : messages)
                    lines << m.text << '\n';
            else
                printMessages(messages, lines);
            lines.flush();
            if (progress)
                err << "\r\x1b[K";
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                .replace(QLatin1Char('\r'), QLatin1Char('\n'));
            for (const QString &line : text.split(QLatin1Char('\n')))
                if (!line.isEmpty())
                    (saved ? out : err) << file << ": " << line << '\n';
            out.flush();
            err.flush();
        };
        RecordingSink sink(MsgAnswer::No);
        ImportDriver driver(state, model, sink);
        const ImportResult imported = driver.ImportInvoice(file, o.kind);
        answerImportQuestions(state, imported, sink);
        if (!imported) {
            report(sink.messages(), false);
            status = std::max(status, 1);
            continue;
        }
        const SaveReport saved = SaveToArchive(state, model, imported);
        // The report of a save is what the command prints; everything else is a message.
        for (const Message &m : saved.messages)
            report({m}, m.number == 43);
        if (saved.outcome != SaveOutcome::Saved)
            status = 3;
    }
    if (progress)
        err << '\n';
    return status;
}

// Validates each file in turn and prints its findings: text per file, or one JSON object per
// file (with its name when there are several). 0 when no file breaks a fatal rule, 5 when
// one does, 1 when a file could not be read as an invoice.
int validateAll(SharedState &state, const Options &o, QTextStream &out, QTextStream &err)
{
    const ValidationTexts texts = ValidationTexts::read(state);
    const bool several = o.files.size() > 1;
    bool unread = false;
    bool invalid = false;
    for (const QString &file : o.files) {
        DisplayModel model;
        RecordingSink sink(MsgAnswer::No);
        ImportDriver driver(state, model, sink);
        const ImportResult result = driver.ImportInvoice(file, o.kind);
        answerImportQuestions(state, result, sink);
        if (!result) {
            for (const Message &m : sink.messages())
                err << file << ": " << m.text << '\n';
            unread = true;
            continue;
        }
        QStringList messages;
        for (const ValidationFinding &f : result.validation.findings)
            messages << texts.message(f);
        invalid = invalid || !result.validation.valid();
        if (o.json) {
            out.flush();
            const QByteArray line =
                ValidationToJsonText(result.validation, messages, several ? file : QString());
            if (out.device())
                out.device()->write(line);
            else
                out << QString::fromUtf8(line);
        } else {
            out << file << ": " << FormatValidation(state, result.validation, messages);
        }
    }
    return unread ? 1 : invalid ? 5 : 0;
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
    if (!state.OpenTextsDb()) {
        err << "Data-Connect failed! Please control connect.udl in Folder \\DB\r\nError Message: "
            << state.textsDbError() << '\n';
        // Every other command speaks through the texts database; without it they would print
        // empty lines and findings without words, so they stop here.
        if (o.command != QLatin1String("json") && o.command != QLatin1String("archive-init"))
            return 1;
    }
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
    if (archiveQuery(o.command))
        return RunArchiveRequest(o.archiveRequest, state, out, err);
    if (o.command == QLatin1String("save"))
        return saveAll(state, o, out, err);
    if (o.command == QLatin1String("support"))
        return sendSupport(state, o, err);
    if (validateCommand(o.command))
        return validateAll(state, o, out, err);

    DisplayModel model;
    model.setDocumentTypes(TextsGateway(state).documentTypes());
    ImportReport report;
    TranslateModel(state, model, report.titles);
    RecordingSink sink(MsgAnswer::No);
    ImportDriver driver(state, model, sink);
    driver.setExportFolder(o.exportFolder);
    driver.keepLastDocument(bool(finished));
    // Of these commands only json reports the validation; the others leave it out.
    driver.deferValidation(o.command != QLatin1String("json"));
    const ImportResult result = driver.ImportInvoice(o.files.first(), o.kind);
    answerImportQuestions(state, result, sink);
    if (!result.numberFormat.isEmpty())
        state.NumberFormat = result.numberFormat;

    report.kind = result.kind;
    report.numberFormat = state.NumberFormat;
    report.messages = sink.messages();
    report.attachments = result.attachments;
    report.checks = result.sumFindings;
    if (result.validated) {
        const ValidationTexts texts = ValidationTexts::read(state);
        report.validation = result.validation;
        for (const ValidationFinding &f : result.validation.findings)
            report.validationMessages << texts.message(f);
    }
    if (o.command == QLatin1String("check")) {
        printMessages(report.messages, err);
        if (!result)
            return 1;
        out << FormatFindings(state, report.checks);
        if (result.attachmentWriteFailed)
            return 3;
        // Warnings are printed; only a sum that is wrong fails the check.
        return AnyFatal(report.checks) ? 4 : 0;
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
    const int status = !result ? 1 : result.attachmentWriteFailed ? 3 : 0;
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
