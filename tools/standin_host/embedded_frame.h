// The frame windows that the host creates for plugins (request 505).
#pragma once

#include <windows.h>

#include "host/host_protocol.h"

namespace standin {

// A new hidden, captioned, resizable frame owned by `owner`, placed at the
// screen rectangle in bytes 8..23 of the plugin's 284-byte block (int32
// left, top, right, bottom). The frame sizes its children to fill it and
// hides itself when closed. 0 on failure or without a block.
HWND CreateEmbeddedFrame(HWND owner, const void* frameState);

}  // namespace standin
