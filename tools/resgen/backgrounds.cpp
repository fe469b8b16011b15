// The three 1280 x 400 stage backgrounds. Each is one 640-wide tile drawn twice side by side:
// the game scrolls a 640-wide window leftwards and jumps from x 0 back to x 640, so the halves
// must be equal and the tile must join itself without a seam. Everything that crosses the
// tile's edge is therefore drawn a second time one tile-width away.

#include <cmath>
#include <numbers>

#include "tools/resgen/draw.h"
#include "tools/resgen/lcg.h"
#include "tools/resgen/pictures.h"

namespace resgen {
namespace {

constexpr int kTile = 640;
constexpr int kHeight = 400;

QColor Mix(QRgb a, QRgb b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(qRed(a), qRed(b)), lerp(qGreen(a), qGreen(b)), lerp(qBlue(a), qBlue(b)));
}

// Horizontal bands from `top` to `bottom`: few colours, and calm for small children.
void Bands(QPainter& p, QRgb top, QRgb bottom, int bands) {
    for (int i = 0; i < bands; ++i) {
        const int y0 = kHeight * i / bands, y1 = kHeight * (i + 1) / bands;
        p.fillRect(0, y0, kTile, y1 - y0, Mix(top, bottom, i / (bands - 1.0)));
    }
}

// Draws `draw` at x offsets -640, 0 and 640, so that what leaves one edge enters the other.
void Wrapped(QPainter& p, const DrawFn& draw) {
    for (int dx : {-kTile, 0, kTile}) {
        p.save();
        p.translate(dx, 0);
        draw(p);
        p.restore();
    }
}

IndexedImage TwoTiles(const QImage& tile) {
    const IndexedImage half = Quantise(tile, PopularPalette(tile, 256));
    IndexedImage whole{2 * kTile, kHeight, half.palette, {}};
    for (int y = 0; y < kHeight; ++y) {
        const auto row = half.pixels.begin() + static_cast<std::ptrdiff_t>(y) * kTile;
        whole.pixels.insert(whole.pixels.end(), row, row + kTile);
        whole.pixels.insert(whole.pixels.end(), row, row + kTile);
    }
    return whole;
}

IndexedImage Background(const DrawFn& draw) {
    QImage tile(kTile, kHeight, QImage::Format_RGB32);
    tile.fill(Qt::black);
    {
        QPainter p(&tile);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    return TwoTiles(tile);
}

void Fill(QPainter& p, const QPainterPath& path, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

// --- star field ---

void RingedPlanet(QPainter& p, QPointF c, double r) {
    const QRectF ring(c.x() - 2.0 * r, c.y() - 0.45 * r, 4.0 * r, 0.9 * r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xFFE6A0), r * 0.16));
    p.drawArc(ring, 0, 180 * 16);  // the back of the ring, behind the planet
    QPainterPath ball;
    ball.addEllipse(c, r, r);
    Fill(p, ball, QColor(0xFFA048));
    p.save();
    p.setClipPath(ball);
    p.setPen(QPen(QColor(0xF07830), r * 0.18));
    for (double dy : {-0.45, 0.1, 0.6}) {
        p.drawLine(QPointF(c.x() - r, c.y() + dy * r), QPointF(c.x() + r, c.y() + dy * r));
    }
    p.restore();
    p.setPen(QPen(QColor(0xFFE6A0), r * 0.16));
    p.drawArc(ring, 180 * 16, 180 * 16);  // the front of the ring
}

void Moon(QPainter& p, QPointF c, double r) {
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    Fill(p, disc, QColor(0xE8ECF8));
    p.setBrush(QColor(0xC4CCE0));
    p.drawEllipse(c + QPointF(-0.3 * r, -0.2 * r), 0.25 * r, 0.25 * r);
    p.drawEllipse(c + QPointF(0.35 * r, 0.3 * r), 0.18 * r, 0.18 * r);
    p.drawEllipse(c + QPointF(0.1 * r, -0.5 * r), 0.12 * r, 0.12 * r);
}

void Sparkle(QPainter& p, QPointF c, double r, QColor colour) {
    QPainterPath path = StarPath(c.x(), c.y(), r, r * 0.22, 4);
    Fill(p, path, colour);
}

void DrawStarField(QPainter& p) {
    Bands(p, 0x060A28, 0x1C1450, 16);
    Lcg rng(134);
    const QColor tints[] = {QColor(0xFFFFFF), QColor(0xFFF3C0), QColor(0xC8DCFF), QColor(0xFFD6E6),
                            QColor(0x8C94C0)};
    for (int i = 0; i < 260; ++i) {
        const int x = rng.Below(kTile), y = rng.Below(kHeight);
        const int size = rng.Below(5) == 0 ? 2 : 1;
        const QColor tint = tints[rng.Below(5)];
        Wrapped(p, [=](QPainter& q) { q.fillRect(x, y, size, size, tint); });
    }
    for (int i = 0; i < 16; ++i) {
        const QPointF c(rng.Below(kTile), rng.Below(kHeight));
        const double r = 4 + rng.Below(5);
        Wrapped(p, [=](QPainter& q) { Sparkle(q, c, r, QColor(0xFFFFFF)); });
    }
    for (int i = 0; i < 9; ++i) {
        const QPointF c(rng.Below(kTile), 20 + rng.Below(kHeight - 40));
        const double r = 6 + rng.Below(5);
        Wrapped(p, [=](QPainter& q) { Fill(q, StarPath(c.x(), c.y(), r, r * 0.45, 5), 0xFFE034); });
    }
    Wrapped(p, [](QPainter& q) {
        RingedPlanet(q, QPointF(455, 290), 34);
        Moon(q, QPointF(120, 80), 17);
    });
}

// --- meadow ---

void RingedOval(QPainter& p, QPointF c, double w, double h, QRgb ring, QRgb inner) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E8A30));
    p.drawEllipse(c + QPointF(3, 4), w / 2, h / 2);
    p.setBrush(QColor(ring));
    p.drawEllipse(c, w / 2, h / 2);
    p.setBrush(QColor(0xFFFFFF));
    p.drawEllipse(c, w * 0.36, h * 0.34);
    p.setBrush(QColor(inner));
    p.drawEllipse(c, w * 0.28, h * 0.25);
    p.setBrush(QColor(0xFFFFFF));
    p.drawEllipse(c + QPointF(-w * 0.09, -h * 0.08), w * 0.06, h * 0.06);
}

void DrawMeadow(QPainter& p) {
    // Mown stripes, 16 to a tile: the movement shows even where there are no ovals.
    for (int i = 0; i < 16; ++i) {
        p.fillRect(i * 40, 0, 40, kHeight, QColor(i % 2 ? 0x58BE46 : 0x62C850));
    }
    Lcg rng(162);
    for (int i = 0; i < 180; ++i) {
        const QPointF c(rng.Below(kTile), rng.Below(kHeight));
        const QColor petal(rng.Below(3) ? 0xFFFFFF : 0xFFF07A);
        Wrapped(p, [=](QPainter& q) {
            q.setPen(Qt::NoPen);
            q.setBrush(petal);
            q.drawEllipse(c, 2.2, 2.2);
            q.setBrush(QColor(0xFFC830));
            q.drawEllipse(c, 0.9, 0.9);
        });
    }
    struct Row {
        double y, w, h;
        int count;
        double offset;
        QRgb ring, inner;
    };
    const Row rows[] = {
        {62, 64, 32, 5, 0, 0xFFE034, 0xFF8C1E},
        {160, 72, 36, 5, 64, 0xFF9CC0, 0xE8367A},
        {258, 80, 40, 4, 20, 0xA8D4FF, 0x1E6AE6},
        {350, 88, 42, 4, 100, 0xFFFFFF, 0xE82A2A},
    };
    for (const Row& row : rows) {
        for (int i = 0; i < row.count; ++i) {
            const QPointF c(row.offset + i * double(kTile) / row.count, row.y);
            Wrapped(p, [=](QPainter& q) { RingedOval(q, c, row.w, row.h, row.ring, row.inner); });
        }
    }
}

// --- sky ---

QPainterPath Cloud(QPointF c, double s) {
    const double puffs[][3] = {{-1.6, 0.25, 0.7}, {-0.75, -0.2, 0.95}, {0.25, -0.45, 1.15},
                               {1.2, -0.05, 0.9}, {1.9, 0.3, 0.6},     {0.2, 0.35, 0.8}};
    QPainterPath cloud;
    for (const auto& puff : puffs) {
        QPainterPath one;
        one.addEllipse(c + QPointF(puff[0] * s, puff[1] * s), puff[2] * s, puff[2] * s * 0.9);
        cloud = cloud.united(one);
    }
    QPainterPath flat;
    flat.addRect(c.x() - 3 * s, c.y() + 0.55 * s, 6 * s, 2 * s);
    return cloud.subtracted(flat);
}

void DrawCloud(QPainter& p, QPointF c, double s) {
    const QPainterPath cloud = Cloud(c, s);
    Fill(p, cloud.translated(0, 0.12 * s), QColor(0xD2E4F6));
    Fill(p, cloud, QColor(0xFFFFFF));
}

void Balloon(QPainter& p, QPointF c, double r, QRgb a, QRgb b) {
    QPainterPath envelope;
    envelope.addEllipse(c, r, r * 1.05);
    QPainterPath taper;
    taper.moveTo(c.x() - r * 0.93, c.y() + r * 0.35);
    taper.cubicTo(c.x() - r * 0.8, c.y() + r * 0.9, c.x() - r * 0.35, c.y() + r * 1.2,
                  c.x() - r * 0.28, c.y() + r * 1.42);
    taper.lineTo(c.x() + r * 0.28, c.y() + r * 1.42);
    taper.cubicTo(c.x() + r * 0.35, c.y() + r * 1.2, c.x() + r * 0.8, c.y() + r * 0.9,
                  c.x() + r * 0.93, c.y() + r * 0.35);
    taper.closeSubpath();
    envelope = envelope.united(taper);
    // Ropes and basket first: the envelope hides their tops.
    p.setPen(QPen(QColor(0x6A4A2A), std::max(1.0, r * 0.04)));
    p.drawLine(c + QPointF(-r * 0.26, r * 1.4), c + QPointF(-r * 0.2, r * 1.75));
    p.drawLine(c + QPointF(r * 0.26, r * 1.4), c + QPointF(r * 0.2, r * 1.75));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB87838));
    p.drawRoundedRect(QRectF(c.x() - r * 0.24, c.y() + r * 1.72, r * 0.48, r * 0.34), 3, 3);
    p.setBrush(QColor(0x8E5626));
    p.drawRect(QRectF(c.x() - r * 0.24, c.y() + r * 1.72, r * 0.48, r * 0.08));
    Fill(p, envelope, QColor(a));
    p.save();
    p.setClipPath(envelope);
    p.setBrush(QColor(b));
    p.drawEllipse(c + QPointF(0, r * 0.2), r * 0.62, r * 1.4);
    p.setBrush(QColor(a));
    p.drawEllipse(c + QPointF(0, r * 0.2), r * 0.24, r * 1.4);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(c + QPointF(-r * 0.45, -r * 0.5), r * 0.18, r * 0.28);
    p.restore();
}

void DrawSky(QPainter& p) {
    Bands(p, 0x3C8CE8, 0xB4E2FF, 20);
    Wrapped(p, [](QPainter& q) {
        DrawCloud(q, QPointF(90, 70), 26);
        DrawCloud(q, QPointF(330, 135), 20);
        DrawCloud(q, QPointF(560, 60), 30);
        DrawCloud(q, QPointF(250, 330), 32);
        DrawCloud(q, QPointF(520, 280), 22);
        Balloon(q, QPointF(190, 175), 42, 0xE82A2A, 0xFFFFFF);
        Balloon(q, QPointF(455, 150), 30, 0xFFD21E, 0xFF7A1E);
    });
}

}  // namespace

IndexedImage StarField() {
    return Background(DrawStarField);
}
IndexedImage Meadow() {
    return Background(DrawMeadow);
}
IndexedImage Sky() {
    return Background(DrawSky);
}

}  // namespace resgen
