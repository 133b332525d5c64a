#include "frame/SupportSender.h"

#include "frame/CaptionedField.h"
#include "frame/Controls.h"
#include "frame/SidePanels.h"
#include "localisation/TextsGateway.h"
#include "services/MessageSink.h"
#include "support/SupportRequest.h"

#include <QApplication>
#include <QThread>

namespace invorator {

SupportSender::SupportSender(const SharedState &state, SupportPanel *panel, MessageSink &messages,
                             QObject *parent)
    : QObject(parent), m_state(state), m_panel(panel), m_messages(messages)
{
}

SupportSender::~SupportSender()
{
    if (m_thread) {
        m_thread->disconnect(this);
        m_cancel = true;
        m_thread->wait();
    }
}

void SupportSender::request(const clsMandant &client)
{
    if (m_thread)
        return;
    if (CheckRequiredFields({m_panel->nameField(), m_panel->messageField()}, m_messages))
        return;
    // A missing mail set-up or an unreadable attachment is told before the user confirms.
    const PreparedSupportMail prepared =
        PrepareSupportMail(m_state, client, m_panel->nameField()->text(), m_panel->messageField()->text(),
                           m_panel->attachmentField()->text());
    if (!prepared.config) {
        m_messages.show(
            MakeMessage(0, MsgIcon::Critical, BrellwerkTitle, SupportErrorText + prepared.failure));
        emit finished(false);
        return;
    }
    if (m_messages.show(MakeMessage(31, MsgIcon::Question, ProgramTitle, GetMeldung(m_state, 31))) !=
        MsgAnswer::Yes)
        return;
    // The server may take its time: the window stays alive, the panel waits.
    m_panel->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_cancel = false;
    auto result = std::make_shared<MailResult>();
    m_thread.reset(QThread::create([this, config = *prepared.config, request = prepared.request, result] {
        *result = SendSupportMail(config, request, &m_cancel);
    }));
    QThread *thread = m_thread.get();
    connect(thread, &QThread::finished, this, [this, thread, result] {
        // A report queued before the sending was stopped is no longer wanted.
        if (thread != m_thread.get())
            return;
        // The thread has signalled its end; it is gone once wait returns.
        m_thread->wait();
        m_thread.reset();
        report(*result);
    });
    m_thread->start();
}

void SupportSender::report(const MailResult &result)
{
    QApplication::restoreOverrideCursor();
    m_panel->setEnabled(true);
    if (result)
        m_messages.show(MakeMessage(36, MsgIcon::Information, ProgramTitle, GetMeldung(m_state, 36)));
    else
        m_messages.show(MakeMessage(0, MsgIcon::Critical, BrellwerkTitle,
                                    SupportErrorText + DescribeMailFailure(m_state, result)));
    emit finished(bool(result));
}

void SupportSender::stop()
{
    if (!m_thread)
        return;
    m_thread->disconnect(this);
    m_cancel = true;
    m_thread->wait();
    m_thread.reset();
    QApplication::restoreOverrideCursor();
    m_panel->setEnabled(true);
}

} // namespace invorator
