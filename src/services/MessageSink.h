#pragma once

#include <QString>

#include <vector>

namespace invorator {

enum class MsgIcon { Critical, Exclamation, Information, Question, None };
enum class MsgAnswer { Ok, Yes, No };

// A numbered message for the user. Questions carry the answer they got.
struct Message
{
    int number = 0;
    MsgIcon icon = MsgIcon::Information;
    QString title;
    QString text;
    MsgAnswer answer = MsgAnswer::Ok;
};

QString iconName(MsgIcon icon);

// The two titles a message box carries.
inline const QString ProgramTitle = QStringLiteral("Tarvo Invorator");
inline const QString BrellwerkTitle = QStringLiteral("Brellwerk");

inline Message MakeMessage(int number, MsgIcon icon, const QString &title, const QString &text)
{
    Message m;
    m.number = number;
    m.icon = icon;
    m.title = title;
    m.text = text;
    return m;
}

// Where the core sends messages: the window shows boxes, the command line prints lines.
// A question (icon Question) is answered Yes or No by the sink.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual MsgAnswer show(const Message &message) = 0;
};

// Keeps every message and answers each question with a fixed answer.
class RecordingSink : public MessageSink
{
public:
    explicit RecordingSink(MsgAnswer answerToQuestions = MsgAnswer::No) : m_answer(answerToQuestions) {}
    MsgAnswer show(const Message &message) override
    {
        Message m = message;
        m.answer = m.icon == MsgIcon::Question ? m_answer : MsgAnswer::Ok;
        m_messages.push_back(m);
        return m.answer;
    }
    const std::vector<Message> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }
    void answerQuestionsWith(MsgAnswer answer) { m_answer = answer; }

private:
    MsgAnswer m_answer;
    std::vector<Message> m_messages;
};

} // namespace invorator
