// The plugin's own modal loops: its message boxes and file dialogs. Such a
// loop dispatches the host's messages too, and a host may quit the plugin and
// unload the library from one of them; the loop would then return into code
// that is no longer there. So quit, finding a loop of the plugin's open,
// keeps the library loaded for the rest of the process.
#pragma once

#include <windows.h>

// Counts a modal loop of the plugin's for its lifetime.
class ModalLoop {
public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;
};

// MessageBoxA, as a loop of the plugin's.
int ShowPluginMessage(HWND owner, const char* text, const char* caption, UINT type);

// Called by quit: true when a loop of the plugin's was open, in which case
// the library is now pinned (never unloaded before the process ends).
bool KeepLoadedForOpenModalLoops();
