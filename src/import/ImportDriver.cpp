#include "import/ImportDriver.h"

#include "attachments/Attachments.h"
#include "model/Conversions.h"
#include "import/PdfExtraction.h"
#include "localisation/Messages.h"
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
const std::string ublTest = ns::elementTest(ns::ubl("CommonAggregateComponents-2"));
const std::string peppolTest = ns::elementTest(ns::ubl("Invoice-2"));
const std::string creditNoteTest = ns::elementTest(ns::ubl("CreditNote-2"));

// The amount fields every totals operation fills, in its order: tax, final amount, the
// eight totals, and the currency twice.
FieldList totalFields(DisplayModel &m)
{
    auto &rd = m.txtRechnungdaten;
    FieldList totals = DisplayModel::fields({{&rd, 8}, {&rd, 9}});
    for (Field *f : DisplayModel::range(m.txtSonstige, 0, 7))
        totals.push_back(f);
    totals.push_back(&rd[10]);
    totals.push_back(&rd[11]);
    return totals;
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
    bool ubl() { return ask(m_ubl, {ublTest}); }
    // A Peppol credit note has its root in the CreditNote namespace.
    bool peppol() { return ask(m_peppol, {peppolTest, creditNoteTest}); }

    bool accepts(int kind) { return (kind == 1 && cii()) || (kind == 2 && ubl()) || (kind == 3 && peppol()); }

    // The kind the content shows: CII; else Peppol when the customization names a Peppol
    // rule set; else UBL; 0 when no test holds.
    int contentKind()
    {
        if (cii())
            return 1;
        if (!ubl() && !peppol())
            return 0;
        static const std::string customizationQuery =
            "*[local-name()='CustomizationID' and namespace-uri()='" +
            ns::ubl("CommonBasicComponents-2").toStdString() + "']";
        const XmlNode customization = m_doc.documentElement().selectSingleNode(customizationQuery);
        if (peppol() && customization.text().contains(QLatin1String("peppol"), Qt::CaseInsensitive))
            return 3;
        return ubl() ? 2 : 3;
    }

private:
    bool ask(std::optional<bool> &answer, std::initializer_list<std::string_view> tests)
    {
        if (!answer) {
            answer = false;
            for (std::string_view test : tests)
                *answer = *answer || !m_doc.selectSingleNode(test).isNull();
        }
        return *answer;
    }

    const XmlDocument &m_doc;
    std::optional<bool> m_cii;
    std::optional<bool> m_ubl;
    std::optional<bool> m_peppol;
};

} // namespace

QString KindName(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("CII");
    case 2:
        return QStringLiteral("UBL");
    case 3:
        return QStringLiteral("Peppol");
    case 4:
        return QStringLiteral("ZUGFeRD");
    default:
        return QString::number(kind);
    }
}

ImportDriver::ImportDriver(SharedState &state, DisplayModel &model, MessageSink &messages)
    : m_state(state), m_model(model), m_messages(messages)
{
    exportFolderReady = [this] {
        return QFileInfo(m_exportFolder).isDir();
    };
}

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

ImportOutcome ImportDriver::ImportInvoice(QString &path, int &kind)
{
    ClearInvoice();
    m_attachments.clear();
    try {
        XmlDocument doc;
        if (IsPdfFile(path)) {
            const QString extracted = ExtractedXmlPath();
            if (ExtractXmlFromPdf(path, extracted)) {
                path = extracted;
                kind = 1; // the content decides below whether it is CII or UBL
            }
        }
        m_state.NumberFormat = QStringLiteral("#,##0.00");
        if (!doc.load(path)) {
            say(5, MsgIcon::Critical, appTitle);
            return ImportOutcome::NotLoaded;
        }
        NamespaceTests tests(doc);
        // A UBL invoice embedded in a PDF takes its own reader.
        if (kind == 1 && path == ExtractedXmlPath() && !tests.cii() && tests.contentKind() != 0)
            kind = tests.contentKind();
        if (kind == 0)
            kind = tests.contentKind();
        if (!tests.accepts(kind)) {
            const int shown = tests.contentKind();
            if (shown == 0) {
                say(51, MsgIcon::Exclamation, appTitle);
                return ImportOutcome::Refused;
            }
            const QString text = GetMeldung(m_state, 50).arg(KindName(kind), KindName(shown));
            if (say(50, MsgIcon::Question, appTitle, text) != MsgAnswer::Yes)
                return ImportOutcome::Refused;
            kind = shown;
        }
        switch (kind) {
        case 1:
            runCii(doc);
            break;
        case 2:
            runUbl(doc, false);
            break;
        case 3:
            runUbl(doc, true);
            break;
        default:
            break;
        }
        return ImportOutcome::Read;
    } catch (const std::exception &) {
        say(5, MsgIcon::Information, brellwerk);
        return ImportOutcome::Failed;
    }
}

void ImportDriver::runCii(XmlDocument &doc)
{
    clsCIIImport reader(m_state.NumberFormat);
    doc.setProperty("SelectionNamespaces", reader.SelectionNamespaces());
    auto &m = m_model;
    const XmlNode root = doc.selectSingleNode("//rsm:CrossIndustryInvoice");
    const XmlNode agreement = root.selectSingleNode("//ram:ApplicableHeaderTradeAgreement");
    const XmlNode settlement = root.selectSingleNode("//ram:ApplicableHeaderTradeSettlement");
    auto &rd = m.txtRechnungdaten;
    auto &so = m.txtSonstige;

    if (!reader.ExchangedDocument(
            root.selectSingleNode("//rsm:ExchangedDocument"),
            DisplayModel::fields({{&rd, 0}, {&rd, 1}, {&rd, 2}, {&rd, 3}, {&rd, 5}, {&rd, 6}, {&so, 11}})))
        return;
    if (!reader.SellerTradeParty(agreement, DisplayModel::range(m.txtSeller, 0, 9)))
        return;
    if (!reader.BuyerTradePartyNode(agreement, DisplayModel::range(m.txtBuyer, 0, 9)))
        return;
    if (!reader.SpecifiedTradePaymentTerms(settlement, DisplayModel::fields({{&rd, 4}, {&rd, 7}})))
        return;
    if (!reader.IncludedSupplyChainTradeLineItem(settlement, m.lvTable))
        return;
    if (!reader.ApplicableTradeTax(settlement, m.lvUst, DisplayModel::fields({{&rd, 8}, {&rd, 9}})))
        return;
    if (!reader.SpecifiedTradeAllowanceCharge(root.selectSingleNode("//ram:SpecifiedTradeAllowanceCharge"),
                                              m.lvAbzuege))
        return;
    const FieldList totals = totalFields(m_model);
    if (!reader.SpecifiedTradeSettlementHeaderMonetarySummation(
            root.selectSingleNode("//ram:SpecifiedTradeSettlementHeaderMonetarySummation"), totals))
        return;
    attachmentStep(
        [&](AttachmentStore &store) { return reader.AdditionalReferencedDocument(agreement, store); }, true);
}

void ImportDriver::runUbl(XmlDocument &doc, bool peppol)
{
    const bool creditNote = isCreditNote(doc);
    std::unique_ptr<clsUBLImport> reader =
        peppol ? std::make_unique<clsPeppol>(m_state.NumberFormat, creditNote)
               : std::make_unique<clsUBLImport>(m_state.NumberFormat, creditNote);
    doc.setProperty("SelectionNamespaces", reader->SelectionNamespaces());
    auto &m = m_model;
    auto &rd = m.txtRechnungdaten;
    auto &so = m.txtSonstige;

    if (!reader->AccountingCustomerParty(doc.selectSingleNode("//cac:AccountingCustomerParty"),
                                         DisplayModel::range(m.txtBuyer, 0, 9)))
        return;
    FieldList seller = DisplayModel::range(m.txtSeller, 0, 9);
    if (peppol)
        seller.push_back(&so[8]); // the seller's electronic address ("Endpoint ID")
    if (!reader->AccountingSupplierParty(doc.selectSingleNode("//cac:AccountingSupplierParty"), seller))
        return;

    // Header block: every row is its own step; a missing element leaves its field as reset.
    m_state.NumberFormat = QStringLiteral("0.00 ");
    const auto header = [&](const char *xpath, bool date) -> std::optional<QString> {
        const auto text = doc.documentNode().textOf(xpath);
        if (!text)
            return std::nullopt;
        return NzFormat(date ? FormatXmlDate(*text) : *text, QString());
    };
    const auto headerText = [&](const char *xpath, Field &field, bool date = false) {
        if (const auto value = header(xpath, date))
            field.setText(*value);
    };
    headerText("//cbc:CustomizationID", rd[0]); // BT-24
    headerText("//cbc:ID", rd[1]);              // BT-1
    headerText("//cbc:IssueDate", rd[3], true); // BT-2
    headerText("//cbc:DueDate", rd[4], true);   // BT-9
    // BT-3; a credit note without its own type code is still a credit note.
    if (creditNote)
        rd[5].setValue(QStringLiteral("381"));
    if (const auto type = header(creditNote ? "//cbc:CreditNoteTypeCode" : "//cbc:InvoiceTypeCode", false))
        rd[5].setValue(*type);
    headerText("//cbc:Note", rd[6]);                  // BT-22
    headerText("//cac:PaymentTerms/cbc:Note", rd[7]); // BT-20
    if (peppol) {
        if (const auto profile = header("//cbc:ProfileID", false)) // BT-23
            so[9].setValue(*profile);
        headerText("//cbc:AccountingCost", so[10]); // BT-19
    }

    const XmlNode firstLine = doc.selectSingleNode(reader->lineQuery());
    if (!reader->InvoiceLine(firstLine, m.lvTable))
        return;
    if (!reader->TaxSubtotal(firstLine, m.lvUst))
        return;
    const FieldList totals = totalFields(m_model);
    if (!reader->LegalMonetaryTotal(doc.selectSingleNode("//cac:LegalMonetaryTotal"), totals))
        return;
    if (!reader->AllowanceCharge(doc.selectSingleNode("//cac:AllowanceCharge"), m.lvAbzuege))
        return;
    const XmlNode references = doc.selectSingleNode("//cac:AdditionalDocumentReference");
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
    m_attachments = store.written();
    // The folder is offered only when something was written into it.
    if (any && !m_attachments.isEmpty() && say(41, MsgIcon::Question, appTitle) == MsgAnswer::Yes &&
        openExportFolder)
        openExportFolder();
}

} // namespace invorator
