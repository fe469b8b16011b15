#include "platform/gdi.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/resources.h"
#include "platform/sjis.h"

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

constexpr std::uint32_t kOpaque = 0xFF000000u;

// One pixel of a raster operation on Format_RGB32; alpha stays opaque.
template <std::uint32_t Rop>
inline std::uint32_t Apply(std::uint32_t dst, std::uint32_t src) {
    if constexpr (Rop == SRCAND)
        return dst & src;
    else if constexpr (Rop == SRCINVERT)
        return (dst ^ src) | kOpaque;
    else
        return src;
}

// Row addresses from the base pointers: scanLine() checks for sharing on every call.
std::uint32_t* PixelAt(QImage& image, int x, int y) {
    return reinterpret_cast<std::uint32_t*>(image.bits() + y * image.bytesPerLine()) + x;
}

const std::uint32_t* PixelAt(const QImage& image, int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(image.constBits() + y * image.bytesPerLine()) + x;
}

template <std::uint32_t Rop>
void BlitRows(QImage& dst, const QImage& src, const QRect& d, int sx, int sy) {
    std::uint32_t* const outBase = PixelAt(dst, d.left(), d.top());
    const std::uint32_t* const inBase = PixelAt(src, sx, sy);
    const qsizetype outStride = dst.bytesPerLine() / 4, inStride = src.bytesPerLine() / 4;
    for (int row = 0; row < d.height(); ++row) {
        std::uint32_t* out = outBase + row * outStride;
        const std::uint32_t* in = inBase + row * inStride;
        if constexpr (Rop == SRCCOPY) {
            std::copy(in, in + d.width(), out);
        } else {
            for (int i = 0; i < d.width(); ++i) out[i] = Apply<Rop>(out[i], in[i]);
        }
    }
}

template <std::uint32_t Rop>
void StretchRows(QImage& dst, const QImage& src, const QRect& d, const std::vector<int>& xmap,
                 const std::vector<int>& ymap) {
    const std::uint32_t* lastIn = nullptr;
    std::uint32_t* lastOut = nullptr;
    std::uint32_t* const outBase = PixelAt(dst, d.left(), d.top());
    const qsizetype outStride = dst.bytesPerLine() / 4;
    for (int row = 0; row < d.height(); ++row) {
        std::uint32_t* out = outBase + row * outStride;
        const std::uint32_t* in = PixelAt(src, 0, ymap[row]);
        if constexpr (Rop == SRCCOPY) {
            // Enlarged rows repeat: copy the row made just before.
            if (in == lastIn) {
                std::copy(lastOut, lastOut + d.width(), out);
                continue;
            }
            lastIn = in;
            lastOut = out;
        }
        for (int i = 0; i < d.width(); ++i) out[i] = Apply<Rop>(out[i], in[xmap[i]]);
    }
}

void FillSpan(std::uint32_t* out, std::size_t count, std::uint32_t pixel) {
    // The window colour is white: one byte repeated, which memset fills fastest.
    if ((pixel & 0xFF) * 0x01010101u == pixel)
        std::memset(out, static_cast<int>(pixel & 0xFF), count * sizeof pixel);
    else
        std::fill_n(out, count, pixel);
}

// Whole rows of an unpadded image are one span; the frame's fill is usually that.
void FillRows(QImage& dst, const QRect& d, std::uint32_t pixel) {
    std::uint32_t* first = PixelAt(dst, d.left(), d.top());
    const bool oneSpan = d.width() == dst.width() && dst.bytesPerLine() == dst.width() * 4;
    if (oneSpan) return FillSpan(first, std::size_t(d.width()) * d.height(), pixel);
    const qsizetype stride = dst.bytesPerLine() / 4;
    for (int row = 0; row < d.height(); ++row) FillSpan(first + row * stride, d.width(), pixel);
}

template <typename Fn>
bool Dispatch(std::uint32_t rop, Fn&& fn) {
    switch (rop) {
        case SRCCOPY:
            fn(std::integral_constant<std::uint32_t, SRCCOPY>{});
            return true;
        case SRCAND:
            fn(std::integral_constant<std::uint32_t, SRCAND>{});
            return true;
        case SRCINVERT:
            fn(std::integral_constant<std::uint32_t, SRCINVERT>{});
            return true;
        default:
            return false;
    }
}

// Pixel size whose line height equals the wanted cell height, per face.
int PixelSizeForCell(const QString& family, int cellHeight) {
    static std::map<std::pair<QString, int>, int> cache;
    const auto key = std::make_pair(family, cellHeight);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    QFont probe(family);
    probe.setPixelSize(std::max(1, cellHeight));
    const int measured = QFontMetrics(probe).height();
    int size = cellHeight;
    if (measured > 0 && measured != cellHeight)
        size = std::max(1, cellHeight * cellHeight / measured);
    cache[key] = size;
    return size;
}

void RegisterFontSubstitutes() {
    static const bool done = [] {
        // fontconfig knows no Windows Gothic faces; the IPA faces have their metrics, the
        // proportional one for the proportional face (the dialogs' text).
        for (const char* face : {"ＭＳ ゴシック", "MS Gothic"})
            QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("IPAGothic"));
        for (const char* face : {"ＭＳ Ｐゴシック", "MS PGothic"})
            QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("IPAPGothic"));
        return true;
    }();
    (void)done;
}

QString Printable(const char* text, int length, TextEncoding encoding = TextEncoding::ShiftJis) {
    QString s = encoding == TextEncoding::Utf8 ? QString::fromUtf8(text, length)
                                               : DecodeShiftJis(text, length);
    s.removeIf([](QChar c) { return c.unicode() < 0x20; });
    return s;
}

}  // namespace

COLORREF GetSysColor(int index) {
    return index == COLOR_WINDOW ? RGB(255, 255, 255) : RGB(192, 192, 192);
}

void RegisterGothicSubstitutes() {
    RegisterFontSubstitutes();
}

bool Bitmap::LoadBitmap(int id) {
    return LoadBitmapResource(id, &image_);
}

bool Bitmap::CreateCompatibleBitmap(int width, int height) {
    image_ = QImage(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    return !image_.isNull();
}

bool Font::CreateFontA(int height, int, int, int, int weight, int italic, int underline,
                       int strikeOut, int, int, int, int, int, const char* faceSjis) {
    RegisterFontSubstitutes();
    const QString family = DecodeShiftJis(faceSjis, faceSjis ? int(std::strlen(faceSjis)) : 0);
    cellHeight_ = height < 0 ? -height : height;
    font_ = QFont(family);
    font_.setPixelSize(PixelSizeForCell(family, cellHeight_));
    font_.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
    font_.setItalic(italic != 0);
    font_.setUnderline(underline != 0);
    font_.setStrikeOut(strikeOut != 0);
    created_ = true;
    return true;
}

Surface::Surface() = default;

bool Surface::CreateCompatibleDC(Surface*) {
    // Only memory surfaces need the default 1 × 1 bitmap; window surfaces come every frame.
    if (!initialBitmap_.HasImage()) initialBitmap_.CreateCompatibleBitmap(1, 1);
    created_ = true;
    windowImage_ = nullptr;
    bitmap_ = &initialBitmap_;
    brush_ = &initialBrush_;
    return true;
}

void Surface::AttachWindowImage(QImage* image) {
    created_ = true;
    windowImage_ = image;
    bitmap_ = nullptr;
    brush_ = &initialBrush_;
    clipped_ = false;
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

bool Surface::BitBlt(int x, int y, int width, int height, Surface* source, int sx, int sy,
                     std::uint32_t rop) {
    QImage* dst = Target();
    QImage* src = source ? source->Target() : nullptr;
    if (!dst || !src || width <= 0 || height <= 0) return false;
    // Pixels beyond the source image contribute nothing.
    QRect d = QRect(x, y, width, height).intersected(ClipRect());
    d = d.intersected(QRect(x - sx, y - sy, src->width(), src->height()));
    if (d.isEmpty()) return true;
    const int srcX = sx + (d.left() - x);
    const int srcY = sy + (d.top() - y);
    if (src == dst) {
        const QImage copy = src->copy(srcX, srcY, d.width(), d.height());
        return Dispatch(rop, [&](auto op) { BlitRows<decltype(op)::value>(*dst, copy, d, 0, 0); });
    }
    return Dispatch(rop,
                    [&](auto op) { BlitRows<decltype(op)::value>(*dst, *src, d, srcX, srcY); });
}

bool Surface::StretchBlt(int x, int y, int width, int height, Surface* source, int sx, int sy,
                         int sourceWidth, int sourceHeight, std::uint32_t rop) {
    QImage* dst = Target();
    QImage* src = source ? source->Target() : nullptr;
    if (!dst || !src || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return false;
    const QRect d = QRect(x, y, width, height).intersected(ClipRect());
    if (d.isEmpty()) return true;
    // Nearest neighbour, sampling at the centre of each destination pixel.
    auto sample = [](int i, int from, int to, int origin) {
        return origin + static_cast<int>((2LL * i + 1) * from / (2LL * to));
    };
    thread_local std::vector<int> xmap, ymap;
    int firstCol = d.width(), lastCol = -1;
    xmap.resize(static_cast<std::size_t>(d.width()));
    for (int i = 0; i < d.width(); ++i) {
        xmap[i] = sample(d.left() - x + i, sourceWidth, width, sx);
        if (xmap[i] >= 0 && xmap[i] < src->width()) {
            firstCol = std::min(firstCol, i);
            lastCol = i;
        }
    }
    int firstRow = d.height(), lastRow = -1;
    ymap.resize(static_cast<std::size_t>(d.height()));
    for (int i = 0; i < d.height(); ++i) {
        ymap[i] = sample(d.top() - y + i, sourceHeight, height, sy);
        if (ymap[i] >= 0 && ymap[i] < src->height()) {
            firstRow = std::min(firstRow, i);
            lastRow = i;
        }
    }
    if (lastCol < firstCol || lastRow < firstRow) return true;
    // The source samples that fall inside the image form one block.
    const QRect inside(d.left() + firstCol, d.top() + firstRow, lastCol - firstCol + 1,
                       lastRow - firstRow + 1);
    xmap.erase(xmap.begin(), xmap.begin() + firstCol);
    ymap.erase(ymap.begin(), ymap.begin() + firstRow);
    QImage copy;
    const QImage* from = src;
    if (src == dst) from = &(copy = src->copy());
    return Dispatch(
        rop, [&](auto op) { StretchRows<decltype(op)::value>(*dst, *from, inside, xmap, ymap); });
}

bool Surface::PatBlt(int x, int y, int width, int height, std::uint32_t rop) {
    QImage* dst = Target();
    if (!dst || rop != PATCOPY || width <= 0 || height <= 0) return false;
    const QRect d = QRect(x, y, width, height).intersected(ClipRect());
    if (d.isEmpty()) return true;
    const std::uint32_t pixel = ToQColor(brush_ ? brush_->Color() : RGB(255, 255, 255)).rgb();
    FillRows(*dst, d, pixel);
    return true;
}

namespace {

// Text on an opaque box of its character cells, as the default background mode draws it.
void DrawOpaqueText(QImage& target, const QRect& clip, const Font* font, int x, int y,
                    const QString& text, COLORREF textColor, COLORREF bkColor) {
    static const QFont fallback = [] {
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(16);
        return f;
    }();
    const QFont& qfont = font && font->HasFont() ? font->Qt() : fallback;
    const QFontMetrics metrics(qfont);
    const int cell = font && font->HasFont() ? font->CellHeight() : metrics.height();
    QPainter painter(&target);
    painter.setClipRect(clip);
    painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), cell), ToQColor(bkColor));
    painter.setFont(qfont);
    painter.setPen(ToQColor(textColor));
    painter.drawText(QPoint(x, y + metrics.ascent() + (cell - metrics.height()) / 2), text);
}

}  // namespace

bool Surface::TextOut(int x, int y, const char* text, int length, TextEncoding encoding) {
    QImage* dst = Target();
    if (!dst || !text || length <= 0) return false;
    const QRect clip = ClipRect();
    if (clip.isEmpty()) return true;
    DrawOpaqueText(*dst, clip, font_, x, y, Printable(text, length, encoding), textColor_,
                   bkColor_);
    return true;
}

int Surface::DrawText(const char* textSjis, int length, RECT* rect, unsigned format) {
    QImage* dst = Target();
    if (!dst || !textSjis || !rect) return 0;
    if (length < 0) length = static_cast<int>(std::strlen(textSjis));
    const QString text = Printable(textSjis, length);
    const QFont qfont = font_ && font_->HasFont() ? font_->Qt() : QFont();
    const QFontMetrics metrics(qfont);
    const int cell = font_ && font_->HasFont() ? font_->CellHeight() : metrics.height();
    int x = rect->left;
    int y = rect->top;
    if (format & DT_CENTER) x += (rect->right - rect->left - metrics.horizontalAdvance(text)) / 2;
    if ((format & DT_VCENTER) && (format & DT_SINGLELINE))
        y += (rect->bottom - rect->top - cell) / 2;
    const QRect clip = ClipRect();
    if (!clip.isEmpty()) DrawOpaqueText(*dst, clip, font_, x, y, text, textColor_, bkColor_);
    return cell;
}
