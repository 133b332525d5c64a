#pragma once

#include "support/SupportMail.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;

namespace invorator {

class MessageSink;
class SharedState;
class SupportPanel;
class clsMandant;

// The support panel's request: checks the required fields, asks before sending, then
// mails the request on a thread of its own, so that the window stays usable while the
// server takes its time, and reports the outcome on the window's thread.
class SupportSender : public QObject
{
    Q_OBJECT
public:
    SupportSender(const SharedState &state, SupportPanel *panel, MessageSink &messages, QObject *parent);
    ~SupportSender() override;

    bool busy() const { return m_thread != nullptr; }
    // Sends the panel's request for the client; ignored while another one is on its way.
    void request(const clsMandant &client);
    // Ends a sending on its way without a report; waits until its thread has ended.
    void stop();

signals:
    // A request ended: sent, or failed and reported.
    void finished(bool sent);

private:
    void report(const MailResult &result);

    const SharedState &m_state;
    SupportPanel *m_panel;
    MessageSink &m_messages;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
};

} // namespace invorator
