// The raster operations: copies, stretches and fills on Format_RGB32 images.
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/gdi.h"

namespace {

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
    // Sizes held in locals, and rows that never share pixels (a blit within one image goes
    // through a copy): then the compiler does the masks' rows many pixels at a time.
    const int width = d.width(), height = d.height();
    for (int row = 0; row < height; ++row) {
        std::uint32_t* __restrict out = outBase + row * outStride;
        const std::uint32_t* __restrict in = inBase + row * inStride;
        if constexpr (Rop == SRCCOPY) {
            std::copy(in, in + width, out);
        } else {
            for (int i = 0; i < width; ++i) out[i] = Apply<Rop>(out[i], in[i]);
        }
    }
}

// Whether the columns sampled follow one another: a stretch along y only, copied by rows.
bool Consecutive(const std::vector<int>& map, int count) {
    return count > 0 && map[count - 1] - map[0] == count - 1;
}

template <std::uint32_t Rop>
void StretchRows(QImage& dst, const QImage& src, const QRect& d, const std::vector<int>& xmap,
                 const std::vector<int>& ymap) {
    const int width = d.width(), height = d.height();
    const int* const columns = xmap.data();
    const bool rowCopies = Rop == SRCCOPY && Consecutive(xmap, width);
    const std::uint32_t* lastIn = nullptr;
    std::uint32_t* lastOut = nullptr;
    std::uint32_t* const outBase = PixelAt(dst, d.left(), d.top());
    const qsizetype outStride = dst.bytesPerLine() / 4;
    for (int row = 0; row < height; ++row) {
        std::uint32_t* __restrict out = outBase + row * outStride;
        const std::uint32_t* __restrict in = PixelAt(src, 0, ymap[row]);
        if constexpr (Rop == SRCCOPY) {
            // Enlarged rows repeat: copy the row made just before.
            if (in == lastIn) {
                std::copy(lastOut, lastOut + width, out);
                continue;
            }
            lastIn = in;
            lastOut = out;
            if (rowCopies) {
                std::copy(in + columns[0], in + columns[0] + width, out);
                continue;
            }
        }
        for (int i = 0; i < width; ++i) out[i] = Apply<Rop>(out[i], in[columns[i]]);
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

// Which of `count` destination pixels, from `start` on, sample inside the source image.
struct SampledSpan {
    int first, last;  // last < first when none does
};

// Nearest neighbour along one axis, sampling at the centre of each destination pixel:
// fills `map` with source coordinates.
SampledSpan MapAxis(std::vector<int>& map, int start, int count, int to, int origin, int from,
                    int sourceLimit) {
    SampledSpan span{count, -1};
    map.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        map[i] = origin + static_cast<int>((2LL * (start + i) + 1) * from / (2LL * to));
        if (map[i] >= 0 && map[i] < sourceLimit) {
            span.first = std::min(span.first, i);
            span.last = i;
        }
    }
    return span;
}

bool SamePixels(const QImage& a, QPoint atA, const QImage& b, QPoint atB) {
    return a.bytesPerLine() == b.bytesPerLine() &&
           PixelAt(a, atA.x(), atA.y()) == PixelAt(b, atB.x(), atB.y());
}

}  // namespace

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
    drawn_ = drawn_.united(d);
    // A window image that shows the back buffer's own pixels: the copy would change nothing.
    if (rop == SRCCOPY && SamePixels(*dst, d.topLeft(), *src, QPoint(srcX, srcY))) return true;
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
    thread_local std::vector<int> xmap, ymap;
    const SampledSpan cols =
        MapAxis(xmap, d.left() - x, d.width(), width, sx, sourceWidth, src->width());
    const SampledSpan rows =
        MapAxis(ymap, d.top() - y, d.height(), height, sy, sourceHeight, src->height());
    if (cols.last < cols.first || rows.last < rows.first) return true;
    // The source samples that fall inside the image form one block.
    const QRect inside(d.left() + cols.first, d.top() + rows.first, cols.last - cols.first + 1,
                       rows.last - rows.first + 1);
    drawn_ = drawn_.united(inside);
    xmap.erase(xmap.begin(), xmap.begin() + cols.first);
    ymap.erase(ymap.begin(), ymap.begin() + rows.first);
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
    const std::uint32_t pixel = ColorOf(brush_ ? brush_->Color() : RGB(255, 255, 255)).rgb();
    FillRows(*dst, d, pixel);
    drawn_ = drawn_.united(d);
    return true;
}
