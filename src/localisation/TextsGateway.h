#pragma once

#include "localisation/FormTexts.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace invorator {

class SharedState;

// Codes with the name shown for each, in table order.
using CodeNames = std::vector<std::pair<QString, QString>>;

// Everything the program reads from the texts database goes through here: messages,
// document types, languages, the status bar and what the check's rules mean. Texts come
// in the current language; while the database is closed every answer is empty.
class TextsGateway
{
public:
    explicit TextsGateway(const SharedState &state) : m_state(state) {}

    // A numbered message; "Not Entry in Database" for a number without a row.
    QString message(int number) const;
    // The document types (code, name).
    CodeNames documentTypes() const;
    // The VAT categories (code, name).
    CodeNames vatCategories() const;
    // The payment means (code, name).
    CodeNames paymentMeans() const;
    // The subject codes of notes (code, name).
    CodeNames subjectCodes() const;
    // What each rule of the check of sums means (rule, sentence with %1 for where it
    // failed, %2 for the amount expected and %3 for the amount found).
    CodeNames checkRules() const;
    // The language codes, in the table's order.
    QStringList languages() const;
    // Whether the database has texts in this language (any case).
    bool hasLanguage(const QString &code) const;
    // The status bar's texts, one per panel.
    QStringList statusTexts() const;

    // The translation rows of a window in a language.
    FormTexts formTexts(const QString &form, const QString &code) const;
    // Stores a list view's column widths in the rows it has, or, when it has none, one
    // row per column with the German header. All rows or none.
    bool saveListViewLayout(const QString &form, const QString &listView, const QStringList &headers,
                            const std::vector<int> &widths) const;

    // The client record: the first row of the address table, its eleven fields in the
    // order Name1, Strasse, Land, PLZ, Ort, Sprache, EMail, Ansprechpartner, AnspEmail,
    // AnspTelefon, Bemerkungen (Null as a null text). Nothing when there is no row.
    using ClientRow = std::array<QString, 11>;
    std::optional<ClientRow> clientRow() const;
    // Writes those fields into the first row; false when there is none or the write failed.
    bool saveClientRow(const ClientRow &row) const;

private:
    const SharedState &m_state;
};

// The text of a numbered message in the current language: empty while the texts
// database is closed, "Not Entry in Database" for a number without a row.
QString GetMeldung(const SharedState &state, int number);

} // namespace invorator
