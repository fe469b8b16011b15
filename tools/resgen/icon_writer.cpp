#include "tools/resgen/icon_writer.h"

#include <array>

#include "tools/resgen/bmp_writer.h"
#include "tools/resgen/bytes.h"

namespace resgen {
namespace {

std::uint32_t Crc32(const QByteArray& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : bytes) c = table[(c ^ static_cast<std::uint8_t>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const QByteArray& bytes) {
    std::uint32_t a = 1, b = 0;
    for (char ch : bytes) {
        a = (a + static_cast<std::uint8_t>(ch)) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// Bits go out least significant first; Huffman codes most significant first.
class BitWriter {
public:
    void Bits(std::uint32_t value, int count) {
        pending_ |= value << filled_;
        filled_ += count;
        for (; filled_ >= 8; filled_ -= 8, pending_ >>= 8) out_.append(char(pending_ & 0xFF));
    }
    void Code(std::uint32_t code, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
        Bits(reversed, length);
    }
    QByteArray Finish() {
        if (filled_ > 0) out_.append(char(pending_ & 0xFF));
        return out_;
    }

private:
    QByteArray out_;
    std::uint32_t pending_ = 0;
    int filled_ = 0;
};

// Symbol `symbol` of the fixed literal/length code.
void LiteralOrLength(BitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.Code(symbol - 256, 7);
    else
        bits.Code(0xC0 + symbol - 280, 8);
}

// One back-reference: `length` bytes from `distance` bytes back.
void Match(BitWriter& bits, int length, int distance) {
    static constexpr int kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                            15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                            67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int kDistanceBase[30] = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    int l = 28;
    while (kLengthBase[l] > length) --l;
    LiteralOrLength(bits, 257 + l);
    const int lengthExtra = l < 8 || l == 28 ? 0 : (l - 4) / 4;
    bits.Bits(length - kLengthBase[l], lengthExtra);
    int d = 29;
    while (kDistanceBase[d] > distance) --d;
    bits.Code(d, 5);
    bits.Bits(distance - kDistanceBase[d], d < 4 ? 0 : (d - 2) / 2);
}

// A zlib stream in one block of fixed codes. Icon art repeats the pixel before it and the row
// above it: those two back-references alone shrink it several times over, and unlike a general
// compressor the bytes depend on nothing but the pixels.
QByteArray Zlib(const QByteArray& raw, int rowBytes) {
    BitWriter bits;
    bits.Bits(1, 1);  // the last block
    bits.Bits(1, 2);  // fixed codes
    const auto* data = reinterpret_cast<const std::uint8_t*>(raw.constData());
    const qsizetype size = raw.size();
    for (qsizetype i = 0; i < size;) {
        int best = 0, bestDistance = 0;
        for (int distance : {4, rowBytes}) {
            if (i < distance) continue;
            int length = 0;
            while (length < 258 && i + length < size &&
                   data[i + length] == data[i + length - distance])
                ++length;
            if (length > best) {
                best = length;
                bestDistance = distance;
            }
        }
        if (best >= 3) {
            Match(bits, best, bestDistance);
            i += best;
        } else {
            LiteralOrLength(bits, data[i++]);
        }
    }
    LiteralOrLength(bits, 256);  // end of block
    QByteArray out("\x78\x01", 2);
    out.append(bits.Finish());
    AppendBe32(out, Adler32(raw));
    return out;
}

void AppendChunk(QByteArray& png, const char* type, const QByteArray& body) {
    AppendBe32(png, static_cast<std::uint32_t>(body.size()));
    const QByteArray typed = QByteArray(type, 4) + body;
    png.append(typed);
    AppendBe32(png, Crc32(typed));
}

}  // namespace

QByteArray WriteIco(const IndexedImage& image, const std::vector<std::uint8_t>& opaque) {
    const QByteArray colour = PackedRows(image, 4);
    const int maskStride = ((image.width + 31) / 32) * 4;
    QByteArray mask;
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < image.width; ++x) {
            if (!opaque[static_cast<std::size_t>(y) * image.width + x]) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        mask.append(row);
    }
    const int imageBytes = 40 + 16 * 4 + colour.size() + mask.size();
    Bytes b;
    b.U16(0).U16(1).U16(1);  // icon directory with one image
    b.U8(image.width).U8(image.height).U8(16).U8(0).U16(1).U16(4).U32(imageBytes).U32(22);
    // The header's height counts the colour and the mask rows together.
    b.U32(40).U32(image.width).U32(2 * image.height).U16(1).U16(4);
    b.U32(0).U32(colour.size() + mask.size()).U32(0).U32(0).U32(16).U32(0);
    for (QRgb c : image.palette) b.U8(qBlue(c)).U8(qGreen(c)).U8(qRed(c)).U8(0);
    return b.Raw(colour).Raw(mask).data();
}

QByteArray WritePng(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    QByteArray header;
    AppendBe32(header, rgba.width());
    AppendBe32(header, rgba.height());
    header.append("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, no interlace
    QByteArray raw;
    for (int y = 0; y < rgba.height(); ++y) {
        raw.append('\0');  // filter: none
        raw.append(reinterpret_cast<const char*>(rgba.constScanLine(y)), rgba.width() * 4);
    }
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", Zlib(raw, 1 + rgba.width() * 4));
    AppendChunk(png, "IEND", QByteArray());
    return png;
}

}  // namespace resgen
