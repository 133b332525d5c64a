// The table of formats: which reader takes which document, the kind its content shows,
// and where each reader says the amounts stand for the check of sums.
#include "TestSupport.h"

#include "readers/InvoiceReader.h"
#include "readers/cii/clsCIIImport.h"
#include "services/XmlDocument.h"

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

TEST(ReaderTable, EachFormatIsTakenByItsOwnReader)
{
    struct Case
    {
        QString file;
        InvoiceKind shown;
        const char *accepted; // CII, UBL, Peppol: 1 when that reader takes the document
        const CiiVocabulary *amounts;
    };
    const Case cases[] = {
        {corpus("cii/EN16931_Einfach.cii.xml"), InvoiceKind::CII, "100", &CrossIndustryInvoice},
        {corpus("cii/ZUGFeRD1_EXTENDED_Warenrechnung.xml"), InvoiceKind::CII, "100", &Zugferd1},
        {corpus("ubl/01.01a-INVOICE_ubl.xml"), InvoiceKind::UBL, "011", nullptr},
        {corpus("ubl-creditnote/ubl-creditnote.xml"), InvoiceKind::UBL, "011", nullptr},
        {corpus("peppol/BIS3_Invoice_negativ.XML"), InvoiceKind::Peppol, "011", nullptr},
        {corpus("peppol/AU_Credit_note.xml"), InvoiceKind::Peppol, "011", nullptr},
        {sample("Rechnung-2026-0815.xml"), InvoiceKind::CII, "100", &CrossIndustryInvoice},
    };
    for (const Case &c : cases) {
        const std::string name = c.file.toStdString();
        XmlDocument doc;
        ASSERT_TRUE(doc.loadXml(readFile(c.file))) << name;
        DocumentProbe probe(doc);
        EXPECT_EQ(probe.contentKind(), c.shown) << name;
        QString accepted;
        for (InvoiceKind kind : {InvoiceKind::CII, InvoiceKind::UBL, InvoiceKind::Peppol})
            accepted += MakeReader(kind)->accepts(probe) ? '1' : '0';
        EXPECT_EQ(accepted.toStdString(), c.accepted) << name;
        ImportContext context;
        DisplayModel model;
        const auto reader = MakeReader(c.shown);
        EXPECT_TRUE(reader->read(probe, context, model)) << name;
        EXPECT_EQ(reader->amounts().cii, c.amounts) << name;
        EXPECT_FALSE(model[Rd::InvoiceNumber].text().isEmpty()) << name;
    }
    // No reader for the PDF kind or for none: the content of a PDF chooses its reader.
    EXPECT_EQ(MakeReader(InvoiceKind::Pdf), nullptr);
    EXPECT_EQ(MakeReader(InvoiceKind::Auto), nullptr);
    XmlDocument other;
    ASSERT_TRUE(other.loadXml("<order xmlns='urn:example'><id>1</id></order>"));
    DocumentProbe probe(other);
    EXPECT_EQ(probe.contentKind(), InvoiceKind::Auto);
    for (InvoiceKind kind : {InvoiceKind::CII, InvoiceKind::UBL, InvoiceKind::Peppol})
        EXPECT_FALSE(MakeReader(kind)->accepts(probe));
}
