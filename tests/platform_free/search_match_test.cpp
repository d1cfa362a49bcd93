#include "catalogue/portable/search_match.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<StreamRecord> Record(const char* name, int kind, const char* keywords = "",
                                     const char* slogan = "") {
    auto r = std::make_unique<StreamRecord>();
    memset(r.get(), 0, sizeof *r);
    SetField(r->name, name);
    SetField(r->keywords, keywords);
    SetField(r->slogan, slogan);
    r->kind = static_cast<int16_t>(kind);
    return r;
}

void Collect(void* context, StreamRecord* record) {
    static_cast<std::vector<std::string>*>(context)->emplace_back(record->name, FieldLength(record->name));
}

struct Catalogue {
    std::vector<std::unique_ptr<StreamRecord>> owned;
    std::vector<StreamRecord*> slots;

    void Add(std::unique_ptr<StreamRecord> r) {
        slots.push_back(r.get());
        owned.push_back(std::move(r));
    }
    std::vector<std::string> Rows(int radio, int tv, const char* text) const {
        std::vector<std::string> rows;
        SearchCriteria criteria{radio, tv, text};
        ForEachSearchRow(slots.data(), static_cast<int>(slots.size()), criteria, &Collect, &rows);
        return rows;
    }
};

using Rows = std::vector<std::string>;

Catalogue Sample() {
    Catalogue c;
    c.Add(Record("Jazz Rock Live", 0));
    c.Add(Record("Radio Rock", 0));
    c.Add(Record("Info Continue", 1, "rock actualite"));
    c.Add(Record("Slogan Only", 0, "", "rock all day"));
    c.Add(Record("Smooth Jazz", 0, "jazz"));
    c.Add(Record("Odd Kind", 2, "rock"));
    return c;
}

}  // namespace

TEST(SearchMatch, EmptyTextListsAllowedKindsInSlotOrderSkippingEmptySlots) {
    Catalogue c = Sample();
    c.slots[1] = nullptr;
    EXPECT_EQ(c.Rows(1, 1, ""), (Rows{"Jazz Rock Live", "Info Continue", "Slogan Only", "Smooth Jazz"}));
    EXPECT_EQ(c.Rows(1, 0, ""), (Rows{"Jazz Rock Live", "Slogan Only", "Smooth Jazz"}));
    EXPECT_EQ(c.Rows(0, 1, nullptr), (Rows{"Info Continue"}));
    EXPECT_EQ(c.Rows(0, 0, ""), Rows{});
}

TEST(SearchMatch, RowsAreGroupedByWordAndARecordRepeatsPerMatchingWord) {
    Catalogue c = Sample();
    // Name or keywords only; the slogan is never searched; kind 2 is never shown.
    EXPECT_EQ(c.Rows(1, 1, "rock"), (Rows{"Jazz Rock Live", "Radio Rock", "Info Continue"}));
    EXPECT_EQ(c.Rows(1, 1, "jazz rock"),
              (Rows{"Jazz Rock Live", "Smooth Jazz", "Jazz Rock Live", "Radio Rock", "Info Continue"}));
    EXPECT_EQ(c.Rows(1, 1, "JAZZ rock"), c.Rows(1, 1, "jazz ROCK"));
    EXPECT_EQ(c.Rows(1, 1, "  jazz   rock  "), c.Rows(1, 1, "jazz rock"));
    EXPECT_EQ(c.Rows(1, 0, "rock"), (Rows{"Jazz Rock Live", "Radio Rock"}));
    EXPECT_EQ(c.Rows(0, 1, "jazz rock"), (Rows{"Info Continue"}));
}

TEST(SearchMatch, OnlySpacesSeparateWords) {
    Catalogue c;
    c.Add(Record("rock\tpop", 0));
    EXPECT_EQ(c.Rows(1, 1, "   "), Rows{});
    EXPECT_EQ(c.Rows(1, 1, "ROCK\tPOP"), (Rows{"rock\tpop"}));  // a tab is part of the word
}

TEST(SearchMatch, FrenchIsMatchedWithoutCaseOrAccents) {
    // Windows-1252: "Été Radio", "Café FM", "Radio Éclectique", "Cœur de France", "Straße".
    Catalogue c;
    c.Add(Record("\xC9t\xE9 Radio", 0));
    c.Add(Record("Caf\xE9 FM", 0));
    c.Add(Record("Radio \xC9\x63lectique", 0));
    c.Add(Record("C\x9Cur de France", 0));
    c.Add(Record("Stra\xDF\x65", 0));
    EXPECT_EQ(c.Rows(1, 1, "\xE9t\xE9"), (Rows{"\xC9t\xE9 Radio"}));      // "été" finds "Été"
    EXPECT_EQ(c.Rows(1, 1, "ETE"), (Rows{"\xC9t\xE9 Radio"}));               // capitals without accents
    EXPECT_EQ(c.Rows(1, 1, "eclectique"), (Rows{"Radio \xC9\x63lectique"}));
    EXPECT_EQ(c.Rows(1, 1, "CAF\xC9"), (Rows{"Caf\xE9 FM"}));                // "CAFÉ"
    EXPECT_EQ(c.Rows(1, 1, "coeur"), (Rows{"C\x9Cur de France"}));            // œ reads as OE
    EXPECT_EQ(c.Rows(1, 1, "C\x8CUR"), (Rows{"C\x9Cur de France"}));         // and Œ
    EXPECT_EQ(c.Rows(1, 1, "strasse"), (Rows{"Stra\xDF\x65"}));              // ß as SS
}

TEST(SearchFolding, EveryLetterFoldsToItsPlainCapital) {
    char out[kFoldedTextSize];
    FoldForSearch("\xE0\xE2\xE4\xE9\xE8\xEA\xEB\xEE\xEF\xF4\xF6\xF9\xFB\xFC\xFF\xE7\xE6\x9C", 100, out);
    EXPECT_STREQ(out, "AAAEEEEIIOOUUUYCAEOE");
    FoldForSearch("\xC0\xC2\xC4\xC9\xC8\xCA\xCB\xCE\xCF\xD4\xD6\xD9\xDB\xDC\x9F\xC7\xC6\x8C", 100, out);
    EXPECT_STREQ(out, "AAAEEEEIIOOUUUYCAEOE");
    FoldForSearch("az AZ 09 -_\xA9\xD7\xF7\x80", 100, out);   // ©, ×, ÷ and € are not letters
    EXPECT_STREQ(out, "AZ AZ 09 -_\xA9\xD7\xF7\x80");
    FoldForSearch("\xDF\xFE", 1, out);   // at most `length` bytes read
    EXPECT_STREQ(out, "SS");
    std::string all(259, '\xE6');          // every character doubled: still fits
    FoldForSearch(all.c_str(), all.size(), out);
    EXPECT_EQ(strlen(out), 518u);
}

TEST(SearchMatch, UnterminatedFieldsAreReadWithinTheirBytes) {
    Catalogue c;
    auto r = Record("", 0);
    memset(r->name, 'A', sizeof r->name);        // no terminator anywhere
    memset(r->keywords, 'b', sizeof r->keywords);
    c.Add(std::move(r));
    EXPECT_EQ(c.Rows(1, 1, "aaa").size(), 1u);
    EXPECT_EQ(c.Rows(1, 1, "BBB").size(), 1u);
    std::string longWord(300, 'a');               // longer than any field: cut to 259
    EXPECT_EQ(c.Rows(1, 1, longWord.c_str()).size(), 1u);
}
