// The mouse interaction of the skinned scroll bars: hit codes, presses with
// capture and auto-repeat, thumb dragging, hover tracking and their timers.
#pragma once

#include "scrollbars/skinned_scroll_bars.h"

// Handles the mouse, timer and capture messages of an attached window.
// Returns true when the message is consumed, with its result in *result;
// false when it is to go on to the previous procedure.
bool HandleSkinnedScrollMouse(HWND window, SkinnedScrollWindow* record, UINT message, WPARAM first, LPARAM second,
                              LRESULT* result);

// Ends whatever the interaction holds on `window` (a held part with its
// capture and repeat timer, the hover and its timer) without any message,
// for a window that loses its skinned bars or is destroyed. The rest of the
// shared record is left as it is.
void EndSkinnedScrollInteraction(HWND window);
