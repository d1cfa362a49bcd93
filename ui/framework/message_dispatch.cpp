#include "ui/framework/message_dispatch.h"

#include "ui/framework/wnd.h"

DispatchResult DispatchMessageTo(CWnd& o, DispatchKind kind, UINT message, WPARAM first, LPARAM second) {
    const int low = LOWORD(second);
    const int high = HIWORD(second);
    const int signedLow = static_cast<short>(LOWORD(second));
    const int signedHigh = static_cast<short>(HIWORD(second));
    DispatchResult r{true, 0, 0};
    switch (message) {
    case WM_CREATE:
        if (kind == DispatchKind::Dialog) r.dispatched = false;
        else r.result = o.OnCreate(reinterpret_cast<CREATESTRUCTA*>(second));
        break;
    case WM_DESTROY: r.result = o.OnDestroy(); break;
    case WM_SIZE: r.result = o.OnSize(first, low, high); break;
    case WM_SETFOCUS: r.result = o.OnSetFocus(first); break;
    case WM_NEXTDLGCTL:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // In dialogs these all mean "put the focus where it belongs".
        if (kind == DispatchKind::Dialog) r.result = o.OnSetFocus(first);
        else r.dispatched = false;
        break;
    case WM_PAINT: r.result = o.OnPaint(first); break;
    case WM_CLOSE: r.result = o.OnClose(); break;
    case WM_SHOWWINDOW: r.result = o.OnShowWindow(first, second); break;
    case WM_DRAWITEM: r.result = o.OnDrawItem(first, reinterpret_cast<DRAWITEMSTRUCT*>(second)); break;
    case WM_WINDOWPOSCHANGED: r.result = o.OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(second)); break;
    case WM_NOTIFY: r.result = o.OnNotify(first, reinterpret_cast<NMHDR*>(second), &r.notifyResult); break;
    case WM_DISPLAYCHANGE: r.result = o.OnDisplayChange(first, low, high); break;
    case WM_NCMOUSEMOVE: r.result = o.OnNcMouseMove(first, signedLow, signedHigh); break;
    case WM_KEYDOWN: r.result = o.OnKeyDown(first, low, high); break;
    case WM_KEYUP: r.result = o.OnKeyUp(first, low, high); break;
    case WM_INITDIALOG: r.result = o.OnInitDialog(); break;
    case WM_COMMAND: {
        CWnd control(reinterpret_cast<HWND>(second));
        r.result = o.OnCommand(HIWORD(first), first, &control);
        break;
    }
    case WM_SYSCOMMAND: r.result = o.OnSysCommand(first, second, high); break;
    case WM_MOUSEMOVE: r.result = o.OnMouseMove(first, signedLow, signedHigh); break;
    case WM_DROPFILES: r.result = o.OnDropFiles(first, second); break;
    default: r.dispatched = false; break;
    }
    return r;
}
