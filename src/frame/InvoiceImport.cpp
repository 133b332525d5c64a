#include "frame/InvoiceImport.h"

#include "services/SharedState.h"

#include <QFileInfo>

namespace invorator {

InvoiceImport::InvoiceImport(SharedState &state, DisplayModel &model, MessageSink &messages)
    : m_state(state), m_messages(messages), m_driver(state, model, messages)
{
}

const ImportResult &InvoiceImport::run(const QString &path, InvoiceKind chosen, const QString &exportFolder)
{
    m_driver.setExportFolder(exportFolder);
    ImportResult result = m_driver.ImportInvoice(path, chosen);
    if (result.outcome == ImportOutcome::Refused && result.fits != InvoiceKind::Auto &&
        m_messages.show(KindMismatchQuestion(m_state, result.kind, result.fits)) == MsgAnswer::Yes)
        result = m_driver.ImportInvoice(path, result.fits);
    // The amounts on show are written in the pattern the import chose.
    if (!result.numberFormat.isEmpty())
        m_state.NumberFormat = result.numberFormat;
    m_shown = std::move(result);
    m_ran = true;
    return m_shown;
}

bool InvoiceImport::onShow(const QString &path) const
{
    const auto absolute = [](const QString &p) {
        return p.isEmpty() ? p : QFileInfo(p).absoluteFilePath();
    };
    return m_ran && absolute(path) == absolute(m_shown.path);
}

} // namespace invorator
