#pragma once

#include "checks/SumChecks.h"
#include "checks/Validation.h"
#include "frame/FieldBox.h"

#include <QGroupBox>
#include <QList>

#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace invorator {

class CaptionedField;
struct CheckTexts;
class DisplayModel;
class ListView;
struct SectionTitles;

// The positions area `frmPos` with its pages: the invoice lines, the VAT breakdown,
// allowances and charges beside the totals (`frmGrund`), the Peppol identifiers, the
// check of sums, and the payment means with the transfer QR code of the chosen one.
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
    // The sums that do not add up and the rules the invoice breaks, together, fatal first:
    // one row each with its flag, rule, place (a line's id, a VAT rate, or the line of the
    // XML), amounts in the pattern and what it means. A row says so when all sums agree,
    // and one when the invoice is a valid e-invoice; nothing at all before an invoice was
    // read. A rule the sums check reports is not listed twice.
    // While the validation runs (`validated` false) a row says so in its place.
    void showFindings(const std::vector<SumFinding> &findings, const ValidationReport &validation,
                      bool validated, bool read, const QString &pattern, const CheckTexts &texts);
    // The page that is disabled while a side panel is open, besides the area itself.
    QWidget *allowancesPage() const { return m_grund; }
    // The cash discounts under the payment means, one line each in the titles' words and
    // the amounts' pattern; hidden when the invoice gives none.
    void showDiscounts(const SectionTitles &titles, const QString &numberFormat);
    // The QR code shown beside the payment means (an empty label when there is none).
    const QLabel *paymentCode() const { return m_qrCode; }

signals:
    // The user asked to see the line of the XML a finding concerns.
    void lineRequested(int line);

private slots:
    void showPaymentCode();

private:
    void wrapMeanings();
    QTreeWidget *listView(const ListView &lv, const QList<int> &numericColumns, QWidget *parent);

    const DisplayModel &m_model;
    FieldWidgets m_fields;
    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_lvTable = nullptr;
    QTreeWidget *m_lvUst = nullptr;
    QTreeWidget *m_lvAbzuege = nullptr;
    QTreeWidget *m_lvPruefung = nullptr;
    QTreeWidget *m_lvZahlung = nullptr;
    QLabel *m_qrCode = nullptr;
    QLabel *m_discounts = nullptr;
    std::vector<std::pair<QPushButton *, int>> m_copyButtons; // each with the column it copies
    QWidget *m_grund = nullptr;
};

} // namespace invorator
