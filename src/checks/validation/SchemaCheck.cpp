#include "checks/validation/SchemaCheck.h"

#include "checks/validation/RuleContext.h"

#include <libxml/globals.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <map>
#include <memory>
#include <mutex>

namespace invorator::validation {

namespace {

constexpr int MaxSchemaFindings = 100;

struct SchemaDeleter
{
    void operator()(xmlSchema *schema) const { xmlSchemaFree(schema); }
};
struct ParserDeleter
{
    void operator()(xmlSchemaParserCtxt *ctxt) const { xmlSchemaFreeParserCtxt(ctxt); }
};
struct ValidDeleter
{
    void operator()(xmlSchemaValidCtxt *ctxt) const { xmlSchemaFreeValidCtxt(ctxt); }
};

const char *schemaFile(SchemaKind kind)
{
    switch (kind) {
    case SchemaKind::Cii:
        return "schema/cii/CrossIndustryInvoice_100pD16B.xsd";
    case SchemaKind::UblInvoice:
        return "schema/ubl/maindoc/UBL-Invoice-2.5.xsd";
    case SchemaKind::UblCreditNote:
        break;
    }
    return "schema/ubl/maindoc/UBL-CreditNote-2.5.xsd";
}

void ignoreError(void *, xmlError *) {}
void ignoreGeneric(void *, const char *, ...) {}

// The compiled schema of a kind, or null when it cannot be read; compiled once.
xmlSchema *compiled(SchemaKind kind, const QString &folder)
{
    static std::mutex lock;
    static std::map<std::pair<QString, SchemaKind>, std::unique_ptr<xmlSchema, SchemaDeleter>> schemas;
    std::lock_guard guard(lock);
    const auto key = std::make_pair(folder, kind);
    if (auto it = schemas.find(key); it != schemas.end())
        return it->second.get();
    const QByteArray path = (folder + QLatin1Char('/') + QLatin1String(schemaFile(kind))).toUtf8();
    std::unique_ptr<xmlSchemaParserCtxt, ParserDeleter> parser(xmlSchemaNewParserCtxt(path.constData()));
    xmlSchema *schema = nullptr;
    if (parser) {
        xmlSchemaSetParserStructuredErrors(parser.get(), ignoreError, nullptr);
        // Loading the imported schema files reports through libxml2's generic handlers,
        // which would write to stderr: silenced on this thread while the schema compiles.
        xmlGenericErrorFunc genericBefore = xmlGenericError;
        void *genericContext = xmlGenericErrorContext;
        xmlStructuredErrorFunc structuredBefore = xmlStructuredError;
        void *structuredContext = xmlStructuredErrorContext;
        xmlSetGenericErrorFunc(nullptr, ignoreGeneric);
        xmlSetStructuredErrorFunc(nullptr, ignoreError);
        schema = xmlSchemaParse(parser.get());
        xmlSetGenericErrorFunc(genericContext, genericBefore);
        xmlSetStructuredErrorFunc(structuredContext, structuredBefore);
    }
    return schemas.emplace(key, std::unique_ptr<xmlSchema, SchemaDeleter>(schema)).first->second.get();
}

struct Collector
{
    std::vector<ValidationFinding> findings;
    int leftOut = 0;
};

void collect(void *data, xmlError *error)
{
    auto *collector = static_cast<Collector *>(data);
    if (!error || error->level < XML_ERR_ERROR)
        return;
    if (collector->findings.size() >= MaxSchemaFindings) {
        ++collector->leftOut;
        return;
    }
    ValidationFinding finding;
    finding.rule = QStringLiteral("XSD");
    finding.flag = FindingFlag::Fatal;
    finding.line = error->line;
    if (auto *node = static_cast<xmlNode *>(error->node); node && node->type == XML_ELEMENT_NODE) {
        finding.location = LocationOf(node);
        finding.line = static_cast<int>(xmlGetLineNo(node));
    }
    finding.values << QString::fromUtf8(error->message ? error->message : "").trimmed();
    collector->findings.push_back(std::move(finding));
}

} // namespace

std::vector<ValidationFinding> CheckSchema(xmlDoc *doc, SchemaKind kind, const QString &validationFolder)
{
    xmlSchema *schema = compiled(kind, validationFolder);
    if (!schema) {
        ValidationFinding missing{QStringLiteral("SETUP"), FindingFlag::Fatal, {}, 0, {}};
        missing.values << validationFolder + QLatin1Char('/') + QLatin1String(schemaFile(kind));
        return {missing};
    }
    std::unique_ptr<xmlSchemaValidCtxt, ValidDeleter> ctxt(xmlSchemaNewValidCtxt(schema));
    if (!ctxt)
        return {};
    Collector collector;
    xmlSchemaSetValidStructuredErrors(ctxt.get(), collect, &collector);
    xmlSchemaValidateDoc(ctxt.get(), doc);
    if (collector.leftOut > 0) {
        ValidationFinding more{QStringLiteral("XSD-MORE"), FindingFlag::Fatal, {}, 0, {}};
        more.values << QString::number(collector.leftOut);
        collector.findings.push_back(std::move(more));
    }
    return std::move(collector.findings);
}

} // namespace invorator::validation
