#pragma once

#include "checks/SumChecks.h"
#include "checks/Validation.h"
#include "model/DisplayModel.h"
#include "readers/InvoiceReader.h"
#include "services/MessageSink.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace invorator {

class SharedState;

QString KindName(InvoiceKind kind);
// The kind of a filter index (1 to 4); anything else is Auto.
InvoiceKind KindOfFilterIndex(int index);

enum class ImportOutcome {
    Read,      // the reader sequence ran (it may have stopped early on a reader's false)
    NotLoaded, // the file could not be loaded (message 5)
    Refused,   // the file is not an invoice of the chosen kind (message 51, or `fits` names the kind)
    Failed     // an unexpected error ended the import (message 5, "Brellwerk")
};

// What one import did, as a value the caller keeps while the invoice is on show: how it
// ended, the kind the file was read as (a PDF's XML is read as CII, or as the UBL kind its
// content shows), the file and the very bytes that were read, the number format of the
// amounts, the sums that do not add up and the attachments written.
struct ImportResult
{
    ImportOutcome outcome = ImportOutcome::Failed;
    InvoiceKind kind = InvoiceKind::Auto;
    // Refused because the content is an invoice of another kind: that kind (the caller
    // may ask the user and import again as it). Auto when no kind fits.
    InvoiceKind fits = InvoiceKind::Auto;
    bool fromPdf = false;
    QString path;
    // The file's bytes as the import read them (the PDF, not its XML): what the archive stores.
    QByteArray bytes;
    // The XML taken out of a PDF (empty for an XML file, whose bytes are the XML): what
    // the validation's line numbers count in.
    QByteArray pdfXml;
    // The pattern the amounts were written in; empty when the import ended before choosing one.
    QString numberFormat;
    // The sums of the invoice read that do not add up (empty when all agree).
    std::vector<SumFinding> sumFindings;
    // The VAT total, amount due and currency as the XML writes them, for the archive.
    InvoiceTotals totals;
    // What validation of the invoice's XML found; not yet when the caller validates later.
    ValidationReport validation;
    bool validated = false;
    // The parsed XML, kept for a caller that validates later (see deferValidation).
    std::shared_ptr<const XmlDocument> document;
    // File names written into the export folder, in order.
    QStringList attachments;
    // An attachment's file could not be written (message 54 names it and says why).
    bool attachmentWriteFailed = false;
    // The reader wrote documents into the export folder: the caller may offer to open it.
    bool offerExportFolder = false;

    explicit operator bool() const { return outcome == ImportOutcome::Read; }
};

// The question a refused import puts to the user (message 50): read the file as the kind
// that fits instead of the kind chosen?
Message KindMismatchQuestion(const SharedState &state, InvoiceKind chosen, InvoiceKind fits);
// The question after attachments were written (message 41): open the export folder?
Message OpenExportFolderQuestion(const SharedState &state);

// Turns one invoice file into the filled display model: clears it, takes the XML out
// of a PDF, loads the document, checks its namespaces against the kind, and runs the
// reader of that kind step by step. Attachments go to the export folder at the end.
// It asks no questions: what it did comes back in the result, and information the user
// should see (a file that cannot be read, attachments that failed) goes to the sink.
class ImportDriver
{
public:
    ImportDriver(SharedState &state, DisplayModel &model, MessageSink &messages);
    ~ImportDriver();

    // The export folder field's text; attachments are written only when it names an
    // existing folder.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    ImportResult ImportInvoice(const QString &path, InvoiceKind kind);
    void ClearInvoice();

    // Keeps the document of the last import until the next one or the driver's end, for a
    // program that ends right after one import and need not spend time taking it apart.
    void keepLastDocument(bool keep) { m_keepDocument = keep; }
    // The import leaves validation to the caller and hands it the parsed XML in the result
    // (the window validates beside its user interface).
    void deferValidation(bool defer) { m_deferValidation = defer; }

private:
    void say(int number, MsgIcon icon, const QString &title, const QString &text = {});

    void writeAttachments(InvoiceReader &reader, ImportResult &result);

    SharedState &m_state;
    DisplayModel &m_model;
    MessageSink &m_messages;
    QString m_exportFolder;
    bool m_keepDocument = false;
    bool m_deferValidation = false;
    std::unique_ptr<XmlDocument> m_lastDocument;
    QHash<QString, QString> m_vatCategoryNames;
    QHash<QString, QString> m_paymentMeansNames;
    QHash<QString, QString> m_subjectCodeNames;
    QString m_codeNamesLanguage;
};

} // namespace invorator
