#pragma once
// Shared drawing helpers and the 16-colour palette of the sprites, tiles and icon.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "tools/resgen/indexed_image.h"

namespace resgen {

// Indices into SpritePalette(). Index 0 is pure black: the transparent colour of masked sprites.
enum SpriteColour : std::uint8_t {
    kBlack,
    kWhite,
    kRed,
    kDarkRed,
    kBlue,
    kNavy,
    kCyan,
    kYellow,
    kOrange,
    kLightGrey,
    kGrey,
    kSkyBlue,
    kGreen,
    kPink,
    kPaleYellow,
    kDarkGrey
};

const std::vector<QRgb>& SpritePalette();
QColor Colour(SpriteColour c);

using DrawFn = std::function<void(QPainter&)>;

// Draws on a `w` x `h` canvas filled with `background` (antialiased if `smooth`) and maps the
// result onto the sprite palette, using only the colours in `allowed`.
IndexedImage Render16(int w, int h, SpriteColour background, bool smooth,
                      const std::vector<SpriteColour>& allowed, const DrawFn& draw);

// A mask for AND-then-XOR drawing: black where the sprite has colour, white where it is black.
IndexedImage MaskOf(const IndexedImage& sprite);

// Fills `path` with `fill` and outlines it with a pen of `width` in `outline`.
void FillOutlined(QPainter& p, const QPainterPath& path, SpriteColour fill, SpriteColour outline,
                  double width);

// A star with `points` tips around (cx, cy).
QPainterPath StarPath(double cx, double cy, double outer, double inner, int points,
                      double turnDegrees = -90);

}  // namespace resgen
