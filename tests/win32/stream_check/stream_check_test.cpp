// The check of the streams, end to end: the real DLL in the stand-in host
// checks a catalogue of stations served on the loopback address by a real
// Icecast fed by ezstream, and by the tests' own stream farm for what
// Icecast cannot show (tests/servers). CTest starts both for this suite.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/row_geometry.h"
#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_folder.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

// Under emulation a check of stations that stall for the plugin's 15 s takes
// a good deal longer.
constexpr DWORD kCheckWaitMs = 120000;
// Quit must not wait for the network: generous under emulation, far below a stall.
constexpr DWORD kPromptMs = 5000;
constexpr DWORD kUnloadWaitMs = 60000;
constexpr int kFarmPorts = 4;

std::string Environment(const char* name) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// "<state>/port" and "<state>/output" of a server that CTest started.
std::string ServerOutput(const char* variable) { return ReadWholeFile(Environment(variable) + "/output"); }

int PrintedNumber(const std::string& output, const std::string& word) {
    const size_t at = output.find(word + " ");
    return at == std::string::npos ? 0 : atoi(output.c_str() + at + word.size() + 1);
}

std::string Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    snprintf(text, sizeof text, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

struct Station {
    std::string name;
    int kind;
    std::string address;
    std::string verdict;   // as the side file says it
    std::string reason;
};

struct Verdict {
    std::string verdict;
    std::string reason;
    std::string date;
    bool operator==(const Verdict& other) const {
        return verdict == other.verdict && reason == other.reason && date == other.date;
    }
};

class StreamCheckTest : public PluginHostTest {
protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        const std::string farmOutput = ServerOutput("ONDARIA_STREAM_FARM");
        const std::string icecastOutput = ServerOutput("ONDARIA_ICECAST");
        const int farm = PrintedNumber(farmOutput, "port");
        refused = PrintedNumber(farmOutput, "refused");
        const int icecast = PrintedNumber(icecastOutput, "port");
        ASSERT_TRUE(farm && refused && icecast) << "the stream servers are not running:\n" << farmOutput << icecastOutput;
        for (int k = 0; k < kFarmPorts; ++k) farms.push_back("http://127.0.0.1:" + std::to_string(farm + k));
        this->icecast = "http://127.0.0.1:" + std::to_string(icecast);
        closed = "http://127.0.0.1:" + std::to_string(refused);
    }

    void TearDown() override {
        host.reset();
        AwaitLibraryLeaving(kUnloadWaitMs);
        PluginHostTest::TearDown();
    }

    // Spread over the farm's ports, as stations are over servers.
    std::string Farm(const std::string& path) {
        return farms[spread++ % farms.size()] + path;
    }

    void WriteCatalogue(const std::vector<Station>& stations) {
        std::vector<ListEntry> entries;
        for (const Station& station : stations) {
            entries.emplace_back(station.name, station.kind, "", "", "", "", station.address);
        }
        WriteEntries("Ondaria.rtv", entries);
    }

    HWND Preferences() {
        if (preferences == nullptr) {
            host->ConfigPlugins();
            Pump(100);
            preferences = DialogTitled("Préférences");
        }
        return preferences;
    }
    std::string Text(int id) {
        char text[512] = {0};
        GetDlgItemTextA(Preferences(), id, text, sizeof text);
        return text;
    }
    void Press(int id) { SendMessageA(GetDlgItem(Preferences(), id), BM_CLICK, 0, 0); }

    // Starts a check and waits for its summary, with the dialog closed
    // meanwhile; the summary, or "" when it never came.
    std::string Check() {
        Press(IDC_CHECK_STREAMS);
        EXPECT_EQ(Text(IDC_CHECK_STREAMS), "Arrêter");
        SendMessageA(Preferences(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindowVisible(Preferences()));
        const bool ended = PumpUntil([&] { return Text(IDC_CHECK_STREAMS) == "Vérifier les flux"; }, kCheckWaitMs);
        host->ConfigPlugins();
        Pump(100);
        return ended ? Text(IDC_CHECK_STATUS) : "";
    }

    std::string SideFilePath() const { return PluginFolder() + "Ondaria.etat"; }
    std::map<std::string, Verdict> SideFile() const {
        std::map<std::string, Verdict> verdicts;
        const std::string text = ReadWholeFile(SideFilePath());
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(at, end - at);
            at = end + 1;
            const size_t a = line.find('\t'), b = line.find('\t', a + 1), c = line.find('\t', b + 1);
            EXPECT_NE(c, std::string::npos) << line;
            if (c == std::string::npos) continue;
            verdicts[line.substr(c + 1)] = Verdict{line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1, c - b - 1)};
        }
        return verdicts;
    }

    std::vector<std::string> PanelAddresses() const {
        std::vector<std::string> addresses;
        HWND list = GetDlgItem(Panel(), IDC_STREAM_LIST);
        const int rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) {
            auto* record = reinterpret_cast<const StreamRecord*>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
            if (record) addresses.push_back(record->address);
        }
        return addresses;
    }

    // The colours of a row's title band, as the screen shows them.
    std::map<COLORREF, int> TitleColours(int row) {
        HWND list = GetDlgItem(Panel(), IDC_STREAM_LIST);
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump(50);
        RECT item;
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        std::map<COLORREF, int> colours;
        HDC dc = GetDC(list);
        for (int y = item.top + kRowTitleTop; y < item.top + kRowSloganTop; ++y) {
            for (int x = item.left + kRowTextLeft; x < item.left + kRowTextLeft + 120; ++x) ++colours[GetPixel(dc, x, y)];
        }
        ReleaseDC(list, dc);
        return colours;
    }

    std::vector<std::string> farms;
    std::string icecast;
    std::string closed;
    int refused = 0;
    size_t spread = 0;
    HWND preferences = nullptr;
};

// The most frequent colour of a band but its background.
COLORREF Ink(const std::map<COLORREF, int>& colours, COLORREF background) {
    COLORREF ink = background;
    int most = 0;
    for (const auto& [colour, count] : colours) {
        if (colour != background && count > most) {
            most = count;
            ink = colour;
        }
    }
    return ink;
}

}  // namespace

class StreamCheckStations : public StreamCheckTest {
protected:
    std::vector<Station> Stations() {
        const std::string en = "en ligne", hors = "hors ligne", non = "non vérifiable";
        return {
            {"Icecast MP3", 0, icecast + "/tone.mp3", en, ""},
            {"Icecast Ogg", 0, icecast + "/tone.ogg", en, ""},
            {"Icecast sans source", 0, icecast + "/nosource.mp3", hors, "HTTP 404"},
            {"Icecast arrêté", 0, closed + "/tone.mp3", hors, "refusé"},
            {"Direct", 0, Farm("/live.mp3"), en, ""},
            {"Ancienne ICY", 0, Farm("/icy"), en, ""},
            {"Redirigée", 0, Farm("/redirect"), en, ""},
            {"Redirigée relative", 0, Farm("/relative"), en, ""},
            {"Cinq redirections", 0, Farm("/hops/4"), en, ""},
            {"Six redirections", 0, Farm("/hops/5"), hors, "trop de redirections"},
            {"Boucle", 0, Farm("/loop"), hors, "trop de redirections"},
            {"Liste PLS", 0, Farm("/list.pls"), en, ""},
            {"Liste morte", 0, Farm("/dead.m3u"), hors, "refusé"},
            {"HLS", 0, Farm("/hls.m3u8"), en, ""},
            {"Télé", 1, Farm("/tv.ts"), en, ""},
            {"Vidéo comme radio", 0, Farm("/tv.ts"), hors, "type video/mp2t"},
            {"Page web", 0, Farm("/page"), hors, "page web"},
            {"Absente", 0, Farm("/missing"), hors, "HTTP 404"},
            {"En panne", 0, Farm("/error"), hors, "HTTP 500"},
            {"Muette", 0, Farm("/never"), hors, "délai dépassé"},
            {"Goutte à goutte", 0, Farm("/trickle"), hors, "délai dépassé"},
            {"MMS", 0, "mms://" + farms[0].substr(7) + "/mms", en, ""},
            {"MMS arrêté", 0, "mms://" + closed.substr(7) + "/live", non, ""},
            {"RTSP", 0, "rtsp://" + farms[0].substr(7) + "/live", non, ""},
        };
    }
};

TEST_F(StreamCheckStations, FindsWhichStationsAnswerKeepsItAndSetsTheSilentAside) {
    const std::vector<Station> stations = Stations();
    WriteCatalogue(stations);
    Start();
    ASSERT_NE(Preferences(), nullptr);
    EXPECT_EQ(Text(IDC_CHECK_STREAMS), "Vérifier les flux");

    // The verdicts, their reasons and the date, in the side file written at the end.
    EXPECT_EQ(Check(), "24 flux vérifiés : 11 en ligne, 11 hors ligne, 2 non vérifiables");
    const std::map<std::string, Verdict> first = SideFile();
    for (const Station& station : stations) {
        ASSERT_TRUE(first.count(station.address)) << station.name;
        EXPECT_EQ(first.at(station.address).verdict, station.verdict) << station.name;
        EXPECT_EQ(first.at(station.address).reason, station.reason) << station.name;
        EXPECT_EQ(first.at(station.address).date, Today()) << station.name;
    }
    // Every request named the plugin, never "Mozilla"; the MMS one the Windows Media player.
    const std::string requests = ServerOutput("ONDARIA_STREAM_FARM");
    EXPECT_NE(requests.find(" /live.mp3 Ondaria/2b"), std::string::npos);
    EXPECT_NE(requests.find(" /mms NSPlayer/"), std::string::npos);
    EXPECT_EQ(requests.find("Mozilla"), std::string::npos);

    // A silent station's title is dimmed: the ink of a live one's is not in it.
    const std::map<COLORREF, int> live = TitleColours(0), silent = TitleColours(2);
    HWND listBox = GetDlgItem(Panel(), IDC_STREAM_LIST);
    HDC dc = GetDC(listBox);
    const COLORREF background = GetPixel(dc, 2, 2);
    ReleaseDC(listBox, dc);
    const COLORREF liveInk = Ink(live, background);
    EXPECT_NE(liveInk, background);
    EXPECT_EQ(silent.count(liveInk), 0u);
    EXPECT_NE(Ink(silent, background), background);

    // A second check finds the same.
    EXPECT_EQ(Check(), "24 flux vérifiés : 11 en ligne, 11 hors ligne, 2 non vérifiables");
    EXPECT_TRUE(SideFile() == first);

    // Setting aside: a file that cannot be written removes nothing.
    const std::string aside = PluginFolder() + "Ondaria - hors ligne.rtv";
    WriteEntries("Ondaria - hors ligne.rtv", {ListEntry("Déjà de côté", 0, "", "", "", "", "http://127.0.0.1:9/old")});
    const std::string before = ReadWholeFile(aside);
    SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        MessageBoxRecorder boxes;
        Press(IDC_REMOVE_SILENT);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "« Ondaria - hors ligne.rtv » ne peut pas être écrit : aucun flux retiré.");
    }
    EXPECT_EQ(PanelAddresses().size(), stations.size());
    SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        MessageBoxRecorder boxes;
        Press(IDC_REMOVE_SILENT);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "11 flux retirés, gardés dans « Ondaria - hors ligne.rtv »");
    }
    // The file: what it held, then the silent stations' records in the list's order, as the
    // catalogue saves them (numbered by their place in it).
    const std::string list = ReadWholeFile(PluginFolder() + "Ondaria.rtv");
    std::string expected = before.substr(sizeof(ListFileHeader));
    std::vector<std::string> kept;
    for (size_t k = 0; k < stations.size(); ++k) {
        if (stations[k].verdict == "hors ligne") {
            std::string record = list.substr(sizeof(ListFileHeader) + k * sizeof(StreamRecord), sizeof(StreamRecord));
            const int32_t index = static_cast<int32_t>(k);
            record.replace(offsetof(StreamRecord, index), sizeof index, reinterpret_cast<const char*>(&index), sizeof index);
            expected += record;
        } else {
            kept.push_back(stations[k].address);
        }
    }
    ListFileHeader header = MakeListHeader(12, "Ondaria - hors ligne");
    expected.insert(0, reinterpret_cast<const char*>(&header), sizeof header);
    EXPECT_TRUE(ReadWholeFile(aside) == expected) << "the file set aside is not byte for byte the expected one";
    EXPECT_EQ(PanelAddresses(), kept);

}

TEST_F(StreamCheckTest, QuitDuringACheckReturnsAtOnceKeepsWhatWasCheckedAndLeavesTheHostUnharmed) {
    WriteCatalogue({{"Direct", 0, Farm("/live.mp3"), "", ""},
                    {"Absente", 0, Farm("/missing"), "", ""},
                    {"Muette", 0, Farm("/never"), "", ""},
                    {"Muette aussi", 0, Farm("/never"), "", ""},
                    {"Goutte à goutte", 0, Farm("/trickle"), "", ""}});
    Start();
    ASSERT_NE(Preferences(), nullptr);
    Press(IDC_CHECK_STREAMS);
    // The quick ones are done; the others stall for the plugin's 15 s.
    PumpUntil([&] { return Text(IDC_CHECK_STATUS) == "Vérification : 2 / 5 – 1 hors ligne"; }, kCheckWaitMs);
    ASSERT_EQ(Text(IDC_CHECK_STATUS), "Vérification : 2 / 5 – 1 hors ligne");

    const DWORD start = GetTickCount();
    host->QuitAndUnloadPlugins();
    EXPECT_LT(GetTickCount() - start, kPromptMs);
    // What was checked is kept; the rest stays unknown.
    const std::map<std::string, Verdict> kept = SideFile();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept.begin()->second.verdict == "en ligne" ? std::next(kept.begin())->second.reason : kept.begin()->second.reason,
              "HTTP 404");
    // The check's thread closes its sockets and leaves the library; the host goes on.
    EXPECT_TRUE(PumpUntil([] { return GetModuleHandleA("gen_ondaria.dll") == nullptr; }, kUnloadWaitMs));
    EXPECT_TRUE(IsWindow(host->MainWindow()));
    EXPECT_TRUE(Pump(500));
    EXPECT_EQ(SendMessageA(host->MainWindow(), WM_NULL, 0, 0), 0);
}

TEST_F(StreamCheckTest, ADamagedSideFileOnlyMeansUnknown) {
    const std::string silent = "http://127.0.0.1:9/silent", other = "http://127.0.0.1:9/other";
    WriteCatalogue({{"Connue", 0, silent, "", ""}, {"Inconnue", 0, other, "", ""}, {"Témoin", 0, other + "2", "", ""}});
    std::string damaged = "hors ligne\trefusé\t" + Today() + "\t" + silent + "\n";
    damaged += std::string("\0\x01\xff binary\tgarbage\n", 20);
    damaged += "hors ligne\trefusé\t" + Today() + "\thttp://nowhere.example/unknown\n";
    damaged += "hors ligne\trefusé\t2999-01-01\t" + other + "\n";
    damaged += "hors ligne\trefusé\t2001-01-01\t" + other + "\n";
    damaged += "perdu\trefusé\t" + Today() + "\t" + other + "\n";
    damaged += "hors ligne\trefusé\t" + Today() + "\t" + std::string(10 * 1024 * 1024, 'x') + "\n";
    FILE* file = fopen(SideFilePath().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(damaged.data(), 1, damaged.size(), file);
    fclose(file);
    Start();
    ASSERT_NE(Panel(), nullptr);
    // Only the station of the one line that could be read is marked.
    HWND listBox = GetDlgItem(Panel(), IDC_STREAM_LIST);
    HDC dc = GetDC(listBox);
    const COLORREF background = GetPixel(dc, 2, 2);
    ReleaseDC(listBox, dc);
    const COLORREF plainInk = Ink(TitleColours(2), background);
    EXPECT_EQ(TitleColours(0).count(plainInk), 0u);
    EXPECT_NE(TitleColours(1).count(plainInk), 0u);
    // Without a check, quit leaves the file as it was.
    Stop();
    EXPECT_TRUE(ReadWholeFile(SideFilePath()) == damaged);
}
