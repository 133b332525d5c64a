#pragma once

#include <QGroupBox>

namespace invorator {

class CaptionedField;
class SharedState;

// The file area `frmMenue`: the invoice file with its kind filter, the export folder and
// the convert button.
class FileArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit FileArea(QWidget *parent = nullptr);

    CaptionedField *invoiceField() const { return m_file; }
    CaptionedField *exportField() const { return m_export; }

    // The invoice filter: its entries 1 to 4 are the invoice kinds; after them every
    // invoice and every file, whose kind the content chooses.
    static const QStringList &invoiceFilter();
    // The filter index of "Alle Rechnungen", where the dialog starts.
    static constexpr int AllInvoicesFilter = 5;
    // Prepares both fields' dialogs (titles from the texts database) and shows the state's paths.
    void setUp(const SharedState &state);

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
