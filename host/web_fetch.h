// One web request through the system's own HTTP stack (WinINet): its TLS,
// its proxy settings, redirects followed. Blocking: for worker threads only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "catalogue/portable/text.h"

// Names the plugin and its version, and never begins with "Mozilla", which
// some servers refuse.
Text WebUserAgent();

enum class FetchOutcome {
    Answered,      // an HTTP answer, whatever its status, read whole
    Unreachable,   // no connection, or no answer in time
    TooLarge,      // longer than the caller takes
};

struct FetchResult {
    FetchOutcome outcome = FetchOutcome::Unreachable;
    DWORD status = 0;    // the HTTP status of an answer
    Text body;
};

// GET `address`, reading at most `maxBytes` of its answer. With `head`, an
// answer longer than that is cut rather than refused (a stream never ends),
// and its status line and headers go to `head` as they came.
FetchResult FetchAddress(const char* address, size_t maxBytes, Text* head = nullptr);
