#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// A line; a null identifier leaves out its LineID.
QByteArray line(const QByteArray &id, const QByteArray &quantity)
{
    QByteArray l = "<ram:IncludedSupplyChainTradeLineItem>";
    if (!id.isNull())
        l += "<ram:AssociatedDocumentLineDocument><ram:LineID>" + id +
             "</ram:LineID></ram:AssociatedDocumentLineDocument>";
    return l + "<ram:SpecifiedTradeProduct><ram:Name>Item " + id +
           "</ram:Name></ram:SpecifiedTradeProduct><ram:SpecifiedLineTradeDelivery><ram:BilledQuantity>" +
           quantity +
           "</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery></ram:IncludedSupplyChainTradeLineItem>";
}

} // namespace

TEST(ImportDriver, KindAndContentMustAgreeOrTheKindThatFitsComesBack)
{
    const QString cii = sample("Rechnung-2026-0815.xml");
    ImportRun run;
    // A CII file opened as UBL: refused with the kind that fits, nothing asked, the model cleared.
    EXPECT_EQ(run.run(cii, InvoiceKind::UBL), ImportOutcome::Refused);
    EXPECT_EQ(run.result.fits, InvoiceKind::CII);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    EXPECT_TRUE(run.modelIsCleared());
    const Message question = KindMismatchQuestion(run.state, run.result.kind, run.result.fits);
    EXPECT_EQ(question.number, 50);
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_TRUE(question.text.indexOf("UBL") >= 0 &&
                question.text.indexOf("UBL") < question.text.indexOf("CII"))
        << "the kind chosen, then the kind that fits: " << question.text.toStdString();
    // The ZUGFeRD kind with an XML file is refused the same way.
    EXPECT_EQ(run.run(cii, InvoiceKind::Pdf), ImportOutcome::Refused);
    EXPECT_EQ(run.result.fits, InvoiceKind::CII);

    // Read again as the kind that fits, as a user who answers Yes has it.
    EXPECT_EQ(run.run(cii, InvoiceKind::Peppol), ImportOutcome::Refused);
    EXPECT_EQ(run.run(cii, run.result.fits), ImportOutcome::Read);
    EXPECT_EQ(run.kind, InvoiceKind::CII);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "RE-2026-0815");
    EXPECT_EQ(run.result.bytes, readFile(cii)) << "the bytes the import read come back";

    // A well-formed file of no known format: message 51, whatever the kind.
    QTemporaryDir dir;
    const QString other = writeFile(dir, "other.xml", "<order xmlns='urn:example'><id>1</id></order>");
    for (InvoiceKind kind :
         {InvoiceKind::Auto, InvoiceKind::CII, InvoiceKind::UBL, InvoiceKind::Peppol, InvoiceKind::Pdf}) {
        EXPECT_EQ(run.run(other, kind), ImportOutcome::Refused);
        EXPECT_EQ(run.messageNumbers(), QList<int>{51}) << kind;
        EXPECT_EQ(run.result.fits, InvoiceKind::Auto);
    }
}

TEST(ImportDriver, ALineWithoutIdentifierEndsTheImportAfterTheLinesBeforeIt)
{
    const QByteArray rest =
        R"(<ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty><ram:Name>S</ram:Name></ram:SellerTradeParty></ram:ApplicableHeaderTradeAgreement>
<ram:ApplicableHeaderTradeSettlement>
<ram:ApplicableTradeTax><ram:CalculatedAmount>19.00</ram:CalculatedAmount><ram:BasisAmount>100.00</ram:BasisAmount></ram:ApplicableTradeTax>
<ram:SpecifiedTradeAllowanceCharge><ram:ActualAmount>5.00</ram:ActualAmount><ram:Reason>Rabatt</ram:Reason></ram:SpecifiedTradeAllowanceCharge>
<ram:SpecifiedTradeSettlementHeaderMonetarySummation><ram:LineTotalAmount>200.00</ram:LineTotalAmount>
<ram:TaxBasisTotalAmount>200.00</ram:TaxBasisTotalAmount><ram:GrandTotalAmount>226.00</ram:GrandTotalAmount></ram:SpecifiedTradeSettlementHeaderMonetarySummation>
</ram:ApplicableHeaderTradeSettlement>)";
    QTemporaryDir dir;
    const QString file =
        writeFile(dir, "noid.xml",
                  ciiDocument("<ram:ID>R-9</ram:ID>",
                              line("1", "2") + line(QByteArray(), "1") + line("3", "1") + rest));
    ImportRun run;
    EXPECT_EQ(run.run(file), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "R-9");
    EXPECT_EQ(run.model[Seller.Name].text(), "S");
    ASSERT_EQ(run.model.lvTable.rowCount(), 1);
    EXPECT_EQ(run.model.lvTable.cell(0, LineColumn::Position), "1");
    // VAT, allowances and totals were never read.
    EXPECT_EQ(run.model.lvUst.rowCount(), 0);
    EXPECT_EQ(run.model.lvAbzuege.rowCount(), 0);
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), "0,00");
    EXPECT_EQ(run.model[So::LineTotal].text(), "");
    EXPECT_TRUE(run.messageNumbers().isEmpty()) << "a reader's false ends the import quietly";
}
