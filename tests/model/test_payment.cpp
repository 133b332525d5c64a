#include "model/Payment.h"

#include <gtest/gtest.h>

using namespace invorator;

namespace {

// A euro credit transfer whose every datum the code can carry.
PaymentMeans transfer()
{
    PaymentMeans m;
    m.code = "58";
    m.account = "DE02 1203 0000 0000 2020 51";
    m.accountName = "Kunden AG";
    m.bic = "BYLADEM1001";
    m.reference = "Rechnung 471102";
    m.amount = "529.87";
    m.currency = "EUR";
    m.payeeName = "Lieferant GmbH";
    m.documentType = "380";
    return m;
}

} // namespace

TEST(Payment, AccountsCardsAndBicsAsABookkeeperReadsThem)
{
    EXPECT_TRUE(IbanValid("DE02120300000000202051"));
    EXPECT_TRUE(IbanValid("de02 1203 0000 0000 2020 51")) << "blanks and small letters as people write them";
    EXPECT_FALSE(IbanValid("DE03120300000000202051")) << "one check digit wrong";
    EXPECT_FALSE(IbanValid("DE02120300000000202015")) << "two digits swapped";
    // Check digits outside 02 to 98 that the modulus alone would let through.
    for (const char *iban : {"DE00120300000000202087", "DE01120300000000202069", "DE99120300000000202051"})
        EXPECT_FALSE(IbanValid(iban)) << iban;
    EXPECT_TRUE(LooksLikeIban("DE03120300000000202051"));
    EXPECT_FALSE(LooksLikeIban("1234567891234")) << "a national account number";
    EXPECT_FALSE(LooksLikeIban("FRDEBIT"));
    EXPECT_EQ(GroupIban("NL57 RABO 0107307510"), "NL57 RABO 0107 3075 10");
    EXPECT_EQ(GroupIban("1234567891234"), "1234567891234");

    EXPECT_TRUE(BicValid("PBNKDEFF"));
    EXPECT_TRUE(BicValid("QNTOFRP1XXX"));
    for (const char *bic : {"[BIC]", "XXX0561515801", "PBNKDEF", "PBNK DEFF", "BIC_MONCOMPTE", ""})
        EXPECT_FALSE(BicValid(bic)) << bic;

    EXPECT_EQ(MaskCard("4970 1234 5678 0265"), "***************0265");
    EXPECT_EQ(MaskCard("41234"), "*1234");
    EXPECT_EQ(MaskCard("0265"), "0265");
}

// The code's text field by field in the guidelines' order; a reference, amount or account it
// cannot carry faithfully leaves it out rather than sending money with a wrong datum.
TEST(Payment, TransferCodeFollowsTheGuidelines)
{
    EXPECT_EQ(
        SepaTransferCode(transfer()),
        "BCD\n002\n1\nSCT\nBYLADEM1001\nKunden AG\nDE02120300000000202051\nEUR529.87\n\n\nRechnung 471102");

    PaymentMeans m = transfer();
    m.bic = "[BIC]";
    m.account = "de02\t1203 0000 0000 2020 51";
    m.accountName.clear();
    m.reference = "rf18 5390 0754 7034";
    m.amount = "1000";
    EXPECT_EQ(SepaTransferCode(m),
              "BCD\n002\n1\nSCT\n\nLieferant GmbH\nDE02120300000000202051\nEUR1000.00\n\nRF18539007547034")
        << "BIC left out, the payee's name, a creditor reference in the structured field, no trailing lines";
    m.reference.clear();
    m.amount = "0.5000";
    m.accountName =
        QString(69, 'a') + QString::fromUtf8("\xF0\x9F\x98\x80"); // a character beyond 16 bits at 70
    EXPECT_EQ(SepaTransferCode(m),
              "BCD\n002\n1\nSCT\n\n" + QString(69, 'a') + "\nDE02120300000000202051\nEUR0.50")
        << "a name cut at 70 never splits a character";
    m = transfer();
    m.bic = " byladem1001 ";
    EXPECT_TRUE(SepaTransferCode(m).startsWith("BCD\n002\n1\nSCT\nBYLADEM1001\n")) << "a BIC in capitals";
    m.reference = "RF19 5390 0754 7034";
    EXPECT_TRUE(SepaTransferCode(m).endsWith("\n\n\nRF19 5390 0754 7034"))
        << "wrong check digits: plain text";

    const auto without = [](const char *why, auto change) {
        PaymentMeans bad = transfer();
        change(bad);
        EXPECT_EQ(SepaTransferCode(bad), "") << why;
    };
    without("foreign currency", [](PaymentMeans &p) { p.currency = "NOK"; });
    without("no IBAN", [](PaymentMeans &p) { p.account.clear(); });
    without("a bad check digit", [](PaymentMeans &p) { p.account = "DE03120300000000202051"; });
    without("check digits 00", [](PaymentMeans &p) { p.account = "DE00120300000000202087"; });
    without("a 200-character IBAN", [](PaymentMeans &p) { p.account = "DE02" + QString(196, '1'); });
    without("a national account", [](PaymentMeans &p) { p.account = "1234567891234"; });
    without("a reference with a line break", [](PaymentMeans &p) { p.reference = "Rechnung\n471102"; });
    without("a reference with a carriage return", [](PaymentMeans &p) { p.reference = "Rechnung\r471102"; });
    without("a reference over 140 characters", [](PaymentMeans &p) { p.reference = QString(141, 'x'); });
    without("a name with a line break", [](PaymentMeans &p) { p.accountName = "Kunden\nAG"; });
    without("no name at all", [](PaymentMeans &p) { p.accountName = p.payeeName = " "; });
    without("a name of a zero-width space", [](PaymentMeans &p) { p.accountName = QString(QChar(0x200B)); });
    without("over 331 bytes, though not characters", [](PaymentMeans &p) {
        p.accountName = QString(70, QChar(0xE4)); // ä
        p.reference = QString(140, QChar(0xFC));  // ü
    });
    without("a direct debit", [](PaymentMeans &p) { p.code = "59"; });
    without("a code not in the list", [](PaymentMeans &p) { p.code = "X1"; });
    without("a credit note", [](PaymentMeans &p) { p.documentType = "381"; });
    without("nothing due", [](PaymentMeans &p) { p.amount = "0.00"; });
    without("a negative amount", [](PaymentMeans &p) { p.amount = "-529.87"; });
    without("no amount", [](PaymentMeans &p) { p.amount.clear(); });
    without("a fraction of a cent", [](PaymentMeans &p) { p.amount = "529.875"; });
    without("beyond 999 999 999.99", [](PaymentMeans &p) { p.amount = "1000000000"; });
    without("an amount that is no number", [](PaymentMeans &p) { p.amount = "529,87 EUR"; });
    without("a decimal comma", [](PaymentMeans &p) { p.amount = "119,00"; });
}
