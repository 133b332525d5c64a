#include "model/Conversions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

using namespace invorator;

// Guards the rounding on the written digits (a double would round 2.675 down), the German
// separators under each pattern the readers use, and text that is no number shown as written.
TEST(Conversions, FormatXmlAmountShowsTheAmountUnderTheGermanConvention)
{
    struct Case
    {
        const char *xml, *pattern, *shown;
    };
    const Case cases[] = {Case{"2.675", "#,##0.00", "2,68"},
                          Case{"-2.675", "0.00", "-2,68"},
                          Case{"1234567.891", "#,##0.00", "1.234.567,89"},
                          Case{"1234.5", "0.00 ", "1234,50 "},
                          Case{"7.5", "0", "8"},
                          Case{"999.995", "#,##0.00", "1.000,00"},
                          Case{"-0.001", "0.00", "0,00"},
                          Case{"", "#,##0.00", ""},
                          Case{"n/a", "#,##0.00", "n/a"},
                          Case{"1e3", "#,##0.00", "1e3"},
                          Case{"1.2.3", "0.00", "1,2,3"},
                          Case{" 42 ", "0.00", "42,00"},
                          Case{"+3", "0.00", "3,00"}};
    for (const auto &c : cases)
        EXPECT_EQ(FormatXmlAmount(QString::fromUtf8(c.xml), QString::fromUtf8(c.pattern)),
                  QString::fromUtf8(c.shown))
            << c.xml << " with " << c.pattern;
    EXPECT_EQ(FormatXmlAmount("123456789012345678901.255", "#,##0.00"), "123.456.789.012.345.678.901,26");
    // The check's amounts keep decimals beyond the pattern, so that 10.001 and 10.00 differ.
    EXPECT_EQ(FormatExactAmount("10.0010", "#,##0.00").value_or("none"), "10,001");
    EXPECT_EQ(FormatExactAmount("-1234.5", "#,##0.00").value_or("none"), "-1.234,50");
    EXPECT_EQ(FormatExactAmount("1.234,50", "#,##0.00").value_or("none"), "none");
}

// The archive stores shown amounts and quantities through this reading: malformed text
// must be refused, never read as another number.
TEST(Conversions, GermanNumbersAreReadBackFromShownTexts)
{
    EXPECT_EQ(GermanNumberToDouble("1.234,50"), 1234.5);
    EXPECT_EQ(GermanNumberToDouble("-2,00"), -2.0);
    EXPECT_EQ(GermanNumberToDouble("19,00 "), 19.0);
    EXPECT_EQ(GermanNumberToDouble(",5"), 0.5);
    for (const char *bad : {"", "1,2,3", "--1", "12.", "-"})
        EXPECT_FALSE(GermanNumberToDouble(bad)) << bad;
}

// The results must not depend on the machine's or the program's locale.
TEST(Conversions, ResultsDoNotDependOnTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_EQ(FormatXmlAmount("1234.5", "#,##0.00"), "1.234,50");
    QLocale::setDefault(before);
}
