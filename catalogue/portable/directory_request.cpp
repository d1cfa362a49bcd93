#include "catalogue/portable/directory_request.h"

#include <cstring>

namespace {

bool IsUnreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

void AddParameter(Text& path, const char* name, const Text& value) {
    path += path.find('?') == Text::npos ? "?" : "&";
    path += name;
    path += '=';
    path += PercentEncoded(value);
}

Text Trimmed(const Text& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t' || text[begin] == '\r')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

Text PercentEncoded(const Text& text) {
    static const char kHex[] = "0123456789ABCDEF";
    Text out;
    for (size_t k = 0; k < text.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (IsUnreserved(static_cast<char>(c))) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

Text DirectorySearchPath(const DirectorySearch& search) {
    Text path = "/json/stations/search";
    const Text name = Trimmed(search.name), tag = Trimmed(search.tag), country = Trimmed(search.country),
               language = Trimmed(search.language);
    if (!name.empty()) AddParameter(path, "name", name);
    if (!tag.empty()) AddParameter(path, "tag", tag);
    // Two letters are a code ("FR"); anything longer is a country's name.
    if (country.size() == 2 && IsLetter(country[0]) && IsLetter(country[1])) AddParameter(path, "countrycode", country);
    else if (!country.empty()) AddParameter(path, "country", country);
    if (!language.empty()) AddParameter(path, "language", language);
    AddParameter(path, "hidebroken", search.onlyAnswering ? "true" : "false");
    AddParameter(path, "order", "clickcount");
    AddParameter(path, "reverse", "true");
    Text number;
    number.AppendNumber(kDirectoryPageSize);
    AddParameter(path, "limit", number);
    number.clear();
    number.AppendNumber(search.offset > 0 ? search.offset : 0);
    AddParameter(path, "offset", number);
    return path;
}

Text DirectoryClickPath(const Text& stationUuid) {
    if (stationUuid.empty()) return Text();
    for (size_t k = 0; k < stationUuid.size(); ++k) {
        const char c = stationUuid[k];
        if (!IsLetter(c) && !(c >= '0' && c <= '9') && c != '-') return Text();
    }
    return Text("/json/url/") + stationUuid;
}

std::vector<Text> DirectoryServersFromText(const char* text, size_t size) {
    std::vector<Text> servers;
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && text[end] != '\n') ++end;
        Text line = Trimmed(Text(text + at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (strncmp(line.c_str(), "http://", 7) != 0 && strncmp(line.c_str(), "https://", 8) != 0) continue;
        if (line[line.size() - 1] == '/') line.resize(line.size() - 1);
        servers.push_back(line);
    }
    return servers;
}
