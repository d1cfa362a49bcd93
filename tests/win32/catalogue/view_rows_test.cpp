// The view's rows held by the catalogue: a virtual list box shows the same
// rows as a plain one, answers the row messages of anyone with the records,
// and a search costs the list's parent no message per row.
#include <string>
#include <vector>

#include "tests/support/catalogue_fixture.h"

namespace {

constexpr int kManyRecords = 2000;

// The view as anyone outside sees it: LB_GETCOUNT and LB_GETITEMDATA.
std::vector<StreamRecord*> RowsSeenFromOutside(HWND list) {
    std::vector<StreamRecord*> seen;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row)
        seen.push_back(reinterpret_cast<StreamRecord*>(SendMessageA(list, LB_GETITEMDATA, row, 0)));
    return seen;
}

// Two catalogues with the same records, one on each kind of list box.
class BothListBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 2; ++i) {
            lists[i] = CreateCatalogueListBox(&parents[i], i == 0);
            ASSERT_NE(views[i].Subclass(lists[i]), 0);
        }
        const char* names[] = {"Radio Rock", "Info", "Jazz Club", "Été Rock", "Calme"};
        const char* keywords[] = {"musique", "rock actualite", "", "jazz", "classique rock"};
        for (int n = 0; n < 40; ++n) {
            for (int i = 0; i < 2; ++i) {
                views[i].AddStream(MakeRecord(names[n % 5], n % 3 == 0, keywords[(n / 5) % 5]));
            }
        }
    }
    void TearDown() override {
        for (int i = 0; i < 2; ++i) {
            views[i].ClearCatalogue();
            views[i].Unsubclass();
            DestroyWindow(parents[i]);
        }
    }
    // The records of `view` on each row, as indices into its slot table.
    static std::vector<int> SlotsOfRows(HWND list) {
        std::vector<int> slots;
        for (StreamRecord* record : RowsSeenFromOutside(list)) slots.push_back(record ? record->index : -1);
        return slots;
    }

    HWND parents[2] = {};
    HWND lists[2] = {};
    CListView views[2];
};

TEST_F(BothListBoxes, EverySearchShowsTheSameRowsOnAVirtualAndAPlainListBox) {
    ASSERT_NE(GetWindowLongA(lists[0], GWL_STYLE) & LBS_NODATA, 0);
    const struct {
        int radio, tv;
        const char* text;
    } searches[] = {{1, 1, ""}, {1, 1, "rock"}, {1, 0, "rock jazz"}, {0, 1, "  ete  "}, {1, 1, "personne"},
                    {1, 1, "r o c k"}};
    for (const auto& s : searches) {
        for (CListView& view : views) view.ApplyFilter(s.radio, s.tv, s.text);
        EXPECT_EQ(SlotsOfRows(lists[0]), SlotsOfRows(lists[1])) << "search \"" << s.text << "\"";
        EXPECT_EQ(SendMessageA(lists[0], LB_GETCURSEL, 0, 0), LB_ERR);
        for (int row = 0; row < views[0].ViewRowCount(); ++row)
            ASSERT_EQ(views[0].ViewRecordAt(row), RowsSeenFromOutside(lists[0])[row]);
    }

    // Deleting a record shown on two rows removes both, on both.
    for (CListView& view : views) view.ApplyFilter(1, 1, "rock musique");
    for (CListView& view : views) view.DeleteStream(0);
    EXPECT_EQ(SlotsOfRows(lists[0]), SlotsOfRows(lists[1]));
    for (int slot : SlotsOfRows(lists[0])) EXPECT_NE(slot, 0);
}

TEST_F(BothListBoxes, RowMessagesFromOutsideKeepTheRecordsInStep) {
    HWND list = lists[0];
    for (CListView& view : views) view.ApplyFilter(1, 1, "jazz");
    std::vector<StreamRecord*> before = RowsSeenFromOutside(list);
    ASSERT_GE(before.size(), 3u);
    StreamRecord* first = before[0];
    StreamRecord* second = before[1];

    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), static_cast<LRESULT>(before.size() - 1));
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(first)), 1);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(second)),
              static_cast<LRESULT>(before.size()));
    std::vector<StreamRecord*> after = RowsSeenFromOutside(list);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after[0], second);
    EXPECT_EQ(after[1], first);
    EXPECT_EQ(after.back(), second);
    EXPECT_EQ(views[0].ViewRecordAt(1), first);

    EXPECT_NE(SendMessageA(list, LB_SETITEMDATA, 0, reinterpret_cast<LPARAM>(first)), LB_ERR);
    EXPECT_EQ(RowsSeenFromOutside(list)[0], first);
    EXPECT_EQ(SendMessageA(list, LB_SETITEMDATA, 999, reinterpret_cast<LPARAM>(first)), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 999, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 999, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(after.size()));

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_TRUE(RowsSeenFromOutside(list).empty());
    EXPECT_EQ(views[0].ViewRowCount(), 0);
    EXPECT_EQ(views[0].ViewRecordAt(0), nullptr);
}

// The list's parent hears of the rows it must draw, and of nothing per row besides.
int g_parentMessages = 0;
int g_parentDeleteItems = 0;
WNDPROC g_parentBefore = nullptr;

LRESULT CALLBACK CountingParent(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    ++g_parentMessages;
    if (message == WM_DELETEITEM) ++g_parentDeleteItems;
    return CallWindowProcA(g_parentBefore, hwnd, message, first, second);
}

TEST(VirtualListBox, ASearchOverAFullViewCostsTheParentNoMessagePerRow) {
    HWND parent = nullptr;
    HWND list = CreateCatalogueListBox(&parent);
    ASSERT_NE(list, nullptr);
    CListView view;
    ASSERT_NE(view.Subclass(list), 0);
    for (int i = 0; i < kManyRecords; ++i) view.AddStream(MakeRecord(i % 2 ? "Rock" : "Jazz"));
    ShowWindow(parent, SW_SHOW);
    UpdateWindow(parent);
    view.ApplyFilter(1, 1, "");
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), kManyRecords);

    g_parentBefore = reinterpret_cast<WNDPROC>(
        SetWindowLongA(parent, GWL_WNDPROC, reinterpret_cast<LONG>(&CountingParent)));
    g_parentMessages = g_parentDeleteItems = 0;
    view.ApplyFilter(1, 1, "rock");
    view.ApplyFilter(1, 1, "");
    view.ClearCatalogue();
    SetWindowLongA(parent, GWL_WNDPROC, reinterpret_cast<LONG>(g_parentBefore));

    EXPECT_EQ(g_parentDeleteItems, 0);
    // Drawing the visible rows, twice, and a few notices: far fewer than the rows.
    EXPECT_LT(g_parentMessages, kManyRecords / 10);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    view.Unsubclass();
    DestroyWindow(parent);
}

using SearchShown = CatalogueTest;

TEST_F(SearchShown, OnlyTheLatestSearchUntouchedAndWithoutSelectionCountsAsShown) {
    Add("Radio Rock");
    Add("Jazz");
    EXPECT_FALSE(view.ShowsSearch(1, 1, ""));
    view.ApplyFilter(1, 1, "rock");
    EXPECT_TRUE(view.ShowsSearch(1, 1, "rock"));
    EXPECT_FALSE(view.ShowsSearch(1, 1, "roc"));
    EXPECT_FALSE(view.ShowsSearch(1, 0, "rock"));

    SendMessageA(list, LB_SETCURSEL, 0, 0);
    EXPECT_FALSE(view.ShowsSearch(1, 1, "rock"));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_TRUE(view.ShowsSearch(1, 1, "rock"));

    view.NoteRecordEdited();
    EXPECT_FALSE(view.ShowsSearch(1, 1, "rock"));
    view.ReapplyFilter();
    Add("Rock 2");
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_FALSE(view.ShowsSearch(1, 1, "rock"));
    view.ReapplyFilter();
    SendMessageA(list, LB_DELETESTRING, 0, 0);
    EXPECT_FALSE(view.ShowsSearch(1, 1, "rock"));
    view.ReapplyFilter();
    view.DeleteStream(0);
    EXPECT_FALSE(view.ShowsSearch(1, 1, "rock"));
    view.ReapplyFilter();
    view.ClearCatalogue();
    EXPECT_FALSE(view.ShowsSearch(1, 1, "rock"));
}

}  // namespace

namespace {

// A virtual list box that takes rows only as a count, as a system may.
WNDPROC g_countOnlyBelow = nullptr;

LRESULT CALLBACK CountOnlyListBox(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == LB_ADDSTRING || message == LB_INSERTSTRING || message == LB_DELETESTRING) return LB_ERR;
    return CallWindowProcA(g_countOnlyBelow, hwnd, message, first, second);
}

TEST(VirtualListBox, OneThatTakesOnlyCountsStillShowsEveryAddedAndDeletedRow) {
    HWND parent = nullptr;
    HWND list = CreateCatalogueListBox(&parent);
    g_countOnlyBelow =
        reinterpret_cast<WNDPROC>(SetWindowLongA(list, GWL_WNDPROC, reinterpret_cast<LONG>(&CountOnlyListBox)));
    CListView view;
    ASSERT_NE(view.Subclass(list), 0);
    for (const char* name : {"Un", "Deux", "Trois"}) view.AddStream(MakeRecord(name));
    EXPECT_EQ(ViewNames(view), (std::vector<std::string>{"Un", "Deux", "Trois"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2) << "the added row is selected";

    view.DeleteStream(1);
    EXPECT_EQ(ViewNames(view), (std::vector<std::string>{"Un", "Trois"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    view.ClearCatalogue();
    view.Unsubclass();
    DestroyWindow(parent);
}

}  // namespace
