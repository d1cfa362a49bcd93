#include "catalogue/portable/search_match.h"

#include <cstring>

namespace {

// Copies a record field upper-cased into a 260-byte buffer.
void UpperCopy(char (&out)[kTextFieldSize], const char (&field)[kTextFieldSize]) {
    size_t n = FieldLength(field);
    if (n > kTextFieldSize - 1) n = kTextFieldSize - 1;
    memcpy(out, field, n);
    out[n] = 0;
    UpperAscii(out);
}

}  // namespace

void UpperAscii(char* text) {
    for (; *text; ++text) {
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
    }
}

bool KindAllowed(const StreamRecord& record, int includeRadio, int includeTv) {
    return (includeRadio && record.kind == kStreamKindRadio) || (includeTv && record.kind == kStreamKindTv);
}

void ForEachSearchRow(StreamRecord* const* slots, int slotCount, const SearchCriteria& criteria,
                      SearchRowSink row, void* context) {
    const char* text = criteria.text ? criteria.text : "";
    if (text[0] == 0) {
        for (int i = 0; i < slotCount; ++i) {
            StreamRecord* record = slots[i];
            if (record && KindAllowed(*record, criteria.includeRadio, criteria.includeTv)) row(context, record);
        }
        return;
    }

    char words[kTextFieldSize];
    strncpy(words, text, kTextFieldSize - 1);
    words[kTextFieldSize - 1] = 0;
    UpperAscii(words);

    char name[kTextFieldSize];
    char keywords[kTextFieldSize];
    char* cursor = words;
    for (;;) {
        while (*cursor == ' ') ++cursor;
        if (*cursor == 0) break;
        char* word = cursor;
        while (*cursor && *cursor != ' ') ++cursor;
        if (*cursor) *cursor++ = 0;

        for (int i = 0; i < slotCount; ++i) {
            StreamRecord* record = slots[i];
            if (!record || !KindAllowed(*record, criteria.includeRadio, criteria.includeTv)) continue;
            UpperCopy(keywords, record->keywords);
            UpperCopy(name, record->name);
            if (strstr(keywords, word) || strstr(name, word)) row(context, record);
        }
    }
}
