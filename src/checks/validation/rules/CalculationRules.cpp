// BR-CO-*: the calculation and consistency rules. The sums (BR-CO-10 … BR-CO-17) are those of
// the program's check of sums, run once per document; the other rules look at the elements.
#include "checks/SumChecks.h"
#include "checks/validation/CodeLists.h"
#include "checks/validation/RuleContext.h"
#include "readers/InvoiceReader.h"
#include "readers/cii/clsCIIImport.h"

namespace invorator::validation {

namespace {

#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"
#define CII_TOTALS CII_SETTLEMENT "ram:SpecifiedTradeSettlementHeaderMonetarySummation"

// The findings of the check of sums, once per document; a CII invoice is read in the Cross
// Industry Invoice vocabulary (ZUGFeRD 1.0 never reaches the rules).
const std::vector<SumFinding> &sums(const Facts &doc)
{
    return doc.once<std::vector<SumFinding>>("calculation.sums", [&doc] {
        if (doc.sums)
            return *doc.sums;
        AmountLayout layout;
        if (doc.cii())
            layout.cii = &CrossIndustryInvoice;
        return CheckSums(doc.document, layout);
    });
}

// Whether a sum the check of sums finds off agrees with the total once rounded to cents,
// as the rules compare sums.
bool sameInCents(const SumFinding &f)
{
    const std::optional<Decimal> expected = Decimal::fromXml(f.expected).value;
    const std::optional<Decimal> found = Decimal::fromXml(f.found).value;
    return expected && found && expected->rounded(2) == *found;
}

// A document sum: false, reported at the total with where, expected and found, when the check
// of sums found the total wrong.
bool sumHolds(RuleContext &c, const char *rule, xmlNode *total)
{
    for (const SumFinding &f : sums(c.doc))
        if (f.rule == QLatin1String(rule) && f.flag == FindingFlag::Fatal && !sameInCents(f)) {
            c.at = total;
            c.values = {f.where, f.expected, f.found};
            return false;
        }
    return true;
}

// A total the rule needs is left out: reported at the totals, naming the element missing;
// the sums' messages speak of two amounts, and a dash stands for each that is not there.
bool missing(RuleContext &c, xmlNode *totals, const char *element)
{
    c.at = totals;
    c.values = {QString::fromLatin1(element).section(QLatin1Char(':'), 1), QStringLiteral("–"),
                QStringLiteral("–")};
    return false;
}

// Whether an amount reads as zero; a text that is no number is not.
bool isZero(xmlNode *amount)
{
    const std::optional<Decimal> value = Decimal::fromXml(Text(amount)).value;
    return value && value->isZero();
}

bool sameAmount(xmlNode *a, xmlNode *b)
{
    const std::optional<Decimal> x = Decimal::fromXml(Text(a)).value;
    const std::optional<Decimal> y = Decimal::fromXml(Text(b)).value;
    return x && y && *x == *y;
}

// Whether any line states its net amount (BT-131).
bool anyLineNet(const RuleContext &c)
{
    for (xmlNode *line : c.doc.nodes(Scope::Line))
        if (First(line, c.pick("ram:SpecifiedLineTradeSettlement/"
                               "ram:SpecifiedTradeSettlementLineMonetarySummation/ram:LineTotalAmount",
                               "cbc:LineExtensionAmount")))
            return true;
    return false;
}

// CII: whether a line is marked as a detail or information line, which the check of sums
// leaves out of the lines' total and the rule does not.
bool anySubLine(const RuleContext &c)
{
    for (xmlNode *line : c.doc.nodes(Scope::Line)) {
        const QString status =
            Text(line, "ram:AssociatedDocumentLineDocument/ram:LineStatusReasonCode").toUpper();
        if (status == QLatin1String("DETAIL") || status == QLatin1String("INFORMATION"))
            return true;
    }
    return false;
}

// CII: the lines' total (BT-106) against every line's net amount, rounded to cents.
bool allLinesAddUp(RuleContext &c, xmlNode *total)
{
    Decimal sum;
    for (xmlNode *line : c.doc.nodes(Scope::Line))
        if (const auto net = Number(
                line, "ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeSettlementLineMonetarySummation/"
                      "ram:LineTotalAmount"))
            sum = sum + *net;
    const std::optional<Decimal> stated = Decimal::fromXml(Text(total)).value;
    c.at = total;
    c.values = {QString(), sum.rounded(2).toText(2, true), Text(total)};
    return stated && sum.rounded(2) == *stated;
}

// CII: how many VAT totals (BT-110) the invoice gives in its currency.
int vatTotalsInCurrency(const RuleContext &c)
{
    const QString currency = Text(c.doc.root, CII_SETTLEMENT "ram:InvoiceCurrencyCode");
    int count = 0;
    for (xmlNode *total : All(c.doc.root, CII_TOTALS "/ram:TaxTotalAmount"))
        count += Text(total, "@currencyID") == currency;
    return count;
}

// CII: the VAT total (BT-110) in the invoice's currency, if there is one.
xmlNode *vatTotalInCurrency(const RuleContext &c)
{
    const QString currency = Text(c.doc.root, CII_SETTLEMENT "ram:InvoiceCurrencyCode");
    for (xmlNode *total : All(c.doc.root, CII_TOTALS "/ram:TaxTotalAmount"))
        if (Text(total, "@currencyID") == currency)
            return total;
    return nullptr;
}

// Whether an allowance or charge gives its reason as text or as a code.
bool hasReason(RuleContext &c)
{
    return c.cii() ? c.has("ram:Reason") || c.has("ram:ReasonCode")
                   : c.has("cbc:AllowanceChargeReason") || c.has("cbc:AllowanceChargeReasonCode");
}

// Whether a UBL tax scheme element names VAT.
bool isVatScheme(xmlNode *taxScheme)
{
    return Text(taxScheme, "cbc:ID").toUpper() == QLatin1String("VAT");
}

// A VAT identifier starts with a country code; Greece writes EL.
bool countryPrefixed(const RuleContext &c, xmlNode *id)
{
    const QString prefix = Text(id).left(2);
    return prefix == QLatin1String("EL") ||
           c.doc.codes.contains(QLatin1String(c.cii() ? "ISO-3166-1-alpha2-CII" : "ISO-3166-1-alpha2-UBL"),
                                prefix);
}

// BT-31, BT-48, BT-63: every VAT identifier of seller, buyer and tax representative.
bool vatIdentifiersPrefixed(RuleContext &c)
{
    Nodes ids;
    if (c.cii()) {
        for (xmlNode *party :
             {c.first(CII_AGREEMENT "ram:SellerTradeParty"), c.first(CII_AGREEMENT "ram:BuyerTradeParty"),
              c.first(CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty")})
            for (xmlNode *id : All(party, "ram:SpecifiedTaxRegistration/ram:ID"))
                if (Text(id, "@schemeID") == QLatin1String("VA"))
                    ids.push_back(id);
    } else {
        for (xmlNode *party :
             {c.first("cac:AccountingSupplierParty/cac:Party"),
              c.first("cac:AccountingCustomerParty/cac:Party"), c.first("cac:TaxRepresentativeParty")})
            for (xmlNode *scheme : All(party, "cac:PartyTaxScheme"))
                if (isVatScheme(First(scheme, "cac:TaxScheme")))
                    if (xmlNode *id = First(scheme, "cbc:CompanyID"))
                        ids.push_back(id);
    }
    for (xmlNode *id : ids)
        if (!countryPrefixed(c, id))
            c.fail(id, {Text(id)});
    return c.failures.empty();
}

constexpr Rule Rules[] = {
    // BT-7 VAT point date and BT-8 its code exclude each other
    {"BR-CO-03", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::VatBreakdown,
     [](RuleContext &c) {
         return !(c.has("ram:TaxPointDate") && c.has("ram:DueDateTypeCode"));
     }},
    {"BR-CO-03", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return !(c.has("cbc:TaxPointDate") && c.has("cac:InvoicePeriod/cbc:DescriptionCode"));
     }},
    // BT-151: every line has a VAT category
    {"BR-CO-04", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         if (c.cii()) {
             for (xmlNode *tax : c.all("ram:SpecifiedLineTradeSettlement/ram:ApplicableTradeTax"))
                 if (Text(tax, "ram:TypeCode").toUpper() == QLatin1String("VAT") &&
                     First(tax, "ram:CategoryCode"))
                     return true;
             return false;
         }
         for (xmlNode *category : c.all("cac:Item/cac:ClassifiedTaxCategory"))
             if (isVatScheme(First(category, "cac:TaxScheme")) && First(category, "cbc:ID"))
                 return true;
         return false;
     }},
    // BR-CO-05 to 08: an allowance's or charge's reason text (BT-97, BT-104, BT-139, BT-144)
    // and its reason code (BT-98, BT-105, BT-140, BT-145) shall mean the same thing. A free
    // text cannot be matched to a code's meaning by any test, and a guess would make a valid
    // invoice invalid, so these rules are listed with their meaning and never fail.
    {"BR-CO-05", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance, &Passes},
    {"BR-CO-06", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge, &Passes},
    {"BR-CO-07", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineAllowance, &Passes},
    {"BR-CO-08", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineCharge, &Passes},
    {"BR-CO-09", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice, vatIdentifiersPrefixed},
    // The document's sums. Where the check of sums finds nothing to compare because a total
    // is left out, the rule still fails when the invoice needs that total.
    {"BR-CO-10", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *totals = c.first(c.pick(CII_TOTALS, "cac:LegalMonetaryTotal"));
         if (!totals)
             return true;
         xmlNode *lines = First(totals, c.pick("ram:LineTotalAmount", "cbc:LineExtensionAmount"));
         if (!lines)
             return missing(c, totals, c.pick("ram:LineTotalAmount", "cbc:LineExtensionAmount"));
         // Without any line amount to add the total of the lines is zero.
         if (!anyLineNet(c) && !isZero(lines)) {
             c.at = lines;
             c.values = {QString(), QStringLiteral("0.00"), Text(lines)};
             return false;
         }
         if (c.cii() && anySubLine(c))
             return allLinesAddUp(c, lines);
         return sumHolds(c, "BR-CO-10", lines);
     }},
    {"BR-CO-11", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *totals = c.first(c.pick(CII_TOTALS, "cac:LegalMonetaryTotal"));
         if (!totals)
             return true;
         if (xmlNode *total = First(totals, c.pick("ram:AllowanceTotalAmount", "cbc:AllowanceTotalAmount")))
             return sumHolds(c, "BR-CO-11", total);
         return c.doc.nodes(Scope::DocAllowance).empty() ||
                missing(c, totals, c.pick("ram:AllowanceTotalAmount", "cbc:AllowanceTotalAmount"));
     }},
    {"BR-CO-12", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *totals = c.first(c.pick(CII_TOTALS, "cac:LegalMonetaryTotal"));
         if (!totals)
             return true;
         if (xmlNode *total = First(totals, c.pick("ram:ChargeTotalAmount", "cbc:ChargeTotalAmount")))
             return sumHolds(c, "BR-CO-12", total);
         return c.doc.nodes(Scope::DocCharge).empty() ||
                missing(c, totals, c.pick("ram:ChargeTotalAmount", "cbc:ChargeTotalAmount"));
     }},
    {"BR-CO-13", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *totals = c.first(c.pick(CII_TOTALS, "cac:LegalMonetaryTotal"));
         if (!totals)
             return true;
         if (!First(totals, c.pick("ram:LineTotalAmount", "cbc:LineExtensionAmount")))
             return missing(c, totals, c.pick("ram:LineTotalAmount", "cbc:LineExtensionAmount"));
         xmlNode *basis = First(totals, c.pick("ram:TaxBasisTotalAmount", "cbc:TaxExclusiveAmount"));
         if (!basis)
             return missing(c, totals, c.pick("ram:TaxBasisTotalAmount", "cbc:TaxExclusiveAmount"));
         return sumHolds(c, "BR-CO-13", basis);
     }},
    // CII: the VAT total in the invoice's currency; UBL: each tax total that is broken down.
    {"BR-CO-14", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *total = vatTotalInCurrency(c);
         if (!total)
             return true;
         if (c.doc.nodes(Scope::VatBreakdown).empty()) {
             c.at = total;
             c.values = {QString(), QStringLiteral("0.00"), Text(total)};
             return isZero(total);
         }
         return sumHolds(c, "BR-CO-14", total);
     }},
    {"BR-CO-14", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *taxTotal : c.all("cac:TaxTotal"))
             if (First(taxTotal, "cac:TaxSubtotal") && !First(taxTotal, "cbc:TaxAmount"))
                 return missing(c, taxTotal, "cbc:TaxAmount");
         return sumHolds(c, "BR-CO-14", c.first("cac:TaxTotal/cbc:TaxAmount"));
     }},
    // The gross total: in CII it may equal the net total whatever the VAT; UBL needs exactly one
    // VAT total in the invoice's currency.
    {"BR-CO-15", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *totals = c.first(CII_TOTALS);
         if (!totals)
             return true;
         xmlNode *grand = First(totals, "ram:GrandTotalAmount");
         if (!grand)
             return missing(c, totals, "ram:GrandTotalAmount");
         xmlNode *basis = First(totals, "ram:TaxBasisTotalAmount");
         if (!basis)
             return missing(c, totals, "ram:TaxBasisTotalAmount");
         if (sameAmount(grand, basis))
             return true;
         // Two VAT totals in the invoice's currency leave the gross total without one answer.
         if (vatTotalsInCurrency(c) > 1) {
             c.at = grand;
             c.values = {QString(), QStringLiteral("–"), Text(grand)};
             return false;
         }
         if (!vatTotalInCurrency(c)) {
             c.at = grand;
             c.values = {QString(), Text(basis), Text(grand)};
             return false;
         }
         return sumHolds(c, "BR-CO-15", grand);
     }},
    {"BR-CO-15", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *currency = c.first("cbc:DocumentCurrencyCode");
         if (!currency)
             return true;
         int inCurrency = 0;
         for (xmlNode *amount : c.all("cac:TaxTotal/cbc:TaxAmount"))
             inCurrency += Text(amount, "@currencyID") == Text(currency);
         xmlNode *grand = c.first("cac:LegalMonetaryTotal/cbc:TaxInclusiveAmount");
         if (inCurrency != 1 || !grand || !c.has("cac:LegalMonetaryTotal/cbc:TaxExclusiveAmount")) {
             c.at = grand;
             c.values = {QString(), QStringLiteral("–"), grand ? Text(grand) : QStringLiteral("–")};
             return false;
         }
         return sumHolds(c, "BR-CO-15", grand);
     }},
    {"BR-CO-16", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *totals = c.first(c.pick(CII_TOTALS, "cac:LegalMonetaryTotal"));
         if (!totals)
             return true;
         if (!First(totals, c.pick("ram:GrandTotalAmount", "cbc:TaxInclusiveAmount")))
             return missing(c, totals, c.pick("ram:GrandTotalAmount", "cbc:TaxInclusiveAmount"));
         xmlNode *due = First(totals, c.pick("ram:DuePayableAmount", "cbc:PayableAmount"));
         if (!due)
             return missing(c, totals, c.pick("ram:DuePayableAmount", "cbc:PayableAmount"));
         return sumHolds(c, "BR-CO-16", due);
     }},
    // BG-23: at least one VAT breakdown. A CII invoice without lines is left to BR-16, as
    // the official CII results have it.
    {"BR-CO-18", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return !c.doc.nodes(Scope::VatBreakdown).empty() || (c.cii() && c.doc.nodes(Scope::Line).empty());
     }},
    // BG-14 invoicing period: a start (BT-73) or an end (BT-74); in UBL the VAT point date
    // code (BT-8) in the period will do as well
    {"BR-CO-19", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *period :
              c.all(c.pick(CII_SETTLEMENT "ram:BillingSpecifiedPeriod", "cac:InvoicePeriod")))
             if (!(c.cii() ? First(period, "ram:StartDateTime") || First(period, "ram:EndDateTime")
                           : First(period, "cbc:StartDate") || First(period, "cbc:EndDate") ||
                                 First(period, "cbc:DescriptionCode")))
                 c.fail(period);
         return c.failures.empty();
     }},
    // BG-26 line period: a start (BT-134) or an end (BT-135)
    {"BR-CO-20", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         for (xmlNode *period : c.all(
                  c.pick("ram:SpecifiedLineTradeSettlement/ram:BillingSpecifiedPeriod", "cac:InvoicePeriod")))
             if (!(c.cii() ? First(period, "ram:StartDateTime") || First(period, "ram:EndDateTime")
                           : First(period, "cbc:StartDate") || First(period, "cbc:EndDate")))
                 c.fail(period);
         return c.failures.empty();
     }},
    // BT-97/BT-98, BT-104/BT-105, BT-139/BT-140, BT-144/BT-145: a reason as text or code
    {"BR-CO-21", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance, hasReason},
    {"BR-CO-22", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge, hasReason},
    {"BR-CO-23", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineAllowance, hasReason},
    {"BR-CO-24", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineCharge, hasReason},
    // BT-29, BT-30 or BT-31: something that identifies the seller
    {"BR-CO-26", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii()) {
             xmlNode *seller = c.first(CII_AGREEMENT "ram:SellerTradeParty");
             if (!seller || First(seller, "ram:ID") || First(seller, "ram:GlobalID") ||
                 First(seller, "ram:SpecifiedLegalOrganization/ram:ID"))
                 return true;
             for (xmlNode *id : All(seller, "ram:SpecifiedTaxRegistration/ram:ID"))
                 if (Text(id, "@schemeID") == QLatin1String("VA"))
                     return true;
             return false;
         }
         // UBL asks it of every seller element, even one without its party.
         if (!c.has("cac:AccountingSupplierParty"))
             return true;
         xmlNode *seller = c.first("cac:AccountingSupplierParty/cac:Party");
         if (First(seller, "cac:PartyIdentification/cbc:ID") ||
             First(seller, "cac:PartyLegalEntity/cbc:CompanyID"))
             return true;
         for (xmlNode *scheme : All(seller, "cac:PartyTaxScheme"))
             if (isVatScheme(First(scheme, "cac:TaxScheme")) && First(scheme, "cbc:CompanyID"))
                 return true;
         return false;
     }},
    // Checked on each VAT breakdown: the check of sums names a failing category by its code
    // and rate and gives its stated VAT, which together find the breakdown.
    {"BR-CO-17", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) {
         const QString where = c.text(c.pick("ram:CategoryCode", "cac:TaxCategory/cbc:ID")) +
                               QLatin1Char(' ') +
                               c.text(c.pick("ram:RateApplicablePercent", "cac:TaxCategory/cbc:Percent"));
         xmlNode *amount = c.first(c.pick("ram:CalculatedAmount", "cbc:TaxAmount"));
         if (!amount)
             return false;
         const std::optional<Decimal> stated = Decimal::fromXml(Text(amount)).value;
         // A UBL rate counts only in a VAT category (GST is not VAT here).
         xmlNode *rate = c.first(c.pick("ram:RateApplicablePercent", "cac:TaxCategory/cbc:Percent"));
         if (!c.cii() && !isVatScheme(c.first("cac:TaxCategory/cac:TaxScheme")))
             rate = nullptr;
         const std::optional<Decimal> percent =
             rate ? Decimal::fromXml(Text(rate)).value : std::optional<Decimal>();
         // Without a rate, or at a rate of nought, there is no VAT to speak of.
         if (!percent || percent->rounded(0).isZero()) {
             c.at = amount;
             c.values = {where, QStringLiteral("0.00"), Text(amount)};
             return stated && stated->rounded(0).isZero();
         }
         const std::optional<Decimal> basis = c.number(c.pick("ram:BasisAmount", "cbc:TaxableAmount"));
         if (!basis || !stated)
             return false;
         // The check of sums allows a difference of exactly one unit, as CII does; UBL does not.
         if (!c.cii()) {
             const std::optional<Decimal> expected = Decimal::divided(*basis * *percent, Decimal(100), 2);
             if (expected && (expected->abs() - stated->abs()).abs() == Decimal(1)) {
                 c.at = amount;
                 c.values = {where, expected->toText(2, true), Text(amount)};
                 return false;
             }
         }
         for (const SumFinding &f : sums(c.doc))
             if (f.rule == QLatin1String("BR-CO-17") && f.where == where &&
                 (!stated || stated->toText(2, true) == f.found)) {
                 c.at = amount;
                 c.values = {f.where, f.expected, f.found};
                 return false;
             }
         return true;
     }},
};

} // namespace

std::span<const Rule> CalculationRules()
{
    return Rules;
}

} // namespace invorator::validation
