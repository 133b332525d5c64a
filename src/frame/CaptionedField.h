#pragma once

#include "model/DisplayModel.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QIcon;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace invorator {

// A field with its caption drawn beside it. Plain fields hold a line of text, `Lines`
// fields several; list fields show the name for a code (their value); path fields open a
// file or folder dialog.
class CaptionedField : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Text, List, File, Folder, Lines };

    CaptionedField(const QString &objectName, const QString &caption, Kind kind, QWidget *parent = nullptr);
    ~CaptionedField() override;

    Kind kind() const { return m_kind; }
    QString caption() const;
    void setCaption(const QString &caption);
    void setCaptionWidth(int width);
    int captionHint() const;

    QString text() const;
    void setText(const QString &text);
    // The code of a list field; the text of any other field.
    QString value() const;
    void setValue(const QString &value);
    // The list's entries (code, name), each with its icon when icons are given.
    void setEntries(const Field::Entries &entries, const QList<QIcon> &icons = {});
    // Shows a field of the display model: its value for a list field, else its text.
    void display(const Field &field);

    void setReadOnly(bool readOnly);
    void setAlignment(Qt::Alignment alignment);

    // Dialog of a path field: the filter entries ("Invoice: CII (*.xml *.XML)"), the
    // index of the chosen entry counted from 1, the title and the folder it starts in.
    void setDialog(const QStringList &filters, int filterIndex, const QString &title,
                   const QString &startFolder);
    int filterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    // A folder field is ready when its text names an existing folder.
    bool exportFolderReady() const;

    QLineEdit *lineEdit() const { return m_edit; }
    // The widget the user types into (or picks from).
    QWidget *editor() const;

public slots:
    void openDialog();

signals:
    // The path was chosen in the dialog or typed (after editing finished).
    void pathChanged(const QString &path);
    void returnPressed();

private:
    Kind m_kind;
    QLabel *m_label = nullptr;
    QLineEdit *m_edit = nullptr;
    QComboBox *m_combo = nullptr;
    QPlainTextEdit *m_lines = nullptr;
    QToolButton *m_browse = nullptr;
    QString m_value;
    QStringList m_filters;
    int m_filterIndex = 1;
    QString m_title;
    QString m_startFolder;
};

} // namespace invorator
