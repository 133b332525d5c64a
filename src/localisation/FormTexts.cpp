#include "localisation/FormTexts.h"

#include <QRegularExpression>

namespace invorator {

namespace {

const std::vector<TextRow> none;

} // namespace

const TextRow *FormTexts::label(const QString &key) const
{
    const auto it = m_labels.constFind(key.toLower());
    return it == m_labels.constEnd() ? nullptr : &*it;
}

const std::vector<TextRow> &FormTexts::tabs(const QString &tabControl) const
{
    const auto it = m_tabs.constFind(tabControl.toLower());
    return it == m_tabs.constEnd() ? none : *it;
}

const std::vector<TextRow> &FormTexts::columns(const QString &listView) const
{
    const auto it = m_columns.constFind(listView.toLower());
    return it == m_columns.constEnd() ? none : *it;
}

std::optional<int> ParseStoredWidth(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*(\\d{1,5})(?:[.,]\\d*)?\\s*$"));
    const QRegularExpressionMatch m = whole.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int width = m.captured(1).toInt();
    if (width > 10000)
        return std::nullopt;
    return width;
}

} // namespace invorator
