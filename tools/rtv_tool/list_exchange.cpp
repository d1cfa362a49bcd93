#include "tools/rtv_tool/list_exchange.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalogue/portable/address_index.h"
#include "catalogue/portable/directory_station.h"
#include "catalogue/portable/json_reader.h"
#include "catalogue/portable/playlist_import.h"
#include "catalogue/portable/text_encoding.h"
#include "tools/rtv_tool/text_conversion.h"
#include "tools/rtv_tool/logo_image.h"
#include "tools/rtv_tool/manifest.h"

namespace {

std::string FieldText(const char (&field)[kTextFieldSize]) { return std::string(field, FieldLength(field)); }
std::string Utf8(const char (&field)[kTextFieldSize]) {
    std::string text = FieldText(field);
    return Windows1252ToUtf8(text.data(), text.size());
}

void DrawLogo(StreamRecord& record) {
    std::string letters = InitialsFromName(record.name);
    std::string ignored;
    DrawInitialsLogo(letters.empty() ? "R" : letters, kDefaultLogoColour, kDefaultTransparentColour, record.logo,
                     ignored);
}

// Adds the record when its address is new and the catalogue has room, else counts it.
void Take(ImportResult& result, std::unique_ptr<StreamRecord> record) {
    const Text comparable = ComparableAddress(record->address);
    if (result.addresses.count(std::string(comparable.data(), comparable.size()))) {
        ++result.present;
        return;
    }
    if (result.records.size() >= static_cast<size_t>(kMaxSlots)) {
        ++result.leftOut;
        return;
    }
    result.addresses.insert(std::string(comparable.data(), comparable.size()));
    record->index = static_cast<int32_t>(result.records.size());
    DrawLogo(*record);
    result.records.push_back(std::move(record));
}

// The directory's stations, mapped as the plugin's directory dialog maps them.
bool ImportDirectoryExport(const JsonValue& stations, ImportResult& result) {
    if (stations.kind != JsonKind::Array) return false;
    for (const JsonValue* station = stations.child; station; station = station->next) {
        std::unique_ptr<StreamRecord> record(new StreamRecord());
        if (!MakeDirectoryRecord(*station, *record)) {
            ++result.ignored;
            continue;
        }
        Take(result, std::move(record));
    }
    return true;
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string RepairedJson(const std::string& text, int& repaired) {
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    for (size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (inString) {
            if (c == '\\' && at + 1 < text.size()) {
                out.append(text, at, 2);
                at += 2;
                continue;
            }
            if (c == '"') inString = false;
            size_t next = at;
            uint32_t code = 0;
            if (DecodeUtf8Character(text.data(), text.size(), next, code)) {
                out.append(text, at, next - at);
                at = next;
            } else {
                // A byte of another encoding: most often Windows-1252.
                uint32_t meant = CodePointOfWindows1252(static_cast<unsigned char>(c));
                Text utf8;
                AppendUtf8(utf8, meant ? meant : '?');
                out.append(utf8.data(), utf8.size());
                ++repaired;
                ++at;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            size_t end = at + 1;
            while (end < text.size() && strchr("0123456789+-.eE", text[end])) ++end;
            const std::string number = text.substr(at, end - at);
            // JSON has no infinity: a number beyond a double's range is no value at all.
            if (std::isinf(strtod(number.c_str(), nullptr))) {
                out += "null";
                ++repaired;
            } else {
                out += number;
            }
            at = end;
            continue;
        }
        out += c;
        ++at;
    }
    return out;
}

ImportResult ImportStations(const uint8_t* data, size_t size) {
    ImportResult result;
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size() && strchr(" \t\r\n", text[start])) ++start;
    if (start < text.size() && text[start] == '[' && text.compare(start, 10, "[playlist]") != 0) {
        const std::string repaired = RepairedJson(text.substr(start), result.repaired);
        JsonDocument stations;
        if (!stations.Parse(repaired.data(), repaired.size()) || !ImportDirectoryExport(*stations.Root(), result))
            result.error = "not a JSON array of stations";
        return result;
    }
    const ListFormat format = RecogniseListFormat(data, size);
    if (!IsPlaylistFormat(format)) {
        result.error = "neither a playlist (M3U, PLS, XSPF) nor a JSON list of stations";
        return result;
    }
    bool utf8 = false;
    for (const PlaylistEntry& entry : ReadPlaylistEntries(format, data, size, &utf8)) {
        if (!IsPlaylistStreamAddress(entry.address)) {
            ++result.ignored;
            continue;
        }
        std::unique_ptr<StreamRecord> record(new StreamRecord());
        MakePlaylistRecord(entry, utf8, *record);
        Take(result, std::move(record));
    }
    return result;
}

bool PlaylistKindOf(const std::string& path, PlaylistKind& kind) {
    size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    for (char& c : extension) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (extension == "m3u" || extension == "m3u8") kind = PlaylistKind::M3u;
    else if (extension == "pls") kind = PlaylistKind::Pls;
    else if (extension == "xspf") kind = PlaylistKind::Xspf;
    else return false;
    return true;
}

std::string ExportPlaylist(const std::vector<StreamRecord>& records, PlaylistKind kind) {
    std::string out;
    switch (kind) {
    case PlaylistKind::M3u:
        out = "#EXTM3U\n";
        for (const StreamRecord& r : records) out += "#EXTINF:-1," + Utf8(r.name) + "\n" + Utf8(r.address) + "\n";
        break;
    case PlaylistKind::Pls: {
        out = "[playlist]\n";
        int n = 0;
        for (const StreamRecord& r : records) {
            std::string k = std::to_string(++n);
            out += "File" + k + "=" + Utf8(r.address) + "\nTitle" + k + "=" + Utf8(r.name) + "\nLength" + k + "=-1\n";
        }
        out += "NumberOfEntries=" + std::to_string(n) + "\nVersion=2\n";
        break;
    }
    case PlaylistKind::Xspf:
        out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
              "  <trackList>\n";
        for (const StreamRecord& r : records) {
            out += "    <track>\n      <location>" + XmlEscaped(Utf8(r.address)) + "</location>\n      <title>" +
                   XmlEscaped(Utf8(r.name)) + "</title>\n";
            if (r.website[0]) out += "      <info>" + XmlEscaped(Utf8(r.website)) + "</info>\n";
            out += "    </track>\n";
        }
        out += "  </trackList>\n</playlist>\n";
        break;
    }
    return out;
}

std::string ManifestLine(const StreamRecord& r, std::vector<std::string>& notes) {
    const std::string label = "\"" + Utf8(r.name) + "\"";
    const char (*fields[])[kTextFieldSize] = {&r.name, &r.address, &r.website, &r.playlist, &r.podcast,
                                              &r.slogan, &r.keywords, &r.format, &r.quality};
    for (const auto* field : fields) {
        std::string text = FieldText(*field);
        if (text.find('|') != std::string::npos) notes.push_back(label + ": a text holds '|', which separates the fields");
        if (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t'))
            notes.push_back(label + ": a text begins or ends with a blank, which the manifest drops");
    }
    if (r.kind != kStreamKindRadio && r.kind != kStreamKindTv)
        notes.push_back(label + ": kind " + std::to_string(r.kind) + " is neither radio nor tv");
    char colour[8];
    snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(r.transparentColour) & 0xFFFFFF);
    return std::string(r.kind == kStreamKindTv ? "tv" : "radio") + " | " + Utf8(r.name) + " | " + Utf8(r.address) +
           " | " + Utf8(r.website) + " | " + Utf8(r.playlist) + " | " + Utf8(r.podcast) + " | " + Utf8(r.slogan) +
           " | " + Utf8(r.keywords) + " | " + Utf8(r.format) + " | " + Utf8(r.quality) + " |  | " + colour;
}
