#include "readers/ubl/clsUBLImport.h"

#include "attachments/Attachments.h"
#include "model/Conversions.h"
#include "readers/ReaderSteps.h"
#include "services/InvoiceNamespaces.h"

namespace invorator {

using namespace steps;

namespace {
constexpr const char *vatIdPath = "cac:PartyTaxScheme[cac:TaxScheme/cbc:ID='VAT']/cbc:CompanyID";
}

clsUBLImport::clsUBLImport(const ImportContext &context, bool creditNote)
    : m_context(context), m_creditNote(creditNote)
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

bool clsUBLImport::AccountingCustomerParty(const XmlNode &node, const FieldList &fields)
{
    return Party(node, fields);
}
bool clsUBLImport::AccountingSupplierParty(const XmlNode &node, const FieldList &fields)
{
    return Party(node, fields);
}

bool clsUBLImport::Party(const XmlNode &node, const FieldList &fields)
{
    const XmlNode party = node.selectSingleNode("cac:Party");
    const char *paths[] = {
        "cac:PartyLegalEntity/cbc:RegistrationName",
        partyTaxPath(),
        "cac:PostalAddress/cbc:InhouseMail",
        "cac:PostalAddress/cbc:StreetName",
        "cac:PostalAddress/cac:Country/cbc:IdentificationCode",
        "cac:PostalAddress/cbc:PostalZone",
        "cac:PostalAddress/cbc:CityName",
        "cac:Contact/cbc:Name",
        "cac:Contact/cbc:ElectronicMail",
        "cac:Contact/cbc:Telephone",
    };
    for (std::size_t k = 0; k < std::size(paths); ++k)
        put(fields, k, party.textOf(paths[k]));
    taxIdentifiers(party, fields);
    return true;
}

void clsUBLImport::taxIdentifiers(const XmlNode &party, const FieldList &fields)
{
    // A party with a VAT identifier (BT-31) and another tax registration (BT-32) shows each
    // in its own field.
    const auto vatId = party.textOf(vatIdPath);
    const auto taxNumber = party.textOf("cac:PartyTaxScheme[not(cac:TaxScheme/cbc:ID='VAT')]/cbc:CompanyID");
    if (vatId && taxNumber) {
        put(fields, 1, taxNumber);
        put(fields, 10, vatId);
    }
}

bool clsUBLImport::InvoiceLine(const XmlNode &node, ListView &lv)
{
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
        putCell(lv, row, 1, line.textOf("cac:Item/cbc:Name"));        // BT-153
        putCell(lv, row, 2, line.textOf("cac:Item/cbc:Description")); // BT-154
        quantityPriceAndRate(line, lv, row);
        putCell(lv, row, 6, amount(line.textOf("cbc:LineExtensionAmount"), m_context.numberFormat)); // BT-131
        lv.setRowColor(row, quantityColor(lv.cell(row, 3), false));
    }
    return true;
}

void clsUBLImport::quantityPriceAndRate(const XmlNode &line, ListView &lv, int row)
{
    const QString twoDecimals = QStringLiteral("0.00");
    // BT-146: a positive price shows rounded to two decimals, anything else as written or "--".
    const auto price = amount(line.textOf("cac:Price/cbc:PriceAmount"), twoDecimals);
    // The sign from the digits: a double turns a tiny price into 0 and an overlong one into infinity.
    const auto shown = price ? ParseGermanNumber(*price) : std::nullopt;
    const bool positive = shown && !shown->negative && !shown->isZero();
    putCell(lv, row, 3, amount(line.textOf(quantityPath()), twoDecimals)); // BT-129
    if (positive)
        lv.setCell(row, 4, *price);
    else if (price)
        lv.setCell(row, 4, NzFormat(*price, QStringLiteral("--")));
    if (auto percent = line.textOf("cac:Item/cac:ClassifiedTaxCategory/cbc:Percent")) // BT-152
        lv.setCell(row, 5, FormatXmlAmount(NzFormat(*percent, QStringLiteral("0")), twoDecimals));
    if (lv.cell(row, 5).isEmpty())
        putCell(lv, row, 5,
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
            lv.setCell(row, 1, NzFormat(*percent, QStringLiteral("-")));
        putCell(lv, row, 2, amount(tax.textOf("cbc:TaxAmount"), m_context.numberFormat));     // BT-117
        putCell(lv, row, 3, amount(tax.textOf("cbc:TaxableAmount"), m_context.numberFormat)); // BT-116
        putVatCategory(lv, row, tax.textOf("cac:TaxCategory/cbc:ID"),
                       tax.textOf("cac:TaxCategory/cbc:TaxExemptionReason"),
                       tax.textOf("cac:TaxCategory/cbc:TaxExemptionReasonCode"), m_context.vatCategoryNames);
    }
    return true;
}

bool clsUBLImport::LegalMonetaryTotal(const XmlNode &node, const FieldList &fields)
{
    const Totals totals{{node, "cbc:LineExtensionAmount"},   // BT-106
                        {node, "cbc:TaxExclusiveAmount"},    // BT-109
                        {node, "cbc:TaxInclusiveAmount"},    // BT-112
                        {node, "cbc:AllowanceTotalAmount"},  // BT-107
                        {node, "cbc:ChargeTotalAmount"},     // BT-108
                        {node, "cbc:PrepaidAmount"},         // BT-113
                        {node, "cbc:PayableRoundingAmount"}, // BT-114
                        {node, "cbc:PayableAmount"}};        // BT-115
    totals.put(fields, m_context.numberFormat);
    const XmlNode currency = node.selectSingleNode("cbc:LineExtensionAmount").getNamedItem("currencyID");
    if (currency) {
        put(fields, 10, currency.text());
        put(fields, 11, currency.text());
    }
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
        putCell(lv, row, 1, charge.textOf("cbc:AllowanceChargeReasonCode"));
        putCell(lv, row, 2, charge.textOf("cbc:MultiplierFactorNumeric"));
        putCell(lv, row, 3, charge.textOf("cbc:Amount"));
        putCell(lv, row, 4, charge.textOf("cbc:BaseAmount"));
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
        const QString external = entry.textOf("cac:Attachment/cac:ExternalReference").value_or(QString());
        const QString id = entry.textOf("cbc:ID").value_or(QString()); // BT-122
        if (data.isEmpty() || !external.isEmpty()) {
            // Each reference gets its own shortcut, named by its own identifier.
            const QString uri =
                entry.textOf("cac:Attachment/cac:ExternalReference/cbc:URI").value_or(QString()); // BT-124
            if (!uri.isEmpty())
                store.writeShortcut(id, uri);
            continue;
        }
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

bool clsPeppol::AccountingSupplierParty(const XmlNode &node, const FieldList &fields)
{
    Party(node, fields);
    put(fields, 11,
        node.selectSingleNode("cac:Party").textOf("cbc:EndpointID")); // BT-34 seller electronic address
    return true;
}

void clsPeppol::taxIdentifiers(const XmlNode &party, const FieldList &fields)
{
    // The tax number field shows the legal registration here, so a VAT identifier other than
    // that has a field of its own.
    const auto vatId = party.textOf(vatIdPath);
    if (vatId && (!at(fields, 1) || fields[1]->text() != *vatId))
        put(fields, 10, vatId);
}

void clsPeppol::quantityPriceAndRate(const XmlNode &line, ListView &lv, int row)
{
    if (auto quantity = line.textOf(quantityPath())) { // BT-129, digits as written
        QString q = *quantity;
        lv.setCell(row, 3, q.replace(QLatin1Char('.'), QLatin1Char(',')));
    }
    putCell(lv, row, 4, amount(line.textOf("cac:Price/cbc:PriceAmount"), m_context.numberFormat));
    if (auto percent = line.textOf("cac:Item/cac:ClassifiedTaxCategory/cbc:Percent"))
        lv.setCell(row, 5, FormatXmlAmount(NzFormat(*percent, QStringLiteral("0")), QStringLiteral("0")));
}

} // namespace invorator
