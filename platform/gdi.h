#pragma once
// Drawing surfaces, bitmaps, fonts and brushes with the operations and names of the
// old Windows graphics interface the game was written against, over QImage.
// Pixels are QImage::Format_RGB32; raster operations work on the colour bits only.

#include <QColor>
#include <QFont>
#include <QImage>
#include <cstdint>
#include <string>

#include "platform/text_encoding.h"

using COLORREF = std::uint32_t;  // 0x00BBGGRR, as on Windows

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline QColor ColorOf(COLORREF c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Raster operations (the Windows values).
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t PATCOPY = 0x00F00021;

constexpr int MM_TEXT = 1;
constexpr int COLOR_WINDOW = 5;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr int SHIFTJIS_CHARSET = 128;
constexpr int FF_SWISS = 0x20;

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
};

COLORREF GetSysColor(int index);

// An image object: holds at most one image.
class Bitmap {
public:
    // Loads bitmap resource `id` in the display's format; a missing id leaves the object as it was.
    bool LoadBitmap(int id);
    bool CreateCompatibleBitmap(int width, int height);
    void DeleteObject() { image_ = QImage(); }
    bool HasImage() const { return !image_.isNull(); }
    // Width and height in pixels; 0 x 0 without an image.
    SIZE Size() const { return {image_.width(), image_.height()}; }
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

// Maps the Windows Gothic faces the program names onto the installed IPA faces.
void RegisterGothicSubstitutes();

class Font {
public:
    // Only the cell height, weight and face take effect; the rest is accepted for fidelity.
    bool CreateFontA(int height, int width, int escapement, int orientation, int weight, int italic,
                     int underline, int strikeOut, int charSet, int outPrecision, int clipPrecision,
                     int quality, int pitchAndFamily, const char* faceSjis);
    bool HasFont() const { return created_; }
    const QFont& Qt() const { return font_; }
    int CellHeight() const { return cellHeight_; }

private:
    QFont font_;
    int cellHeight_ = 0;
    bool created_ = false;
};

class Brush {
public:
    bool CreateSolidBrush(COLORREF color) {
        color_ = color;
        return true;
    }
    COLORREF Color() const { return color_; }

private:
    COLORREF color_ = RGB(255, 255, 255);
};

// A drawing surface. A memory surface always has exactly one bitmap selected; a window
// surface draws onto an image the window owns.
class Surface {
public:
    Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool CreateCompatibleDC(Surface* reference);
    void AttachWindowImage(QImage* image);
    bool HasSurface() const { return created_; }
    void DeleteDC();

    Bitmap* SelectObject(Bitmap* bitmap);
    Font* SelectObject(Font* font);
    Brush* SelectObject(Brush* brush);
    int SetMapMode(int mode);
    int GetMapMode() const { return mapMode_; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetTextColor() const { return textColor_; }
    COLORREF GetBkColor() const { return bkColor_; }

    void SelectClipRgn(std::nullptr_t);
    void IntersectClipRect(int left, int top, int right, int bottom);
    RECT GetClipBox() const;

    bool BitBlt(int x, int y, int width, int height, Surface* source, int sx, int sy,
                std::uint32_t rop);
    bool StretchBlt(int x, int y, int width, int height, Surface* source, int sx, int sy,
                    int sourceWidth, int sourceHeight, std::uint32_t rop);
    bool PatBlt(int x, int y, int width, int height, std::uint32_t rop);
    bool TextOut(int x, int y, const char* text, int length,
                 TextEncoding encoding = TextEncoding::ShiftJis);
    int DrawText(const char* textSjis, int length, RECT* rect, unsigned format);

    // The image drawing goes to, or null.
    QImage* Target();
    // The target's size (0 x 0 without one), and a key that changes whenever its pixels may
    // have: for the game, which sees no image type.
    SIZE TargetSize();
    std::int64_t TargetKey();
    // Everything drawn on the target since the surface was made or attached.
    QRect DrawnArea() const { return drawn_; }
    Bitmap* SelectedBitmap() const { return bitmap_; }

private:
    QRect ClipRect();

    Bitmap initialBitmap_;
    Bitmap* bitmap_ = nullptr;
    QImage* windowImage_ = nullptr;
    Font* font_ = nullptr;
    Brush* brush_ = nullptr;
    Brush initialBrush_;
    COLORREF textColor_ = RGB(0, 0, 0);
    COLORREF bkColor_ = RGB(255, 255, 255);
    int mapMode_ = MM_TEXT;
    bool clipped_ = false;
    QRect clip_;
    QRect drawn_;
    bool created_ = false;
};
