#include "frame/CommandBar.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace invorator {

CommandBar::CommandBar(const std::vector<Command> &commands, QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("cBar"));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const Command &command : commands) {
        QAction *action = addAction(style()->standardIcon(command.icon), QString::fromUtf8(command.caption));
        const QString key = QString::fromLatin1(command.key);
        action->setObjectName(key);
        if (QWidget *button = widgetForAction(action))
            button->setObjectName(key);
        connect(action, &QAction::triggered, this, command.run);
        if (!command.shortcut.isEmpty())
            action->setShortcut(command.shortcut);
        if (!command.menu.empty()) {
            auto *menu = new QMenu(this);
            for (const Entry &entry : command.menu) {
                QAction *item = menu->addAction(QString::fromUtf8(entry.caption));
                item->setObjectName(QString::fromLatin1(entry.key));
                connect(item, &QAction::triggered, this, entry.run);
            }
            action->setMenu(menu);
            if (auto *button = qobject_cast<QToolButton *>(widgetForAction(action)))
                button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (command.separatorAfter)
            addSeparator();
    }
}

QAction *CommandBar::action(const char *key) const
{
    return findChild<QAction *>(QString::fromLatin1(key), Qt::FindDirectChildrenOnly);
}

} // namespace invorator
