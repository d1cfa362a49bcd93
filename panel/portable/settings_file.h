// gen_ondaria.ini without any window: recognising its lines, reading a whole
// file, and writing the twelve lines. The panel applies what is read to its
// fields and to the preferences dialog's controls.
#pragma once

#include <cstddef>

constexpr int kSettingsTextSize = 260;       // paths, lines, keys and values: 259 characters and a NUL
constexpr size_t kSettingsFileMaxSize = 1024; // the twelve lines, even with 259-character texts

enum class SettingKey {
    Version,       // GEN_ONDARIA_VERSION (never used)
    Visible,       // GEN_ONDARIA_VISIBLE
    WindowTop,     // GEN_ONDARIA_WND_TOP
    WindowLeft,    // GEN_ONDARIA_WND_LEFT
    WindowBottom,  // GEN_ONDARIA_WND_BOTTOM
    WindowRight,   // GEN_ONDARIA_WND_RIGHT
    ListName,      // GEN_ONDARIA_LISTNAME
    PlayAtOnce,    // GEN_ONDARIA_PLAY
    Enqueue,       // GEN_ONDARIA_ENQUEUE
    RedIcons,      // GEN_ONDARIA_REDICONS
    OpenWeb,       // GEN_ONDARIA_OPENWEB
};

// One line of the file (a piece of at most 259 characters, its newline
// possibly included, ending at its first NUL). Returns true when its first
// word is one of the eleven keys; then `number` is the value word converted
// as atoi does (saturated instead of overflowing) and `text` is the value
// word, or for ListName the rest of the line after "=" and the blanks behind
// it, newline removed (empty without "=").
bool ParseSettingLine(const char* line, SettingKey* key, int* number,
                      char (&text)[kSettingsTextSize]);

// Receives every recognised line in file order, repeats included.
using SettingSink = void (*)(void* context, SettingKey key, int number, const char* text);

// Reads `path` in pieces of at most 259 characters, as fgets with a 260-byte
// buffer would; CR LF and LF end a line alike. Returns false, without calling
// `sink`, when the file cannot be opened.
bool ReadSettingsFile(const char* path, SettingSink sink, void* context);

// What a whole file sets, ready to apply: a number given twice keeps the last
// value, and an option is to be checked when any of its lines is non-zero
// (an option is never cleared by the file).
struct SettingsRead {
    bool hasVisible;
    int visible;
    bool hasTop, hasLeft, hasBottom, hasRight;
    int top, left, bottom, right;
    bool hasListName;
    char listName[kSettingsTextSize];
    bool checkPlayAtOnce;
    bool checkEnqueue;
    bool checkRedIcons;
    bool checkOpenWeb;
};

// Clears `values`, then reads `path` into it. False when it cannot be opened.
bool ReadSettingsFile(const char* path, SettingsRead& values);

struct SettingsToWrite {
    const char* version;    // "2b"
    int visible;
    int top, left, bottom, right;
    const char* listName;   // written unchanged (at most 259 characters are taken)
    int playAtOnce;         // 1 checked, 0 not, for each option
    int enqueue;
    int redIcons;
    int openWeb;
};

// The file's bytes, CR LF line ends. Returns their count (0 only if they did
// not fit, which the size above rules out).
size_t FormatSettingsFile(const SettingsToWrite& values, char (&out)[kSettingsFileMaxSize]);

// Writes the file to a temporary file beside `path`, checking every write and
// the close, then replaces `path` with it. On any failure (path of 260 bytes
// or more, folder missing, a directory in the way...) the previous file is
// left as it was, no temporary file is left behind, and false is returned.
bool WriteSettingsFile(const char* path, const SettingsToWrite& values);

// `folder` followed by `fileName` in a 260-byte buffer. False, leaving `out`
// empty, when it does not fit.
bool ComposeSettingsPath(const char* folder, const char* fileName, char (&out)[kSettingsTextSize]);
