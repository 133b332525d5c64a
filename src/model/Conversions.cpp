#include "model/Conversions.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace invorator {

namespace {

QString trimBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && s.at(end - 1) == QLatin1Char(' '))
        --end;
    return s.mid(begin, end - begin);
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

void stripLeadingZeros(std::string &digits)
{
    const auto first = digits.find_first_not_of('0');
    digits.erase(0, first == std::string::npos ? digits.size() : first);
}

struct Pattern
{
    QString prefix;
    QString suffix;
    bool grouping = false;
    int minInt = 0;
    int minFrac = 0;
    int maxFrac = 0;
    bool valid = false;
};

Pattern parsePattern(const QString &pattern)
{
    Pattern p;
    const auto isPlaceholder = [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('#');
    };
    const auto isNumberChar = [&](QChar c) {
        return isPlaceholder(c) || c == QLatin1Char('.') || c == QLatin1Char(',');
    };
    qsizetype firstPh = -1;
    qsizetype lastPh = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (isPlaceholder(pattern.at(i))) {
            if (firstPh < 0)
                firstPh = i;
            lastPh = i;
        }
    if (firstPh < 0)
        return p;
    // The number section reaches left over a leading decimal point ("#.##" or ".00").
    qsizetype begin = firstPh;
    while (begin > 0 && isNumberChar(pattern.at(begin - 1)))
        --begin;
    const qsizetype end = lastPh + 1;
    p.prefix = pattern.left(begin);
    p.suffix = pattern.mid(end);
    const QString number = pattern.mid(begin, end - begin);
    const qsizetype point = number.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? number : number.left(point);
    const QString fracPart = point < 0 ? QString() : number.mid(point + 1);
    p.grouping = intPart.contains(QLatin1Char(','));
    for (QChar c : intPart)
        if (c == QLatin1Char('0'))
            ++p.minInt;
    for (QChar c : fracPart) {
        if (c == QLatin1Char('0')) {
            ++p.minFrac;
            ++p.maxFrac;
        } else if (c == QLatin1Char('#')) {
            ++p.maxFrac;
        }
    }
    // A "0" after a "#" in the fraction still counts as shown: keep minFrac <= maxFrac.
    p.valid = true;
    return p;
}

// Amounts are formatted with one or two patterns over and over; keep the last ones parsed.
const Pattern &cachedPattern(const QString &pattern)
{
    thread_local std::array<std::pair<QString, Pattern>, 4> cache;
    thread_local std::size_t next = 0;
    for (const auto &[text, parsed] : cache)
        if (parsed.valid && text == pattern)
            return parsed;
    auto &slot = cache[next];
    next = (next + 1) % cache.size();
    slot = {pattern, parsePattern(pattern)};
    return slot.second;
}

// Rounds to `decimals` fraction digits, half away from zero (the sign is kept apart).
void roundDigits(std::string &intDigits, std::string &fracDigits, int decimals)
{
    if (static_cast<int>(fracDigits.size()) <= decimals) {
        return;
    }
    const bool up = fracDigits[static_cast<std::size_t>(decimals)] >= '5';
    fracDigits.resize(static_cast<std::size_t>(decimals));
    if (!up)
        return;
    std::string all = intDigits + fracDigits;
    int i = static_cast<int>(all.size()) - 1;
    for (; i >= 0; --i) {
        if (all[static_cast<std::size_t>(i)] == '9') {
            all[static_cast<std::size_t>(i)] = '0';
        } else {
            ++all[static_cast<std::size_t>(i)];
            break;
        }
    }
    if (i < 0)
        all.insert(all.begin(), '1');
    const std::size_t intLen = all.size() - fracDigits.size();
    intDigits = all.substr(0, intLen);
    fracDigits = all.substr(intLen);
}

} // namespace

double ToDouble(const Decimal &number)
{
    const std::string s = number.toText().toStdString();
    double value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

namespace {

// The shortest text that reads back as the same double, in fixed notation: 1.005 stays 1.005.
Decimal fromDouble(double value)
{
    std::array<char, 512> buf{};
    auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    if (ec != std::errc())
        return Decimal();
    std::string_view s(buf.data(), static_cast<std::size_t>(ptr - buf.data()));
    const bool negative = !s.empty() && s[0] == '-';
    if (negative)
        s.remove_prefix(1);
    const auto point = s.find('.');
    return Decimal::fromDigits(negative, s.substr(0, point),
                               point == std::string_view::npos ? std::string_view() : s.substr(point + 1));
}

} // namespace

namespace {

// Reads a German number as its digits; with pointIsComma every "." counts as the decimal
// comma, which is how XML decimal text reads once its points have become commas. The
// display formats these digits directly: no arithmetic is needed to show a number.
std::optional<Decimal::Digits> parseDigits(QStringView text, bool pointIsComma)
{
    const QStringView s = text.trimmed();
    const QChar comma = QLatin1Char(',');
    const auto at = [&](qsizetype i) {
        const QChar c = s.at(i);
        return pointIsComma && c == QLatin1Char('.') ? comma : c;
    };
    qsizetype i = 0;
    bool negative = false;
    std::string intDigits, fracDigits;
    if (i < s.size() && (at(i) == QLatin1Char('-') || at(i) == QLatin1Char('+'))) {
        negative = at(i) == QLatin1Char('-');
        ++i;
    }
    bool anyDigit = false;
    bool lastWasDigit = false;
    for (; i < s.size(); ++i) {
        const QChar c = at(i);
        if (isDigit(c)) {
            intDigits += static_cast<char>(c.unicode());
            anyDigit = lastWasDigit = true;
        } else if (c == QLatin1Char('.') && lastWasDigit && i + 1 < s.size() && isDigit(at(i + 1))) {
            lastWasDigit = false; // thousands separator
        } else {
            break;
        }
    }
    if (i < s.size() && at(i) == comma) {
        for (++i; i < s.size() && isDigit(at(i)); ++i) {
            fracDigits += static_cast<char>(at(i).unicode());
            anyDigit = true;
        }
    }
    if (i != s.size() || !anyDigit)
        return std::nullopt;
    stripLeadingZeros(intDigits);
    return Decimal::Digits{negative, std::move(intDigits), std::move(fracDigits)};
}

std::optional<Decimal> parseNumber(QStringView text, bool pointIsComma)
{
    const auto d = parseDigits(text, pointIsComma);
    if (!d)
        return std::nullopt;
    return Decimal::fromDigits(d->negative, d->whole, d->fraction);
}

} // namespace

std::optional<Decimal> ParseGermanNumber(const QString &text)
{
    return parseNumber(text, false);
}

std::optional<double> GermanNumberToDouble(const QString &text)
{
    const auto d = ParseGermanNumber(text);
    if (!d)
        return std::nullopt;
    return ToDouble(*d);
}

namespace {

// Formats by the pattern with at most `maxFrac` digits after the point.
QString format(Decimal::Digits digitsOf, const Pattern &p, int maxFrac)
{
    std::string intDigits = std::move(digitsOf.whole);
    std::string fracDigits = std::move(digitsOf.fraction);
    const bool negative = digitsOf.negative;
    if (!p.valid) {
        // No digit placeholder: show the number as it stands.
        roundDigits(intDigits, fracDigits, 15);
        while (!fracDigits.empty() && fracDigits.back() == '0')
            fracDigits.pop_back();
        QString out = QString::fromStdString(intDigits.empty() ? "0" : intDigits);
        if (!fracDigits.empty())
            out += QLatin1Char(',') + QString::fromStdString(fracDigits);
        return (negative && out != QLatin1String("0") ? QStringLiteral("-") : QString()) + out;
    }
    roundDigits(intDigits, fracDigits, maxFrac);
    while (static_cast<int>(fracDigits.size()) > p.minFrac && !fracDigits.empty() && fracDigits.back() == '0')
        fracDigits.pop_back();
    while (static_cast<int>(fracDigits.size()) < p.minFrac)
        fracDigits += '0';
    stripLeadingZeros(intDigits);
    const bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
    while (static_cast<int>(intDigits.size()) < p.minInt)
        intDigits.insert(intDigits.begin(), '0');
    std::string digits;
    digits.reserve(intDigits.size() * 4 / 3 + fracDigits.size() + 2);
    if (negative && !isZero)
        digits += '-';
    for (std::size_t k = 0; k < intDigits.size(); ++k) {
        if (p.grouping && k > 0 && (intDigits.size() - k) % 3 == 0)
            digits += '.';
        digits += intDigits[k];
    }
    if (!fracDigits.empty()) {
        digits += ',';
        digits += fracDigits;
    }
    QString out;
    out.reserve(p.prefix.size() + static_cast<qsizetype>(digits.size()) + p.suffix.size());
    out += p.prefix;
    out += QLatin1String(digits.data(), static_cast<qsizetype>(digits.size()));
    out += p.suffix;
    return out;
}

} // namespace

QString FormatNumber(const Decimal &number, const QString &pattern)
{
    const Pattern &p = cachedPattern(pattern);
    return format(number.digits(), p, p.maxFrac);
}

QString FormatNumber(double number, const QString &pattern)
{
    return FormatNumber(fromDouble(number), pattern);
}

QString FormatText(const QString &text, const QString &pattern)
{
    auto digits = parseDigits(text, false);
    if (!digits)
        return text;
    const Pattern &p = cachedPattern(pattern);
    return format(std::move(*digits), p, p.maxFrac);
}

QString NzFormat(const std::optional<QString> &value, const QString &defaultValue, const QString &pattern)
{
    if (!value || trimBlanks(*value).isEmpty())
        return pattern.isEmpty() ? trimBlanks(defaultValue) : FormatText(defaultValue, pattern);
    const QString t = trimBlanks(*value);
    return pattern.isEmpty() ? t : FormatText(t, pattern);
}

double XmlAmountToNumber(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    return GermanNumberToDouble(NzFormat(t, QStringLiteral("0"))).value_or(0.0);
}

std::optional<Decimal> XmlAmountToDecimal(const QString &text)
{
    if (trimBlanks(text).isEmpty())
        return Decimal();
    return parseNumber(text, true);
}

QString FormatXmlAmount(const QString &text, const QString &pattern)
{
    if (auto digits = parseDigits(text, true)) {
        const Pattern &p = cachedPattern(pattern);
        return format(std::move(*digits), p, p.maxFrac);
    }
    QString t = text;
    return t.replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<QString> FormatExactAmount(const QString &text, const QString &pattern)
{
    const DecimalRead read = Decimal::fromXml(text);
    if (!read.value)
        return std::nullopt;
    const Pattern &p = cachedPattern(pattern);
    std::string fraction = read.value->digits().fraction;
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    return format(read.value->digits(), p, std::max(p.maxFrac, static_cast<int>(fraction.size())));
}

QString FormatXmlDate(const QString &text)
{
    QString t = text;
    if (t.size() == 10)
        t.remove(QLatin1Char('-'));
    return t.mid(6, 2) + QLatin1Char('.') + t.mid(4, 2) + QLatin1Char('.') + t.mid(0, 4);
}

} // namespace invorator
