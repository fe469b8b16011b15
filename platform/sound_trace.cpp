#include "platform/sound_trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void TraceSound(const char* kind, const char* name) {
    static const bool tracing = [] {
        const char* value = std::getenv("FIZMO_TRACE_SOUNDS");
        return value && std::strcmp(value, "1") == 0;
    }();
    if (!tracing) return;
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    std::printf("%s %s %lld\n", kind, name, static_cast<long long>(ms));
    std::fflush(stdout);
}
