#include "model/Decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace invorator {

namespace {

mpz_class powerOfTen(int exponent)
{
    // Amounts rarely have more than a few dozen decimals: those powers are made once.
    static const std::array<mpz_class, 64> small = [] {
        std::array<mpz_class, 64> powers;
        powers[0] = 1;
        for (std::size_t i = 1; i < powers.size(); ++i)
            powers[i] = powers[i - 1] * 10;
        return powers;
    }();
    if (exponent < static_cast<int>(small.size()))
        return small[static_cast<std::size_t>(exponent)];
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), 10, static_cast<unsigned long>(exponent));
    return p;
}

bool isXmlSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// q = n ÷ d rounded half away from zero (d ≠ 0).
mpz_class dividedRounded(const mpz_class &n, const mpz_class &d)
{
    mpz_class q, r;
    mpz_tdiv_qr(q.get_mpz_t(), r.get_mpz_t(), n.get_mpz_t(), d.get_mpz_t());
    // At least half of the divisor left: one more away from zero.
    const mpz_class twice = 2 * abs(r);
    if (twice >= abs(d))
        q += (sgn(n) < 0) != (sgn(d) < 0) ? -1 : 1;
    return q;
}

} // namespace

DecimalRead Decimal::fromXml(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isXmlSpace(text[begin]))
        ++begin;
    while (end > begin && isXmlSpace(text[end - 1]))
        --end;
    const QStringView s = text.mid(begin, end - begin);
    if (s.isEmpty())
        return {std::nullopt, QStringLiteral("empty")};
    qsizetype i = 0;
    bool negative = false;
    if (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    std::string whole, fraction;
    for (; i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'); ++i)
        whole += static_cast<char>(s[i].unicode());
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        for (++i; i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'); ++i)
            fraction += static_cast<char>(s[i].unicode());
    }
    if (i != s.size() || (whole.empty() && fraction.empty()))
        return {std::nullopt, QStringLiteral("not a decimal number: \"%1\"").arg(s.left(40))};
    if (fraction.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {std::nullopt, QStringLiteral("too many decimals")};
    return {fromDigits(negative, whole, fraction), {}};
}

Decimal Decimal::fromDigits(bool negative, std::string_view intDigits, std::string_view fracDigits)
{
    mpz_class units;
    if (intDigits.size() + fracDigits.size() <= 18) {
        // The usual amount fits a machine word: no text for the library to read.
        unsigned long long value = 0;
        for (std::string_view part : {intDigits, fracDigits})
            for (char c : part)
                value = value * 10 + static_cast<unsigned long long>(c - '0');
        mpz_import(units.get_mpz_t(), 1, 1, sizeof value, 0, 0, &value);
    } else {
        std::string all;
        all.reserve(intDigits.size() + fracDigits.size());
        all.append(intDigits);
        all.append(fracDigits);
        if (all.find_first_not_of('0') != std::string::npos)
            units.set_str(all, 10);
    }
    if (negative)
        units = -units;
    return Decimal(std::move(units), static_cast<int>(fracDigits.size()));
}

mpz_class Decimal::unitsAt(int scale) const
{
    return scale == m_scale ? m_units : m_units * powerOfTen(scale - m_scale);
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    return Decimal(a.unitsAt(scale) + b.unitsAt(scale), scale);
}

Decimal operator-(const Decimal &a, const Decimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    return Decimal(a.unitsAt(scale) - b.unitsAt(scale), scale);
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    return Decimal(a.m_units * b.m_units, a.m_scale + b.m_scale);
}

Decimal Decimal::abs() const
{
    return Decimal(::abs(m_units), m_scale);
}

Decimal Decimal::rounded(int decimals) const
{
    if (decimals >= m_scale)
        return *this;
    return Decimal(dividedRounded(m_units, powerOfTen(m_scale - decimals)), decimals);
}

std::optional<Decimal> Decimal::divided(const Decimal &a, const Decimal &b, int decimals)
{
    if (b.isZero())
        return std::nullopt;
    // a.u·10^-sa ÷ (b.u·10^-sb) = (a.u·10^(sb+decimals-sa) ÷ b.u)·10^-decimals
    const int shift = b.m_scale + decimals - a.m_scale;
    mpz_class numerator = a.m_units;
    mpz_class denominator = b.m_units;
    if (shift >= 0)
        numerator *= powerOfTen(shift);
    else
        denominator *= powerOfTen(-shift);
    return Decimal(dividedRounded(numerator, denominator), decimals);
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    return cmp(a.unitsAt(scale), b.unitsAt(scale));
}

Decimal::Digits Decimal::digits() const
{
    Digits d;
    d.negative = isNegative();
    std::string all = mpz_class(::abs(m_units)).get_str(10);
    if (all.size() <= static_cast<std::size_t>(m_scale))
        all.insert(0, static_cast<std::size_t>(m_scale) - all.size() + 1, '0');
    const std::size_t whole = all.size() - static_cast<std::size_t>(m_scale);
    d.whole = all.substr(0, whole);
    d.fraction = all.substr(whole);
    d.whole.erase(0, std::min(d.whole.find_first_not_of('0'), d.whole.size()));
    return d;
}

QString Decimal::toText(int minDecimals, bool trim) const
{
    Digits d = digits();
    if (trim)
        while (static_cast<int>(d.fraction.size()) > minDecimals && d.fraction.back() == '0')
            d.fraction.pop_back();
    if (static_cast<int>(d.fraction.size()) < minDecimals)
        d.fraction.append(static_cast<std::size_t>(minDecimals) - d.fraction.size(), '0');
    std::string s = d.negative ? "-" : "";
    s += d.whole.empty() ? "0" : d.whole;
    if (!d.fraction.empty())
        s += '.' + d.fraction;
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::optional<double> Decimal::exactDouble() const
{
    const QByteArray text = toText().toLatin1();
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    std::array<char, 64> shortest{};
    const auto [last, written] =
        std::to_chars(shortest.data(), shortest.data() + shortest.size(), value, std::chars_format::fixed);
    if (written != std::errc())
        return std::nullopt;
    const DecimalRead back =
        fromXml(QString::fromLatin1(shortest.data(), static_cast<qsizetype>(last - shortest.data())));
    if (!back || *back.value != *this)
        return std::nullopt;
    return value;
}

} // namespace invorator
