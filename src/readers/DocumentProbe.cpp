#include "readers/InvoiceReader.h"

#include "readers/cii/CiiReader.h"
#include "readers/ubl/UblReader.h"
#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

#include <initializer_list>
#include <string>

namespace invorator {

namespace {

const std::string ciiTest = ns::elementTest(QString::fromLatin1(ns::cii.data(), ns::cii.size()));
const std::string zugferd1Test =
    ns::elementTest(QString::fromLatin1(ns::zugferd1.data(), ns::zugferd1.size()));
const std::string ublTest = ns::elementTest(ns::ubl("CommonAggregateComponents-2"));
const std::string peppolTest = ns::elementTest(ns::ubl("Invoice-2"));
const std::string creditNoteTest = ns::elementTest(ns::ubl("CreditNote-2"));

bool ask(const XmlDocument &doc, std::optional<bool> &answer, std::initializer_list<std::string_view> tests)
{
    if (!answer) {
        answer = false;
        for (std::string_view test : tests)
            *answer = *answer || !doc.documentNode().selectSingleNode(test).isNull();
    }
    return *answer;
}

} // namespace

bool DocumentProbe::cii()
{
    return ask(m_doc, m_cii, {ciiTest});
}

bool DocumentProbe::zugferd1()
{
    return ask(m_doc, m_zugferd1, {zugferd1Test});
}

bool DocumentProbe::ubl()
{
    return ask(m_doc, m_ubl, {ublTest});
}

bool DocumentProbe::peppol()
{
    return ask(m_doc, m_peppol, {peppolTest, creditNoteTest});
}

InvoiceKind DocumentProbe::contentKind()
{
    if (cii() || zugferd1())
        return InvoiceKind::CII;
    if (!ubl() && !peppol())
        return InvoiceKind::Auto;
    static const std::string customizationQuery = "*[local-name()='CustomizationID' and namespace-uri()='" +
                                                  ns::ubl("CommonBasicComponents-2").toStdString() + "']";
    const XmlNode customization = m_doc.documentElement().selectSingleNode(customizationQuery);
    if (peppol() && customization.text().contains(QLatin1String("peppol"), Qt::CaseInsensitive))
        return InvoiceKind::Peppol;
    return ubl() ? InvoiceKind::UBL : InvoiceKind::Peppol;
}

std::unique_ptr<InvoiceReader> MakeReader(InvoiceKind kind)
{
    // The formats and their readers.
    struct Format
    {
        InvoiceKind kind;
        std::unique_ptr<InvoiceReader> (*make)();
    };
    static constexpr Format formats[] = {
        {InvoiceKind::CII,
         [] {
             return std::unique_ptr<InvoiceReader>(std::make_unique<CiiReader>());
         }},
        {InvoiceKind::UBL,
         [] {
             return std::unique_ptr<InvoiceReader>(std::make_unique<UblReader>(false));
         }},
        {InvoiceKind::Peppol,
         [] {
             return std::unique_ptr<InvoiceReader>(std::make_unique<UblReader>(true));
         }},
    };
    for (const Format &format : formats)
        if (format.kind == kind)
            return format.make();
    return nullptr;
}

} // namespace invorator
