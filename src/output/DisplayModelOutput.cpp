#include "output/DisplayModelOutput.h"

#include "localisation/ReasonTexts.h"
#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "model/Payment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>
#include <string_view>

namespace invorator {

namespace {

void appendGroup(QString &out, const QString &title, const FieldGroup &group)
{
    qsizetype width = 0;
    for (const Field &f : group)
        width = std::max(width, f.caption().trimmed().size());
    out += QStringLiteral("== ") + title + QStringLiteral(" ==\n");
    for (std::size_t i = 0; i < group.size(); ++i) {
        const Field &f = group[i];
        const QString caption =
            f.caption().trimmed().isEmpty() ? QStringLiteral("(%1)").arg(i) : f.caption().trimmed();
        out += QStringLiteral("  ") + caption.leftJustified(width) + QStringLiteral("  ") + f.text() +
               QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
}

// Columns whose cells are all amounts are right-aligned, like the window's lists.
bool isNumericColumn(const ListView &lv, int column)
{
    bool any = false;
    for (int r = 0; r < lv.rowCount(); ++r) {
        const QString cell = lv.cell(r, column).trimmed();
        if (cell.isEmpty())
            continue;
        for (QChar c : cell)
            if (!c.isDigit() && c != QLatin1Char(',') && c != QLatin1Char('.') && c != QLatin1Char('-'))
                return false;
        any = true;
    }
    return any;
}

void appendList(QString &out, const QString &title, const ListView &lv)
{
    out += QStringLiteral("== ") + title + QStringLiteral(" (") + QString::number(lv.rowCount()) +
           QStringLiteral(") ==\n");
    const int columns = lv.columnCount();
    std::vector<qsizetype> widths(static_cast<std::size_t>(columns));
    std::vector<bool> numeric(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        widths[static_cast<std::size_t>(c)] = lv.headers().at(c).size();
        for (int r = 0; r < lv.rowCount(); ++r)
            widths[static_cast<std::size_t>(c)] =
                std::max(widths[static_cast<std::size_t>(c)], lv.cell(r, c).size());
        numeric[static_cast<std::size_t>(c)] = isNumericColumn(lv, c);
    }
    const auto line = [&](const QString &marker, const auto &cellAt) {
        QString text = marker;
        for (int c = 0; c < columns; ++c) {
            const QString cell = cellAt(c);
            const auto w = widths[static_cast<std::size_t>(c)];
            text += QStringLiteral(" ") +
                    (numeric[static_cast<std::size_t>(c)] ? cell.rightJustified(w) : cell.leftJustified(w));
            if (c + 1 < columns)
                text += QStringLiteral(" |");
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    };
    line(QStringLiteral(" "), [&](int c) { return lv.headers().at(c); });
    for (int r = 0; r < lv.rowCount(); ++r)
        line(lv.row(r).color == ColorRed ? QStringLiteral("!") : QStringLiteral(" "),
             [&](int c) { return lv.cell(r, c); });
    out += QLatin1Char('\n');
}

// Writes JSON text the way an indented QJsonDocument does, member by member.
class JsonText
{
public:
    QByteArray &bytes() { return m_out; }

    void string(const QString &s)
    {
        m_out += '"';
        // Most texts are plain ASCII: those are copied as they are, without a conversion.
        const char16_t *u16 = reinterpret_cast<const char16_t *>(s.utf16());
        const qsizetype n = s.size();
        qsizetype plain = 0;
        while (plain < n && u16[plain] >= 0x20 && u16[plain] < 0x80 && u16[plain] != '"' &&
               u16[plain] != '\\')
            ++plain;
        if (plain == n) {
            const qsizetype at = m_out.size();
            m_out.resize(at + n);
            char *out = m_out.data() + at;
            for (qsizetype i = 0; i < n; ++i)
                out[i] = static_cast<char>(u16[i]);
            m_out += '"';
            return;
        }
        const QByteArray utf8 = s.toUtf8();
        for (const char c : utf8) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x20 && c != '"' && c != '\\') {
                m_out += c;
                continue;
            }
            m_out += '\\';
            switch (c) {
            case '"':
            case '\\':
                m_out += c;
                break;
            case '\b':
                m_out += 'b';
                break;
            case '\f':
                m_out += 'f';
                break;
            case '\n':
                m_out += 'n';
                break;
            case '\r':
                m_out += 'r';
                break;
            case '\t':
                m_out += 't';
                break;
            default:
                m_out += "u00";
                m_out += "0123456789abcdef"[u >> 4];
                m_out += "0123456789abcdef"[u & 15];
            }
        }
        m_out += '"';
    }
    void number(int n) { m_out += QByteArray::number(n); }

    // Opens an object or array; items() separates and indents each member or element.
    void open(char bracket)
    {
        m_out += bracket;
        m_out += '\n';
        ++m_depth;
        m_first = true;
    }
    void item()
    {
        if (!m_first)
            m_out += ",\n";
        m_first = false;
        m_out.append(4 * m_depth, ' ');
    }
    void member(const char *name)
    {
        item();
        m_out += '"';
        m_out += name;
        m_out += "\": ";
    }
    void close(char bracket)
    {
        --m_depth;
        if (!m_first)
            m_out += '\n';
        m_out.append(4 * m_depth, ' ');
        m_out += bracket;
        m_first = false;
    }

    template <typename Range, typename Write> void array(const Range &range, Write write)
    {
        open('[');
        for (const auto &element : range) {
            item();
            write(element);
        }
        close(']');
    }

private:
    QByteArray m_out;
    int m_depth = 0;
    bool m_first = true;
};

// The groups by their names, which sort in this order.
constexpr GroupId jsonGroupOrder[] = {GroupId::Buyer, GroupId::Rechnungdaten, GroupId::Seller,
                                      GroupId::Sonstige};

void texts(JsonText &j, const FieldGroup &group)
{
    j.array(group, [&](const Field &f) { j.string(f.text()); });
}

// 0, 1, ..., count - 1.
std::vector<int> indices(int count)
{
    std::vector<int> all(static_cast<std::size_t>(std::max(count, 0)));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

void rows(JsonText &j, const ListView &lv, bool withColor)
{
    j.array(indices(lv.rowCount()), [&](int r) {
        j.open('{');
        j.member("cells");
        j.array(lv.row(r).cells, [&](const QString &cell) { j.string(cell); });
        if (withColor) {
            j.member("color");
            j.number(lv.row(r).color);
        }
        j.close('}');
    });
}

// The JSON members of the payment list's columns, in column order.
constexpr const char *paymentMembers[PaymentColumn::Count] = {
    "meansCode", "meansName",  "iban", "accountName", "bic",    "reference",
    "mandate",   "creditorId", "card", "dueDate",     "amount", "qr"};

// Each payment means as a captioned block; a text of several lines (the QR code's, or a
// reference with line breaks) continues indented under its first line. The cash discounts
// follow, a line each.
void appendPayments(QString &out, const SectionTitles &t, const DisplayModel &model,
                    const QString &numberFormat)
{
    const ListView &lv = model.lvZahlung;
    const QString &title = t.payment;
    out += QStringLiteral("== ") + title + QStringLiteral(" (") + QString::number(lv.rowCount()) +
           QStringLiteral(") ==\n");
    qsizetype width = 0;
    for (const QString &header : lv.headers())
        width = std::max(width, header.trimmed().size());
    for (int r = 0; r < lv.rowCount(); ++r) {
        if (r > 0)
            out += QLatin1Char('\n');
        for (int c = 0; c < lv.columnCount(); ++c) {
            QString text = lv.cell(r, c);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                .replace(QLatin1Char('\r'), QLatin1Char('\n'));
            text.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(width + 4, QLatin1Char(' ')));
            const bool marked = lv.row(r).cellColors[static_cast<std::size_t>(c)] == ColorRed;
            QString line = (marked ? QStringLiteral("! ") : QStringLiteral("  ")) +
                           lv.headers().at(c).trimmed().leftJustified(width) + QStringLiteral("  ") + text;
            // No blanks at line ends, where a value or a line of it is empty.
            line.replace(QRegularExpression(QStringLiteral(" +(?=\n|$)")), QString());
            out += line + QLatin1Char('\n');
        }
    }
    if (!model.discounts.empty() && lv.rowCount() > 0)
        out += QLatin1Char('\n');
    for (const CashDiscount &d : model.discounts) {
        QString line = DiscountLine(d, t, numberFormat);
        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        out += QStringLiteral("  ") + t.discount.leftJustified(width) + QStringLiteral("  ") + line +
               QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
}

} // namespace

QString DiscountLine(const CashDiscount &d, const SectionTitles &t, const QString &numberFormat)
{
    if (!d.readable)
        return t.discountUnreadable.arg(d.written);
    QStringList parts{t.discountDays.arg(*d.days)};
    QString rate;
    if (!d.percent.isEmpty())
        rate = d.base.isEmpty()
                   ? QString(d.percent).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral(" %")
                   : t.discountRate.arg(QString(d.percent).replace(QLatin1Char('.'), QLatin1Char(',')),
                                        FormatXmlAmount(d.base, numberFormat));
    if (!d.amount.isEmpty())
        rate +=
            (rate.isEmpty() ? QString() : QStringLiteral(" = ")) + FormatXmlAmount(d.amount, numberFormat);
    if (!rate.isEmpty())
        parts << rate;
    if (!d.payBy.isEmpty())
        parts << t.discountPayBy.arg(FormatXmlDate(d.payBy));
    return parts.join(QStringLiteral(", "));
}

QString FormatModelText(const DisplayModel &model, const ImportReport &report)
{
    QString out;
    const SectionTitles &t = report.titles;
    appendGroup(out, t.invoice, model.group(GroupId::Rechnungdaten));
    appendGroup(out, t.seller, model.group(GroupId::Seller));
    appendGroup(out, t.buyer, model.group(GroupId::Buyer));
    appendList(out, t.lines, model.lvTable);
    appendList(out, t.vat, model.lvUst);
    appendList(out, t.allowances, model.lvAbzuege);
    appendPayments(out, t, model, report.numberFormat);
    appendGroup(out, t.totals, model.group(GroupId::Sonstige));
    if (!report.attachments.isEmpty()) {
        out += QStringLiteral("== ") + t.attachments + QStringLiteral(" ==\n");
        for (const QString &name : report.attachments)
            out += QStringLiteral("  ") + name + QLatin1Char('\n');
    }
    return out;
}

QString FormatFindings(const SharedState &state, const std::vector<SumFinding> &findings)
{
    if (findings.empty())
        return GetMeldung(state, 62) + QLatin1Char('\n');
    QString out;
    for (const SumFinding &f : findings) {
        QString where =
            f.rule + (f.where.isEmpty() ? QString() : QStringLiteral(" [") + f.where + QLatin1Char(']'));
        if (f.flag == FindingFlag::Warning)
            where = GetMeldung(state, FindingWarningText).arg(where);
        out += f.rule == QLatin1String("NUMBER")
                   ? GetMeldung(state, FindingNoNumberText).arg(where, f.found)
                   : GetMeldung(state, FindingExpectedText).arg(where, f.expected, f.found);
        out += QLatin1Char('\n');
    }
    return out;
}

QByteArray ModelToJsonText(const DisplayModel &model, const ImportReport &report)
{
    JsonText j;
    j.bytes().reserve(1024 + 256 * (model.lvTable.rowCount() + model.lvUst.rowCount()));
    j.open('{');
    j.member("attachments");
    j.array(report.attachments, [&](const QString &name) { j.string(name); });
    const auto strings = [&](const auto &range) {
        j.array(range, [&](const QString &s) { j.string(s); });
    };
    j.member("captions");
    j.open('{');
    for (GroupId g : jsonGroupOrder) {
        j.member(GroupName(g).data());
        j.array(model.group(g), [&](const Field &f) { j.string(f.caption()); });
    }
    j.close('}');
    j.member("checks");
    j.array(report.checks, [&](const SumFinding &f) {
        j.open('{');
        j.member("expected");
        j.string(f.expected);
        j.member("flag");
        j.string(FlagName(f.flag));
        j.member("found");
        j.string(f.found);
        j.member("rule");
        j.string(f.rule);
        j.member("where");
        j.string(f.where);
        j.close('}');
    });
    j.member("documentType");
    j.string(model[Rd::DocumentType].value());
    j.member("documentTypeName");
    j.string(model[Rd::DocumentType].text());
    j.member("headers");
    j.open('{');
    for (const ListView *lv : {&model.lvAbzuege, &model.lvTable, &model.lvUst, &model.lvZahlung}) {
        j.member(lv->name().toLatin1().constData());
        strings(lv->headers());
    }
    j.close('}');
    j.member("kind");
    j.number(static_cast<int>(report.kind));
    j.member("lvAbzuege");
    rows(j, model.lvAbzuege, false);
    j.member("lvTable");
    rows(j, model.lvTable, true);
    j.member("lvUst");
    rows(j, model.lvUst, false);
    j.member("messages");
    j.array(report.messages, [&](const Message &m) {
        j.open('{');
        j.member("icon");
        j.string(iconName(m.icon));
        j.member("number");
        j.number(m.number);
        j.member("text");
        j.string(m.text);
        j.member("title");
        j.string(m.title);
        j.close('}');
    });
    j.member("numberFormat");
    j.string(report.numberFormat);
    j.member("payment");
    j.open('{');
    // Numbers as exact xs:decimal texts and the last day as an XML date, for programs to reckon
    // with; an unreadable discount has its text as written and nothing else.
    j.member("discounts");
    j.array(model.discounts, [&](const CashDiscount &d) {
        j.open('{');
        j.member("amount");
        j.string(d.amount);
        j.member("base");
        j.string(d.base);
        j.member("days");
        if (d.days)
            j.number(*d.days);
        else
            j.bytes() += "null";
        j.member("payBy");
        j.string(d.payBy);
        j.member("percent");
        j.string(d.percent);
        j.member("readable");
        j.bytes() += d.readable ? "true" : "false";
        j.member("written");
        j.string(d.written);
        j.close('}');
    });
    // Members in name order, like every other object of the document.
    j.member("means");
    std::vector<int> columns = indices(PaymentColumn::Count);
    std::sort(columns.begin(), columns.end(), [](int a, int b) {
        return std::string_view(paymentMembers[a]) < std::string_view(paymentMembers[b]);
    });
    j.array(indices(model.lvZahlung.rowCount()), [&](int r) {
        j.open('{');
        for (int c : columns) {
            j.member(paymentMembers[c]);
            j.string(model.lvZahlung.cell(r, c));
        }
        j.close('}');
    });
    j.close('}');
    if (report.validation) {
        j.member("validation");
        j.open('{');
        j.member("findings");
        j.array(indices(static_cast<int>(report.validation->findings.size())), [&](int i) {
            const ValidationFinding &f = report.validation->findings[static_cast<size_t>(i)];
            j.open('{');
            j.member("flag");
            j.string(FlagName(f.flag));
            j.member("line");
            j.number(f.line);
            j.member("location");
            j.string(f.location);
            j.member("message");
            j.string(report.validationMessages.value(i));
            j.member("rule");
            j.string(f.rule);
            j.close('}');
        });
        j.member("valid");
        j.bytes() += report.validation->valid() ? "true" : "false";
        j.close('}');
    }
    for (GroupId g : jsonGroupOrder) {
        j.member(GroupName(g).data());
        texts(j, model.group(g));
    }
    j.close('}');
    j.bytes() += '\n';
    return std::move(j.bytes());
}

QString FormatValidation(const SharedState &state, const ValidationReport &report,
                         const QStringList &messages)
{
    int fatal = 0;
    int warnings = 0;
    for (const ValidationFinding &f : report.findings) {
        fatal += f.flag == FindingFlag::Fatal;
        warnings += f.flag == FindingFlag::Warning;
    }
    QString out = GetMeldung(state, report.valid() ? ValidSummaryText : InvalidSummaryText)
                      .arg(QString::number(fatal), QString::number(warnings)) +
                  QLatin1Char('\n');
    for (size_t i = 0; i < report.findings.size(); ++i) {
        const ValidationFinding &f = report.findings[i];
        // The flag in words, as the window's check page says it; JSON keeps the fixed tokens.
        const int flagText = f.flag == FindingFlag::Fatal ? 68 : f.flag == FindingFlag::Warning ? 69 : 71;
        out += QStringLiteral("  %1 %2").arg(GetMeldung(state, flagText), f.rule);
        if (f.line > 0)
            out += QLatin1Char(' ') + GetMeldung(state, 75).arg(f.line);
        out += QStringLiteral(": ") + messages.value(static_cast<qsizetype>(i));
        if (!f.location.isEmpty())
            out += QStringLiteral(" [") + f.location + QLatin1Char(']');
        out += QLatin1Char('\n');
    }
    return out;
}

QByteArray ValidationToJsonText(const ValidationReport &report, const QStringList &messages,
                                const QString &file)
{
    QJsonArray findings;
    for (size_t i = 0; i < report.findings.size(); ++i) {
        const ValidationFinding &f = report.findings[i];
        findings.append(QJsonObject{{QStringLiteral("rule"), f.rule},
                                    {QStringLiteral("flag"), FlagName(f.flag)},
                                    {QStringLiteral("location"), f.location},
                                    {QStringLiteral("line"), f.line},
                                    {QStringLiteral("message"), messages.value(static_cast<qsizetype>(i))}});
    }
    QJsonObject object{{QStringLiteral("valid"), report.valid()}, {QStringLiteral("findings"), findings}};
    if (!file.isNull())
        object.insert(QStringLiteral("file"), file);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QJsonObject ModelToJson(const DisplayModel &model, const ImportReport &report)
{
    return QJsonDocument::fromJson(ModelToJsonText(model, report)).object();
}

} // namespace invorator
