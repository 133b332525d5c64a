#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace invorator {

// One payment means of an invoice, every text as the invoice writes it.
struct PaymentMeans
{
    QString code;         // BT-81, UNTDID 4461
    QString information;  // BT-82, the invoice's own name for the means
    QString account;      // BT-84 payee account (an IBAN for SEPA), or BT-91 for a direct debit
    QString accountName;  // BT-85
    QString bic;          // BT-86
    QString reference;    // BT-83 remittance information
    QString mandate;      // BT-89
    QString creditorId;   // BT-90
    QString card;         // BT-87
    QString dueDate;      // BT-9, XML date
    QString amount;       // BT-115, XML decimal
    QString currency;     // BT-5
    QString payeeName;    // the name a transfer goes to: BT-59 payee, else BT-27 seller
    QString documentType; // BT-3: a credit note's amount is paid back, not to the payee
};

// The columns of the payment list. The last one holds the text of the transfer QR code,
// which the window draws instead of showing.
namespace PaymentColumn {
enum : int {
    Code,
    Name,
    Iban,
    AccountName,
    Bic,
    Reference,
    Mandate,
    CreditorId,
    Card,
    DueDate,
    Amount,
    Qr,
    Count
};
}

// One cash discount the invoice offers, as written and as worked out. Numbers are xs:decimal
// texts, exact; dates are XML dates (yyyy-mm-dd).
struct CashDiscount
{
    QString written;         // the terms line or the element's values, as the invoice writes them
    bool readable = false;   // false: `written` could not be read as a discount and is shown as it is
    std::optional<int> days; // the days within which the discount may be taken
    QString percent;         // the discount rate as written ("2.00"); empty when only an amount is given
    QString base;            // the amount the rate applies to: as written, else the amount due
    QString amount;          // the discount: percent of the base (or of the amount due), to the cent
    QString payBy;           // the last day to pay with the discount: the start date plus the days
};

// The cash discounts of payment terms in the notation "#SKONTO#TAGE=14#PROZENT=2.00#" with an
// optional "BASISBETRAG=1000.00#", one per line; other lines are free text and ignored. A line
// that starts with "#SKONTO#" but does not keep to that notation is returned unreadable, as
// written. `due` is the amount due (xs:decimal), `issued` the issue date (XML date).
std::vector<CashDiscount> DiscountsFromTerms(const QString &terms, const QString &due, const QString &issued);

// A discount from its parts as written (days, percent, base, an amount given instead of a
// percent), worked out against the amount due from the start date; unreadable when the days
// are no whole number or neither a percent nor an amount can be read.
CashDiscount MakeDiscount(const QString &written, const QString &days, const QString &percent,
                          const QString &base, const QString &givenAmount, const QString &due,
                          const QString &start);

// Whether a document type code (UNTDID 1001) is a credit note of any kind.
bool IsCreditNoteType(const QString &code);

// Whether a means code asks the payer's bank to collect (49 direct debit, 59 SEPA direct debit).
bool IsDirectDebit(const QString &code);

// An account identifier shaped like an IBAN: two letters, two digits, then letters and
// digits, 15 to 34 in all; white space is ignored.
bool LooksLikeIban(const QString &account);
// An IBAN of that shape whose check digits agree (ISO 13616, modulo 97) and lie between
// 02 and 98.
bool IbanValid(const QString &account);
// An IBAN shape in blocks of four ("DE79 0000 0000 1234 5678 90"); anything else as written.
QString GroupIban(const QString &account);
// A BIC of 8 or 11 letters and digits.
bool BicValid(const QString &bic);
// A card number with every character but the last four replaced by "*".
QString MaskCard(const QString &card);

// The text of the European Payments Council's SEPA credit transfer QR code (service tag
// BCD, version 002, UTF-8, SCT) for a credit transfer (58, or 30 to an IBAN) in euro of
// a positive amount due on an invoice (not a credit note); lines joined by "\n", trailing empty lines left
// out. Empty when the means is no such transfer or any datum the code needs is missing or cannot be carried
// faithfully: an IBAN whose check digits fail, a name with no visible character, an amount that is no
// xs:decimal, beyond the code's range or with more than two decimals, a reference with a line break or
// longer than the code takes, a text over 331 bytes in UTF-8. A BIC that is not 8 or 11 letters and
// digits is left out of the code.
QString SepaTransferCode(const PaymentMeans &means);

} // namespace invorator
