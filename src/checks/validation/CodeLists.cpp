#include "checks/validation/CodeLists.h"

#include <QDir>
#include <QFile>

#include <map>
#include <mutex>

namespace invorator::validation {

const CodeLists &CodeLists::of(const QString &folder)
{
    static std::mutex lock;
    static std::map<QString, std::unique_ptr<CodeLists>> byFolder;
    std::lock_guard guard(lock);
    std::unique_ptr<CodeLists> &lists = byFolder[folder];
    if (!lists) {
        lists = std::make_unique<CodeLists>();
        const QDir dir(folder + QStringLiteral("/codelists"));
        for (const QString &name : dir.entryList({QStringLiteral("*.tsv")}, QDir::Files)) {
            if (name == QLatin1String("index.tsv"))
                continue;
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            QSet<QString> &codes = lists->m_lists[name.chopped(4)];
            file.readLine(); // the header
            while (!file.atEnd()) {
                const QString row =
                    QString::fromUtf8(file.readLine()).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
                const qsizetype tab = row.indexOf(QLatin1Char('\t'));
                if (tab >= 0)
                    codes.insert(row.mid(tab + 1));
            }
        }
    }
    return *lists;
}

bool CodeLists::contains(const QString &list, const QString &code) const
{
    const auto it = m_lists.constFind(list);
    return it != m_lists.constEnd() && it->contains(code);
}

} // namespace invorator::validation
