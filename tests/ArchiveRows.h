#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <vector>

namespace testing_support {

// Archived invoices written with plain SQL, as a save leaves them: three stored documents
// (the second a real invoice, the first bytes no text file holds) and four versions (row
// ids 1 to 4, in this order). Two versions of Müller's R-100, the
// first replaced; Schmidt's own R-100 with findings; an older save of Kleine's 2026-7
// without SellerKey, AmountDue, check results or document.
struct ArchivedDocument
{
    QString fileName;
    QByteArray bytes;
};
const std::vector<ArchivedDocument> &ArchivedDocuments();

// Writes the rows into an archive made by archive-init; false with a failure reported.
bool FillArchive(QSqlDatabase &db);

} // namespace testing_support
