// A growable byte string for the code the DLL carries: what the plugin needs
// of std::string, without the C++ runtime that std::string brings along.
// Always NUL-terminated; may hold NUL bytes. Running out of memory ends the
// process, as an unhandled std::bad_alloc did: a text whose size comes from a
// file asks with TryReserve first, which can fail.
#pragma once

#include <cstddef>
#include <cstdint>

class Text {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    Text() = default;
    Text(const char* text);   // NOLINT: a literal is a Text
    Text(const char* bytes, size_t length);
    Text(const Text& other);
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept;
    ~Text();

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char* c_str() const { return bytes_ ? bytes_ : ""; }
    const char* data() const { return c_str(); }
    char& operator[](size_t at) {
        if (!bytes_) reserve(0);
        return bytes_[at];
    }
    char operator[](size_t at) const { return c_str()[at]; }   // [size()] is the NUL, as in std::string
    char* begin() { return bytes_; }
    char* end() { return bytes_ + size_; }

    void clear();
    void reserve(size_t capacity);
    bool TryReserve(size_t capacity);   // false, the text unchanged, when memory runs out
    void resize(size_t length);   // a longer text is filled with NUL bytes

    Text& append(const char* bytes, size_t length);
    Text& operator+=(const Text& text) { return append(text.c_str(), text.size()); }
    Text& operator+=(const char* text);
    Text& operator+=(char c) { return append(&c, 1); }
    void AppendNumber(long number);

    size_t find(char c, size_t from = 0) const;
    size_t find(const char* text, size_t from = 0) const;
    size_t find_first_of(const char* set, size_t from = 0) const;
    Text substr(size_t from, size_t length = npos) const;
    bool StartsWith(const char* prefix) const;

    friend bool operator==(const Text& a, const char* b);
    friend bool operator==(const Text& a, const Text& b);

private:
    char* bytes_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

Text operator+(Text a, const Text& b);

// snprintf's contract (the text always NUL-terminated; the length the whole
// text needs returned, so that `>= size` tells a cut), on the C library's own
// formatter: the DLL carries no formatter of its own. No floating point.
// On Windows, a whole longer than a megabyte is not measured: -1.
int FormatText(char* out, size_t size, const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// strnlen, which not every system C library has: the length of `text`, reading no
// further than `most` bytes.
size_t BoundedLength(const char* text, size_t most);

// Reads a hexadecimal number as scanf's "%X" does: blanks, a sign, "0x" and
// the digits that follow, wrapping at 32 bits. False when no digit comes.
bool ParseHexNumber(const char* text, uint32_t& value);
