// Start-up and shut-down of the panel object, in the order that every other
// piece of the plugin relies on.
#include <cstring>
#include <vector>

#include "catalogue/logo_images.h"
#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/text.h"
#include "host/plugin.h"
#include "host/portable/frame_placement.h"
#include "scrollbars/skinned_scroll_bars.h"
#include "ui/framework/modal_loops.h"

const char kConfigurationFile[] = "gen_ondaria.ini";
const char kVersionText[] = "2b";

CPlugin g_plugin;
bool isNtFamily = false;

namespace {

const char kProductName[] = "Ondaria";
const char kStartFailure[] = "Winamp n'a pas réussi à initialiser le plugin !";

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back({r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

std::vector<ScreenRect> ScreenWorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// A plugin folder without a list (the host keeps its settings apart from
// its program folder, or the plugin was unpacked by hand) gets the starter
// list and the readme shipped in a gen_ondaria folder beside the DLL. The
// starter list is shipped under a name no current list has, so that
// unpacking the zip over an installed plugin leaves the user's list alone.
// Nothing is ever copied over a file that exists.
void CopyStarterFiles(HMODULE module, const char* pluginFolder) {
    struct StarterFile {
        const char* shipped;
        const char* copy;
    };
    static const StarterFile kStarterFiles[] = {{"Ondaria.rtv.depart", "Ondaria.rtv"}, {"readme.txt", "readme.txt"}};
    char source[kPathSize];
    DWORD length = GetModuleFileNameA(module, source, sizeof source);
    if (length == 0 || length >= sizeof source) return;
    char* slash = strrchr(source, '\\');
    if (slash == nullptr) return;
    slash[1] = 0;
    const Text shipped = Text(source) + "gen_ondaria\\";
    const Text target = pluginFolder;
    if (GetFileAttributesA((target + kStarterFiles[0].copy).c_str()) != INVALID_FILE_ATTRIBUTES) return;
    for (const StarterFile& file : kStarterFiles) {
        CopyFileA((shipped + file.shipped).c_str(), (target + file.copy).c_str(), TRUE);
    }
}

HWND WindowOrNull(HWND hwnd) { return (hwnd && IsWindow(hwnd)) ? hwnd : nullptr; }

}  // namespace

CPlugin::CPlugin()
    : pluginFolder(nullptr),
      frameRect{0, 0, 0, 0},
      frameState(static_cast<unsigned char*>(GlobalAlloc(GPTR, kFrameStateSize))),
      frameWindow(nullptr),
      showState(1),
      listBox(nullptr),
      menuCommand(kPluginMenuCommand),
      badgeFont(nullptr),
      sloganFont(nullptr),
      titleFont(nullptr),
      atlModule(nullptr),
      browserHost(nullptr),
      browser(nullptr),
      comInitialised(false),
      procedureLeftBehind(false) {
    templateId = IDD_PANEL;
    logoInfo = LogoBitmapInfo();
}

// The frame state block is the host's while the frame lives: never freed.
// The plugin folder is normally freed by the teardown; a start-up that
// failed after making it never reaches one.
CPlugin::~CPlugin() { delete[] pluginFolder; }

int CPlugin::FailStart(HWND owner, const char* text) {
    ShowPluginMessage(WindowOrNull(owner), text, kProductName, MB_ICONWARNING);
    return 0;
}

int CPlugin::Start(HWND hostWindow, HINSTANCE module) {
    // Start runs on the interface thread: the window lookups that are
    // remembered are this thread's, whoever looked first.
    g_wndBindings.ClaimOwner();
    g_dialogBindings.ClaimOwner();
    ClaimSkinnedScrollLookups();
    parentWindow = hostWindow;
    instance = module;

    winamp.SetOwner(this);
    winamp.Subclass(hostWindow);

    if (!winamp.IsHostVersionSupported()) return FailStart(hostWindow, "Version de Winamp trop ancienne !");

    HWND editorWindow = reinterpret_cast<HWND>(winamp.SendHostMessage(kHostWindowPlaylistEditor, kHostRequestWindow));
    playlistEditor.SetOwner(this);
    playlistEditor.Subclass(editorWindow);

    const char* settings = reinterpret_cast<const char*>(winamp.SendHostMessage(0, kHostRequestSettingsFolder));
    pluginFolder = new char[kPathSize]();
    if (settings == nullptr ||
        FormatText(pluginFolder, kPathSize, "%s\\plugins\\gen_ondaria\\", settings) >= kPathSize) {
        // A settings folder too long for the plugin folder's buffer.
        delete[] pluginFolder;
        pluginFolder = nullptr;
        return FailStart(hostWindow, kStartFailure);
    }

    if (!ReadConfiguration(kConfigurationFile)) CopyStarterFiles(module, pluginFolder);

    // A kept rectangle that nobody could see (a screen unplugged, values
    // edited by hand) gives way to the place beside the host's window.
    ScreenRect placement = {frameRect.left, frameRect.top, frameRect.right, frameRect.bottom};
    std::vector<ScreenRect> workAreas = ScreenWorkAreas();
    if (!IsUsableFrameRect(placement, workAreas.data(), static_cast<int>(workAreas.size()))) {
        RECT host = {0, 0, 0, 0};
        ::GetWindowRect(hostWindow, &host);
        placement = FrameBesideHost({host.left, host.top, host.right, host.bottom});
    }
    LONG* initial = reinterpret_cast<LONG*>(frameState + kFrameStateRectOffset);
    initial[0] = placement.left;
    initial[1] = placement.top;
    initial[2] = placement.right;
    initial[3] = placement.bottom;

    frameWindow = reinterpret_cast<HWND>(winamp.SendHostMessage(reinterpret_cast<WPARAM>(frameState), kHostRequestEmbeddedFrame));
    if (frameWindow == nullptr) return FailStart(hostWindow, kStartFailure);

    char title[32];
    FormatText(title, sizeof title, "%s %s", kProductName, kVersionText);
    ::SetWindowTextA(frameWindow, title);

    frame.Subclass(frameWindow);
    frame.SetOwner(this);

    HWND panel = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_PANEL), frameWindow, &CPlugin::PanelDialogProc,
                                    reinterpret_cast<LPARAM>(this));
    if (panel == nullptr) return FailStart(frameWindow, kStartFailure);

    StartBanner();

    BindStreamList();

    ::SendMessageA(window, WM_SIZE, 0, 0);

    preferences.Create(IDD_PREFERENCES, this, &CDialog::ModelessDialogProc);
    preferences.editor = &editor;
    preferences.catalogue = &view;

    ReadConfiguration(kConfigurationFile);

    readme.Create(IDD_README, this, &CDialog::ModelessDialogProc);
    readme.LoadReadme(pluginFolder, "readme.txt");

    editor.Create(IDD_STREAM_EDITOR, this, &CDialog::ModelessDialogProc);
    editor.preferences = &preferences;
    directory.plugin = this;
    preferences.directory = &directory;
    editor.catalogue = &view;
    view.AddReleaseListener(&editor);

    return FinishStart();
}

int CPlugin::FinishStart() {
    char menuText[32];
    FormatText(menuText, sizeof menuText, "%s\tAlt+R", kProductName);
    if (showState) {
        Show(SW_SHOW);
        UpdateWindow();
    } else {
        InsertMenuEntry(menuText);
    }

    // Exactly one double-click action is checked; playing at once wins.
    if (preferences.IsDlgButtonChecked(IDC_PLAY_AT_ONCE) && preferences.IsDlgButtonChecked(IDC_ENQUEUE)) {
        preferences.CheckDlgButton(IDC_ENQUEUE, BST_UNCHECKED);
    }
    if (!preferences.IsDlgButtonChecked(IDC_PLAY_AT_ONCE) && !preferences.IsDlgButtonChecked(IDC_ENQUEUE)) {
        preferences.CheckDlgButton(IDC_PLAY_AT_ONCE, BST_CHECKED);
    }

    char name[kListNameSize] = {0};
    if (preferences.window) GetDlgItemTextA(preferences.window, IDC_LIST_NAME, name, sizeof name);
    if (name[0] == 0) {
        if (preferences.window) SetDlgItemTextA(preferences.window, IDC_LIST_NAME, kProductName);
        view.SetListName(kProductName);
    }

    view.LoadCurrentListFile(pluginFolder);
    preferences.ReadCheckStates();

    HWND combo = ::GetDlgItem(window, IDC_SEARCH_MODE);
    static const char* const kModes[kSearchModeCount] = {"Afficher Flux", "Chercher Flux", "Chercher Radio",
                                                         "Chercher TV"};
    for (int mode = kShowAll; mode < kSearchModeCount; ++mode) {
        LRESULT item = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kModes[mode]));
        ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(item), mode);
    }
    ::SendMessageA(combo, CB_SETCURSEL, kSearchAll, 0);
    return 1;
}

void CPlugin::DetachHostWrapper(CWnd& wrapper, CPlugin*& owner) {
    bool attached = wrapper.window && ::IsWindow(wrapper.window) && g_wndBindings.Find(wrapper.window) == &wrapper;
    if (attached && reinterpret_cast<WNDPROC>(GetWindowLongA(wrapper.window, GWL_WNDPROC)) != &CWnd::WindowProc) {
        // Another procedure lies over ours and will keep calling it. Taking the
        // binding away would make ours swallow every message of the host's
        // window; it stays, forwarding to the host's procedure, with no owner.
        owner = nullptr;
        procedureLeftBehind = true;
        return;
    }
    wrapper.Unsubclass();
}

int CPlugin::Teardown() {
    HWND editorWindow = playlistEditor.window;
    HWND container = editorWindow ? ::GetParent(editorWindow) : nullptr;
    HWND outer = container ? ::GetParent(container) : nullptr;
    if (outer) ::ShowWindow(outer, SW_HIDE);

    if (showState) WriteConfiguration(kConfigurationFile, showState);

    // Nothing in flight is waited for, and no answer comes after this.
    web.Close();
    preferences.EndCheck(true);

    // Undone before the list is detached: the bars' procedure lies over ours.
    DetachSkinnedScrollBars(listBox);

    if (!view.SaveCurrentListFile(pluginFolder) && pluginFolder) {
        // The previous file is still there, but this session's changes are not.
        // (Without a plugin folder the start never got as far as a list.)
        ShowPluginMessage(WindowOrNull(parentWindow), "Sauvegarde de la liste impossible !", kProductName, MB_ICONWARNING);
    }
    view.ClearCatalogue();

    view.Unsubclass();
    searchBox.Unsubclass();
    DetachHostWrapper(frame, frame.owner);
    DetachHostWrapper(playlistEditor, playlistEditor.owner);

    delete[] pluginFolder;
    pluginFolder = nullptr;

    ReleaseBanner();

    // Made with the panel as parent, the dialogs are owned by the frame, the
    // panel's top-level ancestor, and would outlive the panel and the library.
    editor.DestroyWindow();
    directory.Close();
    readme.DestroyWindow();
    preferences.DestroyWindow();
    return 0;
}

void CPlugin::ReleaseHostWindows() {
    // A failed start-up leaves whatever it had attached.
    DetachHostWrapper(frame, frame.owner);
    DetachHostWrapper(playlistEditor, playlistEditor.owner);
    DetachHostWrapper(winamp, winamp.owner);
    if (procedureLeftBehind) {
        // Our window procedure is still called from a host window.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&CWnd::WindowProc), &self);
    }
}
