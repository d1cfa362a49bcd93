// The plugin's own string, formatter and "%X" reader, which stand in for the
// C++ and C runtime pieces the DLL leaves out: each must behave as the piece
// it replaces did.
#include "catalogue/portable/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

std::string Std(const Text& text) { return std::string(text.data(), text.size()); }

TEST(Text, SearchesAndCutsAsStdStringDoes) {
    const std::string model = "http://radio.example:8000/live?x#y";
    const Text text = model.c_str();
    for (size_t from = 0; from <= model.size() + 1; ++from) {
        for (char c : std::string(":/?#xz")) {
            EXPECT_EQ(text.find(c, from), model.find(c, from)) << c << from;
        }
        for (const char* needle : {"://", "live", "", "y", "zz", "http://radio.example:8000/live?x#y!"})
            EXPECT_EQ(text.find(needle, from), model.find(needle, from)) << needle << from;
        EXPECT_EQ(text.find_first_of(":/?#", from), model.find_first_of(":/?#", from)) << from;
        if (from > model.size()) continue;
        for (size_t length : {size_t{0}, size_t{3}, Text::npos}) {
            EXPECT_EQ(Std(text.substr(from, length)), model.substr(from, length));
        }
    }
    EXPECT_TRUE(text.StartsWith("http://"));
    EXPECT_FALSE(text.StartsWith("https://"));
    EXPECT_FALSE(Text("ht").StartsWith("http"));
}

TEST(Text, HoldsNulBytesAndGrowsFromItself) {
    Text text("a\0b", 3);
    EXPECT_EQ(text.size(), 3u);
    EXPECT_FALSE(text == "a");
    EXPECT_TRUE(text == Text("a\0b", 3));
    text += text;   // its own bytes, while it grows
    EXPECT_EQ(Std(text), std::string("a\0ba\0b", 6));
    for (int i = 0; i < 10; ++i) text += text;
    EXPECT_EQ(text.size(), 6u << 10);
    EXPECT_EQ(text.c_str()[text.size()], '\0');
    text.resize(2);
    EXPECT_EQ(Std(text), std::string("a\0", 2));
    text.resize(4);
    EXPECT_EQ(Std(text), std::string("a\0\0\0", 4));
}

TEST(Text, EmptyTextsReadAsEmptyStrings) {
    Text empty;
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_EQ(empty[0], '\0');
    EXPECT_EQ(empty.find('a'), Text::npos);
    EXPECT_EQ(empty.find(""), 0u);
    EXPECT_TRUE(empty.substr(3).empty());
    Text moved = Text("x");
    Text from = std::move(moved);
    EXPECT_STREQ(moved.c_str(), "");   // NOLINT: a moved-from text is empty, not broken
    EXPECT_TRUE(from == "x");
    empty.clear();
    EXPECT_TRUE(empty == "");
}

TEST(Text, AppendsNumbersAsToStringDoes) {
    for (long n : {0L, 7L, -7L, 1234567890L, LONG_MAX, LONG_MIN}) {
        Text text("n=");
        text.AppendNumber(n);
        EXPECT_EQ(Std(text), "n=" + std::to_string(n));
    }
}

TEST(FormatText, KeepsSnprintfsContractOnACut) {
    char out[8];
    EXPECT_EQ(FormatText(out, sizeof out, "%s-%d", "abc", 42), 6);
    EXPECT_STREQ(out, "abc-42");
    // Exactly one byte too long, and much too long: cut, terminated, the whole length told.
    EXPECT_EQ(FormatText(out, sizeof out, "%s", "12345678"), 8);
    EXPECT_STREQ(out, "1234567");
    EXPECT_EQ(FormatText(out, sizeof out, "[%.*s] %X", 3, "abcdef", 0xBEEFu), 10);
    EXPECT_STREQ(out, "[abc] B");
}

TEST(ParseHexNumber, ReadsAsScanfsHexConversion) {
    struct Case {
        const char* text;
        bool read;
        uint32_t value;
    };
    const Case cases[] = {
        {"FF00FF", true, 0xFF00FF}, {"ff00ff", true, 0xFF00FF}, {"  \t0x1A", true, 0x1A}, {"0X1a", true, 0x1A},
        {"+10", true, 0x10},        {"-1", true, 0xFFFFFFFF},  {"12G4", true, 0x12},     {"0x", true, 0},
        {"0xG", true, 0},           {"", false, 0},            {"G", false, 0},          {"-", false, 0},
        {" x1", false, 0},          {"123456789", true, 0x23456789},
    };
    for (const Case& c : cases) {
        uint32_t value = 0xDEAD;
        EXPECT_EQ(ParseHexNumber(c.text, value), c.read) << '"' << c.text << '"';
        if (c.read) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
        // The C library agrees wherever its own result is defined (no overflow).
        if (strlen(c.text) < 9) {
            unsigned int scanned = 0;
            EXPECT_EQ(sscanf(c.text, "%X", &scanned) == 1, c.read) << '"' << c.text << '"';
            if (c.read) {
                EXPECT_EQ(scanned, c.value) << '"' << c.text << '"';
            }
        }
    }
}

}  // namespace
