// Painting the parts of the list's skinned scroll bars in shades of the
// skin colours, when the bars ask their parent to.
#include "catalogue/list_view.h"
#include "scrollbars/skinned_scroll_bars.h"

namespace {

void FillWith(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// A polyline in a one-pixel pen; the last point is not drawn.
void Line(HDC dc, COLORREF colour, const POINT* points, int count) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points, count);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void HorizontalLine(HDC dc, COLORREF colour, int x0, int x1, int y) {
    POINT points[] = {{x0, y}, {x1, y}};
    Line(dc, colour, points, 2);
}

void Triangle(HDC dc, COLORREF colour, const POINT (&corners)[3]) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Polygon(dc, corners, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

}  // namespace

void CListView::DrawRaisedPart(HDC dc, const RECT& r) const {
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    FillWith(dc, r, backgroundColour);
    POINT light[] = {{L, B - 1}, {L, T}, {R, T}};
    Line(dc, backgroundLight, light, 3);
    POINT dark[] = {{R - 1, T + 1}, {R - 1, B - 1}, {L - 1, B - 1}};
    Line(dc, backgroundDarker, dark, 3);
}

int CListView::DrawScrollBarPart(NMSKINSCROLLDRAW* draw, LRESULT* answer) {
    if (draw->drawStage == kSkinScrollPrePaint || draw->drawStage == kSkinScrollPostPaint) {
        *answer = kSkinScrollParentPaints;
        return 1;
    }
    HDC dc = draw->hdc;
    const RECT& r = draw->rect;
    const int L = r.left, T = r.top, B = r.bottom;
    if (draw->bar == kHorizontalBar || draw->bar == kVerticalBar) {
        switch (draw->item) {
        case kPartUpArrow: {
            DrawRaisedPart(dc, r);
            POINT up[3] = {{L + 8, T + 5}, {L + 10, T + 10}, {L + 5, T + 10}};
            Triangle(dc, selectionColour, up);
            break;
        }
        case kPartDownArrow: {
            DrawRaisedPart(dc, r);
            POINT down[3] = {{L + 8, T + 10}, {L + 10, T + 5}, {L + 5, T + 5}};
            Triangle(dc, selectionColour, down);
            break;
        }
        case kPartThumb: {
            DrawRaisedPart(dc, r);
            int cy = T + (B - T) / 2;
            HorizontalLine(dc, selectionLight, L + 4, L + 12, cy - 1);
            HorizontalLine(dc, selectionColour, L + 4, L + 12, cy);
            if (B - T > 16) {
                HorizontalLine(dc, selectionLight, L + 4, L + 12, cy + 3);
                HorizontalLine(dc, selectionLight, L + 4, L + 12, cy - 5);
                HorizontalLine(dc, selectionColour, L + 4, L + 12, cy + 4);
                HorizontalLine(dc, selectionColour, L + 4, L + 12, cy - 4);
            }
            break;
        }
        case kPartTrackBefore:
        case kPartTrackAfter:
            FillWith(dc, r, backgroundDark);
            break;
        default:
            break;
        }
        *answer = 0;
        return 1;
    }
    if (draw->bar == kSkinScrollCornerBar) {
        FillWith(dc, r, backgroundColour);
        *answer = kSkinScrollParentPaints;
        return 1;
    }
    *answer = 0;
    return 1;
}
