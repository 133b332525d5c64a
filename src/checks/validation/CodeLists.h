#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>

namespace invorator::validation {

// The code lists of the code-list rules, read from the validation folder's `codelists/`
// (one TSV per list: list, code) once per process and folder.
class CodeLists
{
public:
    // The lists of a folder; an empty set of lists when the folder has none.
    static const CodeLists &of(const QString &folder);

    // Whether the lists could be read.
    bool loaded() const { return !m_lists.isEmpty(); }
    // Whether `code` is one of the list's codes, compared exactly.
    bool contains(const QString &list, const QString &code) const;

private:
    QHash<QString, QSet<QString>> m_lists;
};

} // namespace invorator::validation
