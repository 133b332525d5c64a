#pragma once

#include <QSqlDatabase>
#include <QString>

namespace invorator {

// Outcome of a database operation: converts to bool; on failure carries the driver's text.
struct DbResult
{
    bool ok = false;
    QString message;
    explicit operator bool() const { return ok; }
};

// Opens an existing SQLite file under a connection name of its own. A missing file or
// one that is not a database fails instead of being created empty.
[[nodiscard]] DbResult OpenDatabase(const QString &connectionName, const QString &path);
// Closes and forgets the named connection, if there is one.
void CloseDatabase(const QString &connectionName);
// A connection name starting with `purpose` that no open connection uses yet.
QString UniqueConnectionName(const QString &purpose);

} // namespace invorator
