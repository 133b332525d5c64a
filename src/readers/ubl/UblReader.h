#pragma once

#include "readers/InvoiceReader.h"
#include "readers/ubl/clsUBLImport.h"
#include "services/XmlNamespaces.h"

#include <memory>

namespace invorator {

// UBL invoices and credit notes, or Peppol BIS documents: the steps of clsUBLImport (or
// clsPeppol) in their order.
class UblReader : public InvoiceReader
{
public:
    explicit UblReader(bool peppol) : m_peppol(peppol) {}

    bool accepts(DocumentProbe &probe) const override;
    bool read(DocumentProbe &probe, ImportContext &context, DisplayModel &model) override;
    bool writeAttachments(AttachmentStore &store) override;
    bool hasAttachments() const override { return static_cast<bool>(m_references); }
    bool reportsUnreadyFolder() const override { return false; }
    AmountLayout amounts() const override { return {}; }

private:
    bool m_peppol;
    std::unique_ptr<clsUBLImport> m_reader;
    // The reader's prefixes, bound to every node it is given.
    XmlNamespaces m_namespaces;
    XmlNode m_references;
};

} // namespace invorator
