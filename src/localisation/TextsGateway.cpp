#include "localisation/TextsGateway.h"

#include "services/SharedState.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <optional>

namespace invorator {

namespace {

// A read-only, forward-only query over the texts connection, or nothing while it is closed.
std::optional<QSqlQuery> run(const SharedState &state, const QString &sql, const QVariantList &values = {})
{
    if (!state.TextsDbOpen)
        return std::nullopt;
    QSqlQuery query(state.textsDb());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return std::nullopt;
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        return std::nullopt;
    return query;
}

} // namespace

QString TextsGateway::message(int number) const
{
    auto query = run(m_state, QStringLiteral("Select * from tblMeldungen Where ID=?"), {number});
    if (!query)
        return {};
    if (!query->next())
        return QStringLiteral("Not Entry in Database");
    const int column = query->record().indexOf(m_state.LanguageCode);
    if (column < 0)
        return {};
    return query->value(column).toString();
}

CodeNames TextsGateway::documentTypes() const
{
    CodeNames entries;
    auto query = run(m_state, QStringLiteral("SELECT * FROM tblDokumentenTypen"));
    if (!query)
        return entries;
    const int code = query->record().indexOf(QStringLiteral("Wert"));
    const int name = query->record().indexOf(m_state.LanguageCode);
    if (code < 0 || name < 0)
        return entries;
    while (query->next())
        entries.emplace_back(query->value(code).toString(), query->value(name).toString());
    return entries;
}

QStringList TextsGateway::languages() const
{
    QStringList codes;
    if (auto query = run(m_state, QStringLiteral("SELECT Sprache FROM tblSprache ORDER BY ID")))
        while (query->next())
            codes << query->value(0).toString();
    return codes;
}

bool TextsGateway::hasLanguage(const QString &code) const
{
    auto query = run(
        m_state, QStringLiteral("SELECT count(*) FROM tblSprache WHERE upper(Sprache) = upper(?)"), {code});
    return query && query->next() && query->value(0).toInt() > 0;
}

QStringList TextsGateway::statusTexts() const
{
    QStringList texts;
    auto query = run(m_state, QStringLiteral("Select * from tblStatus"));
    if (!query)
        return texts;
    const int column = query->record().indexOf(m_state.LanguageCode);
    if (column < 0)
        return texts;
    while (query->next())
        texts << query->value(column).toString();
    return texts;
}

QString GetMeldung(const SharedState &state, int number)
{
    return TextsGateway(state).message(number);
}

} // namespace invorator
