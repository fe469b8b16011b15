// The committed pictures, sounds, icon and sample problems, read back byte by byte and through
// the program's own resource lookup.

#include "platform/resources.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QResource>
#include <QStringDecoder>
#include <map>

#include "res/resource_ids.h"

namespace {

QByteArray ReadRes(const QString& path) {
    QFile file(QStringLiteral(FIZMO_SOURCE_DIR "/res/") + path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

unsigned U16(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}
unsigned U32(const QByteArray& b, int at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

struct BitmapRow {
    int id, width, height, bits;
    bool rle8;
};
const BitmapRow kBitmaps[] = {
    {IDB_DIGIT[1], 48, 48, 4, false},       {IDB_SHIP, 177, 177, 4, false},
    {IDB_SHIP_MASK, 177, 177, 4, false},    {IDB_STAR_FIELD, 1280, 400, 8, false},
    {IDB_DIGIT[2], 48, 48, 4, false},       {IDB_DIGIT[3], 48, 48, 4, false},
    {IDB_DIGIT[4], 48, 48, 4, false},       {IDB_DIGIT[5], 48, 48, 4, false},
    {IDB_MISSILE, 48, 48, 4, false},        {IDB_MISSILE_MASK, 48, 48, 4, false},
    {IDB_DIGIT[6], 48, 48, 4, false},       {IDB_DIGIT[7], 48, 48, 4, false},
    {IDB_DIGIT[8], 48, 48, 4, false},       {IDB_DIGIT[9], 48, 48, 4, false},
    {IDB_DIGIT[0], 48, 48, 4, false},       {IDB_CORRECT_MARK, 48, 48, 4, false},
    {IDB_WRONG_MARK, 48, 48, 4, false},     {IDB_EXPLOSION, 48, 48, 4, false},
    {IDB_EXPLOSION_MASK, 48, 48, 4, false}, {IDB_MEADOW, 1280, 400, 8, true},
    {IDB_SKY, 1280, 400, 8, true},
};

QImage Decoded(int id) {
    return QImage::fromData(ReadRes(QStringLiteral("bmp/%1.bmp").arg(id)))
        .convertToFormat(QImage::Format_RGB32);
}

TEST(ResBitmaps, HeadersMatchTheImageTable) {
    for (const BitmapRow& row : kBitmaps) {
        SCOPED_TRACE(row.id);
        const QByteArray b = ReadRes(QStringLiteral("bmp/%1.bmp").arg(row.id));
        ASSERT_GT(b.size(), 54);
        EXPECT_EQ(b.left(2), "BM");
        EXPECT_EQ(U32(b, 2), static_cast<unsigned>(b.size()));
        EXPECT_EQ(U32(b, 10), 54u + 4u * (1u << row.bits));  // pixels right after the palette
        EXPECT_EQ(U32(b, 14), 40u);                          // BITMAPINFOHEADER
        EXPECT_EQ(static_cast<int>(U32(b, 18)), row.width);
        EXPECT_EQ(static_cast<int>(U32(b, 22)), row.height);  // positive: bottom-up
        EXPECT_EQ(static_cast<int>(U16(b, 28)), row.bits);
        EXPECT_EQ(U32(b, 30), row.rle8 ? 1u : 0u);
        EXPECT_EQ(U32(b, 34), b.size() - U32(b, 10));
        // Qt decodes every one of them, RLE8 included.
        EXPECT_EQ(Decoded(row.id).size(), QSize(row.width, row.height));
    }
}

TEST(ResBitmaps, BackgroundHalvesAreEqualAndLookRight) {
    for (int id : {IDB_STAR_FIELD, IDB_MEADOW, IDB_SKY}) {
        SCOPED_TRACE(id);
        const QImage image = Decoded(id);
        ASSERT_EQ(image.width(), 1280);
        EXPECT_EQ(image.copy(0, 0, 640, 400), image.copy(640, 0, 640, 400));
    }
    // Upside-down or garbled decoding would put the wrong colours here.
    const QRgb space = Decoded(IDB_STAR_FIELD).pixel(5, 3),
               grass = Decoded(IDB_MEADOW).pixel(20, 395);
    const QRgb skyTop = Decoded(IDB_SKY).pixel(5, 3), skyBottom = Decoded(IDB_SKY).pixel(5, 397);
    EXPECT_LT(qRed(space) + qGreen(space) + qBlue(space), 150);
    EXPECT_GT(qGreen(grass), qRed(grass) + 60);
    EXPECT_GT(qBlue(skyTop), qRed(skyTop) + 80);
    EXPECT_GT(qGray(skyBottom), qGray(skyTop));
}

TEST(ResBitmaps, MasksAreBlackExactlyWhereTheirSpritesHaveColour) {
    for (auto [spriteId, maskId] : {std::pair{IDB_SHIP, IDB_SHIP_MASK},
                                    {IDB_MISSILE, IDB_MISSILE_MASK},
                                    {IDB_EXPLOSION, IDB_EXPLOSION_MASK}}) {
        SCOPED_TRACE(spriteId);
        const QImage sprite = Decoded(spriteId), mask = Decoded(maskId);
        ASSERT_EQ(sprite.size(), mask.size());
        int shape = 0;
        for (int y = 0; y < sprite.height(); ++y) {
            for (int x = 0; x < sprite.width(); ++x) {
                const QRgb m = mask.pixel(x, y) & 0xFFFFFF, s = sprite.pixel(x, y) & 0xFFFFFF;
                ASSERT_TRUE(m == 0 || m == 0xFFFFFF) << x << "," << y;
                // White mask over a non-black sprite would XOR a false colour into the scene.
                ASSERT_EQ(m == 0xFFFFFF, s == 0) << x << "," << y;
                shape += m == 0;
            }
        }
        EXPECT_GT(shape, sprite.width() * sprite.height() / 8);
        EXPECT_EQ(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);  // the corners show the scene
    }
}

TEST(ResBitmaps, DigitTilesAreDistinctBlueDigitsOnWhiteInARedFrame) {
    std::vector<QImage> tiles;
    for (int id : IDB_DIGIT) {
        SCOPED_TRACE(id);
        const QImage tile = Decoded(id);
        const QRgb frame = tile.pixel(0, 0), inner = tile.pixel(6, 6);
        EXPECT_GT(qRed(frame), 200);
        EXPECT_LT(qGreen(frame), 80);
        EXPECT_EQ(inner & 0xFFFFFF, 0xFFFFFFu);
        int blue = 0;
        for (int y = 4; y < 44; ++y) {
            for (int x = 4; x < 44; ++x) {
                const QRgb c = tile.pixel(x, y);
                blue += qBlue(c) > 180 && qRed(c) < 80;
            }
        }
        EXPECT_GT(blue, 150);  // a thick digit, not a thin one
        for (const QImage& other : tiles) EXPECT_NE(tile, other);
        tiles.push_back(tile);
    }
}

struct WaveRow {
    const char* name;
    unsigned channels, rate, dataBytes, totalBytes;
    bool list;
};
const WaveRow kWaves[] = {
    {"PINPON", 1, 8000, 5789, 5916, true},     {"BGM", 1, 11025, 220707, 220834, true},
    {"BOMB", 2, 22050, 195370, 195414, false}, {"FIZMO", 1, 8000, 1528, 1654, true},
    {"BOO", 1, 8000, 3713, 3840, true},        {"CLEAR", 2, 22050, 174342, 174468, true},
};

TEST(ResWaves, ChunkLayoutMatchesTheWaveTable) {
    for (const WaveRow& row : kWaves) {
        SCOPED_TRACE(row.name);
        const QByteArray b = ReadRes(QStringLiteral("wav/%1.wav").arg(row.name));
        ASSERT_EQ(static_cast<unsigned>(b.size()), row.totalBytes);
        EXPECT_EQ(b.mid(0, 4), "RIFF");
        EXPECT_EQ(U32(b, 4), row.totalBytes - 8);
        EXPECT_EQ(b.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(U32(b, 16), 16u);
        EXPECT_EQ(U16(b, 20), 1u);  // PCM
        EXPECT_EQ(U16(b, 22), row.channels);
        EXPECT_EQ(U32(b, 24), row.rate);
        EXPECT_EQ(U32(b, 28), row.rate * row.channels);
        EXPECT_EQ(U16(b, 32), row.channels);
        EXPECT_EQ(U16(b, 34), 8u);
        EXPECT_EQ(b.mid(36, 4), "data");
        EXPECT_EQ(U32(b, 40), row.dataBytes);
        const unsigned next = 44 + row.dataBytes + row.dataBytes % 2;
        if (row.dataBytes % 2) {
            EXPECT_EQ(b[next - 1], '\0');
        }
        if (!row.list) {
            EXPECT_EQ(next, row.totalBytes);
            continue;
        }
        EXPECT_EQ(b.mid(next, 4), "LIST");
        EXPECT_EQ(next + 8 + U32(b, next + 4), row.totalBytes);
        EXPECT_EQ(b.mid(next + 8, 4), "INFO");
    }
}

TEST(ResWaves, SoundsStartAndEndInSilenceAndNeverClip) {
    for (const WaveRow& row : kWaves) {
        SCOPED_TRACE(row.name);
        const QByteArray b = ReadRes(QStringLiteral("wav/%1.wav").arg(row.name));
        const QByteArray pcm = b.mid(44, row.dataBytes);
        ASSERT_EQ(static_cast<unsigned>(pcm.size()), row.dataBytes);
        int low = 255, high = 0;
        for (char c : pcm) {
            low = std::min(low, int(static_cast<std::uint8_t>(c)));
            high = std::max(high, int(static_cast<std::uint8_t>(c)));
        }
        EXPECT_GT(low, 0);
        EXPECT_LT(high, 255);
        EXPECT_GT(high - low, 100);  // clearly audible
        // The first and last frames are silence and the ends fade (no clicks; the music's
        // loop seam is silence meeting silence).
        for (unsigned i = 0; i < row.channels; ++i) {
            EXPECT_EQ(static_cast<std::uint8_t>(pcm[i]), 128);
            EXPECT_EQ(static_cast<std::uint8_t>(pcm[pcm.size() - 1 - i]), 128);
        }
        for (unsigned i = 0; i < 16 * row.channels; ++i) {
            const int allowed = 1 + 3 * static_cast<int>(i / row.channels);
            EXPECT_NEAR(static_cast<std::uint8_t>(pcm[i]), 128, allowed);
            EXPECT_NEAR(static_cast<std::uint8_t>(pcm[pcm.size() - 1 - i]), 128, allowed);
        }
    }
}

TEST(ResWaves, MusicLoopsThroughSilence) {
    // The music restarts from its first sample after its last: both sides of that seam must
    // be quiet, or every loop clicks.
    const QByteArray pcm = ReadRes(QStringLiteral("wav/BGM.wav")).mid(44, 220707);
    ASSERT_EQ(pcm.size(), 220707);
    const int tail = 11025 / 5;
    for (int i = pcm.size() - tail; i < pcm.size(); ++i) {
        ASSERT_NEAR(static_cast<std::uint8_t>(pcm[i]), 128, 2) << i;
    }
}

TEST(ResProblems, MondaiDatHoldsFourLineProblemsInShiftJis) {
    const QByteArray file = ReadRes(QStringLiteral("Mondai.dat"));
    ASSERT_TRUE(file.endsWith("\r\n"));
    QList<QByteArray> lines = file.split('\n');
    lines.removeLast();
    ASSERT_EQ(lines.size() % 4, 0);
    EXPECT_GE(lines.size() / 4, 20);
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i + 1);
        ASSERT_TRUE(lines[i].endsWith('\r'));
        const QByteArray text = lines[i].chopped(1);
        if (i % 4 == 3) {
            ASSERT_FALSE(text.isEmpty());
            for (char c : text) ASSERT_TRUE(c >= '0' && c <= '9');
            EXPECT_LE(text.toInt(), 100);
            continue;
        }
        // The game reads a text line with its line feed into 79 bytes.
        EXPECT_LT(text.size() + 1, 79);
        QStringDecoder sjis("windows-31j");
        const QString decoded = sjis.decode(text);
        EXPECT_FALSE(sjis.hasError());
        EXPECT_FALSE(decoded.contains(QChar::ReplacementCharacter));
        EXPECT_GT(text.size(), decoded.size());  // Japanese, not ASCII
    }
}

TEST(ResLookup, EveryBitmapLoadsAsRgb32AndAMissingIdLeavesTheImage) {
    for (const BitmapRow& row : kBitmaps) {
        SCOPED_TRACE(row.id);
        QImage image;
        ASSERT_TRUE(LoadBitmapResource(row.id, &image));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(image.size(), QSize(row.width, row.height));
        EXPECT_EQ(image, Decoded(row.id));
    }
    QImage kept(3, 2, QImage::Format_RGB32);
    kept.fill(Qt::green);
    const QImage before = kept;
    EXPECT_FALSE(LoadBitmapResource(999, &kept));
    EXPECT_EQ(kept, before);
}

TEST(ResLookup, WavesAreFoundByNameInAnyCaseAndKeptUncompressed) {
    for (const WaveRow& row : kWaves) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        const ResourceBytes found = FindWaveResource(name.toLower().toLatin1().constData());
        ASSERT_NE(found.data, nullptr);
        const QByteArray committed = ReadRes(QStringLiteral("wav/%1.wav").arg(name));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(found.data),
                             static_cast<qsizetype>(found.size)),
                  committed);
        const ResourceBytes again = FindWaveResource(row.name);
        EXPECT_EQ(again.data, found.data);  // the same bytes for the whole run
        EXPECT_EQ(QResource(QStringLiteral(":/wav/%1.wav").arg(name)).compressionAlgorithm(),
                  QResource::NoCompression);
    }
    EXPECT_EQ(FindWaveResource("Pinpon").size, 5916u);
    EXPECT_EQ(FindWaveResource("nosuch").data, nullptr);
}

TEST(ResIcon, IconIsARocketOnATransparentGround) {
    const QByteArray ico = ReadRes(QStringLiteral("fizmo.ico"));
    ASSERT_GT(ico.size(), 22 + 40);
    EXPECT_EQ(U16(ico, 2), 1u);  // icon, not cursor
    EXPECT_EQ(U16(ico, 4), 1u);
    EXPECT_EQ(static_cast<std::uint8_t>(ico[6]), 32);
    EXPECT_EQ(static_cast<std::uint8_t>(ico[7]), 32);
    EXPECT_EQ(static_cast<std::uint8_t>(ico[8]), 16);
    EXPECT_EQ(U16(ico, 12), 4u);
    EXPECT_EQ(U32(ico, 14) + U32(ico, 18), static_cast<unsigned>(ico.size()));
    EXPECT_EQ(U32(ico, 22 + 8), 64u);  // colour rows and AND-mask rows
    // The AND mask's first stored row is the bottom row: its corner is transparent.
    const int andMask = ico.size() - 32 * 4;
    EXPECT_TRUE(static_cast<std::uint8_t>(ico[andMask]) & 0x80);
    for (const QString& path : {QStringLiteral(":/fizmo.png"), QStringLiteral(":/fizmo.ico")}) {
        SCOPED_TRACE(path.toStdString());
        const QImage icon = QImage(path).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(32, 32));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(8, 16)), 255);
        EXPECT_GT(qRed(icon.pixel(6, 12)), 200);  // red body
    }
    EXPECT_EQ(QImage(QStringLiteral(":/fizmo-128.png")).size(), QSize(128, 128));
}

TEST(ResIcon, IcoAndPngShowTheSamePicture) {
    const QImage ico = QImage(QStringLiteral(":/fizmo.ico")).convertToFormat(QImage::Format_ARGB32);
    const QImage png = QImage(QStringLiteral(":/fizmo.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(ico.size(), png.size());
    for (int y = 0; y < ico.height(); ++y) {
        for (int x = 0; x < ico.width(); ++x) {
            ASSERT_EQ(qAlpha(ico.pixel(x, y)), qAlpha(png.pixel(x, y))) << x << "," << y;
            if (qAlpha(png.pixel(x, y))) {
                ASSERT_EQ(ico.pixel(x, y), png.pixel(x, y)) << x << "," << y;
            }
        }
    }
}

}  // namespace
