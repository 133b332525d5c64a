#include "readers/ubl/UblReader.h"

#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

namespace invorator {

bool UblReader::accepts(DocumentProbe &probe) const
{
    return m_peppol ? probe.peppol() : probe.ubl();
}

bool UblReader::read(DocumentProbe &probe, ImportContext &context, DisplayModel &m)
{
    const XmlNode root = probe.document().documentElement();
    const bool creditNote =
        root.localName() == QLatin1String("CreditNote") && root.namespaceUri() == ns::ubl("CreditNote-2");
    m_reader = m_peppol ? std::make_unique<clsPeppol>(context, creditNote)
                        : std::make_unique<clsUBLImport>(context, creditNote);
    clsUBLImport &reader = *m_reader;
    m_namespaces = XmlNamespaces::parse(reader.SelectionNamespaces()).value_or(XmlNamespaces());
    const XmlNode doc = probe.document().documentNode(m_namespaces);
    if (!reader.AccountingCustomerParty(doc.selectSingleNode("//cac:AccountingCustomerParty"), m) ||
        !reader.AccountingSupplierParty(doc.selectSingleNode("//cac:AccountingSupplierParty"), m))
        return false;
    // From here on amounts show without thousands separators and end in a blank.
    context.numberFormat = QStringLiteral("0.00 ");
    reader.Header(doc, m);
    // The payment means do not depend on the steps below, which may end the reading early.
    reader.PaymentMeans(doc, m.lvZahlung);
    const XmlNode firstLine = doc.selectSingleNode(reader.lineQuery());
    if (!reader.InvoiceLine(firstLine, m.lvTable) || !reader.TaxSubtotal(firstLine, m.lvUst) ||
        !reader.LegalMonetaryTotal(doc.selectSingleNode("//cac:LegalMonetaryTotal"), m) ||
        !reader.AllowanceCharge(doc.selectSingleNode("//cac:AllowanceCharge"), m.lvAbzuege))
        return false;
    m_references = doc.selectSingleNode("//cac:AdditionalDocumentReference");
    return true;
}

bool UblReader::writeAttachments(AttachmentStore &store)
{
    return m_reader && m_reader->AdditionalDocumentReference(m_references, store);
}

} // namespace invorator
