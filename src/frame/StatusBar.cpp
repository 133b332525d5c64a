#include "frame/StatusBar.h"

#include "frame/CheckTexts.h"

#include <QLabel>

#include <algorithm>

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
    m_valid = new QLabel(this);
    m_valid->setObjectName(QStringLiteral("validMark"));
    m_valid->setContentsMargins(6, 0, 6, 0);
    addPermanentWidget(m_valid);
}

void StatusBar::fill(const QStringList &texts, const QString &user, const QString &computer)
{
    const QString suffix[] = {QString(), QLatin1Char(' ') + user, QLatin1Char(' ') + computer};
    for (std::size_t i = 0; i < m_panels.size() && i < static_cast<std::size_t>(texts.size()); ++i)
        m_panels[i]->setText(texts[static_cast<qsizetype>(i)] + suffix[i]);
}

void StatusBar::showSums(const std::vector<SumFinding> &findings, bool read, const CheckTexts &texts)
{
    m_sums->setText(read ? QStringLiteral("●") : QString());
    bool warnings = false;
    for (const SumFinding &f : findings)
        warnings = warnings || f.flag == FindingFlag::Warning;
    const QColor colour = AnyFatal(findings) ? FatalColour : warnings ? WarningColour : AgreeColour;
    m_sums->setStyleSheet(
        QStringLiteral("color: rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue()));
    m_sums->setToolTip(read ? SumsToolTip(texts, findings) : QString());
}

void StatusBar::showValidity(const ValidationReport &report, bool validated, bool read,
                             const CheckTexts &texts)
{
    if (read && !validated) {
        m_valid->setText(QStringLiteral("…"));
        m_valid->setStyleSheet({});
        m_valid->setToolTip(texts.validating);
        return;
    }
    const bool valid = report.valid();
    const bool warnings =
        std::any_of(report.findings.begin(), report.findings.end(),
                    [](const ValidationFinding &f) { return f.flag == FindingFlag::Warning; });
    m_valid->setText(!read ? QString() : valid ? QStringLiteral("✓") : QStringLiteral("✗"));
    const QColor colour = !valid ? FatalColour : warnings ? WarningColour : AgreeColour;
    m_valid->setStyleSheet(
        QStringLiteral("color: rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue()));
    m_valid->setToolTip(read ? ValidityText(texts, report) : QString());
}

} // namespace invorator
