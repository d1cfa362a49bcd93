// Playing entries, opening their links and searching, through the real DLL in
// the stand-in host. Links go through the real shell: the test registers a
// recording program (link_recorder.exe) as the prefix's http and https
// handler and reads back what it was given. A watch on the DLL's import of
// ShellExecuteA also sees every call the plugin makes, refused or not.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

// ---- ShellExecuteA as the plugin DLL calls it.

struct ShellCall {
    HWND owner;
    std::string verb;
    std::string file;
    bool parameters;   // non-null parameters
    bool folder;       // non-null working folder
    int show;
    size_t hostLogSize;   // how much the host had heard by then
};

std::vector<ShellCall> shellCalls;
const standin::StandinHost* watchedHost = nullptr;
typedef HINSTANCE(WINAPI* ShellExecuteFunction)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
ShellExecuteFunction realShellExecute = nullptr;

bool IsHandledByRecorder(const char* file) {
    return file && (strncmp(file, "http://", 7) == 0 || strncmp(file, "https://", 8) == 0);
}

HINSTANCE WINAPI WatchedShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                     INT show) {
    shellCalls.push_back({owner, verb ? verb : "(null)", file ? file : "(null)", parameters != nullptr,
                          folder != nullptr, show, watchedHost ? watchedHost->Log().size() : 0});
    // Only what the recorder stands in for reaches the shell: a faulty build
    // must not start other programs in the test prefix.
    if (!IsHandledByRecorder(file)) return reinterpret_cast<HINSTANCE>(SE_ERR_FNF);
    return realShellExecute(owner, verb, file, parameters, folder, show);
}

// Points the module's import slot for shell32!ShellExecuteA at `replacement`.
bool WatchShellExecute(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), "shell32.dll") != 0) continue;
        if (d->OriginalFirstThunk == 0) return false;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(byName->Name), "ShellExecuteA") != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) return false;
            realShellExecute = reinterpret_cast<ShellExecuteFunction>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&WatchedShellExecute);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return true;
        }
    }
    return false;
}

// ---- The recorder as the prefix's http and https handler.
//
// Wine reads a protocol's handler from HKEY_CLASSES_ROOT only (it does not
// lay HKCU\Software\Classes over it), so the test replaces the prefix-wide
// entry and puts the previous one back afterwards.
class LinkRecorder {
public:
    explicit LinkRecorder(const std::string& logPath) : log_(logPath) {
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("ONDARIA_LINK_LOG", log_.c_str());
        const std::string command = "\"" + ExecutableFolder() + "link_recorder.exe\" \"%1\"";
        for (Scheme& s : schemes_) {
            std::string path = s.name;
            for (const char* part : {"", "\\shell", "\\shell\\open", "\\shell\\open\\command"}) {
                path = s.name + part;
                HKEY key = nullptr;
                DWORD disposition = 0;
                if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    &disposition) != ERROR_SUCCESS) {
                    ok_ = false;
                    break;
                }
                if (disposition == REG_CREATED_NEW_KEY) s.created.push_back(path);
                if (strcmp(part, "\\shell\\open\\command") == 0) {
                    char previous[1024] = {0};
                    DWORD size = sizeof previous - 1;
                    DWORD type = 0;
                    if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(previous), &size) ==
                            ERROR_SUCCESS &&
                        type == REG_SZ) {
                        s.hadValue = true;
                        s.previous = previous;
                    }
                    ok_ = ok_ && RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                                static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
                }
                RegCloseKey(key);
            }
        }
    }

    ~LinkRecorder() {
        for (Scheme& s : schemes_) {
            std::string command = s.name + "\\shell\\open\\command";
            if (s.hadValue) {
                RegSetValueA(HKEY_CLASSES_ROOT, command.c_str(), REG_SZ, s.previous.c_str(),
                             static_cast<DWORD>(s.previous.size()));
            } else {
                HKEY key = nullptr;
                if (RegOpenKeyExA(HKEY_CLASSES_ROOT, command.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                    RegDeleteValueA(key, nullptr);
                    RegCloseKey(key);
                }
            }
            for (auto it = s.created.rbegin(); it != s.created.rend(); ++it) RegDeleteKeyA(HKEY_CLASSES_ROOT, it->c_str());
        }
        SetEnvironmentVariableA("ONDARIA_LINK_LOG", nullptr);
    }

    bool Registered() const { return ok_; }

    // The lines written so far: each is the recorder's arguments, "\"<address>\"".
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::string bytes = ReadWholeFile(log_);
        size_t start = 0;
        for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(bytes.substr(start, end - start));
        return lines;
    }

private:
    struct Scheme {
        explicit Scheme(const char* n) : name(n), hadValue(false) {}
        std::string name;
        bool hadValue;
        std::string previous;
        std::vector<std::string> created;
    };
    std::string log_;
    bool ok_ = true;
    Scheme schemes_[2] = {Scheme("http"), Scheme("https")};
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }


// Badge places in a row: the first at x 56..104, the next ones 56 further; y 39..49.
constexpr int kBadgeX[] = {80, 136, 192};
constexpr int kBadgeY = 44;

}  // namespace

class PlayingTest : public PluginHostTest {
protected:
    void TearDown() override {
        recorder.reset();
        PluginHostTest::TearDown();
        shellCalls.clear();
        watchedHost = nullptr;
    }

    // Starts the plugin, watches its shell calls and registers the recorder.
    void StartWatched(const std::vector<ListEntry>& entries) {
        WriteEntries("Ondaria.rtv", entries);
        Start();
        ASSERT_EQ(host->Plugins().size(), 1u);
        ASSERT_TRUE(WatchShellExecute(host->Plugins()[0].module));
        watchedHost = host.get();
        recorder = std::make_unique<LinkRecorder>(folder->Path() + "\\links.log");
        ASSERT_TRUE(recorder->Registered());
        // Real pointer moves must not mix with the test's own: park the pointer away from every window.
        SetCursorPos(1279, 1023);
        Pump(50);
        ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), static_cast<LRESULT>(entries.size()));
        RECT client;
        GetClientRect(List(), &client);
        ASSERT_GE(client.bottom, static_cast<LONG>(entries.size()) * 56) << "every row is on show";
    }

    HWND List() const { return Control(IDC_STREAM_LIST); }
    HWND Preferences() const { return DialogTitled("Pr\xE9""f\xE9rences"); }
    void SetOption(int id, bool checked) {
        ASSERT_NE(Preferences(), nullptr);
        CheckDlgButton(Preferences(), id, checked ? BST_CHECKED : BST_UNCHECKED);
    }

    // A point of a row, in list client coordinates.
    POINT At(int row, int x, int y) const {
        RECT r = {0, 0, 0, 0};
        SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        return {r.left + x, r.top + y};
    }
    static LPARAM Position(POINT p) { return MAKELPARAM(p.x, p.y); }

    // The mouse comes to rest at the point: the list redraws what lies under it.
    void MoveMouse(POINT p) {
        SendMessageA(List(), WM_MOUSEMOVE, 0, Position(p));
        UpdateWindow(List());
        Pump(10);
    }
    void Click(POINT p) {
        SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, Position(p));
        SendMessageA(List(), WM_LBUTTONUP, 0, Position(p));
        Pump(10);
    }
    void DoubleClick(POINT p) {
        MoveMouse(p);
        SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, Position(p));
        SendMessageA(List(), WM_LBUTTONUP, 0, Position(p));
        SendMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, Position(p));
        SendMessageA(List(), WM_LBUTTONUP, 0, Position(p));
        Pump(10);
    }
    void DoubleClickRow(int row) { DoubleClick(At(row, 20, 20)); }   // on the logo, away from the badges
    void ClickBadge(int row, int place) {
        MoveMouse(At(row, kBadgeX[place], kBadgeY));
        Click(At(row, kBadgeX[place], kBadgeY));
    }

    int Selected() const { return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0)); }
    std::vector<std::string> Rows() const {
        std::vector<std::string> names;
        LRESULT count = SendMessageA(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            auto* record = reinterpret_cast<const StreamRecord*>(SendMessageA(List(), LB_GETITEMDATA, i, 0));
            names.push_back(record ? record->name : "(none)");
        }
        return names;
    }

    void ChooseSearchMode(int item) {
        HWND combo = Control(IDC_SEARCH_MODE);
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    // Keystrokes into the search box, which has the focus as when the user types.
    void Type(const char* text) {
        for (const char* c = text; *c; ++c) SendMessageA(Control(IDC_SEARCH_EDIT), WM_CHAR, static_cast<BYTE>(*c), 1);
    }

    // What the recorder has received once it holds `count` lines, or after 5 s.
    std::vector<std::string> WaitForLinks(size_t count) {
        DWORD start = GetTickCount();
        std::vector<std::string> lines = recorder->Lines();
        while (lines.size() < count && GetTickCount() - start < 5000) {
            Pump(20);
            lines = recorder->Lines();
        }
        return lines;
    }

    // The address that a row's record hands to the host.
    static std::string CopyBytes(const std::string& address) { return std::string(address.c_str(), address.size() + 1); }

    std::unique_ptr<LinkRecorder> recorder;
};

TEST_F(PlayingTest, DoubleClickPlaysAtOnceOrOnlyQueuesAsThePreferencesSay) {
    StartWatched({{"Un"}, {"Deux"}});
    ASSERT_NE(Preferences(), nullptr);
    ASSERT_EQ(IsDlgButtonChecked(Preferences(), IDC_PLAY_AT_ONCE), BST_CHECKED);   // the default
    SetFocus(List());
    Pump(10);

    host->ClearLog();
    DoubleClickRow(1);
    EXPECT_EQ(Selected(), 1);
    std::vector<standin::LogEntry> requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].kind, standin::LogEntry::Request);
    EXPECT_EQ(requests[0].number, 101u);
    EXPECT_EQ(requests[0].argument, 0u);
    EXPECT_EQ(requests[1].kind, standin::LogEntry::CopyData);
    EXPECT_EQ(requests[1].number, 100u);
    EXPECT_EQ(requests[1].argument, strlen("http://example.org/Deux") + 1);
    EXPECT_EQ(requests[1].data, CopyBytes("http://example.org/Deux"));
    EXPECT_EQ(requests[1].sender, Panel());
    EXPECT_EQ(requests[2].kind, standin::LogEntry::Request);
    EXPECT_EQ(requests[2].number, 102u);
    EXPECT_EQ(requests[2].argument, 0u);
    EXPECT_EQ(host->PlaylistEntries(), std::vector<std::string>({"http://example.org/Deux"}));
    EXPECT_EQ(host->PlayingIndex(), 0);

    // Only queueing: the address joins the playlist and what plays goes on.
    CheckRadioButton(Preferences(), IDC_PLAY_AT_ONCE, IDC_ENQUEUE, IDC_ENQUEUE);
    host->ClearLog();
    DoubleClickRow(0);
    requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, standin::LogEntry::CopyData);
    EXPECT_EQ(requests[0].number, 100u);
    EXPECT_EQ(requests[0].data, CopyBytes("http://example.org/Un"));
    EXPECT_EQ(host->PlaylistEntries(), std::vector<std::string>({"http://example.org/Deux", "http://example.org/Un"}));
    EXPECT_EQ(host->PlayingIndex(), 0);
    EXPECT_TRUE(shellCalls.empty());   // the open-web option is off by default
}

TEST_F(PlayingTest, EnterInTheListPlaysTheSelectedEntryAsADoubleClickDoes) {
    StartWatched({{"Un"}, {"Deux", 0, "http://deux.example/"}});
    CheckDlgButton(Preferences(), IDC_OPEN_WEB, BST_CHECKED);
    SetFocus(List());
    SendMessageA(List(), LB_SETCURSEL, 1, 0);
    Pump(10);

    host->ClearLog();
    SendMessageA(List(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    SendMessageA(List(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    std::vector<standin::LogEntry> requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].number, static_cast<unsigned>(kHostRequestEmptyPlaylist));
    EXPECT_EQ(requests[1].data, CopyBytes("http://example.org/Deux"));
    EXPECT_EQ(requests[2].number, static_cast<unsigned>(kHostRequestStartPlayback));
    EXPECT_EQ(host->PlaylistEntries(), std::vector<std::string>({"http://example.org/Deux"}));
    ASSERT_EQ(shellCalls.size(), 1u);   // and the site, as the option asks
    EXPECT_EQ(shellCalls[0].file, "http://deux.example/");
}

TEST_F(PlayingTest, TheOpenWebOptionOpensTheSiteAfterPlayingWhenTheEntryHasOne) {
    StartWatched({{"Avec", 0, "https://avec.example/site"}, {"Sans"}});
    SetOption(IDC_OPEN_WEB, true);
    SetFocus(List());
    host->ClearLog();

    DoubleClickRow(0);
    ASSERT_EQ(Requests().size(), 3u);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].owner, Panel());
    EXPECT_EQ(shellCalls[0].verb, "open");
    EXPECT_EQ(shellCalls[0].file, "https://avec.example/site");
    EXPECT_FALSE(shellCalls[0].parameters);
    EXPECT_FALSE(shellCalls[0].folder);
    EXPECT_EQ(shellCalls[0].show, SW_SHOW);
    EXPECT_EQ(shellCalls[0].hostLogSize, host->Log().size()) << "the site opens once the stream plays";
    EXPECT_EQ(WaitForLinks(1), std::vector<std::string>({Quoted("https://avec.example/site")}));

    // No site: the stream plays and nothing opens.
    host->ClearLog();
    DoubleClickRow(1);
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_EQ(host->PlaylistEntries(), std::vector<std::string>({"http://example.org/Sans"}));
    EXPECT_EQ(shellCalls.size(), 1u);

    SetOption(IDC_OPEN_WEB, false);
    DoubleClickRow(0);
    EXPECT_EQ(host->PlaylistEntries(), std::vector<std::string>({"http://example.org/Avec"}));
    EXPECT_EQ(shellCalls.size(), 1u);
}

TEST_F(PlayingTest, AClickedBadgeOpensItsAddressOnceUntilItIsDrawnAgain) {
    StartWatched({{"Un", 0, "http://un.example/", "", "http://un.example/podcast.xml"},
                  {"Deux", 1, "http://deux.example/"}});
    SendMessageA(List(), LB_SETCURSEL, 0, 0);
    SetFocus(List());
    Pump(10);
    host->ClearLog();

    ClickBadge(0, 0);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].owner, Panel());
    EXPECT_EQ(shellCalls[0].verb, "open");
    EXPECT_EQ(shellCalls[0].file, "http://un.example/");
    EXPECT_FALSE(shellCalls[0].parameters);
    EXPECT_FALSE(shellCalls[0].folder);
    EXPECT_EQ(shellCalls[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(WaitForLinks(1), std::vector<std::string>({Quoted("http://un.example/")}));
    // Again without moving: the link went with the first click.
    Click(At(0, kBadgeX[0], kBadgeY));
    EXPECT_EQ(shellCalls.size(), 1u);

    // The podcast badge takes the empty playlist's place.
    ClickBadge(0, 1);
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].file, "http://un.example/podcast.xml");
    EXPECT_EQ(WaitForLinks(2), std::vector<std::string>({Quoted("http://un.example/"),
                                                         Quoted("http://un.example/podcast.xml")}));

    // A click on another entry's badge opens it and selects the entry, whose
    // redrawing makes the badge under the pointer live again.
    ClickBadge(1, 0);
    ASSERT_EQ(shellCalls.size(), 3u);
    EXPECT_EQ(shellCalls[2].file, "http://deux.example/");
    EXPECT_EQ(Selected(), 1);
    Click(At(1, kBadgeX[0], kBadgeY));
    ASSERT_EQ(shellCalls.size(), 4u);
    EXPECT_EQ(shellCalls[3].file, "http://deux.example/");
    EXPECT_EQ(WaitForLinks(4).size(), 4u);

    EXPECT_TRUE(Requests().empty()) << "a click plays nothing";
    EXPECT_TRUE(host->PlaylistEntries().empty());
}

TEST_F(PlayingTest, RedDottedBadgesAndRightClicksOpenNothing) {
    StartWatched({{"Vide"}, {"Podcast", 0, "", "", "http://podcast.example/feed"}});
    SetOption(IDC_RED_ICONS, true);
    InvalidateRect(List(), nullptr, TRUE);
    UpdateWindow(List());
    host->ClearLog();

    for (int place = 0; place < 3; ++place) ClickBadge(0, place);
    ClickBadge(1, 0);   // "web", empty
    ClickBadge(1, 1);   // "titre", empty
    EXPECT_TRUE(shellCalls.empty());
    ClickBadge(1, 2);   // "podcast" keeps the third place
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].file, "http://podcast.example/feed");
    EXPECT_EQ(WaitForLinks(1).size(), 1u);

    // A right click on a live badge does nothing, and leaves it live.
    POINT badge = At(1, kBadgeX[2], kBadgeY);
    MoveMouse(badge);
    SendMessageA(List(), WM_RBUTTONDOWN, MK_RBUTTON, Position(badge));
    SendMessageA(List(), WM_RBUTTONUP, 0, Position(badge));
    Pump(10);
    EXPECT_EQ(shellCalls.size(), 1u);
    EXPECT_TRUE(Requests().empty());
    Click(badge);
    EXPECT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(WaitForLinks(2), std::vector<std::string>(2, Quoted("http://podcast.example/feed")));
}

TEST_F(PlayingTest, OnlyWebAddressesFromAListFileReachTheShell) {
    const char* hostile[] = {
        "file:///C:/windows/system32/calc.exe",
        "C:\\windows\\notepad.exe",
        "javascript:alert(1)",
        "mms://stream.example/live",
        "http://example.org/\" \"--evil",
    };
    std::vector<ListEntry> entries;
    for (const char* site : hostile) entries.push_back({"Hostile", 0, site, site, site});
    entries.push_back({"Sure", 0, "https://sure.example/"});
    StartWatched(entries);
    SetOption(IDC_OPEN_WEB, true);
    SetFocus(List());

    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(hostile[row]);
        host->ClearLog();
        DoubleClickRow(row);
        EXPECT_EQ(Requests().size(), 3u) << "the stream still plays";
        for (int place = 0; place < 3; ++place) ClickBadge(row, place);
        EXPECT_TRUE(shellCalls.empty());
    }
    // A secure address is a web address: it opens, and is all the recorder ever got.
    ClickBadge(5, 0);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].file, "https://sure.example/");
    EXPECT_EQ(WaitForLinks(1), std::vector<std::string>({Quoted("https://sure.example/")}));
}

namespace {
const std::vector<ListEntry> kSearchList = {
    {"Rock FM"},
    {"Classique", 0, "http://classique.example/", "", "", "rock symphonique"},
    {"Rock TV", 1},
    {"Rosa"},
    {"Jazz", 0, "", "", "", "swing"},
};
}  // namespace

TEST_F(PlayingTest, TheSearchControlsFilterTheListAtEveryNotice) {
    StartWatched(kSearchList);
    const std::vector<std::string> all = {"Rock FM", "Classique", "Rock TV", "Rosa", "Jazz"};
    EXPECT_EQ(Rows(), all);
    host->ClearLog();

    ChooseSearchMode(2);   // "Chercher Radio"
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique", "Rosa", "Jazz"}));
    SetFocus(Control(IDC_SEARCH_EDIT));
    SendMessageA(List(), LB_SETCURSEL, 0, 0);
    Type("r");
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique", "Rosa"}));
    EXPECT_EQ(Selected(), LB_ERR) << "a search leaves no row selected";
    Type("oc");
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique"}));   // a keyword counts
    Type("k");
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique"}));

    ChooseSearchMode(3);   // "Chercher TV"
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock TV"}));
    ChooseSearchMode(0);   // "Afficher Flux": the text is ignored
    EXPECT_EQ(Rows(), all);
    Type(" swing");
    EXPECT_EQ(Rows(), all);
    ChooseSearchMode(1);   // "Chercher Flux": either word, grouped by word
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique", "Rock TV", "Jazz"}));

    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(shellCalls.empty());
}

TEST_F(PlayingTest, ANoticeThatChangesNothingLeavesTheListWhereTheUserScrolled) {
    std::vector<ListEntry> many;
    for (int i = 0; i < 60; ++i) many.push_back({"Rock " + std::to_string(i)});
    many.push_back({"Jazz"});
    WriteEntries("Ondaria.rtv", many);
    Start();
    ASSERT_EQ(Rows().size(), many.size());
    SetFocus(Control(IDC_SEARCH_EDIT));
    Type("rock");
    ASSERT_EQ(Rows().size(), 60u);
    SendMessageA(List(), LB_SETTOPINDEX, 20, 0);
    ASSERT_EQ(SendMessageA(List(), LB_GETTOPINDEX, 0, 0), 20);

    // The box sends more than one notice per key: the ones after the first find the list as it is.
    const HWND edit = Control(IDC_SEARCH_EDIT);
    for (WORD notice : {EN_UPDATE, EN_CHANGE, EN_CHANGE})
        SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_EDIT, notice), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(SendMessageA(List(), LB_GETTOPINDEX, 0, 0), 20);
    EXPECT_EQ(Rows().size(), 60u);

    // Any change to the view since, or a selected row, and the search runs again.
    SendMessageA(List(), LB_DELETESTRING, 59, 0);
    SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_EDIT, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(Rows().size(), 60u);
    EXPECT_EQ(SendMessageA(List(), LB_GETTOPINDEX, 0, 0), 0);
    SendMessageA(List(), LB_SETTOPINDEX, 20, 0);
    SendMessageA(List(), LB_SETCURSEL, 30, 0);
    SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_EDIT, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(Selected(), LB_ERR);
    EXPECT_EQ(SendMessageA(List(), LB_GETTOPINDEX, 0, 0), 0);

    Type("x");
    EXPECT_TRUE(Rows().empty());
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(Rows().size(), 60u);
}

TEST_F(PlayingTest, LeavingTheSearchBoxForTheListPlaysTheRowSelectedThere) {
    StartWatched(kSearchList);
    SetOption(IDC_OPEN_WEB, true);
    ChooseSearchMode(2);
    SetFocus(Control(IDC_SEARCH_EDIT));
    Type("rock");
    ASSERT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique"}));
    host->ClearLog();

    // The search left nothing selected: leaving the box sends nothing.
    SetFocus(List());
    EXPECT_TRUE(Requests().empty());

    // Clicking into the box searches again at once.
    SendMessageA(List(), LB_SETCURSEL, 1, 0);
    SetFocus(Control(IDC_SEARCH_EDIT));
    EXPECT_EQ(Selected(), LB_ERR);
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique"}));
    EXPECT_TRUE(Requests().empty());

    // The box's focus notice comes once the list holds the focus: the row
    // selected then plays, its site stays closed, and no search runs.
    SendMessageA(List(), LB_SETCURSEL, 1, 0);
    SetFocus(List());
    Pump(10);
    std::vector<standin::LogEntry> requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].number, 101u);
    EXPECT_EQ(requests[1].data, CopyBytes("http://example.org/Classique"));
    EXPECT_EQ(requests[2].number, 102u);
    EXPECT_EQ(host->PlayingIndex(), 0);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique"}));
    EXPECT_TRUE(shellCalls.empty());
}

namespace {

// From the search box to playing without the mouse: Down selects the first
// row found and moves to the list, which plays nothing yet; Enter plays it.
TEST_F(PlayingTest, DownInTheSearchBoxSelectsTheFirstRowAndEnterPlaysIt) {
    StartWatched(kSearchList);
    ChooseSearchMode(2);
    HWND edit = Control(IDC_SEARCH_EDIT);
    SetFocus(edit);
    Type("rock");
    ASSERT_EQ(Rows(), std::vector<std::string>({"Rock FM", "Classique"}));
    host->ClearLog();

    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0x01500001);
    SendMessageA(edit, WM_KEYUP, VK_DOWN, 0xC1500001);
    Pump(10);
    EXPECT_EQ(GetFocus(), List());
    EXPECT_EQ(Selected(), 0);
    EXPECT_TRUE(Requests().empty());

    SendMessageA(List(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    SendMessageA(List(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    std::vector<standin::LogEntry> requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].data, CopyBytes("http://example.org/Rock FM"));

    // With nothing found, Down leaves the focus in the box.
    SetFocus(edit);
    Type("zzz");
    ASSERT_TRUE(Rows().empty());
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_EQ(GetFocus(), edit);
}

}  // namespace
