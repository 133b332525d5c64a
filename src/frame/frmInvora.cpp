#include "frame/frmInvora.h"

#include "archive/InvoiceArchive.h"
#include "clients/ClientRecord.h"
#include "frame/CaptionedField.h"
#include "frame/Controls.h"
#include "frame/FileArea.h"
#include "frame/FormTranslation.h"
#include "frame/InvoiceView.h"
#include "frame/PositionsArea.h"
#include "frame/SidePanels.h"
#include "localisation/TextsGateway.h"
#include "localisation/TranslateModel.h"
#include "model/Conversions.h"
#include "output/InvoiceDocument.h"
#include "services/SharedState.h"
#include "support/SupportMail.h"
#include "support/SupportRequest.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>

#include <algorithm>

namespace invorator {

namespace {

const QString appTitle = QStringLiteral("Tarvo Invorator");
const QString brellwerk = QStringLiteral("Brellwerk");

// The invoice filter: its entries 1 to 4 are the invoice kinds; after them every invoice
// and every file, whose kind the content chooses.
const QStringList invoiceFilter = {
    QStringLiteral("Invoice: CII (*.xml *.XML)"),
    QStringLiteral("Invoice: UBL (*.xml *.XML)"),
    QStringLiteral("Invoice: Peppol (*.xml *.XML)"),
    QStringLiteral("Invoice: ZUGFeRD (*.pdf *.PDF)"),
    QStringLiteral("Alle Rechnungen (*.xml *.XML *.pdf *.PDF)"),
    QStringLiteral("Alle Dateien (*)"),
};

// The command bar: each button's key, its caption, its icon and what it does.
struct Command
{
    const char *key;
    const char *caption;
    QStyle::StandardPixmap icon;
    void (frmInvora::*handler)();
};
const Command commands[] = {
    {"btnSave", "Archivieren", QStyle::SP_DialogSaveButton, &frmInvora::SaveToArchive},
    {"btnPrint", "Drucken", QStyle::SP_FileDialogContentsView, &frmInvora::printInvoice},
    {"btnPdf", "PDF", QStyle::SP_FileIcon, &frmInvora::saveInvoicePdf},
    {"btnSetting", "Einstellungen", QStyle::SP_FileDialogDetailedView, &frmInvora::openSettings},
    {"btnMandant", "Mandant", QStyle::SP_DirHomeIcon, &frmInvora::openClient},
    {"btnSupport", "Support", QStyle::SP_MessageBoxQuestion, &frmInvora::openSupport},
    {"btnHelp", "Hilfe", QStyle::SP_DialogHelpButton, &frmInvora::openHelp},
};

// The menu entries of the help button.
struct MenuEntry
{
    const char *key;
    const char *caption;
    void (frmInvora::*handler)();
};
const MenuEntry helpEntries[] = {
    {"mnuHandbuch", "Benutzerhandbuch", &frmInvora::openHelp},
    {"mnuInfo", "Über Tarvo Invorator", &frmInvora::showAbout},
};

const QStringList listViews = {QStringLiteral("lvTable"), QStringLiteral("lvUst"),
                               QStringLiteral("lvAbzuege"), QStringLiteral("lvZahlung")};

} // namespace

MsgAnswer BoxMessages::show(const Message &message)
{
    const QMessageBox::Icon icon = message.icon == MsgIcon::Critical      ? QMessageBox::Critical
                                   : message.icon == MsgIcon::Exclamation ? QMessageBox::Warning
                                   : message.icon == MsgIcon::Question    ? QMessageBox::Question
                                   : message.icon == MsgIcon::None        ? QMessageBox::NoIcon
                                                                          : QMessageBox::Information;
    QMessageBox box(icon, message.title, message.text,
                    message.icon == MsgIcon::Question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    m_parent);
    // A box shown during an import must not keep the hourglass.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    if (message.icon != MsgIcon::Question)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

frmInvora::frmInvora(SharedState &state, MessageSink *messages, QWidget *parent)
    : QMainWindow(parent), m_state(state),
      m_ownMessages(messages ? nullptr : std::make_unique<BoxMessages>(this)),
      m_messages(messages ? *messages : *m_ownMessages)
{
    setObjectName(QStringLiteral("frmInvora"));
    setWindowTitle(m_state.AppTitle);
    setAcceptDrops(true);
    openUrl = [](const QUrl &url) {
        return QDesktopServices::openUrl(url);
    };
    choosePdfPath = [this](const QString &suggested) {
        return QFileDialog::getSaveFileName(this, m_pdf->text(), suggested, QStringLiteral("PDF (*.pdf)"));
    };

    buildCommandBar();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("content"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);
    m_files = new FileArea(central);
    layout->addWidget(m_files);
    auto *splitter = new QSplitter(Qt::Vertical, central);
    splitter->setChildrenCollapsible(false);
    m_invoice = new InvoiceView(m_model, splitter);
    m_positions = new PositionsArea(m_model, splitter);
    splitter->addWidget(m_invoice);
    splitter->addWidget(m_positions);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    connect(m_files, &FileArea::convertRequested, this, &frmInvora::convert);
    connect(m_files, &FileArea::invoicePathChanged, this, &frmInvora::invoicePathChanged);
    connect(m_invoice, &InvoiceView::showXmlRequested, this, &frmInvora::ShowXmlSource);
    // Escape closes the side panel that is open.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        for (SidePanel *panel : m_panels)
            if (panel->isVisible())
                closePanel(panel);
    });
    // Ctrl+O opens the invoice dialog from anywhere in the window.
    auto *open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, m_files->invoiceField(), &CaptionedField::openDialog);

    m_contentSet = {m_files};
    for (QWidget *box : m_invoice->boxes())
        m_contentSet.push_back(box);
    m_contentSet.push_back(m_invoice);
    m_contentSet.push_back(m_positions->allowancesPage());
    m_contentSet.push_back(m_positions);

    m_settings = new SettingsPanel(central);
    m_client = new ClientPanel(central);
    m_support = new SupportPanel(central);
    m_panels = {m_settings, m_client, m_support};
    for (SidePanel *panel : m_panels)
        connect(panel, &SidePanel::closeRequested, this, [this, panel] { closePanel(panel); });
    connect(m_settings, &SettingsPanel::saveRequested, this, &frmInvora::saveSettings);
    connect(m_client, &ClientPanel::saveRequested, this, &frmInvora::saveClient);
    connect(m_support, &SupportPanel::sendRequested, this, &frmInvora::SendSupportRequest);

    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        label->setContentsMargins(6, 0, 6, 0);
        statusBar()->addWidget(label, i == 0 ? 2 : 1);
        m_statusPanels.push_back(label);
    }
    // Whether the sums of the invoice on screen add up: green, or red with the findings.
    m_sumsMark = new QLabel(this);
    m_sumsMark->setObjectName(QStringLiteral("sumsMark"));
    m_sumsMark->setContentsMargins(6, 0, 6, 0);
    statusBar()->addPermanentWidget(m_sumsMark);
    // The designed size where the screen has room, else the screen's available area; the
    // invoice view scrolls when the window is smaller than its fields need.
    setMinimumSize(800, 560);
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(std::min(1280, available.width()), std::min(800, available.height() - 40));

    m_driver = std::make_unique<ImportDriver>(m_state, m_model, m_messages);
    m_driver->exportFolderReady = [this] {
        return m_files->exportField()->exportFolderReady();
    };
    m_driver->openExportFolder = [this] {
        OrdnerÖffnen();
    };
    m_driver->enableSave = [this] {
        m_save->setEnabled(true);
    };
    setUp();
}

frmInvora::~frmInvora()
{
    stopSending();
    // Children that lose focus while they are destroyed still signal; by then this
    // window is no longer a frmInvora and must not be called.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void frmInvora::buildCommandBar()
{
    m_bar = addToolBar(QStringLiteral("cBar"));
    m_bar->setObjectName(QStringLiteral("cBar"));
    m_bar->setMovable(false);
    m_bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const Command &command : commands) {
        QAction *action =
            m_bar->addAction(style()->standardIcon(command.icon), QString::fromUtf8(command.caption));
        const QString key = QString::fromLatin1(command.key);
        action->setObjectName(key);
        if (auto *button = m_bar->widgetForAction(action))
            button->setObjectName(key);
        connect(action, &QAction::triggered, this, command.handler);
        if (command.handler == &frmInvora::SaveToArchive)
            m_save = action;
        if (command.handler == &frmInvora::printInvoice) {
            m_print = action;
            action->setShortcut(QKeySequence::Print);
        }
        if (command.handler == &frmInvora::saveInvoicePdf) {
            m_pdf = action;
            m_bar->addSeparator();
        }
        if (command.handler == &frmInvora::openHelp) {
            auto *menu = new QMenu(this);
            for (const MenuEntry &entry : helpEntries) {
                QAction *item = menu->addAction(QString::fromUtf8(entry.caption));
                item->setObjectName(QString::fromLatin1(entry.key));
                connect(item, &QAction::triggered, this, entry.handler);
            }
            action->setMenu(menu);
            if (auto *button = qobject_cast<QToolButton *>(m_bar->widgetForAction(action)))
                button->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
    m_save->setEnabled(false);
    m_print->setEnabled(false);
    m_pdf->setEnabled(false);
}

void frmInvora::say(int number, MsgIcon icon, const QString &title, const QString &text)
{
    Message m;
    m.number = number;
    m.icon = icon;
    m.title = title;
    m.text = text;
    m_messages.show(m);
}

void frmInvora::setUp()
{
    m_state.readSettings();
    const QString icon = m_state.programFolder() + QStringLiteral("/images/Tarvo.ICO");
    if (QFile::exists(icon))
        setWindowIcon(QIcon(icon));

    const QString documents = DocumentsFolder();
    m_state.TextsDbOpen = m_state.OpenTextsDb();
    const TextsGateway texts(m_state);
    CaptionedField *file = m_files->invoiceField();
    CaptionedField *exportFolder = m_files->exportField();
    file->setDialog(invoiceFilter, m_state.FilterIndex, texts.message(38), documents);
    file->setText(m_state.LastInvoicePath);
    exportFolder->setDialog({}, 0, texts.message(39), m_state.programFolder());
    exportFolder->setText(m_state.ExportFolder);
    m_support->attachmentField()->setDialog(invoiceFilter, 1, texts.message(40), documents);
    m_support->attachmentField()->setText(m_state.SupportAttachment);
    if (!m_state.TextsDbOpen)
        say(0, MsgIcon::Critical, appTitle,
            QStringLiteral(
                "Data-Connect failed! Please control connect.udl in Folder \\DB\r\nError Message: ") +
                m_state.textsDbError());

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
    const auto loaded = LoadClient(m_state, m_messages);
    if (!loaded)
        return;
    for (int i = 0; i < int(loaded->fields.size()); ++i) {
        const QString &value = loaded->fields[static_cast<std::size_t>(i)];
        CaptionedField *field = i == 5 ? m_settings->languageField() : m_client->field(i);
        if (field->kind() == CaptionedField::Kind::List)
            field->setValue(value);
        else
            field->setText(value);
    }
    m_clientRecord = loaded->client;
}

void frmInvora::saveClient()
{
    ClientFields fields;
    for (int i = 0; i < int(fields.size()); ++i)
        fields[static_cast<std::size_t>(i)] =
            i == 5 ? m_settings->languageField()->value() : m_client->field(i)->value();
    ClientSaveHooks hooks;
    hooks.refreshStatusBar = [this] {
        fillStatusBar();
    };
    hooks.translate = [this] {
        translate();
    };
    SaveClient(m_state, fields, m_settings->fontField()->text(), m_settings->fontSizeField()->text(),
               m_messages, hooks);
}

void frmInvora::SendSupportRequest()
{
    if (m_sender)
        return;
    if (CheckRequiredFields({m_support->nameField(), m_support->messageField()}, m_messages))
        return;
    Message ask;
    ask.number = 31;
    ask.icon = MsgIcon::Question;
    ask.title = appTitle;
    ask.text = GetMeldung(m_state, 31);
    if (m_messages.show(ask) != MsgAnswer::Yes)
        return;
    const PreparedSupportMail prepared =
        PrepareSupportMail(m_state, m_clientRecord, m_support->nameField()->text(),
                           m_support->messageField()->text(), m_support->attachmentField()->text());
    if (!prepared.config) {
        say(0, MsgIcon::Critical, SupportErrorTitle, SupportErrorText + prepared.failure);
        emit supportRequestFinished(false);
        return;
    }
    // The server may take its time: the window stays alive, the panel waits.
    m_cancelSending = false;
    m_support->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto result = std::make_shared<MailResult>();
    m_sender = QThread::create([this, config = *prepared.config, request = prepared.request, result] {
        *result = SendSupportMail(config, request, &m_cancelSending);
    });
    QThread *sender = m_sender;
    connect(m_sender, &QThread::finished, this, [this, sender, result] {
        // A report queued before the window ended the sending is no longer wanted.
        if (sender != m_sender)
            return;
        m_sender->deleteLater();
        m_sender = nullptr;
        QApplication::restoreOverrideCursor();
        m_support->setEnabled(true);
        if (*result)
            say(36, MsgIcon::Information, appTitle, GetMeldung(m_state, 36));
        else
            say(0, MsgIcon::Critical, SupportErrorTitle,
                SupportErrorText + DescribeMailFailure(m_state, *result));
        emit supportRequestFinished(bool(*result));
    });
    m_sender->start();
}

void frmInvora::stopSending()
{
    // Closing the window while a mail is on its way ends the sending without a report.
    if (!m_sender)
        return;
    m_sender->disconnect(this);
    m_cancelSending = true;
    m_sender->wait();
    delete m_sender;
    m_sender = nullptr;
    QApplication::restoreOverrideCursor();
    m_support->setEnabled(true);
}

DocumentTexts frmInvora::documentTexts() const
{
    return DocumentTextsOf(m_state, m_titles, m_files->invoiceField()->text());
}

void frmInvora::printInvoice()
{
    if (!m_print->isEnabled())
        return;
    QPrinter printer(QPrinter::HighResolution);
    // The document places its own A4 margins, measured from the paper's corner.
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int pages = RenderInvoice(m_model, documentTexts(), printer);
    QApplication::restoreOverrideCursor();
    if (pages == 0)
        say(66, MsgIcon::Critical, appTitle, GetMeldung(m_state, 66).arg(printer.printerName()));
}

void frmInvora::saveInvoicePdf()
{
    if (!m_pdf->isEnabled())
        return;
    QString name = m_model[Rd::InvoiceNumber].text();
    name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("_"));
    const QString suggested = DocumentsFolder() + QLatin1Char('/') +
                              (name.isEmpty() ? QStringLiteral("Rechnung") : name) + QStringLiteral(".pdf");
    const QString path = choosePdfPath(suggested);
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString problem;
    const bool written = WriteInvoicePdf(m_model, documentTexts(), path, &problem);
    QApplication::restoreOverrideCursor();
    if (!written)
        say(66, MsgIcon::Critical, appTitle, GetMeldung(m_state, 66).arg(problem));
}

void frmInvora::translate()
{
    // Qt's own dialogs and buttons speak the window's language too.
    static QTranslator *qtTexts = nullptr;
    if (qtTexts) {
        QCoreApplication::removeTranslator(qtTexts);
        delete qtTexts;
        qtTexts = nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_") + m_state.LanguageCode.toLower(),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtTexts = translator.release();
        QCoreApplication::installTranslator(qtTexts);
    }
    TranslateWindow(m_state, this);
    m_titles = SectionTitles();
    TranslateModel(m_state, m_model, m_titles);
    // The document types are named in the language too.
    if (!m_state.TextsDbOpen)
        return;
    m_model.setDocumentTypes(TextsGateway(m_state).documentTypes());
    CaptionedField *type = m_invoice->field(Rd::DocumentType);
    type->setEntries(m_model[Rd::DocumentType].entries());
    type->display(m_model[Rd::DocumentType]);
}

void frmInvora::fillStatusBar()
{
    const QStringList texts = TextsGateway(m_state).statusTexts();
    const QString suffix[] = {QString(), QLatin1Char(' ') + m_state.UserName,
                              QLatin1Char(' ') + m_state.ComputerName};
    for (std::size_t i = 0; i < m_statusPanels.size() && i < static_cast<std::size_t>(texts.size()); ++i)
        m_statusPanels[i]->setText(texts[static_cast<qsizetype>(i)] + suffix[i]);
}

void frmInvora::invoicePathChanged()
{
    m_state.FilterIndex = m_files->invoiceField()->filterIndex();
    // The identifiers page belongs to Peppol invoices.
    m_positions->setIdentifiersEnabled(KindOfFilterIndex(m_state.FilterIndex) == InvoiceKind::Peppol);
}

void frmInvora::convert()
{
    // No file chosen: the field is marked and the user told so, instead of "no valid XML".
    if (m_files->invoiceField()->text().trimmed().isEmpty()) {
        CheckRequiredFields({m_files->invoiceField()}, m_messages);
        return;
    }
    runImport(m_files->invoiceField()->text(), KindOfFilterIndex(m_state.FilterIndex));
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
    m_driver->setExportFolder(m_files->exportField()->text());
    const ImportResult result = m_driver->ImportInvoice(path, chosen);
    render();
    const std::vector<SumFinding> &findings = m_driver->sumFindings();
    const bool read = result.outcome == ImportOutcome::Read;
    // The invoice as a document: only one that was read.
    m_print->setEnabled(read);
    m_pdf->setEnabled(read);
    m_positions->showFindings(findings, read, GetMeldung(m_state, 62));
    m_sumsMark->setText(read ? QStringLiteral("●") : QString());
    m_sumsMark->setStyleSheet(findings.empty() ? QStringLiteral("color: rgb(0,128,0)")
                                               : QStringLiteral("color: rgb(255,0,0)"));
    m_sumsMark->setToolTip(!read              ? QString()
                           : findings.empty() ? GetMeldung(m_state, 62)
                                              : GetMeldung(m_state, 63).arg(findings.size()));
    QApplication::restoreOverrideCursor();
    // The content chose another kind, or the user agreed to read it as one: the filter follows.
    const InvoiceKind shown = result.fromPdf ? InvoiceKind::Pdf : result.kind;
    if (result && shown != chosen && !(result.fromPdf && chosen == InvoiceKind::CII)) {
        m_files->invoiceField()->setFilterIndex(static_cast<int>(shown));
        invoicePathChanged();
    }
    // As the import left it: a PDF, once extracted, counts as CII.
    if (result.kind != InvoiceKind::Auto)
        m_state.FilterIndex = static_cast<int>(result.kind);
}

void frmInvora::render()
{
    m_invoice->render();
    m_positions->render();
}

void frmInvora::ShowXmlSource()
{
    const QString path = m_files->invoiceField()->text();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QFile file(path);
    QString text;
    if (file.open(QIODevice::ReadOnly)) {
        text = QString::fromUtf8(file.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    m_invoice->showXml(text);
    QApplication::restoreOverrideCursor();
}

void frmInvora::OrdnerÖffnen()
{
    openUrl(QUrl::fromLocalFile(m_files->exportField()->text()));
}

void frmInvora::OpenWithAssociatedProgram(const QString &document)
{
    // Without a program for the document the user learns why nothing opens.
    if (!openUrl(QUrl::fromLocalFile(document)))
        say(67, MsgIcon::Information, brellwerk, GetMeldung(m_state, 67).arg(document));
}

void frmInvora::SaveToArchive()
{
    invorator::SaveToArchive(m_state, m_model, m_files->invoiceField()->text(), m_messages);
}

void frmInvora::openSettings()
{
    openPanel(m_settings);
}

void frmInvora::openClient()
{
    openPanel(m_client);
}

void frmInvora::openSupport()
{
    openPanel(m_support);
}

void frmInvora::openPanel(SidePanel *panel)
{
    // One panel at a time: another open panel is closed first.
    for (SidePanel *other : m_panels)
        if (other != panel && other->isVisible())
            closePanel(other);
    panel->hide();
    panel->move(panel->place());
    for (QWidget *w : m_contentSet)
        w->setEnabled(false);
    panel->raise();
    panel->show();
}

void frmInvora::closePanel(SidePanel *panel)
{
    panel->hide();
    for (QWidget *w : m_contentSet)
        w->setEnabled(true);
}

void frmInvora::saveSettings()
{
    m_settings->store(m_state);
    m_state.writePreferences();
    say(37, MsgIcon::Information, brellwerk, GetMeldung(m_state, 37));
}

void frmInvora::openHelp()
{
    const bool german = m_state.LanguageCode == QLatin1String("DE");
    const QString manual = m_state.programFolder() + (german ? QStringLiteral("/Hilfe/Benutzerhandbuch.pdf")
                                                             : QStringLiteral("/Hilfe/Handbook.pdf"));
    if (QFile::exists(manual)) {
        OpenWithAssociatedProgram(manual);
        return;
    }
    say(0, MsgIcon::Information, brellwerk,
        german ? QStringLiteral("Handbuch wurde im Verzeichnis .\\Hilfe nicht gefunden!")
               : QStringLiteral("Handbook was not found in the .\\Help directory!"));
}

void frmInvora::showAbout()
{
    say(0, MsgIcon::Information, m_state.AppTitle, m_state.AppTitle);
}

void frmInvora::closeEvent(QCloseEvent *event)
{
    stopSending();
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
