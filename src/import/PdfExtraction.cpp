#include "import/PdfExtraction.h"

#include "import/PdfEmbeddedFiles.h"
#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

#include <QFile>

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

InvoiceFile ReadInvoiceFile(const QString &path)
{
    InvoiceFile file;
    QFile in(path);
    if (path.isEmpty() || !in.open(QIODevice::ReadOnly)) {
        file.problem = QStringLiteral("cannot open %1").arg(path);
        return file;
    }
    file.pdf = in.peek(5) == QByteArrayLiteral("%PDF-");
    // A device or pipe reports no size: read no more than the limit allows.
    const qint64 limit = file.pdf ? maxPdfSize : MaxXmlBytes;
    if (in.size() > limit) {
        file.tooLarge = true;
        file.problem = QStringLiteral("the file is larger than an invoice can be");
        return file;
    }
    file.bytes = in.read(limit + 1);
    if (in.error() != QFileDevice::NoError) {
        file.bytes.clear();
        file.problem = QStringLiteral("%1: %2").arg(path, in.errorString());
        return file;
    }
    if (file.bytes.size() > limit) {
        file.bytes.clear();
        file.tooLarge = true;
        file.problem = QStringLiteral("the file is larger than an invoice can be");
        return file;
    }
    file.readable = true;
    return file;
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

} // namespace invorator
