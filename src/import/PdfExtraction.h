#pragma once

#include <QByteArray>
#include <QString>

namespace invorator {

// True when the file's content starts like a PDF ("%PDF-"), whatever its name.
bool IsPdfFile(const QString &path);

// The path of the temporary file that receives the XML taken out of a PDF.
QString ExtractedXmlPath();

// Takes the invoice XML out of a ZUGFeRD / Factur-X PDF and writes it to tempFile.
// Returns false, and leaves no tempFile behind, when the PDF carries no invoice.
bool ExtractXmlFromPdf(const QString &pdfPath, const QString &tempFile);

// The same from bytes in memory: the invoice XML, or empty when there is none.
QByteArray ExtractInvoiceXml(const QByteArray &pdf);

} // namespace invorator
