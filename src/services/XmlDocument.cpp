#include "services/XmlDocument.h"

#include "services/XPathEngine.h"

#include <QFile>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <bit>
#include <cstdint>
#include <cstring>

namespace invorator {

namespace {

struct ParserCtxtDeleter
{
    void operator()(xmlParserCtxt *ctxt) const { xmlFreeParserCtxt(ctxt); }
};

// Collects libxml2's structured errors while a parse runs, so nothing reaches stderr.
struct ErrorCollector
{
    QString message;
    int line = 0;
    bool doctype = false;

    static void onError(void *userData, const xmlError *error)
    {
        auto *self = static_cast<ErrorCollector *>(userData);
        if (error && self->message.isEmpty()) {
            self->message = QString::fromUtf8(error->message ? error->message : "XML error").trimmed();
            self->line = error->line;
        }
    }
};

// Installs the collector for the lifetime of the scope and restores silence afterwards.
class ErrorScope
{
public:
    explicit ErrorScope(ErrorCollector &collector)
    {
        xmlSetStructuredErrorFunc(&collector,
                                  reinterpret_cast<xmlStructuredErrorFunc>(&ErrorCollector::onError));
    }
    ~ErrorScope() { xmlSetStructuredErrorFunc(nullptr, &ErrorScope::silent); }
    ErrorScope(const ErrorScope &) = delete;
    ErrorScope &operator=(const ErrorScope &) = delete;

private:
    static void silent(void *, xmlError *) {}
};

// Invoices carry no document type declaration; refusing one stops every kind of
// entity trickery (external files, expansion bombs) before it starts.
void rejectDoctype(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *)
{
    auto *ctxt = static_cast<xmlParserCtxt *>(ctx);
    if (auto *collector = static_cast<ErrorCollector *>(ctxt->_private))
        collector->doctype = true;
    xmlStopParser(ctxt);
}

// The number of "<" in the text, eight bytes at a time.
qsizetype countTags(const QByteArray &bytes)
{
    const char *p = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype count = 0;
    qsizetype i = 0;
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t low7 = 0x7f7f7f7f7f7f7f7fULL;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        const std::uint64_t x = word ^ (ones * '<');
        // Exactly the bytes of x that are zero get their top bit set.
        const std::uint64_t zero = ~(((x & low7) + low7) | x | low7);
        count += std::popcount(zero);
    }
    for (; i < size; ++i)
        count += p[i] == '<';
    return count;
}

} // namespace

void XmlDocument::DocDeleter::operator()(xmlDoc *doc) const
{
    xmlFreeDoc(doc);
}

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

XmlResult XmlDocument::load(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("cannot open %1").arg(path), 0};
    if (file.size() > MaxXmlBytes)
        return {false, QStringLiteral("the file is larger than an invoice can be"), 0, true};
    // A device or pipe reports no size: read no more than the limit allows.
    const QByteArray bytes = file.read(MaxXmlBytes + 1);
    if (bytes.size() > MaxXmlBytes)
        return {false, QStringLiteral("the file is larger than an invoice can be"), 0, true};
    return loadXml(bytes);
}

XmlResult XmlDocument::loadXml(const QByteArray &bytes)
{
    m_engine.reset();
    m_doc.reset();
    if (bytes.isEmpty())
        return {false, QStringLiteral("the file is empty"), 0};
    // The parsed tree takes a few hundred bytes per element: a document of millions of
    // tiny elements would exhaust memory long before it could be an invoice.
    if (bytes.size() > MaxXmlBytes || countTags(bytes) > MaxXmlTags)
        return {false, QStringLiteral("the document is larger than an invoice can be"), 0, true};

    ErrorCollector collector;
    ErrorScope scope(collector);
    std::unique_ptr<xmlParserCtxt, ParserCtxtDeleter> ctxt(xmlNewParserCtxt());
    if (!ctxt)
        return {false, QStringLiteral("out of memory"), 0};
    ctxt->_private = &collector;
    ctxt->sax->internalSubset = rejectDoctype;
    ctxt->sax->externalSubset = rejectDoctype;
    constexpr int options =
        XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    xmlDoc *doc = xmlCtxtReadMemory(ctxt.get(), bytes.constData(), static_cast<int>(bytes.size()),
                                    "invoice.xml", nullptr, options);
    std::unique_ptr<xmlDoc, DocDeleter> owned(doc);
    if (collector.doctype || ctxt->errNo == XML_ERR_USER_STOP)
        return {false, QStringLiteral("document type declarations are not accepted"),
                ctxt->input ? ctxt->input->line : 0};
    if (!owned || !ctxt->wellFormed || !xmlDocGetRootElement(owned.get())) {
        if (collector.message.isEmpty())
            collector.message = QStringLiteral("the document is not well-formed");
        return {false, collector.message, collector.line};
    }
    auto engine = std::make_unique<XPathEngine>(owned.get());
    if (!engine->ready())
        return {false, QStringLiteral("out of memory"), 0};
    m_doc = std::move(owned);
    m_engine = std::move(engine);
    return {true, {}, 0};
}

bool XmlDocument::isLoaded() const
{
    return m_doc != nullptr;
}

XmlNode XmlDocument::documentNode() const
{
    return m_doc ? XmlNode(&m_engine->unbound(), reinterpret_cast<xmlNode *>(m_doc.get())) : XmlNode();
}

XmlNode XmlDocument::documentNode(const XmlNamespaces &namespaces) const
{
    return documentNode().withNamespaces(namespaces);
}

XmlNode XmlDocument::documentElement() const
{
    return m_doc ? XmlNode(&m_engine->unbound(), xmlDocGetRootElement(m_doc.get())) : XmlNode();
}

XmlNode XmlDocument::documentElement(const XmlNamespaces &namespaces) const
{
    return documentElement().withNamespaces(namespaces);
}

} // namespace invorator
