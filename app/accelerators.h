#pragma once
// The main window's accelerator keys. They are taken before a key reaches the game, so
// none of them ever arrives there as a character or a key press.

#include <QKeySequence>
#include <vector>

#include "app/menu.h"

class QWidget;

struct Accelerator {
    QKeySequence keys;
    unsigned id;
};

const std::vector<Accelerator>& AcceleratorTable();

// Installs the table on `window`; a key sends its command while the window is active.
void InstallAccelerators(QWidget* window, const CommandHandler& onCommand);
