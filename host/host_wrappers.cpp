// The host main window's menu command and Alt+R, the playlist editor, and
// the frame that holds the panel.
#include "host/host_wrappers.h"

#include "host/plugin.h"

unsigned char keyDown[256];

namespace {
constexpr WPARAM kAlt = VK_MENU;
constexpr WPARAM kKeyR = 'R';
constexpr WPARAM kKeyF3 = VK_F3;
}  // namespace

CWinamp::CWinamp() : owner(nullptr) {}

int CWinamp::SetOwner(CPlugin* plugin) {
    owner = plugin;
    return 1;
}

LRESULT CWinamp::SendHostMessage(WPARAM first, LPARAM request) {
    return (window && ::IsWindow(window)) ? ::SendMessageA(window, kHostRequestMessage, first, request) : 0;
}

LRESULT CWinamp::SendHostCopyData(HWND sender, unsigned long kind, const void* data, DWORD size) {
    if (!window || !::IsWindow(window)) return 0;
    COPYDATASTRUCT copy;
    copy.dwData = kind;
    copy.cbData = size;
    copy.lpData = const_cast<void*>(data);
    return ::SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&copy));
}

int CWinamp::IsHostVersionSupported() {
    return static_cast<int>(SendHostMessage(0, kHostRequestVersion)) >= kMinimumHostVersion ? 1 : 0;
}

int CWinamp::OnCommand(int, WPARAM commandArg, CWnd*) {
    if (LOWORD(commandArg) != kPluginMenuCommand) return 0;
    if (owner) owner->Show(SW_SHOW);
    return 1;   // the host never sees the plugin's own command
}

int CWinamp::OnKeyDown(WPARAM virtualKey, int, int) {
    if (virtualKey < 256) keyDown[virtualKey] = 1;
    if (keyDown[kAlt] && (keyDown[kKeyR] || keyDown[kKeyF3])) {
        keyDown[kKeyR] = 0;
        keyDown[kKeyF3] = 0;
        if (owner) owner->Show(owner->IsWindowVisible() ? SW_HIDE : SW_SHOW);
    }
    return 1;
}

int CWinamp::OnKeyUp(WPARAM virtualKey, int, int) {
    if (virtualKey < 256) keyDown[virtualKey] = 0;
    return 1;
}

LRESULT CWinamp::DefaultProc(UINT message, WPARAM first, LPARAM second) {
    // With Alt held the keys arrive as system keys; the shortcut watches them too.
    if (message == WM_SYSKEYDOWN) OnKeyDown(first, LOWORD(second), HIWORD(second));
    if (message == WM_SYSKEYUP) OnKeyUp(first, LOWORD(second), HIWORD(second));
    return CWnd::DefaultProc(message, first, second);
}

CPEditor::CPEditor() : owner(nullptr) {}

int CPEditor::SetOwner(CPlugin* plugin) {
    owner = plugin;
    return 1;
}

int CPEditor::OnCommand(int, WPARAM, CWnd*) { return 0; }

CPluginParent::CPluginParent() : owner(nullptr) {}

int CPluginParent::SetOwner(CPlugin* plugin) {
    owner = plugin;
    return 1;
}

int CPluginParent::OnCommand(int, WPARAM, CWnd*) { return 0; }

int CPluginParent::OnShowWindow(WPARAM shown, LPARAM) {
    if (owner == nullptr) return 0;
    if (shown) owner->RemoveMenuEntry();
    else owner->InsertMenuEntry("Ondaria 2b\tAlt+R");
    return 0;
}

int CPluginParent::OnWindowPosChanged(WINDOWPOS* position) {
    return owner ? owner->OnWindowPosChanged(position) : 0;
}

LRESULT CPluginParent::DefaultProc(UINT message, WPARAM first, LPARAM second) {
    if (message == WM_SETFOCUS && owner) {
        ::SetFocus(owner->window);
        return 1;
    }
    return CWnd::DefaultProc(message, first, second);
}
