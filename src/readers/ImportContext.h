#pragma once

#include <QHash>
#include <QString>

namespace invorator {

// What a reader needs to know of the import it serves. The driver owns one per import
// and hands it to the reader it creates.
struct ImportContext
{
    // The pattern amounts are shown with; the UBL and Peppol paths change it once their
    // parties are read, and the steps after that use the new pattern.
    QString numberFormat = QStringLiteral("#,##0.00");
    // The names of the VAT categories (UNCL 5305: S, Z, E, AE, K, G, O, L, M) in the
    // user's language; a code without a name is shown as written.
    QHash<QString, QString> vatCategoryNames;
    // The names of the payment means (UNTDID 4461: 30, 58, 59, ...) in the user's language.
    QHash<QString, QString> paymentMeansNames;
    // The names of the subject codes of notes (UNTDID 4451: AAI, AAK, ADU, ...).
    QHash<QString, QString> subjectCodeNames;
};

} // namespace invorator
