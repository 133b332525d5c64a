#pragma once

#include "checks/SumChecks.h"

#include <QStatusBar>

#include <array>
#include <vector>

class QLabel;

namespace invorator {

struct CheckTexts;

// The window's status bar: three panels (`panel1` to `panel3`: the program, the user and
// the computer) and the mark (`sumsMark`) that says whether the sums of the invoice on
// show add up.
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

private:
    std::array<QLabel *, 3> m_panels{};
    QLabel *m_sums = nullptr;
};

} // namespace invorator
