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
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

// Real ZUGFeRD / Factur-X PDFs, most with the invoice in a compressed stream, and made ones
// with the invoice stored plain after an unrelated XML packet, under another name, found
// by its content, or in UBL or Peppol: each opens like its XML, with the reader it needs.
TEST(PdfImport, RealAndMadePdfsOpenLikeTheEmbeddedXml)
{
    QTemporaryDir dir;
    const QByteArray cii = readFile(sample("Rechnung-2026-0815.xml"));
    const auto made = [&](const char *name, const std::vector<EmbeddedFile> &files, bool compress = true) {
        return writeFile(dir, name, MakePdf(files, compress));
    };
    const auto real = [](const char *name) {
        return corpus(QString("pdf/") + name);
    };
    struct Case
    {
        QString file;
        InvoiceKind kind;
        const char *number;
        int lines;
    };
    const Case cases[] = {
        {real("XRECHNUNG_Einfach.pdf"), InvoiceKind::CII, "471102", 2},
        {real("EN16931_Elektron.pdf"), InvoiceKind::CII, "181301674", 2},
        {real("zugferd_2p0_BASIC_Taxifahrt.pdf"), InvoiceKind::CII, "TX-471102", 2},
        {real("zugferd_2p0_MINIMUM.pdf"), InvoiceKind::CII, "471102", 0},
        {real("zugferd_2p0_EXTENDED_Fremdwaehrung.pdf"), InvoiceKind::CII, "47110815", 1},
        {real("sample_inofficial_20190125_atgp_factur-x_v_1_0.pdf"), InvoiceKind::CII, "FA-2017-0010", 3},
        {real("Facture_FR_BASICWL.pdf"), InvoiceKind::CII, "FA-2017-0010", 0},
        {real("MustangGnuaccountingBeispielRE-20190610_507.pdf"), InvoiceKind::CII, "RE-20190610/507", 3},
        {real("zugferd_2p1_EXTENDED_Warenrechnung.pdf"), InvoiceKind::CII, "R87654321012345", 6},
        {made("plain.pdf", {{"meta.xml", "<?xml version=\"1.0\"?><meta/>"}, {"factur-x.xml", cii}}, false),
         InvoiceKind::CII, "RE-2026-0815", 4},
        {made("named.pdf", {{"logo.png", "PNG"}, {"xrechnung.xml", cii}}), InvoiceKind::CII, "RE-2026-0815",
         4},
        {made("bycontent.pdf", {{"notes.xml", "<notes/>"}, {"rechnung-daten.xml", cii}}), InvoiceKind::CII,
         "RE-2026-0815", 4},
        // The usual name in any case wins over another invoice listed before it.
        {made("case.pdf",
              {{"Anhang.xml", readFile(corpus("cii/EN16931_Einfach.cii.xml"))}, {"Factur-X.xml", cii}}),
         InvoiceKind::CII, "RE-2026-0815", 4},
        {made("ubl.pdf", {{"invoice.xml", readFile(corpus("ubl/01.01a-INVOICE_ubl.xml"))}}), InvoiceKind::UBL,
         "123456XX", 2},
        {made("peppol.pdf", {{"invoice.xml", readFile(corpus("peppol/BIS3_Invoice_negativ.XML"))}}),
         InvoiceKind::Peppol, "12345", 1},
    };
    for (const Case &c : cases) {
        const std::string name = QFileInfo(c.file).fileName().toStdString();
        ImportRun run;
        ASSERT_EQ(run.run(c.file, InvoiceKind::Pdf), ImportOutcome::Read) << name;
        EXPECT_TRUE(run.messageNumbers().isEmpty()) << name;
        EXPECT_TRUE(run.result.fromPdf) << name;
        EXPECT_EQ(run.result.kind, c.kind) << name;
        EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), c.number) << name;
        EXPECT_EQ(run.model.lvTable.rowCount(), c.lines) << name;
    }
}

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

// Broken and hostile PDFs end with message 5 and a cleared model, or (damaged ones a
// reader may repair) a clean import.
TEST(PdfImport, HostilePdfsEndCleanly)
{
    QTemporaryDir dir;
    const QByteArray good = readFile(corpus("pdf/EN16931_Einfach.pdf"));
    QByteArray brokenXref = good;
    for (qsizetype at = brokenXref.indexOf("xref"); at >= 0; at = brokenXref.indexOf("xref", at + 1))
        brokenXref.replace(at, 4, "zzzz");
    // 80 streams of 1 MB of zeros before the invoice: together they spend the budget of all
    // streams of a PDF, and the search ends there instead of decoding every one.
    std::vector<EmbeddedFile> streams;
    const QByteArray zeros = qCompress(QByteArray(1024 * 1024, '\0'), 9).mid(4); // zlib, no size
    for (int i = 10; i < 90; ++i)
        streams.push_back({"zeros-" + std::to_string(i) + ".xml", zeros, 1, true});
    streams.push_back({"zz-rechnung.xml", readFile(sample("Rechnung-2026-0815.xml"))});
    // Damaged ones a reader may repair; the others can never be read.
    const std::vector<std::tuple<const char *, QByteArray, bool>> files = {
        {"truncated.pdf", good.left(good.size() / 3), true},
        {"brokenxref.pdf", brokenXref, true},
        {"encrypted.pdf",
         MakePdf({{"factur-x.xml", readFile(sample("Rechnung-2026-0815.xml"))}}, true, "secret"), false},
        {"noinvoice.pdf", MakePdf({{"logo.png", "PNG"}}), false},
        {"junk.pdf", "%PDF-1.7\n" + QByteArray(4096, '\xff'), false},
        {"budget.pdf", MakePdf(streams), false},
    };
    ImportRun run;
    for (const auto &[name, bytes, repairable] : files) {
        ASSERT_EQ(run.run(corpus("pdf/EN16931_Einfach.pdf"), InvoiceKind::Pdf), ImportOutcome::Read);
        const ImportOutcome outcome = run.run(writeFile(dir, name, bytes), InvoiceKind::Pdf);
        if (repairable && outcome == ImportOutcome::Read) {
            EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "471102") << name;
            continue;
        }
        EXPECT_EQ(outcome, ImportOutcome::NotLoaded) << name;
        EXPECT_EQ(run.messageNumbers(), QList<int>{5}) << name;
        EXPECT_TRUE(run.modelIsCleared()) << name;
    }
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
}

// The invoice is the file the PDF declares: another invoice in the bytes (a comment after
// the end, which PDF readers ignore) must not be shown in its place. Without a readable
// embedded file the bytes are searched, and only a complete, well-formed invoice found
// there is taken.
TEST(PdfImport, TheDeclaredFileWinsAndTheByteSearchTakesOnlyACompleteInvoice)
{
    QTemporaryDir dir;
    const QByteArray invoice = readFile(sample("Rechnung-2026-0815.xml"));
    QByteArray other = readFile(corpus("cii/EN16931_Einfach.cii.xml"));
    other.replace('\n', ' ').replace('\r', ' ');
    ImportRun run;
    ASSERT_EQ(
        run.run(writeFile(dir, "comment.pdf", MakePdf({{"factur-x.xml", invoice}}) + "%" + other + "\n"),
                InvoiceKind::Pdf),
        ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "RE-2026-0815");

    const QByteArray head = "%PDF-1.4\n% no objects a reader could use\n";
    // An uncompressed metadata packet with its own XML declaration comes before the invoice.
    const QByteArray metadata = "<?xml version=\"1.0\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>\n";
    ASSERT_EQ(run.run(writeFile(dir, "plain.pdf", head + metadata + invoice + "\n%%EOF\n"), InvoiceKind::Pdf),
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
