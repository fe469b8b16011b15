#pragma once
// What the game view needs from its window: the one seam between the game and the desktop.
// The application implements it on Qt; tests implement it with a fake and a fake clock.

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/gdi.h"

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// The menu item a check-mark handler sets.
class CmdUI {
public:
    virtual ~CmdUI() = default;
    virtual void SetCheck(int check) = 0;
};

class WindowServices {
public:
    virtual ~WindowServices() = default;

    virtual void SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned id) = 0;
    virtual void InvalidateRect(const RECT& rect, bool erase) = 0;
    virtual RECT GetClientRect() = 0;

    // Paint context of the area to repaint; its clip box bounds that area.
    virtual Surface* BeginPaint() = 0;
    virtual void EndPaint(Surface* paint) = 0;
    // Surface that draws straight onto the window and shows at once, even while the
    // thread is held.
    virtual Surface* GetDC() = 0;
    virtual void ReleaseDC(Surface* surface) = 0;

    // Modal message box; texts are Shift-JIS bytes.
    virtual int MessageBox(const std::string& textSjis, const std::string& captionSjis,
                           unsigned type) = 0;
    // Modal file-name dialog; on OK stores the name as typed, in the file system's encoding.
    virtual int AskFileName(std::string* fileName) = 0;

    // Calendar clock in whole seconds, and a sleep between polls of it.
    virtual std::time_t CalendarTime() = 0;
    // A clock that never steps back, whatever is done to the calendar clock.
    virtual std::int64_t MonotonicMilliseconds() = 0;
    // Sleeps at most atMostMs, and wakes once the calendar clock's second has turned.
    virtual void SleepBriefly(std::int64_t atMostMs) = 0;
};
