#pragma once

#include <QString>
#include <QStringView>

#include <gmpxx.h>

#include <compare>
#include <optional>
#include <string>

namespace invorator {

struct DecimalRead;

// An exact decimal number of any length: an integer of digits and a scale, the number of
// those digits after the point. Money and quantities are held in it from the XML text to
// the archive; it never passes through binary floating point.
class Decimal
{
public:
    Decimal() = default;
    explicit Decimal(long value) : m_units(value) {}

    // An xs:decimal: an optional sign, digits with an optional point ("12", "-0.5", ".5",
    // "0010.00"), any number of them, white space around it allowed. Anything else, such
    // as "1e3", "NaN", "10,00" or "- 10", is refused with the reason.
    static DecimalRead fromXml(QStringView text);
    // A number from its sign and digit strings (digits only, either may be empty).
    static Decimal fromDigits(bool negative, std::string_view intDigits, std::string_view fracDigits);

    bool isZero() const { return sgn(m_units) == 0; }
    bool isNegative() const { return sgn(m_units) < 0; }
    // Digits after the point as written or computed ("2.50" has 2).
    int scale() const { return m_scale; }

    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b);
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    Decimal abs() const;
    // Rounded half away from zero to `decimals` places (no change when it has fewer).
    Decimal rounded(int decimals) const;
    // a ÷ b rounded half away from zero to `decimals` places; nothing when b is zero.
    static std::optional<Decimal> divided(const Decimal &a, const Decimal &b, int decimals);

    friend bool operator==(const Decimal &a, const Decimal &b) { return compare(a, b) == 0; }
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b)
    {
        return compare(a, b) <=> 0;
    }

    // The digits as a reader of the number sees them: the sign, the whole digits without
    // leading zeros (empty for a number below one) and the digits after the point.
    struct Digits
    {
        bool negative = false;
        std::string whole;
        std::string fraction;
    };
    Digits digits() const;
    // "-1234.50": every digit of the scale; at least `minDecimals` after the point, and
    // trailing zeros beyond those dropped when `trim` is set.
    QString toText(int minDecimals = 0, bool trim = false) const;
    // The double of exactly this value as a reader of it sees it: the double whose shortest
    // text reads back as this number ("0.1" yes; 60 digits, or beyond the range, no).
    std::optional<double> exactDouble() const;

private:
    Decimal(mpz_class units, int scale) : m_units(std::move(units)), m_scale(scale) {}
    static int compare(const Decimal &a, const Decimal &b);
    // The units at a larger scale.
    mpz_class unitsAt(int scale) const;

    mpz_class m_units; // the value is m_units × 10^-m_scale
    int m_scale = 0;
};

// The outcome of reading a text: the number, or why the text is none.
struct DecimalRead
{
    std::optional<Decimal> value;
    QString problem;
    explicit operator bool() const { return value.has_value(); }
};

} // namespace invorator
