#pragma once
// The program's own resources: bitmaps by integer id, wave files by name.

#include <QImage>
#include <cstddef>

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// Bitmap resource `id` converted to the display's format; false (and `out` untouched) if missing.
bool LoadBitmapResource(int id, QImage* out);

// The bytes of wave resource `name`, matched without regard to case; they stay valid and
// unchanged for the rest of the run. {nullptr, 0} when there is no such resource.
ResourceBytes FindWaveResource(const char* name);

// Tests put wave bytes of their own in front of the compiled-in ones; the bytes are copied
// and kept for the rest of the run. A null `data` removes the override.
void SetWaveResourceOverride(const char* name, const unsigned char* data, std::size_t size);
