// The search rebuilding the real list box from the slot table.
#include <string>
#include <vector>

#include "tests/support/catalogue_fixture.h"

namespace {
using Names = std::vector<std::string>;
}  // namespace

using SearchView = CatalogueTest;

TEST_F(SearchView, FilterRebuildsRowsWithoutSelectionAndStoresCriteria) {
    Add("Radio Rock");
    Add("Info TV", 1, "rock");
    Add("Calme", 0, "classique");
    EXPECT_EQ(view.ApplyFilter(1, 0, "ROCK"), 1);
    EXPECT_EQ(ViewNames(view), (Names{"Radio Rock"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(view.filterRadio, 1);
    EXPECT_EQ(view.filterTv, 0);
    EXPECT_STREQ(view.filterText, "ROCK");

    EXPECT_EQ(view.ReapplyFilter(), 1);
    EXPECT_STREQ(view.filterText, "ROCK");
    EXPECT_EQ(ViewNames(view), (Names{"Radio Rock"}));

    view.ApplyFilter(1, 1, "");
    EXPECT_EQ(ViewNames(view), (Names{"Radio Rock", "Info TV", "Calme"}));
}

TEST_F(SearchView, AnAddedRecordIsAppendedEvenWhenItDoesNotMatch) {
    Add("Radio Rock");
    Add("Calme");
    view.ApplyFilter(1, 1, "rock");
    Add("Sans rapport");
    EXPECT_EQ(ViewNames(view), (Names{"Radio Rock", "Sans rapport"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(SearchView, LongSearchTextIsCutToTheFieldSize) {
    Add("Radio Rock");
    std::string text = "rock" + std::string(400, ' ') + "x";
    view.ApplyFilter(1, 1, text.c_str());
    EXPECT_EQ(std::string(view.filterText).size(), 259u);
    EXPECT_EQ(ViewNames(view), (Names{"Radio Rock"}));
}
