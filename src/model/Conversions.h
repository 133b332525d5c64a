#pragma once

#include "model/Decimal.h"

#include <QString>

#include <optional>

namespace invorator {

// Reads a number under the German convention: optional sign, digits optionally
// grouped by ".", optionally "," and more digits; blanks around it are allowed.
std::optional<Decimal> ParseGermanNumber(const QString &text);
std::optional<double> GermanNumberToDouble(const QString &text);
// The nearest double, for the places that take one (layout, not money).
double ToDouble(const Decimal &number);

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
// An xs:decimal formatted by the pattern, keeping every digit it has after the point
// beyond the pattern's (trailing zeros aside), so that two amounts that differ never look
// alike; nothing for a text that is no xs:decimal.
std::optional<QString> FormatExactAmount(const QString &text, const QString &pattern);
// "20240131" and "2024-01-31" both give "31.01.2024"; other shapes are cut up the same way.
QString FormatXmlDate(const QString &text);

} // namespace invorator
