#include "app/window_store.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

bool PlatformKeepsOneStoreImage() {
    static const bool keeps =
        QGuiApplication::platformName() == "xcb" || QGuiApplication::platformName() == "offscreen";
    return keeps;
}

// Where any screen is scaled, Qt may hand out a scaled copy of the store's image.
bool NoScreenIsScaled() {
    const auto screens = QGuiApplication::screens();
    return std::all_of(screens.begin(), screens.end(),
                       [](const QScreen* s) { return s->devicePixelRatio() == 1.0; });
}

// Pixels the game's 32-bit RGB can be written over: X11's store is premultiplied ARGB for
// Qt's own blending, but of a window without alpha, where every pixel is opaque.
bool HoldsOpaquePixels(const QImage& image, const QWidget& top) {
    if (image.format() == QImage::Format_RGB32) return true;
    const QWindow* handle = top.windowHandle();
    return image.format() == QImage::Format_ARGB32_Premultiplied && handle &&
           !handle->format().hasAlpha();
}

}  // namespace

std::optional<StoreArea> StoreAreaOf(QWidget& widget) {
    if (!PlatformKeepsOneStoreImage() || widget.devicePixelRatio() != 1.0 || !NoScreenIsScaled())
        return std::nullopt;
    QWidget* top = widget.window();
    QBackingStore* store = top->backingStore();
    // Qt makes the store again at its next paint when the window's size has changed.
    if (!store || store->size() != top->size() || top->size().isEmpty()) return std::nullopt;
    QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image) return std::nullopt;
    const QImage& image = *static_cast<const QImage*>(device);
    if (!HoldsOpaquePixels(image, *top) || image.devicePixelRatio() != 1.0 ||
        image.size() != store->size())
        return std::nullopt;
    const QRect area(widget.mapTo(top, QPoint(0, 0)), widget.size());
    if (area.isEmpty() || !image.rect().contains(area)) return std::nullopt;
    // constBits: bits() could detach the store's image from the memory the screen reads.
    return StoreArea{image.constBits() + area.y() * image.bytesPerLine() + area.x() * 4,
                     area.width(), area.height(), image.bytesPerLine()};
}

QImage ImageOver(const StoreArea& area) {
    return QImage(const_cast<uchar*>(area.bits), area.width, area.height, area.bytesPerLine,
                  QImage::Format_RGB32);
}

bool PaintsIntoStore(QWidget& widget, const QPainter& painter) {
    QBackingStore* store = widget.window()->backingStore();
    return store && painter.paintEngine() &&
           painter.paintEngine()->paintDevice() == store->paintDevice();
}
