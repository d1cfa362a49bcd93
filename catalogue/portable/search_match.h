// Matching catalogue records against a search text, without any window.
#pragma once

#include "catalogue/portable/stream_record.h"

// The longest a folded text gets: a letter may become two (æ becomes AE).
constexpr int kFoldedTextSize = 2 * (kTextFieldSize - 1) + 1;

// Folds Windows-1252 text for matching: every letter to its capital without
// accent (é è ê ë É to E, ç to C, ÿ Ÿ to Y...), œ Œ to OE, æ Æ to AE, ß to SS,
// þ Þ to TH; any other byte stays. Reads at most `length` bytes, or up to a
// NUL; `out` holds kFoldedTextSize bytes and ends with a NUL.
void FoldForSearch(const char* text, size_t length, char (&out)[kFoldedTextSize]);

struct SearchCriteria {
    int includeRadio;
    int includeTv;
    const char* text;
};

// True when the record's kind is allowed by the criteria (only kinds 0 and 1 ever are).
bool KindAllowed(const StreamRecord& record, int includeRadio, int includeTv);

// Calls `row` for every row of the filtered view, in view order: with an
// empty text every allowed record in slot order; otherwise, for each word of
// the text (split at spaces) in turn, every allowed record whose folded name
// or keywords contain the folded word, in slot order. A record that
// matches several words comes once per word. Empty slots are skipped.
// Allocates nothing.
using SearchRowSink = void (*)(void* context, StreamRecord* record);
void ForEachSearchRow(StreamRecord* const* slots, int slotCount, const SearchCriteria& criteria,
                      SearchRowSink row, void* context);
