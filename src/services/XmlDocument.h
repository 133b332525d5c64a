#pragma once

#include "services/XmlNamespaces.h"
#include "services/XmlNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

struct _xmlDoc;

namespace invorator {

class XPathEngine;

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

// An XML document parsed from untrusted input: no network, no DTD, no entities. It owns
// the parsed tree and the engine that answers queries on it; the namespace prefixes of
// those queries come with the node they start from.
class XmlDocument
{
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;

    [[nodiscard]] XmlResult load(const QString &path);
    [[nodiscard]] XmlResult loadXml(const QByteArray &bytes);

    bool isLoaded() const;

    // The document itself and its root element, no node before a successful load. Without
    // bindings their queries find only names without a prefix. The document keeps a copy
    // of every distinct set of bindings given here or to XmlNode::withNamespaces until the
    // next load.
    XmlNode documentNode() const;
    XmlNode documentNode(const XmlNamespaces &namespaces) const;
    XmlNode documentElement() const;
    XmlNode documentElement(const XmlNamespaces &namespaces) const;

    // The parsed tree itself, for code that walks it with libxml2 (the validator); null
    // before a successful load.
    _xmlDoc *tree() const { return m_doc.get(); }

private:
    struct DocDeleter
    {
        void operator()(_xmlDoc *doc) const;
    };

    std::unique_ptr<_xmlDoc, DocDeleter> m_doc;
    std::unique_ptr<XPathEngine> m_engine; // after m_doc: ends before the tree it reads
};

} // namespace invorator
