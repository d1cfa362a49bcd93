// The window class tree: a wrapper object holds a window handle and the
// window's messages reach its virtual On<Message> operations through a
// window property naming the object.
#pragma once

#include <windows.h>

#include "ui/framework/window_property_cache.h"

extern const char kWndProperty[];     // "ONDARIA2_CWNDb"
extern const char kDialogProperty[];  // "ONDARIA2_CDIALOGb"
// Every binding of a wrapper to its window goes through these.
extern WindowPropertyCache g_wndBindings;
extern WindowPropertyCache g_dialogBindings;

class CWnd {
public:
    CWnd();
    explicit CWnd(HWND hwnd);
    virtual ~CWnd();

    // Virtual operations, in slot order.
    virtual int Show(int showCommand);
    virtual int Attach(HWND hwnd, WNDPROC procedure);
    virtual int Subclass(HWND hwnd);
    virtual HWND Detach(WNDPROC procedure);
    virtual HWND Unsubclass();
    virtual int OnCancel();
    virtual int OnClose();
    virtual int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control);
    virtual int OnCreate(CREATESTRUCTA* create);
    virtual int OnDestroy();
    virtual int OnDisplayChange(WPARAM bitsPerPixel, int width, int height);
    virtual int OnDrawItem(WPARAM controlId, DRAWITEMSTRUCT* item);
    virtual int OnInitDialog();
    virtual int OnKeyDown(WPARAM virtualKey, int keyDataLow, int keyDataHigh);
    virtual int OnKeyUp(WPARAM virtualKey, int keyDataLow, int keyDataHigh);
    virtual int OnMouseMove(WPARAM keyFlags, int x, int y);
    virtual int OnNcMouseMove(WPARAM hitTest, int x, int y);
    virtual int OnNotify(WPARAM controlId, NMHDR* header, LRESULT* result);
    virtual int OnOK();
    virtual int OnPaint(WPARAM first);
    virtual int OnShowWindow(WPARAM shown, LPARAM status);
    virtual int OnSize(WPARAM sizeType, int width, int height);
    virtual int OnSysCommand(WPARAM command, LPARAM second, int secondHigh);
    virtual int OnWindowPosChanged(WINDOWPOS* position);
    virtual int OnDropFiles(WPARAM drop, LPARAM second);
    virtual int OnSetFocus(WPARAM first);
    virtual LRESULT DefaultProc(UINT message, WPARAM first, LPARAM second);

    // Thin wrappers of the platform calls on `window`; without a window they
    // do nothing and yield 0 or an empty wrapper.
    BOOL IsWindow() const;
    BOOL IsWindowVisible() const;
    CWnd GetDlgItem(int id) const;
    CWnd GetParent() const;
    void CheckDlgButton(int id, UINT state) const;
    void UpdateWindow() const;
    void SetWindowTextA(const char* text) const;
    void ScreenToClient(POINT* point) const;
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    UINT IsDlgButtonChecked(int id) const;
    BOOL EndDialog(INT_PTR result) const;
    BOOL DestroyWindow() const;
    LRESULT SendMessageA(UINT message, WPARAM first, LPARAM second) const;
    HWND SafeHandle() const;                       // window if IsWindow accepts it, else 0
    static HWND HandleOf(const CWnd* wrapper);     // 0 for no wrapper

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM first, LPARAM second);

    HWND window;
    HWND parentWindow;
    HINSTANCE instance;
    WNDPROC previousProc;
};
