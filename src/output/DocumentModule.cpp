// The entry of the module libinvorator_document.so, the only symbol it exports: invorator-cli opens the
// module when it writes a PDF.
#include "output/InvoiceDocument.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const invorator::DocumentModule *invorator_document_module()
{
    static const invorator::DocumentModule functions{&invorator::DocumentApplication,
                                                     &invorator::WriteInvoicePdf};
    return &functions;
}
