#include "platform/resources.h"
#include "sound/wave_sound.h"

const unsigned char* LockWaveResource(const void* module, const char* name, std::size_t* size) {
    if (size) *size = 0;
    if (module) return nullptr;  // the program has no other modules
    const ResourceBytes bytes = FindWaveResource(name);
    if (size) *size = bytes.size;
    return bytes.data;
}
