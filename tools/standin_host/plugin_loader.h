// Loading general-purpose plugins as the host does: every gen_*.dll of the
// plugins folder, its record filled in, then init; at the end quit, then
// FreeLibrary.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/standin_host/plugin_record.h"

namespace standin {

struct LoadedPlugin {
    std::string path;          // full path of the DLL
    std::string fileName;      // "gen_ondaria.dll"
    HMODULE module = nullptr;  // 0 once unloaded
    PluginRecord* record = nullptr;
    std::string description;
    int initResult = 0;
};

typedef std::function<void(const std::string&)> NoteSink;

// Full paths of the gen_*.dll files in a folder (which ends in a backslash), sorted.
std::vector<std::string> FindPluginFiles(const std::string& folder);

// Loads one DLL and, when it is a general-purpose plugin, writes the host
// window and the module into its record and calls init. A DLL that cannot be
// loaded, has no entry or returns no usable record is noted and freed; the
// result is then false.
bool LoadPlugin(const std::string& path, HWND host, const NoteSink& note, LoadedPlugin* plugin);

// quit for every plugin, then FreeLibrary for every plugin, in load order.
void QuitAndUnload(std::vector<LoadedPlugin>& plugins, const NoteSink& note);

}  // namespace standin
