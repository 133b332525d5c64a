#pragma once

#include <QWidget>

class QLabel;

namespace invorator {

class DisplayModel;
class FileArea;
class InvoiceView;
class PanelHost;
class PositionsArea;

// The window's content under the command bar (`content`): the file area, the red bar
// that says the sums do not agree (`lblSummenFehler`, hidden until then), the invoice
// view above the positions area, and the side panels standing over them.
class ContentArea : public QWidget
{
    Q_OBJECT
public:
    // Escape closes a side panel anywhere in `window`.
    ContentArea(DisplayModel &model, QWidget *window);

    FileArea *files() const { return m_files; }
    InvoiceView *invoice() const { return m_invoice; }
    PositionsArea *positions() const { return m_positions; }
    PanelHost *panels() const { return m_panels; }
    QLabel *sumsAlarm() const { return m_sumsAlarm; }

private:
    FileArea *m_files;
    QLabel *m_sumsAlarm;
    InvoiceView *m_invoice;
    PositionsArea *m_positions;
    PanelHost *m_panels;
};

} // namespace invorator
