// The directory's answer as the dialog shows it: the cells of a row, what is
// left out, the first page only, the order a header click gives, and the
// status line after "Ajouter".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/portable/directory_results.h"

namespace {

std::string Station(const std::string& name, int clicks, int bitrate, const std::string& extra = "") {
    return "{\"name\":\"" + name + "\",\"url_resolved\":\"http://radio.example/" + name +
           "\",\"countrycode\":\"FR\",\"tags\":\"pop,rock\",\"codec\":\"AAC\",\"bitrate\":" + std::to_string(bitrate) +
           ",\"clickcount\":" + std::to_string(clicks) + extra + "}";
}

std::vector<std::string> Column(const DirectoryPage& page, int column) {
    std::vector<std::string> cells;
    for (size_t k = 0; k < page.Rows(); ++k) cells.push_back(page.Row(k).cells[column].c_str());
    return cells;
}

bool Read(DirectoryPage& page, const std::string& text) { return page.Read(text.data(), text.size()); }

TEST(DirectoryResults, ARowShowsTheStationAsTheCatalogueWouldHoldIt) {
    DirectoryPage page;
    ASSERT_TRUE(Read(page, "[" + Station("Caf\\u00e9", 12, 96) + "," +
                               "{\"name\":\"Sans adresse\",\"url\":\"ftp://x\"}," +
                               "{\"name\":\"Pays en clair\",\"url\":\"https://p.example/\",\"country\":\"Belgique\"}]"));
    EXPECT_EQ(page.Answered(), 3u);
    ASSERT_EQ(page.Rows(), 2u);
    const DirectoryRow& row = page.Row(0);
    EXPECT_STREQ(row.cells[kColumnName].c_str(), "Caf\xE9");
    EXPECT_STREQ(row.cells[kColumnCountry].c_str(), "FR");
    EXPECT_STREQ(row.cells[kColumnGenre].c_str(), "pop, rock");
    EXPECT_STREQ(row.cells[kColumnFormat].c_str(), "AAC");
    EXPECT_STREQ(row.cells[kColumnBitrate].c_str(), "96 kbit/s");
    EXPECT_STREQ(row.cells[kColumnClicks].c_str(), "12");
    // No code: the country's name. No count, no bitrate: empty cells.
    EXPECT_STREQ(page.Row(1).cells[kColumnCountry].c_str(), "Belgique");
    EXPECT_STREQ(page.Row(1).cells[kColumnClicks].c_str(), "");
    EXPECT_STREQ(page.Row(1).cells[kColumnBitrate].c_str(), "");
}

TEST(DirectoryResults, WhatIsNoListOfStationsIsRefusedAndEmptiesThePage) {
    DirectoryPage page;
    ASSERT_TRUE(Read(page, "[" + Station("Un", 1, 1) + "]"));
    for (const char* text : {"{\"name\":\"x\"}", "[{\"name\":", "", "null", "[1,2]"}) {
        const bool list = std::string(text) == "[1,2]";
        EXPECT_EQ(Read(page, text), list) << text;
        EXPECT_EQ(page.Rows(), 0u) << text;
    }
}

TEST(DirectoryResults, OnlyTheFirstPageOfALongerAnswerIsShown) {
    std::string text = "[";
    for (int k = 0; k < kDirectoryPageSize * 3; ++k) text += (k ? "," : "") + Station("S" + std::to_string(k), k, 1);
    DirectoryPage page;
    ASSERT_TRUE(Read(page, text + "]"));
    EXPECT_EQ(page.Rows(), static_cast<size_t>(kDirectoryPageSize));
    EXPECT_EQ(page.Answered(), static_cast<size_t>(kDirectoryPageSize));
    // A later, shorter page leaves nothing of this one behind.
    ASSERT_TRUE(Read(page, "[" + Station("Seul", 5, 1, ",\"clickcount\":\"x\"") + "]"));
    ASSERT_EQ(page.Rows(), 1u);
    EXPECT_STREQ(page.Row(0).cells[kColumnName].c_str(), "Seul");
    EXPECT_STREQ(page.Row(0).cells[kColumnClicks].c_str(), "");
}

TEST(DirectoryResults, AHeaderSortsTextFromAAndNumbersFromTheLargestAndAgainReverses) {
    DirectoryPage page;
    ASSERT_TRUE(Read(page, "[" + Station("b\\u00e9ta", 5, 128) + "," + Station("Alpha", 50, 64) + "," +
                               Station("\\u00c9cho", 7, 320) + "," + Station("beta", 5, 32) + "]"));
    page.SortBy(kColumnName);
    // Without case, accents after the plain letters; equal names keep their order.
    EXPECT_EQ(Column(page, kColumnName), (std::vector<std::string>{"Alpha", "beta", "b\xE9ta", "\xC9" "cho"}));
    page.SortBy(kColumnName);
    EXPECT_EQ(Column(page, kColumnName), (std::vector<std::string>{"\xC9" "cho", "b\xE9ta", "beta", "Alpha"}));
    page.SortBy(kColumnBitrate);
    EXPECT_EQ(Column(page, kColumnBitrate), (std::vector<std::string>{"320 kbit/s", "128 kbit/s", "64 kbit/s", "32 kbit/s"}));
    page.SortBy(kColumnClicks);
    EXPECT_EQ(Column(page, kColumnClicks), (std::vector<std::string>{"50", "7", "5", "5"}));
    page.SortBy(kColumnClicks);
    EXPECT_EQ(Column(page, kColumnClicks), (std::vector<std::string>{"5", "5", "7", "50"}));
    page.SortBy(kDirectoryColumnCount);   // no such column: nothing moves
    EXPECT_EQ(Column(page, kColumnClicks), (std::vector<std::string>{"5", "5", "7", "50"}));
}

TEST(DirectoryResults, TheStatusAfterAddingCountsInFrench) {
    PlaylistTally tally;
    EXPECT_STREQ(DescribeDirectoryAdding(tally).c_str(), "0 radio ajoutée, 0 déjà présente");
    tally.added = 3;
    tally.present = 1;
    EXPECT_STREQ(DescribeDirectoryAdding(tally).c_str(), "3 radios ajoutées, 1 déjà présente");
    tally.added = 1;
    tally.present = 2;
    tally.leftOut = 4;
    EXPECT_STREQ(DescribeDirectoryAdding(tally).c_str(),
                 "1 radio ajoutée, 2 déjà présentes, 4 laissées de côté. La liste est remplie !");
}

}  // namespace
