#include "catalogue/portable/search_match.h"

#include <cstring>

namespace {

// What each Windows-1252 byte folds to: one or two characters, or itself (0).
struct Folding {
    char first;
    char second;
};

constexpr Folding Fold(unsigned char c) {
    if (c >= 'a' && c <= 'z') return {static_cast<char>(c - 'a' + 'A'), 0};
    switch (c) {
    case 0x83: return {'F', 0};                         // ƒ
    case 0x8A: case 0x9A: return {'S', 0};              // Š š
    case 0x8C: case 0x9C: return {'O', 'E'};            // Œ œ
    case 0x8E: case 0x9E: return {'Z', 0};              // Ž ž
    case 0x9F: case 0xDD: case 0xFD: case 0xFF: return {'Y', 0};   // Ÿ Ý ý ÿ
    case 0xC6: case 0xE6: return {'A', 'E'};            // Æ æ
    case 0xC7: case 0xE7: return {'C', 0};              // Ç ç
    case 0xD0: case 0xF0: return {'D', 0};              // Ð ð
    case 0xD1: case 0xF1: return {'N', 0};              // Ñ ñ
    case 0xD8: case 0xF8: return {'O', 0};              // Ø ø
    case 0xDE: case 0xFE: return {'T', 'H'};            // Þ þ
    case 0xDF: return {'S', 'S'};                       // ß
    default: break;
    }
    // À to Ö and à to ö, less the ones above: A A A A A A, E E E E, I I I I, O O O O O.
    const unsigned char lower = c >= 0xE0 ? static_cast<unsigned char>(c - 0x20) : c;
    if (lower >= 0xC0 && lower <= 0xC5) return {'A', 0};
    if (lower >= 0xC8 && lower <= 0xCB) return {'E', 0};
    if (lower >= 0xCC && lower <= 0xCF) return {'I', 0};
    if (lower >= 0xD2 && lower <= 0xD6) return {'O', 0};
    if (lower >= 0xD9 && lower <= 0xDC) return {'U', 0};
    return {0, 0};
}

struct FoldingTable {
    Folding entries[256];
    constexpr FoldingTable() : entries() {
        for (int c = 0; c < 256; ++c) entries[c] = Fold(static_cast<unsigned char>(c));
    }
};

constexpr FoldingTable kFolding;

// A record field folded, read within its 260 bytes.
void FoldField(const char (&field)[kTextFieldSize], char (&out)[kFoldedTextSize]) {
    const size_t length = FieldLength(field);
    FoldForSearch(field, length < kTextFieldSize ? length : kTextFieldSize - 1, out);
}

}  // namespace

void FoldForSearch(const char* text, size_t length, char (&out)[kFoldedTextSize]) {
    size_t n = 0;
    for (size_t i = 0; i < length && text[i] && n + 2 < kFoldedTextSize; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const Folding& f = kFolding.entries[c];
        if (f.first == 0) {
            out[n++] = static_cast<char>(c);
            continue;
        }
        out[n++] = f.first;
        if (f.second) out[n++] = f.second;
    }
    out[n] = 0;
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

    char words[kFoldedTextSize];
    FoldForSearch(text, kTextFieldSize - 1, words);

    char name[kFoldedTextSize];
    char keywords[kFoldedTextSize];
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
            FoldField(record->keywords, keywords);
            FoldField(record->name, name);
            if (strstr(keywords, word) || strstr(name, word)) row(context, record);
        }
    }
}
