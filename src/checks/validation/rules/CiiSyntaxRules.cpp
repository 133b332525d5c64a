// CII-SR-* and CII-DT-*, the CII binding's own rules: elements of the CII schema that an
// EN 16931 invoice does not use, elements it uses at most once, and data type attributes.
#include "checks/validation/RuleContext.h"

#include <algorithm>
#include <array>
#include <utility>

namespace invorator::validation {

namespace {

#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"

// An element of the CII schema that no business term of EN 16931 maps to: present, it is
// reported as a warning at each occurrence, naming it.
struct UnusedElement
{
    const char *id;
    Scope scope;
    const char *path; // below the scope's node
};

constexpr UnusedElement UnusedElements[] = {
    // a seller of the single line
    {"CII-SR-148", Scope::Line, "ram:SpecifiedLineTradeAgreement/ram:ItemSellerTradeParty"},
    // VAT amount and gross amount of a line: EN 16931 carries VAT only per breakdown
    {"CII-SR-200", Scope::Line,
     "ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeSettlementLineMonetarySummation/ram:TaxTotalAmount"},
    {"CII-SR-201", Scope::Line,
     "ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeSettlementLineMonetarySummation/"
     "ram:GrandTotalAmount"},
    // the buyer's bank of a direct debit; the mandate needs only the debited account (BT-91)
    {"CII-SR-464", Scope::PaymentMeans, "ram:PayerSpecifiedDebtorFinancialInstitution"},
};

bool unused(RuleContext &c)
{
    const auto row =
        std::find_if(std::begin(UnusedElements), std::end(UnusedElements),
                     [&c](const UnusedElement &e) { return std::string_view(e.id) == c.rule->id; });
    for (xmlNode *element : c.all(row->path))
        c.fail(element, {NameOf(element)});
    return true;
}

// The elements on a path beyond the first: where a business term may occur once, each
// further occurrence is reported.
bool atMostOnce(RuleContext &c, const char *path)
{
    const Nodes found = c.all(path);
    for (size_t i = 1; i < found.size(); ++i)
        c.fail(found[i], {NameOf(found[i]), QString::number(found.size())});
    return true;
}

// Every element below `node` that carries the attribute, in document order; walked without
// recursion, so that no nesting depth can exhaust the stack.
void withAttribute(xmlNode *node, const xmlChar *attribute, Nodes &out)
{
    xmlNode *at = node->children;
    while (at && at != node) {
        if (at->type == XML_ELEMENT_NODE) {
            if (xmlHasProp(at, attribute))
                out.push_back(at);
            if (at->children) {
                at = at->children;
                continue;
            }
        }
        while (at != node && !at->next)
            at = at->parent;
        if (at != node)
            at = at->next;
    }
}

// A contact point (BG-6, BG-9) names either a person or a department: both is one too many.
bool contactNamesOne(RuleContext &c, const char *contacts)
{
    for (xmlNode *contact : c.all(contacts))
        if (First(contact, "ram:PersonName"))
            if (xmlNode *department = First(contact, "ram:DepartmentName"))
                c.fail(department, {Text(contact, "ram:PersonName"), Text(department)});
    return true;
}

constexpr Rule Own[] = {
    // Amounts are in the invoice currency (BT-5); only the VAT total names its currency,
    // to tell the VAT total in accounting currency (BT-111) apart.
    {"CII-DT-031", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         Nodes amounts;
         withAttribute(c.node, BAD_CAST "currencyID", amounts);
         for (xmlNode *amount : amounts)
             if (!xmlStrEqual(amount->name, BAD_CAST "TaxTotalAmount"))
                 c.fail(amount, {NameOf(amount), Text(amount, "@currencyID")});
         return true;
     }},
    // BT-128: a line refers to one object at most
    {"CII-SR-439", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Line,
     [](RuleContext &c) {
         return atMostOnce(c, "ram:SpecifiedLineTradeSettlement/ram:AdditionalReferencedDocument");
     }},
    // BT-7: the VAT point date is one date for the whole invoice, given once
    {"CII-SR-461", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CII_SETTLEMENT "ram:ApplicableTradeTax/ram:TaxPointDate");
     }},
    {"CII-SR-465", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return contactNamesOne(c, CII_AGREEMENT "ram:SellerTradeParty/ram:DefinedTradeContact");
     }},
    {"CII-SR-466", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return contactNamesOne(c, CII_AGREEMENT "ram:BuyerTradeParty/ram:DefinedTradeContact");
     }},
    // A credit transfer (BT-81 code 30 or 58) needs the account it is paid to (BG-17).
    {"CII-SR-470", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::PaymentMeans,
     [](RuleContext &c) {
         const QString code = c.text("ram:TypeCode");
         if (code != QLatin1String("30") && code != QLatin1String("58"))
             return true;
         if (c.has("ram:PayeePartyCreditorFinancialAccount"))
             return true;
         c.at = c.first("ram:TypeCode");
         c.values = {code};
         return false;
     }},
    // BT-123 and BT-125: the description and the attached file of a supporting document
    // (BG-24) may each be given once in the invoice.
    {"CII-SR-475", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CII_AGREEMENT "ram:AdditionalReferencedDocument/ram:Name");
     }},
    {"CII-SR-476", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CII_AGREEMENT "ram:AdditionalReferencedDocument/ram:AttachmentBinaryObject");
     }},
};

constexpr auto unusedRules()
{
    std::array<Rule, std::size(UnusedElements)> rules{};
    for (size_t i = 0; i < rules.size(); ++i)
        rules[i] = Rule{UnusedElements[i].id,    FindingFlag::Warning,
                        Ruleset::En16931,        Cii,
                        UnusedElements[i].scope, &unused};
    return rules;
}

template <size_t A, size_t B>
constexpr std::array<Rule, A + B> joined(const Rule (&a)[A], const std::array<Rule, B> &b)
{
    std::array<Rule, A + B> all{};
    for (size_t i = 0; i < A; ++i)
        all[i] = a[i];
    for (size_t i = 0; i < B; ++i)
        all[A + i] = b[i];
    return all;
}

constexpr auto Rules = joined(Own, unusedRules());

} // namespace

std::span<const Rule> CiiSyntaxRules()
{
    return Rules;
}

} // namespace invorator::validation
