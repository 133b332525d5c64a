#include "localisation/TextsGateway.h"

#include "services/SharedState.h"

#include <QSqlError>
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

StoredText stored(const QSqlQuery &query, int column)
{
    StoredText t;
    if (column < 0)
        return t;
    const QVariant v = query.value(column);
    t.exists = true;
    t.null = v.isNull();
    t.value = v.toString();
    return t;
}

// The rows of one translation table for a window, each with its texts in a language.
template <typename Take>
void readRows(const SharedState &state, const QString &sql, const QString &form, const QString &code,
              Take take)
{
    auto query = run(state, sql, {form});
    if (!query)
        return;
    const QSqlRecord record = query->record();
    const int text = record.indexOf(code);
    const int tip = record.indexOf(QStringLiteral("ToolTipText") + code);
    const int title = record.indexOf(QStringLiteral("ToolTipTitel") + code);
    const int width = record.indexOf(QStringLiteral("Width"));
    while (query->next()) {
        TextRow row;
        row.key = query->value(0).toString();
        row.index = query->value(1).toInt();
        row.text = stored(*query, text);
        row.toolTip = stored(*query, tip);
        row.toolTipTitle = stored(*query, title);
        row.width = stored(*query, width);
        take(std::move(row));
    }
}

const char *const clientFields[] = {"Name1",     "Strasse",     "Land",       "PLZ",
                                    "Ort",       "Sprache",     "EMail",      "Ansprechpartner",
                                    "AnspEmail", "AnspTelefon", "Bemerkungen"};

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

namespace {

// Code and name of each row of a code table, the name in the current language.
CodeNames codeNames(const SharedState &state, const QString &table)
{
    CodeNames entries;
    auto query = run(state, QStringLiteral("SELECT * FROM ") + table);
    if (!query)
        return entries;
    const int code = query->record().indexOf(QStringLiteral("Wert"));
    const int name = query->record().indexOf(state.LanguageCode);
    if (code < 0 || name < 0)
        return entries;
    while (query->next())
        entries.emplace_back(query->value(code).toString(), query->value(name).toString());
    return entries;
}

} // namespace

CodeNames TextsGateway::documentTypes() const
{
    return codeNames(m_state, QStringLiteral("tblDokumentenTypen"));
}

CodeNames TextsGateway::vatCategories() const
{
    return codeNames(m_state, QStringLiteral("tblSteuerkategorien"));
}

CodeNames TextsGateway::paymentMeans() const
{
    return codeNames(m_state, QStringLiteral("tblZahlungsarten"));
}

CodeNames TextsGateway::subjectCodes() const
{
    return codeNames(m_state, QStringLiteral("tblBetreffcodes"));
}

CodeNames TextsGateway::checkRules() const
{
    return codeNames(m_state, QStringLiteral("tblPruefregeln"));
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

FormTexts TextsGateway::formTexts(const QString &form, const QString &code) const
{
    FormTexts texts;
    texts.m_german = code.compare(QLatin1String("DE"), Qt::CaseInsensitive) == 0;
    // German captions are the window's own; of the German rows only the tool tips are taken.
    const auto own = [&texts](TextRow row) {
        if (texts.m_german)
            row.text = StoredText();
        return row;
    };
    readRows(m_state,
             QStringLiteral("SELECT Feldname, 0, * FROM tblLabelUebersetzung WHERE FormularName = ?"), form,
             code, [&](TextRow row) {
                 const QString key = row.key.toLower();
                 texts.m_labels.insert(key, own(std::move(row)));
             });
    readRows(m_state,
             QStringLiteral("SELECT Feldname, POS, * FROM tblLabelUebersetzungBar WHERE FormularName = ? "
                            "ORDER BY POS"),
             form, code, [&](TextRow row) { texts.m_bar.push_back(own(std::move(row))); });
    readRows(m_state,
             QStringLiteral("SELECT SSTab, TabIndex, * FROM tblLabelUebersetzungSSTab WHERE FormularName = ? "
                            "ORDER BY SSTab, TabIndex"),
             form, code, [&](TextRow row) {
                 const QString key = row.key.toLower();
                 texts.m_tabs[key].push_back(own(std::move(row)));
             });
    readRows(
        m_state,
        QStringLiteral("SELECT ListView, Index1, * FROM tblLabelUebersetzungListView WHERE FormularName = ? "
                       "ORDER BY ListView, Index1"),
        form, code, [&](TextRow row) { texts.m_columns[row.key.toLower()].push_back(std::move(row)); });
    return texts;
}

bool TextsGateway::saveListViewLayout(const QString &form, const QString &listView,
                                      const QStringList &headers, const std::vector<int> &widths) const
{
    if (!m_state.TextsDbOpen)
        return false;
    QSqlDatabase db = m_state.textsDb();
    std::vector<qlonglong> ids;
    {
        auto rows =
            run(m_state,
                QStringLiteral("SELECT ID FROM tblLabelUebersetzungListView WHERE FormularName = ? AND "
                               "ListView = ? ORDER BY Index1"),
                {form, listView});
        if (!rows)
            return false;
        while (rows->next())
            ids.push_back(rows->value(0).toLongLong());
    }
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    bool ok = true;
    if (!ids.empty()) {
        // The rows in order take the columns' widths in order.
        ok = query.prepare(QStringLiteral("UPDATE tblLabelUebersetzungListView SET Width = ? WHERE ID = ?"));
        for (std::size_t i = 0; ok && i < ids.size() && i < widths.size(); ++i) {
            query.addBindValue(QString::number(widths[i]));
            query.addBindValue(ids[i]);
            ok = query.exec();
        }
    } else {
        ok = query.prepare(
            QStringLiteral("INSERT INTO tblLabelUebersetzungListView "
                           "(Formularname, ListView, Index1, de, Width) VALUES (?, ?, ?, ?, ?)"));
        for (std::size_t i = 0; ok && i < widths.size(); ++i) {
            query.addBindValue(form);
            query.addBindValue(listView);
            query.addBindValue(static_cast<int>(i) + 1);
            query.addBindValue(headers.value(static_cast<qsizetype>(i)));
            query.addBindValue(QString::number(widths[i]));
            ok = query.exec();
        }
    }
    query.finish();
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

std::optional<TextsGateway::ClientRow> TextsGateway::clientRow() const
{
    auto query = run(m_state, QStringLiteral("SELECT * FROM tblAdressen ORDER BY ID LIMIT 1"));
    if (!query || !query->next())
        return std::nullopt;
    ClientRow row;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const QVariant v = query->value(QString::fromLatin1(clientFields[i]));
        if (!v.isNull())
            row[i] = v.toString();
    }
    return row;
}

bool TextsGateway::saveClientRow(const ClientRow &row) const
{
    if (!m_state.TextsDbOpen)
        return false;
    QStringList assignments;
    for (const char *field : clientFields)
        assignments << QString::fromLatin1(field) + QStringLiteral(" = ?");
    // The client is the first row; the table gains no rows here.
    QSqlQuery query(m_state.textsDb());
    if (!query.prepare(QStringLiteral("UPDATE tblAdressen SET ") + assignments.join(QStringLiteral(", ")) +
                       QStringLiteral(" WHERE ID = (SELECT min(ID) FROM tblAdressen)")))
        return false;
    // An empty field is stored as the empty text, not as Null.
    for (const QString &value : row)
        query.addBindValue(value.isNull() ? QStringLiteral("") : value);
    return query.exec() && query.numRowsAffected() == 1;
}

QString GetMeldung(const SharedState &state, int number)
{
    return TextsGateway(state).message(number);
}

} // namespace invorator
