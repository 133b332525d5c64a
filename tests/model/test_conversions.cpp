#include "model/Conversions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace invorator;

struct AmountCase
{
    const char *xml;
    const char *pattern;
    const char *shown;
};

void PrintTo(const AmountCase &c, std::ostream *os)
{
    *os << '"' << c.xml << "\" with \"" << c.pattern << '"';
}

class FormatXmlAmountTest : public ::testing::TestWithParam<AmountCase>
{
};

// Guards the rounding on the written digits (a double would round 2.675 down) and the
// German separators, whatever the pattern writes.
TEST_P(FormatXmlAmountTest, ShowsTheAmountUnderTheGermanConvention)
{
    const AmountCase &c = GetParam();
    EXPECT_EQ(FormatXmlAmount(QString::fromUtf8(c.xml), QString::fromUtf8(c.pattern)),
              QString::fromUtf8(c.shown))
        << c.xml << " with " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatXmlAmountTest,
    ::testing::Values(AmountCase{"2.675", "#,##0.00", "2,68"}, AmountCase{"1.005", "#,##0.00", "1,01"},
                      AmountCase{"-0.5", "#,##0.00", "-0,50"}, AmountCase{"-2.675", "0.00", "-2,68"},
                      AmountCase{"1234567.891", "#,##0.00", "1.234.567,89"},
                      AmountCase{"1234.5", "0.00", "1234,50"}, AmountCase{"1234.5", "0.00 ", "1234,50 "},
                      AmountCase{"19.00", "0", "19"}, AmountCase{"7.5", "0", "8"},
                      AmountCase{"0", "#,##0.00", "0,00"}, AmountCase{"999.995", "#,##0.00", "1.000,00"},
                      AmountCase{"-0.001", "0.00", "0,00"}, AmountCase{"12.3456", "#,##0.0000", "12,3456"},
                      AmountCase{"12.3", "#,##0.000", "12,300"}, AmountCase{"0.5", "#.##", ",5"},
                      AmountCase{"1500", "€ #,##0.00", "€ 1.500,00"},
                      AmountCase{"123456789012345678901.25", "#,##0.0", "123.456.789.012.345.678.901,3"},
                      AmountCase{"", "#,##0.00", ""}, AmountCase{"n/a", "#,##0.00", "n/a"},
                      AmountCase{"1e3", "#,##0.00", "1e3"}, AmountCase{"1.2.3", "0.00", "1,2,3"},
                      AmountCase{" 42 ", "0.00", "42,00"}, AmountCase{"+3", "0.00", "3,00"}));

TEST(Conversions, NzFormatTrimsBlanksAndFallsBackToTheDefault)
{
    EXPECT_EQ(NzFormat(std::nullopt, "--"), "--");
    EXPECT_EQ(NzFormat(QString("  12 "), ""), "12");
    EXPECT_EQ(NzFormat(QString(""), "0"), "0");
    EXPECT_EQ(NzFormat(QString("   "), "0", "0.00"), "0,00");
    EXPECT_EQ(NzFormat(QString("12,5"), "", "0.00"), "12,50");
    EXPECT_EQ(NzFormat(QString("abc"), "", "0.00"), "abc");
    // Only U+0020 counts as a blank: a tab stays part of the value.
    EXPECT_EQ(NzFormat(QString("\tx "), ""), "\tx");
}

TEST(Conversions, XmlAmountToNumberReadsDecimalsAndGivesZeroForAnythingElse)
{
    EXPECT_DOUBLE_EQ(XmlAmountToNumber("1234.56"), 1234.56);
    EXPECT_DOUBLE_EQ(XmlAmountToNumber("-0.5"), -0.5);
    EXPECT_DOUBLE_EQ(XmlAmountToNumber(""), 0);
    EXPECT_DOUBLE_EQ(XmlAmountToNumber("n/a"), 0);
    // After the point becomes a comma the text is read the German way, so a comma stays a decimal comma.
    EXPECT_DOUBLE_EQ(XmlAmountToNumber("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(XmlAmountToNumber(" 7 "), 7);
}

TEST(Conversions, FormatXmlDateCutsTheTextTheStatedWay)
{
    EXPECT_EQ(FormatXmlDate("20240131"), "31.01.2024");
    EXPECT_EQ(FormatXmlDate("2024-01-31"), "31.01.2024");
    EXPECT_EQ(FormatXmlDate(""), "..");
    EXPECT_EQ(FormatXmlDate("2024-01-31T10:00"), "1-.-0.2024");
    EXPECT_EQ(FormatXmlDate("2024"), "..2024");
}

TEST(Conversions, GermanNumbersAreReadBackFromShownTexts)
{
    EXPECT_EQ(GermanNumberToDouble("1.234,50"), 1234.5);
    EXPECT_EQ(GermanNumberToDouble("-2,00"), -2.0);
    EXPECT_EQ(GermanNumberToDouble("19,00 "), 19.0);
    EXPECT_EQ(GermanNumberToDouble(",5"), 0.5);
    EXPECT_FALSE(GermanNumberToDouble(""));
    EXPECT_FALSE(GermanNumberToDouble("1,2,3"));
    EXPECT_FALSE(GermanNumberToDouble("--1"));
    EXPECT_FALSE(GermanNumberToDouble("12."));
    EXPECT_FALSE(GermanNumberToDouble("-"));
}

TEST(Conversions, ComputedSumsRoundLikeTheirShortestDecimal)
{
    EXPECT_EQ(FormatNumber(0.1 + 0.2, "#,##0.00"), "0,30");
    EXPECT_EQ(FormatNumber(119.0 - 100.0, "0.00 "), "19,00 ");
    EXPECT_EQ(FormatNumber(1.005, "0.00"), "1,01");
    EXPECT_EQ(FormatNumber(-1e-9, "0.00"), "0,00");
    EXPECT_EQ(FormatNumber(1e21, "#,##0"), "1.000.000.000.000.000.000.000");
}

// The results must not depend on the machine's or the program's locale.
TEST(Conversions, ResultsDoNotDependOnTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_EQ(FormatXmlAmount("1234.5", "#,##0.00"), "1.234,50");
    EXPECT_DOUBLE_EQ(XmlAmountToNumber("1234.5"), 1234.5);
    QLocale::setDefault(before);
}

// Sums and differences of amounts are exact at any length: a double loses digits past
// about 17 and turns 1.7e308 - (-1.7e308) into infinity.
TEST(Conversions, DecimalArithmeticIsExact)
{
    const auto dec = [](const char *text) {
        return *XmlAmountToDecimal(QString::fromLatin1(text));
    };
    const auto shown = [](const Decimal &d) {
        return FormatNumber(d, "0.##########");
    };
    EXPECT_EQ(shown(dec("119.00") - dec("100.00")), "19");
    EXPECT_EQ(shown(dec("0.1") + dec("0.2")), "0,3");
    EXPECT_EQ(shown(dec("100") - dec("119.5")), "-19,5");
    EXPECT_EQ(shown(dec("-5") - dec("-5")), "0");
    EXPECT_FALSE((dec("-5") - dec("-5")).negative) << "no negative zero";
    EXPECT_EQ(shown(dec("99999999999999999999.99") + dec("0.01")), "100000000000000000000");
    EXPECT_EQ(shown(dec("12345678901234567890.12") - dec("0.02")), "12345678901234567890,1");
    const QString big = "17" + QString(307, '0');
    EXPECT_EQ(shown(dec(big.toLatin1().constData()) - dec(("-" + big).toLatin1().constData())),
              "34" + QString(307, '0'));
    EXPECT_TRUE(XmlAmountToDecimal("  ")->isZero()) << "blank counts as 0";
    EXPECT_FALSE(XmlAmountToDecimal("1e3")) << "not a decimal";
}
