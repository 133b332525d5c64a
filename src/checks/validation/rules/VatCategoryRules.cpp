// The rules of each VAT category (BR-S, BR-Z, BR-E, BR-AE, BR-IC, BR-G, BR-O, BR-AF, BR-AG,
// BR-B): one function per pattern, instantiated for each category the pattern applies to.
#include "checks/validation/RuleContext.h"

#include <unordered_map>

namespace invorator::validation {

namespace {

// Header paths of CII, below the root.
#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_DELIVERY "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeDelivery/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"

// The categories with a family of rules of the same pattern; split payment (B) has two rules
// of its own.
enum Category { CatS, CatZ, CatE, CatAE, CatK, CatG, CatO, CatL, CatM };

// What the rate of a line, allowance or charge of the category must be.
enum class RateRule { Positive, Zero, NotNegative, Absent };
// Which VAT identifiers of seller and buyer a line, allowance or charge of the category needs.
enum class PartyRule {
    SellerAny,         // seller VAT id, seller tax registration or tax representative's VAT id
    SellerVat,         // seller or tax representative VAT id
    SellerAnyAndBuyer, // any of the seller's, and buyer VAT id or buyer legal registration
    SellerVatAndBuyerVat,
    None, // no VAT id of seller, tax representative or buyer
};

struct CategoryRules
{
    const char *code;
    bool rated;        // the tax is the rate of the taxable amount, summed per rate
    bool oneBreakdown; // exactly one breakdown of the category, not at least one
    RateRule rate;
    PartyRule parties;
    bool exemption; // the breakdown gives an exemption reason
    // UBL: whether the breakdown and identifier rules count the code of a line, allowance or
    // charge whatever tax scheme it is under (standard rate), or only under VAT.
    bool anyScheme;
};

constexpr CategoryRules Categories[] = {
    {"S", true, false, RateRule::Positive, PartyRule::SellerAny, false, true},
    {"Z", false, true, RateRule::Zero, PartyRule::SellerAny, false, false},
    {"E", false, true, RateRule::Zero, PartyRule::SellerAny, true, false},
    {"AE", false, true, RateRule::Zero, PartyRule::SellerAnyAndBuyer, true, false},
    {"K", false, true, RateRule::Zero, PartyRule::SellerVatAndBuyerVat, true, false},
    {"G", false, true, RateRule::Zero, PartyRule::SellerVat, true, false},
    {"O", false, true, RateRule::Absent, PartyRule::None, true, false},
    {"L", true, false, RateRule::NotNegative, PartyRule::SellerAny, false, false},
    {"M", true, false, RateRule::NotNegative, PartyRule::SellerAny, false, false},
};

// The tax category of something taxed: a line, a document allowance or a document charge.
struct Taxed
{
    QString code;
    bool vat; // under the VAT scheme (always so in CII)
    std::optional<Decimal> rate;
    Decimal amount; // as it adds to the taxable amount: allowances negative
    enum Kind { Line, Allowance, Charge } kind;
};

// What the category rules share, worked out once per document.
struct VatFacts
{
    std::vector<Taxed> taxed;
    QStringList breakdownCodes; // of the breakdowns under VAT
    // The standard rate's presence rule counts codes under any tax scheme, and in UBL every
    // allowance or charge whether its indicator says which or not.
    QStringList anySchemeCodes;
    QStringList anySchemeBreakdownCodes;
    bool sellerVat = false;
    bool sellerTaxRegistration = false;
    bool representativeVat = false;
    bool buyerVat = false;
    bool buyerLegal = false;
    bool deliveryDateOrPeriod = false;
    bool deliverToCountry = false;
    bool italian = false; // seller and buyer in Italy
};

// The tax category element of a line, allowance or charge.
xmlNode *categoryOf(xmlNode *node, bool cii, bool line)
{
    if (cii)
        return First(node, line ? "ram:SpecifiedLineTradeSettlement/ram:ApplicableTradeTax"
                                : "ram:CategoryTradeTax");
    return First(node, line ? "cac:Item/cac:ClassifiedTaxCategory" : "cac:TaxCategory");
}

// An element's text read as an xs:decimal; nothing when absent or no number.
std::optional<Decimal> numberOf(const xmlNode *node)
{
    return node ? Decimal::fromXml(Text(node)).value : std::nullopt;
}

// A value for a message; a dash where there is none.
QString shown(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("—") : text;
}

QString shown(const std::optional<Decimal> &number)
{
    return number ? number->toText() : shown(QString());
}

QString codeOf(xmlNode *category, bool cii)
{
    return Text(category, cii ? "ram:CategoryCode" : "cbc:ID");
}

// Whether a UBL tax category is one of VAT: other taxes may share the element.
bool underVat(xmlNode *category, bool cii)
{
    return cii || Text(category, "cac:TaxScheme/cbc:ID").toUpper() == QLatin1String("VAT");
}

xmlNode *rateOf(xmlNode *category, bool cii)
{
    return First(category, cii ? "ram:RateApplicablePercent" : "cbc:Percent");
}

// A UBL PartyTaxScheme is one for VAT when its scheme says so.
bool vatScheme(xmlNode *scheme)
{
    return Text(scheme, "cac:TaxScheme/cbc:ID").toUpper() == QLatin1String("VAT");
}

bool hasElementChild(const xmlNode *node)
{
    for (const xmlNode *child = node ? node->children : nullptr; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            return true;
    return false;
}

void readParties(const Facts &doc, VatFacts &v)
{
    xmlNode *root = doc.root;
    if (doc.cii()) {
        auto registered = [](xmlNode *party, const char *scheme) {
            for (xmlNode *id : All(party, "ram:SpecifiedTaxRegistration/ram:ID"))
                if (Text(First(id, "@schemeID")) == QLatin1String(scheme))
                    return true;
            return false;
        };
        xmlNode *seller = First(root, CII_AGREEMENT "ram:SellerTradeParty");
        xmlNode *buyer = First(root, CII_AGREEMENT "ram:BuyerTradeParty");
        v.sellerVat = registered(seller, "VA");
        v.sellerTaxRegistration = registered(seller, "FC");
        v.representativeVat =
            registered(First(root, CII_AGREEMENT "ram:SellerTaxRepresentativeTradeParty"), "VA");
        v.buyerVat = registered(buyer, "VA");
        v.buyerLegal = First(buyer, "ram:SpecifiedLegalOrganization/ram:ID") != nullptr;
        v.deliveryDateOrPeriod =
            First(root, CII_DELIVERY
                  "ram:ActualDeliverySupplyChainEvent/ram:OccurrenceDateTime/udt:DateTimeString") ||
            hasElementChild(First(root, CII_SETTLEMENT "ram:BillingSpecifiedPeriod"));
        v.deliverToCountry =
            Filled(root, CII_DELIVERY "ram:ShipToTradeParty/ram:PostalTradeAddress/ram:CountryID");
        v.italian = Text(seller, "ram:PostalTradeAddress/ram:CountryID") == QLatin1String("IT") &&
                    Text(buyer, "ram:PostalTradeAddress/ram:CountryID") == QLatin1String("IT");
        return;
    }
    xmlNode *seller = First(root, "cac:AccountingSupplierParty/cac:Party");
    xmlNode *buyer = First(root, "cac:AccountingCustomerParty/cac:Party");
    for (xmlNode *scheme : All(seller, "cac:PartyTaxScheme"))
        if (First(scheme, "cbc:CompanyID"))
            (vatScheme(scheme) ? v.sellerVat : v.sellerTaxRegistration) = true;
    for (xmlNode *scheme : All(root, "cac:TaxRepresentativeParty/cac:PartyTaxScheme"))
        v.representativeVat = v.representativeVat || (First(scheme, "cbc:CompanyID") && vatScheme(scheme));
    for (xmlNode *scheme : All(buyer, "cac:PartyTaxScheme"))
        v.buyerVat = v.buyerVat || (First(scheme, "cbc:CompanyID") && vatScheme(scheme));
    v.buyerLegal = First(buyer, "cac:PartyLegalEntity/cbc:CompanyID") != nullptr;
    v.deliveryDateOrPeriod = Text(root, "cac:Delivery/cbc:ActualDeliveryDate").size() > 1;
    for (xmlNode *period : All(root, "cac:InvoicePeriod"))
        v.deliveryDateOrPeriod = v.deliveryDateOrPeriod || hasElementChild(period);
    v.deliverToCountry =
        Filled(root, "cac:Delivery/cac:DeliveryLocation/cac:Address/cac:Country/cbc:IdentificationCode");
    v.italian = Text(seller, "cac:PostalAddress/cac:Country/cbc:IdentificationCode") == QLatin1String("IT") &&
                Text(buyer, "cac:PostalAddress/cac:Country/cbc:IdentificationCode") == QLatin1String("IT");
}

const VatFacts &vat(const Facts &doc)
{
    return doc.once<VatFacts>("vat-categories", [&doc] {
        VatFacts v;
        const bool cii = doc.cii();
        auto add = [&](Scope scope, Taxed::Kind kind, const char *amountPath) {
            for (xmlNode *node : doc.nodes(scope)) {
                xmlNode *category = categoryOf(node, cii, kind == Taxed::Line);
                Decimal amount = Number(node, amountPath).value_or(Decimal());
                if (kind == Taxed::Allowance)
                    amount = Decimal() - amount;
                v.taxed.push_back({codeOf(category, cii), underVat(category, cii),
                                   Number(category, cii ? "ram:RateApplicablePercent" : "cbc:Percent"),
                                   amount, kind});
            }
        };
        add(Scope::Line, Taxed::Line,
            cii ? "ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeSettlementLineMonetarySummation/"
                  "ram:LineTotalAmount"
                : "cbc:LineExtensionAmount");
        add(Scope::DocAllowance, Taxed::Allowance, cii ? "ram:ActualAmount" : "cbc:Amount");
        add(Scope::DocCharge, Taxed::Charge, cii ? "ram:ActualAmount" : "cbc:Amount");
        for (xmlNode *breakdown : doc.nodes(Scope::VatBreakdown)) {
            xmlNode *category = cii ? breakdown : First(breakdown, "cac:TaxCategory");
            v.anySchemeBreakdownCodes << codeOf(category, cii);
            if (underVat(category, cii))
                v.breakdownCodes << codeOf(category, cii);
        }
        if (cii) {
            for (const Taxed &t : v.taxed)
                v.anySchemeCodes << t.code;
        } else {
            for (xmlNode *line : doc.nodes(Scope::Line))
                for (xmlNode *category : All(line, "cac:Item/cac:ClassifiedTaxCategory"))
                    v.anySchemeCodes << codeOf(category, cii);
            for (xmlNode *category : All(doc.root, "cac:AllowanceCharge/cac:TaxCategory"))
                v.anySchemeCodes << codeOf(category, cii);
        }
        readParties(doc, v);
        return v;
    });
}

bool used(const VatFacts &v, const char *code)
{
    return std::any_of(v.taxed.begin(), v.taxed.end(),
                       [code](const Taxed &t) { return t.vat && t.code == QLatin1String(code); });
}

// BR-x-01: where lines, allowances or charges are of the category, the breakdown has it
// (once, or at least once for the rated ones).
template <Category K> bool breakdownPresent(RuleContext &c)
{
    const CategoryRules &k = Categories[K];
    const VatFacts &v = vat(c.doc);
    const QLatin1String code(k.code);
    const auto declared = (k.anyScheme ? v.anySchemeBreakdownCodes : v.breakdownCodes).count(code);
    const bool taxed = k.anyScheme ? v.anySchemeCodes.contains(code) : used(v, k.code);
    // CII asks the exempt categories' breakdowns for something taxed, UBL the rated ones'.
    if (!taxed)
        return (c.cii() ? k.rated : k.oneBreakdown) || declared == 0;
    return k.oneBreakdown ? declared == 1 : declared > 0;
}

// The category element of the line, allowance or charge checked, when it is of category K.
// `asWritten`: the code must be exactly as written, white space around it included.
// A line's, allowance's or charge's category as every category's rules ask for it, read
// once per node: ten categories' rules look at each line.
struct CategoryInfo
{
    xmlNode *category = nullptr;
    QString code;
    bool vat = false;
};
struct CategoryCache
{
    mutable std::unordered_map<const xmlNode *, CategoryInfo> byNode;
};

const CategoryInfo &categoryInfo(RuleContext &c, bool line)
{
    const CategoryCache &cache =
        c.doc.once<CategoryCache>("vat-categories-of-nodes", [] { return CategoryCache{}; });
    auto [at, added] = cache.byNode.try_emplace(c.node);
    if (added) {
        xmlNode *category = categoryOf(c.node, c.cii(), line);
        at->second = {category, codeOf(category, c.cii()), underVat(category, c.cii())};
    }
    return at->second;
}

template <Category K, bool Line>
xmlNode *ofCategory(RuleContext &c, bool anyScheme = false, bool asWritten = false)
{
    const CategoryInfo &info = categoryInfo(c, Line);
    if (!anyScheme && !info.vat)
        return nullptr;
    const QLatin1String code(Categories[K].code);
    if (asWritten && !c.cii())
        return RawText(First(info.category, "cbc:ID")) == code ? info.category : nullptr;
    return info.code == code ? info.category : nullptr;
}

// BR-x-02 … 04: the VAT identifiers a line, allowance or charge of the category needs.
// `AsWritten`: the IGIC charges' rule of UBL takes a code with white space around it for
// another one.
template <Category K, bool Line, bool AsWritten = false> bool partiesIdentified(RuleContext &c)
{
    if (!ofCategory<K, Line>(c, Categories[K].anyScheme, AsWritten))
        return true;
    const VatFacts &v = vat(c.doc);
    const bool sellerVat = v.sellerVat || v.representativeVat;
    switch (Categories[K].parties) {
    case PartyRule::SellerAny:
        return sellerVat || v.sellerTaxRegistration;
    case PartyRule::SellerVat:
        return sellerVat;
    case PartyRule::SellerAnyAndBuyer:
        return (sellerVat || v.sellerTaxRegistration) && (v.buyerVat || v.buyerLegal);
    case PartyRule::SellerVatAndBuyerVat:
        return sellerVat && v.buyerVat;
    case PartyRule::None:
        return !sellerVat && !v.buyerVat;
    }
    return true;
}

// BR-x-05 … 07: the rate of a line, allowance or charge of the category.
template <Category K, bool Line> bool rateFits(RuleContext &c)
{
    xmlNode *category = ofCategory<K, Line>(c);
    if (!category)
        return true;
    xmlNode *rateNode = rateOf(category, c.cii());
    const std::optional<Decimal> rate = numberOf(rateNode);
    c.at = rateNode ? rateNode : category;
    c.values = {shown(Text(rateNode))};
    switch (Categories[K].rate) {
    case RateRule::Positive:
        return rate && *rate > Decimal();
    case RateRule::Zero:
        return rate && rate->isZero();
    case RateRule::NotNegative:
        return rate && !rate->isNegative();
    case RateRule::Absent:
        return !rateNode;
    }
    return true;
}

// The breakdown checked when it is of category K.
template <Category K> bool isBreakdownOf(RuleContext &c)
{
    xmlNode *category = c.cii() ? c.node : c.first("cac:TaxCategory");
    return underVat(category, c.cii()) && codeOf(category, c.cii()) == QLatin1String(Categories[K].code);
}

std::optional<Decimal> breakdownRate(RuleContext &c)
{
    return c.number(c.pick("ram:RateApplicablePercent", "cac:TaxCategory/cbc:Percent"));
}

// BR-x-08: the taxable amount of the breakdown is what the lines, allowances and charges of
// its category (and rate, for the rated ones) add up to, give or take one unit.
template <Category K> bool taxableAdds(RuleContext &c)
{
    if (!isBreakdownOf<K>(c))
        return true;
    const CategoryRules &k = Categories[K];
    const std::optional<Decimal> rate = breakdownRate(c);
    // A rated breakdown without a rate has nothing to add up.
    if (k.rated && !rate)
        return true;
    Decimal sum;
    for (const Taxed &t : vat(c.doc).taxed)
        if (t.code == QLatin1String(k.code) && (!k.rated || (t.rate && *t.rate == *rate)))
            sum = sum + t.amount;
    xmlNode *taxableNode = c.first(c.pick("ram:BasisAmount", "cbc:TaxableAmount"));
    const std::optional<Decimal> taxable = numberOf(taxableNode);
    c.at = taxableNode;
    c.values = {shown(taxable), sum.toText()};
    return taxable && (*taxable - sum).abs() < Decimal(1);
}

// BR-x-09: the tax of the breakdown: the rate of the taxable amount give or take one unit,
// or nothing at all.
template <Category K> bool taxFits(RuleContext &c)
{
    if (!isBreakdownOf<K>(c))
        return true;
    xmlNode *taxNode = c.first(c.pick("ram:CalculatedAmount", "cbc:TaxAmount"));
    const std::optional<Decimal> tax = numberOf(taxNode);
    c.at = taxNode;
    if (!Categories[K].rated) {
        c.values = {shown(tax)};
        return tax && tax->isZero();
    }
    const std::optional<Decimal> taxable = c.number(c.pick("ram:BasisAmount", "cbc:TaxableAmount"));
    const std::optional<Decimal> rate = breakdownRate(c);
    const std::optional<Decimal> expected =
        taxable && rate ? Decimal::divided(taxable->abs() * *rate, Decimal(100), 2) : std::nullopt;
    c.values = {shown(tax), shown(expected)};
    return tax && expected && (tax->abs() - *expected).abs() < Decimal(1);
}

// BR-x-10: an exemption reason (text or code) where the category is exempt, none where it is
// taxed.
template <Category K> bool exemptionFits(RuleContext &c)
{
    if (!isBreakdownOf<K>(c))
        return true;
    const bool given = c.has(c.pick("ram:ExemptionReason", "cac:TaxCategory/cbc:TaxExemptionReason")) ||
                       c.has(c.pick("ram:ExemptionReasonCode", "cac:TaxCategory/cbc:TaxExemptionReasonCode"));
    return given == Categories[K].exemption;
}

// BR-IC-11: goods delivered within the EU need their delivery date or invoicing period.
bool intraCommunityDated(RuleContext &c)
{
    return !isBreakdownOf<CatK>(c) || vat(c.doc).deliveryDateOrPeriod;
}

// BR-IC-12: … and the country they were delivered to.
bool intraCommunityDelivered(RuleContext &c)
{
    return !isBreakdownOf<CatK>(c) || vat(c.doc).deliverToCountry;
}

// BR-O-11 … 14: an invoice not subject to VAT has no other category anywhere.
bool onlyNotSubjectBreakdowns(RuleContext &c)
{
    if (!isBreakdownOf<CatO>(c))
        return true;
    const QStringList &codes = vat(c.doc).breakdownCodes;
    return std::all_of(codes.begin(), codes.end(),
                       [](const QString &code) { return code == QLatin1String("O"); });
}

template <Taxed::Kind Kind> bool onlyNotSubject(RuleContext &c)
{
    if (!isBreakdownOf<CatO>(c))
        return true;
    const std::vector<Taxed> &taxed = vat(c.doc).taxed;
    return std::none_of(taxed.begin(), taxed.end(), [](const Taxed &t) {
        return t.kind == Kind && t.vat && t.code != QLatin1String("O");
    });
}

// BR-B-01: split payment is for invoices within Italy.
bool splitPaymentItalian(RuleContext &c)
{
    const VatFacts &v = vat(c.doc);
    return !(used(v, "B") || v.breakdownCodes.contains(QLatin1String("B"))) || v.italian;
}

// BR-B-02: split payment and standard rate do not meet on the lines, allowances and charges
// of one invoice.
bool splitPaymentNotStandard(RuleContext &c)
{
    const VatFacts &v = vat(c.doc);
    return !used(v, "B") || !used(v, "S");
}

constexpr Rule rule(const char *id, Scope scope, RuleTest test)
{
    return {id, FindingFlag::Fatal, Ruleset::En16931, Both, scope, test};
}

constexpr Rule Rules[] = {
    rule("BR-S-01", Scope::Invoice, breakdownPresent<CatS>),
    rule("BR-S-02", Scope::Line, partiesIdentified<CatS, true>),
    rule("BR-S-03", Scope::DocAllowance, partiesIdentified<CatS, false>),
    rule("BR-S-04", Scope::DocCharge, partiesIdentified<CatS, false>),
    rule("BR-S-05", Scope::Line, rateFits<CatS, true>),
    rule("BR-S-06", Scope::DocAllowance, rateFits<CatS, false>),
    rule("BR-S-07", Scope::DocCharge, rateFits<CatS, false>),
    rule("BR-S-08", Scope::VatBreakdown, taxableAdds<CatS>),
    rule("BR-S-09", Scope::VatBreakdown, taxFits<CatS>),
    rule("BR-S-10", Scope::VatBreakdown, exemptionFits<CatS>),

    rule("BR-Z-01", Scope::Invoice, breakdownPresent<CatZ>),
    rule("BR-Z-02", Scope::Line, partiesIdentified<CatZ, true>),
    rule("BR-Z-03", Scope::DocAllowance, partiesIdentified<CatZ, false>),
    rule("BR-Z-04", Scope::DocCharge, partiesIdentified<CatZ, false>),
    rule("BR-Z-05", Scope::Line, rateFits<CatZ, true>),
    rule("BR-Z-06", Scope::DocAllowance, rateFits<CatZ, false>),
    rule("BR-Z-07", Scope::DocCharge, rateFits<CatZ, false>),
    rule("BR-Z-08", Scope::VatBreakdown, taxableAdds<CatZ>),
    rule("BR-Z-09", Scope::VatBreakdown, taxFits<CatZ>),
    rule("BR-Z-10", Scope::VatBreakdown, exemptionFits<CatZ>),

    rule("BR-E-01", Scope::Invoice, breakdownPresent<CatE>),
    rule("BR-E-02", Scope::Line, partiesIdentified<CatE, true>),
    rule("BR-E-03", Scope::DocAllowance, partiesIdentified<CatE, false>),
    rule("BR-E-04", Scope::DocCharge, partiesIdentified<CatE, false>),
    rule("BR-E-05", Scope::Line, rateFits<CatE, true>),
    rule("BR-E-06", Scope::DocAllowance, rateFits<CatE, false>),
    rule("BR-E-07", Scope::DocCharge, rateFits<CatE, false>),
    rule("BR-E-08", Scope::VatBreakdown, taxableAdds<CatE>),
    rule("BR-E-09", Scope::VatBreakdown, taxFits<CatE>),
    rule("BR-E-10", Scope::VatBreakdown, exemptionFits<CatE>),

    rule("BR-AE-01", Scope::Invoice, breakdownPresent<CatAE>),
    rule("BR-AE-02", Scope::Line, partiesIdentified<CatAE, true>),
    rule("BR-AE-03", Scope::DocAllowance, partiesIdentified<CatAE, false>),
    rule("BR-AE-04", Scope::DocCharge, partiesIdentified<CatAE, false>),
    rule("BR-AE-05", Scope::Line, rateFits<CatAE, true>),
    rule("BR-AE-06", Scope::DocAllowance, rateFits<CatAE, false>),
    rule("BR-AE-07", Scope::DocCharge, rateFits<CatAE, false>),
    rule("BR-AE-08", Scope::VatBreakdown, taxableAdds<CatAE>),
    rule("BR-AE-09", Scope::VatBreakdown, taxFits<CatAE>),
    rule("BR-AE-10", Scope::VatBreakdown, exemptionFits<CatAE>),

    rule("BR-IC-01", Scope::Invoice, breakdownPresent<CatK>),
    rule("BR-IC-02", Scope::Line, partiesIdentified<CatK, true>),
    rule("BR-IC-03", Scope::DocAllowance, partiesIdentified<CatK, false>),
    rule("BR-IC-04", Scope::DocCharge, partiesIdentified<CatK, false>),
    rule("BR-IC-05", Scope::Line, rateFits<CatK, true>),
    rule("BR-IC-06", Scope::DocAllowance, rateFits<CatK, false>),
    rule("BR-IC-07", Scope::DocCharge, rateFits<CatK, false>),
    rule("BR-IC-08", Scope::VatBreakdown, taxableAdds<CatK>),
    rule("BR-IC-09", Scope::VatBreakdown, taxFits<CatK>),
    rule("BR-IC-10", Scope::VatBreakdown, exemptionFits<CatK>),
    rule("BR-IC-11", Scope::VatBreakdown, intraCommunityDated),
    rule("BR-IC-12", Scope::VatBreakdown, intraCommunityDelivered),

    rule("BR-G-01", Scope::Invoice, breakdownPresent<CatG>),
    rule("BR-G-02", Scope::Line, partiesIdentified<CatG, true>),
    rule("BR-G-03", Scope::DocAllowance, partiesIdentified<CatG, false>),
    rule("BR-G-04", Scope::DocCharge, partiesIdentified<CatG, false>),
    rule("BR-G-05", Scope::Line, rateFits<CatG, true>),
    rule("BR-G-06", Scope::DocAllowance, rateFits<CatG, false>),
    rule("BR-G-07", Scope::DocCharge, rateFits<CatG, false>),
    rule("BR-G-08", Scope::VatBreakdown, taxableAdds<CatG>),
    rule("BR-G-09", Scope::VatBreakdown, taxFits<CatG>),
    rule("BR-G-10", Scope::VatBreakdown, exemptionFits<CatG>),

    rule("BR-O-01", Scope::Invoice, breakdownPresent<CatO>),
    rule("BR-O-02", Scope::Line, partiesIdentified<CatO, true>),
    rule("BR-O-03", Scope::DocAllowance, partiesIdentified<CatO, false>),
    rule("BR-O-04", Scope::DocCharge, partiesIdentified<CatO, false>),
    rule("BR-O-05", Scope::Line, rateFits<CatO, true>),
    rule("BR-O-06", Scope::DocAllowance, rateFits<CatO, false>),
    rule("BR-O-07", Scope::DocCharge, rateFits<CatO, false>),
    rule("BR-O-08", Scope::VatBreakdown, taxableAdds<CatO>),
    rule("BR-O-09", Scope::VatBreakdown, taxFits<CatO>),
    rule("BR-O-10", Scope::VatBreakdown, exemptionFits<CatO>),
    rule("BR-O-11", Scope::VatBreakdown, onlyNotSubjectBreakdowns),
    rule("BR-O-12", Scope::VatBreakdown, onlyNotSubject<Taxed::Line>),
    rule("BR-O-13", Scope::VatBreakdown, onlyNotSubject<Taxed::Allowance>),
    rule("BR-O-14", Scope::VatBreakdown, onlyNotSubject<Taxed::Charge>),

    rule("BR-AF-01", Scope::Invoice, breakdownPresent<CatL>),
    rule("BR-AF-02", Scope::Line, partiesIdentified<CatL, true>),
    rule("BR-AF-03", Scope::DocAllowance, partiesIdentified<CatL, false>),
    rule("BR-AF-04", Scope::DocCharge, partiesIdentified<CatL, false, true>),
    rule("BR-AF-05", Scope::Line, rateFits<CatL, true>),
    rule("BR-AF-06", Scope::DocAllowance, rateFits<CatL, false>),
    rule("BR-AF-07", Scope::DocCharge, rateFits<CatL, false>),
    rule("BR-AF-08", Scope::VatBreakdown, taxableAdds<CatL>),
    rule("BR-AF-09", Scope::VatBreakdown, taxFits<CatL>),
    rule("BR-AF-10", Scope::VatBreakdown, exemptionFits<CatL>),

    rule("BR-AG-01", Scope::Invoice, breakdownPresent<CatM>),
    rule("BR-AG-02", Scope::Line, partiesIdentified<CatM, true>),
    rule("BR-AG-03", Scope::DocAllowance, partiesIdentified<CatM, false>),
    rule("BR-AG-04", Scope::DocCharge, partiesIdentified<CatM, false>),
    rule("BR-AG-05", Scope::Line, rateFits<CatM, true>),
    rule("BR-AG-06", Scope::DocAllowance, rateFits<CatM, false>),
    rule("BR-AG-07", Scope::DocCharge, rateFits<CatM, false>),
    rule("BR-AG-08", Scope::VatBreakdown, taxableAdds<CatM>),
    rule("BR-AG-09", Scope::VatBreakdown, taxFits<CatM>),
    rule("BR-AG-10", Scope::VatBreakdown, exemptionFits<CatM>),

    rule("BR-B-01", Scope::Invoice, splitPaymentItalian),
    rule("BR-B-02", Scope::Invoice, splitPaymentNotStandard),
};

} // namespace

std::span<const Rule> VatCategoryRules()
{
    return Rules;
}

} // namespace invorator::validation
