// What a user does with the panel's list and search controls: play or queue
// an entry, open its links, and filter the list.
#include "host/plugin.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "catalogue/portable/link_policy.h"
#include "scrollbars/skinned_scroll_bars.h"

void CPlugin::OpenAddress(const char* address, int showCommand) {
    // A list file from elsewhere must not make a click run a program, open a
    // local file or hand the browser arguments of its own.
    if (!IsOpenableAddress(address)) return;
    ShellExecuteA(window, "open", address, nullptr, nullptr, showCommand);
}

void CPlugin::PlaySelected() {
    StreamRecord* record = view.GetSelectedStream();
    if (record) PlayAddress(record->address, nullptr);
}

void CPlugin::PlayAddress(const char* address, const char* website) {
    bool playAtOnce = preferences.IsDlgButtonChecked(IDC_PLAY_AT_ONCE) == BST_CHECKED;
    if (playAtOnce) winamp.SendHostMessage(0, kHostRequestEmptyPlaylist);
    winamp.SendHostCopyData(window, kCopyDataAddToPlaylist, address, static_cast<DWORD>(strlen(address) + 1));
    if (playAtOnce) winamp.SendHostMessage(0, kHostRequestStartPlayback);
    if (website && website[0] && preferences.IsDlgButtonChecked(IDC_OPEN_WEB) == BST_CHECKED) {
        OpenAddress(website, SW_SHOW);
    }
}

void CPlugin::PlaySelectedWithItsSite() {
    PlaySelected();
    StreamRecord* record = view.GetSelectedStream();
    if (record && preferences.IsDlgButtonChecked(IDC_OPEN_WEB) == BST_CHECKED && record->website[0]) {
        OpenAddress(record->website, SW_SHOW);
    }
}

int CPlugin::OnKeyDown(WPARAM virtualKey, int, int) {
    // The list hands Enter up: it plays the selected entry as a double click does.
    if (virtualKey != VK_RETURN) return 0;
    PlaySelectedWithItsSite();
    return 1;
}

bool CPlugin::FocusFirstRow() {
    if (view.SendMessageA(LB_GETCOUNT, 0, 0) <= 0) return false;
    // Leaving the box plays what the list has selected: nothing yet, so that
    // only Enter plays the row.
    view.SendMessageA(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetFocus(listBox);
    view.SendMessageA(LB_SETCURSEL, 0, 0);
    return true;
}

int CSearchBox::OnKeyDown(WPARAM virtualKey, int, int) {
    return virtualKey == VK_DOWN && owner && owner->FocusFirstRow() ? 1 : 0;
}

int CPlugin::OnNotify(WPARAM, NMHDR* header, LRESULT* result) {
    if (header == nullptr || header->idFrom != IDC_STREAM_LIST) return 0;
    switch (header->code) {
    case static_cast<UINT>(NM_CLICK):
        if (view.hotLink && view.hotLink[0]) {
            const char* link = view.hotLink;
            view.hotLink = nullptr;
            OpenAddress(link, SW_SHOWNORMAL);
            return 1;
        }
        return 0;
    case static_cast<UINT>(NM_DBLCLK):
        PlaySelectedWithItsSite();
        return 0;
    case NM_SKINSCROLL_CUSTOMDRAW:
        return view.DrawScrollBarPart(reinterpret_cast<NMSKINSCROLLDRAW*>(header), result);
    default:
        return 0;
    }
}

void CPlugin::ApplySearch(int mode) {
    char text[kTextFieldSize];
    memset(text, 0, sizeof text);
    GetDlgItemTextA(window, IDC_SEARCH_EDIT, text, sizeof text);
    int includeRadio = 1, includeTv = 1;
    switch (mode) {
    case kShowAll: text[0] = 0; break;
    case kSearchAll: break;
    case kSearchRadio: includeTv = 0; break;
    case kSearchTv: includeRadio = 0; break;
    default: return;
    }
    // The search box sends several notices per key; the first one searched.
    if (view.ShowsSearch(includeRadio, includeTv, text)) return;
    view.ApplyFilter(includeRadio, includeTv, text);
}

int CPlugin::SearchMode() {
    HWND combo = ::GetDlgItem(window, IDC_SEARCH_MODE);
    LRESULT selected = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return -1;
    return static_cast<int>(::SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
}

void CPlugin::OnSearchModeChanged() { ApplySearch(SearchMode()); }

void CPlugin::OnSearchEditNotice() {
    // Leaving the search box for the list plays the row selected there.
    if (listBox && ::GetFocus() == listBox) {
        PlaySelected();
        return;
    }
    ApplySearch(SearchMode());
}
