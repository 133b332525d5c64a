#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace invorator {

class SharedState;

// Codes with the name shown for each, in table order.
using CodeNames = std::vector<std::pair<QString, QString>>;

// Everything the program reads from the texts database goes through here: messages,
// document types, languages and the status bar. Texts come in the current language;
// while the database is closed every answer is empty.
class TextsGateway
{
public:
    explicit TextsGateway(const SharedState &state) : m_state(state) {}

    // A numbered message; "Not Entry in Database" for a number without a row.
    QString message(int number) const;
    // The document types (code, name).
    CodeNames documentTypes() const;
    // The language codes, in the table's order.
    QStringList languages() const;
    // Whether the database has texts in this language (any case).
    bool hasLanguage(const QString &code) const;
    // The status bar's texts, one per panel.
    QStringList statusTexts() const;

private:
    const SharedState &m_state;
};

// The text of a numbered message in the current language: empty while the texts
// database is closed, "Not Entry in Database" for a number without a row.
QString GetMeldung(const SharedState &state, int number);

} // namespace invorator
