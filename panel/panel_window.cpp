// The panel dialog: fonts, layout, skin changes, borders and focus.
#include "host/plugin.h"
#include "panel/dialog_skin.h"
#include "panel/panel_layout.h"

namespace {

// Bottom-and-right border beside the stream list.
const unsigned int kListBorder[] = {0x103E9};

HFONT MakeArialFont(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, 16, "Arial");
}

void Place(HWND control, const LayoutRect& r) {
    if (control) SetWindowPos(control, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

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
    Place(::GetDlgItem(window, kListBoxId), layout.list);
    Place(browserHost, layout.banner);
    Place(::GetDlgItem(window, kReadmeButton), layout.readmeButton);
    Place(::GetDlgItem(window, kOptionsButton), layout.optionsButton);
    Place(::GetDlgItem(window, kSearchModeCombo), layout.searchMode);
    Place(::GetDlgItem(window, kSearchEdit), layout.searchEdit);
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int CPlugin::OnCommand(int notifyCode, WPARAM commandArg, CWnd*) {
    switch (LOWORD(commandArg)) {
    case kReadmeButton:
        readme.Show(SW_SHOW);
        break;
    case kOptionsButton:
        preferences.Show(SW_SHOW);
        break;
    case kSearchModeCombo:
        if (notifyCode == CBN_SELCHANGE) OnSearchModeChanged();
        break;
    case kSearchEdit:
        OnSearchEditNotice();
        break;
    default:
        break;
    }
    return 0;
}

int CPlugin::OnDisplayChange(WPARAM, int width, int height) {
    ReadSkinColours(parentWindow);
    view.SetColours(SkinColour(6), SkinColour(0));
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
