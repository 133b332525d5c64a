#include "TestSupport.h"

#include "model/Conversions.h"
#include "readers/ubl/clsUBLImport.h"

#include <gtest/gtest.h>

using namespace invorator;
using namespace testing_support;

class UblCorpus : public ::testing::TestWithParam<const char *>
{
};

// Real UBL invoices and credit notes show what the document says, read here with
// libxml2's own XPath.
TEST_P(UblCorpus, ShowsWhatTheDocumentSays)
{
    const QString file = corpus(GetParam());
    ImportRun run;
    ASSERT_EQ(run.run(file, InvoiceKind::Auto), ImportOutcome::Read);
    // The reader the content calls for.
    EXPECT_EQ(run.kind, file.contains("/peppol/") ? InvoiceKind::Peppol : InvoiceKind::UBL);
    EXPECT_TRUE(run.messageNumbers().isEmpty());
    const bool creditNote = xpathCount(file, "/*[local-name()='CreditNote']") == 1;
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), xpathText(file, "/*/cbc:ID"));
    EXPECT_EQ(
        run.model[Rd::DocumentType].value(),
        xpathText(file, creditNote ? "/*/cbc:CreditNoteTypeCode" : "/*/cbc:InvoiceTypeCode").value_or("381"));
    EXPECT_EQ(
        run.model[Seller.Name].text(),
        xpathText(file, "//cac:AccountingSupplierParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationName")
            .value_or(""));
    EXPECT_EQ(
        run.model[Buyer.Name].text(),
        xpathText(file, "//cac:AccountingCustomerParty/cac:Party/cac:PartyLegalEntity/cbc:RegistrationName")
            .value_or(""));
    EXPECT_EQ(run.model.lvTable.rowCount(),
              xpathCount(file, creditNote ? "//cac:CreditNoteLine" : "//cac:InvoiceLine"));
    EXPECT_EQ(run.model.lvUst.rowCount(), xpathCount(file, "//cac:TaxSubtotal"));
    EXPECT_EQ(run.model[Rd::FinalAmount].text(),
              FormatXmlAmount(*xpathText(file, "//cac:LegalMonetaryTotal/cbc:PayableAmount"), "0.00 "));
    EXPECT_EQ(run.model[So::NetTotal].text(),
              FormatXmlAmount(*xpathText(file, "//cac:LegalMonetaryTotal/cbc:TaxExclusiveAmount"), "0.00 "));
    EXPECT_EQ(run.model[Rd::TaxCurrency].text(),
              xpathText(file, "//cac:LegalMonetaryTotal/cbc:LineExtensionAmount/@currencyID"));
    // The payment due date as a date (BT-9), where the document has one.
    const QString due = xpathText(file, "/*/cbc:DueDate").value_or("");
    if (!due.isEmpty()) {
        EXPECT_EQ(run.model[Rd::DueDate].text(), due.mid(8, 2) + "." + due.mid(5, 2) + "." + due.left(4));
    }
    // The tax is the total with VAT less the total without it (not less the line total).
    const auto cents = [&](const char *what) {
        return qRound64(
            xpathText(file, QByteArray("//cac:LegalMonetaryTotal/cbc:") + what).value_or("0").toDouble() *
            100);
    };
    const qint64 tax = cents("TaxInclusiveAmount") - cents("TaxExclusiveAmount");
    EXPECT_EQ(run.model[Rd::TaxTotal].text(), FormatXmlAmount(QString::number(tax / 100.0, 'f', 2), "0.00 "));
    // The seller's contact: name and e-mail each in its own field.
    const char *contact = "//cac:AccountingSupplierParty/cac:Party/cac:Contact/cbc:";
    EXPECT_EQ(run.model[Seller.Contact].text(), xpathText(file, QByteArray(contact) + "Name").value_or(""));
    EXPECT_EQ(run.model[Seller.ContactEmail].text(),
              xpathText(file, QByteArray(contact) + "ElectronicMail").value_or(""));
}

INSTANTIATE_TEST_SUITE_P(RealInvoices, UblCorpus,
                         ::testing::Values("ubl/01.01a-INVOICE_ubl.xml", "ubl/01.18a-INVOICE_ubl.xml",
                                           "ubl/02.05a-INVOICE_ubl.xml", "ubl/02.06a-INVOICE_ubl.xml",
                                           "ubl/04.01a-INVOICE_ubl.xml", "ubl/maxRechnung_ubl.xml",
                                           "ubl/embedded-documents-bt-125_ubl.xml",
                                           "ubl/ubl-tc434-example1.xml", "ubl/guide-example2.xml",
                                           "ubl/ubl-tc434-example7.xml", "ubl/ubl-21-en16931.xml",
                                           "ubl-creditnote/ubl-tc434-creditnote1.xml",
                                           "ubl-creditnote/ubl-creditnote.xml",
                                           "ubl-creditnote/maxRechnung_creditnote.xml",
                                           "ubl-creditnote/direct-debit-bt-90-seller_creditnote.xml",
                                           "ubl-creditnote/ubl-cn-br-de-24-test-bg-18-271-code-48.xml",
                                           "peppol/BIS3_Invoice_negativ.XML", "peppol/AU_Credit_note.xml"));

namespace {

QByteArray ublInvoice(const QByteArray &body, const QByteArray &root = "Invoice")
{
    return "<?xml version='1.0'?><" + root + " xmlns='urn:oasis:names:specification:ubl:schema:xsd:" + root +
           "-2' xmlns:cac='urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2' "
           "xmlns:cbc='urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2'>" +
           body + "</" + root + ">";
}

const QByteArray parties =
    R"(<cbc:CustomizationID>urn:fdc:peppol.eu:2017:poacc:billing:3.0</cbc:CustomizationID>
<cbc:ProfileID> urn:fdc:peppol.eu:2017:poacc:billing:01:1.0 </cbc:ProfileID><cbc:ID>R-1</cbc:ID>
<cbc:IssueDate>2024-03-05</cbc:IssueDate><cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode><cbc:AccountingCost>4711</cbc:AccountingCost>
<cac:AccountingSupplierParty><cac:Party><cbc:EndpointID schemeID="0088">7300010000001</cbc:EndpointID>
<cac:PartyName><cbc:Name>Trading name</cbc:Name></cac:PartyName>
<cac:PartyTaxScheme><cac:TaxScheme><cbc:ID>VAT</cbc:ID></cac:TaxScheme></cac:PartyTaxScheme>
<cac:PartyTaxScheme><cbc:CompanyID>DE123456789</cbc:CompanyID></cac:PartyTaxScheme>
<cac:PartyLegalEntity><cbc:CompanyID>HRB 1234</cbc:CompanyID></cac:PartyLegalEntity></cac:Party></cac:AccountingSupplierParty>
<cac:PaymentTerms><cbc:Note>30 Tage netto</cbc:Note></cac:PaymentTerms>)";

} // namespace

// "Betreff" and the note of one invoice written in both syntaxes agree: the subject code
// with its name (in UBL the note's leading "#ADU#"), the note's text without the code;
// a note that only looks coded keeps its text.
TEST(UblReaders, ANoteSubjectReadsAsInCii)
{
    for (const char *name : {"01.01a", "01.18a"}) {
        ImportRun cii, ubl;
        ASSERT_EQ(cii.run(corpus(QString("cii/%1-INVOICE_uncefact.xml").arg(name)), InvoiceKind::Auto),
                  ImportOutcome::Read);
        ASSERT_EQ(ubl.run(corpus(QString("ubl/%1-INVOICE_ubl.xml").arg(name)), InvoiceKind::Auto),
                  ImportOutcome::Read);
        EXPECT_EQ(ubl.model[Rd::Subject].text(), "ADU – Anmerkung") << name;
        EXPECT_EQ(ubl.model[Rd::Subject].text(), cii.model[Rd::Subject].text()) << name;
        EXPECT_EQ(ubl.model[Rd::Note].text(), cii.model[Rd::Note].text()) << name;
    }
    QTemporaryDir dir;
    for (const char *note : {"#QQQ#unbekannt", "#adu#klein", "# ADU #"}) {
        ImportRun run;
        const QByteArray xml = ublInvoice(QByteArray("<cbc:Note>") + note + "</cbc:Note>" + parties);
        ASSERT_EQ(run.run(writeFile(dir, "note.xml", xml), InvoiceKind::UBL), ImportOutcome::Read);
        const bool coded = QByteArray(note).startsWith("#QQQ#");
        EXPECT_EQ(run.model[Rd::Subject].text(), coded ? "QQQ" : "") << note;
        EXPECT_EQ(run.model[Rd::Note].text(), coded ? "unbekannt" : note) << note;
    }
}

// The same document read as UBL and as Peppol shows the differences of the two readers.
TEST(UblReaders, UblAndPeppolReadTheSameDocumentTheirOwnWay)
{
    // The line total differs from the total without VAT, which the tax is computed from.
    const QByteArray rest =
        R"(<cac:LegalMonetaryTotal><cbc:LineExtensionAmount currencyID='EUR'>90.00</cbc:LineExtensionAmount>
<cbc:TaxExclusiveAmount>100.00</cbc:TaxExclusiveAmount><cbc:TaxInclusiveAmount>119.00</cbc:TaxInclusiveAmount><cbc:PayableAmount>119.00</cbc:PayableAmount></cac:LegalMonetaryTotal>
<cac:InvoiceLine><cbc:ID>1</cbc:ID><cbc:InvoicedQuantity>1.5</cbc:InvoicedQuantity><cbc:LineExtensionAmount currencyID='EUR'>15</cbc:LineExtensionAmount>
<cac:Item><cbc:Name>A</cbc:Name><cac:ClassifiedTaxCategory><cbc:Percent>19.00</cbc:Percent></cac:ClassifiedTaxCategory></cac:Item><cac:Price><cbc:PriceAmount>10</cbc:PriceAmount></cac:Price></cac:InvoiceLine>
<cac:InvoiceLine><cbc:ID>2</cbc:ID><cbc:InvoicedQuantity>-2</cbc:InvoicedQuantity><cac:TaxTotal><cac:TaxSubtotal><cac:TaxCategory><cbc:Percent>7</cbc:Percent></cac:TaxCategory></cac:TaxSubtotal></cac:TaxTotal>
<cac:Price><cbc:PriceAmount> </cbc:PriceAmount></cac:Price></cac:InvoiceLine>
<cac:InvoiceLine><cbc:ID>3</cbc:ID><cbc:InvoicedQuantity>1</cbc:InvoicedQuantity><cac:Price><cbc:PriceAmount>0</cbc:PriceAmount></cac:Price></cac:InvoiceLine>
<cac:InvoiceLine><cbc:ID>4</cbc:ID><cbc:InvoicedQuantity>x</cbc:InvoicedQuantity></cac:InvoiceLine>)";
    QTemporaryDir dir;
    const QString file = writeFile(dir, "both.xml", ublInvoice(parties + rest));

    ImportRun ubl;
    ASSERT_EQ(ubl.run(file, InvoiceKind::UBL), ImportOutcome::Read);
    EXPECT_EQ(ubl.model[Rd::SpecificationId].text(), "urn:fdc:peppol.eu:2017:poacc:billing:3.0");
    EXPECT_EQ(ubl.model[Rd::IssueDate].text(), "05.03.2024");
    EXPECT_EQ(ubl.model[Rd::DueDate].text(), "") << "no due date";
    EXPECT_EQ(ubl.model[Rd::PaymentTerms].text(), "30 Tage netto");
    EXPECT_EQ(ubl.model[Seller.Name].text(), "") << "a trading name is not the registration name";
    EXPECT_EQ(ubl.model[Seller.TaxNumber].text(), "DE123456789")
        << "the first tax scheme that has a company identifier";
    EXPECT_EQ(ubl.model[So::EndpointId].text(), "");
    EXPECT_EQ(ubl.model[So::ProfileId].text(), "");
    EXPECT_EQ(ubl.model[So::AccountingCost].text(), "");
    const ListView &u = ubl.model.lvTable;
    ASSERT_EQ(u.rowCount(), 4);
    EXPECT_EQ(u.row(0).cells, QStringList({"1", "A", "", "1,50", "10,00", "19,00", "15,00 "}));
    EXPECT_EQ(u.row(1).cells, QStringList({"2", "", "", "-2,00", "--", "7,00", ""}));
    EXPECT_EQ(u.row(1).color, ColorRed);
    EXPECT_EQ(u.row(2).cells[4], "0,00");
    EXPECT_EQ(u.row(3).cells[4], "") << "no price element, no price";
    EXPECT_EQ(u.row(3).color, ColorBlack) << "an unreadable quantity is black on the UBL path";
    EXPECT_EQ(ubl.model[Rd::TaxTotal].text(), "19,00 ");
    EXPECT_EQ(ubl.model[Rd::TaxCurrency].text(), "EUR");

    ImportRun peppol;
    ASSERT_EQ(peppol.run(file, InvoiceKind::Peppol), ImportOutcome::Read);
    EXPECT_EQ(peppol.model[Seller.TaxNumber].text(), "HRB 1234");
    EXPECT_EQ(peppol.model[So::EndpointId].text(), "7300010000001") << "the seller's electronic address";
    EXPECT_EQ(peppol.model[So::ProfileId].text(), "urn:fdc:peppol.eu:2017:poacc:billing:01:1.0");
    EXPECT_EQ(peppol.model[So::AccountingCost].text(), "4711");
    const ListView &p = peppol.model.lvTable;
    EXPECT_EQ(p.row(0).cells, QStringList({"1", "A", "", "1,5", "10,00 ", "19", "15,00 "}));
    EXPECT_EQ(p.row(1).cells[5], "") << "no second source for the rate";
    EXPECT_EQ(p.row(1).color, ColorRed);

    // Auto detection sees the Peppol rule set in the customization identifier.
    ImportRun detect;
    ASSERT_EQ(detect.run(file, InvoiceKind::Auto), ImportOutcome::Read);
    EXPECT_EQ(detect.kind, InvoiceKind::Peppol);
}

// Credit notes take their type, quantities and VAT rows from their own elements, in
// both readers.
TEST(UblReaders, CreditNotesShowTheirTypeLinesAndVat)
{
    QTemporaryDir dir;
    const QByteArray body = R"(<cbc:ID>GS-7</cbc:ID><cbc:CreditNoteTypeCode>381</cbc:CreditNoteTypeCode>
<cac:TaxTotal><cac:TaxSubtotal><cbc:TaxableAmount>50</cbc:TaxableAmount><cbc:TaxAmount>9.50</cbc:TaxAmount>
<cac:TaxCategory><cbc:Percent>19</cbc:Percent></cac:TaxCategory></cac:TaxSubtotal></cac:TaxTotal>
<cac:CreditNoteLine><cbc:ID>1</cbc:ID><cbc:CreditedQuantity>5</cbc:CreditedQuantity></cac:CreditNoteLine>)";
    const QString file = writeFile(dir, "cn.xml", ublInvoice(body, "CreditNote"));
    for (InvoiceKind kind : {InvoiceKind::UBL, InvoiceKind::Peppol}) {
        ImportRun run;
        ASSERT_EQ(run.run(file, kind), ImportOutcome::Read) << kind;
        EXPECT_EQ(run.model[Rd::DocumentType].value(), "381");
        ASSERT_EQ(run.model.lvTable.rowCount(), 1);
        EXPECT_EQ(run.model.lvTable.cell(0, LineColumn::Quantity), kind == InvoiceKind::UBL ? "5,00" : "5");
        EXPECT_EQ(run.model.lvUst.row(0).cells.mid(0, 4), QStringList({"", "19", "9,50 ", "50,00 "}));
    }
}

TEST(UblReaders, AnInvoiceWithoutLinesStopsAfterTheHeader)
{
    QTemporaryDir dir;
    const QString file = writeFile(
        dir, "nolines.xml",
        ublInvoice(
            "<cbc:ID>N-1</cbc:ID><cbc:Note>first</cbc:Note><cac:LegalMonetaryTotal><cbc:PayableAmount>5"
            "</cbc:PayableAmount></cac:LegalMonetaryTotal>"));
    ImportRun run;
    ASSERT_EQ(run.run(file, InvoiceKind::UBL), ImportOutcome::Read);
    EXPECT_EQ(run.model[Rd::InvoiceNumber].text(), "N-1");
    EXPECT_EQ(run.model[Rd::Note].text(), "first");
    EXPECT_EQ(run.model[Rd::DocumentType].value(), "380");
    EXPECT_EQ(run.model[Rd::FinalAmount].text(), "0,00") << "the line step has no node and ends the import";
}

// A party with a VAT identifier and another tax registration shows both; Peppol's tax
// number field holds the legal registration, and its VAT identifier has the other field
// even where the two are the same. A VAT identifier alone is shown in both fields.
TEST(UblReaders, VatIdentifierAndTaxNumberEachInTheirField)
{
    ImportRun ubl;
    ASSERT_EQ(ubl.run(corpus("ubl/02.05a-INVOICE_ubl.xml"), InvoiceKind::Auto), ImportOutcome::Read);
    EXPECT_EQ(ubl.model[Seller.TaxNumber].text(), "123/456/789");
    EXPECT_EQ(ubl.model[Seller.VatId].text(), "ATU123456789");
    EXPECT_EQ(ubl.model[Buyer.TaxNumber].text(), "DE12345ABC") << "one registration stays where it was";
    EXPECT_EQ(ubl.model[Buyer.VatId].text(), "DE12345ABC") << "and USt-IdNr. shows it too";

    QTemporaryDir dir;
    const QByteArray party =
        R"(<cbc:ID>P-1</cbc:ID><cac:AccountingSupplierParty><cac:Party>
<cac:PartyTaxScheme><cbc:CompanyID>SE556677889901</cbc:CompanyID><cac:TaxScheme><cbc:ID>VAT</cbc:ID></cac:TaxScheme></cac:PartyTaxScheme>
<cac:PartyLegalEntity><cbc:CompanyID>5566778899</cbc:CompanyID></cac:PartyLegalEntity></cac:Party></cac:AccountingSupplierParty>)";
    ImportRun peppol;
    ASSERT_EQ(peppol.run(writeFile(dir, "p.xml", ublInvoice(party)), InvoiceKind::Peppol),
              ImportOutcome::Read);
    EXPECT_EQ(peppol.model[Seller.TaxNumber].text(), "5566778899");
    EXPECT_EQ(peppol.model[Seller.VatId].text(), "SE556677889901");
    ImportRun same;
    ASSERT_EQ(same.run(corpus("peppol/BIS3_Invoice_negativ.XML"), InvoiceKind::Peppol), ImportOutcome::Read);
    EXPECT_EQ(same.model[Seller.TaxNumber].text(), "DK12345678");
    EXPECT_EQ(same.model[Seller.VatId].text(), "DK12345678");
}
