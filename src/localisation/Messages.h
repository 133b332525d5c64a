#pragma once

#include "model/DisplayModel.h"

#include <QString>

namespace invorator {

class SharedState;

// The text of a numbered message in the current language: empty while the texts
// database is closed, "Not Entry in Database" for a number without a row.
QString GetMeldung(const SharedState &state, int number);

// The document types (code, name in the current language) in table order.
Field::Entries LoadDocumentTypes(const SharedState &state);

} // namespace invorator
