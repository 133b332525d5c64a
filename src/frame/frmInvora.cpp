#include "frame/frmInvora.h"

#include "frame/CaptionedField.h"
#include "frame/Controls.h"
#include "model/Conversions.h"
#include "import/PdfExtraction.h"
#include "localisation/Messages.h"
#include "services/SettingsStore.h"
#include "services/SharedState.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace invorator {

namespace {

const QString appTitle = QStringLiteral("Tarvo Invorator");
const QString brellwerk = QStringLiteral("Brellwerk");
const QString section = QStringLiteral("Settings");

// The invoice filter: its entries are the invoice kinds 1 to 4.
const QStringList invoiceFilter = {
    QStringLiteral("Invoice: CII (*.xml *.XML)"),
    QStringLiteral("Invoice: UBL (*.xml *.XML)"),
    QStringLiteral("Invoice: Peppol (*.xml *.XML)"),
    QStringLiteral("Invoice: ZUGFeRD (*.pdf *.PDF)"),
};

// Side panels and their places in twips (1/1440 inch) at 15 twips per pixel.
struct PanelPlace
{
    const char *key;
    int left;
    int top;
};
constexpr PanelPlace panelPlaces[] = {
    {"btnSetting", 7000, 3000}, {"btnMandant", 6000, 1800}, {"btnSupport", 6900, 1800}};
constexpr int twipsPerPixel = 15;

QString indexed(const QString &name, int index)
{
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

} // namespace

MsgAnswer BoxMessages::show(const Message &message)
{
    const QMessageBox::Icon icon = message.icon == MsgIcon::Critical      ? QMessageBox::Critical
                                   : message.icon == MsgIcon::Exclamation ? QMessageBox::Warning
                                   : message.icon == MsgIcon::Question    ? QMessageBox::Question
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

    buildCommandBar();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("content"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);
    layout->addWidget(buildFileArea());
    auto *splitter = new QSplitter(Qt::Vertical, central);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildInvoiceView());
    splitter->addWidget(buildPositions());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);
    buildPanels();

    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panel->setContentsMargins(6, 0, 6, 0);
        statusBar()->addWidget(panel, i == 0 ? 2 : 1);
        m_panels.push_back(panel);
    }
    setMinimumSize(1024, 680);
    resize(1280, 800);

    m_driver = std::make_unique<ImportDriver>(m_state, m_model, m_messages);
    m_driver->exportFolderReady = [this] {
        return m_export->exportFolderReady();
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
    const std::pair<const char *, const char *> buttons[] = {{"btnSave", "Archivieren"},
                                                             {"btnSetting", "Einstellungen"},
                                                             {"btnMandant", "Mandant"},
                                                             {"btnSupport", "Support"},
                                                             {"btnHelp", "Hilfe"}};
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DialogSaveButton, QStyle::SP_FileDialogDetailedView,
                                            QStyle::SP_DirHomeIcon, QStyle::SP_MessageBoxQuestion,
                                            QStyle::SP_DialogHelpButton};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        QAction *action =
            m_bar->addAction(style()->standardIcon(icons[i]), QString::fromUtf8(buttons[i].second));
        const QString key = QString::fromUtf8(buttons[i].first);
        action->setObjectName(key);
        if (auto *button = m_bar->widgetForAction(action))
            button->setObjectName(key);
        // One handler for all buttons, dispatched on the key.
        connect(action, &QAction::triggered, this, [this, key] {
            if (key == QLatin1String("btnSave"))
                return; // storing in the archive arrives with the archive
            if (key == QLatin1String("btnHelp"))
                openHelp();
            else
                openPanel(key);
        });
        if (i == 0)
            m_save = action;
        if (i == 0)
            m_bar->addSeparator();
    }
    m_save->setEnabled(false);
}

QWidget *frmInvora::buildFileArea()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("frmMenue"));
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 6);
    m_file = new CaptionedField(QStringLiteral("txtFile(0)"), QStringLiteral("Rechnung"),
                                CaptionedField::Kind::File, box);
    m_export = new CaptionedField(QStringLiteral("txtExport(0)"), QStringLiteral("Export-Pfad"),
                                  CaptionedField::Kind::Folder, box);
    m_convert = new QPushButton(QStringLiteral("Konvertieren"), box);
    m_convert->setObjectName(QStringLiteral("btnXRechnung"));
    m_convert->setDefault(true);
    m_convert->setMinimumWidth(120);
    layout->addWidget(m_file, 3);
    layout->addWidget(m_export, 2);
    layout->addWidget(m_convert);
    connect(m_convert, &QPushButton::clicked, this, &frmInvora::convert);
    connect(m_file, &CaptionedField::returnPressed, this, &frmInvora::convert);
    connect(m_file, &CaptionedField::pathChanged, this, &frmInvora::invoicePathChanged);
    auto *open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, m_file, &CaptionedField::openDialog);
    m_contentSet.push_back(box);
    return box;
}

QGroupBox *frmInvora::fieldGroup(const QString &name, const QString &title, const QString &fieldName,
                                 std::vector<CaptionedField *> &fields, const std::vector<int> &indices,
                                 const FieldGroup &group, int columns)
{
    auto *box = new QGroupBox(title, this);
    box->setObjectName(name);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(4);
    fields.resize(group.size(), nullptr);
    const int rows = (static_cast<int>(indices.size()) + columns - 1) / columns;
    std::vector<int> captionWidth(static_cast<std::size_t>(columns), 0);
    for (std::size_t k = 0; k < indices.size(); ++k) {
        const int i = indices[k];
        const Field &model = group[static_cast<std::size_t>(i)];
        const auto kind = name == QLatin1String("frmRechnung") && i == 5 ? CaptionedField::Kind::List
                                                                         : CaptionedField::Kind::Text;
        auto *field = new CaptionedField(indexed(fieldName, i), model.caption().trimmed(), kind, box);
        field->setReadOnly(true);
        field->display(model);
        fields[static_cast<std::size_t>(i)] = field;
        const int column = static_cast<int>(k) / rows;
        grid->addWidget(field, static_cast<int>(k) % rows, column);
        captionWidth[static_cast<std::size_t>(column)] =
            std::max(captionWidth[static_cast<std::size_t>(column)], field->captionHint());
    }
    // Captions of one column share one width, so the values line up.
    for (std::size_t k = 0; k < indices.size(); ++k)
        if (auto *f = fields[static_cast<std::size_t>(indices[k])]; f->captionHint() > 0)
            f->setCaptionWidth(captionWidth[k / static_cast<std::size_t>(rows)]);
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(rows, 1);
    m_contentSet.push_back(box);
    return box;
}

QWidget *frmInvora::buildInvoiceView()
{
    m_sstab = new QTabWidget(this);
    m_sstab->setObjectName(QStringLiteral("sstab"));
    auto *page = new QWidget(m_sstab);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *rechnung = fieldGroup(QStringLiteral("frmRechnung"), QStringLiteral("Rechnung"),
                                QStringLiteral("txtRechnungdaten"), m_rechnungdaten,
                                {1, 3, 4, 5, 0, 2, 6, 7, 8, 9}, m_model.txtRechnungdaten, 3);
    // The currency stands beside the tax and the final amount.
    auto *grid = static_cast<QGridLayout *>(rechnung->layout());
    for (int i : {10, 11}) {
        auto *currency = new CaptionedField(indexed(QStringLiteral("txtRechnungdaten"), i), QString(),
                                            CaptionedField::Kind::Text, rechnung);
        currency->setReadOnly(true);
        currency->setFixedWidth(64);
        currency->display(m_model.txtRechnungdaten[static_cast<std::size_t>(i)]);
        m_rechnungdaten[static_cast<std::size_t>(i)] = currency;
        grid->addWidget(currency, i - 10, 3);
    }
    for (int i : {8, 9})
        m_rechnungdaten[static_cast<std::size_t>(i)]->setAlignment(Qt::AlignRight);
    layout->addWidget(rechnung);
    auto *parties = new QHBoxLayout;
    std::vector<int> all(10);
    for (int i = 0; i < 10; ++i)
        all[static_cast<std::size_t>(i)] = i;
    parties->addWidget(fieldGroup(QStringLiteral("frmSeller"), QStringLiteral("Verkäufer"),
                                  QStringLiteral("txtSeller"), m_seller, all, m_model.txtSeller, 2));
    parties->addWidget(fieldGroup(QStringLiteral("frmBuyer"), QStringLiteral("Käufer"),
                                  QStringLiteral("txtBuyer"), m_buyer, all, m_model.txtBuyer, 2));
    layout->addLayout(parties);
    m_sstab->addTab(page, QStringLiteral("Rechnung"));

    auto *xmlPage = new QWidget(m_sstab);
    auto *xmlLayout = new QVBoxLayout(xmlPage);
    auto *show = new QPushButton(QStringLiteral("XML Anzeigen"), xmlPage);
    show->setObjectName(QStringLiteral("btnCodeAnzeigen"));
    m_xml = new QPlainTextEdit(xmlPage);
    m_xml->setObjectName(QStringLiteral("txtXML"));
    m_xml->setReadOnly(true);
    m_xml->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_xml->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    xmlLayout->addWidget(show, 0, Qt::AlignLeft);
    xmlLayout->addWidget(m_xml, 1);
    m_sstab->addTab(xmlPage, QStringLiteral("XML"));
    connect(show, &QPushButton::clicked, this, &frmInvora::ShowXmlSource);
    m_contentSet.push_back(m_sstab);
    return m_sstab;
}

QTreeWidget *frmInvora::listView(const ListView &lv, const std::vector<int> &numericColumns)
{
    auto *view = new QTreeWidget(this);
    view->setObjectName(lv.name());
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setColumnCount(lv.columnCount());
    view->setHeaderLabels(lv.headers());
    for (int c : numericColumns)
        view->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    view->header()->setStretchLastSection(false);
    view->setProperty("numericColumns",
                      QVariant::fromValue(QList<int>(numericColumns.begin(), numericColumns.end())));
    return view;
}

QWidget *frmInvora::buildPositions()
{
    auto *frame = new QGroupBox(QStringLiteral("Positionen"), this);
    frame->setObjectName(QStringLiteral("frmPos"));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(6, 6, 6, 6);
    m_sstabPos = new QTabWidget(frame);
    m_sstabPos->setObjectName(QStringLiteral("sstabPos"));
    m_lvTable = listView(m_model.lvTable, {3, 4, 5, 6});
    m_lvTable->setColumnWidth(0, 60);
    m_lvTable->setColumnWidth(1, 260);
    m_lvTable->setColumnWidth(2, 330);
    for (int c = 3; c <= 6; ++c)
        m_lvTable->setColumnWidth(c, 110);
    m_lvTable->header()->setStretchLastSection(true);
    m_sstabPos->addTab(m_lvTable, QStringLiteral("Positionen"));
    m_lvUst = listView(m_model.lvUst, {1, 2, 3});
    m_lvUst->setColumnWidth(0, 20);
    for (int c = 1; c <= 3; ++c)
        m_lvUst->setColumnWidth(c, 140);
    m_sstabPos->addTab(m_lvUst, QStringLiteral("Umsatzsteuer"));

    auto *grund = new QGroupBox(m_sstabPos);
    grund->setObjectName(QStringLiteral("frmGrund"));
    grund->setFlat(true);
    auto *grundLayout = new QHBoxLayout(grund);
    m_lvAbzuege = listView(m_model.lvAbzuege, {2, 3, 4});
    m_lvAbzuege->setColumnWidth(0, 220);
    for (int c = 1; c <= 4; ++c)
        m_lvAbzuege->setColumnWidth(c, 95);
    grundLayout->addWidget(m_lvAbzuege, 3);
    auto *totals =
        fieldGroup(QStringLiteral("frmSummen"), QStringLiteral("Summen"), QStringLiteral("txtSonstige"),
                   m_sonstige, {0, 1, 2, 3, 4, 5, 6, 7}, m_model.txtSonstige, 1);
    m_contentSet.pop_back(); // the totals belong to frmGrund
    for (int i = 0; i <= 7; ++i)
        m_sonstige[static_cast<std::size_t>(i)]->setAlignment(Qt::AlignRight);
    grundLayout->addWidget(totals, 2);
    m_sstabPos->addTab(grund, QStringLiteral("Abzüge und Summen"));
    m_contentSet.push_back(grund);

    auto *ids = new QWidget(m_sstabPos);
    auto *idsLayout = new QVBoxLayout(ids);
    auto *idBox =
        fieldGroup(QStringLiteral("frmKennungen"), QStringLiteral("Kennungen"), QStringLiteral("txtSonstige"),
                   m_sonstige, {8, 9, 10, 11}, m_model.txtSonstige, 1);
    m_contentSet.pop_back();
    idsLayout->addWidget(idBox);
    idsLayout->addStretch(1);
    m_sstabPos->addTab(ids, QStringLiteral("Kennungen"));
    layout->addWidget(m_sstabPos);
    m_contentSet.push_back(frame);
    return frame;
}

CaptionedField *frmInvora::panelField(QWidget *panel, int index, const QString &caption, int kind)
{
    auto *field = new CaptionedField(
        indexed(panel == m_frmSupport ? QStringLiteral("txtSupport") : QStringLiteral("txtAdresse"), index),
        caption, static_cast<CaptionedField::Kind>(kind), panel);
    auto &list = panel == m_frmSupport ? m_support : m_adresse;
    if (static_cast<int>(list.size()) <= index)
        list.resize(static_cast<std::size_t>(index) + 1, nullptr);
    list[static_cast<std::size_t>(index)] = field;
    return field;
}

void frmInvora::buildPanels()
{
    const auto makePanel = [this](const char *name, const QString &title, int closeIndex, QFrame *&panel) {
        panel = new QFrame(centralWidget());
        panel->setObjectName(QString::fromUtf8(name));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAutoFillBackground(true);
        auto *layout = new QVBoxLayout(panel);
        auto *heading = new QLabel(QStringLiteral("<b>%1</b>").arg(title), panel);
        layout->addWidget(heading);
        auto *close = new QPushButton(QStringLiteral("Schließen"), panel);
        close->setObjectName(indexed(QStringLiteral("btnClose"), closeIndex));
        connect(close, &QPushButton::clicked, this, [this, panel] { closePanel(panel); });
        panel->setProperty("closeButton", QVariant::fromValue<QObject *>(close));
        panel->hide();
        return layout;
    };
    const auto finish = [](QFrame *panel, QVBoxLayout *layout, QPushButton *action) {
        auto *buttons = new QHBoxLayout;
        buttons->addStretch(1);
        if (action)
            buttons->addWidget(action);
        buttons->addWidget(qobject_cast<QPushButton *>(panel->property("closeButton").value<QObject *>()));
        layout->addStretch(1);
        layout->addLayout(buttons);
        // The panel's captions share one width, so its values line up.
        const QList<CaptionedField *> fields = panel->findChildren<CaptionedField *>();
        int width = 0;
        for (CaptionedField *f : fields)
            width = std::max(width, f->captionHint());
        for (CaptionedField *f : fields)
            f->setCaptionWidth(width);
        panel->resize(440, panel->sizeHint().height());
    };

    QVBoxLayout *setting = makePanel("frmSetting", QStringLiteral("Einstellungen"), 4, m_frmSetting);
    for (const auto &[index, caption, kind] : std::vector<std::tuple<int, QString, CaptionedField::Kind>>{
             {5, QStringLiteral("Sprache"), CaptionedField::Kind::List},
             {11, QStringLiteral("Schrift"), CaptionedField::Kind::List},
             {12, QStringLiteral("Schriftgröße"), CaptionedField::Kind::Text},
             {13, QStringLiteral("Dezimalstellen"), CaptionedField::Kind::Text},
             {14, QStringLiteral("Format"), CaptionedField::Kind::Text}})
        setting->addWidget(panelField(m_frmSetting, index, caption, static_cast<int>(kind)));
    auto *saveSetting = new QPushButton(QStringLiteral("Speichern"), m_frmSetting);
    saveSetting->setObjectName(QStringLiteral("btnSaveSetting"));
    connect(saveSetting, &QPushButton::clicked, this, &frmInvora::saveSettings);
    finish(m_frmSetting, setting, saveSetting);
    // Two, three or four decimal places choose the format; the format may also be typed.
    connect(m_adresse[13]->lineEdit(), &QLineEdit::textChanged, this, [this](const QString &places) {
        static const QHash<QString, QString> formats{{QStringLiteral("2"), QStringLiteral("#,##0.00")},
                                                     {QStringLiteral("3"), QStringLiteral("#,##0.000")},
                                                     {QStringLiteral("4"), QStringLiteral("#,##0.0000")}};
        if (formats.contains(places.trimmed()))
            m_adresse[14]->setText(formats.value(places.trimmed()));
    });

    QVBoxLayout *mandant = makePanel("frmMandant", QStringLiteral("Mandant"), 1, m_frmMandant);
    const std::pair<int, const char *> clientFields[] = {{0, "Name"},
                                                         {1, "Straße"},
                                                         {2, "Land"},
                                                         {3, "PLZ"},
                                                         {4, "Ort"},
                                                         {6, "E-Mail"},
                                                         {7, "Ansprechpartner"},
                                                         {8, "Ansp.- E-Mail"},
                                                         {9, "Ansp.- Telefon"},
                                                         {10, "Bemerkungen"}};
    for (const auto &[index, caption] : clientFields)
        mandant->addWidget(panelField(m_frmMandant, index, QString::fromUtf8(caption)));
    auto *saveClient = new QPushButton(QStringLiteral("Speichern"), m_frmMandant);
    saveClient->setObjectName(QStringLiteral("btnMandantSpeichern"));
    saveClient->setEnabled(false); // the client record arrives in a later version
    finish(m_frmMandant, mandant, saveClient);

    QVBoxLayout *support = makePanel("frmSupport", QStringLiteral("Support"), 3, m_frmSupport);
    support->addWidget(panelField(m_frmSupport, 0, QStringLiteral("Name")));
    support->addWidget(
        panelField(m_frmSupport, 1, QStringLiteral("Anlage"), static_cast<int>(CaptionedField::Kind::File)));
    support->addWidget(panelField(m_frmSupport, 2, QStringLiteral("Nachricht")));
    auto *send = new QPushButton(QStringLiteral("Senden"), m_frmSupport);
    send->setObjectName(QStringLiteral("cmdSenden(1)"));
    send->setEnabled(false); // sending arrives in a later version
    finish(m_frmSupport, support, send);
}

void frmInvora::setUp()
{
    m_state.readSettings();
    // Settings page: decimal places and format from the number format.
    const QString format = m_state.NumberFormat;
    const qsizetype point = format.lastIndexOf(QLatin1Char('.'));
    m_adresse[13]->setText(QString::number(point < 0 ? 0 : format.size() - point - 1));
    m_adresse[14]->setText(format); // after the places, which would otherwise choose a format

    const QString icon = m_state.programFolder() + QStringLiteral("/images/Tarvo.ICO");
    if (QFile::exists(icon))
        setWindowIcon(QIcon(icon));

    const QString documents = DocumentsFolder();
    m_state.TextsDbOpen = m_state.OpenTextsDb();
    m_file->setDialog(invoiceFilter, m_state.FilterIndex, GetMeldung(m_state, 38), documents);
    m_file->setText(SettingsStore::Read(m_state.AppTitle, section, QStringLiteral("LW"), UserTempFolder()));
    m_export->setDialog({}, 0, GetMeldung(m_state, 39), m_state.programFolder());
    m_export->setText(SettingsStore::Read(m_state.AppTitle, section, QStringLiteral("Folder"), documents));
    m_support[1]->setDialog(invoiceFilter, 1, GetMeldung(m_state, 40), documents);
    m_support[1]->setText(
        SettingsStore::Read(m_state.AppTitle, section, QStringLiteral("LWSupport"), documents));
    if (!m_state.TextsDbOpen) {
        Message m;
        m.icon = MsgIcon::Critical;
        m.title = appTitle;
        m.text = QStringLiteral(
                     "Data-Connect failed! Please control connect.udl in Folder \\DB\r\nError Message: ") +
                 m_state.textsDbError();
        m_messages.show(m);
    }

    if (m_state.TextsDbOpen) {
        m_model.setDocumentTypes(LoadDocumentTypes(m_state));
        m_rechnungdaten[5]->setEntries(m_model.txtRechnungdaten[5].entries(),
                                       {QStringLiteral("Typ"), QStringLiteral("Bezeichnung")});
        // The languages of the texts database.
        Field::Entries languages;
        QSqlQuery query(m_state.textsDb());
        if (query.exec(QStringLiteral("SELECT Sprache FROM tblSprache ORDER BY ID")))
            while (query.next())
                languages.emplace_back(query.value(0).toString(), query.value(0).toString());
        m_adresse[5]->setEntries(languages, {QStringLiteral("Sprache"), QString()});
    }
    m_sstab->setCurrentIndex(0);
    m_sstabPos->setCurrentIndex(0);

    Field::Entries fonts;
    for (const char *font : {"Arial", "Courier New", "Times New Roman", "Trebuchet MS", "Verdana"})
        fonts.emplace_back(QString::fromUtf8(font), QString::fromUtf8(font));
    m_adresse[11]->setEntries(fonts, {QStringLiteral("Schrift"), QString()});
    m_adresse[11]->setValue(m_state.FontName);
    m_adresse[12]->setText(m_state.FontSize);
    m_adresse[5]->setValue(m_state.LanguageCode);

    m_rechnungdaten[8]->setText(FormatNumber(0.0, m_state.NumberFormat));
    m_rechnungdaten[9]->setText(FormatNumber(0.0, m_state.NumberFormat));
    invoicePathChanged();
    // Without the archive file the save command is not offered at all.
    m_save->setVisible(QFile::exists(m_state.archivePath()));
    m_save->setEnabled(false);
}

void frmInvora::fillStatusBar()
{
    if (!m_state.TextsDbOpen)
        return;
    QSqlQuery query(m_state.textsDb());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("Select * from tblStatus")))
        return;
    const int column = query.record().indexOf(m_state.LanguageCode);
    const QString suffix[] = {QString(), QLatin1Char(' ') + m_state.UserName,
                              QLatin1Char(' ') + m_state.ComputerName};
    for (std::size_t i = 0; i < m_panels.size() && column >= 0 && query.next(); ++i)
        m_panels[i]->setText(query.value(column).toString() + suffix[i]);
}

void frmInvora::invoicePathChanged()
{
    m_state.FilterIndex = m_file->filterIndex();
    // The identifiers page belongs to Peppol invoices.
    const bool peppol = m_state.FilterIndex == 3;
    m_sstabPos->setTabEnabled(3, peppol);
    if (!peppol)
        m_sstabPos->setCurrentIndex(0);
}

void frmInvora::convert()
{
    runImport(m_file->text(), m_state.FilterIndex);
}

void frmInvora::convertFile(const QString &path)
{
    m_file->setText(QFileInfo(path).absoluteFilePath());
    runImport(m_file->text(), static_cast<int>(InvoiceKind::Auto));
}

void frmInvora::runImport(QString path, int kind)
{
    const int chosen = kind;
    const bool pdf = IsPdfFile(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_driver->setExportFolder(m_export->text());
    const ImportOutcome outcome = m_driver->ImportInvoice(path, kind);
    render();
    QApplication::restoreOverrideCursor();
    // The content chose another kind, or the user agreed to read it as one: the filter follows.
    const int shown = pdf ? 4 : kind;
    if (outcome == ImportOutcome::Read && shown != chosen && !(pdf && chosen == 1)) {
        m_file->setFilterIndex(shown);
        invoicePathChanged();
    }
    // As the import left it: a PDF, once extracted, counts as CII.
    m_state.FilterIndex = kind >= 1 && kind <= 4 ? kind : m_state.FilterIndex;
}

void frmInvora::render()
{
    const auto fill = [](const std::vector<CaptionedField *> &fields, const FieldGroup &group) {
        for (std::size_t i = 0; i < fields.size() && i < group.size(); ++i)
            if (fields[i])
                fields[i]->display(group[i]);
    };
    fill(m_seller, m_model.txtSeller);
    fill(m_buyer, m_model.txtBuyer);
    fill(m_rechnungdaten, m_model.txtRechnungdaten);
    fill(m_sonstige, m_model.txtSonstige);
    for (auto [view, lv] : {std::pair{m_lvTable, &m_model.lvTable}, std::pair{m_lvUst, &m_model.lvUst},
                            std::pair{m_lvAbzuege, &m_model.lvAbzuege}}) {
        view->setUpdatesEnabled(false);
        view->clear();
        const QList<int> numeric = view->property("numericColumns").value<QList<int>>();
        QList<QTreeWidgetItem *> items;
        items.reserve(lv->rowCount());
        for (int r = 0; r < lv->rowCount(); ++r) {
            const ListRow &row = lv->row(r);
            auto *item = new QTreeWidgetItem(row.cells);
            for (int c = 0; c < row.cells.size(); ++c) {
                if (numeric.contains(c))
                    item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
                if (row.cellColors[static_cast<std::size_t>(c)] == ColorRed)
                    item->setForeground(c, QColor(255, 0, 0));
            }
            items.append(item);
        }
        view->addTopLevelItems(items);
        view->setUpdatesEnabled(true);
    }
}

void frmInvora::ShowXmlSource()
{
    const QString path = m_file->text();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QFile file(path);
    QString text;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        text = QString::fromUtf8(bytes);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    m_xml->setPlainText(text);
    QApplication::restoreOverrideCursor();
}

void frmInvora::OrdnerÖffnen()
{
    openUrl(QUrl::fromLocalFile(m_export->text()));
}

void frmInvora::OpenWithAssociatedProgram(const QString &document)
{
    openUrl(QUrl::fromLocalFile(document));
}

void frmInvora::openPanel(const QString &key)
{
    QFrame *panels[] = {m_frmSetting, m_frmMandant, m_frmSupport};
    for (std::size_t i = 0; i < std::size(panelPlaces); ++i) {
        if (key != QLatin1String(panelPlaces[i].key))
            continue;
        // One panel at a time: another open panel is closed first.
        for (QFrame *other : panels)
            if (other != panels[i] && other->isVisible())
                closePanel(other);
        QFrame *panel = panels[i];
        panel->hide();
        panel->move(panelPlaces[i].left / twipsPerPixel, panelPlaces[i].top / twipsPerPixel);
        for (QWidget *w : m_contentSet)
            w->setEnabled(false);
        panel->raise();
        panel->show();
        return;
    }
}

void frmInvora::closePanel(QWidget *panel)
{
    panel->hide();
    for (QWidget *w : m_contentSet)
        w->setEnabled(true);
}

void frmInvora::saveSettings()
{
    m_state.LanguageCode = m_adresse[5]->value().isEmpty() ? m_state.LanguageCode : m_adresse[5]->value();
    m_state.FontName = m_adresse[11]->value();
    m_state.FontSize = m_adresse[12]->text();
    m_state.NumberFormat = m_adresse[14]->text();
    SettingsStore::Write(m_state.AppTitle, section, QStringLiteral("Language"), m_state.LanguageCode);
    SettingsStore::Write(m_state.AppTitle, section, QStringLiteral("Font"), m_state.FontName);
    SettingsStore::Write(m_state.AppTitle, section, QStringLiteral("FontSize"), m_state.FontSize);
    SettingsStore::Write(m_state.AppTitle, section, QStringLiteral("Format"), m_state.NumberFormat);
    Message m;
    m.number = 37;
    m.icon = MsgIcon::Information;
    m.title = brellwerk;
    m.text = GetMeldung(m_state, 37);
    m_messages.show(m);
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
    Message m;
    m.icon = MsgIcon::Information;
    m.title = brellwerk;
    m.text = german ? QStringLiteral("Handbuch wurde im Verzeichnis .\\Hilfe nicht gefunden!")
                    : QStringLiteral("Handbook was not found in the .\\Help directory!");
    m_messages.show(m);
}

void frmInvora::closeEvent(QCloseEvent *event)
{
    const QString app = m_state.AppTitle;
    SettingsStore::Write(app, section, QStringLiteral("Language"), m_state.LanguageCode);
    SettingsStore::Write(app, section, QStringLiteral("Font"), m_state.FontName);
    SettingsStore::Write(app, section, QStringLiteral("FontSize"), m_state.FontSize);
    SettingsStore::Write(app, section, QStringLiteral("Format"), m_state.NumberFormat);
    SettingsStore::Write(app, section, QStringLiteral("LW"), m_file->text());
    SettingsStore::Write(app, section, QStringLiteral("Folder"), m_export->text());
    SettingsStore::Write(app, section, QStringLiteral("FilterIndex"), QString::number(m_file->filterIndex()));
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
