#pragma once

#include "model/DisplayFields.h"
#include "model/Payment.h"

#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <vector>

namespace invorator {

// One captioned single-line field of the invoice view. Most fields show their text;
// a field with a value list (the document type) shows the name for its value.
class Field
{
public:
    Field() = default;
    explicit Field(QString caption) : m_caption(std::move(caption)) {}

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }
    const QString &text() const { return m_text; }
    void setText(const QString &text);
    // The value behind the text: the type code of the document-type field, else the text.
    const QString &value() const { return m_value; }
    void setValue(const QString &value);

    // Entries (value, shown name) of a field that shows names for its values.
    using Entries = std::vector<std::pair<QString, QString>>;
    void setEntries(Entries entries);
    const Entries &entries() const { return m_entries; }

private:
    QString m_caption;
    QString m_text;
    QString m_value;
    Entries m_entries;
};

using FieldGroup = std::vector<Field>;

inline constexpr int ColorBlack = 0;
inline constexpr int ColorRed = 255;

struct ListRow
{
    QStringList cells; // column 0 is the row's text, the others its sub-items
    int color = ColorBlack;
    std::vector<int> cellColors;
};

// A list view in report mode: column headers and rows of texts with a colour.
class ListView
{
public:
    ListView(QString name, QStringList headers);

    const QString &name() const { return m_name; }
    const QStringList &headers() const { return m_headers; }
    void setHeader(int column, const QString &text) { m_headers[column] = text; }
    int columnCount() const { return static_cast<int>(m_headers.size()); }

    void clear() { m_rows.clear(); }
    // Adds a row with the column-0 text and returns its index.
    int addRow(const QString &text);
    void setCell(int row, int column, const QString &text);
    QString cell(int row, int column) const;
    void setCellColor(int row, int column, int color);
    // Colours the row and then each of its sub-items.
    void setRowColor(int row, int color);
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const ListRow &row(int r) const { return m_rows.at(static_cast<std::size_t>(r)); }

private:
    QString m_name;
    QStringList m_headers;
    std::vector<ListRow> m_rows;
};

// The columns of the invoice lines (`lvTable`); column 0 is the row's text.
namespace LineColumn {
enum : int { Position, Article, Description, Quantity, Price, VatRate, Total, Count };
}

// The columns of the VAT breakdown (`lvUst`): an empty row text, the rate, the VAT amount,
// the amount it is levied on, and the category with its name and an exemption's reason
// and reason code.
namespace VatColumn {
enum : int { Row, Rate, Amount, Basis, Category, CategoryName, ExemptionReason, ExemptionCode, Count };
}

// The columns of the allowances and charges (`lvAbzuege`): the reason as written, its
// code, the percentage, the amount and the amount it applies to.
namespace AllowanceColumn {
enum : int { Reason, ReasonCode, Percent, Amount, Basis, Count };
}

// The invoice as it is shown: four captioned field groups and four lists. The
// readers write it, the window and the command line show it, the archive reads it.
// Fields are addressed by their names in the field table (`Rd::InvoiceNumber`).
class DisplayModel
{
public:
    DisplayModel();
    DisplayModel(const DisplayModel &) = delete;
    DisplayModel &operator=(const DisplayModel &) = delete;

    Field &operator[](FieldId id) { return group(id.group)[static_cast<std::size_t>(id.index)]; }
    const Field &operator[](FieldId id) const { return group(id.group)[static_cast<std::size_t>(id.index)]; }
    FieldGroup &group(GroupId id) { return m_groups[static_cast<std::size_t>(id)]; }
    const FieldGroup &group(GroupId id) const { return m_groups[static_cast<std::size_t>(id)]; }

    ListView lvTable;
    ListView lvUst;
    ListView lvAbzuege;
    // One row per payment means, in the columns of `PaymentColumn`.
    ListView lvZahlung;
    // The cash discounts the payment terms offer, in the order the invoice gives them.
    std::vector<CashDiscount> discounts;

    // Empties every field and list; the document type becomes 380 and the tax and
    // final amount show "0,00".
    void reset();

    // The document-type field's entries (code, name in the current language).
    void setDocumentTypes(Field::Entries entries)
    {
        (*this)[Rd::DocumentType].setEntries(std::move(entries));
    }

private:
    std::array<FieldGroup, 4> m_groups;
};

} // namespace invorator
