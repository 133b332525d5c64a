#pragma once

#include <QString>

namespace invorator {

// What a reader needs to know of the import it serves. The driver owns one per import
// and hands it to the reader it creates.
struct ImportContext
{
    // The pattern amounts are shown with; the UBL and Peppol paths change it once their
    // parties are read, and the steps after that use the new pattern.
    QString numberFormat = QStringLiteral("#,##0.00");
};

} // namespace invorator
