#include "storage/portable/file_replace.h"

#include <windows.h>

bool ReplaceFileWith(const char* temporary, const char* target) {
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFileQuietly(const char* path) { DeleteFileA(path); }

bool IsReadOnlyFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool CopyToNewFile(const char* from, const char* to) { return CopyFileA(from, to, TRUE) != 0; }
