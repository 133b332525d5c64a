// Hostile and broken files must end with message 5 and a cleared model: no crash, no
// hang, no content from outside the file.
#include "TestSupport.h"

#include "output/CommandLine.h"

#include <QFile>
#include <QTextStream>

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
