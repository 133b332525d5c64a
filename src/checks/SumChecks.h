#pragma once

#include "checks/FindingFlag.h"

#include <QString>

#include <vector>

namespace invorator {

class XmlDocument;
struct AmountLayout;

// One sum of an invoice that does not add up: the rule ("BR-CO-10" … "BR-CO-17",
// "LINE-NET", or "NUMBER" for an amount that is no number), where (a line's id, a VAT
// category with its rate, or the element of a text that is no number; empty for the
// document), and the expected and found amounts as decimals with a point (for "NUMBER"
// the text as written).
struct SumFinding
{
    QString rule;
    QString where;
    QString expected;
    QString found;
    FindingFlag flag = FindingFlag::Fatal;
    friend bool operator==(const SumFinding &, const SumFinding &) = default;
};

// The totals a bookkeeper looks an invoice up by, exactly as its XML writes them (decimals
// with a point; empty when absent or no number): the VAT total in the invoice's currency,
// the amount due and that currency.
struct InvoiceTotals
{
    QString vatTotal;
    QString amountDue;
    QString currency;
};

// Whether any finding is fatal.
bool AnyFatal(const std::vector<SumFinding> &findings);

// Checks the sums of a CII, ZUGFeRD 1.0 or UBL invoice from its own XML values, exactly and
// at any length, where its reader says its amounts stand. Every rule that fails is
// reported; an amount that is present but no xs:decimal is a finding of its own; a rule
// whose amounts the invoice leaves out is not checked. The check binds prefixes of its own
// to its queries. `totals`, when given, receives the invoice's totals read on the way.
std::vector<SumFinding> CheckSums(const XmlDocument &doc, const AmountLayout &layout,
                                  InvoiceTotals *totals = nullptr);

} // namespace invorator
