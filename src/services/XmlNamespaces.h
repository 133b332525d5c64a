#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace invorator {

// The prefixes a query may use and the namespace URIs they stand for. A node bound to a
// set (XmlDocument::documentElement, XmlNode::withNamespaces) resolves the prefixes of its
// queries through that set alone and hands it on to every node it yields; a prefix the set
// does not bind matches nothing. Copies share one immutable list.
class XmlNamespaces
{
public:
    struct Binding
    {
        std::string prefix;
        std::string uri;
    };

    // No bindings: only queries without prefixes find anything.
    XmlNamespaces() = default;
    // A prefix bound twice takes its last URI.
    XmlNamespaces(std::initializer_list<Binding> bindings);

    // From a blank-separated list of xmlns:prefix='uri' entries; an unprefixed xmlns='uri'
    // is accepted and left out, since XPath 1.0 has no default namespace. Nothing when the
    // list holds anything else.
    static std::optional<XmlNamespaces> parse(const QString &declarations);

    // The URI bound to the prefix, or null.
    const char *uriOf(std::string_view prefix) const;
    const std::vector<Binding> &bindings() const;
    // Tells sets of bindings apart for the caches of the query engine: the same for a
    // set and its copies, never used again for another set; 0 for no bindings.
    std::uint64_t serial() const { return m_data ? m_data->serial : 0; }

private:
    struct Data
    {
        std::uint64_t serial = 0;
        std::vector<Binding> bindings;
    };
    explicit XmlNamespaces(std::vector<Binding> bindings);

    std::shared_ptr<const Data> m_data;
};

} // namespace invorator
