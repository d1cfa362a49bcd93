// Windows whose children always fill their client area.
#pragma once

#include <windows.h>

namespace standin {

// Gives every direct child of the window the window's whole client area.
void FitChildrenToClient(HWND window);

// A window of the filler class: fits its children on WM_SIZE and hides
// itself instead of closing.
HWND CreateFillerWindow(DWORD exStyle, const char* title, DWORD style, const RECT& rect, HWND parent);

}  // namespace standin
