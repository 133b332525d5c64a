#pragma once

#include "model/DisplayModel.h"
#include "readers/ImportContext.h"
#include "services/XmlNode.h"

#include <QString>

namespace invorator {

class AttachmentStore;

// Reads an OASIS UBL 2 Invoice or CreditNote into the display model. Each value is one
// self-contained step: an absent element writes nothing and the next step runs.
class clsUBLImport
{
public:
    // The context's number format is read whenever an amount is shown; creditNote
    // switches lines and quantities to their CreditNote element names.
    clsUBLImport(const ImportContext &context, bool creditNote, bool peppol = false);
    virtual ~clsUBLImport() = default;
    clsUBLImport(const clsUBLImport &) = delete;
    clsUBLImport &operator=(const clsUBLImport &) = delete;

    virtual QString SelectionNamespaces() const;
    QString CreditNote() const { return clsUBLImport::SelectionNamespaces(); }
    // The header block: number, dates, type, notes and terms (with Peppol's profile and
    // accounting reference), each its own step.
    void Header(const XmlNode &document, DisplayModel &m);
    bool AllowanceCharge(const XmlNode &node, ListView &lv);
    bool LegalMonetaryTotal(const XmlNode &node, DisplayModel &m);
    bool TaxSubtotal(const XmlNode &node, ListView &lv);
    bool AccountingCustomerParty(const XmlNode &node, DisplayModel &m);
    virtual bool AccountingSupplierParty(const XmlNode &node, DisplayModel &m);
    bool InvoiceLine(const XmlNode &node, ListView &lv);
    bool AdditionalDocumentReference(const XmlNode &node, AttachmentStore &store);
    // Every payment means of the document, with what it says of paying it.
    bool PaymentMeans(const XmlNode &document, ListView &lv);

    // "//cac:InvoiceLine", or "//cac:CreditNoteLine" for a credit note.
    const char *lineQuery() const;

protected:
    bool Party(const XmlNode &node, DisplayModel &m, const PartyFields &party);
    // The element that holds the party's tax number.
    virtual const char *partyTaxPath() const;
    // The VAT identifier and the other tax registration of a party, when it gives both.
    virtual void taxIdentifiers(const XmlNode &party, DisplayModel &m, const PartyFields &fields);
    // Columns 3 to 5 of an invoice line.
    virtual void quantityPriceAndRate(const XmlNode &line, ListView &lv, int row);
    const char *quantityPath() const;

    const ImportContext &m_context;
    bool m_creditNote;
    bool m_peppol;
};

// Reads Peppol BIS documents: the UBL reader with the legal entity's company identifier
// as tax number, quantities as written, whole-number VAT rates, and the seller's
// electronic address.
class clsPeppol : public clsUBLImport
{
public:
    clsPeppol(const ImportContext &context, bool creditNote) : clsUBLImport(context, creditNote, true) {}

    QString SelectionNamespaces() const override;
    bool AccountingSupplierParty(const XmlNode &node, DisplayModel &m) override;

protected:
    const char *partyTaxPath() const override;
    void taxIdentifiers(const XmlNode &party, DisplayModel &m, const PartyFields &fields) override;
    void quantityPriceAndRate(const XmlNode &line, ListView &lv, int row) override;
};

} // namespace invorator
