// ZUGFeRD 1.0 invoices, as XML and inside PDFs, show what the document says. The
// expected values are read here with libxml2's XPath and, for PDFs, qpdf's own access to
// embedded files, independently of the program's extraction and readers.
#include "PdfMaker.h"
#include "TestSupport.h"

#include "model/Conversions.h"

#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// An XPath over element names alone, whatever their namespace: "//A/B" selects
// //*[local-name()='A']/*[local-name()='B'].
QByteArray path(const QByteArray &names)
{
    QByteArray out;
    for (const QByteArray &step : names.split('/')) {
        out += '/';
        if (!step.isEmpty())
            out += "*[local-name()='" + step + "']";
    }
    return out.mid(1);
}

QString shown(const std::optional<QString> &xml)
{
    return xml ? FormatXmlAmount(*xml, "#,##0.00") : QString();
}

// The file a PDF embeds as the ZUGFeRD invoice, written beside the test's other files.
QString embeddedInvoice(const QString &pdf, const QTemporaryDir &dir)
{
    QPDF qpdf;
    qpdf.processFile(QFile::encodeName(pdf).constData());
    for (const auto &[key, file] : QPDFEmbeddedFileDocumentHelper(qpdf).getEmbeddedFiles())
        if (QString::fromStdString(file->getFilename()).compare("ZUGFeRD-invoice.xml", Qt::CaseInsensitive) ==
            0) {
            const auto data = file->getEmbeddedFileStream().getStreamData();
            return writeFile(dir, "invoice.xml",
                             QByteArray(reinterpret_cast<const char *>(data->getBuffer()),
                                        static_cast<qsizetype>(data->getSize())));
        }
    return {};
}

} // namespace

class Zugferd1Corpus : public ::testing::TestWithParam<const char *>
{
};

TEST_P(Zugferd1Corpus, ShowsWhatTheDocumentSays)
{
    const QString file = corpus(GetParam());
    QTemporaryDir dir;
    const QString xml = file.endsWith(".pdf") ? embeddedInvoice(file, dir) : file;
    ASSERT_FALSE(xml.isEmpty());
    const auto text = [&](const char *names) {
        return xpathText(xml, path(names));
    };

    ImportRun run;
    ASSERT_EQ(run.run(file, InvoiceKind::Auto), ImportOutcome::Read);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    EXPECT_EQ(run.kind, InvoiceKind::CII);
    EXPECT_EQ(run.model[Rd::SpecificationId].text(),
              text("//GuidelineSpecifiedDocumentContextParameter/ID").value_or("?"));
    EXPECT_TRUE(
        run.model[Rd::SpecificationId].text().startsWith("urn:ferd:CrossIndustryDocument:invoice:1p0:"));
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), text("//HeaderExchangedDocument/ID"));
    EXPECT_EQ(run.model[Rd::DocumentType].value(), text("//HeaderExchangedDocument/TypeCode"));
    EXPECT_EQ(run.model[Seller.Name].text(), text("//SellerTradeParty/Name"));
    EXPECT_EQ(run.model[Seller.City].text(), text("//SellerTradeParty/PostalTradeAddress/CityName"));
    EXPECT_EQ(run.model[Buyer.Name].text(), text("//BuyerTradeParty/Name"));
    EXPECT_EQ(run.model[Buyer.PostCode].text(), text("//BuyerTradeParty/PostalTradeAddress/PostcodeCode"));

    // Every line item, with its own quantity and total.
    const int lines = xpathCount(xml, path("//IncludedSupplyChainTradeLineItem"));
    ASSERT_GT(lines, 1);
    ASSERT_EQ(run.model.lvTable.rowCount(), lines);
    for (int r = 0; r < lines; ++r) {
        const QByteArray item =
            "(" + path("//IncludedSupplyChainTradeLineItem") + ")[" + QByteArray::number(r + 1) + "]/";
        const QByteArray total = item + path("SpecifiedSupplyChainTradeSettlement/"
                                             "SpecifiedTradeSettlementMonetarySummation/LineTotalAmount");
        const QByteArray quantity = item + path("SpecifiedSupplyChainTradeDelivery/BilledQuantity");
        EXPECT_EQ(run.model.lvTable.cell(r, LineColumn::Total), shown(xpathText(xml, total))) << r;
        const auto billed = xpathText(xml, quantity);
        EXPECT_EQ(run.model.lvTable.cell(r, LineColumn::Quantity),
                  billed ? FormatXmlAmount(*billed, "0.00") : "")
            << r;
    }
    // The VAT breakdown row by row: rate, tax and basis.
    const QByteArray taxes = path("//ApplicableSupplyChainTradeSettlement/ApplicableTradeTax");
    ASSERT_EQ(run.model.lvUst.rowCount(), xpathCount(xml, taxes));
    for (int r = 0; r < run.model.lvUst.rowCount(); ++r) {
        const QByteArray tax = "(" + taxes + ")[" + QByteArray::number(r + 1) + "]/";
        EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::Rate), xpathText(xml, tax + path("ApplicablePercent")));
        EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::Amount),
                  shown(xpathText(xml, tax + path("CalculatedAmount"))));
        EXPECT_EQ(run.model.lvUst.cell(r, VatColumn::Basis),
                  shown(xpathText(xml, tax + path("BasisAmount"))));
    }
    const QByteArray totals =
        "//ApplicableSupplyChainTradeSettlement/SpecifiedTradeSettlementMonetarySummation/";
    const std::pair<FieldId, const char *> fields[] = {
        {So::LineTotal, "LineTotalAmount"},   {So::NetTotal, "TaxBasisTotalAmount"},
        {So::GrossTotal, "GrandTotalAmount"}, {So::Allowances, "AllowanceTotalAmount"},
        {So::DuePayable, "DuePayableAmount"}, {Rd::TaxTotal, "TaxTotalAmount"},
        {Rd::FinalAmount, "DuePayableAmount"}};
    // An amount the document leaves out shows as zero.
    for (const auto &[field, element] : fields)
        EXPECT_EQ(run.model[field].text(), shown(xpathText(xml, path(totals + element)).value_or("0")))
            << element;
}

INSTANTIATE_TEST_SUITE_P(RealInvoices, Zugferd1Corpus,
                         ::testing::Values("cii/ZUGFeRD1_EXTENDED_Warenrechnung.xml",
                                           "pdf/additional-data-sample-1.pdf",
                                           "pdf/ZUGFeRD_1p0_COMFORT_Einfach.pdf",
                                           "pdf/ZUGFeRD_1p0_BASIC_Rechnungskorrektur.pdf"));

// A PDF that carries a ZUGFeRD 1.0 invoice beside a later one shows the later one,
// whatever the order and the case of the names; alone, the 1.0 invoice is read.
TEST(Zugferd1, APdfWithALaterInvoiceShowsTheLaterOne)
{
    const QByteArray older = readFile(corpus("cii/ZUGFeRD1_EXTENDED_Warenrechnung.xml"));
    const QByteArray later = readFile(corpus("cii/EN16931_Einfach.cii.xml"));
    const QString olderNumber = "R87654321012345";
    const QString laterNumber =
        *xpathText(corpus("cii/EN16931_Einfach.cii.xml"), "//rsm:ExchangedDocument/ram:ID");
    QTemporaryDir dir;
    const struct
    {
        std::vector<EmbeddedFile> files;
        QString number;
    } cases[] = {
        {{{"ZUGFeRD-invoice.xml", older}, {"factur-x.xml", later}}, laterNumber},
        {{{"ZUGFeRD-invoice.xml", older}, {"zugferd-invoice.xml", later}}, laterNumber},
        {{{"zugferd-invoice.xml", later}, {"ZUGFeRD-invoice.xml", older}}, laterNumber},
        {{{"anhang.xml", older}, {"rechnung.xml", later}}, laterNumber},
        {{{"ZUGFeRD-INVOICE.XML", older}}, olderNumber},
    };
    int k = 0;
    for (const auto &c : cases) {
        const QString pdf = writeFile(dir, QString("both-%1.pdf").arg(k++), MakePdf(c.files));
        ImportRun run;
        EXPECT_EQ(run.run(pdf, InvoiceKind::Pdf), ImportOutcome::Read) << k;
        EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), c.number) << k;
    }
}
