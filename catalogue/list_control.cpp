// The stream list as a window: row height, clicks and keys reported to the
// panel, hover tracking of the link badges.
#include "catalogue/list_view.h"

#include "catalogue/portable/row_geometry.h"

#include <commctrl.h>

namespace {

BYTE Shade(BYTE channel, int delta) {
    int v = channel + delta;
    return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

COLORREF ShadeColour(COLORREF colour, int delta) {
    return RGB(Shade(GetRValue(colour), delta), Shade(GetGValue(colour), delta), Shade(GetBValue(colour), delta));
}

}  // namespace

int CListView::RowHeight() const { return logoHeight + 2 * marginY; }

int CListView::UpdateItemHeight() {
    if (window == nullptr) return 0;
    SendMessageA(LB_SETITEMHEIGHT, 0, MAKELPARAM(RowHeight(), 0));
    return 1;
}

int CListView::SetColours(COLORREF selection, COLORREF background) {
    selectionColour = selection;
    selectionLight = ShadeColour(selection, 31);
    backgroundColour = background;
    backgroundLight = ShadeColour(background, 31);
    backgroundDark = ShadeColour(background, -31);
    backgroundDarker = ShadeColour(background, -47);
    return 1;
}

int CListView::OnKeyDown(WPARAM virtualKey, int, int) {
    // The panel hears of these first; the list box then handles them as usual.
    if (virtualKey == VK_RETURN || virtualKey == VK_F2 || virtualKey == VK_SPACE) {
        HWND parent = ::GetParent(window);
        if (parent) ::SendMessageA(parent, WM_KEYDOWN, virtualKey, 0);
    }
    return 0;
}

int CListView::OnKeyUp(WPARAM, int, int) { return 0; }

int CListView::OnDropFiles(WPARAM drop, LPARAM second) {
    HWND parent = window ? ::GetParent(window) : nullptr;
    if (parent == nullptr) return 0;
    ::SendMessageA(parent, WM_DROPFILES, drop, second);
    return 1;
}

void CListView::NotifyParent(int code) {
    HWND parent = ::GetParent(window);
    if (parent == nullptr) return;
    NMHDR header;
    header.hwndFrom = window;
    header.idFrom = IDC_STREAM_LIST;
    header.code = static_cast<UINT>(code);
    ::SendMessageA(parent, WM_NOTIFY, IDC_STREAM_LIST, reinterpret_cast<LPARAM>(&header));
}

LRESULT CListView::DefaultProc(UINT message, WPARAM first, LPARAM second) {
    LRESULT answer = 0;
    if (AnswerRowMessage(message, first, second, &answer)) return answer;
    switch (message) {
    case WM_MOUSEMOVE: {
        mouseX = static_cast<short>(LOWORD(second));
        mouseY = static_cast<short>(HIWORD(second));
        hotLink = nullptr;
        int rowHeight = RowHeight();
        int rowTop = (mouseY / rowHeight) * rowHeight;
        if (mouseY > rowTop + kRowBadgeBandTop) {
            RECT client = {0, 0, 0, 0};
            GetClientRect(&client);
            RECT band = {kRowBadgeBandLeft, rowTop + kRowBadgeBandTop, client.right, rowTop + rowHeight};
            InvalidateRect(window, &band, TRUE);
        }
        break;
    }
    case WM_LBUTTONDOWN:
        NotifyParent(NM_CLICK);
        break;
    case WM_LBUTTONDBLCLK:
        NotifyParent(NM_DBLCLK);
        break;
    case WM_RBUTTONDOWN:
        NotifyParent(NM_RCLICK);
        break;
    default:
        break;
    }
    return CWnd::DefaultProc(message, first, second);
}
