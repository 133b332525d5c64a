#include "TestSupport.h"

#include "model/Payment.h"

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

namespace {

QString cell(const ImportRun &run, int row, int column)
{
    return run.model.lvZahlung.cell(row, column);
}

} // namespace

// Credit transfers of real invoices: the account in blocks, its name, the BIC, the
// reference, due date and amount, and the code's text field by field.
TEST(PaymentMeans, CreditTransfersOfRealInvoices)
{
    ImportRun cii;
    ASSERT_EQ(cii.run(corpus("cii/01.01_comprehensive_test_uncefact.xml")), ImportOutcome::Read);
    ASSERT_EQ(cii.model.lvZahlung.rowCount(), 2) << "every means, not only the first";
    EXPECT_EQ(
        cii.model.lvZahlung.row(0).cells,
        QStringList({"58", "SEPA-Überweisung", "DE79 0000 0000 1234 5678 90", "[Payment account name]",
                     "[BIC]", "Deb. 12345 / Fact. 9876543", "", "", "", "13.04.2018", "12.829,69 EUR",
                     "BCD\n002\n1\nSCT\n\n[Payment account name]\nDE79000000001234567890\nEUR12829.69\n\n\n"
                     "Deb. 12345 / Fact. 9876543"}));
    EXPECT_EQ(cell(cii, 1, PaymentColumn::Iban), "DE16 0000 0000 2345 6789 01");
    EXPECT_EQ(cell(cii, 1, PaymentColumn::AccountName), "[Payment account name 2]");
    EXPECT_TRUE(
        cell(cii, 1, PaymentColumn::Qr).contains("\n[Payment account name 2]\nDE16000000002345678901\n"));

    // UBL with a valid BIC, the name of the means per language.
    ImportRun ubl;
    ubl.state.LanguageCode = "EN";
    ASSERT_EQ(ubl.run(corpus("ubl/ubl-21-en16931.xml"), InvoiceKind::Auto), ImportOutcome::Read);
    ASSERT_EQ(ubl.model.lvZahlung.rowCount(), 1);
    EXPECT_EQ(cell(ubl, 0, PaymentColumn::Name), "Credit transfer");
    EXPECT_EQ(
        cell(ubl, 0, PaymentColumn::Qr),
        "BCD\n002\n1\nSCT\nQNTOFRP1XXX\nAu bon moulin SARL\nFR2012421242124212421242124\nEUR208.03\n\n\n"
        "2026-06-17 00:00:00");
    EXPECT_EQ(cell(ubl, 0, PaymentColumn::Mandate), "") << "a mandate belongs to a direct debit only";
    EXPECT_EQ(cell(ubl, 0, PaymentColumn::DueDate), "16.07.2026");
    EXPECT_EQ(cell(ubl, 0, PaymentColumn::Amount), "208,03 EUR");

    // ZUGFeRD 1.0 inside a PDF: a debit transfer (31) shows its account but draws no code.
    ImportRun zf1;
    ASSERT_EQ(zf1.run(corpus("pdf/ZUGFeRD_1p0_COMFORT_Einfach.pdf"), InvoiceKind::Pdf), ImportOutcome::Read);
    ASSERT_EQ(zf1.model.lvZahlung.rowCount(), 1);
    EXPECT_EQ(zf1.model.lvZahlung.row(0).cells.mid(0, 6),
              QStringList({"31", "Debit-Überweisung", "DE08 7009 0100 1234 5678 90", "", "GENODEF1M04",
                           "2013-471102"}));
    EXPECT_EQ(cell(zf1, 0, PaymentColumn::Qr), "");
}

// A direct debit shows mandate, creditor identifier and the account debited; a card is
// masked; no code for a foreign currency, a credit note or a means that is no transfer.
TEST(PaymentMeans, DirectDebitCardsAndNoCode)
{
    ImportRun debit;
    ASSERT_EQ(debit.run(corpus("ubl-creditnote/direct-debit-bt-90-seller_creditnote.xml"), InvoiceKind::Auto),
              ImportOutcome::Read);
    ASSERT_EQ(debit.model.lvZahlung.rowCount(), 1);
    EXPECT_EQ(cell(debit, 0, PaymentColumn::Name), "SEPA-Lastschrift");
    EXPECT_EQ(cell(debit, 0, PaymentColumn::Mandate), "12345");
    EXPECT_EQ(cell(debit, 0, PaymentColumn::CreditorId), "DE64500105173922382999");
    EXPECT_EQ(cell(debit, 0, PaymentColumn::Iban), "DE22 5001 0517 5263 1852 67");
    EXPECT_EQ(cell(debit, 0, PaymentColumn::Qr), "");

    // The same in CII, where mandate and creditor are the settlement's, and in ZUGFeRD 1.0,
    // which names the mandate in the means' identifier and the creditor in its scheme agency.
    const QByteArray settlement =
        "<ram:ApplicableHeaderTradeSettlement><ram:CreditorReferenceID>DE98ZZZ09999999999</"
        "ram:CreditorReferenceID>"
        "<ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>"
        "<ram:SpecifiedTradeSettlementPaymentMeans><ram:TypeCode>59</ram:TypeCode>"
        "<ram:PayerPartyDebtorFinancialAccount><ram:IBANID>DE02120300000000202051</ram:IBANID>"
        "</ram:PayerPartyDebtorFinancialAccount></ram:SpecifiedTradeSettlementPaymentMeans>"
        "<ram:SpecifiedTradePaymentTerms><ram:DirectDebitMandateID>M-77</ram:DirectDebitMandateID>"
        "</ram:SpecifiedTradePaymentTerms></ram:ApplicableHeaderTradeSettlement>";
    const QByteArray zugferd1 = R"(<?xml version="1.0" encoding="UTF-8"?>
<rsm:CrossIndustryDocument xmlns:rsm="urn:ferd:CrossIndustryDocument:invoice:1p0"
 xmlns:ram="urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:12"
 xmlns:udt="urn:un:unece:uncefact:data:standard:UnqualifiedDataType:15">
<rsm:HeaderExchangedDocument><ram:ID>Z-1</ram:ID><ram:TypeCode>380</ram:TypeCode></rsm:HeaderExchangedDocument>
<rsm:SpecifiedSupplyChainTradeTransaction><ram:ApplicableSupplyChainTradeSettlement>
<ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>
<ram:SpecifiedTradeSettlementPaymentMeans><ram:TypeCode>59</ram:TypeCode>
<ram:ID schemeAgencyID="DE98ZZZ09999999999">REF A-123</ram:ID>
<ram:PayerPartyDebtorFinancialAccount><ram:IBANID>DE02120300000000202051</ram:IBANID></ram:PayerPartyDebtorFinancialAccount>
</ram:SpecifiedTradeSettlementPaymentMeans></ram:ApplicableSupplyChainTradeSettlement>
</rsm:SpecifiedSupplyChainTradeTransaction></rsm:CrossIndustryDocument>)";
    QTemporaryDir dir;
    for (const auto &[name, document, mandate] :
         {std::tuple{"debit.xml", ciiDocument("<ram:ID>D-1</ram:ID>", settlement), "M-77"},
          std::tuple{"zf1.xml", zugferd1, "REF A-123"}}) {
        ImportRun cii;
        ASSERT_EQ(cii.run(writeFile(dir, name, document)), ImportOutcome::Read) << name;
        ASSERT_EQ(cii.model.lvZahlung.rowCount(), 1) << name;
        EXPECT_EQ(cii.model.lvZahlung.row(0).cells.mid(0, 8),
                  QStringList({"59", "SEPA-Lastschrift", "DE02 1203 0000 0000 2020 51", "", "", "", mandate,
                               "DE98ZZZ09999999999"}))
            << name;
    }

    ImportRun card;
    ASSERT_EQ(
        card.run(corpus("ubl-creditnote/ubl-cn-br-de-24-test-bg-18-271-code-48.xml"), InvoiceKind::Auto),
        ImportOutcome::Read);
    EXPECT_EQ(cell(card, 0, PaymentColumn::Name), "Bankkarte");
    EXPECT_EQ(cell(card, 0, PaymentColumn::Card), "*1234");

    for (const char *file : {"ubl/guide-example2.xml", "cii/CII_example2.xml", // NOK
                             "ubl-creditnote/maxRechnung_creditnote.xml",      // paid back, not to the seller
                             "cii/01.20a-INVOICE_uncefact.xml"}) {             // 42, payment to an account
        ImportRun run;
        ASSERT_EQ(run.run(corpus(file), InvoiceKind::Auto), ImportOutcome::Read) << file;
        ASSERT_GT(run.model.lvZahlung.rowCount(), 0) << file;
        for (int r = 0; r < run.model.lvZahlung.rowCount(); ++r)
            EXPECT_EQ(cell(run, r, PaymentColumn::Qr), "") << file;
    }
}

// Hostile values are shown as written and never reach the code; a bad check digit is marked.
// Beside each hostile means stands one the same document encodes, so each rule is what
// leaves its code out.
TEST(PaymentMeans, HostileValuesShownAsWrittenWithoutCode)
{
    const auto document = [](const QByteArray &reference, const QByteArray &accounts) {
        return ciiDocument(
            "<ram:ID>H-1</ram:ID>",
            "<ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty><ram:Name>Kunden AG</ram:Name>"
            "</ram:SellerTradeParty></ram:ApplicableHeaderTradeAgreement>"
            "<ram:ApplicableHeaderTradeSettlement><ram:PaymentReference>" +
                reference + "</ram:PaymentReference><ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>" +
                accounts +
                "<ram:SpecifiedTradeSettlementHeaderMonetarySummation><ram:DuePayableAmount>100.00"
                "</ram:DuePayableAmount></ram:SpecifiedTradeSettlementHeaderMonetarySummation>"
                "</ram:ApplicableHeaderTradeSettlement>");
    };
    const auto means = [](const QByteArray &code, const QByteArray &iban) {
        return "<ram:SpecifiedTradeSettlementPaymentMeans><ram:TypeCode>" + code +
               "</ram:TypeCode><ram:Information>Verrechnung</ram:Information>"
               "<ram:PayeePartyCreditorFinancialAccount><ram:IBANID>" +
               iban +
               "</ram:IBANID></ram:PayeePartyCreditorFinancialAccount></"
               "ram:SpecifiedTradeSettlementPaymentMeans>";
    };
    const QByteArray valid = "DE02 1203\xC2\xA0"
                             "0000 0000 2020 51"; // a no-break space as some programs write
    const QString overlong = "DE02" + QString(196, '1');
    QTemporaryDir dir;
    ImportRun run;
    ASSERT_EQ(run.run(writeFile(dir, "hostile.xml",
                                document("Rechnung 1", means("58", "DE03120300000000202051") +
                                                           means("58", overlong.toUtf8()) +
                                                           means("X1", valid) + means("58", valid)))),
              ImportOutcome::Read);
    const ListView &lv = run.model.lvZahlung;
    ASSERT_EQ(lv.rowCount(), 4);
    EXPECT_EQ(lv.cell(0, PaymentColumn::Iban), "DE03 1203 0000 0000 2020 51");
    EXPECT_EQ(lv.row(0).cellColors[PaymentColumn::Iban], ColorRed) << "check digits fail";
    EXPECT_EQ(lv.row(0).cellColors[PaymentColumn::Name], ColorBlack);
    EXPECT_EQ(lv.cell(1, PaymentColumn::Iban), overlong);
    EXPECT_EQ(lv.row(1).cellColors[PaymentColumn::Iban], ColorRed) << "a SEPA transfer needs an IBAN";
    EXPECT_EQ(lv.cell(2, PaymentColumn::Code), "X1");
    EXPECT_EQ(lv.cell(2, PaymentColumn::Name), "Verrechnung") << "the invoice's own name for an unknown code";
    EXPECT_EQ(lv.cell(3, PaymentColumn::Name), "SEPA-Überweisung") << "a known code has the list's name";
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(lv.cell(r, PaymentColumn::Qr), "") << r;
    EXPECT_EQ(lv.cell(3, PaymentColumn::Qr),
              "BCD\n002\n1\nSCT\n\nKunden AG\nDE02120300000000202051\nEUR100.00\n\n\nRechnung 1");
    EXPECT_EQ(lv.cell(3, PaymentColumn::Amount), "100,00 EUR");

    // A reference with a line break: shown as written, the code left out.
    ImportRun broken;
    ASSERT_EQ(broken.run(writeFile(dir, "broken.xml", document("Rechnung 1\nKunde 2", means("58", valid)))),
              ImportOutcome::Read);
    EXPECT_EQ(broken.model.lvZahlung.cell(0, PaymentColumn::Reference), "Rechnung 1\nKunde 2");
    EXPECT_EQ(broken.model.lvZahlung.cell(0, PaymentColumn::Qr), "");

    // Credit transfers that name only the buyer's account, which belongs to a direct debit:
    // not shown as the account to pay to, and never put into a code.
    QByteArray ubl = readFile(corpus("ubl/ubl-tc434-example1.xml"));
    ubl.replace("<cac:PayeeFinancialAccount>", "<cac:PaymentMandate><cac:PayerFinancialAccount>")
        .replace("</cac:PayeeFinancialAccount>", "</cac:PayerFinancialAccount></cac:PaymentMandate>");
    const QByteArray cii = document(
        "Rechnung 1", QByteArray(means("58", valid)).replace("Payee", "Payer").replace("Creditor", "Debtor"));
    for (const QString &file : {writeFile(dir, "payer.xml", cii), writeFile(dir, "payer-ubl.xml", ubl)}) {
        ImportRun payer;
        ASSERT_EQ(payer.run(file, InvoiceKind::Auto), ImportOutcome::Read);
        ASSERT_GT(payer.model.lvZahlung.rowCount(), 0);
        for (int r = 0; r < payer.model.lvZahlung.rowCount(); ++r) {
            EXPECT_EQ(payer.model.lvZahlung.cell(r, PaymentColumn::Iban), "") << file.toStdString();
            EXPECT_EQ(payer.model.lvZahlung.cell(r, PaymentColumn::Qr), "") << file.toStdString();
        }
    }
}
