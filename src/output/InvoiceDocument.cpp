#include "output/InvoiceDocument.h"

#include "model/DisplayModel.h"
#include "model/Payment.h"
#include "output/DisplayModelOutput.h"
#include "output/PaymentCode.h"
#include "services/MessageSink.h"
#include "services/WriteTarget.h"

#include <QDate>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

namespace invorator {

namespace {

// The page in points (1/72 inch): A4 with margins, and room for the footer.
constexpr double pageWidth = 595.0;
constexpr double pageHeight = 842.0;
constexpr double margin = 42.0;
constexpr double contentWidth = pageWidth - 2 * margin;
constexpr double footerHeight = 24.0;
constexpr double bottom = pageHeight - margin - footerHeight;

const QColor red(255, 0, 0);
const QColor rule(170, 170, 170);
const QColor headerFill(232, 232, 232);

// One piece of the flow: its height and how it draws itself at a height of the page.
// A table row names its table's header row, which is drawn again on a new page.
struct Piece
{
    double height = 0;
    std::function<void(QPainter &, double)> draw;
    const Piece *header = nullptr;
    bool keepWithNext = false; // a heading stays with what follows it
};

class Flow
{
public:
    Flow(QPainter &painter, const QFont &font) : m_painter(painter), m_font(font) {}

    // A font of that size on the page. The painter already scales points to the device,
    // so the font's own size is given in the device's points.
    QFont font(double points, bool bold = false) const
    {
        QFont f = m_font;
        f.setPointSizeF(points * 72.0 / m_painter.device()->logicalDpiY());
        f.setBold(bold);
        return f;
    }
    QFontMetricsF metrics(const QFont &f) const { return QFontMetricsF(f, m_painter.device()); }

    void add(Piece piece) { m_pieces.push_back(std::move(piece)); }
    std::size_t size() const { return m_pieces.size(); }
    // The pieces from `first` on stay on one page, when they fit on a third of one.
    void keepTogether(std::size_t first)
    {
        double height = 0;
        for (std::size_t i = first; i < m_pieces.size(); ++i)
            height += m_pieces[i].height;
        if (height > (bottom - margin) / 3)
            return;
        for (std::size_t i = first; i + 1 < m_pieces.size(); ++i)
            m_pieces[i].keepWithNext = true;
    }
    void space(double height)
    {
        m_pieces.push_back({height, [](QPainter &, double) {}, nullptr, false});
    }

    void heading(const QString &text)
    {
        const QFont f = font(11, true);
        const double h = metrics(f).height() + 4;
        add({h,
             [f, text](QPainter &p, double y) {
                 p.setFont(f);
                 p.setPen(Qt::black);
                 p.drawText(QRectF(margin, y, contentWidth, 1000), Qt::AlignLeft | Qt::AlignTop, text);
             },
             nullptr, true});
    }

    // Captioned lines, wrapped to the width given, left at x.
    void captioned(const std::vector<std::pair<QString, QString>> &rows)
    {
        const QFont f = font(9);
        const QFont bold = font(9, true);
        double captionWidth = 0;
        for (const auto &[caption, value] : rows)
            captionWidth = std::max(captionWidth, metrics(bold).horizontalAdvance(caption));
        captionWidth = std::min(captionWidth + 8, contentWidth / 3);
        const double width = contentWidth - captionWidth;
        const double lineHeight = metrics(f).height();
        for (const auto &[caption, value] : rows) {
            // Each wrapped line is a piece of its own, so a long note runs on over pages.
            QStringList lines;
            for (const QString &paragraph : value.split(QLatin1Char('\n'))) {
                QTextLayout layout(paragraph, f, m_painter.device());
                layout.beginLayout();
                for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                    line.setLineWidth(width);
                    lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
                }
                layout.endLayout();
                if (paragraph.isEmpty())
                    lines << QString();
            }
            for (qsizetype k = 0; k < lines.size(); ++k) {
                const QString line = lines[k];
                const QString label = k == 0 ? caption : QString();
                add({lineHeight + (k + 1 == lines.size() ? 2 : 0), [=](QPainter &p, double y) {
                         p.setPen(Qt::black);
                         p.setFont(bold);
                         p.drawText(QRectF(margin, y, captionWidth, lineHeight), Qt::AlignLeft | Qt::AlignTop,
                                    label);
                         p.setFont(f);
                         p.drawText(QRectF(margin + captionWidth, y, width, lineHeight),
                                    Qt::AlignLeft | Qt::AlignTop, line);
                     }});
            }
        }
    }

    // A list of the model as a table: the header on every page it runs over, amounts
    // right-aligned, red rows in red. Text columns wrap, so every name is there whole.
    void table(const ListView &lv, const std::vector<double> &shares, const QList<int> &numeric)
    {
        const QFont f = font(8);
        const QFont bold = font(8, true);
        const QFontMetricsF m = metrics(f);
        const double lineHeight = m.height() + 3;
        double total = 0;
        for (double s : shares)
            total += s;
        std::vector<double> x{margin};
        for (double s : shares)
            x.push_back(x.back() + contentWidth * s / total);
        const int columns = int(shares.size());
        const auto cellRect = [x](int c, double y, double height) {
            return QRectF(x[c] + 2, y + 1.5, x[c + 1] - x[c] - 4, height - 3);
        };
        const auto cells = [=](QPainter &p, double y, double height, const QStringList &texts,
                               const QFont &font) {
            p.setFont(font);
            for (int c = 0; c < columns && c < texts.size(); ++c)
                p.drawText(cellRect(c, y, height),
                           (numeric.contains(c) ? Qt::AlignRight : Qt::AlignLeft | Qt::TextWordWrap) |
                               Qt::AlignTop,
                           texts[c]);
        };
        const QStringList headers = lv.headers();
        m_headers.push_back({lineHeight,
                             [=](QPainter &p, double y) {
                                 p.fillRect(QRectF(margin, y, contentWidth, lineHeight), headerFill);
                                 p.setPen(Qt::black);
                                 cells(p, y, lineHeight, headers, bold);
                             },
                             nullptr, true});
        const Piece *header = &m_headers.back();
        add(*header);
        for (int r = 0; r < lv.rowCount(); ++r) {
            const ListRow &row = lv.row(r);
            // One line unless a text column needs more.
            double height = lineHeight;
            for (int c = 0; c < columns && c < row.cells.size(); ++c) {
                const QString &text = row.cells[c];
                if (numeric.contains(c) || text.isEmpty())
                    continue;
                const double width = x[c + 1] - x[c] - 4;
                if (!text.contains(QLatin1Char('\n')) && m.horizontalAdvance(text) <= width)
                    continue;
                height = std::max(
                    height, m.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height() + 3);
            }
            // A row is never taller than a page under its header: past that its text is cut.
            height = std::min(height, bottom - margin - 2 * lineHeight);
            add({height,
                 [=, &row](QPainter &p, double y) {
                     p.setPen(row.color == ColorRed ? red : Qt::black);
                     cells(p, y, height, row.cells, f);
                     p.setPen(rule);
                     p.drawLine(QPointF(margin, y + height), QPointF(margin + contentWidth, y + height));
                 },
                 header});
        }
    }

    // Lays the pieces out on pages and draws them with a footer on each; the page count.
    int draw(const std::function<void(QPainter &, int, int)> &footer, QPagedPaintDevice &device)
    {
        std::vector<int> pageOf(m_pieces.size());
        int pages = 1;
        double y = margin;
        for (std::size_t i = 0; i < m_pieces.size(); ++i) {
            const Piece &piece = m_pieces[i];
            // A heading and a header row stay with the first piece that follows them.
            double needed = piece.height;
            for (std::size_t k = i; m_pieces[k].keepWithNext && k + 1 < m_pieces.size(); ++k)
                needed += m_pieces[k + 1].height;
            if (y + needed > bottom && y > margin) {
                ++pages;
                y = margin + (piece.header && piece.header != &piece ? piece.header->height : 0);
            }
            pageOf[i] = pages;
            y += piece.height;
        }
        int page = 1;
        y = margin;
        for (std::size_t i = 0; i < m_pieces.size(); ++i) {
            const Piece &piece = m_pieces[i];
            if (pageOf[i] != page) {
                footer(m_painter, page, pages);
                if (!device.newPage())
                    return 0;
                ++page;
                y = margin;
                if (piece.header) {
                    piece.header->draw(m_painter, y);
                    y += piece.header->height;
                }
            }
            piece.draw(m_painter, y);
            y += piece.height;
        }
        footer(m_painter, page, pages);
        return pages;
    }

private:
    QPainter &m_painter;
    QFont m_font;
    std::vector<Piece> m_pieces;
    std::deque<Piece> m_headers; // stable addresses for the rows that name them
};

std::vector<std::pair<QString, QString>> shownFields(const DisplayModel &model,
                                                     std::initializer_list<FieldId> ids)
{
    std::vector<std::pair<QString, QString>> rows;
    for (FieldId id : ids)
        if (!model[id].text().trimmed().isEmpty())
            rows.emplace_back(model[id].caption().trimmed(), model[id].text());
    return rows;
}

// A QR code as one filled path (no seams between modules where a renderer smooths
// edges), its symbol `side` points wide, the four-module quiet zone around it kept white.
Piece qrPiece(const QrMatrix &matrix, double side)
{
    const double module = side / matrix.size;
    const double quiet = 4 * module;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (int y = 0; y < matrix.size; ++y)
        for (int x = 0; x < matrix.size; ++x) {
            if (!matrix.at(x, y))
                continue;
            int run = 1; // a row's dark modules side by side are one rectangle
            while (x + run < matrix.size && matrix.at(x + run, y))
                ++run;
            path.addRect(QRectF(x * module, y * module, run * module, module));
            x += run - 1;
        }
    return {side + 2 * quiet, [=](QPainter &p, double y) {
                p.fillRect(QRectF(margin, y, side + 2 * quiet, side + 2 * quiet), Qt::white);
                p.save();
                p.setRenderHint(QPainter::Antialiasing, false);
                p.translate(margin + quiet, y + quiet);
                p.fillPath(path, Qt::black);
                p.restore();
            }};
}

} // namespace

int RenderInvoice(const DisplayModel &model, const DocumentTexts &texts, QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    Flow flow(painter, QFont(QStringLiteral("DejaVu Sans"), 9));

    // Title: the document type's name and the number.
    const QFont titleFont = flow.font(16, true);
    const QString title = model[Rd::DocumentType].text() + QLatin1Char(' ') + model[Rd::InvoiceNumber].text();
    flow.add({flow.metrics(titleFont).height() + 8, [=](QPainter &p, double y) {
                  p.setFont(titleFont);
                  p.setPen(Qt::black);
                  p.drawText(QRectF(margin, y, contentWidth, 40), Qt::AlignLeft | Qt::AlignTop, title);
              }});
    flow.captioned(shownFields(model, {Rd::IssueDate, Rd::DueDate, Rd::SpecificationId}));
    flow.space(8);

    // Seller and buyer side by side.
    const QFont f = flow.font(9);
    const QFont bold = flow.font(9, true);
    const auto partyLines = [&](const PartyFields &party) {
        QStringList lines;
        for (FieldId id : {party.Name, party.Street})
            lines << model[id].text();
        lines << (model[party.PostCode].text() + QLatin1Char(' ') + model[party.City].text()).trimmed();
        lines << model[party.Country].text();
        for (const auto &[caption, value] :
             shownFields(model, {party.TaxNumber, party.VatId, party.Email, party.Contact, party.ContactEmail,
                                 party.ContactPhone}))
            lines << caption + QStringLiteral(": ") + value;
        lines.removeAll(QString());
        return lines;
    };
    const QStringList seller = partyLines(Seller);
    const QStringList buyer = partyLines(Buyer);
    const double lineHeight = flow.metrics(f).height() + 1;
    const double half = contentWidth / 2;
    flow.add({lineHeight * double(std::max(seller.size(), buyer.size()) + 1) + 6, [=](QPainter &p, double y) {
                  p.setPen(Qt::black);
                  const std::pair<QString, QStringList> columns[] = {{texts.titles.seller, seller},
                                                                     {texts.titles.buyer, buyer}};
                  for (int c = 0; c < 2; ++c) {
                      const double x = margin + c * half;
                      p.setFont(bold);
                      p.drawText(QRectF(x, y, half - 8, lineHeight), Qt::AlignLeft, columns[c].first);
                      p.setFont(f);
                      const QFontMetricsF m(f, p.device());
                      for (int i = 0; i < columns[c].second.size(); ++i)
                          p.drawText(QRectF(x, y + (i + 1) * lineHeight, half - 8, lineHeight), Qt::AlignLeft,
                                     m.elidedText(columns[c].second[i], Qt::ElideRight, half - 8));
                  }
              }});
    flow.space(6);
    flow.captioned(shownFields(model, {Rd::Subject, Rd::Note, Rd::PaymentTerms}));
    flow.space(10);

    flow.heading(texts.titles.lines);
    flow.table(model.lvTable, {0.6, 2.4, 3.0, 1.0, 1.1, 0.6, 1.3},
               {LineColumn::Quantity, LineColumn::Price, LineColumn::VatRate, LineColumn::Total});
    flow.space(10);
    flow.heading(texts.titles.vat);
    flow.table(model.lvUst, {0.3, 1.0, 1.4, 1.4}, {VatColumn::Rate, VatColumn::Amount, VatColumn::Basis});
    if (model.lvAbzuege.rowCount() > 0) {
        flow.space(10);
        flow.heading(texts.titles.allowances);
        flow.table(model.lvAbzuege, {2.2, 1.0, 0.8, 1.0, 1.0},
                   {AllowanceColumn::Percent, AllowanceColumn::Amount, AllowanceColumn::Basis});
    }
    flow.space(10);
    flow.heading(texts.titles.totals);
    std::vector<std::pair<QString, QString>> totals;
    for (FieldId id : {So::LineTotal, So::Allowances, So::Charges, So::NetTotal, Rd::TaxTotal, So::GrossTotal,
                       So::Prepaid, So::Rounding, So::DuePayable})
        totals.emplace_back(model[id].caption().trimmed(),
                            model[id].text() + QLatin1Char(' ') + model[Rd::FinalCurrency].text());
    flow.captioned(totals);

    // How to pay: every means with what a transfer or a direct debit needs, and under the
    // means the window shows a QR code for, that code at a size banking apps read from
    // paper (3 cm without its quiet zone).
    const ListView &payments = model.lvZahlung;
    if (payments.rowCount() > 0 || !model.discounts.empty()) {
        flow.space(10);
        flow.heading(texts.titles.payment);
        const int chosen = ChosenPaymentRow(payments);
        for (int r = 0; r < payments.rowCount(); ++r) {
            if (r > 0)
                flow.space(6);
            const std::size_t first = flow.size();
            std::vector<std::pair<QString, QString>> rows;
            const QString means = payments.cell(r, PaymentColumn::Code).trimmed() + QLatin1Char(' ') +
                                  payments.cell(r, PaymentColumn::Name).trimmed();
            rows.emplace_back(payments.headers().at(PaymentColumn::Name).trimmed(), means.trimmed());
            for (int c = PaymentColumn::Iban; c < PaymentColumn::Qr; ++c)
                if (!payments.cell(r, c).trimmed().isEmpty())
                    rows.emplace_back(payments.headers().at(c).trimmed(), payments.cell(r, c));
            flow.captioned(rows);
            if (r == chosen)
                if (const QrMatrix matrix = EncodeQr(payments.cell(r, PaymentColumn::Qr)); matrix.size > 0)
                    flow.add(qrPiece(matrix, 30 / 25.4 * 72));
            flow.keepTogether(first);
        }
        // The cash discount: its amount and the last day to pay with it, or the line as
        // written where it cannot be read.
        std::vector<std::pair<QString, QString>> discounts;
        for (const CashDiscount &d : model.discounts)
            discounts.emplace_back(texts.titles.discount, DiscountLine(d, texts.titles, texts.numberFormat));
        if (!discounts.empty()) {
            flow.space(6);
            flow.captioned(discounts);
        }
    }

    const QString printed = texts.printedOn.arg(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    const QFont small = flow.font(7.5);
    const int pages = flow.draw(
        [&](QPainter &p, int page, int count) {
            const double y = pageHeight - margin - footerHeight + 8;
            p.setPen(rule);
            p.drawLine(QPointF(margin, y - 4), QPointF(margin + contentWidth, y - 4));
            p.setPen(Qt::black);
            p.setFont(small);
            const QRectF box(margin, y, contentWidth, footerHeight);
            const QFontMetricsF m(small, p.device());
            p.drawText(box, Qt::AlignLeft | Qt::AlignTop,
                       m.elidedText(texts.fileName, Qt::ElideMiddle, contentWidth / 2.5));
            p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, printed);
            p.drawText(box, Qt::AlignRight | Qt::AlignTop, texts.pageOf.arg(page).arg(count));
        },
        device);
    painter.end();
    return pages;
}

bool WriteInvoicePdf(const DisplayModel &model, const DocumentTexts &texts, const QString &path,
                     QString *error)
{
    if (const auto refused = RefusedWriteTarget(path)) {
        *error = texts.refusedTarget.value(static_cast<int>(*refused));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    int pages = 0;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setTitle(texts.titles.invoice + QLatin1Char(' ') + model[Rd::InvoiceNumber].text());
        pdf.setCreator(ProgramTitle);
        pages = RenderInvoice(model, texts, pdf);
    }
    if (pages == 0) {
        file.cancelWriting();
        *error = texts.notDrawn;
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<QCoreApplication> DocumentApplication(int &argc, char **argv)
{
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace invorator
