#pragma once
// A palette picture: what our bitmap and icon writers take.

#include <QImage>
#include <QRgb>
#include <cstdint>
#include <vector>

namespace resgen {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;         // 16 or 256 entries
    std::vector<std::uint8_t> pixels;  // row-major, top row first

    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Each pixel becomes the index of the nearest palette colour (exact colours map to themselves).
IndexedImage Quantise(const QImage& image, const std::vector<QRgb>& palette);

// Up to `count` colours of `image`, the most frequent first (ties by value, so it is stable);
// unused entries are black.
std::vector<QRgb> PopularPalette(const QImage& image, int count);

// The palette picture in full colour, for previews.
QImage ToQImage(const IndexedImage& image);

}  // namespace resgen
