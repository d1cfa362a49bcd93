// The catalogue search. Property: the rows it gives are those of a plain
// reference written here from the rule: the words of the text (split at
// spaces) in turn, for each every allowed record whose name or keywords
// contain the word, both folded to plain capitals; no text gives every
// allowed record.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/portable/search_match.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int kMaxRecords = 12;

// Windows-1252 letters with what they read as; a to z as their capitals.
const char* const kLetters[][2] = {
    {"\x83", "F"}, {"\x8A", "S"}, {"\x9A", "S"}, {"\x8C", "OE"}, {"\x9C", "OE"}, {"\x8E", "Z"}, {"\x9E", "Z"},
    {"\x9F", "Y"}, {"\xDD", "Y"}, {"\xFD", "Y"}, {"\xFF", "Y"}, {"\xC6", "AE"}, {"\xE6", "AE"}, {"\xC7", "C"},
    {"\xE7", "C"}, {"\xD0", "D"}, {"\xF0", "D"}, {"\xD1", "N"}, {"\xF1", "N"}, {"\xD8", "O"}, {"\xF8", "O"},
    {"\xDE", "TH"}, {"\xFE", "TH"}, {"\xDF", "SS"},
    {"\xC0", "A"}, {"\xC1", "A"}, {"\xC2", "A"}, {"\xC3", "A"}, {"\xC4", "A"}, {"\xC5", "A"},
    {"\xE0", "A"}, {"\xE1", "A"}, {"\xE2", "A"}, {"\xE3", "A"}, {"\xE4", "A"}, {"\xE5", "A"},
    {"\xC8", "E"}, {"\xC9", "E"}, {"\xCA", "E"}, {"\xCB", "E"}, {"\xE8", "E"}, {"\xE9", "E"}, {"\xEA", "E"}, {"\xEB", "E"},
    {"\xCC", "I"}, {"\xCD", "I"}, {"\xCE", "I"}, {"\xCF", "I"}, {"\xEC", "I"}, {"\xED", "I"}, {"\xEE", "I"}, {"\xEF", "I"},
    {"\xD2", "O"}, {"\xD3", "O"}, {"\xD4", "O"}, {"\xD5", "O"}, {"\xD6", "O"},
    {"\xF2", "O"}, {"\xF3", "O"}, {"\xF4", "O"}, {"\xF5", "O"}, {"\xF6", "O"},
    {"\xD9", "U"}, {"\xDA", "U"}, {"\xDB", "U"}, {"\xDC", "U"}, {"\xF9", "U"}, {"\xFA", "U"}, {"\xFB", "U"}, {"\xFC", "U"},
};

std::string Folded(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
            continue;
        }
        const char* reads = nullptr;
        for (const auto& letter : kLetters)
            if (letter[0][0] == c) reads = letter[1];
        out += reads ? std::string(reads) : std::string(1, c);
    }
    return out;
}

bool Contains(const char* field, const std::string& word) {
    return Folded(std::string(field, strnlen(field, kTextFieldSize - 1))).find(Folded(word)) != std::string::npos;
}

std::vector<const StreamRecord*> Reference(const std::vector<StreamRecord*>& slots, const SearchCriteria& c) {
    std::vector<const StreamRecord*> rows;
    auto allowed = [&](const StreamRecord* r) {
        return r && ((c.includeRadio && r->kind == kStreamKindRadio) || (c.includeTv && r->kind == kStreamKindTv));
    };
    std::string text(c.text, strnlen(c.text, kTextFieldSize - 1));
    if (text.empty()) {
        for (const StreamRecord* r : slots)
            if (allowed(r)) rows.push_back(r);
        return rows;
    }
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        for (const StreamRecord* r : slots)
            if (allowed(r) && (Contains(r->name, word) || Contains(r->keywords, word))) rows.push_back(r);
    }
    return rows;
}

void Collect(void* context, StreamRecord* record) {
    static_cast<std::vector<const StreamRecord*>*>(context)->push_back(record);
}

void Fill(char (&field)[kTextFieldSize], FuzzedDataProvider& in) {
    std::string text = in.ConsumeRandomLengthString(kTextFieldSize - 1);
    memset(field, 0, sizeof field);
    memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    SearchCriteria criteria;
    criteria.includeRadio = in.ConsumeBool();
    criteria.includeTv = in.ConsumeBool();
    char text[kTextFieldSize];
    Fill(text, in);
    criteria.text = text;

    std::vector<std::unique_ptr<StreamRecord>> owned;
    std::vector<StreamRecord*> slots;
    const int count = in.ConsumeIntegralInRange(0, kMaxRecords);
    for (int i = 0; i < count; ++i) {
        if (in.ConsumeBool()) {   // a deleted slot
            slots.push_back(nullptr);
            continue;
        }
        owned.emplace_back(new StreamRecord());
        StreamRecord& r = *owned.back();
        r.kind = static_cast<int16_t>(in.ConsumeIntegralInRange(0, 2));
        Fill(r.name, in);
        Fill(r.keywords, in);
        slots.push_back(&r);
    }

    std::vector<const StreamRecord*> rows;
    ForEachSearchRow(slots.data(), static_cast<int>(slots.size()), criteria, &Collect, &rows);
    FUZZ_CHECK(rows == Reference(slots, criteria));
    return 0;
}
