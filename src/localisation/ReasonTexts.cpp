#include "localisation/ReasonTexts.h"

#include "localisation/TextsGateway.h"

namespace invorator {

QString WriteRefusalText(const SharedState &state, WriteRefusal refusal)
{
    return GetMeldung(state, RefusedTargetText)
        .arg(GetMeldung(state, RefusedFolderText + static_cast<int>(refusal)));
}

} // namespace invorator
