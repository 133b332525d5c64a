#pragma once

#include <QString>

#include <vector>

namespace invorator {

class FormTexts;
class SharedState;

// The kinds of controls translation tells apart; any other control only takes the font.
// A label is a caption of its own (named lbl…), not one the program fills.
enum class ControlKind { Other, Field, CommandBar, Tabs, Button, Frame, ListView, Label };

// A part of a control with texts of its own: a command-bar button (with its menu
// entries), a tab, or a list-view column (with its width).
struct ControlItem
{
    QString key;
    QString text;
    QString toolTip;
    QString toolTipTitle;
    int width = -1;
    std::vector<ControlItem> entries;
};

// A control of a window as translation sees it: what the window shows now, and what
// translation changed. The window describes itself in these terms and applies the result.
struct FormControl
{
    ControlKind kind = ControlKind::Other;
    QString key; // the control key: txtSeller(3), btnXRechnung, frmSeller, sstabPos, lvTable
    QString text;
    QString toolTip;
    QString toolTipTitle;
    QString fontName;
    int fontSize = 0;
    // A translation row was found: the translated look applies (field colours, the
    // command bar's plain background).
    bool translatedLook = false;
    std::vector<ControlItem> items;
};

struct Form
{
    QString name;
    std::vector<FormControl> controls;
};

// Applies a language and a font to every control of a form, step after step: font;
// captioned fields and labels; command bar with its menu entries; tabs; buttons; frames;
// list views. Every assignment stands on its own: a missing row, a missing column or a
// Null leaves that one text as it was. For "DE" only list headers and widths are read.
void TranslateForm(const FormTexts &texts, const QString &fontName, const QString &fontSize, Form &form);

// The same with the texts of the current language, each table read once.
void TranslateForm(const SharedState &state, Form &form);

} // namespace invorator
