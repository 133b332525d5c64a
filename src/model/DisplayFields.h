#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace invorator {

// The four captioned field groups of the invoice view.
enum class GroupId { Seller, Buyer, Rechnungdaten, Sonstige };

// One field of the display model: its group and its index there.
struct FieldId
{
    GroupId group;
    int index;
    friend constexpr bool operator==(FieldId, FieldId) = default;
};

// Seller and buyer share one layout. TaxNumber shows the party's first tax registration,
// or its tax number when it gives a VAT identifier as well; VatId shows that VAT identifier.
struct PartyFields
{
    FieldId Name, TaxNumber, Email, Street, Country, PostCode, City, Contact, ContactEmail, ContactPhone,
        VatId;
    static constexpr int count = 11;
};

constexpr PartyFields partyFields(GroupId g)
{
    return {{g, 0}, {g, 1}, {g, 2}, {g, 3}, {g, 4}, {g, 5}, {g, 6}, {g, 7}, {g, 8}, {g, 9}, {g, 10}};
}

inline constexpr PartyFields Seller = partyFields(GroupId::Seller);
inline constexpr PartyFields Buyer = partyFields(GroupId::Buyer);

// Invoice header and the two amounts beside it.
namespace Rd {
constexpr GroupId g = GroupId::Rechnungdaten;
inline constexpr FieldId SpecificationId{g, 0};
inline constexpr FieldId InvoiceNumber{g, 1};
inline constexpr FieldId Subject{g, 2};
inline constexpr FieldId IssueDate{g, 3};
inline constexpr FieldId DueDate{g, 4};
inline constexpr FieldId DocumentType{g, 5}; // holds the type code, shows its name
inline constexpr FieldId Note{g, 6};
inline constexpr FieldId PaymentTerms{g, 7};
inline constexpr FieldId TaxTotal{g, 8};
inline constexpr FieldId FinalAmount{g, 9};
inline constexpr FieldId TaxCurrency{g, 10};
inline constexpr FieldId FinalCurrency{g, 11};
} // namespace Rd

// Totals and the Peppol identifiers.
namespace So {
constexpr GroupId g = GroupId::Sonstige;
inline constexpr FieldId LineTotal{g, 0};
inline constexpr FieldId NetTotal{g, 1};
inline constexpr FieldId GrossTotal{g, 2};
inline constexpr FieldId Allowances{g, 3};
inline constexpr FieldId Charges{g, 4};
inline constexpr FieldId Prepaid{g, 5};
inline constexpr FieldId Rounding{g, 6};
inline constexpr FieldId DuePayable{g, 7};
inline constexpr FieldId EndpointId{g, 8};
inline constexpr FieldId ProfileId{g, 9};
inline constexpr FieldId AccountingCost{g, 10};
inline constexpr FieldId BusinessProcess{g, 11};
} // namespace So

// One row of the field table: the field, the control that shows it, its designed
// caption and the text it has before any invoice was read.
struct FieldSpec
{
    FieldId id;
    std::string_view key;
    std::string_view caption;
    std::string_view shipped = {};
};

// Every field of the display model, group after group, each group in index order.
inline constexpr std::array<FieldSpec, 46> DisplayFieldTable{{
    {Seller.Name, "txtSeller(0)", "Name"},
    {Seller.TaxNumber, "txtSeller(1)", "Steuer-Nummer"},
    {Seller.Email, "txtSeller(2)", "Empfänger - E-Mail"},
    {Seller.Street, "txtSeller(3)", "Straße"},
    {Seller.Country, "txtSeller(4)", "Land"},
    {Seller.PostCode, "txtSeller(5)", "PLZ"},
    {Seller.City, "txtSeller(6)", "Ort"},
    {Seller.Contact, "txtSeller(7)", "Ansprechpartner"},
    {Seller.ContactEmail, "txtSeller(8)", "Ansp.-E-Mail"},
    {Seller.ContactPhone, "txtSeller(9)", "Ansp.-Telefon"},
    {Seller.VatId, "txtSeller(10)", "USt-IdNr."},
    {Buyer.Name, "txtBuyer(0)", "Name"},
    {Buyer.TaxNumber, "txtBuyer(1)", "Steuer-Nummer"},
    {Buyer.Email, "txtBuyer(2)", "Empfänger - E-Mail"},
    {Buyer.Street, "txtBuyer(3)", "Straße"},
    {Buyer.Country, "txtBuyer(4)", "Land"},
    {Buyer.PostCode, "txtBuyer(5)", "PLZ"},
    {Buyer.City, "txtBuyer(6)", "Ort"},
    {Buyer.Contact, "txtBuyer(7)", "Ansprechpartner"},
    {Buyer.ContactEmail, "txtBuyer(8)", "Ansp.-E-Mail"},
    {Buyer.ContactPhone, "txtBuyer(9)", "Ansp.-Telefon"},
    {Buyer.VatId, "txtBuyer(10)", "USt-IdNr."},
    {Rd::SpecificationId, "txtRechnungdaten(0)", "Spezifikations-ID"},
    {Rd::InvoiceNumber, "txtRechnungdaten(1)", "Rechnungs-Nr"},
    {Rd::Subject, "txtRechnungdaten(2)", "Betreff"},
    {Rd::IssueDate, "txtRechnungdaten(3)", "Datum"},
    {Rd::DueDate, "txtRechnungdaten(4)", "Zahlbar bis"},
    {Rd::DocumentType, "txtRechnungdaten(5)", "Rechnungsart"},
    {Rd::Note, "txtRechnungdaten(6)", "Bemerkungen"},
    {Rd::PaymentTerms, "txtRechnungdaten(7)", "Zahlungsart"},
    {Rd::TaxTotal, "txtRechnungdaten(8)", "Steuer", "0,00"},
    {Rd::FinalAmount, "txtRechnungdaten(9)", "Endbetrag", "0,00"},
    {Rd::TaxCurrency, "txtRechnungdaten(10)", "", "EUR"},
    {Rd::FinalCurrency, "txtRechnungdaten(11)", "", "EUR"},
    {So::LineTotal, "txtSonstige(0)", "Summe Nettobeträge ", "0,00"},
    {So::NetTotal, "txtSonstige(1)", "Nettobetrag", "0,00"},
    {So::GrossTotal, "txtSonstige(2)", "Gesamtbetrag mit Umsatzsteuer", "0,00"},
    {So::Allowances, "txtSonstige(3)", "Abschläge", "0,00"},
    {So::Charges, "txtSonstige(4)", "Zuschläge", "0,00"},
    {So::Prepaid, "txtSonstige(5)", "Vorauszahlungen", "0,00"},
    {So::Rounding, "txtSonstige(6)", "Rundungsbetrag", "0,00"},
    {So::DuePayable, "txtSonstige(7)", "Fälliger Zahlungsbetrag", "0,00"},
    {So::EndpointId, "txtSonstige(8)", "Endpoint ID"},
    {So::ProfileId, "txtSonstige(9)", "Profile ID"},
    {So::AccountingCost, "txtSonstige(10)", "Accounting Cost"},
    {So::BusinessProcess, "txtSonstige(11)", "BusinessProcessSpecified"},
}};

// The control array a group is shown in ("txtSeller", ...).
constexpr std::string_view GroupName(GroupId group)
{
    switch (group) {
    case GroupId::Seller:
        return "txtSeller";
    case GroupId::Buyer:
        return "txtBuyer";
    case GroupId::Rechnungdaten:
        return "txtRechnungdaten";
    case GroupId::Sonstige:
        return "txtSonstige";
    }
    return {};
}

// The table row of a field; the table holds every field a group has.
constexpr const FieldSpec &FieldSpecOf(FieldId id)
{
    std::size_t first = 0;
    for (GroupId g : {GroupId::Seller, GroupId::Buyer, GroupId::Rechnungdaten}) {
        if (g == id.group)
            break;
        first += g == GroupId::Rechnungdaten ? 12 : PartyFields::count;
    }
    return DisplayFieldTable.at(first + static_cast<std::size_t>(id.index));
}

namespace detail {
// A row is right when its key is its group's name followed by "(index)" and the rows
// stand in group and index order, which FieldSpecOf relies on.
constexpr bool tableIsConsistent()
{
    for (std::size_t i = 0; i < DisplayFieldTable.size(); ++i) {
        const FieldSpec &row = DisplayFieldTable[i];
        const std::string_view name = GroupName(row.id.group);
        if (row.key.substr(0, name.size()) != name || row.key.back() != ')' || row.key[name.size()] != '(')
            return false;
        int index = 0;
        for (char c : row.key.substr(name.size() + 1, row.key.size() - name.size() - 2))
            index = index * 10 + (c - '0');
        if (index != row.id.index || &FieldSpecOf(row.id) != &row)
            return false;
    }
    return true;
}
static_assert(tableIsConsistent(), "the display field table must list each group's fields in order");
} // namespace detail

} // namespace invorator
