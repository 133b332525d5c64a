#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

struct _xmlNode;

namespace invorator {

// The largest document taken as an invoice: the biggest real invoices are a few MB plus
// embedded attachments; a ten-thousand-line invoice has about 400,000 tags.
inline constexpr qint64 MaxXmlBytes = 50LL * 1024 * 1024;
inline constexpr qsizetype MaxXmlTags = 1'000'000;

// Outcome of loading a document: converts to bool; on failure says why and where.
struct XmlResult
{
    bool ok = false;
    QString message;
    int line = 0;
    bool tooLarge = false; // over MaxXmlBytes or MaxXmlTags
    explicit operator bool() const { return ok; }
};

class XmlDocumentPrivate;
class XmlNodeList;

// A node of a loaded document (element, attribute or the document itself), or no node.
// Valid while its XmlDocument lives. Queries are XPath 1.0 relative to this node.
class XmlNode
{
public:
    XmlNode() = default;

    bool isNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }

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
    friend class XmlDocumentPrivate;
    friend class XmlNodeList;
    XmlNode(const XmlDocumentPrivate *d, _xmlNode *node) : m_d(d), m_node(node) {}

    const XmlDocumentPrivate *m_d = nullptr;
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
    friend class XmlDocumentPrivate;
    friend class XmlNode;
    const XmlDocumentPrivate *m_d = nullptr;
    std::vector<_xmlNode *> m_nodes;
};

// An XML document parsed from untrusted input: no network, no DTD, no entities.
class XmlDocument
{
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;

    [[nodiscard]] XmlResult load(const QString &path);
    [[nodiscard]] XmlResult loadXml(const QByteArray &bytes);

    // "SelectionNamespaces": a blank-separated list of xmlns:prefix='uri' entries
    // (one unprefixed xmlns='uri' entry is accepted). Returns false for other names
    // or a list that cannot be read.
    bool setProperty(std::string_view name, const QString &value);

    bool isLoaded() const;
    XmlNode documentNode() const;
    XmlNode documentElement() const;
    XmlNode selectSingleNode(std::string_view xpath) const { return documentNode().selectSingleNode(xpath); }
    XmlNodeList selectNodes(std::string_view xpath) const { return documentNode().selectNodes(xpath); }

private:
    std::unique_ptr<XmlDocumentPrivate> d;
};

} // namespace invorator
