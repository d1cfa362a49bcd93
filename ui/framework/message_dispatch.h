// Unpacks a window message into the matching virtual operation of a wrapper.
#pragma once

#include <windows.h>

class CWnd;

enum class DispatchKind { Window, Dialog };

struct DispatchResult {
    bool dispatched;   // a handler was called
    int result;        // the handler's result
    LRESULT notifyResult;  // the value a WM_NOTIFY handler stored
};

DispatchResult DispatchMessageTo(CWnd& object, DispatchKind kind, UINT message, WPARAM first, LPARAM second);
