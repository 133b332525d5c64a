#include "frame/InvoiceView.h"

#include "frame/CaptionedField.h"
#include "import/ImportDriver.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace invorator {

InvoiceView::InvoiceView(const DisplayModel &model, QWidget *parent) : QTabWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("sstab"));
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *rechnung =
        makeFieldBox(QStringLiteral("frmRechnung"), QStringLiteral("Rechnung"),
                     {Rd::InvoiceNumber, Rd::IssueDate, Rd::DueDate, Rd::DocumentType, Rd::SpecificationId,
                      Rd::Subject, Rd::Note, Rd::PaymentTerms, Rd::TaxTotal, Rd::FinalAmount},
                     3, model, m_fields, page);
    // The currency stands beside the tax and the final amount.
    auto *grid = static_cast<QGridLayout *>(rechnung->layout());
    int row = 0;
    for (FieldId id : {Rd::TaxCurrency, Rd::FinalCurrency}) {
        auto *currency = new CaptionedField(controlKey(id), QString(), CaptionedField::Kind::Text, rechnung);
        currency->setReadOnly(true);
        currency->setFixedWidth(64);
        currency->display(model[id]);
        m_fields.add(id, currency);
        grid->addWidget(currency, row++, 3);
    }
    for (FieldId id : {Rd::TaxTotal, Rd::FinalAmount})
        m_fields[id]->setAlignment(Qt::AlignRight);
    layout->addWidget(rechnung);

    const auto party = [&](const char *name, const QString &title, const PartyFields &p) {
        return makeFieldBox(QString::fromLatin1(name), title,
                            {p.Name, p.TaxNumber, p.VatId, p.Email, p.Street, p.Country, p.PostCode, p.City,
                             p.Contact, p.ContactEmail, p.ContactPhone},
                            2, model, m_fields, page);
    };
    // A party's name on a row of its own across the box, the longest of its texts; the
    // other fields in two columns under it.
    const auto nameAcross = [&](QGroupBox *box, const PartyFields &p) {
        auto *grid = static_cast<QGridLayout *>(box->layout());
        const FieldId rest[] = {p.TaxNumber, p.VatId, p.Email,   p.Street,       p.Country,
                                p.PostCode,  p.City,  p.Contact, p.ContactEmail, p.ContactPhone};
        grid->removeWidget(m_fields[p.Name]);
        grid->addWidget(m_fields[p.Name], 0, 0, 1, 2);
        for (int k = 0; k < 10; ++k) {
            grid->removeWidget(m_fields[rest[k]]);
            grid->addWidget(m_fields[rest[k]], 1 + k % 5, k / 5);
        }
        return box;
    };
    auto *seller = nameAcross(party("frmSeller", QStringLiteral("Verkäufer"), Seller), Seller);
    auto *buyer = nameAcross(party("frmBuyer", QStringLiteral("Käufer"), Buyer), Buyer);
    auto *parties = new QHBoxLayout;
    parties->addWidget(seller);
    parties->addWidget(buyer);
    layout->addLayout(parties);
    // On a small screen the fields keep their size and the page scrolls.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("invoicePage"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    addTab(scroll, QStringLiteral("Rechnung"));

    auto *xmlPage = new QWidget(this);
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
    addTab(xmlPage, QStringLiteral("XML"));
    connect(show, &QPushButton::clicked, this, &InvoiceView::showXmlRequested);
    m_boxes = {rechnung, seller, buyer};
}

void InvoiceView::render()
{
    m_fields.display(m_model);
}

void InvoiceView::showXml(const QString &text)
{
    m_xml->setPlainText(text);
}

void InvoiceView::showXmlOf(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QFile file(path);
    QString text;
    if (file.open(QIODevice::ReadOnly)) {
        text = QString::fromUtf8(file.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    showXml(text);
    QApplication::restoreOverrideCursor();
}

void InvoiceView::showSource(const ImportResult &shown, const QString &path)
{
    if (shown && shown.fromPdf && shown.path == path)
        showXml(QString::fromUtf8(shown.pdfXml));
    else
        showXmlOf(path);
}

void InvoiceView::selectLine(int line)
{
    setCurrentWidget(m_xml->parentWidget());
    const QTextBlock block = m_xml->document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_xml->setTextCursor(cursor);
    m_xml->centerCursor();
    m_xml->setFocus();
}

void InvoiceView::refreshDocumentTypes()
{
    CaptionedField *type = field(Rd::DocumentType);
    type->setEntries(m_model[Rd::DocumentType].entries());
    type->display(m_model[Rd::DocumentType]);
}

int InvoiceView::fullHeight() const
{
    const auto *page = findChild<QScrollArea *>(QStringLiteral("invoicePage"));
    // The tab bar, the page and the frame around it.
    return tabBar()->sizeHint().height() + page->widget()->sizeHint().height() + 4;
}

} // namespace invorator
