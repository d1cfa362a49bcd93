#include "catalogue/portable/text_encoding.h"

#include <cstdio>

namespace {

// Code points of bytes 0x80-0x9F; 0 where the byte has no character.
constexpr uint16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,   // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,        // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,   // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,   // 98-9F
};


std::string Hex(const char* format, unsigned value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Decodes one UTF-8 character at `i`; advances `i`. Returns false on a
// malformed sequence, leaving `i` at the offending byte.
bool DecodeOne(const std::string& s, size_t& i, uint32_t& c) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    int extra;
    uint32_t minimum;
    if (b < 0x80) { c = b; ++i; return true; }
    if (b >= 0xC2 && b <= 0xDF) { extra = 1; c = b & 0x1F; minimum = 0x80; }
    else if (b >= 0xE0 && b <= 0xEF) { extra = 2; c = b & 0x0F; minimum = 0x800; }
    else if (b >= 0xF0 && b <= 0xF4) { extra = 3; c = b & 0x07; minimum = 0x10000; }
    else return false;
    if (i + extra >= s.size()) return false;   // truncated
    for (int k = 1; k <= extra; ++k) {
        unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return false;
        c = (c << 6) | (t & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += extra + 1;
    return true;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
    uint32_t c = 0;
    for (size_t i = 0; i < text.size();) {
        if (!DecodeOne(text, i, c)) return false;
    }
    return true;
}

std::string Utf8ToWindows1252Lossy(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    uint32_t c = 0;
    for (size_t i = 0; i < utf8.size();) {
        if (!DecodeOne(utf8, i, c)) {
            out += '?';
            ++i;
            continue;
        }
        int byte = Windows1252FromCodePoint(c);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t c) {
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

std::string DescribeCodePoint(uint32_t c) {
    std::string text = Hex("U+%04X", c);
    if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
        text += " '";
        AppendUtf8(text, c);
        text += "'";
    }
    return text;
}

bool Utf8ToWindows1252(const std::string& utf8, std::string& out, std::string& error) {
    out.clear();
    error.clear();
    size_t i = 0;
    while (i < utf8.size()) {
        size_t at = i;
        uint32_t c = 0;
        if (!DecodeOne(utf8, i, c)) {
            error = "invalid UTF-8 (byte " + Hex("0x%02X", static_cast<unsigned char>(utf8[at])) +
                    " at position " + std::to_string(at + 1) + ")";
            return false;
        }
        int byte = Windows1252FromCodePoint(c);
        if (byte < 0) {
            error = "character " + DescribeCodePoint(c) + " cannot be written in Windows-1252";
            return false;
        }
        out += static_cast<char>(byte);
    }
    return true;
}

std::string Windows1252ToUtf8(const char* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        uint32_t c = b;
        if (b >= 0x80 && b < 0xA0) c = kHighTable[b - 0x80];
        if (c == 0 || (c < 0x20 && c != '\t') || c == 0x7F) {
            out += Hex("\\x%02X", b);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}
