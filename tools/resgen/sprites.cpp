// The ship, the missile, the two marks and the explosion: bright shapes with a dark outline so
// that they read on every background. Sprites avoid pure black, which is their transparent
// colour.

#include <cmath>
#include <numbers>

#include "game/geometry.h"
#include "tools/resgen/draw.h"
#include "tools/resgen/pictures.h"

namespace resgen {
namespace {

const std::vector<SpriteColour> kAll = {kBlack, kWhite,  kRed,        kDarkRed,   kBlue, kNavy,
                                        kCyan,  kYellow, kOrange,     kLightGrey, kGrey, kSkyBlue,
                                        kGreen, kPink,   kPaleYellow, kDarkGrey};

// A flame pointing right from (x, cy): orange outside, yellow inside.
void Flame(QPainter& p, double x, double cy, double length, double half) {
    for (int layer = 0; layer < 3; ++layer) {
        const double k = 1.0 - 0.3 * layer;
        QPainterPath path;
        path.moveTo(x, cy - half * k);
        path.cubicTo(x + length * 0.5 * k, cy - half * k, x + length * k, cy - half * 0.2 * k,
                     x + length * k, cy);
        path.cubicTo(x + length * k, cy + half * 0.2 * k, x + length * 0.5 * k, cy + half * k, x,
                     cy + half * k);
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Colour(layer == 0 ? kOrange : layer == 1 ? kYellow : kPaleYellow));
        p.drawPath(path);
    }
}

// A rocket body pointing left: nose at x0, square back at x1, between top and bottom.
QPainterPath RocketBody(double x0, double x1, double top, double bottom, double noseLength) {
    const double cy = (top + bottom) / 2;
    const double r = (bottom - top) * 0.22;
    QPainterPath path;
    path.moveTo(x0, cy);
    path.cubicTo(x0 + noseLength * 0.25, top + (cy - top) * 0.2, x0 + noseLength * 0.55, top,
                 x0 + noseLength, top);
    path.lineTo(x1 - r, top);
    path.quadTo(x1, top, x1, top + r);
    path.lineTo(x1, bottom - r);
    path.quadTo(x1, bottom, x1 - r, bottom);
    path.lineTo(x0 + noseLength, bottom);
    path.cubicTo(x0 + noseLength * 0.55, bottom, x0 + noseLength * 0.25,
                 bottom - (bottom - cy) * 0.2, x0, cy);
    path.closeSubpath();
    return path;
}

// Two swept fins at the back of a rocket whose centre line is at `cy`.
QPainterPath Fins(double x, double cy, double rootHalf, double reach, double sweep, double width) {
    QPainterPath path;
    for (int side : {-1, 1}) {
        QPolygonF fin;
        fin << QPointF(x, cy + side * rootHalf) << QPointF(x + sweep, cy + side * reach)
            << QPointF(x + sweep + width, cy + side * reach)
            << QPointF(x + sweep + width * 0.6, cy + side * rootHalf);
        path.addPolygon(fin);
        path.closeSubpath();
    }
    return path;
}

// Drawn with its nose tip where the game judges a tile touching the ship, and shrunk to fit
// between there and the sprite's right edge; missiles leave from inside the nose.
void DrawShip(QPainter& p) {
    constexpr double kDrawnNoseX = 10, kDrawnTailX = 176;
    p.translate(kNoseX, kNoseY);
    p.scale((kDrawnTailX - kNoseX) / (kDrawnTailX - kDrawnNoseX),
            (kDrawnTailX - kNoseX) / (kDrawnTailX - kDrawnNoseX));
    p.translate(-kDrawnNoseX, -kNoseY);
    Flame(p, 150, 88, 26, 15);
    FillOutlined(p, Fins(100, 88, 20, 64, 34, 22), kRed, kNavy, 3);
    const QPainterPath body = RocketBody(10, 156, 60, 116, 58);
    FillOutlined(p, body, kWhite, kNavy, 3);
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(kLightGrey));
    p.drawRect(QRectF(0, 100, 177, 20));
    p.setBrush(Colour(kRed));
    p.drawEllipse(QPointF(-8, 88), 52, 60);
    p.setBrush(Colour(kBlue));
    p.drawRect(QRectF(118, 50, 12, 80));
    p.setBrush(Colour(kYellow));
    p.drawRect(QRectF(134, 50, 6, 80));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Colour(kNavy), 3));
    p.drawPath(body);
    // A small middle fin seen side on.
    QPolygonF fin;
    fin << QPointF(112, 90) << QPointF(146, 90) << QPointF(154, 106) << QPointF(124, 106);
    QPainterPath middle;
    middle.addPolygon(fin);
    middle.closeSubpath();
    FillOutlined(p, middle, kDarkRed, kNavy, 2.5);
    // Porthole with a pilot's-eye glint.
    p.setPen(QPen(Colour(kNavy), 4));
    p.setBrush(Colour(kGrey));
    p.drawEllipse(QPointF(84, 84), 15, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(kCyan));
    p.drawEllipse(QPointF(84, 84), 11, 11);
    p.setBrush(Colour(kWhite));
    p.drawEllipse(QPointF(80, 79), 4, 3.5);
}

void DrawMissile(QPainter& p) {
    Flame(p, 37, 24, 10, 4.5);
    FillOutlined(p, Fins(27, 24, 5, 13, 7, 5), kRed, kNavy, 1.5);
    const QPainterPath body = RocketBody(2, 38, 18, 30, 13);
    FillOutlined(p, body, kWhite, kNavy, 1.5);
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour(kRed));
    p.drawEllipse(QPointF(-2, 24), 13, 12);
    p.setBrush(Colour(kYellow));
    p.drawRect(QRectF(26, 16, 4, 16));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Colour(kNavy), 1.5));
    p.drawPath(body);
}

}  // namespace

IndexedImage Ship() {
    return Render16(177, 177, kBlack, false, kAll, DrawShip);
}

IndexedImage Missile() {
    return Render16(48, 48, kBlack, false, kAll, DrawMissile);
}

IndexedImage CorrectMark() {
    return Render16(48, 48, kBlack, true, {kBlack, kRed, kDarkRed}, [](QPainter& p) {
        p.setPen(QPen(Colour(kRed), 7));
        p.drawEllipse(QPointF(24, 24), 19, 19);
    });
}

IndexedImage WrongMark() {
    return Render16(48, 48, kBlack, true, {kBlack, kRed, kDarkRed}, [](QPainter& p) {
        p.setPen(QPen(Colour(kRed), 8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(40, 40));
        p.drawLine(QPointF(40, 8), QPointF(8, 40));
    });
}

IndexedImage Explosion() {
    return Render16(48, 48, kBlack, false, kAll, [](QPainter& p) {
        // Uneven tips look like a burst rather than a badge.
        const double reach[12] = {23, 18.5, 22, 19.5, 23.5, 17.5, 22.5, 20, 23, 18, 21.5, 19.5};
        QPainterPath burst;
        for (int i = 0; i < 24; ++i) {
            const double r = i % 2 ? 10 : reach[i / 2];
            const double a = (-90 + i * 15) * std::numbers::pi / 180;
            const QPointF pt(24 + r * std::cos(a), 24 + r * std::sin(a));
            i ? burst.lineTo(pt) : burst.moveTo(pt);
        }
        burst.closeSubpath();
        FillOutlined(p, burst, kYellow, kOrange, 1.5);
        FillOutlined(p, StarPath(24, 24, 15, 7.5, 8, -67.5), kOrange, kOrange, 1);
        FillOutlined(p, StarPath(24, 24, 9, 5, 8), kYellow, kYellow, 1);
        p.setPen(Qt::NoPen);
        p.setBrush(Colour(kPaleYellow));
        p.drawEllipse(QPointF(24, 24), 4, 4);
    });
}

}  // namespace resgen
