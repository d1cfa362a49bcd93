#include "tests/win32/radio_directory/directory_fixture.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"
#include "tests/support/test_folder.h"

const char kRefusingServer[] = "http://127.0.0.1:9";
const char kSearchingStatus[] = "Recherche en cours...";

namespace {

// The library keeps itself loaded while a worker ends a request: at most a
// time-out of the plugin's, slowed down by emulation.
constexpr DWORD kUnloadWaitMs = 40000;
constexpr size_t kMaxCellText = 512;

std::string Environment(const char* name) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

}  // namespace

void DirectoryTest::SetUp() {
    PluginHostTest::SetUp();
    std::string port = ReadWholeFile(Environment("ONDARIA_DIRECTORY_STANDIN"));
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
    ASSERT_FALSE(port.empty()) << "the directory stand-in is not running (ONDARIA_DIRECTORY_STANDIN)";
    standin = "http://127.0.0.1:" + port;
    // The first server refuses: the plugin must go on to the next one.
    WriteServers({kRefusingServer, standin});
}

void DirectoryTest::TearDown() {
    host.reset();
    AwaitLibraryLeaving(kUnloadWaitMs);
    PluginHostTest::TearDown();
}

void DirectoryTest::WriteServers(const std::vector<std::string>& servers) {
    CreateDirectoryA(PluginFolder().c_str(), nullptr);
    FILE* file = fopen((PluginFolder() + "annuaire.txt").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (const std::string& server : servers) fprintf(file, "%s\r\n", server.c_str());
    fclose(file);
}

HWND DirectoryTest::OpenDirectory() {
    host->ConfigPlugins();
    Pump(100);
    HWND preferences = DialogTitled("Préférences");
    if (preferences == nullptr) return nullptr;
    SendMessageA(GetDlgItem(preferences, IDC_DIRECTORY_BUTTON), BM_CLICK, 0, 0);
    Pump(100);
    directory = DialogTitled("Annuaire des radios");
    return directory;
}

std::string DirectoryTest::Status() const {
    char text[kMaxCellText] = {0};
    GetDlgItemTextA(directory, IDC_DIRECTORY_STATUS, text, sizeof text);
    return text;
}

bool DirectoryTest::WaitWhileStatusIs(const std::string& status, DWORD ms) {
    return PumpUntil([&] { return Status() != status; }, ms);
}

bool DirectoryTest::Search(const std::string& name, const std::string& genre, const std::string& country,
                           const std::string& language) {
    SetDlgItemTextA(directory, IDC_DIRECTORY_NAME, name.c_str());
    SetDlgItemTextA(directory, IDC_DIRECTORY_GENRE, genre.c_str());
    SetDlgItemTextA(directory, IDC_DIRECTORY_COUNTRY, country.c_str());
    SetDlgItemTextA(directory, IDC_DIRECTORY_LANGUAGE, language.c_str());
    Press(IDC_DIRECTORY_SEARCH);
    return WaitWhileStatusIs(kSearchingStatus, kAnswerWaitMs);
}

std::vector<std::string> DirectoryTest::Column(int column) const {
    std::vector<std::string> cells;
    const int rows = static_cast<int>(SendMessageA(Results(), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        char text[kMaxCellText] = {0};
        LVITEMA item;
        ZeroMemory(&item, sizeof item);
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(Results(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        cells.push_back(text);
    }
    return cells;
}

void DirectoryTest::Press(int id) const { SendMessageA(GetDlgItem(directory, id), BM_CLICK, 0, 0); }

void DirectoryTest::SelectRows(const std::vector<int>& rows) const {
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = LVIS_SELECTED;
    SendMessageA(Results(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows) SendMessageA(Results(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::vector<const StreamRecord*> DirectoryTest::PanelRecords() const {
    std::vector<const StreamRecord*> records;
    HWND list = GetDlgItem(Panel(), IDC_STREAM_LIST);
    const int rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        records.push_back(reinterpret_cast<const StreamRecord*>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0)));
    }
    return records;
}

std::string DirectoryTest::StandinOutput() const {
    // The file, not a request: a socket used from this thread while a worker
    // of the plugin reads one trips an assertion of Wine's under emulation.
    std::string path = Environment("ONDARIA_DIRECTORY_STANDIN");
    return ReadWholeFile(path.substr(0, path.find_last_of("/\\") + 1) + "output");
}
