// Where the panel's frame opens: the rectangle kept in the settings when it
// can still be seen and used, else beside the host's window.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t left, top, right, bottom;
};

// The smallest frame that still shows the panel's bar of controls.
constexpr int32_t kMinimumFrameWidth = 216;
constexpr int32_t kMinimumFrameHeight = 64;
// The frame's width when it opens beside the host's window.
constexpr int32_t kDefaultFrameWidth = 320;
// Window messages carry positions and sizes in 16 signed bits (WM_MOVE,
// WM_SIZE): no frame can stand beyond them.
constexpr int32_t kFrameCoordinateLimit = 32767;

// True for a kept rectangle that is the right way round, at least the
// minimum size, within the 16-bit coordinates of window messages, and
// overlaps one of the work areas (the screens as they are now, a monitor may
// have been unplugged since).
bool IsUsableFrameRect(const ScreenRect& kept, const ScreenRect* workAreas, int workAreaCount);

// Left of the host's window, as tall as it; coordinates saturate at the
// limits of 32 bits instead of wrapping round.
ScreenRect FrameBesideHost(const ScreenRect& host);
