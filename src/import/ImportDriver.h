#pragma once

#include "checks/SumChecks.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace invorator {

class SharedState;
struct ImportContext;
struct CiiVocabulary;
class XmlDocument;
class AttachmentStore;

// The invoice kinds, numbered as the entries of the invoice file filter. Auto lets the
// file's content choose (used for files given on the command line or dropped on the window).
enum class InvoiceKind : int { Auto = 0, CII = 1, UBL = 2, Peppol = 3, Pdf = 4 };

QString KindName(InvoiceKind kind);
// The kind of a filter index (1 to 4); anything else is Auto.
InvoiceKind KindOfFilterIndex(int index);

enum class ImportOutcome {
    Read,      // the reader sequence ran (it may have stopped early on a reader's false)
    NotLoaded, // the file could not be loaded (message 5)
    Refused,   // the file is not an invoice of the chosen kind (messages 50, 51)
    Failed     // an unexpected error ended the import (message 5, "Brellwerk")
};

// What one import did: how it ended, the kind the file was read as (a PDF's XML is
// read as CII, or as the UBL kind its content shows), and whether the XML came out of a PDF.
struct ImportResult
{
    ImportOutcome outcome = ImportOutcome::Failed;
    InvoiceKind kind = InvoiceKind::Auto;
    bool fromPdf = false;
    explicit operator bool() const { return outcome == ImportOutcome::Read; }
};

// Turns one invoice file into the filled display model: clears it, takes the XML out
// of a PDF, loads the document, checks its namespaces against the kind, and runs the
// reader of that kind step by step. Attachments go to the export folder at the end.
class ImportDriver
{
public:
    ImportDriver(SharedState &state, DisplayModel &model, MessageSink &messages);
    ~ImportDriver();

    // The export folder field's text; attachments are written only when it is set and ready.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }
    // Whether the export folder can take files (default: it is an existing folder).
    std::function<bool()> exportFolderReady;
    // Opens the export folder for the user after attachments were written.
    std::function<void()> openExportFolder;
    // Enables the save command; called by every clearing.
    std::function<void()> enableSave;

    ImportResult ImportInvoice(const QString &path, InvoiceKind kind);
    void ClearInvoice();

    // File names written into the export folder by the last import, in order.
    const QStringList &attachments() const { return m_attachments; }

    // Keeps the document of the last import until the next one or the driver's end, for a
    // program that ends right after one import and need not spend time taking it apart.
    void keepLastDocument(bool keep) { m_keepDocument = keep; }
    // The sums of the last invoice read that do not add up (empty when all agree).
    const std::vector<SumFinding> &sumFindings() const { return m_sumFindings; }

private:
    MsgAnswer say(int number, MsgIcon icon, const QString &title, const QString &text = {});

    void runCii(const XmlDocument &doc, ImportContext &context, const CiiVocabulary &vocabulary);
    void runUbl(const XmlDocument &doc, bool peppol, ImportContext &context);
    void attachmentStep(const std::function<bool(AttachmentStore &)> &write, bool messageWhenNotReady);

    SharedState &m_state;
    DisplayModel &m_model;
    MessageSink &m_messages;
    QString m_exportFolder;
    QStringList m_attachments;
    bool m_keepDocument = false;
    std::unique_ptr<XmlDocument> m_lastDocument;
    std::vector<SumFinding> m_sumFindings;
    QHash<QString, QString> m_vatCategoryNames;
    QHash<QString, QString> m_paymentMeansNames;
    QString m_codeNamesLanguage;
};

} // namespace invorator
