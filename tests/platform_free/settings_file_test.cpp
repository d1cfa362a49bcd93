#include "panel/portable/settings_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Report {
    SettingKey key;
    int number;
    std::string text;
    bool operator==(const Report& o) const {
        return key == o.key && number == o.number && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& out, const Report& r) {
    return out << "{" << static_cast<int>(r.key) << ", " << r.number << ", \"" << r.text << "\"}";
}

void Record(void* context, SettingKey key, int number, const char* text) {
    static_cast<std::vector<Report>*>(context)->push_back({key, number, text});
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder_ = fs::temp_directory_path() / ("ondaria_settings_" + std::to_string(seed()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    std::string Put(const std::string& bytes, const std::string& name = "gen_ondaria.ini") {
        std::ofstream out(PathOf(name), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return PathOf(name);
    }

    std::string Get(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<Report> Read(const std::string& bytes) {
        std::vector<Report> reports;
        EXPECT_TRUE(ReadSettingsFile(Put(bytes).c_str(), Record, &reports));
        return reports;
    }

    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path folder_;
};

SettingsToWrite Sample() {
    SettingsToWrite v;
    v.version = "2b";
    v.visible = 5;
    v.top = -1080;
    v.left = -1920;
    v.bottom = 0;
    v.right = 2147483647;
    v.listName = "Mes radios du soir";
    v.playAtOnce = 1;
    v.enqueue = 0;
    v.redIcons = 1;
    v.openWeb = 0;
    return v;
}

}  // namespace

TEST_F(SettingsFile, MissingFileIsNotOpenedAndReportsNothing) {
    std::vector<Report> reports;
    EXPECT_FALSE(ReadSettingsFile(PathOf("absent.ini").c_str(), Record, &reports));
    EXPECT_TRUE(reports.empty());
    SettingsRead values;
    EXPECT_FALSE(ReadSettingsFile(PathOf("absent.ini").c_str(), values));
    ReadSettingsFile(folder_.string().c_str(), Record, &reports);   // a folder: opened or not, nothing read
    EXPECT_TRUE(reports.empty());
}

TEST_F(SettingsFile, HeaderOnlyFileSetsNothing) {
    EXPECT_TRUE(Read("[main]\r\n").empty());
    EXPECT_TRUE(Read("").empty());
    SettingsRead values;
    EXPECT_TRUE(ReadSettingsFile(Put("[main]").c_str(), values));
    EXPECT_FALSE(values.hasVisible || values.hasTop || values.hasLeft || values.hasBottom ||
                 values.hasRight || values.hasListName || values.checkPlayAtOnce ||
                 values.checkEnqueue || values.checkRedIcons || values.checkOpenWeb);
}

TEST_F(SettingsFile, KeyNeedsBlankBeforeEqualsAndExactCase) {
    std::vector<Report> got = Read(
        "GEN_ONDARIA_PLAY=1\n"
        "GEN_ONDARIA_PLAY =1\n"
        "GEN_ONDARIA_PLAY = 1\n"
        "\t GEN_ONDARIA_ENQUEUE\t=\t7 trailing words\n"
        "gen_ondaria_play = 1\n"
        "GEN_ONDARIA_PLAYX = 1\n"
        "GEN_ONDARIA_PLA = 1\n"
        "[main] GEN_ONDARIA_VISIBLE = 0\n"
        "GEN_ONDARIA_OPENWEB = 3\n");
    std::vector<Report> want = {
        {SettingKey::PlayAtOnce, 1, "1"},
        {SettingKey::PlayAtOnce, 1, "1"},
        {SettingKey::Enqueue, 7, "7"},
        {SettingKey::OpenWeb, 3, "3"},
    };
    EXPECT_EQ(got, want);
}

TEST_F(SettingsFile, NumbersConvertLikeAtoiAndMissingValuesCountAsZero) {
    std::vector<Report> got = Read(
        "GEN_ONDARIA_PLAY = oui\n"
        "GEN_ONDARIA_WND_TOP = -12px\n"
        "GEN_ONDARIA_WND_LEFT = +7\n"
        "GEN_ONDARIA_WND_RIGHT = 99999999999\n"
        "GEN_ONDARIA_WND_BOTTOM = -2147483648\n"
        "GEN_ONDARIA_WND_BOTTOM = -99999999999\n"
        "GEN_ONDARIA_VISIBLE =\n"
        "GEN_ONDARIA_VISIBLE\n"
        "GEN_ONDARIA_VERSION = 1\n");
    std::vector<Report> want = {
        {SettingKey::PlayAtOnce, 0, "oui"},
        {SettingKey::WindowTop, -12, "-12px"},
        {SettingKey::WindowLeft, 7, "+7"},
        {SettingKey::WindowRight, INT_MAX, "99999999999"},
        {SettingKey::WindowBottom, INT_MIN, "-2147483648"},
        {SettingKey::WindowBottom, INT_MIN, "-99999999999"},
        {SettingKey::Visible, 0, ""},
        {SettingKey::Visible, 0, ""},
        {SettingKey::Version, 1, "1"},
    };
    EXPECT_EQ(got, want);
}

TEST_F(SettingsFile, RepeatsAreAllReportedAndOptionsAreNeverCleared) {
    std::string text =
        "GEN_ONDARIA_REDICONS = 1\n"
        "GEN_ONDARIA_VISIBLE = 5\n"
        "GEN_ONDARIA_REDICONS = 0\n"
        "GEN_ONDARIA_VISIBLE = 1\n"
        "GEN_ONDARIA_PLAY = 0\n"
        "GEN_ONDARIA_LISTNAME = first\n"
        "GEN_ONDARIA_LISTNAME = second\n";
    std::vector<Report> got = Read(text);
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[0], (Report{SettingKey::RedIcons, 1, "1"}));
    EXPECT_EQ(got[2], (Report{SettingKey::RedIcons, 0, "0"}));

    SettingsRead values;
    ASSERT_TRUE(ReadSettingsFile(Put(text).c_str(), values));
    EXPECT_TRUE(values.checkRedIcons);
    EXPECT_FALSE(values.checkPlayAtOnce);   // present, but 0 checks nothing
    EXPECT_TRUE(values.hasVisible);
    EXPECT_EQ(values.visible, 1);
    EXPECT_TRUE(values.hasListName);
    EXPECT_STREQ(values.listName, "second");
    EXPECT_FALSE(values.hasTop);
}

TEST_F(SettingsFile, ListNameIsTheRestOfTheLine) {
    std::vector<Report> got = Read(
        "GEN_ONDARIA_LISTNAME = Mes radios du soir  \r\n"
        "GEN_ONDARIA_LISTNAME =\t  x = y\t\n"
        "GEN_ONDARIA_LISTNAME =\r\n"
        "GEN_ONDARIA_LISTNAME =    \n"
        "GEN_ONDARIA_LISTNAME\n"
        "GEN_ONDARIA_LISTNAME=glued\n"
        "GEN_ONDARIA_LISTNAME = fin");
    std::vector<std::string> names;
    for (const Report& r : got) {
        EXPECT_EQ(r.key, SettingKey::ListName);
        names.push_back(r.text);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Mes radios du soir  ", "x = y\t", "", "", "", "fin"}));
}

TEST_F(SettingsFile, LfAndCrLfFilesReadAlike) {
    std::string lf =
        "[main]\nGEN_ONDARIA_VISIBLE = 0\nGEN_ONDARIA_WND_TOP = -5\n"
        "GEN_ONDARIA_LISTNAME = a b \nGEN_ONDARIA_OPENWEB = 1\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::vector<Report> fromLf = Read(lf);
    EXPECT_EQ(fromLf.size(), 4u);
    EXPECT_EQ(fromLf[2].text, "a b ");
    EXPECT_EQ(Read(crlf), fromLf);
    // A CR on its own is no line end: it is a blank inside the line.
    EXPECT_EQ(Read("GEN_ONDARIA_VISIBLE = 3\rGEN_ONDARIA_PLAY = 1\r\n"),
              (std::vector<Report>{{SettingKey::Visible, 3, "3"}}));
}

TEST_F(SettingsFile, LongLinesAreReadIn259CharacterPieces) {
    // The second piece starts exactly at character 260 with a key.
    std::string second = "GEN_ONDARIA_VISIBLE = 9 ";
    std::string line = std::string(259, 'x') + second + std::string(141 - second.size(), 'y');
    ASSERT_EQ(line.size(), 400u);
    EXPECT_EQ(Read(line + "\nGEN_ONDARIA_PLAY = 2\n"),
              (std::vector<Report>{{SettingKey::Visible, 9, "9"}, {SettingKey::PlayAtOnce, 2, "2"}}));

    // One character later the key is cut and nothing matches.
    line = std::string(258, 'x') + " " + std::string(141, 'y');
    EXPECT_TRUE(Read(line + "\n").empty());

    // A name runs to the end of its piece; the 141 characters after it are a line of their own.
    std::string head = "GEN_ONDARIA_LISTNAME = ";
    line = head + std::string(400 - head.size(), 'n');
    std::vector<Report> got = Read(line + "\r\n");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, std::string(259 - head.size(), 'n'));

    // The CR of CR LF does not count towards the 259 characters.
    line = head + std::string(258 - head.size(), 'n');
    got = Read(line + "\r\nGEN_ONDARIA_ENQUEUE = 1\r\n");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].text, std::string(258 - head.size(), 'n'));
    EXPECT_EQ(got[1], (Report{SettingKey::Enqueue, 1, "1"}));
}

TEST_F(SettingsFile, LastLineWithoutNewlineIsRead) {
    EXPECT_EQ(Read("[main]\r\nGEN_ONDARIA_WND_RIGHT = 640"),
              (std::vector<Report>{{SettingKey::WindowRight, 640, "640"}}));
}

TEST_F(SettingsFile, NulBytesEndTheTextButStillCountAsCharacters) {
    using namespace std::string_literals;
    EXPECT_EQ(Read("GEN_ONDARIA_VISIBLE = 6\0GEN_ONDARIA_PLAY = 1\n"
                   "GEN_ONDARIA_LISTNAME = ab\0cd\n"
                   "\0GEN_ONDARIA_ENQUEUE = 1\n"s),
              (std::vector<Report>{{SettingKey::Visible, 6, "6"}, {SettingKey::ListName, 0, "ab"}}));
    EXPECT_EQ(Read(std::string(259, '\0') + "GEN_ONDARIA_OPENWEB = 1\n"),
              (std::vector<Report>{{SettingKey::OpenWeb, 1, "1"}}));
}

TEST_F(SettingsFile, BinaryGarbageDoesNotStopTheLinesAfterIt) {
    std::mt19937 random(12345);
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(random() & 0xFF);
    bytes += "\nGEN_ONDARIA_WND_LEFT = -3";
    std::vector<Report> got = Read(bytes);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), (Report{SettingKey::WindowLeft, -3, "-3"}));
}

TEST_F(SettingsFile, WritesTheTwelveLinesWithCrLf) {
    std::string path = PathOf("gen_ondaria.ini");
    ASSERT_TRUE(WriteSettingsFile(path.c_str(), Sample()));
    EXPECT_EQ(Get(path),
              "[main]\r\n"
              "GEN_ONDARIA_VERSION = 2b\r\n"
              "GEN_ONDARIA_VISIBLE = 5\r\n"
              "GEN_ONDARIA_WND_TOP = -1080\r\n"
              "GEN_ONDARIA_WND_LEFT = -1920\r\n"
              "GEN_ONDARIA_WND_BOTTOM = 0\r\n"
              "GEN_ONDARIA_WND_RIGHT = 2147483647\r\n"
              "GEN_ONDARIA_LISTNAME = Mes radios du soir\r\n"
              "GEN_ONDARIA_PLAY = 1\r\n"
              "GEN_ONDARIA_ENQUEUE = 0\r\n"
              "GEN_ONDARIA_REDICONS = 1\r\n"
              "GEN_ONDARIA_OPENWEB = 0\r\n");
    EXPECT_EQ(Names(), (std::set<std::string>{"gen_ondaria.ini"}));

    char bytes[kSettingsFileMaxSize];
    EXPECT_EQ(FormatSettingsFile(Sample(), bytes), Get(path).size());
}

TEST_F(SettingsFile, WrittenFileReadsBackTheSameSettings) {
    SettingsToWrite v = Sample();
    v.listName = "  radios   ";
    v.bottom = INT_MIN;
    v.enqueue = 1;
    std::string path = PathOf("gen_ondaria.ini");
    Put("old content that is longer than the new file will be, by far ............"
        "............................................................................"
        "............................................................................"
        "............................................................................"
        "............................................................................");
    ASSERT_TRUE(WriteSettingsFile(path.c_str(), v));
    SettingsRead r;
    ASSERT_TRUE(ReadSettingsFile(path.c_str(), r));
    EXPECT_TRUE(r.hasVisible && r.hasTop && r.hasLeft && r.hasBottom && r.hasRight && r.hasListName);
    EXPECT_EQ(r.visible, 5);
    EXPECT_EQ(r.top, -1080);
    EXPECT_EQ(r.left, -1920);
    EXPECT_EQ(r.bottom, INT_MIN);
    EXPECT_EQ(r.right, INT_MAX);
    EXPECT_STREQ(r.listName, "radios   ");   // leading blanks belong to the separator
    EXPECT_TRUE(r.checkPlayAtOnce && r.checkEnqueue && r.checkRedIcons);
    EXPECT_FALSE(r.checkOpenWeb);
}

TEST_F(SettingsFile, FailedWritesLeaveTheOldFileAndNoTemporary) {
    const std::string old = "[main]\r\nGEN_ONDARIA_VISIBLE = 0\r\n";

    // Folder missing.
    std::string inMissing = (folder_ / "absent" / "gen_ondaria.ini").string();
    EXPECT_FALSE(WriteSettingsFile(inMissing.c_str(), Sample()));
    EXPECT_FALSE(fs::exists(folder_ / "absent"));

    // The target is a directory.
    fs::create_directory(folder_ / "taken.ini");
    EXPECT_FALSE(WriteSettingsFile(PathOf("taken.ini").c_str(), Sample()));
    EXPECT_TRUE(fs::is_directory(folder_ / "taken.ini"));
    EXPECT_EQ(Names(), (std::set<std::string>{"taken.ini"}));

    // The temporary cannot be created: the old file stays as it was.
    std::string path = Put(old);
    fs::create_directory(folder_ / "gen_ondaria.ini.tmp");
    EXPECT_FALSE(WriteSettingsFile(path.c_str(), Sample()));
    EXPECT_EQ(Get(path), old);
    fs::remove(folder_ / "gen_ondaria.ini.tmp");

#ifdef _WIN32
    // The old file held open without delete sharing cannot be replaced.
    {
        FILE* held = fopen(path.c_str(), "rb");
        ASSERT_NE(held, nullptr);
        EXPECT_FALSE(WriteSettingsFile(path.c_str(), Sample()));
        fclose(held);
        EXPECT_EQ(Get(path), old);
    }
#endif
    EXPECT_EQ(Names(), (std::set<std::string>{"taken.ini", "gen_ondaria.ini"}));
}

TEST_F(SettingsFile, PathLimits) {
    std::string folder = (folder_ / "").string();
    ASSERT_LT(folder.size(), 200u);
    char out[kSettingsTextSize];

    // 259 characters fit; the temporary then takes a short name beside it.
    std::string name(259 - folder.size(), 'c');
    ASSERT_TRUE(ComposeSettingsPath(folder.c_str(), name.c_str(), out));
    EXPECT_EQ(std::string(out), folder + name);
    EXPECT_TRUE(WriteSettingsFile(out, Sample()));
    EXPECT_EQ(Names(), (std::set<std::string>{name}));

    // 260 do not.
    std::string tooLong = name + "c";
    EXPECT_FALSE(ComposeSettingsPath(folder.c_str(), tooLong.c_str(), out));
    EXPECT_EQ(out[0], '\0');
    EXPECT_FALSE(WriteSettingsFile((folder + tooLong).c_str(), Sample()));
    EXPECT_EQ(Names(), (std::set<std::string>{name}));
}
