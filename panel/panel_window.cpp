// The panel dialog: fonts, layout, skin changes, borders and focus.
#include "host/plugin.h"

#include <shellapi.h>

#include "panel/dialog_skin.h"
#include "panel/portable/panel_layout.h"
#include "scrollbars/skinned_scroll_bars.h"

namespace {

// The stream list's skinned bars: flat, with 16-pixel arrows and thickness.
constexpr int kListBarArrowLength = 16;
constexpr int kListBarThickness = 16;

// Bottom-and-right border beside the stream list.
const unsigned int kListBorder[] = {BorderEntry(kBorderBottomRight, IDC_STREAM_LIST)};

HFONT MakeArialFont(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, 16, "Arial");
}

void Place(HWND control, const LayoutRect& r) {
    if (control) SetWindowPos(control, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

INT_PTR CALLBACK CPlugin::PanelDialogProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_INITDIALOG) SetWindowLongA(hwnd, GWL_USERDATA, static_cast<LONG>(second));
    // The skin draws the buttons and answers the control colours first.
    if (LRESULT skinned = SkinPreFilter(hwnd, message, first, second)) return skinned;
    CDialog* object = reinterpret_cast<CDialog*>(GetWindowLongA(hwnd, GWL_USERDATA));
    return object ? object->DialogProc(hwnd, message, first, second) : 0;
}

void CPlugin::BindStreamList() {
    listBox = ::GetDlgItem(window, IDC_STREAM_LIST);
    view.Subclass(listBox);
    view.UpdateItemHeight();
    view.SetColours(SkinColour(SkinColourName::selectionBackground), SkinColour(SkinColourName::itemBackground));
    view.preferences = &preferences;
    view.panel = this;

    AttachSkinnedScrollBars(listBox);
    SetSkinnedScrollBarSize(listBox, SB_BOTH, kListBarArrowLength, kListBarThickness);
    SetSkinnedScrollBarStyle(listBox, SB_BOTH, kBarStyleFlat);

    searchBox.owner = this;
    searchBox.Subclass(::GetDlgItem(window, IDC_SEARCH_EDIT));

    // Lists and playlists dropped on the panel or its list are merged.
    DragAcceptFiles(window, TRUE);
    DragAcceptFiles(listBox, TRUE);
}

int CPlugin::OnInitDialog() {
    ReadSkinColours(parentWindow);
    badgeFont = MakeArialFont(12, FW_NORMAL);
    sloganFont = MakeArialFont(14, FW_NORMAL);
    titleFont = MakeArialFont(16, FW_BOLD);
    return 1;
}

int CPlugin::OnSize(WPARAM, int width, int height) {
    if (width == 0 || height == 0) {
        RECT client = {0, 0, 0, 0};
        GetClientRect(&client);
        width = client.right - client.left;
        height = client.bottom - client.top;
    }
    PanelLayout layout = LayOutPanel(width, height);
    Place(::GetDlgItem(window, IDC_STREAM_LIST), layout.list);
    Place(browserHost, layout.banner);
    Place(::GetDlgItem(window, IDC_README_BUTTON), layout.readmeButton);
    Place(::GetDlgItem(window, IDC_OPTIONS_BUTTON), layout.optionsButton);
    Place(::GetDlgItem(window, IDC_SEARCH_MODE), layout.searchMode);
    Place(::GetDlgItem(window, IDC_SEARCH_EDIT), layout.searchEdit);
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int CPlugin::OnCommand(int notifyCode, WPARAM commandArg, CWnd*) {
    switch (LOWORD(commandArg)) {
    case IDC_README_BUTTON:
        readme.Show(SW_SHOW);
        break;
    case IDC_OPTIONS_BUTTON:
        preferences.Show(SW_SHOW);
        break;
    case IDC_SEARCH_MODE:
        if (notifyCode == CBN_SELCHANGE) OnSearchModeChanged();
        break;
    case IDC_SEARCH_EDIT:
        OnSearchEditNotice();
        break;
    default:
        break;
    }
    return 0;
}

int CPlugin::OnDisplayChange(WPARAM, int width, int height) {
    ReadSkinColours(parentWindow);
    view.SetColours(SkinColour(SkinColourName::selectionBackground), SkinColour(SkinColourName::itemBackground));
    PaintChildBorders(window, kListBorder, 1);
    if (width == 0 && height == 0) {
        // The host announces a new skin this way: repaint every control.
        ::ShowWindow(window, SW_HIDE);
        ::ShowWindow(window, SW_SHOW);
    }
    OnWindowPosChanged(nullptr);   // keeps frameRect with the frame
    return 1;
}

int CPlugin::OnPaint(WPARAM) {
    PaintChildBorders(window, kListBorder, 1);
    return 0;
}

int CPlugin::OnSetFocus(WPARAM) {
    ::SetFocus(listBox);
    return 1;
}

int CPlugin::OnDestroy() {
    ReleaseSkinObjects();
    HFONT* fonts[] = {&badgeFont, &sloganFont, &titleFont};
    for (HFONT* font : fonts) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
    Teardown();
    return 0;
}
