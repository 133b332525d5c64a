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

namespace {

FieldGroup makeGroup(std::initializer_list<const char *> captions)
{
    FieldGroup group;
    for (const char *c : captions)
        group.emplace_back(QString::fromUtf8(c));
    return group;
}

FieldGroup partyGroup()
{
    return makeGroup({"Name", "Steuer-Nummer", "Empfänger - E-Mail", "Straße", "Land", "PLZ", "Ort",
                      "Ansprechpartner", "Ansp.-E-Mail", "Ansp.-Telefon"});
}

} // namespace

DisplayModel::DisplayModel()
    : txtSeller(partyGroup()), txtBuyer(partyGroup()),
      txtRechnungdaten(
          makeGroup({"Spezifikations-ID", "Rechnungs-Nr", "Betreff", "Datum", "Zahlbar bis", "Rechnungsart",
                     "Bemerkungen", "Zahlungsart", "Steuer", "Endbetrag", "", ""})),
      txtSonstige(
          makeGroup({"Summe Nettobeträge ", "Nettobetrag", "Gesamtbetrag mit Umsatzsteuer", "Abschläge",
                     "Zuschläge", "Vorauszahlungen", "Rundungsbetrag", "Fälliger Zahlungsbetrag",
                     "Endpoint ID", "Profile ID", "Accounting Cost", "BusinessProcessSpecified"})),
      lvTable(QStringLiteral("lvTable"),
              {QStringLiteral("Pos"), QStringLiteral("Artikel"), QStringLiteral("Bezeichnung"),
               QStringLiteral("Menge"), QStringLiteral("Preis"), QStringLiteral("Ust"),
               QStringLiteral("Gesamt")}),
      lvUst(QStringLiteral("lvUst"),
            {QString(), QStringLiteral("Ust %"), QStringLiteral("Ust-Betrag"), QStringLiteral("Gesamt")}),
      lvAbzuege(QStringLiteral("lvAbzuege"),
                {QStringLiteral("Code"), QStringLiteral("Grund"), QStringLiteral("Faktor"),
                 QStringLiteral("Betrag"), QStringLiteral("Grundbetrag")}),
      m_groups{{QStringLiteral("txtSeller"), &txtSeller},
               {QStringLiteral("txtBuyer"), &txtBuyer},
               {QStringLiteral("txtRechnungdaten"), &txtRechnungdaten},
               {QStringLiteral("txtSonstige"), &txtSonstige}}
{
    // The shipped texts before any invoice was read.
    const QString zero = QStringLiteral("0,00");
    for (int i = 0; i <= 7; ++i)
        txtSonstige[static_cast<std::size_t>(i)].setText(zero);
    txtRechnungdaten[8].setText(zero);
    txtRechnungdaten[9].setText(zero);
    txtRechnungdaten[10].setText(QStringLiteral("EUR"));
    txtRechnungdaten[11].setText(QStringLiteral("EUR"));
    txtRechnungdaten[5].setValue(QStringLiteral("380"));
}

void DisplayModel::reset()
{
    for (auto &[name, group] : m_groups)
        for (Field &f : *group)
            f.setText(QString());
    txtRechnungdaten[5].setValue(QStringLiteral("380"));
    txtRechnungdaten[8].setText(QStringLiteral("0,00"));
    txtRechnungdaten[9].setText(QStringLiteral("0,00"));
    lvTable.clear();
    lvUst.clear();
    lvAbzuege.clear();
}

FieldList DisplayModel::fields(std::initializer_list<std::pair<FieldGroup *, int>> picks)
{
    FieldList list;
    for (const auto &[group, index] : picks)
        if (index >= 0 && index < static_cast<int>(group->size()))
            list.push_back(&(*group)[static_cast<std::size_t>(index)]);
    return list;
}

FieldList DisplayModel::range(FieldGroup &group, int first, int last)
{
    FieldList list;
    for (int i = first; i <= last && i < static_cast<int>(group.size()); ++i)
        list.push_back(&group[static_cast<std::size_t>(i)]);
    return list;
}

} // namespace invorator
