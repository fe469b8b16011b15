// The generator in tools/resgen reproduces res/ (antialiased icons to the rounding), and its
// run-length encoding reads back through Qt like the plain encoding.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "tools/resgen/bmp_writer.h"
#include "tools/resgen/icon_writer.h"
#include "tools/resgen/resgen.h"

namespace {

// Qt's antialiasing rounds differently on different processors, by at most one step.
bool AlikeUpToRounding(const QByteArray& a, const QByteArray& b) {
    const QImage x = QImage::fromData(a).convertToFormat(QImage::Format_ARGB32);
    const QImage y = QImage::fromData(b).convertToFormat(QImage::Format_ARGB32);
    if (x.isNull() || x.size() != y.size()) return false;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            for (int shift : {0, 8, 16, 24})
                if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > 1) return false;
        }
    }
    return true;
}

TEST(ResGenerator, ReproducesTheCommittedFiles) {
    const auto files = resgen::GenerateAll();
    QTemporaryDir out;
    ASSERT_TRUE(resgen::WriteAll(out.path(), files));
    const QDir res(QStringLiteral(FIZMO_SOURCE_DIR "/res"));
    QStringList generated;
    for (const auto& file : files) {
        SCOPED_TRACE(file.path.toStdString());
        generated << file.path;
        QFile committed(res.filePath(file.path)), written(QDir(out.path()).filePath(file.path));
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray want = committed.readAll(), got = written.readAll();
        if (file.path.endsWith(QStringLiteral(".png")))
            EXPECT_TRUE(AlikeUpToRounding(want, got)) << "regenerate with fizmo_resgen";
        else
            EXPECT_TRUE(want == got) << "regenerate with fizmo_resgen";
    }
    // Nothing stale left behind in the generated folders.
    for (const QString& folder :
         {QStringLiteral("bmp"), QStringLiteral("wav"), QStringLiteral("icons")}) {
        QDirIterator it(res.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = res.relativeFilePath(it.next());
            EXPECT_TRUE(generated.contains(name)) << name.toStdString();
        }
    }
    // A picture of everything, for people to look at.
    resgen::ContactSheet(files).save(QStringLiteral(FIZMO_BUILD_DIR "/res_contact_sheet.png"));
}

TEST(ResGenerator, RunLengthEncodingDecodesLikeThePlainRows) {
    // Rows with every case: long runs over 255, pairs, odd and even literal stretches, and a
    // literal stretch at the row's end.
    resgen::IndexedImage image{301, 5, std::vector<QRgb>(256), {}};
    for (int i = 0; i < 256; ++i) image.palette[i] = qRgb(i, 255 - i, (i * 7) & 0xFF);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int pattern[5] = {x < 280 ? 7 : x, x / 2, x % 5 < 3 ? 9 : x, (x * x) % 11, 3};
            image.pixels.push_back(static_cast<std::uint8_t>(pattern[y]));
        }
    }
    const QImage plain = QImage::fromData(resgen::WriteBmp(image, false));
    const QImage rle = QImage::fromData(resgen::WriteBmp(image, true));
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(rle.convertToFormat(QImage::Format_RGB32),
              plain.convertToFormat(QImage::Format_RGB32));
}

TEST(ResGenerator, PngEncodingDecodesToTheSamePixels) {
    // Runs longer than one back-reference, rows repeating the row above, transparent areas,
    // and every byte value as a literal.
    QImage image(300, 7, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const unsigned noise = (x * 2654435761u + y * 40503u) >> 7;
            const QRgb pixels[7] = {0u,
                                    qRgba(200, 10, 30, 255),
                                    qRgba(200, 10, 30, 255),
                                    noise | 0xFF000000u,
                                    x < 150 ? 0u : noise,
                                    qRgba(x, 255 - x, y, x),
                                    qRgba(x & 0xF0, 0, 0, 255)};
            image.setPixel(x, y, pixels[y]);
        }
    }
    const QImage decoded = QImage::fromData(resgen::WritePng(image), "PNG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_ARGB32), image);
}

}  // namespace
