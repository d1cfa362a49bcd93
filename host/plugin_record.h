// The record the host asks for through the plugin's one export.
#pragma once

#include <windows.h>

struct PluginRecord {
    int version;
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hostWindow;
    HINSTANCE module;
};
static_assert(sizeof(PluginRecord) == 28, "the host reads seven 32-bit fields");

constexpr int kGeneralPurposeInterfaceVersion = 16;

extern "C" __declspec(dllexport) PluginRecord* winampGetGeneralPurposePlugin();
