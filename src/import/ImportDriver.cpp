#include "import/ImportDriver.h"

#include "attachments/Attachments.h"
#include "checks/SumChecks.h"
#include "import/PdfExtraction.h"
#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "readers/ImportContext.h"
#include "readers/cii/clsCIIImport.h"
#include "readers/ubl/clsUBLImport.h"
#include "services/InvoiceNamespaces.h"
#include "services/SharedState.h"
#include "services/XmlDocument.h"

#include <QFileInfo>

#include <exception>
#include <initializer_list>
#include <optional>

namespace invorator {

namespace {

const QString appTitle = QStringLiteral("Tarvo Invorator");
const QString brellwerk = QStringLiteral("Brellwerk");

const std::string ciiTest = ns::elementTest(QString::fromLatin1(ns::cii.data(), ns::cii.size()));
const std::string zugferd1Test =
    ns::elementTest(QString::fromLatin1(ns::zugferd1.data(), ns::zugferd1.size()));
const std::string ublTest = ns::elementTest(ns::ubl("CommonAggregateComponents-2"));
const std::string peppolTest = ns::elementTest(ns::ubl("Invoice-2"));
const std::string creditNoteTest = ns::elementTest(ns::ubl("CreditNote-2"));

// The amount fields every totals operation fills, in its order: tax, final amount, the
// eight totals, and the currency twice.
FieldList totalFields(DisplayModel &m)
{
    return m.fields({Rd::TaxTotal, Rd::FinalAmount, So::LineTotal, So::NetTotal, So::GrossTotal,
                     So::Allowances, So::Charges, So::Prepaid, So::Rounding, So::DuePayable, Rd::TaxCurrency,
                     Rd::FinalCurrency});
}

bool isCreditNote(const XmlDocument &doc)
{
    const XmlNode root = doc.documentElement();
    return root.localName() == QLatin1String("CreditNote") && root.namespaceUri() == ns::ubl("CreditNote-2");
}

// The three namespace tests: does the document hold an element of that namespace? Each
// is asked only when an answer needs it, and then only once.
class NamespaceTests
{
public:
    explicit NamespaceTests(const XmlDocument &doc) : m_doc(doc) {}

    bool cii() { return ask(m_cii, {ciiTest}); }
    // ZUGFeRD 1.0: read as CII, in the older vocabulary.
    bool zugferd1() { return ask(m_zugferd1, {zugferd1Test}); }
    bool ubl() { return ask(m_ubl, {ublTest}); }
    // A Peppol credit note has its root in the CreditNote namespace.
    bool peppol() { return ask(m_peppol, {peppolTest, creditNoteTest}); }

    bool accepts(InvoiceKind kind)
    {
        return (kind == InvoiceKind::CII && (cii() || zugferd1())) || (kind == InvoiceKind::UBL && ubl()) ||
               (kind == InvoiceKind::Peppol && peppol());
    }

    // The kind the content shows: CII; else Peppol when the customization names a Peppol
    // rule set; else UBL; Auto when no test holds.
    InvoiceKind contentKind()
    {
        if (cii() || zugferd1())
            return InvoiceKind::CII;
        if (!ubl() && !peppol())
            return InvoiceKind::Auto;
        static const std::string customizationQuery =
            "*[local-name()='CustomizationID' and namespace-uri()='" +
            ns::ubl("CommonBasicComponents-2").toStdString() + "']";
        const XmlNode customization = m_doc.documentElement().selectSingleNode(customizationQuery);
        if (peppol() && customization.text().contains(QLatin1String("peppol"), Qt::CaseInsensitive))
            return InvoiceKind::Peppol;
        return ubl() ? InvoiceKind::UBL : InvoiceKind::Peppol;
    }

private:
    bool ask(std::optional<bool> &answer, std::initializer_list<std::string_view> tests)
    {
        if (!answer) {
            answer = false;
            for (std::string_view test : tests)
                *answer = *answer || !m_doc.documentNode().selectSingleNode(test).isNull();
        }
        return *answer;
    }

    const XmlDocument &m_doc;
    std::optional<bool> m_cii;
    std::optional<bool> m_zugferd1;
    std::optional<bool> m_ubl;
    std::optional<bool> m_peppol;
};

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

ImportDriver::ImportDriver(SharedState &state, DisplayModel &model, MessageSink &messages)
    : m_state(state), m_model(model), m_messages(messages)
{
    exportFolderReady = [this] {
        return QFileInfo(m_exportFolder).isDir();
    };
}

ImportDriver::~ImportDriver() = default;

MsgAnswer ImportDriver::say(int number, MsgIcon icon, const QString &title, const QString &text)
{
    Message m;
    m.number = number;
    m.icon = icon;
    m.title = title;
    m.text = text.isNull() ? GetMeldung(m_state, number) : text;
    return m_messages.show(m);
}

void ImportDriver::ClearInvoice()
{
    m_model.reset();
    if (enableSave)
        enableSave();
}

ImportResult ImportDriver::ImportInvoice(const QString &path, InvoiceKind kind)
{
    ClearInvoice();
    m_attachments.clear();
    m_lastDocument.reset();
    m_sumFindings.clear();
    ImportResult result;
    result.kind = kind;
    try {
        // Devices and pipes never end or block on reading; only regular files are invoices.
        const QFileInfo info(path);
        if (info.exists() && !info.isFile()) {
            say(52, MsgIcon::Critical, appTitle);
            result.outcome = ImportOutcome::NotLoaded;
            return result;
        }
        // The XML of a PDF goes to a file of this import's own, removed when it ends.
        ExtractedXml extracted;
        QString xmlPath = path;
        if (IsPdfFile(path) && extracted.extract(path)) {
            xmlPath = extracted.path();
            result.fromPdf = true;
            result.kind = InvoiceKind::CII; // the content decides below whether it is CII or UBL
        }
        ImportContext context;
        m_state.NumberFormat = context.numberFormat;
        // The names of codes are read once per language, not on every import.
        if (m_codeNamesLanguage != m_state.LanguageCode || !m_state.TextsDbOpen) {
            const TextsGateway texts(m_state);
            m_vatCategoryNames = codeNameHash(texts.vatCategories());
            m_paymentMeansNames = codeNameHash(texts.paymentMeans());
            m_codeNamesLanguage = m_state.TextsDbOpen ? m_state.LanguageCode : QString();
        }
        context.vatCategoryNames = m_vatCategoryNames;
        context.paymentMeansNames = m_paymentMeansNames;
        auto owned = std::make_unique<XmlDocument>();
        XmlDocument &doc = *owned;
        if (const XmlResult loaded = doc.load(xmlPath); !loaded) {
            say(loaded.tooLarge ? 53 : 5, MsgIcon::Critical, appTitle);
            result.outcome = ImportOutcome::NotLoaded;
            return result;
        }
        NamespaceTests tests(doc);
        // A UBL invoice embedded in a PDF takes its own reader.
        if (result.fromPdf && !tests.cii() && tests.contentKind() != InvoiceKind::Auto)
            result.kind = tests.contentKind();
        if (result.kind == InvoiceKind::Auto)
            result.kind = tests.contentKind();
        if (!tests.accepts(result.kind)) {
            const InvoiceKind shown = tests.contentKind();
            if (shown == InvoiceKind::Auto) {
                say(51, MsgIcon::Exclamation, appTitle);
                result.outcome = ImportOutcome::Refused;
                return result;
            }
            const QString text = GetMeldung(m_state, 50).arg(KindName(result.kind), KindName(shown));
            if (say(50, MsgIcon::Question, appTitle, text) != MsgAnswer::Yes) {
                result.outcome = ImportOutcome::Refused;
                return result;
            }
            result.kind = shown;
        }
        if (result.kind == InvoiceKind::CII)
            runCii(doc, context, tests.cii() ? CrossIndustryInvoice : Zugferd1);
        else
            runUbl(doc, result.kind == InvoiceKind::Peppol, context);
        result.outcome = ImportOutcome::Read;
        m_sumFindings = CheckSums(doc);
        if (m_keepDocument)
            m_lastDocument = std::move(owned);
    } catch (const std::exception &) {
        say(5, MsgIcon::Information, brellwerk);
        result.outcome = ImportOutcome::Failed;
    }
    return result;
}

void ImportDriver::runCii(const XmlDocument &doc, ImportContext &context, const CiiVocabulary &vocabulary)
{
    clsCIIImport reader(context, vocabulary);
    // Every node the reader gets is bound to its prefixes.
    const XmlNamespaces bindings =
        XmlNamespaces::parse(reader.SelectionNamespaces()).value_or(XmlNamespaces());
    auto &m = m_model;
    const XmlNode root = doc.documentNode(bindings).selectSingleNode(vocabulary.root);
    const XmlNode agreement = root.selectSingleNode(vocabulary.agreement);
    const XmlNode settlement = root.selectSingleNode(vocabulary.settlement);
    // The payment means do not depend on the steps below, which may end the reading early.
    reader.SpecifiedTradeSettlementPaymentMeans(settlement, agreement, m.lvZahlung);

    if (!reader.ExchangedDocument(root.selectSingleNode(vocabulary.header),
                                  m.fields({Rd::SpecificationId, Rd::InvoiceNumber, Rd::Subject,
                                            Rd::IssueDate, Rd::DocumentType, Rd::Note, So::BusinessProcess})))
        return;
    if (!reader.SellerTradeParty(agreement, m.partyFields(GroupId::Seller)))
        return;
    if (!reader.BuyerTradePartyNode(agreement, m.partyFields(GroupId::Buyer)))
        return;
    if (!reader.SpecifiedTradePaymentTerms(settlement, m.fields({Rd::DueDate, Rd::PaymentTerms})))
        return;
    if (!reader.IncludedSupplyChainTradeLineItem(settlement, m.lvTable))
        return;
    if (!reader.ApplicableTradeTax(settlement, m.lvUst))
        return;
    if (!reader.SpecifiedTradeAllowanceCharge(root.selectSingleNode("//ram:SpecifiedTradeAllowanceCharge"),
                                              m.lvAbzuege))
        return;
    if (!reader.SpecifiedTradeSettlementHeaderMonetarySummation(
            root.selectSingleNode(vocabulary.headerTotals), totalFields(m)))
        return;
    attachmentStep(
        [&](AttachmentStore &store) { return reader.AdditionalReferencedDocument(agreement, store); }, true);
}

void ImportDriver::runUbl(const XmlDocument &doc, bool peppol, ImportContext &context)
{
    const bool creditNote = isCreditNote(doc);
    std::unique_ptr<clsUBLImport> reader = peppol ? std::make_unique<clsPeppol>(context, creditNote)
                                                  : std::make_unique<clsUBLImport>(context, creditNote);
    // Every node the reader gets is bound to its prefixes.
    const XmlNamespaces bindings =
        XmlNamespaces::parse(reader->SelectionNamespaces()).value_or(XmlNamespaces());
    const XmlNode top = doc.documentNode(bindings);
    auto &m = m_model;

    if (!reader->AccountingCustomerParty(top.selectSingleNode("//cac:AccountingCustomerParty"),
                                         m.partyFields(GroupId::Buyer)))
        return;
    FieldList seller = m.partyFields(GroupId::Seller);
    if (peppol)
        seller.push_back(&m[So::EndpointId]); // the seller's electronic address
    if (!reader->AccountingSupplierParty(top.selectSingleNode("//cac:AccountingSupplierParty"), seller))
        return;

    // From here on amounts show without thousands separators and end in a blank.
    context.numberFormat = QStringLiteral("0.00 ");
    m_state.NumberFormat = context.numberFormat;
    // Header block: every row is its own step; a missing element leaves its field as reset.
    const auto header = [&](const char *xpath, bool date) -> std::optional<QString> {
        const auto text = top.textOf(xpath);
        if (!text)
            return std::nullopt;
        return NzFormat(date ? FormatXmlDate(*text) : *text, QString());
    };
    const auto headerText = [&](const char *xpath, FieldId field, bool date = false) {
        if (const auto value = header(xpath, date))
            m[field].setText(*value);
    };
    headerText("//cbc:CustomizationID", Rd::SpecificationId); // BT-24
    headerText("//cbc:ID", Rd::InvoiceNumber);                // BT-1
    headerText("//cbc:IssueDate", Rd::IssueDate, true);       // BT-2
    headerText("//cbc:DueDate", Rd::DueDate, true);           // BT-9
    // BT-3; a credit note without its own type code is still a credit note.
    if (creditNote)
        m[Rd::DocumentType].setValue(QStringLiteral("381"));
    if (const auto type = header(creditNote ? "//cbc:CreditNoteTypeCode" : "//cbc:InvoiceTypeCode", false))
        m[Rd::DocumentType].setValue(*type);
    headerText("//cbc:Note", Rd::Note);                          // BT-22
    headerText("//cac:PaymentTerms/cbc:Note", Rd::PaymentTerms); // BT-20
    if (peppol) {
        if (const auto profile = header("//cbc:ProfileID", false)) // BT-23
            m[So::ProfileId].setValue(*profile);
        headerText("//cbc:AccountingCost", So::AccountingCost); // BT-19
    }

    // The payment means do not depend on the steps below, which may end the reading early.
    reader->PaymentMeans(top, m.lvZahlung);

    const XmlNode firstLine = top.selectSingleNode(reader->lineQuery());
    if (!reader->InvoiceLine(firstLine, m.lvTable))
        return;
    if (!reader->TaxSubtotal(firstLine, m.lvUst))
        return;
    if (!reader->LegalMonetaryTotal(top.selectSingleNode("//cac:LegalMonetaryTotal"), totalFields(m)))
        return;
    if (!reader->AllowanceCharge(top.selectSingleNode("//cac:AllowanceCharge"), m.lvAbzuege))
        return;
    const XmlNode references = top.selectSingleNode("//cac:AdditionalDocumentReference");
    attachmentStep(
        [&](AttachmentStore &store) { return reader->AdditionalDocumentReference(references, store); },
        false);
}

void ImportDriver::attachmentStep(const std::function<bool(AttachmentStore &)> &write,
                                  bool messageWhenNotReady)
{
    if (m_exportFolder.isEmpty())
        return;
    if (!exportFolderReady || !exportFolderReady()) {
        if (messageWhenNotReady)
            say(9, MsgIcon::Information, appTitle);
        return;
    }
    AttachmentStore store(m_exportFolder);
    const bool any = write(store);
    store.finish();
    m_attachments = store.written();
    if (!store.failed().isEmpty()) {
        // One message names them all; a hostile file may hold thousands.
        QStringList names = store.failed().mid(0, 10);
        if (store.failed().size() > names.size())
            names << QStringLiteral("… (%1)").arg(store.failed().size());
        say(54, MsgIcon::Exclamation, appTitle,
            GetMeldung(m_state, 54).arg(names.join(QStringLiteral(", "))));
    }
    // The folder is offered only when something was written into it.
    if (any && !m_attachments.isEmpty() && say(41, MsgIcon::Question, appTitle) == MsgAnswer::Yes &&
        openExportFolder)
        openExportFolder();
}

} // namespace invorator
