// ondaria_host.exe: the stand-in host as a program.
//   ondaria_host.exe --settings FOLDER [--skin A.bmp --skin B.bmp] [--version 0x2090]
//                    [--screenshot OUT.bmp] [--exit-after MS] [--switch-skin INDEX]
// Loads the gen_*.dll plugins of FOLDER\plugins\. Without --skin it writes
// the two sample skins into FOLDER\skins\ and uses them. With --screenshot or
// --exit-after it runs for MS milliseconds (3000 by default), writes the
// screenshot of the whole screen, quits the plugins and exits; a message box
// still open then (say, one shown by a plugin's init) is noted and closed, so
// that a headless run always ends. Otherwise it runs until its main window is
// closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/skin_generator/skin_image.h"
#include "tools/standin_host/screen_capture.h"
#include "tools/standin_host/standin_host.h"

namespace {

standin::StandinHost* g_host = nullptr;
std::string g_screenshot;
bool g_deadlinePassed = false;
bool g_inMainLoop = false;
int g_status = 0;

BOOL CALLBACK CloseMessageBox(HWND window, LPARAM) {
    char name[16];
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof name) || std::strcmp(name, "#32770") != 0)
        return TRUE;
    char text[300] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);  // a message box's text
    g_host->AddNote(std::string("closing a message box: ") + text);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// A thread timer: it also fires inside modal loops.
void CALLBACK OnDeadline(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_deadlinePassed) return;
    g_deadlinePassed = true;
    if (!g_screenshot.empty()) {
        if (standin::CaptureScreenToBmp(g_screenshot)) {
            g_host->AddNote("screenshot written to " + g_screenshot);
        } else {
            g_host->AddNote("screenshot could not be written to " + g_screenshot);
            g_status = 1;
        }
    }
    if (!g_inMainLoop) EnumThreadWindows(GetCurrentThreadId(), CloseMessageBox, 0);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: ondaria_host.exe --settings FOLDER [--skin A.bmp]... [--version N]"
                 " [--screenshot OUT.bmp] [--exit-after MS] [--switch-skin INDEX]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    standin::HostOptions options;
    options.echoNotes = true;
    std::string screenshot;
    long exitAfter = -1;
    int switchSkin = -1;   // in a timed run, switched to halfway through
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--settings" && hasValue) {
            options.settingsFolder = argv[++i];
        } else if (arg == "--skin" && hasValue) {
            options.skinImages.push_back(argv[++i]);
        } else if (arg == "--version" && hasValue) {
            options.version = static_cast<int>(std::strtol(argv[++i], nullptr, 0));
        } else if (arg == "--screenshot" && hasValue) {
            screenshot = argv[++i];
        } else if (arg == "--switch-skin" && hasValue) {
            switchSkin = static_cast<int>(std::strtol(argv[++i], nullptr, 10));
        } else if (arg == "--exit-after" && hasValue) {
            char* end = nullptr;
            exitAfter = std::strtol(argv[++i], &end, 10);
            if (*end || exitAfter < 0) return Usage();
        } else {
            return Usage();
        }
    }
    if (options.settingsFolder.empty()) return Usage();

    if (options.skinImages.empty()) {
        std::string folder = options.settingsFolder;
        while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        CreateDirectoryA(folder.c_str(), nullptr);
        folder += "\\skins";
        CreateDirectoryA(folder.c_str(), nullptr);
        if (skin::WriteSampleSkins(folder)) {
            options.skinImages.push_back(folder + "\\" + skin::BlueSkin().fileName);
            options.skinImages.push_back(folder + "\\" + skin::AmberSkin().fileName);
        }
    }

    standin::StandinHost host(options);
    if (!host.Created()) {
        std::fprintf(stderr, "ondaria_host: the main window could not be created\n");
        return 1;
    }
    g_host = &host;
    g_screenshot = screenshot;
    bool timed = !screenshot.empty() || exitAfter >= 0;
    if (timed) SetTimer(nullptr, 0, exitAfter >= 0 ? static_cast<UINT>(exitAfter) : 3000, OnDeadline);
    host.LoadPlugins();

    g_inMainLoop = true;
    if (timed) {
        DWORD start = GetTickCount();
        DWORD half = (exitAfter >= 0 ? static_cast<DWORD>(exitAfter) : 3000) / 2;
        while (!g_deadlinePassed && host.PumpMessages(20)) {
            if (switchSkin >= 0 && GetTickCount() - start >= half) {
                host.SwitchSkin(switchSkin);
                switchSkin = -1;
            }
        }
    } else {
        host.RunUntilClosed();
    }
    g_inMainLoop = false;
    host.UnloadPlugins();
    host.AddNote("exiting");
    g_host = nullptr;
    return g_status;
}
