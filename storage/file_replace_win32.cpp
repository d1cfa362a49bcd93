#include "storage/portable/file_replace.h"

#include <windows.h>

bool ReplaceFileWith(const char* temporary, const char* target) {
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFileQuietly(const char* path) { DeleteFileA(path); }
