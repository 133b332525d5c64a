// The invoice as a PDF, through the command-line program as a user runs it, read back
// with poppler's pdftotext: what the invoice says is there as text, long invoices run
// over pages with the header row on each, and a failed write leaves nothing behind.
#include "TestSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

int cli(const QStringList &args, QString *err = nullptr)
{
    QProcess p;
    p.start(INVORATOR_CLI, args);
    p.waitForFinished(120000);
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

// The text of a PDF (one page, or all), without white space: line breaks fall anywhere.
QString pdfText(const QString &pdf, int page = 0)
{
    QProcess p;
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    p.start("pdftotext", args << pdf << "-");
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString squeezed(QString text)
{
    return text.remove(QRegularExpression("\\s+"));
}

} // namespace

TEST(Document, APdfHoldsWhatTheInvoiceSays)
{
    QTemporaryDir dir;
    const QString invoice = corpus("cii/EN16931_Einfach.cii.xml");
    const QString pdf = dir.filePath("out.pdf");
    ASSERT_EQ(cli({"pdf", invoice, pdf}), 0);
    const QString text = squeezed(pdfText(pdf));
    EXPECT_TRUE(text.contains(squeezed(*xpathText(invoice, "//rsm:ExchangedDocument/ram:ID"))));
    EXPECT_TRUE(text.contains(squeezed(*xpathText(invoice, "//ram:SellerTradeParty/ram:Name"))));
    const int lines = xpathCount(invoice, "//ram:IncludedSupplyChainTradeLineItem");
    ASSERT_GT(lines, 1);
    for (int i = 1; i <= lines; ++i) {
        const QByteArray name = "(//ram:IncludedSupplyChainTradeLineItem)[" + QByteArray::number(i) +
                                "]/ram:SpecifiedTradeProduct/ram:Name";
        EXPECT_TRUE(text.contains(squeezed(*xpathText(invoice, name)))) << i;
    }
    for (const char *total : {"ram:DuePayableAmount", "ram:TaxBasisTotalAmount", "ram:TaxTotalAmount"}) {
        const QString amount =
            xpathText(invoice, QByteArray("//ram:SpecifiedTradeSettlementHeaderMonetarySummation/") + total)
                ->replace('.', ',');
        EXPECT_TRUE(text.contains(amount)) << total;
    }
    EXPECT_TRUE(text.contains("Seite1von1"));

    // In English, the document's words follow.
    ASSERT_EQ(cli({"pdf", "--lang", "EN", invoice, pdf}), 0);
    EXPECT_TRUE(squeezed(pdfText(pdf)).contains("Page1of1"));
}

TEST(Document, ALongInvoiceRunsOverPagesWithItsHeaderOnEach)
{
    QTemporaryDir dir;
    const QByteArray xml = readFile(sample("Rechnung-2026-0815.xml"));
    const qsizetype start = xml.indexOf("<ram:IncludedSupplyChainTradeLineItem>");
    const QByteArray close = "</ram:IncludedSupplyChainTradeLineItem>";
    const qsizetype end = xml.indexOf(close, start) + close.size();
    QByteArray lines;
    for (int i = 0; i < 1000; ++i)
        lines += xml.mid(start, end - start);
    const QString invoice = writeFile(dir, "long.xml", xml.left(start) + lines + xml.mid(end));
    const QString pdf = dir.filePath("long.pdf");
    ASSERT_EQ(cli({"pdf", invoice, pdf}), 0);
    const QRegularExpression pages("Seite1von(\\d+)");
    const int count = pages.match(squeezed(pdfText(pdf, 1))).captured(1).toInt();
    ASSERT_GT(count, 5);
    // Every page the lines run over starts them with the header row.
    int withLines = 0;
    for (int page = 1; page <= count; ++page) {
        const QString text = squeezed(pdfText(pdf, page));
        if (text.contains("Eichenbrett2000")) {
            ++withLines;
            EXPECT_TRUE(text.contains("PosArtikelBezeichnungMengePreisUstGesamt")) << page;
        }
        EXPECT_TRUE(text.contains(QString("Seite%1von%2").arg(page).arg(count))) << page;
    }
    EXPECT_GE(withLines, count - 1);
}

TEST(Document, AFailedWriteLeavesNothing)
{
    QTemporaryDir dir;
    QString err;
    EXPECT_EQ(cli({"pdf", sample("Rechnung-2026-0815.xml"), dir.filePath("missing/out.pdf")}, &err), 3);
    EXPECT_TRUE(err.contains("missing/out.pdf")) << err.toStdString();
    EXPECT_EQ(cli({"pdf", sample("Rechnung-2026-0815.xml"), dir.path()}), 3) << "a folder is no PDF";
    EXPECT_EQ(cli({"pdf", writeFile(dir, "x.xml", "<a/>"), dir.filePath("x.pdf")}), 1);
    EXPECT_EQ(cli({"pdf", sample("Rechnung-2026-0815.xml")}), 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".pdf").isEmpty());
}
