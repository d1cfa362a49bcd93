#include "catalogue/portable/text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

Text::Text(const char* text) : Text(text, strlen(text)) {}

Text::Text(const char* bytes, size_t length) { append(bytes, length); }

Text::Text(const Text& other) { append(other.c_str(), other.size_); }

Text::Text(Text&& other) noexcept : bytes_(other.bytes_), size_(other.size_), capacity_(other.capacity_) {
    other.bytes_ = nullptr;
    other.size_ = other.capacity_ = 0;
}

Text& Text::operator=(const Text& other) {
    if (this != &other) {
        clear();
        append(other.c_str(), other.size_);
    }
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        free(bytes_);
        bytes_ = other.bytes_;
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.bytes_ = nullptr;
        other.size_ = other.capacity_ = 0;
    }
    return *this;
}

Text::~Text() { free(bytes_); }

void Text::clear() {
    size_ = 0;
    if (bytes_) bytes_[0] = 0;
}

void Text::reserve(size_t capacity) {
    if (!TryReserve(capacity)) abort();
}

bool Text::TryReserve(size_t capacity) {
    if (bytes_ && capacity <= capacity_) return true;
    if (capacity > npos / 2) return false;
    // Doubling keeps a text built a byte at a time linear.
    size_t grown = capacity_ * 2 > capacity ? capacity_ * 2 : capacity;
    char* bytes = static_cast<char*>(realloc(bytes_, grown + 1));
    if (!bytes) return false;
    if (!bytes_) bytes[0] = 0;
    bytes_ = bytes;
    capacity_ = grown;
    return true;
}

void Text::resize(size_t length) {
    reserve(length);
    if (length > size_) memset(bytes_ + size_, 0, length - size_);
    size_ = length;
    if (bytes_) bytes_[size_] = 0;
}

Text& Text::append(const char* bytes, size_t length) {
    if (length > npos / 2 - size_) abort();
    // A text may be appended to itself: find its bytes again after growing.
    const uintptr_t start = reinterpret_cast<uintptr_t>(bytes_), from = reinterpret_cast<uintptr_t>(bytes);
    const bool own = bytes_ && from >= start && from <= start + capacity_;
    const size_t offset = own ? from - start : 0;
    reserve(size_ + length);
    if (own) bytes = bytes_ + offset;
    if (length) memmove(bytes_ + size_, bytes, length);
    size_ += length;
    if (bytes_) bytes_[size_] = 0;
    return *this;
}

Text& Text::operator+=(const char* text) { return append(text, strlen(text)); }

void Text::AppendNumber(long number) {
    char digits[24];
    size_t count = 0;
    unsigned long magnitude = number < 0 ? 0ul - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (number < 0) *this += '-';
    while (count) *this += digits[--count];
}

size_t Text::find(char c, size_t from) const {
    for (size_t at = from; at < size_; ++at) {
        if (bytes_[at] == c) return at;
    }
    return npos;
}

size_t Text::find(const char* text, size_t from) const {
    const size_t length = strlen(text);
    if (length > size_) return npos;
    for (size_t at = from; at <= size_ - length; ++at) {
        if (memcmp(bytes_ + at, text, length) == 0) return at;
    }
    return npos;
}

size_t Text::find_first_of(const char* set, size_t from) const {
    for (size_t at = from; at < size_; ++at) {
        if (bytes_[at] && strchr(set, bytes_[at])) return at;
    }
    return npos;
}

Text Text::substr(size_t from, size_t length) const {
    if (from >= size_) return Text();
    if (length > size_ - from) length = size_ - from;
    return Text(bytes_ + from, length);
}

bool Text::StartsWith(const char* prefix) const {
    const size_t length = strlen(prefix);
    return length <= size_ && memcmp(c_str(), prefix, length) == 0;
}

bool operator==(const Text& a, const char* b) {
    return strlen(b) == a.size_ && memcmp(a.c_str(), b, a.size_) == 0;
}

bool operator==(const Text& a, const Text& b) {
    return a.size_ == b.size_ && memcmp(a.c_str(), b.c_str(), a.size_) == 0;
}

Text operator+(Text a, const Text& b) {
    a += b;
    return a;
}

#ifdef _WIN32
namespace {

// Room for a cut text's whole length to be measured in; doubled until it fits.
constexpr size_t kFirstMeasuringRoom = 256;
constexpr size_t kLargestMeasuringRoom = 1 << 20;

// The system formatter into `size` bytes: the length written, or -1 when the
// whole did not fit (it neither terminates a cut text nor says how long the
// whole would be).
int FormatWhole(char* out, size_t size, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int written = _vsnprintf(out, size, format, copy);
    va_end(copy);
    return written >= 0 && static_cast<size_t>(written) < size ? written : -1;
}

}  // namespace
#endif

int FormatText(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
#ifdef _WIN32
    int needed = size ? FormatWhole(out, size, format, args) : -1;
    if (needed < 0 && size) out[size - 1] = 0;
    for (size_t room = size < kFirstMeasuringRoom ? kFirstMeasuringRoom : size * 2;
         needed < 0 && room <= kLargestMeasuringRoom; room *= 2) {
        char* scratch = static_cast<char*>(malloc(room));
        if (scratch == nullptr) break;
        needed = FormatWhole(scratch, room, format, args);
        free(scratch);
    }
#else
    int needed = vsnprintf(out, size, format, args);
#endif
    va_end(args);
    return needed;
}

size_t BoundedLength(const char* text, size_t most) {
    size_t length = 0;
    while (length < most && text[length]) ++length;
    return length;
}

bool ParseHexNumber(const char* text, uint32_t& value) {
    const char* at = text;
    while (*at == ' ' || (*at >= '\t' && *at <= '\r')) ++at;
    const bool negative = *at == '-';
    if (*at == '-' || *at == '+') ++at;
    auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (at[0] == '0' && (at[1] == 'x' || at[1] == 'X') && digit(at[2]) >= 0) at += 2;
    if (digit(*at) < 0) return false;
    uint32_t number = 0;
    for (; digit(*at) >= 0; ++at) number = number * 16 + static_cast<uint32_t>(digit(*at));
    value = negative ? 0u - number : number;
    return true;
}
