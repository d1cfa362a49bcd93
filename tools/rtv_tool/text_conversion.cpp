#include "tools/rtv_tool/text_conversion.h"

#include <cstdio>

#include "catalogue/portable/text_encoding.h"

namespace {

std::string Hex(const char* format, unsigned value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

void AppendUtf8(std::string& out, uint32_t c) {
    Text bytes;
    ::AppendUtf8(bytes, c);
    out.append(bytes.data(), bytes.size());
}

}  // namespace

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
        if (!DecodeUtf8Character(utf8.data(), utf8.size(), i, c)) {
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
        uint32_t c = CodePointOfWindows1252(b);
        if (c == 0 || (c < 0x20 && c != '\t') || c == 0x7F) {
            out += Hex("\\x%02X", b);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}
