// UBL-SR-*, UBL-CR-* and UBL-DT-*, the UBL binding's own rules: elements that may occur
// only once, elements EN 16931 does not use, and what amounts and attachments look like.
#include "checks/validation/RuleContext.h"

#include <QByteArray>
#include <QSet>

#include <array>
#include <string_view>
#include <unordered_map>
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
struct UblSpaces
{
    // The document's own copies of the two URIs once seen: elements share their
    // declaration's, so a pointer comparison settles nearly every element.
    const xmlChar *cac = nullptr;
    const xmlChar *cbc = nullptr;
    bool is(const xmlChar *uri, const xmlChar *&known, const char *expected)
    {
        if (uri == known)
            return true;
        if (!xmlStrEqual(uri, reinterpret_cast<const xmlChar *>(expected)))
            return false;
        known = uri;
        return true;
    }
};

void checkAmounts(RuleContext &c, xmlNode *element, UblSpaces &spaces)
{
    for (xmlNode *child = element->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !child->ns)
            continue;
        const std::string_view name(reinterpret_cast<const char *>(child->name));
        if (spaces.is(child->ns->href, spaces.cac,
                      "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2")) {
            if (name != "Price")
                checkAmounts(c, child, spaces);
        } else if (name.ends_with("Amount") &&
                   spaces.is(child->ns->href, spaces.cbc,
                             "urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2")) {
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
// occur, below the root and below each line. The ids follow the UBL 2.1 Invoice schema
// walked depth first: each element the binding does not use is one id, an unused aggregate
// one id for all of it. The table holds the runs of that walk that put every id the test
// data show on its own element; where the only test file that shows an id carries several
// unused elements (the credit note in the corpus), that order tells which element it is.
struct Unused
{
    const char *id;
    std::array<const char *, 4> paths;
    const char *linePath;
};

constexpr Unused UnusedElements[] = {
    {"UBL-CR-001", {"ext:UBLExtensions"}, nullptr},
    {"UBL-CR-003", {"cbc:ProfileExecutionID"}, nullptr},
    {"UBL-CR-004", {"cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-005", {"cbc:UUID"}, nullptr},
    {"UBL-CR-006", {"cbc:IssueTime"}, nullptr},
    {"UBL-CR-007", {"cbc:PricingCurrencyCode"}, nullptr},
    {"UBL-CR-008", {"cbc:PaymentCurrencyCode"}, nullptr},
    {"UBL-CR-009", {"cbc:PaymentAlternativeCurrencyCode"}, nullptr},
    {"UBL-CR-010", {"cbc:AccountingCostCode"}, nullptr},
    {"UBL-CR-011", {"cbc:LineCountNumeric"}, nullptr},
    {"UBL-CR-012", {"cac:InvoicePeriod/cbc:StartTime"}, nullptr},
    {"UBL-CR-013", {"cac:InvoicePeriod/cbc:EndTime"}, nullptr},
    {"UBL-CR-014", {"cac:InvoicePeriod/cbc:DurationMeasure"}, nullptr},
    {"UBL-CR-015", {"cac:InvoicePeriod/cbc:Description"}, nullptr},
    {"UBL-CR-016", {"cac:OrderReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-017", {"cac:OrderReference/cbc:UUID"}, nullptr},
    {"UBL-CR-018", {"cac:OrderReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-019", {"cac:OrderReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-020", {"cac:OrderReference/cbc:CustomerReference"}, nullptr},
    {"UBL-CR-021", {"cac:OrderReference/cbc:OrderTypeCode"}, nullptr},
    {"UBL-CR-022", {"cac:OrderReference/cac:DocumentReference"}, nullptr},
    {"UBL-CR-023", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-024", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:UUID"}, nullptr},
    {"UBL-CR-025", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-026", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentTypeCode"}, nullptr},
    {"UBL-CR-027", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-028", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:XPath"}, nullptr},
    {"UBL-CR-029", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:LanguageID"}, nullptr},
    {"UBL-CR-030", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:LocaleCode"}, nullptr},
    {"UBL-CR-031", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:VersionID"}, nullptr},
    {"UBL-CR-032", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentStatusCode"}, nullptr},
    {"UBL-CR-033", {"cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentDescription"}, nullptr},
    {"UBL-CR-034", {"cac:BillingReference/cac:InvoiceDocumentReference/cac:Attachment"}, nullptr},
    {"UBL-CR-035", {"cac:BillingReference/cac:InvoiceDocumentReference/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-036", {"cac:BillingReference/cac:InvoiceDocumentReference/cac:IssuerParty"}, nullptr},
    {"UBL-CR-037", {"cac:BillingReference/cac:InvoiceDocumentReference/cac:ResultOfVerification"}, nullptr},
    {"UBL-CR-038", {"cac:BillingReference/cac:SelfBilledInvoiceDocumentReference"}, nullptr},
    {"UBL-CR-039", {"cac:BillingReference/cac:CreditNoteDocumentReference"}, nullptr},
    {"UBL-CR-040", {"cac:BillingReference/cac:SelfBilledCreditNoteDocumentReference"}, nullptr},
    {"UBL-CR-041", {"cac:BillingReference/cac:DebitNoteDocumentReference"}, nullptr},
    {"UBL-CR-042", {"cac:BillingReference/cac:ReminderDocumentReference"}, nullptr},
    {"UBL-CR-043", {"cac:BillingReference/cac:AdditionalDocumentReference"}, nullptr},
    {"UBL-CR-044", {"cac:BillingReference/cac:BillingReferenceLine"}, nullptr},
    {"UBL-CR-045", {"cac:DespatchDocumentReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-046", {"cac:DespatchDocumentReference/cbc:UUID"}, nullptr},
    {"UBL-CR-047", {"cac:DespatchDocumentReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-048", {"cac:DespatchDocumentReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-049", {"cac:DespatchDocumentReference/cbc:DocumentTypeCode"}, nullptr},
    {"UBL-CR-050", {"cac:DespatchDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-051", {"cac:DespatchDocumentReference/cbc:XPath"}, nullptr},
    {"UBL-CR-052", {"cac:DespatchDocumentReference/cbc:LanguageID"}, nullptr},
    {"UBL-CR-053", {"cac:DespatchDocumentReference/cbc:LocaleCode"}, nullptr},
    {"UBL-CR-054", {"cac:DespatchDocumentReference/cbc:VersionID"}, nullptr},
    {"UBL-CR-055", {"cac:DespatchDocumentReference/cbc:DocumentStatusCode"}, nullptr},
    {"UBL-CR-056", {"cac:DespatchDocumentReference/cbc:DocumentDescription"}, nullptr},
    {"UBL-CR-057", {"cac:DespatchDocumentReference/cac:Attachment"}, nullptr},
    {"UBL-CR-058", {"cac:DespatchDocumentReference/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-059", {"cac:DespatchDocumentReference/cac:IssuerParty"}, nullptr},
    {"UBL-CR-060", {"cac:DespatchDocumentReference/cac:ResultOfVerification"}, nullptr},
    {"UBL-CR-061", {"cac:ReceiptDocumentReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-062", {"cac:ReceiptDocumentReference/cbc:UUID"}, nullptr},
    {"UBL-CR-063", {"cac:ReceiptDocumentReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-064", {"cac:ReceiptDocumentReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-065", {"cac:ReceiptDocumentReference/cbc:DocumentTypeCode"}, nullptr},
    {"UBL-CR-066", {"cac:ReceiptDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-067", {"cac:ReceiptDocumentReference/cbc:XPath"}, nullptr},
    {"UBL-CR-068", {"cac:ReceiptDocumentReference/cbc:LanguageID"}, nullptr},
    {"UBL-CR-069", {"cac:ReceiptDocumentReference/cbc:LocaleCode"}, nullptr},
    {"UBL-CR-070", {"cac:ReceiptDocumentReference/cbc:VersionID"}, nullptr},
    {"UBL-CR-071", {"cac:ReceiptDocumentReference/cbc:DocumentStatusCode"}, nullptr},
    {"UBL-CR-072", {"cac:ReceiptDocumentReference/cbc:DocumentDescription"}, nullptr},
    {"UBL-CR-073", {"cac:ReceiptDocumentReference/cac:Attachment"}, nullptr},
    {"UBL-CR-074", {"cac:ReceiptDocumentReference/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-075", {"cac:ReceiptDocumentReference/cac:IssuerParty"}, nullptr},
    {"UBL-CR-076", {"cac:ReceiptDocumentReference/cac:ResultOfVerification"}, nullptr},
    {"UBL-CR-077", {"cac:StatementDocumentReference"}, nullptr},
    {"UBL-CR-078", {"cac:OriginatorDocumentReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-079", {"cac:OriginatorDocumentReference/cbc:UUID"}, nullptr},
    {"UBL-CR-080", {"cac:OriginatorDocumentReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-081", {"cac:OriginatorDocumentReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-082", {"cac:OriginatorDocumentReference/cbc:DocumentTypeCode"}, nullptr},
    {"UBL-CR-083", {"cac:OriginatorDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-084", {"cac:OriginatorDocumentReference/cbc:XPath"}, nullptr},
    {"UBL-CR-085", {"cac:OriginatorDocumentReference/cbc:LanguageID"}, nullptr},
    {"UBL-CR-086", {"cac:OriginatorDocumentReference/cbc:LocaleCode"}, nullptr},
    {"UBL-CR-087", {"cac:OriginatorDocumentReference/cbc:VersionID"}, nullptr},
    {"UBL-CR-088", {"cac:OriginatorDocumentReference/cbc:DocumentStatusCode"}, nullptr},
    {"UBL-CR-089", {"cac:OriginatorDocumentReference/cbc:DocumentDescription"}, nullptr},
    {"UBL-CR-090", {"cac:OriginatorDocumentReference/cac:Attachment"}, nullptr},
    {"UBL-CR-091", {"cac:OriginatorDocumentReference/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-092", {"cac:OriginatorDocumentReference/cac:IssuerParty"}, nullptr},
    {"UBL-CR-093", {"cac:OriginatorDocumentReference/cac:ResultOfVerification"}, nullptr},
    {"UBL-CR-094", {"cac:ContractDocumentReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-095", {"cac:ContractDocumentReference/cbc:UUID"}, nullptr},
    {"UBL-CR-096", {"cac:ContractDocumentReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-097", {"cac:ContractDocumentReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-098", {"cac:ContractDocumentReference/cbc:DocumentTypeCode"}, nullptr},
    {"UBL-CR-099", {"cac:ContractDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-100", {"cac:ContractDocumentReference/cbc:XPath"}, nullptr},
    {"UBL-CR-101", {"cac:ContractDocumentReference/cbc:LanguageID"}, nullptr},
    {"UBL-CR-102", {"cac:ContractDocumentReference/cbc:LocaleCode"}, nullptr},
    {"UBL-CR-103", {"cac:ContractDocumentReference/cbc:VersionID"}, nullptr},
    {"UBL-CR-104", {"cac:ContractDocumentReference/cbc:DocumentStatusCode"}, nullptr},
    {"UBL-CR-105", {"cac:ContractDocumentReference/cbc:DocumentDescription"}, nullptr},
    {"UBL-CR-106", {"cac:ContractDocumentReference/cac:Attachment"}, nullptr},
    {"UBL-CR-107", {"cac:ContractDocumentReference/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-108", {"cac:ContractDocumentReference/cac:IssuerParty"}, nullptr},
    {"UBL-CR-109", {"cac:ContractDocumentReference/cac:ResultOfVerification"}, nullptr},
    {"UBL-CR-110", {"cac:AdditionalDocumentReference/cbc:CopyIndicator"}, nullptr},
    {"UBL-CR-111", {"cac:AdditionalDocumentReference/cbc:UUID"}, nullptr},
    {"UBL-CR-112", {"cac:AdditionalDocumentReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-113", {"cac:AdditionalDocumentReference/cbc:IssueTime"}, nullptr},
    {"UBL-CR-114", {"cac:AdditionalDocumentReference/cbc:DocumentType"}, nullptr},
    {"UBL-CR-115", {"cac:AdditionalDocumentReference/cbc:XPath"}, nullptr},
    {"UBL-CR-116", {"cac:AdditionalDocumentReference/cbc:LanguageID"}, nullptr},
    {"UBL-CR-117", {"cac:AdditionalDocumentReference/cbc:LocaleCode"}, nullptr},
    {"UBL-CR-118", {"cac:AdditionalDocumentReference/cbc:VersionID"}, nullptr},
    {"UBL-CR-119", {"cac:AdditionalDocumentReference/cbc:DocumentStatusCode"}, nullptr},
    {"UBL-CR-121",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:DocumentHash"},
     nullptr},
    {"UBL-CR-122",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:HashAlgorithmMethod"},
     nullptr},
    {"UBL-CR-123",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:ExpiryDate"},
     nullptr},
    {"UBL-CR-124",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:ExpiryTime"},
     nullptr},
    {"UBL-CR-125",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:MimeCode"},
     nullptr},
    {"UBL-CR-126",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:FormatCode"},
     nullptr},
    {"UBL-CR-127",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:EncodingCode"},
     nullptr},
    {"UBL-CR-128",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:CharacterSetCode"},
     nullptr},
    {"UBL-CR-129",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:FileName"},
     nullptr},
    {"UBL-CR-130",
     {"cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:Description"},
     nullptr},
    {"UBL-CR-131", {"cac:AdditionalDocumentReference/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-132", {"cac:AdditionalDocumentReference/cac:IssuerParty"}, nullptr},
    {"UBL-CR-133", {"cac:AdditionalDocumentReference/cac:ResultOfVerification"}, nullptr},
    {"UBL-CR-134", {"cac:ProjectReference/cbc:UUID"}, nullptr},
    {"UBL-CR-135", {"cac:ProjectReference/cbc:IssueDate"}, nullptr},
    {"UBL-CR-136", {"cac:ProjectReference/cac:WorkPhaseReference"}, nullptr},
    {"UBL-CR-137", {"cac:Signature"}, nullptr},
    {"UBL-CR-138", {"cac:AccountingSupplierParty/cbc:CustomerAssignedAccountID"}, nullptr},
    {"UBL-CR-139", {"cac:AccountingSupplierParty/cbc:AdditionalAccountID"}, nullptr},
    {"UBL-CR-140", {"cac:AccountingSupplierParty/cbc:DataSendingCapability"}, nullptr},
    {"UBL-CR-141", {SUPPLIER "cbc:MarkCareIndicator"}, nullptr},
    {"UBL-CR-142", {SUPPLIER "cbc:MarkAttentionIndicator"}, nullptr},
    {"UBL-CR-143", {SUPPLIER "cbc:WebsiteURI"}, nullptr},
    {"UBL-CR-144", {SUPPLIER "cbc:LogoReferenceID"}, nullptr},
    {"UBL-CR-145", {SUPPLIER "cbc:IndustryClassificationCode"}, nullptr},
    {"UBL-CR-146", {SUPPLIER "cac:Language"}, nullptr},
    {"UBL-CR-147", {SUPPLIER "cac:PostalAddress/cbc:ID"}, nullptr},
    {"UBL-CR-148", {SUPPLIER "cac:PostalAddress/cbc:AddressTypeCode"}, nullptr},
    {"UBL-CR-149", {SUPPLIER "cac:PostalAddress/cbc:AddressFormatCode"}, nullptr},
    {"UBL-CR-150", {SUPPLIER "cac:PostalAddress/cbc:Postbox"}, nullptr},
    {"UBL-CR-151", {SUPPLIER "cac:PostalAddress/cbc:Floor"}, nullptr},
    {"UBL-CR-152", {SUPPLIER "cac:PostalAddress/cbc:Room"}, nullptr},
    {"UBL-CR-153", {SUPPLIER "cac:PostalAddress/cbc:BlockName"}, nullptr},
    {"UBL-CR-154", {SUPPLIER "cac:PostalAddress/cbc:BuildingName"}, nullptr},
    {"UBL-CR-155", {SUPPLIER "cac:PostalAddress/cbc:BuildingNumber"}, nullptr},
    {"UBL-CR-156", {SUPPLIER "cac:PostalAddress/cbc:InhouseMail"}, nullptr},
    {"UBL-CR-157", {SUPPLIER "cac:PostalAddress/cbc:Department"}, nullptr},
    {"UBL-CR-158", {SUPPLIER "cac:PostalAddress/cbc:MarkAttention"}, nullptr},
    {"UBL-CR-159", {SUPPLIER "cac:PostalAddress/cbc:MarkCare"}, nullptr},
    {"UBL-CR-160", {SUPPLIER "cac:PostalAddress/cbc:PlotIdentification"}, nullptr},
    {"UBL-CR-161", {SUPPLIER "cac:PostalAddress/cbc:CitySubdivisionName"}, nullptr},
    {"UBL-CR-162", {SUPPLIER "cac:PostalAddress/cbc:CountrySubentityCode"}, nullptr},
    {"UBL-CR-163", {SUPPLIER "cac:PostalAddress/cbc:Region"}, nullptr},
    {"UBL-CR-164", {SUPPLIER "cac:PostalAddress/cbc:District"}, nullptr},
    {"UBL-CR-165", {SUPPLIER "cac:PostalAddress/cbc:TimezoneOffset"}, nullptr},
    {"UBL-CR-166", {SUPPLIER "cac:PostalAddress/cac:Country/cbc:Name"}, nullptr},
    {"UBL-CR-167", {SUPPLIER "cac:PostalAddress/cac:LocationCoordinate"}, nullptr},
    {"UBL-CR-168", {SUPPLIER "cac:PhysicalLocation"}, nullptr},
    {"UBL-CR-169", {SUPPLIER "cac:PartyTaxScheme/cbc:RegistrationName"}, nullptr},
    {"UBL-CR-170", {SUPPLIER "cac:PartyTaxScheme/cbc:TaxLevelCode"}, nullptr},
    {"UBL-CR-171", {SUPPLIER "cac:PartyTaxScheme/cbc:ExemptionReasonCode"}, nullptr},
    {"UBL-CR-172", {SUPPLIER "cac:PartyTaxScheme/cbc:ExemptionReason"}, nullptr},
    {"UBL-CR-173", {SUPPLIER "cac:PartyTaxScheme/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-174", {SUPPLIER "cac:PartyTaxScheme/cac:TaxScheme/cbc:Name"}, nullptr},
    {"UBL-CR-175", {SUPPLIER "cac:PartyTaxScheme/cac:TaxScheme/cbc:TaxTypeCode"}, nullptr},
    {"UBL-CR-176", {SUPPLIER "cac:PartyTaxScheme/cac:TaxScheme/cbc:CurrencyCode"}, nullptr},
    {"UBL-CR-177", {SUPPLIER "cac:PartyTaxScheme/cac:TaxScheme/cac:JurisdictionRegionAddress"}, nullptr},
    {"UBL-CR-178", {SUPPLIER "cac:PartyLegalEntity/cbc:RegistrationDate"}, nullptr},
    {"UBL-CR-179", {SUPPLIER "cac:PartyLegalEntity/cbc:RegistrationExpirationDate"}, nullptr},
    {"UBL-CR-180", {SUPPLIER "cac:PartyLegalEntity/cbc:CompanyLegalFormCode"}, nullptr},
    {"UBL-CR-181", {SUPPLIER "cac:PartyLegalEntity/cbc:SoleProprietorshipIndicator"}, nullptr},
    {"UBL-CR-182", {SUPPLIER "cac:PartyLegalEntity/cbc:CompanyLiquidationStatusCode"}, nullptr},
    {"UBL-CR-183", {SUPPLIER "cac:PartyLegalEntity/cbc:CorporateStockAmount"}, nullptr},
    {"UBL-CR-184", {SUPPLIER "cac:PartyLegalEntity/cbc:FullyPaidSharesIndicator"}, nullptr},
    {"UBL-CR-185", {SUPPLIER "cac:PartyLegalEntity/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-186", {SUPPLIER "cac:PartyLegalEntity/cac:CorporateRegistrationScheme"}, nullptr},
    {"UBL-CR-187", {SUPPLIER "cac:PartyLegalEntity/cac:HeadOfficeParty"}, nullptr},
    {"UBL-CR-188", {SUPPLIER "cac:PartyLegalEntity/cac:ShareholderParty"}, nullptr},
    {"UBL-CR-189", {SUPPLIER "cac:Contact/cbc:ID"}, nullptr},
    {"UBL-CR-190", {SUPPLIER "cac:Contact/cbc:Telefax"}, nullptr},
    {"UBL-CR-191", {SUPPLIER "cac:Contact/cbc:Note"}, nullptr},
    {"UBL-CR-192", {SUPPLIER "cac:Contact/cac:OtherCommunication"}, nullptr},
    {"UBL-CR-193", {SUPPLIER "cac:Person"}, nullptr},
    {"UBL-CR-194", {SUPPLIER "cac:AgentParty"}, nullptr},
    {"UBL-CR-195", {SUPPLIER "cac:ServiceProviderParty"}, nullptr},
    {"UBL-CR-196", {SUPPLIER "cac:PowerOfAttorney"}, nullptr},
    {"UBL-CR-197", {SUPPLIER "cac:FinancialAccount"}, nullptr},
    {"UBL-CR-198", {"cac:AccountingSupplierParty/cac:DespatchContact"}, nullptr},
    {"UBL-CR-199", {"cac:AccountingSupplierParty/cac:AccountingContact"}, nullptr},
    {"UBL-CR-200", {"cac:AccountingSupplierParty/cac:SellerContact"}, nullptr},
    {"UBL-CR-201", {"cac:AccountingCustomerParty/cbc:CustomerAssignedAccountID"}, nullptr},
    {"UBL-CR-202", {"cac:AccountingCustomerParty/cbc:SupplierAssignedAccountID"}, nullptr},
    {"UBL-CR-203", {"cac:AccountingCustomerParty/cbc:AdditionalAccountID"}, nullptr},
    {"UBL-CR-204", {CUSTOMER "cbc:MarkCareIndicator"}, nullptr},
    {"UBL-CR-205", {CUSTOMER "cbc:MarkAttentionIndicator"}, nullptr},
    {"UBL-CR-206", {CUSTOMER "cbc:WebsiteURI"}, nullptr},
    {"UBL-CR-207", {CUSTOMER "cbc:LogoReferenceID"}, nullptr},
    {"UBL-CR-208", {CUSTOMER "cbc:IndustryClassificationCode"}, nullptr},
    {"UBL-CR-209", {CUSTOMER "cac:Language"}, nullptr},
    {"UBL-CR-210", {CUSTOMER "cac:PostalAddress/cbc:ID"}, nullptr},
    {"UBL-CR-211", {CUSTOMER "cac:PostalAddress/cbc:AddressTypeCode"}, nullptr},
    {"UBL-CR-212", {CUSTOMER "cac:PostalAddress/cbc:AddressFormatCode"}, nullptr},
    {"UBL-CR-213", {CUSTOMER "cac:PostalAddress/cbc:Postbox"}, nullptr},
    {"UBL-CR-214", {CUSTOMER "cac:PostalAddress/cbc:Floor"}, nullptr},
    {"UBL-CR-215", {CUSTOMER "cac:PostalAddress/cbc:Room"}, nullptr},
    {"UBL-CR-216", {CUSTOMER "cac:PostalAddress/cbc:BlockName"}, nullptr},
    {"UBL-CR-217", {CUSTOMER "cac:PostalAddress/cbc:BuildingName"}, nullptr},
    {"UBL-CR-218", {CUSTOMER "cac:PostalAddress/cbc:BuildingNumber"}, nullptr},
    {"UBL-CR-219", {CUSTOMER "cac:PostalAddress/cbc:InhouseMail"}, nullptr},
    {"UBL-CR-220", {CUSTOMER "cac:PostalAddress/cbc:Department"}, nullptr},
    {"UBL-CR-221", {CUSTOMER "cac:PostalAddress/cbc:MarkAttention"}, nullptr},
    {"UBL-CR-222", {CUSTOMER "cac:PostalAddress/cbc:MarkCare"}, nullptr},
    {"UBL-CR-223", {CUSTOMER "cac:PostalAddress/cbc:PlotIdentification"}, nullptr},
    {"UBL-CR-224", {CUSTOMER "cac:PostalAddress/cbc:CitySubdivisionName"}, nullptr},
    {"UBL-CR-225", {CUSTOMER "cac:PostalAddress/cbc:CountrySubentityCode"}, nullptr},
    {"UBL-CR-226", {CUSTOMER "cac:PostalAddress/cbc:Region"}, nullptr},
    {"UBL-CR-227", {CUSTOMER "cac:PostalAddress/cbc:District"}, nullptr},
    {"UBL-CR-228", {CUSTOMER "cac:PostalAddress/cbc:TimezoneOffset"}, nullptr},
    {"UBL-CR-229", {CUSTOMER "cac:PostalAddress/cac:Country/cbc:Name"}, nullptr},
    {"UBL-CR-230", {CUSTOMER "cac:PostalAddress/cac:LocationCoordinate"}, nullptr},
    {"UBL-CR-231", {CUSTOMER "cac:PhysicalLocation"}, nullptr},
    {"UBL-CR-232", {CUSTOMER "cac:PartyTaxScheme/cbc:RegistrationName"}, nullptr},
    {"UBL-CR-233", {CUSTOMER "cac:PartyTaxScheme/cbc:TaxLevelCode"}, nullptr},
    {"UBL-CR-234", {CUSTOMER "cac:PartyTaxScheme/cbc:ExemptionReasonCode"}, nullptr},
    {"UBL-CR-235", {CUSTOMER "cac:PartyTaxScheme/cbc:ExemptionReason"}, nullptr},
    {"UBL-CR-236", {CUSTOMER "cac:PartyTaxScheme/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-237", {CUSTOMER "cac:PartyTaxScheme/cac:TaxScheme/cbc:Name"}, nullptr},
    {"UBL-CR-238", {CUSTOMER "cac:PartyTaxScheme/cac:TaxScheme/cbc:TaxTypeCode"}, nullptr},
    {"UBL-CR-239", {CUSTOMER "cac:PartyTaxScheme/cac:TaxScheme/cbc:CurrencyCode"}, nullptr},
    {"UBL-CR-240", {CUSTOMER "cac:PartyTaxScheme/cac:TaxScheme/cac:JurisdictionRegionAddress"}, nullptr},
    {"UBL-CR-241", {CUSTOMER "cac:PartyLegalEntity/cbc:RegistrationDate"}, nullptr},
    {"UBL-CR-242", {CUSTOMER "cac:PartyLegalEntity/cbc:RegistrationExpirationDate"}, nullptr},
    {"UBL-CR-243", {CUSTOMER "cac:PartyLegalEntity/cbc:CompanyLegalFormCode"}, nullptr},
    {"UBL-CR-244", {CUSTOMER "cac:PartyLegalEntity/cbc:CompanyLegalForm"}, nullptr},
    {"UBL-CR-245", {CUSTOMER "cac:PartyLegalEntity/cbc:SoleProprietorshipIndicator"}, nullptr},
    {"UBL-CR-246", {CUSTOMER "cac:PartyLegalEntity/cbc:CompanyLiquidationStatusCode"}, nullptr},
    {"UBL-CR-247", {CUSTOMER "cac:PartyLegalEntity/cbc:CorporateStockAmount"}, nullptr},
    {"UBL-CR-248", {CUSTOMER "cac:PartyLegalEntity/cbc:FullyPaidSharesIndicator"}, nullptr},
    {"UBL-CR-249", {CUSTOMER "cac:PartyLegalEntity/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-250", {CUSTOMER "cac:PartyLegalEntity/cac:CorporateRegistrationScheme"}, nullptr},
    {"UBL-CR-251", {CUSTOMER "cac:PartyLegalEntity/cac:HeadOfficeParty"}, nullptr},
    {"UBL-CR-252", {CUSTOMER "cac:PartyLegalEntity/cac:ShareholderParty"}, nullptr},
    {"UBL-CR-253", {CUSTOMER "cac:Contact/cbc:ID"}, nullptr},
    {"UBL-CR-254", {CUSTOMER "cac:Contact/cbc:Telefax"}, nullptr},
    {"UBL-CR-255", {CUSTOMER "cac:Contact/cbc:Note"}, nullptr},
    {"UBL-CR-256", {CUSTOMER "cac:Contact/cac:OtherCommunication"}, nullptr},
    {"UBL-CR-257", {CUSTOMER "cac:Person"}, nullptr},
    {"UBL-CR-258", {CUSTOMER "cac:AgentParty"}, nullptr},
    {"UBL-CR-259", {CUSTOMER "cac:ServiceProviderParty"}, nullptr},
    {"UBL-CR-260", {CUSTOMER "cac:PowerOfAttorney"}, nullptr},
    {"UBL-CR-261", {CUSTOMER "cac:FinancialAccount"}, nullptr},
    {"UBL-CR-262", {"cac:AccountingCustomerParty/cac:DeliveryContact"}, nullptr},
    {"UBL-CR-263", {"cac:AccountingCustomerParty/cac:AccountingContact"}, nullptr},
    {"UBL-CR-264", {"cac:AccountingCustomerParty/cac:BuyerContact"}, nullptr},
    {"UBL-CR-265", {"cac:PayeeParty/cbc:MarkCareIndicator"}, nullptr},
    {"UBL-CR-266", {"cac:PayeeParty/cbc:MarkAttentionIndicator"}, nullptr},
    {"UBL-CR-267", {"cac:PayeeParty/cbc:WebsiteURI"}, nullptr},
    {"UBL-CR-268", {"cac:PayeeParty/cbc:LogoReferenceID"}, nullptr},
    {"UBL-CR-269", {"cac:PayeeParty/cbc:EndpointID"}, nullptr},
    {"UBL-CR-270", {"cac:PayeeParty/cbc:IndustryClassificationCode"}, nullptr},
    {"UBL-CR-271", {"cac:PayeeParty/cac:Language"}, nullptr},
    {"UBL-CR-272", {"cac:PayeeParty/cac:PostalAddress"}, nullptr},
    {"UBL-CR-273", {"cac:PayeeParty/cac:PhysicalLocation"}, nullptr},
    {"UBL-CR-274", {"cac:PayeeParty/cac:PartyTaxScheme"}, nullptr},
    {"UBL-CR-275", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:RegistrationName"}, nullptr},
    {"UBL-CR-276", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:RegistrationDate"}, nullptr},
    {"UBL-CR-277", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:RegistrationExpirationDate"}, nullptr},
    {"UBL-CR-278", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:CompanyLegalFormCode"}, nullptr},
    {"UBL-CR-279", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:CompanyLegalForm"}, nullptr},
    {"UBL-CR-280", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:SoleProprietorshipIndicator"}, nullptr},
    {"UBL-CR-281", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:CompanyLiquidationStatusCode"}, nullptr},
    {"UBL-CR-282", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:CorporateStockAmount"}, nullptr},
    {"UBL-CR-283", {"cac:PayeeParty/cac:PartyLegalEntity/cbc:FullyPaidSharesIndicator"}, nullptr},
    {"UBL-CR-284", {"cac:PayeeParty/cac:PartyLegalEntity/cac:RegistrationAddress"}, nullptr},
    {"UBL-CR-285", {"cac:PayeeParty/cac:PartyLegalEntity/cac:CorporateRegistrationScheme"}, nullptr},
    {"UBL-CR-286", {"cac:PayeeParty/cac:PartyLegalEntity/cac:HeadOfficeParty"}, nullptr},
    {"UBL-CR-287", {"cac:PayeeParty/cac:PartyLegalEntity/cac:ShareholderParty"}, nullptr},
    {"UBL-CR-288", {"cac:PayeeParty/cac:Contact"}, nullptr},
    {"UBL-CR-289", {"cac:PayeeParty/cac:Person"}, nullptr},
    {"UBL-CR-290", {"cac:PayeeParty/cac:AgentParty"}, nullptr},
    {"UBL-CR-291", {"cac:PayeeParty/cac:ServiceProviderParty"}, nullptr},
    {"UBL-CR-292", {"cac:PayeeParty/cac:PowerOfAttorney"}, nullptr},
    {"UBL-CR-293", {"cac:PayeeParty/cac:FinancialAccount"}, nullptr},
    {"UBL-CR-294", {"cac:BuyerCustomerParty"}, nullptr},
    {"UBL-CR-295", {"cac:SellerSupplierParty"}, nullptr},
    {"UBL-CR-296", {"cac:TaxRepresentativeParty/cbc:MarkCareIndicator"}, nullptr},
    {"UBL-CR-297", {"cac:TaxRepresentativeParty/cbc:MarkAttentionIndicator"}, nullptr},
    {"UBL-CR-298", {"cac:TaxRepresentativeParty/cbc:WebsiteURI"}, nullptr},
    {"UBL-CR-299", {"cac:TaxRepresentativeParty/cbc:LogoReferenceID"}, nullptr},
    {"UBL-CR-300", {"cac:TaxRepresentativeParty/cbc:EndpointID"}, nullptr},
    {"UBL-CR-301", {"cac:TaxRepresentativeParty/cbc:IndustryClassificationCode"}, nullptr},
    {"UBL-CR-302", {"cac:TaxRepresentativeParty/cac:PartyIdentification"}, nullptr},
    {"UBL-CR-434", {"cac:PaymentMeans/cac:CreditAccount"}, nullptr},
    {"UBL-CR-435", {"cac:PaymentMeans/cac:PaymentMandate/cbc:MandateTypeCode"}, nullptr},
    {"UBL-CR-436", {"cac:PaymentMeans/cac:PaymentMandate/cbc:MaximumPaymentInstructionsNumeric"}, nullptr},
    {"UBL-CR-437", {"cac:PaymentMeans/cac:PaymentMandate/cbc:MaximumPaidAmount"}, nullptr},
    {"UBL-CR-438", {"cac:PaymentMeans/cac:PaymentMandate/cbc:SignatureID"}, nullptr},
    {"UBL-CR-439", {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerParty"}, nullptr},
    {"UBL-CR-440", {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:Name"}, nullptr},
    {"UBL-CR-441", {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:AliasName"}, nullptr},
    {"UBL-CR-442",
     {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:AccountTypeCode"},
     nullptr},
    {"UBL-CR-443",
     {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:AccountFormatCode"},
     nullptr},
    {"UBL-CR-444",
     {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:CurrencyCode"},
     nullptr},
    {"UBL-CR-445",
     {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:PaymentNote"},
     nullptr},
    {"UBL-CR-446",
     {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cac:FinancialInstitutionBranch"},
     nullptr},
    {"UBL-CR-447", {"cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cac:Country"}, nullptr},
    {"UBL-CR-448", {"cac:PaymentMeans/cac:PaymentMandate/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-449", {"cac:PaymentMeans/cac:PaymentMandate/cac:PaymentReversalPeriod"}, nullptr},
    {"UBL-CR-450", {"cac:PaymentMeans/cac:PaymentMandate/cac:Clause"}, nullptr},
    {"UBL-CR-451", {"cac:PaymentMeans/cac:TradeFinancing"}, nullptr},
    {"UBL-CR-452", {"cac:PaymentTerms/cbc:ID"}, nullptr},
    {"UBL-CR-453", {"cac:PaymentTerms/cbc:PaymentMeansID"}, nullptr},
    {"UBL-CR-454", {"cac:PaymentTerms/cbc:PrepaidPaymentReferenceID"}, nullptr},
    {"UBL-CR-455", {"cac:PaymentTerms/cbc:ReferenceEventCode"}, nullptr},
    {"UBL-CR-456", {"cac:PaymentTerms/cbc:SettlementDiscountPercent"}, nullptr},
    {"UBL-CR-457", {"cac:PaymentTerms/cbc:PenaltySurchargePercent"}, nullptr},
    {"UBL-CR-458", {"cac:PaymentTerms/cbc:PaymentPercent"}, nullptr},
    {"UBL-CR-459", {"cac:PaymentTerms/cbc:Amount"}, nullptr},
    {"UBL-CR-460", {"cac:PaymentTerms/cbc:SettlementDiscountAmount"}, nullptr},
    {"UBL-CR-461", {"cac:PaymentTerms/cbc:PenaltyAmount"}, nullptr},
    {"UBL-CR-462", {"cac:PaymentTerms/cbc:PaymentTermsDetailsURI"}, nullptr},
    {"UBL-CR-463", {"cac:PaymentTerms/cbc:PaymentDueDate"}, nullptr},
    {"UBL-CR-464", {"cac:PaymentTerms/cbc:InstallmentDueDate"}, nullptr},
    {"UBL-CR-465", {"cac:PaymentTerms/cbc:InvoicingPartyReference"}, nullptr},
    {"UBL-CR-466", {"cac:PaymentTerms/cac:SettlementPeriod"}, nullptr},
    {"UBL-CR-467", {"cac:PaymentTerms/cac:PenaltyPeriod"}, nullptr},
    {"UBL-CR-468", {"cac:PaymentTerms/cac:ExchangeRate"}, nullptr},
    {"UBL-CR-469", {"cac:PaymentTerms/cac:ValidityPeriod"}, nullptr},
    {"UBL-CR-470", {"cac:PrepaidPayment"}, nullptr},
    {"UBL-CR-471", {"cac:AllowanceCharge/cbc:ID"}, nullptr},
    {"UBL-CR-472", {"cac:AllowanceCharge/cbc:PrepaidIndicator"}, nullptr},
    {"UBL-CR-473", {"cac:AllowanceCharge/cbc:SequenceNumeric"}, nullptr},
    {"UBL-CR-474", {"cac:AllowanceCharge/cbc:AccountingCostCode"}, nullptr},
    {"UBL-CR-475", {"cac:AllowanceCharge/cbc:AccountingCost"}, nullptr},
    {"UBL-CR-476", {"cac:AllowanceCharge/cbc:PerUnitAmount"}, nullptr},
    {"UBL-CR-477", {"cac:AllowanceCharge/cac:TaxCategory/cbc:Name"}, nullptr},
    {"UBL-CR-478", {"cac:AllowanceCharge/cac:TaxCategory/cbc:BaseUnitMeasure"}, nullptr},
    {"UBL-CR-479", {"cac:AllowanceCharge/cac:TaxCategory/cbc:PerUnitAmount"}, nullptr},
    {"UBL-CR-480", {"cac:AllowanceCharge/cac:TaxCategory/cbc:TaxExemptionReasonCode"}, nullptr},
    {"UBL-CR-481", {"cac:AllowanceCharge/cac:TaxCategory/cbc:TaxExemptionReason"}, nullptr},
    {"UBL-CR-482", {"cac:AllowanceCharge/cac:TaxCategory/cbc:TierRange"}, nullptr},
    {"UBL-CR-483", {"cac:AllowanceCharge/cac:TaxCategory/cbc:TierRatePercent"}, nullptr},
    {"UBL-CR-484", {"cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cbc:Name"}, nullptr},
    {"UBL-CR-485", {"cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cbc:TaxTypeCode"}, nullptr},
    {"UBL-CR-486", {"cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cbc:CurrencyCode"}, nullptr},
    {"UBL-CR-487",
     {"cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cac:JurisdictionRegionAddress"},
     nullptr},
    {"UBL-CR-488", {"cac:AllowanceCharge/cac:TaxTotal"}, nullptr},
    {"UBL-CR-489", {"cac:AllowanceCharge/cac:PaymentMeans"}, nullptr},
    {"UBL-CR-490", {"cac:TaxExchangeRate"}, nullptr},
    {"UBL-CR-491", {"cac:PricingExchangeRate"}, nullptr},
    {"UBL-CR-492", {"cac:PaymentExchangeRate"}, nullptr},
    {"UBL-CR-493", {"cac:PaymentAlternativeExchangeRate"}, nullptr},
    {"UBL-CR-494", {"cac:TaxTotal/cbc:RoundingAmount"}, nullptr},
    {"UBL-CR-495", {"cac:TaxTotal/cbc:TaxEvidenceIndicator"}, nullptr},
    {"UBL-CR-496", {"cac:TaxTotal/cbc:TaxIncludedIndicator"}, nullptr},
    {"UBL-CR-497", {"cac:TaxTotal/cac:TaxSubtotal/cbc:CalculationSequenceNumeric"}, nullptr},
    {"UBL-CR-498", {"cac:TaxTotal/cac:TaxSubtotal/cbc:TransactionCurrencyTaxAmount"}, nullptr},
    {"UBL-CR-499", {"cac:TaxTotal/cac:TaxSubtotal/cbc:Percent"}, nullptr},
    {"UBL-CR-500", {"cac:TaxTotal/cac:TaxSubtotal/cbc:BaseUnitMeasure"}, nullptr},
    {"UBL-CR-501", {"cac:TaxTotal/cac:TaxSubtotal/cbc:PerUnitAmount"}, nullptr},
    {"UBL-CR-502", {"cac:TaxTotal/cac:TaxSubtotal/cbc:TierRange"}, nullptr},
    {"UBL-CR-503", {"cac:TaxTotal/cac:TaxSubtotal/cbc:TierRatePercent"}, nullptr},
    {"UBL-CR-504", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:Name"}, nullptr},
    {"UBL-CR-505", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:BaseUnitMeasure"}, nullptr},
    {"UBL-CR-506", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:PerUnitAmount"}, nullptr},
    {"UBL-CR-507", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:TierRange"}, nullptr},
    {"UBL-CR-508", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:TierRatePercent"}, nullptr},
    {"UBL-CR-509", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cbc:Name"}, nullptr},
    {"UBL-CR-510", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cbc:TaxTypeCode"}, nullptr},
    {"UBL-CR-511", {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cbc:CurrencyCode"}, nullptr},
    {"UBL-CR-512",
     {"cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cac:JurisdictionRegionAddress"},
     nullptr},
    {"UBL-CR-513", {"cac:WithholdingTaxTotal"}, nullptr},
    {"UBL-CR-514", {"cac:LegalMonetaryTotal/cbc:PayableAlternativeAmount"}, nullptr},
    {"UBL-CR-515", {}, "cbc:UUID"},
    {"UBL-CR-516", {}, "cbc:TaxPointDate"},
    {"UBL-CR-517", {}, "cbc:AccountingCostCode"},
    {"UBL-CR-518", {}, "cbc:PaymentPurposeCode"},
    {"UBL-CR-519", {}, "cbc:FreeOfChargeIndicator"},
    {"UBL-CR-520", {}, "cac:InvoicePeriod/cbc:StartTime"},
    {"UBL-CR-521", {}, "cac:InvoicePeriod/cbc:EndTime"},
    {"UBL-CR-522", {}, "cac:InvoicePeriod/cbc:DurationMeasure"},
    {"UBL-CR-523", {}, "cac:InvoicePeriod/cbc:DescriptionCode"},
    {"UBL-CR-524", {}, "cac:InvoicePeriod/cbc:Description"},
    {"UBL-CR-525", {}, "cac:OrderLineReference/cbc:SalesOrderLineID"},
    {"UBL-CR-526", {}, "cac:OrderLineReference/cbc:UUID"},
    {"UBL-CR-527", {}, "cac:OrderLineReference/cbc:LineStatusCode"},
    {"UBL-CR-528", {}, "cac:OrderLineReference/cac:OrderReference"},
    {"UBL-CR-529", {}, "cac:DespatchLineReference"},
    {"UBL-CR-530", {}, "cac:ReceiptLineReference"},
    {"UBL-CR-531", {}, "cac:BillingReference"},
    {"UBL-CR-532", {}, "cac:DocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-533", {}, "cac:DocumentReference/cbc:UUID"},
    {"UBL-CR-534", {}, "cac:DocumentReference/cbc:IssueDate"},
    {"UBL-CR-535", {}, "cac:DocumentReference/cbc:IssueTime"},
    {"UBL-CR-537", {}, "cac:DocumentReference/cbc:DocumentType"},
    {"UBL-CR-538", {}, "cac:DocumentReference/cbc:XPath"},
    {"UBL-CR-539", {}, "cac:DocumentReference/cbc:LanguageID"},
    {"UBL-CR-540", {}, "cac:DocumentReference/cbc:LocaleCode"},
    {"UBL-CR-541", {}, "cac:DocumentReference/cbc:VersionID"},
    {"UBL-CR-542", {}, "cac:DocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-543", {}, "cac:DocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-544", {}, "cac:DocumentReference/cac:Attachment"},
    {"UBL-CR-545", {}, "cac:DocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-546", {}, "cac:DocumentReference/cac:IssuerParty"},
    {"UBL-CR-547", {}, "cac:DocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-548", {}, "cac:PricingReference"},
    {"UBL-CR-549", {}, "cac:OriginatorParty"},
    {"UBL-CR-550", {}, "cac:Delivery"},
    {"UBL-CR-551", {}, "cac:PaymentTerms"},
    {"UBL-CR-552", {}, "cac:AllowanceCharge/cbc:ID"},
    {"UBL-CR-553", {}, "cac:AllowanceCharge/cbc:PrepaidIndicator"},
    {"UBL-CR-554", {}, "cac:AllowanceCharge/cbc:SequenceNumeric"},
    {"UBL-CR-555", {}, "cac:AllowanceCharge/cbc:AccountingCostCode"},
    {"UBL-CR-556", {}, "cac:AllowanceCharge/cbc:AccountingCost"},
    {"UBL-CR-557", {}, "cac:AllowanceCharge/cbc:PerUnitAmount"},
    {"UBL-CR-558", {}, "cac:AllowanceCharge/cac:TaxCategory"},
    {"UBL-CR-559", {}, "cac:AllowanceCharge/cac:TaxTotal"},
    {"UBL-CR-560", {}, "cac:AllowanceCharge/cac:PaymentMeans"},
    {"UBL-CR-561", {}, "cac:TaxTotal"},
    {"UBL-CR-634", {}, "cac:Price/cac:AllowanceCharge/cbc:AllowanceChargeReason"},
    {"UBL-CR-635", {}, "cac:Price/cac:AllowanceCharge/cbc:MultiplierFactorNumeric"},
    {"UBL-CR-636", {}, "cac:Price/cac:AllowanceCharge/cbc:PrepaidIndicator"},
    {"UBL-CR-637", {}, "cac:Price/cac:AllowanceCharge/cbc:SequenceNumeric"},
    {"UBL-CR-638", {}, "cac:Price/cac:AllowanceCharge/cbc:AccountingCostCode"},
    {"UBL-CR-639", {}, "cac:Price/cac:AllowanceCharge/cbc:AccountingCost"},
    {"UBL-CR-640", {}, "cac:Price/cac:AllowanceCharge/cbc:PerUnitAmount"},
    {"UBL-CR-641", {}, "cac:Price/cac:AllowanceCharge/cac:TaxCategory"},
    {"UBL-CR-642", {}, "cac:Price/cac:AllowanceCharge/cac:TaxTotal"},
    {"UBL-CR-643", {}, "cac:Price/cac:AllowanceCharge/cac:PaymentMeans"},
    {"UBL-CR-644", {}, "cac:Price/cac:PricingExchangeRate"},
    {"UBL-CR-645", {}, "cac:DeliveryTerms"},
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

// The local names of the elements directly below any line, gathered once per document:
// most line paths of the table start with an element no line has, and then no line needs
// to be walked.
const QSet<QByteArray> &lineChildren(const Facts &doc)
{
    return doc.once<QSet<QByteArray>>("ubl-line-children", [&doc] {
        QSet<QByteArray> names;
        for (xmlNode *line : doc.nodes(Scope::Line))
            for (xmlNode *child = line->children; child; child = child->next)
                if (child->type == XML_ELEMENT_NODE)
                    names.insert(QByteArray(reinterpret_cast<const char *>(child->name)));
        return names;
    });
}

// Whether some line has the element the path starts with ("cac:Item/..." asks for Item).
bool linesMayHave(const Facts &doc, std::string_view path)
{
    std::string_view first = path.substr(0, path.find('/'));
    first.remove_prefix(first.find(':') + 1);
    return lineChildren(doc).contains(QByteArray(first.data(), qsizetype(first.size())));
}

// The row of the unused-element table the rule being checked stands for.
const Unused &unusedRow(const RuleContext &c)
{
    static const std::unordered_map<std::string_view, const Unused *> byId = [] {
        std::unordered_map<std::string_view, const Unused *> rows;
        for (const Unused &row : UnusedElements)
            rows.emplace(row.id, &row);
        return rows;
    }();
    return *byId.at(c.rule->id);
}

bool unused(RuleContext &c)
{
    const Unused &rule = unusedRow(c);
    // The message names the element with its parent: "cbc:ID" alone says little.
    const auto report = [&c](xmlNode *from, const char *path) {
        for (xmlNode *node : All(from, path))
            c.fail(node, {NameOf(node->parent) + QLatin1Char('/') + NameOf(node)});
    };
    for (const char *path : rule.paths)
        if (path)
            report(c.node, path);
    if (rule.linePath != nullptr && linesMayHave(c.doc, rule.linePath))
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
         UblSpaces spaces;
         checkAmounts(c, c.node, spaces);
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

// The rules of their own, then one rule per row of the unused-element table.
constexpr auto allRules()
{
    constexpr size_t own = std::size(OwnRules);
    std::array<Rule, own + std::size(UnusedElements)> rules{};
    for (size_t i = 0; i < own; ++i)
        rules[i] = OwnRules[i];
    for (size_t i = 0; i < std::size(UnusedElements); ++i)
        rules[own + i] =
            Rule{UnusedElements[i].id, FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice, &unused};
    return rules;
}

constexpr auto Rules = allRules();

#undef SUPPLIER
#undef CUSTOMER

} // namespace

std::span<const Rule> UblSyntaxRules()
{
    return Rules;
}

} // namespace invorator::validation
