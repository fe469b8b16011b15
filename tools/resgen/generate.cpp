#include <QDir>
#include <QFile>
#include <algorithm>

#include "res/resource_ids.h"
#include "tools/resgen/bmp_writer.h"
#include "tools/resgen/draw.h"
#include "tools/resgen/icon_writer.h"
#include "tools/resgen/pictures.h"
#include "tools/resgen/problems.h"
#include "tools/resgen/resgen.h"
#include "tools/resgen/sounds.h"

namespace resgen {

std::vector<Picture> MakePictures() {
    std::vector<Picture> pictures;
    for (int digit = 0; digit < 10; ++digit) {
        pictures.push_back({IDB_DIGIT[digit], DigitTile(digit), false});
    }
    const IndexedImage ship = Ship(), missile = Missile(), explosion = Explosion();
    pictures.push_back({IDB_SHIP, ship, false});
    pictures.push_back({IDB_SHIP_MASK, MaskOf(ship), false});
    pictures.push_back({IDB_STAR_FIELD, StarField(), false});
    pictures.push_back({IDB_MISSILE, missile, false});
    pictures.push_back({IDB_MISSILE_MASK, MaskOf(missile), false});
    pictures.push_back({IDB_CORRECT_MARK, CorrectMark(), false});
    pictures.push_back({IDB_WRONG_MARK, WrongMark(), false});
    pictures.push_back({IDB_EXPLOSION, explosion, false});
    pictures.push_back({IDB_EXPLOSION_MASK, MaskOf(explosion), false});
    pictures.push_back({IDB_MEADOW, Meadow(), true});
    pictures.push_back({IDB_SKY, Sky(), true});
    std::sort(pictures.begin(), pictures.end(),
              [](const Picture& a, const Picture& b) { return a.id < b.id; });
    return pictures;
}

std::vector<OutputFile> GenerateAll() {
    std::vector<OutputFile> files;
    for (const Picture& picture : MakePictures()) {
        files.push_back(
            {QStringLiteral("bmp/%1.bmp").arg(picture.id), WriteBmp(picture.image, picture.rle8)});
    }
    for (const Wave& wave : MakeSounds()) {
        files.push_back(
            {QStringLiteral("wav/%1.wav").arg(QString::fromStdString(wave.name)), WriteWav(wave)});
    }
    const Icon icon = MakeIcon();
    files.push_back({QStringLiteral("fizmo.ico"), WriteIco(icon.image, icon.opaque)});
    // Laid out as in an icon theme, so that the folder installs as it is.
    const QString themed = QStringLiteral("icons/%1x%1/apps/fizmo.png");
    files.push_back({themed.arg(32), WritePng(icon.withAlpha)});
    for (const QImage& image : icon.smooth) {
        files.push_back({themed.arg(image.width()), WritePng(image)});
    }
    files.push_back({QStringLiteral("Mondai.dat"), MondaiDat()});
    return files;
}

bool WriteAll(const QString& folder, const std::vector<OutputFile>& files) {
    const QDir root(folder);
    for (const OutputFile& file : files) {
        const QString path = root.filePath(file.path);
        if (!QDir().mkpath(QFileInfo(path).path())) return false;
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size()) {
            return false;
        }
    }
    return true;
}

}  // namespace resgen
