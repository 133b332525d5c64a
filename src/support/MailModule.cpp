// The entry of the module libinvorator_mail.so, the only symbol it exports: invorator-cli opens the
// module when it sends a support request.
#include "support/SupportMail.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const invorator::MailModule *invorator_mail_module()
{
    static const invorator::MailModule functions{&invorator::SendSupportMail};
    return &functions;
}
