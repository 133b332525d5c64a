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

// Discount lines among free text: each readable one worked out exactly (base as written, else
// the amount due; rounded half away from zero to the cent; days counted across a year's
// end), each one that breaks the notation kept as written and never guessed at.
TEST(Payment, CashDiscountLinesAreWorkedOutOrKeptAsWritten)
{
    const auto discounts = DiscountsFromTerms("Zahlbar innerhalb 30 Tagen netto.\n"
                                              "#SKONTO#TAGE=7#PROZENT=3.00#\n"
                                              "#SKONTO#TAGE=14#PROZENT=2.00#BASISBETRAG=1000.00#\r\n"
                                              "#VERZUG#TAGE=14#PROZENT=5.00#\n"
                                              "#SKONTO#TAGE=10#PROZENT=2,00#\n"
                                              "#SKONTO#PROZENT=2.00#TAGE=14#\n"
                                              "#SKONTO#TAGE=14#PROZENT=2.00\n"
                                              "#SKONTO#TAGE= 5#PROZENT=1.00#\n"
                                              "#SKONTO#TAGE=14#PROZENT=150.00#\n"
                                              "#SKONTO#TAGE=14#PROZENT=2.00#BASISBETRAG=#",
                                              "2049.99", "20261130");
    ASSERT_EQ(discounts.size(), 8u) << "free text and other notations are no discount";
    const CashDiscount &first = discounts[0];
    EXPECT_TRUE(first.readable);
    EXPECT_EQ(first.days, 7);
    EXPECT_EQ(first.percent, "3.00");
    EXPECT_EQ(first.base, "2049.99");
    EXPECT_EQ(first.amount, "61.50") << "61.4997";
    EXPECT_EQ(first.payBy, "2026-12-07");
    const CashDiscount &second = discounts[1];
    EXPECT_EQ(second.written, "#SKONTO#TAGE=14#PROZENT=2.00#BASISBETRAG=1000.00#");
    EXPECT_EQ(second.base, "1000.00");
    EXPECT_EQ(second.amount, "20.00");
    EXPECT_EQ(second.payBy, "2026-12-14");
    for (std::size_t i = 2; i < discounts.size(); ++i) {
        EXPECT_FALSE(discounts[i].readable) << discounts[i].written.toStdString();
        EXPECT_FALSE(discounts[i].days.has_value());
        EXPECT_TRUE(discounts[i].amount.isEmpty() && discounts[i].payBy.isEmpty());
    }
    EXPECT_EQ(discounts[2].written, "#SKONTO#TAGE=10#PROZENT=2,00#");

    const auto late = DiscountsFromTerms("#SKONTO#TAGE=14#PROZENT=2.50#", "99.99", "2026-12-25");
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].amount, "2.50") << "2.49975";
    EXPECT_EQ(late[0].payBy, "2027-01-08");
    // Without an issue date no last day, without an amount due no amount: nothing made up.
    const auto bare = DiscountsFromTerms("#SKONTO#TAGE=14#PROZENT=2.00#", "", "");
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_TRUE(bare[0].readable);
    EXPECT_TRUE(bare[0].base.isEmpty() && bare[0].amount.isEmpty() && bare[0].payBy.isEmpty());
    // An amount given instead of a rate (the structured terms) is taken as given.
    const CashDiscount given = MakeDiscount("10 DAY, 12.34", "10", "", "", "12.34", "500.00", "20261130");
    EXPECT_EQ(given.amount, "12.34");
    EXPECT_EQ(given.payBy, "2026-12-10");
}
