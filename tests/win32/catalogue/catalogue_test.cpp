// The slot table and the list box view kept in step, on a real list box.
#include <string>
#include <vector>

#include "tests/support/catalogue_fixture.h"
#include "tests/support/message_box_recorder.h"

namespace {


using Names = std::vector<std::string>;

class RecordingListener : public RecordReleaseListener {
public:
    void OnRecordReleased(const StreamRecord* record) override { released.push_back(record); }
    std::vector<const StreamRecord*> released;
};

}  // namespace

using CatalogueOperations = CatalogueTest;

TEST_F(CatalogueOperations, AddStreamTakesTheNextSlotAndSelectsItsRow) {
    ASSERT_EQ(Add("X"), 1);
    ASSERT_EQ(Add("Y"), 1);
    EXPECT_EQ(view.slotCount, 2);
    EXPECT_EQ(view.slots[1]->index, 1);
    EXPECT_STREQ(view.slots[1]->name, "Y");
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(view.GetSelectedStream(), view.slots[1]);
    EXPECT_EQ(ViewNames(view), (Names{"X", "Y"}));
}

TEST_F(CatalogueOperations, CapacityCountsUsedSlotsNotLiveRecords) {
    for (int i = 0; i < kMaxSlots - 1; ++i) ASSERT_EQ(Add("r"), 1);
    ASSERT_EQ(Add("last"), 1);
    EXPECT_EQ(view.slotCount, kMaxSlots);

    MessageBoxRecorder boxes;
    StreamRecord* refused = MakeRecord("refused");
    EXPECT_EQ(view.AddStream(refused), 0);
    delete refused;   // not taken: the caller discards it
    view.DeleteStream(0);
    StreamRecord* again = MakeRecord("again");
    EXPECT_EQ(view.AddStream(again), 0);   // a deleted slot is never reused
    delete again;
    EXPECT_EQ(view.slotCount, kMaxSlots);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const RecordedBox& box : boxes.boxes) {
        EXPECT_EQ(box.text, "La liste est remplie !");
        EXPECT_EQ(box.caption, "Ondaria");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(box.owner, parent);   // owned by the list box, whose top-level owner is the parent
    }
    EXPECT_EQ(view.ViewRowCount(), kMaxSlots - 1);
}

TEST_F(CatalogueOperations, DeleteEmptiesTheSlotKeepsTheCountAndReleasesTheRecord) {
    Add("X");
    Add("Y");
    Add("Z");
    RecordingListener listener;
    ASSERT_TRUE(view.AddReleaseListener(&listener));
    StreamRecord* x = view.slots[0];
    EXPECT_EQ(view.DeleteStream(0), 1);
    EXPECT_EQ(view.slots[0], nullptr);
    EXPECT_EQ(view.slotCount, 3);
    EXPECT_EQ(ViewNames(view), (Names{"Y", "Z"}));
    ASSERT_EQ(listener.released.size(), 1u);
    EXPECT_EQ(listener.released[0], x);
    // Rows beyond the view are ignored rather than read as records.
    EXPECT_EQ(view.DeleteStream(7), 1);
    EXPECT_EQ(view.DeleteStream(-1), 1);
    EXPECT_EQ(ViewNames(view), (Names{"Y", "Z"}));
    view.RemoveReleaseListener(&listener);
}

TEST_F(CatalogueOperations, DeletingARecordShownOnSeveralRowsRemovesEveryRow) {
    Add("Jazz Rock Live");
    Add("Radio Rock");
    Add("Smooth Jazz");
    view.ApplyFilter(1, 1, "jazz rock");
    ASSERT_EQ(ViewNames(view), (Names{"Jazz Rock Live", "Smooth Jazz", "Jazz Rock Live", "Radio Rock"}));
    view.DeleteStream(2);
    EXPECT_EQ(ViewNames(view), (Names{"Smooth Jazz", "Radio Rock"}));
    EXPECT_EQ(view.slots[0], nullptr);
    for (int row = 0; row < view.ViewRowCount(); ++row) EXPECT_NE(view.ViewRecordAt(row), nullptr);
}

TEST_F(CatalogueOperations, ReleasingARecordDropsTheHotLinkIntoIt) {
    Add("X");
    Add("Y");
    view.hotLink = view.slots[1]->website;
    view.DeleteStream(0);
    EXPECT_EQ(view.hotLink, view.slots[1]->website);   // another record's link stays
    view.hotLink = view.slots[1]->address + 3;
    view.DeleteStream(0);
    EXPECT_EQ(view.hotLink, nullptr);
}

TEST_F(CatalogueOperations, ClearReleasesEverythingAndKeepsNameAndCriteria) {
    view.SetListName("Mes radios");
    Add("X");
    Add("Y", 1);
    view.ApplyFilter(0, 1, "y");
    RecordingListener listener;
    view.AddReleaseListener(&listener);
    view.hotLink = view.slots[1]->podcast;
    EXPECT_EQ(view.ClearCatalogue(), 1);
    EXPECT_EQ(view.slotCount, 0);
    EXPECT_EQ(view.ViewRowCount(), 0);
    EXPECT_EQ(listener.released.size(), 2u);
    EXPECT_EQ(view.hotLink, nullptr);
    EXPECT_STREQ(view.listName, "Mes radios");
    EXPECT_EQ(view.filterRadio, 0);
    EXPECT_STREQ(view.filterText, "y");
    EXPECT_EQ(Add("again"), 1);
    EXPECT_EQ(view.slots[0]->index, 0);
    view.RemoveReleaseListener(&listener);
}

TEST_F(CatalogueOperations, GetStreamAtWrapsAndSelectionReadsTheView) {
    EXPECT_EQ(view.GetStreamAt(0), nullptr);
    EXPECT_EQ(view.GetSelectedStream(), nullptr);
    Add("X");
    Add("Y");
    Add("Z");
    EXPECT_STREQ(view.GetStreamAt(3)->name, "X");
    EXPECT_STREQ(view.GetStreamAt(-1)->name, "Z");
    EXPECT_STREQ(view.GetStreamAt(1)->name, "Y");
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(view.GetSelectedStream(), nullptr);
}

TEST_F(CatalogueOperations, SwapRowsExchangesSlotsAndReappliesTheSearch) {
    Add("X");
    Add("Y");
    Add("Z");
    EXPECT_EQ(view.SwapRows(0, 1), 1);
    EXPECT_EQ(ViewNames(view), (Names{"Y", "X", "Z"}));
    EXPECT_STREQ(view.slots[0]->name, "Y");
    EXPECT_EQ(view.slots[0]->index, 0);
    EXPECT_STREQ(view.slots[1]->name, "X");
    EXPECT_EQ(view.slots[1]->index, 1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);

    Add("Jazz Rock Live");   // slot 3
    Add("Smooth Jazz");      // slot 4
    view.ApplyFilter(1, 1, "jazz rock");
    ASSERT_EQ(ViewNames(view), (Names{"Jazz Rock Live", "Smooth Jazz", "Jazz Rock Live"}));
    for (int i = 0; i < 3; ++i) {
        view.SwapRows(0, 1);   // the search with both words holds after every move
        EXPECT_STREQ(view.filterText, "jazz rock");
        EXPECT_EQ(view.ViewRowCount(), 3);
    }
    EXPECT_EQ(ViewNames(view), (Names{"Smooth Jazz", "Jazz Rock Live", "Jazz Rock Live"}));
}

TEST_F(CatalogueOperations, SetListNameKeeps31Characters) {
    view.SetListName(std::string(40, 'n').c_str());
    EXPECT_EQ(std::string(view.listName), std::string(31, 'n'));
    view.SetListName("court");
    EXPECT_STREQ(view.listName, "court");
    for (int i = 5; i < kListNameSize; ++i) EXPECT_EQ(view.listName[i], 0);
}

TEST(CatalogueUnattached, OperationsOnAViewWithoutWindowReadAsEmpty) {
    CListView view;
    EXPECT_EQ(view.ViewRowCount(), 0);
    EXPECT_EQ(view.GetSelectedStream(), nullptr);
    EXPECT_EQ(view.GetStreamAt(0), nullptr);
    EXPECT_EQ(view.ApplyFilter(1, 1, "x"), 1);
    EXPECT_EQ(view.ClearCatalogue(), 1);
}
