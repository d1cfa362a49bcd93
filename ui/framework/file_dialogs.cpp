#include "ui/framework/file_dialogs.h"

#include "ui/framework/modal_loops.h"

namespace {

using FileNameDialog = BOOL(WINAPI*)(OPENFILENAMEA*);

bool RunFileNameDialog(const char* name, OPENFILENAMEA& request) {
    ModalLoop loop;
    // Kept loaded once loaded: a dialog may leave threads of its own behind.
    static HMODULE library = nullptr;
    if (library == nullptr) library = LoadLibraryA("comdlg32.dll");
    if (library == nullptr) return false;
    auto dialog = reinterpret_cast<FileNameDialog>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return dialog != nullptr && dialog(&request) != FALSE;
}

}  // namespace

bool AskOpenFileName(OPENFILENAMEA& request) { return RunFileNameDialog("GetOpenFileNameA", request); }

bool AskSaveFileName(OPENFILENAMEA& request) { return RunFileNameDialog("GetSaveFileNameA", request); }
