#pragma once

#include <QString>

namespace invorator {

// How much a finding weighs: a fatal one means the invoice breaks a rule it must keep (its
// sums are wrong, it is no valid e-invoice); a warning points at something a bookkeeper
// should look at, such as a line whose net amount does not follow from its written price;
// an information explains other findings.
enum class FindingFlag { Fatal, Warning, Information };

// "fatal", "warning" or "information".
inline QString FlagName(FindingFlag flag)
{
    switch (flag) {
    case FindingFlag::Fatal:
        return QStringLiteral("fatal");
    case FindingFlag::Warning:
        return QStringLiteral("warning");
    case FindingFlag::Information:
        break;
    }
    return QStringLiteral("information");
}

} // namespace invorator
