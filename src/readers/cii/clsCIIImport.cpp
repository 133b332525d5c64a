#include "readers/cii/clsCIIImport.h"

#include "attachments/Attachments.h"
#include "model/Conversions.h"
#include "readers/ReaderSteps.h"

namespace invorator {

using namespace steps;

namespace {
QString textAt(const XmlNode &node, std::string_view xpath)
{
    return node.textOf(xpath).value_or(QString());
}
} // namespace

const CiiVocabulary CrossIndustryInvoice{
    "xmlns:rsm='urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100' "
    "xmlns:ram='urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100' "
    "xmlns:udt='urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100' "
    "xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'",
    "//rsm:CrossIndustryInvoice",
    "//rsm:ExchangedDocument",
    "//ram:ApplicableHeaderTradeAgreement",
    "//ram:ApplicableHeaderTradeSettlement",
    "//ram:SpecifiedTradeSettlementHeaderMonetarySummation",
    "ram:SpecifiedLineTradeAgreement",
    "ram:SpecifiedLineTradeDelivery",
    "ram:SpecifiedLineTradeSettlement",
    "ram:SpecifiedTradeSettlementLineMonetarySummation",
    "ram:RateApplicablePercent",
    "ram:IssuerAssignedID",
    true,
};

const CiiVocabulary Zugferd1{
    "xmlns:rsm='urn:ferd:CrossIndustryDocument:invoice:1p0' "
    "xmlns:ram='urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:12' "
    "xmlns:udt='urn:un:unece:uncefact:data:standard:UnqualifiedDataType:15' "
    "xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'",
    "//rsm:CrossIndustryDocument",
    "//rsm:HeaderExchangedDocument",
    "//ram:ApplicableSupplyChainTradeAgreement",
    "//ram:ApplicableSupplyChainTradeSettlement",
    "//ram:ApplicableSupplyChainTradeSettlement/ram:SpecifiedTradeSettlementMonetarySummation",
    "ram:SpecifiedSupplyChainTradeAgreement",
    "ram:SpecifiedSupplyChainTradeDelivery",
    "ram:SpecifiedSupplyChainTradeSettlement",
    "ram:SpecifiedTradeSettlementMonetarySummation",
    "ram:ApplicablePercent",
    "ram:ID",
    false,
};

clsCIIImport::clsCIIImport(const ImportContext &context, const CiiVocabulary &vocabulary)
    : m_context(context), m_vocabulary(vocabulary),
      m_linePrice(std::string(vocabulary.lineAgreement) + "/ram:NetPriceProductTradePrice/ram:ChargeAmount"),
      m_lineQuantity(std::string(vocabulary.lineDelivery) + "/ram:BilledQuantity"),
      m_lineRate(std::string(vocabulary.lineSettlement) + "/ram:ApplicableTradeTax/" + vocabulary.rate),
      m_lineTotal(std::string(vocabulary.lineSettlement) + '/' + vocabulary.lineTotals +
                  "/ram:LineTotalAmount"),
      m_taxRate(vocabulary.rate), m_documentId(vocabulary.documentId),
      m_duePayable(std::string(vocabulary.headerTotals) + "/ram:DuePayableAmount"),
      m_documentType(std::string(vocabulary.header) + "/ram:TypeCode"),
      m_issueDate(std::string(vocabulary.header) + "/ram:IssueDateTime/udt:DateTimeString")
{
}

QString clsCIIImport::SelectionNamespaces() const
{
    return QString::fromLatin1(m_vocabulary.namespaces);
}

bool clsCIIImport::ExchangedDocument(const XmlNode &node, DisplayModel &m)
{
    const XmlNode date = node.selectSingleNode("ram:IssueDateTime");
    const XmlNode note = node.selectSingleNode("ram:IncludedNote");
    put(m[Rd::SpecificationId], node.textOf("//ram:GuidelineSpecifiedDocumentContextParameter")); // BT-24
    put(m[Rd::InvoiceNumber], node.textOf("ram:ID"));                                             // BT-1
    // BT-21: a known subject code with its name ("AAK – Preisbedingungen"), an unknown one as written.
    if (const auto subject = note.textOf("ram:SubjectCode")) {
        const QString name = m_context.subjectCodeNames.value(subject->trimmed());
        put(m[Rd::Subject], name.isEmpty() ? *subject : subject->trimmed() + QStringLiteral(" – ") + name);
    }
    if (auto issued = date.textOf("udt:DateTimeString")) // BT-2
        put(m[Rd::IssueDate], FormatXmlDate(*issued));
    if (auto type = node.textOf("ram:TypeCode")) // BT-3 document type
        m[Rd::DocumentType].setValue(*type);
    put(m[Rd::Note], note.textOf("ram:Content")); // BT-22
    put(m[So::BusinessProcess],
        node.textOf("//ram:BusinessProcessSpecifiedDocumentContextParameter")); // BT-23
    return true;
}

bool clsCIIImport::SpecifiedTradePaymentTerms(const XmlNode &node, DisplayModel &m)
{
    const XmlNode terms = node.selectSingleNode("ram:SpecifiedTradePaymentTerms");
    if (auto due = terms.textOf("ram:DueDateDateTime")) // BT-9 payment due date
        put(m[Rd::DueDate], FormatXmlDate(*due));
    put(m[Rd::PaymentTerms], terms.textOf("ram:Description")); // BT-20 payment terms
    // Cash discounts: lines of the terms' text in the "#SKONTO#" notation, and the structured
    // discount terms of the extended profiles. Both count from the issue date (BT-2), the
    // structured ones from their own start date when they give one.
    const QString issued = textAt(node, m_issueDate.c_str());
    const QString due = textAt(node, m_duePayable.c_str()); // BT-115
    m.discounts.clear();
    for (const XmlNode each : node.selectNodes("ram:SpecifiedTradePaymentTerms")) {
        for (CashDiscount &d : DiscountsFromTerms(textAt(each, "ram:Description"), due, issued))
            m.discounts.push_back(std::move(d));
        for (const XmlNode d : each.selectNodes("ram:ApplicableTradePaymentDiscountTerms")) {
            const QString days = textAt(d, "ram:BasisPeriodMeasure");
            const QString unit = textAt(d, "ram:BasisPeriodMeasure/@unitCode");
            const QString percent = textAt(d, "ram:CalculationPercent");
            const QString base = textAt(d, "ram:BasisAmount");
            const QString amount = textAt(d, "ram:ActualDiscountAmount");
            const QString start = textAt(d, "ram:BasisDateTime/udt:DateTimeString");
            QStringList written;
            for (const QString &part : {days + QLatin1Char(' ') + unit, percent, base, amount, start})
                if (!part.trimmed().isEmpty())
                    written << part.trimmed();
            // Only days count as a period; another unit is shown as written.
            const bool inDays = unit.isEmpty() || unit == QLatin1String("DAY");
            m.discounts.push_back(MakeDiscount(written.join(QStringLiteral(", ")), inDays ? days : QString(),
                                               percent, base, amount, due, start.isEmpty() ? issued : start));
        }
    }
    return true;
}

bool clsCIIImport::SellerTradeParty(const XmlNode &node, DisplayModel &m)
{
    return TradeParty(node, "ram:SellerTradeParty", m, Seller);
}

bool clsCIIImport::BuyerTradePartyNode(const XmlNode &node, DisplayModel &m)
{
    return TradeParty(node, "ram:BuyerTradeParty", m, Buyer);
}

bool clsCIIImport::TradeParty(const XmlNode &node, const char *partyElement, DisplayModel &m,
                              const PartyFields &p)
{
    const XmlNode party = node.selectSingleNode(partyElement);
    if (!party.hasChildNodes())
        return true;
    const std::pair<FieldId, const char *> paths[] = {
        {p.Name, "ram:Name"},
        {p.TaxNumber, "ram:SpecifiedTaxRegistration/ram:ID"},
        {p.Email, "ram:URIUniversalCommunication/ram:URIID"},
        {p.Street, "ram:PostalTradeAddress/ram:LineOne"},
        {p.Country, "ram:PostalTradeAddress/ram:CountryID"},
        {p.PostCode, "ram:PostalTradeAddress/ram:PostcodeCode"},
        {p.City, "ram:PostalTradeAddress/ram:CityName"},
        {p.Contact, "ram:DefinedTradeContact/ram:PersonName"},
        {p.ContactEmail, "ram:DefinedTradeContact/ram:EmailURIUniversalCommunication/ram:URIID"},
        {p.ContactPhone, "ram:DefinedTradeContact/ram:TelephoneUniversalCommunication/ram:CompleteNumber"},
    };
    for (const auto &[field, path] : paths)
        put(m[field], party.textOf(path));
    // The VAT identifier (BT-31) always has its own field. The tax-number field keeps the first
    // registration, as stored archives show it, unless a tax number (BT-32) is given beside it.
    const auto vatId = party.textOf("ram:SpecifiedTaxRegistration/ram:ID[@schemeID='VA']");
    const auto taxNumber = party.textOf("ram:SpecifiedTaxRegistration/ram:ID[@schemeID='FC']");
    put(m[p.VatId], vatId);
    if (vatId && taxNumber)
        put(m[p.TaxNumber], taxNumber);
    return true;
}

bool clsCIIImport::IncludedSupplyChainTradeLineItem(const XmlNode &node, ListView &lv)
{
    using namespace LineColumn;
    lv.clear();
    const XmlNodeList lines = node.selectNodes("//ram:IncludedSupplyChainTradeLineItem");
    for (const XmlNode line : lines) {
        if (!line.hasChildNodes())
            continue;
        const auto id = line.textOf("ram:AssociatedDocumentLineDocument/ram:LineID"); // BT-126
        if (!id && m_vocabulary.lineIdRequired)
            return false;
        const int row = lv.addRow(id.value_or(QString()));
        putCell(lv, row, Article, line.textOf("ram:SpecifiedTradeProduct/ram:Name"));            // BT-153
        putCell(lv, row, Description, line.textOf("ram:SpecifiedTradeProduct/ram:Description")); // BT-154
        putCell(lv, row, Price, amount(line.textOf(m_linePrice), m_context.numberFormat));       // BT-146
        putCell(lv, row, Quantity, amount(line.textOf(m_lineQuantity), QStringLiteral("0.00"))); // BT-129
        if (auto rate = line.textOf(m_lineRate)) {                                               // BT-152
            QString r = NzFormat(*rate, QStringLiteral("0"));
            r.replace(QLatin1Char('.'), QLatin1Char(','));
            lv.setCell(row, VatRate, FormatText(r, QStringLiteral("0")));
        }
        putCell(lv, row, LineColumn::Total,
                amount(line.textOf(m_lineTotal), m_context.numberFormat)); // BT-131
        // A negative quantity (a return or correction) is drawn in red, as is a line without one.
        lv.setRowColor(row, quantityColor(lv.cell(row, Quantity), true));
    }
    return true;
}

bool clsCIIImport::ApplicableTradeTax(const XmlNode &node, ListView &lv)
{
    lv.clear();
    for (const XmlNode tax : node.selectNodes("ram:ApplicableTradeTax")) {
        if (!tax.hasChildNodes())
            continue;
        const int row = lv.addRow(QString());
        putCell(lv, row, VatColumn::Rate, tax.textOf(m_taxRate)); // BT-119
        putCell(lv, row, VatColumn::Amount,
                amount(tax.textOf("ram:CalculatedAmount"), m_context.numberFormat)); // BT-117
        putCell(lv, row, VatColumn::Basis,
                amount(tax.textOf("ram:BasisAmount"), m_context.numberFormat)); // BT-116
        putVatCategory(lv, row, tax.textOf("ram:CategoryCode"), tax.textOf("ram:ExemptionReason"),
                       tax.textOf("ram:ExemptionReasonCode"), m_context.vatCategoryNames);
    }
    return true;
}

bool clsCIIImport::SpecifiedTradeAllowanceCharge(const XmlNode &node, ListView &lv)
{
    lv.clear();
    // Document level and line level alike; price discounts have another element name.
    for (const XmlNode charge : node.selectNodes("//ram:SpecifiedTradeAllowanceCharge")) {
        if (!charge.hasChildNodes())
            continue;
        const auto reason = charge.textOf("ram:Reason");
        if (!reason)
            return true;
        const int row = lv.addRow(*reason);
        putCell(lv, row, AllowanceColumn::ReasonCode, charge.textOf("ram:ReasonCode"));
        putCell(lv, row, AllowanceColumn::Percent, charge.textOf("ram:CalculationPercent"));
        putCell(lv, row, AllowanceColumn::Amount, charge.textOf("ram:ActualAmount"));
        putCell(lv, row, AllowanceColumn::Basis, charge.textOf("ram:BasisAmount"));
    }
    return true;
}

bool clsCIIImport::SpecifiedTradeSettlementPaymentMeans(const XmlNode &settlement, const XmlNode &agreement,
                                                        ListView &lv)
{
    lv.clear();
    const auto text = [](const XmlNode &node, const char *xpath) {
        return node.textOf(xpath).value_or(QString());
    };
    PaymentMeans invoice;
    invoice.reference = text(settlement, "ram:PaymentReference");                                  // BT-83
    invoice.creditorId = text(settlement, "ram:CreditorReferenceID");                              // BT-90
    invoice.mandate = text(settlement, "ram:SpecifiedTradePaymentTerms/ram:DirectDebitMandateID"); // BT-89
    invoice.dueDate =
        text(settlement, "ram:SpecifiedTradePaymentTerms/ram:DueDateDateTime/udt:DateTimeString");
    invoice.amount = text(settlement, m_duePayable.c_str());              // BT-115
    invoice.currency = text(settlement, "ram:InvoiceCurrencyCode");       // BT-5
    invoice.documentType = text(settlement, m_documentType.c_str());      // BT-3
    invoice.payeeName = text(settlement, "ram:PayeeTradeParty/ram:Name"); // BT-59
    if (invoice.payeeName.trimmed().isEmpty())
        invoice.payeeName = text(agreement, "ram:SellerTradeParty/ram:Name"); // BT-27
    for (const XmlNode node : settlement.selectNodes("ram:SpecifiedTradeSettlementPaymentMeans")) {
        PaymentMeans means = invoice;
        means.code = text(node, "ram:TypeCode");           // BT-81
        means.information = text(node, "ram:Information"); // BT-82
        const XmlNode payee = node.selectSingleNode("ram:PayeePartyCreditorFinancialAccount");
        means.account = text(payee, "ram:IBANID"); // BT-84
        if (means.account.isEmpty())
            means.account = text(payee, "ram:ProprietaryID");
        if (means.account.isEmpty() && IsDirectDebit(means.code))
            means.account = text(node, "ram:PayerPartyDebtorFinancialAccount/ram:IBANID");  // BT-91
        means.accountName = text(payee, "ram:AccountName");                                 // BT-85
        means.bic = text(node, "ram:PayeeSpecifiedCreditorFinancialInstitution/ram:BICID"); // BT-86
        means.card = text(node, "ram:ApplicableTradeSettlementFinancialCard/ram:ID");       // BT-87
        // ZUGFeRD 1.0 names a direct debit's mandate in the means' own identifier and the
        // creditor identifier in its scheme agency; the later generation has neither there.
        if (means.mandate.isEmpty())
            means.mandate = text(node, "ram:ID");
        if (means.creditorId.isEmpty())
            means.creditorId = text(node, "ram:ID/@schemeAgencyID");
        putPaymentMeans(lv, means, m_context.paymentMeansNames, m_context.numberFormat);
    }
    return true;
}

bool clsCIIImport::SpecifiedTradeSettlementHeaderMonetarySummation(const XmlNode &node, DisplayModel &m)
{
    const Totals totals{{node, "ram:LineTotalAmount"},      // BT-106
                        {node, "ram:TaxBasisTotalAmount"},  // BT-109 total without VAT
                        {node, "ram:GrandTotalAmount"},     // BT-112 total with VAT
                        {node, "ram:AllowanceTotalAmount"}, // BT-107
                        {node, "ram:ChargeTotalAmount"},    // BT-108
                        {node, "ram:TotalPrepaidAmount"},   // BT-113
                        {node, "ram:RoundingAmount"},       // BT-114
                        {node, "ram:DuePayableAmount"}};    // BT-115
    totals.put(m, m_context.numberFormat);
    const XmlNode currency = node.selectSingleNode("ram:TaxTotalAmount").getNamedItem("currencyID");
    if (currency)
        Totals::putCurrency(m, currency.text());
    else
        // An invoice without VAT (category O) has no tax total to carry the currency: the
        // invoice's own currency (BT-5) is shown instead.
        Totals::putCurrency(m, node.textOf("../ram:InvoiceCurrencyCode"));
    return true;
}

bool clsCIIImport::AdditionalReferencedDocument(const XmlNode &node, AttachmentStore &store)
{
    const XmlNodeList documents = node.selectNodes("//ram:AdditionalReferencedDocument");
    if (documents.empty())
        return false;
    for (const XmlNode doc : documents) {
        const QString data = doc.textOf("ram:AttachmentBinaryObject").value_or(QString()); // BT-125
        const QString id = doc.textOf(m_documentId).value_or(QString());                   // BT-122
        const QString mime = doc.textOf("ram:AttachmentBinaryObject/@mimeCode").value_or(QString());
        const QString fileName = doc.textOf("ram:AttachmentBinaryObject/@filename").value_or(QString());
        const QString uri = doc.textOf("ram:URIID").value_or(QString()); // BT-124 external location
        // A document may carry both a location and the file itself: each is written.
        if (!uri.isEmpty())
            store.writeShortcut(id, uri);
        if (!data.isEmpty())
            store.writeBase64(data,
                              fileName.isEmpty() ? QStringLiteral("Externfile") + MimeExtension(mime) : id);
    }
    return true;
}

} // namespace invorator
