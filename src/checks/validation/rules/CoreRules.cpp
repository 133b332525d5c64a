// BR-01 … BR-65: what every EN 16931 invoice must carry.
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

// Header paths of CII, below the root.
#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"

constexpr Rule Rules[] = {
    // BT-24 specification identifier
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
};

} // namespace

std::span<const Rule> CoreRules()
{
    return Rules;
}

} // namespace invorator::validation
