#pragma once

#include "checks/SumChecks.h"
#include "checks/Validation.h"
#include "import/ImportDriver.h"
#include "localisation/TranslateModel.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace invorator {

class SharedState;

// What one import produced, for printing: the model plus the import's own results.
struct ImportReport
{
    InvoiceKind kind = InvoiceKind::Auto;
    QString numberFormat;
    std::vector<Message> messages;
    QStringList attachments;
    SectionTitles titles;
    std::vector<SumFinding> checks;
    // The validation's findings with the message of each, in the same order; no member
    // "validation" when the invoice was not validated.
    std::optional<ValidationReport> validation;
    QStringList validationMessages;
};

// The validation of one file as text: whether it is valid, then each finding on a line of
// its own (flag, rule, line, message, location).
QString FormatValidation(const SharedState &state, const ValidationReport &report,
                         const QStringList &messages);
// The validation as one JSON object {"valid", "findings": [{"flag", "line", "location",
// "message", "rule"}]} on one line, with a member "file" when `file` is given.
QByteArray ValidationToJsonText(const ValidationReport &report, const QStringList &messages,
                                const QString &file = {});

// The findings of the check of sums, one line each, or one line saying all sums agree, in
// the state's language.
QString FormatFindings(const SharedState &state, const std::vector<SumFinding> &findings);

// A cash discount on one line in the words of `titles` ("14 Tage, 2,00 % von 518,99 = 10,38,
// zahlbar bis 20.08.2013"), amounts in the number format; an unreadable one as written.
QString DiscountLine(const CashDiscount &discount, const SectionTitles &titles, const QString &numberFormat);

// The invoice as readable text: captioned field groups and aligned tables; red rows marked "!".
QString FormatModelText(const DisplayModel &model, const ImportReport &report);
// The invoice as one JSON document (fields with their captions, lists with their
// headers, the document type's code and name, messages, attachments, the findings of
// the check of sums), indented by
// four blanks with the members in name order, in UTF-8. Written directly rather than
// through a JSON object: a ten-thousand-line invoice would otherwise spend more time in
// building that object than in reading the XML.
QByteArray ModelToJsonText(const DisplayModel &model, const ImportReport &report);
// The same as an object, for comparing.
QJsonObject ModelToJson(const DisplayModel &model, const ImportReport &report);

} // namespace invorator
