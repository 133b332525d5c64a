#pragma once

#include "services/MessageSink.h"

class QWidget;

namespace invorator {

// Shows messages as modal boxes over a window; questions get Yes and No.
class BoxMessages : public MessageSink
{
public:
    explicit BoxMessages(QWidget *parent) : m_parent(parent) {}
    MsgAnswer show(const Message &message) override;

private:
    QWidget *m_parent;
};

} // namespace invorator
