#include "support/SupportRequest.h"

#include "clients/clsMandant.h"
#include "localisation/TextsGateway.h"
#include "services/SharedState.h"

namespace invorator {

namespace {

// A numbered description with its detail; the detail alone while the texts are closed.
QString described(const SharedState &state, int number, const QString &detail)
{
    const QString text = GetMeldung(state, number);
    if (text.isEmpty())
        return detail;
    return text.contains(QLatin1String("%1")) ? text.arg(detail) : text;
}

} // namespace

PreparedSupportMail PrepareSupportMail(const SharedState &state, const clsMandant &client,
                                       const QString &name, const QString &message, const QString &attachment)
{
    PreparedSupportMail prepared;
    SupportConfigProblem problem;
    prepared.config = ReadSupportConfig(state.programFolder(), &problem);
    if (!prepared.config) {
        // The file and the settings alone while the texts are closed.
        const QString why = GetMeldung(state, problem.message);
        const QString detail = !why.contains(QLatin1String("%1"))
                                   ? (problem.path + QLatin1Char(' ') + problem.settings).trimmed()
                               : why.contains(QLatin1String("%2")) ? why.arg(problem.path, problem.settings)
                                                                   : why.arg(problem.path);
        prepared.failure = described(state, 57, detail);
        return prepared;
    }
    if (const MailResult checked = CheckAttachment(attachment); !checked) {
        prepared.config.reset();
        prepared.failure = DescribeMailFailure(state, checked);
        return prepared;
    }
    SupportRequest &r = prepared.request;
    r.name = name;
    r.message = message;
    r.attachmentPath = attachment;
    r.company = client.Unternehmen();
    r.contactEmail = client.KontaktEmail();
    r.replyTo = client.UnternehmenEMail().trimmed();
    r.installation = state.ComputerName;
    if (!r.company.isEmpty())
        r.installation += (r.installation.isEmpty() ? QString() : QStringLiteral(" ")) + QLatin1Char('(') +
                          r.company + QLatin1Char(')');
    return prepared;
}

QString DescribeMailFailure(const SharedState &state, const MailResult &result)
{
    switch (result.problem) {
    case MailResult::Problem::None:
        return {};
    case MailResult::Problem::Attachment:
        return described(state, 58, result.detail);
    case MailResult::Problem::AttachmentTooLarge:
        return described(state, 59, result.detail);
    case MailResult::Problem::Transfer:
        return described(state, 60, result.detail);
    case MailResult::Problem::Cancelled:
        return described(state, 61, {});
    }
    return result.detail;
}

} // namespace invorator
