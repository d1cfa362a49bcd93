// The few file operations that differ by platform: replacing a file by a
// completed temporary one, removing leftovers, and what keeps a file safe
// from being written over. One implementation per platform.
#pragma once

// Moves `temporary` over `target` (replacing it) in one step where the
// platform allows. Returns false and leaves `target` as it was on failure.
bool ReplaceFileWith(const char* temporary, const char* target);

void RemoveFileQuietly(const char* path);

// True for an existing file marked read-only: it is never replaced.
bool IsReadOnlyFile(const char* path);

// True when something exists at `path`, readable or not.
bool PathExists(const char* path);

// Copies `from` to the new file `to`; false, writing nothing over it, when
// `to` exists already or the copy fails.
bool CopyToNewFile(const char* from, const char* to);
