#pragma once

#include <QKeySequence>
#include <QStyle>
#include <QToolBar>

#include <functional>
#include <vector>

class QAction;

namespace invorator {

// The window's command bar (`cBar`): one button per command, each under its key, with
// its designed caption and icon; a command may carry a menu of entries of its own.
class CommandBar : public QToolBar
{
    Q_OBJECT
public:
    struct Entry
    {
        const char *key;
        const char *caption;
        std::function<void()> run;
    };
    struct Command
    {
        const char *key;
        const char *caption;
        QStyle::StandardPixmap icon;
        std::function<void()> run;
        QKeySequence shortcut = {};
        bool separatorAfter = false;
        std::vector<Entry> menu = {};
    };

    CommandBar(const std::vector<Command> &commands, QWidget *parent);

    // The command's action (its button follows it), or none for an unknown key.
    QAction *action(const char *key) const;
};

} // namespace invorator
