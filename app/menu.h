#pragma once
// The main menu: popups, items, command ids and check marks.

#include <QString>
#include <functional>

#include "platform/window_services.h"

class QAction;
class QMenuBar;

using CommandHandler = std::function<void(unsigned id)>;
// Lets the owner of a command set its item's check mark; the menu asks each time it opens.
using CommandUiHandler = std::function<void(unsigned id, CmdUI* ui)>;

// Fills `bar` with the game's menu. Choosing an item calls `onCommand` with its id.
void BuildMainMenu(QMenuBar* bar, const CommandHandler& onCommand,
                   const CommandUiHandler& onUpdateUi);

// The command id an action of the menu sends; 0 for a separator.
unsigned CommandIdOf(const QAction* action);
// The item that sends `id`, or null.
QAction* FindCommand(const QMenuBar* bar, unsigned id);

// One line per menu-bar entry and item, with ids, check marks and where each bar entry
// is on the screen; for tests of the real program.
QString DescribeMenuBar(const QMenuBar* bar);

// A menu item's check mark. Items only show a box while they are checked, as the old
// menus did: an unchecked item looks like any other.
class ActionCmdUI : public CmdUI {
public:
    explicit ActionCmdUI(QAction* action) : action_(action) {}
    void SetCheck(int check) override;

private:
    QAction* action_;
};
