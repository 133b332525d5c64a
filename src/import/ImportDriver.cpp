#include "import/ImportDriver.h"

#include "attachments/Attachments.h"
#include "checks/SumChecks.h"
#include "import/PdfExtraction.h"
#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "readers/ImportContext.h"
#include "services/SharedState.h"
#include "services/XmlDocument.h"

#include <QDir>
#include <QFileInfo>

#include <exception>
#include <optional>

namespace invorator {

namespace {

QHash<QString, QString> codeNameHash(const CodeNames &entries)
{
    QHash<QString, QString> names;
    for (const auto &[code, name] : entries)
        names.insert(code, name);
    return names;
}

} // namespace

QString KindName(InvoiceKind kind)
{
    switch (kind) {
    case InvoiceKind::CII:
        return QStringLiteral("CII");
    case InvoiceKind::UBL:
        return QStringLiteral("UBL");
    case InvoiceKind::Peppol:
        return QStringLiteral("Peppol");
    case InvoiceKind::Pdf:
        return QStringLiteral("ZUGFeRD");
    case InvoiceKind::Auto:
        break;
    }
    return QString::number(static_cast<int>(kind));
}

InvoiceKind KindOfFilterIndex(int index)
{
    return index >= 1 && index <= 4 ? static_cast<InvoiceKind>(index) : InvoiceKind::Auto;
}

Message KindMismatchQuestion(const SharedState &state, InvoiceKind chosen, InvoiceKind fits)
{
    return MakeMessage(50, MsgIcon::Question, ProgramTitle,
                       GetMeldung(state, 50).arg(KindName(chosen), KindName(fits)));
}

Message OpenExportFolderQuestion(const SharedState &state)
{
    return MakeMessage(41, MsgIcon::Question, ProgramTitle, GetMeldung(state, 41));
}

ImportDriver::ImportDriver(SharedState &state, DisplayModel &model, MessageSink &messages)
    : m_state(state), m_model(model), m_messages(messages)
{
}

ImportDriver::~ImportDriver() = default;

void ImportDriver::say(int number, MsgIcon icon, const QString &title, const QString &text)
{
    m_messages.show(MakeMessage(number, icon, title, text.isNull() ? GetMeldung(m_state, number) : text));
}

void ImportDriver::ClearInvoice()
{
    m_model.reset();
}

ImportResult ImportDriver::ImportInvoice(const QString &path, InvoiceKind kind)
{
    ClearInvoice();
    m_lastDocument.reset();
    ImportResult result;
    result.kind = kind;
    result.path = path;
    try {
        // Devices and pipes never end or block on reading; only regular files are invoices.
        const QFileInfo info(path);
        if (info.exists() && !info.isFile()) {
            say(52, MsgIcon::Critical, ProgramTitle);
            result.outcome = ImportOutcome::NotLoaded;
            return result;
        }
        // The file is read once: the XML is parsed from these bytes, and they are what the
        // archive stores, whatever happens to the file afterwards.
        InvoiceFile file = ReadInvoiceFile(path);
        result.bytes = file.bytes;
        QByteArray xml = std::move(file.bytes);
        if (file.pdf) {
            if (QByteArray embedded = ExtractInvoiceXml(xml); !embedded.isEmpty()) {
                xml = std::move(embedded);
                result.pdfXml = xml;
                result.fromPdf = true;
                result.kind = InvoiceKind::CII; // the content decides below whether it is CII or UBL
            }
        }
        ImportContext context;
        result.numberFormat = context.numberFormat;
        // The names of codes are read once per language, not on every import.
        if (m_codeNamesLanguage != m_state.LanguageCode || !m_state.TextsDbOpen) {
            const TextsGateway texts(m_state);
            m_vatCategoryNames = codeNameHash(texts.vatCategories());
            m_paymentMeansNames = codeNameHash(texts.paymentMeans());
            m_subjectCodeNames = codeNameHash(texts.subjectCodes());
            m_codeNamesLanguage = m_state.TextsDbOpen ? m_state.LanguageCode : QString();
        }
        context.vatCategoryNames = m_vatCategoryNames;
        context.paymentMeansNames = m_paymentMeansNames;
        context.subjectCodeNames = m_subjectCodeNames;
        auto owned = std::make_unique<XmlDocument>();
        XmlDocument &doc = *owned;
        const XmlResult loaded =
            file.readable ? doc.loadXml(xml) : XmlResult{false, file.problem, 0, file.tooLarge};
        if (!loaded) {
            say(loaded.tooLarge ? 53 : 5, MsgIcon::Critical, ProgramTitle);
            result.outcome = ImportOutcome::NotLoaded;
            return result;
        }
        DocumentProbe probe(doc);
        // A UBL invoice embedded in a PDF takes its own reader.
        if (result.fromPdf && !probe.cii() && probe.contentKind() != InvoiceKind::Auto)
            result.kind = probe.contentKind();
        if (result.kind == InvoiceKind::Auto)
            result.kind = probe.contentKind();
        const std::unique_ptr<InvoiceReader> reader = MakeReader(result.kind);
        if (!reader || !reader->accepts(probe)) {
            result.fits = probe.contentKind();
            if (result.fits == InvoiceKind::Auto)
                say(51, MsgIcon::Exclamation, ProgramTitle);
            result.outcome = ImportOutcome::Refused;
            return result;
        }
        const bool complete = reader->read(probe, context, m_model);
        result.numberFormat = context.numberFormat;
        if (complete)
            writeAttachments(*reader, result);
        result.outcome = ImportOutcome::Read;
        result.sumFindings = CheckSums(doc, reader->amounts(), &result.totals);
        if (m_deferValidation) {
            result.document = std::move(owned);
        } else {
            result.validation =
                ValidateInvoice(doc, ValidationFolder(m_state.programFolder()), &result.sumFindings);
            result.validated = true;
            if (m_keepDocument)
                m_lastDocument = std::move(owned);
        }
    } catch (const std::exception &) {
        say(5, MsgIcon::Information, BrellwerkTitle);
        result.outcome = ImportOutcome::Failed;
    }
    return result;
}

void ImportDriver::writeAttachments(InvoiceReader &reader, ImportResult &result)
{
    // An invoice without attachments has nothing to say about the folder.
    if (m_exportFolder.isEmpty() || !reader.hasAttachments())
        return;
    // On a fresh machine the export folder (by default the documents folder) may not exist yet.
    if (!QFileInfo(m_exportFolder).isDir() && !QDir().mkpath(m_exportFolder)) {
        if (reader.reportsUnreadyFolder())
            say(9, MsgIcon::Information, ProgramTitle);
        return;
    }
    AttachmentStore store(m_exportFolder);
    const bool any = reader.writeAttachments(store);
    store.finish();
    result.attachments = store.written();
    result.attachmentWriteFailed = store.writeFailed();
    if (!store.failed().empty()) {
        // One message names them all; a hostile file may hold thousands.
        QStringList names;
        for (const AttachmentFailure &f : store.failed()) {
            if (names.size() == 10)
                break;
            names << f.name + (f.refused ? QStringLiteral(": ") + WriteRefusalText(m_state, *f.refused)
                               : f.error.isEmpty() ? QString()
                                                   : QStringLiteral(": ") + f.error);
        }
        if (store.failed().size() > size_t(names.size()))
            names << QStringLiteral("… (%1)").arg(store.failed().size());
        say(54, MsgIcon::Exclamation, ProgramTitle,
            GetMeldung(m_state, 54).arg(names.join(QStringLiteral(", "))));
    }
    // The folder is offered only when something was written into it.
    result.offerExportFolder = any && !result.attachments.isEmpty();
}

} // namespace invorator
