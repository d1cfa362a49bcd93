#include "catalogue/portable/list_file_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

constexpr size_t kRecordBytes = 9264;

// File images are laid out here from the byte offsets of the format, never
// through the structures or the writer, so a layout slip shows up.
void PutInt32(Bytes& bytes, size_t offset, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(v >> (8 * i));
}

void PutText(Bytes& bytes, size_t offset, const char* text) {
    memcpy(bytes.data() + offset, text, strlen(text) + 1);
}

Bytes HeaderBytes(int32_t version, int32_t headerSize, int32_t count, const char* name) {
    Bytes bytes(64, 0);
    PutInt32(bytes, 0, version);
    PutInt32(bytes, 4, headerSize);
    PutInt32(bytes, 8, count);
    PutText(bytes, 12, name);
    return bytes;
}

// A record image whose every byte is known: a repeating pattern, then
// terminated texts over it (so the pattern stays behind each terminator).
Bytes RecordBytes(int32_t index, int16_t kind, const char* name, unsigned char seed) {
    Bytes bytes(kRecordBytes);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(seed + i * 7);
    PutInt32(bytes, 0, index);
    bytes[4] = static_cast<unsigned char>(kind & 0xFF);
    bytes[5] = static_cast<unsigned char>((kind >> 8) & 0xFF);
    const size_t kTextOffsets[] = {6, 266, 526, 786, 1046, 1306, 1566, 1826, 2086};
    for (size_t offset : kTextOffsets) bytes[offset + 259] = 0;   // every field terminated
    PutText(bytes, 6, name);
    PutText(bytes, 526, "http://example.org/stream");
    PutInt32(bytes, 2348, 0x00FF00FF);
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

StreamRecord RecordFrom(const Bytes& bytes) {
    StreamRecord r;
    memcpy(&r, bytes.data(), sizeof r);
    return r;
}

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = fs::temp_directory_path() /
                ("ondaria_lf_" + std::to_string(stamp) + "_" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Folder() const { return path_.string() + static_cast<char>(fs::path::preferred_separator); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Collected {
    std::vector<std::unique_ptr<StreamRecord>> records;
    int refuseFrom = -1;   // refuse every record from this one on
    int offered = 0;
};

bool Collect(void* context, StreamRecord* record) {
    auto* c = static_cast<Collected*>(context);
    if (c->refuseFrom >= 0 && c->offered++ >= c->refuseFrom) return false;
    c->records.emplace_back(record);
    return true;
}

struct RecordList {
    std::vector<const StreamRecord*> records;
    size_t next = 0;
};

const StreamRecord* NextRecord(void* context) {
    auto* list = static_cast<RecordList*>(context);
    return list->next < list->records.size() ? list->records[list->next++] : nullptr;
}

std::string Compose(const char* text, bool currentList, const char* listName, bool forSave) {
    char out[kPathSize];
    memset(out, 'z', sizeof out);
    bool ok = ComposeListPath(text, currentList, listName, forSave, out);
    EXPECT_NE(memchr(out, 0, sizeof out), nullptr);
    std::string result = out;
    if (!ok) {
        EXPECT_EQ(result, "") << "a refused path leaves the buffer empty";
        return "<refused>";
    }
    return result;
}

std::string BaseName(const char* listName) {
    char out[kListNameSize + 1];
    ListFileBaseName(listName, out, sizeof out);
    return out;
}

}  // namespace

TEST(ListPath, ExplicitSaveAppendsExtensionOnlyWhenNoRtvAnywhere) {
    EXPECT_EQ(Compose("D:\\lists\\rock", false, "x", true), "D:\\lists\\rock.rtv");
    EXPECT_EQ(Compose("D:\\lists\\rock.rtv", false, "x", true), "D:\\lists\\rock.rtv");
    EXPECT_EQ(Compose("D:\\lists\\rock.rtv.old", false, "x", true), "D:\\lists\\rock.rtv.old");
    EXPECT_EQ(Compose("D:\\lists\\rock.RTV", false, "x", true), "D:\\lists\\rock.RTV.rtv");
    EXPECT_EQ(Compose("D:\\a.rtv\\rock", false, "x", true), "D:\\a.rtv\\rock");
}

TEST(ListPath, ExplicitLoadUsesThePathAsGiven) {
    EXPECT_EQ(Compose("D:\\lists\\rock", false, "x", false), "D:\\lists\\rock");
    EXPECT_EQ(Compose("D:\\lists\\rock.RTV", false, "x", false), "D:\\lists\\rock.RTV");
}

TEST(ListPath, CurrentListIsFolderThenSanitizedNameThenExtensionInBothDirections) {
    for (bool forSave : {true, false}) {
        EXPECT_EQ(Compose("C:\\plugins\\Ondaria\\", true, "Ondaria", forSave), "C:\\plugins\\Ondaria\\Ondaria.rtv");
        EXPECT_EQ(Compose("C:\\p\\", true, "Rock: 80s/90s", forSave), "C:\\p\\Rock_ 80s_90s.rtv");
        EXPECT_EQ(Compose("C:\\p\\", true, "con", forSave), "C:\\p\\con_.rtv");
        // The extension is added even if the name already holds one.
        EXPECT_EQ(Compose("C:\\p\\", true, "old.rtv", forSave), "C:\\p\\old.rtv.rtv");
    }
}

TEST(ListPath, MissingTextIsRefused) {
    EXPECT_EQ(Compose(nullptr, false, "x", true), "<refused>");
    EXPECT_EQ(Compose(nullptr, true, "x", false), "<refused>");
}

TEST(ListPath, PathsThatDoNotFit259CharactersAreRefused) {
    // Current list: folder + "Ondaria" + ".rtv" (11 characters).
    std::string folder248(247, 'f');
    folder248 += '\\';
    EXPECT_EQ(Compose(folder248.c_str(), true, "Ondaria", true).size(), 259u);
    std::string folder249 = "f" + folder248;
    EXPECT_EQ(Compose(folder249.c_str(), true, "Ondaria", true), "<refused>");
    EXPECT_EQ(Compose(folder249.c_str(), true, "Ondaria", false), "<refused>");

    // Explicit save: the appended extension must fit too.
    std::string path255(255, 'p');
    EXPECT_EQ(Compose(path255.c_str(), false, "x", true).size(), 259u);
    std::string path256(256, 'p');
    EXPECT_EQ(Compose(path256.c_str(), false, "x", true), "<refused>");
    EXPECT_EQ(Compose(path256.c_str(), false, "x", false), path256);

    // Explicit load: 259 characters fit, 260 and more do not.
    std::string path259(259, 'p');
    EXPECT_EQ(Compose(path259.c_str(), false, "x", false), path259);
    std::string path260(260, 'p');
    EXPECT_EQ(Compose(path260.c_str(), false, "x", false), "<refused>");
    std::string path1000(1000, 'p');
    EXPECT_EQ(Compose(path1000.c_str(), false, "x", true), "<refused>");
}

TEST(ListFileBaseName, ReplacesCharactersThatFileNamesCannotHold) {
    EXPECT_EQ(BaseName("Ondaria"), "Ondaria");
    EXPECT_EQ(BaseName("a\\b/c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(BaseName("tab\there\x01\x1F\x7F"), "tab_here___");
    // Other bytes, Windows-1252 letters among them, stay.
    EXPECT_EQ(BaseName("T\xE9l\xE9 & co. (2) #1 + 50%"), "T\xE9l\xE9 & co. (2) #1 + 50%");
    EXPECT_EQ(BaseName(""), "");
    EXPECT_EQ(BaseName(nullptr), "");
    std::string longest(31, 'n');
    EXPECT_EQ(BaseName(longest.c_str()), longest);
}

TEST(ListFileBaseName, ReservedDeviceNamesGetAnUnderscore) {
    for (const char* name : {"CON", "con", "Prn", "AUX", "nul", "COM1", "com9", "LPT1", "lpt9", "COM0",
                             "CONIN$", "conout$", "COM\xB9", "LPT\xB2"}) {
        EXPECT_EQ(BaseName(name), std::string(name) + "_") << name;
    }
    // The device is named by the part before the first dot, spaces dropped.
    EXPECT_EQ(BaseName("con.old"), "con_.old");
    EXPECT_EQ(BaseName("NUL.a.b"), "NUL_.a.b");
    EXPECT_EQ(BaseName("aux .x"), "aux _.x");
    EXPECT_EQ(BaseName("c:on"), "c_on");
    for (const char* name : {"CONSOLE", "COM10", "COM", "LPT", "NULL", "xcon", ".con", "COMA", "con_"}) {
        EXPECT_EQ(BaseName(name), name) << name;
    }
    // A 31-character name that is reserved cannot exist, but a short buffer is never overrun.
    char tiny[4];
    ListFileBaseName("CON", tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "CON");
}

TEST(ListHeader, CodingFollowsTheLayout) {
    ListFileHeader header = MakeListHeader(3, "Rock");
    Bytes bytes(sizeof header);
    memcpy(bytes.data(), &header, sizeof header);
    EXPECT_EQ(bytes, HeaderBytes(1, 64, 3, "Rock"));

    std::string name40(40, 'L');
    header = MakeListHeader(-5, name40.c_str());
    memcpy(bytes.data(), &header, sizeof header);
    EXPECT_EQ(bytes, HeaderBytes(1, 64, -5, std::string(31, 'L').c_str()));

    header = MakeListHeader(0, nullptr);
    memcpy(bytes.data(), &header, sizeof header);
    EXPECT_EQ(bytes, HeaderBytes(1, 64, 0, ""));
}

TEST(ListHeader, ValidityNeedsVersionOneOrMoreAndSize64) {
    auto valid = [](int32_t version, int32_t size) {
        Bytes bytes = HeaderBytes(version, size, 0, "");
        ListFileHeader header;
        memcpy(&header, bytes.data(), sizeof header);
        return IsValidListHeader(header);
    };
    EXPECT_TRUE(valid(1, 64));
    EXPECT_TRUE(valid(7, 64));
    EXPECT_TRUE(valid(INT32_MAX, 64));
    EXPECT_FALSE(valid(0, 64));
    EXPECT_FALSE(valid(-1, 64));
    EXPECT_FALSE(valid(INT32_MIN, 64));
    EXPECT_FALSE(valid(1, 63));
    EXPECT_FALSE(valid(1, 65));
    EXPECT_FALSE(valid(1, 0));
}

class ListFileTest : public ::testing::Test {
protected:
    ListReadResult Read(const Bytes& bytes, Collected& out) {
        std::string path = folder.File("in.rtv");
        WriteBytes(path, bytes);
        return ReadListFile(path.c_str(), &Collect, &out);
    }

    TempFolder folder;
};

TEST_F(ListFileTest, ReadRefusesMissingEmptyShortAndBadHeaders) {
    Collected c;
    EXPECT_EQ(ReadListFile(folder.File("absent.rtv").c_str(), &Collect, &c), ListReadResult::CannotOpen);
    EXPECT_EQ(Read({}, c), ListReadResult::Empty);
    EXPECT_EQ(Read(Bytes(1, 1), c), ListReadResult::NotValid);

    Bytes header63 = HeaderBytes(1, 64, 0, "short");
    header63.pop_back();
    EXPECT_EQ(Read(header63, c), ListReadResult::NotValid);

    Bytes garbage(64 + kRecordBytes);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 31 + 5);
    EXPECT_EQ(Read(garbage, c), ListReadResult::NotValid);

    Bytes record = RecordBytes(0, 0, "kept out", 1);
    EXPECT_EQ(Read(Concat({HeaderBytes(0, 64, 1, "v0"), record}), c), ListReadResult::NotValid);
    EXPECT_EQ(Read(Concat({HeaderBytes(-1, 64, 1, "v-1"), record}), c), ListReadResult::NotValid);
    EXPECT_EQ(Read(Concat({HeaderBytes(1, 63, 1, "h63"), record}), c), ListReadResult::NotValid);
    EXPECT_TRUE(c.records.empty());
}

TEST_F(ListFileTest, ReadTakesWholeRecordsInOrderAndIgnoresATrailingPart) {
    Collected headerOnly;
    EXPECT_EQ(Read(HeaderBytes(1, 64, 0, "empty"), headerOnly), ListReadResult::Read);
    EXPECT_TRUE(headerOnly.records.empty());

    Bytes first = RecordBytes(17, 1, "first", 3);
    Bytes second = RecordBytes(-4, 0, "second", 9);
    Collected version7;
    // count is not trusted: the end of the file decides.
    EXPECT_EQ(Read(Concat({HeaderBytes(7, 64, 99, "seven"), first, second}), version7), ListReadResult::Read);
    ASSERT_EQ(version7.records.size(), 2u);
    EXPECT_EQ(memcmp(version7.records[0].get(), first.data(), kRecordBytes), 0);
    EXPECT_EQ(memcmp(version7.records[1].get(), second.data(), kRecordBytes), 0);

    Collected partial;
    Bytes tail(100, 0xAB);
    EXPECT_EQ(Read(Concat({HeaderBytes(1, 64, 2, "p"), first, tail}), partial), ListReadResult::Read);
    ASSERT_EQ(partial.records.size(), 1u);
    EXPECT_EQ(memcmp(partial.records[0].get(), first.data(), kRecordBytes), 0);

    Collected cut;
    Bytes almost(second.begin(), second.end() - 1);
    EXPECT_EQ(Read(Concat({HeaderBytes(1, 64, 2, "p"), first, almost}), cut), ListReadResult::Read);
    EXPECT_EQ(cut.records.size(), 1u);
}

TEST_F(ListFileTest, RecordsRefusedByTheSinkAreReleasedAndReadingGoesOn) {
    Collected c;
    c.refuseFrom = 1;
    Bytes file = HeaderBytes(1, 64, 3, "full");
    for (int i = 0; i < 4; ++i) file = Concat({file, RecordBytes(i, 0, "r", static_cast<unsigned char>(i))});
    EXPECT_EQ(Read(file, c), ListReadResult::Read);
    EXPECT_EQ(c.offered, 4);   // refused ones were deleted by the reader (the leak checker sees it)
    ASSERT_EQ(c.records.size(), 1u);
}

TEST_F(ListFileTest, UnterminatedFieldsEndAtTheirLastByteTerminatedOnesKeepEveryByte) {
    Bytes record = RecordBytes(0, 0, "x", 0x40);
    memset(record.data() + 6, 'N', 260);          // name without any terminator
    memset(record.data() + 2086, 'K', 260);       // keywords, last field, likewise
    memset(record.data() + 266, 'S', 260);        // slogan: terminated in its middle
    record[266 + 100] = 0;
    Collected c;
    ASSERT_EQ(Read(Concat({HeaderBytes(1, 64, 1, "u"), record}), c), ListReadResult::Read);
    ASSERT_EQ(c.records.size(), 1u);
    const StreamRecord& r = *c.records[0];
    EXPECT_EQ(FieldLength(r.name), 259u);
    EXPECT_EQ(strlen(r.name), 259u);
    EXPECT_EQ(strlen(r.keywords), 259u);
    EXPECT_EQ(r.slogan[101], 'S');                // behind its terminator, kept
    EXPECT_EQ(r.slogan[259], 'S');
    Bytes expected = record;
    expected[6 + 259] = 0;
    expected[2086 + 259] = 0;
    EXPECT_EQ(memcmp(&r, expected.data(), kRecordBytes), 0);
}

TEST_F(ListFileTest, WriteLaysOutHeaderAndRecordsByteForByte) {
    Bytes a = RecordBytes(0, 0, "alpha", 11);
    Bytes b = RecordBytes(5, 1, "beta", 200);   // an index with a gap before it
    StreamRecord ra = RecordFrom(a), rb = RecordFrom(b);
    RecordList source{{&ra, &rb}};
    std::string path = folder.File("out.rtv");
    ListFileHeader header = MakeListHeader(2, "Mes radios");
    ASSERT_TRUE(WriteListFile(path.c_str(), header, &NextRecord, &source));

    Bytes written = ReadBytes(path);
    ASSERT_EQ(written.size(), 64 + 2 * kRecordBytes);
    EXPECT_EQ(written, Concat({HeaderBytes(1, 64, 2, "Mes radios"), a, b}));
    // A few offsets spelled out: listName zero fill, bytes behind a terminator, padding.
    for (size_t i = 12 + 10; i < 64; ++i) ASSERT_EQ(written[i], 0) << i;
    EXPECT_EQ(written[64 + 6 + 6], a[6 + 6]);
    EXPECT_EQ(written[64 + 2346], a[2346]);
    EXPECT_EQ(written[64 + kRecordBytes + 0], 5);
    EXPECT_EQ(written[64 + kRecordBytes + 4], 1);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.rtv"});
}

TEST_F(ListFileTest, WriteReplacesAnOlderLongerFileWhole) {
    std::string path = folder.File("list.rtv");
    WriteBytes(path, Bytes(5 * kRecordBytes, 0xEE));
    RecordList none;
    ASSERT_TRUE(WriteListFile(path.c_str(), MakeListHeader(0, "vide"), &NextRecord, &none));
    EXPECT_EQ(ReadBytes(path), HeaderBytes(1, 64, 0, "vide"));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"list.rtv"});
}

TEST_F(ListFileTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
    StreamRecord r = RecordFrom(RecordBytes(0, 0, "new", 1));
    Bytes old = Concat({HeaderBytes(1, 64, 1, "old"), RecordBytes(0, 0, "old", 2)});

    // Folder that does not exist: nothing is created.
    std::string missing = folder.File("missing");
    std::string inMissing = (fs::path(missing) / "x.rtv").string();
    RecordList s1{{&r}};
    EXPECT_FALSE(WriteListFile(inMissing.c_str(), MakeListHeader(1, "n"), &NextRecord, &s1));
    EXPECT_FALSE(fs::exists(missing));

    // Target is a folder: it stays a folder, with what it held.
    std::string dir = folder.File("dir.rtv");
    fs::create_directory(dir);
    WriteBytes((fs::path(dir) / "inside").string(), old);
    RecordList s2{{&r}};
    EXPECT_FALSE(WriteListFile(dir.c_str(), MakeListHeader(1, "n"), &NextRecord, &s2));
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(ReadBytes((fs::path(dir) / "inside").string()), old);

    // The temporary cannot be created: the old file stays byte for byte.
    std::string target = folder.File("kept.rtv");
    WriteBytes(target, old);
    fs::create_directory(target + ".tmp");
    RecordList s3{{&r}};
    EXPECT_FALSE(WriteListFile(target.c_str(), MakeListHeader(1, "n"), &NextRecord, &s3));
    EXPECT_EQ(ReadBytes(target), old);
    fs::remove(target + ".tmp");

    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"dir.rtv", "kept.rtv"}));
    EXPECT_FALSE(WriteListFile(nullptr, MakeListHeader(1, "n"), &NextRecord, &s3));
}

TEST_F(ListFileTest, AReadOnlyTargetIsNeverReplaced) {
    StreamRecord r = RecordFrom(RecordBytes(0, 0, "new", 1));
    Bytes old = Concat({HeaderBytes(1, 64, 1, "old"), RecordBytes(0, 0, "old", 2)});
    std::string target = folder.File("locked.rtv");
    WriteBytes(target, old);
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    RecordList s{{&r}};
    EXPECT_FALSE(WriteListFile(target.c_str(), MakeListHeader(1, "n"), &NextRecord, &s));
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"locked.rtv"}));
}

TEST_F(ListFileTest, SetAsideCopiesBesideAndNeverOverAnEarlierCopy) {
    std::string list = folder.File("Ondaria.rtv");
    char kept[kPathSize];
    EXPECT_FALSE(SetFileAside(list.c_str(), ".illisible", kept));   // nothing to copy
    EXPECT_STREQ(kept, "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{});

    WriteBytes(list, Bytes{1, 2, 3});
    ASSERT_TRUE(SetFileAside(list.c_str(), ".illisible", kept));
    EXPECT_EQ(std::string(kept), list + ".illisible");
    WriteBytes(list, Bytes{4, 5});
    ASSERT_TRUE(SetFileAside(list.c_str(), ".illisible", kept));
    EXPECT_EQ(std::string(kept), list + ".illisible.2");
    for (int copy = 3; copy <= 12; ++copy) ASSERT_TRUE(SetFileAside(list.c_str(), ".illisible", kept));
    EXPECT_EQ(std::string(kept), list + ".illisible.12");
    EXPECT_EQ(ReadBytes(list + ".illisible"), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadBytes(list + ".illisible.2"), (Bytes{4, 5}));
    EXPECT_EQ(ReadBytes(list), (Bytes{4, 5}));

    // A name that would not fit in a path is refused, leaving nothing behind.
    std::string longName = folder.File(std::string(kPathSize - folder.Folder().size() - 6, 'n'));
    WriteBytes(longName, Bytes{9});
    EXPECT_FALSE(SetFileAside(longName.c_str(), ".illisible", kept));
    EXPECT_EQ(folder.Entries().size(), 14u);
}

TEST(ListName, BlanksAroundTheNameGoAndANameOfBlanksBecomesTheDefault) {
    char out[kListNameSize];
    NormaliseListName("  \t Mes radios \t ", out);
    EXPECT_STREQ(out, "Mes radios");
    NormaliseListName("in  between", out);
    EXPECT_STREQ(out, "in  between");
    NormaliseListName(" \t  ", out);
    EXPECT_STREQ(out, "Ondaria");
    NormaliseListName("", out);
    EXPECT_STREQ(out, "");
    NormaliseListName(nullptr, out);
    EXPECT_STREQ(out, "");
    // 31 characters at most, counted after the leading blanks; a blank at the cut goes too.
    NormaliseListName(("   " + std::string(30, 'a') + " b").c_str(), out);
    EXPECT_EQ(std::string(out), std::string(30, 'a'));
    NormaliseListName(std::string(40, 'z').c_str(), out);
    EXPECT_EQ(std::string(out), std::string(31, 'z'));
}

#ifndef _WIN32
TEST_F(ListFileTest, WriteFailingHalfwayLeavesTheOldFileAndNoTemporary) {
    // The temporary is made a link to a device that opens fine and refuses
    // every write once the first buffer is flushed, among the records.
    std::string target = folder.File("half.rtv");
    Bytes old = Concat({HeaderBytes(1, 64, 1, "old"), RecordBytes(0, 0, "old", 2)});
    WriteBytes(target, old);
    std::error_code error;
    fs::create_symlink("/dev/full", target + ".tmp", error);
    if (error || !fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";

    std::vector<StreamRecord> records(20, RecordFrom(RecordBytes(0, 0, "new", 1)));
    RecordList source;
    for (const StreamRecord& r : records) source.records.push_back(&r);
    EXPECT_FALSE(WriteListFile(target.c_str(), MakeListHeader(20, "n"), &NextRecord, &source));
    EXPECT_GE(source.next, 1u);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"half.rtv"});
}
#endif

TEST_F(ListFileTest, TargetTooLongForASuffixUsesAShortTemporaryBeside) {
    // Nest folders until the target path is 257 characters: "<target>.tmp"
    // cannot be formed, so the temporary takes a short name in the same folder.
    fs::path deep = folder.path();
    while (deep.string().size() < 200) deep /= std::string(40, 'd');
    fs::create_directories(deep);
    std::string target = (deep / "x").string();
    target += std::string(257 - target.size() - 4, 'y') + ".rtv";
    ASSERT_EQ(target.size(), 257u);

    char temporary[kPathSize];
    ASSERT_TRUE(ComposeTemporaryPath(target.c_str(), temporary));
    EXPECT_EQ(fs::path(temporary).parent_path(), deep);
    EXPECT_NE(std::string(temporary), target);

    StreamRecord r = RecordFrom(RecordBytes(0, 0, "deep", 4));
    RecordList source{{&r}};
    ASSERT_TRUE(WriteListFile(target.c_str(), MakeListHeader(1, "deep"), &NextRecord, &source));
    EXPECT_EQ(ReadBytes(target), Concat({HeaderBytes(1, 64, 1, "deep"), RecordBytes(0, 0, "deep", 4)}));
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(deep)) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}
