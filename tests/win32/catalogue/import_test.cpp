// ImportListFile: the catalogue is replaced only by a list file read whole
// and found valid.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/list_view.h"
#include "catalogue/portable/list_file_format.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_folder.h"

namespace {

class ReleaseCounter : public RecordReleaseListener {
public:
    void OnRecordReleased(const StreamRecord*) override { ++released; }
    int released = 0;
};

class ImportTest : public CatalogueTest {
protected:
    std::string File(const char* name) const { return folder.Path() + "\\" + name; }

    // A list file of `count` records named s0, s1, ...
    std::string WriteList(const char* name, int count) {
        std::string path = File(name);
        FILE* out = fopen(path.c_str(), "wb");
        EXPECT_NE(out, nullptr);
        if (!out) return path;
        ListFileHeader header = MakeListHeader(count, "other");
        fwrite(&header, sizeof header, 1, out);
        for (int i = 0; i < count; ++i) {
            StreamRecord* record = MakeRecord(("s" + std::to_string(i)).c_str());
            record->index = 77;
            fwrite(record, sizeof *record, 1, out);
            delete record;
        }
        fclose(out);
        return path;
    }

    std::string WriteRaw(const char* name, const void* bytes, size_t size) {
        std::string path = File(name);
        FILE* out = fopen(path.c_str(), "wb");
        if (out && size) fwrite(bytes, 1, size, out);
        if (out) fclose(out);
        return path;
    }

    TestFolder folder;
};

TEST_F(ImportTest, OnlyAValidListReplacesTheCatalogue) {
    ASSERT_EQ(Add("A"), 1);
    ASSERT_EQ(Add("B"), 1);
    StreamRecord* a = view.slots[0];
    StreamRecord* b = view.slots[1];
    ListFileHeader notAList = MakeListHeader(0, "x");
    notAList.headerSize = 63;
    const char shortFile[10] = {1};
    const std::string missing = File("missing.rtv");
    const std::string empty = WriteRaw("empty.rtv", "", 0);
    const std::string bad = WriteRaw("bad.rtv", &notAList, sizeof notAList);
    const std::string cut = WriteRaw("cut.rtv", shortFile, sizeof shortFile);

    MessageBoxRecorder recorder;
    EXPECT_EQ(view.ImportListFile(nullptr), 0);
    EXPECT_EQ(view.ImportListFile(missing.c_str()), 0);
    EXPECT_EQ(view.ImportListFile(empty.c_str()), 0);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(view.ImportListFile(bad.c_str()), 0);
    EXPECT_EQ(view.ImportListFile(cut.c_str()), 0);
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"Le fichier n'est pas valide !",
                                                          "Le fichier n'est pas valide !"}));
    for (const RecordedBox& box : recorder.boxes) {
        EXPECT_EQ(box.caption, "Ondaria");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
    }
    ASSERT_EQ(view.slotCount, 2);
    EXPECT_EQ(view.slots[0], a);
    EXPECT_EQ(view.slots[1], b);
    EXPECT_EQ(view.ViewRowCount(), 2);

    // A list without records is valid: the catalogue becomes empty.
    const std::string none = WriteList("none.rtv", 0);
    recorder.boxes.clear();
    EXPECT_EQ(view.ImportListFile(none.c_str()), 1);
    EXPECT_EQ(view.slotCount, 0);
    EXPECT_EQ(view.ViewRowCount(), 0);

    const std::string three = WriteList("three.rtv", 3);
    ASSERT_EQ(Add("C"), 1);
    view.SetListName("Mine");
    EXPECT_EQ(view.ImportListFile(three.c_str()), 1);
    ASSERT_EQ(view.slotCount, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(view.slots[i]->index, i);
        EXPECT_EQ(view.ViewRecordAt(i), view.slots[i]);
    }
    EXPECT_STREQ(view.slots[2]->name, "s2");
    EXPECT_EQ(view.ViewSelectedRow(), LB_ERR);
    EXPECT_STREQ(view.listName, "Mine");   // the file's name is not taken
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(ImportTest, AListLongerThanTheCatalogueKeepsItsFirstRecords) {
    for (int i = 0; i < 5; ++i) ASSERT_EQ(Add("old"), 1);
    ReleaseCounter counter;
    view.AddReleaseListener(&counter);
    const std::string path = WriteList("long.rtv", kMaxSlots + 2);

    MessageBoxRecorder recorder;
    EXPECT_EQ(view.ImportListFile(path.c_str()), 1);
    EXPECT_EQ(counter.released, 5);
    ASSERT_EQ(view.slotCount, kMaxSlots);
    EXPECT_STREQ(view.slots[0]->name, "s0");
    EXPECT_STREQ(view.slots[kMaxSlots - 1]->name, "s4095");
    EXPECT_EQ(view.ViewRowCount(), kMaxSlots);
    // One message for the whole file, as a plain load gives.
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"La liste est remplie !\n2 flux laissés de côté."}));
    view.RemoveReleaseListener(&counter);
}

}  // namespace
