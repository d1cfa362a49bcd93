// ".rtv" list files without any window: path forming, header coding, and
// reading and writing whole files. The catalogue wraps these.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/portable/stream_record.h"
#include "storage/portable/replacing_file_write.h"

constexpr int32_t kListFileVersion = 1;
constexpr int32_t kListHeaderSize = 64;

// The list name when none is set, and the one a name of blanks becomes.
constexpr char kDefaultListName[] = "Ondaria";

// The list name as it is kept: the spaces and tabs around it removed (the
// settings file could not give them back), at most 31 characters; a name of
// blanks only becomes kDefaultListName, an empty one stays empty.
void NormaliseListName(const char* text, char (&out)[kListNameSize]);

// The base name of the current list file: the list name with every character
// that a Windows file name cannot hold (\ / : * ? " < > | and control
// characters) replaced by '_', and a reserved device name (CON, NUL, COM1...)
// given a trailing '_' (before the first dot: "nul.old" becomes "nul_.old").
// `out` holds at least kListNameSize + 1 bytes.
void ListFileBaseName(const char* listName, char* out, size_t outSize);

// Forms the path of a list file in a kPathSize buffer. Current-list mode:
// folder + base name + ".rtv". Explicit mode: the path as given, with ".rtv"
// appended for a save when the path holds no ".rtv" anywhere.
// Returns false, leaving `out` empty, when the path does not fit.
bool ComposeListPath(const char* text, bool currentList, const char* listName, bool forSave,
                     char (&out)[kPathSize]);

ListFileHeader MakeListHeader(int32_t count, const char* listName);
bool IsValidListHeader(const ListFileHeader& header);

enum class ListReadResult {
    CannotOpen,   // nothing shown
    Empty,        // nothing shown
    NotValid,     // "Le fichier n'est pas valide !"
    Read,
    Incomplete,   // valid, but reading failed before the end: the records before it were given
};

// Receives each complete record read, already allocated with `new` and with
// its text fields terminated. Returns true when it took ownership; false
// makes the reader delete the record.
using ListRecordSink = bool (*)(void* context, StreamRecord* record);

// Reads the records of a list file in order. Trailing bytes that make no
// whole record are ignored; a non-empty file shorter than the header is not
// valid; a read error after the header gives Incomplete.
ListReadResult ReadListFile(const char* path, ListRecordSink sink, void* context);

// Gives the next record to write, or nullptr at the end.
using ListRecordSource = const StreamRecord* (*)(void* context);

// Writes header and records to a temporary file beside `path`, checks every
// write and the close, then replaces `path` with it. On any failure the
// previous file is left untouched and false is returned.
bool WriteListFile(const char* path, const ListFileHeader& header, ListRecordSource source,
                   void* context);
