#include "catalogue/portable/stream_answer.h"

#include <cstring>

#include "catalogue/portable/playlist_import.h"

namespace {

// Redirect statuses the checker follows.
constexpr int kRedirects[] = {301, 302, 303, 307, 308};
constexpr int kFirstSuccess = 200;
constexpr int kFirstRedirect = 300;
constexpr int kStatusDigits = 3;

const char kIcyStatus[] = "ICY ";
const char kHttpStatus[] = "HTTP/";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const char* text, size_t size, const char* prefix) {
    const size_t n = strlen(prefix);
    if (size < n) return false;
    for (size_t k = 0; k < n; ++k) {
        if (Lower(text[k]) != Lower(prefix[k])) return false;
    }
    return true;
}

// The bytes so far may still grow into `prefix`.
bool CouldBegin(const char* text, size_t size, const char* prefix) {
    for (size_t k = 0; k < size && prefix[k]; ++k) {
        if (Lower(text[k]) != Lower(prefix[k])) return false;
    }
    return true;
}

bool EndsWithNoCase(const Text& text, const char* suffix) {
    const size_t n = strlen(suffix);
    return text.size() >= n && StartsWithNoCase(text.c_str() + text.size() - n, n, suffix);
}

Text Trimmed(const char* begin, const char* end) {
    while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r')) --end;
    return Text(begin, static_cast<size_t>(end - begin));
}

// The address without its query or fragment, for its ending.
Text AddressPath(const Text& address) {
    const size_t end = address.find_first_of("?#");
    return end == Text::npos ? address : address.substr(0, end);
}

bool IsPlaylistType(const Text& type) {
    static const char* const kTypes[] = {"audio/x-scpls", "audio/scpls", "audio/x-mpegurl", "audio/mpegurl",
                                         "application/vnd.apple.mpegurl", "application/x-mpegurl",
                                         "application/xspf+xml", "video/x-ms-asf", "video/x-ms-asx"};
    for (const char* known : kTypes) {
        if (type == known) return true;
    }
    return false;
}

bool IsPlaylistAddress(const Text& address) {
    const Text path = AddressPath(address);
    for (const char* ending : {".pls", ".m3u", ".m3u8", ".xspf", ".asx"}) {
        if (EndsWithNoCase(path, ending)) return true;
    }
    return false;
}

// An HLS playlist: "#EXTM3U" first, then a tag of HLS's own. Its segments are not fetched.
bool IsHlsPlaylist(const char* body, size_t size) {
    size_t at = 0;
    if (size >= 3 && static_cast<unsigned char>(body[0]) == 0xEF) at = 3;   // a UTF-8 mark
    if (!StartsWithNoCase(body + at, size - at, "#EXTM3U")) return false;
    for (size_t k = at; k + 7 <= size; ++k) {
        if ((k == 0 || body[k - 1] == '\n') && StartsWithNoCase(body + k, size - k, "#EXT-X-")) return true;
    }
    return false;
}

bool TakeEntry(void* context, const PlaylistEntry& entry) {
    auto& entries = *static_cast<std::vector<Text>*>(context);
    if (entries.size() >= kMaxPlaylistEntriesChecked) return false;
    entries.push_back(entry.address);
    return true;
}

size_t FindNoCase(const Text& text, const char* wanted, size_t from) {
    for (size_t k = from; k < text.size(); ++k) {
        if (StartsWithNoCase(text.c_str() + k, text.size() - k, wanted)) return k;
    }
    return Text::npos;
}

// ASX: <ref href="..."/> elements, in order, whatever their case.
void AsxEntries(const Text& text, std::vector<Text>& entries) {
    size_t at = 0;
    while (entries.size() < kMaxPlaylistEntriesChecked) {
        const size_t ref = FindNoCase(text, "<ref", at);
        if (ref == Text::npos) return;
        const size_t close = text.find('>', ref);
        const size_t href = FindNoCase(text, "href", ref);
        if (close == Text::npos || href == Text::npos || href > close) return;
        const size_t open = text.find_first_of("\"'", href);
        if (open == Text::npos || open > close) return;
        const size_t end = text.find(text[open], open + 1);
        if (end == Text::npos) return;
        entries.push_back(text.substr(open + 1, end - open - 1));
        at = end;
    }
}

}  // namespace

HeadReading ReadAnswerHead(const char* bytes, size_t size, AnswerHead& head) {
    head = AnswerHead();
    const char* end = bytes + size;
    const char* line = bytes;
    const char* lineEnd = static_cast<const char*>(memchr(line, '\n', size));
    // The status line can be judged before the rest has come.
    const size_t firstLine = lineEnd ? static_cast<size_t>(lineEnd - line) : size;
    size_t code = Text::npos;
    if (StartsWithNoCase(line, firstLine, kIcyStatus)) {
        code = strlen(kIcyStatus);
    } else if (StartsWithNoCase(line, firstLine, kHttpStatus)) {
        const char* blank = static_cast<const char*>(memchr(line, ' ', firstLine));
        if (blank) code = static_cast<size_t>(blank - line) + 1;
    } else if (lineEnd || (!CouldBegin(line, firstLine, kIcyStatus) && !CouldBegin(line, firstLine, kHttpStatus))) {
        return HeadReading::NotHttp;
    }
    if (lineEnd == nullptr) return HeadReading::Incomplete;
    if (code == Text::npos || code + kStatusDigits > firstLine) return HeadReading::NotHttp;
    for (size_t k = code; k < code + kStatusDigits; ++k) {
        if (line[k] < '0' || line[k] > '9') return HeadReading::NotHttp;
        head.status = head.status * 10 + (line[k] - '0');
    }
    for (line = lineEnd + 1; line < end; line = lineEnd + 1) {
        lineEnd = static_cast<const char*>(memchr(line, '\n', static_cast<size_t>(end - line)));
        if (lineEnd == nullptr) return HeadReading::Incomplete;
        const Text header = Trimmed(line, lineEnd);
        if (header.empty()) {
            head.bodyStart = static_cast<size_t>(lineEnd + 1 - bytes);
            return HeadReading::Complete;
        }
        const size_t colon = header.find(':');
        if (colon == Text::npos) continue;
        const Text value = Trimmed(header.c_str() + colon + 1, header.c_str() + header.size());
        if (StartsWithNoCase(header.c_str(), colon, "content-type") && colon == strlen("content-type")) {
            const size_t parameters = value.find(';');
            head.contentType = Trimmed(value.c_str(), value.c_str() + (parameters == Text::npos ? value.size() : parameters));
            for (char& c : head.contentType) c = Lower(c);
        } else if (StartsWithNoCase(header.c_str(), colon, "location") && colon == strlen("location")) {
            head.location = value;
        }
    }
    return HeadReading::Incomplete;
}

StreamJudgement JudgeAnswer(const AnswerHead& head, const char* body, size_t size, bool television,
                            const Text& address) {
    StreamJudgement judgement;
    for (int redirect : kRedirects) {
        if (head.status == redirect && !head.location.empty()) {
            judgement.verdict = StreamVerdict::Redirect;
            judgement.next = head.location;
            return judgement;
        }
    }
    if (head.status < kFirstSuccess || head.status >= kFirstRedirect) {
        judgement.reason = "HTTP ";
        judgement.reason.AppendNumber(head.status);
        return judgement;
    }
    const Text& type = head.contentType;
    if (IsHlsPlaylist(body, size)) {
        judgement.verdict = StreamVerdict::Alive;
        return judgement;
    }
    const bool playlistType = IsPlaylistType(type);
    if (playlistType || IsPlaylistAddress(address)) {
        const Text text(body, size < kMaxPlaylistBytesRead ? size : kMaxPlaylistBytesRead);
        if (type == "video/x-ms-asf" || type == "video/x-ms-asx" || EndsWithNoCase(AddressPath(address), ".asx")) {
            AsxEntries(text, judgement.entries);
        } else {
            const ListFormat format = RecogniseListFormat(reinterpret_cast<const uint8_t*>(text.c_str()), text.size());
            if (IsPlaylistFormat(format)) VisitPlaylistEntries(format, text, &TakeEntry, &judgement.entries);
        }
        if (!judgement.entries.empty()) {
            judgement.verdict = StreamVerdict::Playlist;
            return judgement;
        }
        if (playlistType) {
            judgement.reason = "liste vide";
            return judgement;
        }
        // An address ending like a playlist that serves something else is judged by its type.
    }
    if (type.StartsWith("audio/") || type == "application/ogg" || type == "application/octet-stream" ||
        (television && type.StartsWith("video/"))) {
        judgement.verdict = StreamVerdict::Alive;
        return judgement;
    }
    judgement.reason = type == "text/html" ? "page web" : "type " + (type.empty() ? Text("inconnu") : type);
    return judgement;
}
