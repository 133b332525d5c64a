#pragma once

#include "import/ImportDriver.h"

#include <QFutureWatcher>
#include <QObject>

#include <memory>

namespace invorator {

// The window's side of an import: runs the driver, asks the user when the file is an
// invoice of another kind (message 50) and reads it again as that kind on Yes, and keeps
// the result of the last import, the invoice on show. The invoice is validated beside the
// user interface, so that the window is free once the invoice is read; `validated` says
// when the result holds the validation.
class InvoiceImport : public QObject
{
    Q_OBJECT
public:
    InvoiceImport(SharedState &state, DisplayModel &model, MessageSink &messages);
    ~InvoiceImport() override;

    const ImportResult &run(const QString &path, InvoiceKind chosen, const QString &exportFolder);
    const ImportResult &shown() const { return m_shown; }
    // Whether an import ran, on the file the path names.
    bool onShow(const QString &path) const;

signals:
    void validated();

private:
    void validate(ImportResult &result);

    SharedState &m_state;
    MessageSink &m_messages;
    ImportDriver m_driver;
    ImportResult m_shown;
    bool m_ran = false;
    QFutureWatcher<ValidationReport> m_validation;
    int m_imports = 0;    // imports run so far
    int m_validating = 0; // the import whose validation runs
};

} // namespace invorator
