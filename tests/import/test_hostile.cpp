// Hostile and broken files must end with message 5 and a cleared model: no crash, no
// hang, no content from outside the file.
#include "PdfMaker.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// The command line's JSON of a file, from a child process that is stopped when it uses
// more than 5 s of processor time (or what the case allows) or (without the sanitizers,
// which reserve much address space) 512 MB of memory.
struct LimitedRun
{
    explicit LimitedRun(const QStringList &arguments, rlim_t allowedSeconds = 5)
    {
#if defined(__SANITIZE_ADDRESS__)
        const rlim_t cpuSeconds = 6 * allowedSeconds;
        constexpr rlim_t memory = RLIM_INFINITY;
#else
        const rlim_t cpuSeconds = allowedSeconds;
        constexpr rlim_t memory = 512ULL * 1024 * 1024;
#endif
        QProcess p;
        p.setChildProcessModifier([cpuSeconds] {
            const rlimit cpu{cpuSeconds, cpuSeconds};
            const rlimit as{memory, memory};
            setrlimit(RLIMIT_CPU, &cpu);
            setrlimit(RLIMIT_AS, &as);
        });
        p.start(QStringLiteral(PROGRAM_FOLDER "/invorator-cli"), QStringList{"json"} + arguments);
        crashed = !p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit;
        exitStatus = p.exitCode();
        out = p.readAllStandardOutput();
        err = p.readAllStandardError().toStdString();
        json = QJsonDocument::fromJson(out).object();
        for (const QJsonValue m : json["messages"].toArray())
            messages << m.toObject()["number"].toInt();
    }

    bool crashed;
    int exitStatus;
    QByteArray out;
    QJsonObject json;
    QList<int> messages;
    std::string err;
};

} // namespace

TEST(HostileFiles, EndWithMessage5AndAClearedModel)
{
    QTemporaryDir dir;
    const QString secretPath = writeFile(dir, "secret.txt", "TOP-SECRET-4711");
    const QByteArray good = ciiDocument("<ram:ID>R-1</ram:ID>", "");
    const QByteArray root =
        "<rsm:CrossIndustryInvoice xmlns:rsm='urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100'>";
    // A billion laughs: each entity ten times the one before.
    QByteArray laughs = "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol0 'lol'>";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY lol" + QByteArray::number(i) + " '" +
                  ("&lol" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    laughs += "]>" + root + "&lol9;</rsm:CrossIndustryInvoice>";
    const std::vector<std::pair<QString, QByteArray>> files = {
        {"empty.xml", ""},
        {"binary.xml", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\xff\xfe", 18)},
        {"truncated.xml", good.left(good.size() / 2)},
        {"notwellformed.xml", "<rsm:CrossIndustryInvoice><a></b></rsm:CrossIndustryInvoice>"},
        {"xxe.xml", "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY x SYSTEM 'file://" + secretPath.toUtf8() +
                        "'>]>" + root +
                        "<rsm:ExchangedDocument><ram:ID xmlns:ram='urn:un:unece:uncefact:data:"
                        "standard:ReusableAggregateBusinessInformationEntity:100'>&x;</ram:ID>"
                        "</rsm:ExchangedDocument></rsm:CrossIndustryInvoice>"},
        {"laughs.xml", laughs},
        {"deep.xml", root + QByteArray("<a>").repeated(10000) + QByteArray("</a>").repeated(10000) +
                         "</rsm:CrossIndustryInvoice>"},
    };
    ImportRun run;
    for (const auto &[name, bytes] : files) {
        // Fill the model first, so a failed import visibly has to clear it.
        ASSERT_EQ(run.run(sample("Rechnung-2026-0815.xml")), ImportOutcome::Read);
        ASSERT_FALSE(run.modelIsCleared());
        const QString path = writeFile(dir, name, bytes);
        EXPECT_EQ(run.run(path), ImportOutcome::NotLoaded) << name.toStdString();
        EXPECT_EQ(run.messageNumbers(), QList<int>{5}) << name.toStdString();
        EXPECT_TRUE(run.modelIsCleared()) << name.toStdString();
    }
    EXPECT_EQ(run.run(dir.filePath("missing.xml")), ImportOutcome::NotLoaded);
    EXPECT_EQ(run.messageNumbers(), QList<int>{5});

    // Nothing of the secret file may appear anywhere in what the command line writes.
    const LimitedRun cli({dir.filePath("xxe.xml")});
    EXPECT_EQ(cli.exitStatus, 1);
    EXPECT_FALSE(cli.out.contains("TOP-SECRET")) << cli.out.toStdString();
    EXPECT_EQ(cli.err.find("TOP-SECRET"), std::string::npos) << cli.err;
}

// Files made to exhaust time or memory end within the limits, with the invoice they carry
// or a message: repeated children under one element (a quadratic sort of the results),
// thousands of references of one name (numbering and a sync per file), PDF streams that
// inflate without end, once or through hundreds of file entries, and XML or a PDF
// too large to be an invoice.
TEST(HostileFiles, EndWithinTimeAndMemoryLimits)
{
    QTemporaryDir dir;
    QByteArray ubl = readFile(corpus("ubl/01.01a-INVOICE_ubl.xml"));
    const qsizetype tax = ubl.indexOf("<cac:TaxTotal>");
    ASSERT_GT(tax, 0);
    ubl.insert(tax, "<cac:PaymentTerms>" + QByteArray("<cbc:Note>n</cbc:Note>").repeated(30000) +
                        "</cac:PaymentTerms>");
    LimitedRun r({writeFile(dir, "notes.xml", ubl)});
    EXPECT_FALSE(r.crashed) << r.err;
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.json["txtRechnungdaten"].toArray().at(Rd::InvoiceNumber.index).toString(), "123456XX");

    const QByteArray refs =
        QByteArray("<ram:AdditionalReferencedDocument><ram:IssuerAssignedID>R</ram:IssuerAssignedID>"
                   "<ram:URIID>https://example.org/r</ram:URIID></ram:AdditionalReferencedDocument>")
            .repeated(5000);
    const QString exportFolder = dir.filePath("export");
    ASSERT_TRUE(QDir().mkpath(exportFolder));
    // Five thousand files cost the file system's time besides the import's: room for a busy machine.
    r = LimitedRun(
        {"--export", exportFolder,
         writeFile(dir, "refs.xml",
                   ciiDocument("<ram:ID>R-1</ram:ID>", "<ram:ApplicableHeaderTradeAgreement>" + refs +
                                                           "</ram:ApplicableHeaderTradeAgreement>"))},
        20);
    EXPECT_FALSE(r.crashed) << r.err;
    EXPECT_EQ(r.json["attachments"].toArray().size(), 5000) << "nothing lost";
    EXPECT_EQ(QDir(exportFolder).entryList(QDir::Files).size(), 5000);
    EXPECT_TRUE(QFile::exists(exportFolder + "/Reference to R-5000.url"));

    // 63 MB of empty elements in 62 KB, once and through 400 file entries.
    const QByteArray bomb = "<r>" + QByteArray("<a/>").repeated(16 * 1024 * 1024 - 2) + "</r>";
    const QByteArray spaces(65 * 1024 * 1024, ' ');
    for (const auto &[name, pdf] : {std::pair{"bomb.pdf", MakePdf({{"factur-x.xml", bomb}})},
                                    std::pair{"shared.pdf", MakePdf({{"factur-x.xml", spaces, 400}})}}) {
        ASSERT_LT(pdf.size(), 1024 * 1024) << name;
        r = LimitedRun({writeFile(dir, name, pdf)});
        EXPECT_FALSE(r.crashed) << name << r.err;
        EXPECT_EQ(r.exitStatus, 1) << name;
        EXPECT_EQ(r.messages, QList<int>{5}) << name;
    }

    // 60 MB of XML is too large to be an invoice; the file is not even read whole.
    QByteArray big = ciiDocument("<ram:ID>B-1</ram:ID>", "");
    big.insert(big.indexOf("</rsm:CrossIndustryInvoice>"), QByteArray(60 * 1024 * 1024, ' '));
    r = LimitedRun({writeFile(dir, "big.xml", big)});
    EXPECT_FALSE(r.crashed) << r.err;
    EXPECT_EQ(r.messages, QList<int>{53});
    // So is a PDF of 600 MB, and the file is not read whole: it is sparse and takes no disk.
    QFile sparse(dir.filePath("sparse.pdf"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.write("%PDF-1.7\n") == 9 &&
                sparse.resize(600LL * 1024 * 1024));
    sparse.close();
    r = LimitedRun({sparse.fileName()});
    EXPECT_FALSE(r.crashed) << r.err;
    EXPECT_EQ(r.messages, QList<int>{53});
    // A million tiny elements in a few MB are refused the same way.
    r = LimitedRun({writeFile(dir, "tags.xml", "<r>" + QByteArray("<a/>").repeated(1'100'000) + "</r>")});
    EXPECT_EQ(r.messages, QList<int>{53});
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
