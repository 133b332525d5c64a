#include "import/PdfEmbeddedFiles.h"

#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

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

// All streams of one PDF together decode to no more than this, however many embedded-file
// entries point at them: it guards against streams that decompress without end.
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

// ZUGFeRD 1.0 names its namespace at the root, after at most a long licence comment; a
// later invoice never does. Enough to choose between the files of one PDF.
bool looksLikeZugferd1(const QByteArray &xml)
{
    return xml.left(64 * 1024).contains(QByteArrayView(ns::zugferd1.data(), qsizetype(ns::zugferd1.size())));
}

} // namespace

QByteArray EmbeddedInvoiceXml(const QByteArray &pdf, bool (*isInvoice)(const QByteArray &xml))
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
            if (!xml.isEmpty() && isInvoice(xml))
                if (xml = take(std::move(xml)); !xml.isEmpty())
                    return xml;
        }
        return older;
    } catch (const std::exception &) {
        // A PDF that cannot be read (truncated, encrypted, broken) carries no invoice we can use.
    }
    return {};
}

} // namespace invorator
