// The record a general-purpose plugin DLL hands to its host, and the entry
// that returns it. 32-bit layout: seven 32-bit fields, 28 bytes.
#pragma once

#include <windows.h>

namespace standin {

struct PluginRecord {
    int version;              // 16 for this interface
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hwndParent;          // written by the host before init
    HINSTANCE hDllInstance;   // written by the host before init
};
static_assert(sizeof(void*) != 4 || sizeof(PluginRecord) == 28, "plugin record must be 28 bytes");

constexpr int kPluginRecordVersion = 16;
constexpr const char* kPluginEntryName = "winampGetGeneralPurposePlugin";
typedef PluginRecord* (__cdecl* PluginEntry)();

}  // namespace standin
