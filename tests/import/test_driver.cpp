#include "TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

QByteArray line(const QByteArray &id, const QByteArray &quantity, const QByteArray &extra = {})
{
    QByteArray l = "<ram:IncludedSupplyChainTradeLineItem>";
    if (!id.isNull())
        l += "<ram:AssociatedDocumentLineDocument><ram:LineID>" + id +
             "</ram:LineID></ram:AssociatedDocumentLineDocument>";
    l += "<ram:SpecifiedTradeProduct><ram:Name>Item " + id + "</ram:Name></ram:SpecifiedTradeProduct>";
    if (!quantity.isNull())
        l += "<ram:SpecifiedLineTradeDelivery><ram:BilledQuantity unitCode='H87'>" + quantity +
             "</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery>";
    return l + extra + "</ram:IncludedSupplyChainTradeLineItem>";
}

const QByteArray settlement = R"(<ram:ApplicableHeaderTradeSettlement>
<ram:ApplicableTradeTax><ram:CalculatedAmount>19.00</ram:CalculatedAmount><ram:BasisAmount>100.00</ram:BasisAmount><ram:RateApplicablePercent>19.00</ram:RateApplicablePercent></ram:ApplicableTradeTax>
<ram:ApplicableTradeTax><ram:CalculatedAmount>7.00</ram:CalculatedAmount><ram:BasisAmount>100.00</ram:BasisAmount><ram:RateApplicablePercent>7.00</ram:RateApplicablePercent></ram:ApplicableTradeTax>
<ram:SpecifiedTradeAllowanceCharge><ram:ActualAmount>5.00</ram:ActualAmount><ram:Reason>Rabatt</ram:Reason></ram:SpecifiedTradeAllowanceCharge>
<ram:SpecifiedTradeSettlementHeaderMonetarySummation><ram:LineTotalAmount>200.00</ram:LineTotalAmount>
<ram:TaxBasisTotalAmount>200.00</ram:TaxBasisTotalAmount><ram:TaxTotalAmount currencyID="CHF">26.00</ram:TaxTotalAmount>
<ram:GrandTotalAmount>226.00</ram:GrandTotalAmount><ram:DuePayableAmount>226.00</ram:DuePayableAmount></ram:SpecifiedTradeSettlementHeaderMonetarySummation>
</ram:ApplicableHeaderTradeSettlement>)";

} // namespace

TEST(ImportDriver, KindAndContentMustAgreeOrTheUserIsAsked)
{
    const QString cii = sample("Rechnung-2026-0815.xml");
    const QString ubl = corpus("ubl/01.01a-INVOICE_ubl.xml");
    ImportRun no(MsgAnswer::No);
    // A CII file opened as UBL: asked whether to read it as CII; No leaves the model cleared.
    EXPECT_EQ(no.run(cii, InvoiceKind::UBL), ImportOutcome::Refused);
    EXPECT_EQ(no.messageNumbers(), QList<int>{50});
    EXPECT_EQ(no.sink.messages()[0].icon, MsgIcon::Question);
    EXPECT_TRUE(no.sink.messages()[0].text.contains("UBL")) << no.sink.messages()[0].text.toStdString();
    EXPECT_TRUE(no.sink.messages()[0].text.contains("CII"));
    EXPECT_TRUE(no.modelIsCleared());
    // The ZUGFeRD kind with an XML file is asked about the same way.
    EXPECT_EQ(no.run(cii, InvoiceKind::Pdf), ImportOutcome::Refused);
    EXPECT_EQ(no.messageNumbers(), QList<int>{50});

    ImportRun yes(MsgAnswer::Yes);
    EXPECT_EQ(yes.run(cii, InvoiceKind::Peppol), ImportOutcome::Read);
    EXPECT_EQ(yes.kind, InvoiceKind::CII);
    EXPECT_EQ(yes.model[Rd::InvoiceNumber].text(), "RE-2026-0815");
    EXPECT_EQ(yes.run(ubl, InvoiceKind::CII), ImportOutcome::Read);
    EXPECT_EQ(yes.kind, InvoiceKind::UBL);
    EXPECT_EQ(yes.model[Rd::InvoiceNumber].text(), "123456XX");

    // A well-formed file of no known format: message 51, whatever the kind.
    QTemporaryDir dir;
    const QString other = writeFile(dir, "other.xml", "<order xmlns='urn:example'><id>1</id></order>");
    for (InvoiceKind kind :
         {InvoiceKind::Auto, InvoiceKind::CII, InvoiceKind::UBL, InvoiceKind::Peppol, InvoiceKind::Pdf}) {
        EXPECT_EQ(yes.run(other, kind), ImportOutcome::Refused);
        EXPECT_EQ(yes.messageNumbers(), QList<int>{51}) << kind;
        EXPECT_EQ(yes.sink.messages()[0].icon, MsgIcon::Exclamation);
    }
    // Auto takes the kind the content shows, without a question.
    EXPECT_EQ(yes.run(cii, InvoiceKind::Auto), ImportOutcome::Read);
    EXPECT_TRUE(yes.messageNumbers().isEmpty());
    EXPECT_EQ(yes.kind, InvoiceKind::CII);
}

TEST(ImportDriver, ALineWithoutIdentifierEndsTheImportAfterTheLinesBeforeIt)
{
    QTemporaryDir dir;
    const QString file = writeFile(
        dir, "noid.xml",
        ciiDocument("<ram:ID>R-9</ram:ID>",
                    line("1", "2") + line(QByteArray(), "1") + line("3", "1") +
                        "<ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty><ram:Name>S</ram:Name>"
                        "</ram:SellerTradeParty></ram:ApplicableHeaderTradeAgreement>" +
                        settlement));
    ImportRun run;
    EXPECT_EQ(run.run(file), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "R-9");
    EXPECT_EQ(run.model[Seller.Name].text(), "S");
    ASSERT_EQ(run.model.lvTable.rowCount(), 1);
    EXPECT_EQ(run.model.lvTable.cell(0, 0), "1");
    // VAT, allowances and totals were never read.
    EXPECT_EQ(run.model.lvUst.rowCount(), 0);
    EXPECT_EQ(run.model.lvAbzuege.rowCount(), 0);
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), "0,00");
    EXPECT_EQ(run.model[So::LineTotal].text(), "");
    EXPECT_TRUE(run.messageNumbers().isEmpty()) << "a reader's false ends the import quietly";
}

TEST(ImportDriver, ClearingResetsEverythingBetweenImports)
{
    QTemporaryDir dir;
    const QString bare = writeFile(dir, "bare.xml", ciiDocument("<ram:ID>B-1</ram:ID>", ""));
    ImportRun run;
    ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(run.model.lvTable.rowCount(), 4);
    ASSERT_EQ(run.run(bare), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "B-1");
    EXPECT_EQ(run.model[Rd::DocumentType].value(), "380");
    EXPECT_EQ(run.model[Seller.Name].text(), "");
    EXPECT_EQ(run.model.lvTable.rowCount(), 0);
    // Without a totals section every amount shows 0,00 and the currency stays empty.
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), "0,00");
    EXPECT_EQ(run.model[Rd::FinalAmount].text(), "0,00");
    for (FieldId id : {So::LineTotal, So::NetTotal, So::GrossTotal, So::Allowances, So::Charges, So::Prepaid,
                       So::Rounding, So::DuePayable})
        EXPECT_EQ(run.model[id].text(), "0,00") << id.index;
    EXPECT_EQ(run.model[Rd::TaxCurrency].text(), "");
    EXPECT_EQ(run.state.NumberFormat, "#,##0.00");
    EXPECT_EQ(run.saveEnabled, 2) << "every clearing enables the save command";
}

TEST(ImportDriver, AttachmentsNeedAReadyExportFolder)
{
    QTemporaryDir dir;
    ImportRun run;
    // No export folder: nothing written, nothing asked.
    ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    EXPECT_TRUE(run.driver.attachments().isEmpty());
    // A folder that does not exist: message 9 for CII.
    run.driver.setExportFolder(dir.filePath("missing"));
    ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(run.messageNumbers(), QList<int>{9});
    EXPECT_FALSE(QDir(dir.filePath("missing")).exists());
    // A ready folder: the files are written and the folder is offered.
    bool opened = false;
    ImportRun yes(MsgAnswer::Yes);
    yes.driver.setExportFolder(dir.path());
    yes.driver.openExportFolder = [&] {
        opened = true;
    };
    ASSERT_EQ(yes.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
    EXPECT_EQ(yes.messageNumbers(), QList<int>{41});
    EXPECT_TRUE(opened);
    EXPECT_EQ(yes.driver.attachments(), QStringList({"Aufmass-0815", "Reference to Montagefotos.url"}));
}
