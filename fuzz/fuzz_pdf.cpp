// Any bytes as a PDF: whatever comes out must be a document with an invoice root.
#include "import/PdfExtraction.h"
#include "services/XmlDocument.h"

#include <cstdint>
#include <cstdlib>

using namespace invorator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray pdf =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QByteArray xml = ExtractInvoiceXml(pdf);
    if (xml.size() > MaxXmlBytes)
        std::abort();
    return 0;
}
