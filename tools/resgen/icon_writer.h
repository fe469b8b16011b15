#pragma once
// The application icon's files: a Windows icon with AND mask, and PNGs with alpha.

#include <QByteArray>
#include <QImage>

#include "tools/resgen/indexed_image.h"

namespace resgen {

// One 16-colour image; `opaque` (same size, non-zero = drawn) becomes the AND mask.
QByteArray WriteIco(const IndexedImage& image, const std::vector<std::uint8_t>& opaque);

// An RGBA PNG of `image` (any format with alpha), deflated by a small encoder of our own so that
// the bytes depend on nothing but the pixels.
QByteArray WritePng(const QImage& image);

}  // namespace resgen
