#include "catalogue/portable/text_encoding.h"

namespace {

// Code points of bytes 0x80-0x9F; 0 where the byte has no character.
constexpr uint16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,   // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,        // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,   // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,   // 98-9F
};

}  // namespace

bool DecodeUtf8Character(const char* s, size_t size, size_t& i, uint32_t& c) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    int extra;
    uint32_t minimum;
    if (b < 0x80) { c = b; ++i; return true; }
    if (b >= 0xC2 && b <= 0xDF) { extra = 1; c = b & 0x1F; minimum = 0x80; }
    else if (b >= 0xE0 && b <= 0xEF) { extra = 2; c = b & 0x0F; minimum = 0x800; }
    else if (b >= 0xF0 && b <= 0xF4) { extra = 3; c = b & 0x07; minimum = 0x10000; }
    else return false;
    if (i + extra >= size) return false;   // truncated
    for (int k = 1; k <= extra; ++k) {
        unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return false;
        c = (c << 6) | (t & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += extra + 1;
    return true;
}

bool IsValidUtf8(const char* bytes, size_t size) {
    uint32_t c = 0;
    for (size_t i = 0; i < size;) {
        if (!DecodeUtf8Character(bytes, size, i, c)) return false;
    }
    return true;
}

Text Utf8ToWindows1252Lossy(const Text& utf8) {
    Text out;
    out.reserve(utf8.size());
    uint32_t c = 0;
    for (size_t i = 0; i < utf8.size();) {
        if (!DecodeUtf8Character(utf8.data(), utf8.size(), i, c)) {
            out += '?';
            ++i;
            continue;
        }
        int byte = Windows1252FromCodePoint(c);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

void AppendUtf8(Text& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int Windows1252FromCodePoint(uint32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int k = 0; k < 32; ++k) {
        if (kHighTable[k] != 0 && kHighTable[k] == c) return 0x80 + k;
    }
    return -1;
}

uint32_t CodePointOfWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighTable[byte - 0x80] : byte;
}

Text Utf8FromWindows1252(const Text& text) {
    Text out;
    for (size_t k = 0; k < text.size(); ++k) {
        const uint32_t codePoint = CodePointOfWindows1252(static_cast<unsigned char>(text[k]));
        if (codePoint) AppendUtf8(out, codePoint);
    }
    return out;
}
