// Showing and hiding the panel with its frame, the host menu entry that
// brings a hidden panel back, and the frame position that is remembered.
#include "host/plugin.h"

int CPlugin::Show(int showCommand) {
    showState = showCommand;
    if (frame.window == nullptr) return 0;
    frame.Show(showCommand);
    ::ShowWindow(window, showCommand);
    return 1;
}

int CPlugin::OnClose() {
    Show(SW_HIDE);
    WriteConfiguration(kConfigurationFile, 0);
    return 1;
}

int CPlugin::OnWindowPosChanged(WINDOWPOS*) {
    if (frame.window) ::GetWindowRect(frame.window, &frameRect);
    return 0;
}

int CPlugin::InsertMenuEntry(const char* text) {
    HMENU menu = reinterpret_cast<HMENU>(winamp.SendHostMessage(0, kHostRequestMainMenu));
    int count = GetMenuItemCount(menu);
    if (count < 0) return 0;
    int anchor = -1;
    for (int p = count; p >= 0; --p) {
        if (GetMenuItemID(menu, p) == static_cast<UINT>(kHostMenuAnchor)) {
            anchor = p;
            break;
        }
    }
    if (anchor < 0) return 0;
    int q = anchor + 1;
    while (GetMenuItemID(menu, q) != static_cast<UINT>(-1)) ++q;
    InsertMenuA(menu, q - 1, MF_BYPOSITION | MF_STRING, menuCommand, text);
    DrawMenuBar(winamp.window);
    return 1;
}

int CPlugin::RemoveMenuEntry() {
    HMENU menu = reinterpret_cast<HMENU>(winamp.SendHostMessage(0, kHostRequestMainMenu));
    RemoveMenu(menu, menuCommand, MF_BYCOMMAND);
    return 1;
}
