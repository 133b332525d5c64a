#include "import/PdfExtraction.h"

#include "services/InvoiceNamespaces.h"
#include "services/SharedState.h"
#include "services/XmlDocument.h"

#include <QFile>
#include <QTemporaryFile>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>

#include <array>
#include <stdexcept>

namespace invorator {

namespace {

// An invoice XML larger than this is not taken out of a PDF; it guards against
// streams that decompress without end.
constexpr std::size_t maxEmbeddedXml = 64 * 1024 * 1024;
// PDFs larger than this are not read into memory.
constexpr qint64 maxPdfSize = 512LL * 1024 * 1024;

// The names under which ZUGFeRD, Factur-X and XRechnung embed the invoice.
constexpr std::array<const char *, 4> invoiceNames = {"factur-x.xml", "zugferd-invoice.xml",
                                                      "ZUGFeRD-invoice.xml", "xrechnung.xml"};

// Collects decoded stream bytes and gives up past a limit.
class CappedBuffer : public Pipeline
{
public:
    explicit CappedBuffer(std::size_t cap) : Pipeline("capped buffer", nullptr), m_cap(cap) {}
    void write(unsigned char const *data, size_t len) override
    {
        if (static_cast<std::size_t>(m_data.size()) + len > m_cap)
            throw std::length_error("embedded file too large");
        m_data.append(reinterpret_cast<const char *>(data), static_cast<qsizetype>(len));
    }
    void finish() override {}
    const QByteArray &data() const { return m_data; }

private:
    std::size_t m_cap;
    QByteArray m_data;
};

QByteArray decodeStream(QPDFObjectHandle stream)
{
    if (!stream.isStream())
        return {};
    try {
        CappedBuffer buffer(maxEmbeddedXml);
        bool filtered = false;
        if (!stream.pipeStreamData(&buffer, &filtered, 0, qpdf_dl_generalized, true))
            return {};
        return buffer.data();
    } catch (const std::exception &) {
        return {};
    }
}

bool isInvoiceRoot(const QByteArray &xml)
{
    XmlDocument doc;
    if (!doc.loadXml(xml))
        return false;
    const XmlNode root = doc.documentElement();
    const QString uri = root.namespaceUri();
    return uri == QLatin1String(ns::cii.data(), static_cast<qsizetype>(ns::cii.size())) ||
           uri == ns::ubl("Invoice-2") || uri == ns::ubl("CreditNote-2");
}

// An invoice stored uncompressed: from the XML declaration that directly precedes the
// root element up to the closing root tag.
QByteArray searchPlainInvoice(const QByteArray &pdf)
{
    static const QByteArray endMarker = QByteArrayLiteral("</rsm:CrossIndustryInvoice>");
    static const QByteArray rootMarker = QByteArrayLiteral("<rsm:CrossIndustryInvoice");
    static const QByteArray startMarker = QByteArrayLiteral("<?xml version=");
    const qsizetype root = pdf.indexOf(rootMarker);
    if (root < 0)
        return {};
    const qsizetype end = pdf.indexOf(endMarker, root);
    const qsizetype start = pdf.lastIndexOf(startMarker, root);
    if (end < 0 || start < 0)
        return {};
    return pdf.mid(start, end + endMarker.size() - start) + QByteArrayLiteral("\r\n");
}

// The invoice among the PDF's embedded files: one of the usual names first, else the
// first embedded XML whose root is a CII or UBL invoice.
QByteArray searchEmbeddedFiles(const QByteArray &pdf)
{
    try {
        QPDF qpdf;
        qpdf.setSuppressWarnings(true);
        qpdf.processMemoryFile("invoice.pdf", pdf.constData(), static_cast<size_t>(pdf.size()));
        QPDFEmbeddedFileDocumentHelper helper(qpdf);
        if (!helper.hasEmbeddedFiles())
            return {};
        const auto files = helper.getEmbeddedFiles();
        for (const char *wanted : invoiceNames)
            for (const auto &[key, fileSpec] : files) {
                const std::string name = fileSpec->getFilename().empty() ? key : fileSpec->getFilename();
                if (QString::fromStdString(name).compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                    if (QByteArray xml = decodeStream(fileSpec->getEmbeddedFileStream()); !xml.isEmpty())
                        return xml;
            }
        for (const auto &[key, fileSpec] : files) {
            const QByteArray xml = decodeStream(fileSpec->getEmbeddedFileStream());
            if (!xml.isEmpty() && isInvoiceRoot(xml))
                return xml;
        }
    } catch (const std::exception &) {
        // A PDF that cannot be read (truncated, encrypted, broken) carries no invoice we can use.
    }
    return {};
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
    QByteArray xml = searchPlainInvoice(pdf);
    if (xml.isEmpty() || !isInvoiceRoot(xml))
        xml = searchEmbeddedFiles(pdf);
    return xml;
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
