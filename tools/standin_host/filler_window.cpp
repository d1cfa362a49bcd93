#include "tools/standin_host/filler_window.h"

namespace standin {

namespace {

const char kFillerClass[] = "StandinFiller";

LRESULT CALLBACK FillerProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_SIZE:
        if (first != SIZE_MINIMIZED) FitChildrenToClient(window);
        return 0;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(window, message, first, second);
}

void RegisterFillerClass() {
    WNDCLASSA wc = {};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, kFillerClass, &wc)) return;
    wc.lpfnWndProc = FillerProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFillerClass;
    RegisterClassA(&wc);
}

}  // namespace

void FitChildrenToClient(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client)) return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SetWindowPos(child, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateFillerWindow(DWORD exStyle, const char* title, DWORD style, const RECT& rect, HWND parent) {
    RegisterFillerClass();
    return CreateWindowExA(exStyle, kFillerClass, title, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace standin
