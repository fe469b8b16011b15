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

// A zlib stream of stored blocks (at most 65535 bytes each).
QByteArray ZlibStored(const QByteArray& raw) {
    QByteArray out("\x78\x01", 2);
    qsizetype pos = 0;
    do {
        const int len = static_cast<int>(std::min<qsizetype>(65535, raw.size() - pos));
        const bool last = pos + len == raw.size();
        Bytes block;
        block.U8(last ? 1 : 0).U16(len).U16(~len & 0xFFFF).Raw(raw.mid(pos, len));
        out.append(block.data());
        pos += len;
    } while (pos < raw.size());
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
    AppendChunk(png, "IDAT", ZlibStored(raw));
    AppendChunk(png, "IEND", QByteArray());
    return png;
}

}  // namespace resgen
