#include "tools/resgen/bmp_writer.h"

#include "tools/resgen/bytes.h"

namespace resgen {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr unsigned kBiRgb = 0;
constexpr unsigned kBiRle8 = 1;

// One row in RLE8: runs of equal pixels as (count, index), other stretches of three or more
// pixels in absolute mode (0, count, pixels, pad to a word), then end-of-line.
void EncodeRleRow(const IndexedImage& image, int y, QByteArray& out) {
    const int w = image.width;
    int x = 0;
    auto put = [&out](int v) { out.append(static_cast<char>(v)); };
    while (x < w) {
        int run = 1;
        while (x + run < w && run < 255 && image.At(x + run, y) == image.At(x, y)) ++run;
        if (run >= 3 || x + run == w) {
            put(run);
            put(image.At(x, y));
            x += run;
            continue;
        }
        // Literal stretch: up to the next run of three equal pixels.
        int end = x;
        while (end < w && end - x < 255) {
            if (end + 2 < w && image.At(end, y) == image.At(end + 1, y) &&
                image.At(end, y) == image.At(end + 2, y)) {
                break;
            }
            ++end;
        }
        const int count = end - x;
        if (count < 3) {
            for (int i = 0; i < count; ++i) {
                put(1);
                put(image.At(x + i, y));
            }
        } else {
            put(0);
            put(count);
            for (int i = 0; i < count; ++i) put(image.At(x + i, y));
            if (count % 2) put(0);
        }
        x = end;
    }
    put(0);
    put(0);
}

QByteArray Rle8(const IndexedImage& image) {
    QByteArray out;
    for (int y = image.height - 1; y >= 0; --y) EncodeRleRow(image, y, out);
    out.chop(2);  // the last end-of-line becomes end-of-bitmap
    out.append('\0').append('\1');
    return out;
}

}  // namespace

QByteArray PackedRows(const IndexedImage& image, int bitsPerPixel) {
    const int stride = ((image.width * bitsPerPixel + 31) / 32) * 4;
    QByteArray out;
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.width; ++x) {
            const int index = image.At(x, y);
            if (bitsPerPixel == 8) {
                row[x] = static_cast<char>(index);
            } else {
                row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? index : index << 4));
            }
        }
        out.append(row);
    }
    return out;
}

QByteArray WriteBmp(const IndexedImage& image, bool rle8) {
    const int colours = static_cast<int>(image.palette.size());
    const int bits = colours <= 16 ? 4 : 8;
    const QByteArray pixels = rle8 ? Rle8(image) : PackedRows(image, bits);
    const int offset = kFileHeaderSize + kInfoHeaderSize + 4 * colours;
    Bytes b;
    b.U8('B').U8('M').U32(offset + pixels.size()).U16(0).U16(0).U32(offset);
    b.U32(kInfoHeaderSize).U32(image.width).U32(image.height).U16(1).U16(bits);
    b.U32(rle8 ? kBiRle8 : kBiRgb).U32(pixels.size()).U32(0).U32(0).U32(colours).U32(0);
    for (QRgb c : image.palette) b.U8(qBlue(c)).U8(qGreen(c)).U8(qRed(c)).U8(0);
    return b.Raw(pixels).data();
}

}  // namespace resgen
