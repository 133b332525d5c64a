#include "checks/Validation.h"

#include "checks/validation/CodeLists.h"
#include "checks/validation/RuleContext.h"
#include "checks/validation/SchemaCheck.h"
#include "services/InvoiceNamespaces.h"
#include "services/XmlDocument.h"

#include <algorithm>

namespace invorator {

using namespace validation;

namespace {

constexpr const char *UblInvoiceNs = "urn:oasis:names:specification:ubl:schema:xsd:Invoice-2";
constexpr const char *UblCreditNoteNs = "urn:oasis:names:specification:ubl:schema:xsd:CreditNote-2";

bool isRoot(const xmlNode *root, const char *name, std::string_view ns)
{
    return root->ns && xmlStrEqual(root->name, BAD_CAST name) &&
           std::string_view(reinterpret_cast<const char *>(root->ns->href)) == ns;
}

ValidationFinding findingAt(const char *rule, FindingFlag flag, xmlNode *node, QStringList values)
{
    ValidationFinding finding{QString::fromLatin1(rule), flag, {}, 0, std::move(values)};
    xmlNode *element = node && node->type == XML_ATTRIBUTE_NODE ? node->parent : node;
    finding.location = LocationOf(node);
    if (element)
        finding.line = static_cast<int>(xmlGetLineNo(element));
    return finding;
}

const std::vector<std::span<const Rule>> &families()
{
    static const std::vector<std::span<const Rule>> all = {
        CoreRules(),     CalculationRules(), DecimalRules(),   VatCategoryRules(),
        CodeListRules(), CiiSyntaxRules(),   UblSyntaxRules(), XRechnungRules(),
    };
    return all;
}

// Runs every rule that applies, scope by scope: the nodes of a scope are found once and
// each is given to every rule of that scope.
void runRules(const Facts &facts, bool xrechnung, std::vector<ValidationFinding> &findings)
{
    std::vector<std::vector<const Rule *>> byScope(static_cast<size_t>(Scope::Count));
    for (std::span<const Rule> family : families())
        for (const Rule &rule : family)
            if ((rule.syntaxes & facts.syntax) && (rule.ruleset == Ruleset::En16931 || xrechnung))
                byScope[static_cast<size_t>(rule.scope)].push_back(&rule);
    for (size_t scope = 0; scope < byScope.size(); ++scope) {
        if (byScope[scope].empty())
            continue;
        for (xmlNode *node : facts.nodes(static_cast<Scope>(scope)))
            for (const Rule *rule : byScope[scope]) {
                RuleContext context{facts, node, nullptr, {}, {}, rule};
                const bool holds = rule->test(context);
                for (auto &[where, values] : context.failures)
                    findings.push_back(findingAt(rule->id, rule->flag, where, std::move(values)));
                if (!holds && context.failures.empty())
                    findings.push_back(findingAt(rule->id, rule->flag, context.at ? context.at : node,
                                                 std::move(context.values)));
            }
    }
}

int rank(const ValidationFinding &f)
{
    if (f.rule == QLatin1String("PROFILE") || f.rule == QLatin1String("ZUGFERD1"))
        return 0;
    return 1 + static_cast<int>(f.flag);
}

} // namespace

bool ValidationReport::valid() const
{
    return std::none_of(findings.begin(), findings.end(),
                        [](const ValidationFinding &f) { return f.flag == FindingFlag::Fatal; });
}

QString ValidationFolder(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Validation");
}

ValidationReport ValidateInvoice(const XmlDocument &doc, const QString &validationFolder,
                                 const std::vector<SumFinding> *sums)
{
    ValidationReport report;
    xmlDoc *tree = doc.tree();
    xmlNode *root = tree ? xmlDocGetRootElement(tree) : nullptr;
    if (!root)
        return report;

    Syntax syntax;
    SchemaKind schema;
    if (isRoot(root, "CrossIndustryInvoice", ns::cii)) {
        syntax = Cii;
        schema = SchemaKind::Cii;
    } else if (isRoot(root, "Invoice", UblInvoiceNs)) {
        syntax = Ubl;
        schema = SchemaKind::UblInvoice;
    } else if (isRoot(root, "CreditNote", UblCreditNoteNs)) {
        syntax = Ubl;
        schema = SchemaKind::UblCreditNote;
    } else if (isRoot(root, "CrossIndustryDocument", ns::zugferd1)) {
        // ZUGFeRD 1.0 came before EN 16931: its well-formed structure and its sums are all
        // there is to check.
        report.findings.push_back(findingAt("ZUGFERD1", FindingFlag::Information, root, {}));
        return report;
    } else {
        report.findings.push_back(findingAt("ROOT", FindingFlag::Fatal, root, {NameOf(root)}));
        return report;
    }

    report.findings = CheckSchema(tree, schema, validationFolder);

    const CodeLists &codes = CodeLists::of(validationFolder);
    if (!codes.loaded())
        report.findings.push_back({QStringLiteral("SETUP"),
                                   FindingFlag::Fatal,
                                   {},
                                   0,
                                   {validationFolder + QStringLiteral("/codelists")}});
    Facts facts(doc, root, syntax, codes);
    facts.sums = sums;

    // BT-24 names the rules the invoice claims to keep.
    const QString rulesId =
        Text(root, syntax == Cii
                       ? "rsm:ExchangedDocumentContext/ram:GuidelineSpecifiedDocumentContextParameter/ram:ID"
                       : "cbc:CustomizationID");
    report.xrechnung = rulesId.contains(QLatin1String("xrechnung"), Qt::CaseInsensitive);
    const QString lower = rulesId.toLower();
    if (lower.contains(QLatin1String(":minimum")) || lower.contains(QLatin1String(":basicwl")))
        report.findings.push_back(findingAt("PROFILE", FindingFlag::Information, root, {rulesId}));

    runRules(facts, report.xrechnung, report.findings);
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const ValidationFinding &a, const ValidationFinding &b) {
                         return std::pair(rank(a), a.line) < std::pair(rank(b), b.line);
                     });
    return report;
}

} // namespace invorator
