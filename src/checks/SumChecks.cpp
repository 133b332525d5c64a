#include "checks/SumChecks.h"

#include "model/Decimal.h"
#include "readers/InvoiceReader.h"
#include "readers/cii/clsCIIImport.h"
#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

#include <optional>

namespace invorator {

namespace {

// An amount of the invoice as the rules see it: absent, or its exact value. A text that is
// no xs:decimal counts as absent for the rules and is reported on its own.
using Amount = std::optional<Decimal>;

// What the rules need of one invoice, whatever its format.
struct InvoiceLine
{
    QString id;
    bool counted = true; // part of the line total (not a detail or sub-invoice line)
    Amount quantity, price, baseQuantity, net;
    Decimal charges, allowances;
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
    std::vector<Decimal> documentAllowances, documentCharges;
    Amount lineTotal, taxBasis, taxTotal, grandTotal, allowanceTotal, chargeTotal, prepaid, rounding, due;
    QString currency;
    // Amounts whose text is no number: where, and the text.
    std::vector<std::pair<QString, QString>> notNumbers;

    // The amount at xpath below node; a text that is no number is noted, named by the
    // element and, for a line, its id.
    Amount amountOf(const XmlNode &node, std::string_view xpath, const QString &context = {})
    {
        const XmlNode found = node.selectSingleNode(xpath);
        if (found.isNull())
            return std::nullopt;
        return number(found.text(), found.localName(), context);
    }
    Amount number(const QString &text, const QString &element, const QString &context = {})
    {
        DecimalRead read = Decimal::fromXml(text);
        if (!read)
            notNumbers.emplace_back(context.isEmpty() ? element : context + QLatin1Char(' ') + element, text);
        return std::move(read.value);
    }
};

Decimal orZero(const Amount &a)
{
    return a.value_or(Decimal());
}

bool isCharge(const QString &indicator)
{
    return indicator.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// The tax total in the invoice's currency: the one whose currency is the invoice's, else
// the only one.
Amount taxTotalIn(InvoiceSums &s, const XmlNodeList &totals, const QString &currency)
{
    for (const XmlNode total : totals)
        if (total.getNamedItem("currencyID").text() == currency)
            return s.number(total.text(), total.localName());
    if (totals.length() == 1)
        return s.number(totals.item(0).text(), totals.item(0).localName());
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
        line.quantity = s.amountOf(item, quantity, line.id);
        line.price = s.amountOf(item, price, line.id);
        line.baseQuantity = s.amountOf(item, baseQuantity, line.id);
        line.net = s.amountOf(item, net, line.id);
        for (const XmlNode ac : item.selectNodes(lineCharges)) {
            const bool charge = isCharge(ac.textOf("ram:ChargeIndicator").value_or(QString()));
            Decimal &sum = charge ? line.charges : line.allowances;
            sum = sum + orZero(s.amountOf(ac, "ram:ActualAmount", line.id));
        }
        s.lines.push_back(std::move(line));
    }
    const XmlNode settlement = top.selectSingleNode(v.settlement);
    for (const XmlNode tax : settlement.selectNodes("ram:ApplicableTradeTax")) {
        const QString rate = tax.textOf(v.rate).value_or(QString());
        const QString where = tax.textOf("ram:CategoryCode").value_or(QString()) + QLatin1Char(' ') + rate;
        s.vat.push_back({where, s.amountOf(tax, "ram:BasisAmount", where), s.amountOf(tax, v.rate, where),
                         s.amountOf(tax, "ram:CalculatedAmount", where)});
    }
    for (const XmlNode ac : settlement.selectNodes("ram:SpecifiedTradeAllowanceCharge"))
        (isCharge(ac.textOf("ram:ChargeIndicator").value_or(QString())) ? s.documentCharges
                                                                        : s.documentAllowances)
            .push_back(orZero(s.amountOf(ac, "ram:ActualAmount")));
    // Logistics charges (ZUGFeRD 1.0, EXTENDED) are part of the charge total too.
    for (const XmlNode charge : settlement.selectNodes("ram:SpecifiedLogisticsServiceCharge"))
        s.documentCharges.push_back(orZero(s.amountOf(charge, "ram:AppliedAmount")));
    const XmlNode totals = top.selectSingleNode(v.headerTotals);
    s.lineTotal = s.amountOf(totals, "ram:LineTotalAmount");
    s.taxBasis = s.amountOf(totals, "ram:TaxBasisTotalAmount");
    s.currency = settlement.textOf("ram:InvoiceCurrencyCode").value_or(QString()).trimmed();
    s.taxTotal = taxTotalIn(s, totals.selectNodes("ram:TaxTotalAmount"), s.currency);
    s.grandTotal = s.amountOf(totals, "ram:GrandTotalAmount");
    s.allowanceTotal = s.amountOf(totals, "ram:AllowanceTotalAmount");
    s.chargeTotal = s.amountOf(totals, "ram:ChargeTotalAmount");
    s.prepaid = s.amountOf(totals, "ram:TotalPrepaidAmount");
    s.rounding = s.amountOf(totals, "ram:RoundingAmount");
    s.due = s.amountOf(totals, "ram:DuePayableAmount");
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
        // Two simple paths rather than a union, which only the slow general engine answers.
        line.quantity = item.selectSingleNode("cbc:InvoicedQuantity").isNull()
                            ? s.amountOf(item, "cbc:CreditedQuantity", line.id)
                            : s.amountOf(item, "cbc:InvoicedQuantity", line.id);
        line.price = s.amountOf(item, "cac:Price/cbc:PriceAmount", line.id);
        line.baseQuantity = s.amountOf(item, "cac:Price/cbc:BaseQuantity", line.id);
        line.net = s.amountOf(item, "cbc:LineExtensionAmount", line.id);
        for (const XmlNode ac : item.selectNodes("cac:AllowanceCharge")) {
            const bool charge = isCharge(ac.textOf("cbc:ChargeIndicator").value_or(QString()));
            Decimal &sum = charge ? line.charges : line.allowances;
            sum = sum + orZero(s.amountOf(ac, "cbc:Amount", line.id));
        }
        s.lines.push_back(std::move(line));
    }
    for (const XmlNode ac : root.selectNodes("cac:AllowanceCharge"))
        (isCharge(ac.textOf("cbc:ChargeIndicator").value_or(QString())) ? s.documentCharges
                                                                        : s.documentAllowances)
            .push_back(orZero(s.amountOf(ac, "cbc:Amount")));
    s.currency = root.textOf("cbc:DocumentCurrencyCode").value_or(QString()).trimmed();
    const QString &currency = s.currency;
    XmlNode taxTotal;
    for (const XmlNode total : root.selectNodes("cac:TaxTotal"))
        if (taxTotal.isNull() ||
            total.selectSingleNode("cbc:TaxAmount").getNamedItem("currencyID").text() == currency)
            taxTotal = total;
    if (!taxTotal.isNull()) {
        s.taxTotal = s.amountOf(taxTotal, "cbc:TaxAmount");
        // Every tax scheme's subtotals count, GST as VAT.
        for (const XmlNode sub : taxTotal.selectNodes("cac:TaxSubtotal")) {
            const QString rate = sub.textOf("cac:TaxCategory/cbc:Percent").value_or(QString());
            const QString where =
                sub.textOf("cac:TaxCategory/cbc:ID").value_or(QString()) + QLatin1Char(' ') + rate;
            s.vat.push_back({where, s.amountOf(sub, "cbc:TaxableAmount", where),
                             s.amountOf(sub, "cac:TaxCategory/cbc:Percent", where),
                             s.amountOf(sub, "cbc:TaxAmount", where)});
        }
    }
    const XmlNode totals = root.selectSingleNode("cac:LegalMonetaryTotal");
    s.lineTotal = s.amountOf(totals, "cbc:LineExtensionAmount");
    s.taxBasis = s.amountOf(totals, "cbc:TaxExclusiveAmount");
    s.grandTotal = s.amountOf(totals, "cbc:TaxInclusiveAmount");
    s.allowanceTotal = s.amountOf(totals, "cbc:AllowanceTotalAmount");
    s.chargeTotal = s.amountOf(totals, "cbc:ChargeTotalAmount");
    s.prepaid = s.amountOf(totals, "cbc:PrepaidAmount");
    s.rounding = s.amountOf(totals, "cbc:PayableRoundingAmount");
    s.due = s.amountOf(totals, "cbc:PayableAmount");
    return s;
}

class Findings
{
public:
    void exact(const char *rule, const QString &where, const Decimal &expected, const Decimal &found)
    {
        if (expected != found)
            add(rule, where, expected, found, FindingFlag::Fatal);
    }
    void within(const char *rule, const QString &where, const Decimal &expected, const Decimal &found,
                const Decimal &tolerance, FindingFlag flag)
    {
        if ((expected - found).abs() > tolerance)
            add(rule, where, expected, found, flag);
    }
    void notNumber(const QString &where, const QString &text)
    {
        m_findings.push_back({QStringLiteral("NUMBER"), where, QString(), text, FindingFlag::Fatal});
    }
    std::vector<SumFinding> take() { return std::move(m_findings); }

private:
    void add(const char *rule, const QString &where, const Decimal &expected, const Decimal &found,
             FindingFlag flag)
    {
        m_findings.push_back(
            {QString::fromLatin1(rule), where, expected.toText(2, true), found.toText(2, true), flag});
    }
    std::vector<SumFinding> m_findings;
};

Decimal sum(const std::vector<Decimal> &amounts)
{
    Decimal total;
    for (const Decimal &a : amounts)
        total = total + a;
    return total;
}

// A line's net amount against quantity × price ÷ base quantity with its own allowances and
// charges. Prices are often written rounded (4.10 for 4.095), so the net may stray by half a
// unit of the price's last written decimal for each priced unit, and a cent besides; a net
// written in whole units (forint) is right when the computed amount rounds to it.
void checkLine(Findings &f, const InvoiceLine &line)
{
    if (!line.quantity || !line.price || !line.net)
        return;
    static const Decimal one(1);
    static const Decimal cent = *Decimal::fromXml(u"0.01").value;
    const Decimal base = line.baseQuantity && !line.baseQuantity->isZero() ? *line.baseQuantity : one;
    const Decimal adjustments = line.charges - line.allowances;
    const auto expected = Decimal::divided(*line.quantity * *line.price + adjustments * base, base, 2);
    if (!expected)
        return;
    if (line.net->scale() == 0 && expected->rounded(0) == *line.net)
        return;
    // Within a cent and half a unit of the price's last written decimal (0.005 for a price
    // written "4.10") per priced unit: |expected − net| ≤ 0.01 + half × |quantity ÷ base|,
    // compared without dividing.
    const Decimal off = (*expected - *line.net).abs();
    if (off <= cent)
        return;
    const Decimal half =
        Decimal::fromDigits(false, {}, std::string(static_cast<std::size_t>(line.price->scale()), '0') + '5');
    if ((off - cent) * base.abs() > half * line.quantity->abs())
        f.within("LINE-NET", line.id, *expected, *line.net, Decimal(), FindingFlag::Warning);
}

std::vector<SumFinding> check(const InvoiceSums &s)
{
    Findings f;
    for (const auto &[where, text] : s.notNumbers)
        f.notNumber(where, text);
    for (const InvoiceLine &line : s.lines)
        checkLine(f, line);
    if (s.lineTotal) {
        Decimal lines;
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
        Decimal rows;
        for (const VatRow &row : s.vat)
            rows = rows + orZero(row.amount);
        f.exact("BR-CO-14", {}, rows, *s.taxTotal);
    }
    if (s.grandTotal && s.taxBasis)
        f.exact("BR-CO-15", {}, *s.taxBasis + orZero(s.taxTotal), *s.grandTotal);
    if (s.due && s.grandTotal)
        f.exact("BR-CO-16", {}, *s.grandTotal - orZero(s.prepaid) + orZero(s.rounding), *s.due);
    // A category's VAT may differ from basis × rate by up to one unit of the currency, as
    // when VAT is rounded to whole forint.
    const Decimal oneUnit(1);
    for (const VatRow &row : s.vat)
        if (row.basis && row.rate && row.amount)
            f.within("BR-CO-17", row.where, *Decimal::divided(*row.basis * *row.rate, Decimal(100), 2),
                     *row.amount, oneUnit, FindingFlag::Fatal);
    return f.take();
}

} // namespace

bool AnyFatal(const std::vector<SumFinding> &findings)
{
    for (const SumFinding &f : findings)
        if (f.flag == FindingFlag::Fatal)
            return true;
    return false;
}

std::vector<SumFinding> CheckSums(const XmlDocument &doc, const AmountLayout &layout, InvoiceTotals *totals)
{
    const InvoiceSums sums = layout.cii ? gatherCii(doc, *layout.cii) : gatherUbl(doc);
    if (totals) {
        const auto text = [](const Amount &a) {
            return a ? a->toText() : QString();
        };
        *totals = {text(sums.taxTotal), text(sums.due), sums.currency};
    }
    return check(sums);
}

} // namespace invorator
