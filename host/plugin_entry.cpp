// The exported entry and the host's three calls.
#include "host/plugin.h"
#include "host/plugin_record.h"
#include "scrollbars/scroll_redirection.h"

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
    thePlugin.Start(record.hostWindow, record.module);
    return 0;
}

void Config() { thePlugin.preferences.Show(SW_SHOW); }

void Quit() {
    if (thePlugin.window && IsWindow(thePlugin.window)) DestroyWindow(thePlugin.window);
    thePlugin.ReleaseHostWindows();
    // After the panel, whose list box was the reason for it.
    if (isNtFamily) RemoveScrollRedirection();
}

}  // namespace

static_assert(sizeof(OSVERSIONINFOA) == 148, "");

extern "C" __declspec(dllexport) PluginRecord* winampGetGeneralPurposePlugin() { return &record; }
