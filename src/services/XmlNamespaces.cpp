#include "services/XmlNamespaces.h"

#include <QRegularExpression>

#include <algorithm>
#include <atomic>

namespace invorator {

XmlNamespaces::XmlNamespaces(std::initializer_list<Binding> bindings)
    : XmlNamespaces(std::vector<Binding>(bindings))
{
}

XmlNamespaces::XmlNamespaces(std::vector<Binding> bindings)
{
    static std::atomic<std::uint64_t> counter{0};
    auto data = std::make_shared<Data>();
    data->serial = ++counter;
    for (Binding &b : bindings) {
        auto same = std::find_if(data->bindings.begin(), data->bindings.end(),
                                 [&](const Binding &known) { return known.prefix == b.prefix; });
        if (same != data->bindings.end())
            same->uri = std::move(b.uri);
        else
            data->bindings.push_back(std::move(b));
    }
    m_data = std::move(data);
}

std::optional<XmlNamespaces> XmlNamespaces::parse(const QString &declarations)
{
    static const QRegularExpression entry(
        QStringLiteral(R"(xmlns(?::([A-Za-z_][\w.\-]*))?\s*=\s*(['"])(.*?)\2)"));
    std::vector<Binding> bindings;
    const QString rest = declarations.trimmed();
    auto it = entry.globalMatch(rest);
    qsizetype consumed = 0;
    while (it.hasNext()) {
        const auto m = it.next();
        if (!rest.mid(consumed, m.capturedStart() - consumed).trimmed().isEmpty())
            return std::nullopt;
        consumed = m.capturedEnd();
        if (!m.captured(1).isEmpty())
            bindings.push_back({m.captured(1).toStdString(), m.captured(3).toStdString()});
    }
    if (!rest.mid(consumed).trimmed().isEmpty())
        return std::nullopt;
    return XmlNamespaces(std::move(bindings));
}

const char *XmlNamespaces::uriOf(std::string_view prefix) const
{
    if (m_data)
        for (const Binding &b : m_data->bindings)
            if (b.prefix == prefix)
                return b.uri.c_str();
    return nullptr;
}

const std::vector<XmlNamespaces::Binding> &XmlNamespaces::bindings() const
{
    static const std::vector<Binding> none;
    return m_data ? m_data->bindings : none;
}

} // namespace invorator
