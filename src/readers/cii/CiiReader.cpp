#include "readers/cii/CiiReader.h"

#include "services/XmlDocument.h"

namespace invorator {

bool CiiReader::accepts(DocumentProbe &probe) const
{
    return probe.cii() || probe.zugferd1();
}

bool CiiReader::read(DocumentProbe &probe, ImportContext &context, DisplayModel &m)
{
    m_vocabulary = probe.cii() ? &CrossIndustryInvoice : &Zugferd1;
    const CiiVocabulary &v = *m_vocabulary;
    m_reader = std::make_unique<clsCIIImport>(context, v);
    clsCIIImport &reader = *m_reader;
    m_namespaces = XmlNamespaces::parse(reader.SelectionNamespaces()).value_or(XmlNamespaces());
    const XmlNode root = probe.document().documentNode(m_namespaces).selectSingleNode(v.root);
    m_agreement = root.selectSingleNode(v.agreement);
    const XmlNode settlement = root.selectSingleNode(v.settlement);
    // The payment means do not depend on the steps below, which may end the reading early.
    reader.SpecifiedTradeSettlementPaymentMeans(settlement, m_agreement, m.lvZahlung);
    return reader.ExchangedDocument(root.selectSingleNode(v.header), m) &&
           reader.SellerTradeParty(m_agreement, m) && reader.BuyerTradePartyNode(m_agreement, m) &&
           reader.SpecifiedTradePaymentTerms(settlement, m) &&
           reader.IncludedSupplyChainTradeLineItem(settlement, m.lvTable) &&
           reader.ApplicableTradeTax(settlement, m.lvUst) &&
           reader.SpecifiedTradeAllowanceCharge(root.selectSingleNode("//ram:SpecifiedTradeAllowanceCharge"),
                                                m.lvAbzuege) &&
           reader.SpecifiedTradeSettlementHeaderMonetarySummation(root.selectSingleNode(v.headerTotals), m);
}

bool CiiReader::hasAttachments() const
{
    return m_reader && !m_agreement.selectNodes("//ram:AdditionalReferencedDocument").empty();
}

bool CiiReader::writeAttachments(AttachmentStore &store)
{
    return m_reader && m_reader->AdditionalReferencedDocument(m_agreement, store);
}

} // namespace invorator
