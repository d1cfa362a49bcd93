// The exported entry and the host's three calls.
#include "host/plugin.h"
#include "host/plugin_record.h"
#include "scrollbars/scroll_redirection.h"
#include "ui/framework/modal_loops.h"

namespace {

int Init();
void Config();
void Quit();

PluginRecord record = {kGeneralPurposeInterfaceVersion, "Ventosa Radios (gen_ondaria.dll)", &Init, &Config, &Quit,
                       nullptr, nullptr};

int Init() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    isNtFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (isNtFamily) InstallScrollRedirection();
    g_plugin.Start(record.hostWindow, record.module);
    return 0;
}

void Config() { g_plugin.preferences.Show(SW_SHOW); }

void Quit() {
    // The host may be quitting from a message that a box of ours dispatched.
    KeepLoadedForOpenModalLoops();
    if (g_plugin.window && IsWindow(g_plugin.window)) DestroyWindow(g_plugin.window);
    g_plugin.ReleaseHostWindows();
    // After the panel, whose list box was the reason for it.
    if (isNtFamily) RemoveScrollRedirection();
}

}  // namespace

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA is told the size of the structure it fills");

extern "C" __declspec(dllexport) PluginRecord* winampGetGeneralPurposePlugin() { return &record; }
