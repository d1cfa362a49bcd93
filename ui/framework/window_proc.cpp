#include "ui/framework/message_dispatch.h"
#include "ui/framework/wnd.h"

LRESULT CALLBACK CWnd::WindowProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    CWnd* object = static_cast<CWnd*>(g_wndBindings.Find(hwnd));
    if (object == nullptr) return 0;

    if (message == WM_NCDESTROY) {
        // The window goes; the object keeps its handle and previous procedure.
        g_wndBindings.Remove(hwnd);
        return CallWindowProcA(object->previousProc, hwnd, message, first, second);
    }

    DispatchResult r = DispatchMessageTo(*object, DispatchKind::Window, message, first, second);
    if (!r.dispatched) return object->DefaultProc(message, first, second);
    if (message == WM_KEYDOWN || message == WM_KEYUP) return object->DefaultProc(message, first, second);
    if (message == WM_NOTIFY) return r.result ? r.notifyResult : object->DefaultProc(message, first, second);
    if (r.result) return r.result;
    return object->DefaultProc(message, first, second);
}
