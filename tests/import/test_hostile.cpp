// Hostile and broken files must end with message 5 and a cleared model: no crash, no
// hang, no content from outside the file.
#include "PdfMaker.h"
#include "TestSupport.h"

#include "output/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

QByteArray deepNesting(int depth)
{
    QByteArray x =
        "<rsm:CrossIndustryInvoice xmlns:rsm='urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100'>";
    for (int i = 0; i < depth; ++i)
        x += "<a>";
    for (int i = 0; i < depth; ++i)
        x += "</a>";
    return x + "</rsm:CrossIndustryInvoice>";
}

} // namespace

TEST(HostileFiles, EndWithMessage5AndAClearedModel)
{
    QTemporaryDir dir;
    const QString secretPath = writeFile(dir, "secret.txt", "TOP-SECRET-4711");
    const QByteArray good = ciiDocument("<ram:ID>R-1</ram:ID>", "");
    // 50 MB that start like an invoice and then stop being XML near the end.
    QByteArray huge = "<rsm:CrossIndustryInvoice "
                      "xmlns:rsm='urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100'><x>";
    huge += QByteArray(50 * 1024 * 1024, 'A');
    huge += "</y>\x01\x02";
    const std::vector<std::pair<QString, QByteArray>> files = {
        {"empty.xml", ""},
        {"binary.xml", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\xff\xfe", 18)},
        {"truncated.xml", good.left(good.size() / 2)},
        {"notwellformed.xml", "<rsm:CrossIndustryInvoice><a></b></rsm:CrossIndustryInvoice>"},
        {"xxe.xml",
         "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY x SYSTEM 'file://" + secretPath.toUtf8() +
             "'>]><rsm:CrossIndustryInvoice xmlns:rsm='urn:un:unece:uncefact:data:standard:"
             "CrossIndustryInvoice:100'><rsm:ExchangedDocument><ram:ID xmlns:ram='urn:un:unece:uncefact:"
             "data:standard:ReusableAggregateBusinessInformationEntity:100'>&x;</ram:ID>"
             "</rsm:ExchangedDocument></rsm:CrossIndustryInvoice>"},
        {"laughs.xml", "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>"
                       "<!ENTITY lol1 '&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;'>"
                       "<!ENTITY lol2 '&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;'>"
                       "<!ENTITY lol3 '&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;'>"
                       "<!ENTITY lol4 '&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;'>"
                       "<!ENTITY lol5 '&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;'>"
                       "<!ENTITY lol6 '&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;'>"
                       "<!ENTITY lol7 '&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;'>"
                       "<!ENTITY lol8 '&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;'>"
                       "<!ENTITY lol9 '&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;'>]>"
                       "<rsm:CrossIndustryInvoice xmlns:rsm='urn:un:unece:uncefact:data:standard:"
                       "CrossIndustryInvoice:100'>&lol9;</rsm:CrossIndustryInvoice>"},
        {"deep.xml", deepNesting(10000)},
        {"huge.xml", huge},
    };
    ImportRun run;
    for (const auto &[name, bytes] : files) {
        // Fill the model first, so a failed import visibly has to clear it.
        ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
        ASSERT_FALSE(run.modelIsCleared());
        const QString path = writeFile(dir, name, bytes);
        EXPECT_EQ(run.run(path), ImportOutcome::NotLoaded) << name.toStdString();
        // Too large to be an invoice says so; everything else cannot be read.
        EXPECT_EQ(run.messageNumbers(), QList<int>{name == "huge.xml" ? 53 : 5}) << name.toStdString();
        ASSERT_FALSE(run.sink.messages().empty());
        EXPECT_EQ(run.sink.messages()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(run.sink.messages()[0].title, "Tarvo Invorator");
        EXPECT_FALSE(run.sink.messages()[0].text.isEmpty());
        EXPECT_TRUE(run.modelIsCleared()) << name.toStdString();
    }
    EXPECT_EQ(run.run(dir.filePath("missing.xml")), ImportOutcome::NotLoaded);
    EXPECT_EQ(run.messageNumbers(), QList<int>{5});

    // Nothing of the secret file may appear anywhere in what the command line writes.
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    EXPECT_EQ(RunCommandLine({"json", dir.filePath("xxe.xml")}, PROGRAM_FOLDER, o, e), 1);
    o.flush();
    e.flush();
    EXPECT_FALSE(out.contains("TOP-SECRET")) << out.toStdString();
    EXPECT_FALSE(err.contains("TOP-SECRET"));
}

namespace {

// The command line on one file in a child process that is stopped when it uses more than
// 5 s of processor time or (without the sanitizers, which reserve much address space)
// 512 MB of memory.
struct LimitedRun
{
    int exitStatus = -1;
    bool crashed = true;
    QJsonObject json;
    QString err;
};

LimitedRun runLimited(const QStringList &arguments)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr rlim_t cpuSeconds = 30;
    constexpr rlim_t memory = RLIM_INFINITY;
#else
    constexpr rlim_t cpuSeconds = 5;
    constexpr rlim_t memory = 512ULL * 1024 * 1024;
#endif
    QProcess p;
    p.setChildProcessModifier([] {
        const rlimit cpu{cpuSeconds, cpuSeconds};
        const rlimit as{memory, memory};
        setrlimit(RLIMIT_CPU, &cpu);
        setrlimit(RLIMIT_AS, &as);
    });
    p.start(QStringLiteral(PROGRAM_FOLDER "/invorator-cli"), QStringList{"json"} + arguments);
    LimitedRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.exitStatus = p.exitCode();
    r.json = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QList<int> messages(const QJsonObject &json)
{
    QList<int> numbers;
    for (const QJsonValue m : json["messages"].toArray())
        numbers << m.toObject()["number"].toInt();
    return numbers;
}

QByteArray repeated(const QByteArray &part, int times)
{
    QByteArray out;
    out.reserve(part.size() * times);
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

} // namespace

// Files made to exhaust time or memory end within the limits, with the invoice they carry
// or a message: repeated children under one element (a quadratic sort of the results),
// thousands of references of one name (numbering and a sync per file), PDF streams that
// inflate without end, once or through hundreds of file specifications, and XML too large
// to be an invoice.
TEST(HostileFiles, EndWithinTimeAndMemoryLimits)
{
    QTemporaryDir dir;
    QByteArray ubl = readFile(corpus("ubl/01.01a-INVOICE_ubl.xml"));
    const qsizetype tax = ubl.indexOf("<cac:TaxTotal>");
    ASSERT_GT(tax, 0);
    ubl.insert(tax, "<cac:PaymentTerms>" + repeated("<cbc:Note>n</cbc:Note>", 30000) + "</cac:PaymentTerms>");
    LimitedRun r = runLimited({writeFile(dir, "notes.xml", ubl)});
    EXPECT_FALSE(r.crashed) << r.err.toStdString();
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.json["txtRechnungdaten"].toArray().at(Rd::InvoiceNumber.index).toString(), "123456XX");

    const QByteArray refs =
        repeated("<ram:AdditionalReferencedDocument><ram:IssuerAssignedID>R</ram:IssuerAssignedID>"
                 "<ram:URIID>https://example.org/r</ram:URIID></ram:AdditionalReferencedDocument>",
                 5000);
    const QString exportFolder = dir.filePath("export");
    ASSERT_TRUE(QDir().mkpath(exportFolder));
    r = runLimited(
        {"--export", exportFolder,
         writeFile(dir, "refs.xml",
                   ciiDocument("<ram:ID>R-1</ram:ID>", "<ram:ApplicableHeaderTradeAgreement>" + refs +
                                                           "</ram:ApplicableHeaderTradeAgreement>"))});
    EXPECT_FALSE(r.crashed) << r.err.toStdString();
    EXPECT_EQ(r.json["attachments"].toArray().size(), 5000) << "nothing lost";
    EXPECT_EQ(QDir(exportFolder).entryList(QDir::Files).size(), 5000);
    EXPECT_TRUE(QFile::exists(exportFolder + "/Reference to R-5000.url"));

    // 63 MB of empty elements in 62 KB, once and through 400 file specifications.
    const QByteArray bomb = "<r>" + repeated("<a/>", 16 * 1024 * 1024 - 2) + "</r>";
    const QByteArray spaces(65 * 1024 * 1024, ' ');
    for (const auto &[name, pdf] : {std::pair{"bomb.pdf", MakePdf({{"factur-x.xml", bomb}})},
                                    std::pair{"shared.pdf", MakePdf({{"factur-x.xml", spaces, 400}})}}) {
        ASSERT_LT(pdf.size(), 1024 * 1024) << name;
        r = runLimited({writeFile(dir, name, pdf)});
        EXPECT_FALSE(r.crashed) << name << r.err.toStdString();
        EXPECT_EQ(r.exitStatus, 1) << name;
        EXPECT_EQ(messages(r.json), QList<int>{5}) << name;
    }

    // 60 MB of plain XML is no invoice; the file is not even read whole.
    QByteArray big = ciiDocument("<ram:ID>B-1</ram:ID>", "");
    big.insert(big.indexOf("</rsm:CrossIndustryInvoice>"), QByteArray(60 * 1024 * 1024, ' '));
    r = runLimited({writeFile(dir, "big.xml", big)});
    EXPECT_FALSE(r.crashed) << r.err.toStdString();
    EXPECT_EQ(messages(r.json), QList<int>{53});
    // A million tiny elements in a few MB are refused the same way.
    r = runLimited({writeFile(dir, "tags.xml", "<r>" + repeated("<a/>", 1'100'000) + "</r>")});
    EXPECT_EQ(messages(r.json), QList<int>{53});
}

// A device or a pipe never ends or blocks the first read: it is refused before reading.
TEST(HostileFiles, DevicesAndPipesAreRefused)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("invoice.xml");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ImportRun run;
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), dir.path()}) {
        EXPECT_EQ(run.run(path, InvoiceKind::Auto), ImportOutcome::NotLoaded) << path.toStdString();
        EXPECT_EQ(run.messageNumbers(), QList<int>{52}) << path.toStdString();
    }
}
