#pragma once

#include <QString>

#include <optional>

namespace invorator {

// The mail account support requests go through. It is set where the program is
// deployed: DB/Support.ini of the program folder, or the file INVORATOR_SUPPORT_CONFIG
// names, section [Support]. The password is never shown, printed or logged.
struct SupportConfig
{
    QString server;
    int port = 465;
    QString user;
    QString password;
    QString from;
    QString to;
    QString caFile;          // certificates to trust instead of the system's store
    int timeoutSeconds = 60; // for the connection
};

// Why the account cannot be used, as the number of a message of the texts database (120
// the file is missing, 121 it cannot be read, 122 settings are empty or wrong) with the
// file as %1 and the settings as %2, so that the user reads it in the window's language.
struct SupportConfigProblem
{
    int message = 0;
    QString path;
    QString settings;
};

// Reads the account; nothing, with the reason in `problem`, when the file is missing or
// a setting it needs is empty.
std::optional<SupportConfig> ReadSupportConfig(const QString &programFolder, SupportConfigProblem *problem);

// One support request as it is mailed.
struct SupportRequest
{
    QString name;
    QString message;
    QString attachmentPath; // empty: no attachment
    QString company;
    QString contactEmail;
    QString replyTo;      // the client's e-mail address, where support answers; empty: none
    QString installation; // who sends, for the subject
};

// Mails larger than this are refused by common servers after a long upload.
inline constexpr qint64 MaxAttachmentBytes = 20 * 1024 * 1024;

struct MailResult
{
    enum class Problem { None, Attachment, AttachmentTooLarge, Transfer, Cancelled };
    Problem problem = Problem::None;
    QString detail; // the path, or the mail library's description
    explicit operator bool() const { return problem == Problem::None; }
};

// Whether the attachment can be sent: a readable regular file of at most 20 MB.
[[nodiscard]] MailResult CheckAttachment(const QString &path);

// The body: the name, an empty line, the company, the contact e-mail, the message;
// CR LF between the lines and nothing after the message.
QString SupportBody(const SupportRequest &request);

} // namespace invorator
