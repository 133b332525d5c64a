#pragma once

#include "support/SupportConfig.h"

#include <QString>

#include <optional>

namespace invorator {

class SharedState;
class clsMandant;

// The start of the text of the box that reports a failed sending (titled "Brellwerk").
inline const QString SupportErrorText = QStringLiteral("Fehler beim Senden der Nachricht: ");

// A support request ready to be sent, or why it cannot be: found out before any connection.
struct PreparedSupportMail
{
    std::optional<SupportConfig> config;
    SupportRequest request;
    QString failure; // the description for the error box when there is nothing to send
};

// Reads the account, checks the attachment and fills the mail from the client record as
// loaded at start-up. The installation is named by its host and the client's company.
PreparedSupportMail PrepareSupportMail(const SharedState &state, const clsMandant &client,
                                       const QString &name, const QString &message,
                                       const QString &attachment);

// The description of a failed sending, in the current language.
QString DescribeMailFailure(const SharedState &state, const MailResult &result);

} // namespace invorator
