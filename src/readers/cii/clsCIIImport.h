#pragma once

#include "model/DisplayModel.h"
#include "readers/ImportContext.h"
#include "services/XmlNode.h"

#include <QString>

#include <string>

namespace invorator {

class AttachmentStore;

// The elements in which two generations of the Cross Industry vocabulary carry the same
// information: the Cross Industry Invoice (D16B, ZUGFeRD 2, Factur-X, XRechnung) and the
// Cross Industry Document of ZUGFeRD 1.0. Paths starting with // are sought in the whole
// document, the others below the element the step is given.
struct CiiVocabulary
{
    const char *namespaces;   // rsm, ram and udt of this generation
    const char *root;         // the document element
    const char *header;       // the document header (number, date, type, notes)
    const char *agreement;    // the header's agreement (parties, referenced documents)
    const char *settlement;   // the header's settlement (terms, VAT, allowances, totals)
    const char *headerTotals; // the document's totals
    const char *lineAgreement;
    const char *lineDelivery;
    const char *lineSettlement;
    const char *lineTotals; // below a line's settlement
    const char *rate;       // a tax's rate
    const char *documentId; // a referenced document's identifier
    bool lineIdRequired;    // a line without its number ends the lines (1.0 lines may have none)
};

extern const CiiVocabulary CrossIndustryInvoice;
extern const CiiVocabulary Zugferd1;

// Reads a UN/CEFACT Cross Industry Invoice into the display model, one operation per
// element group. Every field or cell is a step of its own: a missing element leaves
// its target as it was and the next step runs.
class clsCIIImport
{
public:
    // The context's number format is read whenever an amount is shown.
    explicit clsCIIImport(const ImportContext &context,
                          const CiiVocabulary &vocabulary = CrossIndustryInvoice);

    const CiiVocabulary &vocabulary() const { return m_vocabulary; }

    QString SelectionNamespaces() const;
    bool SpecifiedTradeSettlementHeaderMonetarySummation(const XmlNode &node, DisplayModel &m);
    bool ExchangedDocument(const XmlNode &node, DisplayModel &m);
    bool SellerTradeParty(const XmlNode &node, DisplayModel &m);
    bool BuyerTradePartyNode(const XmlNode &node, DisplayModel &m);
    bool AdditionalReferencedDocument(const XmlNode &node, AttachmentStore &store);
    bool ApplicableTradeTax(const XmlNode &node, ListView &lv);
    bool SpecifiedTradePaymentTerms(const XmlNode &node, DisplayModel &m);
    bool IncludedSupplyChainTradeLineItem(const XmlNode &node, ListView &lv);
    bool SpecifiedTradeAllowanceCharge(const XmlNode &node, ListView &lv);
    // Every payment means of the settlement, with what the invoice says of paying it.
    bool SpecifiedTradeSettlementPaymentMeans(const XmlNode &settlement, const XmlNode &agreement,
                                              ListView &lv);

private:
    bool TradeParty(const XmlNode &node, const char *partyElement, DisplayModel &m, const PartyFields &party);
    const ImportContext &m_context;
    const CiiVocabulary &m_vocabulary;
    // A line's and a tax's paths, put together once.
    std::string m_linePrice, m_lineQuantity, m_lineRate, m_lineTotal, m_taxRate, m_documentId, m_duePayable,
        m_documentType, m_issueDate;
};

} // namespace invorator
