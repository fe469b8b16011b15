#pragma once
// The background's rows stretched to the view's width once, for every frame after: a frame
// then only copies rows, where stretching samples every pixel again.

#include <cstdint>

#include "platform/gdi.h"

class StretchedBackground {
public:
    // Draws the cutWidth × cutHeight cut of the picture selected in `source`, from column
    // scrollX, over width × height of `dc`: pixel for pixel what that StretchBlt draws.
    void Draw(Surface* dc, Surface* source, int scrollX, int width, int height, int cutWidth,
              int cutHeight);
    // How often the stretched rows were made: once per width and picture.
    int Builds() const { return builds_; }

private:
    bool Holds(std::int64_t pictureKey, int width) const;
    void Build(Surface* source, SIZE picture, int width, int cutWidth, int cutHeight);

    Bitmap rows_;
    Surface surface_;
    std::int64_t pictureKey_ = 0;
    int width_ = 0;
    int builds_ = 0;
};
