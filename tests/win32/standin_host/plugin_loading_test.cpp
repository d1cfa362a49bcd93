// The stand-in host loads gen_*.dll plugins from its plugins folder, fills
// their record, and ends them with quit before unloading them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/test_folder.h"
#include "tools/standin_host/standin_host.h"
#include "tools/standin_host/unload_guard.h"

namespace {

using standin::StandinHost;

class PluginLoading : public ::testing::Test {
protected:
    void SetUp() override {
        plugins = folder.Path() + "\\plugins\\";
        CreateDirectoryA(plugins.c_str(), nullptr);
    }

    void Install(const char* built, const char* as) {
        ASSERT_TRUE(CopyFileA((ExecutableFolder() + built).c_str(), (plugins + as).c_str(), FALSE)) << built;
    }

    standin::HostOptions Options() const {
        standin::HostOptions options;
        options.settingsFolder = folder.Path();
        options.visible = false;
        return options;
    }

    std::vector<std::string> Events(const char* dll) { return ReadLines(plugins + dll + ".log"); }

    static std::string Hex(const void* handle) {
        char text[16];
        std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handle)));
        return text;
    }

    bool Noted(const StandinHost& host, const std::string& part) {
        for (const std::string& note : host.Notes())
            if (note.find(part) != std::string::npos) return true;
        return false;
    }

    TestFolder folder;
    std::string plugins;
};

TEST_F(PluginLoading, FillsTheRecordCallsInitConfigAndQuitBeforeUnloading) {
    Install("gen_fake.dll", "gen_fake.dll");
    StandinHost host(Options());
    ASSERT_EQ(host.LoadPlugins(), 1);
    ASSERT_EQ(host.Plugins().size(), 1u);
    const standin::LoadedPlugin& plugin = host.Plugins()[0];
    EXPECT_EQ(plugin.fileName, "gen_fake.dll");
    EXPECT_EQ(plugin.description, "Fake plugin (gen_fake.dll)");
    HMODULE module = plugin.module;
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(plugin.record->hwndParent, host.MainWindow());
    EXPECT_EQ(plugin.record->hDllInstance, module);

    // The plugin's init asked for the version and the settings folder.
    ASSERT_GE(host.Log().size(), 2u);
    EXPECT_EQ(host.Log()[0].number, 0u);
    EXPECT_EQ(host.Log()[1].number, 335u);

    SendMessageA(host.MainWindow(), WM_COMMAND, standin::kCommandPluginConfig, 0);  // "Plugin config"
    host.UnloadPlugins();
    EXPECT_EQ(host.Plugins()[0].module, nullptr);
    HMODULE still = nullptr;
    EXPECT_FALSE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                    reinterpret_cast<LPCSTR>(module), &still));

    std::vector<std::string> events = Events("gen_fake.dll");
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0], "attach");
    EXPECT_EQ(events[1], "entry");
    EXPECT_EQ(events[2], "init parent=" + Hex(host.MainWindow()) + " instance=" + Hex(module) + " self=" +
                             Hex(module) + " version=5666 settings=" + folder.Path());
    EXPECT_EQ(events[3], "config");
    EXPECT_EQ(events[4], "quit");
    EXPECT_EQ(events[5], "detach");  // unloaded only after quit
}

TEST_F(PluginLoading, OtherDllsAreNotedAndSkippedAndTheHostRunsOn) {
    Install("gen_noexport.dll", "gen_noexport.dll");
    Install("gen_fake.dll", "other.dll");  // not a gen_*.dll: never looked at
    FILE* broken = std::fopen((plugins + "gen_broken.dll").c_str(), "wb");
    ASSERT_NE(broken, nullptr);
    std::fputs("not a library", broken);
    std::fclose(broken);

    StandinHost host(Options());
    EXPECT_EQ(host.LoadPlugins(), 0);
    EXPECT_TRUE(host.Plugins().empty());
    EXPECT_TRUE(Noted(host, "gen_noexport.dll: no export winampGetGeneralPurposePlugin"));
    EXPECT_TRUE(Noted(host, "gen_broken.dll: cannot be loaded"));
    EXPECT_EQ(Events("gen_noexport.dll"), (std::vector<std::string>{"attach", "detach"}));
    EXPECT_TRUE(Events("other.dll").empty());
    EXPECT_TRUE(host.PumpMessages(20));
    host.UnloadPlugins();  // nothing to do
    SendMessageA(host.MainWindow(), WM_COMMAND, standin::kCommandPluginConfig, 0);
    EXPECT_TRUE(Noted(host, "no plugin to configure"));
}

TEST_F(PluginLoading, DestroyingTheHostQuitsAndUnloadsItsPlugins) {
    Install("gen_fake.dll", "gen_fake.dll");
    {
        StandinHost host(Options());
        ASSERT_EQ(host.LoadPlugins(), 1);
        EXPECT_EQ(host.LoadPlugins(), 0);  // already loaded: not twice
    }
    std::vector<std::string> events = Events("gen_fake.dll");
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[3], "quit");
    EXPECT_EQ(events[4], "detach");
}

TEST_F(PluginLoading, AnEmptyPluginsFolderIsNoted) {
    StandinHost host(Options());
    EXPECT_EQ(host.LoadPlugins(), 0);
    EXPECT_TRUE(Noted(host, "no gen_*.dll in"));
}

}  // namespace

namespace {

// A plugin that leaves its window procedure on the host window after it is
// unloaded: the host's messages after FreeLibrary run into it, and the host
// names the plugin instead of crashing anonymously.
TEST(PluginLeftBehind, IsCaughtAfterUnloading) {
    // The child process ends abruptly, so the folder is named for both.
    TestFolder folder("standin_left_behind");
    std::string plugins = folder.Path() + "\\plugins\\";
    CreateDirectoryA(plugins.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "gen_fake.dll").c_str(), (plugins + "gen_fake.dll").c_str(), FALSE));
    FILE* marker = std::fopen((plugins + "gen_fake.dll.leave").c_str(), "wb");
    ASSERT_NE(marker, nullptr);
    std::fclose(marker);
    standin::HostOptions options;
    options.settingsFolder = folder.Path();
    options.visible = false;
    EXPECT_EXIT(
        {
            StandinHost host(options);
            host.LoadPlugins();
            host.UnloadPlugins();
        },
        ::testing::ExitedWithCode(standin::kUnloadedCodeExitCode), "code of the unloaded plugin gen_fake.dll was called");
}

}  // namespace
