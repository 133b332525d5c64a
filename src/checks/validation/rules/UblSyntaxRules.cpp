// UBL-SR-*, UBL-CR-* and UBL-DT-*, the UBL binding's own rules: elements that may occur
// only once, elements EN 16931 does not use, and what amounts and attachments look like.
#include "checks/validation/RuleContext.h"

#include <QSet>

#include <array>
#include <utility>

namespace invorator::validation {

namespace {

#define SUPPLIER "cac:AccountingSupplierParty/cac:Party/"
#define CUSTOMER "cac:AccountingCustomerParty/cac:Party/"

bool isVat(xmlNode *partyTaxScheme)
{
    return Text(partyTaxScheme, "cac:TaxScheme/cbc:ID") == QLatin1String("VAT");
}

// Fails at the second node of `nodes` and every one after it: the element may occur once.
bool atMostOnce(RuleContext &c, const Nodes &nodes)
{
    for (size_t i = 1; i < nodes.size(); ++i)
        c.fail(nodes[i], {NameOf(nodes[i])});
    return nodes.size() <= 1;
}

bool atMostOnce(RuleContext &c, const char *path)
{
    return atMostOnce(c, c.all(path));
}

// The tax numbers of a party's PartyTaxScheme entries, VAT ones or the others. An entry
// without a tax scheme is neither.
Nodes taxNumbers(xmlNode *party, bool vat)
{
    Nodes out;
    for (xmlNode *scheme : All(party, "cac:PartyTaxScheme")) {
        if (!First(scheme, "cac:TaxScheme/cbc:ID") || isVat(scheme) != vat)
            continue;
        for (xmlNode *number : All(scheme, "cbc:CompanyID"))
            out.push_back(number);
    }
    return out;
}

// The elements on `path` below each node on `context` beyond the first: the element may
// occur once per context node, however many context nodes there are.
bool oncePer(RuleContext &c, const char *context, const char *path)
{
    bool once = true;
    for (xmlNode *node : c.all(context))
        once = atMostOnce(c, All(node, path)) && once;
    return once;
}

// The supporting documents (BG-24) that are the invoiced object identifier (BT-18), told by
// document type code 130.
Nodes invoicedObjects(RuleContext &c)
{
    Nodes out;
    for (xmlNode *reference : c.all("cac:AdditionalDocumentReference"))
        if (Text(reference, "cbc:DocumentTypeCode") == QLatin1String("130"))
            out.push_back(reference);
    return out;
}

// The payee's details count only where the payee is someone other than the seller, told by
// a payee name (BT-59) that differs from the seller name (BT-27). Without either name
// the payee cannot be told apart and the rule fails.
bool payeeOnce(RuleContext &c, const char *path)
{
    xmlNode *payee = c.first("cac:PayeeParty");
    if (!payee)
        return true;
    bool differs = false;
    for (xmlNode *name : All(payee, "cac:PartyName/cbc:Name"))
        for (xmlNode *seller : c.all(SUPPLIER "cac:PartyLegalEntity/cbc:RegistrationName"))
            differs = differs || Text(name) != Text(seller);
    const bool once = atMostOnce(c, All(payee, path));
    if (!differs) {
        c.at = payee;
        return false;
    }
    return once;
}

// The distinct values of the nodes on a path; one value may repeat, a second may not.
bool oneValue(RuleContext &c, const char *path)
{
    QSet<QString> seen;
    for (xmlNode *node : c.all(path)) {
        seen.insert(Text(node));
        if (seen.size() > 1)
            c.fail(node, {Text(node)});
    }
    return seen.size() <= 1;
}

// Walks an element's subtree for amounts with more than two decimals. Prices (BT-146 and
// its allowance, BT-147/148) may carry more and are skipped.
void checkAmounts(RuleContext &c, xmlNode *element)
{
    static const xmlChar *const cac = reinterpret_cast<const xmlChar *>(
        "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2");
    static const xmlChar *const cbc = reinterpret_cast<const xmlChar *>(
        "urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2");
    for (xmlNode *child = element->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !child->ns)
            continue;
        const std::string_view name(reinterpret_cast<const char *>(child->name));
        if (xmlStrEqual(child->ns->href, cac)) {
            if (name != "Price")
                checkAmounts(c, child);
        } else if (xmlStrEqual(child->ns->href, cbc) && name.ends_with("Amount")) {
            const QString text = Text(child);
            const qsizetype point = text.indexOf(QLatin1Char('.'));
            if (point >= 0 && text.size() - point - 1 > 2)
                c.fail(child, {NameOf(child), text});
        }
    }
}

// An additional document's identifier may name its scheme only where the document is the
// invoiced object (BT-18, type 130); the fatal rule and the warning on the unused
// attribute fail on the same documents.
bool schemeOnlyForObject(RuleContext &c)
{
    for (xmlNode *reference : c.all("cac:AdditionalDocumentReference"))
        if (xmlNode *scheme = First(reference, "cbc:ID/@schemeID");
            scheme && Text(reference, "cbc:DocumentTypeCode") != QLatin1String("130"))
            c.fail(scheme, {Text(scheme)});
    return true;
}

bool attachmentHas(RuleContext &c, const char *attribute)
{
    for (xmlNode *object :
         c.all("cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject"))
        if (!First(object, attribute))
            c.fail(object, {NameOf(object)});
    return true;
}

// Elements and attributes EN 16931 does not use: each id with where the element may
// occur, below the root and below each line. The ids follow the order of the elements in
// the UBL schema; where the only test file that shows an id carries several unused
// elements (the credit note in the corpus), that order tells which element it is.
struct Unused
{
    const char *id;
    std::array<const char *, 4> paths;
    const char *linePath;
};

constexpr Unused UnusedElements[] = {
    {"UBL-CR-099", {"cac:ContractDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-114", {"cac:AdditionalDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-147", {SUPPLIER "cac:PostalAddress/cbc:ID"}, nullptr},
    {"UBL-CR-150", {SUPPLIER "cac:PostalAddress/cbc:Postbox"}, nullptr},
    {"UBL-CR-155", {SUPPLIER "cac:PostalAddress/cbc:BuildingNumber"}, nullptr},
    {"UBL-CR-157", {SUPPLIER "cac:PostalAddress/cbc:Department"}, nullptr},
    {"UBL-CR-162", {SUPPLIER "cac:PostalAddress/cbc:CountrySubentityCode"}, nullptr},
    {"UBL-CR-185", {SUPPLIER "cac:PartyLegalEntity/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-190", {SUPPLIER "cac:Contact/cbc:Telefax"}, nullptr},
    {"UBL-CR-193", {SUPPLIER "cac:Person"}, nullptr},
    {"UBL-CR-210", {CUSTOMER "cac:PostalAddress/cbc:ID"}, nullptr},
    {"UBL-CR-213", {CUSTOMER "cac:PostalAddress/cbc:Postbox"}, nullptr},
    {"UBL-CR-218", {CUSTOMER "cac:PostalAddress/cbc:BuildingNumber"}, nullptr},
    {"UBL-CR-220", {CUSTOMER "cac:PostalAddress/cbc:Department"}, nullptr},
    {"UBL-CR-249", {CUSTOMER "cac:PartyLegalEntity/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-254", {CUSTOMER "cac:Contact/cbc:Telefax"}, nullptr},
    {"UBL-CR-257", {CUSTOMER "cac:Person"}, nullptr},
    {"UBL-CR-302", {"cac:TaxRepresentativeParty/cac:PartyIdentification"}, nullptr},
    {"UBL-CR-434", {"cac:PaymentMeans/cac:CreditAccount"}, nullptr},
    {"UBL-CR-470", {"cac:PrepaidPayment"}, nullptr},
    {"UBL-CR-528", {}, "cac:OrderLineReference/cac:OrderReference"},
    {"UBL-CR-561", {}, "cac:TaxTotal"},
    {"UBL-CR-634", {}, "cac:Price/cac:AllowanceCharge/cbc:AllowanceChargeReason"},
    {"UBL-CR-635", {}, "cac:Price/cac:AllowanceCharge/cbc:MultiplierFactorNumeric"},
    {"UBL-CR-646", {}, "cac:SubInvoiceLine"},
    {"UBL-CR-652",
     {SUPPLIER "cac:PartyTaxScheme/cbc:CompanyID/@schemeID",
      CUSTOMER "cac:PartyTaxScheme/cbc:CompanyID/@schemeID",
      "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cbc:CompanyID/@schemeID"},
     nullptr},
    {"UBL-CR-660",
     {SUPPLIER "cac:PostalAddress/cac:Country/cbc:IdentificationCode/@listID",
      CUSTOMER "cac:PostalAddress/cac:Country/cbc:IdentificationCode/@listID",
      "cac:TaxRepresentativeParty/cac:PostalAddress/cac:Country/cbc:IdentificationCode/@listID",
      "cac:Delivery/cac:DeliveryLocation/cac:Address/cac:Country/cbc:IdentificationCode/@listID"},
     nullptr},
    {"UBL-CR-678",
     {"cac:AllowanceCharge/cac:TaxCategory/cbc:ID/@schemeID",
      "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:ID/@schemeID"},
     nullptr},
    {"UBL-CR-679", {}, "cac:Item/cac:ClassifiedTaxCategory/cbc:ID/@schemeID"},
};

template <size_t I> bool unused(RuleContext &c)
{
    const Unused &rule = UnusedElements[I];
    // The message names the element with its parent: "cbc:ID" alone says little.
    const auto report = [&c](xmlNode *from, const char *path) {
        for (xmlNode *node : All(from, path))
            c.fail(node, {NameOf(node->parent) + QLatin1Char('/') + NameOf(node)});
    };
    for (const char *path : rule.paths)
        if (path)
            report(c.node, path);
    if (rule.linePath)
        for (xmlNode *line : c.doc.nodes(Scope::Line))
            report(line, rule.linePath);
    return true;
}

constexpr Rule OwnRules[] = {
    // BT-12 contract reference
    {"UBL-SR-01", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:ContractDocumentReference/cbc:ID");
     }},
    // BT-15 receiving advice reference
    {"UBL-SR-02", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:ReceiptDocumentReference/cbc:ID");
     }},
    // BT-16 despatch advice reference
    {"UBL-SR-03", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:DespatchDocumentReference/cbc:ID");
     }},
    // BT-18 invoiced object identifier: one document reference of type 130
    {"UBL-SR-04", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         Nodes ids;
         for (xmlNode *reference : invoicedObjects(c))
             for (xmlNode *id : All(reference, "cbc:ID"))
                 ids.push_back(id);
         return atMostOnce(c, ids);
     }},
    // BT-20 payment terms
    {"UBL-SR-05", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:PaymentTerms/cbc:Note");
     }},
    // BG-3: a preceding invoice reference names the invoice (BT-25)
    {"UBL-SR-07", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : c.all("cac:BillingReference"))
             if (!Filled(reference, "cac:InvoiceDocumentReference/cbc:ID"))
                 c.fail(reference);
         return true;
     }},
    // BG-14 invoicing period
    {"UBL-SR-08", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:InvoicePeriod");
     }},
    // BT-27 seller name
    {"UBL-SR-09", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, SUPPLIER "cac:PartyLegalEntity/cbc:RegistrationName");
     }},
    // BT-28 seller trading name
    {"UBL-SR-10", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, SUPPLIER "cac:PartyName/cbc:Name");
     }},
    // BT-30 seller legal registration identifier
    {"UBL-SR-11", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, SUPPLIER "cac:PartyLegalEntity/cbc:CompanyID");
     }},
    // BT-31 seller VAT identifier
    {"UBL-SR-12", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, taxNumbers(c.first("cac:AccountingSupplierParty/cac:Party"), true));
     }},
    // BT-32 seller tax registration identifier
    {"UBL-SR-13", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, taxNumbers(c.first("cac:AccountingSupplierParty/cac:Party"), false));
     }},
    // BT-33 seller additional legal information
    {"UBL-SR-14", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, SUPPLIER "cac:PartyLegalEntity/cbc:CompanyLegalForm");
     }},
    // BT-44 buyer name
    {"UBL-SR-15", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CUSTOMER "cac:PartyLegalEntity/cbc:RegistrationName");
     }},
    // BT-46 buyer identifier
    {"UBL-SR-16", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CUSTOMER "cac:PartyIdentification/cbc:ID");
     }},
    // BT-47 buyer legal registration identifier
    {"UBL-SR-17", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CUSTOMER "cac:PartyLegalEntity/cbc:CompanyID");
     }},
    // BT-48 buyer VAT identifier
    {"UBL-SR-18", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, taxNumbers(c.first("cac:AccountingCustomerParty/cac:Party"), true));
     }},
    // BT-59 payee name
    {"UBL-SR-19", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return payeeOnce(c, "cac:PartyName/cbc:Name");
     }},
    // BT-60 payee identifier
    {"UBL-SR-20", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return payeeOnce(c, "cac:PartyIdentification/cbc:ID");
     }},
    // BT-61 payee legal registration identifier
    {"UBL-SR-21", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return payeeOnce(c, "cac:PartyLegalEntity/cbc:CompanyID");
     }},
    // BT-62 seller tax representative name
    {"UBL-SR-22", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:TaxRepresentativeParty/cac:PartyName/cbc:Name");
     }},
    // BT-63 seller tax representative VAT identifier
    {"UBL-SR-23", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cbc:CompanyID");
     }},
    // BG-13 delivery information
    {"UBL-SR-24", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:Delivery");
     }},
    // BT-70 deliver to party name
    {"UBL-SR-25", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:Delivery/cac:DeliveryParty/cac:PartyName/cbc:Name");
     }},
    // BT-89 mandate reference identifier
    {"UBL-SR-28", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:PaymentMeans/cac:PaymentMandate/cbc:ID");
     }},
    // BT-90 bank assigned creditor identifier, given by the seller or the payee
    {"UBL-SR-29", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         Nodes creditor;
         for (xmlNode *id : c.all(SUPPLIER "cac:PartyIdentification/cbc:ID"))
             if (Text(id, "@schemeID") == QLatin1String("SEPA"))
                 creditor.push_back(id);
         for (xmlNode *id : c.all("cac:PayeeParty/cac:PartyIdentification/cbc:ID"))
             if (Text(id, "@schemeID") == QLatin1String("SEPA"))
                 creditor.push_back(id);
         return atMostOnce(c, creditor);
     }},
    // BT-91 debited account identifier
    {"UBL-SR-30", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:ID");
     }},
    // BT-120 VAT exemption reason text, once per VAT breakdown
    {"UBL-SR-32", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory", "cbc:TaxExemptionReason");
     }},
    // BT-123 supporting document description, once per document
    {"UBL-SR-33", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, "cac:AdditionalDocumentReference", "cbc:DocumentDescription");
     }},
    // BT-127 invoice line note
    {"UBL-SR-34", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return atMostOnce(c, "cbc:Note");
     }},
    // BT-132 referenced purchase order line
    {"UBL-SR-35", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:OrderLineReference");
     }},
    // BG-26 invoice line period
    {"UBL-SR-36", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:InvoicePeriod");
     }},
    // BT-147 item price discount
    {"UBL-SR-37", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:Price/cac:AllowanceCharge");
     }},
    // BT-11 project reference
    {"UBL-SR-39", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:ProjectReference/cbc:ID");
     }},
    // BT-45 buyer trading name
    {"UBL-SR-40", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, CUSTOMER "cac:PartyName/cbc:Name");
     }},
    // the seller's VAT identifier and tax registration, two PartyTaxScheme at most
    {"UBL-SR-42", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         const Nodes schemes = c.all(SUPPLIER "cac:PartyTaxScheme");
         for (size_t i = 2; i < schemes.size(); ++i)
             c.fail(schemes[i], {NameOf(schemes[i])});
         return schemes.size() <= 2;
     }},
    // BT-18: a scheme only for the invoiced object identifier (document type 130)
    {"UBL-SR-43", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice, &schemeOnlyForObject},
    // BT-83 remittance information: one value for all payment means
    {"UBL-SR-44", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oneValue(c, "cac:PaymentMeans/cbc:PaymentID");
     }},
    // BT-81 payment means type code: one value for all payment means
    {"UBL-SR-47", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oneValue(c, "cac:PaymentMeans/cbc:PaymentMeansCode");
     }},
    // BG-30: each line has exactly one VAT category
    {"UBL-SR-48", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return c.all("cac:Item/cac:ClassifiedTaxCategory").size() == 1;
     }},
    // BT-8 value added tax point date code
    {"UBL-SR-49", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:InvoicePeriod/cbc:DescriptionCode");
     }},
    // BT-154 item description
    {"UBL-SR-50", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return atMostOnce(c, "cac:Item/cbc:Description");
     }},
    // BT-31, BT-32, BT-48, BT-63: a PartyTaxScheme carries its number and its scheme
    {"UBL-SR-53", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (const char *path : {SUPPLIER "cac:PartyTaxScheme", CUSTOMER "cac:PartyTaxScheme",
                                  "cac:TaxRepresentativeParty/cac:PartyTaxScheme"})
             for (xmlNode *scheme : c.all(path))
                 if (!First(scheme, "cbc:CompanyID") || !First(scheme, "cac:TaxScheme/cbc:ID"))
                     c.fail(scheme);
         return true;
     }},
    {"UBL-CR-665", FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice, &schemeOnlyForObject},
    // BT-18: the invoiced object identifier is a reference, not an attached document
    {"UBL-CR-666", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : invoicedObjects(c))
             for (xmlNode *attachment : All(reference, "cac:Attachment"))
                 c.fail(attachment, {Text(reference, "cbc:ID")});
         return true;
     }},
    // amounts have at most two decimals; prices may have more
    {"UBL-DT-01", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         checkAmounts(c, c.node);
         return true;
     }},
    // BT-125 attached document: its MIME code
    {"UBL-DT-06", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return attachmentHas(c, "@mimeCode");
     }},
    // BT-125 attached document: its file name
    {"UBL-DT-07", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return attachmentHas(c, "@filename");
     }},
};

template <size_t... I> constexpr auto allRules(std::index_sequence<I...>)
{
    constexpr size_t own = std::size(OwnRules);
    std::array<Rule, own + sizeof...(I)> rules{};
    for (size_t i = 0; i < own; ++i)
        rules[i] = OwnRules[i];
    ((rules[own + I] = Rule{UnusedElements[I].id, FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice,
                            &unused<I>}),
     ...);
    return rules;
}

constexpr auto Rules = allRules(std::make_index_sequence<std::size(UnusedElements)>());

#undef SUPPLIER
#undef CUSTOMER

} // namespace

std::span<const Rule> UblSyntaxRules()
{
    return Rules;
}

} // namespace invorator::validation
