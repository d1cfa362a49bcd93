#include "tools/standin_host/standin_host.h"

#include <cstdio>
#include <cstring>

#include "tools/standin_host/embedded_frame.h"
#include "tools/standin_host/unload_guard.h"

namespace standin {

namespace {

const char kMainClass[] = "StandinHostMain";
constexpr int kMaxShownLines = 1000;

void RegisterMainClass(WNDPROC procedure) {
    WNDCLASSA wc = {};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, kMainClass, &wc)) return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    RegisterClassA(&wc);
}

std::string WithoutTrailingSeparators(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectWindowTree(HWND window, LPARAM list) {
    CollectWindow(window, list);
    EnumChildWindows(window, CollectWindow, list);  // every level below
    return TRUE;
}

std::string DescribeWindow(HWND window) {
    char name[64] = {}, title[64] = {}, text[200];
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    std::snprintf(text, sizeof text, "window %p (class \"%s\", title \"%s\")", static_cast<void*>(window), name, title);
    return text;
}

std::string Hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

StandinHost::StandinHost(const HostOptions& options)
    : settings_(WithoutTrailingSeparators(options.settingsFolder)),
      program_(options.programFolder.empty() ? settings_ : WithoutTrailingSeparators(options.programFolder)),
      version_(options.version),
      echo_(options.echoNotes),
      skins_(options.skinImages) {
    if (!settings_.empty()) {
        CreateDirectoryA(settings_.c_str(), nullptr);
        CreateDirectoryA((settings_ + "\\plugins").c_str(), nullptr);
    }
    RegisterMainClass(MainProc);
    const RECT& r = options.mainRect;
    main_ = CreateWindowExA(0, kMainClass, "Stand-in host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, nullptr, BuildMenuBar(), GetModuleHandleA(nullptr),
                            this);
    if (!main_) return;
    lines_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                             0, 0, 10, 10, main_, nullptr, GetModuleHandleA(nullptr), nullptr);
    RECT client;
    GetClientRect(main_, &client);
    if (lines_) MoveWindow(lines_, 0, 0, client.right, client.bottom, FALSE);
    if (!playlist_.Create(main_, options.playlistRect, options.visible)) AddNote("the playlist windows could not be created");
    UpdateSkinChecks();
    if (options.visible) {
        ShowWindow(main_, SW_SHOW);
        UpdateWindow(main_);
    }
    AddNote("settings folder: " + settings_);
    AddNote("version " + Hex(version_));
    if (skins_.empty())
        AddNote("no skin images: request 503 answers 0");
    else
        AddNote("skin: " + FileNameOf(skins_[0]));
}

StandinHost::~StandinHost() {
    for (const LoadedPlugin& plugin : plugins_) {
        if (plugin.module) {
            UnloadPlugins();
            break;
        }
    }
    SetUnloadGuardContext("the host was destroying its windows");
    playlist_.Destroy();
    if (main_ && IsWindow(main_)) {
        // Under emulation, Wine's X11 driver destroying a shown window that
        // had the focus sometimes unmaps it again after destroying it, and
        // the X server's "BadWindow" ends the process. Hidden first, and
        // the window system heard, the destroy has nothing left to unmap.
        ShowWindow(main_, SW_HIDE);
        PumpMessages(0);
        DestroyWindow(main_);   // the frames go with their owner
    }
    main_ = nullptr;
    SetUnloadGuardContext("");
}

HMENU StandinHost::BuildMenuBar() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kCommandExit, "E&xit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");

    HMENU plugins = CreatePopupMenu();
    AppendMenuA(plugins, MF_STRING, kCommandPluginConfig, "Plugin config");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(plugins), "&Plugins");

    skinMenu_ = CreatePopupMenu();
    for (size_t i = 0; i < skins_.size(); ++i) {
        std::string label = "&" + std::to_string(i + 1) + " " + FileNameOf(skins_[i]);
        AppendMenuA(skinMenu_, MF_STRING, kCommandFirstSkin + i, label.c_str());
    }
    if (!skins_.empty()) AppendMenuA(skinMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(skinMenu_, MF_STRING, kCommandNextSkin, "&Next skin");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(skinMenu_), "&Skin");

    // The anchor that plugins place their entries after, followed by a
    // separator and a plain item before the next submenu.
    AppendMenuA(bar, MF_STRING, kCommandMenuAnchor, "&Main window");
    AppendMenuA(bar, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(bar, MF_STRING, kCommandAbout, "&About");

    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, kCommandAbout, "&About the stand-in host");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

void StandinHost::UpdateSkinChecks() {
    for (size_t i = 0; i < skins_.size(); ++i)
        CheckMenuItem(skinMenu_, kCommandFirstSkin + i,
                      MF_BYCOMMAND | (static_cast<int>(i) == skin_ ? MF_CHECKED : MF_UNCHECKED));
}

void StandinHost::AddNote(const std::string& text) {
    notes_.push_back(text);
    if (echo_) {
        std::printf("host: %s\n", text.c_str());
        std::fflush(stdout);
    }
    ShowLine("* " + text);
}

void StandinHost::ShowLine(const std::string& line) {
    if (!lines_ || !IsWindow(lines_)) return;
    if (SendMessageA(lines_, LB_GETCOUNT, 0, 0) >= kMaxShownLines) SendMessageA(lines_, LB_DELETESTRING, 0, 0);
    LRESULT at = SendMessageA(lines_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (at >= 0) SendMessageA(lines_, LB_SETTOPINDEX, at, 0);
}

void StandinHost::Record(const LogEntry& entry) {
    log_.push_back(entry);
    ShowLine(DescribeLogEntry(entry));
}

int StandinHost::LoadPlugins() {
    for (const LoadedPlugin& plugin : plugins_) {
        if (plugin.module) {
            AddNote("plugins are already loaded");
            return 0;
        }
    }
    plugins_.clear();
    std::string folder = program_ + "\\plugins\\";
    std::vector<std::string> files = FindPluginFiles(folder);
    if (files.empty()) AddNote("no gen_*.dll in " + folder);
    NoteSink note = [this](const std::string& text) { AddNote(text); };
    int started = 0;
    for (const std::string& path : files) {
        LoadedPlugin plugin;
        if (LoadPlugin(path, main_, note, &plugin)) {
            plugins_.push_back(plugin);
            ++started;
        }
    }
    return started;
}

void StandinHost::ConfigPlugins() {
    bool any = false;
    for (const LoadedPlugin& plugin : plugins_) {
        if (plugin.module && plugin.record->config) {
            any = true;
            plugin.record->config();
        }
    }
    if (!any) AddNote("no plugin to configure");
}

bool StandinHost::SwitchSkin(int index) {
    if (index < 0 || index >= static_cast<int>(skins_.size())) return false;
    skin_ = index;
    UpdateSkinChecks();
    AddNote("skin: " + FileNameOf(skins_[index]));
    HDC screen = GetDC(nullptr);
    WPARAM bits = static_cast<WPARAM>(GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    // A change of skin carries no screen size.
    std::vector<HWND> docked;
    for (HWND frame : frames_) {
        if (!IsWindow(frame)) continue;
        for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) docked.push_back(child);
    }
    for (HWND window : docked)
        if (IsWindow(window)) SendMessageA(window, WM_DISPLAYCHANGE, bits, 0);
    return true;
}

void StandinHost::QuitAndUnloadPlugins() {
    QuitAndUnload(plugins_, [this](const std::string& text) { AddNote(text); });
}

void StandinHost::UnloadPlugins() {
    bool any = false;
    for (const LoadedPlugin& plugin : plugins_) any = any || plugin.module;
    if (!any) return;
    QuitAndUnloadPlugins();
    PokeWindows();
    PumpMessages(300);
    SetUnloadGuardContext("");
}

void StandinHost::PokeWindows() {
    std::vector<HWND> windows = {main_, lines_, playlist_.TopWindow(), playlist_.Container(), playlist_.Editor(),
                                 playlist_.ListBox()};
    for (HWND frame : frames_) {
        windows.push_back(frame);
        if (IsWindow(frame))
            for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                windows.push_back(child);
    }
    for (HWND window : windows) {
        if (!window || !IsWindow(window)) continue;
        std::string target = DescribeWindow(window);
        auto send = [&](const char* what, UINT message, WPARAM first, LPARAM second) {
            SetUnloadGuardContext(std::string("the host was sending ") + what + " to " + target);
            SendMessageA(window, message, first, second);
        };
        RECT client;
        GetClientRect(window, &client);
        send("WM_NULL", WM_NULL, 0, 0);
        send("WM_KEYDOWN", WM_KEYDOWN, 'R', 0x00130001);
        send("WM_KEYUP", WM_KEYUP, 'R', 0xC0130001);
        send("WM_COMMAND", WM_COMMAND, kCommandPoke, 0);
        send("WM_SIZE", WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        send("WM_MOUSEMOVE", WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        SetUnloadGuardContext("the host was redrawing the frame of " + target);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        SetUnloadGuardContext("the host was repainting " + target);
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    // Any other window of this thread, such as a dialog that a plugin left
    // owned by a frame: WM_NULL reaches its procedure.
    std::vector<HWND> others;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindowTree, reinterpret_cast<LPARAM>(&others));
    for (HWND window : others) {
        if (!IsWindow(window)) continue;
        SetUnloadGuardContext("the host was sending WM_NULL to " + DescribeWindow(window));
        SendMessageA(window, WM_NULL, 0, 0);
    }
    SetUnloadGuardContext("the host was pumping messages after unloading its plugins");
}

bool StandinHost::PumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return false;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

void StandinHost::RunUntilClosed() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK StandinHost::MainProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<StandinHost*>(reinterpret_cast<CREATESTRUCTA*>(second)->lpCreateParams);
        creating->main_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* host = reinterpret_cast<StandinHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!host || host->main_ != window) return DefWindowProcA(window, message, first, second);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, first, second);
    }
    return host->OnMessage(message, first, second);
}

LRESULT StandinHost::OnMessage(UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case kHostRequestMessage:
        return OnRequest(first, static_cast<unsigned>(second));
    case WM_COPYDATA:
        return OnCopyData(reinterpret_cast<HWND>(first), reinterpret_cast<const COPYDATASTRUCT*>(second));
    case WM_COMMAND:
        Record({LogEntry::Command, LOWORD(first), first, std::string(), reinterpret_cast<HWND>(second)});
        OnCommand(first, second);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        Record({LogEntry::Key, message, first, std::string(), nullptr});
        break;
    case WM_SIZE:
        if (lines_ && first != SIZE_MINIMIZED) MoveWindow(lines_, 0, 0, LOWORD(second), HIWORD(second), TRUE);
        return 0;
    case WM_CLOSE:
        // The program unloads the plugins before any window goes.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(main_, message, first, second);
}

LRESULT StandinHost::OnRequest(WPARAM argument, unsigned request) {
    Record({LogEntry::Request, request, argument, std::string(), nullptr});
    switch (request) {
    case kHostRequestVersion:
        return version_;
    case kHostRequestEmptyPlaylist:
        playlist_.Clear();
        return 0;
    case kHostRequestStartPlayback:
        playlist_.Play();
        return 0;
    case kHostRequestWindow:
        return argument == kHostWindowPlaylistEditor ? reinterpret_cast<LRESULT>(playlist_.Editor()) : 0;
    case kHostRequestMainMenu:
        return reinterpret_cast<LRESULT>(GetMenu(main_));
    case kHostRequestSettingsFolder:
        return reinterpret_cast<LRESULT>(settings_.c_str());
    case kHostRequestSkinBitmap: {
        if (skins_.empty()) return 0;
        HANDLE bitmap = LoadImageA(nullptr, skins_[skin_].c_str(), IMAGE_BITMAP, 0, 0,
                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (!bitmap) {
            AddNote("skin image " + skins_[skin_] + " cannot be loaded");
            return 0;
        }
        bitmaps_.push_back(static_cast<HBITMAP>(bitmap));
        return reinterpret_cast<LRESULT>(bitmap);
    }
    case kHostRequestEmbeddedFrame: {
        if (refuseFrames_) {
            AddNote("frame refused");
            return 0;
        }
        HWND frame = CreateEmbeddedFrame(main_, reinterpret_cast<const void*>(argument));
        if (!frame) {
            AddNote("no frame created");
            return 0;
        }
        frames_.push_back(frame);
        return reinterpret_cast<LRESULT>(frame);
    }
    }
    return 0;
}

LRESULT StandinHost::OnCopyData(HWND sender, const COPYDATASTRUCT* copy) {
    if (!copy) {
        Record({LogEntry::CopyData, 0, 0, std::string(), sender});
        return FALSE;
    }
    const char* bytes = static_cast<const char*>(copy->lpData);
    std::string data = bytes ? std::string(bytes, copy->cbData) : std::string();
    Record({LogEntry::CopyData, static_cast<unsigned>(copy->dwData), copy->cbData, data, sender});
    if (copy->dwData != kCopyDataAddToPlaylist || !bytes || copy->cbData == 0) return FALSE;
    playlist_.Append(std::string(bytes, strnlen(bytes, copy->cbData)));
    return TRUE;
}

void StandinHost::OnCommand(WPARAM first, LPARAM) {
    unsigned id = LOWORD(first);
    if (id == kCommandExit) {
        PostMessageA(main_, WM_CLOSE, 0, 0);
    } else if (id == kCommandPluginConfig) {
        ConfigPlugins();
    } else if (id == kCommandNextSkin) {
        if (!skins_.empty()) SwitchSkin((skin_ + 1) % static_cast<int>(skins_.size()));
    } else if (id >= kCommandFirstSkin && id < kCommandFirstSkin + skins_.size()) {
        SwitchSkin(static_cast<int>(id - kCommandFirstSkin));
    } else if (id == kCommandAbout) {
        AddNote("stand-in host for gen_*.dll general-purpose plugins");
    }
}

}  // namespace standin
