#include "services/XPathEngine.h"

#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

// dict.h relies on the string types the headers above bring in.
#include <libxml/dict.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <string>

namespace invorator {

namespace {

// Frees a libxml2 object of a unique_ptr with libxml2's function for it.
template <auto Free> struct Freer
{
    template <typename T> void operator()(T *p) const { Free(p); }
};

// A query that cannot be compiled or evaluated matches nothing; libxml2's message about it
// must not reach stderr.
void keepErrorsQuiet()
{
    xmlSetStructuredErrorFunc(nullptr, [](void *, xmlError *) {});
}

bool isNCName(std::string_view s)
{
    const auto nameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '-' || c == '.';
    };
    return !s.empty() && !(s[0] >= '0' && s[0] <= '9') && s[0] != '-' && s[0] != '.' &&
           std::all_of(s.begin(), s.end(), nameChar);
}

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
        const auto colon = part.find(':');
        if (colon == std::string_view::npos || !isNCName(part.substr(0, colon)) ||
            !isNCName(part.substr(colon + 1)))
            return {};
        fp.steps.push_back({std::string(part.substr(0, colon)), std::string(part.substr(colon + 1))});
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

// The namespace URIs and interned element names of a shortcut query, valid for one
// document and one set of bindings.
struct Resolved
{
    std::uint64_t document = 0;
    std::uint64_t bindings = 0;
    bool possible = false; // false: a prefix is unbound or a name occurs nowhere in the document
    std::array<const char *, FastPath::maxSteps> uris{};
    std::array<const xmlChar *, FastPath::maxSteps> names{};
};

// Elements below `from` (document order) that satisfy `test`, iteratively so deep trees are safe.
template <typename Test>
void walkDescendants(xmlNode *from, bool first, std::vector<xmlNode *> *out, Test test)
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

} // namespace

struct XPathEngine::CompiledQuery
{
    std::string text;
    FastPath fast;
    Resolved resolved;
    std::unique_ptr<xmlXPathCompExpr, Freer<xmlXPathFreeCompExpr>> comp;
};

namespace {

using CompiledQuery = XPathEngine::CompiledQuery;

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
        keepErrorsQuiet();
        query->comp.reset(xmlXPathCompile(reinterpret_cast<const xmlChar *>(query->text.c_str())));
    }
    const std::string_view key = query->text;
    return *cache.emplace(key, std::move(query)).first->second;
}

} // namespace

void XPathEngine::ContextDeleter::operator()(xmlXPathContext *ctx) const
{
    xmlXPathFreeContext(ctx);
}

XPathEngine::XPathEngine(xmlDoc *doc) : m_doc(doc), m_ctx(xmlXPathNewContext(doc))
{
    static std::atomic<std::uint64_t> counter{0};
    m_serial = ++counter;
    m_scopes.push_back({this, XmlNamespaces(), 0});
}

const XPathScope &XPathEngine::scope(const XmlNamespaces &namespaces) const
{
    for (const XPathScope &known : m_scopes)
        if (known.serial == namespaces.serial())
            return known;
    return m_scopes.emplace_back(XPathScope{this, namespaces, namespaces.serial()});
}

// Element names are interned in the document's dictionary, so a name is compared by its
// pointer; a name missing from the dictionary occurs nowhere in the document.
bool XPathEngine::resolve(CompiledQuery &q, const XPathScope &scope) const
{
    Resolved &r = q.resolved;
    if (r.document == m_serial && r.bindings == scope.serial)
        return r.possible;
    r.document = m_serial;
    r.bindings = scope.serial;
    r.possible = false;
    const FastPath &fp = q.fast;
    for (std::size_t i = 0; i < fp.steps.size(); ++i) {
        r.uris[i] = scope.namespaces.uriOf(fp.steps[i].prefix);
        r.names[i] = m_doc->dict ? xmlDictExists(m_doc->dict, BAD_CAST fp.steps[i].local.c_str(), -1)
                                 : BAD_CAST fp.steps[i].local.c_str();
        if (!r.uris[i] || !r.names[i])
            return false;
    }
    r.possible = true;
    return true;
}

bool XPathEngine::matches(const xmlNode *n, const char *uri, const xmlChar *name) const
{
    if (n->type != XML_ELEMENT_NODE || !n->ns || !n->ns->href)
        return false;
    if (m_doc->dict ? n->name != name : !xmlStrEqual(n->name, name))
        return false;
    if (n->ns->href == m_knownHref && uri == m_knownUri)
        return true;
    if (std::strcmp(reinterpret_cast<const char *>(n->ns->href), uri) != 0)
        return false;
    m_knownHref = n->ns->href;
    m_knownUri = uri;
    return true;
}

void XPathEngine::buildIndex() const
{
    if (m_indexed)
        return;
    m_indexed = true;
    const xmlNs *last = nullptr;
    walkDescendants(reinterpret_cast<xmlNode *>(m_doc), false, nullptr, [&](xmlNode *n) {
        m_byName[n->name].push_back(n);
        if (n->ns && n->ns != last) {
            last = n->ns;
            if (std::find(m_namespacesUsed.begin(), m_namespacesUsed.end(), last) == m_namespacesUsed.end())
                m_namespacesUsed.push_back(last);
        }
        return false;
    });
}

// Child steps from `from`, in document order; stops after the first result when `first`.
bool XPathEngine::walkChildren(xmlNode *from, const CompiledQuery &q, std::size_t depth, bool first,
                               std::vector<xmlNode *> &out) const
{
    const FastPath &fp = q.fast;
    const Resolved &r = q.resolved;
    for (xmlNode *c = from->children; c; c = c->next) {
        if (!matches(c, r.uris[depth], r.names[depth]))
            continue;
        if (depth + 1 < fp.steps.size()) {
            if (walkChildren(c, q, depth + 1, first, out))
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

// Every element named like the last step, in document order, whose parents match the
// steps before it: each result once, and already in order.
void XPathEngine::descendants(const CompiledQuery &q, bool first, std::vector<xmlNode *> &out) const
{
    const Resolved &r = q.resolved;
    const std::size_t last = q.fast.steps.size() - 1;
    buildIndex();
    const auto named = m_byName.find(r.names[last]);
    if (named == m_byName.end())
        return;
    for (xmlNode *n : named->second) {
        if (!matches(n, r.uris[last], r.names[last]))
            continue;
        const xmlNode *up = n->parent;
        std::size_t step = last;
        while (step > 0 && up && matches(up, r.uris[step - 1], r.names[step - 1])) {
            up = up->parent;
            --step;
        }
        if (step > 0)
            continue;
        out.push_back(n);
        if (first)
            return;
    }
}

void XPathEngine::namespaceTest(const char *uri, bool first, std::vector<xmlNode *> &out) const
{
    // Without any element of the namespace there is nothing to walk for.
    buildIndex();
    if (std::none_of(m_namespacesUsed.begin(), m_namespacesUsed.end(), [&](const xmlNs *ns) {
            return ns->href && std::strcmp(reinterpret_cast<const char *>(ns->href), uri) == 0;
        }))
        return;
    // Elements share a few namespace declarations: one already seen to differ is
    // recognised by its address.
    const xmlNs *other = nullptr;
    walkDescendants(reinterpret_cast<xmlNode *>(m_doc), first, &out, [&](const xmlNode *n) {
        if (!n->ns || n->ns == other || !n->ns->href)
            return false;
        if (std::strcmp(reinterpret_cast<const char *>(n->ns->href), uri) == 0)
            return true;
        other = n->ns;
        return false;
    });
}

// libxml2's engine, its prefixes looked up in the query's bindings alone: the context's
// in-scope list points at them for this one evaluation.
void XPathEngine::general(xmlNode *node, const XmlNamespaces &namespaces, const CompiledQuery &q, bool first,
                          std::vector<xmlNode *> &out) const
{
    if (!q.comp)
        return;
    thread_local std::vector<xmlNs> declared;
    thread_local std::vector<xmlNs *> inScope;
    const auto &bindings = namespaces.bindings();
    declared.assign(bindings.size(), xmlNs{});
    inScope.resize(bindings.size());
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        declared[i].type = XML_NAMESPACE_DECL;
        declared[i].href = BAD_CAST bindings[i].uri.c_str();
        declared[i].prefix = BAD_CAST bindings[i].prefix.c_str();
        inScope[i] = &declared[i];
    }
    keepErrorsQuiet();
    m_ctx->node = node;
    m_ctx->namespaces = inScope.data();
    m_ctx->nsNr = static_cast<int>(inScope.size());
    std::unique_ptr<xmlXPathObject, Freer<xmlXPathFreeObject>> result(
        xmlXPathCompiledEval(q.comp.get(), m_ctx.get()));
    m_ctx->namespaces = nullptr;
    m_ctx->nsNr = 0;
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

void XPathEngine::evaluate(const XPathScope &scope, xmlNode *node, std::string_view xpath, bool first,
                           std::vector<xmlNode *> &out)
{
    const XPathEngine &e = *scope.engine;
    if (!node || !e.m_ctx)
        return;
    if (scope.serial != e.m_knownBindings) {
        e.m_knownHref = nullptr;
        e.m_knownUri = nullptr;
        e.m_knownBindings = scope.serial;
    }
    CompiledQuery &q = compiled(xpath);
    switch (q.fast.kind) {
    case FastPath::Kind::ChildPath:
        // An unbound prefix is an error in XPath: no match.
        if (e.resolve(q, scope))
            e.walkChildren(node, q, 0, first, out);
        return;
    case FastPath::Kind::Descendant:
        if (e.resolve(q, scope))
            e.descendants(q, first, out);
        return;
    case FastPath::Kind::NamespaceTest:
        e.namespaceTest(q.fast.namespaceUri.c_str(), first, out);
        return;
    case FastPath::Kind::None:
        break;
    }
    e.general(node, scope.namespaces, q, first, out);
}

} // namespace invorator
