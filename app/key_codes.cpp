#include "app/key_codes.h"

#include <QList>
#include <QString>
#include <utility>

namespace {

constexpr unsigned VK_NUMPAD0 = 0x60;
constexpr unsigned VK_F1 = 0x70;

constexpr std::pair<int, unsigned> kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},        {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},      {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},       {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},    {Qt::Key_Space, 0x20},      {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},         {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},      {Qt::Key_Insert, 0x2D},     {Qt::Key_Delete, 0x2E},
    {Qt::Key_NumLock, 0x90},   {Qt::Key_ScrollLock, 0x91},
};

constexpr std::pair<int, unsigned> kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F},
};

unsigned Lookup(const auto& table, int qtKey) {
    for (const auto& [key, code] : table)
        if (key == qtKey) return code;
    return 0;
}

}  // namespace

unsigned VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers & Qt::KeypadModifier;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : static_cast<unsigned>(qtKey);
    if (keypad) {
        if (unsigned code = Lookup(kKeypadKeys, qtKey)) return code;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<unsigned>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
    return Lookup(kNamedKeys, qtKey);
}

std::vector<unsigned> CharactersOf(const QString& text, Qt::KeyboardModifiers modifiers) {
    std::vector<unsigned> codes;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return codes;
    for (const uint c : text.toUcs4())
        if (c != 0x7F) codes.push_back(static_cast<unsigned>(c));
    return codes;
}
