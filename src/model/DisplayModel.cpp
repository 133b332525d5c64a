#include "model/DisplayModel.h"

namespace invorator {

void Field::setText(const QString &text)
{
    m_text = text;
    m_value = text;
}

void Field::setValue(const QString &value)
{
    m_value = value;
    if (m_entries.empty()) {
        m_text = value;
        return;
    }
    for (const auto &[code, name] : m_entries)
        if (code == value) {
            m_text = name;
            return;
        }
    // A code the list does not know is shown as it is rather than hidden.
    m_text = value;
}

void Field::setEntries(Entries entries)
{
    m_entries = std::move(entries);
    setValue(m_value);
}

ListView::ListView(QString name, QStringList headers) : m_name(std::move(name)), m_headers(std::move(headers))
{
}

int ListView::addRow(const QString &text)
{
    ListRow row;
    row.cells.resize(m_headers.size());
    row.cells[0] = text;
    row.cellColors.assign(static_cast<std::size_t>(m_headers.size()), ColorBlack);
    m_rows.push_back(std::move(row));
    return static_cast<int>(m_rows.size()) - 1;
}

void ListView::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    m_rows[static_cast<std::size_t>(row)].cells[column] = text;
}

void ListView::setCellColor(int row, int column, int color)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    m_rows[static_cast<std::size_t>(row)].cellColors[static_cast<std::size_t>(column)] = color;
}

QString ListView::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return m_rows[static_cast<std::size_t>(row)].cells[column];
}

void ListView::setRowColor(int row, int color)
{
    if (row < 0 || row >= rowCount())
        return;
    auto &r = m_rows[static_cast<std::size_t>(row)];
    r.color = color;
    for (int &c : r.cellColors)
        c = color;
}

DisplayModel::DisplayModel()
    : lvTable(QStringLiteral("lvTable"),
              {QStringLiteral("Pos"), QStringLiteral("Artikel"), QStringLiteral("Bezeichnung"),
               QStringLiteral("Menge"), QStringLiteral("Preis"), QStringLiteral("Ust"),
               QStringLiteral("Gesamt")}),
      lvUst(QStringLiteral("lvUst"),
            {QString(), QStringLiteral("Ust %"), QStringLiteral("Ust-Betrag"), QStringLiteral("Gesamt"),
             QStringLiteral("Kategorie"), QStringLiteral("Bezeichnung"), QStringLiteral("Befreiungsgrund"),
             QStringLiteral("Befreiungscode")}),
      lvAbzuege(QStringLiteral("lvAbzuege"),
                {QStringLiteral("Code"), QStringLiteral("Grund"), QStringLiteral("Faktor"),
                 QStringLiteral("Betrag"), QStringLiteral("Grundbetrag")}),
      lvZahlung(QStringLiteral("lvZahlung"),
                {QStringLiteral("Art"), QStringLiteral("Zahlungsmittel"), QStringLiteral("IBAN / Konto"),
                 QStringLiteral("Kontoinhaber"), QStringLiteral("BIC"), QStringLiteral("Verwendungszweck"),
                 QStringLiteral("Mandatsreferenz"), QStringLiteral("Gläubiger-ID"), QStringLiteral("Karte"),
                 QStringLiteral("Fällig am"), QStringLiteral("Betrag"), QStringLiteral("QR-Code")})
{
    // The table lists each group's fields in index order, with the texts they ship with.
    const auto text = [](std::string_view s) {
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    };
    for (const FieldSpec &row : DisplayFieldTable) {
        Field field(text(row.caption));
        field.setText(text(row.shipped));
        group(row.id.group).push_back(std::move(field));
    }
    (*this)[Rd::DocumentType].setValue(QStringLiteral("380"));
}

void DisplayModel::reset()
{
    for (FieldGroup &g : m_groups)
        for (Field &f : g)
            f.setText(QString());
    (*this)[Rd::DocumentType].setValue(QStringLiteral("380"));
    (*this)[Rd::TaxTotal].setText(QStringLiteral("0,00"));
    (*this)[Rd::FinalAmount].setText(QStringLiteral("0,00"));
    lvTable.clear();
    lvUst.clear();
    lvAbzuege.clear();
    lvZahlung.clear();
    discounts.clear();
}

} // namespace invorator
