#pragma once

#include "model/DisplayModel.h"
#include "import/ImportDriver.h"
#include "services/MessageSink.h"

#include <QMainWindow>
#include <QPoint>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolBar;
class QTreeWidget;

namespace invorator {

class CaptionedField;
class SharedState;

// Shows messages as modal boxes over the window.
class BoxMessages : public MessageSink
{
public:
    explicit BoxMessages(QWidget *parent) : m_parent(parent) {}
    MsgAnswer show(const Message &message) override;

private:
    QWidget *m_parent;
};

// The one window: command bar, file area, the invoice view with its field groups and
// lists, the raw XML view, the status bar and three side panels.
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

    // Side panels: the command-bar key opens its panel; closing enables the content again.
    void openPanel(const QString &key);
    void closePanel(QWidget *panel);
    void saveSettings();
    void openHelp();

    // How documents and folders are handed to the desktop (replaceable for tests).
    std::function<bool(const QUrl &)> openUrl;

    const DisplayModel &model() const { return m_model; }
    const std::vector<QWidget *> &contentSet() const { return m_contentSet; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildCommandBar();
    QWidget *buildFileArea();
    QWidget *buildInvoiceView();
    QWidget *buildPositions();
    void buildPanels();
    void setUp();
    void invoicePathChanged();
    void render();
    void runImport(QString path, int kind);
    QGroupBox *fieldGroup(const QString &name, const QString &title, const QString &fieldName,
                          std::vector<CaptionedField *> &fields, const std::vector<int> &indices,
                          const FieldGroup &group, int columns);
    QTreeWidget *listView(const ListView &lv, const std::vector<int> &numericColumns);
    CaptionedField *panelField(QWidget *panel, int index, const QString &caption,
                               int kind = 0 /* CaptionedField::Kind::Text */);

    SharedState &m_state;
    std::unique_ptr<MessageSink> m_ownMessages;
    MessageSink &m_messages;
    DisplayModel m_model;
    std::unique_ptr<ImportDriver> m_driver;

    QToolBar *m_bar = nullptr;
    QAction *m_save = nullptr;
    CaptionedField *m_file = nullptr;
    CaptionedField *m_export = nullptr;
    QPushButton *m_convert = nullptr;
    QTabWidget *m_sstab = nullptr;
    QTabWidget *m_sstabPos = nullptr;
    QPlainTextEdit *m_xml = nullptr;
    std::vector<CaptionedField *> m_seller, m_buyer, m_rechnungdaten, m_sonstige;
    QTreeWidget *m_lvTable = nullptr;
    QTreeWidget *m_lvUst = nullptr;
    QTreeWidget *m_lvAbzuege = nullptr;
    std::vector<QLabel *> m_panels;
    QFrame *m_frmSetting = nullptr;
    QFrame *m_frmMandant = nullptr;
    QFrame *m_frmSupport = nullptr;
    std::vector<CaptionedField *> m_adresse;
    std::vector<CaptionedField *> m_support;
    std::vector<QWidget *> m_contentSet;
};

} // namespace invorator
