// The system's open and save dialogs. Their library is loaded at the first
// request rather than with the plugin: loading it brings the shell's common
// controls along, which is most of what loading the plugin used to cost,
// and most sessions never open a file.
#pragma once

#include <windows.h>
#include <commdlg.h>

// As GetOpenFileNameA and GetSaveFileNameA: true when the user chose a file.
// False too when the system has no such dialog to give.
bool AskOpenFileName(OPENFILENAMEA& request);
bool AskSaveFileName(OPENFILENAMEA& request);
