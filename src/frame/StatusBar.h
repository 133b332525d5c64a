#pragma once

#include "checks/SumChecks.h"
#include "checks/Validation.h"

#include <QStatusBar>

#include <array>
#include <vector>

class QLabel;

namespace invorator {

struct CheckTexts;

// The window's status bar: three panels (`panel1` to `panel3`: the program, the user and
// the computer), the mark (`sumsMark`) that says whether the sums of the invoice on show
// add up, and the mark (`validMark`) that says whether it is a valid e-invoice.
class StatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    // The panels' texts from the texts database; the user and the computer follow theirs.
    void fill(const QStringList &texts, const QString &user, const QString &computer);
    // No mark without an invoice read; green when every sum agrees, red with a fatal
    // finding, orange with warnings only; its tool tip says which.
    void showSums(const std::vector<SumFinding> &findings, bool read, const CheckTexts &texts);
    // No mark without an invoice read; "…" while the validation runs; "✓" in green when
    // valid, in orange when valid with warnings, "✗" in red when not valid; its tool tip says
    // which and how many rules.
    void showValidity(const ValidationReport &report, bool validated, bool read, const CheckTexts &texts);

private:
    std::array<QLabel *, 3> m_panels{};
    QLabel *m_sums = nullptr;
    QLabel *m_valid = nullptr;
};

} // namespace invorator
