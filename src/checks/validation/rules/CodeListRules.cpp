// BR-CL-*, codes from their lists.
#include "checks/validation/CodeLists.h"
#include "checks/validation/RuleContext.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace invorator::validation {

namespace {

// A code may stand anywhere its element does, also outside the places the reader maps, so
// these rules look at every element of a name. One walk of the document finds all of
// them; the rules then only read their own names' lists.
using ByName = std::unordered_map<std::string_view, Nodes>;

constexpr std::string_view Watched[] = {
    // UBL
    "cbc:InvoiceTypeCode", "cbc:CreditNoteTypeCode", "cbc:Amount", "cbc:BaseAmount", "cbc:PriceAmount",
    "cbc:TaxAmount", "cbc:TaxableAmount", "cbc:LineExtensionAmount", "cbc:TaxExclusiveAmount",
    "cbc:TaxInclusiveAmount", "cbc:AllowanceTotalAmount", "cbc:ChargeTotalAmount", "cbc:PrepaidAmount",
    "cbc:PayableRoundingAmount", "cbc:PayableAmount", "cbc:DocumentCurrencyCode", "cbc:TaxCurrencyCode",
    "cbc:DescriptionCode", "cbc:ID", "cbc:CompanyID", "cbc:ItemClassificationCode", "cbc:IdentificationCode",
    "cbc:PaymentMeansCode", "cbc:AllowanceChargeReasonCode", "cbc:TaxExemptionReasonCode",
    "cbc:InvoicedQuantity", "cbc:CreditedQuantity", "cbc:BaseQuantity", "cbc:EmbeddedDocumentBinaryObject",
    "cbc:EndpointID",
    // CII
    "ram:TypeCode", "ram:InvoiceCurrencyCode", "ram:TaxCurrencyCode", "ram:DueDateTypeCode",
    "ram:ReferenceTypeCode", "ram:SubjectCode", "ram:GlobalID", "ram:ID", "ram:ClassCode", "ram:CountryID",
    "ram:CategoryCode", "ram:ReasonCode", "ram:ExemptionReasonCode", "ram:BilledQuantity",
    "ram:BasisQuantity", "ram:AttachmentBinaryObject", "ram:URIID",
    // any element with a currency attribute (CII)
    "@currencyID"};

constexpr std::pair<const char *, const char *> Prefixes[] = {
    {"urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2", "cbc:"},
    {"urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100", "ram:"},
};

ByName indexElements(xmlNode *root)
{
    ByName index;
    for (std::string_view name : Watched)
        index[name];
    char key[96];
    // Depth first without recursion: a hostile document may nest deeply.
    for (xmlNode *node = root; node;) {
        if (node->type == XML_ELEMENT_NODE) {
            if (node->ns && node->ns->href)
                for (const auto &[uri, prefix] : Prefixes)
                    if (xmlStrEqual(node->ns->href, BAD_CAST uri)) {
                        const size_t length = std::strlen(reinterpret_cast<const char *>(node->name));
                        if (length + 5 > sizeof key)
                            break;
                        std::memcpy(key, prefix, 4);
                        std::memcpy(key + 4, node->name, length);
                        const auto it = index.find(std::string_view(key, length + 4));
                        if (it != index.end())
                            it->second.push_back(node);
                        break;
                    }
            if (xmlHasProp(node, BAD_CAST "currencyID"))
                index["@currencyID"].push_back(node);
            if (node->children) {
                node = node->children;
                continue;
            }
        }
        while (node && !node->next && node != root)
            node = node->parent;
        if (!node || node == root)
            break;
        node = node->next;
    }
    return index;
}

const Nodes &named(const Facts &doc, std::string_view name)
{
    const ByName &index = doc.once<ByName>("codes.elements", [&doc] { return indexElements(doc.root); });
    static const Nodes none;
    const auto it = index.find(name);
    return it == index.end() ? none : it->second;
}

// How a value is compared with the list.
enum class Compare {
    Collapsed, // white space at both ends dropped; a code never holds any inside
    Upper,     // the same, upper-cased first
    Exact,     // as written
};

QString valueOf(const xmlNode *node, Compare compare)
{
    if (compare == Compare::Collapsed)
        return Text(node);
    if (compare == Compare::Upper)
        return Text(node).toUpper();
    return RawText(node);
}

// Whether the parent is the aggregate of that name: in UBL one of cac:, in CII one of ram:
// or rsm: (the document's own parts).
bool parentIs(const xmlNode *node, const char *localName)
{
    static constexpr const char *aggregates[] = {
        "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2",
        "urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100",
        "urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100",
    };
    const xmlNode *parent = node->parent;
    if (!parent || parent->type != XML_ELEMENT_NODE || !parent->ns || !parent->ns->href ||
        !xmlStrEqual(parent->name, BAD_CAST localName))
        return false;
    return std::any_of(std::begin(aggregates), std::end(aggregates),
                       [parent](const char *uri) { return xmlStrEqual(parent->ns->href, BAD_CAST uri); });
}

// Whether the element belongs to a party (seller, buyer, payee, …) directly.
bool ofParty(const xmlNode *node)
{
    return node->parent && node->parent->type == XML_ELEMENT_NODE &&
           std::string_view(reinterpret_cast<const char *>(node->parent->name)).ends_with("TradeParty");
}

bool hasAncestor(const xmlNode *node, const char *localName)
{
    for (node = node->parent; node && node->type == XML_ELEMENT_NODE; node = node->parent)
        if (xmlStrEqual(node->name, BAD_CAST localName))
            return true;
    return false;
}

// The charge indicator of an allowance or charge as its boolean; nothing when it is neither.
std::optional<bool> isCharge(xmlNode *allowanceCharge, bool cii)
{
    const QString value =
        Text(allowanceCharge, cii ? "ram:ChargeIndicator/udt:Indicator" : "cbc:ChargeIndicator");
    if (value == QLatin1String("true") || value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("false") || value == QLatin1String("0"))
        return false;
    return std::nullopt;
}

using Where = bool (*)(xmlNode *element);

// What one code rule compares: the elements of a name (those `where` accepts), their text or
// an attribute, and the list. `required` makes a missing attribute wrong; otherwise an
// element without it is not looked at.
struct CodeCheck
{
    std::string_view element;
    const char *attribute = nullptr;
    const char *list = nullptr;
    Compare compare = Compare::Collapsed;
    Where where = nullptr;
    bool required = false;
    const char *alsoList = nullptr; // a second list, for the elements `alsoWhere` accepts
    Where alsoWhere = nullptr;
};

// Reports every element whose code is not in its list, at the code: its value and the
// element's name are the message's values.
bool check(RuleContext &c, const CodeCheck &rule)
{
    for (xmlNode *element : named(c.doc, rule.element)) {
        if (rule.where && !rule.where(element))
            continue;
        xmlNode *code = element;
        if (rule.attribute) {
            code = reinterpret_cast<xmlNode *>(xmlHasProp(element, BAD_CAST rule.attribute));
            if (!code && !rule.required)
                continue;
        }
        const QString value = code ? valueOf(code, rule.compare) : QString();
        if (c.doc.codes.contains(QString::fromLatin1(rule.list), value))
            continue;
        if (rule.alsoList && rule.alsoWhere(element) &&
            c.doc.codes.contains(QString::fromLatin1(rule.alsoList), value))
            continue;
        c.fail(code ? code : element, {value, NameOf(element)});
    }
    return c.failures.empty();
}

constexpr Rule Rules[] = {
    // BT-3 invoice type code; UBL invoices and credit notes have lists of their own
    {"BR-CL-01", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:TypeCode", nullptr, "UNTDID-1001-CII", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "ExchangedDocument");
                              }});
         if (c.doc.creditNote)
             return check(c, {"cbc:CreditNoteTypeCode", nullptr, "UNTDID-1001-UBL-CreditNote"});
         return check(c, {"cbc:InvoiceTypeCode", nullptr, "UNTDID-1001-UBL-Invoice"});
     }},
    // the currency of every amount; in UBL each amount must name one
    {"BR-CL-03", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"@currencyID", "currencyID", "ISO-4217"});
         static constexpr std::string_view amounts[] = {"cbc:Amount",
                                                        "cbc:BaseAmount",
                                                        "cbc:PriceAmount",
                                                        "cbc:TaxAmount",
                                                        "cbc:TaxableAmount",
                                                        "cbc:LineExtensionAmount",
                                                        "cbc:TaxExclusiveAmount",
                                                        "cbc:TaxInclusiveAmount",
                                                        "cbc:AllowanceTotalAmount",
                                                        "cbc:ChargeTotalAmount",
                                                        "cbc:PrepaidAmount",
                                                        "cbc:PayableRoundingAmount",
                                                        "cbc:PayableAmount"};
         for (std::string_view amount : amounts)
             check(c, {amount, "currencyID", "ISO-4217", Compare::Collapsed, nullptr, true});
         return c.failures.empty();
     }},
    // BT-5 invoice currency
    {"BR-CL-04", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return check(
             c, {c.cii() ? "ram:InvoiceCurrencyCode" : "cbc:DocumentCurrencyCode", nullptr, "ISO-4217"});
     }},
    // BT-6 VAT accounting currency
    {"BR-CL-05", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return check(c, {c.cii() ? "ram:TaxCurrencyCode" : "cbc:TaxCurrencyCode", nullptr, "ISO-4217"});
     }},
    // BT-8 VAT point date code: CII codes the event, UBL the period
    {"BR-CL-06", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:DueDateTypeCode", nullptr, "UNTDID-2475"});
         return check(c, {"cbc:DescriptionCode", nullptr, "UNTDID-2005", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "InvoicePeriod");
                          }});
     }},
    // BT-18 and BT-128 scheme of an invoiced object identifier (document type 130)
    {"BR-CL-07", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:ReferenceTypeCode", nullptr, "UNTDID-1153"});
         return check(c, {"cbc:ID", "schemeID", "UNTDID-1153", Compare::Collapsed, [](xmlNode *e) {
                              return (parentIs(e, "AdditionalDocumentReference") ||
                                      parentIs(e, "DocumentReference")) &&
                                     Text(e->parent, "cbc:DocumentTypeCode") == QLatin1String("130");
                          }});
     }},
    // BT-21 subject of an invoice note
    {"BR-CL-08", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return check(c, {"ram:SubjectCode", nullptr, "UNTDID-4451"});
     }},
    // BT-29, BT-46, BT-60 scheme of a party identifier; UBL also takes SEPA creditor ids for
    // the seller and the payee
    {"BR-CL-10", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:GlobalID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                                  return !parentIs(e, "SpecifiedTradeProduct") &&
                                         !parentIs(e, "ShipToTradeParty");
                              }});
         return check(c, {"cbc:ID", "schemeID", "ISO-6523-ICD", Compare::Collapsed,
                          [](xmlNode *e) { return parentIs(e, "PartyIdentification"); }, false, "SEPA",
                          [](xmlNode *e) {
                              return hasAncestor(e, "AccountingSupplierParty") ||
                                     hasAncestor(e, "PayeeParty");
                          }});
     }},
    // BT-30, BT-47, BT-61 scheme of a legal registration identifier
    {"BR-CL-11", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:ID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "SpecifiedLegalOrganization") || ofParty(e);
                              }});
         return check(c, {"cbc:CompanyID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "PartyLegalEntity");
                          }});
     }},
    // BT-158 scheme of an item classification
    {"BR-CL-13", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return check(c, {c.cii() ? "ram:ClassCode" : "cbc:ItemClassificationCode", "listID", "UNTDID-7143"});
     }},
    // BT-40, BT-55, BT-69, BT-80 country codes
    {"BR-CL-14", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:CountryID", nullptr, "ISO-3166-1-alpha2-CII"});
         return check(c, {"cbc:IdentificationCode", nullptr, "ISO-3166-1-alpha2-UBL", Compare::Collapsed,
                          [](xmlNode *e) {
                              return parentIs(e, "Country");
                          }});
     }},
    // BT-159 country of origin of an item
    {"BR-CL-15", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:ID", nullptr, "ISO-3166-1-alpha2-CII", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "OriginTradeCountry");
                              }});
         return check(c, {"cbc:IdentificationCode", nullptr, "ISO-3166-1-alpha2-UBL", Compare::Collapsed,
                          [](xmlNode *e) {
                              return parentIs(e, "OriginCountry");
                          }});
     }},
    // BT-81 payment means code
    {"BR-CL-16", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:TypeCode", nullptr, "UNTDID-4461", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "SpecifiedTradeSettlementPaymentMeans");
                              }});
         return check(c, {"cbc:PaymentMeansCode", nullptr, "UNTDID-4461", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "PaymentMeans");
                          }});
     }},
    // BT-95, BT-102, BT-118 VAT category of an allowance, a charge or the breakdown
    {"BR-CL-17", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:CategoryCode", nullptr, "UNCL-5305", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "CategoryTradeTax");
                              }});
         return check(c, {"cbc:ID", nullptr, "UNCL-5305", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "TaxCategory");
                          }});
     }},
    // BT-151 VAT category of a line (CII: every applicable trade tax)
    {"BR-CL-18", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:CategoryCode", nullptr, "UNCL-5305", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "ApplicableTradeTax");
                              }});
         return check(c, {"cbc:ID", nullptr, "UNCL-5305", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "ClassifiedTaxCategory");
                          }});
     }},
    // BT-98, BT-140 allowance reason code
    {"BR-CL-19", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:ReasonCode", nullptr, "UNTDID-5189", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "SpecifiedTradeAllowanceCharge") &&
                                         isCharge(e->parent, true) == false;
                              }});
         return check(
             c, {"cbc:AllowanceChargeReasonCode", nullptr, "UNTDID-5189", Compare::Collapsed, [](xmlNode *e) {
                     return parentIs(e, "AllowanceCharge") && isCharge(e->parent, false) == false;
                 }});
     }},
    // BT-105, BT-145 charge reason code
    {"BR-CL-20", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:ReasonCode", nullptr, "UNTDID-7161", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "SpecifiedTradeAllowanceCharge") &&
                                         isCharge(e->parent, true) == true;
                              }});
         return check(
             c, {"cbc:AllowanceChargeReasonCode", nullptr, "UNTDID-7161", Compare::Collapsed, [](xmlNode *e) {
                     return parentIs(e, "AllowanceCharge") && isCharge(e->parent, false) == true;
                 }});
     }},
    // BT-157 scheme of an item's standard identifier
    {"BR-CL-21", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:GlobalID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "SpecifiedTradeProduct");
                              }});
         return check(c, {"cbc:ID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "StandardItemIdentification");
                          }});
     }},
    // BT-121 VAT exemption reason code, in any case
    {"BR-CL-22", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return check(c, {c.cii() ? "ram:ExemptionReasonCode" : "cbc:TaxExemptionReasonCode", nullptr,
                          "VATEX", Compare::Upper});
     }},
    // BT-130, BT-150 unit of measure of a quantity
    {"BR-CL-23", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         static constexpr std::string_view cii[] = {"ram:BilledQuantity", "ram:BasisQuantity"};
         static constexpr std::string_view ubl[] = {"cbc:InvoicedQuantity", "cbc:CreditedQuantity",
                                                    "cbc:BaseQuantity"};
         const std::span<const std::string_view> quantities =
             c.cii() ? std::span<const std::string_view>(cii) : std::span<const std::string_view>(ubl);
         for (std::string_view quantity : quantities)
             check(c, {quantity, "unitCode", "UNECE-Rec20-Rec21"});
         return c.failures.empty();
     }},
    // BT-125 MIME type of an attached document, as written
    {"BR-CL-24", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return check(c, {c.cii() ? "ram:AttachmentBinaryObject" : "cbc:EmbeddedDocumentBinaryObject",
                          "mimeCode", "MIME", Compare::Exact});
     }},
    // BT-34, BT-49 scheme of an electronic address
    {"BR-CL-25", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         return check(c, {c.cii() ? "ram:URIID" : "cbc:EndpointID", "schemeID", "CEF-EAS"});
     }},
    // BT-71 scheme of the delivery location identifier
    {"BR-CL-26", FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return check(c, {"ram:GlobalID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                                  return parentIs(e, "ShipToTradeParty");
                              }});
         return check(c, {"cbc:ID", "schemeID", "ISO-6523-ICD", Compare::Collapsed, [](xmlNode *e) {
                              return parentIs(e, "DeliveryLocation");
                          }});
     }},
};

} // namespace

std::span<const Rule> CodeListRules()
{
    return Rules;
}

} // namespace invorator::validation
