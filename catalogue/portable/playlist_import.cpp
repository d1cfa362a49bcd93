#include "catalogue/portable/playlist_import.h"

#include <cstdlib>
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/text_encoding.h"

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8MarkSize = 3;
// Windows Notepad's "Unicode" (little-endian) and its big-endian sibling.
const uint8_t kUtf16LeMark[] = {0xFF, 0xFE};
const uint8_t kUtf16BeMark[] = {0xFE, 0xFF};
constexpr size_t kUtf16UnitSize = 2;
// The most UTF-8 bytes that one UTF-16 unit becomes.
constexpr size_t kUtf8BytesPerUtf16Unit = 3;
constexpr uint32_t kReplacementCharacter = 0xFFFD;
constexpr uint32_t kPlaylistKeyColour = 0xFF00FF;
// What the format is told from.
constexpr size_t kRecognisedHeadSize = 4096;
// A PLS entry number beyond this is not an entry anybody wrote.
constexpr long kMaxPlsEntryNumber = 1000000;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

Text Trimmed(const Text& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const Text& text, size_t at, const char* prefix) {
    for (size_t k = 0; prefix[k]; ++k) {
        if (at + k >= text.size() || Lower(text[at + k]) != Lower(prefix[k])) return false;
    }
    return true;
}

// The text after a byte-order mark and leading blank space.
size_t ContentStart(const Text& text) {
    size_t at = text.StartsWith(kUtf8Mark) ? kUtf8MarkSize : 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

// Lines ending in CR LF, LF or CR, one at a time; the byte-order mark dropped.
class LineCursor {
public:
    explicit LineCursor(const Text& text) : text_(text), at_(text.StartsWith(kUtf8Mark) ? kUtf8MarkSize : 0) {}

    // The next line, blanks around it removed; false at the end.
    bool Next(Text& line) {
        if (at_ >= text_.size()) return false;
        const char* bytes = text_.data();
        size_t end = at_;
        while (end < text_.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        size_t begin = at_;
        at_ = end;
        if (at_ < text_.size()) {
            if (bytes[at_] == '\r' && at_ + 1 < text_.size() && bytes[at_ + 1] == '\n') ++at_;
            ++at_;
        }
        size_t last = end;
        while (begin < last && IsBlank(bytes[begin])) ++begin;
        while (last > begin && IsBlank(bytes[last - 1])) --last;
        line = Text(bytes + begin, last - begin);
        lineStart_ = begin;
        return true;
    }

    // Where in the text the line last given starts.
    size_t LineStart() const { return lineStart_; }

private:
    const Text& text_;
    size_t at_;
    size_t lineStart_ = 0;
};

bool ReadM3u(const Text& text, PlaylistEntrySink sink, void* context) {
    Text title, line;
    for (LineCursor lines(text); lines.Next(line);) {
        if (line.empty()) continue;
        if (line[0] == '#') {
            // #EXTINF:duration[ attributes],title
            if (StartsWithNoCase(line, 0, "#EXTINF:")) {
                size_t comma = line.find(',');
                title = comma == Text::npos ? Text() : Trimmed(line.substr(comma + 1));
            }
            continue;
        }
        if (!sink(context, PlaylistEntry{line, title, Text()})) return false;
        title.clear();
    }
    return true;
}

// "FileN" or "TitleN" (any case): the N, or 0.
long EntryNumber(const Text& key, const char* prefix) {
    size_t length = strlen(prefix);
    if (key.size() <= length || !StartsWithNoCase(key, 0, prefix)) return 0;
    long n = 0;
    for (size_t k = length; k < key.size(); ++k) {
        if (key[k] < '0' || key[k] > '9') return 0;
        n = n * 10 + (key[k] - '0');
        if (n > kMaxPlsEntryNumber) return 0;
    }
    return n;
}

// A numbered line of a PLS file: its number, then its place in the file,
// which makes the order total. Its value is found again in the text.
struct NumberedLine {
    long number;
    size_t place;
    size_t valueStart;
    size_t valueLength;
    bool title;
};

int CompareNumberedLines(const void* first, const void* second) {
    const NumberedLine& a = *static_cast<const NumberedLine*>(first);
    const NumberedLine& b = *static_cast<const NumberedLine*>(second);
    if (a.number != b.number) return a.number < b.number ? -1 : 1;
    return a.place < b.place ? -1 : a.place > b.place ? 1 : 0;
}

// The numbered line that `line`, found at `lineStart` of the text, is, if it is one.
bool ParseNumberedLine(const Text& line, size_t lineStart, NumberedLine& numbered) {
    size_t equals = line.find('=');
    if (equals == Text::npos) return false;
    Text key = Trimmed(line.substr(0, equals));
    long number = EntryNumber(key, "File");
    numbered.title = number == 0;
    if (numbered.title) number = EntryNumber(key, "Title");
    if (number == 0) return false;
    numbered.number = number;
    size_t begin = equals + 1;   // the line's own end is already trimmed
    while (begin < line.size() && IsBlank(line[begin])) ++begin;
    numbered.valueStart = lineStart + begin;
    numbered.valueLength = line.size() - begin;
    return true;
}

bool ReadPls(const Text& text, PlaylistEntrySink sink, void* context) {
    // Entries by their number, whatever NumberOfEntries says; of two lines
    // for the same field of an entry, the later one counts. Lines are
    // counted first so that one allocation, which may fail, holds them all.
    size_t count = 0;
    Text line;
    for (LineCursor lines(text); lines.Next(line);) count += line.find('=') != Text::npos;
    if (count == 0) return true;
    auto* numbered = static_cast<NumberedLine*>(malloc(count * sizeof(NumberedLine)));
    if (!numbered) return false;
    size_t found = 0;
    for (LineCursor lines(text); lines.Next(line);) {
        if (found < count && ParseNumberedLine(line, lines.LineStart(), numbered[found])) {
            numbered[found].place = found;
            ++found;
        }
    }
    // The C library's sort: the template one would add a kilobyte to the DLL.
    qsort(numbered, found, sizeof(NumberedLine), &CompareNumberedLines);
    bool going = true;
    for (size_t at = 0; at < found && going;) {
        PlaylistEntry entry;
        const long number = numbered[at].number;
        for (; at < found && numbered[at].number == number; ++at) {
            const NumberedLine& field = numbered[at];
            (field.title ? entry.title : entry.address) = text.substr(field.valueStart, field.valueLength);
        }
        if (!entry.address.empty()) going = sink(context, entry);
    }
    free(numbered);
    return going;
}

// Where `what` first starts at or after `from` and ends by `end`, or npos:
// every search of a track stays within that track.
size_t FindWithin(const Text& text, const char* what, size_t from, size_t end) {
    const size_t length = strlen(what);
    if (end > text.size()) end = text.size();
    if (from > end || end - from < length) return Text::npos;
    const char* bytes = text.data();
    for (size_t at = from; at + length <= end; ++at) {
        if (bytes[at] == what[0] && memcmp(bytes + at, what, length) == 0) return at;
    }
    return Text::npos;
}

// "&#x10FFFF;" and the named entities fit.
constexpr size_t kLongestEntity = 10;

// The five named entities and numeric references; anything else stays as written.
Text XmlText(const Text& raw) {
    Text out;
    for (size_t at = 0; at < raw.size(); ++at) {
        if (raw[at] != '&') {
            out += raw[at];
            continue;
        }
        // An entity is short: looking no further keeps a run of bare '&' linear.
        size_t semicolon = FindWithin(raw, ";", at, at + kLongestEntity + 1);
        if (semicolon == Text::npos) {
            out += '&';
            continue;
        }
        Text name = raw.substr(at + 1, semicolon - at - 1);
        static const char* const kNamed[][2] = {{"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
        bool done = false;
        for (const auto& entity : kNamed) {
            if (name == entity[0]) {
                out += entity[1];
                done = true;
            }
        }
        if (!done && name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            uint32_t code = 0;
            bool digits = name.size() > (hex ? 2u : 1u);
            for (size_t k = hex ? 2 : 1; k < name.size() && digits; ++k) {
                char c = Lower(name[k]);
                int value = c >= '0' && c <= '9' ? c - '0' : (hex && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1);
                if (value < 0 || code > 0x10FFFF) digits = false;
                else code = code * (hex ? 16 : 10) + static_cast<uint32_t>(value);
            }
            if (digits && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                AppendUtf8(out, code);   // back to UTF-8, as the rest of the document is
                done = true;
            }
        }
        if (done) {
            at = semicolon;
        } else {
            out += '&';
        }
    }
    return out;
}

// The text of the first <name>...</name> inside [begin, end), CDATA taken as it is.
Text ElementText(const Text& xml, size_t begin, size_t end, const char* name) {
    const Text open = Text("<") + name;
    const Text close = Text("</") + name;
    for (size_t at = FindWithin(xml, open.c_str(), begin, end); at != Text::npos;
         at = FindWithin(xml, open.c_str(), at + 1, end)) {
        size_t after = at + open.size();
        if (after >= end || (xml[after] != '>' && !IsBlank(xml[after]) && xml[after] != '/')) continue;
        size_t contentStart = FindWithin(xml, ">", after, end);
        if (contentStart == Text::npos) return Text();
        if (xml[contentStart - 1] == '/') return Text();   // <title/>
        ++contentStart;
        size_t contentEnd = FindWithin(xml, close.c_str(), contentStart, end);
        if (contentEnd == Text::npos) return Text();
        Text content = xml.substr(contentStart, contentEnd - contentStart);
        const char kCdataOpen[] = "<![CDATA[";
        constexpr size_t kCdataOpenSize = sizeof kCdataOpen - 1;
        size_t cdata = content.find(kCdataOpen);
        if (cdata != Text::npos) {
            size_t cdataEnd = content.find("]]>", cdata);
            return Trimmed(content.substr(cdata + kCdataOpenSize,
                                          cdataEnd == Text::npos ? Text::npos
                                                                        : cdataEnd - cdata - kCdataOpenSize));
        }
        return Trimmed(XmlText(content));
    }
    return Text();
}

// The next `what` at or after `from`, for a `from` that only grows: each
// search of the document starts where the last one ended, so reading stays linear.
class NextMark {
public:
    NextMark(const Text& text, const char* what) : text_(text), what_(what) {}
    size_t From(size_t from) {
        if (searched_ && from >= searchedFrom_ && (found_ == Text::npos || found_ >= from)) return found_;
        searched_ = true;
        searchedFrom_ = from;
        found_ = text_.find(what_, from);
        return found_;
    }

private:
    const Text& text_;
    const char* what_;
    bool searched_ = false;
    size_t searchedFrom_ = 0;
    size_t found_ = Text::npos;
};

const char kTrackOpen[] = "<track";
constexpr size_t kTrackOpenSize = sizeof kTrackOpen - 1;

// The next <track> or <track ...> (not <trackList> or <trackNum>) at or after `from`.
size_t FindTrackOpening(const Text& xml, size_t from) {
    for (size_t at = xml.find(kTrackOpen, from); at != Text::npos; at = xml.find(kTrackOpen, at + kTrackOpenSize)) {
        const size_t after = at + kTrackOpenSize;
        if (after >= xml.size() || xml[after] == '>' || IsBlank(xml[after])) return at;
    }
    return Text::npos;
}

bool ReadXspf(const Text& xml, PlaylistEntrySink sink, void* context) {
    NextMark nextClose(xml, "</track>");
    for (size_t track = FindTrackOpening(xml, 0); track != Text::npos;) {
        const size_t after = track + kTrackOpenSize;
        // A track ends at its </track>; an unclosed one at the next track, or with the document.
        const size_t nextTrack = FindTrackOpening(xml, after);
        size_t end = nextClose.From(after);
        if (end == Text::npos || (nextTrack != Text::npos && nextTrack < end)) end = nextTrack;
        if (end == Text::npos) end = xml.size();
        PlaylistEntry entry;
        entry.address = ElementText(xml, after, end, "location");
        entry.title = ElementText(xml, after, end, "title");
        entry.website = ElementText(xml, after, end, "info");
        if (!entry.address.empty() && !sink(context, entry)) return false;
        track = nextTrack;
    }
    return true;
}

bool HasUtf16Mark(const uint8_t* data, size_t size, bool& bigEndian) {
    if (size < kUtf16UnitSize) return false;
    bigEndian = memcmp(data, kUtf16BeMark, kUtf16UnitSize) == 0;
    return bigEndian || memcmp(data, kUtf16LeMark, kUtf16UnitSize) == 0;
}

// UTF-16 after its byte-order mark as UTF-8 with one; an unpaired surrogate
// becomes U+FFFD and an odd last byte is dropped. False when memory runs out.
bool Utf16ToUtf8(const uint8_t* data, size_t size, bool bigEndian, Text& out) {
    out.clear();
    if (!out.TryReserve(kUtf8MarkSize + size / kUtf16UnitSize * kUtf8BytesPerUtf16Unit)) return false;
    out += kUtf8Mark;
    auto unitAt = [&](size_t at) -> uint32_t {
        return bigEndian ? (data[at] << 8 | data[at + 1]) : (data[at] | data[at + 1] << 8);
    };
    for (size_t at = kUtf16UnitSize; at + 1 < size; at += kUtf16UnitSize) {
        uint32_t code = unitAt(at);
        if (code >= 0xD800 && code <= 0xDBFF && at + 3 < size && unitAt(at + 2) >= 0xDC00 && unitAt(at + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
            at += kUtf16UnitSize;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacementCharacter;
        }
        AppendUtf8(out, code);
    }
    return true;
}

}  // namespace

const char kPlaylistOutOfMemory[] = "Mémoire insuffisante pour lire ce fichier !";

bool DecodePlaylistText(Text& text) {
    bool bigEndian = false;
    if (!HasUtf16Mark(reinterpret_cast<const uint8_t*>(text.data()), text.size(), bigEndian)) return true;
    Text decoded;
    if (!Utf16ToUtf8(reinterpret_cast<const uint8_t*>(text.data()), text.size(), bigEndian, decoded)) return false;
    text = static_cast<Text&&>(decoded);
    return true;
}

bool IsUtf8PlaylistText(ListFormat format, const Text& text) {
    return text.StartsWith(kUtf8Mark) || format == ListFormat::Xspf || IsValidUtf8(text.data(), text.size());
}

bool VisitPlaylistEntries(ListFormat format, const Text& text, PlaylistEntrySink sink, void* context) {
    switch (format) {
    case ListFormat::M3u: return ReadM3u(text, sink, context);
    case ListFormat::Pls: return ReadPls(text, sink, context);
    case ListFormat::Xspf: return ReadXspf(text, sink, context);
    default: return true;
    }
}

ListFormat RecogniseListFormat(const uint8_t* data, size_t size) {
    if (size >= sizeof(ListFileHeader)) {
        ListFileHeader header;
        memcpy(&header, data, sizeof header);
        if (IsValidListHeader(header)) return ListFormat::Rtv;
    }
    Text head;
    bool bigEndian = false;
    if (HasUtf16Mark(data, size, bigEndian)) {
        if (!Utf16ToUtf8(data, std::min<size_t>(size, kRecognisedHeadSize * kUtf16UnitSize), bigEndian, head))
            return ListFormat::Unknown;
    } else {
        head = Text(reinterpret_cast<const char*>(data), std::min<size_t>(size, kRecognisedHeadSize));
    }
    size_t at = ContentStart(head);
    if (StartsWithNoCase(head, at, "#EXTM3U")) return ListFormat::M3u;
    if (StartsWithNoCase(head, at, "[playlist]")) return ListFormat::Pls;
    // XSPF: the playlist element, perhaps after an XML declaration and comments.
    size_t element = head.find("<playlist", at);
    if (head[at] == '<' && element != Text::npos) return ListFormat::Xspf;
    // A plain M3U: its first line already a stream address.
    if (StartsWithNoCase(head, at, "http://") || StartsWithNoCase(head, at, "https://") ||
        StartsWithNoCase(head, at, "mms://")) {
        return ListFormat::M3u;
    }
    return ListFormat::Unknown;
}

std::vector<PlaylistEntry> ReadPlaylistEntries(ListFormat format, const uint8_t* data, size_t size, bool* utf8) {
    std::vector<PlaylistEntry> entries;
    Text text(reinterpret_cast<const char*>(data), size);
    if (!DecodePlaylistText(text)) return entries;
    if (utf8) *utf8 = IsUtf8PlaylistText(format, text);
    VisitPlaylistEntries(format, text, [](void* context, const PlaylistEntry& entry) {
        static_cast<std::vector<PlaylistEntry>*>(context)->push_back(entry);
        return true;
    }, &entries);
    return entries;
}

bool IsPlaylistStreamAddress(const Text& address) {
    return StartsWithNoCase(address, 0, "http://") || StartsWithNoCase(address, 0, "https://") ||
           StartsWithNoCase(address, 0, "mms://");
}

Text HostOf(const Text& address) {
    size_t start = address.find("://");
    start = start == Text::npos ? 0 : start + 3;
    size_t at = address.find('@', start);
    size_t end = address.find_first_of("/?#", start);
    if (at != Text::npos && (end == Text::npos || at < end)) start = at + 1;   // user:password@
    end = address.find_first_of(":/?#", start);
    return address.substr(start, end == Text::npos ? Text::npos : end - start);
}

Text RecordText(const Text& text, bool utf8) {
    Text converted = Trimmed(utf8 ? Utf8ToWindows1252Lossy(text) : text);
    // Control bytes would be invisible in the list and break the settings' lines.
    for (char& c : converted) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    if (converted.size() > kTextFieldSize - 1) converted.resize(kTextFieldSize - 1);
    return Trimmed(converted);
}

void MakePlaylistRecord(const PlaylistEntry& entry, bool utf8, StreamRecord& record) {
    memset(&record, 0, sizeof record);
    record.kind = kStreamKindRadio;
    Text name = RecordText(entry.title, utf8);
    const Text address = RecordText(entry.address, utf8);
    if (name.empty()) name = RecordText(HostOf(address), utf8);
    if (name.empty()) name = address;   // an address without a host still names its station
    SetField(record.name, name.c_str());
    SetField(record.address, address.c_str());
    Text website = RecordText(entry.website, utf8);
    if (StartsWithNoCase(website, 0, "http://") || StartsWithNoCase(website, 0, "https://"))
        SetField(record.website, website.c_str());
    record.transparentColour = kPlaylistKeyColour;
}

Text DescribeTally(const PlaylistTally& t) {
    Text text;
    auto count = [&text](int n, const char* one, const char* many) {
        text.AppendNumber(n);
        text += ' ';
        text += n == 1 ? one : many;
    };
    count(t.added, "flux ajouté", "flux ajoutés");
    auto more = [&](int n, const char* one, const char* many) {
        if (!n) return;
        text += ", ";
        count(n, one, many);
    };
    more(t.present, "déjà présent", "déjà présents");
    more(t.ignored, "ignoré", "ignorés");
    more(t.leftOut, "laissé de côté", "laissés de côté");
    return text;
}
