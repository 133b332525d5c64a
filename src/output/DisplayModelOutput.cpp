#include "output/DisplayModelOutput.h"

#include <QJsonArray>

#include <algorithm>

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

QJsonArray texts(const FieldGroup &group)
{
    QJsonArray a;
    for (const Field &f : group)
        a.append(f.text());
    return a;
}

QJsonArray rows(const ListView &lv, bool withColor)
{
    QJsonArray a;
    for (int r = 0; r < lv.rowCount(); ++r) {
        QJsonObject row;
        row.insert(QStringLiteral("cells"), QJsonArray::fromStringList(lv.row(r).cells));
        if (withColor)
            row.insert(QStringLiteral("color"), lv.row(r).color);
        a.append(row);
    }
    return a;
}

} // namespace

QString FormatModelText(const DisplayModel &model, const ImportReport &report)
{
    QString out;
    appendGroup(out, QStringLiteral("Rechnung"), model.group(GroupId::Rechnungdaten));
    appendGroup(out, QStringLiteral("Verkäufer"), model.group(GroupId::Seller));
    appendGroup(out, QStringLiteral("Käufer"), model.group(GroupId::Buyer));
    appendList(out, QStringLiteral("Positionen"), model.lvTable);
    appendList(out, QStringLiteral("Umsatzsteuer"), model.lvUst);
    appendList(out, QStringLiteral("Abzüge und Zuschläge"), model.lvAbzuege);
    appendGroup(out, QStringLiteral("Summen"), model.group(GroupId::Sonstige));
    if (!report.attachments.isEmpty()) {
        out += QStringLiteral("== Anlagen ==\n");
        for (const QString &name : report.attachments)
            out += QStringLiteral("  ") + name + QLatin1Char('\n');
    }
    return out;
}

QJsonObject ModelToJson(const DisplayModel &model, const ImportReport &report)
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), static_cast<int>(report.kind));
    o.insert(QStringLiteral("numberFormat"), report.numberFormat);
    for (GroupId g : {GroupId::Seller, GroupId::Buyer, GroupId::Rechnungdaten, GroupId::Sonstige})
        o.insert(QLatin1String(GroupName(g)), texts(model.group(g)));
    o.insert(QStringLiteral("documentType"), model[Rd::DocumentType].value());
    o.insert(QStringLiteral("lvTable"), rows(model.lvTable, true));
    o.insert(QStringLiteral("lvUst"), rows(model.lvUst, false));
    o.insert(QStringLiteral("lvAbzuege"), rows(model.lvAbzuege, false));
    QJsonArray messages;
    for (const Message &m : report.messages) {
        QJsonObject j;
        j.insert(QStringLiteral("number"), m.number);
        j.insert(QStringLiteral("icon"), iconName(m.icon));
        j.insert(QStringLiteral("title"), m.title);
        j.insert(QStringLiteral("text"), m.text);
        messages.append(j);
    }
    o.insert(QStringLiteral("messages"), messages);
    o.insert(QStringLiteral("attachments"), QJsonArray::fromStringList(report.attachments));
    return o;
}

} // namespace invorator
