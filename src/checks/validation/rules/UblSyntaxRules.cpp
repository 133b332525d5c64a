// UBL-SR-*, UBL-CR-* and UBL-DT-*, the UBL binding's own rules: elements that may occur
// only once, elements and attributes EN 16931 does not use, and what amounts and
// attachments look like.
#include "checks/validation/RuleContext.h"

#include <QSet>

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace invorator::validation {

namespace {

#define SUPPLIER "cac:AccountingSupplierParty/cac:Party/"
#define CUSTOMER "cac:AccountingCustomerParty/cac:Party/"

std::string_view nameOf(const xmlNode *node)
{
    return reinterpret_cast<const char *>(node->name);
}

// An attribute's value exactly as written; empty when the element has none.
QString attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return {};
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

// Whether one of the nodes on the path reads `value` exactly, as an XPath comparison of a
// node set with a string does.
bool anyIs(xmlNode *from, const char *path, QLatin1String value)
{
    for (xmlNode *node : All(from, path))
        if (RawText(node) == value)
            return true;
    return false;
}

// Whether a tax scheme entry names VAT (or, with `vat` false, some other tax); the
// scheme's code is compared in upper case, as written otherwise.
bool namesTax(xmlNode *partyTaxScheme, bool vat)
{
    for (xmlNode *id : All(partyTaxScheme, "cac:TaxScheme/cbc:ID"))
        if ((RawText(id).toUpper() == QLatin1String("VAT")) == vat)
            return true;
    return false;
}

// The tax numbers of a party's PartyTaxScheme entries, VAT ones or the others. An entry
// without a tax scheme is neither.
Nodes taxNumbers(xmlNode *party, bool vat)
{
    Nodes out;
    for (xmlNode *scheme : All(party, "cac:PartyTaxScheme")) {
        if (!namesTax(scheme, vat))
            continue;
        for (xmlNode *number : All(scheme, "cbc:CompanyID"))
            out.push_back(number);
    }
    return out;
}

// The payee's details count only where the payee is someone other than the seller, told by
// a payee name (BT-59) that differs from the seller name (BT-27). Without either name
// the payee cannot be told apart and the rule fails.
bool payeeOnce(RuleContext &c, const Nodes &details)
{
    xmlNode *payee = c.first("cac:PayeeParty");
    if (!payee)
        return true;
    // Some payee name differs from some seller name: both are given and between them they
    // hold more than one value. Worked out once for the three rules that ask.
    const bool differs = c.doc.once<bool>("ubl-payee-differs", [&c, payee] {
        const Nodes names = All(payee, "cac:PartyName/cbc:Name");
        const Nodes sellers = c.all(SUPPLIER "cac:PartyLegalEntity/cbc:RegistrationName");
        QSet<QString> values;
        for (const Nodes *nodes : {&names, &sellers})
            for (xmlNode *node : *nodes)
                if (values.insert(RawText(node)); values.size() > 1)
                    break;
        return !names.empty() && !sellers.empty() && values.size() > 1;
    });
    const bool once = AtMostOnce(c, details);
    if (!differs) {
        c.at = payee;
        return false;
    }
    return once;
}

bool payeeOnce(RuleContext &c, const char *path)
{
    xmlNode *payee = c.first("cac:PayeeParty");
    return payeeOnce(c, payee ? All(payee, path) : Nodes{});
}

// The distinct values of the nodes on a path; one value may repeat, a second may not.
bool oneValue(RuleContext &c, const char *path)
{
    QSet<QString> seen;
    for (xmlNode *node : c.all(path)) {
        seen.insert(RawText(node));
        if (seen.size() > 1)
            c.fail(node, {Text(node)});
    }
    return seen.size() <= 1;
}

// The namespaces of the UBL components, told apart by URI. Elements share their
// declaration's copy of the URI, so the copies once seen settle most elements by pointer.
enum class Space : unsigned char { Other, Cac, Cbc, Ext };

class Spaces
{
public:
    Space of(const xmlNode *node)
    {
        if (!node->ns || !node->ns->href)
            return Space::Other;
        const xmlChar *uri = node->ns->href;
        for (const auto &[known, space] : m_known)
            if (known == uri)
                return space;
        const Space space = classify(uri);
        if (m_known.size() < 16)
            m_known.emplace_back(uri, space);
        return space;
    }

private:
    static Space classify(const xmlChar *uri)
    {
        const std::string_view text(reinterpret_cast<const char *>(uri));
        if (text == "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2")
            return Space::Cac;
        if (text == "urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2")
            return Space::Cbc;
        if (text == "urn:oasis:names:specification:ubl:schema:xsd:CommonExtensionComponents-2")
            return Space::Ext;
        return Space::Other;
    }
    std::vector<std::pair<const xmlChar *, Space>> m_known;
};

// One step of a table path: an element of a namespace, or an attribute without one.
struct Step
{
    Space space = Space::Other;
    std::string_view name;
    bool attribute = false;
    // An attribute is the path's last step, so its name ends the path's literal.
    const xmlChar *xmlName() const { return reinterpret_cast<const xmlChar *>(name.data()); }
};

std::vector<Step> stepsOf(std::string_view path)
{
    std::vector<Step> steps;
    while (!path.empty()) {
        const size_t slash = path.find('/');
        std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        Step step;
        if (part.starts_with('@')) {
            step.attribute = true;
            step.name = part.substr(1);
        } else {
            const std::string_view prefix = part.substr(0, part.find(':'));
            step.space = prefix == "cac" ? Space::Cac : prefix == "cbc" ? Space::Cbc : Space::Ext;
            step.name = part.substr(part.find(':') + 1);
        }
        steps.push_back(step);
    }
    return steps;
}

// Elements and attributes EN 16931 does not use: each id with the path of what it warns
// about, below the root, below each line or below a parent of that name anywhere.
enum class From : unsigned char { Root, Line, Anywhere };

struct Unused
{
    const char *id;
    From from;
    const char *path;
};

constexpr Unused UnusedElements[] = {
    // below the root
    {"UBL-CR-001", From::Root, "ext:UBLExtensions"},
    {"UBL-CR-003", From::Root, "cbc:ProfileExecutionID"},
    {"UBL-CR-004", From::Root, "cbc:CopyIndicator"},
    {"UBL-CR-005", From::Root, "cbc:UUID"},
    {"UBL-CR-006", From::Root, "cbc:IssueTime"},
    {"UBL-CR-007", From::Root, "cbc:PricingCurrencyCode"},
    {"UBL-CR-008", From::Root, "cbc:PaymentCurrencyCode"},
    {"UBL-CR-009", From::Root, "cbc:PaymentAlternativeCurrencyCode"},
    {"UBL-CR-010", From::Root, "cbc:AccountingCostCode"},
    {"UBL-CR-011", From::Root, "cbc:LineCountNumeric"},
    {"UBL-CR-012", From::Root, "cac:InvoicePeriod/cbc:StartTime"},
    {"UBL-CR-013", From::Root, "cac:InvoicePeriod/cbc:EndTime"},
    {"UBL-CR-014", From::Root, "cac:InvoicePeriod/cbc:DurationMeasure"},
    {"UBL-CR-015", From::Root, "cac:InvoicePeriod/cbc:Description"},
    {"UBL-CR-016", From::Root, "cac:OrderReference/cbc:CopyIndicator"},
    {"UBL-CR-017", From::Root, "cac:OrderReference/cbc:UUID"},
    {"UBL-CR-018", From::Root, "cac:OrderReference/cbc:IssueDate"},
    {"UBL-CR-019", From::Root, "cac:OrderReference/cbc:IssueTime"},
    {"UBL-CR-020", From::Root, "cac:OrderReference/cbc:CustomerReference"},
    {"UBL-CR-021", From::Root, "cac:OrderReference/cbc:OrderTypeCode"},
    {"UBL-CR-022", From::Root, "cac:OrderReference/cac:DocumentReference"},
    {"UBL-CR-023", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-024", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:UUID"},
    {"UBL-CR-025", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:IssueTime"},
    {"UBL-CR-026", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentTypeCode"},
    {"UBL-CR-027", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentType"},
    {"UBL-CR-028", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:XPath"},
    {"UBL-CR-029", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:LanguageID"},
    {"UBL-CR-030", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:LocaleCode"},
    {"UBL-CR-031", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:VersionID"},
    {"UBL-CR-032", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-033", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-034", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cac:Attachment"},
    {"UBL-CR-035", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-036", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cac:IssuerParty"},
    {"UBL-CR-037", From::Root, "cac:BillingReference/cac:InvoiceDocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-038", From::Root, "cac:BillingReference/cac:SelfBilledInvoiceDocumentReference"},
    {"UBL-CR-039", From::Root, "cac:BillingReference/cac:CreditNoteDocumentReference"},
    {"UBL-CR-040", From::Root, "cac:BillingReference/cac:SelfBilledCreditNoteDocumentReference"},
    {"UBL-CR-041", From::Root, "cac:BillingReference/cac:DebitNoteDocumentReference"},
    {"UBL-CR-042", From::Root, "cac:BillingReference/cac:ReminderDocumentReference"},
    {"UBL-CR-043", From::Root, "cac:BillingReference/cac:AdditionalDocumentReference"},
    {"UBL-CR-044", From::Root, "cac:BillingReference/cac:BillingReferenceLine"},
    {"UBL-CR-045", From::Root, "cac:DespatchDocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-046", From::Root, "cac:DespatchDocumentReference/cbc:UUID"},
    {"UBL-CR-047", From::Root, "cac:DespatchDocumentReference/cbc:IssueDate"},
    {"UBL-CR-048", From::Root, "cac:DespatchDocumentReference/cbc:IssueTime"},
    {"UBL-CR-049", From::Root, "cac:DespatchDocumentReference/cbc:DocumentTypeCode"},
    {"UBL-CR-050", From::Root, "cac:DespatchDocumentReference/cbc:DocumentType"},
    {"UBL-CR-051", From::Root, "cac:DespatchDocumentReference/cbc:XPath"},
    {"UBL-CR-052", From::Root, "cac:DespatchDocumentReference/cbc:LanguageID"},
    {"UBL-CR-053", From::Root, "cac:DespatchDocumentReference/cbc:LocaleCode"},
    {"UBL-CR-054", From::Root, "cac:DespatchDocumentReference/cbc:VersionID"},
    {"UBL-CR-055", From::Root, "cac:DespatchDocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-056", From::Root, "cac:DespatchDocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-057", From::Root, "cac:DespatchDocumentReference/cac:Attachment"},
    {"UBL-CR-058", From::Root, "cac:DespatchDocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-059", From::Root, "cac:DespatchDocumentReference/cac:IssuerParty"},
    {"UBL-CR-060", From::Root, "cac:DespatchDocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-061", From::Root, "cac:ReceiptDocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-062", From::Root, "cac:ReceiptDocumentReference/cbc:UUID"},
    {"UBL-CR-063", From::Root, "cac:ReceiptDocumentReference/cbc:IssueDate"},
    {"UBL-CR-064", From::Root, "cac:ReceiptDocumentReference/cbc:IssueTime"},
    {"UBL-CR-065", From::Root, "cac:ReceiptDocumentReference/cbc:DocumentTypeCode"},
    {"UBL-CR-066", From::Root, "cac:ReceiptDocumentReference/cbc:DocumentType"},
    {"UBL-CR-067", From::Root, "cac:ReceiptDocumentReference/cbc:XPath"},
    {"UBL-CR-068", From::Root, "cac:ReceiptDocumentReference/cbc:LanguageID"},
    {"UBL-CR-069", From::Root, "cac:ReceiptDocumentReference/cbc:LocaleCode"},
    {"UBL-CR-070", From::Root, "cac:ReceiptDocumentReference/cbc:VersionID"},
    {"UBL-CR-071", From::Root, "cac:ReceiptDocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-072", From::Root, "cac:ReceiptDocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-073", From::Root, "cac:ReceiptDocumentReference/cac:Attachment"},
    {"UBL-CR-074", From::Root, "cac:ReceiptDocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-075", From::Root, "cac:ReceiptDocumentReference/cac:IssuerParty"},
    {"UBL-CR-076", From::Root, "cac:ReceiptDocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-077", From::Root, "cac:StatementDocumentReference"},
    {"UBL-CR-078", From::Root, "cac:OriginatorDocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-079", From::Root, "cac:OriginatorDocumentReference/cbc:UUID"},
    {"UBL-CR-080", From::Root, "cac:OriginatorDocumentReference/cbc:IssueDate"},
    {"UBL-CR-081", From::Root, "cac:OriginatorDocumentReference/cbc:IssueTime"},
    {"UBL-CR-082", From::Root, "cac:OriginatorDocumentReference/cbc:DocumentTypeCode"},
    {"UBL-CR-083", From::Root, "cac:OriginatorDocumentReference/cbc:DocumentType"},
    {"UBL-CR-084", From::Root, "cac:OriginatorDocumentReference/cbc:XPath"},
    {"UBL-CR-085", From::Root, "cac:OriginatorDocumentReference/cbc:LanguageID"},
    {"UBL-CR-086", From::Root, "cac:OriginatorDocumentReference/cbc:LocaleCode"},
    {"UBL-CR-087", From::Root, "cac:OriginatorDocumentReference/cbc:VersionID"},
    {"UBL-CR-088", From::Root, "cac:OriginatorDocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-089", From::Root, "cac:OriginatorDocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-090", From::Root, "cac:OriginatorDocumentReference/cac:Attachment"},
    {"UBL-CR-091", From::Root, "cac:OriginatorDocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-092", From::Root, "cac:OriginatorDocumentReference/cac:IssuerParty"},
    {"UBL-CR-093", From::Root, "cac:OriginatorDocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-094", From::Root, "cac:ContractDocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-095", From::Root, "cac:ContractDocumentReference/cbc:UUID"},
    {"UBL-CR-096", From::Root, "cac:ContractDocumentReference/cbc:IssueDate"},
    {"UBL-CR-097", From::Root, "cac:ContractDocumentReference/cbc:IssueTime"},
    {"UBL-CR-098", From::Root, "cac:ContractDocumentReference/cbc:DocumentTypeCode"},
    {"UBL-CR-099", From::Root, "cac:ContractDocumentReference/cbc:DocumentType"},
    {"UBL-CR-100", From::Root, "cac:ContractDocumentReference/cbc:XPath"},
    {"UBL-CR-101", From::Root, "cac:ContractDocumentReference/cbc:LanguageID"},
    {"UBL-CR-102", From::Root, "cac:ContractDocumentReference/cbc:LocaleCode"},
    {"UBL-CR-103", From::Root, "cac:ContractDocumentReference/cbc:VersionID"},
    {"UBL-CR-104", From::Root, "cac:ContractDocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-105", From::Root, "cac:ContractDocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-106", From::Root, "cac:ContractDocumentReference/cac:Attachment"},
    {"UBL-CR-107", From::Root, "cac:ContractDocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-108", From::Root, "cac:ContractDocumentReference/cac:IssuerParty"},
    {"UBL-CR-109", From::Root, "cac:ContractDocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-110", From::Root, "cac:AdditionalDocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-111", From::Root, "cac:AdditionalDocumentReference/cbc:UUID"},
    {"UBL-CR-112", From::Root, "cac:AdditionalDocumentReference/cbc:IssueDate"},
    {"UBL-CR-113", From::Root, "cac:AdditionalDocumentReference/cbc:IssueTime"},
    {"UBL-CR-114", From::Root, "cac:AdditionalDocumentReference/cbc:DocumentType"},
    {"UBL-CR-115", From::Root, "cac:AdditionalDocumentReference/cbc:XPath"},
    {"UBL-CR-116", From::Root, "cac:AdditionalDocumentReference/cbc:LanguageID"},
    {"UBL-CR-117", From::Root, "cac:AdditionalDocumentReference/cbc:LocaleCode"},
    {"UBL-CR-118", From::Root, "cac:AdditionalDocumentReference/cbc:VersionID"},
    {"UBL-CR-119", From::Root, "cac:AdditionalDocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-121", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:DocumentHash"},
    {"UBL-CR-122", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:HashAlgorithmMethod"},
    {"UBL-CR-123", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:ExpiryDate"},
    {"UBL-CR-124", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:ExpiryTime"},
    {"UBL-CR-125", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:MimeCode"},
    {"UBL-CR-126", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:FormatCode"},
    {"UBL-CR-127", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:EncodingCode"},
    {"UBL-CR-128", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:CharacterSetCode"},
    {"UBL-CR-129", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:FileName"},
    {"UBL-CR-130", From::Root,
     "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:Description"},
    {"UBL-CR-131", From::Root, "cac:AdditionalDocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-132", From::Root, "cac:AdditionalDocumentReference/cac:IssuerParty"},
    {"UBL-CR-133", From::Root, "cac:AdditionalDocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-134", From::Root, "cac:ProjectReference/cbc:UUID"},
    {"UBL-CR-135", From::Root, "cac:ProjectReference/cbc:IssueDate"},
    {"UBL-CR-136", From::Root, "cac:ProjectReference/cac:WorkPhaseReference"},
    {"UBL-CR-137", From::Root, "cac:Signature"},
    {"UBL-CR-138", From::Root, "cac:AccountingSupplierParty/cbc:CustomerAssignedAccountID"},
    {"UBL-CR-139", From::Root, "cac:AccountingSupplierParty/cbc:AdditionalAccountID"},
    {"UBL-CR-140", From::Root, "cac:AccountingSupplierParty/cbc:DataSendingCapability"},
    {"UBL-CR-141", From::Root, "cac:AccountingSupplierParty/cac:Party/cbc:MarkCareIndicator"},
    {"UBL-CR-142", From::Root, "cac:AccountingSupplierParty/cac:Party/cbc:MarkAttentionIndicator"},
    {"UBL-CR-143", From::Root, "cac:AccountingSupplierParty/cac:Party/cbc:WebsiteURI"},
    {"UBL-CR-144", From::Root, "cac:AccountingSupplierParty/cac:Party/cbc:LogoReferenceID"},
    {"UBL-CR-145", From::Root, "cac:AccountingSupplierParty/cac:Party/cbc:IndustryClassificationCode"},
    {"UBL-CR-146", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:Language"},
    {"UBL-CR-147", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:ID"},
    {"UBL-CR-148", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:AddressTypeCode"},
    {"UBL-CR-149", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:AddressFormatCode"},
    {"UBL-CR-150", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:Postbox"},
    {"UBL-CR-151", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:Floor"},
    {"UBL-CR-152", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:Room"},
    {"UBL-CR-153", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:BlockName"},
    {"UBL-CR-154", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:BuildingName"},
    {"UBL-CR-155", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:BuildingNumber"},
    {"UBL-CR-156", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:InhouseMail"},
    {"UBL-CR-157", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:Department"},
    {"UBL-CR-158", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:MarkAttention"},
    {"UBL-CR-159", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:MarkCare"},
    {"UBL-CR-160", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:PlotIdentification"},
    {"UBL-CR-161", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:CitySubdivisionName"},
    {"UBL-CR-162", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:CountrySubentityCode"},
    {"UBL-CR-163", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:Region"},
    {"UBL-CR-164", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:District"},
    {"UBL-CR-165", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cbc:TimezoneOffset"},
    {"UBL-CR-166", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cac:Country/cbc:Name"},
    {"UBL-CR-167", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PostalAddress/cac:LocationCoordinate"},
    {"UBL-CR-168", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PhysicalLocation"},
    {"UBL-CR-169", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cbc:RegistrationName"},
    {"UBL-CR-170", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cbc:TaxLevelCode"},
    {"UBL-CR-171", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cbc:ExemptionReasonCode"},
    {"UBL-CR-172", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cbc:ExemptionReason"},
    {"UBL-CR-173", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cac:RegistrationAddress"},
    {"UBL-CR-174", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:Name"},
    {"UBL-CR-175", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:TaxTypeCode"},
    {"UBL-CR-176", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:CurrencyCode"},
    {"UBL-CR-177", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cac:JurisdictionRegionAddress"},
    {"UBL-CR-178", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationDate"},
    {"UBL-CR-179", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationExpirationDate"},
    {"UBL-CR-180", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:CompanyLegalFormCode"},
    {"UBL-CR-181", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:SoleProprietorshipIndicator"},
    {"UBL-CR-182", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:CompanyLiquidationStatusCode"},
    {"UBL-CR-183", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:CorporateStockAmount"},
    {"UBL-CR-184", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:FullyPaidSharesIndicator"},
    {"UBL-CR-185", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cac:RegistrationAddress"},
    {"UBL-CR-186", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cac:CorporateRegistrationScheme"},
    {"UBL-CR-187", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cac:HeadOfficeParty"},
    {"UBL-CR-188", From::Root,
     "cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cac:ShareholderParty"},
    {"UBL-CR-189", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:Contact/cbc:ID"},
    {"UBL-CR-190", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:Contact/cbc:Telefax"},
    {"UBL-CR-191", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:Contact/cbc:Note"},
    {"UBL-CR-192", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:Contact/cac:OtherCommunication"},
    {"UBL-CR-193", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:Person"},
    {"UBL-CR-194", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:AgentParty"},
    {"UBL-CR-195", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:ServiceProviderParty"},
    {"UBL-CR-196", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:PowerOfAttorney"},
    {"UBL-CR-197", From::Root, "cac:AccountingSupplierParty/cac:Party/cac:FinancialAccount"},
    {"UBL-CR-198", From::Root, "cac:AccountingSupplierParty/cac:DespatchContact"},
    {"UBL-CR-199", From::Root, "cac:AccountingSupplierParty/cac:AccountingContact"},
    {"UBL-CR-200", From::Root, "cac:AccountingSupplierParty/cac:SellerContact"},
    {"UBL-CR-201", From::Root, "cac:AccountingCustomerParty/cbc:CustomerAssignedAccountID"},
    {"UBL-CR-202", From::Root, "cac:AccountingCustomerParty/cbc:SupplierAssignedAccountID"},
    {"UBL-CR-203", From::Root, "cac:AccountingCustomerParty/cbc:AdditionalAccountID"},
    {"UBL-CR-204", From::Root, "cac:AccountingCustomerParty/cac:Party/cbc:MarkCareIndicator"},
    {"UBL-CR-205", From::Root, "cac:AccountingCustomerParty/cac:Party/cbc:MarkAttentionIndicator"},
    {"UBL-CR-206", From::Root, "cac:AccountingCustomerParty/cac:Party/cbc:WebsiteURI"},
    {"UBL-CR-207", From::Root, "cac:AccountingCustomerParty/cac:Party/cbc:LogoReferenceID"},
    {"UBL-CR-208", From::Root, "cac:AccountingCustomerParty/cac:Party/cbc:IndustryClassificationCode"},
    {"UBL-CR-209", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:Language"},
    {"UBL-CR-210", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:ID"},
    {"UBL-CR-211", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:AddressTypeCode"},
    {"UBL-CR-212", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:AddressFormatCode"},
    {"UBL-CR-213", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:Postbox"},
    {"UBL-CR-214", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:Floor"},
    {"UBL-CR-215", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:Room"},
    {"UBL-CR-216", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:BlockName"},
    {"UBL-CR-217", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:BuildingName"},
    {"UBL-CR-218", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:BuildingNumber"},
    {"UBL-CR-219", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:InhouseMail"},
    {"UBL-CR-220", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:Department"},
    {"UBL-CR-221", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:MarkAttention"},
    {"UBL-CR-222", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:MarkCare"},
    {"UBL-CR-223", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:PlotIdentification"},
    {"UBL-CR-224", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:CitySubdivisionName"},
    {"UBL-CR-225", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:CountrySubentityCode"},
    {"UBL-CR-226", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:Region"},
    {"UBL-CR-227", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:District"},
    {"UBL-CR-228", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cbc:TimezoneOffset"},
    {"UBL-CR-229", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cac:Country/cbc:Name"},
    {"UBL-CR-230", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PostalAddress/cac:LocationCoordinate"},
    {"UBL-CR-231", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PhysicalLocation"},
    {"UBL-CR-232", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cbc:RegistrationName"},
    {"UBL-CR-233", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cbc:TaxLevelCode"},
    {"UBL-CR-234", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cbc:ExemptionReasonCode"},
    {"UBL-CR-235", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cbc:ExemptionReason"},
    {"UBL-CR-236", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cac:RegistrationAddress"},
    {"UBL-CR-237", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:Name"},
    {"UBL-CR-238", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:TaxTypeCode"},
    {"UBL-CR-239", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cbc:CurrencyCode"},
    {"UBL-CR-240", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyTaxScheme/cac:TaxScheme/cac:JurisdictionRegionAddress"},
    {"UBL-CR-241", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationDate"},
    {"UBL-CR-242", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationExpirationDate"},
    {"UBL-CR-243", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:CompanyLegalFormCode"},
    {"UBL-CR-244", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:CompanyLegalForm"},
    {"UBL-CR-245", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:SoleProprietorshipIndicator"},
    {"UBL-CR-246", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:CompanyLiquidationStatusCode"},
    {"UBL-CR-247", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:CorporateStockAmount"},
    {"UBL-CR-248", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:FullyPaidSharesIndicator"},
    {"UBL-CR-249", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cac:RegistrationAddress"},
    {"UBL-CR-250", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cac:CorporateRegistrationScheme"},
    {"UBL-CR-251", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cac:HeadOfficeParty"},
    {"UBL-CR-252", From::Root,
     "cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cac:ShareholderParty"},
    {"UBL-CR-253", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:Contact/cbc:ID"},
    {"UBL-CR-254", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:Contact/cbc:Telefax"},
    {"UBL-CR-255", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:Contact/cbc:Note"},
    {"UBL-CR-256", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:Contact/cac:OtherCommunication"},
    {"UBL-CR-257", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:Person"},
    {"UBL-CR-258", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:AgentParty"},
    {"UBL-CR-259", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:ServiceProviderParty"},
    {"UBL-CR-260", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:PowerOfAttorney"},
    {"UBL-CR-261", From::Root, "cac:AccountingCustomerParty/cac:Party/cac:FinancialAccount"},
    {"UBL-CR-262", From::Root, "cac:AccountingCustomerParty/cac:DeliveryContact"},
    {"UBL-CR-263", From::Root, "cac:AccountingCustomerParty/cac:AccountingContact"},
    {"UBL-CR-264", From::Root, "cac:AccountingCustomerParty/cac:BuyerContact"},
    {"UBL-CR-265", From::Root, "cac:PayeeParty/cbc:MarkCareIndicator"},
    {"UBL-CR-266", From::Root, "cac:PayeeParty/cbc:MarkAttentionIndicator"},
    {"UBL-CR-267", From::Root, "cac:PayeeParty/cbc:WebsiteURI"},
    {"UBL-CR-268", From::Root, "cac:PayeeParty/cbc:LogoReferenceID"},
    {"UBL-CR-269", From::Root, "cac:PayeeParty/cbc:EndpointID"},
    {"UBL-CR-270", From::Root, "cac:PayeeParty/cbc:IndustryClassificationCode"},
    {"UBL-CR-271", From::Root, "cac:PayeeParty/cac:Language"},
    {"UBL-CR-272", From::Root, "cac:PayeeParty/cac:PostalAddress"},
    {"UBL-CR-273", From::Root, "cac:PayeeParty/cac:PhysicalLocation"},
    {"UBL-CR-274", From::Root, "cac:PayeeParty/cac:PartyTaxScheme"},
    {"UBL-CR-275", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:RegistrationName"},
    {"UBL-CR-276", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:RegistrationDate"},
    {"UBL-CR-277", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:RegistrationExpirationDate"},
    {"UBL-CR-278", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:CompanyLegalFormCode"},
    {"UBL-CR-279", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:CompanyLegalForm"},
    {"UBL-CR-280", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:SoleProprietorshipIndicator"},
    {"UBL-CR-281", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:CompanyLiquidationStatusCode"},
    {"UBL-CR-282", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:CorporateStockAmount"},
    {"UBL-CR-283", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cbc:FullyPaidSharesIndicator"},
    {"UBL-CR-284", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cac:RegistrationAddress"},
    {"UBL-CR-285", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cac:CorporateRegistrationScheme"},
    {"UBL-CR-286", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cac:HeadOfficeParty"},
    {"UBL-CR-287", From::Root, "cac:PayeeParty/cac:PartyLegalEntity/cac:ShareholderParty"},
    {"UBL-CR-288", From::Root, "cac:PayeeParty/cac:Contact"},
    {"UBL-CR-289", From::Root, "cac:PayeeParty/cac:Person"},
    {"UBL-CR-290", From::Root, "cac:PayeeParty/cac:AgentParty"},
    {"UBL-CR-291", From::Root, "cac:PayeeParty/cac:ServiceProviderParty"},
    {"UBL-CR-292", From::Root, "cac:PayeeParty/cac:PowerOfAttorney"},
    {"UBL-CR-293", From::Root, "cac:PayeeParty/cac:FinancialAccount"},
    {"UBL-CR-294", From::Root, "cac:BuyerCustomerParty"},
    {"UBL-CR-295", From::Root, "cac:SellerSupplierParty"},
    {"UBL-CR-296", From::Root, "cac:TaxRepresentativeParty/cbc:MarkCareIndicator"},
    {"UBL-CR-297", From::Root, "cac:TaxRepresentativeParty/cbc:MarkAttentionIndicator"},
    {"UBL-CR-298", From::Root, "cac:TaxRepresentativeParty/cbc:WebsiteURI"},
    {"UBL-CR-299", From::Root, "cac:TaxRepresentativeParty/cbc:LogoReferenceID"},
    {"UBL-CR-300", From::Root, "cac:TaxRepresentativeParty/cbc:EndpointID"},
    {"UBL-CR-301", From::Root, "cac:TaxRepresentativeParty/cbc:IndustryClassificationCode"},
    {"UBL-CR-302", From::Root, "cac:TaxRepresentativeParty/cac:PartyIdentification"},
    {"UBL-CR-303", From::Root, "cac:TaxRepresentativeParty/cac:Language"},
    {"UBL-CR-304", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:ID"},
    {"UBL-CR-305", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:AddressTypeCode"},
    {"UBL-CR-306", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:AddressFormatCode"},
    {"UBL-CR-307", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:Postbox"},
    {"UBL-CR-308", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:Floor"},
    {"UBL-CR-309", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:Room"},
    {"UBL-CR-310", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:BlockName"},
    {"UBL-CR-311", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:BuildingName"},
    {"UBL-CR-312", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:BuildingNumber"},
    {"UBL-CR-313", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:InhouseMail"},
    {"UBL-CR-314", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:Department"},
    {"UBL-CR-315", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:MarkAttention"},
    {"UBL-CR-316", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:MarkCare"},
    {"UBL-CR-317", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:PlotIdentification"},
    {"UBL-CR-318", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:CitySubdivisionName"},
    {"UBL-CR-319", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:CountrySubentityCode"},
    {"UBL-CR-320", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:Region"},
    {"UBL-CR-321", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:District"},
    {"UBL-CR-322", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cbc:TimezoneOffset"},
    {"UBL-CR-323", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cac:Country/cbc:Name"},
    {"UBL-CR-324", From::Root, "cac:TaxRepresentativeParty/cac:PostalAddress/cac:LocationCoordinate"},
    {"UBL-CR-325", From::Root, "cac:TaxRepresentativeParty/cac:PhysicalLocation"},
    {"UBL-CR-326", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cbc:RegistrationName"},
    {"UBL-CR-327", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cbc:TaxLevelCode"},
    {"UBL-CR-328", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cbc:ExemptionReasonCode"},
    {"UBL-CR-329", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cbc:ExemptionReason"},
    {"UBL-CR-330", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cac:RegistrationAddress"},
    {"UBL-CR-331", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cac:TaxScheme/cbc:Name"},
    {"UBL-CR-332", From::Root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cac:TaxScheme/cbc:TaxTypeCode"},
    {"UBL-CR-333", From::Root,
     "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cac:TaxScheme/cbc:CurrencyCode"},
    {"UBL-CR-334", From::Root,
     "cac:TaxRepresentativeParty/cac:PartyTaxScheme/cac:TaxScheme/cac:JurisdictionRegionAddress"},
    {"UBL-CR-335", From::Root, "cac:TaxRepresentativeParty/cac:PartyLegalEntity"},
    {"UBL-CR-336", From::Root, "cac:TaxRepresentativeParty/cac:Contact"},
    {"UBL-CR-337", From::Root, "cac:TaxRepresentativeParty/cac:Person"},
    {"UBL-CR-338", From::Root, "cac:TaxRepresentativeParty/cac:AgentParty"},
    {"UBL-CR-339", From::Root, "cac:TaxRepresentativeParty/cac:ServiceProviderParty"},
    {"UBL-CR-340", From::Root, "cac:TaxRepresentativeParty/cac:PowerOfAttorney"},
    {"UBL-CR-341", From::Root, "cac:TaxRepresentativeParty/cac:FinancialAccount"},
    {"UBL-CR-342", From::Root, "cac:Delivery/cbc:ID"},
    {"UBL-CR-343", From::Root, "cac:Delivery/cbc:Quantity"},
    {"UBL-CR-344", From::Root, "cac:Delivery/cbc:MinimumQuantity"},
    {"UBL-CR-345", From::Root, "cac:Delivery/cbc:MaximumQuantity"},
    {"UBL-CR-346", From::Root, "cac:Delivery/cbc:ActualDeliveryTime"},
    {"UBL-CR-347", From::Root, "cac:Delivery/cbc:LatestDeliveryDate"},
    {"UBL-CR-348", From::Root, "cac:Delivery/cbc:LatestDeliveryTime"},
    {"UBL-CR-349", From::Root, "cac:Delivery/cbc:ReleaseID"},
    {"UBL-CR-350", From::Root, "cac:Delivery/cbc:TrackingID"},
    {"UBL-CR-351", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:Description"},
    {"UBL-CR-352", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:Conditions"},
    {"UBL-CR-353", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:CountrySubentity"},
    {"UBL-CR-354", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:CountrySubentityCode"},
    {"UBL-CR-355", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:LocationTypeCode"},
    {"UBL-CR-356", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:InformationURI"},
    {"UBL-CR-357", From::Root, "cac:Delivery/cac:DeliveryLocation/cbc:Name"},
    {"UBL-CR-358", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:ValidityPeriod"},
    {"UBL-CR-359", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:ID"},
    {"UBL-CR-360", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:AddressTypeCode"},
    {"UBL-CR-361", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:AddressFormatCode"},
    {"UBL-CR-362", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:Postbox"},
    {"UBL-CR-363", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:Floor"},
    {"UBL-CR-364", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:Room"},
    {"UBL-CR-365", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:BlockName"},
    {"UBL-CR-366", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:BuildingName"},
    {"UBL-CR-367", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:BuildingNumber"},
    {"UBL-CR-368", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:InhouseMail"},
    {"UBL-CR-369", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:Department"},
    {"UBL-CR-370", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:MarkAttention"},
    {"UBL-CR-371", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:MarkCare"},
    {"UBL-CR-372", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:PlotIdentification"},
    {"UBL-CR-373", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:CitySubdivisionName"},
    {"UBL-CR-374", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:CountrySubentityCode"},
    {"UBL-CR-375", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:Region"},
    {"UBL-CR-376", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:District"},
    {"UBL-CR-377", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cbc:TimezoneOffset"},
    {"UBL-CR-378", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cac:Country/cbc:Name"},
    {"UBL-CR-379", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cac:LocationCoordinate"},
    {"UBL-CR-380", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:SubsidiaryLocation"},
    {"UBL-CR-381", From::Root, "cac:Delivery/cac:DeliveryLocation/cac:LocationCoordinate"},
    {"UBL-CR-382", From::Root, "cac:Delivery/cac:AlternativeDeliveryLocation"},
    {"UBL-CR-383", From::Root, "cac:Delivery/cac:RequestedDeliveryPeriod"},
    {"UBL-CR-384", From::Root, "cac:Delivery/cac:EstimatedDeliveryPeriod"},
    {"UBL-CR-385", From::Root, "cac:Delivery/cac:CarrierParty"},
    {"UBL-CR-386", From::Root, "cac:Delivery/cac:DeliveryParty/cbc:MarkCareIndicator"},
    {"UBL-CR-387", From::Root, "cac:Delivery/cac:DeliveryParty/cbc:MarkAttentionIndicator"},
    {"UBL-CR-388", From::Root, "cac:Delivery/cac:DeliveryParty/cbc:WebsiteURI"},
    {"UBL-CR-389", From::Root, "cac:Delivery/cac:DeliveryParty/cbc:LogoReferenceID"},
    {"UBL-CR-390", From::Root, "cac:Delivery/cac:DeliveryParty/cbc:EndpointID"},
    {"UBL-CR-391", From::Root, "cac:Delivery/cac:DeliveryParty/cbc:IndustryClassificationCode"},
    {"UBL-CR-392", From::Root, "cac:Delivery/cac:DeliveryParty/cac:PartyIdentification"},
    {"UBL-CR-393", From::Root, "cac:Delivery/cac:DeliveryParty/cac:Language"},
    {"UBL-CR-394", From::Root, "cac:Delivery/cac:DeliveryParty/cac:PostalAddress"},
    {"UBL-CR-395", From::Root, "cac:Delivery/cac:DeliveryParty/cac:PhysicalLocation"},
    {"UBL-CR-396", From::Root, "cac:Delivery/cac:DeliveryParty/cac:PartyTaxScheme"},
    {"UBL-CR-397", From::Root, "cac:Delivery/cac:DeliveryParty/cac:PartyLegalEntity"},
    {"UBL-CR-398", From::Root, "cac:Delivery/cac:DeliveryParty/cac:Contact"},
    {"UBL-CR-399", From::Root, "cac:Delivery/cac:DeliveryParty/cac:Person"},
    {"UBL-CR-400", From::Root, "cac:Delivery/cac:DeliveryParty/cac:AgentParty"},
    {"UBL-CR-401", From::Root, "cac:Delivery/cac:DeliveryParty/cac:ServiceProviderParty"},
    {"UBL-CR-402", From::Root, "cac:Delivery/cac:DeliveryParty/cac:PowerOfAttorney"},
    {"UBL-CR-403", From::Root, "cac:Delivery/cac:DeliveryParty/cac:FinancialAccount"},
    {"UBL-CR-404", From::Root, "cac:Delivery/cac:NotifyParty"},
    {"UBL-CR-405", From::Root, "cac:Delivery/cac:Despatch"},
    {"UBL-CR-406", From::Root, "cac:Delivery/cac:DeliveryTerms"},
    {"UBL-CR-407", From::Root, "cac:Delivery/cac:MinimumDeliveryUnit"},
    {"UBL-CR-408", From::Root, "cac:Delivery/cac:MaximumDeliveryUnit"},
    {"UBL-CR-409", From::Root, "cac:Delivery/cac:Shipment"},
    {"UBL-CR-410", From::Root, "cac:DeliveryTerms"},
    {"UBL-CR-411", From::Root, "cac:PaymentMeans/cbc:ID"},
    {"UBL-CR-413", From::Root, "cac:PaymentMeans/cbc:PaymentChannelCode"},
    {"UBL-CR-414", From::Root, "cac:PaymentMeans/cbc:InstructionID"},
    {"UBL-CR-415", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:CardTypeCode"},
    {"UBL-CR-416", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:ValidityStartDate"},
    {"UBL-CR-417", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:ExpiryDate"},
    {"UBL-CR-418", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:IssuerID"},
    {"UBL-CR-419", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:IssueNumberID"},
    {"UBL-CR-420", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:CV2ID"},
    {"UBL-CR-421", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:CardChipCode"},
    {"UBL-CR-422", From::Root, "cac:PaymentMeans/cac:CardAccount/cbc:ChipApplicationID"},
    {"UBL-CR-424", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:AliasName"},
    {"UBL-CR-425", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:AccountTypeCode"},
    {"UBL-CR-426", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:AccountFormatCode"},
    {"UBL-CR-427", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:CurrencyCode"},
    {"UBL-CR-428", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:PaymentNote"},
    {"UBL-CR-429", From::Root,
     "cac:PaymentMeans/cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cbc:Name"},
    {"UBL-CR-430", From::Root,
     "cac:PaymentMeans/cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cac:FinancialInstitution/"
     "cbc:Name"},
    {"UBL-CR-431", From::Root,
     "cac:PaymentMeans/cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cac:FinancialInstitution/"
     "cac:Address"},
    {"UBL-CR-432", From::Root,
     "cac:PaymentMeans/cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cac:Address"},
    {"UBL-CR-433", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cac:Country"},
    {"UBL-CR-434", From::Root, "cac:PaymentMeans/cac:CreditAccount"},
    {"UBL-CR-435", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cbc:MandateTypeCode"},
    {"UBL-CR-436", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cbc:MaximumPaymentInstructionsNumeric"},
    {"UBL-CR-437", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cbc:MaximumPaidAmount"},
    {"UBL-CR-438", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cbc:SignatureID"},
    {"UBL-CR-439", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:PayerParty"},
    {"UBL-CR-440", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:Name"},
    {"UBL-CR-441", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:AliasName"},
    {"UBL-CR-442", From::Root,
     "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:AccountTypeCode"},
    {"UBL-CR-443", From::Root,
     "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:AccountFormatCode"},
    {"UBL-CR-444", From::Root,
     "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:CurrencyCode"},
    {"UBL-CR-445", From::Root,
     "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cbc:PaymentNote"},
    {"UBL-CR-446", From::Root,
     "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cac:FinancialInstitutionBranch"},
    {"UBL-CR-447", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:PayerFinancialAccount/cac:Country"},
    {"UBL-CR-448", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:ValidityPeriod"},
    {"UBL-CR-449", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:PaymentReversalPeriod"},
    {"UBL-CR-450", From::Root, "cac:PaymentMeans/cac:PaymentMandate/cac:Clause"},
    {"UBL-CR-451", From::Root, "cac:PaymentMeans/cac:TradeFinancing"},
    {"UBL-CR-452", From::Root, "cac:PaymentTerms/cbc:ID"},
    {"UBL-CR-453", From::Root, "cac:PaymentTerms/cbc:PaymentMeansID"},
    {"UBL-CR-454", From::Root, "cac:PaymentTerms/cbc:PrepaidPaymentReferenceID"},
    {"UBL-CR-455", From::Root, "cac:PaymentTerms/cbc:ReferenceEventCode"},
    {"UBL-CR-456", From::Root, "cac:PaymentTerms/cbc:SettlementDiscountPercent"},
    {"UBL-CR-457", From::Root, "cac:PaymentTerms/cbc:PenaltySurchargePercent"},
    {"UBL-CR-458", From::Root, "cac:PaymentTerms/cbc:PaymentPercent"},
    {"UBL-CR-459", From::Root, "cac:PaymentTerms/cbc:Amount"},
    {"UBL-CR-460", From::Root, "cac:PaymentTerms/cbc:SettlementDiscountAmount"},
    {"UBL-CR-461", From::Root, "cac:PaymentTerms/cbc:PenaltyAmount"},
    {"UBL-CR-462", From::Root, "cac:PaymentTerms/cbc:PaymentTermsDetailsURI"},
    {"UBL-CR-463", From::Root, "cac:PaymentTerms/cbc:PaymentDueDate"},
    {"UBL-CR-464", From::Root, "cac:PaymentTerms/cbc:InstallmentDueDate"},
    {"UBL-CR-465", From::Root, "cac:PaymentTerms/cbc:InvoicingPartyReference"},
    {"UBL-CR-466", From::Root, "cac:PaymentTerms/cac:SettlementPeriod"},
    {"UBL-CR-467", From::Root, "cac:PaymentTerms/cac:PenaltyPeriod"},
    {"UBL-CR-468", From::Root, "cac:PaymentTerms/cac:ExchangeRate"},
    {"UBL-CR-469", From::Root, "cac:PaymentTerms/cac:ValidityPeriod"},
    {"UBL-CR-470", From::Root, "cac:PrepaidPayment"},
    {"UBL-CR-471", From::Root, "cac:AllowanceCharge/cbc:ID"},
    {"UBL-CR-472", From::Root, "cac:AllowanceCharge/cbc:PrepaidIndicator"},
    {"UBL-CR-473", From::Root, "cac:AllowanceCharge/cbc:SequenceNumeric"},
    {"UBL-CR-474", From::Root, "cac:AllowanceCharge/cbc:AccountingCostCode"},
    {"UBL-CR-475", From::Root, "cac:AllowanceCharge/cbc:AccountingCost"},
    {"UBL-CR-476", From::Root, "cac:AllowanceCharge/cbc:PerUnitAmount"},
    {"UBL-CR-477", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:Name"},
    {"UBL-CR-478", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:BaseUnitMeasure"},
    {"UBL-CR-479", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:PerUnitAmount"},
    {"UBL-CR-480", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:TaxExemptionReasonCode"},
    {"UBL-CR-481", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:TaxExemptionReason"},
    {"UBL-CR-482", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:TierRange"},
    {"UBL-CR-483", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cbc:TierRatePercent"},
    {"UBL-CR-484", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cbc:Name"},
    {"UBL-CR-485", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cbc:TaxTypeCode"},
    {"UBL-CR-486", From::Root, "cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cbc:CurrencyCode"},
    {"UBL-CR-487", From::Root,
     "cac:AllowanceCharge/cac:TaxCategory/cac:TaxScheme/cac:JurisdictionRegionAddress"},
    {"UBL-CR-488", From::Root, "cac:AllowanceCharge/cac:TaxTotal"},
    {"UBL-CR-489", From::Root, "cac:AllowanceCharge/cac:PaymentMeans"},
    {"UBL-CR-490", From::Root, "cac:TaxExchangeRate"},
    {"UBL-CR-491", From::Root, "cac:PricingExchangeRate"},
    {"UBL-CR-492", From::Root, "cac:PaymentExchangeRate"},
    {"UBL-CR-493", From::Root, "cac:PaymentAlternativeExchangeRate"},
    {"UBL-CR-494", From::Root, "cac:TaxTotal/cbc:RoundingAmount"},
    {"UBL-CR-495", From::Root, "cac:TaxTotal/cbc:TaxEvidenceIndicator"},
    {"UBL-CR-496", From::Root, "cac:TaxTotal/cbc:TaxIncludedIndicator"},
    {"UBL-CR-497", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:CalculationSequenceNumeric"},
    {"UBL-CR-498", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:TransactionCurrencyTaxAmount"},
    {"UBL-CR-499", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:Percent"},
    {"UBL-CR-500", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:BaseUnitMeasure"},
    {"UBL-CR-501", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:PerUnitAmount"},
    {"UBL-CR-502", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:TierRange"},
    {"UBL-CR-503", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cbc:TierRatePercent"},
    {"UBL-CR-504", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:Name"},
    {"UBL-CR-505", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:BaseUnitMeasure"},
    {"UBL-CR-506", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:PerUnitAmount"},
    {"UBL-CR-507", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:TierRange"},
    {"UBL-CR-508", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cbc:TierRatePercent"},
    {"UBL-CR-509", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cbc:Name"},
    {"UBL-CR-510", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cbc:TaxTypeCode"},
    {"UBL-CR-511", From::Root, "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cbc:CurrencyCode"},
    {"UBL-CR-512", From::Root,
     "cac:TaxTotal/cac:TaxSubtotal/cac:TaxCategory/cac:TaxScheme/cac:JurisdictionRegionAddress"},
    {"UBL-CR-513", From::Root, "cac:WithholdingTaxTotal"},
    {"UBL-CR-514", From::Root, "cac:LegalMonetaryTotal/cbc:PayableAlternativeAmount"},
    {"UBL-CR-648", From::Root, "cbc:CustomizationID/@schemeID"},
    {"UBL-CR-649", From::Root, "cbc:ProfileID/@schemeID"},
    {"UBL-CR-650", From::Root, "cbc:ID/@schemeID"},
    {"UBL-CR-651", From::Root, "cbc:SalesOrderID/@schemeID"},
    {"UBL-CR-653", From::Root, "cac:PaymentMeans/cbc:PaymentID/@schemeID"},
    {"UBL-CR-654", From::Root, "cac:PaymentMeans/cac:PayeeFinancialAccount/cbc:ID/@schemeID"},
    {"UBL-CR-655", From::Root,
     "cac:PaymentMeans/cac:PayeeFinancialAccount/cac:FinancialInstitutionBranch/cbc:ID/@schemeID"},
    {"UBL-CR-656", From::Root, "cbc:InvoiceTypeCode/@listID"},
    {"UBL-CR-657", From::Root, "cbc:DocumentCurrencyCode/@listID"},
    {"UBL-CR-658", From::Root, "cbc:TaxCurrencyCode/@listID"},
    {"UBL-CR-659", From::Root, "cac:AdditionalDocumentReference/cbc:DocumentTypeCode/@listID"},
    {"UBL-CR-661", From::Root, "cac:PaymentMeans/cbc:PaymentMeansCode/@listID"},
    {"UBL-CR-672", From::Root, "cbc:CreditNoteTypeCode/@listID"},
    {"UBL-CR-681", From::Root, "cac:PaymentMeans/cbc:InstructionNote"},
    {"UBL-CR-682", From::Root, "cac:Delivery/cac:DeliveryAddress"},
    // below each invoice or credit note line
    {"UBL-CR-515", From::Line, "cbc:UUID"},
    {"UBL-CR-516", From::Line, "cbc:TaxPointDate"},
    {"UBL-CR-517", From::Line, "cbc:AccountingCostCode"},
    {"UBL-CR-518", From::Line, "cbc:PaymentPurposeCode"},
    {"UBL-CR-519", From::Line, "cbc:FreeOfChargeIndicator"},
    {"UBL-CR-520", From::Line, "cac:InvoicePeriod/cbc:StartTime"},
    {"UBL-CR-521", From::Line, "cac:InvoicePeriod/cbc:EndTime"},
    {"UBL-CR-522", From::Line, "cac:InvoicePeriod/cbc:DurationMeasure"},
    {"UBL-CR-523", From::Line, "cac:InvoicePeriod/cbc:DescriptionCode"},
    {"UBL-CR-524", From::Line, "cac:InvoicePeriod/cbc:Description"},
    {"UBL-CR-525", From::Line, "cac:OrderLineReference/cbc:SalesOrderLineID"},
    {"UBL-CR-526", From::Line, "cac:OrderLineReference/cbc:UUID"},
    {"UBL-CR-527", From::Line, "cac:OrderLineReference/cbc:LineStatusCode"},
    {"UBL-CR-528", From::Line, "cac:OrderLineReference/cac:OrderReference"},
    {"UBL-CR-529", From::Line, "cac:DespatchLineReference"},
    {"UBL-CR-530", From::Line, "cac:ReceiptLineReference"},
    {"UBL-CR-531", From::Line, "cac:BillingReference"},
    {"UBL-CR-532", From::Line, "cac:DocumentReference/cbc:CopyIndicator"},
    {"UBL-CR-533", From::Line, "cac:DocumentReference/cbc:UUID"},
    {"UBL-CR-534", From::Line, "cac:DocumentReference/cbc:IssueDate"},
    {"UBL-CR-535", From::Line, "cac:DocumentReference/cbc:IssueTime"},
    {"UBL-CR-537", From::Line, "cac:DocumentReference/cbc:DocumentType"},
    {"UBL-CR-538", From::Line, "cac:DocumentReference/cbc:XPath"},
    {"UBL-CR-539", From::Line, "cac:DocumentReference/cbc:LanguageID"},
    {"UBL-CR-540", From::Line, "cac:DocumentReference/cbc:LocaleCode"},
    {"UBL-CR-541", From::Line, "cac:DocumentReference/cbc:VersionID"},
    {"UBL-CR-542", From::Line, "cac:DocumentReference/cbc:DocumentStatusCode"},
    {"UBL-CR-543", From::Line, "cac:DocumentReference/cbc:DocumentDescription"},
    {"UBL-CR-544", From::Line, "cac:DocumentReference/cac:Attachment"},
    {"UBL-CR-545", From::Line, "cac:DocumentReference/cac:ValidityPeriod"},
    {"UBL-CR-546", From::Line, "cac:DocumentReference/cac:IssuerParty"},
    {"UBL-CR-547", From::Line, "cac:DocumentReference/cac:ResultOfVerification"},
    {"UBL-CR-548", From::Line, "cac:PricingReference"},
    {"UBL-CR-549", From::Line, "cac:OriginatorParty"},
    {"UBL-CR-550", From::Line, "cac:Delivery"},
    {"UBL-CR-551", From::Line, "cac:PaymentTerms"},
    {"UBL-CR-552", From::Line, "cac:AllowanceCharge/cbc:ID"},
    {"UBL-CR-553", From::Line, "cac:AllowanceCharge/cbc:PrepaidIndicator"},
    {"UBL-CR-554", From::Line, "cac:AllowanceCharge/cbc:SequenceNumeric"},
    {"UBL-CR-555", From::Line, "cac:AllowanceCharge/cbc:AccountingCostCode"},
    {"UBL-CR-556", From::Line, "cac:AllowanceCharge/cbc:AccountingCost"},
    {"UBL-CR-557", From::Line, "cac:AllowanceCharge/cbc:PerUnitAmount"},
    {"UBL-CR-558", From::Line, "cac:AllowanceCharge/cac:TaxCategory"},
    {"UBL-CR-559", From::Line, "cac:AllowanceCharge/cac:TaxTotal"},
    {"UBL-CR-560", From::Line, "cac:AllowanceCharge/cac:PaymentMeans"},
    {"UBL-CR-561", From::Line, "cac:TaxTotal"},
    {"UBL-CR-562", From::Line, "cac:WithholdingTaxTotal"},
    {"UBL-CR-563", From::Line, "cac:Item/cbc:PackQuantity"},
    {"UBL-CR-564", From::Line, "cac:Item/cbc:PackSizeNumeric"},
    {"UBL-CR-565", From::Line, "cac:Item/cbc:CatalogueIndicator"},
    {"UBL-CR-566", From::Line, "cac:Item/cbc:HazardousRiskIndicator"},
    {"UBL-CR-567", From::Line, "cac:Item/cbc:AdditionalInformation"},
    {"UBL-CR-568", From::Line, "cac:Item/cbc:Keyword"},
    {"UBL-CR-569", From::Line, "cac:Item/cbc:BrandName"},
    {"UBL-CR-570", From::Line, "cac:Item/cbc:ModelName"},
    {"UBL-CR-571", From::Line, "cac:Item/cac:BuyersItemIdentification/cbc:ExtendedID"},
    {"UBL-CR-572", From::Line, "cac:Item/cac:BuyersItemIdentification/cbc:BarcodeSymbologyID"},
    {"UBL-CR-573", From::Line, "cac:Item/cac:BuyersItemIdentification/cac:PhysicalAttribute"},
    {"UBL-CR-574", From::Line, "cac:Item/cac:BuyersItemIdentification/cac:MeasurementDimension"},
    {"UBL-CR-575", From::Line, "cac:Item/cac:BuyersItemIdentification/cac:IssuerParty"},
    {"UBL-CR-576", From::Line, "cac:Item/cac:SellersItemIdentification/cbc:ExtendedID"},
    {"UBL-CR-577", From::Line, "cac:Item/cac:SellersItemIdentification/cbc:BarcodeSymbologyID"},
    {"UBL-CR-578", From::Line, "cac:Item/cac:SellersItemIdentification/cac:PhysicalAttribute"},
    {"UBL-CR-579", From::Line, "cac:Item/cac:SellersItemIdentification/cac:MeasurementDimension"},
    {"UBL-CR-580", From::Line, "cac:Item/cac:SellersItemIdentification/cac:IssuerParty"},
    {"UBL-CR-581", From::Line, "cac:Item/cac:ManufacturersItemIdentification"},
    {"UBL-CR-582", From::Line, "cac:Item/cac:StandardItemIdentification/cbc:ExtendedID"},
    {"UBL-CR-583", From::Line, "cac:Item/cac:StandardItemIdentification/cbc:BarcodeSymbologyID"},
    {"UBL-CR-584", From::Line, "cac:Item/cac:StandardItemIdentification/cac:PhysicalAttribute"},
    {"UBL-CR-585", From::Line, "cac:Item/cac:StandardItemIdentification/cac:MeasurementDimension"},
    {"UBL-CR-586", From::Line, "cac:Item/cac:StandardItemIdentification/cac:IssuerParty"},
    {"UBL-CR-587", From::Line, "cac:Item/cac:CatalogueItemIdentification"},
    {"UBL-CR-588", From::Line, "cac:Item/cac:AdditionalItemIdentification"},
    {"UBL-CR-589", From::Line, "cac:Item/cac:CatalogueDocumentReference"},
    {"UBL-CR-590", From::Line, "cac:Item/cac:ItemSpecificationDocumentReference"},
    {"UBL-CR-591", From::Line, "cac:Item/cac:OriginCountry/cbc:Name"},
    {"UBL-CR-592", From::Line, "cac:Item/cac:CommodityClassification/cbc:NatureCode"},
    {"UBL-CR-593", From::Line, "cac:Item/cac:CommodityClassification/cbc:CargoTypeCode"},
    {"UBL-CR-594", From::Line, "cac:Item/cac:CommodityClassification/cbc:CommodityCode"},
    {"UBL-CR-595", From::Line, "cac:Item/cac:TransactionConditions"},
    {"UBL-CR-596", From::Line, "cac:Item/cac:HazardousItem"},
    {"UBL-CR-597", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:Name"},
    {"UBL-CR-598", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:BaseUnitMeasure"},
    {"UBL-CR-599", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:PerUnitAmount"},
    {"UBL-CR-600", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:TaxExemptionReasonCode"},
    {"UBL-CR-601", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:TaxExemptionReason"},
    {"UBL-CR-602", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:TierRange"},
    {"UBL-CR-603", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cbc:TierRatePercent"},
    {"UBL-CR-604", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cac:TaxScheme/cbc:Name"},
    {"UBL-CR-605", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cac:TaxScheme/cbc:TaxTypeCode"},
    {"UBL-CR-606", From::Line, "cac:Item/cac:ClassifiedTaxCategory/cac:TaxScheme/cbc:CurrencyCode"},
    {"UBL-CR-607", From::Line,
     "cac:Item/cac:ClassifiedTaxCategory/cac:TaxScheme/cac:JurisdictionRegionAddress"},
    {"UBL-CR-608", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:ID"},
    {"UBL-CR-609", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:NameCode"},
    {"UBL-CR-610", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:TestMethod"},
    {"UBL-CR-611", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:ValueQuantity"},
    {"UBL-CR-612", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:ValueQualifier"},
    {"UBL-CR-613", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:ImportanceCode"},
    {"UBL-CR-614", From::Line, "cac:Item/cac:AdditionalItemProperty/cbc:ListValue"},
    {"UBL-CR-615", From::Line, "cac:Item/cac:AdditionalItemProperty/cac:UsabilityPeriod"},
    {"UBL-CR-616", From::Line, "cac:Item/cac:AdditionalItemProperty/cac:ItemPropertyGroup"},
    {"UBL-CR-617", From::Line, "cac:Item/cac:AdditionalItemProperty/cac:RangeDimension"},
    {"UBL-CR-618", From::Line, "cac:Item/cac:AdditionalItemProperty/cac:ItemPropertyRange"},
    {"UBL-CR-619", From::Line, "cac:Item/cac:ManufacturerParty"},
    {"UBL-CR-620", From::Line, "cac:Item/cac:InformationContentProviderParty"},
    {"UBL-CR-621", From::Line, "cac:Item/cac:OriginAddress"},
    {"UBL-CR-622", From::Line, "cac:Item/cac:ItemInstance"},
    {"UBL-CR-623", From::Line, "cac:Item/cac:Certificate"},
    {"UBL-CR-624", From::Line, "cac:Item/cac:Dimension"},
    {"UBL-CR-625", From::Line, "cac:Price/cbc:PriceChangeReason"},
    {"UBL-CR-626", From::Line, "cac:Price/cbc:PriceTypeCode"},
    {"UBL-CR-627", From::Line, "cac:Price/cbc:PriceType"},
    {"UBL-CR-628", From::Line, "cac:Price/cbc:OrderableUnitFactorRate"},
    {"UBL-CR-629", From::Line, "cac:Price/cbc:ValidityPeriod"},
    {"UBL-CR-630", From::Line, "cac:Price/cbc:PriceList"},
    {"UBL-CR-632", From::Line, "cac:Price/cac:AllowanceCharge/cbc:ID"},
    {"UBL-CR-633", From::Line, "cac:Price/cac:AllowanceCharge/cbc:AllowanceChargeReasonCode"},
    {"UBL-CR-634", From::Line, "cac:Price/cac:AllowanceCharge/cbc:AllowanceChargeReason"},
    {"UBL-CR-635", From::Line, "cac:Price/cac:AllowanceCharge/cbc:MultiplierFactorNumeric"},
    {"UBL-CR-636", From::Line, "cac:Price/cac:AllowanceCharge/cbc:PrepaidIndicator"},
    {"UBL-CR-637", From::Line, "cac:Price/cac:AllowanceCharge/cbc:SequenceNumeric"},
    {"UBL-CR-638", From::Line, "cac:Price/cac:AllowanceCharge/cbc:AccountingCostCode"},
    {"UBL-CR-639", From::Line, "cac:Price/cac:AllowanceCharge/cbc:AccountingCost"},
    {"UBL-CR-640", From::Line, "cac:Price/cac:AllowanceCharge/cbc:PerUnitAmount"},
    {"UBL-CR-641", From::Line, "cac:Price/cac:AllowanceCharge/cac:TaxCategory"},
    {"UBL-CR-642", From::Line, "cac:Price/cac:AllowanceCharge/cac:TaxTotal"},
    {"UBL-CR-643", From::Line, "cac:Price/cac:AllowanceCharge/cac:PaymentMeans"},
    {"UBL-CR-644", From::Line, "cac:Price/cac:PricingExchangeRate"},
    {"UBL-CR-645", From::Line, "cac:DeliveryTerms"},
    {"UBL-CR-646", From::Line, "cac:SubInvoiceLine"},
    {"UBL-CR-647", From::Line, "cac:ItemPriceExtension"},
    // anywhere in the document, below any parent
    {"UBL-CR-652", From::Anywhere, "cac:PartyTaxScheme/cbc:CompanyID/@schemeID"},
    {"UBL-CR-660", From::Anywhere, "cac:Country/cbc:IdentificationCode/@listID"},
    {"UBL-CR-662", From::Anywhere, "cbc:AllowanceChargeReasonCode/@listID"},
    {"UBL-CR-664", From::Anywhere, "cac:FinancialInstitution"},
    {"UBL-CR-667", From::Anywhere, "cac:BuyersItemIdentification/cbc:ID/@schemeID"},
    {"UBL-CR-668", From::Anywhere, "cac:SellersItemIdentification/cbc:ID/@schemeID"},
    {"UBL-CR-669", From::Anywhere, "cac:Price/cac:AllowanceCharge/cbc:AllowanceChargeReasonCode"},
    {"UBL-CR-670", From::Anywhere, "cac:Price/cac:AllowanceCharge/cbc:AllowanceChargeReason"},
    {"UBL-CR-671", From::Anywhere, "cac:Price/cac:AllowanceCharge/cbc:MultiplierFactorNumeric"},
    {"UBL-CR-674", From::Anywhere, "cbc:PrimaryAccountNumber/@schemeID"},
    {"UBL-CR-675", From::Anywhere, "cac:CardAccount/cbc:NetworkID/@schemeID"},
    {"UBL-CR-676", From::Anywhere, "cac:PaymentMandate/cbc:ID/@schemeID"},
    {"UBL-CR-677", From::Anywhere, "cac:PaymentMandate/cac:PayerFinancialAccount/cbc:ID/@schemeID"},
    {"UBL-CR-678", From::Anywhere, "cac:TaxCategory/cbc:ID/@schemeID"},
    {"UBL-CR-679", From::Anywhere, "cac:ClassifiedTaxCategory/cbc:ID/@schemeID"},
    {"UBL-CR-680", From::Anywhere, "cac:PaymentMeans/cac:PayerFinancialAccount"},
};

// Attributes EN 16931 does not use on any element. A payment means code may carry a name
// (the payment means text, BT-82), no other element may.
struct UnusedAttribute
{
    const char *id;
    const char *name;
};

constexpr UnusedAttribute UnusedAttributes[] = {
    {"UBL-DT-08", "schemeName"},
    {"UBL-DT-09", "schemeAgencyName"},
    {"UBL-DT-10", "schemeDataURI"},
    {"UBL-DT-11", "schemeURI"},
    {"UBL-DT-12", "format"},
    {"UBL-DT-13", "unitCodeListIdentifier"},
    {"UBL-DT-14", "unitCodeListAgencyIdentifier"},
    {"UBL-DT-15", "unitCodeListAgencyName"},
    {"UBL-DT-16", "listAgencyName"},
    {"UBL-DT-17", "listName"},
    {"UBL-DT-18", "name"},
    {"UBL-DT-19", "languageID"},
    {"UBL-DT-20", "listURI"},
    {"UBL-DT-21", "listSchemeURI"},
    {"UBL-DT-22", "languageLocaleID"},
    {"UBL-DT-23", "uri"},
    {"UBL-DT-24", "currencyCodeListVersionID"},
    {"UBL-DT-25", "characterSetCode"},
    {"UBL-DT-26", "encodingCode"},
    {"UBL-DT-27", "schemeAgencyID"},
    {"UBL-DT-28", "listAgencyID"},
    {"UBL-CR-663", "unitCodeListID"},
};

// The aggregates, wherever they stand, that rules of their own check one by one.
enum class Context : unsigned char {
    BillingReference,
    PaymentMeans,
    AllowanceCharge,
    Delivery,
    TaxSubtotal,
    Address, // a PostalAddress or an Address
    PartyTaxScheme,
    AdditionalDocument,
    PartyIdentification,
    None
};

// The rows below the root and below lines as one tree of element names from the root.
// The walk over the document keeps the tree node of each element it is in, one table
// step per element, so every row is found without a path walk of its own.
struct TreeNode
{
    Space space = Space::Other;
    std::string_view name;
    int nameId = -1;
    std::vector<size_t> children;
    std::vector<size_t> rows;
    std::vector<std::pair<const xmlChar *, size_t>> attributes;
};

size_t childOf(std::vector<TreeNode> &tree, size_t parent, const Step &step)
{
    for (size_t child : tree[parent].children)
        if (tree[child].space == step.space && tree[child].name == step.name)
            return child;
    tree.push_back(TreeNode{step.space, step.name, -1, {}, {}, {}});
    tree[parent].children.push_back(tree.size() - 1);
    return tree.size() - 1;
}

void insert(std::vector<TreeNode> &tree, size_t at, const std::vector<Step> &steps, size_t row)
{
    for (const Step &step : steps) {
        if (step.attribute) {
            tree[at].attributes.emplace_back(step.xmlName(), row);
            return;
        }
        at = childOf(tree, at, step);
    }
    tree[at].rows.push_back(row);
}

// What the walk keeps for each element name that matters wherever it stands: the rows
// anywhere whose path ends there and the aggregate it is.
struct Interest
{
    std::vector<size_t> anywhere;
    Context context = Context::None;
};

struct Tables
{
    std::vector<TreeNode> tree; // [0] is the root element
    std::vector<std::vector<Step>> steps;
    std::unordered_map<std::string_view, Interest> interests;
    std::unordered_map<std::string_view, size_t> attributes;
    // Every element name the tree or the interests know, numbered; the interest of each.
    std::unordered_map<std::string_view, int> nameIds;
    std::vector<const Interest *> interestOf;
    // The tree's steps as a table: the child of an inner node by name id, or -1.
    std::vector<int> innerOf; // per tree node: its row in `next`, or -1 for a leaf
    std::vector<int> next;

    // The tree node of an element below the element at tree node `parent`, or -1.
    int childOf(int parent, int nameId, Space space) const
    {
        if (parent < 0 || nameId < 0 || innerOf[size_t(parent)] < 0)
            return -1;
        const int child = next[size_t(innerOf[size_t(parent)]) * nameIds.size() + size_t(nameId)];
        if (child >= 0 && tree[size_t(child)].space == space)
            return child;
        // Two children of one name in different namespaces: the table holds the first.
        for (size_t other : tree[size_t(parent)].children)
            if (tree[other].nameId == nameId && tree[other].space == space)
                return int(other);
        return -1;
    }
    // The rows and the attribute table's entries of each rule id.
    std::unordered_map<std::string_view, std::vector<size_t>> rowsOf;
    std::unordered_map<std::string_view, size_t> attributeOf;
};

const Tables &tables()
{
    static const Tables built = [] {
        Tables t;
        t.tree.emplace_back();
        const size_t lines[] = {childOf(t.tree, 0, Step{Space::Cac, "InvoiceLine", false}),
                                childOf(t.tree, 0, Step{Space::Cac, "CreditNoteLine", false})};
        for (size_t row = 0; row < std::size(UnusedElements); ++row) {
            const Unused &unused = UnusedElements[row];
            t.steps.push_back(stepsOf(unused.path));
            t.rowsOf[unused.id].push_back(row);
            if (unused.from == From::Root) {
                insert(t.tree, 0, t.steps.back(), row);
            } else if (unused.from == From::Line) {
                for (size_t line : lines)
                    insert(t.tree, line, t.steps.back(), row);
            } else {
                const auto &steps = t.steps.back();
                const Step &last = steps.back().attribute ? steps[steps.size() - 2] : steps.back();
                t.interests[last.name].anywhere.push_back(row);
            }
        }
        const std::pair<std::string_view, Context> contexts[] = {
            {"BillingReference", Context::BillingReference},
            {"PaymentMeans", Context::PaymentMeans},
            {"AllowanceCharge", Context::AllowanceCharge},
            {"Delivery", Context::Delivery},
            {"TaxSubtotal", Context::TaxSubtotal},
            {"PostalAddress", Context::Address},
            {"Address", Context::Address},
            {"PartyTaxScheme", Context::PartyTaxScheme},
            {"AdditionalDocumentReference", Context::AdditionalDocument},
            {"PartyIdentification", Context::PartyIdentification}};
        for (const auto &[name, context] : contexts)
            t.interests[name].context = context;
        const auto number = [&t](std::string_view name) {
            return t.nameIds.emplace(name, int(t.nameIds.size())).first->second;
        };
        for (size_t i = 1; i < t.tree.size(); ++i)
            t.tree[i].nameId = number(t.tree[i].name);
        for (const auto &[name, interest] : t.interests)
            number(name);
        t.interestOf.resize(t.nameIds.size());
        for (const auto &[name, interest] : t.interests)
            t.interestOf[size_t(t.nameIds.at(name))] = &interest;
        int inner = 0;
        for (const TreeNode &node : t.tree)
            t.innerOf.push_back(node.children.empty() ? -1 : inner++);
        t.next.assign(size_t(inner) * t.nameIds.size(), -1);
        for (size_t i = 0; i < t.tree.size(); ++i)
            for (size_t child : t.tree[i].children) {
                int &slot = t.next[size_t(t.innerOf[i]) * t.nameIds.size() + size_t(t.tree[child].nameId)];
                if (slot < 0)
                    slot = int(child);
            }
        for (size_t i = 0; i < std::size(UnusedAttributes); ++i) {
            t.attributes.emplace(UnusedAttributes[i].name, i);
            t.attributeOf.emplace(UnusedAttributes[i].id, i);
        }
        return t;
    }();
    return built;
}

// What the walks found in one document.
struct UblScan
{
    std::vector<Nodes> rows;                                   // per row of UnusedElements
    std::array<Nodes, std::size(UnusedAttributes)> attributes; // the attribute nodes
    std::array<Nodes, size_t(Context::None)> contexts;
    Nodes preciseAmounts; // amounts with more than two decimals
    Nodes binaryObjects;
    // Whether a price carries a discount, looked at once per price however many amounts
    // it holds.
    std::unordered_map<const xmlNode *, bool> discountedPrices;
};

// What the walks need to know of an element or attribute name, worked out once per name
// of a document. libxml2 keeps one copy of each name of a document, so the names are told
// apart by pointer; a document without that still gets right answers, only more lookups.
struct NameInfo
{
    int id = -1; // in Tables::nameIds
    bool amount = false;
    bool binary = false;
};

class Names
{
public:
    explicit Names(const Tables &tables) : m_tables(tables)
    {
        m_elements.reserve(512);
        m_attributes.reserve(32);
    }

    const NameInfo &element(const xmlChar *name)
    {
        auto [it, fresh] = m_elements.try_emplace(name);
        if (fresh) {
            const std::string_view text(reinterpret_cast<const char *>(name));
            const auto id = m_tables.nameIds.find(text);
            it->second.id = id == m_tables.nameIds.end() ? -1 : id->second;
            it->second.amount = text.ends_with("Amount") && !text.ends_with("PriceAmount");
            it->second.binary = text.ends_with("BinaryObject");
        }
        return it->second;
    }

    // The entry of UnusedAttributes with this name, or -1.
    int attribute(const xmlChar *name)
    {
        auto [it, fresh] = m_attributes.try_emplace(name, -1);
        if (fresh) {
            const auto found = m_tables.attributes.find(reinterpret_cast<const char *>(name));
            if (found != m_tables.attributes.end())
                it->second = int(found->second);
        }
        return it->second;
    }

private:
    const Tables &m_tables;
    std::unordered_map<const xmlChar *, NameInfo> m_elements;
    std::unordered_map<const xmlChar *, int> m_attributes;
};

// Whether an element and its parents read the element steps of a path, last step first.
bool endsWith(xmlNode *element, const std::vector<Step> &steps, Spaces &spaces)
{
    size_t count = steps.size() - (steps.back().attribute ? 1 : 0);
    for (xmlNode *node = element; count > 0; node = node->parent) {
        const Step &step = steps[--count];
        if (!node || node->type != XML_ELEMENT_NODE || nameOf(node) != step.name ||
            spaces.of(node) != step.space)
            return false;
    }
    return true;
}

// An amount inside a price that carries a discount is the price's own business: only the
// price itself may have more decimals, the discount's amounts are not checked either.
bool inDiscountedPrice(const xmlNode *element, Spaces &spaces,
                       std::unordered_map<const xmlNode *, bool> &discounted)
{
    for (const xmlNode *node = element->parent; node && node->type == XML_ELEMENT_NODE; node = node->parent) {
        if (nameOf(node) != "Price" || spaces.of(node) != Space::Cac)
            continue;
        const auto [known, added] = discounted.try_emplace(node, false);
        if (added)
            for (const xmlNode *child = node->children; child && !known->second; child = child->next)
                known->second = child->type == XML_ELEMENT_NODE && nameOf(child) == "AllowanceCharge" &&
                                spaces.of(child) == Space::Cac;
        if (known->second)
            return true;
    }
    return false;
}

// The characters after the first decimal point of an element's text as written.
size_t decimals(const xmlNode *element)
{
    const xmlNode *only = element->children;
    xmlChar *copy = nullptr;
    const xmlChar *text = nullptr;
    if (only && !only->next && only->type == XML_TEXT_NODE)
        text = only->content;
    else
        text = copy = xmlNodeGetContent(element);
    size_t count = 0;
    if (text)
        if (const xmlChar *point = xmlStrchr(text, '.'))
            for (const xmlChar *c = point + 1; *c; ++c)
                count += (*c & 0xC0) != 0x80;
    xmlFree(copy);
    return count;
}

// The tree node a visit gets for the root element's parent: the root stands at node 0.
constexpr int RootTree = -2;

// Looks at one element: its attributes, what it is anywhere, and, where the element stands
// at a node of the table's tree, the rows that end there. Returns that tree node or -1.
int visit(xmlNode *element, int parentTree, const Tables &t, Names &names, Spaces &spaces, UblScan &scan)
{
    for (xmlAttr *a = element->properties; a; a = a->next) {
        if (a->ns)
            continue;
        const int index = names.attribute(a->name);
        if (index < 0)
            continue;
        if (std::string_view(UnusedAttributes[index].name) == "name" &&
            nameOf(element) == "PaymentMeansCode" && spaces.of(element) == Space::Cbc)
            continue;
        scan.attributes[size_t(index)].push_back(reinterpret_cast<xmlNode *>(a));
    }
    const NameInfo &info = names.element(element->name);
    const int here = parentTree == RootTree ? 0
                     : parentTree < 0       ? -1
                                            : t.childOf(parentTree, info.id, spaces.of(element));
    if (here > 0) {
        const TreeNode &node = t.tree[size_t(here)];
        for (size_t row : node.rows)
            scan.rows[row].push_back(element);
        for (const auto &[attributeName, row] : node.attributes)
            if (xmlAttr *found = xmlHasNsProp(element, attributeName, nullptr))
                scan.rows[row].push_back(reinterpret_cast<xmlNode *>(found));
    }
    if (info.amount) {
        if (decimals(element) > 2 && !inDiscountedPrice(element, spaces, scan.discountedPrices))
            scan.preciseAmounts.push_back(element);
    } else if (info.binary) {
        scan.binaryObjects.push_back(element);
    }
    const Interest *interest = info.id < 0 ? nullptr : t.interestOf[size_t(info.id)];
    if (!interest)
        return here;
    if (interest->context != Context::None && spaces.of(element) == Space::Cac)
        scan.contexts[size_t(interest->context)].push_back(element);
    for (size_t row : interest->anywhere) {
        const std::vector<Step> &steps = t.steps[row];
        if (!endsWith(element, steps, spaces))
            continue;
        if (!steps.back().attribute)
            scan.rows[row].push_back(element);
        else if (xmlAttr *found = xmlHasNsProp(element, steps.back().xmlName(), nullptr))
            scan.rows[row].push_back(reinterpret_cast<xmlNode *>(found));
    }
    return here;
}

// One walk over every element, once per document. It keeps the table's tree node of each
// open element, so the rows below the root and the lines come out of the same walk.
const UblScan &scanOf(const Facts &doc)
{
    return doc.once<UblScan>("ubl-scan", [&doc] {
        const Tables &t = tables();
        UblScan scan;
        scan.rows.resize(std::size(UnusedElements));
        Spaces spaces;
        Names names(t);
        std::vector<int> open; // the tree node of each element above the current one
        int here = visit(doc.root, RootTree, t, names, spaces, scan);
        xmlNode *node = doc.root->children;
        open.push_back(here);
        while (node) {
            if (node->type == XML_ELEMENT_NODE) {
                here = visit(node, open.back(), t, names, spaces, scan);
                if (node->children) {
                    open.push_back(here);
                    node = node->children;
                    continue;
                }
            }
            while (!node->next && node->parent != doc.root) {
                node = node->parent;
                open.pop_back();
            }
            node = node->next;
        }
        return scan;
    });
}

const Nodes &inContext(const RuleContext &c, Context context)
{
    return scanOf(c.doc).contexts[size_t(context)];
}

// A table rule: warns at each element or attribute found for its id, named with its parent.
bool unused(RuleContext &c)
{
    const UblScan &scan = scanOf(c.doc);
    for (size_t row : tables().rowsOf.at(c.rule->id))
        for (xmlNode *node : scan.rows[row]) {
            const QString name =
                node->type == XML_ATTRIBUTE_NODE
                    ? QLatin1Char('@') + QString::fromUtf8(reinterpret_cast<const char *>(node->name))
                    : NameOf(node);
            c.fail(node, {NameOf(node->parent) + QLatin1Char('/') + name});
        }
    return true;
}

bool unusedAttribute(RuleContext &c)
{
    const size_t index = tables().attributeOf.at(c.rule->id);
    for (xmlNode *node : scanOf(c.doc).attributes[index])
        c.fail(node, {QString::fromUtf8(reinterpret_cast<const char *>(node->name)), NameOf(node->parent)});
    return true;
}

// The supporting documents anywhere that are the invoiced object identifier (BT-18), told by
// document type code 130.
bool isInvoicedObject(xmlNode *reference)
{
    return anyIs(reference, "cbc:DocumentTypeCode", QLatin1String("130"));
}

// Each aggregate of a kind may hold the path's element once.
bool oncePer(RuleContext &c, Context context, const char *path)
{
    bool once = true;
    for (xmlNode *node : inContext(c, context))
        once = AtMostOnce(c, All(node, path)) && once;
    return once;
}

bool reasonOnce(RuleContext &c, bool charge)
{
    bool once = true;
    for (xmlNode *node : inContext(c, Context::AllowanceCharge)) {
        const QString indicator = Text(node, "cbc:ChargeIndicator");
        const bool isCharge = indicator == QLatin1String("true") || indicator == QLatin1String("1");
        const bool isAllowance = indicator == QLatin1String("false") || indicator == QLatin1String("0");
        if (charge ? isCharge : isAllowance)
            once = AtMostOnce(c, All(node, "cbc:AllowanceChargeReason")) && once;
    }
    return once;
}

bool attachmentHas(RuleContext &c, const char *attribute)
{
    for (xmlNode *object : scanOf(c.doc).binaryObjects)
        if (!First(object, attribute))
            c.fail(object, {NameOf(object)});
    return true;
}

constexpr Rule OwnRules[] = {
    // BT-12 contract reference
    {"UBL-SR-01", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:ContractDocumentReference/cbc:ID");
     }},
    // BT-15 receiving advice reference
    {"UBL-SR-02", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:ReceiptDocumentReference/cbc:ID");
     }},
    // BT-16 despatch advice reference
    {"UBL-SR-03", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:DespatchDocumentReference/cbc:ID");
     }},
    // BT-18 invoiced object identifier: one document reference of type 130
    {"UBL-SR-04", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         Nodes ids;
         for (xmlNode *reference : c.all("cac:AdditionalDocumentReference"))
             if (isInvoicedObject(reference))
                 for (xmlNode *id : All(reference, "cbc:ID"))
                     ids.push_back(id);
         return AtMostOnce(c, ids);
     }},
    // BT-20 payment terms
    {"UBL-SR-05", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:PaymentTerms/cbc:Note");
     }},
    // BG-3: a billing reference names one preceding invoice
    {"UBL-SR-06", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::BillingReference, "cac:InvoiceDocumentReference");
     }},
    // BG-3: a preceding invoice reference names the invoice (BT-25)
    {"UBL-SR-07", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : inContext(c, Context::BillingReference))
             if (!First(reference, "cac:InvoiceDocumentReference/cbc:ID"))
                 c.fail(reference);
         return true;
     }},
    // BG-14 invoicing period
    {"UBL-SR-08", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:InvoicePeriod");
     }},
    // BT-27 seller name
    {"UBL-SR-09", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, SUPPLIER "cac:PartyLegalEntity/cbc:RegistrationName");
     }},
    // BT-28 seller trading name
    {"UBL-SR-10", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, SUPPLIER "cac:PartyName/cbc:Name");
     }},
    // BT-30 seller legal registration identifier
    {"UBL-SR-11", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, SUPPLIER "cac:PartyLegalEntity/cbc:CompanyID");
     }},
    // BT-31 seller VAT identifier
    {"UBL-SR-12", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, taxNumbers(c.first("cac:AccountingSupplierParty/cac:Party"), true));
     }},
    // BT-32 seller tax registration identifier
    {"UBL-SR-13", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, taxNumbers(c.first("cac:AccountingSupplierParty/cac:Party"), false));
     }},
    // BT-33 seller additional legal information
    {"UBL-SR-14", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, SUPPLIER "cac:PartyLegalEntity/cbc:CompanyLegalForm");
     }},
    // BT-44 buyer name
    {"UBL-SR-15", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, CUSTOMER "cac:PartyLegalEntity/cbc:RegistrationName");
     }},
    // BT-46 buyer identifier
    {"UBL-SR-16", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, CUSTOMER "cac:PartyIdentification/cbc:ID");
     }},
    // BT-47 buyer legal registration identifier
    {"UBL-SR-17", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, CUSTOMER "cac:PartyLegalEntity/cbc:CompanyID");
     }},
    // BT-48 buyer VAT identifier
    {"UBL-SR-18", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, taxNumbers(c.first("cac:AccountingCustomerParty/cac:Party"), true));
     }},
    // BT-59 payee name
    {"UBL-SR-19", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return payeeOnce(c, "cac:PartyName/cbc:Name");
     }},
    // BT-60 payee identifier; the bank assigned creditor identifier (SEPA) is counted apart
    {"UBL-SR-20", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         Nodes ids;
         if (xmlNode *payee = c.first("cac:PayeeParty"))
             for (xmlNode *id : All(payee, "cac:PartyIdentification/cbc:ID"))
                 if (attribute(id, "schemeID").toUpper() != QLatin1String("SEPA"))
                     ids.push_back(id);
         return payeeOnce(c, ids);
     }},
    // BT-61 payee legal registration identifier
    {"UBL-SR-21", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return payeeOnce(c, "cac:PartyLegalEntity/cbc:CompanyID");
     }},
    // BT-62 seller tax representative name
    {"UBL-SR-22", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:TaxRepresentativeParty/cac:PartyName/cbc:Name");
     }},
    // BT-63 seller tax representative VAT identifier, counted in a party below the tax
    // representative. The representative is itself the party, so a valid structure always
    // passes and only a stray party inside it is counted.
    {"UBL-SR-23", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:TaxRepresentativeParty/cac:Party/cac:PartyTaxScheme/cbc:CompanyID");
     }},
    // BG-13 delivery information
    {"UBL-SR-24", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:Delivery");
     }},
    // BT-70 deliver to party name, once per delivery
    {"UBL-SR-25", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::Delivery, "cac:DeliveryParty/cac:PartyName/cbc:Name");
     }},
    // BT-83 remittance information, once per payment means
    {"UBL-SR-26", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::PaymentMeans, "cbc:PaymentID");
     }},
    // BT-81 payment means type code, once per payment means
    {"UBL-SR-27", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::PaymentMeans, "cbc:PaymentMeansCode");
     }},
    // BT-89 mandate reference identifier, once per payment means
    {"UBL-SR-28", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::PaymentMeans, "cac:PaymentMandate/cbc:ID");
     }},
    // BT-90 bank assigned creditor identifier: one party identifier of scheme SEPA in the
    // whole invoice
    {"UBL-SR-29", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         Nodes creditor;
         for (xmlNode *identification : inContext(c, Context::PartyIdentification))
             for (xmlNode *id : All(identification, "cbc:ID"))
                 if (attribute(id, "schemeID").toUpper() == QLatin1String("SEPA"))
                     creditor.push_back(id);
         return AtMostOnce(c, creditor);
     }},
    // BT-97 allowance reason, once per allowance
    {"UBL-SR-30", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return reasonOnce(c, false);
     }},
    // BT-104 charge reason, once per charge
    {"UBL-SR-31", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return reasonOnce(c, true);
     }},
    // BT-120 VAT exemption reason text, once per VAT breakdown
    {"UBL-SR-32", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::TaxSubtotal, "cac:TaxCategory/cbc:TaxExemptionReason");
     }},
    // BT-123 supporting document description, once per document
    {"UBL-SR-33", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::AdditionalDocument, "cbc:DocumentDescription");
     }},
    // BT-127 invoice line note
    {"UBL-SR-34", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return AtMostOnce(c, "cbc:Note");
     }},
    // BT-132 referenced purchase order line
    {"UBL-SR-35", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:OrderLineReference/cbc:LineID");
     }},
    // BG-26 invoice line period
    {"UBL-SR-36", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:InvoicePeriod");
     }},
    // BT-147 item price discount
    {"UBL-SR-37", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:Price/cac:AllowanceCharge/cbc:Amount");
     }},
    // BT-11 project reference
    {"UBL-SR-39", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:ProjectReference/cbc:ID");
     }},
    // BT-45 buyer trading name
    {"UBL-SR-40", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, CUSTOMER "cac:PartyName/cbc:Name");
     }},
    // the seller's VAT identifier and tax registration, two PartyTaxScheme at most
    {"UBL-SR-42", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         const Nodes schemes = c.all(SUPPLIER "cac:PartyTaxScheme");
         for (size_t i = 2; i < schemes.size(); ++i)
             c.fail(schemes[i], {NameOf(schemes[i])});
         return schemes.size() <= 2;
     }},
    // BG-24: a document type or an identifier scheme only for the invoiced object
    // identifier (BT-18, type 130; a credit note may name its object with type 50)
    {"UBL-SR-43", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : inContext(c, Context::AdditionalDocument)) {
             if (isInvoicedObject(reference) ||
                 (c.doc.creditNote && anyIs(reference, "cbc:DocumentTypeCode", QLatin1String("50"))))
                 continue;
             xmlNode *code = First(reference, "cbc:DocumentTypeCode");
             xmlNode *scheme = First(reference, "cbc:ID/@schemeID");
             if (code || scheme)
                 c.fail(reference, {RawText(code ? code : scheme)});
         }
         return true;
     }},
    // BT-83 remittance information: one value for all payment means
    {"UBL-SR-44", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oneValue(c, "cac:PaymentMeans/cbc:PaymentID");
     }},
    // BT-9 payment due date of a credit note, given in its payment means
    {"UBL-SR-45", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:PaymentMeans/cbc:PaymentDueDate");
     }},
    // BT-82 payment means text
    {"UBL-SR-46", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         const Nodes texts = c.all("cac:PaymentMeans/cbc:PaymentMeansCode/@name");
         for (size_t i = 1; i < texts.size(); ++i)
             c.fail(texts[i], {RawText(texts[i])});
         return texts.size() <= 1;
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
         return AtMostOnce(c, "cac:InvoicePeriod/cbc:DescriptionCode");
     }},
    // BT-154 item description
    {"UBL-SR-50", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:Item/cbc:Description");
     }},
    // BT-37, BT-52, BT-65, BT-77 …: an address has one third address line
    {"UBL-SR-51", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return oncePer(c, Context::Address, "cac:AddressLine");
     }},
    // BT-128 invoice line object identifier: one document reference per line
    {"UBL-SR-52", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Line,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:DocumentReference");
     }},
    // BT-31, BT-32, BT-48, BT-63: a PartyTaxScheme carries its number and its scheme
    {"UBL-SR-53", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *scheme : inContext(c, Context::PartyTaxScheme))
             if (!First(scheme, "cbc:CompanyID") || !First(scheme, "cac:TaxScheme/cbc:ID"))
                 c.fail(scheme);
         return true;
     }},
    // BG-18 payment card information
    {"UBL-SR-54", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:PaymentMeans/cac:CardAccount");
     }},
    // BG-19 direct debit
    {"UBL-SR-55", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:PaymentMeans/cac:PaymentMandate");
     }},
    // BT-17 tender or lot reference
    {"UBL-SR-56", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         return AtMostOnce(c, "cac:OriginatorDocumentReference/cbc:ID");
     }},
    // the UBL version, where given, is 2.1
    {"UBL-CR-002", FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         const Nodes versions = c.all("cbc:UBLVersionID");
         if (anyIs(c.node, "cbc:UBLVersionID", QLatin1String("2.1")))
             return true;
         for (xmlNode *version : versions)
             c.fail(version, {RawText(version)});
         return true;
     }},
    // a payment due date in the payment means belongs to a credit note (BT-9); an invoice
    // gives it in the document's own due date
    {"UBL-CR-412", FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         if (!c.doc.creditNote)
             for (xmlNode *date : c.all("cac:PaymentMeans/cbc:PaymentDueDate"))
                 c.fail(date, {NameOf(date->parent) + QLatin1Char('/') + NameOf(date)});
         return true;
     }},
    // BT-18: a scheme for a supporting document's identifier only where the document is the
    // invoiced object
    {"UBL-CR-665", FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : inContext(c, Context::AdditionalDocument)) {
             const Nodes codes = All(reference, "cbc:DocumentTypeCode");
             bool other = codes.empty();
             for (xmlNode *code : codes)
                 other = other || RawText(code) != QLatin1String("130");
             if (other)
                 for (xmlNode *scheme : All(reference, "cbc:ID/@schemeID"))
                     c.fail(scheme, {RawText(scheme)});
         }
         return true;
     }},
    // BT-18: the invoiced object identifier is a reference, not an attached document
    {"UBL-CR-666", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : inContext(c, Context::AdditionalDocument))
             if (isInvoicedObject(reference))
                 for (xmlNode *attachment : All(reference, "cac:Attachment"))
                     c.fail(attachment, {Text(reference, "cbc:ID")});
         return true;
     }},
    // BT-18: nor a described document
    {"UBL-CR-673", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *reference : inContext(c, Context::AdditionalDocument))
             if (isInvoicedObject(reference))
                 for (xmlNode *description : All(reference, "cbc:DocumentDescription"))
                     c.fail(description, {Text(reference, "cbc:ID")});
         return true;
     }},
    // amounts have at most two decimals; prices may have more
    {"UBL-DT-01", FindingFlag::Fatal, Ruleset::En16931, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *amount : scanOf(c.doc).preciseAmounts)
             c.fail(amount, {NameOf(amount), Text(amount)});
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

// The rules of their own, then one rule per id of the unused-element table and one per
// unused attribute. The table's ids come in order, a repeated id right after its first row.
constexpr size_t distinctIds()
{
    size_t count = 0;
    for (size_t i = 0; i < std::size(UnusedElements); ++i)
        count += i == 0 || std::string_view(UnusedElements[i].id) != UnusedElements[i - 1].id;
    return count;
}

constexpr auto allRules()
{
    constexpr size_t own = std::size(OwnRules);
    std::array<Rule, own + distinctIds() + std::size(UnusedAttributes)> rules{};
    size_t n = 0;
    for (const Rule &rule : OwnRules)
        rules[n++] = rule;
    for (size_t i = 0; i < std::size(UnusedElements); ++i)
        if (i == 0 || std::string_view(UnusedElements[i].id) != UnusedElements[i - 1].id)
            rules[n++] = Rule{
                UnusedElements[i].id, FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice, &unused};
    for (const UnusedAttribute &attribute : UnusedAttributes)
        rules[n++] =
            Rule{attribute.id, FindingFlag::Warning, Ruleset::En16931, Ubl, Scope::Invoice, &unusedAttribute};
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
