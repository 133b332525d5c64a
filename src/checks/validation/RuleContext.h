#pragma once

// What a validation rule sees: the node it is checked on, ways to walk from there without
// an XPath engine, and the facts of the whole document that the engine works out once.
// Only the rule files and the engine include this header; it carries libxml2's node type.

#include "checks/FindingFlag.h"
#include "checks/SumChecks.h"
#include "model/Decimal.h"

#include <libxml/tree.h>

#include <QString>
#include <QStringList>

#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

namespace invorator {
class XmlDocument;
}

namespace invorator::validation {

class CodeLists;

// The syntaxes a rule applies to, as bits.
enum Syntax : unsigned { Cii = 1, Ubl = 2, Both = Cii | Ubl };

enum class Ruleset { En16931, XRechnung };

// The kinds of node a rule is checked on; the engine finds the nodes of each kind once per
// document, in document order.
enum class Scope {
    Invoice,       // the root element
    Line,          // an invoice line (CII line item, UBL InvoiceLine or CreditNoteLine)
    VatBreakdown,  // a VAT breakdown (CII header ApplicableTradeTax, UBL TaxTotal/TaxSubtotal)
    DocAllowance,  // an allowance on the whole document
    DocCharge,     // a charge on the whole document
    LineAllowance, // an allowance on a line
    LineCharge,    // a charge on a line
    PaymentMeans,  // a payment means
    Count
};

using Nodes = std::vector<xmlNode *>;

// A path below a node: element steps "prefix:name" separated by '/', the last step may be
// an attribute "@name"; ".." goes to the parent. The prefixes are the usual ones of the two
// syntaxes (rsm, ram, udt, qdt; cac, cbc, ext). Compiled once per literal.
struct PathStep
{
    enum Kind { Element, Attribute, Parent } kind = Element;
    const xmlChar *ns = nullptr; // namespace URI; null for an attribute without one
    std::string name;
    // The document's own copy of the URI last found equal, during the validation that
    // found it: elements share their declaration's, so most comparisons are of pointers.
    mutable const xmlChar *sameNs = nullptr;
    mutable unsigned sameNsRun = 0;
    // Likewise the children of this name found last below one of the root's levels.
    mutable const xmlNode *wideParent = nullptr;
    mutable const std::vector<xmlNode *> *wideNodes = nullptr;
    mutable unsigned wideRun = 0;
};
using CompiledPath = std::vector<PathStep>;

// The document under validation, with what the rules share.
class Facts
{
public:
    Facts(const XmlDocument &document, xmlNode *root, Syntax syntax, const CodeLists &codes);
    ~Facts();
    Facts(const Facts &) = delete;
    Facts &operator=(const Facts &) = delete;

    const XmlDocument &document;
    xmlNode *const root;
    const Syntax syntax;
    const bool creditNote; // a UBL CreditNote root
    const CodeLists &codes;
    // The findings of the check of sums where the caller made them already; else the
    // calculation rules make them.
    const std::vector<SumFinding> *sums = nullptr;

    bool cii() const { return syntax == Cii; }
    // Every node of a scope, in document order.
    const Nodes &nodes(Scope scope) const;
    // A value worked out once per document, under a key of the rule file's own.
    template <typename T> const T &once(const char *key, const std::function<T()> &make) const
    {
        auto it = m_once.find(key);
        if (it == m_once.end())
            it = m_once.emplace(key, std::any(make())).first;
        return *std::any_cast<T>(&it->second);
    }

private:
    mutable std::vector<std::optional<Nodes>> m_scopes;
    mutable std::unordered_map<std::string, std::any> m_once;
    struct WideIndex;
    std::unique_ptr<WideIndex> m_wide;
    WideIndex *m_outer;
};

// Walking from a node along a path.
const CompiledPath &Compile(const char *path);
Nodes All(xmlNode *from, const char *path);
xmlNode *First(xmlNode *from, const char *path);
// The string value of a node with white space collapsed, as normalize-space() gives it.
QString Text(const xmlNode *node);
// The text of a node exactly as written, white space and line breaks kept; empty for none.
QString RawText(const xmlNode *node);
// The normalised text of the first node on the path; empty when there is none.
QString Text(xmlNode *from, const char *path);
// Whether the path leads to a node whose text is not blank.
bool Filled(xmlNode *from, const char *path);
// The first node on the path read as an xs:decimal; nothing when absent or no number.
std::optional<Decimal> Number(xmlNode *from, const char *path);
// The element's name as written, with its prefix, for messages.
QString NameOf(const xmlNode *node);
// Where a node is, as an XPath of names as written with positions among like-named siblings.
QString LocationOf(const xmlNode *node);

struct Rule;

// What a rule's test is given: the node it is checked on and the document. A test returns
// false when the rule fails; before that it may say where (`at`, default the node) and add
// the values the message names. A rule that fails on several elements below its node
// (each wrong code of a line, say) calls fail() for each instead; the engine reports every
// one of those, and the node itself only when the test returns false without any.
struct RuleContext
{
    const Facts &doc;
    xmlNode *node;
    xmlNode *at = nullptr;
    QStringList values;
    std::vector<std::pair<xmlNode *, QStringList>> failures;
    // The rule being checked: one test may serve a table of rules that differ only in data.
    const Rule *rule = nullptr;

    void fail(xmlNode *where, QStringList what = {}) { failures.emplace_back(where, std::move(what)); }

    bool cii() const { return doc.cii(); }
    Nodes all(const char *path) const { return All(node, path); }
    xmlNode *first(const char *path) const { return First(node, path); }
    bool has(const char *path) const { return First(node, path) != nullptr; }
    bool filled(const char *path) const { return Filled(node, path); }
    QString text(const char *path) const { return Text(node, path); }
    std::optional<Decimal> number(const char *path) const { return Number(node, path); }
    // The CII path or the UBL one, by the document's syntax.
    const char *pick(const char *ciiPath, const char *ublPath) const { return cii() ? ciiPath : ublPath; }
};

using RuleTest = bool (*)(RuleContext &);

// Shared tests. An element that may occur once: fails at the second of `nodes` and every one
// after it, naming the element and how often it occurs.
bool AtMostOnce(RuleContext &c, const Nodes &nodes);
// The same for the elements on a path below the rule's node.
bool AtMostOnce(RuleContext &c, const char *path);
// A rule that no test of the document can decide, or whose condition every document meets.
bool Passes(RuleContext &);

// One rule: its id, its flag, the rule set and syntaxes it belongs to, the scope it is
// checked on and its test.
struct Rule
{
    const char *id;
    FindingFlag flag;
    Ruleset ruleset;
    unsigned syntaxes;
    Scope scope;
    RuleTest test;
};

// The rule families, each in a file of its own.
std::span<const Rule> CoreRules();        // BR-01 … BR-65
std::span<const Rule> CalculationRules(); // BR-CO-*
std::span<const Rule> DecimalRules();     // BR-DEC-*
std::span<const Rule> VatCategoryRules(); // BR-S/Z/E/AE/IC/G/O/AF/AG/B-*
std::span<const Rule> CodeListRules();    // BR-CL-*
std::span<const Rule> CiiSyntaxRules();   // CII-SR-*, CII-DT-*
std::span<const Rule> UblSyntaxRules();   // UBL-SR-*, UBL-CR-*, UBL-DT-*
std::span<const Rule> XRechnungRules();   // BR-DE-*, BR-DEX-*, BR-TMP-*, CVD

} // namespace invorator::validation
