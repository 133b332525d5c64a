#pragma once

#include "frame/FieldBox.h"

#include <QList>
#include <QTabWidget>

class QPlainTextEdit;

namespace invorator {

struct ImportResult;

class CaptionedField;
class DisplayModel;

// The invoice view `sstab`: the invoice page with the header (`frmRechnung`), seller and
// buyer, and the page that shows the raw XML on request.
class InvoiceView : public QTabWidget
{
    Q_OBJECT
public:
    explicit InvoiceView(const DisplayModel &model, QWidget *parent = nullptr);

    // Shows the model's current field texts.
    void render();
    void showXml(const QString &text);
    // Shows the model's document types again once they are named in another language.
    void refreshDocumentTypes();
    // Shows the text of the file; nothing for a path that names no file.
    void showXmlOf(const QString &path);
    // The XML of the invoice in the field: for the PDF on show the XML it carried (what was
    // read and validated), else the file as it is.
    void showSource(const ImportResult &shown, const QString &path);
    // Turns to the XML page and selects the line (counted from 1) of the XML shown.
    void selectLine(int line);
    CaptionedField *field(FieldId id) const { return m_fields[id]; }
    // The height that shows the invoice page without scrolling.
    int fullHeight() const;
    // The boxes that are disabled while a side panel is open.
    const QList<QWidget *> &boxes() const { return m_boxes; }

signals:
    void showXmlRequested();

private:
    const DisplayModel &m_model;
    FieldWidgets m_fields;
    QPlainTextEdit *m_xml = nullptr;
    QList<QWidget *> m_boxes;
};

} // namespace invorator
