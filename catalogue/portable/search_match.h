// Matching catalogue records against a search text, without any window.
#pragma once

#include "catalogue/portable/stream_record.h"

// Upper-cases the bytes a to z in place; every other byte stays as it is.
void UpperAscii(char* text);

struct SearchCriteria {
    int includeRadio;
    int includeTv;
    const char* text;
};

// True when the record's kind is allowed by the criteria (only kinds 0 and 1 ever are).
bool KindAllowed(const StreamRecord& record, int includeRadio, int includeTv);

// Calls `row` for every row of the filtered view, in view order: with an
// empty text every allowed record in slot order; otherwise, for each word of
// the text (split at spaces) in turn, every allowed record whose upper-cased
// name or keywords contain the upper-cased word, in slot order. A record that
// matches several words comes once per word. Empty slots are skipped.
// Allocates nothing.
using SearchRowSink = void (*)(void* context, StreamRecord* record);
void ForEachSearchRow(StreamRecord* const* slots, int slotCount, const SearchCriteria& criteria,
                      SearchRowSink row, void* context);
