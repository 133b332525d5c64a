#pragma once

#include "services/XmlNamespaces.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

struct _xmlDoc;
struct _xmlNode;
struct _xmlNs;
struct _xmlXPathContext;

namespace invorator {

class XPathEngine;

// What a node carries besides its place in the tree: the engine of its document and the
// bindings its queries resolve prefixes through, handed on to every node they yield.
struct XPathScope
{
    const XPathEngine *engine;
    XmlNamespaces namespaces;
    std::uint64_t serial; // of the bindings, asked on every query
};

// Answers XPath 1.0 queries on one parsed document: the shapes the readers ask most by
// walking the tree, every other one through libxml2's XPath engine. A query's prefixes
// are resolved through the bindings it comes with and nothing else. Used by XmlDocument
// and XmlNode; one engine belongs to one document and one thread.
class XPathEngine
{
public:
    // The document must outlive the engine.
    explicit XPathEngine(_xmlDoc *doc);
    ~XPathEngine() = default;
    XPathEngine(const XPathEngine &) = delete;
    XPathEngine &operator=(const XPathEngine &) = delete;

    // False when libxml2 had no memory for its part.
    bool ready() const { return m_ctx != nullptr; }

    // The scope of this engine with those bindings: one per distinct set, holding a copy
    // of it, kept as long as the engine. The first is that without bindings.
    const XPathScope &scope(const XmlNamespaces &namespaces) const;
    const XPathScope &unbound() const { return m_scopes.front(); }

    // Appends the matches of xpath relative to a node of the scope's document, in document
    // order; only the first when `first`. A query that cannot be compiled or names an
    // unbound prefix matches nothing. (Static, so that every argument travels in a register.)
    static void evaluate(const XPathScope &scope, _xmlNode *node, std::string_view xpath, bool first,
                         std::vector<_xmlNode *> &out);

    // The parsed form of a query text, made once per thread and shared by its engines;
    // known only to XPathEngine.cpp.
    struct CompiledQuery;

private:
    struct ContextDeleter
    {
        void operator()(_xmlXPathContext *ctx) const;
    };

    // The two marked inline run for every query and every node visited; they are defined
    // in XPathEngine.cpp, the only place that calls them.
    inline bool resolve(CompiledQuery &q, const XPathScope &scope) const;
    inline bool matches(const _xmlNode *n, const char *uri, const unsigned char *name) const;
    bool walkChildren(_xmlNode *from, const CompiledQuery &q, std::size_t depth, bool first,
                      std::vector<_xmlNode *> &out) const;
    void descendants(const CompiledQuery &q, bool first, std::vector<_xmlNode *> &out) const;
    void namespaceTest(const char *uri, bool first, std::vector<_xmlNode *> &out) const;
    void general(_xmlNode *node, const XmlNamespaces &namespaces, const CompiledQuery &q, bool first,
                 std::vector<_xmlNode *> &out) const;
    void buildIndex() const;

    _xmlDoc *m_doc;
    std::unique_ptr<_xmlXPathContext, ContextDeleter> m_ctx;
    std::uint64_t m_serial;                  // tells this document apart for the queries' resolved forms
    mutable std::deque<XPathScope> m_scopes; // a deque: nodes point into it

    // Names are compared first (they differ early); a namespace already seen to match is
    // recognised by its pointer, since all elements of a document share a few
    // declarations. Valid for the bindings of one serial.
    mutable const unsigned char *m_knownHref = nullptr;
    mutable const char *m_knownUri = nullptr;
    mutable std::uint64_t m_knownBindings = 0;

    // The document's elements by interned name, in document order; one walk over the
    // document on the first descendant query, so later ones do not walk it again.
    mutable std::unordered_map<const unsigned char *, std::vector<_xmlNode *>> m_byName;
    mutable std::vector<const _xmlNs *> m_namespacesUsed; // by the elements, each once
    mutable bool m_indexed = false;
};

} // namespace invorator
