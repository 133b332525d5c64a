#include "checks/SumChecks.h"

#include "readers/InvoiceReader.h"
#include "readers/cii/clsCIIImport.h"
#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

#include <algorithm>

namespace invorator {

namespace {

constexpr Int128 unitsPerOne = 1'000'000'000;
constexpr Int128 unitsPerCent = unitsPerOne / 100;

// a ÷ b rounded half away from zero.
Int128 divideRounded(Int128 a, Int128 b)
{
    const bool negative = (a < 0) != (b < 0);
    const Int128 ua = a < 0 ? -a : a;
    const Int128 ub = b < 0 ? -b : b;
    Int128 q = ua / ub;
    const Int128 r = ua % ub;
    if (r >= ub - r) // at least half: away from zero
        ++q;
    return negative ? -q : q;
}

using Amount = std::optional<ExactAmount>;

Amount amountOf(const XmlNode &node, std::string_view xpath)
{
    const auto text = node.textOf(xpath);
    return text ? ExactAmount::parse(*text) : std::nullopt;
}

ExactAmount orZero(const Amount &a)
{
    return a.value_or(ExactAmount::units(0));
}

// What the rules need of one invoice, whatever its format.
struct InvoiceLine
{
    QString id;
    bool counted = true; // part of the line total (not a detail or sub-invoice line)
    Amount quantity, price, baseQuantity, net;
    ExactAmount charges = ExactAmount::units(0);
    ExactAmount allowances = ExactAmount::units(0);
};

struct VatRow
{
    QString where;
    Amount basis, rate, amount;
};

struct InvoiceSums
{
    std::vector<InvoiceLine> lines;
    std::vector<VatRow> vat;
    std::vector<ExactAmount> documentAllowances, documentCharges;
    Amount lineTotal, taxBasis, taxTotal, grandTotal, allowanceTotal, chargeTotal, prepaid, rounding, due;
};

bool isCharge(const QString &indicator)
{
    return indicator.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// The tax total in the invoice's currency: the one whose currency is the invoice's, else
// the only one.
Amount taxTotalIn(const XmlNodeList &totals, const QString &currency)
{
    for (const XmlNode total : totals)
        if (total.getNamedItem("currencyID").text() == currency)
            return ExactAmount::parse(total.text());
    if (totals.length() == 1)
        return ExactAmount::parse(totals.item(0).text());
    return std::nullopt;
}

InvoiceSums gatherCii(const XmlDocument &doc, const CiiVocabulary &v)
{
    const XmlNamespaces bindings =
        XmlNamespaces::parse(QString::fromLatin1(v.namespaces)).value_or(XmlNamespaces());
    const XmlNode top = doc.documentNode(bindings);
    InvoiceSums s;
    const std::string lineSettlement = std::string(v.lineSettlement) + '/';
    const std::string price =
        std::string(v.lineAgreement) + "/ram:NetPriceProductTradePrice/ram:ChargeAmount";
    const std::string baseQuantity =
        std::string(v.lineAgreement) + "/ram:NetPriceProductTradePrice/ram:BasisQuantity";
    const std::string lineCharges = lineSettlement + "ram:SpecifiedTradeAllowanceCharge";
    const std::string quantity = std::string(v.lineDelivery) + "/ram:BilledQuantity";
    const std::string net = lineSettlement + v.lineTotals + "/ram:LineTotalAmount";
    int position = 0;
    for (const XmlNode item : top.selectNodes("//ram:IncludedSupplyChainTradeLineItem")) {
        InvoiceLine line;
        ++position;
        // A line without its number is named by its place.
        const auto id = item.textOf("ram:AssociatedDocumentLineDocument/ram:LineID");
        line.id = id ? *id : QStringLiteral("#%1").arg(position);
        const QString status = item.textOf("ram:AssociatedDocumentLineDocument/ram:LineStatusReasonCode")
                                   .value_or(QString())
                                   .toUpper();
        line.counted = status != QLatin1String("DETAIL") && status != QLatin1String("INFORMATION");
        line.quantity = amountOf(item, quantity);
        line.price = amountOf(item, price);
        line.baseQuantity = amountOf(item, baseQuantity);
        line.net = amountOf(item, net);
        for (const XmlNode ac : item.selectNodes(lineCharges)) {
            const bool charge = isCharge(ac.textOf("ram:ChargeIndicator").value_or(QString()));
            ExactAmount &sum = charge ? line.charges : line.allowances;
            sum = sum + orZero(amountOf(ac, "ram:ActualAmount"));
        }
        s.lines.push_back(std::move(line));
    }
    const XmlNode settlement = top.selectSingleNode(v.settlement);
    for (const XmlNode tax : settlement.selectNodes("ram:ApplicableTradeTax")) {
        const QString rate = tax.textOf(v.rate).value_or(QString());
        s.vat.push_back({tax.textOf("ram:CategoryCode").value_or(QString()) + QLatin1Char(' ') + rate,
                         amountOf(tax, "ram:BasisAmount"), ExactAmount::parse(rate),
                         amountOf(tax, "ram:CalculatedAmount")});
    }
    for (const XmlNode ac : settlement.selectNodes("ram:SpecifiedTradeAllowanceCharge"))
        (isCharge(ac.textOf("ram:ChargeIndicator").value_or(QString())) ? s.documentCharges
                                                                        : s.documentAllowances)
            .push_back(orZero(amountOf(ac, "ram:ActualAmount")));
    // Logistics charges (ZUGFeRD 1.0, EXTENDED) are part of the charge total too.
    for (const XmlNode charge : settlement.selectNodes("ram:SpecifiedLogisticsServiceCharge"))
        s.documentCharges.push_back(orZero(amountOf(charge, "ram:AppliedAmount")));
    const XmlNode totals = top.selectSingleNode(v.headerTotals);
    s.lineTotal = amountOf(totals, "ram:LineTotalAmount");
    s.taxBasis = amountOf(totals, "ram:TaxBasisTotalAmount");
    s.taxTotal = taxTotalIn(totals.selectNodes("ram:TaxTotalAmount"),
                            settlement.textOf("ram:InvoiceCurrencyCode").value_or(QString()));
    s.grandTotal = amountOf(totals, "ram:GrandTotalAmount");
    s.allowanceTotal = amountOf(totals, "ram:AllowanceTotalAmount");
    s.chargeTotal = amountOf(totals, "ram:ChargeTotalAmount");
    s.prepaid = amountOf(totals, "ram:TotalPrepaidAmount");
    s.rounding = amountOf(totals, "ram:RoundingAmount");
    s.due = amountOf(totals, "ram:DuePayableAmount");
    return s;
}

InvoiceSums gatherUbl(const XmlDocument &doc)
{
    const XmlNamespaces bindings{{"cac", ns::ubl("CommonAggregateComponents-2").toStdString()},
                                 {"cbc", ns::ubl("CommonBasicComponents-2").toStdString()}};
    InvoiceSums s;
    const XmlNode root = doc.documentElement(bindings);
    // Sub-invoice lines stand inside their line and are not part of the sums.
    for (const XmlNode item : root.selectNodes("cac:InvoiceLine | cac:CreditNoteLine")) {
        InvoiceLine line;
        line.id = item.textOf("cbc:ID").value_or(QString());
        line.quantity = amountOf(item, "cbc:InvoicedQuantity | cbc:CreditedQuantity");
        line.price = amountOf(item, "cac:Price/cbc:PriceAmount");
        line.baseQuantity = amountOf(item, "cac:Price/cbc:BaseQuantity");
        line.net = amountOf(item, "cbc:LineExtensionAmount");
        for (const XmlNode ac : item.selectNodes("cac:AllowanceCharge")) {
            const bool charge = isCharge(ac.textOf("cbc:ChargeIndicator").value_or(QString()));
            ExactAmount &sum = charge ? line.charges : line.allowances;
            sum = sum + orZero(amountOf(ac, "cbc:Amount"));
        }
        s.lines.push_back(std::move(line));
    }
    for (const XmlNode ac : root.selectNodes("cac:AllowanceCharge"))
        (isCharge(ac.textOf("cbc:ChargeIndicator").value_or(QString())) ? s.documentCharges
                                                                        : s.documentAllowances)
            .push_back(orZero(amountOf(ac, "cbc:Amount")));
    const QString currency = root.textOf("cbc:DocumentCurrencyCode").value_or(QString());
    XmlNode taxTotal;
    for (const XmlNode total : root.selectNodes("cac:TaxTotal"))
        if (taxTotal.isNull() ||
            total.selectSingleNode("cbc:TaxAmount").getNamedItem("currencyID").text() == currency)
            taxTotal = total;
    if (!taxTotal.isNull()) {
        s.taxTotal = amountOf(taxTotal, "cbc:TaxAmount");
        for (const XmlNode sub : taxTotal.selectNodes("cac:TaxSubtotal")) {
            const QString rate = sub.textOf("cac:TaxCategory/cbc:Percent").value_or(QString());
            s.vat.push_back(
                {sub.textOf("cac:TaxCategory/cbc:ID").value_or(QString()) + QLatin1Char(' ') + rate,
                 amountOf(sub, "cbc:TaxableAmount"), ExactAmount::parse(rate),
                 amountOf(sub, "cbc:TaxAmount")});
        }
    }
    const XmlNode totals = root.selectSingleNode("cac:LegalMonetaryTotal");
    s.lineTotal = amountOf(totals, "cbc:LineExtensionAmount");
    s.taxBasis = amountOf(totals, "cbc:TaxExclusiveAmount");
    s.grandTotal = amountOf(totals, "cbc:TaxInclusiveAmount");
    s.allowanceTotal = amountOf(totals, "cbc:AllowanceTotalAmount");
    s.chargeTotal = amountOf(totals, "cbc:ChargeTotalAmount");
    s.prepaid = amountOf(totals, "cbc:PrepaidAmount");
    s.rounding = amountOf(totals, "cbc:PayableRoundingAmount");
    s.due = amountOf(totals, "cbc:PayableAmount");
    return s;
}

class Findings
{
public:
    void exact(const char *rule, const QString &where, ExactAmount expected, ExactAmount found)
    {
        if (!(expected == found))
            add(rule, where, expected, found);
    }
    void near(const char *rule, const QString &where, ExactAmount expected, ExactAmount found)
    {
        if (!expected.near(found))
            add(rule, where, expected, found);
    }
    std::vector<SumFinding> take() { return std::move(m_findings); }

private:
    void add(const char *rule, const QString &where, ExactAmount expected, ExactAmount found)
    {
        m_findings.push_back({QString::fromLatin1(rule), where, expected.toText(), found.toText()});
    }
    std::vector<SumFinding> m_findings;
};

ExactAmount sum(const std::vector<ExactAmount> &amounts)
{
    ExactAmount total = ExactAmount::units(0);
    for (const ExactAmount &a : amounts)
        total = total + a;
    return total;
}

std::vector<SumFinding> check(const InvoiceSums &s)
{
    Findings f;
    const ExactAmount one = *ExactAmount::parse(QStringLiteral("1"));
    const ExactAmount hundred = *ExactAmount::parse(QStringLiteral("100"));
    for (const InvoiceLine &line : s.lines) {
        if (!line.quantity || !line.price || !line.net)
            continue;
        const ExactAmount base = line.baseQuantity && !line.baseQuantity->isZero() ? *line.baseQuantity : one;
        if (const auto gross = ExactAmount::mulDiv(*line.quantity, *line.price, base))
            f.near("LINE-NET", line.id, (*gross + line.charges - line.allowances).rounded2(), *line.net);
    }
    if (s.lineTotal) {
        ExactAmount lines = ExactAmount::units(0);
        bool any = false;
        for (const InvoiceLine &line : s.lines)
            if (line.counted && line.net) {
                lines = lines + *line.net;
                any = true;
            }
        if (any)
            f.exact("BR-CO-10", {}, lines, *s.lineTotal);
    }
    if (s.allowanceTotal)
        f.exact("BR-CO-11", {}, sum(s.documentAllowances), *s.allowanceTotal);
    if (s.chargeTotal)
        f.exact("BR-CO-12", {}, sum(s.documentCharges), *s.chargeTotal);
    if (s.taxBasis && s.lineTotal)
        f.exact("BR-CO-13", {}, *s.lineTotal - orZero(s.allowanceTotal) + orZero(s.chargeTotal), *s.taxBasis);
    if (s.taxTotal && !s.vat.empty()) {
        ExactAmount rows = ExactAmount::units(0);
        for (const VatRow &row : s.vat)
            rows = rows + orZero(row.amount);
        f.exact("BR-CO-14", {}, rows, *s.taxTotal);
    }
    if (s.grandTotal && s.taxBasis)
        f.exact("BR-CO-15", {}, *s.taxBasis + orZero(s.taxTotal), *s.grandTotal);
    if (s.due && s.grandTotal)
        f.exact("BR-CO-16", {}, *s.grandTotal - orZero(s.prepaid) + orZero(s.rounding), *s.due);
    for (const VatRow &row : s.vat)
        if (row.basis && row.rate && row.amount)
            if (const auto tax = ExactAmount::mulDiv(*row.basis, *row.rate, hundred))
                f.near("BR-CO-17", row.where, *tax, *row.amount);
    return f.take();
}

} // namespace

std::optional<ExactAmount> ExactAmount::parse(const QString &text)
{
    // An XML decimal: optional sign, digits, optionally a point and up to nine decimals.
    const QStringView t = QStringView(text).trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == u'-';
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    Int128 units = 0;
    int whole = 0;
    int decimals = -1;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c == u'.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < u'0' || c > u'9' || whole >= 15 || decimals >= 9)
            return std::nullopt;
        units = units * 10 + (c - u'0');
        decimals < 0 ? ++whole : ++decimals;
    }
    if (whole == 0 && decimals <= 0)
        return std::nullopt;
    for (int d = std::max(decimals, 0); d < 9; ++d)
        units *= 10;
    return ExactAmount(negative ? -units : units);
}

std::optional<ExactAmount> ExactAmount::mulDiv(const ExactAmount &a, const ExactAmount &b,
                                               const ExactAmount &c)
{
    // a·b / c in units: (a·b / 10^9) / (c / 10^9) = a·b / c; to cents at once. Amounts
    // beyond any invoice's could overflow even 128 bits: then there is no answer.
    Int128 product = 0;
    Int128 divisor = 0;
    if (c.m_units == 0 || __builtin_mul_overflow(a.m_units, b.m_units, &product) ||
        __builtin_mul_overflow(c.m_units, unitsPerCent, &divisor))
        return std::nullopt;
    return ExactAmount(divideRounded(product, divisor) * unitsPerCent);
}

ExactAmount ExactAmount::rounded2() const
{
    return ExactAmount(divideRounded(m_units, unitsPerCent) * unitsPerCent);
}

bool ExactAmount::near(ExactAmount other) const
{
    const Int128 difference = m_units - other.m_units;
    return (difference < 0 ? -difference : difference) <= unitsPerCent;
}

QString ExactAmount::toText() const
{
    Int128 u = m_units < 0 ? -m_units : m_units;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(u % 10)));
        u /= 10;
    } while (u > 0);
    digits = digits.rightJustified(10, QLatin1Char('0'));
    QString whole = digits.left(digits.size() - 9);
    QString fraction = digits.right(9);
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return (m_units < 0 ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + fraction;
}

std::vector<SumFinding> CheckSums(const XmlDocument &doc, const AmountLayout &layout)
{
    return check(layout.cii ? gatherCii(doc, *layout.cii) : gatherUbl(doc));
}

} // namespace invorator
