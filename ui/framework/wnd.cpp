#include "ui/framework/wnd.h"

const char kWndProperty[] = "ONDARIA2_CWNDb";
const char kDialogProperty[] = "ONDARIA2_CDIALOGb";
WindowPropertyCache g_wndBindings(kWndProperty);
WindowPropertyCache g_dialogBindings(kDialogProperty);

CWnd::CWnd() : window(nullptr), parentWindow(nullptr), instance(nullptr), previousProc(nullptr) {}

CWnd::CWnd(HWND hwnd) : window(hwnd), parentWindow(nullptr), instance(nullptr), previousProc(nullptr) {}

CWnd::~CWnd() {
    window = nullptr;
    parentWindow = nullptr;
    instance = nullptr;
    previousProc = nullptr;
}

int CWnd::Show(int showCommand) { return window ? ::ShowWindow(window, showCommand) : 0; }

int CWnd::Attach(HWND hwnd, WNDPROC procedure) {
    if (hwnd == nullptr) return 0;
    previousProc = reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC));
    window = hwnd;
    // The property must exist before the first message reaches the new procedure.
    g_wndBindings.Set(hwnd, this);
    SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(procedure));
    return 1;
}

int CWnd::Subclass(HWND hwnd) { return Attach(hwnd, &CWnd::WindowProc); }

HWND CWnd::Detach(WNDPROC procedure) {
    if (previousProc == nullptr) return window;
    HWND held = window;
    if (held) {
        g_wndBindings.Remove(held);
        // A procedure installed over ours stays: bindings are undone in reverse order.
        if (reinterpret_cast<WNDPROC>(GetWindowLongA(held, GWL_WNDPROC)) == procedure) {
            SetWindowLongA(held, GWL_WNDPROC, reinterpret_cast<LONG>(previousProc));
        }
    }
    window = nullptr;
    return held;
}

HWND CWnd::Unsubclass() { return Detach(&CWnd::WindowProc); }

int CWnd::OnCancel() { return window ? ::EndDialog(window, 2) : 0; }
int CWnd::OnClose() { return 0; }

int CWnd::OnCommand(int, WPARAM commandArg, CWnd*) {
    switch (LOWORD(commandArg)) {
    case IDOK:
        OnOK();
        return 1;
    case IDCANCEL:
        OnCancel();
        return 1;
    default:
        return 0;
    }
}

int CWnd::OnCreate(CREATESTRUCTA*) { return 0; }
int CWnd::OnDestroy() { return 0; }
int CWnd::OnDisplayChange(WPARAM, int, int) { return 0; }
int CWnd::OnDrawItem(WPARAM, DRAWITEMSTRUCT*) { return 0; }
int CWnd::OnInitDialog() { return 0; }
int CWnd::OnKeyDown(WPARAM, int, int) { return 0; }
int CWnd::OnKeyUp(WPARAM, int, int) { return 0; }
int CWnd::OnMouseMove(WPARAM, int, int) { return 0; }
int CWnd::OnNcMouseMove(WPARAM, int, int) { return 0; }
int CWnd::OnNotify(WPARAM, NMHDR*, LRESULT*) { return 0; }
int CWnd::OnOK() { return window ? ::EndDialog(window, 1) : 0; }
int CWnd::OnPaint(WPARAM) { return 0; }
int CWnd::OnShowWindow(WPARAM, LPARAM) { return 0; }
int CWnd::OnSize(WPARAM, int, int) { return 0; }
int CWnd::OnSysCommand(WPARAM, LPARAM, int) { return 0; }
int CWnd::OnWindowPosChanged(WINDOWPOS*) { return 0; }
int CWnd::OnDropFiles(WPARAM, LPARAM) { return 0; }
int CWnd::OnSetFocus(WPARAM) { return 0; }

LRESULT CWnd::DefaultProc(UINT message, WPARAM first, LPARAM second) {
    if (previousProc) return CallWindowProcA(previousProc, window, message, first, second);
    return DefWindowProcA(window, message, first, second);
}

BOOL CWnd::IsWindow() const { return window ? ::IsWindow(window) : 0; }
BOOL CWnd::IsWindowVisible() const { return window ? ::IsWindowVisible(window) : 0; }
CWnd CWnd::GetDlgItem(int id) const { return window ? CWnd(::GetDlgItem(window, id)) : CWnd(); }
CWnd CWnd::GetParent() const { return window ? CWnd(::GetParent(window)) : CWnd(); }
void CWnd::CheckDlgButton(int id, UINT state) const {
    if (window) ::CheckDlgButton(window, id, state);
}
void CWnd::UpdateWindow() const {
    if (window) ::UpdateWindow(window);
}
void CWnd::SetWindowTextA(const char* text) const {
    if (window) ::SetWindowTextA(window, text);
}
void CWnd::ScreenToClient(POINT* point) const {
    if (window) ::ScreenToClient(window, point);
}
void CWnd::GetClientRect(RECT* rect) const {
    if (window) ::GetClientRect(window, rect);
}
void CWnd::GetWindowRect(RECT* rect) const {
    if (window) ::GetWindowRect(window, rect);
}
UINT CWnd::IsDlgButtonChecked(int id) const { return window ? ::IsDlgButtonChecked(window, id) : 0; }
BOOL CWnd::EndDialog(INT_PTR result) const { return window ? ::EndDialog(window, result) : 0; }
BOOL CWnd::DestroyWindow() const { return window ? ::DestroyWindow(window) : 0; }
LRESULT CWnd::SendMessageA(UINT message, WPARAM first, LPARAM second) const {
    return (window && ::IsWindow(window)) ? ::SendMessageA(window, message, first, second) : 0;
}
HWND CWnd::SafeHandle() const { return (window && ::IsWindow(window)) ? window : nullptr; }
HWND CWnd::HandleOf(const CWnd* wrapper) { return wrapper ? wrapper->window : nullptr; }
