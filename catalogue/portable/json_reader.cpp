#include "catalogue/portable/json_reader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "catalogue/portable/text_encoding.h"

namespace {

// Significant digits kept: more cannot change a double.
constexpr int kMaxSignificantDigits = 19;
// Beyond these decimal exponents any mantissa is out of a double's range, or 0.
constexpr long kLargestExponent = 310;
constexpr long kSmallestExponent = -345;

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a number already checked against JSON's grammar. The C
// library's strtod would bring along a correctly rounding converter several
// times the size of this whole reader; in 80-bit arithmetic this is within
// an ulp, which is all a station's count or bitrate needs. Infinite when out
// of a double's range.
double NumberValue(const char* text, size_t size) {
    size_t k = 0;
    const bool negative = text[0] == '-';
    if (negative) ++k;
    uint64_t mantissa = 0;
    int digits = 0;
    long exponent = 0;
    bool fraction = false;
    for (; k < size && text[k] != 'e' && text[k] != 'E'; ++k) {
        if (text[k] == '.') {
            fraction = true;
            continue;
        }
        if (digits < kMaxSignificantDigits) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(text[k] - '0');
            if (mantissa) ++digits;
            if (fraction) --exponent;
        } else if (!fraction) {
            ++exponent;
        }
    }
    if (k < size) {
        ++k;
        const bool below = text[k] == '-';
        if (text[k] == '-' || text[k] == '+') ++k;
        long written = 0;
        for (; k < size && IsDecimalDigit(text[k]); ++k) {
            if (written < kLargestExponent - kSmallestExponent) written = written * 10 + (text[k] - '0');
        }
        exponent += below ? -written : written;
    }
    long double value = static_cast<long double>(mantissa);
    if (mantissa == 0 || exponent + digits < kSmallestExponent) {
        value = 0;
    } else if (exponent + digits > kLargestExponent) {
        value = HUGE_VALL;
    } else {
        long double power = 1, base = 10;
        for (unsigned long e = static_cast<unsigned long>(exponent < 0 ? -exponent : exponent); e; e >>= 1) {
            if (e & 1) power *= base;
            base *= base;
        }
        value = exponent < 0 ? value / power : value * power;
    }
    const double rounded = static_cast<double>(value);
    return negative ? -rounded : rounded;
}

bool IsJsonSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr size_t kUnicodeEscapeDigits = 4;
constexpr uint32_t kHighSurrogateFirst = 0xD800, kLowSurrogateFirst = 0xDC00, kSurrogateLast = 0xDFFF;

class Parser {
public:
    Parser(const char* text, size_t size) : text_(text), size_(size) {}

    JsonValue* Document() {
        // A byte-order mark, which some servers send, is not part of the value.
        static const char kUtf8Mark[] = "\xEF\xBB\xBF";
        if (size_ >= 3 && memcmp(text_, kUtf8Mark, 3) == 0) at_ = 3;
        JsonValue* value = Value(0);
        SkipSpace();
        if (value && at_ != size_) {
            delete value;
            return Fail(JsonError::Syntax);
        }
        return value;
    }

    JsonError error = JsonError::None;
    size_t errorAt = 0;

private:
    JsonValue* Fail(JsonError why) {
        if (error == JsonError::None) {
            error = why;
            errorAt = at_;
        }
        return nullptr;
    }
    void SkipSpace() {
        while (at_ < size_ && IsJsonSpace(text_[at_])) ++at_;
    }
    bool Literal(const char* word) {
        const size_t length = strlen(word);
        if (size_ - at_ < length || memcmp(text_ + at_, word, length) != 0) return false;
        at_ += length;
        return true;
    }
    JsonValue* NewValue(JsonKind kind) {
        JsonValue* value = new (std::nothrow) JsonValue;
        if (!value) return Fail(JsonError::OutOfMemory);
        value->kind = kind;
        return value;
    }

    JsonValue* Value(int depth) {
        SkipSpace();
        if (at_ >= size_) return Fail(JsonError::Syntax);
        const char c = text_[at_];
        if (c == '{' || c == '[') return Container(depth, c == '{');
        if (c == '"') {
            JsonValue* value = NewValue(JsonKind::String);
            if (value && !String(value->text)) {
                delete value;
                return nullptr;
            }
            return value;
        }
        if (c == '-' || IsDigit(c)) return Number();
        if (Literal("true") || Literal("false")) {
            JsonValue* value = NewValue(JsonKind::Boolean);
            if (value) value->boolean = c == 't';
            return value;
        }
        if (Literal("null")) return NewValue(JsonKind::Null);
        return Fail(JsonError::Syntax);
    }

    JsonValue* Container(int depth, bool object) {
        if (depth >= kMaxJsonDepth) return Fail(JsonError::Depth);
        JsonValue* container = NewValue(object ? JsonKind::Object : JsonKind::Array);
        if (!container) return nullptr;
        ++at_;
        const char close = object ? '}' : ']';
        SkipSpace();
        if (at_ < size_ && text_[at_] == close) {
            ++at_;
            return container;
        }
        JsonValue** tail = &container->child;
        for (;;) {
            Text key;
            if (object) {
                SkipSpace();
                if (at_ >= size_ || text_[at_] != '"' || !String(key)) return Abandon(container);
                SkipSpace();
                if (at_ >= size_ || text_[at_] != ':') return Abandon(container, JsonError::Syntax);
                ++at_;
            }
            JsonValue* element = Value(depth + 1);
            if (!element) return Abandon(container);
            element->key = static_cast<Text&&>(key);
            *tail = element;
            tail = &element->next;
            SkipSpace();
            if (at_ < size_ && text_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < size_ && text_[at_] == close) {
                ++at_;
                return container;
            }
            return Abandon(container, JsonError::Syntax);
        }
    }
    JsonValue* Abandon(JsonValue* container, JsonError why = JsonError::Syntax) {
        delete container;
        return Fail(why);
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?, within a double's range.
    JsonValue* Number() {
        const size_t start = at_;
        if (text_[at_] == '-') ++at_;
        if (at_ < size_ && text_[at_] == '0') {
            ++at_;
        } else if (at_ < size_ && IsDigit(text_[at_])) {
            while (at_ < size_ && IsDigit(text_[at_])) ++at_;
        } else {
            return Fail(JsonError::Syntax);
        }
        if (at_ < size_ && text_[at_] == '.') {
            ++at_;
            if (at_ >= size_ || !IsDigit(text_[at_])) return Fail(JsonError::Syntax);
            while (at_ < size_ && IsDigit(text_[at_])) ++at_;
        }
        if (at_ < size_ && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < size_ && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (at_ >= size_ || !IsDigit(text_[at_])) return Fail(JsonError::Syntax);
            while (at_ < size_ && IsDigit(text_[at_])) ++at_;
        }
        JsonValue* value = NewValue(JsonKind::Number);
        if (!value) return nullptr;
        if (!value->text.TryReserve(at_ - start)) {
            delete value;
            return Fail(JsonError::OutOfMemory);
        }
        value->text.append(text_ + start, at_ - start);
        value->number = NumberValue(text_ + start, at_ - start);
        if (std::isinf(value->number)) {
            delete value;
            return Fail(JsonError::Syntax);
        }
        return value;
    }

    bool Hex4(uint32_t& unit) {
        if (size_ - at_ < kUnicodeEscapeDigits) return false;
        unit = 0;
        for (size_t k = 0; k < kUnicodeEscapeDigits; ++k) {
            const int digit = HexValue(text_[at_ + k]);
            if (digit < 0) return false;
            unit = unit << 4 | static_cast<uint32_t>(digit);
        }
        at_ += kUnicodeEscapeDigits;
        return true;
    }

    // A string from its opening quote; `out` gets its characters in UTF-8.
    bool String(Text& out) {
        ++at_;
        for (;;) {
            if (at_ >= size_) return Fail(JsonError::Syntax), false;
            const unsigned char c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return Fail(JsonError::Syntax), false;
            if (c != '\\') {
                // A run of plain characters, checked as UTF-8 and copied at once.
                size_t end = at_;
                while (end < size_ && text_[end] != '"' && text_[end] != '\\' &&
                       static_cast<unsigned char>(text_[end]) >= 0x20)
                    ++end;
                if (!IsValidUtf8(text_ + at_, end - at_)) return Fail(JsonError::Syntax), false;
                if (!out.TryReserve(out.size() + (end - at_))) return Fail(JsonError::OutOfMemory), false;
                out.append(text_ + at_, end - at_);
                at_ = end;
                continue;
            }
            if (++at_ >= size_) return Fail(JsonError::Syntax), false;
            const char escaped = text_[at_++];
            static const char kSimple[] = "\"\\/bfnrt";
            static const char kMeaning[] = "\"\\/\b\f\n\r\t";
            const char* simple = escaped ? strchr(kSimple, escaped) : nullptr;
            if (simple) {
                out += kMeaning[simple - kSimple];
                continue;
            }
            if (escaped != 'u') return Fail(JsonError::Syntax), false;
            uint32_t code = 0;
            if (!Hex4(code)) return Fail(JsonError::Syntax), false;
            if (code >= kLowSurrogateFirst && code <= kSurrogateLast) return Fail(JsonError::Syntax), false;
            if (code >= kHighSurrogateFirst && code < kLowSurrogateFirst) {
                uint32_t low = 0;
                if (!Literal("\\u") || !Hex4(low) || low < kLowSurrogateFirst || low > kSurrogateLast)
                    return Fail(JsonError::Syntax), false;
                code = 0x10000 + ((code - kHighSurrogateFirst) << 10) + (low - kLowSurrogateFirst);
            }
            AppendUtf8(out, code);
        }
    }

    const char* text_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

JsonValue::~JsonValue() {
    // Siblings are freed in a loop, not by recursion down a long array.
    JsonValue* item = child;
    while (item) {
        JsonValue* following = item->next;
        item->next = nullptr;
        delete item;
        item = following;
    }
}

const JsonValue* JsonValue::Member(const char* name) const {
    if (kind != JsonKind::Object) return nullptr;
    const JsonValue* found = nullptr;
    for (const JsonValue* member = child; member; member = member->next) {
        if (member->key == name) found = member;
    }
    return found;
}

const char* JsonValue::StringMember(const char* name) const {
    const JsonValue* member = Member(name);
    return member && member->kind == JsonKind::String ? member->text.c_str() : "";
}

bool JsonValue::IsIntegral() const {
    return kind == JsonKind::Number && text.find('.') == Text::npos && text.find('e') == Text::npos &&
           text.find('E') == Text::npos;
}

bool JsonDocument::Parse(const char* text, size_t size) {
    delete root_;
    root_ = nullptr;
    Parser parser(text, size);
    root_ = parser.Document();
    error_ = root_ ? JsonError::None : parser.error;
    errorAt_ = parser.errorAt;
    return root_ != nullptr;
}
