#include "TestSupport.h"

#include "model/Conversions.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

QString shownAmount(const std::optional<QString> &xml)
{
    return FormatXmlAmount(xml.value_or("0"), "#,##0.00");
}

} // namespace

class CiiCorpus : public ::testing::TestWithParam<const char *>
{
};

// Every real CII invoice shows what the document says, read here with libxml2's own XPath.
TEST_P(CiiCorpus, ShowsWhatTheDocumentSays)
{
    const QString file = corpus(GetParam());
    ImportRun run;
    ASSERT_EQ(run.run(file), ImportOutcome::Read);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(),
              xpathText(file, "/rsm:CrossIndustryInvoice/rsm:ExchangedDocument/ram:ID"));
    EXPECT_EQ(run.model[Rd::DocumentType].value(), xpathText(file, "//rsm:ExchangedDocument/ram:TypeCode"));
    EXPECT_EQ(run.model[Rd::SpecificationId].text(),
              xpathText(file, "//ram:GuidelineSpecifiedDocumentContextParameter/ram:ID"));
    EXPECT_EQ(run.model[Seller.Name].text(), xpathText(file, "//ram:SellerTradeParty/ram:Name").value_or(""));
    EXPECT_EQ(run.model[Buyer.Name].text(), xpathText(file, "//ram:BuyerTradeParty/ram:Name").value_or(""));
    const QString date =
        xpathText(file, "//rsm:ExchangedDocument/ram:IssueDateTime/udt:DateTimeString").value_or("");
    EXPECT_EQ(run.model[Rd::IssueDate].text(), date.mid(6, 2) + "." + date.mid(4, 2) + "." + date.left(4));
    EXPECT_EQ(run.model.lvTable.rowCount(), xpathCount(file, "//ram:IncludedSupplyChainTradeLineItem"));
    EXPECT_EQ(run.model.lvUst.rowCount(),
              xpathCount(file, "//ram:ApplicableHeaderTradeSettlement/ram:ApplicableTradeTax"));
    const char *sum = "//ram:SpecifiedTradeSettlementHeaderMonetarySummation/";
    // Every total in its own field: allowances and charges, prepaid and rounding differ in
    // some invoices of the list.
    const std::pair<FieldId, const char *> totals[] = {
        {Rd::FinalAmount, "ram:DuePayableAmount"},    {So::NetTotal, "ram:TaxBasisTotalAmount"},
        {So::GrossTotal, "ram:GrandTotalAmount"},     {So::LineTotal, "ram:LineTotalAmount"},
        {So::Allowances, "ram:AllowanceTotalAmount"}, {So::Charges, "ram:ChargeTotalAmount"},
        {So::Prepaid, "ram:TotalPrepaidAmount"},      {So::Rounding, "ram:RoundingAmount"},
        {So::DuePayable, "ram:DuePayableAmount"}};
    for (const auto &[field, element] : totals)
        EXPECT_EQ(run.model[field].text(), shownAmount(xpathText(file, QByteArray(sum).append(element))))
            << element;
    // The tax total's currency; without one (no VAT) the invoice's own currency.
    EXPECT_EQ(run.model[Rd::TaxCurrency].text(),
              xpathText(file, QByteArray(sum).append("ram:TaxTotalAmount/@currencyID"))
                  .value_or(xpathText(file, "//ram:ApplicableHeaderTradeSettlement/ram:InvoiceCurrencyCode")
                                .value_or("")));
    // Every line's total as the document writes it.
    for (int r = 0; r < run.model.lvTable.rowCount(); ++r) {
        const QByteArray xp =
            "(//ram:IncludedSupplyChainTradeLineItem)[" + QByteArray::number(r + 1) +
            "]/ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeSettlementLineMonetarySummation/"
            "ram:LineTotalAmount";
        EXPECT_EQ(run.model.lvTable.cell(r, LineColumn::Total), shownAmount(xpathText(file, xp))) << r;
    }
}

INSTANTIATE_TEST_SUITE_P(
    RealInvoices, CiiCorpus,
    ::testing::Values("cii/01.01a-INVOICE_uncefact.xml", "cii/01.06a-INVOICE_uncefact.xml",
                      "cii/01.15a-INVOICE_uncefact.xml", "cii/01.18a-INVOICE_uncefact.xml",
                      "cii/01.20a-INVOICE_uncefact.xml", "cii/01.01_comprehensive_test_uncefact.xml",
                      "cii/01.05_minimal_test_uncefact.xml", "cii/CII_example1.xml", "cii/CII_example2.xml",
                      "cii/CII_example7.xml", "cii/EN16931_Einfach.cii.xml", "cii/EN16931_Gutschrift.cii.xml",
                      "cii/EN16931_Rabatte.cii.xml", "cii/testout-ZF2PushChargesAllowances.xml",
                      "cii/UC10_F202600004_EXTENDED_FX_CII_Commentee.xml", "cii/factur-x-en16931.xml",
                      "cii/factur-x-basicwl.xml"));

// The sample's dates, notes, guideline and totals are checked where the archive stores
// them; here the fields and lists nothing else looks at.
TEST(CiiReader, SampleInvoiceShowsEveryGroupAsWritten)
{
    ImportRun run;
    ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::Subject].text(), "AAI – Allgemeine Informationen") << "only the first note";
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), "61,13");
    EXPECT_EQ(run.model[So::BusinessProcess].text(), "urn:fdc:peppol.eu:2017:poacc:billing:01:1.0");
    // A VAT identifier and a tax number: each in its field, whatever their order; the scheme
    // attribute is not part of the text.
    EXPECT_EQ(run.model[Seller.TaxNumber].text(), "60/123/45678");
    EXPECT_EQ(run.model[Seller.VatId].text(), "DE298765431");
    ImportRun taxNumberFirst;
    ASSERT_EQ(taxNumberFirst.run(corpus("cii/EN16931_Einfach.cii.xml")), ImportOutcome::Read);
    EXPECT_EQ(taxNumberFirst.model[Seller.TaxNumber].text(), "201/113/40209");
    EXPECT_EQ(taxNumberFirst.model[Seller.VatId].text(), "DE123456789");
    // A VAT identifier alone: the tax-number field keeps it as before, and USt-IdNr. shows it.
    ImportRun vatOnly;
    ASSERT_EQ(vatOnly.run(corpus("cii/01.06a-INVOICE_uncefact.xml")), ImportOutcome::Read);
    EXPECT_EQ(vatOnly.model[Seller.TaxNumber].text(), "DE123456789");
    EXPECT_EQ(vatOnly.model[Seller.VatId].text(), "DE123456789");
    EXPECT_EQ(run.model[Seller.Email].text(), "rechnung@holzwerk-brandt.example");
    EXPECT_EQ(run.model[Seller.ContactPhone].text(), "+49 421 555 0190");
    const ListView &lines = run.model.lvTable;
    ASSERT_EQ(lines.rowCount(), 4);
    EXPECT_EQ(lines.row(0).cells,
              QStringList({"1", "Eichenbrett 2000 x 200 x 20 mm", "Eiche massiv, gehobelt, kammergetrocknet",
                           "12,00", "24,50", "19", "294,00"}));
    EXPECT_EQ(lines.row(2).cells[5], "7");
    EXPECT_EQ(lines.row(0).color, ColorBlack);
    EXPECT_EQ(lines.row(3).color, ColorRed) << "a returned item";
    EXPECT_EQ(lines.row(3).cellColors, std::vector<int>(7, ColorRed));
    EXPECT_EQ(run.model.lvUst.row(0).cells,
              QStringList({"", "19.00", "55,56", "292,40", "S", "Normalsatz", "", ""}));
    EXPECT_EQ(run.model.lvAbzuege.row(1).cells, QStringList({"Versandkosten", "FC", "", "12.90", ""}));
}

TEST(CiiReader, StepsSkipWhatIsMissingAndColourLinesByQuantity)
{
    const QByteArray lines = R"(<ram:IncludedSupplyChainTradeLineItem>
<ram:AssociatedDocumentLineDocument><ram:LineID>1</ram:LineID></ram:AssociatedDocumentLineDocument>
<ram:SpecifiedLineTradeDelivery><ram:BilledQuantity>3.5</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery>
<ram:SpecifiedLineTradeSettlement><ram:ApplicableTradeTax><ram:RateApplicablePercent></ram:RateApplicablePercent></ram:ApplicableTradeTax>
<ram:SpecifiedTradeAllowanceCharge><ram:ActualAmount>2.00</ram:ActualAmount><ram:Reason>Zeilenrabatt</ram:Reason></ram:SpecifiedTradeAllowanceCharge>
<ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>1234567.891</ram:LineTotalAmount></ram:SpecifiedTradeSettlementLineMonetarySummation>
</ram:SpecifiedLineTradeSettlement></ram:IncludedSupplyChainTradeLineItem>
<ram:IncludedSupplyChainTradeLineItem><ram:AssociatedDocumentLineDocument><ram:LineID>2</ram:LineID></ram:AssociatedDocumentLineDocument></ram:IncludedSupplyChainTradeLineItem>
<ram:IncludedSupplyChainTradeLineItem/>
<ram:IncludedSupplyChainTradeLineItem><ram:AssociatedDocumentLineDocument><ram:LineID>3</ram:LineID></ram:AssociatedDocumentLineDocument>
<ram:SpecifiedLineTradeDelivery><ram:BilledQuantity>0</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery></ram:IncludedSupplyChainTradeLineItem>)";
    const QByteArray header =
        R"(<ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty/><ram:BuyerTradeParty><ram:Name>B</ram:Name>
<ram:PostalTradeAddress><ram:CityName>Köln</ram:CityName></ram:PostalTradeAddress></ram:BuyerTradeParty></ram:ApplicableHeaderTradeAgreement>
<ram:ApplicableHeaderTradeSettlement>
<ram:ApplicableTradeTax><ram:CalculatedAmount>19.00</ram:CalculatedAmount><ram:BasisAmount>100</ram:BasisAmount></ram:ApplicableTradeTax>
<ram:ApplicableTradeTax><ram:CalculatedAmount>7.00</ram:CalculatedAmount><ram:BasisAmount>n/a</ram:BasisAmount></ram:ApplicableTradeTax>
<ram:SpecifiedTradeAllowanceCharge><ram:ReasonCode>95</ram:ReasonCode></ram:SpecifiedTradeAllowanceCharge>
<ram:SpecifiedTradeAllowanceCharge><ram:Reason>never shown</ram:Reason></ram:SpecifiedTradeAllowanceCharge>
</ram:ApplicableHeaderTradeSettlement>)";
    QTemporaryDir dir;
    const QString file =
        writeFile(dir, "steps.xml",
                  ciiDocument("<ram:ID>S-1</ram:ID><ram:IssueDateTime><udt:DateTimeString>2024-01-31"
                              "</udt:DateTimeString></ram:IssueDateTime>",
                              lines + header));
    ImportRun run;
    ASSERT_EQ(run.run(file), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::IssueDate].text(), "31.01.2024");
    EXPECT_EQ(run.model[Rd::DueDate].text(), "") << "no payment terms";
    EXPECT_EQ(run.model[So::BusinessProcess].text(), "");
    EXPECT_EQ(run.model[Seller.Name].text(), "") << "an empty party element fills nothing";
    EXPECT_EQ(run.model[Buyer.Name].text(), "B");
    EXPECT_EQ(run.model[Buyer.City].text(), "Köln");
    const ListView &lv = run.model.lvTable;
    ASSERT_EQ(lv.rowCount(), 3) << "an empty line element gives no row";
    EXPECT_EQ(lv.row(0).cells, QStringList({"1", "", "", "3,50", "", "0", "1.234.567,89"}));
    EXPECT_EQ(lv.row(0).color, ColorBlack);
    EXPECT_EQ(lv.row(1).cells[3], "");
    EXPECT_EQ(lv.row(1).color, ColorRed) << "a line without quantity is red";
    EXPECT_EQ(lv.row(2).color, ColorBlack) << "quantity 0 is black";
    // The allowance inside the line comes first; a header one without reason ends the list.
    ASSERT_EQ(run.model.lvAbzuege.rowCount(), 1);
    EXPECT_EQ(run.model.lvAbzuege.row(0).cells, QStringList({"Zeilenrabatt", "", "", "2.00", ""}));
    EXPECT_EQ(run.model.lvUst.row(1).cells.mid(0, 4), QStringList({"", "", "7,00", "n/a"}));
    // The totals are missing, so they overwrite the VAT sums with 0,00.
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), "0,00");
}

// Totals beyond what a double holds are shown with every digit, and the tax is their
// exact difference; text that is no number is shown as written, never as another number.
TEST(CiiReader, TotalsKeepEveryDigit)
{
    const QString huge = "1" + QString(399, '0') + ".25";
    const QByteArray sums =
        QString(R"(<ram:ApplicableHeaderTradeSettlement><ram:SpecifiedTradeSettlementHeaderMonetarySummation>
<ram:AllowanceTotalAmount>n/a</ram:AllowanceTotalAmount>
<ram:TaxBasisTotalAmount>-%1</ram:TaxBasisTotalAmount><ram:GrandTotalAmount>%1</ram:GrandTotalAmount>
<ram:DuePayableAmount>99999999999999999999.995</ram:DuePayableAmount>
</ram:SpecifiedTradeSettlementHeaderMonetarySummation></ram:ApplicableHeaderTradeSettlement>)")
            .arg(huge)
            .toUtf8();
    QTemporaryDir dir;
    ImportRun run;
    ASSERT_EQ(run.run(writeFile(dir, "sums.xml", ciiDocument("<ram:ID>S-1</ram:ID>", sums))),
              ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::FinalAmount].text(), "100.000.000.000.000.000.000,00");
    EXPECT_EQ(run.model[So::Allowances].text(), "n/a");
    const QString grouped = FormatXmlAmount(huge, "#,##0.00");
    EXPECT_EQ(run.model[So::GrossTotal].text(), grouped);
    EXPECT_EQ(run.model[So::NetTotal].text(), "-" + grouped);
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), FormatXmlAmount("2" + QString(399, '0') + ".50", "#,##0.00"));
}

// Two 0 % rows, exempt and intra-community, are told apart by their category, its name
// and the exemption reason; CII and UBL alike, as the documents write them.
TEST(VatBreakdown, CategoriesAndExemptionReasonsAsWritten)
{
    const struct
    {
        const char *file;
        InvoiceKind kind;
        const char *rows, *code, *reason, *reasonCode;
    } documents[] = {
        {"cii/factur-x-en16931.xml", InvoiceKind::CII,
         "//ram:ApplicableHeaderTradeSettlement/ram:ApplicableTradeTax", "ram:CategoryCode",
         "ram:ExemptionReason", "ram:ExemptionReasonCode"},
        {"ubl-creditnote/ubl-creditnote.xml", InvoiceKind::UBL, "/*/cac:TaxTotal/cac:TaxSubtotal",
         "cac:TaxCategory/cbc:ID", "cac:TaxCategory/cbc:TaxExemptionReason",
         "cac:TaxCategory/cbc:TaxExemptionReasonCode"},
    };
    const QHash<QString, QString> names{
        {"S", "Normalsatz"}, {"E", "Steuerbefreit"}, {"K", "Innergemeinschaftliche Lieferung"}, {"AA", ""}};
    for (const auto &d : documents) {
        const QString file = corpus(d.file);
        ImportRun run;
        ASSERT_EQ(run.run(file, d.kind), ImportOutcome::Read) << d.file;
        ASSERT_EQ(run.model.lvUst.rowCount(), xpathCount(file, d.rows));
        int exempt = 0;
        for (int r = 0; r < run.model.lvUst.rowCount(); ++r) {
            const QByteArray row = "(" + QByteArray(d.rows) + ")[" + QByteArray::number(r + 1) + "]/";
            const QString code = xpathText(file, row + d.code).value_or("");
            EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::Category), code) << d.file << r;
            EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::CategoryName), names.value(code)) << d.file << r;
            EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::ExemptionReason),
                      xpathText(file, row + d.reason).value_or(""))
                << d.file << r;
            EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::ExemptionCode),
                      xpathText(file, row + d.reasonCode).value_or(""))
                << d.file << r;
            exempt += run.model.lvUst.cell(r, VatColumn::ExemptionReason).isEmpty() ? 0 : 1;
        }
        EXPECT_GE(exempt, 1) << d.file << ": an exemption with its reason";
    }
}
