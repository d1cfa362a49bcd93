#include "host/portable/frame_placement.h"

#include <initializer_list>
#include <limits>

namespace {

int32_t Saturated(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

bool IsUsableFrameRect(const ScreenRect& kept, const ScreenRect* workAreas, int workAreaCount) {
    // In 64 bits: stored values can be anything, and their differences overflow 32.
    const int64_t width = static_cast<int64_t>(kept.right) - kept.left;
    const int64_t height = static_cast<int64_t>(kept.bottom) - kept.top;
    if (width < kMinimumFrameWidth || height < kMinimumFrameHeight) return false;
    for (int32_t coordinate : {kept.left, kept.top, kept.right, kept.bottom}) {
        if (coordinate > kFrameCoordinateLimit || coordinate < -kFrameCoordinateLimit) return false;
    }
    for (int i = 0; i < workAreaCount; ++i) {
        const ScreenRect& area = workAreas[i];
        if (kept.left < area.right && area.left < kept.right && kept.top < area.bottom && area.top < kept.bottom)
            return true;
    }
    return false;
}

ScreenRect FrameBesideHost(const ScreenRect& host) {
    return {Saturated(static_cast<int64_t>(host.left) - kDefaultFrameWidth), host.top, host.left, host.bottom};
}
