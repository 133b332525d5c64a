#include "checks/validation/RuleContext.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace invorator::validation {

namespace {

struct Prefix
{
    std::string_view prefix;
    const char *uri;
};

// The prefixes rule paths use, bound to the namespaces of CII and UBL.
constexpr Prefix Prefixes[] = {
    {"rsm", "urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100"},
    {"ram", "urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100"},
    {"udt", "urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100"},
    {"qdt", "urn:un:unece:uncefact:data:standard:QualifiedDataType:100"},
    {"cac", "urn:oasis:names:specification:ubl:schema:xsd:CommonAggregateComponents-2"},
    {"cbc", "urn:oasis:names:specification:ubl:schema:xsd:CommonBasicComponents-2"},
    {"ext", "urn:oasis:names:specification:ubl:schema:xsd:CommonExtensionComponents-2"},
};

CompiledPath compilePath(std::string_view path)
{
    CompiledPath steps;
    while (!path.empty()) {
        const size_t slash = path.find('/');
        std::string_view step = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        PathStep compiled;
        if (step == "..") {
            compiled.kind = PathStep::Parent;
        } else if (step.starts_with('@')) {
            compiled.kind = PathStep::Attribute;
            compiled.name = step.substr(1);
        } else {
            const size_t colon = step.find(':');
            const std::string_view prefix = colon == std::string_view::npos ? "" : step.substr(0, colon);
            compiled.name = colon == std::string_view::npos ? step : step.substr(colon + 1);
            for (const Prefix &p : Prefixes)
                if (p.prefix == prefix)
                    compiled.ns = reinterpret_cast<const xmlChar *>(p.uri);
        }
        steps.push_back(std::move(compiled));
    }
    return steps;
}

// Counts the validations on this thread: a pointer remembered in an earlier one may now
// point into another document.
thread_local unsigned validationRun = 0;

bool matches(const xmlNode *node, const PathStep &step)
{
    if (std::strcmp(reinterpret_cast<const char *>(node->name), step.name.c_str()) != 0)
        return false;
    const xmlChar *uri = node->ns ? node->ns->href : nullptr;
    if (!step.ns || !uri)
        return step.ns == uri;
    if (uri == step.sameNs && step.sameNsRun == validationRun)
        return true;
    if (std::strcmp(reinterpret_cast<const char *>(uri), reinterpret_cast<const char *>(step.ns)) != 0)
        return false;
    step.sameNs = uri;
    step.sameNsRun = validationRun;
    return true;
}

// The children of the root and of CII's trade transaction by name, made once per
// validation: the invoice's lines stand there, so a step through those levels would
// otherwise pass every line on each of thousands of calls. Only while a Facts object is
// alive on this thread.
struct WideLevels
{
    xmlNode *root = nullptr;
    xmlNode *transaction = nullptr; // CII's rsm:SupplyChainTradeTransaction, which holds the lines
    // By local name; a step still checks the namespace of each.
    std::unordered_map<const xmlNode *, std::unordered_map<std::string_view, Nodes>> byParent;
    std::unordered_map<const xmlNode *, int> position;  // 1-based, among like-named siblings
    std::unordered_map<const xmlNode *, int> groupSize; // how many such siblings there are
    std::unordered_set<const xmlNode *> positioned;     // parents whose children are numbered
};
thread_local WideLevels *wideLevels = nullptr;

// Numbers the element children of a parent among their like-named siblings of the same
// namespace, as a location shows them.
void countPositions(const xmlNode *parent)
{
    std::map<std::pair<std::string_view, std::string_view>, int> counted;
    const auto group = [](const xmlNode *child) {
        return std::pair(std::string_view(reinterpret_cast<const char *>(child->name)),
                         std::string_view(child->ns ? reinterpret_cast<const char *>(child->ns->href) : ""));
    };
    for (const xmlNode *child = parent->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            wideLevels->position[child] = ++counted[group(child)];
    for (const xmlNode *child = parent->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            wideLevels->groupSize[child] = counted[group(child)];
}

const Nodes *wideChildren(const xmlNode *parent, const PathStep &step)
{
    if (!wideLevels || (parent != wideLevels->root && parent != wideLevels->transaction))
        return nullptr;
    if (step.wideRun == validationRun && step.wideParent == parent)
        return step.wideNodes;
    auto [at, added] = wideLevels->byParent.try_emplace(parent);
    if (added) {
        for (xmlNode *child = parent->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                at->second[reinterpret_cast<const char *>(child->name)].push_back(child);
        if (wideLevels->positioned.insert(parent).second)
            countPositions(parent);
    }
    static const Nodes none;
    const auto found = at->second.find(std::string_view(step.name));
    step.wideParent = parent;
    step.wideRun = validationRun;
    step.wideNodes = found == at->second.end() ? &none : &found->second;
    return step.wideNodes;
}

// Follows the steps from `index` on, appending every node reached.
void walk(xmlNode *from, const CompiledPath &steps, size_t index, Nodes &out, bool firstOnly)
{
    if (index == steps.size()) {
        out.push_back(from);
        return;
    }
    const PathStep &step = steps[index];
    if (step.kind == PathStep::Parent) {
        if (from->parent && from->parent->type == XML_ELEMENT_NODE)
            walk(from->parent, steps, index + 1, out, firstOnly);
        return;
    }
    if (step.kind == PathStep::Attribute) {
        for (xmlAttr *attr = from->properties; attr; attr = attr->next)
            if (!attr->ns && xmlStrEqual(attr->name, reinterpret_cast<const xmlChar *>(step.name.c_str()))) {
                out.push_back(reinterpret_cast<xmlNode *>(attr));
                return;
            }
        return;
    }
    if (const Nodes *children = wideChildren(from, step)) {
        for (xmlNode *child : *children) {
            if (!matches(child, step))
                continue;
            walk(child, steps, index + 1, out, firstOnly);
            if (firstOnly && !out.empty())
                return;
        }
        return;
    }
    for (xmlNode *child = from->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !matches(child, step))
            continue;
        walk(child, steps, index + 1, out, firstOnly);
        if (firstOnly && !out.empty())
            return;
    }
}

bool isSpace(xmlChar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

const CompiledPath &Compile(const char *path)
{
    // Rule paths are string literals: their address is their identity. Each thread keeps
    // its own table, so validations on several threads need no lock.
    thread_local std::unordered_map<const char *, CompiledPath> compiled;
    auto it = compiled.find(path);
    if (it == compiled.end())
        it = compiled.emplace(path, compilePath(path)).first;
    return it->second;
}

Nodes All(xmlNode *from, const char *path)
{
    Nodes out;
    if (from)
        walk(from, Compile(path), 0, out, false);
    return out;
}

xmlNode *First(xmlNode *from, const char *path)
{
    Nodes out;
    if (from) {
        out.reserve(1);
        walk(from, Compile(path), 0, out, true);
    }
    return out.empty() ? nullptr : out.front();
}

namespace {

QString collapse(const xmlChar *content)
{
    // Runs of XML white space become one space, none at either end; on the bytes, as the
    // white space characters are all ASCII.
    std::string collapsed;
    bool pendingSpace = false;
    for (const xmlChar *c = content; *c; ++c) {
        if (isSpace(*c)) {
            pendingSpace = !collapsed.empty();
            continue;
        }
        if (pendingSpace)
            collapsed.push_back(' ');
        pendingSpace = false;
        collapsed.push_back(static_cast<char>(*c));
    }
    return QString::fromStdString(collapsed);
}

// Whether the text needs no collapsing: no white space but single blanks between words.
bool plain(const xmlChar *text)
{
    if (!*text || isSpace(*text))
        return !*text;
    for (const xmlChar *c = text; *c; ++c)
        if ((isSpace(*c) && *c != ' ') || (*c == ' ' && (c[1] == ' ' || c[1] == 0)))
            return false;
    return true;
}

} // namespace

QString Text(const xmlNode *node)
{
    if (!node)
        return {};
    // Most values are one text node of plain text: read in place, without a copy.
    const xmlNode *only = node->children;
    if (only && !only->next && only->type == XML_TEXT_NODE && only->content && plain(only->content))
        return QString::fromUtf8(reinterpret_cast<const char *>(only->content));
    if (!only && node->type == XML_ELEMENT_NODE)
        return {};
    xmlChar *content = xmlNodeGetContent(node);
    if (!content)
        return {};
    QString text = collapse(content);
    xmlFree(content);
    return text;
}

QString RawText(const xmlNode *node)
{
    xmlChar *content = node ? xmlNodeGetContent(node) : nullptr;
    if (!content)
        return {};
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return text;
}

QString Text(xmlNode *from, const char *path)
{
    return Text(First(from, path));
}

bool Filled(xmlNode *from, const char *path)
{
    return !Text(from, path).isEmpty();
}

std::optional<Decimal> Number(xmlNode *from, const char *path)
{
    const xmlNode *node = First(from, path);
    if (!node)
        return std::nullopt;
    return Decimal::fromXml(Text(node)).value;
}

bool AtMostOnce(RuleContext &c, const Nodes &nodes)
{
    for (size_t i = 1; i < nodes.size(); ++i)
        c.fail(nodes[i], {NameOf(nodes[i]), QString::number(nodes.size())});
    return nodes.size() <= 1;
}

bool AtMostOnce(RuleContext &c, const char *path)
{
    return AtMostOnce(c, c.all(path));
}

bool Passes(RuleContext &)
{
    return true;
}

QString NameOf(const xmlNode *node)
{
    if (!node)
        return {};
    QString name = QString::fromUtf8(reinterpret_cast<const char *>(node->name));
    if (node->type == XML_ATTRIBUTE_NODE)
        return QLatin1Char('@') + name;
    if (node->ns && node->ns->prefix)
        return QString::fromUtf8(reinterpret_cast<const char *>(node->ns->prefix)) + QLatin1Char(':') + name;
    return name;
}

QString LocationOf(const xmlNode *node)
{
    // Each step is the element's name as written, with its position among like-named
    // siblings where it has any: "/Invoice/cac:InvoiceLine[3]/cbc:LineExtensionAmount".
    QStringList steps;
    for (; node && (node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE);
         node = node->parent) {
        QString step = NameOf(node);
        if (node->type == XML_ELEMENT_NODE && node->parent && node->parent->type == XML_ELEMENT_NODE) {
            PathStep like;
            like.ns = node->ns ? node->ns->href : nullptr;
            like.name = reinterpret_cast<const char *>(node->name);
            // Positions come from one count per parent and validation: a rule may fail on
            // each of thirty thousand siblings.
            if (wideLevels) {
                if (wideLevels->positioned.insert(node->parent).second)
                    countPositions(node->parent);
                if (wideLevels->groupSize[node] > 1)
                    step += QStringLiteral("[%1]").arg(wideLevels->position[node]);
            } else {
                int count = 0;
                int position = 0;
                for (const xmlNode *sibling = node->parent->children; sibling; sibling = sibling->next) {
                    if (sibling->type == XML_ELEMENT_NODE && matches(sibling, like))
                        ++count;
                    if (sibling == node)
                        position = count;
                }
                if (count > 1)
                    step += QStringLiteral("[%1]").arg(position);
            }
        }
        steps.prepend(step);
    }
    return QLatin1Char('/') + steps.join(QLatin1Char('/'));
}

struct Facts::WideIndex : WideLevels
{
};

Facts::Facts(const XmlDocument &document, xmlNode *root, Syntax syntax, const CodeLists &codes)
    : document(document), root(root), syntax(syntax),
      creditNote(syntax == Ubl && xmlStrEqual(root->name, BAD_CAST "CreditNote")), codes(codes),
      m_scopes(static_cast<size_t>(Scope::Count)), m_wide(std::make_unique<WideIndex>()),
      m_outer(static_cast<WideIndex *>(wideLevels))
{
    m_wide->root = root;
    wideLevels = m_wide.get();
    ++validationRun;
    if (syntax == Cii)
        m_wide->transaction = First(root, "rsm:SupplyChainTradeTransaction");
}

Facts::~Facts()
{
    wideLevels = m_outer;
    ++validationRun;
}

namespace {

// 'true' or '1' marks a charge, 'false' or '0' an allowance; anything else neither.
std::optional<bool> chargeIndicator(xmlNode *node, bool cii)
{
    const QString value = Text(node, cii ? "ram:ChargeIndicator/udt:Indicator" : "cbc:ChargeIndicator");
    if (value == QLatin1String("true") || value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("false") || value == QLatin1String("0"))
        return false;
    return std::nullopt;
}

Nodes allowancesOrCharges(const Nodes &owners, const char *path, bool cii, bool charges)
{
    Nodes out;
    for (xmlNode *owner : owners)
        for (xmlNode *node : All(owner, path))
            if (chargeIndicator(node, cii) == charges)
                out.push_back(node);
    return out;
}

} // namespace

const Nodes &Facts::nodes(Scope scope) const
{
    std::optional<Nodes> &slot = m_scopes[static_cast<size_t>(scope)];
    if (slot)
        return *slot;
    const bool c = cii();
    static const char *const ciiSettlement =
        "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement";
    Nodes found;
    switch (scope) {
    case Scope::Invoice:
        found = {root};
        break;
    case Scope::Line:
        found = c ? All(root, "rsm:SupplyChainTradeTransaction/ram:IncludedSupplyChainTradeLineItem")
                  : All(root, creditNote ? "cac:CreditNoteLine" : "cac:InvoiceLine");
        break;
    case Scope::VatBreakdown:
        found = c ? All(First(root, ciiSettlement), "ram:ApplicableTradeTax")
                  : All(root, "cac:TaxTotal/cac:TaxSubtotal");
        break;
    case Scope::DocAllowance:
    case Scope::DocCharge:
        found = allowancesOrCharges({c ? First(root, ciiSettlement) : root},
                                    c ? "ram:SpecifiedTradeAllowanceCharge" : "cac:AllowanceCharge", c,
                                    scope == Scope::DocCharge);
        break;
    case Scope::LineAllowance:
    case Scope::LineCharge:
        found = allowancesOrCharges(nodes(Scope::Line),
                                    c ? "ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeAllowanceCharge"
                                      : "cac:AllowanceCharge",
                                    c, scope == Scope::LineCharge);
        break;
    case Scope::PaymentMeans:
        found = c ? All(First(root, ciiSettlement), "ram:SpecifiedTradeSettlementPaymentMeans")
                  : All(root, "cac:PaymentMeans");
        break;
    case Scope::Count:
        break;
    }
    std::erase(found, nullptr);
    slot = std::move(found);
    return *slot;
}

} // namespace invorator::validation
