#include "frame/ContentArea.h"

#include "frame/CheckTexts.h"
#include "frame/FileArea.h"
#include "frame/InvoiceView.h"
#include "frame/PanelHost.h"
#include "frame/PositionsArea.h"
#include "import/ImportDriver.h"

#include <QLabel>
#include <QResizeEvent>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace invorator {

ContentArea::ContentArea(DisplayModel &model, QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("content"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(6);
    m_files = new FileArea(this);
    layout->addWidget(m_files);
    m_sumsAlarm = new QLabel(QStringLiteral("Die Summen stimmen nicht"), this);
    m_sumsAlarm->setObjectName(QStringLiteral("lblSummenFehler"));
    m_sumsAlarm->setStyleSheet(
        QStringLiteral("background: rgb(200,0,0); color: white; font-weight: bold; padding: 4px 8px;"));
    m_sumsAlarm->hide();
    layout->addWidget(m_sumsAlarm);
    m_validityAlarm = new QLabel(this);
    m_validityAlarm->setObjectName(QStringLiteral("lblUngueltig"));
    m_validityAlarm->setStyleSheet(m_sumsAlarm->styleSheet());
    m_validityAlarm->setWordWrap(true);
    m_validityAlarm->hide();
    layout->addWidget(m_validityAlarm);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    m_splitter = splitter;
    connect(splitter, &QSplitter::splitterMoved, this, [this] { m_userSplit = true; });
    splitter->setChildrenCollapsible(false);
    m_invoice = new InvoiceView(model, splitter);
    m_positions = new PositionsArea(model, splitter);
    splitter->addWidget(m_invoice);
    splitter->addWidget(m_positions);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    // What a side panel disables while it is open.
    std::vector<QWidget *> covered = {m_files};
    for (QWidget *box : m_invoice->boxes())
        covered.push_back(box);
    covered.insert(covered.end(), {m_invoice, m_positions->allowancesPage(), m_positions});
    m_panels = new PanelHost(this, window, std::move(covered));
}

void ContentArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_userSplit)
        return;
    // The invoice page as high as its fields need, where the lines keep a third of the
    // height; on a small screen the page scrolls instead.
    const int total = m_splitter->height() - m_splitter->handleWidth();
    const int invoice = std::min(m_invoice->fullHeight(), total - std::max(total / 3, 160));
    m_splitter->setSizes({invoice, total - invoice});
}

void ContentArea::showChecks(const ImportResult &shown, const CheckTexts &texts)
{
    const bool read = bool(shown);
    m_positions->showFindings(shown.sumFindings, shown.validation, shown.validated, read, shown.numberFormat,
                              texts);
    m_sumsAlarm->setVisible(read && AnyFatal(shown.sumFindings));
    m_validityAlarm->setText(ValidityText(texts, shown.validation));
    m_validityAlarm->setVisible(read && shown.validated && !shown.validation.valid());
}

} // namespace invorator
