#include <QHash>
#include <algorithm>
#include <map>

#include "tools/resgen/indexed_image.h"

namespace resgen {
namespace {

int Distance(QRgb a, QRgb b) {
    // Weighted like the eye: green counts most, blue least.
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

std::uint8_t Nearest(QRgb colour, const std::vector<QRgb>& palette) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
        if (Distance(colour, palette[i]) < Distance(colour, palette[best])) best = i;
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

IndexedImage Quantise(const QImage& image, const std::vector<QRgb>& palette) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    IndexedImage out{rgb.width(), rgb.height(), palette, {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
    QHash<QRgb, std::uint8_t> cache;
    for (int y = 0; y < out.height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            const QRgb colour = row[x] & 0xFFFFFF;
            auto it = cache.find(colour);
            if (it == cache.end()) it = cache.insert(colour, Nearest(colour, palette));
            out.pixels.push_back(*it);
        }
    }
    return out;
}

std::vector<QRgb> PopularPalette(const QImage& image, int count) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> histogram;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) ++histogram[row[x] & 0xFFFFFF];
    }
    std::vector<std::pair<int, QRgb>> ranked;
    for (const auto& [colour, n] : histogram) ranked.emplace_back(-n, colour);
    std::sort(ranked.begin(), ranked.end());
    std::vector<QRgb> palette(count, 0);
    for (int i = 0; i < count && i < static_cast<int>(ranked.size()); ++i) {
        palette[i] = ranked[i].second;
    }
    return palette;
}

QImage ToQImage(const IndexedImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) out.setPixel(x, y, image.palette[image.At(x, y)]);
    }
    return out;
}

}  // namespace resgen
