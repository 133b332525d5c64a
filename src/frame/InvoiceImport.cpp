#include "frame/InvoiceImport.h"

#include "services/SharedState.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace invorator {

InvoiceImport::InvoiceImport(SharedState &state, DisplayModel &model, MessageSink &messages)
    : m_state(state), m_messages(messages), m_driver(state, model, messages)
{
    m_driver.deferValidation(true);
    connect(&m_validation, &QFutureWatcherBase::finished, this, [this] {
        // A validation started for an invoice no longer on show is left unread.
        if (m_validating != m_imports)
            return;
        m_shown.validation = m_validation.result();
        m_shown.validated = true;
        emit validated();
    });
}

InvoiceImport::~InvoiceImport()
{
    // The validation holds its own document; the window need not wait for it.
    m_validation.disconnect(this);
}

void InvoiceImport::validate(ImportResult &result)
{
    if (!result.document)
        return;
    const std::shared_ptr<const XmlDocument> document = std::move(result.document);
    const QString folder = ValidationFolder(m_state.programFolder());
    m_validating = m_imports;
    m_validation.setFuture(QtConcurrent::run(
        [document, folder, sums = result.sumFindings] { return ValidateInvoice(*document, folder, &sums); }));
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
    ++m_imports;
    validate(m_shown);
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
