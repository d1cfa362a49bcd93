// UTF-8 (what manifests and most playlists are written in) to and from
// Windows-1252 (what the plugin's records hold).
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/portable/text.h"

// Decodes the UTF-8 character at `at` and moves `at` past it. False on a
// malformed sequence (overlong forms, surrogates, truncation), leaving `at`
// at the offending byte.
bool DecodeUtf8Character(const char* bytes, size_t size, size_t& at, uint32_t& codePoint);

// True when the bytes are well-formed UTF-8 throughout.
bool IsValidUtf8(const char* bytes, size_t size);

// Converts UTF-8 text to Windows-1252 as far as it can: a character that
// Windows-1252 has no byte for, and each malformed byte, becomes '?'.
Text Utf8ToWindows1252Lossy(const Text& utf8);

// Windows-1252 text (what the user typed in a dialog) as UTF-8; the five
// bytes that have no character are left out.
Text Utf8FromWindows1252(const Text& text);

// Appends a code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(Text& out, uint32_t codePoint);

// The Windows-1252 byte for a code point, or -1.
int Windows1252FromCodePoint(uint32_t codePoint);

// The code point of a Windows-1252 byte, or 0 for the five bytes that have
// no character (81 8D 8F 90 9D).
uint32_t CodePointOfWindows1252(unsigned char byte);
