#include "tools/resgen/draw.h"

#include <cmath>
#include <numbers>

namespace resgen {

const std::vector<QRgb>& SpritePalette() {
    static const std::vector<QRgb> palette = {
        0x000000, 0xFFFFFF, 0xE82A2A, 0xA01420, 0x1E5AE6, 0x1C2A66, 0x40D8F0, 0xFFE034,
        0xFF8C1E, 0xD8DEE8, 0x9AA4B4, 0xA8D4FF, 0x34C050, 0xFF8CB4, 0xFFF6B0, 0x505A6E,
    };
    return palette;
}

QColor Colour(SpriteColour c) {
    return QColor::fromRgb(SpritePalette()[c]);
}

IndexedImage Render16(int w, int h, SpriteColour background, bool smooth,
                      const std::vector<SpriteColour>& allowed, const DrawFn& draw) {
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(Colour(background));
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        draw(p);
    }
    std::vector<QRgb> subset;
    for (SpriteColour c : allowed) subset.push_back(SpritePalette()[c]);
    IndexedImage out = Quantise(canvas, subset);
    for (auto& index : out.pixels) index = allowed[index];
    out.palette = SpritePalette();
    return out;
}

IndexedImage MaskOf(const IndexedImage& sprite) {
    IndexedImage mask = sprite;
    for (auto& index : mask.pixels) index = index == kBlack ? kWhite : kBlack;
    return mask;
}

void FillOutlined(QPainter& p, const QPainterPath& path, SpriteColour fill, SpriteColour outline,
                  double width) {
    p.setPen(QPen(Colour(outline), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Colour(fill));
    p.drawPath(path);
}

QPainterPath StarPath(double cx, double cy, double outer, double inner, int points,
                      double turnDegrees) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = (turnDegrees + i * 180.0 / points) * std::numbers::pi / 180.0;
        const QPointF pt(cx + r * std::cos(a), cy + r * std::sin(a));
        if (i == 0) {
            path.moveTo(pt);
        } else {
            path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

}  // namespace resgen
