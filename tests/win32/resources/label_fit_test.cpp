// The dialogs are laid out in dialog units for "MS Sans Serif" 8: every
// label, check box, radio button and group caption must show its whole text
// in that font, as on Windows, not be cut or wrapped out of sight.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

constexpr char kDialogFace[] = "MS Sans Serif";
// A check box's or radio button's box and the gap before its text, in pixels
// (13 + 3 at 96 DPI; the metric gives the box).
int BoxAndGap() { return GetSystemMetrics(SM_CXMENUCHECK) + 4; }
// A group box draws its caption from 8 pixels in, with a pixel of space each side.
constexpr int kGroupCaptionInset = 2 * 8 + 2;

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct Label {
    std::string text;
    int needed;      // pixels the text takes, with what the control draws beside it
    int available;   // pixels the control gives it
};

std::string ClassOf(HWND control) {
    char name[32] = {0};
    GetClassNameA(control, name, sizeof name);
    return name;
}

// Every control of the dialog that shows a text of its own, measured in its own font.
std::vector<Label> LabelsOf(HWND dialog) {
    std::vector<Label> labels;
    HDC dc = GetDC(dialog);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char text[256] = {0};
        GetWindowTextA(control, text, sizeof text);
        if (!text[0]) continue;
        const std::string cls = ClassOf(control);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const LONG type = style & BS_TYPEMASK;
        int extra = 0;
        if (cls == "Static") {
            extra = 0;
        } else if (cls == "Button" && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON ||
                                       type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
            extra = BoxAndGap();
        } else if (cls == "Button" && type == BS_GROUPBOX) {
            extra = kGroupCaptionInset;
        } else {
            continue;   // push buttons centre their text; edits and lists hold the user's
        }
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
        SelectObject(dc, old);
        RECT client;
        GetClientRect(control, &client);
        labels.push_back({text, size.cx + extra, client.right});
    }
    ReleaseDC(dialog, dc);
    return labels;
}

std::string FaceOf(HWND dialog) {
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    char face[LF_FACESIZE] = {0};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return face;
}

class LabelFit : public ::testing::TestWithParam<int> {};

TEST_P(LabelFit, EveryLabelShowsItsWholeTextInTheDialogFont) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(GetParam()), nullptr,
                                     &QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    // Measured in another font the check would say nothing about Windows.
    ASSERT_EQ(FaceOf(dialog), kDialogFace) << "the system lacks the dialogs' font";
    const std::vector<Label> labels = LabelsOf(dialog);
    EXPECT_GT(labels.size(), 5u);
    for (const Label& label : labels) {
        EXPECT_LE(label.needed, label.available) << '"' << label.text << "\" needs " << label.needed << " pixels";
    }
    DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(PreferencesAndEditor, LabelFit, ::testing::Values(IDD_PREFERENCES, IDD_STREAM_EDITOR));

}  // namespace
