// The plugin's dialog templates and default logo, checked twice: as the bytes
// of the template resource (what the resource compiler wrote) and as the live
// dialog the system builds from it (what the user sees).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

constexpr int kStatic = -1;
constexpr int kNoRect = -2;         // position set elsewhere (panel): not checked

struct ControlRow {
    int id;
    const char* cls;
    const char* text;     // nullptr: not checked
    DWORD style;          // bits that must be set (the type field of buttons, statics, combos exact)
    DWORD absent;         // bits that must be clear
    short x, y, cx, cy;   // dialog units; cx == kNoRect: not checked
};

struct ExpectedDialog {
    int templateId;
    bool extended;
    DWORD style;          // the dialog's whole style, exactly
    DWORD exStyle;
    const char* caption;
    short cx, cy;
    std::vector<ControlRow> controls;
};

// ---- the template bytes ------------------------------------------------------

struct TemplateItem {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring cls;     // ordinals of the predefined classes are turned into names
    std::wstring text;
    int textOrdinal = -1;
};

struct Template {
    bool extended = false;
    DWORD style = 0, exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    int pointSize = 0;
    std::wstring face;
    std::vector<TemplateItem> items;
};

class Reader {
public:
    explicit Reader(const BYTE* base) : base_(base), p_(base) {}
    WORD Word() { WORD w; memcpy(&w, p_, 2); p_ += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, p_, 4); p_ += 4; return d; }
    BYTE Byte() { return *p_++; }
    void AlignDword() { p_ = base_ + ((p_ - base_ + 3) & ~3); }
    // A string or an ordinal (0xFFFF then the number); returns the ordinal or -1.
    int StringOrOrdinal(std::wstring& out) {
        out.clear();
        WORD first = Word();
        if (first == 0xFFFF) return Word();
        for (WORD c = first; c != 0; c = Word()) out.push_back(static_cast<wchar_t>(c));
        return -1;
    }

private:
    const BYTE* base_;
    const BYTE* p_;
};

std::wstring PredefinedClass(int ordinal) {
    static const wchar_t* const kNames[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
    return ordinal >= 0x80 && ordinal <= 0x85 ? kNames[ordinal - 0x80] : L"?";
}

bool LoadTemplate(int id, Template& t) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!found) return false;
    const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    Reader r(bytes);
    std::wstring ignored;
    WORD count = 0;
    t.extended = bytes[2] == 0xFF && bytes[3] == 0xFF;
    if (t.extended) {
        r.Dword();                        // version and signature
        r.Dword();                        // help id
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        t.style = r.Dword();
        t.exStyle = r.Dword();
    }
    count = r.Word();
    r.Word(); r.Word();                   // x, y
    t.cx = static_cast<short>(r.Word());
    t.cy = static_cast<short>(r.Word());
    r.StringOrOrdinal(ignored);           // menu
    r.StringOrOrdinal(ignored);           // window class
    r.StringOrOrdinal(t.caption);
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.extended) { r.Word(); r.Byte(); r.Byte(); }   // weight, italic, character set
        r.StringOrOrdinal(t.face);
    }
    for (WORD i = 0; i < count; ++i) {
        TemplateItem item;
        r.AlignDword();
        if (t.extended) {
            r.Dword();                    // help id
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = static_cast<short>(r.Word());
        item.y = static_cast<short>(r.Word());
        item.cx = static_cast<short>(r.Word());
        item.cy = static_cast<short>(r.Word());
        item.id = t.extended ? static_cast<int>(r.Dword()) : static_cast<short>(r.Word());
        int classOrdinal = r.StringOrOrdinal(item.cls);
        if (classOrdinal >= 0) item.cls = PredefinedClass(classOrdinal);
        item.textOrdinal = r.StringOrOrdinal(item.text);
        WORD extra = r.Word();
        for (WORD b = 0; b < extra; ++b) r.Byte();
        t.items.push_back(item);
    }
    return true;
}

std::string ToCp1252(const std::wstring& w) {
    if (w.empty()) return std::string();
    char buffer[512] = {0};
    WideCharToMultiByte(1252, 0, w.c_str(), static_cast<int>(w.size()), buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + strlen(ascii)); }

// The part of a style that is a type number rather than flags.
DWORD TypeMask(const char* cls) {
    if (strcmp(cls, "Button") == 0) return BS_TYPEMASK;
    if (strcmp(cls, "Static") == 0) return SS_TYPEMASK;
    if (strcmp(cls, "ComboBox") == 0) return 0x3;
    return 0;
}

// `live`: the window's style, which the system edits: it drops WS_VSCROLL while
// no scroll bar is needed, and turns the border of an edit or a list box into
// a sunken client edge.
void ExpectStyle(const char* what, const ControlRow& row, DWORD actual, bool live, DWORD exStyle) {
    DWORD mask = TypeMask(row.cls);
    EXPECT_EQ(actual & mask, row.style & mask) << what << " type of control " << row.id;
    DWORD flags = row.style & ~mask;
    if (live) flags &= ~WS_VSCROLL;
    if (live && (flags & WS_BORDER) && !(actual & WS_BORDER)) {
        EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE) << what << " border of control " << row.id;
        flags &= ~WS_BORDER;
    }
    EXPECT_EQ(actual & flags, flags) << what << " style of control " << row.id << std::hex << " is 0x" << actual;
    EXPECT_EQ(actual & row.absent, 0u) << what << " style of control " << row.id << std::hex << " is 0x" << actual;
}

void CheckTemplate(const ExpectedDialog& want) {
    Template t;
    ASSERT_TRUE(LoadTemplate(want.templateId, t));
    EXPECT_EQ(t.extended, want.extended);
    EXPECT_EQ(t.style, want.style) << std::hex << t.style;
    EXPECT_EQ(t.exStyle, want.exStyle);
    EXPECT_EQ(t.cx, want.cx);
    EXPECT_EQ(t.cy, want.cy);
    EXPECT_EQ(ToCp1252(t.caption), want.caption);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, L"MS Sans Serif");
    ASSERT_EQ(t.items.size(), want.controls.size());
    for (size_t i = 0; i < t.items.size(); ++i) {
        const TemplateItem& item = t.items[i];
        const ControlRow& row = want.controls[i];
        SCOPED_TRACE(testing::Message() << "template item " << i << ", control " << row.id);
        // A plain template holds 16-bit ids: IDC_STATIC is 0xFFFF there.
        EXPECT_EQ(want.extended ? item.id : static_cast<short>(item.id), row.id);
        EXPECT_EQ(lstrcmpiW(item.cls.c_str(), Wide(row.cls).c_str()), 0) << ToCp1252(item.cls);
        if (row.text) {
            EXPECT_EQ(ToCp1252(item.text), row.text);
        }
        ExpectStyle("template", row, item.style, false, item.exStyle);
        EXPECT_TRUE(item.style & WS_CHILD);
        if (row.cx != kNoRect) {
            EXPECT_EQ(item.x, row.x);
            EXPECT_EQ(item.y, row.y);
            EXPECT_EQ(item.cx, row.cx);
            EXPECT_EQ(item.cy, row.cy);
        }
    }
}

// ---- the live dialog ----------------------------------------------------------

INT_PTR CALLBACK AcceptingProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string WindowText(HWND window) {
    char buffer[512] = {0};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// The dialog manager converts position and size each on its own, as here.
RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy) {
    RECT r = {x, y, cx, cy};
    MapDialogRect(dialog, &r);
    r.right += r.left;
    r.bottom += r.top;
    return r;
}

RECT RectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectRect(const RECT& actual, const RECT& expected, int id) {
    EXPECT_EQ(actual.left, expected.left) << "control " << id;
    EXPECT_EQ(actual.top, expected.top) << "control " << id;
    EXPECT_EQ(actual.right, expected.right) << "control " << id;
    EXPECT_EQ(actual.bottom, expected.bottom) << "control " << id;
}

void CheckLiveDialog(const ExpectedDialog& want, HWND dialog) {
    ASSERT_NE(dialog, nullptr);
    DWORD style = GetWindowLongA(dialog, GWL_STYLE);
    DWORD visibility = want.style & WS_VISIBLE;
    EXPECT_EQ(style & WS_VISIBLE, visibility) << "created hidden unless the template says visible";
    for (DWORD bit : {DWORD(WS_CHILD), DWORD(WS_POPUP), DWORD(WS_CLIPCHILDREN), DWORD(WS_SYSMENU), DWORD(WS_CAPTION)}) {
        EXPECT_EQ(style & bit, want.style & bit) << std::hex << "bit 0x" << bit;
    }
    EXPECT_EQ(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, want.exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(WindowText(dialog), want.caption);

    RECT client;
    GetClientRect(dialog, &client);
    ExpectRect(client, DialogUnits(dialog, 0, 0, want.cx, want.cy), want.templateId);

    // The font the dialog manager made from the template.
    LOGFONTA font = {};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(GetObjectA(handle, sizeof font, &font), 0);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    // Children in template (tab) order.
    size_t i = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++i) {
        ASSERT_LT(i, want.controls.size()) << "more controls than expected";
        const ControlRow& row = want.controls[i];
        SCOPED_TRACE(testing::Message() << "child " << i << ", control " << row.id);
        int id = GetDlgCtrlID(child);
        EXPECT_EQ(want.extended ? id : static_cast<short>(id), row.id);
        char cls[64] = {0};
        GetClassNameA(child, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, row.cls);
        if (row.text) {
            EXPECT_EQ(WindowText(child), row.text);
        }
        DWORD childStyle = GetWindowLongA(child, GWL_STYLE);
        ExpectStyle("live", row, childStyle, true, GetWindowLongA(child, GWL_EXSTYLE));
        if (row.cx == kNoRect) continue;
        RECT expected = DialogUnits(dialog, row.x, row.y, row.cx, row.cy);
        RECT actual = RectInParent(child);
        if (strcmp(row.cls, "ComboBox") == 0) {
            // The drop-down list's height is not the window's.
            expected.bottom = actual.bottom;
        }
        if ((childStyle & SS_TYPEMASK) == SS_BITMAP && strcmp(row.cls, "Static") == 0) {
            // A bitmap static takes its bitmap's size, from the template's corner.
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            continue;
        }
        ExpectRect(actual, expected, row.id);
    }
    EXPECT_EQ(i, want.controls.size());
}

void CheckDialog(const ExpectedDialog& want, HWND parent = nullptr) {
    SCOPED_TRACE(testing::Message() << "dialog " << want.templateId);
    CheckTemplate(want);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(want.templateId), parent,
                                     AcceptingProc, 0);
    CheckLiveDialog(want, dialog);
    if (dialog) DestroyWindow(dialog);
}

constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kPopup = DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER;

}  // namespace

TEST(Resources, PanelTemplate101) {
    const DWORD button = BS_OWNERDRAW | kTab | WS_GROUP;
    ExpectedDialog want = {IDD_PANEL, false, DS_SETFONT | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, "", 220, 313, {
        {IDC_README_BUTTON, "Button", "A Lire", button, 0, 0, 0, kNoRect, 0},
        {IDC_OPTIONS_BUTTON, "Button", "Options", button, 0, 0, 0, kNoRect, 0},
        {IDC_SEARCH_MODE, "ComboBox", nullptr, CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTab, CBS_SORT, 0, 0, kNoRect, 0},
        {IDC_SEARCH_EDIT, "Edit", "", WS_BORDER | ES_AUTOHSCROLL | kTab, ES_MULTILINE, 0, 0, kNoRect, 0},
        {IDC_STREAM_LIST, "ListBox", nullptr,
         LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTab,
         LBS_HASSTRINGS | LBS_SORT | LBS_OWNERDRAWVARIABLE, 0, 0, kNoRect, 0},
    }};
    // A child dialog needs a parent window.
    HWND host = CreateWindowExA(0, "Static", "host", WS_POPUP, 0, 0, 600, 800, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    CheckDialog(want, host);
    DestroyWindow(host);
}

TEST(Resources, ReadmeTemplate107) {
    ExpectedDialog want = {IDD_README, false, kPopup | WS_CLIPCHILDREN, WS_EX_TOPMOST, "A propos de Ondaria 2", 257, 286, {
        {IDC_README_TEXT, "Edit", nullptr, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER, 0, 7, 7, 243, 252},
        {IDC_README_OK, "Button", "OK", BS_DEFPUSHBUTTON, 0, 104, 265, 50, 14},
    }};
    CheckDialog(want);
}

TEST(Resources, PreferencesTemplate108) {
    ExpectedDialog want = {IDD_PREFERENCES, true, kPopup, WS_EX_TOPMOST, "Préférences", 234, 316, {
        {kStatic, "Button", "Liste actuelle des flux Radio et Télé", BS_GROUPBOX, 0, 7, 8, 223, 133},
        {kStatic, "Static", "Nom de la liste (et de sauvegarde)", SS_LEFT, 0, 15, 24, 107, 8},
        {IDC_LIST_NAME, "Edit", "", kEditStyle, ES_MULTILINE, 131, 22, 91, 13},
        {IDC_PREFERENCES_LIST, "ListBox", nullptr, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | LBS_HASSTRINGS,
         LBS_SORT | LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE, 131, 45, 91, 86},
        {IDC_ADD_BUTTON, "Button", "Ajouter", BS_PUSHBUTTON, 0, 15, 47, 108, 13},
        {IDC_DELETE_BUTTON, "Button", "Supprimer", BS_PUSHBUTTON, 0, 15, 64, 108, 13},
        {IDC_EDIT_BUTTON, "Button", "Editer", BS_PUSHBUTTON, 0, 15, 81, 108, 13},
        {IDC_MOVE_UP_BUTTON, "Button", "Monter dans la liste", BS_PUSHBUTTON, 0, 15, 98, 108, 13},
        {IDC_MOVE_DOWN_BUTTON, "Button", "Descendre dans la liste", BS_PUSHBUTTON, 0, 15, 115, 108, 13},
        {kStatic, "Button", "Gestion des listes", BS_GROUPBOX, 0, 7, 146, 223, 40},
        {IDC_IMPORT_BUTTON, "Button", "Importer", BS_PUSHBUTTON, 0, 15, 164, 64, 14},
        {IDC_MERGE_BUTTON, "Button", "Fusionner", BS_PUSHBUTTON, 0, 86, 164, 65, 14},
        {IDC_SAVE_BUTTON, "Button", "Sauvegarder", BS_PUSHBUTTON, 0, 158, 164, 64, 14},
        {kStatic, "Button", "Options du plugin", BS_GROUPBOX, 0, 7, 191, 223, 68},
        {kStatic, "Static", "Action du double clic", SS_LEFT, 0, 15, 209, 82, 8},
        {IDC_PLAY_AT_ONCE, "Button", "Jouer le stream immédiatement ", BS_AUTORADIOBUTTON | WS_GROUP, 0, 98, 203, 122, 10},
        {IDC_ENQUEUE, "Button", "Mettre le stream en file d'attente", BS_AUTORADIOBUTTON, WS_GROUP, 98, 215, 122, 10},
        {IDC_RED_ICONS, "Button", "Afficher les icônes en rouge pour les liens non définis", BS_AUTOCHECKBOX | WS_GROUP, 0, 15, 229, 182, 10},
        {IDC_OPEN_WEB, "Button", "Ouvrir automatiquement le site web lors de l'écoute", BS_AUTOCHECKBOX, 0, 15, 242, 175, 10},
        {IDC_DIRECTORY_BUTTON, "Button", "Annuaire...", BS_PUSHBUTTON | WS_GROUP, 0, 7, 264, 64, 14},
        {IDC_SAVE_AND_CLOSE, "Button", "Sauvegarder et Fermer", BS_DEFPUSHBUTTON, 0, 139, 264, 91, 14},
        {IDC_CHECK_STREAMS, "Button", "Vérifier les flux", BS_PUSHBUTTON | WS_GROUP, 0, 7, 284, 64, 14},
        {IDC_REMOVE_SILENT, "Button", "Retirer les flux hors ligne", BS_PUSHBUTTON, 0, 139, 284, 91, 14},
        {IDC_CHECK_STATUS, "Static", "", SS_LEFT | SS_NOPREFIX | WS_GROUP, 0, 7, 303, 223, 8},
    }};
    CheckDialog(want);
}

TEST(Resources, DirectoryTemplate110) {
    // The results are the common controls' report list.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    const DWORD edit = ES_AUTOHSCROLL | WS_BORDER;
    ExpectedDialog want = {IDD_DIRECTORY, false, kPopup, WS_EX_TOPMOST, "Annuaire des radios", 340, 246, {
        {kStatic, "Static", "Nom", SS_LEFT, 0, 7, 9, 30, 8},
        {IDC_DIRECTORY_NAME, "Edit", "", edit, 0, 40, 7, 120, 12},
        {kStatic, "Static", "Genre", SS_LEFT, 0, 172, 9, 30, 8},
        {IDC_DIRECTORY_GENRE, "Edit", "", edit, 0, 206, 7, 127, 12},
        {kStatic, "Static", "Pays", SS_LEFT, 0, 7, 25, 30, 8},
        {IDC_DIRECTORY_COUNTRY, "Edit", "", edit, 0, 40, 23, 120, 12},
        {kStatic, "Static", "Langue", SS_LEFT, 0, 172, 25, 30, 8},
        {IDC_DIRECTORY_LANGUAGE, "Edit", "", edit, 0, 206, 23, 127, 12},
        {IDC_DIRECTORY_ANSWERING, "Button", "Seulement les flux qui répondent", BS_AUTOCHECKBOX, 0, 7, 42, 150, 10},
        {IDC_DIRECTORY_SEARCH, "Button", "Chercher", BS_DEFPUSHBUTTON, 0, 273, 40, 60, 14},
        {IDC_DIRECTORY_RESULTS, "SysListView32", nullptr, LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER,
         LVS_SINGLESEL, 7, 59, 326, 142},
        {IDC_DIRECTORY_STATUS, "Static", "", SS_LEFT | SS_NOPREFIX, 0, 7, 206, 326, 9},
        {IDC_DIRECTORY_ADD, "Button", "Ajouter", BS_PUSHBUTTON, 0, 7, 224, 60, 14},
        {IDC_DIRECTORY_PLAY, "Button", "Écouter", BS_PUSHBUTTON, 0, 72, 224, 60, 14},
        {IDC_DIRECTORY_MORE, "Button", "Suite", BS_PUSHBUTTON, 0, 137, 224, 60, 14},
        {IDCANCEL, "Button", "Fermer", BS_PUSHBUTTON, 0, 273, 224, 60, 14},
    }};
    CheckDialog(want);
}

TEST(Resources, StreamEditorTemplate109) {
    const char* const kLogoHint = "Logo : image PNG, JPEG, GIF, ICO ou BMP, réduite en 48*48.";
    const char* const kColourHint = "Ajoutez la couleur RGB transparente (FF00FF pour le rose par ex.)";
    ExpectedDialog want = {IDD_STREAM_EDITOR, false, kPopup, WS_EX_TOPMOST, "Ajouter un flux", 230, 284, {
        {kStatic, "Button", "Informations obligatoires", BS_GROUPBOX, 0, 7, 5, 216, 67},
        {kStatic, "Static", "Type de flux", SS_LEFT, 0, 13, 20, 40, 8},
        {IDC_EDITOR_RADIO, "Button", "Radio", BS_AUTORADIOBUTTON | WS_GROUP, 0, 111, 20, 47, 10},
        {IDC_EDITOR_TV, "Button", "TV", BS_AUTORADIOBUTTON, WS_GROUP, 163, 20, 49, 10},
        {kStatic, "Static", "Nom du flux", SS_LEFT | WS_GROUP, 0, 13, 36, 38, 8},
        {IDC_EDITOR_NAME, "Edit", "", kEditStyle, 0, 111, 34, 101, 12},
        {kStatic, "Static", "Adresse (http, https, mms)", SS_LEFT, 0, 13, 51, 88, 8},
        {IDC_EDITOR_ADDRESS, "Edit", "", kEditStyle, 0, 111, 50, 101, 12},
        {kStatic, "Button", "URL optionelles", BS_GROUPBOX, 0, 7, 77, 216, 67},
        {kStatic, "Static", "Site Internet du média", SS_LEFT, 0, 13, 93, 70, 8},
        {IDC_EDITOR_WEBSITE, "Edit", "", kEditStyle, 0, 111, 91, 101, 12},
        {kStatic, "Static", "Liste de lecture", SS_LEFT, 0, 13, 109, 49, 8},
        {IDC_EDITOR_PLAYLIST, "Edit", "", kEditStyle, 0, 111, 107, 101, 12},
        {kStatic, "Static", "URL du podcast", SS_LEFT, 0, 13, 124, 53, 8},
        {IDC_EDITOR_PODCAST, "Edit", "", kEditStyle, 0, 111, 123, 101, 12},
        {kStatic, "Button", "Informations optionelles", BS_GROUPBOX, 0, 7, 149, 216, 107},
        {kStatic, "Static", "Slogan du flux", SS_LEFT, 0, 13, 166, 46, 8},
        {IDC_EDITOR_SLOGAN, "Edit", "", kEditStyle, 0, 111, 164, 101, 12},
        {kStatic, "Static", "Liste de mots clés associés", SS_LEFT, 0, 13, 182, 86, 8},
        {IDC_EDITOR_KEYWORDS, "Edit", "", kEditStyle, 0, 111, 180, 101, 12},
        {IDC_EDITOR_LOGO_MARKER, "Static", nullptr, SS_BITMAP, WS_VISIBLE, 13, 200, 32, 30},
        {IDC_EDITOR_CHANGE_LOGO, "Button", "Changer", BS_PUSHBUTTON, 0, 51, 201, 46, 12},
        {IDC_EDITOR_COLOUR, "Edit", "", kEditStyle, 0, 51, 217, 46, 12},
        {kStatic, "Static", "Format (MP3, WMA)", SS_LEFT, 0, 112, 203, 65, 8},
        {IDC_EDITOR_FORMAT, "Edit", "", kEditStyle, 0, 179, 201, 34, 12},
        {kStatic, "Static", "Qualité du stream", SS_LEFT, 0, 121, 218, 56, 8},
        {IDC_EDITOR_QUALITY, "Edit", "", kEditStyle, 0, 179, 217, 34, 12},
        {kStatic, "Static", kLogoHint, SS_LEFT, 0, 13, 235, 204, 8},
        {kStatic, "Static", kColourHint, SS_LEFT, 0, 13, 243, 208, 8},
        {IDC_EDITOR_CANCEL, "Button", "Annuler", BS_PUSHBUTTON, 0, 84, 260, 52, 14},
        {IDC_EDITOR_SAVE, "Button", "Sauvegarder et Fermer", BS_DEFPUSHBUTTON, 0, 140, 260, 83, 14},
    }};
    CheckDialog(want);

    // The logo marker shows bitmap resource 106.
    Template t;
    ASSERT_TRUE(LoadTemplate(IDD_STREAM_EDITOR, t));
    EXPECT_EQ(t.items[20].textOrdinal, IDB_DEFAULT_LOGO);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STREAM_EDITOR), nullptr, AcceptingProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND marker = GetDlgItem(dialog, IDC_EDITOR_LOGO_MARKER);
    EXPECT_FALSE(IsWindowVisible(marker));
    HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageA(marker, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info = {};
    ASSERT_NE(GetObjectA(shown, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 48);
    EXPECT_EQ(info.bmHeight, 47);
    DestroyWindow(dialog);
}

TEST(Resources, PreferencesCaptionIsWindows1252) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PREFERENCES), nullptr, AcceptingProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "\x50\x72\xE9\x66\xE9rences");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_PLAY_AT_ONCE)), "Jouer le stream imm\xE9" "diatement ");
    DestroyWindow(dialog);
}

TEST(Resources, RadioButtonsOfOneGroupExcludeEachOther) {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PREFERENCES), nullptr, AcceptingProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND play = GetDlgItem(dialog, IDC_PLAY_AT_ONCE), queue = GetDlgItem(dialog, IDC_ENQUEUE), web = GetDlgItem(dialog, IDC_OPEN_WEB);
    SendMessageA(web, BM_CLICK, 0, 0);
    SendMessageA(play, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(play, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(queue, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(queue, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(play, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(web, BM_GETCHECK, 0, 0), BST_CHECKED) << "the check boxes are not in the radio group";
    DestroyWindow(dialog);
}

TEST(Resources, DefaultLogo106Is256Colours48By47OnMagenta) {
    HMODULE module = GetModuleHandleA(nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(IDB_DEFAULT_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 48);
    EXPECT_EQ(dib.dsBm.bmHeight, 47);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 8);
    EXPECT_EQ(dib.dsBmih.biBitCount, 8);

    // The corners are the transparent magenta.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xFF, 0x00, 0xFF));
    EXPECT_EQ(GetPixel(dc, 47, 0), RGB(0xFF, 0x00, 0xFF));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);

    // Loaded the way the editor loads it: stretched to the 48 x 48 logo.
    HBITMAP stretched = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(IDB_DEFAULT_LOGO), IMAGE_BITMAP, 48, 48, LR_CREATEDIBSECTION));
    ASSERT_NE(stretched, nullptr);
    BITMAP size = {};
    GetObjectA(stretched, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, 48);
    EXPECT_EQ(size.bmHeight, 48);
    DeleteObject(stretched);
}
