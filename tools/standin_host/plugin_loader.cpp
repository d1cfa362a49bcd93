#include "tools/standin_host/plugin_loader.h"

#include <algorithm>

#include "tools/standin_host/unload_guard.h"

namespace standin {

namespace {

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::string> FindPluginFiles(const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "gen_*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

bool LoadPlugin(const std::string& path, HWND host, const NoteSink& note, LoadedPlugin* plugin) {
    std::string name = FileNameOf(path);
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        note(name + ": cannot be loaded (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    PluginEntry entry = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(module, kPluginEntryName)));
    if (!entry) {
        note(name + ": no export " + kPluginEntryName + ", not a general-purpose plugin; left unloaded");
        FreeLibrary(module);
        return false;
    }
    PluginRecord* record = entry();
    if (!record) {
        note(name + ": " + kPluginEntryName + " returned no record; left unloaded");
        FreeLibrary(module);
        return false;
    }
    if (record->version != kPluginRecordVersion) {
        note(name + ": record version " + std::to_string(record->version) + " instead of " +
             std::to_string(kPluginRecordVersion) + "; left unloaded");
        FreeLibrary(module);
        return false;
    }
    plugin->path = path;
    plugin->fileName = name;
    plugin->module = module;
    plugin->record = record;
    plugin->description = record->description ? record->description : "";
    record->hwndParent = host;
    record->hDllInstance = module;
    note(name + ": \"" + plugin->description + "\", calling init");
    plugin->initResult = record->init ? record->init() : 0;
    note(name + ": init returned " + std::to_string(plugin->initResult));
    return true;
}

void QuitAndUnload(std::vector<LoadedPlugin>& plugins, const NoteSink& note) {
    for (LoadedPlugin& plugin : plugins) {
        if (!plugin.module) continue;
        note(plugin.fileName + ": calling quit");
        if (plugin.record->quit) plugin.record->quit();
    }
    for (LoadedPlugin& plugin : plugins) {
        if (!plugin.module) continue;
        WatchUnloadedModule(plugin.module, plugin.fileName);
        FreeLibrary(plugin.module);
        HMODULE still = nullptr;
        bool loaded = GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                         reinterpret_cast<LPCSTR>(plugin.module), &still);
        note(plugin.fileName + (loaded ? ": still loaded after FreeLibrary" : ": unloaded"));
        plugin.module = nullptr;
        plugin.record = nullptr;
    }
}

}  // namespace standin
