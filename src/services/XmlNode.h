#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

struct _xmlNode;

namespace invorator {

class XmlNamespaces;
class XmlNodeList;
struct XPathScope;

// A node of a loaded document (element, attribute or the document itself), or no node.
// Valid while its XmlDocument lives. Queries are XPath 1.0 relative to this node; their
// prefixes mean what the node's bindings say, and every node they yield carries the same
// bindings.
class XmlNode
{
public:
    XmlNode() = default;

    bool isNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }

    // The same node, its queries resolved through other bindings (which the document keeps
    // a copy of).
    XmlNode withNamespaces(const XmlNamespaces &namespaces) const;

    XmlNode selectSingleNode(std::string_view xpath) const;
    XmlNodeList selectNodes(std::string_view xpath) const;

    // Concatenated descendant text, whitespace-only text nodes left out, trimmed.
    // For an attribute node, its value.
    QString text() const;
    // Text of the first match of xpath, or nothing when there is no match.
    std::optional<QString> textOf(std::string_view xpath) const;

    // The attribute of that name on an element, or no node.
    XmlNode getNamedItem(std::string_view name) const;
    // True when the node has element children or text that is not only white space.
    bool hasChildNodes() const;
    XmlNode nextSibling() const;
    QString localName() const;
    QString namespaceUri() const;

    bool operator==(const XmlNode &other) const { return m_node == other.m_node; }

private:
    friend class XmlDocument;
    friend class XmlNodeList;
    XmlNode(const XPathScope *scope, _xmlNode *node) : m_scope(scope), m_node(node) {}
    XmlNode make(_xmlNode *node) const { return {m_scope, node}; }

    // Two pointers, so that a node is returned in registers.
    const XPathScope *m_scope = nullptr;
    _xmlNode *m_node = nullptr;
};

// The matches of a query in document order.
class XmlNodeList
{
public:
    XmlNodeList() = default;
    std::size_t length() const { return m_nodes.size(); }
    bool empty() const { return m_nodes.empty(); }
    XmlNode item(std::size_t i) const;

    class const_iterator
    {
    public:
        const_iterator(const XmlNodeList *list, std::size_t i) : m_list(list), m_i(i) {}
        XmlNode operator*() const { return m_list->item(m_i); }
        const_iterator &operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator!=(const const_iterator &o) const { return m_i != o.m_i; }

    private:
        const XmlNodeList *m_list;
        std::size_t m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_nodes.size()}; }

private:
    friend class XmlNode;
    XmlNode m_from; // the node queried: its document and bindings
    std::vector<_xmlNode *> m_nodes;
};

} // namespace invorator
