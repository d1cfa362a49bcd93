#include "panel/portable/settings_file.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "catalogue/portable/text.h"
#include "storage/portable/replacing_file_write.h"

namespace {

struct KeyName {
    const char* name;
    SettingKey key;
};

const KeyName kKeys[] = {
    {"GEN_ONDARIA_VERSION", SettingKey::Version},
    {"GEN_ONDARIA_VISIBLE", SettingKey::Visible},
    {"GEN_ONDARIA_WND_TOP", SettingKey::WindowTop},
    {"GEN_ONDARIA_WND_LEFT", SettingKey::WindowLeft},
    {"GEN_ONDARIA_WND_BOTTOM", SettingKey::WindowBottom},
    {"GEN_ONDARIA_WND_RIGHT", SettingKey::WindowRight},
    {"GEN_ONDARIA_LISTNAME", SettingKey::ListName},
    {"GEN_ONDARIA_PLAY", SettingKey::PlayAtOnce},
    {"GEN_ONDARIA_ENQUEUE", SettingKey::Enqueue},
    {"GEN_ONDARIA_REDICONS", SettingKey::RedIcons},
    {"GEN_ONDARIA_OPENWEB", SettingKey::OpenWeb},
};

// The blanks of scanf in the "C" locale, fixed here so that a locale set by
// the host cannot change what a line means.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipBlanks(const char* p) {
    while (*p != '\0' && IsBlank(*p)) ++p;
    return p;
}

// Copies the run of non-blank characters at `p` into `out`, bounded.
const char* CopyWord(const char* p, char (&out)[kSettingsTextSize]) {
    size_t n = 0;
    while (*p != '\0' && !IsBlank(*p)) {
        if (n < kSettingsTextSize - 1) out[n++] = *p;
        ++p;
    }
    out[n] = '\0';
    return p;
}

// atoi on a word without leading blanks, saturating where atoi would overflow.
int ToNumber(const char* p) {
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long n = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > limit) n = limit;
    }
    if (negative) n = -n;
    if (n > INT_MAX) n = INT_MAX;
    return static_cast<int>(n);
}

// A character of the file with CR LF folded into LF, as a text-mode stream
// on Windows gives it; a CR on its own is kept.
int NextChar(FILE* file) {
    int c = getc(file);
    if (c == '\r') {
        int next = getc(file);
        if (next == '\n') return '\n';
        if (next != EOF) ungetc(next, file);
    }
    return c;
}

// fgets with a 260-byte buffer: up to 259 characters, stopping after a newline.
bool ReadPiece(FILE* file, char (&line)[kSettingsTextSize]) {
    size_t n = 0;
    while (n < kSettingsTextSize - 1) {
        int c = NextChar(file);
        if (c == EOF) break;
        line[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    return n > 0;
}

void Collect(void* context, SettingKey key, int number, const char* text) {
    SettingsRead& values = *static_cast<SettingsRead*>(context);
    switch (key) {
    case SettingKey::Version: break;
    case SettingKey::Visible: values.hasVisible = true; values.visible = number; break;
    case SettingKey::WindowTop: values.hasTop = true; values.top = number; break;
    case SettingKey::WindowLeft: values.hasLeft = true; values.left = number; break;
    case SettingKey::WindowBottom: values.hasBottom = true; values.bottom = number; break;
    case SettingKey::WindowRight: values.hasRight = true; values.right = number; break;
    case SettingKey::ListName:
        values.hasListName = true;
        memset(values.listName, 0, sizeof values.listName);
        strncpy(values.listName, text, sizeof values.listName - 1);
        break;
    case SettingKey::PlayAtOnce: values.checkPlayAtOnce |= number != 0; break;
    case SettingKey::Enqueue: values.checkEnqueue |= number != 0; break;
    case SettingKey::RedIcons: values.checkRedIcons |= number != 0; break;
    case SettingKey::OpenWeb: values.checkOpenWeb |= number != 0; break;
    }
}

}  // namespace

bool ParseSettingLine(const char* line, SettingKey* key, int* number,
                      char (&text)[kSettingsTextSize]) {
    char word[kSettingsTextSize];
    memset(text, 0, sizeof text);
    if (line == nullptr) return false;

    // "%s = %s": key, blanks, '=', blanks, value; what does not match stays empty.
    const char* p = CopyWord(SkipBlanks(line), word);
    const KeyName* found = nullptr;
    for (const KeyName& k : kKeys) {
        if (strcmp(word, k.name) == 0) found = &k;
    }
    if (found == nullptr) return false;

    char value[kSettingsTextSize] = {};
    const char* afterEquals = nullptr;
    p = SkipBlanks(p);
    if (*p == '=') {
        afterEquals = SkipBlanks(p + 1);
        CopyWord(afterEquals, value);
    }

    *key = found->key;
    *number = ToNumber(value);
    if (found->key != SettingKey::ListName) {
        memcpy(text, value, sizeof text);
    } else if (afterEquals != nullptr) {
        size_t n = BoundedLength(afterEquals, kSettingsTextSize - 1);
        if (n > 0 && afterEquals[n - 1] == '\n') --n;
        memcpy(text, afterEquals, n);
    }
    return true;
}

bool ReadSettingsFile(const char* path, SettingSink sink, void* context) {
    if (path == nullptr) return false;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return false;
    char line[kSettingsTextSize];
    char text[kSettingsTextSize];
    while (ReadPiece(file, line)) {
        SettingKey key;
        int number;
        if (ParseSettingLine(line, &key, &number, text) && sink != nullptr) {
            sink(context, key, number, text);
        }
    }
    fclose(file);
    return true;
}

bool ReadSettingsFile(const char* path, SettingsRead& values) {
    memset(&values, 0, sizeof values);
    return ReadSettingsFile(path, Collect, &values);
}

size_t FormatSettingsFile(const SettingsToWrite& v, char (&out)[kSettingsFileMaxSize]) {
    const char* version = v.version ? v.version : "";
    const char* listName = v.listName ? v.listName : "";
    int n = FormatText(out, sizeof out,
                     "[main]\r\n"
                     "GEN_ONDARIA_VERSION = %.*s\r\n"
                     "GEN_ONDARIA_VISIBLE = %d\r\n"
                     "GEN_ONDARIA_WND_TOP = %d\r\n"
                     "GEN_ONDARIA_WND_LEFT = %d\r\n"
                     "GEN_ONDARIA_WND_BOTTOM = %d\r\n"
                     "GEN_ONDARIA_WND_RIGHT = %d\r\n"
                     "GEN_ONDARIA_LISTNAME = %.*s\r\n"
                     "GEN_ONDARIA_PLAY = %d\r\n"
                     "GEN_ONDARIA_ENQUEUE = %d\r\n"
                     "GEN_ONDARIA_REDICONS = %d\r\n"
                     "GEN_ONDARIA_OPENWEB = %d\r\n",
                     static_cast<int>(BoundedLength(version, kSettingsTextSize - 1)), version,
                     v.visible, v.top, v.left, v.bottom, v.right,
                     static_cast<int>(BoundedLength(listName, kSettingsTextSize - 1)), listName,
                     v.playAtOnce, v.enqueue, v.redIcons, v.openWeb);
    if (n < 0 || static_cast<size_t>(n) >= sizeof out) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n);
}

bool WriteSettingsFile(const char* path, const SettingsToWrite& values) {
    if (path == nullptr || path[0] == '\0' || BoundedLength(path, kSettingsTextSize) >= kSettingsTextSize) {
        return false;
    }
    struct Formatted {
        char bytes[kSettingsFileMaxSize];
        size_t size;
    } formatted;
    formatted.size = FormatSettingsFile(values, formatted.bytes);
    if (formatted.size == 0) return false;
    auto write = [](FILE* file, void* context) {
        auto* f = static_cast<Formatted*>(context);
        return fwrite(f->bytes, 1, f->size, file) == f->size;
    };
    return WriteFileReplacing(path, write, &formatted);
}

bool ComposeSettingsPath(const char* folder, const char* fileName, char (&out)[kSettingsTextSize]) {
    memset(out, 0, sizeof out);
    if (folder == nullptr || fileName == nullptr) return false;
    size_t length = 0;
    if (AppendToPath(out, length, folder) && AppendToPath(out, length, fileName)) return true;
    memset(out, 0, sizeof out);
    return false;
}
