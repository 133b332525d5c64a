#pragma once

#include "readers/InvoiceReader.h"
#include "readers/cii/clsCIIImport.h"
#include "services/XmlNamespaces.h"

#include <memory>

namespace invorator {

// Cross Industry Invoices and ZUGFeRD 1.0 documents: the steps of clsCIIImport in their
// order, in the vocabulary the document is written in.
class CiiReader : public InvoiceReader
{
public:
    bool accepts(DocumentProbe &probe) const override;
    bool read(DocumentProbe &probe, ImportContext &context, DisplayModel &model) override;
    bool writeAttachments(AttachmentStore &store) override;
    bool hasAttachments() const override;
    bool reportsUnreadyFolder() const override { return true; }
    AmountLayout amounts() const override { return {m_vocabulary}; }

private:
    const CiiVocabulary *m_vocabulary = &CrossIndustryInvoice;
    std::unique_ptr<clsCIIImport> m_reader;
    // The reader's prefixes, bound to every node it is given.
    XmlNamespaces m_namespaces;
    XmlNode m_agreement;
};

} // namespace invorator
