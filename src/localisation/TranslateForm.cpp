#include "localisation/TranslateForm.h"

#include "localisation/FormTexts.h"
#include "localisation/TextsGateway.h"
#include "services/SharedState.h"

#include <optional>

namespace invorator {

namespace {

template <typename Target> void assign(Target &target, const std::optional<QString> &value)
{
    if (value)
        target = *value;
}

template <typename Target> void assignTip(Target &target, const TextRow &row)
{
    assign(target.toolTip, row.toolTip.text());
    assign(target.toolTipTitle, row.toolTipTitle.text());
}

void captionedField(const FormTexts &texts, FormControl &c)
{
    const TextRow *row = texts.label(c.key);
    if (!row)
        return;
    assign(c.text, row->text.text());
    assignTip(c, *row);
    c.translatedLook = true;
}

void commandBar(const FormTexts &texts, FormControl &c)
{
    const std::vector<TextRow> &rows = texts.bar();
    if (rows.empty())
        return;
    c.translatedLook = true;
    const auto find = [&](const QString &key) -> const TextRow * {
        for (const TextRow &row : rows)
            if (row.key.compare(key, Qt::CaseInsensitive) == 0)
                return &row;
        return nullptr;
    };
    for (ControlItem &button : c.items) {
        if (button.key.isEmpty())
            continue;
        if (const TextRow *row = find(button.key)) {
            assign(button.text, row->text.text());
            assignTip(button, *row);
        }
        for (ControlItem &entry : button.entries)
            if (const TextRow *row = find(entry.key))
                assign(entry.text, row->text.text());
    }
}

void tabControl(const FormTexts &texts, FormControl &c)
{
    // Rows by TabIndex give the tabs in order; tabs past the last row keep their texts.
    const std::vector<TextRow> &rows = texts.tabs(c.key);
    for (std::size_t i = 0; i < c.items.size() && i < rows.size(); ++i) {
        assign(c.items[i].text, rows[i].text.text());
        assignTip(c.items[i], rows[i]);
    }
}

// Buttons and frames take a Null caption as the empty text.
void buttonOrFrame(const FormTexts &texts, FormControl &c)
{
    const TextRow *row = texts.label(c.key);
    if (!row)
        return;
    assign(c.text, row->text.orEmpty());
    assignTip(c, *row);
    c.translatedLook = true;
}

void listView(const FormTexts &texts, FormControl &c)
{
    // Each column is sought from the row after the last one found; once a column has
    // no row, the columns after it keep their headers and widths.
    const std::vector<TextRow> &rows = texts.columns(c.key);
    std::size_t next = 0;
    for (std::size_t column = 0; column < c.items.size(); ++column) {
        while (next < rows.size() && rows[next].index != static_cast<int>(column) + 1)
            ++next;
        if (next == rows.size())
            return;
        const TextRow &row = rows[next];
        assign(c.items[column].text, row.text.text());
        if (const auto width = row.width.text())
            if (const auto pixels = ParseStoredWidth(*width))
                c.items[column].width = *pixels;
    }
}

} // namespace

void TranslateForm(const FormTexts &texts, const QString &fontName, const QString &fontSize, Form &form)
{
    bool sized = false;
    const int size = fontSize.trimmed().toInt(&sized);
    for (FormControl &c : form.controls) {
        if (!fontName.trimmed().isEmpty())
            c.fontName = fontName.trimmed();
        if (sized && size > 0 && size <= 72)
            c.fontSize = size;
        switch (c.kind) {
        case ControlKind::Field:
        case ControlKind::Label:
            captionedField(texts, c);
            break;
        case ControlKind::CommandBar:
            commandBar(texts, c);
            break;
        case ControlKind::Tabs:
            tabControl(texts, c);
            break;
        case ControlKind::Button:
        case ControlKind::Frame:
            buttonOrFrame(texts, c);
            break;
        case ControlKind::ListView:
            listView(texts, c);
            break;
        case ControlKind::Other:
            break;
        }
        // German texts are the window's own look; their rows give the tool tips alone.
        if (texts.german())
            c.translatedLook = false;
    }
}

void TranslateForm(const SharedState &state, Form &form)
{
    const FormTexts texts = TextsGateway(state).formTexts(form.name, state.LanguageCode);
    TranslateForm(texts, state.FontName, state.FontSize, form);
}

} // namespace invorator
