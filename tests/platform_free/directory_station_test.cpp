// Stations of the radio directory made into records: the mapping that the
// directory dialog and rtv_tool import share. Texts in UTF-8 bytes: the
// sources' own literals are turned into Windows-1252.
#include "catalogue/portable/directory_station.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Mapped {
    bool taken;
    StreamRecord record;
    std::string favicon;
};

std::vector<Mapped> MapAll(const std::string& answer) {
    JsonDocument doc;
    EXPECT_TRUE(doc.Parse(answer.data(), answer.size()));
    std::vector<Mapped> all;
    for (const JsonValue* station = doc.Root() ? doc.Root()->child : nullptr; station; station = station->next) {
        Mapped m{};
        m.taken = MakeDirectoryRecord(*station, m.record);
        m.favicon = DirectoryFavicon(*station).c_str();
        all.push_back(m);
    }
    return all;
}

TEST(DirectoryStation, EveryFieldAsTheMappingSays) {
    auto all = MapAll(
        "[{\"name\":\" Radio \\u00c9t\\u00e9 \",\"url\":\"http://radio.example/redirect\","
        "\"url_resolved\":\"https://radio.example/live.mp3\",\"homepage\":\"https://radio.example/\","
        "\"favicon\":\"https://radio.example/icon.png\",\"tags\":\"pop,chanson,\xC3\xA9t\xC3\xA9\","
        "\"countrycode\":\"FR\",\"language\":\"french\",\"codec\":\"MP3\",\"bitrate\":128},"
        // Nothing readable in Windows-1252: the host names it; url when none resolved; no site but http(s).
        "{\"name\":\"\xE5\x8C\x97\xE4\xBA\xAC\",\"url\":\"http://beijing.example:8000/live\",\"url_resolved\":\"\","
        "\"homepage\":\"ftp://files.example/\",\"favicon\":\"\",\"tags\":\"\",\"codec\":\"AAC+\",\"bitrate\":0},"
        // No stream address the catalogue takes, or no object at all.
        "{\"name\":\"Local\",\"url\":\"file:///tmp/a.mp3\"}, 42,"
        // Odd values: a bitrate as a string or a fraction, a favicon that is no web address.
        "{\"name\":\"Odd\",\"url\":\"mms://odd.example/\",\"bitrate\":\"96\",\"favicon\":\"data:image/png;base64,AA\"},"
        "{\"name\":\"Frac\",\"url\":\"http://frac.example/\",\"bitrate\":95.5,\"language\":\"\"}]");
    ASSERT_EQ(all.size(), 6u);
    const StreamRecord& first = all[0].record;
    ASSERT_TRUE(all[0].taken);
    EXPECT_STREQ(first.name, "Radio \xC9t\xE9");
    EXPECT_EQ(static_cast<int>(first.kind), kStreamKindRadio);   // copied: the record is packed
    EXPECT_STREQ(first.address, "https://radio.example/live.mp3");
    EXPECT_STREQ(first.website, "https://radio.example/");
    EXPECT_STREQ(first.keywords, "pop chanson \xE9t\xE9 FR french");
    EXPECT_STREQ(first.format, "MP3");
    EXPECT_STREQ(first.quality, "128 kbit/s");
    EXPECT_EQ(static_cast<int>(first.transparentColour), 0xFF00FF);
    EXPECT_EQ(all[0].favicon, "https://radio.example/icon.png");

    ASSERT_TRUE(all[1].taken);
    EXPECT_STREQ(all[1].record.name, "beijing.example");
    EXPECT_STREQ(all[1].record.address, "http://beijing.example:8000/live");
    EXPECT_STREQ(all[1].record.website, "");
    EXPECT_STREQ(all[1].record.quality, "");
    EXPECT_EQ(all[1].favicon, "");

    EXPECT_FALSE(all[2].taken);
    EXPECT_FALSE(all[3].taken);
    ASSERT_TRUE(all[4].taken);
    EXPECT_STREQ(all[4].record.quality, "");
    EXPECT_EQ(all[4].favicon, "");
    EXPECT_STREQ(all[5].record.quality, "");
    EXPECT_STREQ(all[5].record.keywords, "");
}

}  // namespace
