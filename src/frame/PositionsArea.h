#pragma once

#include "checks/SumChecks.h"
#include "frame/FieldBox.h"

#include <QGroupBox>
#include <QList>

class QTabWidget;
class QTreeWidget;

namespace invorator {

class CaptionedField;
class DisplayModel;
class ListView;

// The positions area `frmPos` with its pages: the invoice lines, the VAT breakdown,
// allowances and charges beside the totals (`frmGrund`), the Peppol identifiers, and the
// check of sums.
class PositionsArea : public QGroupBox
{
    Q_OBJECT
public:
    explicit PositionsArea(const DisplayModel &model, QWidget *parent = nullptr);

    // Shows the model's lists and totals.
    void render();
    // The identifiers page belongs to Peppol invoices; without it the first page shows.
    void setIdentifiersEnabled(bool enabled);
    void showFirstPage();
    // The sums that do not add up, one row each, or the one row `allAgree` when there are
    // none; nothing at all before an invoice was read.
    void showFindings(const std::vector<SumFinding> &findings, bool read, const QString &allAgree);
    // The page that is disabled while a side panel is open, besides the area itself.
    QWidget *allowancesPage() const { return m_grund; }

private:
    QTreeWidget *listView(const ListView &lv, const QList<int> &numericColumns, QWidget *parent);

    const DisplayModel &m_model;
    FieldWidgets m_fields;
    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_lvTable = nullptr;
    QTreeWidget *m_lvUst = nullptr;
    QTreeWidget *m_lvAbzuege = nullptr;
    QTreeWidget *m_lvPruefung = nullptr;
    QWidget *m_grund = nullptr;
};

} // namespace invorator
