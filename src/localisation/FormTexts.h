#pragma once

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace invorator {

// A value of a translation table: missing when the table lacks the column, Null when the
// row holds none. The two differ: a caption is not changed by either, a button caption
// takes a Null as the empty text.
struct StoredText
{
    bool exists = false;
    bool null = true;
    QString value;

    // The stored text; nothing for a Null or a missing column.
    std::optional<QString> text() const
    {
        return exists && !null ? std::optional<QString>(value) : std::nullopt;
    }
    // The stored text with a Null read as the empty text; nothing for a missing column.
    std::optional<QString> orEmpty() const
    {
        return exists ? std::optional<QString>(null ? QString() : value) : std::nullopt;
    }
};

// One row of a translation table in one language.
struct TextRow
{
    QString key;   // Feldname of labels and the command bar
    int index = 0; // POS, TabIndex or Index1
    StoredText text;
    StoredText toolTip;
    StoredText toolTipTitle;
    StoredText width; // list-view columns only
};

// The translation rows of one window in one language, each table read once. For "DE"
// the captions are left out of every row but the list views': the window is designed in
// German, and the rows give it their tool tips.
class FormTexts
{
public:
    bool german() const { return m_german; }
    // The row of a captioned field, button or frame, by its control key (any case).
    const TextRow *label(const QString &key) const;
    // The command bar's rows by POS.
    const std::vector<TextRow> &bar() const { return m_bar; }
    // The rows of a tab control by TabIndex, and of a list view by Index1.
    const std::vector<TextRow> &tabs(const QString &tabControl) const;
    const std::vector<TextRow> &columns(const QString &listView) const;

private:
    friend class TextsGateway;
    bool m_german = true;
    QHash<QString, TextRow> m_labels;
    std::vector<TextRow> m_bar;
    QHash<QString, std::vector<TextRow>> m_tabs;
    QHash<QString, std::vector<TextRow>> m_columns;
};

// A column width as the list-view table stores it: whole pixels, from 0 to 10 000. Text
// after a decimal comma or point is cut ("1440,5" is 1440); anything else is no width.
std::optional<int> ParseStoredWidth(const QString &text);

} // namespace invorator
