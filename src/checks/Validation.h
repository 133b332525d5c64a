#pragma once

#include "checks/FindingFlag.h"
#include "checks/SumChecks.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace invorator {

class XmlDocument;

// One rule an invoice breaks: the rule's id ("BR-16", "BR-CO-15", "CII-SR-001", "BR-DE-1";
// "XSD" for the XML Schema, "PROFILE" and "ZUGFERD1" for the notes on what was validated),
// its flag, the element concerned as an XPath with the document's prefixes and its line,
// and the values the message names (for "XSD" the schema validator's own words).
struct ValidationFinding
{
    QString rule;
    FindingFlag flag = FindingFlag::Fatal;
    QString location;
    int line = 0;
    QStringList values;
    friend bool operator==(const ValidationFinding &, const ValidationFinding &) = default;
};

// What a validation found, fatal findings first (after the note on the profile, which
// explains them), each group in document order.
struct ValidationReport
{
    bool xrechnung = false; // the XRechnung rules were applied too
    std::vector<ValidationFinding> findings;
    bool valid() const;
};

// Validates a loaded invoice: the XML Schema of its syntax, the EN 16931 rules of CII or
// UBL (Invoice and CreditNote) and, when its rules identifier names XRechnung, the
// XRechnung rules. A ZUGFeRD 1.0 document gets the structural rules only and a note that
// EN 16931 does not apply. `validationFolder` holds the schemas and code lists; they are
// read once per process. `sums`, when given, are the findings the check of sums made on
// this document (as the import does), so that the calculation rules need not repeat it.
ValidationReport ValidateInvoice(const XmlDocument &doc, const QString &validationFolder,
                                 const std::vector<SumFinding> *sums = nullptr);

// The program folder's validation data.
QString ValidationFolder(const QString &programFolder);

} // namespace invorator
