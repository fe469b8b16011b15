#pragma once
// Where a widget's pixels lie in its window's backing store, so that a frame can be composed
// there and Qt's own full-frame copy to the store is spared. Only where the store is a plain
// image with a pixel for each of the widget's pixels, as on X11 and offscreen; elsewhere
// (Wayland's rotating buffers, a scaled screen) the frame is drawn into the store as before.

#include <QImage>
#include <optional>

class QWidget;

struct StoreArea {
    const uchar* bits = nullptr;  // the widget's top-left pixel in the store
    int width = 0;
    int height = 0;
    qsizetype bytesPerLine = 0;

    bool operator==(const StoreArea&) const = default;
};

// The widget's area in its window's store as it is now; none while a resize is pending.
std::optional<StoreArea> StoreAreaOf(QWidget& widget);

// The area as an image that draws into the store itself.
QImage ImageOver(const StoreArea& area);

// Whether `painter`'s device is the store of `widget`'s window.
bool PaintsIntoStore(QWidget& widget, const class QPainter& painter);
