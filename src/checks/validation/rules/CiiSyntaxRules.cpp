// CII-SR-* and CII-DT-*, the CII binding's own rules.
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

constexpr Rule Rules[] = {
    {nullptr, FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice, nullptr},
};

} // namespace

std::span<const Rule> CiiSyntaxRules()
{
    return std::span(Rules).first(0);
}

} // namespace invorator::validation
