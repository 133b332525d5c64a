#pragma once

#include "clients/clsMandant.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace invorator {

class MessageSink;
class SharedState;

// The client panel's fields by their index in `txtAdresse` (0 to 10): name, street,
// country, post code, city, language, e-mail, contact, contact e-mail, contact phone,
// remarks. Country and language hold codes.
using ClientFields = std::array<QString, 11>;

struct LoadedClient
{
    ClientFields fields;
    clsMandant client;
};

// Reads the client record into the panel's fields and a client object. Nothing when
// the texts database is closed; message 4 and nothing when the record cannot be read.
std::optional<LoadedClient> LoadClient(const SharedState &state, MessageSink &messages);

// What saving the client asks of the window once the record is written.
struct ClientSaveHooks
{
    std::function<void()> refreshStatusBar;
    std::function<void()> translate;
};

// Stores the panel's fields (trimmed) in the client record, then takes the font and size
// given (blank: "Verdana", 8) into the shared state and the language (`fields[5]`): a
// changed language translates the window at once, which shows the new font too; with the
// language unchanged the font shows from the next translation or start. Message 3 when
// saved, message 2 and nothing more when the record could not be written. The settings
// store is not written here.
bool SaveClient(SharedState &state, const ClientFields &fields, const QString &fontName,
                const QString &fontSize, MessageSink &messages, const ClientSaveHooks &hooks);

} // namespace invorator
