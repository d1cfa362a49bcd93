#include "tools/standin_host/playlist.h"

#include "tools/standin_host/filler_window.h"

namespace standin {

Playlist::~Playlist() { Destroy(); }

bool Playlist::Create(HWND owner, const RECT& rect, bool visible) {
    top_ = CreateFillerWindow(WS_EX_TOOLWINDOW, "Playlist", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                              rect, owner);
    if (!top_) return false;
    RECT inner = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    container_ = CreateFillerWindow(0, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, inner, top_);
    editor_ = CreateFillerWindow(0, "Playlist editor", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, inner, container_);
    if (editor_)
        list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                0, 0, 10, 10, editor_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!container_ || !editor_ || !list_) {
        Destroy();
        return false;
    }
    FitChildrenToClient(top_);
    if (visible) ShowWindow(top_, SW_SHOWNOACTIVATE);
    Refresh();
    return true;
}

void Playlist::Destroy() {
    if (top_ && IsWindow(top_)) DestroyWindow(top_);
    top_ = container_ = editor_ = list_ = nullptr;
}

void Playlist::Clear() {
    entries_.clear();
    current_ = -1;
    playing_ = false;
    Refresh();
}

void Playlist::Append(const std::string& entry) {
    entries_.push_back(entry);
    if (current_ < 0) current_ = static_cast<int>(entries_.size()) - 1;
    Refresh();
}

void Playlist::Play() {
    if (current_ >= 0) playing_ = true;
    Refresh();
}

void Playlist::Refresh() {
    if (!list_ || !IsWindow(list_)) return;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < entries_.size(); ++i) {
        std::string line = (static_cast<int>(i) == PlayingIndex() ? "> playing: " : "   ") + entries_[i];
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(list_, LB_SETCURSEL, current_, 0);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace standin
