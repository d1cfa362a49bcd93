#include "tests/support/message_box_recorder.h"

#include "ui/framework/wnd.h"

namespace {

thread_local MessageBoxRecorder* g_current = nullptr;

std::string TextOf(HWND hwnd) {
    char buffer[4096] = {0};
    if (hwnd) GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

struct IconSearch {
    UINT icon;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<IconSearch*>(context);
    HICON shown = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (shown == nullptr) return TRUE;
    const struct {
        LPCSTR id;
        UINT flag;
    } kIcons[] = {{IDI_WARNING, MB_ICONWARNING},
                  {IDI_ERROR, MB_ICONERROR},
                  {IDI_INFORMATION, MB_ICONINFORMATION},
                  {IDI_QUESTION, MB_ICONQUESTION}};
    for (const auto& candidate : kIcons) {
        if (LoadIconA(nullptr, candidate.id) == shown) {
            search->icon = candidate.flag;
            return FALSE;
        }
    }
    return TRUE;
}

bool IsMessageBox(HWND dialog) {
    // A message box is a dialog whose text sits in the static 0xFFFF.
    char cls[64] = {0};
    GetClassNameA(dialog, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0 && GetDlgItem(dialog, 0xFFFF) != nullptr;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder(int answer) : hook_(nullptr), answer_(answer), outer_(g_current) {
    g_current = this;
    hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxRecorder::Hook, nullptr, GetCurrentThreadId());
}

MessageBoxRecorder::~MessageBoxRecorder() {
    if (hook_) UnhookWindowsHookEx(hook_);
    g_current = outer_;
}

std::vector<std::string> MessageBoxRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes) texts.push_back(box.text);
    return texts;
}

LRESULT CALLBACK MessageBoxRecorder::Hook(int code, WPARAM first, LPARAM second) {
    MessageBoxRecorder* self = g_current;
    if (code == HCBT_ACTIVATE && self) self->OnActivate(reinterpret_cast<HWND>(first));
    return CallNextHookEx(nullptr, code, first, second);
}

void MessageBoxRecorder::OnActivate(HWND dialog) {
    char cls[64] = {0};
    GetClassNameA(dialog, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return;
    // The plugin's own modeless dialogs are driven by the tests themselves.
    if (GetPropA(dialog, kDialogProperty)) return;
    if (!IsMessageBox(dialog)) {
        if (otherDialog) otherDialog(dialog);
        return;
    }
    // Activation comes again when the box regains focus; record each box once.
    if (GetPropA(dialog, "recorded")) return;
    SetPropA(dialog, "recorded", reinterpret_cast<HANDLE>(1));
    IconSearch search{0};
    EnumChildWindows(dialog, &FindIcon, reinterpret_cast<LPARAM>(&search));
    boxes.push_back({TextOf(GetDlgItem(dialog, 0xFFFF)), TextOf(dialog), search.icon,
                     GetWindow(dialog, GW_OWNER)});
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
}
