#include "import/PdfExtraction.h"

#include "services/SharedState.h"

#include <QFile>
#include <QSaveFile>

namespace invorator {

bool IsPdfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(5) == QByteArrayLiteral("%PDF-");
}

QString ExtractedXmlPath()
{
    return UserTempFolder() + QStringLiteral("/zFile.xml");
}

QByteArray ExtractInvoiceXml(const QByteArray &pdf)
{
    // An invoice stored uncompressed: from the XML declaration that directly precedes the
    // root element up to the closing root tag.
    static const QByteArray endMarker = QByteArrayLiteral("</rsm:CrossIndustryInvoice>");
    static const QByteArray rootMarker = QByteArrayLiteral("<rsm:CrossIndustryInvoice");
    static const QByteArray startMarker = QByteArrayLiteral("<?xml version=");
    const qsizetype root = pdf.indexOf(rootMarker);
    if (root < 0)
        return {};
    const qsizetype end = pdf.indexOf(endMarker, root);
    if (end < 0)
        return {};
    const qsizetype start = pdf.lastIndexOf(startMarker, root);
    if (start < 0)
        return {};
    return pdf.mid(start, end + endMarker.size() - start) + QByteArrayLiteral("\r\n");
}

bool ExtractXmlFromPdf(const QString &pdfPath, const QString &tempFile)
{
    if (QFile::exists(tempFile) && !QFile::remove(tempFile))
        return false;
    QFile pdf(pdfPath);
    if (!pdf.open(QIODevice::ReadOnly))
        return false;
    const QByteArray xml = ExtractInvoiceXml(pdf.readAll());
    pdf.close();
    if (xml.isEmpty())
        return false;
    QSaveFile out(tempFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(xml) != xml.size())
        return false;
    return out.commit();
}

} // namespace invorator
