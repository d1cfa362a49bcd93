// The stream list's owner drawing: logo, title, slogan and link badges of
// one entry, with the badge under the mouse highlighted and made the list's
// hot link.
#include <cstring>

#include "catalogue/portable/row_geometry.h"
#include "catalogue/portable/text.h"
#include "host/plugin.h"
#include "panel/portable/skin_colours.h"
#include "ui/drawing/drawing_helpers.h"

namespace {

bool StrictlyInside(const RECT& r, int x, int y) {
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

COLORREF HalfwayColour(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

}  // namespace

int CPlugin::OnDrawItem(WPARAM controlId, DRAWITEMSTRUCT* item) {
    if (controlId != IDC_STREAM_LIST) return 0;
    if (item == nullptr || static_cast<int>(item->itemID) == -1) return 1;
    // A virtual list box leaves the item data empty: the view holds the rows.
    const StreamRecord* record = item->itemData ? reinterpret_cast<const StreamRecord*>(item->itemData)
                                                : view.ViewRecordAt(static_cast<int>(item->itemID));
    if (record == nullptr || item->hDC == nullptr) return 1;

    // Focus changes alone redraw nothing: the list shows no focus rectangle.
    if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) == 0) return 1;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;

    HDC dc = item->hDC;
    const RECT& area = item->rcItem;
    const int left = area.left, top = area.top;

    const COLORREF fill = SkinColour(selected ? SkinColourName::selectionBackground : SkinColourName::itemBackground);
    HBRUSH brush = CreateSolidBrush(fill);
    if (brush) {
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }

    HBITMAP logo = CreateDIBitmap(dc, &logoInfo.bmiHeader, CBM_INIT, record->logo, &logoInfo, DIB_RGB_COLORS);
    if (logo) {
        DrawTransparentBitmap(dc, logo, left + kRowLogoOffset, top + kRowLogoOffset,
                              static_cast<uint32_t>(record->transparentColour));
        DeleteObject(logo);
    }

    const COLORREF outline = SkinColour(selected ? SkinColourName::itemBackground : SkinColourName::selectionBackground);
    const COLORREF badgeFill = SkinColour(SkinColourName::itemBackground);
    const COLORREF ring = SkinColour(SkinColourName::selectionBackground);
    struct Badge {
        const char* label;
        const char* address;
    };
    const Badge badges[] = {
        {"web", record->website},
        {"titre", record->playlist},
        {"podcast", record->podcast},
    };
    RECT place = {left + kRowTextLeft, top + kRowBadgeTop, left + kRowTextLeft + kRowBadgeWidth, top + kRowBadgeTop + kRowBadgeHeight};
    for (const Badge& badge : badges) {
        const bool hasAddress = badge.address[0] != 0;
        COLORREF accent = ring;
        if (StrictlyInside(place, view.mouseX, view.mouseY)) {
            if (hasAddress) {
                accent = SkinColour(SkinColourName::itemText);
                view.hotLink = badge.address;
            } else {
                accent = kMissingLinkColour;
            }
        }
        // Without the red-icons option a missing link leaves its place to the next badge.
        if (hasAddress || preferences.IsDlgButtonChecked(IDC_RED_ICONS))
            DrawLinkBadge(dc, badgeFont, &place, outline, badgeFill, accent, ring, badge.label, badge.address);
    }

    // A station the last check found silent: its title dimmed, the date of the check for slogan.
    const CheckState* state = preferences.checkStates.Find(record->address);
    const bool silent = state && state->verdict == CheckVerdict::Silent;
    const COLORREF textColour = SkinColour(SkinColourName::itemText);
    COLORREF oldText = SetTextColor(dc, silent ? HalfwayColour(textColour, fill) : textColour);
    COLORREF oldBackground = SetBkColor(dc, fill);

    char text[kTextFieldSize];
    const int nameLength = static_cast<int>(FieldLength(record->name));
    FormatText(text, sizeof text, record->kind == kStreamKindRadio ? "[Radio] %.*s" : "[Télé] %.*s", nameLength,
             record->name);
    text[sizeof text - 1] = 0;   // a longer title is cut to 259 characters
    const int length = static_cast<int>(strlen(text));
    HGDIOBJ oldFont = titleFont ? SelectObject(dc, titleFont) : nullptr;
    TextOutA(dc, left + kRowTextLeft, top + kRowTitleTop, text, length);

    if (sloganFont) {
        HGDIOBJ previous = SelectObject(dc, sloganFont);
        if (oldFont == nullptr) oldFont = previous;
    }
    SetTextColor(dc, textColour);
    static const char kNoSlogan[] = "Pas de slogan...";
    const int sloganLength = static_cast<int>(FieldLength(record->slogan));
    if (silent) {
        FormatSilentSlogan(text, sizeof text, state->day);
        TextOutA(dc, left + kRowTextLeft, top + kRowSloganTop, text, static_cast<int>(strlen(text)));
    } else if (sloganLength > 0)
        TextOutA(dc, left + kRowTextLeft, top + kRowSloganTop, record->slogan, sloganLength);
    else
        TextOutA(dc, left + kRowTextLeft, top + kRowSloganTop, kNoSlogan, sizeof kNoSlogan - 1);

    if (oldFont) SelectObject(dc, oldFont);
    SetBkColor(dc, oldBackground);
    SetTextColor(dc, oldText);
    return 1;
}
