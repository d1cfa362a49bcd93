// The catalogue search. Property: the rows it gives are those of a plain
// reference written here from the rule: the words of the text (split at
// spaces) in turn, for each every allowed record whose name or keywords
// contain the word ignoring the case of a to z; no text gives every allowed
// record.
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

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Contains(const char* field, const std::string& word) {
    std::string text(field, strnlen(field, kTextFieldSize));
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char a, char b) { return Upper(a) == Upper(b); }) != text.end();
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
