// What the dialog does with a result: "Ajouter" puts it in the catalogue as
// `rtv_tool import` of the same stations would, with its logo when it
// comes; "Écouter" and a double click hand it to the host and tell the
// directory, and add nothing.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/logo_images.h"
#include "catalogue/portable/list_file_format.h"
#include "host/host_protocol.h"
#include "resources/resource_ids.h"
#include "tests/win32/radio_directory/directory_fixture.h"

namespace {

using Cells = std::vector<std::string>;

std::string Environment(const char* name) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bool CollectRecord(void* context, StreamRecord* record) {
    static_cast<std::vector<std::unique_ptr<StreamRecord>>*>(context)->emplace_back(record);
    return true;
}

std::vector<std::unique_ptr<StreamRecord>> ReadRecords(const std::string& path) {
    std::vector<std::unique_ptr<StreamRecord>> records;
    EXPECT_EQ(ReadListFile(path.c_str(), &CollectRecord, &records), ListReadResult::Read) << path;
    return records;
}

const StreamRecord* WithAddress(const std::vector<std::unique_ptr<StreamRecord>>& records, const char* address) {
    for (const auto& record : records) {
        if (strcmp(record->address, address) == 0) return record.get();
    }
    return nullptr;
}

// Runs the Windows build of rtv_tool beside the tests; its exit code.
DWORD RunRtvTool(const std::string& arguments) {
    std::string command = "\"" + ExecutableFolder() + "rtv_tool.exe\" " + arguments;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

bool IsAllOneColour(const uint8_t* logo, uint8_t blue, uint8_t green, uint8_t red) {
    for (int k = 0; k < kLogoBytes; k += 3) {
        if (logo[k] != blue || logo[k + 1] != green || logo[k + 2] != red) return false;
    }
    return true;
}

TEST_F(DirectoryTest, AddingTakesNewStationsAsTheImportDoesAndTheirLogosLater) {
    // "Déjà Là" of the directory has this address.
    WriteList("Ondaria.rtv", {"Un"});
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    ASSERT_TRUE(Search("", "", "FR"));
    ASSERT_EQ(Column(0), (Cells{"Radio Été", "Jazz Côte", "Déjà Là"}));
    uint8_t defaultBytes[kLogoBytes];
    ASSERT_TRUE(ReadLogoResource(CodeModule(), IDB_DEFAULT_LOGO, defaultBytes));
    const std::vector<uint8_t> defaultLogo(defaultBytes, defaultBytes + kLogoBytes);

    SelectRows({0, 1, 2});
    Press(IDC_DIRECTORY_ADD);
    EXPECT_EQ(Status(), "2 radios ajoutées, 1 déjà présente");
    std::vector<const StreamRecord*> shown = PanelRecords();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_STREQ(shown[1]->name, "Radio Été");
    EXPECT_STREQ(shown[2]->name, "Jazz Côte");
    // Both start with the default logo. Radio Été's favicon (a red pixel)
    // arrives and becomes its logo. Jazz Côte's is no picture and changes nothing.
    EXPECT_EQ(std::vector<uint8_t>(shown[2]->logo, shown[2]->logo + kLogoBytes), defaultLogo);
    const StreamRecord* ete = shown[1];
    EXPECT_TRUE(PumpUntil([&] { return IsAllOneColour(ete->logo, 0x00, 0x00, 0xFF); }, kAnswerWaitMs));

    // Added again: all present, nothing doubled.
    Press(IDC_DIRECTORY_ADD);
    EXPECT_EQ(Status(), "0 radio ajoutée, 3 déjà présentes");
    EXPECT_EQ(PanelRecords().size(), 3u);
    // The other favicons are missing, huge, or no picture: default logos.
    ASSERT_TRUE(Search("", "", "", "english"));
    ASSERT_TRUE(Search("", "", "CN"));
    SelectRows({0});
    Press(IDC_DIRECTORY_ADD);
    EXPECT_EQ(Status(), "1 radio ajoutée, 0 déjà présente");
    Pump(2000);
    ASSERT_EQ(PanelRecords().size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(PanelRecords()[3]->logo, PanelRecords()[3]->logo + kLogoBytes), defaultLogo);
    Stop();

    // The list saved at quit against `rtv_tool import` of the same stations:
    // every byte the same but the logos and the place in the list.
    const std::string imported = folder->Path() + "\\imported.rtv";
    ASSERT_EQ(RunRtvTool("import \"" + Environment("ONDARIA_SOURCE") + "/tests/servers/radio_directory_stations.json\" \"" +
                         imported + "\""),
              0u);
    const auto saved = ReadRecords(PluginFolder() + "Ondaria.rtv");
    const auto expected = ReadRecords(imported);
    ASSERT_EQ(saved.size(), 4u);
    for (size_t k = 1; k < saved.size(); ++k) {
        const StreamRecord* mine = saved[k].get();
        const StreamRecord* theirs = WithAddress(expected, mine->address);
        ASSERT_NE(theirs, nullptr) << mine->address;
        EXPECT_EQ(memcmp(reinterpret_cast<const char*>(mine) + offsetof(StreamRecord, kind),
                         reinterpret_cast<const char*>(theirs) + offsetof(StreamRecord, kind),
                         offsetof(StreamRecord, logo) - offsetof(StreamRecord, kind)),
                  0)
            << mine->name;
    }
    // The mapping itself, for one station.
    const StreamRecord* record = WithAddress(saved, "http://127.0.0.1:9/ete");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, 0);
    EXPECT_STREQ(record->website, "https://ete.example/");
    EXPECT_STREQ(record->keywords, "pop chanson FR french");
    EXPECT_STREQ(record->format, "MP3");
    EXPECT_STREQ(record->quality, "128 kbit/s");
    EXPECT_EQ(record->transparentColour, 0xFF00FF);
    EXPECT_STREQ(WithAddress(saved, "http://127.0.0.1:9/beijing")->name, "127.0.0.1");
    EXPECT_STREQ(WithAddress(saved, "http://127.0.0.1:9/jazz")->website, "");
}

TEST_F(DirectoryTest, AFullCatalogueTakesWhatItHasRoomFor) {
    std::vector<std::string> names;
    for (int k = 0; k < kMaxSlots - 1; ++k) names.push_back("Plein" + std::to_string(k));
    WriteList("Ondaria.rtv", names);
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    ASSERT_TRUE(Search("", "", "FR"));
    SelectRows({0, 1, 2});
    Press(IDC_DIRECTORY_ADD);
    EXPECT_EQ(Status(), "1 radio ajoutée, 0 déjà présente, 2 laissées de côté. La liste est remplie !");
    EXPECT_EQ(PanelRecords().size(), static_cast<size_t>(kMaxSlots));
}

TEST_F(DirectoryTest, ListeningHandsTheStationToTheHostAndTellsTheDirectory) {
    WriteList("Ondaria.rtv", {"Un"});
    Start();
    ASSERT_NE(OpenDirectory(), nullptr);
    ASSERT_TRUE(Search("", "", "GB"));
    host->ClearLog();
    SelectRows({0});
    Press(IDC_DIRECTORY_PLAY);
    // Play at once, the default: empty the playlist, add, play.
    std::vector<standin::LogEntry> requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].number, static_cast<unsigned>(kHostRequestEmptyPlaylist));
    EXPECT_EQ(requests[1].kind, standin::LogEntry::CopyData);
    EXPECT_EQ(requests[1].data, std::string("http://127.0.0.1:9/rock", sizeof "http://127.0.0.1:9/rock"));
    EXPECT_EQ(requests[2].number, static_cast<unsigned>(kHostRequestStartPlayback));

    // A real double click on the first row.
    ASSERT_TRUE(Search("", "", "CN"));
    host->ClearLog();
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(Results(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2);
    SendMessageA(Results(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Results(), WM_LBUTTONUP, 0, at);
    SendMessageA(Results(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(Results(), WM_LBUTTONUP, 0, at);
    requests = Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].data, std::string("http://127.0.0.1:9/beijing", sizeof "http://127.0.0.1:9/beijing"));
    // Nothing was added.
    EXPECT_EQ(PanelRecords().size(), 1u);

    // Enter, through the dialog manager: in the results it plays, in an edit it searches.
    auto pressEnter = [&](HWND focus) {
        SetFocus(focus);
        MSG enter = {focus, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
        IsDialogMessageA(directory, &enter);
        Pump(50);
    };
    host->ClearLog();
    SelectRows({0});
    pressEnter(Results());
    ASSERT_EQ(Requests().size(), 3u);
    EXPECT_EQ(Requests()[1].data, std::string("http://127.0.0.1:9/beijing", sizeof "http://127.0.0.1:9/beijing"));
    SetDlgItemTextA(directory, IDC_DIRECTORY_COUNTRY, "GB");
    pressEnter(GetDlgItem(directory, IDC_DIRECTORY_COUNTRY));
    ASSERT_TRUE(WaitWhileStatusIs(kSearchingStatus, kAnswerWaitMs));
    EXPECT_EQ(Column(0), (Cells{"Rock Station"}));

    // The directory heard of every listen, once each.
    const std::string clicks =
        "click aaaa0001-0000-0000-0000-000000000004\nclick aaaa0001-0000-0000-0000-000000000002\n"
        "click aaaa0001-0000-0000-0000-000000000002\n";
    auto clicksSeen = [&] {
        const std::string output = StandinOutput();
        return output.size() >= clicks.size() ? output.substr(output.size() - clicks.size()) : output;
    };
    EXPECT_TRUE(PumpUntil([&] { return clicksSeen() == clicks; }, kAnswerWaitMs)) << clicksSeen();
}

}  // namespace
