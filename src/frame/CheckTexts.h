#pragma once

#include "checks/SumChecks.h"
#include "output/ValidationTexts.h"

#include <QColor>
#include <QHash>
#include <QString>

#include <vector>

namespace invorator {

class SharedState;

// The colours of the check: sums that agree, a warning, a fatal finding.
inline const QColor AgreeColour(0, 128, 0);
inline const QColor WarningColour(200, 100, 0);
inline const QColor FatalColour(255, 0, 0);

// The words that explain the check of sums in the window's language, read once per
// language: a sentence per rule, the flags' names and the status-bar mark's tool tips.
struct CheckTexts
{
    // Rule → sentence; %1 stands for where, %2 for the amount expected, %3 for the one found.
    QHash<QString, QString> sentences;
    QString fatal;        // the name of a fatal finding's flag
    QString warning;      // and of a warning's
    QString allAgree;     // message 62
    QString fatalCount;   // message 63: %1 sums that do not agree
    QString warningCount; // message 70: %1 notes on the amounts
    QString information;  // message 71: the name of an information's flag
    QString valid;        // message 72: the invoice is a valid e-invoice
    QString invalid;      // message 73: not valid, %1 rules broken
    QString validNotes;   // message 74: valid, with %1 notes
    QString line;         // message 75: line %1 of the XML
    QString validating;   // message 76: the validation is running
    ValidationTexts validation;

    static CheckTexts read(const SharedState &state);
};

// A finding as the check page shows it: the flag's name, the amounts in the pattern (the
// text as written for an amount that is no number) and the rule's sentence with both.
struct FindingRow
{
    QString flag;
    QString where;
    QString expected;
    QString found;
    QString sentence;
};
FindingRow DescribeFinding(const CheckTexts &texts, const SumFinding &finding, const QString &pattern);

// The mark's tool tip: every sum agrees, or how many do not and how many notes there are.
QString SumsToolTip(const CheckTexts &texts, const std::vector<SumFinding> &findings);

// A validation finding as the check page shows it: the flag's name, where (the line of
// the XML), the message, and the element as an XPath for the tool tip.
FindingRow DescribeFinding(const CheckTexts &texts, const ValidationFinding &finding);
// How many distinct rules with a fatal finding the validation reports.
int BrokenRules(const ValidationReport &report);
// What the validation says in one sentence: valid, valid with notes, or not valid with the
// number of rules broken.
QString ValidityText(const CheckTexts &texts, const ValidationReport &report);

} // namespace invorator
