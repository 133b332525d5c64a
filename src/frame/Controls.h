#pragma once

#include <QList>

class QWidget;

namespace invorator {

class MessageSink;

// Enables or disables every control of the list.
void LockControls(const QList<QWidget *> &controls, bool lock);

// Marks every empty field (and empty label) of the list in the warning colour, gives the
// first of them the focus and says how many are missing; true when at least one is empty.
bool CheckRequiredFields(const QList<QWidget *> &controls, MessageSink &messages);

} // namespace invorator
