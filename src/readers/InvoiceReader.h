#pragma once

#include <memory>
#include <optional>

namespace invorator {

class AttachmentStore;
class DisplayModel;
class XmlDocument;
struct CiiVocabulary;
struct ImportContext;

// The invoice kinds, numbered as the entries of the invoice file filter. Auto lets the
// file's content choose (used for files given on the command line or dropped on the window).
enum class InvoiceKind : int { Auto = 0, CII = 1, UBL = 2, Peppol = 3, Pdf = 4 };

// What a loaded document is: the namespace tests that tell the formats apart. Each test is
// made only when an answer needs it, and then only once.
class DocumentProbe
{
public:
    explicit DocumentProbe(const XmlDocument &doc) : m_doc(doc) {}

    const XmlDocument &document() const { return m_doc; }
    // An element of the Cross Industry Invoice.
    bool cii();
    // ZUGFeRD 1.0: read as CII, in the older vocabulary.
    bool zugferd1();
    // An element of UBL's aggregate components.
    bool ubl();
    // A root in the UBL Invoice namespace, or a credit note.
    bool peppol();
    // The kind the content shows: CII; else Peppol when the customization names a Peppol
    // rule set; else UBL; Auto when no test holds.
    InvoiceKind contentKind();

private:
    const XmlDocument &m_doc;
    std::optional<bool> m_cii, m_zugferd1, m_ubl, m_peppol;
};

// Where an invoice's amounts stand, for the check of sums: in the Cross Industry
// vocabulary given, or in UBL's elements when there is none.
struct AmountLayout
{
    const CiiVocabulary *cii = nullptr;
};

// One invoice format. A reader object serves one import: it says whether it takes the
// document, reads it into the display model step by step, writes its attachments, and
// tells where its amounts are.
class InvoiceReader
{
public:
    virtual ~InvoiceReader() = default;

    // Whether the document is an invoice of this format.
    virtual bool accepts(DocumentProbe &probe) const = 0;
    // Reads the document into the model. False when a step ended the reading early: the
    // model keeps what the steps before it wrote, and no attachments follow.
    virtual bool read(DocumentProbe &probe, ImportContext &context, DisplayModel &model) = 0;
    // Writes the embedded documents and references of the document read; true when it
    // names any.
    virtual bool writeAttachments(AttachmentStore &store) = 0;
    // Whether the document read names any embedded document or reference to write.
    virtual bool hasAttachments() const = 0;
    // Whether an export folder that cannot take files is worth telling the user.
    virtual bool reportsUnreadyFolder() const = 0;
    // Where the amounts of the document read stand.
    virtual AmountLayout amounts() const = 0;
};

// The reader of a kind (CII with ZUGFeRD 1.0, UBL, Peppol), or none for another kind.
std::unique_ptr<InvoiceReader> MakeReader(InvoiceKind kind);

} // namespace invorator
