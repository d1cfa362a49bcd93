#include "catalogue/portable/playlist_import.h"

#include <cstdlib>
#include <cstring>

#include "catalogue/portable/list_file_format.h"
#include "catalogue/portable/text_encoding.h"

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8MarkSize = 3;
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

// Lines ending in CR LF, LF or CR; the byte-order mark dropped.
std::vector<Text> Lines(const Text& text) {
    std::vector<Text> lines;
    size_t at = text.StartsWith(kUtf8Mark) ? kUtf8MarkSize : 0;
    Text line;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<PlaylistEntry> ReadM3u(const Text& text) {
    std::vector<PlaylistEntry> entries;
    Text title;
    for (const Text& raw : Lines(text)) {
        Text line = Trimmed(raw);
        if (line.empty()) continue;
        if (line[0] == '#') {
            // #EXTINF:duration[ attributes],title
            if (StartsWithNoCase(line, 0, "#EXTINF:")) {
                size_t comma = line.find(',');
                title = comma == Text::npos ? Text() : Trimmed(line.substr(comma + 1));
            }
            continue;
        }
        entries.push_back({line, title, Text()});
        title.clear();
    }
    return entries;
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
// which makes the order total.
struct NumberedPlace {
    long number;
    size_t place;
};

int CompareNumberedPlaces(const void* first, const void* second) {
    const NumberedPlace& a = *static_cast<const NumberedPlace*>(first);
    const NumberedPlace& b = *static_cast<const NumberedPlace*>(second);
    if (a.number != b.number) return a.number < b.number ? -1 : 1;
    return a.place < b.place ? -1 : a.place > b.place ? 1 : 0;
}

std::vector<PlaylistEntry> ReadPls(const Text& text) {
    // Entries by their number, whatever NumberOfEntries says; of two lines
    // for the same field of an entry, the later one counts.
    struct NumberedField {
        bool title;
        Text value;
    };
    std::vector<NumberedField> fields;
    std::vector<NumberedPlace> byNumber;
    for (const Text& raw : Lines(text)) {
        Text line = Trimmed(raw);
        size_t equals = line.find('=');
        if (equals == Text::npos) continue;
        Text key = Trimmed(line.substr(0, equals));
        long number = EntryNumber(key, "File");
        const bool title = number == 0;
        if (title) number = EntryNumber(key, "Title");
        if (number == 0) continue;
        byNumber.push_back({number, fields.size()});
        fields.push_back({title, Trimmed(line.substr(equals + 1))});
    }
    // The C library's sort: the template one would add a kilobyte to the DLL.
    if (!byNumber.empty()) qsort(byNumber.data(), byNumber.size(), sizeof(NumberedPlace), &CompareNumberedPlaces);
    std::vector<PlaylistEntry> entries;
    for (size_t at = 0; at < byNumber.size();) {
        PlaylistEntry entry;
        const long number = byNumber[at].number;
        for (; at < byNumber.size() && byNumber[at].number == number; ++at) {
            const NumberedField& field = fields[byNumber[at].place];
            (field.title ? entry.title : entry.address) = field.value;
        }
        if (!entry.address.empty()) entries.push_back(entry);
    }
    return entries;
}

// The five named entities and numeric references; anything else stays as written.
Text XmlText(const Text& raw) {
    Text out;
    for (size_t at = 0; at < raw.size(); ++at) {
        if (raw[at] != '&') {
            out += raw[at];
            continue;
        }
        size_t semicolon = raw.find(';', at);
        if (semicolon == Text::npos || semicolon - at > 10) {
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
    for (size_t at = xml.find(open.c_str(), begin); at != Text::npos && at < end; at = xml.find(open.c_str(), at + 1)) {
        size_t after = at + open.size();
        if (after >= end || (xml[after] != '>' && !IsBlank(xml[after]) && xml[after] != '/')) continue;
        size_t contentStart = xml.find('>', after);
        if (contentStart == Text::npos || contentStart >= end) return Text();
        if (xml[contentStart - 1] == '/') return Text();   // <title/>
        ++contentStart;
        size_t contentEnd = xml.find(close.c_str(), contentStart);
        if (contentEnd == Text::npos || contentEnd > end) return Text();
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

std::vector<PlaylistEntry> ReadXspf(const Text& xml) {
    std::vector<PlaylistEntry> entries;
    size_t at = 0;
    for (;;) {
        size_t track = xml.find("<track", at);
        if (track == Text::npos) break;
        size_t after = track + 6;
        if (after < xml.size() && xml[after] != '>' && !IsBlank(xml[after])) {   // <trackList>
            at = after;
            continue;
        }
        // An unclosed last track ends with the document.
        size_t end = xml.find("</track>", after);
        if (end == Text::npos) end = xml.size();
        PlaylistEntry entry;
        entry.address = ElementText(xml, after, end, "location");
        entry.title = ElementText(xml, after, end, "title");
        entry.website = ElementText(xml, after, end, "info");
        if (!entry.address.empty()) entries.push_back(entry);
        at = end;
    }
    return entries;
}

}  // namespace

ListFormat RecogniseListFormat(const uint8_t* data, size_t size) {
    if (size >= sizeof(ListFileHeader)) {
        ListFileHeader header;
        memcpy(&header, data, sizeof header);
        if (IsValidListHeader(header)) return ListFormat::Rtv;
    }
    const Text head(reinterpret_cast<const char*>(data), std::min<size_t>(size, kRecognisedHeadSize));
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
    const Text text(reinterpret_cast<const char*>(data), size);
    const bool marked = text.StartsWith(kUtf8Mark);
    if (utf8) *utf8 = marked || format == ListFormat::Xspf || IsValidUtf8(text.data(), text.size());
    switch (format) {
    case ListFormat::M3u: return ReadM3u(text);
    case ListFormat::Pls: return ReadPls(text);
    case ListFormat::Xspf: return ReadXspf(text);
    default: return {};
    }
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
