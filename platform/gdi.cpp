// Bitmaps and the state of a drawing surface: what is selected, its clip and its target.
#include "platform/gdi.h"

#include <algorithm>
#include <utility>

#include "platform/resources.h"

COLORREF GetSysColor(int index) {
    return index == COLOR_WINDOW ? RGB(255, 255, 255) : RGB(192, 192, 192);
}

bool Bitmap::LoadBitmap(int id) {
    return LoadBitmapResource(id, &image_);
}

bool Bitmap::CreateCompatibleBitmap(int width, int height) {
    image_ = QImage(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    return !image_.isNull();
}

Surface::Surface() = default;

bool Surface::CreateCompatibleDC(Surface*) {
    // Only memory surfaces need the default 1 × 1 bitmap; window surfaces come every frame.
    if (!initialBitmap_.HasImage()) initialBitmap_.CreateCompatibleBitmap(1, 1);
    created_ = true;
    windowImage_ = nullptr;
    bitmap_ = &initialBitmap_;
    brush_ = &initialBrush_;
    drawn_ = QRect();
    return true;
}

void Surface::AttachWindowImage(QImage* image) {
    created_ = true;
    windowImage_ = image;
    bitmap_ = nullptr;
    brush_ = &initialBrush_;
    clipped_ = false;
    drawn_ = QRect();
}

void Surface::DeleteDC() {
    created_ = false;
    bitmap_ = nullptr;
    windowImage_ = nullptr;
    font_ = nullptr;
}

Bitmap* Surface::SelectObject(Bitmap* bitmap) {
    Bitmap* old = bitmap_;
    if (bitmap) bitmap_ = bitmap;
    return old;
}

Font* Surface::SelectObject(Font* font) {
    Font* old = font_;
    font_ = font;
    return old;
}

Brush* Surface::SelectObject(Brush* brush) {
    Brush* old = brush_;
    if (brush) brush_ = brush;
    return old;
}

int Surface::SetMapMode(int mode) {
    return std::exchange(mapMode_, mode);
}
COLORREF Surface::SetTextColor(COLORREF color) {
    return std::exchange(textColor_, color);
}
COLORREF Surface::SetBkColor(COLORREF color) {
    return std::exchange(bkColor_, color);
}

QImage* Surface::Target() {
    if (windowImage_) return windowImage_;
    if (bitmap_ && bitmap_->HasImage()) return &bitmap_->Image();
    return nullptr;
}

SIZE Surface::TargetSize() {
    const QImage* target = Target();
    return target ? SIZE{target->width(), target->height()} : SIZE{};
}

std::int64_t Surface::TargetKey() {
    const QImage* target = Target();
    return target ? target->cacheKey() : 0;
}

void Surface::SelectClipRgn(std::nullptr_t) {
    clipped_ = false;
}

void Surface::IntersectClipRect(int left, int top, int right, int bottom) {
    const QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
    clip_ = clipped_ ? clip_.intersected(r) : r;
    clipped_ = true;
}

QRect Surface::ClipRect() {
    QImage* target = Target();
    const QRect bounds = target ? target->rect() : QRect();
    return clipped_ ? clip_.intersected(bounds) : bounds;
}

RECT Surface::GetClipBox() const {
    QImage* target = const_cast<Surface*>(this)->Target();
    QRect r = target ? target->rect() : QRect();
    if (clipped_) r = clip_.intersected(r);
    if (r.isEmpty()) return RECT{};
    return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}
