// Wrappers on the host's windows: the main window (menu command and Alt+R),
// the playlist editor, and the embedded frame that holds the panel.
#pragma once

#include "host/host_protocol.h"
#include "ui/framework/wnd.h"

class CPlugin;

class CWinamp : public CWnd {
public:
    CWinamp();
    int SetOwner(CPlugin* plugin);
    // Every request to the host goes through here: nothing is sent, and the
    // answer is 0, when the host's window is gone.
    LRESULT SendHostMessage(WPARAM first, LPARAM request);
    // Hands the host `size` bytes of `data` of the given copy-data kind, from `sender`.
    LRESULT SendHostCopyData(HWND sender, unsigned long kind, const void* data, DWORD size);
    int IsHostVersionSupported();

    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
    int OnKeyDown(WPARAM virtualKey, int keyDataLow, int keyDataHigh) override;
    int OnKeyUp(WPARAM virtualKey, int keyDataLow, int keyDataHigh) override;
    LRESULT DefaultProc(UINT message, WPARAM first, LPARAM second) override;

    CPlugin* owner;
};

class CPEditor : public CWnd {
public:
    CPEditor();
    int SetOwner(CPlugin* plugin);
    // Commands are the host's own: never end or swallow them here.
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;

    CPlugin* owner;
};

class CPluginParent : public CWnd {
public:
    CPluginParent();
    int SetOwner(CPlugin* plugin);
    int OnCommand(int notifyCode, WPARAM commandArg, CWnd* control) override;
    int OnShowWindow(WPARAM shown, LPARAM status) override;
    int OnWindowPosChanged(WINDOWPOS* position) override;
    LRESULT DefaultProc(UINT message, WPARAM first, LPARAM second) override;

    CPlugin* owner;
};

// Process-wide key state, one flag per virtual-key code.
extern unsigned char keyDown[256];
