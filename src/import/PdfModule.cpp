// The entry of the module libinvorator_pdf.so, the only symbol it exports: invorator-cli opens the
// module when it reads a PDF invoice.
#include "import/PdfEmbeddedFiles.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const invorator::PdfModule *invorator_pdf_module()
{
    static const invorator::PdfModule functions{&invorator::EmbeddedInvoiceXml};
    return &functions;
}
