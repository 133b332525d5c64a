#include "clients/ClientRecord.h"

#include "localisation/TextsGateway.h"
#include "model/Conversions.h"
#include "services/MessageSink.h"
#include "services/SharedState.h"

namespace invorator {

namespace {

QString nz(const QString &value, const QString &fallback = {})
{
    return NzFormat(value.isNull() ? std::nullopt : std::optional<QString>(value), fallback);
}

void say(const SharedState &state, MessageSink &messages, int number, MsgIcon icon)
{
    messages.show(MakeMessage(number, icon, BrellwerkTitle, GetMeldung(state, number)));
}

} // namespace

std::optional<LoadedClient> LoadClient(const SharedState &state, MessageSink &messages)
{
    if (!state.TextsDbOpen)
        return std::nullopt;
    const auto row = TextsGateway(state).clientRow();
    if (!row) {
        say(state, messages, 4, MsgIcon::Exclamation);
        return std::nullopt;
    }
    LoadedClient loaded;
    for (std::size_t i = 0; i < row->size(); ++i)
        loaded.fields[i] = nz((*row)[i]);
    const ClientFields &f = loaded.fields;
    clsMandant &c = loaded.client;
    c.setUnternehmen(f[0]);
    c.setStrasse(f[1]);
    c.setLand(f[2]);
    c.setPLZ(f[3]);
    c.setOrt(f[4]);
    c.setSprache(f[5]);
    c.setUnternehmenEMail(f[6]);
    c.setKontaktName(f[7]);
    c.setKontaktEmail(f[8]);
    c.setKontaktTelefon(f[9]);
    return loaded;
}

bool SaveClient(SharedState &state, const ClientFields &fields, const QString &fontName,
                const QString &fontSize, MessageSink &messages, const ClientSaveHooks &hooks)
{
    if (!state.TextsDbOpen)
        return false;
    TextsGateway::ClientRow row;
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = nz(fields[i]);
    if (!TextsGateway(state).saveClientRow(row)) {
        say(state, messages, 2, MsgIcon::Exclamation);
        return false;
    }
    state.FontName = nz(fontName, QStringLiteral("Verdana"));
    state.FontSize = nz(fontSize, QStringLiteral("8"));
    if (hooks.refreshStatusBar)
        hooks.refreshStatusBar();
    // A language is a code of the texts database; an empty picker changes nothing.
    if (!row[5].isEmpty() && row[5] != state.LanguageCode) {
        state.LanguageCode = row[5];
        if (hooks.translate)
            hooks.translate();
    }
    say(state, messages, 3, MsgIcon::Information);
    return true;
}

} // namespace invorator
