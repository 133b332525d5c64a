// BR-DEC-*, the number of decimals of amounts.
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

#define CII_TOTALS                                                                                           \
    "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"                                   \
    "ram:SpecifiedTradeSettlementHeaderMonetarySummation/"
#define UBL_TOTALS "cac:LegalMonetaryTotal/"

// The digits after the decimal point of an amount as written: white space around the number
// counts too, as it does for the official rules, which measure the text itself.
qsizetype decimals(const xmlNode *amount)
{
    const QString text = RawText(amount);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : text.size() - point - 1;
}

// Reports every amount on the path with more than two decimals, naming the element and the
// amount.
bool atMostTwo(RuleContext &c, const char *path)
{
    for (xmlNode *amount : c.all(path))
        if (decimals(amount) > 2)
            c.fail(amount, {NameOf(amount), Text(amount)});
    return c.failures.empty();
}

// BT-110 and BT-111: the VAT total in the invoice currency or in the VAT accounting one, told
// apart by the currency it names.
bool vatTotal(RuleContext &c, const char *currencyPath)
{
    const QString currency = c.text(currencyPath);
    for (xmlNode *amount : c.all(c.pick(CII_TOTALS "ram:TaxTotalAmount", "cac:TaxTotal/cbc:TaxAmount")))
        if (!currency.isEmpty() && Text(amount, "@currencyID") == currency && decimals(amount) > 2)
            c.fail(amount, {NameOf(amount), Text(amount)});
    return c.failures.empty();
}

constexpr Rule Rules[] = {
    // BT-92, BT-93 document allowance amount and its base
    {"BR-DEC-01", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:ActualAmount", "cbc:Amount"));
     }},
    {"BR-DEC-02", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocAllowance,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:BasisAmount", "cbc:BaseAmount"));
     }},
    // BT-99, BT-100 document charge amount and its base
    {"BR-DEC-05", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:ActualAmount", "cbc:Amount"));
     }},
    {"BR-DEC-06", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::DocCharge,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:BasisAmount", "cbc:BaseAmount"));
     }},
    // BT-106 sum of line net amounts
    {"BR-DEC-09", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick(CII_TOTALS "ram:LineTotalAmount", UBL_TOTALS "cbc:LineExtensionAmount"));
     }},
    // BT-107 sum of allowances
    {"BR-DEC-10", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(
             c, c.pick(CII_TOTALS "ram:AllowanceTotalAmount", UBL_TOTALS "cbc:AllowanceTotalAmount"));
     }},
    // BT-108 sum of charges
    {"BR-DEC-11", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick(CII_TOTALS "ram:ChargeTotalAmount", UBL_TOTALS "cbc:ChargeTotalAmount"));
     }},
    // BT-109 total without VAT
    {"BR-DEC-12", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c,
                          c.pick(CII_TOTALS "ram:TaxBasisTotalAmount", UBL_TOTALS "cbc:TaxExclusiveAmount"));
     }},
    // BT-110 VAT total in the invoice currency
    {"BR-DEC-13", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return vatTotal(c, c.pick("rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"
                                   "ram:InvoiceCurrencyCode",
                                   "cbc:DocumentCurrencyCode"));
     }},
    // BT-112 total with VAT
    {"BR-DEC-14", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick(CII_TOTALS "ram:GrandTotalAmount", UBL_TOTALS "cbc:TaxInclusiveAmount"));
     }},
    // BT-111 VAT total in the VAT accounting currency
    {"BR-DEC-15", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return vatTotal(c, c.pick("rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"
                                   "ram:TaxCurrencyCode",
                                   "cbc:TaxCurrencyCode"));
     }},
    // BT-113 paid amount
    {"BR-DEC-16", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick(CII_TOTALS "ram:TotalPrepaidAmount", UBL_TOTALS "cbc:PrepaidAmount"));
     }},
    // BT-114 rounding amount
    {"BR-DEC-17", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick(CII_TOTALS "ram:RoundingAmount", UBL_TOTALS "cbc:PayableRoundingAmount"));
     }},
    // BT-115 amount due for payment
    {"BR-DEC-18", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick(CII_TOTALS "ram:DuePayableAmount", UBL_TOTALS "cbc:PayableAmount"));
     }},
    // BT-116, BT-117 VAT category taxable amount and tax amount
    {"BR-DEC-19", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:BasisAmount", "cbc:TaxableAmount"));
     }},
    {"BR-DEC-20", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::VatBreakdown,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:CalculatedAmount", "cbc:TaxAmount"));
     }},
    // BT-131 line net amount
    {"BR-DEC-23", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Line,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:SpecifiedLineTradeSettlement/"
                                    "ram:SpecifiedTradeSettlementLineMonetarySummation/ram:LineTotalAmount",
                                    "cbc:LineExtensionAmount"));
     }},
    // BT-136, BT-137 line allowance amount and its base
    {"BR-DEC-24", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineAllowance,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:ActualAmount", "cbc:Amount"));
     }},
    {"BR-DEC-25", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineAllowance,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:BasisAmount", "cbc:BaseAmount"));
     }},
    // BT-141, BT-142 line charge amount and its base
    {"BR-DEC-27", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineCharge,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:ActualAmount", "cbc:Amount"));
     }},
    {"BR-DEC-28", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::LineCharge,
     [](RuleContext &c) {
         return atMostTwo(c, c.pick("ram:BasisAmount", "cbc:BaseAmount"));
     }},
};

} // namespace

std::span<const Rule> DecimalRules()
{
    return Rules;
}

} // namespace invorator::validation
