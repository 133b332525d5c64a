#include "localisation/Messages.h"

#include "services/SharedState.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace invorator {

QString GetMeldung(const SharedState &state, int number)
{
    if (!state.TextsDbOpen)
        return {};
    QSqlQuery query(state.textsDb());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("Select * from tblMeldungen Where ID=") + QString::number(number)))
        return {};
    if (!query.next())
        return QStringLiteral("Not Entry in Database");
    const int column = query.record().indexOf(state.LanguageCode);
    if (column < 0)
        return {};
    return query.value(column).toString();
}

Field::Entries LoadDocumentTypes(const SharedState &state)
{
    Field::Entries entries;
    if (!state.TextsDbOpen)
        return entries;
    QSqlQuery query(state.textsDb());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM tblDokumentenTypen")))
        return entries;
    const int code = query.record().indexOf(QStringLiteral("Wert"));
    const int name = query.record().indexOf(state.LanguageCode);
    if (code < 0 || name < 0)
        return entries;
    while (query.next())
        entries.emplace_back(query.value(code).toString(), query.value(name).toString());
    return entries;
}

} // namespace invorator
