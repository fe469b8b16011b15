#include <QPainter>
#include <map>

#include "res/resource_ids.h"
#include "tools/resgen/resgen.h"

namespace resgen {
namespace {

class Sheet {
public:
    explicit Sheet(int width) : image_(width, 3000, QImage::Format_RGB32) {
        image_.fill(QColor(0x707880));
        painter_.begin(&image_);
    }

    // Places `picture` at 1:1 and at `zoom` (nearest neighbour, as the game stretches).
    void Add(const QImage& picture, int zoom = 2) {
        const QImage big =
            picture.scaled(picture.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const int w = picture.width() + big.width() + 12;
        if (x_ + w > image_.width()) NewRow();
        painter_.drawImage(x_, y_, picture);
        painter_.drawImage(x_ + picture.width() + 4, y_, big);
        x_ += w;
        rowHeight_ = std::max(rowHeight_, big.height());
    }

    void AddFree(const QImage& picture) {
        if (x_ + picture.width() > image_.width()) NewRow();
        painter_.drawImage(x_, y_, picture);
        x_ += picture.width() + 8;
        rowHeight_ = std::max(rowHeight_, picture.height());
    }

    void NewRow() {
        y_ += rowHeight_ + 10;
        x_ = 8;
        rowHeight_ = 0;
    }

    QImage Finish() {
        painter_.end();
        return image_.copy(0, 0, image_.width(), y_ + rowHeight_ + 8);
    }

private:
    QImage image_;
    QPainter painter_;
    int x_ = 8, y_ = 8, rowHeight_ = 0;
};

// The game's way of drawing a masked sprite: AND with the mask, then XOR with the sprite.
void Masked(QImage& target, QPoint at, const QImage& sprite, const QImage& mask) {
    QPainter p(&target);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(at, mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(at, sprite);
}

using Bitmaps = std::map<QString, QImage>;  // by file name without extension

QImage& Bmp(Bitmaps& bmp, int id) {
    return bmp[QString::number(id)];
}

QImage Scene(const QImage& background, Bitmaps& bmp) {
    QImage scene = background.copy(320, 0, 640, 400).convertToFormat(QImage::Format_RGB32);
    Masked(scene, {420, 110}, Bmp(bmp, IDB_SHIP), Bmp(bmp, IDB_SHIP_MASK));
    Masked(scene, {330, 175}, Bmp(bmp, IDB_MISSILE), Bmp(bmp, IDB_MISSILE_MASK));
    Masked(scene, {200, 170}, Bmp(bmp, IDB_EXPLOSION), Bmp(bmp, IDB_EXPLOSION_MASK));
    QPainter p(&scene);
    p.drawImage(QRect(40, 60, 30, 30), Bmp(bmp, IDB_DIGIT[7]));
    p.drawImage(QRect(40, 120, 90, 90), Bmp(bmp, IDB_DIGIT[3]));
    return scene;
}

constexpr int kBackgroundIds[] = {IDB_STAR_FIELD, IDB_MEADOW, IDB_SKY};

}  // namespace

QImage ContactSheet(const std::vector<OutputFile>& files) {
    Bitmaps bmp;
    Sheet sheet(1960);
    for (const OutputFile& file : files) {
        if (!file.path.startsWith("bmp/") && !file.path.endsWith(".png")) continue;
        const QImage image = QImage::fromData(file.bytes).convertToFormat(QImage::Format_ARGB32);
        bmp[file.path.section('/', -1).section('.', 0, 0)] = image;
        if (image.width() >= 600) continue;
        sheet.Add(image, image.width() <= 48 ? 3 : 2);
    }
    sheet.NewRow();
    for (const int id : kBackgroundIds) sheet.Add(Bmp(bmp, id), 1);
    sheet.NewRow();
    for (const int id : kBackgroundIds) sheet.AddFree(Scene(Bmp(bmp, id), bmp));
    return sheet.Finish();
}

}  // namespace resgen
