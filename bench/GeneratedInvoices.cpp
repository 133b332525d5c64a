#include "GeneratedInvoices.h"

QByteArray ciiInvoice(int lines)
{
    QByteArray x = R"(<?xml version="1.0" encoding="UTF-8"?>
<rsm:CrossIndustryInvoice xmlns:rsm="urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100" xmlns:ram="urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100" xmlns:udt="urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100">
<rsm:ExchangedDocumentContext><ram:GuidelineSpecifiedDocumentContextParameter><ram:ID>urn:cen.eu:en16931:2017</ram:ID></ram:GuidelineSpecifiedDocumentContextParameter></rsm:ExchangedDocumentContext>
<rsm:ExchangedDocument><ram:ID>BENCH-1</ram:ID><ram:TypeCode>380</ram:TypeCode><ram:IssueDateTime><udt:DateTimeString format="102">20260101</udt:DateTimeString></ram:IssueDateTime></rsm:ExchangedDocument>
<rsm:SupplyChainTradeTransaction>
)";
    for (int i = 1; i <= lines; ++i) {
        const QByteArray n = QByteArray::number(i);
        x += "<ram:IncludedSupplyChainTradeLineItem><ram:AssociatedDocumentLineDocument><ram:LineID>" + n +
             "</ram:LineID></"
             "ram:AssociatedDocumentLineDocument><ram:SpecifiedTradeProduct><ram:SellerAssignedID>A-" +
             n + "</ram:SellerAssignedID><ram:Name>Artikel " + n +
             "</ram:Name><ram:Description>Beschreibung des Artikels " + n +
             "</ram:Description></"
             "ram:SpecifiedTradeProduct><ram:SpecifiedLineTradeAgreement><ram:NetPriceProductTradePrice>"
             "<ram:ChargeAmount>12.50</ram:ChargeAmount></ram:NetPriceProductTradePrice></"
             "ram:SpecifiedLineTradeAgreement>"
             "<ram:SpecifiedLineTradeDelivery><ram:BilledQuantity "
             "unitCode=\"H87\">3</ram:BilledQuantity></ram:SpecifiedLineTradeDelivery>"
             "<ram:SpecifiedLineTradeSettlement><ram:ApplicableTradeTax><ram:TypeCode>VAT</"
             "ram:TypeCode><ram:CategoryCode>S</ram:CategoryCode>"
             "<ram:RateApplicablePercent>19.00</ram:RateApplicablePercent></ram:ApplicableTradeTax>"
             "<ram:SpecifiedTradeSettlementLineMonetarySummation><ram:LineTotalAmount>37.50</"
             "ram:LineTotalAmount>"
             "</ram:SpecifiedTradeSettlementLineMonetarySummation></ram:SpecifiedLineTradeSettlement></"
             "ram:IncludedSupplyChainTradeLineItem>\n";
    }
    x +=
        R"(<ram:ApplicableHeaderTradeAgreement><ram:SellerTradeParty><ram:Name>Bench GmbH</ram:Name></ram:SellerTradeParty><ram:BuyerTradeParty><ram:Name>Kunde AG</ram:Name></ram:BuyerTradeParty></ram:ApplicableHeaderTradeAgreement>
<ram:ApplicableHeaderTradeSettlement><ram:InvoiceCurrencyCode>EUR</ram:InvoiceCurrencyCode>
<ram:ApplicableTradeTax><ram:CalculatedAmount>7.13</ram:CalculatedAmount><ram:TypeCode>VAT</ram:TypeCode><ram:BasisAmount>37.50</ram:BasisAmount><ram:CategoryCode>S</ram:CategoryCode><ram:RateApplicablePercent>19.00</ram:RateApplicablePercent></ram:ApplicableTradeTax>
<ram:SpecifiedTradeSettlementHeaderMonetarySummation><ram:LineTotalAmount>37.50</ram:LineTotalAmount><ram:TaxBasisTotalAmount>37.50</ram:TaxBasisTotalAmount><ram:TaxTotalAmount currencyID="EUR">7.13</ram:TaxTotalAmount><ram:GrandTotalAmount>44.63</ram:GrandTotalAmount><ram:DuePayableAmount>44.63</ram:DuePayableAmount></ram:SpecifiedTradeSettlementHeaderMonetarySummation>
</ram:ApplicableHeaderTradeSettlement></rsm:SupplyChainTradeTransaction></rsm:CrossIndustryInvoice>
)";
    return x;
}

QByteArray ublInvoice(int lines)
{
    QByteArray x = R"(<?xml version="1.0" encoding="UTF-8"?>
<Invoice xmlns="urn:oasis:names:specification:ubl:schema:xsd:Invoice-2" xmlns:cac="urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2" xmlns:cbc="urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2">
<cbc:CustomizationID>urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0</cbc:CustomizationID>
<cbc:ID>BENCH-1</cbc:ID><cbc:IssueDate>2026-01-01</cbc:IssueDate><cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode><cbc:DocumentCurrencyCode>EUR</cbc:DocumentCurrencyCode>
<cac:AccountingSupplierParty><cac:Party><cac:PostalAddress><cbc:StreetName>Weg 1</cbc:StreetName><cbc:CityName>Bremen</cbc:CityName><cbc:PostalZone>28195</cbc:PostalZone><cac:Country><cbc:IdentificationCode>DE</cbc:IdentificationCode></cac:Country></cac:PostalAddress><cac:PartyLegalEntity><cbc:RegistrationName>Bench GmbH</cbc:RegistrationName></cac:PartyLegalEntity></cac:Party></cac:AccountingSupplierParty>
<cac:AccountingCustomerParty><cac:Party><cac:PartyLegalEntity><cbc:RegistrationName>Kunde AG</cbc:RegistrationName></cac:PartyLegalEntity></cac:Party></cac:AccountingCustomerParty>
<cac:TaxTotal><cbc:TaxAmount currencyID="EUR">7.13</cbc:TaxAmount><cac:TaxSubtotal><cbc:TaxableAmount currencyID="EUR">37.50</cbc:TaxableAmount><cbc:TaxAmount currencyID="EUR">7.13</cbc:TaxAmount><cac:TaxCategory><cbc:ID>S</cbc:ID><cbc:Percent>19</cbc:Percent><cac:TaxScheme><cbc:ID>VAT</cbc:ID></cac:TaxScheme></cac:TaxCategory></cac:TaxSubtotal></cac:TaxTotal>
<cac:LegalMonetaryTotal><cbc:LineExtensionAmount currencyID="EUR">37.50</cbc:LineExtensionAmount><cbc:TaxExclusiveAmount currencyID="EUR">37.50</cbc:TaxExclusiveAmount><cbc:TaxInclusiveAmount currencyID="EUR">44.63</cbc:TaxInclusiveAmount><cbc:PayableAmount currencyID="EUR">44.63</cbc:PayableAmount></cac:LegalMonetaryTotal>
)";
    for (int i = 1; i <= lines; ++i) {
        const QByteArray n = QByteArray::number(i);
        x += "<cac:InvoiceLine><cbc:ID>" + n +
             "</cbc:ID><cbc:InvoicedQuantity unitCode=\"H87\">3</cbc:InvoicedQuantity>"
             "<cbc:LineExtensionAmount "
             "currencyID=\"EUR\">37.50</cbc:LineExtensionAmount><cac:Item><cbc:Description>Beschreibung des "
             "Artikels " +
             n + "</cbc:Description><cbc:Name>Artikel " + n +
             "</cbc:Name><cac:SellersItemIdentification><cbc:ID>A-" + n +
             "</cbc:ID></cac:SellersItemIdentification><cac:ClassifiedTaxCategory><cbc:ID>S</"
             "cbc:ID><cbc:Percent>19</cbc:Percent>"
             "<cac:TaxScheme><cbc:ID>VAT</cbc:ID></cac:TaxScheme></cac:ClassifiedTaxCategory></"
             "cac:Item><cac:Price>"
             "<cbc:PriceAmount currencyID=\"EUR\">12.50</cbc:PriceAmount></cac:Price></cac:InvoiceLine>\n";
    }
    x += "</Invoice>\n";
    return x;
}
