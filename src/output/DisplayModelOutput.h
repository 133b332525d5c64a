#pragma once

#include "import/ImportDriver.h"
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
};

// The invoice as readable text: captioned field groups and aligned tables; red rows marked "!".
QString FormatModelText(const DisplayModel &model, const ImportReport &report);
// The invoice as one JSON object (fields, lists, messages, attachments).
QJsonObject ModelToJson(const DisplayModel &model, const ImportReport &report);

} // namespace invorator
