// The real gen_ondaria.dll loaded by the stand-in host into the test
// process, with a settings folder of its own for each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_folder.h"
#include "tools/standin_host/standin_host.h"

struct StreamRecord;

// One entry of a list file written by a test.
struct ListEntry {
    ListEntry(std::string name_, int kind_ = 0, std::string website_ = "", std::string playlist_ = "",
              std::string podcast_ = "", std::string keywords_ = "", std::string address_ = "")
        : name(name_), kind(kind_), website(website_), playlist(playlist_), podcast(podcast_), keywords(keywords_),
          address(address_) {}
    std::string name;
    int kind;                     // 0 radio, 1 television
    std::string website;
    std::string playlist;
    std::string podcast;
    std::string keywords;
    std::string address;          // empty: "http://example.org/" + name
};

class PluginHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // settings folder + "\plugins\gen_ondaria\"
    std::string PluginFolder() const;
    void WriteSettings(const std::string& text);
    std::string SettingsFileBytes() const;
    // Writes a list file of the given records (named by `names`) into the plugin folder.
    void WriteList(const std::string& fileName, const std::vector<std::string>& names);
    // The same with whole entries.
    void WriteEntries(const std::string& fileName, const std::vector<ListEntry>& entries);

    // Creates the host, loads the plugin and lets start-up settle.
    void Start(int version = kMinimumHostVersion);
    // quit and unload; the host stays for inspection.
    void Stop();

    HWND Frame() const;
    HWND Panel() const;
    HWND Control(int id) const { return GetDlgItem(Panel(), id); }
    // The plugin's modeless dialog with this caption, or 0.
    HWND DialogTitled(const char* caption) const;
    bool Pump(DWORD ms = 50) { return host->PumpMessages(ms); }
    // Waits, pumping, until `done` holds.
    template <typename Condition>
    bool PumpUntil(Condition done, DWORD ms) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > ms) return false;
            Pump(20);
        }
        return true;
    }
    // Waits for the library to leave the process once the host is gone: a
    // thread of the plugin may hold it until its request ends. When it never
    // leaves, every later test would start the library left behind, in the
    // state its quit left: the process ends at once rather than fail them all.
    static void AwaitLibraryLeaving(DWORD ms);
    std::vector<standin::LogEntry> Requests() const;   // WM_USER and WM_COPYDATA only

    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<standin::StandinHost> host;
    standin::HostOptions options;
};


