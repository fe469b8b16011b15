#include "game/stretched_background.h"

bool StretchedBackground::Holds(std::int64_t pictureKey, int width) const {
    return builds_ > 0 && pictureKey == pictureKey_ && width == width_;
}

// Every column of the picture, stretched as the cut is, at the cut's own height: the rows
// a frame needs, whatever its height.
void StretchedBackground::Build(Surface* source, SIZE picture, int width, int cutWidth,
                                int cutHeight) {
    const int cuts = (picture.cx + cutWidth - 1) / cutWidth;
    // Made here, not with the view: the pilot's forecasts make views by the hundred.
    if (!surface_.HasSurface()) surface_.CreateCompatibleDC(nullptr);
    rows_.CreateCompatibleBitmap(cuts * width, cutHeight);
    surface_.SelectObject(&rows_);
    surface_.StretchBlt(0, 0, cuts * width, cutHeight, source, 0, 0, cuts * cutWidth, cutHeight,
                        SRCCOPY);
    pictureKey_ = source->TargetKey();
    width_ = width;
    ++builds_;
}

void StretchedBackground::Draw(Surface* dc, Surface* source, int scrollX, int width, int height,
                               int cutWidth, int cutHeight) {
    const SIZE picture = source->TargetSize();
    // The rows hold the cut from scrollX only where it starts on a whole pixel of the view,
    // and only where the whole cut lies in the picture.
    const bool wholePixel = (std::int64_t{scrollX} * width) % cutWidth == 0;
    const bool inside = scrollX >= 0 && scrollX + cutWidth <= picture.cx && cutHeight <= picture.cy;
    if (!wholePixel || !inside || width <= 0) {
        dc->StretchBlt(0, 0, width, height, source, scrollX, 0, cutWidth, cutHeight, SRCCOPY);
        return;
    }
    if (!Holds(source->TargetKey(), width)) Build(source, picture, width, cutWidth, cutHeight);
    const int from = static_cast<int>(std::int64_t{scrollX} * width / cutWidth);
    dc->StretchBlt(0, 0, width, height, &surface_, from, 0, width, cutHeight, SRCCOPY);
}
