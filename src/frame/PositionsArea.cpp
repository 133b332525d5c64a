#include "frame/PositionsArea.h"

#include "frame/CaptionedField.h"
#include "frame/CheckTexts.h"
#include "model/Payment.h"
#include "output/DisplayModelOutput.h"
#include "output/PaymentCode.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace invorator {

namespace {

constexpr int identifiersPage = 3;

// The columns of the check page (`lvPruefung`).
namespace CheckColumn {
enum : int { Flag, Rule, Where, Expected, Found, Meaning };
}

// Fills a list widget from a list of the model: right-aligned amount columns, red rows.
void fill(QTreeWidget *view, const ListView &lv, const QList<int> &numeric)
{
    view->setUpdatesEnabled(false);
    view->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(lv.rowCount());
    for (int r = 0; r < lv.rowCount(); ++r) {
        const ListRow &row = lv.row(r);
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

// What a banking program accepts when pasted: the IBAN without the spaces of its groups,
// the amount without its thousands separators and currency, the rest as shown.
QString copiedText(const QTreeWidgetItem *item, int column)
{
    QString text = item->text(column).trimmed();
    if (column == PaymentColumn::Iban)
        text.remove(QLatin1Char(' '));
    if (column == PaymentColumn::Amount) {
        // The separator that stands last is the decimal one; the other groups thousands.
        const qsizetype comma = text.lastIndexOf(QLatin1Char(',')),
                        point = text.lastIndexOf(QLatin1Char('.'));
        text.remove(comma > point ? QLatin1Char('.') : QLatin1Char(','));
        // The number alone, without its currency or spaces.
        text.removeIf([](QChar c) { return !c.isDigit() && c != u',' && c != u'.' && c != u'-'; });
    }
    return text;
}

QList<int> numericColumns(const QTreeWidget *view)
{
    return view->property("numericColumns").value<QList<int>>();
}

} // namespace

PositionsArea::PositionsArea(const DisplayModel &model, QWidget *parent)
    : QGroupBox(QStringLiteral("Positionen"), parent), m_model(model)
{
    setObjectName(QStringLiteral("frmPos"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("sstabPos"));

    using namespace LineColumn;
    m_lvTable = listView(model.lvTable, {Quantity, Price, VatRate, Total}, m_tabs);
    m_lvTable->setColumnWidth(Position, 60);
    m_lvTable->setColumnWidth(Article, 260);
    // The description takes the room the amounts leave, which are as wide as their widest
    // text: every column stays in sight on a small screen.
    m_lvTable->header()->setSectionResizeMode(Description, QHeaderView::Stretch);
    for (int c = Quantity; c <= Total; ++c)
        m_lvTable->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    m_tabs->addTab(m_lvTable, QStringLiteral("Positionen"));

    m_lvUst = listView(model.lvUst, {VatColumn::Rate, VatColumn::Amount, VatColumn::Basis}, m_tabs);
    m_lvUst->setColumnWidth(VatColumn::Row, 20);
    for (int c = VatColumn::Rate; c <= VatColumn::Basis; ++c)
        m_lvUst->setColumnWidth(c, 140);
    m_tabs->addTab(m_lvUst, QStringLiteral("Umsatzsteuer"));

    auto *grund = new QGroupBox(m_tabs);
    grund->setObjectName(QStringLiteral("frmGrund"));
    grund->setFlat(true);
    auto *grundLayout = new QHBoxLayout(grund);
    m_lvAbzuege = listView(
        model.lvAbzuege, {AllowanceColumn::Percent, AllowanceColumn::Amount, AllowanceColumn::Basis}, grund);
    m_lvAbzuege->setColumnWidth(AllowanceColumn::Reason, 220);
    for (int c = AllowanceColumn::ReasonCode; c <= AllowanceColumn::Basis; ++c)
        m_lvAbzuege->setColumnWidth(c, 95);
    grundLayout->addWidget(m_lvAbzuege, 3);
    const std::initializer_list<FieldId> totals = {So::LineTotal,  So::NetTotal,  So::GrossTotal,
                                                   So::Allowances, So::Charges,   So::Prepaid,
                                                   So::Rounding,   So::DuePayable};
    grundLayout->addWidget(makeFieldBox(QStringLiteral("frmSummen"), QStringLiteral("Summen"), totals, 2,
                                        model, m_fields, grund),
                           2);
    for (FieldId id : totals)
        m_fields[id]->setAlignment(Qt::AlignRight);
    m_tabs->addTab(grund, QStringLiteral("Abzüge und Summen"));
    m_grund = grund;

    auto *ids = new QWidget(m_tabs);
    auto *idsLayout = new QVBoxLayout(ids);
    idsLayout->addWidget(makeFieldBox(
        QStringLiteral("frmKennungen"), QStringLiteral("Kennungen"),
        {So::EndpointId, So::ProfileId, So::AccountingCost, So::BusinessProcess}, 1, model, m_fields, ids));
    idsLayout->addStretch(1);
    m_tabs->addTab(ids, QStringLiteral("Kennungen"));

    m_lvPruefung = new QTreeWidget(m_tabs);
    m_lvPruefung->setObjectName(QStringLiteral("lvPruefung"));
    m_lvPruefung->setRootIsDecorated(false);
    m_lvPruefung->setAlternatingRowColors(true);
    m_lvPruefung->setHeaderLabels({QStringLiteral("Art"), QStringLiteral("Regel"), QStringLiteral("Stelle"),
                                   QStringLiteral("Erwartet"), QStringLiteral("Gefunden"),
                                   QStringLiteral("Bedeutung")});
    for (int c : {CheckColumn::Flag, CheckColumn::Rule})
        m_lvPruefung->setColumnWidth(c, 80);
    m_lvPruefung->setColumnWidth(CheckColumn::Where, 140);
    for (int c : {CheckColumn::Expected, CheckColumn::Found}) {
        m_lvPruefung->setColumnWidth(c, 110);
        m_lvPruefung->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    // What a finding means is read in full: the last column takes the room left and its
    // sentence wraps, the row as high as the sentence needs at the column's width.
    m_lvPruefung->setWordWrap(true);
    connect(m_lvPruefung->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == CheckColumn::Meaning)
            wrapMeanings();
    });
    connect(m_lvPruefung, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (const int line = item->data(CheckColumn::Flag, Qt::UserRole).toInt(); line > 0)
            emit lineRequested(line);
    });
    m_tabs->addTab(m_lvPruefung, QStringLiteral("Prüfung"));

    auto *payment = new QWidget(m_tabs);
    auto *paymentLayout = new QHBoxLayout(payment);
    m_lvZahlung = listView(model.lvZahlung, {PaymentColumn::Amount}, payment);
    m_lvZahlung->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvZahlung->setColumnHidden(PaymentColumn::Qr, true); // drawn beside the list instead
    // Each column as wide as its text, the means' name taking what is left (render hides
    // the columns no means fills), so that the amount is in sight without scrolling.
    m_lvZahlung->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lvZahlung->header()->setSectionResizeMode(PaymentColumn::Name, QHeaderView::Stretch);
    auto *listSide = new QVBoxLayout;
    listSide->addWidget(m_lvZahlung, 1);
    paymentLayout->addLayout(listSide, 1);
    m_qrCode = new QLabel(payment);
    m_qrCode->setObjectName(QStringLiteral("imgQrCode"));
    m_qrCode->setFixedSize(180, 180);
    m_qrCode->setAlignment(Qt::AlignCenter);
    // Under the list, what a bookkeeper types into the banking program, one click each.
    auto *copyRow = new QHBoxLayout;
    const std::tuple<const char *, const char *, int> copies[] = {
        {"btnKopierenIban", "IBAN kopieren", PaymentColumn::Iban},
        {"btnKopierenBic", "BIC kopieren", PaymentColumn::Bic},
        {"btnKopierenZweck", "Verwendungszweck kopieren", PaymentColumn::Reference},
        {"btnKopierenBetrag", "Betrag kopieren", PaymentColumn::Amount}};
    for (const auto &[name, caption, column] : copies) {
        auto *copy = new QPushButton(QString::fromUtf8(caption), payment);
        copy->setObjectName(QString::fromLatin1(name));
        copy->setEnabled(false);
        connect(copy, &QPushButton::clicked, this, [this, column] {
            if (const QTreeWidgetItem *item = m_lvZahlung->currentItem())
                QGuiApplication::clipboard()->setText(copiedText(item, column));
        });
        m_copyButtons.push_back({copy, column});
        copyRow->addWidget(copy);
    }
    copyRow->addStretch(1);
    listSide->addLayout(copyRow);
    m_discounts = new QLabel(payment);
    m_discounts->setObjectName(QStringLiteral("lblSkonto"));
    m_discounts->setWordWrap(true);
    m_discounts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_discounts->hide();
    listSide->addWidget(m_discounts);
    paymentLayout->addWidget(m_qrCode, 0, Qt::AlignTop);
    connect(m_lvZahlung, &QTreeWidget::itemSelectionChanged, this, &PositionsArea::showPaymentCode);
    m_tabs->addTab(payment, QStringLiteral("Zahlung"));
    layout->addWidget(m_tabs);
}

void PositionsArea::showPaymentCode()
{
    const QList<QTreeWidgetItem *> chosen = m_lvZahlung->selectedItems();
    const QString text = chosen.isEmpty() ? QString() : chosen.first()->text(PaymentColumn::Qr);
    // A value the chosen means lacks cannot be copied.
    for (const auto &[button, column] : m_copyButtons)
        button->setEnabled(!chosen.isEmpty() && !chosen.first()->text(column).trimmed().isEmpty());
    const QrMatrix matrix = EncodeQr(text);
    // Whole pixels a module (with the quiet zone of four on each side), so that a phone
    // reads every module; the label is large enough for the longest transfer code.
    const int scale = std::max(1, m_qrCode->width() / (matrix.size + 8));
    const QImage image = QrImage(matrix, scale);
    m_qrCode->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}

QTreeWidget *PositionsArea::listView(const ListView &lv, const QList<int> &numericColumns, QWidget *parent)
{
    auto *view = new QTreeWidget(parent);
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
    view->setProperty("numericColumns", QVariant::fromValue(numericColumns));
    return view;
}

void PositionsArea::render()
{
    m_fields.display(m_model);
    fill(m_lvTable, m_model.lvTable, numericColumns(m_lvTable));
    fill(m_lvUst, m_model.lvUst, numericColumns(m_lvUst));
    fill(m_lvAbzuege, m_model.lvAbzuege, numericColumns(m_lvAbzuege));
    fill(m_lvZahlung, m_model.lvZahlung, numericColumns(m_lvZahlung));
    for (int c = 0; c < m_lvZahlung->columnCount(); ++c) {
        bool filled = m_lvZahlung->topLevelItemCount() == 0;
        for (int r = 0; r < m_lvZahlung->topLevelItemCount() && !filled; ++r)
            filled = !m_lvZahlung->topLevelItem(r)->text(c).isEmpty();
        m_lvZahlung->setColumnHidden(c, c == PaymentColumn::Qr || !filled);
    }
    // The means the document shows a code for is chosen, so the code shows at once.
    const int chosen = std::max(0, ChosenPaymentRow(m_model.lvZahlung));
    m_lvZahlung->setCurrentItem(chosen < m_lvZahlung->topLevelItemCount() ? m_lvZahlung->topLevelItem(chosen)
                                                                          : nullptr);
    showPaymentCode();
}

void PositionsArea::showFindings(const std::vector<SumFinding> &findings, const ValidationReport &validation,
                                 bool validated, bool read, const QString &pattern, const CheckTexts &texts)
{
    m_lvPruefung->clear();
    if (!read)
        return;
    const auto note = [this](const QString &text, const QColor &colour) {
        auto *item = new QTreeWidgetItem(m_lvPruefung, {text});
        item->setFirstColumnSpanned(true);
        item->setForeground(0, colour);
    };
    if (findings.empty())
        note(texts.allAgree, AgreeColour);
    if (!validated)
        note(texts.validating, m_lvPruefung->palette().text().color());
    else if (validation.valid())
        note(ValidityText(texts, validation), AgreeColour);

    // Each row with its rank: the note on the profile first, then fatal, warnings, information.
    struct Row
    {
        int rank;
        QStringList cells;
        FindingFlag flag;
        int line;
        QString tip;
    };
    std::vector<Row> rows;
    QStringList summed;
    for (const SumFinding &f : findings) {
        const FindingRow row = DescribeFinding(texts, f, pattern);
        rows.push_back({1 + static_cast<int>(f.flag),
                        {row.flag, f.rule, row.where, row.expected, row.found, row.sentence},
                        f.flag,
                        0,
                        row.sentence});
        summed << f.rule;
    }
    for (const ValidationFinding &f : validation.findings) {
        if (summed.contains(f.rule))
            continue;
        const FindingRow row = DescribeFinding(texts, f);
        const bool explains = f.rule == QLatin1String("PROFILE") || f.rule == QLatin1String("ZUGFERD1");
        rows.push_back({explains ? 0 : 1 + static_cast<int>(f.flag),
                        {row.flag, f.rule, row.where, {}, {}, row.sentence},
                        f.flag,
                        f.line,
                        f.location.isEmpty() ? row.sentence : row.sentence + QLatin1Char('\n') + f.location});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.rank < b.rank; });
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(m_lvPruefung, row.cells);
        const QColor colour = row.flag == FindingFlag::Fatal     ? FatalColour
                              : row.flag == FindingFlag::Warning ? WarningColour
                                                                 : m_lvPruefung->palette().text().color();
        for (int c : {CheckColumn::Flag, CheckColumn::Found})
            item->setForeground(c, colour);
        item->setData(CheckColumn::Flag, Qt::UserRole, row.line);
        // Every cell stands at the top of its row, beside the sentence's first line.
        for (int c = 0; c < item->columnCount(); ++c) {
            const bool amount = c == CheckColumn::Expected || c == CheckColumn::Found;
            item->setTextAlignment(c, (amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
            item->setToolTip(c, row.tip);
        }
    }
    wrapMeanings();
}

void PositionsArea::wrapMeanings()
{
    // Qt's tree views size a row as if its text never wrapped; the height is given here.
    const int margin = m_lvPruefung->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    const int width = std::max(40, m_lvPruefung->columnWidth(CheckColumn::Meaning) - 2 * margin);
    const QFontMetrics metrics(m_lvPruefung->font());
    for (int r = 0; r < m_lvPruefung->topLevelItemCount(); ++r) {
        QTreeWidgetItem *item = m_lvPruefung->topLevelItem(r);
        if (item->isFirstColumnSpanned())
            continue;
        const QRect text = metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap,
                                                item->text(CheckColumn::Meaning));
        item->setSizeHint(CheckColumn::Meaning, QSize(width, text.height() + 2));
    }
}

void PositionsArea::setIdentifiersEnabled(bool enabled)
{
    m_tabs->setTabEnabled(identifiersPage, enabled);
    if (!enabled)
        showFirstPage();
}

void PositionsArea::showFirstPage()
{
    m_tabs->setCurrentIndex(0);
}

void PositionsArea::showDiscounts(const SectionTitles &titles, const QString &numberFormat)
{
    QStringList lines;
    for (const CashDiscount &d : m_model.discounts)
        lines << titles.discount + QStringLiteral(": ") + DiscountLine(d, titles, numberFormat);
    m_discounts->setText(lines.join(QLatin1Char('\n')));
    m_discounts->setVisible(!lines.isEmpty());
}

} // namespace invorator
