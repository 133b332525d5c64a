#include "import/PdfExtraction.h"

#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

#include <QFile>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFLogger.hh>

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

namespace invorator {

namespace {

// PDFs larger than this are not read into memory.
constexpr qint64 maxPdfSize = 512LL * 1024 * 1024;
// All streams of one PDF together decode to no more than this, however many file
// specifications point at them: it guards against streams that decompress without end.
constexpr std::size_t maxDecodedTotal = 64 * 1024 * 1024;

// The names under which ZUGFeRD, Factur-X and XRechnung embed the invoice.
// Names compare without regard to case: ZUGFeRD 1.0 wrote "ZUGFeRD-invoice.xml".
constexpr std::array<const char *, 3> invoiceNames = {"factur-x.xml", "zugferd-invoice.xml", "xrechnung.xml"};

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

// Decodes the streams of one PDF: each at most once, all of them within one budget, and
// none beyond the size an invoice XML may have.
class StreamDecoder
{
public:
    QByteArray decode(QPDFObjectHandle stream)
    {
        if (!stream.isStream())
            return {};
        const QPDFObjGen id = stream.getObjGen();
        if (const auto seen = m_decoded.find(id); seen != m_decoded.end())
            return seen->second;
        QByteArray &result = m_decoded[id];
        if (m_left == 0)
            return {};
        const std::size_t cap = std::min(m_left, static_cast<std::size_t>(MaxXmlBytes));
        CappedBuffer buffer(cap);
        try {
            bool filtered = false;
            if (stream.pipeStreamData(&buffer, &filtered, 0, qpdf_dl_generalized, true))
                result = buffer.data();
        } catch (const std::exception &) {
            result.clear();
        }
        // What was decoded counts, even when the stream was given up.
        m_left -= std::min(m_left, static_cast<std::size_t>(buffer.data().size()));
        return result;
    }

private:
    std::size_t m_left = maxDecodedTotal;
    std::map<QPDFObjGen, QByteArray> m_decoded;
};

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

// ZUGFeRD 1.0 names its namespace at the root, after at most a long licence comment; a
// later invoice never does. Enough to choose between the files of one PDF.
bool looksLikeZugferd1(const QByteArray &xml)
{
    return xml.left(64 * 1024).contains(QByteArrayView(ns::zugferd1.data(), qsizetype(ns::zugferd1.size())));
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

// The invoice among the files the PDF's name tree declares: one of the usual names first,
// else the first embedded XML whose root is a CII or UBL invoice. A ZUGFeRD 1.0 invoice
// is taken only when the PDF carries no later one beside it.
QByteArray searchEmbeddedFiles(const QByteArray &pdf)
{
    // qpdf reports some damage of hostile files on stderr through its default logger even
    // with warnings suppressed; the program reports through its own messages only.
    static const bool quiet = [] {
        const auto logger = QPDFLogger::defaultLogger();
        logger->setInfo(logger->discard());
        logger->setWarn(logger->discard());
        logger->setError(logger->discard());
        return true;
    }();
    (void)quiet;
    try {
        QPDF qpdf;
        qpdf.setSuppressWarnings(true);
        qpdf.processMemoryFile("invoice.pdf", pdf.constData(), static_cast<size_t>(pdf.size()));
        QPDFEmbeddedFileDocumentHelper helper(qpdf);
        if (!helper.hasEmbeddedFiles())
            return {};
        StreamDecoder decoder;
        const auto files = helper.getEmbeddedFiles();
        QByteArray older;
        const auto take = [&](QByteArray xml) {
            if (!looksLikeZugferd1(xml))
                return xml;
            if (older.isEmpty())
                older = std::move(xml);
            return QByteArray();
        };
        for (const char *wanted : invoiceNames)
            for (const auto &[key, fileSpec] : files) {
                const std::string name = fileSpec->getFilename().empty() ? key : fileSpec->getFilename();
                if (QString::fromStdString(name).compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                    if (QByteArray xml = decoder.decode(fileSpec->getEmbeddedFileStream()); !xml.isEmpty())
                        if (xml = take(std::move(xml)); !xml.isEmpty())
                            return xml;
            }
        for (const auto &[key, fileSpec] : files) {
            QByteArray xml = decoder.decode(fileSpec->getEmbeddedFileStream());
            if (!xml.isEmpty() && isInvoiceRoot(xml))
                if (xml = take(std::move(xml)); !xml.isEmpty())
                    return xml;
        }
        return older;
    } catch (const std::exception &) {
        // A PDF that cannot be read (truncated, encrypted, broken) carries no invoice we can use.
    }
    return {};
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
    if (QByteArray xml = searchEmbeddedFiles(pdf); !xml.isEmpty())
        return xml;
    if (QByteArray xml = searchPlainInvoice(pdf, QByteArrayLiteral("rsm:CrossIndustryInvoice"));
        !xml.isEmpty())
        return xml;
    return searchPlainInvoice(pdf, QByteArrayLiteral("rsm:CrossIndustryDocument"));
}

} // namespace invorator
