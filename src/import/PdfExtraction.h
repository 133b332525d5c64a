#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace invorator {

// True when the file's content starts like a PDF ("%PDF-"), whatever its name.
bool IsPdfFile(const QString &path);

// The invoice XML of one ZUGFeRD / Factur-X PDF in a file of its own in the user's
// private temporary folder, so that imports running at the same time never share one.
// The file is removed when the object goes.
class ExtractedXml
{
public:
    ExtractedXml();
    ~ExtractedXml();
    ExtractedXml(const ExtractedXml &) = delete;
    ExtractedXml &operator=(const ExtractedXml &) = delete;

    // Takes the invoice out of the PDF; false, with no file left, when it carries none.
    [[nodiscard]] bool extract(const QString &pdfPath);
    // The file's path while it exists, else empty.
    QString path() const;

private:
    std::unique_ptr<QTemporaryFile> m_file;
};

// The same from bytes in memory: the invoice XML, or empty when there is none.
QByteArray ExtractInvoiceXml(const QByteArray &pdf);

} // namespace invorator
