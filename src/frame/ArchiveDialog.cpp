#include "frame/ArchiveDialog.h"

#include "archive/InvoiceArchive.h"
#include "frame/CaptionedField.h"
#include "frame/FileArea.h"
#include "frame/FormTranslation.h"
#include "frame/frmInvora.h"
#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>

#include <map>

namespace invorator {

namespace {

// Texts of the archive window in tblMeldungen.
enum ArchiveText { Title = 90, AllStates = 91, Valid = 92, Findings = 93, FromArchive = 94 };

// Writes bytes to path through a temporary file, so that a failure leaves what was there.
QString writeBytes(const SharedState &state, const QString &path, const QByteArray &bytes)
{
    if (const auto refused = RefusedWriteTarget(path))
        return WriteRefusalText(state, *refused);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

} // namespace

ArchiveDialog::ArchiveDialog(frmInvora &window, SharedState &state, MessageSink &messages)
    : QDialog(&window), m_window(window), m_state(state), m_messages(messages)
{
    setObjectName(QStringLiteral("frmArchiv"));
    setWindowTitle(GetMeldung(m_state, Title));
    resize(900, 520);
    chooseSavePath = [this](const QString &suggested) {
        return QFileDialog::getSaveFileName(this, windowTitle(),
                                            DocumentsFolder() + QLatin1Char('/') + suggested);
    };

    auto *filters = new QGridLayout;
    const auto field = [&](const char *label, const char *caption, const char *edit, int row, int column) {
        auto *l = new QLabel(QString::fromUtf8(caption), this);
        l->setObjectName(QString::fromLatin1(label));
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(edit));
        e->setClearButtonEnabled(true);
        l->setBuddy(e);
        filters->addWidget(l, row, column);
        filters->addWidget(e, row, column + 1);
        connect(e, &QLineEdit::textChanged, this, &ArchiveDialog::refill);
        return e;
    };
    m_seller = field("lblArchivVerkaeufer", "Verkäufer", "txtArchivVerkaeufer", 0, 0);
    m_number = field("lblArchivNummer", "Rechnungsnummer", "txtArchivNummer", 0, 2);
    m_from = field("lblArchivVon", "Datum von", "txtArchivVon", 1, 0);
    m_to = field("lblArchivBis", "Datum bis", "txtArchivBis", 1, 2);
    m_min = field("lblArchivBetragVon", "Betrag von", "txtArchivBetragVon", 2, 0);
    m_max = field("lblArchivBetragBis", "Betrag bis", "txtArchivBetragBis", 2, 2);
    auto *stateLabel = new QLabel(QStringLiteral("Status"), this);
    stateLabel->setObjectName(QStringLiteral("lblArchivStatus"));
    m_stateFilter = new QComboBox(this);
    m_stateFilter->setObjectName(QStringLiteral("cboArchivStatus"));
    m_stateFilter->addItem(GetMeldung(m_state, AllStates), QString());
    m_stateFilter->addItem(GetMeldung(m_state, Valid), QStringLiteral("valid"));
    m_stateFilter->addItem(GetMeldung(m_state, Findings), QStringLiteral("findings"));
    stateLabel->setBuddy(m_stateFilter);
    filters->addWidget(stateLabel, 3, 0);
    filters->addWidget(m_stateFilter, 3, 1);
    connect(m_stateFilter, &QComboBox::currentIndexChanged, this, &ArchiveDialog::refill);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("lvArchiv"));
    m_tree->setHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Verkäufer"), QStringLiteral("Nummer"),
                             QStringLiteral("Betrag"), QStringLiteral("Status"), QStringLiteral("Ersetzt")});
    m_tree->header()->resizeSection(1, 260);
    connect(m_tree, &QTreeWidget::itemActivated, this, &ArchiveDialog::openSelected);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::tuple<const char *, const char *, std::function<void()>> commands[] = {
        {"btnArchivOeffnen", "Öffnen",
         [this] {
             openSelected();
         }},
        {"btnArchivSpeichern", "Original speichern …",
         [this] {
             saveSelected();
         }},
        {"btnArchivSchliessen", "Schließen", [this] {
             close();
         }}};
    for (const auto &[name, caption, run] : commands) {
        auto *button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, run);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
}

bool ArchiveDialog::reload()
{
    Database archive(QStringLiteral("archive-list"));
    DbResult opened = archive.open(ArchiveOf(m_state).config);
    if (opened)
        opened = UpgradeArchive(archive);
    std::optional<std::vector<ArchiveEntry>> entries;
    ArchiveListing listing(archive);
    if (opened && !(entries = listing.entries(true)))
        opened = {false, listing.lastError()};
    if (!opened) {
        m_messages.show(MakeMessage(0, MsgIcon::Critical, m_state.AppTitle,
                                    QStringLiteral("Fehler: ") + DbResultText(m_state, opened)));
        return false;
    }
    m_entries = std::move(*entries);
    refill();
    return true;
}

QString ArchiveDialog::stateText(const QString &state) const
{
    return state.isEmpty() ? QString()
                           : GetMeldung(m_state, state == QLatin1String("valid") ? Valid : Findings);
}

void ArchiveDialog::refill()
{
    ArchiveFilter filter;
    filter.seller = m_seller->text();
    filter.number = m_number->text();
    // A bound still being typed, or not readable, filters nothing yet.
    filter.from = ArchiveFilter::parseDate(m_from->text());
    filter.to = ArchiveFilter::parseDate(m_to->text());
    filter.minAmount = ParseGermanNumber(m_min->text());
    filter.maxAmount = ParseGermanNumber(m_max->text());
    filter.state = m_stateFilter->currentData().toString();

    // Newest first: the first version of an invoice met is its latest, the others go under it.
    m_tree->clear();
    std::map<QString, QTreeWidgetItem *> invoices;
    std::map<QString, bool> hidden;
    for (const ArchiveEntry &e : m_entries) {
        const QString key = e.invoiceKey();
        if (hidden[key])
            continue;
        QTreeWidgetItem *top = invoices.count(key) ? invoices[key] : nullptr;
        if (!top && !filter.matches(e)) {
            hidden[key] = true;
            continue;
        }
        const QString amount = (e.amountDue + QLatin1Char(' ') + e.currency).trimmed();
        auto *item = new QTreeWidgetItem(
            {e.issueDate, e.seller, e.number, amount, stateText(e.state),
             e.latest() ? QString()
                        : e.replacedDate + QStringLiteral(" (") + e.replacedUser + QLatin1Char(')')});
        item->setData(0, Qt::UserRole, e.id);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        if (top) {
            top->addChild(item);
        } else {
            m_tree->addTopLevelItem(item);
            invoices[key] = item;
        }
    }
}

std::optional<qint64> ArchiveDialog::selectedId() const
{
    if (const QTreeWidgetItem *item = m_tree->currentItem())
        return item->data(0, Qt::UserRole).toLongLong();
    return std::nullopt;
}

std::optional<StoredDocument> ArchiveDialog::documentOf(qint64 id)
{
    Database archive(QStringLiteral("archive-list"));
    DbResult opened = archive.open(ArchiveOf(m_state).config);
    if (opened)
        opened = UpgradeArchive(archive);
    ArchiveListing listing(archive);
    std::optional<StoredDocument> document;
    if (opened && !(document = listing.document(id)))
        opened = {false, listing.lastError()};
    if (!opened)
        m_messages.show(MakeMessage(0, MsgIcon::Critical, m_state.AppTitle,
                                    QStringLiteral("Fehler: ") + DbResultText(m_state, opened)));
    return document;
}

void ArchiveDialog::openSelected()
{
    const auto id = selectedId();
    const auto document = id ? documentOf(*id) : std::nullopt;
    if (!document)
        return;
    // The original in the user's private folder, under its own name after the entry's id:
    // two versions of one file do not overwrite each other.
    const QString folder = UserTempFolder() + QStringLiteral("/Archiv");
    QDir().mkpath(folder);
    const QString name = QFileInfo(document->fileName).fileName();
    const QString path = folder + QLatin1Char('/') + QString::number(*id) + QLatin1Char('-') + name;
    if (const QString problem = writeBytes(m_state, path, document->bytes); !problem.isEmpty()) {
        m_messages.show(MakeMessage(0, MsgIcon::Critical, m_state.AppTitle,
                                    QStringLiteral("Fehler: ") + path + QStringLiteral(": ") + problem));
        return;
    }
    disconnect(m_unmark);
    m_window.convertFile(path);
    // The title says where the invoice on show came from, until another file is chosen.
    m_window.setWindowTitle(GetMeldung(m_state, FromArchive).arg(m_state.AppTitle, name));
    if (auto *files = m_window.findChild<FileArea *>())
        m_unmark = connect(files->invoiceField()->lineEdit(), &QLineEdit::textChanged, this, [this] {
            m_window.setWindowTitle(m_state.AppTitle);
            disconnect(m_unmark);
        });
}

void ArchiveDialog::saveSelected()
{
    const auto id = selectedId();
    const auto document = id ? documentOf(*id) : std::nullopt;
    if (!document)
        return;
    const QString path = chooseSavePath(QFileInfo(document->fileName).fileName());
    if (path.isEmpty())
        return;
    if (const QString problem = writeBytes(m_state, path, document->bytes); !problem.isEmpty())
        m_messages.show(MakeMessage(0, MsgIcon::Critical, m_state.AppTitle,
                                    QStringLiteral("Fehler: ") + path + QStringLiteral(": ") + problem));
}

void ShowArchive(frmInvora &window, SharedState &state, MessageSink &messages)
{
    auto *dialog = window.findChild<ArchiveDialog *>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new ArchiveDialog(window, state, messages);
    // Translating the main window reaches this one's controls too, under the main window's
    // name: each opening applies this window's own texts again.
    if (state.TextsDbOpen)
        TranslateWindow(state, dialog);
    if (!dialog->reload())
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace invorator
