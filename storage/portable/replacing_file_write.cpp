#include "storage/portable/replacing_file_write.h"

#include <cstring>

#include "storage/portable/file_replace.h"

bool AppendToPath(char (&path)[kPathSize], size_t& length, const char* text) {
    size_t n = strlen(text);
    if (length + n > kPathSize - 1) return false;
    memcpy(path + length, text, n + 1);
    length += n;
    return true;
}

bool ComposeTemporaryPath(const char* target, char (&out)[kPathSize]) {
    memset(out, 0, sizeof out);
    size_t length = 0;
    if (AppendToPath(out, length, target) && AppendToPath(out, length, ".tmp")) return true;
    memset(out, 0, sizeof out);
    const char* slash = strrchr(target, '\\');
    const char* other = strrchr(target, '/');
    if (other > slash) slash = other;
    length = slash ? static_cast<size_t>(slash - target + 1) : 0;
    if (length > kPathSize - 1) return false;
    memcpy(out, target, length);
    if (AppendToPath(out, length, "~ondaria.tmp")) return true;
    memset(out, 0, sizeof out);
    return false;
}

bool WriteFileReplacing(const char* target, FileContentWriter write, void* context) {
    char temporary[kPathSize];
    if (target == nullptr || !ComposeTemporaryPath(target, temporary)) return false;
    // A replacing rename would go through the read-only mark (Wine lets it).
    if (IsReadOnlyFile(target)) return false;
    FILE* file = fopen(temporary, "wb");
    if (file == nullptr) return false;
    setvbuf(file, nullptr, _IOFBF, 1 << 16);
    bool ok = write(file, context);
    ok = fflush(file) == 0 && ok;
    ok = fclose(file) == 0 && ok;
    if (ok) ok = ReplaceFileWith(temporary, target);
    if (!ok) RemoveFileQuietly(temporary);
    return ok;
}

namespace {
constexpr int kMaxSetAsideCopies = 99;
}  // namespace

bool SetFileAside(const char* path, const char* suffix, char (&kept)[kPathSize]) {
    for (int copy = 1; copy <= kMaxSetAsideCopies; ++copy) {
        memset(kept, 0, sizeof kept);
        // ".2" to ".99": at most two digits.
        const char number[] = {'.', static_cast<char>(copy < 10 ? '0' + copy : '0' + copy / 10),
                               static_cast<char>(copy < 10 ? 0 : '0' + copy % 10), 0};
        size_t length = 0;
        if (!AppendToPath(kept, length, path) || !AppendToPath(kept, length, suffix) ||
            (copy > 1 && !AppendToPath(kept, length, number))) {
            break;
        }
        if (PathExists(kept)) continue;
        if (CopyToNewFile(path, kept)) return true;
        // The name was free: the copy itself failed. Leave nothing half-made.
        RemoveFileQuietly(kept);
        break;
    }
    memset(kept, 0, sizeof kept);
    return false;
}
