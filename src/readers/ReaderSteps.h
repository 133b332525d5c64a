#pragma once

#include "model/Conversions.h"
#include "model/DisplayModel.h"
#include "model/Payment.h"
#include "services/XmlNode.h"

#include <QHash>
#include <QString>

#include <optional>

// The single steps every reader is made of: a value that was found is written, a
// missing one leaves its target as it was.
namespace invorator::steps {

inline void put(Field &field, const std::optional<QString> &text)
{
    if (text)
        field.setText(*text);
}

inline void putCell(ListView &lv, int row, int column, const std::optional<QString> &text)
{
    if (text)
        lv.setCell(row, column, *text);
}

// The VAT category of a breakdown row after its amounts: code, name, and the reason and
// reason code of an exemption, so that two 0 % rows (zero-rated, exempt) can be told apart.
inline void putVatCategory(ListView &lv, int row, const std::optional<QString> &code,
                           const std::optional<QString> &reason, const std::optional<QString> &reasonCode,
                           const QHash<QString, QString> &names)
{
    using namespace VatColumn;
    putCell(lv, row, Category, code); // BT-118
    if (code)
        lv.setCell(row, CategoryName, names.value(code->trimmed()));
    putCell(lv, row, ExemptionReason, reason);   // BT-120
    putCell(lv, row, ExemptionCode, reasonCode); // BT-121
}

// One payment means as a row of the payment list: the code and its name (the invoice's own
// name for a code the list does not know), the account (an IBAN in blocks of four), the mandate and creditor
// identifier of a direct debit, the card masked, and the text of the transfer QR code when one can be drawn.
inline void putPaymentMeans(ListView &lv, const PaymentMeans &means, const QHash<QString, QString> &names,
                            const QString &numberFormat)
{
    using namespace PaymentColumn;
    const int row = lv.addRow(means.code);
    const QString name = names.value(means.code.trimmed());
    lv.setCell(row, Name, name.isEmpty() ? means.information : name);
    lv.setCell(row, Iban, GroupIban(means.account));
    // Red: an IBAN whose check digits fail, or a SEPA means whose account is no IBAN at all.
    const bool sepa =
        means.code.trimmed() == QLatin1String("58") || means.code.trimmed() == QLatin1String("59");
    if (!IbanValid(means.account) &&
        (LooksLikeIban(means.account) || (sepa && !means.account.trimmed().isEmpty())))
        lv.setCellColor(row, Iban, ColorRed);
    lv.setCell(row, AccountName, means.accountName);
    lv.setCell(row, Bic, means.bic);
    lv.setCell(row, Reference, means.reference);
    if (IsDirectDebit(means.code)) {
        lv.setCell(row, Mandate, means.mandate);
        lv.setCell(row, CreditorId, means.creditorId);
    }
    lv.setCell(row, Card, MaskCard(means.card));
    if (!means.dueDate.trimmed().isEmpty())
        lv.setCell(row, DueDate, FormatXmlDate(means.dueDate.trimmed()));
    if (!means.amount.trimmed().isEmpty())
        lv.setCell(row, Amount,
                   (FormatXmlAmount(means.amount, numberFormat).trimmed() + QLatin1Char(' ') +
                    means.currency.trimmed())
                       .trimmed());
    lv.setCell(row, Qr, SepaTransferCode(means));
}

inline std::optional<QString> amount(const std::optional<QString> &text, const QString &pattern)
{
    if (!text)
        return std::nullopt;
    return FormatXmlAmount(*text, pattern);
}

// One amount of the totals section, as the totals step sees it: absent or blank counts
// as 0, a decimal is held exactly, any other text is no number.
class Total
{
public:
    Total(const XmlNode &node, const char *xpath) : m_text(node.textOf(xpath).value_or(QString()))
    {
        m_value = XmlAmountToDecimal(m_text);
    }
    // Every digit as written, rounded by the pattern; text that is no number as written.
    QString shown(const QString &pattern) const
    {
        return m_value ? FormatNumber(*m_value, pattern) : FormatXmlAmount(m_text, pattern);
    }
    // The exact difference, or nothing to show when either side is no number.
    friend QString difference(const Total &a, const Total &b, const QString &pattern)
    {
        return a.m_value && b.m_value ? FormatNumber(*a.m_value - *b.m_value, pattern) : QString();
    }

private:
    QString m_text;
    std::optional<Decimal> m_value;
};

// The amounts of a totals section and how the totals step shows them: the tax (total
// with VAT less total without) and the amount due beside the header, and every total on
// the totals page.
struct Totals
{
    Total lines, net, gross, allowances, charges, prepaid, rounding, due;

    void put(DisplayModel &model, const QString &pattern) const
    {
        model[Rd::TaxTotal].setText(difference(gross, net, pattern));
        model[Rd::FinalAmount].setText(due.shown(pattern));
        model[So::LineTotal].setText(lines.shown(pattern));
        model[So::NetTotal].setText(net.shown(pattern));
        model[So::GrossTotal].setText(gross.shown(pattern));
        model[So::Allowances].setText(allowances.shown(pattern));
        model[So::Charges].setText(charges.shown(pattern));
        model[So::Prepaid].setText(prepaid.shown(pattern));
        model[So::Rounding].setText(rounding.shown(pattern));
        model[So::DuePayable].setText(due.shown(pattern));
    }

    // The currency of the amounts, beside the tax and the amount due.
    static void putCurrency(DisplayModel &model, const std::optional<QString> &currency)
    {
        steps::put(model[Rd::TaxCurrency], currency);
        steps::put(model[Rd::FinalCurrency], currency);
    }
};

// The colour of a line by its shown quantity: red when it is below zero, and when it is
// no number at all if `redWithoutQuantity`.
inline int quantityColor(const QString &shownQuantity, bool redWithoutQuantity)
{
    const auto quantity = ParseGermanNumber(shownQuantity);
    if (!quantity)
        return redWithoutQuantity ? ColorRed : ColorBlack;
    return quantity->isNegative() ? ColorRed : ColorBlack;
}

} // namespace invorator::steps
