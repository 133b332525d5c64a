#pragma once

#include "checks/SumChecks.h"
#include "import/ImportDriver.h"
#include "localisation/TranslateModel.h"
#include "model/DisplayModel.h"
#include "services/MessageSink.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace invorator {

// What one import produced, for printing: the model plus the import's own results.
struct ImportReport
{
    InvoiceKind kind = InvoiceKind::Auto;
    QString numberFormat;
    std::vector<Message> messages;
    QStringList attachments;
    SectionTitles titles;
    std::vector<SumFinding> checks;
};

// The findings of the check of sums, one line each, or one line saying all sums agree.
QString FormatFindings(const std::vector<SumFinding> &findings);

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
