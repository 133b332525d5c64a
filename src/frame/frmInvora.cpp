#include "frame/frmInvora.h"

#include "archive/InvoiceArchive.h"
#include "clients/ClientRecord.h"
#include "frame/ArchiveDialog.h"
#include "frame/CaptionedField.h"
#include "frame/CommandBar.h"
#include "frame/ContentArea.h"
#include "frame/Controls.h"
#include "frame/DocumentCommands.h"
#include "frame/FileArea.h"
#include "frame/FormTranslation.h"
#include "frame/InvoiceImport.h"
#include "frame/InvoiceView.h"
#include "frame/PanelHost.h"
#include "frame/PositionsArea.h"
#include "frame/SidePanels.h"
#include "frame/StatusBar.h"
#include "frame/SupportSender.h"
#include "localisation/TextsGateway.h"
#include "localisation/TranslateModel.h"
#include "model/Conversions.h"
#include "services/SharedState.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QTranslator>

#include <algorithm>

namespace invorator {

namespace {

const QStringList listViews = {QStringLiteral("lvTable"), QStringLiteral("lvUst"),
                               QStringLiteral("lvAbzuege"), QStringLiteral("lvZahlung")};

} // namespace

frmInvora::frmInvora(SharedState &state, MessageSink *messages, QWidget *parent)
    : QMainWindow(parent), m_state(state),
      m_ownMessages(messages ? nullptr : std::make_unique<BoxMessages>(this)),
      m_messages(messages ? *messages : *m_ownMessages)
{
    setObjectName(QStringLiteral("frmInvora"));
    setWindowTitle(m_state.AppTitle);
    setAcceptDrops(true);
    openUrl = &QDesktopServices::openUrl;
    choosePdfPath = [this](const QString &suggested) {
        return QFileDialog::getSaveFileName(this, m_pdf->text(), suggested, QStringLiteral("PDF (*.pdf)"));
    };

    auto *content = new ContentArea(m_model, this);
    setCentralWidget(content);
    m_files = content->files();
    m_invoice = content->invoice();
    m_positions = content->positions();
    m_content = content;
    m_panels = content->panels();
    m_settings = m_panels->settings();
    m_client = m_panels->client();
    m_support = m_panels->support();
    buildCommandBar();
    connect(m_files, &FileArea::convertRequested, this, &frmInvora::convert);
    connect(m_files, &FileArea::invoicePathChanged, this, &frmInvora::invoicePathChanged);
    connect(m_invoice, &InvoiceView::showXmlRequested, this, &frmInvora::ShowXmlSource);
    connect(m_positions, &PositionsArea::lineRequested, this, [this](int line) {
        ShowXmlSource();
        m_invoice->selectLine(line);
    });
    // Ctrl+O opens the invoice dialog from anywhere in the window.
    auto *open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, m_files->invoiceField(), &CaptionedField::openDialog);

    connect(m_settings, &SettingsPanel::saveRequested, this, &frmInvora::saveSettings);
    connect(m_client, &ClientPanel::saveRequested, this, &frmInvora::saveClient);
    connect(m_support, &SupportPanel::sendRequested, this, &frmInvora::SendSupportRequest);
    m_sender = new SupportSender(m_state, m_support, m_messages, this);
    connect(m_sender, &SupportSender::finished, this, &frmInvora::supportRequestFinished);

    m_status = new StatusBar(this);
    setStatusBar(m_status);
    // The designed size where the screen has room, else the screen's available area; the
    // invoice view scrolls when the window is smaller than its fields need.
    setMinimumSize(800, 560);
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(std::min(1280, available.width()), std::min(800, available.height() - 40));

    m_import = std::make_unique<InvoiceImport>(m_state, m_model, m_messages);
    connect(m_import.get(), &InvoiceImport::validated, this, &frmInvora::showSums);
    setUp();
    // Another file in the invoice field, typed or picked, is not the invoice on show: the
    // commands that act on the invoice wait until it is read.
    connect(m_files->invoiceField()->lineEdit(), &QLineEdit::textChanged, this, &frmInvora::followInvoice);
}

frmInvora::~frmInvora()
{
    m_sender->stop();
    // Children that lose focus while they are destroyed still signal; by then this
    // window is no longer a frmInvora and must not be called.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void frmInvora::buildCommandBar()
{
    const auto run = [this](void (frmInvora::*handler)()) {
        return [this, handler] {
            (this->*handler)();
        };
    };
    const auto open = [this](SidePanel *panel) {
        return [this, panel] {
            m_panels->open(panel);
        };
    };
    const std::vector<CommandBar::Entry> help = {
        {"mnuHandbuch", "Benutzerhandbuch", run(&frmInvora::openHelp)},
        {"mnuInfo", "Über Tarvo Invorator", [this] {
             m_messages.show(MakeMessage(0, MsgIcon::Information, m_state.AppTitle, m_state.AppTitle));
         }}};
    // Each command under its key, with its designed caption and icon.
    m_bar = new CommandBar(
        {{"btnSave", "Archivieren", QStyle::SP_DialogSaveButton, run(&frmInvora::SaveToArchive)},
         {"btnArchiv", "Archiv", QStyle::SP_DirOpenIcon, ArchiveCommand(*this, m_state, m_messages)},
         {"btnPrint", "Drucken", QStyle::SP_FileDialogContentsView, run(&frmInvora::printInvoice),
          QKeySequence::Print},
         {"btnPdf", "PDF", QStyle::SP_FileIcon, run(&frmInvora::saveInvoicePdf), {}, true},
         {"btnSetting", "Einstellungen", QStyle::SP_FileDialogDetailedView, open(m_settings)},
         {"btnMandant", "Mandant", QStyle::SP_DirHomeIcon, open(m_client)},
         {"btnSupport", "Support", QStyle::SP_MessageBoxQuestion, open(m_support)},
         {"btnHelp", "Hilfe", QStyle::SP_DialogHelpButton, run(&frmInvora::openHelp), {}, false, help}},
        this);
    addToolBar(m_bar);
    m_save = m_bar->action("btnSave");
    m_print = m_bar->action("btnPrint");
    m_pdf = m_bar->action("btnPdf");
    for (QAction *command : {m_save, m_print, m_pdf})
        command->setEnabled(false);
}

void frmInvora::setUp()
{
    m_state.readSettings();
    const QString icon = m_state.programFolder() + QStringLiteral("/images/Tarvo.ICO");
    if (QFile::exists(icon))
        setWindowIcon(QIcon(icon));

    m_state.TextsDbOpen = m_state.OpenTextsDb();
    m_files->setUp(m_state);
    m_support->setUp(m_state, {FileArea::invoiceFilter().constLast()});
    if (!m_state.TextsDbOpen)
        m_messages.show(MakeMessage(
            0, MsgIcon::Critical, ProgramTitle,
            QStringLiteral(
                "Data-Connect failed! Please control connect.udl in Folder \\DB\r\nError Message: ") +
                m_state.textsDbError()));

    if (m_state.TextsDbOpen) {
        FillLanguagePickers(m_state, {m_client->field(2), m_settings->languageField()});
        loadClient();
        translate();
    }
    m_settings->load(m_state);
    m_invoice->setCurrentIndex(0);
    m_positions->showFirstPage();

    m_invoice->field(Rd::TaxTotal)->setText(FormatNumber(0.0, m_state.NumberFormat));
    m_invoice->field(Rd::FinalAmount)->setText(FormatNumber(0.0, m_state.NumberFormat));
    invoicePathChanged();
    // Without the archive the save command is not offered at all.
    m_save->setVisible(ArchiveAvailable(ArchiveOf(m_state)));
    m_save->setEnabled(false);
}

void frmInvora::loadClient()
{
    if (const auto loaded = LoadClient(m_state, m_messages)) {
        m_client->showRecord(loaded->fields, *m_settings);
        m_clientRecord = loaded->client;
    }
}

void frmInvora::saveClient()
{
    SaveClient(m_state, m_client->record(*m_settings), m_settings->fontField()->text(),
               m_settings->fontSizeField()->text(), m_messages,
               {[this] { fillStatusBar(); },
                [this] {
                    translate();
                }});
}

void frmInvora::SendSupportRequest()
{
    m_sender->request(m_clientRecord);
}

DocumentTexts frmInvora::documentTexts() const
{
    return DocumentTextsOf(m_state, m_titles, m_import->shown().path);
}

void frmInvora::printInvoice()
{
    if (m_print->isEnabled())
        PrintInvoiceDocument(this, m_state, m_model, documentTexts(), m_messages);
}

void frmInvora::saveInvoicePdf()
{
    if (!m_pdf->isEnabled())
        return;
    if (const QString path = choosePdfPath(SuggestedPdfPath(m_model)); !path.isEmpty())
        WriteInvoiceDocumentPdf(path, m_state, m_model, documentTexts(), m_messages);
}

void frmInvora::translate()
{
    // Qt's own dialogs and buttons speak the window's language too.
    m_qtTexts.reset();
    m_qtTexts = InstallQtTexts(m_state.LanguageCode);
    TranslateWindow(m_state, this);
    m_titles = SectionTitles();
    TranslateModel(m_state, m_model, m_titles);
    // The document types are named in the language too.
    if (m_state.TextsDbOpen) {
        m_model.setDocumentTypes(TextsGateway(m_state).documentTypes());
        m_invoice->refreshDocumentTypes();
    }
    // So is the check of the invoice on show.
    m_checkTexts = CheckTexts::read(m_state);
    showSums();
}

void frmInvora::fillStatusBar()
{
    m_status->fill(TextsGateway(m_state).statusTexts(), m_state.UserName, m_state.ComputerName);
}

void frmInvora::invoicePathChanged()
{
    m_state.FilterIndex = m_files->invoiceField()->filterIndex();
    // The identifiers page belongs to Peppol invoices.
    m_positions->setIdentifiersEnabled(KindOfFilterIndex(m_state.FilterIndex) == InvoiceKind::Peppol);
    followInvoice();
}

void frmInvora::followInvoice()
{
    const bool onShow = m_import->onShow(m_files->invoiceField()->text());
    const bool read = bool(m_import->shown());
    // Saving, printing and the document need an invoice that was read.
    m_save->setEnabled(onShow && read);
    m_print->setEnabled(onShow && read);
    m_pdf->setEnabled(onShow && read);
}

void frmInvora::convert()
{
    // No file chosen: the field is marked and the user told so, instead of "no valid XML".
    if (m_files->invoiceField()->text().trimmed().isEmpty()) {
        CheckRequiredFields({m_files->invoiceField()}, m_messages);
        return;
    }
    runImport(m_files->invoiceField()->text(), KindOfFilterIndex(m_files->invoiceField()->filterIndex()));
}

void frmInvora::convertFile(const QString &path)
{
    m_files->invoiceField()->setText(QFileInfo(path).absoluteFilePath());
    runImport(m_files->invoiceField()->text(), InvoiceKind::Auto);
}

void frmInvora::runImport(const QString &path, InvoiceKind chosen)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The XML shown belongs to the invoice shown: it goes with it.
    m_invoice->showXml(QString());
    const ImportResult &shown = m_import->run(path, chosen, m_files->exportField()->text());
    m_invoice->render();
    m_positions->render();
    m_positions->showDiscounts(m_titles, m_state.NumberFormat);
    followInvoice();
    showSums();
    QApplication::restoreOverrideCursor();
    // The filter stays as the user picked it; the identifiers page follows the kind read.
    m_positions->setIdentifiersEnabled(shown && shown.kind == InvoiceKind::Peppol);
    // As the import left it: a PDF, once extracted, counts as CII.
    if (shown.kind != InvoiceKind::Auto)
        m_state.FilterIndex = static_cast<int>(shown.kind);
    // Documents were written into the export folder: the user may open it.
    if (shown.offerExportFolder && m_messages.show(OpenExportFolderQuestion(m_state)) == MsgAnswer::Yes)
        OrdnerÖffnen();
}

void frmInvora::showSums()
{
    const ImportResult &shown = m_import->shown();
    m_content->showChecks(shown, m_checkTexts);
    m_status->showSums(shown.sumFindings, bool(shown), m_checkTexts);
    m_status->showValidity(shown.validation, shown.validated, bool(shown), m_checkTexts);
}

void frmInvora::ShowXmlSource()
{
    m_invoice->showSource(m_import->shown(), m_files->invoiceField()->text());
}

void frmInvora::OrdnerÖffnen()
{
    openUrl(QUrl::fromLocalFile(m_files->exportField()->text()));
}

void frmInvora::OpenWithAssociatedProgram(const QString &document)
{
    // Without a program for the document the user learns why nothing opens.
    if (!openUrl(QUrl::fromLocalFile(document)))
        m_messages.show(
            MakeMessage(67, MsgIcon::Information, BrellwerkTitle, GetMeldung(m_state, 67).arg(document)));
}

void frmInvora::SaveToArchive()
{
    // Only the invoice on show is saved, with the very file its import read.
    if (!m_save->isEnabled())
        return;
    ArchiveSave archive(m_state);
    if (archive.ready() && archive.holds(m_model) && m_messages.show(archive.question()) != MsgAnswer::Yes)
        return;
    const SaveReport report = archive.ready() ? archive.save(m_model, m_import->shown()) : archive.report();
    for (const Message &message : report.messages)
        m_messages.show(message);
}

const std::vector<QWidget *> &frmInvora::contentSet() const
{
    return m_panels->contentSet();
}

void frmInvora::saveSettings()
{
    m_settings->store(m_state);
    m_state.writePreferences();
    m_messages.show(MakeMessage(37, MsgIcon::Information, BrellwerkTitle, GetMeldung(m_state, 37)));
}

void frmInvora::openHelp()
{
    if (const QString manual = ManualFile(m_state); QFile::exists(manual))
        OpenWithAssociatedProgram(manual);
    else
        m_messages.show(ManualMissing(m_state));
}

void frmInvora::closeEvent(QCloseEvent *event)
{
    m_sender->stop();
    m_state.LastInvoicePath = m_files->invoiceField()->text();
    m_state.ExportFolder = m_files->exportField()->text();
    // The filter index last chosen in the dialog, not the kind the last import read.
    m_state.writeOnClose(m_files->invoiceField()->filterIndex());
    if (m_state.TextsDbOpen)
        SaveListViewLayout(m_state, this, listViews);
    m_state.CloseTextsDb();
    event->accept();
}

void frmInvora::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().value(0).isLocalFile())
        event->acceptProposedAction();
}

void frmInvora::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    convertFile(urls.first().toLocalFile());
}

} // namespace invorator
