// BR-01 … BR-65: what every EN 16931 invoice must carry.
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

// Header paths of CII, below the root.
#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_DELIVERY "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeDelivery/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"
#define CII_TOTALS_ELEMENT CII_SETTLEMENT "ram:SpecifiedTradeSettlementHeaderMonetarySummation"
#define CII_TOTALS CII_TOTALS_ELEMENT "/"

// Reports every node on `path` below the checked node that lacks what `holds` asks for,
// naming the element; true when there is none.
template <typename Test> bool each(RuleContext &c, const char *path, Test holds)
{
    for (xmlNode *node : c.all(path))
        if (!holds(node))
            c.fail(node, {NameOf(node)});
    return c.failures.empty();
}

// Reports every node on `path` that has nothing on `child`.
bool eachHas(RuleContext &c, const char *path, const char *child)
{
    return each(c, path, [child](xmlNode *node) { return First(node, child) != nullptr; });
}

// The UBL tax category of the VAT scheme below a node; tax categories of other schemes
// (a sales tax, say) carry no VAT category.
xmlNode *ublVatCategory(xmlNode *from)
{
    for (xmlNode *category : All(from, "cac:TaxCategory"))
        if (Text(category, "cac:TaxScheme/cbc:ID").toUpper() == QLatin1String("VAT"))
            return category;
    return nullptr;
}

// The VAT category code (BT-95, BT-102, BT-118) of an allowance, a charge or a VAT
// breakdown: in CII on `ciiPath`, in UBL the ID of the VAT tax category.
xmlNode *vatCategoryCode(RuleContext &c, const char *ciiPath)
{
    return c.cii() ? c.first(ciiPath) : First(ublVatCategory(c.node), "cbc:ID");
}

// A total of the document (BG-22) must be there: checked where the totals are.
bool hasTotal(RuleContext &c, const char *ciiName, const char *ublName)
{
    xmlNode *totals = c.first(c.pick(CII_TOTALS_ELEMENT, "cac:LegalMonetaryTotal"));
    return !totals || First(totals, c.pick(ciiName, ublName));
}

// An amount that must not be negative; reported at the amount with its value. An amount
// that is missing or no number does not count as at least zero.
bool notNegative(RuleContext &c, const char *path)
{
    xmlNode *amount = c.first(path);
    const std::optional<Decimal> value =
        amount ? Decimal::fromXml(Text(amount)).value : std::optional<Decimal>();
    if (value && !value->isNegative())
        return true;
    if (amount) {
        c.at = amount;
        c.values = {Text(amount)};
    }
    return false;
}

// The first CII date below `from` written in format 102 (YYYYMMDD); empty when none is.
QString ciiDate102(xmlNode *from, const char *path)
{
    for (xmlNode *date : All(from, path))
        if (Text(date, "@format") == QLatin1String("102"))
            return Text(date);
    return {};
}

// Whether an invoicing period (BG-14, BG-26) that gives both dates ends no earlier than it
// starts. CII compares the dates written in format 102, UBL the dates without a time zone;
// a date that cannot be read fails the rule.
bool periodInOrder(RuleContext &c, xmlNode *period)
{
    if (!period)
        return true;
    QString start, end;
    if (c.cii()) {
        if (!First(period, "ram:StartDateTime") || !First(period, "ram:EndDateTime"))
            return true;
        start = ciiDate102(period, "ram:StartDateTime/udt:DateTimeString");
        end = ciiDate102(period, "ram:EndDateTime/udt:DateTimeString");
    } else {
        if (!First(period, "cbc:StartDate") || !First(period, "cbc:EndDate"))
            return true;
        start = Text(period, "cbc:StartDate").left(10);
        end = Text(period, "cbc:EndDate").left(10);
    }
    if (!start.isEmpty() && !end.isEmpty() && end >= start)
        return true;
    c.at = period;
    c.values = {start, end};
    return false;
}

// Whether any node of `a` has the same text as any node of `b`.
bool anySameText(const Nodes &a, const Nodes &b)
{
    for (xmlNode *x : a)
        for (xmlNode *y : b)
            if (Text(x) == Text(y))
                return true;
    return false;
}

constexpr Rule Rules[] = {
    // BT-24 rules identifier
    {"BR-01", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(
             c.pick("rsm:ExchangedDocumentContext/ram:GuidelineSpecifiedDocumentContextParameter/ram:ID",
                    "cbc:CustomizationID"));
     }},
    // BT-1 invoice number
    {"BR-02", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(c.pick("rsm:ExchangedDocument/ram:ID", "cbc:ID"));
     }},
    // BT-2 issue date
    {"BR-03", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(
             c.pick("rsm:ExchangedDocument/ram:IssueDateTime/udt:DateTimeString", "cbc:IssueDate"));
     }},
    // BT-3 type code
    {"BR-04", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(c.pick("rsm:ExchangedDocument/ram:TypeCode",
                                c.doc.creditNote ? "cbc:CreditNoteTypeCode" : "cbc:InvoiceTypeCode"));
     }},
    // BT-5 invoice currency
    {"BR-05", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(c.pick(CII_SETTLEMENT "ram:InvoiceCurrencyCode", "cbc:DocumentCurrencyCode"));
     }},
    // BT-27 seller name
    {"BR-06", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(
             c.pick(CII_AGREEMENT "ram:SellerTradeParty/ram:Name",
                    "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationName"));
     }},
    // BT-44 buyer name
    {"BR-07", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.filled(
             c.pick(CII_AGREEMENT "ram:BuyerTradeParty/ram:Name",
                    "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationName"));
     }},
    // BG-5 seller postal address
    {"BR-08", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.has(c.pick(CII_AGREEMENT "ram:SellerTradeParty/ram:PostalTradeAddress",
                             "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress"));
     }},
    // BT-40 seller country: CII asks for it always, UBL in the address where there is one
    {"BR-09", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return c.filled(CII_AGREEMENT "ram:SellerTradeParty/ram:PostalTradeAddress/ram:CountryID");
         xmlNode *address = c.first("cac:AccountingSupplierParty/cac:Party/cac:PostalAddress");
         return !address || Filled(address, "cac:Country/cbc:IdentificationCode");
     }},
    // BG-8 buyer postal address
    {"BR-10", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.has(c.pick(CII_AGREEMENT "ram:BuyerTradeParty/ram:PostalTradeAddress",
                             "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress"));
     }},
    // BT-55 buyer country: CII asks for it always, UBL in the address where there is one
    {"BR-11", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return c.filled(CII_AGREEMENT "ram:BuyerTradeParty/ram:PostalTradeAddress/ram:CountryID");
         xmlNode *address = c.first("cac:AccountingCustomerParty/cac:Party/cac:PostalAddress");
         return !address || Filled(address, "cac:Country/cbc:IdentificationCode");
     }},
    // BG-25: at least one line
    {"BR-16", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return !c.doc.nodes(Scope::Line).empty();
     }},
    // BT-106 sum of line net amounts
    {"BR-12", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) { return hasTotal(c, "ram:LineTotalAmount", "cbc:LineExtensionAmount"); }},
    // BT-109 total without VAT
    {"BR-13", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) { return hasTotal(c, "ram:TaxBasisTotalAmount", "cbc:TaxExclusiveAmount"); }},
    // BT-112 total with VAT
    {"BR-14", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) { return hasTotal(c, "ram:GrandTotalAmount", "cbc:TaxInclusiveAmount"); }},
    // BT-115 amount due
    {"BR-15", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) { return hasTotal(c, "ram:DuePayableAmount", "cbc:PayableAmount"); }},
    // BT-59 payee name where a payee (BG-10) is given; in UBL the payee must also differ
    // from the seller by name and identifier.
    {"BR-17", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return eachHas(c, CII_SETTLEMENT "ram:PayeeTradeParty", "ram:Name");
         return each(c, "cac:PayeeParty", [&c](xmlNode *payee) {
             if (!First(payee, "cac:PartyName/cbc:Name"))
                 return false;
             xmlNode *seller = c.first("cac:AccountingSupplierParty/cac:Party");
             return !seller ||
                    (!anySameText(All(payee, "cac:PartyName/cbc:Name"), All(seller, "cac:PartyName/cbc:Name")) &&
                     !anySameText(All(payee, "cac:PartyIdentification/cbc:ID"),
                                  All(seller, "cac:PartyIdentification/cbc:ID")));
         });
     }},
    // BT-62 name of the seller's tax representative (BG-11)
    {"BR-18", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.cii() ? eachHas(c, CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty", "ram:Name")
                        : eachHas(c, "cac:TaxRepresentativeParty", "cac:PartyName/cbc:Name");
     }},
    // BG-12 postal address of the tax representative
    {"BR-19", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.cii() ? eachHas(c, CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty",
                                  "ram:PostalTradeAddress")
                        : eachHas(c, "cac:TaxRepresentativeParty", "cac:PostalAddress");
     }},
    // BT-69 country of the tax representative's address
    {"BR-20", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.cii() ? eachHas(c, CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty/ram:PostalTradeAddress",
                                  "ram:CountryID")
                        : eachHas(c, "cac:TaxRepresentativeParty/cac:PostalAddress",
                                  "cac:Country/cbc:IdentificationCode");
     }},
    // BT-126 line identifier
    {"BR-21", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) { return c.filled(c.pick("ram:AssociatedDocumentLineDocument/ram:LineID", "cbc:ID")); }},
    // BT-129 invoiced quantity
    {"BR-22", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return c.has(c.pick("ram:SpecifiedLineTradeDelivery/ram:BilledQuantity",
                             c.doc.creditNote ? "cbc:CreditedQuantity" : "cbc:InvoicedQuantity"));
     }},
    // BT-130 unit of the invoiced quantity
    {"BR-23", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return c.has(c.pick("ram:SpecifiedLineTradeDelivery/ram:BilledQuantity/@unitCode",
                             c.doc.creditNote ? "cbc:CreditedQuantity/@unitCode" : "cbc:InvoicedQuantity/@unitCode"));
     }},
    // BT-131 line net amount
    {"BR-24", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return c.has(c.pick("ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeSettlementLineMonetarySummation/"
                             "ram:LineTotalAmount",
                             "cbc:LineExtensionAmount"));
     }},
    // BT-153 item name
    {"BR-25", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) { return c.filled(c.pick("ram:SpecifiedTradeProduct/ram:Name", "cac:Item/cbc:Name")); }},
    // BT-146 item net price
    {"BR-26", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return c.has(c.pick("ram:SpecifiedLineTradeAgreement/ram:NetPriceProductTradePrice/ram:ChargeAmount",
                             "cac:Price/cbc:PriceAmount"));
     }},
    // BT-146 item net price not negative
    {"BR-27", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return notNegative(c, c.pick("ram:SpecifiedLineTradeAgreement/ram:NetPriceProductTradePrice/ram:ChargeAmount",
                                      "cac:Price/cbc:PriceAmount"));
     }},
    // BT-148 item gross price not negative, where given
    {"BR-28", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         const char *path = c.pick("ram:SpecifiedLineTradeAgreement/ram:GrossPriceProductTradePrice/ram:ChargeAmount",
                                   "cac:Price/cac:AllowanceCharge/cbc:BaseAmount");
         return !c.has(path) || notNegative(c, path);
     }},
    // BG-14 invoicing period: end not before start
    {"BR-29", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return periodInOrder(c, c.first(c.pick(CII_SETTLEMENT "ram:BillingSpecifiedPeriod", "cac:InvoicePeriod")));
     }},
    // BG-26 line period: end not before start
    {"BR-30", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return periodInOrder(c, c.first(c.pick("ram:SpecifiedLineTradeSettlement/ram:BillingSpecifiedPeriod",
                                                "cac:InvoicePeriod")));
     }},
    // BT-92 document allowance amount
    {"BR-31", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance,
     [](RuleContext &c) { return c.has(c.pick("ram:ActualAmount", "cbc:Amount")); }},
    // BT-95 VAT category of a document allowance
    {"BR-32", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance,
     [](RuleContext &c) { return vatCategoryCode(c, "ram:CategoryTradeTax/ram:CategoryCode") != nullptr; }},
    // BT-97/BT-98 reason of a document allowance
    {"BR-33", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance,
     [](RuleContext &c) {
         return c.has(c.pick("ram:Reason", "cbc:AllowanceChargeReason")) ||
                c.has(c.pick("ram:ReasonCode", "cbc:AllowanceChargeReasonCode"));
     }},
    // BT-99 document charge amount
    {"BR-36", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge,
     [](RuleContext &c) { return c.has(c.pick("ram:ActualAmount", "cbc:Amount")); }},
    // BT-102 VAT category of a document charge
    {"BR-37", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge,
     [](RuleContext &c) { return vatCategoryCode(c, "ram:CategoryTradeTax/ram:CategoryCode") != nullptr; }},
    // BT-104/BT-105 reason of a document charge
    {"BR-38", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge,
     [](RuleContext &c) {
         return c.has(c.pick("ram:Reason", "cbc:AllowanceChargeReason")) ||
                c.has(c.pick("ram:ReasonCode", "cbc:AllowanceChargeReasonCode"));
     }},
    // BT-136 line allowance amount
    {"BR-41", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineAllowance,
     [](RuleContext &c) { return c.has(c.pick("ram:ActualAmount", "cbc:Amount")); }},
    // BT-139/BT-140 reason of a line allowance
    {"BR-42", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineAllowance,
     [](RuleContext &c) {
         return c.has(c.pick("ram:Reason", "cbc:AllowanceChargeReason")) ||
                c.has(c.pick("ram:ReasonCode", "cbc:AllowanceChargeReasonCode"));
     }},
    // BT-141 line charge amount
    {"BR-43", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineCharge,
     [](RuleContext &c) { return c.has(c.pick("ram:ActualAmount", "cbc:Amount")); }},
    // BT-144/BT-145 reason of a line charge
    {"BR-44", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineCharge,
     [](RuleContext &c) {
         return c.has(c.pick("ram:Reason", "cbc:AllowanceChargeReason")) ||
                c.has(c.pick("ram:ReasonCode", "cbc:AllowanceChargeReasonCode"));
     }},
    // BT-116 taxable amount of a VAT breakdown
    {"BR-45", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) { return c.has(c.pick("ram:BasisAmount", "cbc:TaxableAmount")); }},
    // BT-117 VAT amount of a VAT breakdown
    {"BR-46", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) { return c.has(c.pick("ram:CalculatedAmount", "cbc:TaxAmount")); }},
    // BT-118 VAT category of a VAT breakdown
    {"BR-47", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) { return vatCategoryCode(c, "ram:CategoryCode") != nullptr; }},
    // BT-119 VAT rate of a VAT breakdown, except for "not subject to VAT" (O)
    {"BR-48", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) {
         const bool rate = c.cii() ? c.has("ram:RateApplicablePercent")
                                   : First(ublVatCategory(c.node), "cbc:Percent") != nullptr;
         return rate || Text(vatCategoryCode(c, "ram:CategoryCode")) == QLatin1String("O");
     }},
    // BT-81 payment means type
    {"BR-49", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::PaymentMeans,
     [](RuleContext &c) { return c.has(c.pick("ram:TypeCode", "cbc:PaymentMeansCode")); }},
    // BT-84 account identifier of a credit transfer (BG-17)
    {"BR-50", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         if (c.cii())
             return each(c, "ram:PayeePartyCreditorFinancialAccount", [](xmlNode *account) {
                 return First(account, "ram:IBANID") || First(account, "ram:ProprietaryID");
             });
         return each(c, "cac:PayeeFinancialAccount",
                     [](xmlNode *account) { return Filled(account, "cbc:ID"); });
     }},
    // BT-87 card number of a payment card (BG-18); UBL warns unless it is only the last four
    // to six digits, as it should be
    {"BR-51", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::PaymentMeans,
     [](RuleContext &c) { return eachHas(c, "ram:ApplicableTradeSettlementFinancialCard", "ram:ID"); }},
    {"BR-51", FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::PaymentMeans,
     [](RuleContext &c) {
         return each(c, "cac:CardAccount", [](xmlNode *card) {
             const qsizetype digits = Text(card, "cbc:PrimaryAccountNumberID").size();
             return digits >= 4 && digits <= 6;
         });
     }},
    // BT-122 reference of a supporting document (BG-24)
    {"BR-52", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return each(c, CII_AGREEMENT "ram:AdditionalReferencedDocument", [](xmlNode *document) {
                 return Text(document, "ram:TypeCode") != QLatin1String("916") ||
                        Filled(document, "ram:IssuerAssignedID");
             });
         return each(c, "cac:AdditionalDocumentReference",
                     [](xmlNode *document) { return Filled(document, "cbc:ID"); });
     }},
    // BT-111 VAT total in the VAT accounting currency (BT-6), where one is named
    {"BR-53", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *currency : c.all(c.pick(CII_SETTLEMENT "ram:TaxCurrencyCode", "cbc:TaxCurrencyCode"))) {
             const QString code = Text(currency);
             bool found = false;
             for (xmlNode *amount : c.all(c.pick(CII_TOTALS "ram:TaxTotalAmount", "cac:TaxTotal/cbc:TaxAmount")))
                 found = found || Text(amount, "@currencyID") == code;
             if (!found)
                 c.fail(currency, {code});
         }
         return c.failures.empty();
     }},
    // BT-160/BT-161 name and value of an item attribute (BG-32)
    {"BR-54", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         if (c.cii())
             return each(c, "ram:SpecifiedTradeProduct/ram:ApplicableProductCharacteristic", [](xmlNode *property) {
                 return First(property, "ram:Description") && First(property, "ram:Value");
             });
         return each(c, "cac:Item/cac:AdditionalItemProperty", [](xmlNode *property) {
             return First(property, "cbc:Name") && First(property, "cbc:Value");
         });
     }},
    // BT-25 number of a preceding invoice (BG-3)
    {"BR-55", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.cii() ? eachHas(c, CII_SETTLEMENT "ram:InvoiceReferencedDocument", "ram:IssuerAssignedID")
                        : eachHas(c, "cac:BillingReference", "cac:InvoiceDocumentReference/cbc:ID");
     }},
    // BT-63 VAT identifier of the tax representative (BG-11)
    {"BR-56", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return each(c, CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty", [](xmlNode *party) {
                 for (xmlNode *id : All(party, "ram:SpecifiedTaxRegistration/ram:ID"))
                     if (Text(id, "@schemeID") == QLatin1String("VA"))
                         return true;
                 return false;
             });
         return each(c, "cac:TaxRepresentativeParty", [](xmlNode *party) {
             for (xmlNode *scheme : All(party, "cac:PartyTaxScheme"))
                 if (Text(scheme, "cac:TaxScheme/cbc:ID").toUpper() == QLatin1String("VAT") &&
                     First(scheme, "cbc:CompanyID"))
                     return true;
             return false;
         });
     }},
    // BT-80 country of the delivery address (BG-15)
    {"BR-57", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.cii() ? eachHas(c, CII_DELIVERY "ram:ShipToTradeParty/ram:PostalTradeAddress", "ram:CountryID")
                        : eachHas(c, "cac:Delivery/cac:DeliveryLocation/cac:Address",
                                  "cac:Country/cbc:IdentificationCode");
     }},
    // BT-84 account identifier for credit transfers (codes 30 and 58)
    {"BR-61", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         const QString code = c.text(c.pick("ram:TypeCode", "cbc:PaymentMeansCode"));
         if (code != QLatin1String("30") && code != QLatin1String("58"))
             return true;
         c.values = {code};
         if (!c.cii())
             return c.filled("cac:PayeeFinancialAccount/cbc:ID");
         // CII asks only the accounts given for their identifier.
         for (xmlNode *account : c.all("ram:PayeePartyCreditorFinancialAccount"))
             if (!First(account, "ram:IBANID") && !First(account, "ram:ProprietaryID"))
                 c.fail(account, {code});
         return c.failures.empty();
     }},
    // BT-34 scheme of the seller's electronic address
    {"BR-62", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return eachHas(c,
                        c.pick(CII_AGREEMENT "ram:SellerTradeParty/ram:URIUniversalCommunication/ram:URIID",
                               "cac:AccountingSupplierParty/cac:Party/cbc:EndpointID"),
                        "@schemeID");
     }},
    // BT-49 scheme of the buyer's electronic address
    {"BR-63", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return eachHas(c,
                        c.pick(CII_AGREEMENT "ram:BuyerTradeParty/ram:URIUniversalCommunication/ram:URIID",
                               "cac:AccountingCustomerParty/cac:Party/cbc:EndpointID"),
                        "@schemeID");
     }},
    // BT-157 scheme of an item's standard identifier
    {"BR-64", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return eachHas(c, c.pick("ram:SpecifiedTradeProduct/ram:GlobalID", "cac:Item/cac:StandardItemIdentification/cbc:ID"),
                        "@schemeID");
     }},
    // BT-158 scheme of an item's classification
    {"BR-65", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return eachHas(c,
                        c.pick("ram:SpecifiedTradeProduct/ram:DesignatedProductClassification/ram:ClassCode",
                               "cac:Item/cac:CommodityClassification/cbc:ItemClassificationCode"),
                        "@listID");
     }},
};

} // namespace

std::span<const Rule> CoreRules()
{
    return Rules;
}

} // namespace invorator::validation
