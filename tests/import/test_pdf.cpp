#include "PdfMaker.h"
#include "TestSupport.h"

#include "output/DisplayModelOutput.h"
#include "import/PdfExtraction.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

struct PdfCase
{
    const char *file;
    const char *number;
    int lines;
};

void PrintTo(const PdfCase &c, std::ostream *os)
{
    *os << c.file;
}

class PdfCorpus : public ::testing::TestWithParam<PdfCase>
{
};

// Real ZUGFeRD / Factur-X PDFs, most with the invoice in a compressed stream, open like their XML.
TEST_P(PdfCorpus, OpensLikeTheEmbeddedXml)
{
    ImportRun run;
    ASSERT_EQ(run.run(corpus(QString("pdf/") + GetParam().file), 4), ImportOutcome::Read);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    EXPECT_EQ(run.kind, 1) << "a PDF is read as CII afterwards";
    EXPECT_EQ(run.path, ExtractedXmlPath());
    EXPECT_EQ(run.rd(1).text(), GetParam().number);
    EXPECT_EQ(run.model.lvTable.rowCount(), GetParam().lines);
    EXPECT_FALSE(run.seller(0).text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    RealPdfs, PdfCorpus,
    ::testing::Values(PdfCase{"EN16931_Einfach.pdf", "471102", 2},
                      PdfCase{"XRECHNUNG_Einfach.pdf", "471102", 2},
                      PdfCase{"EN16931_Elektron.pdf", "181301674", 2},
                      PdfCase{"zugferd_2p0_BASIC_Taxifahrt.pdf", "TX-471102", 2},
                      PdfCase{"zugferd_2p0_MINIMUM.pdf", "471102", 0},
                      PdfCase{"zugferd_2p0_EXTENDED_Fremdwaehrung.pdf", "47110815", 1},
                      PdfCase{"sample_inofficial_20190125_atgp_factur-x_v_1_0.pdf", "FA-2017-0010", 3},
                      PdfCase{"Facture_FR_BASICWL.pdf", "FA-2017-0010", 0},
                      PdfCase{"MustangGnuaccountingBeispielRE-20190610_507.pdf", "RE-20190610/507", 3},
                      PdfCase{"zugferd_2p1_EXTENDED_Warenrechnung.pdf", "R87654321012345", 6}));

TEST(PdfImport, APdfShowsExactlyWhatItsXmlShows)
{
    ImportRun fromXml;
    ASSERT_EQ(fromXml.run(corpus("cii/EN16931_Einfach.cii.xml"), 1), ImportOutcome::Read);
    ImportRun fromPdf;
    QTemporaryDir dir;
    // Recognised by content, whatever the case of the extension, and with any kind chosen.
    const QString upper = writeFile(dir, "RECHNUNG.PDF", readFile(corpus("pdf/EN16931_Einfach.pdf")));
    ASSERT_EQ(fromPdf.run(upper, 1), ImportOutcome::Read);
    EXPECT_EQ(ModelToJson(fromPdf.model, {}), ModelToJson(fromXml.model, {}));
    // The private temporary folder is the user's alone.
    const QFileInfo folder(QFileInfo(ExtractedXmlPath()).path());
    EXPECT_EQ(folder.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              0);
}

TEST(PdfImport, EmbeddedInvoicesAreFoundByNameOrByContent)
{
    QTemporaryDir dir;
    const QByteArray cii = readFile(sample("Rechnung-2026-0815.xml"));
    const QByteArray ubl = readFile(corpus("ubl/01.01a-INVOICE_ubl.xml"));
    const QByteArray peppol = readFile(corpus("peppol/BIS3_Invoice_negativ.XML"));
    struct Case
    {
        const char *name;
        QByteArray pdf;
        int kind;
        const char *number;
    };
    const Case cases[] = {
        // Stored plain, after an unrelated XML packet with a declaration of its own.
        {"plain.pdf", MakePdf({{"meta.xml", "<?xml version=\"1.0\"?><meta/>"}, {"factur-x.xml", cii}}, false),
         1, "RE-2026-0815"},
        {"named.pdf", MakePdf({{"logo.png", "PNG"}, {"xrechnung.xml", cii}}), 1, "RE-2026-0815"},
        {"bycontent.pdf", MakePdf({{"notes.xml", "<notes/>"}, {"rechnung-daten.xml", cii}}), 1,
         "RE-2026-0815"},
        {"ubl.pdf", MakePdf({{"invoice.xml", ubl}}), 2, "123456XX"},
        {"peppol.pdf", MakePdf({{"invoice.xml", peppol}}), 3, "12345"},
    };
    for (const Case &c : cases) {
        ImportRun run;
        ASSERT_EQ(run.run(writeFile(dir, c.name, c.pdf), 4), ImportOutcome::Read) << c.name;
        EXPECT_EQ(run.kind, c.kind) << c.name;
        EXPECT_EQ(run.rd(1).text(), c.number) << c.name;
    }
}

// Broken and hostile PDFs end with message 5 or a clean import; no stale XML of an
// earlier PDF survives.
TEST(PdfImport, HostilePdfsEndCleanly)
{
    QTemporaryDir dir;
    const QByteArray good = readFile(corpus("pdf/EN16931_Einfach.pdf"));
    QByteArray brokenXref = good;
    for (qsizetype at = brokenXref.indexOf("xref"); at >= 0; at = brokenXref.indexOf("xref", at + 1))
        brokenXref.replace(at, 4, "zzzz");
    const std::vector<std::pair<const char *, QByteArray>> files = {
        {"truncated.pdf", good.left(good.size() / 3)},
        {"encrypted.pdf",
         MakePdf({{"factur-x.xml", readFile(sample("Rechnung-2026-0815.xml"))}}, true, "secret")},
        {"brokenxref.pdf", brokenXref},
        {"huge.pdf", MakePdf({{"factur-x.xml", QByteArray(200 * 1024 * 1024, ' ')}})},
        {"noinvoice.pdf", MakePdf({{"logo.png", "PNG"}})},
        {"junk.pdf", "%PDF-1.7\n" + QByteArray(4096, '\xff')},
        {"zugferd1.pdf", readFile(corpus("pdf/ZUGFeRD_1p0_COMFORT_Einfach.pdf"))},
    };
    ImportRun run;
    for (const auto &[name, bytes] : files) {
        ASSERT_EQ(run.run(corpus("pdf/EN16931_Einfach.pdf"), 4), ImportOutcome::Read);
        ASSERT_TRUE(QFile::exists(ExtractedXmlPath()));
        const ImportOutcome outcome = run.run(writeFile(dir, name, bytes), 4);
        if (outcome == ImportOutcome::Read) {
            EXPECT_EQ(run.rd(1).text(), "471102") << name;
            continue;
        }
        EXPECT_TRUE(outcome == ImportOutcome::NotLoaded || outcome == ImportOutcome::Refused) << name;
        EXPECT_TRUE(run.messageNumbers() == QList<int>{5} || run.messageNumbers() == QList<int>{51}) << name;
        EXPECT_TRUE(run.modelIsCleared()) << name;
    }
    // The encrypted, empty and oversized ones can never be read.
    for (const char *name : {"encrypted.pdf", "huge.pdf", "noinvoice.pdf", "junk.pdf"}) {
        EXPECT_EQ(run.run(dir.filePath(name), 4), ImportOutcome::NotLoaded) << name;
        EXPECT_EQ(run.messageNumbers(), QList<int>{5}) << name;
        EXPECT_FALSE(QFile::exists(ExtractedXmlPath())) << "no stale XML from the PDF before";
    }
    // ZUGFeRD 1.0 carries an XML of another schema: found, but no known invoice format.
    EXPECT_EQ(run.run(dir.filePath("zugferd1.pdf"), 4), ImportOutcome::Refused);
    EXPECT_EQ(run.messageNumbers(), QList<int>{51});
}
