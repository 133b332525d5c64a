// The XRechnung rules (BR-DE-*, BR-DEX-*, BR-TMP-*, CVD): what German public buyers require
// on top of EN 16931, the extension's sub lines, third-party payments and identifier schemes,
// and the clean vehicles profile.
#include "checks/validation/CodeLists.h"
#include "checks/validation/RuleContext.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>

namespace invorator::validation {

namespace {

// Header paths of CII, below the root.
#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_DELIVERY "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeDelivery/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"

// The rules identifier (BT-24) of the extension.
constexpr const char *ExtensionId = "urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:"
                                    "xrechnung_3.0#conformant#urn:xeinkauf.de:kosit:extension:xrechnung_3.0";

QString rulesIdentifier(const Facts &doc)
{
    return Text(doc.root,
                doc.cii()
                    ? "rsm:ExchangedDocumentContext/ram:GuidelineSpecifiedDocumentContextParameter/ram:ID"
                    : "cbc:CustomizationID");
}

bool extension(const Facts &doc)
{
    return doc.once<bool>("xr.extension", [&] { return rulesIdentifier(doc) == QLatin1String(ExtensionId); });
}

// The seller and buyer parties.
xmlNode *seller(RuleContext &c)
{
    return c.first(c.pick(CII_AGREEMENT "ram:SellerTradeParty", "cac:AccountingSupplierParty/cac:Party"));
}

xmlNode *buyer(RuleContext &c)
{
    return c.first(c.pick(CII_AGREEMENT "ram:BuyerTradeParty", "cac:AccountingCustomerParty/cac:Party"));
}

xmlNode *sellerContact(RuleContext &c)
{
    return First(seller(c), c.pick("ram:DefinedTradeContact", "cac:Contact"));
}

xmlNode *sellerAddress(RuleContext &c)
{
    return First(seller(c), c.pick("ram:PostalTradeAddress", "cac:PostalAddress"));
}

xmlNode *buyerAddress(RuleContext &c)
{
    return First(buyer(c), c.pick("ram:PostalTradeAddress", "cac:PostalAddress"));
}

// BG-15 deliver-to address
xmlNode *deliverToAddress(RuleContext &c)
{
    return c.first(c.pick(CII_DELIVERY "ram:ShipToTradeParty/ram:PostalTradeAddress",
                          "cac:Delivery/cac:DeliveryLocation/cac:Address"));
}

// A required element of a group: fails at the group when the element is missing or blank.
bool required(RuleContext &c, xmlNode *group, const char *ciiPath, const char *ublPath)
{
    if (!group || Filled(group, c.pick(ciiPath, ublPath)))
        return true;
    c.at = group;
    return false;
}

// BT-81, the payment means code of a payment means.
QString meansCode(RuleContext &c)
{
    return c.text(c.pick("ram:TypeCode", "cbc:PaymentMeansCode"));
}

bool codeIn(const QString &code, std::initializer_list<const char *> codes)
{
    for (const char *candidate : codes)
        if (code == QLatin1String(candidate))
            return true;
    return false;
}

// What a payment means carries: BG-17 credit transfer, BG-18 card, BG-19 direct debit.
// A CII direct debit is spread over the settlement (BT-89 mandate, BT-90 creditor id) and
// the payment means (BT-91 debited account); any of them makes one.
bool hasCreditTransfer(RuleContext &c)
{
    return c.has(c.pick("ram:PayeePartyCreditorFinancialAccount", "cac:PayeeFinancialAccount"));
}

bool hasCard(RuleContext &c)
{
    return c.has(c.pick("ram:ApplicableTradeSettlementFinancialCard", "cac:CardAccount"));
}

struct DirectDebit
{
    bool mandate = false;  // BT-89
    bool creditor = false; // BT-90
    bool account = false;  // BT-91
    bool any() const { return mandate || creditor || account; }
    bool complete() const { return mandate && creditor && account; }
};

// The direct debit parts of the whole CII document.
const DirectDebit &ciiDirectDebit(const Facts &doc)
{
    return doc.once<DirectDebit>("xr.directDebit", [&] {
        DirectDebit debit;
        xmlNode *settlement =
            First(doc.root, "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement");
        debit.mandate = First(settlement, "ram:SpecifiedTradePaymentTerms/ram:DirectDebitMandateID");
        debit.creditor = First(settlement, "ram:CreditorReferenceID");
        debit.account =
            First(settlement,
                  "ram:SpecifiedTradeSettlementPaymentMeans/ram:PayerPartyDebtorFinancialAccount/ram:IBANID");
        return debit;
    });
}

bool hasDirectDebit(RuleContext &c)
{
    return c.cii() ? ciiDirectDebit(c.doc).any() : c.has("cac:PaymentMandate");
}

// BT-90 in UBL: a seller or payee identifier in the SEPA scheme.
bool sepaCreditorId(RuleContext &c)
{
    for (const char *path : {"cac:AccountingSupplierParty/cac:Party/cac:PartyIdentification/cbc:ID",
                             "cac:PayeeParty/cac:PartyIdentification/cbc:ID"})
        for (xmlNode *id : c.all(path))
            if (Text(First(id, "@schemeID")) == QLatin1String("SEPA"))
                return true;
    return false;
}

// Whether an IBAN is well formed and its check digits hold (ISO 13616, mod 97).
bool validIban(QString iban)
{
    iban.remove(QLatin1Char(' '));
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{1,30}$"));
    if (!shape.match(iban).hasMatch())
        return false;
    const QString moved = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (QChar ch : moved) {
        const int value = ch.isDigit() ? ch.digitValue() : ch.unicode() - 'A' + 10;
        remainder = value >= 10 ? (remainder * 100 + value) % 97 : (remainder * 10 + value) % 97;
    }
    return remainder == 1;
}

// BR-DE-19/20: the account of a payment means with `code` must be a valid IBAN.
bool ibanOf(RuleContext &c, const char *code, const char *ciiPath, const char *ublPath)
{
    if (meansCode(c) != QLatin1String(code))
        return true;
    xmlNode *account = c.first(c.pick(ciiPath, ublPath));
    if (account && validIban(Text(account)))
        return true;
    if (account)
        c.at = account;
    return false;
}

// The VAT category codes the document uses: breakdown, document allowances and charges,
// lines.
const QSet<QString> &categoriesUsed(const Facts &doc)
{
    return doc.once<QSet<QString>>("xr.categories", [&] {
        QSet<QString> codes;
        const bool cii = doc.cii();
        for (xmlNode *n : doc.nodes(Scope::VatBreakdown))
            codes.insert(Text(n, cii ? "ram:CategoryCode" : "cac:TaxCategory/cbc:ID"));
        for (Scope s : {Scope::DocAllowance, Scope::DocCharge})
            for (xmlNode *n : doc.nodes(s))
                codes.insert(
                    Text(n, cii ? "ram:CategoryTradeTax/ram:CategoryCode" : "cac:TaxCategory/cbc:ID"));
        for (xmlNode *n : doc.nodes(Scope::Line))
            codes.insert(
                Text(n, cii ? "ram:SpecifiedLineTradeSettlement/ram:ApplicableTradeTax/ram:CategoryCode"
                            : "cac:Item/cac:ClassifiedTaxCategory/cbc:ID"));
        return codes;
    });
}

// BR-DE-16: VAT of these categories needs the seller's VAT or tax number or a tax
// representative.
bool sellerTaxIdentified(RuleContext &c)
{
    const QSet<QString> &used = categoriesUsed(c.doc);
    bool taxed = false;
    for (const char *code : {"S", "Z", "E", "AE", "K", "G", "L", "M"})
        taxed = taxed || used.contains(QLatin1String(code));
    if (!taxed)
        return true;
    if (c.cii()) {
        for (xmlNode *id : All(seller(c), "ram:SpecifiedTaxRegistration/ram:ID")) {
            const QString scheme = Text(First(id, "@schemeID"));
            if ((scheme == QLatin1String("VA") || scheme == QLatin1String("FC")) && !Text(id).isEmpty())
                return true;
        }
        return c.has(CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty");
    }
    return Filled(seller(c), "cac:PartyTaxScheme/cbc:CompanyID") || c.has("cac:TaxRepresentativeParty");
}

// BR-DE-18: every line of the payment terms (BT-20) that starts with '#' is a cash discount
// in the agreed form, ended by a line break.
bool discountLinesWellFormed(const QString &terms)
{
    static const QRegularExpression form(QStringLiteral(
        "^#SKONTO#TAGE=[0-9]+#PROZENT=[0-9]+\\.[0-9]{2}(#BASISBETRAG=-?[0-9]+\\.[0-9]{2})?#$"));
    const QStringList lines = terms.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (!line.startsWith(QLatin1Char('#')))
            continue;
        if (!form.match(line).hasMatch() || i == lines.size() - 1)
            return false;
    }
    return true;
}

bool paymentTermsForm(RuleContext &c)
{
    for (xmlNode *terms : c.all(c.pick(CII_SETTLEMENT "ram:SpecifiedTradePaymentTerms/ram:Description",
                                       "cac:PaymentTerms/cbc:Note")))
        if (!discountLinesWellFormed(RawText(terms)))
            c.fail(terms);
    return c.failures.empty();
}

// BR-DE-28: one '@' with something before it and a domain with a dot after it, no white
// space, no dot at either end or next to the '@'.
bool plausibleEmail(const QString &address)
{
    static const QRegularExpression form(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    return form.match(address).hasMatch() && !address.startsWith(QLatin1Char('.')) &&
           !address.endsWith(QLatin1Char('.')) && !address.contains(QLatin1String(".@")) &&
           !address.contains(QLatin1String("@."));
}

// BR-DE-22: the file names of embedded attachments (BT-125) differ.
bool uniqueFileNames(RuleContext &c)
{
    QSet<QString> seen;
    for (xmlNode *name : c.all(c.pick(
             CII_AGREEMENT "ram:AdditionalReferencedDocument/ram:AttachmentBinaryObject/@filename",
             "cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject/@filename"))) {
        const QString text = Text(name);
        if (seen.contains(text))
            c.fail(name, {text});
        seen.insert(text);
    }
    return c.failures.empty();
}

// BR-TMP-2: an external document location (BT-124) is a URL: a scheme, a colon, no blanks.
bool externalLocations(RuleContext &c)
{
    static const QRegularExpression url(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*:[^\\s]+$"));
    for (xmlNode *uri :
         c.all(c.pick(CII_AGREEMENT "ram:AdditionalReferencedDocument/ram:URIID",
                      "cac:AdditionalDocumentReference/cac:Attachment/cac:ExternalReference/cbc:URI")))
        if (!url.match(Text(uri)).hasMatch())
            c.fail(uri, {Text(uri)});
    return c.failures.empty();
}

// BR-DE-TMP-32: a delivery date (BT-72), an invoicing period (BG-14) or a period on every
// line (BG-26) says when the goods or services were supplied.
bool supplyDateGiven(RuleContext &c)
{
    if (c.has(c.pick(CII_DELIVERY "ram:ActualDeliverySupplyChainEvent/ram:OccurrenceDateTime",
                     "cac:Delivery/cbc:ActualDeliveryDate")) ||
        c.has(c.pick(CII_SETTLEMENT "ram:BillingSpecifiedPeriod", "cac:InvoicePeriod")))
        return true;
    for (xmlNode *line : c.doc.nodes(Scope::Line))
        if (!First(line, c.pick("ram:SpecifiedLineTradeSettlement/ram:BillingSpecifiedPeriod",
                                "cac:InvoicePeriod")))
            return false;
    return true;
}

// BR-TMP-3: the base quantity of the gross price and that of the net price agree.
bool baseQuantitiesAgree(RuleContext &c)
{
    const auto gross =
        c.number("ram:SpecifiedLineTradeAgreement/ram:GrossPriceProductTradePrice/ram:BasisQuantity");
    xmlNode *net = c.first("ram:SpecifiedLineTradeAgreement/ram:NetPriceProductTradePrice/ram:BasisQuantity");
    const auto netValue = Number(net, "");
    if (!gross || !net || !netValue)
        return true;
    // the unit (BT-150) too, where both name one
    const QString grossUnit = Text(c.first("ram:SpecifiedLineTradeAgreement/ram:GrossPriceProductTradePrice/"
                                           "ram:BasisQuantity/@unitCode"));
    const QString netUnit = Text(First(net, "@unitCode"));
    if (*gross == *netValue && (grossUnit.isEmpty() || netUnit.isEmpty() || grossUnit == netUnit))
        return true;
    c.at = net;
    c.values << (gross->toText() + QLatin1Char(' ') + grossUnit).trimmed()
             << (netValue->toText() + QLatin1Char(' ') + netUnit).trimmed();
    return false;
}

// BR-DEX-01: the types of embedded attachments the extension accepts: those of EN 16931
// and XML.
bool attachmentTypes(RuleContext &c)
{
    if (!extension(c.doc))
        return true;
    for (xmlNode *type : c.all(c.pick(
             CII_AGREEMENT "ram:AdditionalReferencedDocument/ram:AttachmentBinaryObject/@mimeCode",
             "cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject/@mimeCode"))) {
        const QString code = Text(type);
        if (code != QLatin1String("application/xml") && !c.doc.codes.contains(QStringLiteral("MIME"), code))
            c.fail(type, {code});
    }
    return c.failures.empty();
}

// The identifier schemes the extension adds to ISO 6523.
bool extensionScheme(const QString &code)
{
    return code == QLatin1String("XR01") || code == QLatin1String("XR02") || code == QLatin1String("XR03");
}

// BR-DEX-04 … 08: the identifiers whose scheme (@schemeID) is outside ISO 6523 and the
// extension's schemes, by kind: party (04), legal registration (05), item (06), electronic
// address (07, which may also use the EAS list), delivery location (08). One walk of the
// document finds them all.
enum SchemeKind { PartyId, LegalId, ItemId, AddressId, LocationId, SchemeKinds, NoScheme };

SchemeKind schemeKind(const xmlNode *node, bool cii)
{
    const auto is = [](const xmlNode *n, const char *name) {
        return n && xmlStrEqual(n->name, BAD_CAST name);
    };
    const xmlNode *parent = node->parent;
    if (cii) {
        if (is(node, "GlobalID"))
            return is(parent, "ShipToTradeParty")        ? LocationId
                   : is(parent, "SpecifiedTradeProduct") ? ItemId
                                                         : PartyId;
        if (is(node, "ID"))
            return is(parent, "SpecifiedTaxRegistration") ? NoScheme : LegalId;
        if (is(node, "URIID") && is(parent, "URIUniversalCommunication"))
            return AddressId;
        return NoScheme;
    }
    if (is(node, "EndpointID"))
        return AddressId;
    if (is(node, "CompanyID") && is(parent, "PartyLegalEntity"))
        return LegalId;
    if (is(node, "ID"))
        return is(parent, "PartyIdentification")          ? PartyId
               : is(parent, "StandardItemIdentification") ? ItemId
               : is(parent, "DeliveryLocation")           ? LocationId
                                                          : NoScheme;
    return NoScheme;
}

void collectSchemes(const Facts &doc, xmlNode *node, std::array<Nodes, SchemeKinds> &out)
{
    for (xmlNode *child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (xmlNode *scheme = First(child, "@schemeID")) {
            const SchemeKind kind = schemeKind(child, doc.cii());
            const QString code = Text(scheme);
            const bool known = extensionScheme(code) ||
                               doc.codes.contains(QStringLiteral("ISO-6523-ICD"), code) ||
                               (kind == AddressId && doc.codes.contains(QStringLiteral("CEF-EAS"), code)) ||
                               (kind == PartyId && !doc.cii() && code == QLatin1String("SEPA"));
            if (kind != NoScheme && !known)
                out[kind].push_back(scheme);
        }
        collectSchemes(doc, child, out);
    }
}

template <SchemeKind kind> bool schemesKnown(RuleContext &c)
{
    if (!extension(c.doc))
        return true;
    const auto &unknown = c.doc.once<std::array<Nodes, SchemeKinds>>("xr.schemes", [&] {
        std::array<Nodes, SchemeKinds> out;
        collectSchemes(c.doc, c.doc.root, out);
        return out;
    });
    for (xmlNode *scheme : unknown[kind])
        c.fail(scheme, {Text(scheme)});
    return unknown[kind].empty();
}

// BR-DEX-02: a line or sub line with sub lines (BG-DEX-01) has their sum as its net amount.
void checkSubLineSums(RuleContext &c, xmlNode *line)
{
    const Nodes subs = All(line, "cac:SubInvoiceLine");
    if (!subs.empty()) {
        Decimal sum;
        for (xmlNode *sub : subs)
            sum = sum + Number(sub, "cbc:LineExtensionAmount").value_or(Decimal());
        xmlNode *amount = First(line, "cbc:LineExtensionAmount");
        const auto value = Number(line, "cbc:LineExtensionAmount");
        if (amount && value && !(*value == sum))
            c.fail(amount, {value->toText(), sum.toText()});
    }
    for (xmlNode *sub : subs)
        checkSubLineSums(c, sub);
}

// BR-DEX-03: every sub line has exactly one VAT category for its item.
void checkSubLineCategories(RuleContext &c, xmlNode *line)
{
    for (xmlNode *sub : All(line, "cac:SubInvoiceLine")) {
        if (All(sub, "cac:Item/cac:ClassifiedTaxCategory").size() != 1)
            c.fail(sub);
        checkSubLineCategories(c, sub);
    }
}

// The third-party payments (BG-DEX-09) of the extension.
Nodes thirdPartyPayments(RuleContext &c)
{
    return extension(c.doc) ? c.all("cac:PrepaidPayment") : Nodes();
}

// BR-DEX-10 … 12: what each third-party payment must carry.
template <const char *path> bool thirdPartyCarries(RuleContext &c)
{
    for (xmlNode *payment : thirdPartyPayments(c))
        if (!Filled(payment, path))
            c.fail(payment);
    return c.failures.empty();
}

constexpr char PaymentType[] = "cbc:ID";            // BT-DEX-001
constexpr char PaymentAmount[] = "cbc:PaidAmount";  // BT-DEX-002
constexpr char PaymentText[] = "cbc:InstructionID"; // BT-DEX-003

// BR-DEX-09: with third-party payments the amount due (BT-115) is the total with VAT less
// the amount paid plus the rounding plus the third-party payments.
bool amountDueWithThirdParty(RuleContext &c)
{
    const Nodes payments = thirdPartyPayments(c);
    if (payments.empty())
        return true;
    Decimal thirdParty;
    for (xmlNode *payment : payments)
        thirdParty = thirdParty + Number(payment, "cbc:PaidAmount").value_or(Decimal());
    xmlNode *due = c.first("cac:LegalMonetaryTotal/cbc:PayableAmount");
    const auto value = Number(due, "");
    const Decimal expected =
        c.number("cac:LegalMonetaryTotal/cbc:TaxInclusiveAmount").value_or(Decimal()) -
        c.number("cac:LegalMonetaryTotal/cbc:PrepaidAmount").value_or(Decimal()) +
        c.number("cac:LegalMonetaryTotal/cbc:PayableRoundingAmount").value_or(Decimal()) + thirdParty;
    if (value && *value == expected)
        return true;
    if (due)
        c.at = due;
    c.values << (value ? value->toText() : QString()) << expected.toText();
    return false;
}

// The clean vehicles profile: invoices for vehicles that report their emission class.
bool cleanVehicles(const Facts &doc)
{
    return doc.once<bool>("xr.cvd",
                          [&] { return rulesIdentifier(doc).contains(QLatin1String(":xrechnung:cvd_")); });
}

// A line's item classifications (BT-158) and item attributes (BG-32).
Nodes classifications(RuleContext &c, xmlNode *line)
{
    return All(line, c.pick("ram:SpecifiedTradeProduct/ram:DesignatedProductClassification/ram:ClassCode",
                            "cac:Item/cac:CommodityClassification/cbc:ItemClassificationCode"));
}

// The classifications in the vehicle category list (BT-158 with list "CVD").
Nodes vehicleCategories(RuleContext &c, xmlNode *line)
{
    Nodes out;
    for (xmlNode *code : classifications(c, line))
        if (Text(First(code, "@listID")) == QLatin1String("CVD"))
            out.push_back(code);
    return out;
}

// The attributes named "cva" (BT-160), the vehicle's clean vehicle class.
Nodes vehicleClasses(RuleContext &c, xmlNode *line)
{
    Nodes out;
    for (xmlNode *attribute :
         All(line, c.pick("ram:SpecifiedTradeProduct/ram:ApplicableProductCharacteristic",
                          "cac:Item/cac:AdditionalItemProperty")))
        if (Text(attribute, c.pick("ram:Description", "cbc:Name")) == QLatin1String("cva"))
            out.push_back(attribute);
    return out;
}

// BR-DE-CVD-06-a/b: a vehicle line has exactly one vehicle category and one clean vehicle
// class.
bool vehicleLineComplete(RuleContext &c, bool categories)
{
    if (!cleanVehicles(c.doc))
        return true;
    const size_t category = vehicleCategories(c, c.node).size();
    const size_t vehicleClass = vehicleClasses(c, c.node).size();
    if (category == 0 && vehicleClass == 0)
        return true;
    return (categories ? category : vehicleClass) == 1;
}

constexpr Rule Rules[] = {
    // BG-16 payment instructions
    {"BR-DE-1", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return !c.doc.nodes(Scope::PaymentMeans).empty();
     }},
    // BG-6 seller contact
    {"BR-DE-2", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return sellerContact(c) != nullptr;
     }},
    // BT-37 seller city
    {"BR-DE-3", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, sellerAddress(c), "ram:CityName", "cbc:CityName");
     }},
    // BT-38 seller post code
    {"BR-DE-4", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, sellerAddress(c), "ram:PostcodeCode", "cbc:PostalZone");
     }},
    // BT-41 seller contact point
    {"BR-DE-5", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         // CII may name a department instead of a person
         if (c.cii() && Filled(sellerContact(c), "ram:DepartmentName"))
             return true;
         return required(c, sellerContact(c), "ram:PersonName", "cbc:Name");
     }},
    // BT-42 seller contact telephone
    {"BR-DE-6", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, sellerContact(c), "ram:TelephoneUniversalCommunication/ram:CompleteNumber",
                         "cbc:Telephone");
     }},
    // BT-43 seller contact e-mail
    {"BR-DE-7", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, sellerContact(c), "ram:EmailURIUniversalCommunication/ram:URIID",
                         "cbc:ElectronicMail");
     }},
    // BT-52 buyer city
    {"BR-DE-8", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, buyerAddress(c), "ram:CityName", "cbc:CityName");
     }},
    // BT-53 buyer post code
    {"BR-DE-9", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, buyerAddress(c), "ram:PostcodeCode", "cbc:PostalZone");
     }},
    // BT-77 deliver-to city
    {"BR-DE-10", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, deliverToAddress(c), "ram:CityName", "cbc:CityName");
     }},
    // BT-78 deliver-to post code
    {"BR-DE-11", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return required(c, deliverToAddress(c), "ram:PostcodeCode", "cbc:PostalZone");
     }},
    // BT-119 VAT category rate
    {"BR-DE-14", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::VatBreakdown,
     [](RuleContext &c) {
         return c.has(c.pick("ram:RateApplicablePercent", "cac:TaxCategory/cbc:Percent"));
     }},
    // BT-10 buyer reference
    {"BR-DE-15", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.has(c.pick(CII_AGREEMENT "ram:BuyerReference", "cbc:BuyerReference"));
     }},
    {"BR-DE-16", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, sellerTaxIdentified},
    // BT-3 type code from the codes German buyers accept
    {"BR-DE-17", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *type = c.first(c.pick("rsm:ExchangedDocument/ram:TypeCode",
                                        c.doc.creditNote ? "cbc:CreditNoteTypeCode" : "cbc:InvoiceTypeCode"));
         if (!type || codeIn(Text(type), {"326", "380", "384", "389", "381", "875", "876", "877"}))
             return true;
         c.at = type;
         c.values << Text(type);
         return false;
     }},
    {"BR-DE-18", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, paymentTermsForm},
    // BT-84 account of a SEPA credit transfer
    {"BR-DE-19", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return ibanOf(c, "58", "ram:PayeePartyCreditorFinancialAccount/ram:IBANID",
                       "cac:PayeeFinancialAccount/cbc:ID");
     }},
    // BT-91 account debited by a SEPA direct debit
    {"BR-DE-20", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return ibanOf(c, "59", "ram:PayerPartyDebtorFinancialAccount/ram:IBANID",
                       "cac:PaymentMandate/cac:PayerFinancialAccount/cbc:ID");
     }},
    // BT-24 names this version of the German rules
    {"BR-DE-21", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         const QString id = rulesIdentifier(c.doc);
         c.values << id;
         return id.startsWith(
             QLatin1String("urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0"));
     }},
    {"BR-DE-22", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, uniqueFileNames},
    // credit transfer: BG-17, and neither card nor direct debit
    {"BR-DE-23-a", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return !codeIn(meansCode(c), {"30", "58"}) || hasCreditTransfer(c);
     }},
    {"BR-DE-23-b", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return !codeIn(meansCode(c), {"30", "58"}) || (!hasCard(c) && !hasDirectDebit(c));
     }},
    // card payment: BG-18, and neither credit transfer nor direct debit
    {"BR-DE-24-a", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return !codeIn(meansCode(c), {"48", "54", "55"}) || hasCard(c);
     }},
    {"BR-DE-24-b", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return !codeIn(meansCode(c), {"48", "54", "55"}) || (!hasCreditTransfer(c) && !hasDirectDebit(c));
     }},
    // direct debit: BG-19, and neither credit transfer nor card; in CII no BT-86 payment service
    // provider either, under whichever party it is written
    {"BR-DE-25-a", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return meansCode(c) != QLatin1String("59") || hasDirectDebit(c);
     }},
    {"BR-DE-25-b", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::PaymentMeans,
     [](RuleContext &c) {
         return meansCode(c) != QLatin1String("59") ||
                (!hasCreditTransfer(c) && !hasCard(c) &&
                 !c.has("ram:PayeeSpecifiedCreditorFinancialInstitution") &&
                 !c.has("ram:PayerSpecifiedDebtorFinancialInstitution"));
     }},
    // BG-3 preceding invoice of a corrected invoice, named by its number (BT-25)
    {"BR-DE-26", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return c.text(c.pick("rsm:ExchangedDocument/ram:TypeCode", "cbc:InvoiceTypeCode")) !=
                    QLatin1String("384") ||
                c.filled(c.pick(CII_SETTLEMENT "ram:InvoiceReferencedDocument/ram:IssuerAssignedID",
                                "cac:BillingReference/cac:InvoiceDocumentReference/cbc:ID"));
     }},
    // BT-42 telephone with at least three digits
    {"BR-DE-27", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *phone =
             First(sellerContact(c),
                   c.pick("ram:TelephoneUniversalCommunication/ram:CompleteNumber", "cbc:Telephone"));
         const QString text = Text(phone);
         if (!phone || std::count_if(text.begin(), text.end(), [](QChar ch) { return ch.isDigit(); }) >= 3)
             return true;
         c.at = phone;
         c.values << text;
         return false;
     }},
    // BT-43 e-mail address
    {"BR-DE-28", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         xmlNode *mail = First(sellerContact(c),
                               c.pick("ram:EmailURIUniversalCommunication/ram:URIID", "cbc:ElectronicMail"));
         if (!mail || plausibleEmail(Text(mail)))
             return true;
         c.at = mail;
         c.values << Text(mail);
         return false;
     }},
    // BT-90 creditor identifier of a direct debit
    {"BR-DE-30", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return !ciiDirectDebit(c.doc).any() || ciiDirectDebit(c.doc).complete();
         return !c.has("cac:PaymentMeans/cac:PaymentMandate") || sepaCreditorId(c);
     }},
    // BT-91 debited account of a direct debit
    {"BR-DE-31", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (c.cii())
             return !ciiDirectDebit(c.doc).any() || ciiDirectDebit(c.doc).complete();
         for (xmlNode *mandate : c.all("cac:PaymentMeans/cac:PaymentMandate"))
             if (!First(mandate, "cac:PayerFinancialAccount/cbc:ID"))
                 return false;
         return true;
     }},
    {"BR-DEX-01", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, attachmentTypes},
    {"BR-DEX-02", FindingFlag::Warning, Ruleset::XRechnung, Ubl, Scope::Line,
     [](RuleContext &c) {
         if (extension(c.doc))
             checkSubLineSums(c, c.node);
         return c.failures.empty();
     }},
    {"BR-DEX-03", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Line,
     [](RuleContext &c) {
         if (extension(c.doc))
             checkSubLineCategories(c, c.node);
         return c.failures.empty();
     }},
    {"BR-DEX-04", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, schemesKnown<PartyId>},
    {"BR-DEX-05", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, schemesKnown<LegalId>},
    {"BR-DEX-06", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, schemesKnown<ItemId>},
    {"BR-DEX-07", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, schemesKnown<AddressId>},
    {"BR-DEX-08", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice, schemesKnown<LocationId>},
    {"BR-DEX-09", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Invoice, amountDueWithThirdParty},
    {"BR-DEX-10", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Invoice, thirdPartyCarries<PaymentType>},
    {"BR-DEX-11", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Invoice, thirdPartyCarries<PaymentAmount>},
    {"BR-DEX-12", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Invoice, thirdPartyCarries<PaymentText>},
    // BT-DEX-002 with at most two decimals
    {"BR-DEX-13", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         for (xmlNode *payment : thirdPartyPayments(c)) {
             xmlNode *amount = First(payment, "cbc:PaidAmount");
             const QString text = Text(amount);
             const qsizetype dot = text.indexOf(QLatin1Char('.'));
             if (amount && dot >= 0 && text.size() - dot - 1 > 2)
                 c.fail(amount, {text});
         }
         return c.failures.empty();
     }},
    // BT-DEX-002 in the invoice currency (BT-5)
    {"BR-DEX-14", FindingFlag::Fatal, Ruleset::XRechnung, Ubl, Scope::Invoice,
     [](RuleContext &c) {
         const QString currency = c.text("cbc:DocumentCurrencyCode");
         for (xmlNode *payment : thirdPartyPayments(c)) {
             xmlNode *amount = First(payment, "cbc:PaidAmount");
             const QString used = Text(First(amount, "@currencyID"));
             if (!amount || used != currency)
                 c.fail(amount ? amount : payment, {used, currency});
         }
         return c.failures.empty();
     }},
    // CII carries no sub lines: a line that names a parent line is read as a line of its own
    {"BR-DEX-15", FindingFlag::Warning, Ruleset::XRechnung, Cii, Scope::Line,
     [](RuleContext &c) {
         xmlNode *parent = c.first("ram:AssociatedDocumentLineDocument/ram:ParentLineID");
         if (!parent || !extension(c.doc))
             return true;
         c.at = parent;
         c.values << Text(parent);
         return false;
     }},
    // BT-12 contract reference of a clean vehicles invoice
    {"BR-DE-CVD-01", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         return !cleanVehicles(c.doc) ||
                c.filled(c.pick(CII_AGREEMENT "ram:ContractReferencedDocument/ram:IssuerAssignedID",
                                "cac:ContractDocumentReference/cbc:ID"));
     }},
    // BT-17 tender or lot reference of a clean vehicles invoice
    {"BR-DE-CVD-02", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (!cleanVehicles(c.doc))
             return true;
         if (!c.cii())
             return c.filled("cac:OriginatorDocumentReference/cbc:ID");
         for (xmlNode *reference : c.all(CII_AGREEMENT "ram:AdditionalReferencedDocument"))
             if (Text(reference, "ram:TypeCode") == QLatin1String("50") && Filled(reference, "ram:IssuerAssignedID"))
                 return true;
         return false;
     }},
    // a clean vehicles invoice has a line with a vehicle category and a clean vehicle class
    {"BR-DE-CVD-03", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Invoice,
     [](RuleContext &c) {
         if (!cleanVehicles(c.doc))
             return true;
         for (xmlNode *line : c.doc.nodes(Scope::Line))
             if (!vehicleCategories(c, line).empty() && !vehicleClasses(c, line).empty())
                 return true;
         return false;
     }},
    // the vehicle categories
    {"BR-DE-CVD-04", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Line,
     [](RuleContext &c) {
         if (cleanVehicles(c.doc))
             for (xmlNode *code : vehicleCategories(c, c.node))
                 if (!codeIn(Text(code), {"M1", "M2", "M3", "N1", "N2", "N3"}))
                     c.fail(code, {Text(code)});
         return c.failures.empty();
     }},
    // the clean vehicle classes (BT-161)
    {"BR-DE-CVD-05", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Line,
     [](RuleContext &c) {
         if (cleanVehicles(c.doc))
             for (xmlNode *attribute : vehicleClasses(c, c.node)) {
                 xmlNode *value = First(attribute, c.pick("ram:Value", "cbc:Value"));
                 if (!codeIn(Text(value), {"clean", "zero-emission", "other"}))
                     c.fail(value ? value : attribute, {Text(value)});
             }
         return c.failures.empty();
     }},
    {"BR-DE-CVD-06-a", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Line,
     [](RuleContext &c) { return vehicleLineComplete(c, false); }},
    {"BR-DE-CVD-06-b", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Line,
     [](RuleContext &c) { return vehicleLineComplete(c, true); }},
    // the classification lists of a clean vehicles invoice: those of EN 16931 and "CVD"
    {"BR-TMP-CVD-01", FindingFlag::Fatal, Ruleset::XRechnung, Both, Scope::Line,
     [](RuleContext &c) {
         if (cleanVehicles(c.doc))
             for (xmlNode *code : classifications(c, c.node)) {
                 xmlNode *list = First(code, "@listID");
                 const QString id = Text(list);
                 if (list && id != QLatin1String("CVD") && !c.doc.codes.contains(QStringLiteral("UNTDID-7143"), id))
                     c.fail(list, {id});
             }
         return c.failures.empty();
     }},
    {"BR-DE-TMP-32", FindingFlag::Information, Ruleset::XRechnung, Both, Scope::Invoice, supplyDateGiven},
    {"BR-TMP-2", FindingFlag::Warning, Ruleset::XRechnung, Both, Scope::Invoice, externalLocations},
    {"BR-TMP-3", FindingFlag::Fatal, Ruleset::XRechnung, Cii, Scope::Line, baseQuantitiesAgree},
};

} // namespace

std::span<const Rule> XRechnungRules()
{
    return Rules;
}

} // namespace invorator::validation
