#pragma once

#include <QString>

#include <string>
#include <string_view>

// The namespace URIs of the invoice formats, written down once.
namespace invorator::ns {

inline constexpr std::string_view cii = "urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100";
// ZUGFeRD 1.0, the Cross Industry Document of 2014 to about 2020.
inline constexpr std::string_view zugferd1 = "urn:ferd:CrossIndustryDocument:invoice:1p0";
// Every UBL 2 schema namespace is this prefix followed by the schema's name.
inline constexpr std::string_view ublSchemaPrefix = "urn:oasis:names:specification:ubl:schema:xsd:";

inline QString ubl(std::string_view schema)
{
    return QString::fromLatin1(ublSchemaPrefix.data(), static_cast<qsizetype>(ublSchemaPrefix.size())) +
           QString::fromLatin1(schema.data(), static_cast<qsizetype>(schema.size()));
}

// The XPath that asks whether the document holds an element of that namespace.
inline std::string elementTest(const QString &uri)
{
    return "//*[namespace-uri()='" + uri.toStdString() + "']";
}

} // namespace invorator::ns
