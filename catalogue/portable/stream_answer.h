// What a stream server's first bytes say of a station, by the rules of the
// public directory's own checker: a GET whose answer is read for a few KB,
// its status line "HTTP/x.y NNN" or the older servers' "ICY NNN", its type,
// and for a playlist its entries. Platform-free: the sockets are the caller's.
#pragma once

#include <cstddef>
#include <vector>

#include "catalogue/portable/text.h"

struct AnswerHead {
    int status = 0;        // NNN of the status line
    Text contentType;      // lower case, without its parameters
    Text location;         // a redirect's target, as sent
    size_t bodyStart = 0;  // where the body begins in the bytes read
};

enum class HeadReading {
    Complete,
    Incomplete,   // the blank line that ends the head has not come yet
    NotHttp,      // the first line is no HTTP nor ICY status line
};

// Reads the status line and the headers (CR LF or bare LF line ends).
HeadReading ReadAnswerHead(const char* bytes, size_t size, AnswerHead& head);

enum class StreamVerdict {
    Alive,
    Silent,     // with a reason: "HTTP 404", "page web", ...
    Redirect,   // to `next`
    Playlist,   // its entries to check in order, in `entries`
};

struct StreamJudgement {
    StreamVerdict verdict = StreamVerdict::Silent;
    Text reason;
    Text next;
    std::vector<Text> entries;
};

// The most entries of a playlist that are checked, and the most of it read.
constexpr size_t kMaxPlaylistEntriesChecked = 10;
constexpr size_t kMaxPlaylistBytesRead = 16384;

// Judges an answer from its head and the body read so far. `television`
// lets video types count as alive; `address` is the one asked, whose ending
// (.pls, .m3u, .m3u8, .xspf, .asx) also marks a playlist.
StreamJudgement JudgeAnswer(const AnswerHead& head, const char* body, size_t size, bool television,
                            const Text& address);
