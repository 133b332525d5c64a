#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace invorator {

class XmlDocument;
struct AmountLayout;

__extension__ typedef __int128 Int128;

// One sum of an invoice that does not add up: the rule ("BR-CO-10" … "BR-CO-17",
// "LINE-NET"), where (a line's id, or a VAT category with its rate; empty for the
// document), and the expected and found amounts as decimals with a point.
struct SumFinding
{
    QString rule;
    QString where;
    QString expected;
    QString found;
    friend bool operator==(const SumFinding &, const SumFinding &) = default;
};

// Checks the sums of a CII, ZUGFeRD 1.0 or UBL invoice from its own XML values, exactly,
// where its reader says its amounts stand. Every rule that fails is reported; a rule whose
// amounts the invoice leaves out is not checked. The check binds prefixes of its own to
// its queries.
std::vector<SumFinding> CheckSums(const XmlDocument &doc, const AmountLayout &layout);

// An amount of the XML as an exact decimal: the number of 10^-9 units. Nothing for text
// that is no XML decimal, has more than nine decimals or fifteen whole digits.
class ExactAmount
{
public:
    static std::optional<ExactAmount> parse(const QString &text);
    static ExactAmount units(Int128 units) { return ExactAmount(units); }

    // a × b ÷ c, rounded half away from zero to two decimals; nothing when c is zero or
    // the product is beyond 128 bits.
    static std::optional<ExactAmount> mulDiv(const ExactAmount &a, const ExactAmount &b,
                                             const ExactAmount &c);
    ExactAmount rounded2() const;
    bool isZero() const { return m_units == 0; }
    // The amount with at least two decimals and no trailing zeros beyond them: "-12.50".
    QString toText() const;

    friend ExactAmount operator+(ExactAmount a, ExactAmount b) { return ExactAmount(a.m_units + b.m_units); }
    friend ExactAmount operator-(ExactAmount a, ExactAmount b) { return ExactAmount(a.m_units - b.m_units); }
    friend bool operator==(ExactAmount a, ExactAmount b) { return a.m_units == b.m_units; }
    // Within one unit of the currency (0.01) of each other.
    bool near(ExactAmount other) const;

private:
    explicit ExactAmount(Int128 units = 0) : m_units(units) {}
    Int128 m_units;
};

} // namespace invorator
