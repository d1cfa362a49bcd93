// The formatter the DLL uses is the system C library's: its cut texts must
// still come back terminated, with the whole length told, as snprintf does.
#include "catalogue/portable/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatTextOnTheSystemLibrary, KeepsSnprintfsContract) {
    char out[8];
    EXPECT_EQ(FormatText(out, sizeof out, "%s-%d", "abc", 42), 6);
    EXPECT_STREQ(out, "abc-42");
    EXPECT_EQ(FormatText(out, sizeof out, "%s", "1234567"), 7);   // fits with its NUL
    EXPECT_STREQ(out, "1234567");
    EXPECT_EQ(FormatText(out, sizeof out, "%s", "12345678"), 8);  // one byte too long
    EXPECT_STREQ(out, "1234567");
    EXPECT_EQ(FormatText(out, sizeof out, "[%.*s] %X", 3, "abcdef", 0xBEEFu), 10);
    EXPECT_STREQ(out, "[abc] B");
    char french[32];
    EXPECT_EQ(FormatText(french, sizeof french, "[Télé] %.*s", 2, "Arte"), 9);
    EXPECT_STREQ(french, "[T\xE9l\xE9] Ar");
}

TEST(FormatTextOnTheSystemLibrary, MeasuresALongCutTextAndGivesUpPastAMegabyte) {
    char out[8];
    const std::string page(5000, 'x');
    EXPECT_EQ(FormatText(out, sizeof out, "<%s>", page.c_str()), 5002);
    EXPECT_STREQ(out, "<xxxxxx");
    const std::string huge(3 << 20, 'y');
    EXPECT_EQ(FormatText(out, sizeof out, "%s", huge.c_str()), -1);
    EXPECT_STREQ(out, "yyyyyyy");
    EXPECT_EQ(FormatText(nullptr, 0, "%d", 12345), 5) << "no room: only measured";
}

}  // namespace
