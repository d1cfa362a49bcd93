// The rtv tool's exchanges: playlists and the radio directory's JSON export
// in, playlists out, and a list as a manifest and back.
#include "tools/rtv_tool/list_exchange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/portable/playlist_import.h"
#include "tools/rtv_tool/manifest.h"

namespace {

ImportResult Import(const std::string& text) {
    return ImportStations(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// Two stations as the public radio directory exports them, and one without a usable address.
// Texts in UTF-8 bytes: the sources' own literals are turned into Windows-1252.
const char kDirectoryExport[] =
    "[\n"
    "  {\"changeuuid\":\"a1\",\"stationuuid\":\"b1\",\"name\":\"Radio \xC3\x89t\xC3\xA9\","
    "\"url\":\"http://radio.example/redirect\",\n"
    "   \"url_resolved\":\"https://radio.example/live.mp3\",\"homepage\":\"https://radio.example/\",\"favicon\":\"\",\n"
    "   \"tags\":\"pop,chanson,\xC3\xA9t\xC3\xA9\",\"country\":\"France\",\"codec\":\"MP3\",\"bitrate\":128,\"votes\":3},\n"
    "  {\"name\":\"Jazz Club\",\"url\":\"http://jazz.example/stream\",\"url_resolved\":\"\",\"homepage\":\"\",\n"
    "   \"tags\":\"\",\"codec\":\"AAC+\",\"bitrate\":0},\n"
    "  {\"name\":\"Local\",\"url\":\"file:///tmp/a.mp3\",\"url_resolved\":\"\",\"tags\":\"x\",\"codec\":\"\",\"bitrate\":64}\n"
    "]";

TEST(ListExchange, TheDirectoryExportBecomesRecords) {
    ImportResult r = Import(kDirectoryExport);
    ASSERT_TRUE(r.error.empty()) << r.error;
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.ignored, 1);
    const StreamRecord& first = *r.records[0];
    EXPECT_STREQ(first.name, "Radio \xC9t\xE9");
    EXPECT_STREQ(first.address, "https://radio.example/live.mp3");   // url_resolved first
    EXPECT_STREQ(first.website, "https://radio.example/");
    EXPECT_STREQ(first.keywords, "pop chanson \xE9t\xE9");
    EXPECT_STREQ(first.format, "MP3");
    EXPECT_STREQ(first.quality, "128 kbit/s");
    EXPECT_STREQ(r.records[1]->address, "http://jazz.example/stream");   // url when none resolved
    EXPECT_STREQ(r.records[1]->quality, "");
    EXPECT_EQ(r.records[1]->index, 1);

    EXPECT_FALSE(Import("[{\"name\": broken").error.empty());
    EXPECT_FALSE(Import("{\"name\":\"an object, not an array\"}").error.empty());
    EXPECT_FALSE(Import("plain text").error.empty());
}

// One bad value in a directory export of thousands is repaired or left out,
// counted, and the rest imported.
TEST(ListExchange, ABadValueCostsOnlyThatValue) {
    ImportResult r = Import("[{\"name\":\"Caf\xE9 Musique\",\"url\":\"http://cafe.example/\",\"bitrate\":1e999},\n"
                            " {\"name\":\"Deux\",\"url\":\"http://deux.example/\",\"bitrate\":-1E+400,\"votes\":2.5e3}]");
    ASSERT_TRUE(r.error.empty()) << r.error;
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.repaired, 3);   // the Windows-1252 byte and the two numbers beyond range
    EXPECT_STREQ(r.records[0]->name, "Caf\xE9 Musique");
    EXPECT_STREQ(r.records[0]->quality, "");
    EXPECT_STREQ(r.records[1]->name, "Deux");

    int repaired = 0;
    // Escapes, good UTF-8 and numbers in range pass untouched.
    const std::string clean = "[\"a\\\"\\u00e9\xC3\xA9\",-1.5e10,0,12]";
    EXPECT_EQ(RepairedJson(clean, repaired), clean);
    EXPECT_EQ(repaired, 0);
}

// The same station under addresses that differ only in the case of the
// scheme and host, or a trailing slash, is taken once.
TEST(ListExchange, AddressesDifferingOnlyInCaseOfHostOrTrailingSlashAreOneStation) {
    ImportResult r = Import("#EXTM3U\nhttp://Dup.example/live\nHTTP://dup.example/live\nhttp://dup.example/live/\n"
                            "http://dup.example/LIVE\n");
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.present, 2);
    EXPECT_STREQ(r.records[0]->address, "http://Dup.example/live");   // kept as first written
    EXPECT_STREQ(r.records[1]->address, "http://dup.example/LIVE");   // a path's case is the server's
}

TEST(ListExchange, ExportedPlaylistsReadBackAsTheSameStations) {
    ImportResult source = Import("#EXTM3U\n#EXTINF:-1,Caf\xC3\xA9 FM\nhttp://cafe.example/live\n"
                                 "#EXTINF:-1,A & B <radio>\nhttps://ab.example/\n");
    ASSERT_EQ(source.records.size(), 2u);
    std::vector<StreamRecord> records;
    for (auto& r : source.records) records.push_back(*r);
    SetField(records[1].website, "https://ab.example/site");
    for (PlaylistKind kind : {PlaylistKind::M3u, PlaylistKind::Pls, PlaylistKind::Xspf}) {
        std::string text = ExportPlaylist(records, kind);
        EXPECT_NE(text.find("Caf\xC3\xA9 FM"), std::string::npos);   // titles in UTF-8
        ImportResult back = Import(text);
        ASSERT_EQ(back.records.size(), 2u) << text;
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_STREQ(back.records[i]->name, records[i].name) << text;
            EXPECT_STREQ(back.records[i]->address, records[i].address);
        }
        if (kind == PlaylistKind::Xspf) {
            EXPECT_STREQ(back.records[1]->website, "https://ab.example/site");
        }
    }
    PlaylistKind kind;
    EXPECT_TRUE(PlaylistKindOf("list.M3U8", kind));
    EXPECT_EQ(kind, PlaylistKind::M3u);
    EXPECT_FALSE(PlaylistKindOf("list.txt", kind));
}

TEST(ListExchange, AManifestLineBuildsTheSameRecordApartFromTheLogo) {
    ManifestEntry entry;
    std::string error;
    ASSERT_EQ(ParseManifestLine("tv | T\xC3\xA9l\xC3\xA9 Une | mms://tv.example/live | https://tv.example/ | "
                                "http://tv.example/list.asx | | L\xE2\x80\x99info | info t\xC3\xA9l\xC3\xA9 | WMA | "
                                "300 kbit/s | initials:336699 | 00FF00",
                                1, entry, error),
              LineResult::Entry)
        << error;
    StreamRecord original;
    ASSERT_TRUE(MakeRecord(entry, "", original, error)) << error;

    std::vector<std::string> notes;
    std::string line = ManifestLine(original, notes);
    EXPECT_TRUE(notes.empty());
    ManifestEntry again;
    ASSERT_EQ(ParseManifestLine(line, 1, again, error), LineResult::Entry) << error << "\n" << line;
    StreamRecord rebuilt;
    ASSERT_TRUE(MakeRecord(again, "", rebuilt, error)) << error;
    memset(original.logo, 0, kLogoBytes);
    memset(rebuilt.logo, 0, kLogoBytes);
    EXPECT_EQ(memcmp(&original, &rebuilt, sizeof original), 0) << line;

    // What a manifest line cannot say is told.
    SetField(original.slogan, "a | b");
    ManifestLine(original, notes);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("'|'"), std::string::npos);
}

}  // namespace
