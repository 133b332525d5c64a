#include "PdfMaker.h"
#include "TestSupport.h"

#include "import/PdfExtraction.h"
#include "output/DisplayModelOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// XML files taken out of PDFs that are still in a private temporary folder.
QStringList extractedFiles(const QString &folder = UserTempFolder())
{
    return QDir(folder).entryList({"zFile*"}, QDir::Files | QDir::Hidden);
}

} // namespace

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
    ASSERT_EQ(run.run(corpus(QString("pdf/") + GetParam().file), InvoiceKind::Pdf), ImportOutcome::Read);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    EXPECT_EQ(run.kind, InvoiceKind::CII) << "a PDF is read as CII afterwards";
    EXPECT_TRUE(run.result.fromPdf);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), GetParam().number);
    EXPECT_EQ(run.model.lvTable.rowCount(), GetParam().lines);
    EXPECT_FALSE(run.model[Seller.Name].text().isEmpty());
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
    ASSERT_EQ(fromXml.run(corpus("cii/EN16931_Einfach.cii.xml"), InvoiceKind::CII), ImportOutcome::Read);
    ImportRun fromPdf;
    QTemporaryDir dir;
    // Recognised by content, whatever the case of the extension, and with any kind chosen.
    const QString upper = writeFile(dir, "RECHNUNG.PDF", readFile(corpus("pdf/EN16931_Einfach.pdf")));
    ASSERT_EQ(fromPdf.run(upper, InvoiceKind::CII), ImportOutcome::Read);
    EXPECT_EQ(ModelToJson(fromPdf.model, {}), ModelToJson(fromXml.model, {}));
    // The private temporary folder is the user's alone.
    const QFileInfo folder(UserTempFolder());
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
        InvoiceKind kind;
        const char *number;
    };
    const Case cases[] = {
        // Stored plain, after an unrelated XML packet with a declaration of its own.
        {"plain.pdf", MakePdf({{"meta.xml", "<?xml version=\"1.0\"?><meta/>"}, {"factur-x.xml", cii}}, false),
         InvoiceKind::CII, "RE-2026-0815"},
        {"named.pdf", MakePdf({{"logo.png", "PNG"}, {"xrechnung.xml", cii}}), InvoiceKind::CII,
         "RE-2026-0815"},
        {"bycontent.pdf", MakePdf({{"notes.xml", "<notes/>"}, {"rechnung-daten.xml", cii}}), InvoiceKind::CII,
         "RE-2026-0815"},
        {"ubl.pdf", MakePdf({{"invoice.xml", ubl}}), InvoiceKind::UBL, "123456XX"},
        {"peppol.pdf", MakePdf({{"invoice.xml", peppol}}), InvoiceKind::Peppol, "12345"},
    };
    for (const Case &c : cases) {
        ImportRun run;
        ASSERT_EQ(run.run(writeFile(dir, c.name, c.pdf), InvoiceKind::Pdf), ImportOutcome::Read) << c.name;
        EXPECT_EQ(run.kind, c.kind) << c.name;
        EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), c.number) << c.name;
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
        ASSERT_EQ(run.run(corpus("pdf/EN16931_Einfach.pdf"), InvoiceKind::Pdf), ImportOutcome::Read);
        EXPECT_TRUE(extractedFiles().isEmpty()) << "the extracted XML is removed after the import";
        const ImportOutcome outcome = run.run(writeFile(dir, name, bytes), InvoiceKind::Pdf);
        if (outcome == ImportOutcome::Read) {
            EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "471102") << name;
            continue;
        }
        EXPECT_TRUE(outcome == ImportOutcome::NotLoaded || outcome == ImportOutcome::Refused) << name;
        EXPECT_TRUE(run.messageNumbers() == QList<int>{5} || run.messageNumbers() == QList<int>{51}) << name;
        EXPECT_TRUE(run.modelIsCleared()) << name;
    }
    // The encrypted, empty and oversized ones can never be read.
    for (const char *name : {"encrypted.pdf", "huge.pdf", "noinvoice.pdf", "junk.pdf"}) {
        EXPECT_EQ(run.run(dir.filePath(name), InvoiceKind::Pdf), ImportOutcome::NotLoaded) << name;
        EXPECT_EQ(run.messageNumbers(), QList<int>{5}) << name;
        EXPECT_TRUE(extractedFiles().isEmpty()) << name;
    }
    // ZUGFeRD 1.0 carries an XML of another schema: found, but no known invoice format.
    EXPECT_EQ(run.run(dir.filePath("zugferd1.pdf"), InvoiceKind::Pdf), ImportOutcome::Refused);
    EXPECT_EQ(run.messageNumbers(), QList<int>{51});
}

// Two programs of one user importing different PDFs at the same moment must each show
// their own invoice: a shared extraction file let one show the other's.
TEST(PdfImport, ConcurrentImportsOfDifferentPdfsKeepTheirOwnInvoice)
{
    const std::pair<QString, QString> pdfs[] = {
        {corpus("pdf/EN16931_Einfach.pdf"), "471102"},
        {corpus("pdf/zugferd_2p1_EXTENDED_Warenrechnung.pdf"), "R87654321012345"}};
    // The programs keep their temporary files under this cache folder.
    QTemporaryDir cache;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", cache.path());
    for (int round = 0; round < 10; ++round) {
        std::vector<std::unique_ptr<QProcess>> runs;
        for (int i = 0; i < 8; ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(PROGRAM_FOLDER "/invorator-cli"), {"json", pdfs[i % 2].first});
            runs.push_back(std::move(p));
        }
        for (int i = 0; i < 8; ++i) {
            QProcess &p = *runs[static_cast<std::size_t>(i)];
            ASSERT_TRUE(p.waitForFinished(30000));
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            const QJsonObject json = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
            EXPECT_EQ(json["txtRechnungdaten"].toArray().at(Rd::InvoiceNumber.index).toString(),
                      pdfs[i % 2].second)
                << "round " << round << ", run " << i;
        }
    }
    ASSERT_TRUE(QDir(cache.filePath("tarvo-invorator/tmp")).exists());
    EXPECT_TRUE(extractedFiles(cache.filePath("tarvo-invorator/tmp")).isEmpty()) << "each removed afterwards";
}

// The invoice is the file the PDF declares. Another invoice in the bytes (a comment after
// the end, which PDF readers ignore) must not be shown in its place.
TEST(PdfImport, TheDeclaredEmbeddedFileWinsOverBytesElsewhere)
{
    QTemporaryDir dir;
    const QByteArray declared = readFile(sample("Rechnung-2026-0815.xml"));
    QByteArray other = readFile(corpus("cii/EN16931_Einfach.cii.xml"));
    other.replace('\n', ' ').replace('\r', ' ');
    const QByteArray pdf = MakePdf({{"factur-x.xml", declared}}) + "%" + other + "\n";
    ImportRun run;
    ASSERT_EQ(run.run(writeFile(dir, "comment.pdf", pdf), InvoiceKind::Pdf), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "RE-2026-0815");
}

// Without a readable embedded file the bytes are searched, and only a complete,
// well-formed invoice found there is taken.
TEST(PdfImport, TheByteSearchTakesOnlyACompleteInvoice)
{
    QTemporaryDir dir;
    const QByteArray invoice = readFile(sample("Rechnung-2026-0815.xml"));
    const QByteArray head = "%PDF-1.4\n% no objects a reader could use\n";
    ImportRun run;
    ASSERT_EQ(run.run(writeFile(dir, "plain.pdf", head + invoice + "\n%%EOF\n"), InvoiceKind::Pdf),
              ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "RE-2026-0815");
    EXPECT_EQ(run.model.lvTable.rowCount(), 4) << "the whole invoice, not a piece of it";

    QByteArray wrongRoot = invoice;
    wrongRoot.replace("urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100",
                      "urn:example:not-an-invoice");
    QByteArray unclosed = invoice;
    unclosed.replace("</ram:SpecifiedTradeSettlementHeaderMonetarySummation>", "");
    for (const auto &[name, body] :
         {std::pair{"wrongroot.pdf", wrongRoot}, std::pair{"unclosed.pdf", unclosed}}) {
        EXPECT_EQ(run.run(writeFile(dir, name, head + body + "\n%%EOF\n"), InvoiceKind::Pdf),
                  ImportOutcome::NotLoaded)
            << name;
        EXPECT_EQ(run.messageNumbers(), QList<int>{5}) << name;
    }
}
