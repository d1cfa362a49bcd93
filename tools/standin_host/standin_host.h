// A stand-in for the media player that hosts general-purpose plugins: a main
// window with a menu bar, a playlist editor, embedded frames for plugins,
// skins, and the WM_USER / WM_COPYDATA requests that plugins send to the
// main window. Everything runs on the creating thread; a test pumps
// messages with PumpMessages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/host_protocol.h"
#include "tools/standin_host/host_log.h"
#include "tools/standin_host/playlist.h"
#include "tools/standin_host/plugin_loader.h"

namespace standin {

constexpr int kDefaultVersion = 0x5666;

// Commands of the host's menu bar. kCommandMenuAnchor is the item that
// plugins insert their own entries next to.
enum HostCommand : unsigned {
    kCommandExit = 40001,
    kCommandPluginConfig = 40100,
    kCommandFirstSkin = 40300,     // + skin index
    kCommandNextSkin = 40290,
    kCommandAbout = 40041,
    kCommandMenuAnchor = kHostMenuAnchor,
    kCommandPoke = 40999,          // sent by the host itself after unloading
};

struct HostOptions {
    std::string settingsFolder;              // Windows path; a trailing backslash is dropped
    std::string programFolder;               // where plugins\ is looked in; empty: the settings folder
    int version = kDefaultVersion;
    std::vector<std::string> skinImages;     // BMP files, Windows paths; skin 0 is current at start
    RECT mainRect = {340, 20, 940, 780};     // main window, screen coordinates
    RECT playlistRect = {950, 20, 1270, 420};
    bool visible = true;                     // show the main and playlist windows
    bool echoNotes = false;                  // also print notes on stdout
};

class StandinHost {
public:
    explicit StandinHost(const HostOptions& options);
    ~StandinHost();  // unloads the plugins if still loaded, then destroys the windows
    StandinHost(const StandinHost&) = delete;
    StandinHost& operator=(const StandinHost&) = delete;

    bool Created() const { return main_ != nullptr; }

    // Loads every gen_*.dll of <settings>\plugins\ and calls init; returns
    // how many plugins were started.
    int LoadPlugins();
    // Calls config of every loaded plugin (the menu item "Plugin config").
    void ConfigPlugins();
    // Makes skin `index` current and announces it to the windows docked in
    // every frame: WM_DISPLAYCHANGE with the screen's bits per pixel, lParam 0.
    bool SwitchSkin(int index);
    // quit, then FreeLibrary, for every plugin; then messages to the host's
    // windows (and WM_NULL to every other window of the thread) and 300 ms of
    // message pumping, so that a window procedure left behind by a plugin
    // gets called and is named (unload_guard.h: the process ends with exit
    // code 3). Those messages show in the log as key messages and command
    // kCommandPoke.
    void UnloadPlugins();
    // Only the quit and FreeLibrary part of UnloadPlugins, as the real host
    // does at exit (the benchmark times it alone).
    void QuitAndUnloadPlugins();

    // Dispatches messages for `ms` milliseconds. Returns false if WM_QUIT
    // was seen (the main window was closed).
    bool PumpMessages(DWORD ms);
    // Dispatches messages until WM_QUIT (the interactive program).
    void RunUntilClosed();

    void SetVersion(int version) { version_ = version; }
    int Version() const { return version_; }
    // When set, request 505 answers 0 and creates nothing.
    void SetRefuseFrames(bool refuse) { refuseFrames_ = refuse; }

    const std::vector<LogEntry>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Free-text notes: plugins loaded or refused, skin switches, ...
    const std::vector<std::string>& Notes() const { return notes_; }
    void AddNote(const std::string& text);

    const std::vector<std::string>& PlaylistEntries() const { return playlist_.Entries(); }
    int PlayingIndex() const { return playlist_.PlayingIndex(); }  // -1 when nothing plays

    HWND MainWindow() const { return main_; }
    HMENU MainMenu() const { return main_ ? GetMenu(main_) : nullptr; }
    HWND PlaylistEditor() const { return playlist_.Editor(); }
    HWND PlaylistGrandparent() const { return playlist_.TopWindow(); }
    const std::vector<HWND>& Frames() const { return frames_; }
    // Every bitmap handed out by request 503, in order (the plugin owns them).
    const std::vector<HBITMAP>& SkinBitmapsHandedOut() const { return bitmaps_; }
    const std::vector<LoadedPlugin>& Plugins() const { return plugins_; }
    const std::string& SettingsFolder() const { return settings_; }
    int CurrentSkin() const { return skin_; }
    int SkinCount() const { return static_cast<int>(skins_.size()); }

private:
    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM first, LPARAM second);
    LRESULT OnMessage(UINT message, WPARAM first, LPARAM second);
    LRESULT OnRequest(WPARAM argument, unsigned request);
    LRESULT OnCopyData(HWND sender, const COPYDATASTRUCT* copy);
    void OnCommand(WPARAM first, LPARAM second);
    HMENU BuildMenuBar();
    void UpdateSkinChecks();
    void ShowLine(const std::string& line);
    void Record(const LogEntry& entry);
    void PokeWindows();

    std::string settings_;
    std::string program_;
    int version_;
    bool refuseFrames_ = false;
    bool echo_;
    std::vector<std::string> skins_;
    int skin_ = 0;
    HWND main_ = nullptr;
    HWND lines_ = nullptr;  // list box showing notes and log
    HMENU skinMenu_ = nullptr;
    standin::Playlist playlist_;
    std::vector<HWND> frames_;
    std::vector<HBITMAP> bitmaps_;
    std::vector<LogEntry> log_;
    std::vector<std::string> notes_;
    std::vector<LoadedPlugin> plugins_;
};

}  // namespace standin
