// UTF-8 (what manifests and most playlists are written in) to and from
// Windows-1252 (what the plugin's records hold).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Converts UTF-8 text to Windows-1252. Fails, with `error` naming the first
// offending character or byte, on malformed UTF-8 (overlong forms, surrogates,
// truncated sequences) and on characters that Windows-1252 has no byte for
// (the C1 controls U+0080-U+009F among them).
bool Utf8ToWindows1252(const std::string& utf8, std::string& out, std::string& error);

// True when the bytes are well-formed UTF-8 throughout.
bool IsValidUtf8(const std::string& text);

// Converts UTF-8 text to Windows-1252 as far as it can: a character that
// Windows-1252 has no byte for, and each malformed byte, becomes '?'.
std::string Utf8ToWindows1252Lossy(const std::string& utf8);

// Appends a code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);

// The Windows-1252 byte for a code point, or -1.
int Windows1252FromCodePoint(uint32_t codePoint);

// Converts Windows-1252 bytes to UTF-8 for display. The five bytes that have
// no character (81 8D 8F 90 9D) and control bytes other than tab appear as "\xNN".
std::string Windows1252ToUtf8(const char* text, size_t length);

// U+XXXX, then the character itself when it is printable.
std::string DescribeCodePoint(uint32_t codePoint);
