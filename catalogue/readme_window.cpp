// The readme window: "readme.txt" read once into a read-only edit.
#include <cstdio>
#include <cstring>

#include "catalogue/readme_window.h"

namespace {

constexpr int kReadmePathSize = 260;
constexpr int kPieceSize = 1024;   // at most 1023 characters a read

}  // namespace

CInfo::CInfo() { templateId = IDD_README; }
CInfo::~CInfo() = default;

int CInfo::LoadReadme(const char* folder, const char* fileName) {
    if (folder == nullptr || fileName == nullptr) return 0;
    char path[kReadmePathSize];
    memset(path, 0, sizeof path);
    const size_t folderLength = strlen(folder);
    const size_t nameLength = strlen(fileName);
    if (folderLength + nameLength > sizeof path - 1) return 0;
    memcpy(path, folder, folderLength);
    memcpy(path + folderLength, fileName, nameLength);

    // Text mode: every CR LF of the file reads as one LF.
    FILE* file = fopen(path, "r");
    if (file == nullptr) return 0;

    HWND edit = window ? ::GetDlgItem(window, IDC_README_TEXT) : nullptr;
    // The default limit of an edit would cut a long readme short.
    if (edit) ::SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    // One byte more than a piece: an edit breaks lines only at CR LF, so the
    // LF that ends a line goes in as CR LF.
    char piece[kPieceSize + 1];
    while (fgets(piece, kPieceSize, file)) {
        size_t n = strlen(piece);
        if (n > 0 && piece[n - 1] == '\n') {
            piece[n - 1] = '\r';
            piece[n] = '\n';
            piece[n + 1] = 0;
        }
        if (edit) {
            // Inserted at the caret, which stays at the end of the text.
            ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece));
            ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        }
    }
    fclose(file);
    return 1;
}

int CInfo::Show(int showCommand) {
    const int result = CDialog::Show(showCommand);
    HWND edit = window ? ::GetDlgItem(window, IDC_README_TEXT) : nullptr;
    if (edit && showCommand != SW_HIDE) {
        // The dialog would give the edit the focus with its whole text
        // selected; the button takes it, and the text shows from its start.
        if (HWND ok = ::GetDlgItem(window, IDC_README_OK)) ::SetFocus(ok);
        ::SendMessageA(edit, EM_SETSEL, 0, 0);
        ::SendMessageA(edit, WM_VSCROLL, SB_TOP, 0);
    }
    return result;
}

int CInfo::OnClose() {
    Show(SW_HIDE);
    return 1;
}

int CInfo::OnCommand(int, WPARAM commandArg, CWnd*) {
    switch (LOWORD(commandArg)) {
    case IDC_README_OK:
        Show(SW_HIDE);
        return 1;
    case IDOK:
    case IDCANCEL:
        // Enter and Escape leave the window open.
        return 1;
    default:
        return 0;
    }
}
