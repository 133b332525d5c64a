#pragma once

#include "clients/clsMandant.h"
#include "frame/BoxMessages.h"
#include "frame/CheckTexts.h"
#include "import/ImportDriver.h"
#include "model/DisplayModel.h"
#include "output/InvoiceDocument.h"
#include "services/MessageSink.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QTranslator;

namespace invorator {

class ClientPanel;
class CommandBar;
class ContentArea;
class FileArea;
class InvoiceImport;
class PanelHost;
class InvoiceView;
class PositionsArea;
class SettingsPanel;
class SharedState;
class StatusBar;
class SupportPanel;
class SupportSender;

// The one window: a frame that owns the command bar, the file area, the invoice view,
// the positions area, the status bar and three side panels, and carries out what they ask.
class frmInvora : public QMainWindow
{
    Q_OBJECT
public:
    // Runs the set-up; messages go to `messages` (boxes over the window when none is given).
    explicit frmInvora(SharedState &state, MessageSink *messages = nullptr, QWidget *parent = nullptr);
    ~frmInvora() override;

    // Fills the status bar from the texts database; called once the window is shown.
    void fillStatusBar();

    // The convert button: ImportInvoice with the invoice field's text and the shared kind.
    void convert();
    // Converts a file given on the command line or dropped on the window; its content
    // chooses the kind, and the filter index follows.
    void convertFile(const QString &path);
    void ShowXmlSource();
    void OrdnerÖffnen();
    void OpenWithAssociatedProgram(const QString &document);

    // The commands of the command bar, each under its key.
    void SaveToArchive();
    // The invoice on screen as a document: printed, or written as a PDF file.
    void printInvoice();
    void saveInvoicePdf();
    void openHelp();
    // The client panel's save button.
    void saveClient();
    // The support panel's send button: checks, asks, then mails the request while the
    // window stays usable; the outcome is reported when the server has answered.
    void SendSupportRequest();
    // Applies the current language and font to the whole window.
    void translate();

    // The client record as loaded at start-up.
    const clsMandant &client() const { return m_clientRecord; }

signals:
    // A support request ended: sent, or failed and reported.
    void supportRequestFinished(bool sent);

public:
    // How documents and folders are handed to the desktop (replaceable for tests).
    std::function<bool(const QUrl &)> openUrl;
    // Where the PDF goes, given the suggested path; empty to write none (replaceable for tests).
    std::function<QString(const QString &)> choosePdfPath;

    const DisplayModel &model() const { return m_model; }
    // The containers that are disabled while a side panel is open.
    const std::vector<QWidget *> &contentSet() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildCommandBar();
    void setUp();
    void invoicePathChanged();
    // Enables the commands that act on the invoice while the invoice field names the file on show.
    void followInvoice();
    // The check of the invoice on show: its page, the status bar's mark and the red bar.
    void showSums();
    void runImport(const QString &path, InvoiceKind kind);
    void saveSettings();

    void loadClient();
    DocumentTexts documentTexts() const;

    SharedState &m_state;
    clsMandant m_clientRecord;
    std::unique_ptr<MessageSink> m_ownMessages;
    MessageSink &m_messages;
    DisplayModel m_model;
    std::unique_ptr<InvoiceImport> m_import;

    CommandBar *m_bar = nullptr;
    QAction *m_save = nullptr;
    QAction *m_print = nullptr;
    QAction *m_pdf = nullptr;
    SectionTitles m_titles;
    CheckTexts m_checkTexts;
    FileArea *m_files = nullptr;
    InvoiceView *m_invoice = nullptr;
    PositionsArea *m_positions = nullptr;
    ContentArea *m_content = nullptr;
    SettingsPanel *m_settings = nullptr;
    ClientPanel *m_client = nullptr;
    SupportPanel *m_support = nullptr;
    PanelHost *m_panels = nullptr;
    StatusBar *m_status = nullptr;
    SupportSender *m_sender = nullptr;
    std::unique_ptr<QTranslator> m_qtTexts;
};

} // namespace invorator
