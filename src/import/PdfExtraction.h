#pragma once

#include <QByteArray>
#include <QString>

namespace invorator {

// An invoice file as an import reads it: a PDF (its content starts "%PDF-", whatever its
// name) whole, any other file up to the largest XML document taken as an invoice.
struct InvoiceFile
{
    QByteArray bytes;
    bool pdf = false;
    bool readable = false;
    bool tooLarge = false; // larger than an invoice of its kind can be; nothing was read
    QString problem;       // why it is not readable
};
InvoiceFile ReadInvoiceFile(const QString &path);

// The invoice XML a ZUGFeRD / Factur-X PDF carries, or empty when there is none.
QByteArray ExtractInvoiceXml(const QByteArray &pdf);

} // namespace invorator
