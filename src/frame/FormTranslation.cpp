#include "frame/FormTranslation.h"

#include "frame/CaptionedField.h"
#include "frame/FieldBox.h"
#include "frame/SidePanels.h"
#include "localisation/TextsGateway.h"
#include "localisation/TranslateForm.h"
#include "services/SharedState.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QJsonObject>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>

namespace invorator {

namespace {

// The look translation gives: framed buttons with the stated colours, grey fields when
// disabled or focused while read-only, a plain command bar.
const QString windowStyle =
    QStringLiteral("QPushButton { border: 1px solid black; border-radius: 2px; padding: 3px 12px;"
                   " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(252,252,251), stop:1 "
                   "rgb(240,240,235)); }"
                   "QPushButton:focus { border-color: rgb(255,0,0); }"
                   "QPushButton:pressed { background: rgb(128,0,0); color: white; }"
                   "QPushButton:disabled { background: rgb(224,224,224); }"
                   "invorator--CaptionedField[translated=\"true\"] QLineEdit:disabled,"
                   " invorator--CaptionedField[translated=\"true\"] QComboBox:disabled,"
                   " invorator--CaptionedField[translated=\"true\"] QLineEdit[readOnly=\"true\"]:focus"
                   " { background: rgb(224,224,224); }"
                   "QToolBar[translated=\"true\"] { background: white; }"
                   "QToolBar QToolButton:disabled { background: rgb(224,224,224); }");

// A tool tip with a title: the title is its bold first line.
QString toolTip(const QString &text, const QString &title)
{
    if (title.isEmpty())
        return text;
    return QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()) +
           (text.isEmpty() ? QString() : QStringLiteral("<br/>") + text.toHtmlEscaped());
}

// A text as designed: the first time it is asked for, the object's current text is kept.
QString designed(QObject *object, const char *name, const QString &current)
{
    const QVariant kept = object->property(name);
    if (kept.isValid())
        return kept.toString();
    object->setProperty(name, current);
    return current;
}

template <typename Texts> void describeTip(QObject *object, Texts &target)
{
    target.toolTip = designed(object, "designedTip", QString());
    target.toolTipTitle = designed(object, "designedTipTitle", QString());
}

void setTip(QObject *object, const QString &text, const QString &title)
{
    object->setProperty("tipText", text);
    object->setProperty("tipTitle", title);
    if (auto *w = qobject_cast<QWidget *>(object))
        w->setToolTip(toolTip(text, title));
    else if (auto *a = qobject_cast<QAction *>(object))
        a->setToolTip(toolTip(text, title)); // an empty tip shows the action's text
}

// The window and its controls in the window's order: every widget with a name of ours.
// The caption, editor and browse button of a captioned field belong to the field.
std::vector<QWidget *> controls(QWidget *window)
{
    std::vector<QWidget *> widgets{window};
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
            !qobject_cast<const CaptionedField *>(w->parentWidget()))
            widgets.push_back(w);
    }
    return widgets;
}

QString frameTitle(QWidget *w)
{
    if (auto *box = qobject_cast<QGroupBox *>(w))
        return box->title();
    return static_cast<SidePanel *>(w)->title();
}

FormControl describe(QWidget *w)
{
    FormControl c;
    c.key = w->objectName();
    if (auto *field = qobject_cast<CaptionedField *>(w)) {
        c.kind = ControlKind::Field;
        c.text = designed(w, "designedText", field->caption());
    } else if (auto *bar = qobject_cast<QToolBar *>(w)) {
        c.kind = ControlKind::CommandBar;
        for (QAction *action : bar->actions()) {
            if (action->isSeparator())
                continue;
            ControlItem button;
            button.key = action->objectName();
            button.text = designed(action, "designedText", action->text());
            describeTip(action, button);
            if (QMenu *menu = action->menu())
                for (QAction *entry : menu->actions())
                    button.entries.push_back({entry->objectName(),
                                              designed(entry, "designedText", entry->text()),
                                              {},
                                              {},
                                              -1,
                                              {}});
            c.items.push_back(std::move(button));
        }
    } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
        c.kind = ControlKind::Tabs;
        for (int i = 0; i < tabs->count(); ++i) {
            ControlItem tab;
            tab.text = designed(tabs->widget(i), "designedTab", tabs->tabText(i));
            tab.toolTip = designed(tabs->widget(i), "designedTabTip", QString());
            tab.toolTipTitle = designed(tabs->widget(i), "designedTabTipTitle", QString());
            c.items.push_back(std::move(tab));
        }
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        c.kind = ControlKind::Button;
        c.text = designed(w, "designedText", button->text());
    } else if (qobject_cast<QGroupBox *>(w) || qobject_cast<SidePanel *>(w)) {
        c.kind = ControlKind::Frame;
        c.text = designed(w, "designedText", frameTitle(w));
    } else if (auto *label = qobject_cast<QLabel *>(w); label && c.key.startsWith(QLatin1String("lbl"))) {
        c.kind = ControlKind::Label;
        c.text = designed(w, "designedText", label->text());
    } else if (auto *list = qobject_cast<QTreeWidget *>(w)) {
        c.kind = ControlKind::ListView;
        QStringList headers;
        for (int i = 0; i < list->columnCount(); ++i)
            headers << list->headerItem()->text(i);
        if (!list->property("designedHeaders").isValid())
            list->setProperty("designedHeaders", headers);
        headers = list->property("designedHeaders").toStringList();
        for (int i = 0; i < list->columnCount(); ++i)
            c.items.push_back({{}, headers.value(i), {}, {}, list->columnWidth(i), {}});
    }
    if (c.kind != ControlKind::CommandBar && c.kind != ControlKind::Tabs && c.kind != ControlKind::ListView &&
        c.kind != ControlKind::Other)
        describeTip(w, c);
    return c;
}

void applyFont(QWidget *w, const FormControl &c)
{
    QFont font = w->font();
    // The XML source keeps its fixed-width family; it takes the size.
    if (!c.fontName.isEmpty() && !qobject_cast<QPlainTextEdit *>(w))
        font.setFamily(c.fontName);
    if (c.fontSize > 0)
        font.setPointSize(c.fontSize);
    w->setFont(font);
}

void setTranslatedLook(QWidget *w, bool translated)
{
    if (w->property("translated").toBool() == translated)
        return;
    w->setProperty("translated", translated);
    // A rule that depends on a property takes effect once the widget is polished again.
    w->style()->unpolish(w);
    w->style()->polish(w);
    for (QWidget *child : w->findChildren<QWidget *>()) {
        child->style()->unpolish(child);
        child->style()->polish(child);
    }
}

void apply(QWidget *w, const FormControl &c)
{
    applyFont(w, c);
    switch (c.kind) {
    case ControlKind::Field:
        static_cast<CaptionedField *>(w)->setCaption(c.text);
        setTip(w, c.toolTip, c.toolTipTitle);
        setTranslatedLook(w, c.translatedLook);
        break;
    case ControlKind::CommandBar: {
        setTranslatedLook(w, c.translatedLook);
        std::size_t i = 0;
        for (QAction *action : static_cast<QToolBar *>(w)->actions()) {
            if (action->isSeparator() || i >= c.items.size())
                continue;
            const ControlItem &button = c.items[i++];
            action->setText(button.text);
            setTip(action, button.toolTip, button.toolTipTitle);
            if (QMenu *menu = action->menu()) {
                const QList<QAction *> entries = menu->actions();
                for (qsizetype k = 0; k < entries.size() && k < qsizetype(button.entries.size()); ++k)
                    entries[k]->setText(button.entries[static_cast<std::size_t>(k)].text);
            }
        }
        break;
    }
    case ControlKind::Tabs: {
        auto *tabs = static_cast<QTabWidget *>(w);
        for (int i = 0; i < tabs->count() && i < int(c.items.size()); ++i) {
            const ControlItem &tab = c.items[static_cast<std::size_t>(i)];
            tabs->setTabText(i, tab.text);
            tabs->setTabToolTip(i, toolTip(tab.toolTip, tab.toolTipTitle));
        }
        break;
    }
    case ControlKind::Button:
        static_cast<QPushButton *>(w)->setText(c.text);
        setTip(w, c.toolTip, c.toolTipTitle);
        break;
    case ControlKind::Frame:
        if (auto *box = qobject_cast<QGroupBox *>(w))
            box->setTitle(c.text);
        else
            static_cast<SidePanel *>(w)->setTitle(c.text);
        setTip(w, c.toolTip, c.toolTipTitle);
        break;
    case ControlKind::Label:
        static_cast<QLabel *>(w)->setText(c.text);
        setTip(w, c.toolTip, c.toolTipTitle);
        break;
    case ControlKind::ListView: {
        auto *list = static_cast<QTreeWidget *>(w);
        for (int i = 0; i < list->columnCount() && i < int(c.items.size()); ++i) {
            const ControlItem &column = c.items[static_cast<std::size_t>(i)];
            list->headerItem()->setText(i, column.text);
            if (column.width >= 0)
                list->setColumnWidth(i, column.width);
        }
        break;
    }
    case ControlKind::Other:
        break;
    }
}

QJsonArray texts(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

} // namespace

void TranslateWindow(const SharedState &state, QWidget *window)
{
    Form form;
    form.name = window->objectName();
    const std::vector<QWidget *> widgets = controls(window);
    for (QWidget *w : widgets)
        form.controls.push_back(describe(w));
    TranslateForm(state, form);
    if (window->styleSheet() != windowStyle)
        window->setStyleSheet(windowStyle);
    for (std::size_t i = 0; i < widgets.size(); ++i)
        apply(widgets[i], form.controls[i]);
    // Captions of another length and font: the fields of each box line up again.
    for (std::size_t i = 0; i < widgets.size(); ++i)
        if (form.controls[i].kind == ControlKind::Frame)
            AlignCaptions(widgets[i]);
}

void FillLanguagePickers(const SharedState &state, const std::vector<CaptionedField *> &pickers)
{
    Field::Entries entries;
    QList<QIcon> flags;
    for (const QString &code : TextsGateway(state).languages()) {
        entries.emplace_back(code, code);
        const QString flag =
            state.programFolder() + QStringLiteral("/Flags/") + code + QStringLiteral(".ico");
        flags << (QFile::exists(flag) ? QIcon(flag) : QIcon());
    }
    for (CaptionedField *picker : pickers)
        picker->setEntries(entries, flags);
}

void SaveListViewLayout(const SharedState &state, QWidget *window, const QStringList &listViews)
{
    const TextsGateway texts(state);
    for (const QString &name : listViews) {
        auto *list = window->findChild<QTreeWidget *>(name);
        if (!list)
            continue;
        QStringList headers = list->property("designedHeaders").toStringList();
        std::vector<int> widths;
        for (int i = 0; i < list->columnCount(); ++i) {
            widths.push_back(list->columnWidth(i));
            if (headers.size() <= i)
                headers << list->headerItem()->text(i);
        }
        texts.saveListViewLayout(window->objectName(), name, headers, widths);
    }
}

QJsonArray DumpTexts(QWidget *window)
{
    QJsonArray out;
    for (QWidget *w : controls(window)) {
        QJsonObject o;
        o[QStringLiteral("object")] = w->objectName();
        o[QStringLiteral("kind")] = QString::fromLatin1(w->metaObject()->className());
        QString text;
        if (auto *field = qobject_cast<CaptionedField *>(w))
            text = field->caption();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            text = button->text();
        else if (qobject_cast<QGroupBox *>(w) || qobject_cast<SidePanel *>(w))
            text = frameTitle(w);
        else if (auto *label = qobject_cast<QLabel *>(w))
            text = label->text();
        o[QStringLiteral("text")] = text;
        o[QStringLiteral("toolTip")] = w->toolTip();
        o[QStringLiteral("font")] = w->font().family();
        o[QStringLiteral("size")] = w->font().pointSize();
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            QStringList captions;
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
            o[QStringLiteral("tabs")] = texts(captions);
        } else if (auto *list = qobject_cast<QTreeWidget *>(w)) {
            QStringList headers;
            QJsonArray widths;
            for (int i = 0; i < list->columnCount(); ++i) {
                headers << list->headerItem()->text(i);
                widths.append(list->columnWidth(i));
            }
            o[QStringLiteral("headers")] = texts(headers);
            o[QStringLiteral("widths")] = widths;
        } else if (auto *bar = qobject_cast<QToolBar *>(w)) {
            QJsonArray buttons;
            for (QAction *action : bar->actions()) {
                if (action->isSeparator())
                    continue;
                QJsonArray entries;
                if (QMenu *menu = action->menu())
                    for (QAction *entry : menu->actions())
                        entries.append(QJsonObject{{QStringLiteral("object"), entry->objectName()},
                                                   {QStringLiteral("text"), entry->text()}});
                buttons.append(QJsonObject{{QStringLiteral("object"), action->objectName()},
                                           {QStringLiteral("text"), action->text()},
                                           {QStringLiteral("toolTip"), action->toolTip()},
                                           {QStringLiteral("entries"), entries}});
            }
            o[QStringLiteral("buttons")] = buttons;
        }
        out.append(o);
    }
    return out;
}

std::unique_ptr<QTranslator> InstallQtTexts(const QString &languageCode)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + languageCode.toLower(),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

} // namespace invorator
