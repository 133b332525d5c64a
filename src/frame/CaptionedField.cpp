#include "frame/CaptionedField.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>

namespace invorator {

CaptionedField::CaptionedField(const QString &objectName, const QString &caption, Kind kind, QWidget *parent)
    : QWidget(parent), m_kind(kind)
{
    setObjectName(objectName);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_label = new QLabel(caption, this);
    m_label->setObjectName(QStringLiteral("caption"));
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(m_label);
    if (kind == Kind::List) {
        m_combo = new QComboBox(this);
        m_combo->setObjectName(QStringLiteral("list"));
        m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        m_combo->setMinimumContentsLength(8);
        layout->addWidget(m_combo, 1);
        m_label->setBuddy(m_combo);
    } else if (kind == Kind::Lines) {
        m_lines = new QPlainTextEdit(this);
        m_lines->setObjectName(QStringLiteral("lines"));
        m_lines->setTabChangesFocus(true);
        m_lines->setMinimumHeight(90);
        layout->addWidget(m_lines, 1);
        m_label->setBuddy(m_lines);
        m_label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    } else {
        m_edit = new QLineEdit(this);
        m_edit->setObjectName(QStringLiteral("edit"));
        m_edit->setMinimumWidth(60);
        layout->addWidget(m_edit, 1);
        m_label->setBuddy(m_edit);
        connect(m_edit, &QLineEdit::returnPressed, this, &CaptionedField::returnPressed);
    }
    if (kind == Kind::File || kind == Kind::Folder) {
        m_browse = new QToolButton(this);
        m_browse->setObjectName(QStringLiteral("browse"));
        m_browse->setText(QStringLiteral("…"));
        layout->addWidget(m_browse);
        connect(m_browse, &QToolButton::clicked, this, &CaptionedField::openDialog);
        connect(m_edit, &QLineEdit::editingFinished, this, [this] { emit pathChanged(m_edit->text()); });
    }
    if (caption.isEmpty())
        m_label->hide();
}

CaptionedField::~CaptionedField()
{
    // The inner editor may still signal while it is destroyed after this object.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

QWidget *CaptionedField::editor() const
{
    if (m_lines)
        return m_lines;
    if (m_edit)
        return m_edit;
    return m_combo;
}

QString CaptionedField::caption() const
{
    return m_label->text();
}

void CaptionedField::setCaption(const QString &caption)
{
    m_label->setText(caption);
    m_label->setVisible(!caption.isEmpty());
}

void CaptionedField::setCaptionWidth(int width)
{
    m_label->setFixedWidth(width);
}

int CaptionedField::captionHint() const
{
    return m_label->isHidden() ? 0 : m_label->sizeHint().width();
}

QString CaptionedField::text() const
{
    if (m_lines)
        return m_lines->toPlainText();
    return m_edit ? m_edit->text() : m_combo->currentText();
}

void CaptionedField::setText(const QString &text)
{
    if (m_lines) {
        m_lines->setPlainText(text);
        return;
    }
    if (m_edit) {
        m_edit->setText(text);
        m_edit->setCursorPosition(0);
        m_edit->setToolTip(text.size() > 30 ? text : QString());
        return;
    }
    m_combo->setEditText(text);
}

QString CaptionedField::value() const
{
    if (!m_combo)
        return text();
    // The entry on show is the value, whether the program set it or the user picked it; a
    // code the list does not know has no entry and is the value as it was set.
    if (m_combo->currentIndex() >= 0)
        return m_combo->currentData(Qt::UserRole).toString();
    return m_value;
}

void CaptionedField::setValue(const QString &value)
{
    if (!m_combo) {
        setText(value);
        return;
    }
    m_value = value;
    const int index = m_combo->findData(value);
    if (index >= 0) {
        m_combo->setCurrentIndex(index);
        m_combo->setToolTip(value + QStringLiteral(" – ") + m_combo->currentText());
        return;
    }
    // A code the list does not know is shown as it is rather than hidden.
    m_combo->setCurrentIndex(-1);
    m_combo->setPlaceholderText(value);
    m_combo->setToolTip(value);
}

void CaptionedField::setEntries(const Field::Entries &entries, const QList<QIcon> &icons)
{
    if (!m_combo)
        return;
    // New entries (another language's names) keep the code on show, the user's pick included.
    const QString shown = value();
    auto *model = new QStandardItemModel(0, 2, m_combo);
    bool named = false;
    for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
        const auto &[code, name] = entries[static_cast<std::size_t>(i)];
        named = named || code != name;
        auto *codeItem = new QStandardItem(code);
        auto *nameItem = new QStandardItem(name);
        codeItem->setData(code, Qt::UserRole);
        nameItem->setData(code, Qt::UserRole);
        if (i < icons.size())
            nameItem->setIcon(icons[i]);
        model->appendRow({codeItem, nameItem});
    }
    auto *view = new QTreeView(m_combo);
    view->setRootIsDecorated(false);
    view->setHeaderHidden(true);
    view->setAllColumnsShowFocus(true);
    m_combo->setModel(model);
    m_combo->setView(view);
    m_combo->setModelColumn(1);
    if (named) {
        // The name column three times as wide as the code column.
        view->setColumnWidth(0, 60);
        view->setColumnWidth(1, 180);
        view->setMinimumWidth(260);
    } else {
        // A list of codes alone shows each once.
        view->setColumnHidden(0, true);
    }
    setValue(shown);
}

void CaptionedField::display(const Field &field)
{
    if (m_combo)
        setValue(field.value());
    else
        setText(field.text());
}

void CaptionedField::setReadOnly(bool readOnly)
{
    if (m_edit)
        m_edit->setReadOnly(readOnly);
    if (m_lines)
        m_lines->setReadOnly(readOnly);
    if (m_combo && readOnly) {
        // The list may be opened to look up a type, but a choice does not change the invoice.
        m_combo->setFocusPolicy(Qt::NoFocus);
        connect(m_combo, &QComboBox::activated, this, [this] { setValue(m_value); });
    }
}

void CaptionedField::setAlignment(Qt::Alignment alignment)
{
    if (m_edit)
        m_edit->setAlignment(alignment);
}

void CaptionedField::setDialog(const QStringList &filters, int filterIndex, const QString &title,
                               const QString &startFolder)
{
    m_filters = filters;
    m_filterIndex = filterIndex;
    m_title = title;
    m_startFolder = startFolder;
    // The dialog's title, from the texts database, tells what the button chooses.
    if (m_browse)
        m_browse->setToolTip(title);
}

bool CaptionedField::exportFolderReady() const
{
    return !text().isEmpty() && QFileInfo(text()).isDir();
}

void CaptionedField::openDialog()
{
    if (m_kind == Kind::Folder) {
        const QString start = QFileInfo(text()).isDir() ? text() : m_startFolder;
        const QString folder = QFileDialog::getExistingDirectory(this, m_title, start);
        if (folder.isEmpty())
            return;
        setText(folder);
        emit pathChanged(folder);
        return;
    }
    if (m_kind != Kind::File)
        return;
    QString selected = m_filters.value(m_filterIndex - 1);
    const QString start = QFileInfo(text()).isFile() ? text() : m_startFolder;
    const QString file =
        QFileDialog::getOpenFileName(this, m_title, start, m_filters.join(QStringLiteral(";;")), &selected);
    if (file.isEmpty())
        return;
    const qsizetype index = m_filters.indexOf(selected);
    if (index >= 0)
        m_filterIndex = static_cast<int>(index) + 1;
    setText(file);
    emit pathChanged(file);
}

} // namespace invorator
