#include "tools/standin_host/embedded_frame.h"

#include <cstring>

#include "tools/standin_host/filler_window.h"

namespace standin {

namespace {

const char kFrameClass[] = "StandinEmbeddedFrame";

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_SIZE:
        if (first != SIZE_MINIMIZED) FitChildrenToClient(window);
        return 0;
    case WM_PARENTNOTIFY:
        // A docked window appears after the frame exists: give it the frame's
        // client area at once.
        if (LOWORD(first) == WM_CREATE && second) {
            RECT client;
            GetClientRect(window, &client);
            SetWindowPos(reinterpret_cast<HWND>(second), nullptr, 0, 0, client.right, client.bottom,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_SHOWWINDOW:
        if (first) FitChildrenToClient(window);
        return 0;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcA(window, message, first, second);
}

void RegisterFrameClass() {
    WNDCLASSA wc = {};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, kFrameClass, &wc)) return;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
}

}  // namespace

HWND CreateEmbeddedFrame(HWND owner, const void* frameState) {
    if (!frameState) return nullptr;
    INT32 r[4];
    std::memcpy(r, static_cast<const char*>(frameState) + kFrameStateRectOffset, sizeof r);
    int width = r[2] - r[0], height = r[3] - r[1];
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    RegisterFrameClass();
    return CreateWindowExA(0, kFrameClass, "", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                           r[0], r[1], width, height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace standin
