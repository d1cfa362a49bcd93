#include "tools/rtv_tool/manifest.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "catalogue/portable/link_policy.h"
#include "catalogue/portable/list_file_format.h"
#include "tools/rtv_tool/logo_image.h"
#include "tools/rtv_tool/text_conversion.h"

namespace {

const char* const kFieldNames[kManifestFieldCount] = {
    "kind", "name", "stream address", "web site", "playlist", "podcast",
    "slogan", "keywords", "format", "quality", "logo", "transparent colour",
};

std::string Trim(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    size_t end = s.find_last_not_of(" \t");
    return s.substr(begin, end - begin + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// 1 to 6 hexadecimal digits, as the plugin's editor reads them.
bool ParseColour(const std::string& text, uint32_t& colour) {
    if (text.empty() || text.size() > 6) return false;
    uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        value = value * 16 + digit;
    }
    colour = value;
    return true;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

std::string LineError(int line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

// Converts a field to Windows-1252 and checks what a record can hold.
bool TextField(const std::string& utf8, int index, int line, std::string& out, std::string& error) {
    std::string why;
    if (!Utf8ToWindows1252(utf8, out, why)) {
        error = LineError(line, std::string(kFieldNames[index]) + ": " + why);
        return false;
    }
    for (unsigned char c : out) {
        if (c < 0x20 || c == 0x7F) {
            error = LineError(line, std::string(kFieldNames[index]) + ": control character " + DescribeCodePoint(c));
            return false;
        }
    }
    if (out.size() > kTextFieldSize - 1) {
        error = LineError(line, std::string(kFieldNames[index]) + " is " + std::to_string(out.size()) +
                                    " bytes in Windows-1252; a record holds at most 259");
        return false;
    }
    return true;
}

bool ParseLogo(const std::string& text, int line, ManifestEntry& entry, std::string& error) {
    if (text.empty()) {
        entry.initials = InitialsFromName(entry.name);
        if (entry.initials.empty()) entry.initials = "R";
        return true;
    }
    if (!StartsWith(Lower(text), "initials:")) {
        entry.logoFromFile = true;
        entry.logoPath = text;
        return true;
    }
    std::string rest = text.substr(strlen("initials:"));
    size_t colon = rest.find(':');
    std::string colour = Trim(rest.substr(0, colon));
    if (!ParseColour(colour, entry.logoColour) || colour.size() != 6) {
        error = LineError(line, "logo: \"" + colour + "\" is not a colour RRGGBB (for instance initials:E2001A)");
        return false;
    }
    if (colon == std::string::npos) {
        entry.initials = InitialsFromName(entry.name);
        if (entry.initials.empty()) {
            error = LineError(line, "logo: the name gives no letters; write them, e.g. initials:" + colour + ":ABC");
            return false;
        }
        return true;
    }
    std::string letters = Trim(rest.substr(colon + 1));
    if (letters.empty() || letters.size() > 3) {
        error = LineError(line, "logo: write 1 to 3 letters after the colour, not \"" + letters + "\"");
        return false;
    }
    entry.initials.clear();
    for (char c : letters) {
        char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (!HasGlyph(upper)) {
            error = LineError(line, "logo: the letters may only be A-Z and 0-9, not \"" + letters + "\"");
            return false;
        }
        entry.initials += upper;
    }
    return true;
}

bool IsAbsolutePath(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

}  // namespace

LineResult ParseManifestLine(const std::string& rawLine, int lineNumber, ManifestEntry& entry, std::string& error) {
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNumber == 1 && StartsWith(line, "\xEF\xBB\xBF")) line.erase(0, 3);   // byte order mark
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') return LineResult::Skipped;

    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t bar = line.find('|', start);
        fields.push_back(Trim(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (fields.size() != kManifestFieldCount) {
        error = LineError(lineNumber, std::to_string(fields.size()) + " fields separated by '|', expected " +
                                          std::to_string(kManifestFieldCount) +
                                          " (kind | name | stream address | web site | playlist | podcast | slogan"
                                          " | keywords | format | quality | logo | transparent colour)");
        return LineResult::Error;
    }

    entry = ManifestEntry();
    entry.line = lineNumber;
    std::string kind = Lower(fields[0]);
    if (kind == "radio") {
        entry.kind = kStreamKindRadio;
    } else if (kind == "tv") {
        entry.kind = kStreamKindTv;
    } else {
        error = LineError(lineNumber, "kind is \"" + fields[0] + "\", expected radio or tv");
        return LineResult::Error;
    }
    std::string* texts[] = {nullptr, &entry.name, &entry.address, &entry.website, &entry.playlist,
                            &entry.podcast, &entry.slogan, &entry.keywords, &entry.format, &entry.quality};
    for (int i = 1; i <= 9; ++i) {
        if (!TextField(fields[i], i, lineNumber, *texts[i], error)) return LineResult::Error;
    }
    if (entry.name.empty()) {
        error = LineError(lineNumber, "the name is empty");
        return LineResult::Error;
    }
    if (entry.address.empty()) {
        error = LineError(lineNumber, "the stream address is empty");
        return LineResult::Error;
    }
    if (!IsStreamAddress(entry.address.c_str())) {
        error = LineError(lineNumber,
                          "the stream address must contain http://, https:// or mms:// (the plugin refuses others)");
        return LineResult::Error;
    }
    for (int i = 3; i <= 5; ++i) {
        if (!texts[i]->empty() && !IsWebAddress(texts[i]->c_str())) {
            error = LineError(lineNumber, std::string("the ") + kFieldNames[i] +
                                              " must be empty or begin with http:// or https:// (the plugin refuses others)");
            return LineResult::Error;
        }
    }
    if (!ParseLogo(fields[10], lineNumber, entry, error)) return LineResult::Error;
    if (!fields[11].empty() && !ParseColour(fields[11], entry.transparentColour)) {
        error = LineError(lineNumber, "transparent colour \"" + fields[11] + "\" is not hexadecimal RRGGBB");
        return LineResult::Error;
    }
    return LineResult::Entry;
}

bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries, std::vector<std::string>& errors) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        errors.push_back("cannot open " + path);
        return false;
    }
    std::string line;
    int number = 0;
    bool ok = true;
    int c;
    auto finishLine = [&]() {
        ++number;
        ManifestEntry entry;
        std::string error;
        switch (ParseManifestLine(line, number, entry, error)) {
            case LineResult::Entry: entries.push_back(entry); break;
            case LineResult::Skipped: break;
            case LineResult::Error: errors.push_back(path + ":" + error.substr(strlen("line "))); ok = false; break;
        }
        line.clear();
    };
    bool pending = false;
    while ((c = fgetc(file)) != EOF) {
        if (c == '\n') {
            finishLine();
            pending = false;
        } else {
            line += static_cast<char>(c);
            pending = true;
        }
    }
    if (pending) finishLine();
    if (ferror(file)) {
        errors.push_back("cannot read " + path);
        ok = false;
    }
    fclose(file);
    return ok;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool MakeRecord(const ManifestEntry& entry, const std::string& baseFolder, StreamRecord& record, std::string& error) {
    memset(&record, 0, sizeof record);
    record.kind = entry.kind;
    SetField(record.name, entry.name.c_str());
    SetField(record.slogan, entry.slogan.c_str());
    SetField(record.address, entry.address.c_str());
    SetField(record.website, entry.website.c_str());
    SetField(record.podcast, entry.podcast.c_str());
    SetField(record.playlist, entry.playlist.c_str());
    SetField(record.quality, entry.quality.c_str());
    SetField(record.format, entry.format.c_str());
    SetField(record.keywords, entry.keywords.c_str());
    record.transparentColour = static_cast<int32_t>(entry.transparentColour);
    std::string why;
    bool drawn = entry.logoFromFile
                     ? LoadLogoFile(IsAbsolutePath(entry.logoPath) ? entry.logoPath : baseFolder + entry.logoPath,
                                    entry.transparentColour, record.logo, why)
                     : DrawInitialsLogo(entry.initials, entry.logoColour, entry.transparentColour, record.logo, why);
    if (!drawn) error = LineError(entry.line, "logo: " + why);
    return drawn;
}

namespace {

struct RecordCursor {
    const std::vector<std::unique_ptr<StreamRecord>>* records;
    size_t next;
};

const StreamRecord* NextRecord(void* context) {
    RecordCursor* cursor = static_cast<RecordCursor*>(context);
    return cursor->next < cursor->records->size() ? (*cursor->records)[cursor->next++].get() : nullptr;
}

std::string BaseName(const std::string& path) {
    std::string name = path.substr(FolderOf(path).size());
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

bool BuildListFile(const std::string& manifestPath, const std::string& outPath, const std::string& listName,
                   std::vector<std::string>& errors, int* recordCount) {
    std::string name1252, why;
    std::string nameUtf8 = listName.empty() ? BaseName(outPath) : listName;
    if (!Utf8ToWindows1252(nameUtf8, name1252, why)) {
        errors.push_back("list name: " + why);
        return false;
    }
    if (name1252.empty() || name1252.size() > kListNameSize - 1) {
        errors.push_back("the list name must hold 1 to 31 bytes in Windows-1252 (\"" + nameUtf8 + "\" has " +
                         std::to_string(name1252.size()) + ")");
        return false;
    }

    std::vector<ManifestEntry> entries;
    if (!ReadManifest(manifestPath, entries, errors)) return false;
    if (entries.empty()) {
        errors.push_back(manifestPath + ": no station");
        return false;
    }
    if (entries.size() > static_cast<size_t>(kMaxSlots)) {
        errors.push_back(manifestPath + ": " + std::to_string(entries.size()) +
                         " stations; the plugin holds at most 4096");
        return false;
    }
    std::string folder = FolderOf(manifestPath);
    std::vector<std::unique_ptr<StreamRecord>> records;
    bool ok = true;
    for (const ManifestEntry& entry : entries) {
        std::unique_ptr<StreamRecord> record(new StreamRecord);
        if (!MakeRecord(entry, folder, *record, why)) {
            errors.push_back(manifestPath + ":" + why.substr(strlen("line ")));
            ok = false;
            continue;
        }
        record->index = static_cast<int32_t>(records.size());
        records.push_back(std::move(record));
    }
    if (!ok) return false;

    ListFileHeader header = MakeListHeader(static_cast<int32_t>(records.size()), name1252.c_str());
    RecordCursor cursor = {&records, 0};
    if (!WriteListFile(outPath.c_str(), header, NextRecord, &cursor)) {
        errors.push_back("cannot write " + outPath);
        return false;
    }
    if (recordCount) *recordCount = static_cast<int>(records.size());
    return true;
}
