#include "frame/StatusBar.h"

#include <QLabel>

namespace invorator {

StatusBar::StatusBar(QWidget *parent) : QStatusBar(parent)
{
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        label->setContentsMargins(6, 0, 6, 0);
        addWidget(label, i == 0 ? 2 : 1);
        m_panels[i] = label;
    }
    m_sums = new QLabel(this);
    m_sums->setObjectName(QStringLiteral("sumsMark"));
    m_sums->setContentsMargins(6, 0, 6, 0);
    addPermanentWidget(m_sums);
}

void StatusBar::fill(const QStringList &texts, const QString &user, const QString &computer)
{
    const QString suffix[] = {QString(), QLatin1Char(' ') + user, QLatin1Char(' ') + computer};
    for (std::size_t i = 0; i < m_panels.size() && i < static_cast<std::size_t>(texts.size()); ++i)
        m_panels[i]->setText(texts[static_cast<qsizetype>(i)] + suffix[i]);
}

void StatusBar::showSums(bool read, bool agree, const QString &toolTip)
{
    m_sums->setText(read ? QStringLiteral("●") : QString());
    m_sums->setStyleSheet(agree ? QStringLiteral("color: rgb(0,128,0)")
                                : QStringLiteral("color: rgb(255,0,0)"));
    m_sums->setToolTip(read ? toolTip : QString());
}

} // namespace invorator
