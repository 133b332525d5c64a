#pragma once

#include <QGroupBox>

namespace invorator {

class CaptionedField;

// The file area `frmMenue`: the invoice file with its kind filter, the export folder and
// the convert button.
class FileArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit FileArea(QWidget *parent = nullptr);

    CaptionedField *invoiceField() const { return m_file; }
    CaptionedField *exportField() const { return m_export; }

signals:
    // The convert button was pressed, or Enter in the invoice field.
    void convertRequested();
    // The invoice path (and with it possibly the filter index) was chosen or typed.
    void invoicePathChanged();

private:
    CaptionedField *m_file = nullptr;
    CaptionedField *m_export = nullptr;
};

} // namespace invorator
