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

struct Icon {
    IndexedImage image;                // 32 x 32, 16 colours
    std::vector<std::uint8_t> opaque;  // 1 where the rocket is
    QImage withAlpha;                  // the same picture with transparency
    QImage large;                      // 128 x 128, smooth, with transparency
};
Icon MakeIcon();

}  // namespace resgen
