#pragma once
// Device-independent bitmap files: BITMAPFILEHEADER, BITMAPINFOHEADER, palette, bottom-up rows.

#include <QByteArray>

#include "tools/resgen/indexed_image.h"

namespace resgen {

// 4 bits per pixel for a 16-colour palette, 8 for 256; `rle8` stores 8-bit rows as BI_RLE8.
QByteArray WriteBmp(const IndexedImage& image, bool rle8 = false);

// The rows of `image` as 4- or 8-bit pixels padded to whole 32-bit words, bottom row first.
QByteArray PackedRows(const IndexedImage& image, int bitsPerPixel);

}  // namespace resgen
