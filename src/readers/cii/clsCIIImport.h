#pragma once

#include "model/DisplayModel.h"
#include "readers/ImportContext.h"
#include "services/XmlDocument.h"

#include <QString>

namespace invorator {

class AttachmentStore;

// Reads a UN/CEFACT Cross Industry Invoice into the display model, one operation per
// element group. Every field or cell is a step of its own: a missing element leaves
// its target as it was and the next step runs.
class clsCIIImport
{
public:
    // The context's number format is read whenever an amount is shown.
    explicit clsCIIImport(const ImportContext &context) : m_context(context) {}

    QString SelectionNamespaces() const;
    bool SpecifiedTradeSettlementHeaderMonetarySummation(const XmlNode &node, const FieldList &fields);
    bool ExchangedDocument(const XmlNode &node, const FieldList &fields);
    bool SellerTradeParty(const XmlNode &node, const FieldList &fields);
    bool BuyerTradePartyNode(const XmlNode &node, const FieldList &fields);
    bool AdditionalReferencedDocument(const XmlNode &node, AttachmentStore &store);
    bool ApplicableTradeTax(const XmlNode &node, ListView &lv);
    bool SpecifiedTradePaymentTerms(const XmlNode &node, const FieldList &fields);
    bool IncludedSupplyChainTradeLineItem(const XmlNode &node, ListView &lv);
    bool SpecifiedTradeAllowanceCharge(const XmlNode &node, ListView &lv);

private:
    bool TradeParty(const XmlNode &node, const char *partyElement, const FieldList &fields);
    const ImportContext &m_context;
};

} // namespace invorator
