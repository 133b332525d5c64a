#include "model/Payment.h"

#include "model/Conversions.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace invorator {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allAsciiAlnum(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return isAsciiLetter(c) || isAsciiDigit(c); });
}

// The identifier without white space, in capitals: how IBANs and creditor references are compared.
QString compact(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!c.isSpace()) // blanks, no-break spaces, tabs and line breaks alike
            out += c.toUpper();
    return out;
}

// ISO 7064 modulo 97 of an identifier whose first four characters are moved to its end
// and whose letters count as 10 to 35 (IBAN and ISO 11649 creditor reference alike).
int mod97(const QString &compacted)
{
    const QString rearranged = compacted.mid(4) + compacted.left(4);
    int rest = 0;
    for (QChar c : rearranged) {
        const int value = isAsciiDigit(c) ? c.unicode() - '0' : c.unicode() - 'A' + 10;
        rest = (value >= 10 ? rest * 100 : rest * 10) + value;
        rest %= 97;
    }
    return rest;
}

// An ISO 11649 creditor reference: "RF", two check digits, up to 21 letters and digits.
bool isCreditorReference(const QString &compacted)
{
    if (compacted.size() < 5 || compacted.size() > 25 || !compacted.startsWith(QLatin1String("RF")) ||
        !allAsciiAlnum(compacted))
        return false;
    return isAsciiDigit(compacted[2]) && isAsciiDigit(compacted[3]) && mod97(compacted) == 1;
}

// Whether a reader sees anything of the text: a letter, digit, punctuation mark or symbol,
// not only blanks, control or format characters (a zero-width space) and lone marks.
bool hasVisibleCharacter(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        switch (QChar::category(c)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
            break;
        default:
            return true;
        }
    }
    return false;
}

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return true;
    return false;
}

// "EUR" and the amount with a point and two decimals, or empty when the code cannot carry
// it: no xs:decimal, not positive, more than two decimals, or beyond 999 999 999.99.
QString sepaAmount(const QString &xmlAmount)
{
    const DecimalRead read = Decimal::fromXml(xmlAmount);
    if (!read || read.value->isNegative() || read.value->isZero())
        return {};
    const Decimal &amount = *read.value;
    if (amount.rounded(2) != amount || amount.digits().whole.size() > 9)
        return {};
    return QStringLiteral("EUR") + amount.toText(2, true);
}

// An XML date ("20261207", "2026-12-07", also with a time after it), or nothing.
std::optional<QDate> xmlDate(const QString &text)
{
    const QString t = text.trimmed();
    QDate date = QDate::fromString(t.left(10), Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(t.left(8), QStringLiteral("yyyyMMdd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<Decimal> exact(const QString &text)
{
    return Decimal::fromXml(text).value;
}

bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), isAsciiDigit);
}

} // namespace

CashDiscount MakeDiscount(const QString &written, const QString &days, const QString &percent,
                          const QString &base, const QString &givenAmount, const QString &due,
                          const QString &start)
{
    CashDiscount d;
    d.written = written;
    const QString dayText = days.trimmed();
    const auto rate = exact(percent);
    const auto given = exact(givenAmount);
    const auto baseValue = exact(base);
    // A rate is read only between 0 and 100; an amount only when it is not below zero. Days
    // beyond four digits are no term of payment.
    const bool rateOk = rate && !rate->isNegative() && *rate <= Decimal(100);
    const bool givenOk = given && !given->isNegative();
    if (!allDigits(dayText) || dayText.size() > 4 || (!percent.isEmpty() && !rateOk) ||
        (!givenAmount.isEmpty() && !givenOk) || (percent.isEmpty() && givenAmount.isEmpty()) ||
        (!base.isEmpty() && (!baseValue || baseValue->isNegative())))
        return d;
    d.readable = true;
    d.days = dayText.toInt();
    d.percent = percent.trimmed();
    const auto of = base.isEmpty() ? exact(due) : baseValue;
    if (of)
        d.base = base.isEmpty() ? due.trimmed() : base.trimmed();
    if (givenOk) {
        d.amount = givenAmount.trimmed();
    } else if (of) {
        if (const auto amount = Decimal::divided(*of * *rate, Decimal(100), 2))
            d.amount = amount->toText(2);
    }
    if (const auto from = xmlDate(start))
        d.payBy = from->addDays(*d.days).toString(Qt::ISODate);
    return d;
}

std::vector<CashDiscount> DiscountsFromTerms(const QString &terms, const QString &due, const QString &issued)
{
    static const QLatin1String mark("#SKONTO#");
    std::vector<CashDiscount> discounts;
    for (const QString &raw : terms.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (!line.startsWith(mark))
            continue;
        // "TAGE=14#PROZENT=2.00#" and an optional "BASISBETRAG=1000.00#", in this order.
        QStringList parts = line.mid(mark.size()).split(QLatin1Char('#'));
        QString values[3];
        const char *keys[] = {"TAGE=", "PROZENT=", "BASISBETRAG="};
        bool ok = parts.size() >= 3 && parts.size() <= 4 && parts.last().isEmpty();
        for (qsizetype i = 0; ok && i + 1 < parts.size(); ++i) {
            ok = parts[i].startsWith(QLatin1String(keys[i])) && parts[i].size() > qsizetype(strlen(keys[i]));
            if (ok)
                values[i] = parts[i].mid(qsizetype(strlen(keys[i])));
        }
        // Numbers of the notation are plain: digits with a point, no sign and no blanks.
        const QString plain = values[0] + values[1] + values[2];
        ok = ok && std::all_of(plain.cbegin(), plain.cend(),
                               [](QChar c) { return isAsciiDigit(c) || c == QLatin1Char('.'); });
        CashDiscount d;
        if (ok)
            d = MakeDiscount(line, values[0], values[1], values[2], QString(), due, issued);
        d.written = line;
        discounts.push_back(d);
    }
    return discounts;
}

bool IsCreditNoteType(const QString &code)
{
    static const QStringList creditNotes = {
        QStringLiteral("81"),  QStringLiteral("83"),  QStringLiteral("261"), QStringLiteral("262"),
        QStringLiteral("296"), QStringLiteral("308"), QStringLiteral("381"), QStringLiteral("396"),
        QStringLiteral("420"), QStringLiteral("458"), QStringLiteral("532")};
    return creditNotes.contains(code.trimmed());
}

bool IsDirectDebit(const QString &code)
{
    const QString c = code.trimmed();
    return c == QLatin1String("49") || c == QLatin1String("59");
}

bool LooksLikeIban(const QString &account)
{
    const QString iban = compact(account);
    if (iban.size() < 15 || iban.size() > 34)
        return false;
    if (!isAsciiLetter(iban[0]) || !isAsciiLetter(iban[1]) || !isAsciiDigit(iban[2]) ||
        !isAsciiDigit(iban[3]))
        return false;
    return allAsciiAlnum(iban);
}

bool IbanValid(const QString &account)
{
    if (!LooksLikeIban(account))
        return false;
    const QString iban = compact(account);
    // 00, 01 and 99 pass the modulus as 97, 98 and 02 do, but no IBAN carries them.
    const int check = iban.mid(2, 2).toInt();
    return check >= 2 && check <= 98 && mod97(iban) == 1;
}

QString GroupIban(const QString &account)
{
    if (!LooksLikeIban(account))
        return account;
    const QString iban = compact(account);
    QStringList blocks;
    for (qsizetype at = 0; at < iban.size(); at += 4)
        blocks << iban.mid(at, 4);
    return blocks.join(QLatin1Char(' '));
}

bool BicValid(const QString &bic)
{
    const QString b = bic.trimmed();
    return (b.size() == 8 || b.size() == 11) && allAsciiAlnum(b);
}

QString MaskCard(const QString &card)
{
    const QString c = card.trimmed();
    if (c.size() <= 4)
        return c;
    return QString(c.size() - 4, QLatin1Char('*')) + c.right(4);
}

QString SepaTransferCode(const PaymentMeans &means)
{
    const QString code = means.code.trimmed();
    if (code != QLatin1String("58") && code != QLatin1String("30"))
        return {};
    if (IsCreditNoteType(means.documentType) || means.currency.trimmed() != QLatin1String("EUR") ||
        !IbanValid(means.account))
        return {};
    const QString amount = sepaAmount(means.amount);
    if (amount.isEmpty())
        return {};
    // The beneficiary's name: the account's own name, else the payee's. The code takes 70
    // characters; a longer name is cut, not refused, as banks compare its beginning.
    QString name = (means.accountName.trimmed().isEmpty() ? means.payeeName : means.accountName).trimmed();
    if (!hasVisibleCharacter(name) || hasControlCharacter(name))
        return {};
    if (name.size() > 70)
        name.truncate(name[69].isHighSurrogate() ? 69 : 70);
    // A creditor reference goes into the structured field, any other reference into the
    // unstructured one. A line break would start another field of the code.
    const QString reference = means.reference.trimmed();
    if (hasControlCharacter(reference) || reference.size() > 140)
        return {};
    const bool structured = isCreditorReference(compact(reference));
    QStringList lines = {QStringLiteral("BCD"),
                         QStringLiteral("002"),
                         QStringLiteral("1"),
                         QStringLiteral("SCT"),
                         BicValid(means.bic) ? means.bic.trimmed().toUpper() : QString(),
                         name,
                         compact(means.account),
                         amount,
                         QString(), // purpose code
                         structured ? compact(reference) : QString(),
                         structured ? QString() : reference};
    while (lines.back().isEmpty())
        lines.removeLast();
    const QString text = lines.join(QLatin1Char('\n'));
    // The guidelines allow 331 bytes in all.
    return text.toUtf8().size() <= 331 ? text : QString();
}

} // namespace invorator
