// The artifacts a Windows user downloads, end to end under Wine: the French
// installer run silently into a fresh host folder (accents and spaces in its
// name), the plugin it installed started by the stand-in host, a station
// added, a reinstall that keeps the user's list to the byte, the uninstaller;
// and the zip's files unpacked where the host keeps its settings elsewhere.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_folder.h"
#include "tools/standin_host/standin_host.h"

namespace {

constexpr DWORD kInstallerTimeout = 120000;   // ms
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\gen_ondaria";
constexpr int kStarterStations = 21;

// A folder of the build (a Unix path in the environment) as Wine sees it.
std::string FromEnvironment(const char* name) {
    const char* unix = std::getenv(name);
    std::string path = std::string("Z:") + (unix ? unix : "");
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
}

DWORD RunProgram(std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, kInstallerTimeout) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string UninstallValue(const char* name) {
    char value[512] = {0};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "";
    return value;
}

// A drop handle holding one file, as the shell makes it.
HDROP DropOf(const std::string& path) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size() + 1);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class HostRun {
public:
    HostRun(const std::string& settings, const std::string& program) {
        standin::HostOptions options;
        options.settingsFolder = settings;
        options.programFolder = program;
        host_.reset(new standin::StandinHost(options));
        started_ = host_->Created() && host_->LoadPlugins() == 1;
        host_->PumpMessages(100);
    }
    ~HostRun() { host_->UnloadPlugins(); }
    bool Started() const { return started_; }
    HWND List() const {
        if (host_->Frames().empty()) return nullptr;
        HWND panel = FindWindowExA(host_->Frames()[0], nullptr, "#32770", nullptr);
        return GetDlgItem(panel, IDC_STREAM_LIST);
    }
    int Stations() const { return static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0)); }

private:
    std::unique_ptr<standin::StandinHost> host_;
    bool started_ = false;
};

TEST(Installer, InstallsKeepsTheUsersListOnReinstallAndUninstallsLeavingIt) {
    TestFolder folder;
    const std::string hostFolder = folder.Path() + "\\Hôte Ondaria été";
    ASSERT_TRUE(CreateDirectoryA(hostFolder.c_str(), nullptr));
    const std::string setup = FromEnvironment("ONDARIA_DIST") + "\\gen_ondaria-2b-setup.exe";
    ASSERT_TRUE(FileExists(setup)) << setup;

    // No winamp.exe there: silently, the installer goes on, and makes Plugins.
    ASSERT_EQ(RunProgram("\"" + setup + "\" /S /D=" + hostFolder), 0u);
    const std::string plugins = hostFolder + "\\Plugins\\";
    EXPECT_TRUE(FileExists(plugins + "gen_ondaria.dll"));
    EXPECT_TRUE(FileExists(plugins + "gen_ondaria\\Ondaria.rtv"));
    EXPECT_TRUE(FileExists(plugins + "gen_ondaria\\readme.txt"));
    EXPECT_TRUE(FileExists(plugins + "gen_ondaria-uninstall.exe"));
    EXPECT_EQ(UninstallValue("DisplayVersion"), "2b");
    EXPECT_NE(UninstallValue("UninstallString").find("gen_ondaria-uninstall.exe"), std::string::npos);

    // The host, keeping its settings in its own folder as it does by default,
    // starts the installed plugin with the starter list; a station is added.
    const std::string playlist = folder.Path() + "\\nouvelle.m3u";
    FILE* f = fopen(playlist.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("#EXTM3U\n#EXTINF:-1,Nouvelle Radio\nhttp://nouvelle.example/live\n", f);
    fclose(f);
    {
        MessageBoxRecorder boxes;
        HostRun run(hostFolder, "");
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Stations(), kStarterStations);
        SendMessageA(run.List(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(playlist)), 0);
        EXPECT_EQ(run.Stations(), kStarterStations + 1);
    }
    const std::string list = plugins + "gen_ondaria\\Ondaria.rtv";
    const std::string edited = ReadWholeFile(list);
    EXPECT_EQ(edited.size(), 64u + (kStarterStations + 1) * sizeof(StreamRecord));
    const std::string settings = ReadWholeFile(plugins + "gen_ondaria\\gen_ondaria.ini");
    EXPECT_FALSE(settings.empty());

    // A reinstall over it never touches the user's files.
    ASSERT_EQ(RunProgram("\"" + setup + "\" /S /D=" + hostFolder), 0u);
    EXPECT_EQ(ReadWholeFile(list), edited);
    EXPECT_EQ(ReadWholeFile(plugins + "gen_ondaria\\gen_ondaria.ini"), settings);

    // Uninstalled (in place, so that it is waited for): the DLL and the entry go, the user's files stay.
    ASSERT_EQ(RunProgram("\"" + plugins + "gen_ondaria-uninstall.exe\" /S _?=" + hostFolder + "\\Plugins"), 0u);
    EXPECT_FALSE(FileExists(plugins + "gen_ondaria.dll"));
    EXPECT_EQ(UninstallValue("DisplayName"), "");
    EXPECT_EQ(ReadWholeFile(list), edited);
    EXPECT_EQ(ReadWholeFile(plugins + "gen_ondaria\\gen_ondaria.ini"), settings);
}

// An upgrade by hand: the zip unpacked over an installed plugin whose list
// lives beside it. Everything the zip holds is written over what is there;
// the user's list is not among it, and the next start shows it.
TEST(Installer, TheZipUnpackedOverAnInstalledPluginKeepsTheUsersList) {
    TestFolder folder;
    const std::string program = folder.Path() + "\\Programme";
    const std::string unpacked = FromEnvironment("ONDARIA_DIST_STAGING");
    ASSERT_TRUE(CreateDirectoryA(program.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((program + "\\Plugins").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((program + "\\Plugins\\gen_ondaria").c_str(), nullptr));
    const std::string list = program + "\\Plugins\\gen_ondaria\\Ondaria.rtv";
    for (const char* file : {"gen_ondaria.dll", "gen_ondaria\\Ondaria.rtv.depart", "gen_ondaria\\readme.txt"})
        ASSERT_TRUE(CopyFileA((unpacked + "\\" + file).c_str(), (program + "\\Plugins\\" + file).c_str(), FALSE)) << file;
    {
        HostRun run(program, program);   // the first start copies the starter list
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Stations(), kStarterStations);
    }
    // The user empties the list: from now on it is theirs.
    FILE* f = fopen(list.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    const std::string before = ReadWholeFile(list);
    // The zip unpacked over it, file by file.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((unpacked + "\\gen_ondaria\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        EXPECT_STRNE(found.cFileName, "Ondaria.rtv");
        ASSERT_TRUE(CopyFileA((unpacked + "\\gen_ondaria\\" + found.cFileName).c_str(),
                              (program + "\\Plugins\\gen_ondaria\\" + found.cFileName).c_str(), FALSE));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(ReadWholeFile(list), before);
    {
        HostRun run(program, program);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Stations(), 0);   // the user's emptied list, not the starter's stations
    }
}

TEST(Installer, TheZipUnpackedWhereSettingsLiveElsewhereStartsWithTheStarterList) {
    TestFolder folder;
    const std::string program = folder.Path() + "\\Programme";
    const std::string settings = folder.Path() + "\\Réglages";
    const std::string unpacked = FromEnvironment("ONDARIA_DIST_STAGING");   // what the zip holds
    ASSERT_TRUE(CreateDirectoryA(program.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((program + "\\Plugins").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((program + "\\Plugins\\gen_ondaria").c_str(), nullptr));
    for (const char* file : {"gen_ondaria.dll", "gen_ondaria\\Ondaria.rtv.depart", "gen_ondaria\\readme.txt"}) {
        ASSERT_TRUE(CopyFileA((unpacked + "\\" + file).c_str(), (program + "\\Plugins\\" + file).c_str(), FALSE)) << file;
    }
    const std::string pluginFolder = settings + "\\plugins\\gen_ondaria\\";
    {
        HostRun run(settings, program);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Stations(), kStarterStations);
    }
    EXPECT_TRUE(FileExists(pluginFolder + "Ondaria.rtv"));
    EXPECT_EQ(ReadWholeFile(pluginFolder + "readme.txt"), ReadWholeFile(program + "\\Plugins\\gen_ondaria\\readme.txt"));
    EXPECT_TRUE(FileExists(pluginFolder + "gen_ondaria.ini"));

    // An emptied list is the user's: it is never filled again from the starter list.
    DeleteFileA((pluginFolder + "gen_ondaria.ini").c_str());
    FILE* f = fopen((pluginFolder + "Ondaria.rtv").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    {
        HostRun run(settings, program);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Stations(), 0);
    }
}

}  // namespace
