// Writing a file so that a failure never costs the previous one: the content
// goes to a temporary file beside the target, every write and the close are
// checked, and only then does the temporary replace the target.
#pragma once

#include <cstddef>
#include <cstdio>

constexpr int kPathSize = 260;            // paths hold at most 259 characters

// Appends `text` to the path of `length` characters; false, changing
// nothing, when the result would not fit in 259 characters.
bool AppendToPath(char (&path)[kPathSize], size_t& length, const char* text);

// The temporary beside `target`: its name with ".tmp", or a short name in
// its folder when that does not fit. False when neither fits.
bool ComposeTemporaryPath(const char* target, char (&out)[kPathSize]);

// Writes the content into the open binary file; false on any failure.
using FileContentWriter = bool (*)(FILE* file, void* context);

// False, with the target untouched and no temporary left, on any failure;
// a target marked read-only is a failure too.
bool WriteFileReplacing(const char* target, FileContentWriter write, void* context);

// Keeps a copy of the file at `path` beside it, named `path` + `suffix`, or
// with ".2", ".3", ... behind that when the name is taken: an earlier copy is
// never written over. The name used goes to `kept`. False when no copy could
// be made.
bool SetFileAside(const char* path, const char* suffix, char (&kept)[kPathSize]);
