// The tool's conversions between its UTF-8 (manifests, JSON, the terminal)
// and the Windows-1252 of the records, with messages that say what is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Converts UTF-8 text to Windows-1252. Fails, with `error` naming the first
// offending character or byte, on malformed UTF-8 and on characters that
// Windows-1252 has no byte for (the C1 controls U+0080-U+009F among them).
bool Utf8ToWindows1252(const std::string& utf8, std::string& out, std::string& error);

// Converts Windows-1252 bytes to UTF-8 for display. The five bytes that have
// no character (81 8D 8F 90 9D) and control bytes other than tab appear as "\xNN".
std::string Windows1252ToUtf8(const char* text, size_t length);

// U+XXXX, then the character itself when it is printable.
std::string DescribeCodePoint(uint32_t codePoint);
