// A stream server's first bytes judged as the directory's checker judges
// them: the status line of HTTP and of old ICY servers, the type, redirects,
// playlists and their entries, HLS, and the reasons a station is silent.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/portable/stream_answer.h"

namespace {

struct Judged {
    HeadReading reading;
    StreamJudgement judgement;
};

Judged Judge(const std::string& answer, const std::string& address = "http://radio.example/live",
             bool television = false) {
    Judged judged;
    AnswerHead head;
    judged.reading = ReadAnswerHead(answer.data(), answer.size(), head);
    if (judged.reading == HeadReading::Complete) {
        judged.judgement = JudgeAnswer(head, answer.data() + head.bodyStart, answer.size() - head.bodyStart,
                                       television, Text(address.c_str()));
    }
    return judged;
}

std::vector<std::string> Entries(const StreamJudgement& judgement) {
    std::vector<std::string> entries;
    for (const Text& entry : judgement.entries) entries.push_back(entry.c_str());
    return entries;
}

TEST(StreamAnswer, TheHeadOfHttpAndOfIcyServers) {
    AnswerHead head;
    const std::string icy = "ICY 200 OK\r\nicy-name: Radio\r\ncontent-type: audio/mpeg\r\n\r\n\xFF\xFB";
    ASSERT_EQ(ReadAnswerHead(icy.data(), icy.size(), head), HeadReading::Complete);
    EXPECT_EQ(head.status, 200);
    EXPECT_STREQ(head.contentType.c_str(), "audio/mpeg");
    EXPECT_EQ(head.bodyStart, icy.size() - 2);
    const std::string http = "HTTP/1.0 302 Found\nLocation:  http://b.example/x \nContent-Type: Text/HTML; charset=utf-8\n\n";
    ASSERT_EQ(ReadAnswerHead(http.data(), http.size(), head), HeadReading::Complete);
    EXPECT_EQ(head.status, 302);
    EXPECT_STREQ(head.location.c_str(), "http://b.example/x");
    EXPECT_STREQ(head.contentType.c_str(), "text/html");
    // Not there yet, or never.
    for (const char* partial : {"", "IC", "HTTP/1.1 200 OK\r\n", "HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg"}) {
        EXPECT_EQ(ReadAnswerHead(partial, strlen(partial), head), HeadReading::Incomplete) << partial;
    }
    for (const char* other : {"SSH-2.0-OpenSSH\r\n", "<html>", "HTTP/1.1 2x0 OK\r\n\r\n", "ICY OK\r\n\r\n", "\x16\x03\x01"}) {
        EXPECT_EQ(ReadAnswerHead(other, strlen(other), head), HeadReading::NotHttp) << other;
    }
}

TEST(StreamAnswer, StreamsOfEveryKindAreAliveAndPagesAndErrorsAreNot) {
    for (const char* type : {"audio/mpeg", "audio/aacp", "application/ogg", "application/octet-stream"}) {
        EXPECT_EQ(Judge(std::string("HTTP/1.1 200 OK\r\nContent-Type: ") + type + "\r\n\r\nxx").judgement.verdict,
                  StreamVerdict::Alive)
            << type;
    }
    // Video only for television.
    const std::string video = "HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\n\r\n";
    EXPECT_EQ(Judge(video, "http://tv.example/", true).judgement.verdict, StreamVerdict::Alive);
    EXPECT_EQ(Judge(video).judgement.verdict, StreamVerdict::Silent);
    Judged page = Judge("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html>");
    EXPECT_EQ(page.judgement.verdict, StreamVerdict::Silent);
    EXPECT_STREQ(page.judgement.reason.c_str(), "page web");
    for (int status : {404, 403, 500, 503}) {
        Judged error = Judge("ICY " + std::to_string(status) + " Nope\r\n\r\n");
        EXPECT_EQ(error.judgement.verdict, StreamVerdict::Silent);
        EXPECT_EQ(std::string(error.judgement.reason.c_str()), "HTTP " + std::to_string(status));
    }
    for (int status : {301, 302, 303, 307, 308}) {
        Judged moved = Judge("HTTP/1.1 " + std::to_string(status) + " Moved\r\nLocation: http://c.example/\r\n\r\n");
        EXPECT_EQ(moved.judgement.verdict, StreamVerdict::Redirect) << status;
        EXPECT_STREQ(moved.judgement.next.c_str(), "http://c.example/");
    }
    // A redirect that says nowhere is an error like any other.
    EXPECT_STREQ(Judge("HTTP/1.1 302 Moved\r\n\r\n").judgement.reason.c_str(), "HTTP 302");
}

TEST(StreamAnswer, PlaylistsGiveTheirFirstEntriesAndHlsIsAliveAtOnce) {
    Judged pls = Judge("HTTP/1.1 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n[playlist]\nNumberOfEntries=2\n"
                       "File1=http://a.example/1\nFile2=http://a.example/2\n");
    EXPECT_EQ(pls.judgement.verdict, StreamVerdict::Playlist);
    EXPECT_EQ(Entries(pls.judgement), (std::vector<std::string>{"http://a.example/1", "http://a.example/2"}));
    // Known by the address's ending when the type says nothing.
    std::string m3u = "#EXTM3U\n";
    for (int k = 0; k < 15; ++k) m3u += "http://m.example/" + std::to_string(k) + "\n";
    Judged many = Judge("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + m3u, "http://m.example/list.m3u?x=1");
    EXPECT_EQ(many.judgement.verdict, StreamVerdict::Playlist);
    EXPECT_EQ(many.judgement.entries.size(), kMaxPlaylistEntriesChecked);
    Judged asx = Judge("HTTP/1.1 200 OK\r\nContent-Type: video/x-ms-asf\r\n\r\n<ASX version=\"3\"><Entry>"
                       "<Ref HREF=\"mms://w.example/a\"/><ref href='http://w.example/b'/></Entry></ASX>");
    EXPECT_EQ(Entries(asx.judgement), (std::vector<std::string>{"mms://w.example/a", "http://w.example/b"}));
    Judged hls = Judge("HTTP/1.1 200 OK\r\nContent-Type: application/vnd.apple.mpegurl\r\n\r\n"
                       "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:6\nseg1.ts\n", "https://h.example/live.m3u8");
    EXPECT_EQ(hls.judgement.verdict, StreamVerdict::Alive);
    Judged empty = Judge("HTTP/1.1 200 OK\r\nContent-Type: audio/x-mpegurl\r\n\r\n#EXTM3U\n");
    EXPECT_EQ(empty.judgement.verdict, StreamVerdict::Silent);
    // An address ending in .m3u that serves the stream itself.
    EXPECT_EQ(Judge("ICY 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n\xFF\xFB", "http://s.example/live.m3u").judgement.verdict,
              StreamVerdict::Alive);
}

}  // namespace
