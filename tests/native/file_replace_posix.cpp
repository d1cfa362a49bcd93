#include "storage/portable/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

bool ReplaceFileWith(const char* temporary, const char* target) {
    return std::rename(temporary, target) == 0;
}

void RemoveFileQuietly(const char* path) { std::remove(path); }

bool IsReadOnlyFile(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

bool PathExists(const char* path) {
    struct stat status;
    return stat(path, &status) == 0;
}

bool CopyToNewFile(const char* from, const char* to) {
    int in = open(from, O_RDONLY);
    if (in < 0) return false;
    int out = open(to, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (out < 0) {
        close(in);
        return false;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 || write(out, buffer, static_cast<size_t>(got)) != got) {
            ok = false;
            break;
        }
    }
    close(in);
    ok = close(out) == 0 && ok;
    if (!ok) std::remove(to);
    return ok;
}
