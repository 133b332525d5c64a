#include "localisation/ReasonTexts.h"

#include "localisation/TextsGateway.h"
#include "services/SharedState.h"

namespace invorator {

QString WriteRefusalText(const SharedState &state, WriteRefusal refusal)
{
    return GetMeldung(state, RefusedTargetText)
        .arg(GetMeldung(state, RefusedFolderText + static_cast<int>(refusal)));
}

QString DbResultText(const SharedState &state, const DbResult &result)
{
    if (result.problem == DbProblem::Driver || !state.TextsDbOpen)
        return result.message;
    const QString text = GetMeldung(state, DbFileMissingText + static_cast<int>(result.problem) - 1);
    // Not every reason names its subject ("could not be opened" has none).
    return text.contains(QLatin1String("%1")) ? text.arg(result.subject) : text;
}

} // namespace invorator
