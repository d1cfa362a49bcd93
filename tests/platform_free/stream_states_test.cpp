// The results of a check of the streams as the side file keeps them: dates,
// lines read back, lines refused, and the French texts of a check.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/portable/stream_states.h"

namespace {

const int kToday = DayNumber(2026, 12, 8);

std::string Line(const StreamStates& states, const char* address) {
    Text out;
    states.AppendLine(out, address);
    return out.c_str();
}

TEST(StreamStates, DaysCountFrom1970AndComeBackAsTheSameDate) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(2000, 3, 1), 11017);
    EXPECT_EQ(DayNumber(2024, 2, 29) + 1, DayNumber(2024, 3, 1));
    EXPECT_EQ(DayNumber(2023, 2, 29), -1);
    EXPECT_EQ(DayNumber(1900, 2, 29), -1);
    EXPECT_EQ(DayNumber(2000, 2, 29) + 1, DayNumber(2000, 3, 1));
    EXPECT_EQ(DayNumber(2026, 13, 1), -1);
    EXPECT_EQ(DayNumber(2026, 4, 31), -1);
    EXPECT_EQ(DayNumber(0, 1, 1), -1);
    for (int day = DayNumber(1999, 12, 1); day < DayNumber(2101, 3, 1); day += 7) {
        int year, month, date;
        DayDate(day, year, month, date);
        ASSERT_EQ(DayNumber(year, month, date), day);
    }
}

TEST(StreamStates, ALineWrittenIsReadBackAndFoundByTheSameStation) {
    StreamStates states;
    ASSERT_TRUE(states.Set("http://Radio.Example/live/", CheckVerdict::Silent, "délai dépassé", kToday - 3));
    ASSERT_TRUE(states.Set("mms://radio.example/wm", CheckVerdict::Unverifiable, "", kToday));
    ASSERT_TRUE(states.Set("http://radio.example/ok", CheckVerdict::Alive, "", kToday));
    EXPECT_EQ(Line(states, "http://Radio.Example/live/"), "hors ligne\tdélai dépassé\t2026-12-05\thttp://Radio.Example/live/\n");
    EXPECT_EQ(Line(states, "http://radio.example/unknown"), "");
    // An address that would make two lines, or a line of five fields, is not written.
    for (const char* broken : {"http://radio.example/a\nen ligne", "http://radio.example/a\tb", "http://radio.example/a\r"}) {
        ASSERT_TRUE(states.Set(broken, CheckVerdict::Silent, "refusé", kToday));
        EXPECT_EQ(Line(states, broken), "") << broken;
    }
    // The same station as the catalogue compares addresses: host case, a trailing slash.
    ASSERT_NE(states.Find("HTTP://radio.example/live"), nullptr);

    const std::string file = Line(states, "http://Radio.Example/live/") + Line(states, "mms://radio.example/wm") +
                             Line(states, "http://radio.example/ok");
    StreamStates read;
    read.Read(file.data(), file.size(), kToday);
    for (const char* address : {"http://Radio.Example/live/", "mms://radio.example/wm", "http://radio.example/ok"}) {
        EXPECT_EQ(Line(read, address), Line(states, address)) << address;
    }
    // A later result replaces the earlier one.
    read.Set("http://radio.example/live", CheckVerdict::Alive, "", kToday);
    EXPECT_EQ(read.Find("http://Radio.Example/live/")->verdict, CheckVerdict::Alive);
}

TEST(StreamStates, LinesThatCannotBeReadOnlyMeanUnknown) {
    const std::string lines[] = {
        "hors ligne\trefusé\t2026-11-08\thttp://a/old-enough",   // 30 days: still kept
        "hors ligne\trefusé\t2026-11-07\thttp://a/too-old",
        "hors ligne\trefusé\t2026-12-09\thttp://a/future",
        "hors ligne\trefusé\t2026-02-30\thttp://a/no-such-day",
        "perdu\trefusé\t2026-12-08\thttp://a/unknown-verdict",
        "hors ligne\trefusé\t2026-12-08",
        "hors ligne\trefusé\t2026/12/08\thttp://a/slashes",
        "hors ligne\trefusé\t2026-12-08\thttp://a/tab\there",
        "hors ligne\trefusé\t2026-12-08\thttp://a/" + std::string(kMaxStateLineBytes, 'x'),
        std::string("hors ligne\trefusé\t2026-12-08\thttp://a/nul\0byte", 44),
        "en ligne\t\t2026-12-08\thttp://a/crlf\r",
    };
    std::string file;
    for (const std::string& line : lines) file += line + "\n";
    file += "\xff\xfe\x00\x01 binary";
    StreamStates states;
    states.Read(file.data(), file.size(), kToday);
    EXPECT_NE(states.Find("http://a/old-enough"), nullptr);
    for (const char* address : {"http://a/too-old", "http://a/future", "http://a/no-such-day", "http://a/unknown-verdict",
                                "http://a/slashes", "http://a/tab\there", "http://a/nul"}) {
        EXPECT_EQ(states.Find(address), nullptr) << address;
    }
    ASSERT_NE(states.Find("http://a/crlf"), nullptr);
    EXPECT_EQ(states.Find("http://a/crlf")->verdict, CheckVerdict::Alive);
}

TEST(StreamStates, TheFrenchTextsOfACheck) {
    char text[128];
    FormatCheckProgress(text, sizeof text, 120, 4096, 7);
    EXPECT_STREQ(text, "Vérification : 120 / 4096 – 7 hors ligne");
    FormatCheckSummary(text, sizeof text, 3801, 280, 15);
    EXPECT_STREQ(text, "4096 flux vérifiés : 3801 en ligne, 280 hors ligne, 15 non vérifiables");
    FormatCheckSummary(text, sizeof text, 1, 0, 0);
    EXPECT_STREQ(text, "1 flux vérifié : 1 en ligne, 0 hors ligne, 0 non vérifiable");
    FormatSilentSlogan(text, sizeof text, kToday);
    EXPECT_STREQ(text, "Hors ligne (vérifié le 08/12)");
}

}  // namespace
