#include "import/PdfExtraction.h"

#include "import/PdfEmbeddedFiles.h"
#include "services/InvoiceNamespaces.h"
#include "services/SharedState.h"
#include "services/XmlDocument.h"

#include <QFile>
#include <QTemporaryFile>

namespace invorator {

namespace {

// PDFs larger than this are not read into memory.
constexpr qint64 maxPdfSize = 512LL * 1024 * 1024;

bool isInvoiceRoot(const QByteArray &xml)
{
    XmlDocument doc;
    if (!doc.loadXml(xml))
        return false;
    const QString uri = doc.documentElement().namespaceUri();
    const auto is = [&uri](std::string_view ns) {
        return uri == QLatin1String(ns.data(), static_cast<qsizetype>(ns.size()));
    };
    return is(ns::cii) || is(ns::zugferd1) || uri == ns::ubl("Invoice-2") || uri == ns::ubl("CreditNote-2");
}

// An invoice stored uncompressed: from the XML declaration that directly precedes the
// root element up to the closing root tag. Only a complete, well-formed invoice counts.
QByteArray searchPlainInvoice(const QByteArray &pdf, const QByteArray &rootName)
{
    const QByteArray endMarker = "</" + rootName + '>';
    const QByteArray rootMarker = '<' + rootName;
    static const QByteArray startMarker = QByteArrayLiteral("<?xml version=");
    const qsizetype root = pdf.indexOf(rootMarker);
    if (root < 0)
        return {};
    const qsizetype end = pdf.indexOf(endMarker, root);
    const qsizetype start = pdf.lastIndexOf(startMarker, root);
    if (end < 0 || start < 0)
        return {};
    QByteArray xml = pdf.mid(start, end + endMarker.size() - start) + QByteArrayLiteral("\r\n");
    return isInvoiceRoot(xml) ? xml : QByteArray();
}

} // namespace

bool IsPdfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(5) == QByteArrayLiteral("%PDF-");
}

QByteArray ExtractInvoiceXml(const QByteArray &pdf)
{
    // The file the PDF declares is the invoice; bytes elsewhere in the file (a comment
    // after the end, say) must not replace it.
    if (QByteArray xml = EmbeddedInvoiceXml(pdf, isInvoiceRoot); !xml.isEmpty())
        return xml;
    if (QByteArray xml = searchPlainInvoice(pdf, QByteArrayLiteral("rsm:CrossIndustryInvoice"));
        !xml.isEmpty())
        return xml;
    return searchPlainInvoice(pdf, QByteArrayLiteral("rsm:CrossIndustryDocument"));
}

ExtractedXml::ExtractedXml() = default;
ExtractedXml::~ExtractedXml() = default;

bool ExtractedXml::extract(const QString &pdfPath)
{
    m_file.reset();
    QFile pdf(pdfPath);
    if (!pdf.open(QIODevice::ReadOnly) || pdf.size() > maxPdfSize)
        return false;
    const QByteArray xml = ExtractInvoiceXml(pdf.readAll());
    pdf.close();
    if (xml.isEmpty())
        return false;
    // Earlier versions left the XML of the last PDF under one fixed name.
    QFile::remove(UserTempFolder() + QStringLiteral("/zFile.xml"));
    // A new name for every import, created exclusively and readable by the owner only.
    auto file = std::make_unique<QTemporaryFile>(UserTempFolder() + QStringLiteral("/zFile-XXXXXX.xml"));
    if (!file->open() || file->write(xml) != xml.size() || !file->flush())
        return false;
    file->close();
    m_file = std::move(file);
    return true;
}

QString ExtractedXml::path() const
{
    return m_file ? m_file->fileName() : QString();
}

} // namespace invorator
