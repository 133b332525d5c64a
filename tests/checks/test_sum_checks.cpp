// The check of sums: what each real invoice of the corpus gives (every finding below was
// recomputed by hand from the file), and for each rule an invoice with exactly that
// fault, which must give exactly that finding.
#include "TestSupport.h"

#include "checks/SumChecks.h"

#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

std::vector<SumFinding> findingsOf(const QString &file, InvoiceKind kind = InvoiceKind::Auto)
{
    ImportRun run;
    EXPECT_EQ(run.run(file, kind), ImportOutcome::Read) << file.toStdString();
    return run.result.sumFindings;
}

QString describe(const std::vector<SumFinding> &findings)
{
    QStringList lines;
    for (const SumFinding &f : findings)
        lines << f.rule + " [" + f.where + "] " + f.expected + " / " + f.found +
                     (f.flag == FindingFlag::Warning ? " (warning)" : "");
    return lines.join("; ");
}

// A small CII invoice that adds up: two lines (3 × 20.00, and 2 × 250.00 per 10 pieces
// less a 5.00 line allowance), one VAT row, one allowance and one charge.
const char *const balanced = R"(<?xml version="1.0" encoding="UTF-8"?>
<rsm:CrossIndustryInvoice xmlns:rsm="urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100" xmlns:ram="urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100" xmlns:udt="urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100">
<rsm:ExchangedDocument><ram:ID>SUM-1</ram:ID><ram:TypeCode>380</ram:TypeCode></rsm:ExchangedDocument>
<rsm:SupplyChainTradeTransaction>
<ram:IncludedSupplyChainTradeLineItem>
 <ram:AssociatedDocumentLineDocument><ram:LineID>1</ram:LineID></ram:AssociatedDocumentLineDocument>
 <ram:SpecifiedLineTradeAgreement><ram:NetPriceProductTradePrice><ram:ChargeAmount>{PRICE1}</ram:ChargeAmount></ram:NetPriceProductTradePrice></ram:SpecifiedLineTradeAgreement>
 <ram:SpecifiedLineTradeDelivery><ram:BilledQuantity unitCode="C62">3</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery>
 <ram:SpecifiedLineTradeSettlement><ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>{NET1}</ram:LineTotalAmount></ram:SpecifiedTradeSettlementLineMonetarySummation></ram:SpecifiedLineTradeSettlement>
</ram:IncludedSupplyChainTradeLineItem>
<ram:IncludedSupplyChainTradeLineItem>
 <ram:AssociatedDocumentLineDocument><ram:LineID>2</ram:LineID></ram:AssociatedDocumentLineDocument>
 <ram:SpecifiedLineTradeAgreement><ram:NetPriceProductTradePrice><ram:ChargeAmount>250.00</ram:ChargeAmount><ram:BasisQuantity unitCode="C62">10</ram:BasisQuantity></ram:NetPriceProductTradePrice></ram:SpecifiedLineTradeAgreement>
 <ram:SpecifiedLineTradeDelivery><ram:BilledQuantity unitCode="C62">2</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery>
 <ram:SpecifiedLineTradeSettlement>
  <ram:SpecifiedTradeAllowanceCharge><ram:ChargeIndicator><udt:Indicator>false</udt:Indicator></ram:ChargeIndicator><ram:ActualAmount>5.00</ram:ActualAmount></ram:SpecifiedTradeAllowanceCharge>
  <ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>45.00</ram:LineTotalAmount></ram:SpecifiedTradeSettlementLineMonetarySummation>
 </ram:SpecifiedLineTradeSettlement>
</ram:IncludedSupplyChainTradeLineItem>
{EXTRA}
<ram:ApplicableHeaderTradeSettlement>
 <ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>
 <ram:ApplicableTradeTax><ram:CalculatedAmount>{VAT}</ram:CalculatedAmount><ram:TypeCode>{SCHEME}</ram:TypeCode><ram:BasisAmount>{VATBASIS}</ram:BasisAmount><ram:CategoryCode>S</ram:CategoryCode><ram:RateApplicablePercent>{RATE}</ram:RateApplicablePercent></ram:ApplicableTradeTax>
 <ram:SpecifiedTradeAllowanceCharge><ram:ChargeIndicator><udt:Indicator>false</udt:Indicator></ram:ChargeIndicator><ram:ActualAmount>{ALLOWANCE}</ram:ActualAmount><ram:Reason>Rabatt</ram:Reason></ram:SpecifiedTradeAllowanceCharge>
 <ram:SpecifiedTradeAllowanceCharge><ram:ChargeIndicator><udt:Indicator>true</udt:Indicator></ram:ChargeIndicator><ram:ActualAmount>{CHARGE}</ram:ActualAmount><ram:Reason>Fracht</ram:Reason></ram:SpecifiedTradeAllowanceCharge>
 <ram:SpecifiedTradeSettlementHeaderMonetarySummation>
  <ram:LineTotalAmount>105.00</ram:LineTotalAmount><ram:ChargeTotalAmount>10.00</ram:ChargeTotalAmount><ram:AllowanceTotalAmount>7.00</ram:AllowanceTotalAmount>
  <ram:TaxBasisTotalAmount>{BASIS}</ram:TaxBasisTotalAmount><ram:TaxTotalAmount currencyID="USD">1.00</ram:TaxTotalAmount><ram:TaxTotalAmount currencyID="EUR">{TAX}</ram:TaxTotalAmount>
  <ram:GrandTotalAmount>{GRAND}</ram:GrandTotalAmount><ram:TotalPrepaidAmount>100.00</ram:TotalPrepaidAmount><ram:RoundingAmount>0.48</ram:RoundingAmount><ram:DuePayableAmount>{DUE}</ram:DuePayableAmount>
 </ram:SpecifiedTradeSettlementHeaderMonetarySummation>
</ram:ApplicableHeaderTradeSettlement>
</rsm:SupplyChainTradeTransaction>
</rsm:CrossIndustryInvoice>
)";

std::vector<SumFinding> findingsWith(const QList<std::pair<QString, QString>> &changes)
{
    QMap<QString, QString> values{{"PRICE1", "20.00"}, {"NET1", "60.00"},     {"EXTRA", ""},
                                  {"VAT", "20.52"},    {"ALLOWANCE", "7.00"}, {"CHARGE", "10.00"},
                                  {"BASIS", "108.00"}, {"TAX", "20.52"},      {"GRAND", "128.52"},
                                  {"DUE", "29.00"},    {"SCHEME", "VAT"},     {"VATBASIS", "108.00"},
                                  {"RATE", "19.00"}};
    for (const auto &[key, value] : changes)
        values[key] = value;
    QString xml = QString::fromUtf8(balanced);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        xml.replace("{" + it.key() + "}", it.value());
    QTemporaryDir dir;
    return findingsOf(writeFile(dir, "sums.xml", xml.toUtf8()), InvoiceKind::CII);
}

} // namespace

TEST(SumChecks, EveryCorpusInvoiceGivesItsFindings)
{
    using F = std::vector<SumFinding>;
    const FindingFlag W = FindingFlag::Warning;
    const QMap<QString, F> expected{
        // Line 20: quantity × net price is 109.98, the line says -109.98 (a return written
        // with a positive quantity).
        {"cii/CII_example1.xml", {{"LINE-NET", "20", "109.98", "-109.98", W}}},
        {"ubl/ubl-tc434-example1.xml", {{"LINE-NET", "20", "109.98", "-109.98", W}}},
        // Each net price is given per a base quantity equal to the price itself.
        {"cii/CII_example2.xml",
         {{"LINE-NET", "1", "1.00", "1273.00", W},
          {"LINE-NET", "2", "-1.00", "-3.96", W},
          {"LINE-NET", "3", "2.00", "4.96", W},
          {"LINE-NET", "4", "-1.00", "-25.00", W},
          {"LINE-NET", "5", "250.00", "187.50", W}}},
        // 2 × 1273.00 − 12.00 + 12.00 is 2546.00; the line says 1273.00.
        {"ubl/guide-example2.xml", {{"LINE-NET", "1", "2546.00", "1273.00", W}}},
        // 30 × 143.75 is 4312.50; the line says 4743.75.
        {"ubl-creditnote/ubl-cn-br-de-24-test-bg-18-271-code-48.xml",
         {{"LINE-NET", "1", "4312.50", "4743.75", W}}},
        // 1436.50 + 292.20 is 1728.70, the credit note says 1729.00; 1729.00 − 1000.00 + 0.30
        // is 729.30, it says 729.00.
        {"ubl-creditnote/ubl-creditnote.xml",
         {{"BR-CO-15", "", "1728.70", "1729.00"}, {"BR-CO-16", "", "729.30", "729.00"}}},
        // An allowance total of −0.23 without any allowance.
        {"pdf/ZUGFeRD_1p0_BASIC_Rechnungskorrektur.pdf", {{"BR-CO-11", "", "0.00", "-0.23"}}},
        // Not here: 20 × 4.10 is 82.00 and the line says 81.90, for a price of 4.095 written
        // rounded (sample_inofficial…pdf); and the forint invoices of xrechnung/, whose VAT
        // and lines are rounded to whole forint.
    };
    const QDir root(corpus(""));
    int files = 0;
    for (const QString &folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &name : QDir(root.filePath(folder)).entryList({"*.xml", "*.pdf"}, QDir::Files)) {
            const QString relative = folder + "/" + name;
            const F found = findingsOf(root.filePath(relative));
            EXPECT_EQ(describe(found), describe(expected.value(relative))) << relative.toStdString();
            ++files;
        }
    EXPECT_GE(files, 40);
}

TEST(SumChecks, EachFaultGivesExactlyItsFinding)
{
    using F = std::vector<SumFinding>;
    const FindingFlag W = FindingFlag::Warning;
    const QString forty = "1" + QString(39, '0');
    EXPECT_EQ(describe(findingsWith({})), "") << "the balanced invoice adds up";
    const struct
    {
        QList<std::pair<QString, QString>> changes;
        F findings;
    } cases[] = {
        // A line's net and price changed together: the lines no longer give the line total.
        {{{"PRICE1", "30.00"}, {"NET1", "90.00"}}, {{"BR-CO-10", "", "135.00", "105.00"}}},
        {{{"ALLOWANCE", "6.00"}}, {{"BR-CO-11", "", "6.00", "7.00"}}},
        {{{"CHARGE", "12.00"}}, {{"BR-CO-12", "", "12.00", "10.00"}}},
        {{{"BASIS", "109.00"}, {"GRAND", "129.52"}, {"DUE", "30.00"}},
         {{"BR-CO-13", "", "108.00", "109.00"}}},
        {{{"TAX", "21.52"}, {"GRAND", "129.52"}, {"DUE", "30.00"}}, {{"BR-CO-14", "", "20.52", "21.52"}}},
        {{{"GRAND", "128.50"}, {"DUE", "28.98"}}, {{"BR-CO-15", "", "128.52", "128.50"}}},
        {{{"DUE", "29.48"}}, {{"BR-CO-16", "", "29.00", "29.48"}}},
        // 108.00 × 19 % is 20.52: up to one unit of the currency off is allowed, more is not.
        {{{"VAT", "21.53"}, {"TAX", "21.53"}, {"GRAND", "129.53"}, {"DUE", "30.01"}},
         {{"BR-CO-17", "S 19.00", "20.52", "21.53"}}},
        {{{"VAT", "21.52"}, {"TAX", "21.52"}, {"GRAND", "129.52"}, {"DUE", "30.00"}}, {}},
        {{{"VAT", "19.51"}, {"TAX", "19.51"}, {"GRAND", "127.51"}, {"DUE", "27.99"}},
         {{"BR-CO-17", "S 19.00", "20.52", "19.51"}}},
        // VAT rounded to whole forint: 69180 × 27 % is 18678.60, the invoice says 18679.
        {{{"VATBASIS", "69180"},
          {"RATE", "27"},
          {"VAT", "18679"},
          {"TAX", "18679"},
          {"GRAND", "18787"},
          {"DUE", "18687.48"}},
         {}},
        {{{"VATBASIS", "69180"},
          {"RATE", "27"},
          {"VAT", "18680"},
          {"TAX", "18680"},
          {"GRAND", "18788"},
          {"DUE", "18688.48"}},
         {{"BR-CO-17", "S 27", "18678.60", "18680.00"}}},
        // Another tax scheme's amounts count like VAT.
        {{{"SCHEME", "GST"}}, {}},
        // A price 3 cents off over three units is beyond half a cent per unit and a cent.
        {{{"PRICE1", "20.01"}}, {{"LINE-NET", "1", "60.03", "60.00", W}}},
        // A price written with one decimal may hide five cents per unit: 3 × 20.1 is 60.30.
        {{{"PRICE1", "20.1"}, {"NET1", "60.40"}}, {{"BR-CO-10", "", "105.40", "105.00"}}},
        {{{"PRICE1", "20.1"}, {"NET1", "60.50"}},
         {{"LINE-NET", "1", "60.30", "60.50", W}, {"BR-CO-10", "", "105.50", "105.00"}}},
        // A net in whole units is right when the computed amount rounds to it: 3 × 20.17 is 60.51.
        {{{"PRICE1", "20.17"}, {"NET1", "61"}}, {{"BR-CO-10", "", "106.00", "105.00"}}},
        {{{"PRICE1", "20.17"}, {"NET1", "62"}},
         {{"LINE-NET", "1", "60.51", "62.00", W}, {"BR-CO-10", "", "107.00", "105.00"}}},
        // Amounts of any length and with any number of zeros and decimals are read exactly.
        {{{"ALLOWANCE", "0000000000000007.00"}, {"CHARGE", "10.0000000000"}}, {}},
        {{{"ALLOWANCE", forty}}, {{"BR-CO-11", "", forty + ".00", "7.00"}}},
        {{{"ALLOWANCE", forty + ".00"}, {"DUE", "29.000000000000000000000000000000000000001"}},
         {{"BR-CO-11", "", forty + ".00", "7.00"},
          {"BR-CO-16", "", "29.00", "29.000000000000000000000000000000000000001"}}},
        // A text that is no number is a finding of its own, whatever it looks like.
        {{{"DUE", "1e3"}}, {{"NUMBER", "DuePayableAmount", "", "1e3"}}},
        {{{"DUE", "- 29.00"}}, {{"NUMBER", "DuePayableAmount", "", "- 29.00"}}},
        {{{"GRAND", "INF"}}, {{"NUMBER", "GrandTotalAmount", "", "INF"}}},
        {{{"NET1", "60,00"}},
         {{"NUMBER", "1 LineTotalAmount", "", "60,00"}, {"BR-CO-10", "", "45.00", "105.00"}}},
        // Information lines carry no amount of the invoice's own either.
        {{{"EXTRA",
           "<ram:IncludedSupplyChainTradeLineItem><ram:AssociatedDocumentLineDocument><ram:LineID>2.2"
           "</ram:LineID><ram:LineStatusReasonCode>INFORMATION</ram:LineStatusReasonCode>"
           "</ram:AssociatedDocumentLineDocument><ram:SpecifiedLineTradeSettlement>"
           "<ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>45.00"
           "</ram:LineTotalAmount></ram:SpecifiedTradeSettlementLineMonetarySummation>"
           "</ram:SpecifiedLineTradeSettlement></ram:IncludedSupplyChainTradeLineItem>"}},
         {}},
        // A detail line of an EXTENDED invoice carries no amount of the invoice's own.
        {{{"EXTRA",
           "<ram:IncludedSupplyChainTradeLineItem><ram:AssociatedDocumentLineDocument><ram:LineID>2.1"
           "</ram:LineID><ram:LineStatusReasonCode>DETAIL</ram:LineStatusReasonCode>"
           "</ram:AssociatedDocumentLineDocument><ram:SpecifiedLineTradeSettlement>"
           "<ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>45.00"
           "</ram:LineTotalAmount></ram:SpecifiedTradeSettlementLineMonetarySummation>"
           "</ram:SpecifiedLineTradeSettlement></ram:IncludedSupplyChainTradeLineItem>"}},
         {}},
        // Every failing rule is reported, not only the first.
        {{{"ALLOWANCE", "6.00"}, {"DUE", "29.48"}},
         {{"BR-CO-11", "", "6.00", "7.00"}, {"BR-CO-16", "", "29.00", "29.48"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(describe(findingsWith(c.changes)), describe(c.findings))
            << describe(c.findings).toStdString();
}
