#pragma once

#include <QString>

#include <optional>
#include <string>

namespace invorator {

// A decimal number held as its written digits, so rounding follows the digits of the
// text exactly (2.675 rounds to 2.68, which a double would not).
struct Decimal
{
    bool negative = false;
    std::string intDigits;  // no leading zeros; empty for zero
    std::string fracDigits; // as written

    double toDouble() const;
    static Decimal fromDouble(double value);
    bool isZero() const;
    // The number as an SQL or XML decimal: "-1234.5", "0".
    QString toText() const;
    // Exact sums and differences, whatever the number of digits.
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, Decimal b);
};

// Reads a number under the German convention: optional sign, digits optionally
// grouped by ".", optionally "," and more digits; blanks around it are allowed.
std::optional<Decimal> ParseGermanNumber(const QString &text);
std::optional<double> GermanNumberToDouble(const QString &text);

// Formats with a pattern of "0", "#", "," (grouping) and "." (decimal point); other
// characters are copied. Rounds half away from zero; writes "," and "." the German way.
QString FormatNumber(const Decimal &number, const QString &pattern);
QString FormatNumber(double number, const QString &pattern);
// A text that is a German number is formatted by the pattern; any other text is returned unchanged.
QString FormatText(const QString &text, const QString &pattern);

// The trimmed value, or the default when the value is missing or blank; formatted with
// the pattern when one is given. Only U+0020 blanks are trimmed.
QString NzFormat(const std::optional<QString> &value, const QString &defaultValue,
                 const QString &pattern = {});
// XML decimal text to a number; blank or non-numeric text gives 0.
double XmlAmountToNumber(const QString &text);
// XML decimal text to an exact number: blank text is 0, non-numeric text is no number.
std::optional<Decimal> XmlAmountToDecimal(const QString &text);
// XML decimal text to the shown amount; non-numeric text is shown with "." replaced by ",".
QString FormatXmlAmount(const QString &text, const QString &pattern);
// "20240131" and "2024-01-31" both give "31.01.2024"; other shapes are cut up the same way.
QString FormatXmlDate(const QString &text);

} // namespace invorator
