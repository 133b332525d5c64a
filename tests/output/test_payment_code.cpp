#include "TestSupport.h"

#include "cli/CommandLine.h"
#include "output/PaymentCode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

QString runCli(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(RunCommandLine(args, PROGRAM_FOLDER, o, e), 0) << err.toStdString();
    o.flush();
    return out;
}

} // namespace

// The JSON member and the text output carry the shown texts and the code's exact text.
TEST(PaymentOutput, JsonAndShowCarryEveryMeans)
{
    const QJsonObject j =
        QJsonDocument::fromJson(runCli({"json", corpus("ubl/ubl-tc434-example1.xml")}).toUtf8()).object();
    const QJsonArray payment = j["payment"]["means"].toArray();
    ASSERT_EQ(payment.size(), 2);
    const QJsonObject first = payment[0].toObject();
    EXPECT_EQ(first.keys(), QStringList({"accountName", "amount", "bic", "card", "creditorId", "dueDate",
                                         "iban", "mandate", "meansCode", "meansName", "qr", "reference"}));
    EXPECT_EQ(first["iban"].toString(), "NL57 RABO 0107 3075 10");
    EXPECT_EQ(first["reference"].toString(), "Deb. 10202 / Fact. 12115118");
    EXPECT_EQ(first["dueDate"].toString(), "09.01.2015");
    // No account name: the seller's registered name.
    EXPECT_EQ(first["qr"].toString(), "BCD\n002\n1\nSCT\n\nDe Koksmaat\nNL57RABO0107307510\n"
                                      "EUR250.33\n\n\nDeb. 10202 / Fact. 12115118");
    EXPECT_EQ(payment[1]["iban"].toString(), "NL03 INGB 0004 4899 02");

    // Each means a block under its captions; the code's lines stay under its first one. The
    // second IBAN's check digits broken: marked "!", and no code.
    QTemporaryDir dir;
    const QString broken =
        writeFile(dir, "broken.xml", readFile(corpus("ubl/ubl-tc434-example1.xml")).replace("NL03", "NL04"));
    const QString shown = runCli({"show", "--lang", "EN", broken});
    const qsizetype at = shown.indexOf("== Payment (2) ==\n");
    ASSERT_GE(at, 0) << shown.toStdString();
    const QStringList lines = shown.mid(at).split('\n');
    EXPECT_EQ(lines[3], "  IBAN / account       NL57 RABO 0107 3075 10");
    EXPECT_EQ(lines[12], "  QR code              BCD");
    EXPECT_EQ(lines[13], "                       002");
    EXPECT_EQ(lines[22], "                       Deb. 10202 / Fact. 12115118");
    EXPECT_EQ(lines[23], "") << "a blank line between two means";
    EXPECT_EQ(lines[24], "  Code                 30");
    EXPECT_EQ(lines[26], "! IBAN / account       NL04 INGB 0004 4899 02");
    EXPECT_EQ(lines[35], "  QR code");
}

// Cash discounts from both notations, read from real invoices and from real ones given
// discount lines (two of them, one with its own base, one that breaks the notation): worked
// out in JSON (days, rate, base, amount, last day) and shown in the payment section.
TEST(PaymentOutput, CashDiscountsInJsonAndShow)
{
    QTemporaryDir dir;
    QByteArray cii = readFile(sample("Rechnung-2026-0815.xml"));
    cii.replace("Zahlbar innerhalb von 14 Tagen ohne Abzug.",
                "Zahlbar in 30 Tagen.\n#SKONTO#TAGE=10#PROZENT=3.00#\n"
                "#SKONTO#TAGE=20#PROZENT=1.50#BASISBETRAG=300.00#\n#SKONTO#TAGE=x#PROZENT=1#\n");
    QByteArray ubl = readFile(corpus("ubl/ubl-tc434-example1.xml"));
    ubl.replace("<cac:TaxTotal>",
                "<cac:PaymentTerms><cbc:Note>#SKONTO#TAGE=8#PROZENT=2.00#</cbc:Note></cac:PaymentTerms>"
                "<cac:PaymentTerms><cbc:Note>#SKONTO#TAGE=14#PROZENT=1.00#BASISBETRAG=200.00#"
                "</cbc:Note></cac:PaymentTerms><cac:TaxTotal>");
    const std::pair<QString, QStringList> cases[] = {
        {corpus("cii/ZUGFeRD1_EXTENDED_Warenrechnung.xml"), {"14 2.00 518.99 10.38 2013-08-20"}},
        {corpus("pdf/zugferd_2p1_EXTENDED_Warenrechnung.pdf"), {"14 2.00 518.99 10.38 2018-08-20"}},
        {writeFile(dir, "cii.xml", cii),
         {"10 3.00 333.13 9.99 2026-11-28", "20 1.50 300.00 4.50 2026-12-08", "#SKONTO#TAGE=x#PROZENT=1#"}},
        {writeFile(dir, "ubl.xml", ubl), {"8 2.00 250.33 5.01 2015-01-17", "14 1.00 200.00 2.00 2015-01-23"}},
    };
    for (const auto &[file, expected] : cases) {
        const QJsonObject j = QJsonDocument::fromJson(runCli({"json", file}).toUtf8()).object();
        QStringList found;
        for (const QJsonValue d : j["payment"]["discounts"].toArray())
            found << (d["readable"].toBool()
                          ? QStringList{QString::number(d["days"].toInt()), d["percent"].toString(),
                                        d["base"].toString(), d["amount"].toString(), d["payBy"].toString()}
                                .join(' ')
                          : d["written"].toString());
        EXPECT_EQ(found, expected) << file.toStdString();
    }
    const QString shown = runCli({"show", "--lang", "EN", writeFile(dir, "cii.xml", cii)});
    EXPECT_TRUE(shown.contains("  Cash discount        10 days, 3,00 % of 333,13 = 9,99, pay by 28.11.2026\n"
                               "  Cash discount        20 days, 1,50 % of 300,00 = 4,50, pay by 08.12.2026\n"
                               "  Cash discount        unreadable: #SKONTO#TAGE=x#PROZENT=1#\n"))
        << shown.toStdString();
}

// The drawn code reads back byte for byte, umlauts and the longest text the guidelines allow included.
TEST(PaymentOutput, TheDrawnCodeReadsBackExactly)
{
    const QString umlauts =
        QString::fromUtf8("BCD\n002\n1\nSCT\nPBNKDEFF\nMüller & Söhne GmbH\n"
                          "DE02120300000000202051\nEUR1234.56\n\n\nRechnung Nr. 4711 – Größe");
    // The guidelines' limit of 331 bytes, which takes the largest code the page draws.
    QString longest = "BCD\n002\n1\nSCT\nQNTOFRP1XXX\n" + QString(70, 'N') +
                      "\nFR2012421242124212421242124\n" + "EUR999999999.99\n\n\n";
    longest += QString(331 - longest.toUtf8().size(), 'R');
    ASSERT_EQ(longest.toUtf8().size(), 331);
    for (const QString &text : {umlauts, longest}) {
        const QrMatrix matrix = EncodeQr(text);
        ASSERT_GT(matrix.size, 20);
        const QImage image = QrImage(matrix, 2); // the page's scale for the largest code
        EXPECT_EQ(image.width(), (matrix.size + 8) * 2) << "a quiet zone of four modules";
        EXPECT_EQ(scanQrCode(image), text.toUtf8());
    }
    EXPECT_EQ(EncodeQr("").size, 0);
    EXPECT_TRUE(QrImage(EncodeQr(""), 3).isNull());
}
