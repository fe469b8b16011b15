#pragma once
// Qt keys as the virtual-key codes and characters the game's key handlers take.

#include <Qt>
#include <vector>

// The virtual-key code of a key, or 0 for a key the game has no code for. Keypad digits
// (with Num Lock on) are VK_NUMPAD0 to VK_NUMPAD9.
unsigned VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// The character codes a key press types, as WM_CHAR would carry them: none while Ctrl
// or Alt is held, and none for Delete.
std::vector<unsigned> CharactersOf(const QString& text, Qt::KeyboardModifiers modifiers);
