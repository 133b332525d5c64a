#pragma once

#include <QWidget>

class QLabel;
class QSplitter;

namespace invorator {

struct CheckTexts;
struct ImportResult;

class DisplayModel;
class FileArea;
class InvoiceView;
class PanelHost;
class PositionsArea;

// The window's content under the command bar (`content`): the file area, the red bar
// that says the sums do not agree (`lblSummenFehler`, hidden until then), the one that says
// the invoice is no valid e-invoice and how many rules it breaks (`lblUngueltig`), the invoice
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
    // Shows what the checks of the invoice on show found: the findings on the check page,
    // the bar over the sums and the one over validity, each only when it has something to say.
    void showChecks(const ImportResult &shown, const CheckTexts &texts);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    FileArea *m_files;
    QLabel *m_sumsAlarm;
    QLabel *m_validityAlarm;
    InvoiceView *m_invoice;
    PositionsArea *m_positions;
    PanelHost *m_panels;
    QSplitter *m_splitter;
    bool m_userSplit = false; // the user moved the splitter: the window keeps the heights
};

} // namespace invorator
