#include "TestSupport.h"

#include "cli/CommandLine.h"
#include "output/DisplayModelOutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

// A run whose output is one JSON object.
struct JsonRun : CliRun
{
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

JsonRun cli(const QStringList &args)
{
    return {RunCli(args)};
}

} // namespace

TEST(CommandLine, UsageErrorsExitWith2AndOneReason)
{
    for (const QStringList &args :
         {QStringList{}, QStringList{"print", "x.xml"}, QStringList{"show"},
          QStringList{"show", "--kind", "xls", "a"}, QStringList{"json", "--kind"},
          QStringList{"show", "--bogus", "a"}, QStringList{"show", "a", "b"},
          QStringList{"show", "--lang", "XX", sample("Rechnung-2026-0815.xml")},
          // Options and files a command does not take.
          QStringList{"show", "--archive", "x.mdb", "a"}, QStringList{"archive-init", "a"},
          QStringList{"save", "--name", "A", "a"}, QStringList{"support", "--name", "A"},
          QStringList{"pdf", "a"}, QStringList{"validate", "--format", "xml", "a"},
          QStringList{"show", "--format", "json", "a"}}) {
        const JsonRun r = cli(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("invorator-cli: ")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

// Without its texts database a command that prints words stops with 1 instead of printing
// empty lines; json, which carries data only, still works.
TEST(CommandLine, WithoutTheTextsDatabaseOnlyJsonRuns)
{
    QTemporaryDir empty;
    const auto run = [&empty](const QStringList &args) {
        CliRun r;
        QTextStream o(&r.out);
        QTextStream e(&r.err);
        r.status = RunCommandLine(args, empty.path(), o, e);
        return r;
    };
    const QString file = sample("Rechnung-2026-0815.xml");
    for (const char *command : {"show", "check", "validate"}) {
        const CliRun r = run({command, file});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_TRUE(r.out.isEmpty()) << command << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith("Data-Connect failed!")) << r.err.toStdString();
    }
    EXPECT_EQ(run({"json", file}).status, 0);
}

TEST(CommandLine, JsonHasExactlyTheAgreedMembers)
{
    const JsonRun r = cli({"json", sample("Rechnung-2026-0815.xml")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject j = r.json();
    EXPECT_EQ(j.keys(),
              QStringList({"attachments", "captions", "checks", "documentType", "documentTypeName", "headers",
                           "kind", "lvAbzuege", "lvTable", "lvUst", "messages", "numberFormat", "payment",
                           "txtBuyer", "txtRechnungdaten", "txtSeller", "txtSonstige", "validation"}));
    EXPECT_EQ(j["validation"].toObject(), QJsonObject({{"valid", true}, {"findings", QJsonArray()}}));
    // The kind read: a PDF counts as the kind of its XML, and UBL is another kind.
    EXPECT_EQ(cli({"json", corpus("pdf/EN16931_Einfach.pdf")}).json()["kind"], j["kind"]);
    EXPECT_NE(cli({"json", corpus("ubl/01.01a-INVOICE_ubl.xml")}).json()["kind"], j["kind"]);
    EXPECT_EQ(j["numberFormat"].toString(), "#,##0.00");
    EXPECT_EQ(j["txtRechnungdaten"][Rd::DocumentType.index].toString(), "Rechnung");
    EXPECT_EQ(j["documentType"].toString(), "380");
    ASSERT_EQ(j["lvTable"].toArray().size(), 4);
    EXPECT_EQ(j["lvTable"][3]["color"].toInt(), 255);
    EXPECT_FALSE(j["lvUst"][0].toObject().contains("color"));
    EXPECT_TRUE(j["messages"].toArray().isEmpty());
    EXPECT_TRUE(j["attachments"].toArray().isEmpty());
}

// validate: text per file, fatal first; one JSON object per file, with its name when there
// are several; 5 when any file breaks a fatal rule, 1 when one cannot be read.
TEST(CommandLine, ValidateReportsEachFileAndExitsBySeverity)
{
    QTemporaryDir dir;
    QByteArray broken = readFile(sample("Rechnung-2026-0815.xml"));
    broken.replace("<ram:ID>RE-2026-0815</ram:ID>", "<ram:Unknown/>");
    const QString bad = writeFile(dir, "bad.xml", broken);
    const QString good = sample("Rechnung-2026-0815.xml");

    JsonRun r = cli({"validate", "--lang", "EN", good});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, good + ": valid (0 fatal, 0 warnings)\n");

    r = cli({"validate", "--format", "json", bad});
    EXPECT_EQ(r.status, 5);
    const QJsonObject j = r.json();
    EXPECT_FALSE(j.contains("file"));
    EXPECT_FALSE(j["valid"].toBool());
    QStringList rules;
    for (const QJsonValue &f : j["findings"].toArray())
        rules << f["rule"].toString();
    EXPECT_TRUE(rules.contains("XSD") && rules.contains("BR-02")) << rules.join(' ').toStdString();
    const QJsonObject schema = j["findings"][rules.indexOf("XSD")].toObject();
    EXPECT_EQ(schema["line"].toInt(), 15);
    EXPECT_EQ(schema["location"].toString(), "/rsm:CrossIndustryInvoice/rsm:ExchangedDocument/ram:Unknown");
    EXPECT_TRUE(j["findings"][rules.indexOf("BR-02")]["message"].toString().contains("Rechnungsnummer"));

    r = cli({"validate", "--format", "json", "--lang", "EN", good, bad, dir.filePath("missing.xml")});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0].toUtf8())["file"].toString(), good);
    EXPECT_TRUE(QJsonDocument::fromJson(lines[1].toUtf8())["valid"] == false);
    EXPECT_TRUE(lines[1].contains("invoice number")) << lines[1].toStdString();
    EXPECT_TRUE(r.err.contains("missing.xml"));
    EXPECT_EQ(cli({"validate", good, bad}).status, 5);
}

TEST(CommandLine, ShowPrintsTheInvoiceAndMarksRedRows)
{
    const JsonRun r = cli({"show", "--kind", "cii", sample("Rechnung-2026-0815.xml")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("Rechnungs-Nr       RE-2026-0815"));
    EXPECT_TRUE(r.out.contains("Holzwerk Brandt GmbH"));
    EXPECT_TRUE(r.out.contains("!   4 | Rücknahme Eichenbrett")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Fälliger Zahlungsbetrag        333,13"));
}

TEST(CommandLine, MismatchAndLanguageAndExport)
{
    // A CII invoice named as UBL: asked, answered No, exit 1 with message 50 in the JSON.
    JsonRun r = cli({"json", "--kind", "ubl", sample("Rechnung-2026-0815.xml")});
    EXPECT_EQ(r.status, 1);
    const QJsonObject asked = r.json();
    ASSERT_EQ(asked["messages"].toArray().size(), 1);
    EXPECT_EQ(asked["messages"][0]["number"].toInt(), 50);
    EXPECT_EQ(asked["messages"][0]["icon"].toString(), "question");

    r = cli({"show", "--kind", "ubl", sample("Rechnung-2026-0815.xml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("(50)")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    // English texts: the document type name and the messages follow the language.
    // An export folder below a file cannot be made.
    QTemporaryDir blocked;
    const QString notAFolder = writeFile(blocked, "file", "x") + "/folder";
    r = cli({"json", "--lang", "en", "--export", notAFolder, sample("Rechnung-2026-0815.xml")});
    EXPECT_EQ(r.status, 0);
    const QJsonObject en = r.json();
    EXPECT_EQ(en["txtRechnungdaten"][Rd::DocumentType.index].toString(), "Commercial invoice");
    EXPECT_EQ(en["txtRechnungdaten"][Rd::Subject.index].toString(), "AAI – General information");
    ASSERT_EQ(en["messages"].toArray().size(), 1);
    EXPECT_EQ(en["messages"][0]["number"].toInt(), 9);
    EXPECT_TRUE(en["messages"][0]["text"].toString().startsWith("The export folder"));

    QTemporaryDir dir;
    const QJsonObject de = cli({"json", "--export", dir.path(), sample("Rechnung-2026-0815.xml")}).json();
    EXPECT_EQ(de["attachments"].toArray().toVariantList(),
              QVariantList({"Aufmass-0815", "Reference to Montagefotos.url"}));
    // German keeps the designed captions and headers.
    EXPECT_EQ(de["captions"]["txtSeller"][Seller.Street.index].toString(), "Straße");
    EXPECT_EQ(de["headers"]["lvTable"][1].toString(), "Artikel");

    // French: captions, list headers, section titles and the attachments' heading.
    const QJsonObject fr = cli({"json", "--lang", "FR", sample("Rechnung-2026-0815.xml")}).json();
    EXPECT_EQ(fr["documentTypeName"].toString(), "Facture commerciale");
    EXPECT_EQ(fr["txtRechnungdaten"][Rd::Subject.index].toString(), "AAI – Informations générales");
    EXPECT_EQ(fr["captions"]["txtSeller"][Seller.Street.index].toString(), "Rue");
    EXPECT_EQ(fr["headers"]["lvUst"][2].toString(), "Montant TVA");
    r = cli({"show", "--lang", "fr", "--export", dir.path(), sample("Rechnung-2026-0815.xml")});
    for (const char *heading : {"== Facture ==", "== Vendeur ==", "== Acheteur ==", "== Lignes (4) ==",
                                "== Remises et frais (", "== Totaux ==", "== Pièces jointes ==", "Rue  "})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(heading))) << heading << '\n' << r.out.toStdString();
}

// The JSON text is written by hand for speed; Qt's reader must get back every text as it
// was, and Qt's writer must give the very same bytes, whatever the texts hold.
TEST(CommandLine, JsonTextIsWhatQtWouldWrite)
{
    DisplayModel model;
    QString tricky;
    for (char16_t c = 1; c < 0x80; ++c)
        tricky += QChar(c);
    tricky += QString::fromUtf8("äß€ \xF0\x9F\x93\x84 \\\" /");
    model[Seller.Name].setText(tricky);
    model[Buyer.Name].setText(QString());
    model[Buyer.Street].setText("plain \"ASCII\" \\ copied as it is, yet escaped");
    model[Buyer.City].setText("C:\\Rechnungen"); // ASCII with a backslash and no quote
    const int row = model.lvTable.addRow(tricky);
    model.lvTable.setRowColor(row, ColorRed);
    model.lvZahlung.addRow(tricky); // a payment object, its members in name order as Qt writes them
    ImportReport report;
    report.kind = InvoiceKind::Peppol;
    report.attachments = {"a\tb.url", "say \"hi\".url"};
    Message m;
    m.number = 54;
    m.text = "„x“\r\n";
    report.messages.push_back(m);
    const QByteArray text = ModelToJsonText(model, report);
    const QJsonDocument parsed = QJsonDocument::fromJson(text);
    ASSERT_TRUE(parsed.isObject());
    EXPECT_EQ(parsed.toJson(QJsonDocument::Indented), text);
    EXPECT_EQ(parsed["txtSeller"][Seller.Name.index].toString(), tricky);
}

// The check command: exit 0 when the sums agree or give warnings only, 4 with a fatal
// finding, 1 when the file is no invoice; json carries the same findings with their flags.
TEST(CommandLine, CheckPrintsTheFindingsAndExitsByThem)
{
    JsonRun r = cli({"check", "--lang", "EN", sample("Rechnung-2026-0815.xml")});
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_EQ(r.out, "All sums of the invoice agree.\n");
    r = cli({"check", "--lang", "EN", corpus("ubl-creditnote/ubl-creditnote.xml")});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.out, "BR-CO-15: expected 1728.70, found 1729.00\nBR-CO-16: expected 729.30, found 729.00\n");
    r = cli({"check", "--lang", "EN", corpus("cii/CII_example1.xml")});
    EXPECT_EQ(r.status, 0) << "a warning does not fail the check";
    EXPECT_EQ(r.out, "LINE-NET [20] (warning): expected 109.98, found -109.98\n");
    const QJsonArray checks = cli({"json", corpus("cii/CII_example1.xml")}).json()["checks"].toArray();
    ASSERT_EQ(checks.size(), 1);
    EXPECT_EQ(checks[0].toObject(), QJsonObject({{"rule", "LINE-NET"},
                                                 {"where", "20"},
                                                 {"expected", "109.98"},
                                                 {"found", "-109.98"},
                                                 {"flag", "warning"}}));
    QTemporaryDir numbers;
    QByteArray notANumber = readFile(sample("Rechnung-2026-0815.xml"));
    notANumber.replace("<ram:DuePayableAmount>333.13</ram:DuePayableAmount>",
                       "<ram:DuePayableAmount>333,13</ram:DuePayableAmount>");
    r = cli({"check", "--lang", "EN", writeFile(numbers, "comma.xml", notANumber)});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.out, "NUMBER [DuePayableAmount]: not a number: \"333,13\"\n");
    QTemporaryDir dir;
    EXPECT_EQ(cli({"check", writeFile(dir, "x.xml", "<a/>")}).status, 1);
}
