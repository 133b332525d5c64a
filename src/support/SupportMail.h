#pragma once

#include "support/SupportConfig.h"

#include <atomic>

namespace invorator {

// Sending by libcurl, apart from the account and the request (SupportConfig.h), so that
// only a program that sends links the mail library.

// Prepares the mail library; called once at program start, before any thread sends.
void InitialiseMail();

// Sends the request by SMTP with implicit TLS, the server's certificate and host name
// verified. Blocks until the server accepted the mail or the sending failed; setting
// `cancel` ends it early.
[[nodiscard]] MailResult SendSupportMail(const SupportConfig &config, const SupportRequest &request,
                                         const std::atomic<bool> *cancel = nullptr);

// The sending as the module libinvorator_mail.so gives it.
struct MailModule
{
    decltype(&SendSupportMail) send;
};

} // namespace invorator
