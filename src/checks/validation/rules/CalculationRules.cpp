// BR-CO-*, the calculation rules.
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

constexpr Rule Rules[] = {
    {nullptr, FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice, nullptr},
};

} // namespace

std::span<const Rule> CalculationRules()
{
    return std::span(Rules).first(0);
}

} // namespace invorator::validation
