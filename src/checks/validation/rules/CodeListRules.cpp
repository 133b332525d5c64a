// BR-CL-*, codes from their lists.
#include "checks/validation/RuleContext.h"

namespace invorator::validation {

namespace {

constexpr Rule Rules[] = {
    {nullptr, FindingFlag::Fatal, Ruleset::En16931, Both, Scope::Invoice, nullptr},
};

} // namespace

std::span<const Rule> CodeListRules()
{
    return std::span(Rules).first(0);
}

} // namespace invorator::validation
