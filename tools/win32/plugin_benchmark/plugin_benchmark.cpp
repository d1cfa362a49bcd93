// Times what a user of a full catalogue waits for, end to end: the real
// gen_ondaria.dll started, searched, scrolled and quit in the stand-in host,
// each next to its floor measured in the same process (the work that cannot
// be avoided), with the ratio and whether it meets its goal.
//
//   plugin_benchmark --list stations-4096.rtv [--rounds N] [--dll gen_ondaria.dll]
//                    [--farm PORT --farm-ports N --refused PORT]
//
// With a stream farm (tests/servers/stream_farm.py, which run-benchmark.sh
// starts), the list's stations are also checked there, a third of them
// silent, and keystrokes are timed while the check runs.
//
// Under Wine a call to the window server costs from 8 to 50 µs depending on
// how busy the machine is: compare the ratios, which are measured side by
// side, more than the times.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/portable/directory_results.h"
#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/row_geometry.h"
#include "catalogue/portable/search_match.h"
#include "resources/resource_ids.h"
#include "storage/portable/replacing_file_write.h"
#include "tests/support/test_folder.h"
#include "tools/skin_generator/skin_image.h"
#include "tools/standin_host/standin_host.h"

namespace {

constexpr int kDefaultRounds = 5;
constexpr int kKeystrokeRepeats = 3;       // of each keystroke, per round
constexpr int kScrollKeys = 40;            // arrow keys per round, most of them scrolling
constexpr LRESULT kFewestRowsOfAFullList = 1000;   // fewer: the list given is not a full catalogue
constexpr double kFrameMs = 16.0;          // one frame at 60 Hz
constexpr double kDllSizeGoal = 144 * 1024;
// The directory's answer to one search, shown within this of its last byte.
constexpr double kDirectoryPageGoalMs = 100;
// A check of the whole catalogue on the loopback farm, and keystrokes during it.
constexpr double kStreamCheckGoalMs = 180000;
constexpr double kKeystrokeWhileCheckingRatio = 1.3;
constexpr DWORD kStreamCheckLimitMs = 600000;
constexpr DWORD kKeystrokeSpacingMs = 500;
constexpr int kIdleKeystrokes = 9;
constexpr RECT kFrameRect = {400, 40, 700, 740};
constexpr char kOneWord[] = "jazz";
constexpr char kThreeWords[] = "jazz rock info";

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// Hands out every message waiting, then paints whatever `window` and its
// children still have to paint: what the user sees once the work is done.
void PaintNow(HWND window) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

struct Samples {
    std::vector<double> values;
    void Add(double v) { values.push_back(v); }
    double At(double fraction) const {
        if (values.empty()) return 0;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5)];
    }
    double Min() const { return At(0); }
    double Median() const { return At(0.5); }
    double Max() const { return At(1); }
};

// One line of the table: an operation, its floor and its goal.
struct Operation {
    const char* name;
    const char* floorName;
    double ratioGoal;     // measured ≤ ratioGoal × floor
    double absoluteGoal;  // and measured ≤ this many ms, when not 0
    Samples measured;
    Samples floor;
};

// The benchmark's own copy of the catalogue's records: the floors are measured on them.
struct Records {
    std::vector<StreamRecord*> all;
    ~Records() { Clear(); }
    void Clear() {
        for (StreamRecord* r : all) delete r;
        all.clear();
    }
    static bool Take(void* context, StreamRecord* record) {
        static_cast<Records*>(context)->all.push_back(record);
        return true;
    }
};

void CountRow(void* context, StreamRecord*) { ++*static_cast<int*>(context); }

int MatchAlone(const Records& records, int radio, int tv, const char* text) {
    int rows = 0;
    SearchCriteria criteria{radio, tv, text};
    ForEachSearchRow(records.all.data(), static_cast<int>(records.all.size()), criteria, &CountRow, &rows);
    return rows;
}

// A plain owner-drawn list box, for the floors of filling and scrolling:
// the system's scroll bar, no subclass, rows drawn simply but with as
// much to draw as the plugin's (a logo and two lines of text).
class PlainList {
public:
    PlainList() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OndariaBenchmarkPlainList";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, wc.lpszClassName, "plain", WS_POPUP, kFrameRect.left + 320, kFrameRect.top,
                                  kFrameRect.right - kFrameRect.left, kFrameRect.bottom - kFrameRect.top, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        list_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                                                      LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                0, 0, kFrameRect.right - kFrameRect.left, kFrameRect.bottom - kFrameRect.top,
                                parent_, nullptr, wc.hInstance, nullptr);
        SendMessageA(list_, LB_SETITEMHEIGHT, 0, kRowLogoHeight + 2 * kRowMarginY);
        logo_ = CreateCompatibleDC(nullptr);
        logoBitmap_ = CreateBitmap(kRowLogoHeight, kRowLogoHeight, 1, 32, nullptr);
        SelectObject(logo_, logoBitmap_);
        SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    PlainList(const PlainList&) = delete;
    PlainList& operator=(const PlainList&) = delete;
    ~PlainList() {
        DestroyWindow(parent_);
        DeleteDC(logo_);
        DeleteObject(logoBitmap_);
    }
    HWND List() const { return list_; }
    HWND Parent() const { return parent_; }

    void Fill(const Records& records) {
        SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        for (StreamRecord* record : records.all) SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record));
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    }

private:
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM first, LPARAM second) {
        if (message != WM_DRAWITEM) return DefWindowProcA(window, message, first, second);
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(second);
        const auto* record = reinterpret_cast<const StreamRecord*>(item->itemData);
        if (record == nullptr || static_cast<int>(item->itemID) < 0) return TRUE;
        const bool selected = (item->itemState & ODS_SELECTED) != 0;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        auto* self = reinterpret_cast<PlainList*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self)
            BitBlt(item->hDC, item->rcItem.left + 4, item->rcItem.top + kRowMarginY, kRowLogoHeight, kRowLogoHeight,
                   self->logo_, 0, 0, SRCCOPY);
        SetBkMode(item->hDC, TRANSPARENT);
        TextOutA(item->hDC, item->rcItem.left + 60, item->rcItem.top + 4, record->name,
                 static_cast<int>(strnlen(record->name, sizeof record->name)));
        TextOutA(item->hDC, item->rcItem.left + 60, item->rcItem.top + 24, record->slogan,
                 static_cast<int>(strnlen(record->slogan, sizeof record->slogan)));
        return TRUE;
    }

    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    HDC logo_ = nullptr;
    HBITMAP logoBitmap_ = nullptr;
};

// Per arrow key: select the first row, then walk down past the visible rows.
double ScrollPerKey(HWND list, HWND paint) {
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    PaintNow(paint);
    const double start = Now();
    for (int key = 0; key < kScrollKeys; ++key) {
        SendMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
        SendMessageA(list, WM_KEYUP, VK_DOWN, 0xC0000001);
        PaintNow(paint);
    }
    return (Now() - start) / kScrollKeys;
}

// A folder of the stand-in host's settings, with the plugin and the list in it.
class BenchmarkFolder {
public:
    BenchmarkFolder(const std::string& dll, const std::string& list) {
        CreateDirectoryA(Plugins().c_str(), nullptr);
        CreateDirectoryA(PluginFolder().c_str(), nullptr);
        ok_ = CopyFileA(dll.c_str(), (Plugins() + "\\gen_ondaria.dll").c_str(), FALSE) &&
              CopyFileA(list.c_str(), ListPath().c_str(), FALSE) && skin::WriteSampleSkins(Path()) > 0;
        char settings[256];
        snprintf(settings, sizeof settings,
                 "GEN_ONDARIA_VISIBLE = 5\nGEN_ONDARIA_WND_TOP = %ld\nGEN_ONDARIA_WND_LEFT = %ld\n"
                 "GEN_ONDARIA_WND_BOTTOM = %ld\nGEN_ONDARIA_WND_RIGHT = %ld\nGEN_ONDARIA_LISTNAME = Ondaria\n",
                 kFrameRect.top, kFrameRect.left, kFrameRect.bottom, kFrameRect.right);
        FILE* f = fopen((PluginFolder() + "gen_ondaria.ini").c_str(), "wb");
        ok_ = ok_ && f && fputs(settings, f) >= 0;
        if (f) fclose(f);
    }
    bool Ok() const { return ok_; }
    const std::string& Path() const { return folder_.Path(); }
    std::string Plugins() const { return Path() + "\\plugins"; }
    std::string PluginFolder() const { return Plugins() + "\\gen_ondaria\\"; }
    std::string ListPath() const { return PluginFolder() + "Ondaria.rtv"; }

private:
    TestFolder folder_;   // removed with everything in it
    bool ok_ = false;
};

// The first station of `from` alone, as a list file at `to`.
bool WriteOneStationList(const std::string& from, const std::string& to) {
    Records records;
    ReadListFile(from.c_str(), &Records::Take, &records);
    if (records.all.empty()) return false;
    const StreamRecord* first = records.all[0];
    auto source = [](void* context) -> const StreamRecord* {
        auto** next = static_cast<const StreamRecord**>(context);
        const StreamRecord* record = *next;
        *next = nullptr;
        return record;
    };
    return WriteListFile(to.c_str(), MakeListHeader(1, "Ondaria"), source, &first);
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buffer[1 << 16];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

bool WriteBytes(FILE* file, void* context) {
    const auto* bytes = static_cast<const std::string*>(context);
    return fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
}

enum OperationIndex {
    kInit, kOneWordKey, kThreeWordsKey, kBackspace, kScroll, kQuit, kInitFixed, kQuitFixed, kDirectoryPage,
    kOperationCount
};

struct Table {
    Operation operations[kOperationCount] = {
        {"init until the panel is painted", "read the records + fill the rows", 2, 0, {}, {}},
        {"keystroke, 1 word", "match alone + paint the rows", 4, kFrameMs, {}, {}},
        {"keystroke, 3 words", "match alone + paint the rows", 4, kFrameMs, {}, {}},
        {"backspace back to every station", "match alone + paint the rows", 4, kFrameMs, {}, {}},
        {"scroll, per arrow key", "the same in a plain list box", 1.5, 0, {}, {}},
        {"quit (save and teardown)", "write the bytes and replace", 1.5, 0, {}, {}},
        // What does not grow with the list: the dialogs made, the scroll
        // functions patched and restored. No goal; it tells how much of the
        // two rows above the list itself costs.
        {"init, a one-station list", "", 0, 0, {}, {}},
        {"quit, a one-station list", "", 0, 0, {}, {}},
        {"directory: 100 results read, shown", "the JSON read alone", 0, kDirectoryPageGoalMs, {}, {}},
    };
    Operation& operator[](OperationIndex i) { return operations[i]; }
};

// One keystroke into the search box, timed until the panel is repainted;
// `before` is the box's text first, `key` the character typed.
double TimeKeystroke(HWND edit, HWND panel, const char* before, WPARAM key) {
    SetWindowTextA(edit, before);
    const WPARAM end = strlen(before);
    SendMessageA(edit, EM_SETSEL, end, static_cast<LPARAM>(end));   // the caret after the text, as when typing
    PaintNow(panel);
    const double start = Now();
    SendMessageA(edit, WM_CHAR, key, 1);
    PaintNow(panel);
    return Now() - start;
}

// The floor of a keystroke: matching the text that results, alone, and
// painting the rows that the panel shows then.
double KeystrokeFloor(const Records& records, HWND list, const char* text) {
    const double start = Now();
    MatchAlone(records, 1, 1, text);
    const double match = Now() - start;
    InvalidateRect(list, nullptr, TRUE);
    const double paintStart = Now();
    UpdateWindow(list);
    return match + (Now() - paintStart);
}

// Starts and quits the plugin on a one-station list: the costs that do not grow with the list.
// A page of the radio directory's answer, as its stand-in gives it.
std::string DirectoryAnswer() {
    std::string text = "[";
    for (int k = 0; k < kDirectoryPageSize; ++k) {
        char station[512];
        snprintf(station, sizeof station,
                 "%s{\"stationuuid\":\"bbbb0000-0000-0000-0000-%012d\",\"name\":\"Station g\\u00e9n\\u00e9r\\u00e9e %03d\","
                 "\"url\":\"http://127.0.0.1:9/generee/%d\",\"url_resolved\":\"http://127.0.0.1:9/generee/%d\","
                 "\"homepage\":\"https://radio%d.example/\",\"favicon\":\"https://radio%d.example/logo.png\","
                 "\"tags\":\"pop,rock,jazz\",\"countrycode\":\"FR\",\"language\":\"french\","
                 "\"codec\":\"MP3\",\"bitrate\":128,\"lastcheckok\":1,\"clickcount\":%d}",
                 k ? "," : "", k, k, k, k, k, k, 1000 - k);
        text += station;
    }
    return text + "]";
}

// The directory dialog's results: a virtual report list whose cells its parent gives.
class DirectoryList {
public:
    DirectoryList() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSA c = {};
        c.lpfnWndProc = &ParentProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "OndariaBenchmarkDirectory";
        RegisterClassA(&c);
        parent_ = CreateWindowExA(0, c.lpszClassName, "", WS_POPUP, 20, 20, 660, 400, nullptr, nullptr, c.hInstance, nullptr);
        SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                                0, 0, 660, 400, parent_, nullptr, c.hInstance, nullptr);
        for (int k = 0; k < kDirectoryColumnCount; ++k) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 100;
            column.pszText = const_cast<char*>("colonne");
            SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&column));
        }
        ShowWindow(parent_, SW_SHOWNOACTIVATE);
    }
    ~DirectoryList() { DestroyWindow(parent_); }

    // Read and shown, painted: what the dialog does with an answer.
    double Show(const std::string& answer) {
        SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
        PaintNow(parent_);
        const double start = Now();
        page_.Read(answer.data(), answer.size());
        SendMessageA(list_, LVM_SETITEMCOUNT, page_.Rows(), 0);
        InvalidateRect(list_, nullptr, TRUE);
        PaintNow(parent_);
        return Now() - start;
    }

private:
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM first, LPARAM second) {
        auto* self = reinterpret_cast<DirectoryList*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_NOTIFY || self == nullptr || reinterpret_cast<NMHDR*>(second)->code != LVN_GETDISPINFOA)
            return DefWindowProcA(window, message, first, second);
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(second)->item;
        if ((item.mask & LVIF_TEXT) && static_cast<size_t>(item.iItem) < self->page_.Rows() && item.iSubItem >= 0 &&
            item.iSubItem < kDirectoryColumnCount)
            lstrcpynA(item.pszText, self->page_.Row(static_cast<size_t>(item.iItem)).cells[item.iSubItem].c_str(),
                      item.cchTextMax);
        return 0;
    }

    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    DirectoryPage page_;
};

void TimeDirectoryPage(Table& table, DirectoryList& list, const std::string& answer) {
    table[kDirectoryPage].measured.Add(list.Show(answer));
    JsonDocument document;
    const double start = Now();
    document.Parse(answer.data(), answer.size());
    table[kDirectoryPage].floor.Add(Now() - start);
}

bool RunFixedPart(const std::string& dll, const std::string& oneStation, Table& table) {
    BenchmarkFolder folder(dll, oneStation);
    if (!folder.Ok()) return false;
    standin::HostOptions options;
    options.settingsFolder = folder.Path();
    options.skinImages = {folder.Path() + "\\skin_blue.bmp", folder.Path() + "\\skin_amber.bmp"};
    auto host = std::make_unique<standin::StandinHost>(options);
    const double start = Now();
    if (!host->Created() || host->LoadPlugins() != 1 || host->Frames().empty()) return false;
    PaintNow(host->Frames()[0]);
    table[kInitFixed].measured.Add(Now() - start);
    const double quitStart = Now();
    host->QuitAndUnloadPlugins();
    table[kQuitFixed].measured.Add(Now() - quitStart);
    return true;
}

bool RunRound(const std::string& dll, const std::string& listFile, Table& table, Records& records,
              PlainList& plain) {
    BenchmarkFolder folder(dll, listFile);
    if (!folder.Ok()) {
        fprintf(stderr, "cannot prepare %s\n", folder.Path().c_str());
        return false;
    }
    standin::HostOptions options;
    options.settingsFolder = folder.Path();
    options.skinImages = {folder.Path() + "\\skin_blue.bmp", folder.Path() + "\\skin_amber.bmp"};
    options.mainRect = {20, 20, 380, 400};
    auto host = std::make_unique<standin::StandinHost>(options);
    if (!host->Created()) return false;

    double start = Now();
    if (host->LoadPlugins() != 1 || host->Frames().empty()) {
        fprintf(stderr, "the plugin did not start\n");
        return false;
    }
    HWND frame = host->Frames()[0];
    PaintNow(frame);
    table[kInit].measured.Add(Now() - start);

    HWND panel = FindWindowExA(frame, nullptr, "#32770", nullptr);
    HWND list = GetDlgItem(panel, IDC_STREAM_LIST);
    HWND edit = GetDlgItem(panel, IDC_SEARCH_EDIT);
    const LRESULT rows = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (rows < kFewestRowsOfAFullList) {
        fprintf(stderr, "the panel shows %ld rows: not a full catalogue\n", static_cast<long>(rows));
        return false;
    }

    // Floor of the start: the records read from the same file, the rows given to a plain list box.
    records.Clear();
    start = Now();
    ReadListFile(folder.ListPath().c_str(), &Records::Take, &records);
    plain.Fill(records);
    table[kInit].floor.Add(Now() - start);

    SetFocus(edit);
    PaintNow(panel);
    for (int repeat = 0; repeat < kKeystrokeRepeats; ++repeat) {
        table[kOneWordKey].measured.Add(TimeKeystroke(edit, panel, "jaz", 'z'));
        table[kOneWordKey].floor.Add(KeystrokeFloor(records, list, kOneWord));
        table[kThreeWordsKey].measured.Add(TimeKeystroke(edit, panel, "jazz rock inf", 'o'));
        table[kThreeWordsKey].floor.Add(KeystrokeFloor(records, list, kThreeWords));
        table[kBackspace].measured.Add(TimeKeystroke(edit, panel, "j", VK_BACK));
        table[kBackspace].floor.Add(KeystrokeFloor(records, list, ""));
    }
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) != rows) {
        fprintf(stderr, "the backspace did not bring back every station: %ld rows of %ld\n",
                static_cast<long>(SendMessageA(list, LB_GETCOUNT, 0, 0)), static_cast<long>(rows));
        return false;
    }

    // The search left no row selected, so leaving the box plays nothing.
    table[kScroll].measured.Add(ScrollPerKey(list, panel));
    ShowWindow(plain.Parent(), SW_SHOWNOACTIVATE);
    table[kScroll].floor.Add(ScrollPerKey(plain.List(), plain.Parent()));
    ShowWindow(plain.Parent(), SW_HIDE);

    start = Now();
    host->QuitAndUnloadPlugins();
    table[kQuit].measured.Add(Now() - start);
    std::string saved = ReadBytes(folder.ListPath());
    const std::string floorPath = folder.PluginFolder() + "floor.rtv";
    WriteFileReplacing(floorPath.c_str(), &WriteBytes, &saved);   // so that the timed one replaces, as the plugin's does
    start = Now();
    WriteFileReplacing(floorPath.c_str(), &WriteBytes, &saved);
    table[kQuit].floor.Add(Now() - start);
    if (saved.size() != ReadBytes(listFile).size()) {
        fprintf(stderr, "the list saved at quit differs in size from the one read\n");
        return false;
    }
    host.reset();
    return true;
}

void PrintTable(Table& table, int rounds, const std::string& dll) {
    printf("gen_ondaria benchmark: %d round(s) after one not counted; %d samples a row (%d for keystrokes)\n\n",
           rounds, rounds, rounds * kKeystrokeRepeats);
    printf("%-34s %26s   %-34s %8s  %s\n", "operation (ms)", "min / median / max", "floor (median)", "ratio",
           "goal");
    bool allMet = true;
    for (Operation& op : table.operations) {
        if (op.ratioGoal == 0 && op.absoluteGoal > 0) {
            const bool met = op.measured.Median() <= op.absoluteGoal;
            allMet = allMet && met;
            printf("%-34s %7.1f / %7.1f / %7.1f   %-26s %7.1f  %7s  <= %.0f ms  %s\n", op.name, op.measured.Min(),
                   op.measured.Median(), op.measured.Max(), op.floorName, op.floor.Median(), "", op.absoluteGoal,
                   met ? "met" : "MISSED");
            continue;
        }
        if (op.ratioGoal == 0) {
            printf("%-34s %7.1f / %7.1f / %7.1f   %-26s %7s  %7s  (no goal)\n", op.name, op.measured.Min(),
                   op.measured.Median(), op.measured.Max(), "", "", "");
            continue;
        }
        const double ratio = op.floor.Median() > 0 ? op.measured.Median() / op.floor.Median() : 0;
        bool met = ratio <= op.ratioGoal;
        char goal[64];
        if (op.absoluteGoal > 0) {
            met = met && op.measured.Median() <= op.absoluteGoal;
            snprintf(goal, sizeof goal, "<= %.1fx and <= %.0f ms", op.ratioGoal, op.absoluteGoal);
        } else {
            snprintf(goal, sizeof goal, "<= %.1fx", op.ratioGoal);
        }
        allMet = allMet && met;
        printf("%-34s %7.1f / %7.1f / %7.1f   %-26s %7.1f  %6.2fx  %s  %s\n", op.name, op.measured.Min(),
               op.measured.Median(), op.measured.Max(), op.floorName, op.floor.Median(), ratio, goal,
               met ? "met" : "MISSED");
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    const double size = GetFileAttributesExA(dll.c_str(), GetFileExInfoStandard, &attributes)
                            ? static_cast<double>(attributes.nFileSizeLow) : 0;
    const bool sizeMet = size > 0 && size <= kDllSizeGoal;
    printf("%-34s %9.0f bytes (%.1f KB)%40s <= %.0f KB  %s\n", "DLL size", size, size / 1024, "",
           kDllSizeGoal / 1024, sizeMet ? "met" : "MISSED");
    printf("\n%s\n", allMet && sizeMet ? "every goal met" : "some goals missed");
}

struct Farm {
    int port = 0;
    int ports = 0;
    int refused = 0;
};

// The list's stations, each given an address on the farm: two thirds
// alive, the others refused, a 404 or a web page; the farm itself lets a
// few never answer.
bool WriteFarmList(const std::string& from, const std::string& to, const Farm& farm) {
    Records records;
    ReadListFile(from.c_str(), &Records::Take, &records);
    for (size_t k = 0; k < records.all.size(); ++k) {
        const bool refused = k % 3 == 0 && (k / 3) % 3 == 2;
        char address[64];
        snprintf(address, sizeof address, "http://127.0.0.1:%d/s/%u",
                 refused ? farm.refused : farm.port + static_cast<int>(k % static_cast<size_t>(farm.ports)),
                 static_cast<unsigned>(k));
        SetField(records.all[k]->address, address);
    }
    struct Cursor {
        const Records* records;
        size_t next;
    } cursor{&records, 0};
    auto source = [](void* context) -> const StreamRecord* {
        auto* c = static_cast<Cursor*>(context);
        return c->next < c->records->all.size() ? c->records->all[c->next++] : nullptr;
    };
    return !records.all.empty() &&
           WriteListFile(to.c_str(), MakeListHeader(static_cast<int32_t>(records.all.size()), "Ondaria"), source,
                         &cursor);
}

std::string ItemText(HWND dialog, int id) {
    char text[256] = {0};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The whole catalogue checked on the farm; keystrokes timed before it and while it runs.
bool RunStreamCheck(const std::string& dll, const std::string& list, const Farm& farm) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string farmList = std::string(temp) + "ondaria-benchmark-farm.rtv";
    if (!WriteFarmList(list, farmList, farm)) return false;
    BenchmarkFolder folder(dll, farmList);
    DeleteFileA(farmList.c_str());
    if (!folder.Ok()) return false;
    standin::HostOptions options;
    options.settingsFolder = folder.Path();
    options.skinImages = {folder.Path() + "\\skin_blue.bmp", folder.Path() + "\\skin_amber.bmp"};
    auto host = std::make_unique<standin::StandinHost>(options);
    if (!host->Created() || host->LoadPlugins() != 1 || host->Frames().empty()) return false;
    HWND panel = FindWindowExA(host->Frames()[0], nullptr, "#32770", nullptr);
    HWND edit = GetDlgItem(panel, IDC_SEARCH_EDIT);
    SetFocus(edit);
    Samples idle, checking;
    for (int k = 0; k < kIdleKeystrokes; ++k) idle.Add(TimeKeystroke(edit, panel, "jaz", 'z'));

    host->ConfigPlugins();
    host->PumpMessages(100);
    HWND preferences = FindWindowA(nullptr, "Préférences");
    if (preferences == nullptr) return false;
    const double start = Now();
    SendMessageA(GetDlgItem(preferences, IDC_CHECK_STREAMS), BM_CLICK, 0, 0);
    while (ItemText(preferences, IDC_CHECK_STREAMS) != "Vérifier les flux" && Now() - start < kStreamCheckLimitMs) {
        host->PumpMessages(kKeystrokeSpacingMs);
        checking.Add(TimeKeystroke(edit, panel, "jaz", 'z'));
    }
    const double took = Now() - start;
    const std::string summary = ItemText(preferences, IDC_CHECK_STATUS);
    host->QuitAndUnloadPlugins();

    const bool checkMet = took <= kStreamCheckGoalMs;
    printf("%-34s %9.1f s   %s   <= %.0f s  %s\n", "stream check, whole list on a farm", took / 1000, summary.c_str(),
           kStreamCheckGoalMs / 1000, checkMet ? "met" : "MISSED");
    const double ratio = idle.Median() > 0 ? checking.Median() / idle.Median() : 0;
    printf("%-34s %9.1f ms  idle %.1f ms (%d while checking)  %6.2fx  <= %.1fx  %s\n", "keystroke while checking",
           checking.Median(), idle.Median(), static_cast<int>(checking.values.size()), ratio, kKeystrokeWhileCheckingRatio,
           ratio <= kKeystrokeWhileCheckingRatio ? "met" : "MISSED");
    return true;
}

std::string BesideExecutable(const char* name) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = kDefaultRounds;
    std::string list;
    std::string dll = BesideExecutable("gen_ondaria.dll");
    Farm farm;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) rounds = atoi(argv[++i]);
        else if (arg == "--list" && i + 1 < argc) list = argv[++i];
        else if (arg == "--dll" && i + 1 < argc) dll = argv[++i];
        else if (arg == "--farm" && i + 1 < argc) farm.port = atoi(argv[++i]);
        else if (arg == "--farm-ports" && i + 1 < argc) farm.ports = atoi(argv[++i]);
        else if (arg == "--refused" && i + 1 < argc) farm.refused = atoi(argv[++i]);
        else {
            fprintf(stderr, "usage: plugin_benchmark --list FILE.rtv [--rounds N] [--dll gen_ondaria.dll]\n");
            return 2;
        }
    }
    if (list.empty() || rounds < 1) {
        fprintf(stderr, "usage: plugin_benchmark --list FILE.rtv [--rounds N] [--dll gen_ondaria.dll]\n");
        return 2;
    }
    PlainList plain;
    Records records;
    auto directory = std::make_unique<DirectoryList>();
    const std::string answer = DirectoryAnswer();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string oneStation = std::string(temp) + "ondaria-benchmark-one-station.rtv";
    if (!WriteOneStationList(list, oneStation)) {
        fprintf(stderr, "cannot read %s\n", list.c_str());
        return 1;
    }
    // A first round, not counted, pays for what only the first start pays:
    // the system's libraries loaded, caches filled (and, under emulation,
    // the code translated).
    Table warmUp;
    if (!RunRound(dll, list, warmUp, records, plain) || !RunFixedPart(dll, oneStation, warmUp)) return 1;
    TimeDirectoryPage(warmUp, *directory, answer);
    Table table;
    for (int round = 1; round <= rounds; ++round) {
        if (!RunRound(dll, list, table, records, plain)) return 1;
        if (!RunFixedPart(dll, oneStation, table)) {
            fprintf(stderr, "the plugin did not start on a one-station list\n");
            return 1;
        }
        TimeDirectoryPage(table, *directory, answer);
        fprintf(stderr, "round %d of %d done\n", round, rounds);
    }
    PrintTable(table, rounds, dll);
    DeleteFileA(oneStation.c_str());
    if (farm.port > 0 && farm.ports > 0 && !RunStreamCheck(dll, list, farm)) {
        fprintf(stderr, "the check of the streams could not be run\n");
        return 1;
    }
    return 0;
}
