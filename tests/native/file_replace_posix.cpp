#include "storage/portable/file_replace.h"

#include <cstdio>

bool ReplaceFileWith(const char* temporary, const char* target) {
    return std::rename(temporary, target) == 0;
}

void RemoveFileQuietly(const char* path) { std::remove(path); }
