// The stream list's owner drawing: logo, title, slogan and link badges of
// one entry, with the badge under the mouse highlighted and made the list's
// hot link.
#include <cstdio>
#include <cstring>

#include "host/plugin.h"
#include "panel/drawing_helpers.h"
#include "panel/skin_colours.h"

namespace {

// Offsets inside an item rectangle.
constexpr int kLogoOffset = 4;
constexpr int kTextLeft = 56;
constexpr int kTitleTop = 4;
constexpr int kSloganTop = 20;
constexpr int kBadgeTop = 39;
constexpr int kBadgeWidth = 48;
constexpr int kBadgeHeight = 10;

bool StrictlyInside(const RECT& r, int x, int y) {
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

}  // namespace

int CPlugin::OnDrawItem(WPARAM controlId, DRAWITEMSTRUCT* item) {
    if (controlId != kListBoxId) return 0;
    if (item == nullptr || static_cast<int>(item->itemID) == -1) return 1;
    const StreamRecord* record = reinterpret_cast<const StreamRecord*>(item->itemData);
    if (record == nullptr || item->hDC == nullptr) return 1;

    // Focus changes alone redraw nothing: the list shows no focus rectangle.
    if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) == 0) return 1;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;

    HDC dc = item->hDC;
    const RECT& area = item->rcItem;
    const int left = area.left, top = area.top;

    const COLORREF fill = SkinColour(selected ? selectionBackground : itemBackground);
    HBRUSH brush = CreateSolidBrush(fill);
    if (brush) {
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }

    HBITMAP logo = CreateDIBitmap(dc, &logoInfo.bmiHeader, CBM_INIT, record->logo, &logoInfo, DIB_RGB_COLORS);
    if (logo) {
        DrawTransparentBitmap(dc, logo, left + kLogoOffset, top + kLogoOffset,
                              static_cast<uint32_t>(record->transparentColour));
        DeleteObject(logo);
    }

    const COLORREF outline = SkinColour(selected ? itemBackground : selectionBackground);
    const COLORREF badgeFill = SkinColour(itemBackground);
    const COLORREF ring = SkinColour(selectionBackground);
    struct Badge {
        const char* label;
        const char* address;
    };
    const Badge badges[] = {
        {"web", record->website},
        {"titre", record->playlist},
        {"podcast", record->podcast},
    };
    RECT place = {left + kTextLeft, top + kBadgeTop, left + kTextLeft + kBadgeWidth, top + kBadgeTop + kBadgeHeight};
    for (const Badge& badge : badges) {
        const bool hasAddress = badge.address[0] != 0;
        COLORREF accent = ring;
        if (StrictlyInside(place, view.mouseX, view.mouseY)) {
            if (hasAddress) {
                accent = SkinColour(itemText);
                view.hotLink = badge.address;
            } else {
                accent = kMissingLinkColour;
            }
        }
        // Without the red-icons option a missing link leaves its place to the next badge.
        if (hasAddress || preferences.IsDlgButtonChecked(kRedIconsCheck))
            DrawLinkBadge(dc, badgeFont, &place, outline, badgeFill, accent, ring, badge.label, badge.address);
    }

    COLORREF oldText = SetTextColor(dc, SkinColour(itemText));
    COLORREF oldBackground = SetBkColor(dc, fill);

    char text[kTextFieldSize];
    const int nameLength = static_cast<int>(FieldLength(record->name));
    snprintf(text, sizeof text, record->kind == kStreamKindRadio ? "[Radio] %.*s" : "[Télé] %.*s", nameLength,
             record->name);
    text[sizeof text - 1] = 0;   // a longer title is cut to 259 characters
    const int length = static_cast<int>(strlen(text));
    HGDIOBJ oldFont = titleFont ? SelectObject(dc, titleFont) : nullptr;
    TextOutA(dc, left + kTextLeft, top + kTitleTop, text, length);

    if (sloganFont) {
        HGDIOBJ previous = SelectObject(dc, sloganFont);
        if (oldFont == nullptr) oldFont = previous;
    }
    static const char kNoSlogan[] = "Pas de slogan...";
    const int sloganLength = static_cast<int>(FieldLength(record->slogan));
    if (sloganLength > 0)
        TextOutA(dc, left + kTextLeft, top + kSloganTop, record->slogan, sloganLength);
    else
        TextOutA(dc, left + kTextLeft, top + kSloganTop, kNoSlogan, sizeof kNoSlogan - 1);

    if (oldFont) SelectObject(dc, oldFont);
    SetBkColor(dc, oldBackground);
    SetTextColor(dc, oldText);
    return 1;
}
