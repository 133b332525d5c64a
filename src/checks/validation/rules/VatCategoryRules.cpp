// the rules of each VAT category (BR-S, BR-Z, BR-E, BR-AE, BR-IC, BR-G, BR-O, BR-AF, BR-AG, BR-B).
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

constexpr Rule Rules[] = {
    {nullptr, FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice, nullptr},
};

} // namespace

std::span<const Rule> VatCategoryRules()
{
    return std::span(Rules).first(0);
}

} // namespace invorator::validation
