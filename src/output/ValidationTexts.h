#pragma once

#include "checks/Validation.h"

#include <QHash>
#include <QString>

namespace invorator {

class SharedState;

// The text with %1, %2, … replaced by the values in one pass; a placeholder without a value
// becomes empty.
QString FillPlaceholders(const QString &text, const QStringList &values);

// The sentences that say what a validation finding means, in the current language, read
// once from the texts database: one per rule, or one per family of rules ("UBL-CR") where
// the rules of a family differ only in the element they name.
class ValidationTexts
{
public:
    static ValidationTexts read(const SharedState &state);

    // The finding's sentence with its values in place of %1, %2, …; without a sentence,
    // the rule's id and its values.
    QString message(const ValidationFinding &finding) const;
    // Whether the rule has a sentence of its own or its family's.
    bool has(const QString &rule) const { return !sentence(rule).isEmpty(); }

private:
    QString sentence(const QString &rule) const;
    QHash<QString, QString> m_sentences;
};

} // namespace invorator
