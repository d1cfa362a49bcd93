// A JSON reader of the plugin's own (RFC 8259, strictly): the radio
// directory answers in JSON, and the DLL may bring no library along. It
// keeps members in document order, with their duplicates (a lookup finds
// the last, as most readers keep), nests at most kMaxJsonDepth deep, and
// refuses what is not JSON: malformed UTF-8, control characters in strings,
// lone surrogates, numbers beyond a double's range, anything after the value.
// Every allocation can fail, and a failure is a refusal.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/portable/text.h"

constexpr int kMaxJsonDepth = 64;

enum class JsonKind : uint8_t { Null, Boolean, Number, String, Array, Object };

struct JsonValue {
    JsonValue() = default;
    JsonValue(const JsonValue&) = delete;
    JsonValue& operator=(const JsonValue&) = delete;
    ~JsonValue();

    JsonKind kind = JsonKind::Null;
    bool boolean = false;
    double number = 0;
    Text text;                     // a string's characters in UTF-8; a number as written
    Text key;                      // a member's name
    JsonValue* child = nullptr;    // an array's first element, an object's first member
    JsonValue* next = nullptr;     // the next element or member

    // The last member of that name, or null (also for anything but an object).
    const JsonValue* Member(const char* name) const;
    // A member's text when it is a string, else "".
    const char* StringMember(const char* name) const;
    bool IsIntegral() const;
};

enum class JsonError { None, Syntax, Depth, OutOfMemory };

class JsonDocument {
public:
    JsonDocument() = default;
    JsonDocument(const JsonDocument&) = delete;
    JsonDocument& operator=(const JsonDocument&) = delete;
    ~JsonDocument() { delete root_; }

    // False, holding nothing, when the text is not one JSON value; Error() says why.
    bool Parse(const char* text, size_t size);
    const JsonValue* Root() const { return root_; }
    JsonError Error() const { return error_; }
    size_t ErrorAt() const { return errorAt_; }

private:
    JsonValue* root_ = nullptr;
    JsonError error_ = JsonError::None;
    size_t errorAt_ = 0;
};
