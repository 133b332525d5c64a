#include "readers/ubl/clsUBLImport.h"

#include "attachments/Attachments.h"
#include "model/Conversions.h"
#include "readers/ReaderSteps.h"
#include "services/InvoiceNamespaces.h"

#include <QRegularExpression>

namespace invorator {

using namespace steps;

namespace {
constexpr const char *vatIdPath = "cac:PartyTaxScheme[cac:TaxScheme/cbc:ID='VAT']/cbc:CompanyID";
}

clsUBLImport::clsUBLImport(const ImportContext &context, bool creditNote, bool peppol)
    : m_context(context), m_creditNote(creditNote), m_peppol(peppol)
{
}

QString clsUBLImport::SelectionNamespaces() const
{
    return QStringLiteral("xmlns:cbc='%1' xmlns:cac='%2' xmlns:qdt='%3' xmlns:udt='%4' "
                          "xmlns:ccts='urn:un:unece:uncefact:documentation:2' "
                          "xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'")
        .arg(ns::ubl("CommonBasicComponents-2"), ns::ubl("CommonAggregateComponents-2"),
             ns::ubl("QualifiedDataTypes-2"), ns::ubl("UnqualifiedDataTypes-2"));
}

const char *clsUBLImport::lineQuery() const
{
    return m_creditNote ? "//cac:CreditNoteLine" : "//cac:InvoiceLine";
}
const char *clsUBLImport::quantityPath() const
{
    return m_creditNote ? "cbc:CreditedQuantity" : "cbc:InvoicedQuantity";
}
const char *clsUBLImport::partyTaxPath() const
{
    return "cac:PartyTaxScheme/cbc:CompanyID";
}

bool clsUBLImport::AccountingCustomerParty(const XmlNode &node, DisplayModel &m)
{
    return Party(node, m, Buyer);
}
bool clsUBLImport::AccountingSupplierParty(const XmlNode &node, DisplayModel &m)
{
    return Party(node, m, Seller);
}

bool clsUBLImport::Party(const XmlNode &node, DisplayModel &m, const PartyFields &p)
{
    const XmlNode party = node.selectSingleNode("cac:Party");
    const std::pair<FieldId, const char *> paths[] = {
        {p.Name, "cac:PartyLegalEntity/cbc:RegistrationName"},
        {p.TaxNumber, partyTaxPath()},
        {p.Email, "cac:PostalAddress/cbc:InhouseMail"},
        {p.Street, "cac:PostalAddress/cbc:StreetName"},
        {p.Country, "cac:PostalAddress/cac:Country/cbc:IdentificationCode"},
        {p.PostCode, "cac:PostalAddress/cbc:PostalZone"},
        {p.City, "cac:PostalAddress/cbc:CityName"},
        {p.Contact, "cac:Contact/cbc:Name"},
        {p.ContactEmail, "cac:Contact/cbc:ElectronicMail"},
        {p.ContactPhone, "cac:Contact/cbc:Telephone"},
    };
    for (const auto &[field, path] : paths)
        put(m[field], party.textOf(path));
    taxIdentifiers(party, m, p);
    return true;
}

void clsUBLImport::taxIdentifiers(const XmlNode &party, DisplayModel &m, const PartyFields &p)
{
    // The VAT identifier (BT-31) always has its own field. The tax-number field keeps the first
    // registration, as stored archives show it, unless another registration (BT-32) is given beside it.
    const auto vatId = party.textOf(vatIdPath);
    const auto taxNumber = party.textOf("cac:PartyTaxScheme[not(cac:TaxScheme/cbc:ID='VAT')]/cbc:CompanyID");
    put(m[p.VatId], vatId);
    if (vatId && taxNumber)
        put(m[p.TaxNumber], taxNumber);
}

void clsUBLImport::Header(const XmlNode &document, DisplayModel &m)
{
    // Every row is its own step; a missing element leaves its field as it was.
    const auto header = [&](const char *xpath, bool date) -> std::optional<QString> {
        const auto text = document.textOf(xpath);
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
    if (m_creditNote)
        m[Rd::DocumentType].setValue(QStringLiteral("381"));
    if (const auto type = header(m_creditNote ? "//cbc:CreditNoteTypeCode" : "//cbc:InvoiceTypeCode", false))
        m[Rd::DocumentType].setValue(*type);
    // BT-22, and BT-21 where the note starts with its subject code between hashes
    // ("#ADU#text"): the code with its name under "Betreff", the text alone as the note.
    if (auto note = header("//cbc:Note", false)) {
        static const QRegularExpression coded(QStringLiteral("^#([A-Z]{3})#"));
        if (const QRegularExpressionMatch match = coded.match(*note); match.hasMatch()) {
            const QString code = match.captured(1);
            const QString name = m_context.subjectCodeNames.value(code);
            m[Rd::Subject].setText(name.isEmpty() ? code : code + QStringLiteral(" – ") + name);
            note->remove(0, match.capturedLength());
        }
        m[Rd::Note].setText(*note);
    }
    headerText("//cac:PaymentTerms/cbc:Note", Rd::PaymentTerms); // BT-20
    // Cash discounts in the "#SKONTO#" notation of the terms' notes, counted from the issue
    // date (BT-2) and by default of the amount due (BT-115).
    const QString issued = document.textOf("//cbc:IssueDate").value_or(QString());
    const QString due = document.textOf("//cac:LegalMonetaryTotal/cbc:PayableAmount").value_or(QString());
    m.discounts.clear();
    for (const XmlNode note : document.selectNodes("//cac:PaymentTerms/cbc:Note"))
        for (CashDiscount &d : DiscountsFromTerms(note.text(), due, issued))
            m.discounts.push_back(std::move(d));
    if (!m_peppol)
        return;
    if (const auto profile = header("//cbc:ProfileID", false)) // BT-23
        m[So::ProfileId].setValue(*profile);
    headerText("//cbc:AccountingCost", So::AccountingCost); // BT-19
}

bool clsUBLImport::InvoiceLine(const XmlNode &node, ListView &lv)
{
    using namespace LineColumn;
    lv.clear();
    if (!node)
        return false;
    for (const XmlNode line : node.selectNodes(lineQuery())) {
        if (!line.hasChildNodes())
            continue;
        const auto id = line.textOf("cbc:ID"); // BT-126
        if (!id)
            return false;
        const int row = lv.addRow(*id);
        putCell(lv, row, Article, line.textOf("cac:Item/cbc:Name"));            // BT-153
        putCell(lv, row, Description, line.textOf("cac:Item/cbc:Description")); // BT-154
        quantityPriceAndRate(line, lv, row);
        putCell(lv, row, LineColumn::Total,
                amount(line.textOf("cbc:LineExtensionAmount"), m_context.numberFormat)); // BT-131
        lv.setRowColor(row, quantityColor(lv.cell(row, Quantity), false));
    }
    return true;
}

void clsUBLImport::quantityPriceAndRate(const XmlNode &line, ListView &lv, int row)
{
    using namespace LineColumn;
    const QString twoDecimals = QStringLiteral("0.00");
    // BT-146: a positive price shows rounded to two decimals, anything else as written or "--".
    const auto price = amount(line.textOf("cac:Price/cbc:PriceAmount"), twoDecimals);
    // The sign from the digits: a double turns a tiny price into 0 and an overlong one into infinity.
    const auto shown = price ? ParseGermanNumber(*price) : std::nullopt;
    const bool positive = shown && !shown->isNegative() && !shown->isZero();
    putCell(lv, row, Quantity, amount(line.textOf(quantityPath()), twoDecimals)); // BT-129
    if (positive)
        lv.setCell(row, Price, *price);
    else if (price)
        lv.setCell(row, Price, NzFormat(*price, QStringLiteral("--")));
    if (auto percent = line.textOf("cac:Item/cac:ClassifiedTaxCategory/cbc:Percent")) // BT-152
        lv.setCell(row, VatRate, FormatXmlAmount(NzFormat(*percent, QStringLiteral("0")), twoDecimals));
    if (lv.cell(row, VatRate).isEmpty())
        putCell(lv, row, VatRate,
                amount(line.textOf("cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:Percent"), twoDecimals));
}

bool clsUBLImport::TaxSubtotal(const XmlNode &node, ListView &lv)
{
    lv.clear();
    if (!node)
        return true;
    for (const XmlNode tax : node.selectNodes("//cac:TaxSubtotal")) {
        if (!tax.hasChildNodes())
            continue;
        const int row = lv.addRow(QString());
        if (auto percent = tax.textOf("cac:TaxCategory/cbc:Percent")) // BT-119
            lv.setCell(row, VatColumn::Rate, NzFormat(*percent, QStringLiteral("-")));
        putCell(lv, row, VatColumn::Amount,
                amount(tax.textOf("cbc:TaxAmount"), m_context.numberFormat)); // BT-117
        putCell(lv, row, VatColumn::Basis,
                amount(tax.textOf("cbc:TaxableAmount"), m_context.numberFormat)); // BT-116
        putVatCategory(lv, row, tax.textOf("cac:TaxCategory/cbc:ID"),
                       tax.textOf("cac:TaxCategory/cbc:TaxExemptionReason"),
                       tax.textOf("cac:TaxCategory/cbc:TaxExemptionReasonCode"), m_context.vatCategoryNames);
    }
    return true;
}

bool clsUBLImport::LegalMonetaryTotal(const XmlNode &node, DisplayModel &m)
{
    const Totals totals{{node, "cbc:LineExtensionAmount"},   // BT-106
                        {node, "cbc:TaxExclusiveAmount"},    // BT-109
                        {node, "cbc:TaxInclusiveAmount"},    // BT-112
                        {node, "cbc:AllowanceTotalAmount"},  // BT-107
                        {node, "cbc:ChargeTotalAmount"},     // BT-108
                        {node, "cbc:PrepaidAmount"},         // BT-113
                        {node, "cbc:PayableRoundingAmount"}, // BT-114
                        {node, "cbc:PayableAmount"}};        // BT-115
    totals.put(m, m_context.numberFormat);
    const XmlNode currency = node.selectSingleNode("cbc:LineExtensionAmount").getNamedItem("currencyID");
    if (currency)
        Totals::putCurrency(m, currency.text());
    return true;
}

bool clsUBLImport::AllowanceCharge(const XmlNode &node, ListView &lv)
{
    lv.clear();
    if (!node)
        return true;
    // Document, line and price level alike.
    for (const XmlNode charge : node.selectNodes("//cac:AllowanceCharge")) {
        if (!charge.hasChildNodes())
            continue;
        const auto reason = charge.textOf("cbc:AllowanceChargeReason");
        if (!reason)
            return true;
        const int row = lv.addRow(*reason);
        putCell(lv, row, AllowanceColumn::ReasonCode, charge.textOf("cbc:AllowanceChargeReasonCode"));
        putCell(lv, row, AllowanceColumn::Percent, charge.textOf("cbc:MultiplierFactorNumeric"));
        putCell(lv, row, AllowanceColumn::Amount, charge.textOf("cbc:Amount"));
        putCell(lv, row, AllowanceColumn::Basis, charge.textOf("cbc:BaseAmount"));
    }
    return true;
}

bool clsUBLImport::AdditionalDocumentReference(const XmlNode &node, AttachmentStore &store)
{
    if (!node)
        return true;
    const QString documentId = node.textOf("//cbc:ID").value_or(QString());
    for (const XmlNode entry : node.selectNodes("//cac:AdditionalDocumentReference")) {
        const XmlNode object =
            entry.selectSingleNode("cac:Attachment/cbc:EmbeddedDocumentBinaryObject"); // BT-125
        const QString data = object.text();
        const QString mime = object.getNamedItem("mimeCode").text();
        const QString name = object.getNamedItem("filename").text();
        const QString id = entry.textOf("cbc:ID").value_or(QString()); // BT-122
        // Each reference gets its own shortcut, named by its own identifier; a document that
        // carries the file as well gives both.
        const QString uri =
            entry.textOf("cac:Attachment/cac:ExternalReference/cbc:URI").value_or(QString()); // BT-124
        if (!uri.isEmpty())
            store.writeShortcut(id, uri);
        if (!data.isEmpty())
            store.writeBase64(
                data, name.isEmpty() ? QStringLiteral("Externfile_") + documentId + MimeExtension(mime) : id);
    }
    return true;
}

bool clsUBLImport::PaymentMeans(const XmlNode &document, ListView &lv)
{
    lv.clear();
    const auto text = [](const XmlNode &node, const char *xpath) {
        return node.textOf(xpath).value_or(QString());
    };
    const XmlNode root = document.selectSingleNode("/*");
    invorator::PaymentMeans invoice;
    invoice.dueDate = text(root, "cbc:DueDate");                             // BT-9
    invoice.amount = text(root, "cac:LegalMonetaryTotal/cbc:PayableAmount"); // BT-115
    invoice.currency = text(root, "cbc:DocumentCurrencyCode");               // BT-5
    invoice.documentType =
        text(root, m_creditNote ? "cbc:CreditNoteTypeCode" : "cbc:InvoiceTypeCode"); // BT-3
    if (m_creditNote && invoice.documentType.isEmpty())
        invoice.documentType = QStringLiteral("381");
    invoice.payeeName = text(root, "cac:PayeeParty/cac:PartyName/cbc:Name"); // BT-59
    const XmlNode seller = root.selectSingleNode("cac:AccountingSupplierParty/cac:Party");
    if (invoice.payeeName.trimmed().isEmpty())
        invoice.payeeName = text(seller, "cac:PartyLegalEntity/cbc:RegistrationName"); // BT-27
    // BT-90: the payee's SEPA creditor identifier, else the seller's.
    invoice.creditorId = text(root, "cac:PayeeParty/cac:PartyIdentification/cbc:ID[@schemeID='SEPA']");
    if (invoice.creditorId.isEmpty())
        invoice.creditorId = text(seller, "cac:PartyIdentification/cbc:ID[@schemeID='SEPA']");
    for (const XmlNode node : root.selectNodes("cac:PaymentMeans")) {
        invorator::PaymentMeans means = invoice;
        means.code = text(node, "cbc:PaymentMeansCode");              // BT-81
        means.information = text(node, "cbc:PaymentMeansCode/@name"); // BT-82
        if (auto due = node.textOf("cbc:PaymentDueDate"))
            means.dueDate = *due;
        means.reference = text(node, "cbc:PaymentID");                  // BT-83
        means.account = text(node, "cac:PayeeFinancialAccount/cbc:ID"); // BT-84
        if (means.account.isEmpty() && IsDirectDebit(means.code))
            means.account = text(node, "cac:PaymentMandate/cac:PayerFinancialAccount/cbc:ID");     // BT-91
        means.accountName = text(node, "cac:PayeeFinancialAccount/cbc:Name");                      // BT-85
        means.bic = text(node, "cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cbc:ID"); // BT-86
        means.mandate = text(node, "cac:PaymentMandate/cbc:ID");                                   // BT-89
        means.card = text(node, "cac:CardAccount/cbc:PrimaryAccountNumberID");                     // BT-87
        putPaymentMeans(lv, means, m_context.paymentMeansNames, m_context.numberFormat);
    }
    return true;
}

QString clsPeppol::SelectionNamespaces() const
{
    return QStringLiteral("xmlns='%1' xmlns:cac='%2' xmlns:cbc='%3'")
        .arg(ns::ubl("Invoice-2"), ns::ubl("CommonAggregateComponents-2"),
             ns::ubl("CommonBasicComponents-2"));
}

const char *clsPeppol::partyTaxPath() const
{
    return "cac:PartyLegalEntity/cbc:CompanyID";
}

bool clsPeppol::AccountingSupplierParty(const XmlNode &node, DisplayModel &m)
{
    Party(node, m, Seller);
    put(m[So::EndpointId],
        node.selectSingleNode("cac:Party").textOf("cbc:EndpointID")); // BT-34 seller electronic address
    return true;
}

void clsPeppol::taxIdentifiers(const XmlNode &party, DisplayModel &m, const PartyFields &p)
{
    // The tax number field shows the legal registration here; the VAT identifier has its own
    // field, even where the two are the same number.
    put(m[p.VatId], party.textOf(vatIdPath));
}

void clsPeppol::quantityPriceAndRate(const XmlNode &line, ListView &lv, int row)
{
    using namespace LineColumn;
    if (auto quantity = line.textOf(quantityPath())) { // BT-129, digits as written
        QString q = *quantity;
        lv.setCell(row, Quantity, q.replace(QLatin1Char('.'), QLatin1Char(',')));
    }
    putCell(lv, row, Price, amount(line.textOf("cac:Price/cbc:PriceAmount"), m_context.numberFormat));
    if (auto percent = line.textOf("cac:Item/cac:ClassifiedTaxCategory/cbc:Percent"))
        lv.setCell(row, VatRate,
                   FormatXmlAmount(NzFormat(*percent, QStringLiteral("0")), QStringLiteral("0")));
}

} // namespace invorator
