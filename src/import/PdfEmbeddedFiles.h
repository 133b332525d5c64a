#pragma once

#include <QByteArray>

namespace invorator {

// The invoice among the files the PDF's name tree declares: one of the usual names first,
// else the first embedded XML that `isInvoice` accepts. A ZUGFeRD 1.0 invoice is taken
// only when the PDF carries no later one beside it. Empty when the PDF declares none or
// cannot be read. Only this needs qpdf, so that a program reading no PDF does without it.
QByteArray EmbeddedInvoiceXml(const QByteArray &pdf, bool (*isInvoice)(const QByteArray &xml));

// The same as the module libinvorator_pdf.so gives it.
struct PdfModule
{
    decltype(&EmbeddedInvoiceXml) embeddedInvoiceXml;
};

} // namespace invorator
