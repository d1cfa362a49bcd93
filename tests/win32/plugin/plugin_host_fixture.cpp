#include "tests/win32/plugin/plugin_host_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "tools/skin_generator/skin_image.h"

void PluginHostTest::SetUp() {
    folder = std::make_unique<TestFolder>();
    std::string plugins = folder->Path() + "\\plugins";
    CreateDirectoryA(plugins.c_str(), nullptr);
    std::string dll = ExecutableFolder() + "gen_ondaria.dll";
    ASSERT_TRUE(CopyFileA(dll.c_str(), (plugins + "\\gen_ondaria.dll").c_str(), FALSE)) << dll;
    ASSERT_TRUE(skin::WriteSampleSkins(folder->Path()));
    options.settingsFolder = folder->Path();
    options.skinImages = {folder->Path() + "\\skin_blue.bmp", folder->Path() + "\\skin_amber.bmp"};
    options.mainRect = {400, 40, 900, 700};
}

void PluginHostTest::AwaitLibraryLeaving(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetModuleHandleA("gen_ondaria.dll") && GetTickCount() - start < ms) Sleep(50);
    if (GetModuleHandleA("gen_ondaria.dll") != nullptr) {
        fprintf(stderr, "the library never left the process: a thread of the plugin is still running\n");
        fflush(stderr);
        _exit(1);
    }
}

void PluginHostTest::TearDown() {
    host.reset();
    folder.reset();
}

std::string PluginHostTest::PluginFolder() const { return folder->Path() + "\\plugins\\gen_ondaria\\"; }

void PluginHostTest::WriteSettings(const std::string& text) {
    CreateDirectoryA(PluginFolder().c_str(), nullptr);
    FILE* f = fopen((PluginFolder() + "gen_ondaria.ini").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::string PluginHostTest::SettingsFileBytes() const { return ReadWholeFile(PluginFolder() + "gen_ondaria.ini"); }

namespace {
struct EntryCursor {
    const std::vector<ListEntry>* entries;
    size_t next;
    StreamRecord record;
};
const StreamRecord* NextEntry(void* context) {
    auto* c = static_cast<EntryCursor*>(context);
    if (c->next >= c->entries->size()) return nullptr;
    memset(&c->record, 0, sizeof c->record);
    const ListEntry& e = (*c->entries)[c->next++];
    c->record.kind = static_cast<int16_t>(e.kind);
    SetField(c->record.name, e.name.c_str());
    SetField(c->record.address, (e.address.empty() ? "http://example.org/" + e.name : e.address).c_str());
    SetField(c->record.website, e.website.c_str());
    SetField(c->record.playlist, e.playlist.c_str());
    SetField(c->record.podcast, e.podcast.c_str());
    SetField(c->record.keywords, e.keywords.c_str());
    return &c->record;
}
}  // namespace

void PluginHostTest::WriteList(const std::string& fileName, const std::vector<std::string>& names) {
    std::vector<ListEntry> entries;
    for (const std::string& name : names) entries.push_back(ListEntry(name));
    WriteEntries(fileName, entries);
}

void PluginHostTest::WriteEntries(const std::string& fileName, const std::vector<ListEntry>& entries) {
    CreateDirectoryA(PluginFolder().c_str(), nullptr);
    EntryCursor cursor{&entries, 0, {}};
    ListFileHeader header = MakeListHeader(static_cast<int32_t>(entries.size()), "test");
    ASSERT_TRUE(WriteListFile((PluginFolder() + fileName).c_str(), header, &NextEntry, &cursor));
}

void PluginHostTest::Start(int version) {
    options.version = version;
    host = std::make_unique<standin::StandinHost>(options);
    ASSERT_TRUE(host->Created());
    host->LoadPlugins();
    Pump(100);
}

void PluginHostTest::Stop() {
    host->UnloadPlugins();
}

HWND PluginHostTest::Frame() const { return host->Frames().empty() ? nullptr : host->Frames()[0]; }

HWND PluginHostTest::Panel() const {
    HWND frame = Frame();
    return frame ? FindWindowExA(frame, nullptr, "#32770", nullptr) : nullptr;
}

namespace {
struct TitleSearch {
    const char* caption;
    HWND found;
};
BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<TitleSearch*>(context);
    char text[256] = {0};
    GetWindowTextA(hwnd, text, sizeof text);
    if (strcmp(text, search->caption) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND PluginHostTest::DialogTitled(const char* caption) const {
    TitleSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<standin::LogEntry> PluginHostTest::Requests() const {
    std::vector<standin::LogEntry> requests;
    for (const standin::LogEntry& e : host->Log()) {
        if (e.kind == standin::LogEntry::Request || e.kind == standin::LogEntry::CopyData) requests.push_back(e);
    }
    return requests;
}
