// Replacing a file by a completed temporary one, and removing leftovers.
// One implementation per platform.
#pragma once

// Moves `temporary` over `target` (replacing it) in one step where the
// platform allows. Returns false and leaves `target` as it was on failure.
bool ReplaceFileWith(const char* temporary, const char* target);

void RemoveFileQuietly(const char* path);
