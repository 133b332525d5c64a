#include "frame/BoxMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace invorator {

MsgAnswer BoxMessages::show(const Message &message)
{
    const QMessageBox::Icon icon = message.icon == MsgIcon::Critical      ? QMessageBox::Critical
                                   : message.icon == MsgIcon::Exclamation ? QMessageBox::Warning
                                   : message.icon == MsgIcon::Question    ? QMessageBox::Question
                                   : message.icon == MsgIcon::None        ? QMessageBox::NoIcon
                                                                          : QMessageBox::Information;
    QMessageBox box(icon, message.title, message.text,
                    message.icon == MsgIcon::Question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    m_parent);
    // A box shown during an import must not keep the hourglass.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    if (message.icon != MsgIcon::Question)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

} // namespace invorator
