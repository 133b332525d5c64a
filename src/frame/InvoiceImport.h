#pragma once

#include "import/ImportDriver.h"

#include <memory>

namespace invorator {

// The window's side of an import: runs the driver, asks the user when the file is an
// invoice of another kind (message 50) and reads it again as that kind on Yes, and keeps
// the result of the last import, the invoice on show.
class InvoiceImport
{
public:
    InvoiceImport(SharedState &state, DisplayModel &model, MessageSink &messages);

    const ImportResult &run(const QString &path, InvoiceKind chosen, const QString &exportFolder);
    const ImportResult &shown() const { return m_shown; }
    // Whether an import ran, on the file the path names.
    bool onShow(const QString &path) const;

private:
    SharedState &m_state;
    MessageSink &m_messages;
    ImportDriver m_driver;
    ImportResult m_shown;
    bool m_ran = false;
};

} // namespace invorator
