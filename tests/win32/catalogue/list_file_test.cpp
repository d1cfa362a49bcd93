#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/list_view.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/message_box_recorder.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;
constexpr size_t kRecordBytes = 9264;

void PutInt32(Bytes& bytes, size_t offset, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(v >> (8 * i));
}

int32_t GetInt32(const Bytes& bytes, size_t offset) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<int32_t>(v);
}

Bytes HeaderBytes(int32_t version, int32_t headerSize, int32_t count, const char* name) {
    Bytes bytes(64, 0);
    PutInt32(bytes, 0, version);
    PutInt32(bytes, 4, headerSize);
    PutInt32(bytes, 8, count);
    memcpy(bytes.data() + 12, name, strlen(name));
    return bytes;
}

Bytes RecordImage(const StreamRecord& record) {
    Bytes bytes(sizeof record);
    memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

// A record whose every byte matters: bytes behind the terminators, padding,
// colour and logo all carry a pattern that a round trip must keep.
StreamRecord* MakeDenseRecord(const char* name, int kind, unsigned char seed) {
    StreamRecord* r = MakeRecord(name, kind, "jazz");
    unsigned char* raw = reinterpret_cast<unsigned char*>(r);
    for (size_t i = 0; i < sizeof *r; ++i) raw[i] = static_cast<unsigned char>(seed + i * 13);
    const size_t nameLength = strlen(name) + 1;
    for (char* field : {r->name, r->slogan, r->address, r->website, r->podcast, r->playlist, r->quality,
                        r->format, r->keywords}) {
        field[kTextFieldSize - 1] = 0;
    }
    memcpy(r->name, name, nameLength);
    strcpy(r->address, "http://example.org/dense");
    r->kind = static_cast<int16_t>(kind);
    r->padding[0] = 0xA5;
    r->padding[1] = 0x5A;
    r->transparentColour = 0x00FF00FF;
    return r;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ListFileTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        static std::atomic<int> counter{0};
        folder = fs::temp_directory_path() /
                 ("ondaria_lists_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++));
        fs::create_directories(folder);
        folderText = folder.string() + "\\";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        CatalogueTest::TearDown();
    }

    std::string File(const std::string& name) const { return (folder / name).string(); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    int Selected() const { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

    void ExpectOnlyBoxes(const MessageBoxRecorder& recorder, const std::vector<std::string>& texts) {
        EXPECT_EQ(recorder.Texts(), texts);
        for (const RecordedBox& box : recorder.boxes) {
            EXPECT_EQ(box.caption, "Ondaria");
            EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
            // A box owned by a child window is owned by its top-level window.
            EXPECT_EQ(box.owner, parent);
        }
    }

    fs::path folder;
    std::string folderText;
};

}  // namespace

TEST_F(ListFileTest, CurrentListIsNamedAfterTheListAndRoundTripsByteForByte) {
    view.SetListName("Mes radios");
    StreamRecord* a = MakeDenseRecord("alpha", 0, 1);
    StreamRecord* b = MakeDenseRecord("beta", 1, 77);
    StreamRecord* c = MakeDenseRecord("gamma", 0, 200);
    ASSERT_TRUE(view.AddStream(a) && view.AddStream(b) && view.AddStream(c));
    const Bytes images[] = {RecordImage(*a), RecordImage(*b), RecordImage(*c)};

    MessageBoxRecorder recorder;
    ASSERT_EQ(view.SaveListFile(folderText.c_str(), 1), 1);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Mes radios.rtv"});
    Bytes file = ReadBytes(File("Mes radios.rtv"));
    Bytes expected = HeaderBytes(1, 64, 3, "Mes radios");
    for (const Bytes& image : images) expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(file, expected);

    // Loading into a catalogue that already holds one record appends after it.
    view.ClearCatalogue();
    ASSERT_EQ(Add("first"), 1);
    ASSERT_EQ(view.LoadListFile(folderText.c_str(), 1), 1);
    ASSERT_EQ(view.slotCount, 4);
    ASSERT_EQ(view.ViewRowCount(), 4);
    for (int i = 0; i < 3; ++i) {
        Bytes loaded = RecordImage(*view.slots[i + 1]);
        Bytes want = images[i];
        PutInt32(want, 0, i + 1);   // the index becomes the new slot number
        EXPECT_EQ(loaded, want) << i;
        EXPECT_EQ(view.ViewRecordAt(i + 1), view.slots[i + 1]);
    }
    EXPECT_STREQ(view.listName, "Mes radios");
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(ListFileTest, ExplicitPathsGetTheExtensionOnlyWhenSaving) {
    ASSERT_EQ(Add("one"), 1);
    std::string plain = File("rock");
    ASSERT_EQ(view.SaveListFile(plain.c_str(), 0), 1);
    std::string upper = File("rock.RTV");
    ASSERT_EQ(view.SaveListFile(upper.c_str(), 0), 1);
    std::string old = File("rock.rtv.old");
    ASSERT_EQ(view.SaveListFile(old.c_str(), 0), 1);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"rock.RTV.rtv", "rock.rtv", "rock.rtv.old"}));

    view.ClearCatalogue();
    MessageBoxRecorder recorder;
    EXPECT_EQ(view.LoadListFile(plain.c_str(), 0), 0);   // no "rock" file
    EXPECT_EQ(view.LoadListFile((plain + ".rtv").c_str(), 0), 1);
    EXPECT_EQ(view.LoadListFile(old.c_str(), 0), 1);
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_STREQ(view.slots[1]->name, "one");
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(ListFileTest, DeletedSlotsAreSkippedAndCountIsTheViewRowCount) {
    ASSERT_EQ(Add("r0", kStreamKindRadio), 1);
    ASSERT_EQ(Add("t1", kStreamKindTv), 1);
    ASSERT_EQ(Add("r2", kStreamKindRadio), 1);
    ASSERT_EQ(Add("r3", kStreamKindRadio), 1);
    ASSERT_EQ(view.DeleteStream(1), 1);

    std::string path = File("gap.rtv");
    ASSERT_EQ(view.SaveListFile(path.c_str(), 0), 1);
    Bytes file = ReadBytes(path);
    ASSERT_EQ(file.size(), 64 + 3 * kRecordBytes);
    EXPECT_EQ(GetInt32(file, 8), 3);
    // Records keep the slot numbers they had: a gap where the deleted one was.
    EXPECT_EQ(GetInt32(file, 64), 0);
    EXPECT_EQ(GetInt32(file, 64 + kRecordBytes), 2);
    EXPECT_EQ(GetInt32(file, 64 + 2 * kRecordBytes), 3);

    // Under a search the count is the rows shown, the records are all of them.
    ASSERT_EQ(view.ApplyFilter(0, 1, ""), 1);
    ASSERT_EQ(view.ViewRowCount(), 0);
    ASSERT_EQ(view.ApplyFilter(1, 0, "r2"), 1);
    ASSERT_EQ(view.ViewRowCount(), 1);
    ASSERT_EQ(view.SaveListFile(path.c_str(), 0), 1);
    file = ReadBytes(path);
    EXPECT_EQ(file.size(), 64 + 3 * kRecordBytes);
    EXPECT_EQ(GetInt32(file, 8), 1);

    // Reading gives gap-free slot numbers.
    view.ClearCatalogue();
    ASSERT_EQ(view.LoadListFile(path.c_str(), 0), 1);
    ASSERT_EQ(view.slotCount, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(view.slots[i]->index, i);
    EXPECT_STREQ(view.slots[2]->name, "r3");
}

TEST_F(ListFileTest, LoadingLeavesNoRowSelected) {
    ASSERT_EQ(Add("a"), 1);
    ASSERT_EQ(Add("b"), 1);
    ASSERT_EQ(Selected(), 1);
    std::string path = File("sel.rtv");
    ASSERT_EQ(view.SaveListFile(path.c_str(), 0), 1);
    ASSERT_EQ(view.LoadListFile(path.c_str(), 0), 1);
    EXPECT_EQ(view.ViewRowCount(), 4);
    EXPECT_EQ(Selected(), LB_ERR);
    EXPECT_EQ(view.GetSelectedStream(), nullptr);
}

TEST_F(ListFileTest, HeaderOnlyFileIsValidAndAddsNothing) {
    std::string path = File("empty.rtv");
    WriteBytes(path, HeaderBytes(1, 64, 12, "autre nom"));
    MessageBoxRecorder recorder;
    EXPECT_EQ(view.LoadListFile(path.c_str(), 0), 1);
    EXPECT_EQ(view.slotCount, 0);
    EXPECT_EQ(view.ViewRowCount(), 0);
    EXPECT_STREQ(view.listName, "");
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(ListFileTest, FullCatalogueRefusesTheRestWithOneMessage) {
    for (int i = 0; i < 10; ++i) ASSERT_EQ(Add(("file" + std::to_string(i)).c_str()), 1);
    std::string path = File("ten.rtv");
    ASSERT_EQ(view.SaveListFile(path.c_str(), 0), 1);
    view.ClearCatalogue();
    for (int i = 0; i < 4090; ++i) ASSERT_EQ(Add("filler"), 1);

    MessageBoxRecorder recorder;
    EXPECT_EQ(view.LoadListFile(path.c_str(), 0), 1);
    // Once for the file, with how many were left out: a list far longer than
    // the catalogue would otherwise freeze the host behind one box per station.
    ExpectOnlyBoxes(recorder, {"La liste est remplie !\n4 flux laissés de côté."});
    EXPECT_EQ(view.slotCount, 4096);
    EXPECT_EQ(view.ViewRowCount(), 4096);
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(view.slots[4090 + i]->name, ("file" + std::to_string(i)).c_str());
        EXPECT_EQ(view.slots[4090 + i]->index, 4090 + i);
    }
    EXPECT_EQ(Selected(), LB_ERR);
}

TEST_F(ListFileTest, InvalidFilesAreRefusedOnceAndLeaveTheCatalogueAlone) {
    ASSERT_EQ(Add("stays"), 1);
    StreamRecord* before = view.slots[0];
    Bytes record(kRecordBytes, 0);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    auto withRecord = [&](Bytes header) {
        header.insert(header.end(), record.begin(), record.end());
        return header;
    };
    Bytes header63 = HeaderBytes(1, 64, 0, "x");
    header63.pop_back();
    const Case cases[] = {
        {"version 0", withRecord(HeaderBytes(0, 64, 1, "x"))},
        {"version -1", withRecord(HeaderBytes(-1, 64, 1, "x"))},
        {"header size 63", withRecord(HeaderBytes(1, 63, 1, "x"))},
        {"shorter than a header", header63},
        {"one byte", Bytes(1, 1)},
        {"text", Bytes(200, 'a')},
    };
    std::string path = File("bad.rtv");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        MessageBoxRecorder recorder;
        EXPECT_EQ(view.LoadListFile(path.c_str(), 0), 0) << c.what;
        ExpectOnlyBoxes(recorder, {"Le fichier n'est pas valide !"});
        EXPECT_EQ(view.slotCount, 1) << c.what;
        EXPECT_EQ(view.ViewRowCount(), 1) << c.what;
        EXPECT_EQ(view.slots[0], before);
    }

    WriteBytes(path, withRecord(HeaderBytes(7, 64, 0, "x")));
    MessageBoxRecorder recorder;
    EXPECT_EQ(view.LoadListFile(path.c_str(), 0), 1);
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(ListFileTest, MissingEmptyOrUnnamedFilesFailSilently) {
    ASSERT_EQ(Add("stays"), 1);
    MessageBoxRecorder recorder;
    EXPECT_EQ(view.LoadListFile(File("absent.rtv").c_str(), 0), 0);
    EXPECT_EQ(view.LoadListFile(folderText.c_str(), 1), 0);   // no current list yet
    WriteBytes(File("zero.rtv"), {});
    EXPECT_EQ(view.LoadListFile(File("zero.rtv").c_str(), 0), 0);
    EXPECT_EQ(view.LoadListFile(folder.string().c_str(), 0), 0);   // a folder
    EXPECT_EQ(view.LoadListFile(nullptr, 0), 0);
    EXPECT_EQ(view.LoadListFile(nullptr, 1), 0);
    EXPECT_EQ(view.SaveListFile(nullptr, 0), 0);
    EXPECT_EQ(view.SaveListFile(nullptr, 1), 0);
    EXPECT_EQ(view.slotCount, 1);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(Entries(), std::vector<std::string>{"zero.rtv"});
}

TEST_F(ListFileTest, ListNamesFileNamesCannotHoldGoThroughASanitizedName) {
    view.SetListName("Rock: live/80s");
    ASSERT_EQ(Add("s1"), 1);
    ASSERT_EQ(view.SaveListFile(folderText.c_str(), 1), 1);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Rock_ live_80s.rtv"});
    Bytes file = ReadBytes(File("Rock_ live_80s.rtv"));
    ASSERT_GE(file.size(), 64u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 12)), "Rock: live/80s");

    view.ClearCatalogue();
    ASSERT_EQ(view.LoadListFile(folderText.c_str(), 1), 1);
    ASSERT_EQ(view.slotCount, 1);
    EXPECT_STREQ(view.slots[0]->name, "s1");
    EXPECT_STREQ(view.listName, "Rock: live/80s");

    // A device name would open the device, not a file.
    view.SetListName("nul");
    ASSERT_EQ(view.SaveListFile(folderText.c_str(), 1), 1);
    EXPECT_TRUE(fs::exists(File("nul_.rtv")));
    view.ClearCatalogue();
    ASSERT_EQ(view.LoadListFile(folderText.c_str(), 1), 1);
    EXPECT_EQ(view.slotCount, 1);
}

TEST_F(ListFileTest, FailedSaveKeepsTheOldFileAndWritesNothing) {
    view.SetListName("Ondaria");
    ASSERT_EQ(Add("old"), 1);
    ASSERT_EQ(view.SaveListFile(folderText.c_str(), 1), 1);
    const Bytes old = ReadBytes(File("Ondaria.rtv"));
    ASSERT_EQ(old.size(), 64 + kRecordBytes);

    ASSERT_EQ(Add("new"), 1);
    MessageBoxRecorder recorder;
    // The temporary cannot be made beside the target.
    fs::create_directory(File("Ondaria.rtv.tmp"));
    EXPECT_EQ(view.SaveListFile(folderText.c_str(), 1), 0);
    EXPECT_EQ(ReadBytes(File("Ondaria.rtv")), old);
    fs::remove(File("Ondaria.rtv.tmp"));

    // Folder that does not exist.
    std::string missing = File("missing") + "\\";
    EXPECT_EQ(view.SaveListFile(missing.c_str(), 1), 0);
    EXPECT_FALSE(fs::exists(File("missing")));

    // A path that does not fit 260 bytes: nothing written, nothing read.
    std::string longFolder = folderText + std::string(260 - folderText.size() - 8, 'f') + "\\";
    ASSERT_EQ(longFolder.size(), 253u);   // + "Ondaria.rtv" is 264
    EXPECT_EQ(view.SaveListFile(longFolder.c_str(), 1), 0);
    EXPECT_EQ(view.LoadListFile(longFolder.c_str(), 1), 0);
    std::string longPath = File(std::string(300, 'p'));
    EXPECT_EQ(view.SaveListFile(longPath.c_str(), 0), 0);
    EXPECT_EQ(view.LoadListFile(longPath.c_str(), 0), 0);

    EXPECT_EQ(Entries(), std::vector<std::string>{"Ondaria.rtv"});
    EXPECT_EQ(ReadBytes(File("Ondaria.rtv")), old);
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_TRUE(recorder.boxes.empty());
}
