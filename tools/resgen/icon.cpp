// The application icon: a red rocket pointing left with a cyan window and yellow stripes.
// One drawing in a 32-unit box serves the 16-colour icon and the smooth PNGs of every size.

#include "tools/resgen/draw.h"
#include "tools/resgen/pictures.h"

namespace resgen {
namespace {

QPainterPath Body() {
    QPainterPath path;
    path.moveTo(1.5, 16);
    path.cubicTo(4, 11, 7, 9.5, 11, 9.5);
    path.lineTo(23, 9.5);
    path.quadTo(25, 9.5, 25, 11.5);
    path.lineTo(25, 20.5);
    path.quadTo(25, 22.5, 23, 22.5);
    path.lineTo(11, 22.5);
    path.cubicTo(7, 22.5, 4, 21, 1.5, 16);
    path.closeSubpath();
    return path;
}

QPainterPath FinsPath() {
    QPainterPath path;
    for (int side : {-1, 1}) {
        QPolygonF fin;
        fin << QPointF(16, 16 + side * 6) << QPointF(23, 16 + side * 14.5)
            << QPointF(28, 16 + side * 14.5) << QPointF(25.5, 16 + side * 6);
        path.addPolygon(fin);
        path.closeSubpath();
    }
    return path;
}

void DrawRocket(QPainter& p) {
    QPainterPath flame;
    flame.moveTo(24, 12.5);
    flame.quadTo(29, 13, 31.5, 16);
    flame.quadTo(29, 19, 24, 19.5);
    flame.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(kOrange));
    p.drawPath(flame);
    p.setBrush(Colour(kYellow));
    p.drawEllipse(QPointF(26.5, 16), 2.5, 1.6);
    FillOutlined(p, FinsPath(), kDarkRed, kNavy, 1);
    const QPainterPath body = Body();
    FillOutlined(p, body, kRed, kNavy, 1);
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(kYellow));
    p.drawRect(QRectF(16, 8, 2, 16));
    p.drawRect(QRectF(20, 8, 2, 16));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Colour(kNavy), 1));
    p.drawPath(body);
    p.setBrush(Colour(kCyan));
    p.drawEllipse(QPointF(10.5, 16), 3.2, 3.2);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(kWhite));
    p.drawRect(QRectF(9, 14, 1.5, 1.5));
}

QImage Draw(int size, bool smooth) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.scale(size / 32.0, size / 32.0);
    DrawRocket(p);
    return image;
}

}  // namespace

Icon MakeIcon() {
    Icon icon;
    const QImage small = Draw(32, false);
    icon.image = Quantise(small, SpritePalette());
    icon.withAlpha = QImage(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool drawn = qAlpha(small.pixel(x, y)) >= 128;
            icon.opaque.push_back(drawn ? 1 : 0);
            if (!drawn) icon.image.pixels[y * 32 + x] = kBlack;
            const QRgb colour = SpritePalette()[icon.image.At(x, y)];
            icon.withAlpha.setPixel(x, y, drawn ? (colour | 0xFF000000u) : 0u);
        }
    }
    for (int size : kSmoothIconSizes) icon.smooth.push_back(Draw(size, true));
    return icon;
}

}  // namespace resgen
