#include "services/XmlNode.h"

#include "services/XPathEngine.h"

#include <libxml/tree.h>

#include <string>

namespace invorator {

namespace {

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

} // namespace

XmlNode XmlNodeList::item(std::size_t i) const
{
    if (i >= m_nodes.size())
        return {};
    return m_from.make(m_nodes[i]);
}

XmlNode XmlNode::withNamespaces(const XmlNamespaces &namespaces) const
{
    if (!m_node)
        return {};
    return {&m_scope->engine->scope(namespaces), m_node};
}

XmlNode XmlNode::selectSingleNode(std::string_view xpath) const
{
    if (!m_node)
        return {};
    // Reused between calls: a single match needs no allocation of its own.
    thread_local std::vector<xmlNode *> out;
    out.clear();
    XPathEngine::evaluate(*m_scope, m_node, xpath, true, out);
    return out.empty() ? XmlNode() : make(out.front());
}

XmlNodeList XmlNode::selectNodes(std::string_view xpath) const
{
    XmlNodeList list;
    if (!m_node)
        return list;
    list.m_from = *this;
    XPathEngine::evaluate(*m_scope, m_node, xpath, false, list.m_nodes);
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
            return make(reinterpret_cast<xmlNode *>(a));
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
    return make(m_node->next);
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

} // namespace invorator
