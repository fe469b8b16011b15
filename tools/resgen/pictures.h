#pragma once
// Every bitmap of the game, by resource id, and the application icon.

#include <QImage>
#include <vector>

#include "tools/resgen/indexed_image.h"

namespace resgen {

struct Picture {
    int id;
    IndexedImage image;
    bool rle8;  // stored run-length encoded
};

IndexedImage DigitTile(int digit);
IndexedImage Ship();
IndexedImage Missile();
IndexedImage CorrectMark();
IndexedImage WrongMark();
IndexedImage Explosion();
IndexedImage StarField();
IndexedImage Meadow();
IndexedImage Sky();

// All 21 bitmaps, in id order.
std::vector<Picture> MakePictures();

// The sizes of the smooth icons for a desktop's icon theme, each drawn at its size. At 32 the
// smooth drawing blurs its one-pixel outlines, so the theme gets the pixel-drawn icon there.
inline constexpr int kSmoothIconSizes[] = {48, 64, 128, 256};

struct Icon {
    IndexedImage image;                // 32 x 32, 16 colours
    std::vector<std::uint8_t> opaque;  // 1 where the rocket is
    QImage withAlpha;                  // the same picture with transparency
    std::vector<QImage> smooth;        // one per kSmoothIconSizes, with transparency
};
Icon MakeIcon();

}  // namespace resgen
