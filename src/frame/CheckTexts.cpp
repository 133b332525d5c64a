#include "frame/CheckTexts.h"

#include "localisation/TextsGateway.h"
#include "model/Conversions.h"

#include <QStringList>

#include <algorithm>

namespace invorator {

namespace {

QString amount(const QString &text, const QString &pattern)
{
    return FormatExactAmount(text, pattern).value_or(text).trimmed();
}

} // namespace

CheckTexts CheckTexts::read(const SharedState &state)
{
    const TextsGateway gateway(state);
    CheckTexts texts;
    for (const auto &[rule, sentence] : gateway.checkRules())
        texts.sentences.insert(rule, sentence);
    texts.fatal = gateway.message(68);
    texts.warning = gateway.message(69);
    texts.allAgree = gateway.message(62);
    texts.fatalCount = gateway.message(63);
    texts.warningCount = gateway.message(70);
    texts.information = gateway.message(71);
    texts.valid = gateway.message(72);
    texts.invalid = gateway.message(73);
    texts.validNotes = gateway.message(74);
    texts.line = gateway.message(75);
    texts.validating = gateway.message(76);
    texts.validation = ValidationTexts::read(state);
    return texts;
}

FindingRow DescribeFinding(const CheckTexts &texts, const SumFinding &finding, const QString &pattern)
{
    FindingRow row;
    row.flag = finding.flag == FindingFlag::Fatal ? texts.fatal : texts.warning;
    // The text of an amount that is no number (rule NUMBER) is shown as written.
    row.where = finding.where;
    row.expected = amount(finding.expected, pattern);
    row.found = amount(finding.found, pattern);
    row.sentence =
        FillPlaceholders(texts.sentences.value(finding.rule), {finding.where, row.expected, row.found});
    return row;
}

QString SumsToolTip(const CheckTexts &texts, const std::vector<SumFinding> &findings)
{
    const auto warnings = std::count_if(findings.begin(), findings.end(),
                                        [](const SumFinding &f) { return f.flag == FindingFlag::Warning; });
    const auto fatal = static_cast<qsizetype>(findings.size()) - warnings;
    QStringList parts;
    if (fatal > 0)
        parts << texts.fatalCount.arg(fatal);
    if (warnings > 0)
        parts << texts.warningCount.arg(warnings);
    return parts.isEmpty() ? texts.allAgree : parts.join(QLatin1Char(' '));
}

FindingRow DescribeFinding(const CheckTexts &texts, const ValidationFinding &finding)
{
    FindingRow row;
    row.flag = finding.flag == FindingFlag::Fatal     ? texts.fatal
               : finding.flag == FindingFlag::Warning ? texts.warning
                                                      : texts.information;
    row.where = finding.line > 0 ? texts.line.arg(finding.line) : QString();
    row.sentence = texts.validation.message(finding);
    return row;
}

int BrokenRules(const ValidationReport &report)
{
    QStringList rules;
    for (const ValidationFinding &f : report.findings)
        if (f.flag == FindingFlag::Fatal && !rules.contains(f.rule))
            rules << f.rule;
    return static_cast<int>(rules.size());
}

QString ValidityText(const CheckTexts &texts, const ValidationReport &report)
{
    if (!report.valid())
        return texts.invalid.arg(BrokenRules(report));
    const auto notes =
        std::count_if(report.findings.begin(), report.findings.end(),
                      [](const ValidationFinding &f) { return f.flag == FindingFlag::Warning; });
    return notes > 0 ? texts.validNotes.arg(notes) : texts.valid;
}

} // namespace invorator
