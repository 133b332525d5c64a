#include "services/XmlDocument.h"

#include <QFile>
#include <QRegularExpression>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

// dict.h relies on the string types the headers above bring in.
#include <libxml/dict.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

namespace invorator {

namespace {

struct XmlDocDeleter
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
struct XPathContextDeleter
{
    void operator()(xmlXPathContext *ctx) const { xmlXPathFreeContext(ctx); }
};
struct XPathCompDeleter
{
    void operator()(xmlXPathCompExpr *comp) const { xmlXPathFreeCompExpr(comp); }
};
struct XPathObjectDeleter
{
    void operator()(xmlXPathObject *obj) const { xmlXPathFreeObject(obj); }
};
struct ParserCtxtDeleter
{
    void operator()(xmlParserCtxt *ctxt) const { xmlFreeParserCtxt(ctxt); }
};

// Collects libxml2's structured errors while a parse or query runs, so nothing reaches stderr.
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

bool isWhitespaceOnly(const xmlChar *s)
{
    if (!s)
        return true;
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t' && *s != '\n' && *s != '\r')
            return false;
    return true;
}

bool isTextNode(const xmlNode *n)
{
    return n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE;
}

void appendText(const xmlNode *n, std::string &out)
{
    for (const xmlNode *c = n->children; c; c = c->next) {
        if (isTextNode(c)) {
            if (!isWhitespaceOnly(c->content))
                out += reinterpret_cast<const char *>(c->content);
        } else if (c->type == XML_ELEMENT_NODE) {
            appendText(c, out);
        }
    }
}

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

bool isNCName(std::string_view s)
{
    if (s.empty() || (s[0] >= '0' && s[0] <= '9') || s[0] == '-' || s[0] == '.')
        return false;
    for (char c : s)
        if (!isNameChar(c))
            return false;
    return true;
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

// A query of one of the shapes the readers use most, answered by walking the tree
// directly instead of through the general XPath engine. The result is the same.
struct FastPath
{
    enum class Kind { None, ChildPath, Descendant, NamespaceTest };
    struct Step
    {
        std::string prefix;
        std::string local;
    };
    static constexpr std::size_t maxSteps = 8;
    Kind kind = Kind::None;
    std::vector<Step> steps;  // ChildPath: p:a/p:b...; Descendant: //p:a/p:b...
    std::string attribute;    // ChildPath may end in @name
    std::string namespaceUri; // NamespaceTest
};

namespace {

bool parseStep(std::string_view s, FastPath::Step &step)
{
    const auto colon = s.find(':');
    if (colon == std::string_view::npos)
        return false;
    const auto prefix = s.substr(0, colon);
    const auto local = s.substr(colon + 1);
    if (!isNCName(prefix) || !isNCName(local))
        return false;
    step.prefix = std::string(prefix);
    step.local = std::string(local);
    return true;
}

FastPath analyse(std::string_view xpath)
{
    FastPath fp;
    constexpr std::string_view nsTestHead = "//*[namespace-uri()='";
    constexpr std::string_view nsTestTail = "']";
    if (xpath.starts_with(nsTestHead) && xpath.ends_with(nsTestTail) &&
        xpath.size() > nsTestHead.size() + nsTestTail.size()) {
        const auto uri =
            xpath.substr(nsTestHead.size(), xpath.size() - nsTestHead.size() - nsTestTail.size());
        if (uri.find('\'') == std::string_view::npos) {
            fp.kind = FastPath::Kind::NamespaceTest;
            fp.namespaceUri = std::string(uri);
        }
        return fp;
    }
    bool descendant = false;
    if (xpath.starts_with("//")) {
        descendant = true;
        xpath.remove_prefix(2);
    }
    std::string_view rest = xpath;
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const auto part = rest.substr(0, slash);
        if (part.starts_with('@')) {
            if (descendant || slash != std::string_view::npos || !isNCName(part.substr(1)) ||
                fp.steps.empty())
                return {};
            fp.attribute = std::string(part.substr(1));
            break;
        }
        FastPath::Step step;
        if (!parseStep(part, step))
            return {};
        fp.steps.push_back(std::move(step));
        if (slash == std::string_view::npos)
            break;
        rest = rest.substr(slash + 1);
        if (rest.empty())
            return {};
    }
    if (!fp.steps.empty() && fp.steps.size() <= FastPath::maxSteps)
        fp.kind = descendant ? FastPath::Kind::Descendant : FastPath::Kind::ChildPath;
    return fp;
}

// One compiled form per distinct query text, shared by every document of the thread.
// The namespace URIs and interned element names of a shortcut query, valid for one
// document (and one set of prefix mappings), identified by its serial number.
struct Resolved
{
    std::uint64_t serial = 0;
    bool possible = false; // false: a prefix is unknown or a name occurs nowhere in the document
    std::array<const char *, FastPath::maxSteps> uris{};
    std::array<const xmlChar *, FastPath::maxSteps> names{};
};

struct CompiledQuery
{
    std::string text;
    FastPath fast;
    Resolved resolved;
    std::unique_ptr<xmlXPathCompExpr, XPathCompDeleter> comp;
};

CompiledQuery &compiled(std::string_view xpath)
{
    // Keyed by views into the stored texts, so a lookup allocates nothing.
    thread_local std::unordered_map<std::string_view, std::unique_ptr<CompiledQuery>> cache;
    auto it = cache.find(xpath);
    if (it != cache.end())
        return *it->second;
    auto query = std::make_unique<CompiledQuery>();
    query->text = std::string(xpath);
    query->fast = analyse(xpath);
    if (query->fast.kind == FastPath::Kind::None) {
        ErrorCollector collector;
        ErrorScope scope(collector);
        query->comp.reset(xmlXPathCompile(reinterpret_cast<const xmlChar *>(query->text.c_str())));
    }
    const std::string_view key = query->text;
    return *cache.emplace(key, std::move(query)).first->second;
}

} // namespace

class XmlDocumentPrivate
{
public:
    std::unique_ptr<xmlDoc, XmlDocDeleter> doc;
    std::unique_ptr<xmlXPathContext, XPathContextDeleter> ctx;
    std::vector<std::pair<std::string, std::string>> namespaces; // prefix -> uri

    const char *uriOf(const std::string &prefix) const
    {
        for (const auto &[p, uri] : namespaces)
            if (p == prefix)
                return uri.c_str();
        return nullptr;
    }

    // Names are compared first (they differ early); a namespace already seen to match is
    // recognised by its pointer, since all elements of a document share a few declarations.
    mutable const xmlChar *knownHref = nullptr; // reset whenever the document or the mappings change
    mutable const char *knownUri = nullptr;
    std::uint64_t serial = 0; // changes with every document and every change of the mappings

    void renew()
    {
        static std::atomic<std::uint64_t> counter{0};
        serial = ++counter;
        knownHref = nullptr;
        knownUri = nullptr;
    }

    // Element names are interned in the document's dictionary, so a name is compared by
    // its pointer; a name missing from the dictionary occurs nowhere in the document.
    const Resolved *resolve(CompiledQuery &q) const
    {
        Resolved &r = q.resolved;
        if (r.serial == serial)
            return r.possible ? &r : nullptr;
        r.serial = serial;
        r.possible = false;
        const FastPath &fp = q.fast;
        for (std::size_t i = 0; i < fp.steps.size(); ++i) {
            r.uris[i] = uriOf(fp.steps[i].prefix);
            r.names[i] = doc->dict ? xmlDictExists(doc->dict, BAD_CAST fp.steps[i].local.c_str(), -1)
                                   : BAD_CAST fp.steps[i].local.c_str();
            if (!r.uris[i] || !r.names[i])
                return nullptr;
        }
        r.possible = true;
        return &r;
    }

    bool matches(const xmlNode *n, const char *uri, const xmlChar *name) const
    {
        if (n->type != XML_ELEMENT_NODE || !n->ns || !n->ns->href)
            return false;
        if (doc->dict ? n->name != name : !xmlStrEqual(n->name, name))
            return false;
        if (n->ns->href == knownHref && uri == knownUri)
            return true;
        if (std::strcmp(reinterpret_cast<const char *>(n->ns->href), uri) != 0)
            return false;
        knownHref = n->ns->href;
        knownUri = uri;
        return true;
    }

    // The document's elements by interned name, in document order; one walk over the
    // document on the first descendant query, so later ones do not walk it again.
    mutable std::unordered_map<const xmlChar *, std::vector<xmlNode *>> byName;
    mutable std::vector<const xmlNs *> namespacesUsed; // by the elements, each once
    mutable bool indexed = false;

    void buildIndex() const
    {
        if (indexed)
            return;
        indexed = true;
        const xmlNs *last = nullptr;
        walkDescendants(reinterpret_cast<xmlNode *>(doc.get()), false, nullptr, [&](xmlNode *n) {
            byName[n->name].push_back(n);
            if (n->ns && n->ns != last) {
                last = n->ns;
                if (std::find(namespacesUsed.begin(), namespacesUsed.end(), last) == namespacesUsed.end())
                    namespacesUsed.push_back(last);
            }
            return false;
        });
    }

    // Whether any element of the document is in the namespace.
    bool namespaceUsed(const char *uri) const
    {
        buildIndex();
        return std::any_of(namespacesUsed.begin(), namespacesUsed.end(), [&](const xmlNs *ns) {
            return ns->href && std::strcmp(reinterpret_cast<const char *>(ns->href), uri) == 0;
        });
    }

    const std::vector<xmlNode *> &elementsNamed(const xmlChar *name) const
    {
        buildIndex();
        static const std::vector<xmlNode *> none;
        const auto it = byName.find(name);
        return it == byName.end() ? none : it->second;
    }

    // Child steps from `from`, in document order; stops after the first result when `first`.
    bool walkChildren(xmlNode *from, const FastPath &fp, std::size_t depth, const Resolved &r, bool first,
                      std::vector<xmlNode *> &out) const
    {
        for (xmlNode *c = from->children; c; c = c->next) {
            if (!matches(c, r.uris[depth], r.names[depth]))
                continue;
            if (depth + 1 < fp.steps.size()) {
                if (walkChildren(c, fp, depth + 1, r, first, out))
                    return true;
                continue;
            }
            if (!fp.attribute.empty()) {
                // XPath's @name means the attribute without a namespace, wherever it stands.
                xmlAttr *attr = c->properties;
                while (attr && (attr->ns || !xmlStrEqual(attr->name, BAD_CAST fp.attribute.c_str())))
                    attr = attr->next;
                if (!attr)
                    continue;
                out.push_back(reinterpret_cast<xmlNode *>(attr));
            } else {
                out.push_back(c);
            }
            if (first)
                return true;
        }
        return false;
    }

    // Elements below `from` (document order) that satisfy `test`, iteratively so deep trees are safe.
    template <typename Test>
    void walkDescendants(xmlNode *from, bool first, std::vector<xmlNode *> *out, Test test) const
    {
        xmlNode *n = from->children;
        while (n) {
            if (n->type == XML_ELEMENT_NODE && test(n)) {
                out->push_back(n);
                if (first)
                    return;
            }
            if (n->type == XML_ELEMENT_NODE && n->children) {
                n = n->children;
                continue;
            }
            while (n && !n->next && n != from)
                n = n->parent;
            if (!n || n == from)
                return;
            n = n->next;
        }
    }

    void evaluate(xmlNode *node, std::string_view xpath, bool first, std::vector<xmlNode *> &out) const
    {
        if (!node || !doc)
            return;
        CompiledQuery &q = compiled(xpath);
        const FastPath &fp = q.fast;
        switch (fp.kind) {
        case FastPath::Kind::ChildPath: {
            // An unknown prefix is an error in XPath: no match.
            if (const Resolved *r = resolve(q))
                walkChildren(node, fp, 0, *r, first, out);
            return;
        }
        case FastPath::Kind::Descendant: {
            const Resolved *r = resolve(q);
            if (!r)
                return;
            // Every element named like the last step, in document order, whose parents
            // match the steps before it: each result once, and already in order.
            const std::size_t last = fp.steps.size() - 1;
            for (xmlNode *n : elementsNamed(r->names[last])) {
                if (!matches(n, r->uris[last], r->names[last]))
                    continue;
                const xmlNode *up = n->parent;
                std::size_t step = last;
                while (step > 0 && up && matches(up, r->uris[step - 1], r->names[step - 1])) {
                    up = up->parent;
                    --step;
                }
                if (step > 0)
                    continue;
                out.push_back(n);
                if (first)
                    return;
            }
            return;
        }
        case FastPath::Kind::NamespaceTest: {
            const char *uri = fp.namespaceUri.c_str();
            // Without any element of the namespace there is nothing to walk for.
            if (!namespaceUsed(uri))
                return;
            // Elements share a few namespace declarations: one already seen to differ is
            // recognised by its address.
            const xmlNs *other = nullptr;
            walkDescendants(reinterpret_cast<xmlNode *>(doc.get()), first, &out, [&](const xmlNode *n) {
                if (!n->ns || n->ns == other || !n->ns->href)
                    return false;
                if (std::strcmp(reinterpret_cast<const char *>(n->ns->href), uri) == 0)
                    return true;
                other = n->ns;
                return false;
            });
            return;
        }
        case FastPath::Kind::None:
            break;
        }
        if (!q.comp)
            return;
        ErrorCollector collector;
        ErrorScope scope(collector);
        ctx->node = node;
        std::unique_ptr<xmlXPathObject, XPathObjectDeleter> result(
            xmlXPathCompiledEval(q.comp.get(), ctx.get()));
        if (!result || result->type != XPATH_NODESET || !result->nodesetval)
            return;
        const xmlNodeSet *set = result->nodesetval;
        for (int i = 0; i < set->nodeNr; ++i) {
            xmlNode *n = set->nodeTab[i];
            // Namespace nodes are copies owned by the result; they are never handed out.
            if (n->type == XML_NAMESPACE_DECL)
                continue;
            out.push_back(n);
            if (first)
                return;
        }
    }

    XmlNode make(xmlNode *n) const { return XmlNode(this, n); }
};

XmlNode XmlNodeList::item(std::size_t i) const
{
    if (i >= m_nodes.size())
        return {};
    return m_d->make(m_nodes[i]);
}

XmlNode XmlNode::selectSingleNode(std::string_view xpath) const
{
    if (!m_node)
        return {};
    // Reused between calls: a single match needs no allocation of its own.
    thread_local std::vector<xmlNode *> out;
    out.clear();
    m_d->evaluate(m_node, xpath, true, out);
    return out.empty() ? XmlNode() : m_d->make(out.front());
}

XmlNodeList XmlNode::selectNodes(std::string_view xpath) const
{
    XmlNodeList list;
    if (!m_node)
        return list;
    list.m_d = m_d;
    m_d->evaluate(m_node, xpath, false, list.m_nodes);
    return list;
}

QString XmlNode::text() const
{
    if (!m_node)
        return {};
    // The usual element or attribute: one text child, converted without a copy in between.
    const xmlNode *only =
        m_node->type == XML_ELEMENT_NODE || m_node->type == XML_ATTRIBUTE_NODE ? m_node->children : nullptr;
    if (only && !only->next && isTextNode(only) && only->content) {
        if (m_node->type == XML_ELEMENT_NODE && isWhitespaceOnly(only->content))
            return {};
        return QString::fromUtf8(reinterpret_cast<const char *>(only->content)).trimmed();
    }
    std::string out;
    if (m_node->type == XML_ATTRIBUTE_NODE || isTextNode(m_node)) {
        if (isTextNode(m_node))
            out = reinterpret_cast<const char *>(m_node->content ? m_node->content : BAD_CAST "");
        else
            for (const xmlNode *c = m_node->children; c; c = c->next)
                if (isTextNode(c) && c->content)
                    out += reinterpret_cast<const char *>(c->content);
    } else {
        appendText(m_node, out);
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size())).trimmed();
}

std::optional<QString> XmlNode::textOf(std::string_view xpath) const
{
    const XmlNode n = selectSingleNode(xpath);
    if (!n)
        return std::nullopt;
    return n.text();
}

XmlNode XmlNode::getNamedItem(std::string_view name) const
{
    if (!m_node || m_node->type != XML_ELEMENT_NODE)
        return {};
    const std::string key(name);
    for (xmlAttr *a = m_node->properties; a; a = a->next)
        if (!a->ns && key == reinterpret_cast<const char *>(a->name))
            return m_d->make(reinterpret_cast<xmlNode *>(a));
    return {};
}

bool XmlNode::hasChildNodes() const
{
    if (!m_node)
        return false;
    for (const xmlNode *c = m_node->children; c; c = c->next) {
        if (isTextNode(c)) {
            if (!isWhitespaceOnly(c->content))
                return true;
        } else if (c->type == XML_ELEMENT_NODE) {
            return true;
        }
    }
    return false;
}

XmlNode XmlNode::nextSibling() const
{
    if (!m_node || m_node->type == XML_ATTRIBUTE_NODE || !m_node->next)
        return {};
    return m_d->make(m_node->next);
}

QString XmlNode::localName() const
{
    if (!m_node || !m_node->name)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(m_node->name));
}

QString XmlNode::namespaceUri() const
{
    if (!m_node || !m_node->ns || !m_node->ns->href)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(m_node->ns->href));
}

XmlDocument::XmlDocument() : d(std::make_unique<XmlDocumentPrivate>()) {}
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
    d->doc.reset();
    d->ctx.reset();
    d->namespaces.clear();
    d->byName.clear();
    d->indexed = false;
    d->renew();
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
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    xmlDoc *doc = xmlCtxtReadMemory(ctxt.get(), bytes.constData(), static_cast<int>(bytes.size()),
                                    "invoice.xml", nullptr, options);
    std::unique_ptr<xmlDoc, XmlDocDeleter> owned(doc);
    if (collector.doctype || ctxt->errNo == XML_ERR_USER_STOP)
        return {false, QStringLiteral("document type declarations are not accepted"),
                ctxt->input ? ctxt->input->line : 0};
    if (!owned || !ctxt->wellFormed || !xmlDocGetRootElement(owned.get())) {
        if (collector.message.isEmpty())
            collector.message = QStringLiteral("the document is not well-formed");
        return {false, collector.message, collector.line};
    }
    d->ctx.reset(xmlXPathNewContext(owned.get()));
    if (!d->ctx)
        return {false, QStringLiteral("out of memory"), 0};
    d->doc = std::move(owned);
    d->renew();
    return {true, {}, 0};
}

bool XmlDocument::setProperty(std::string_view name, const QString &value)
{
    if (name != "SelectionNamespaces" || !d->ctx)
        return false;
    static const QRegularExpression entry(
        QStringLiteral(R"(xmlns(?::([A-Za-z_][\w.\-]*))?\s*=\s*(['"])(.*?)\2)"));
    std::vector<std::pair<std::string, std::string>> mappings;
    QString rest = value.trimmed();
    auto it = entry.globalMatch(rest);
    qsizetype consumed = 0;
    while (it.hasNext()) {
        const auto m = it.next();
        if (!rest.mid(consumed, m.capturedStart() - consumed).trimmed().isEmpty())
            return false;
        consumed = m.capturedEnd();
        if (m.captured(1).isEmpty())
            continue; // the default namespace has no meaning in XPath 1.0
        mappings.emplace_back(m.captured(1).toStdString(), m.captured(3).toStdString());
    }
    if (!rest.mid(consumed).trimmed().isEmpty())
        return false;
    xmlXPathRegisteredNsCleanup(d->ctx.get());
    d->namespaces = std::move(mappings);
    d->renew();
    for (const auto &[prefix, uri] : d->namespaces)
        xmlXPathRegisterNs(d->ctx.get(), BAD_CAST prefix.c_str(), BAD_CAST uri.c_str());
    return true;
}

bool XmlDocument::isLoaded() const
{
    return d->doc != nullptr;
}

XmlNode XmlDocument::documentNode() const
{
    if (!d->doc)
        return {};
    return d->make(reinterpret_cast<xmlNode *>(d->doc.get()));
}

XmlNode XmlDocument::documentElement() const
{
    if (!d->doc)
        return {};
    return d->make(xmlDocGetRootElement(d->doc.get()));
}

} // namespace invorator
