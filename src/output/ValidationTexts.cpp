#include "output/ValidationTexts.h"

#include "localisation/TextsGateway.h"

namespace invorator {

ValidationTexts ValidationTexts::read(const SharedState &state)
{
    ValidationTexts texts;
    for (const auto &[rule, sentence] : TextsGateway(state).checkRules())
        texts.m_sentences.insert(rule, sentence);
    return texts;
}

QString ValidationTexts::sentence(const QString &rule) const
{
    if (auto it = m_sentences.constFind(rule); it != m_sentences.constEnd())
        return *it;
    // "UBL-CR-123" falls back to "UBL-CR": the family's sentence names the element.
    const qsizetype dash = rule.lastIndexOf(QLatin1Char('-'));
    return dash > 0 ? m_sentences.value(rule.left(dash)) : QString();
}

QString FillPlaceholders(const QString &text, const QStringList &values)
{
    // One pass, so that a value that itself holds "%2" stays as written.
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 1 < text.size() && text[i + 1].isDigit()) {
            const int index = text[i + 1].digitValue() - 1;
            out += index >= 0 && index < values.size() ? values[index] : QString();
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString ValidationTexts::message(const ValidationFinding &finding) const
{
    QString text = sentence(finding.rule);
    if (text.isEmpty())
        return (QStringList{finding.rule} + finding.values).join(QLatin1Char(' '));
    return FillPlaceholders(text, finding.values);
}

} // namespace invorator
