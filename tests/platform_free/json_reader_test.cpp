// The plugin's JSON reader against Debian's nlohmann library on the same
// inputs: the directory's own kind of answer, hand-made hard cases, and
// thousands of generated documents (escapes, surrogate pairs, deep nesting,
// huge numbers) and of their corruptions. Both must accept and refuse the
// same texts, and read the same values from what they accept.
#include "catalogue/portable/json_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>

#include "nlohmann/json.hpp"

namespace {

using nlohmann::json;

// Where the two disagree, a description of the first difference; "" when they agree.
std::string Difference(const JsonValue& mine, const json& theirs, const std::string& path = "$") {
    switch (mine.kind) {
    case JsonKind::Null: return theirs.is_null() ? "" : path + ": null";
    case JsonKind::Boolean:
        return theirs.is_boolean() && theirs.get<bool>() == mine.boolean ? "" : path + ": boolean";
    case JsonKind::Number: {
        if (!theirs.is_number()) return path + ": number";
        const double expected = theirs.get<double>();
        return expected == mine.number || std::fabs(expected - mine.number) <= 1e-15 * std::fabs(expected)
                   ? ""
                   : path + ": " + mine.text.c_str() + " read as " + std::to_string(mine.number);
    }
    case JsonKind::String:
        return theirs.is_string() && theirs.get<std::string>() == std::string(mine.text.data(), mine.text.size())
                   ? ""
                   : path + ": string";
    case JsonKind::Array: {
        if (!theirs.is_array()) return path + ": array";
        size_t index = 0;
        for (const JsonValue* item = mine.child; item; item = item->next, ++index) {
            if (index >= theirs.size()) return path + ": longer array";
            std::string d = Difference(*item, theirs[index], path + "[" + std::to_string(index) + "]");
            if (!d.empty()) return d;
        }
        return index == theirs.size() ? "" : path + ": shorter array";
    }
    case JsonKind::Object: {
        if (!theirs.is_object()) return path + ": object";
        std::set<std::string> keys;
        for (const JsonValue* member = mine.child; member; member = member->next) {
            const std::string key(member->key.data(), member->key.size());
            keys.insert(key);
            if (!theirs.contains(key)) return path + ": extra member " + key;
        }
        if (keys.size() != theirs.size()) return path + ": members differ";
        for (const std::string& key : keys) {
            // The last of a name, as Member finds it; names may hold NUL characters.
            const JsonValue* last = nullptr;
            for (const JsonValue* member = mine.child; member; member = member->next)
                if (member->key == Text(key.data(), key.size())) last = member;
            std::string d = Difference(*last, theirs[key], path + "." + key);
            if (!d.empty()) return d;
        }
        return "";
    }
    }
    return "kind";
}

int Depth(const std::string& text) {
    int depth = 0, most = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (inString) {
            if (text[i] == '\\') ++i;
            else if (text[i] == '"') inString = false;
        } else if (text[i] == '"') {
            inString = true;
        } else if (text[i] == '[' || text[i] == '{') {
            most = std::max(most, ++depth);
        } else if (text[i] == ']' || text[i] == '}') {
            --depth;
        }
    }
    return most;
}

// Agreement on one text: the same verdict, and the same values when accepted.
// Deeper than the plugin goes, only the plugin's refusal is expected.
void ExpectAgreement(const std::string& text) {
    JsonDocument mine;
    const bool accepted = mine.Parse(text.data(), text.size());
    json theirs = json::parse(text, nullptr, false);
    if (Depth(text) > kMaxJsonDepth) {
        EXPECT_FALSE(accepted) << text.substr(0, 80);
        if (!accepted && !theirs.is_discarded()) {
            EXPECT_EQ(mine.Error(), JsonError::Depth);
        }
        return;
    }
    ASSERT_EQ(accepted, !theirs.is_discarded()) << "text: " << text.substr(0, 200);
    if (accepted) {
        EXPECT_EQ(Difference(*mine.Root(), theirs), "") << text.substr(0, 200);
    }
}

// A station as the radio directory's search answers it.
const char kDirectoryAnswer[] =
    "[{\"changeuuid\":\"b8e4f1a2\",\"stationuuid\":\"96062a7b\",\"name\":\"Radio \\u00c9t\\u00e9 \xE2\x98\x80\","
    "\"url\":\"http://radio.example/stream\",\"url_resolved\":\"https://radio.example/live.mp3\","
    "\"homepage\":\"https://radio.example/\",\"favicon\":\"https://radio.example/icon.png\","
    "\"tags\":\"pop,chanson\",\"country\":\"France\",\"countrycode\":\"FR\",\"language\":\"french\","
    "\"votes\":1234,\"codec\":\"MP3\",\"bitrate\":128,\"hls\":0,\"lastcheckok\":1,\"clickcount\":987,"
    "\"geo_lat\":48.8566,\"geo_long\":2.3522,\"has_extended_info\":false,\"ssl_error\":null}]";

TEST(JsonReader, ReadsADirectoryAnswerAsNlohmannDoes) {
    ExpectAgreement(kDirectoryAnswer);
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(kDirectoryAnswer, strlen(kDirectoryAnswer)));
    const JsonValue* station = doc.Root()->child;
    ASSERT_NE(station, nullptr);
    EXPECT_STREQ(station->StringMember("name"), "Radio \xC3\x89t\xC3\xA9 \xE2\x98\x80");
    EXPECT_EQ(station->Member("bitrate")->number, 128);
    EXPECT_TRUE(station->Member("bitrate")->IsIntegral());
    EXPECT_FALSE(station->Member("geo_lat")->IsIntegral());
    EXPECT_STREQ(station->StringMember("bitrate"), "");   // not a string
    EXPECT_EQ(station->Member("missing"), nullptr);
}

TEST(JsonReader, HardCasesAgreeWithNlohmann) {
    for (const char* text : {
             "", " ", "null", "true", "false", "0", "-0", "01", "1.", ".5", "1e", "1e+", "1E-2", "-",
             "123456789012345678901234567890", "1e308", "1e309", "-1e309", "1e-400", "2.5e-3",
             // The reader's own conversion at the ends of a double's range and beyond its digits.
             "1.7976931348623157e308", "1.7976931348623159e308", "4.9e-324", "2.2250738585072014e-308",
             "0.1", "9007199254740993", "0.000000000000000000000000000001234", "1e99999999999999999999",
             "1e-99999999999999999999", "0e400", "-0.0e-5", "18446744073709551616", "12345678901234567890123e-3",
             "\"\"", "\"a", "\"\\u00e9\"", "\"\\uD83D\\uDE00\"", "\"\\uD83D\"", "\"\\uDE00\"", "\"\\uD83Dx\"",
             "\"\\uD83D\\u0041\"", "\"\\x\"", "\"\\u12\"", "\"tab\there\"", "\"\xC3\xA9\"", "\"\xC3\"", "\"\xE9\"",
             "\"\xED\xA0\x80\"", "\"\xF4\x90\x80\x80\"", "\"\\/\\b\\f\\n\\r\\t\\\"\\\\\"",
             "[]", "[1,]", "[,1]", "[1 2]", "{}", "{\"a\":1,}", "{\"a\"}", "{\"a\":}", "{1:2}", "{\"a\":1,\"a\":2}",
             "[1] x", "[1]   \n", "\xEF\xBB\xBF[1]", "nul", "truex", "[true,false,null]", "{\"\":\"\"}",
             "[\"\\u0000\"]", "\"\x01\"", "\x7F"}) {
        SCOPED_TRACE(text);
        ExpectAgreement(text);
    }
}

TEST(JsonReader, NestingIsRefusedBeyondItsDepthAndReadUpToIt) {
    const std::string inside = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
    ExpectAgreement(inside);
    JsonDocument doc;
    EXPECT_TRUE(doc.Parse(inside.data(), inside.size()));
    const std::string deeper = "[" + inside + "]";
    EXPECT_FALSE(doc.Parse(deeper.data(), deeper.size()));
    EXPECT_EQ(doc.Error(), JsonError::Depth);
    EXPECT_EQ(doc.Root(), nullptr);
    const std::string far = std::string(100000, '[');
    EXPECT_FALSE(doc.Parse(far.data(), far.size()));   // no recursion that deep
}

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    std::string Value(int depth) {
        switch (Pick(depth > 6 ? 5 : 7)) {
        case 0: return "null";
        case 1: return Pick(2) ? "true" : "false";
        case 2: return NumberText();
        case 3:
        case 4: return StringText();
        case 5: {
            std::string out = "[";
            for (int n = Pick(4); n > 0; --n) out += Value(depth + 1) + (n > 1 ? "," : "");
            return out + Space() + "]";
        }
        default: {
            std::string out = "{";
            for (int n = Pick(4); n > 0; --n) out += Space() + StringText() + Space() + ":" + Value(depth + 1) + (n > 1 ? "," : "");
            return out + "}";
        }
        }
    }

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

private:
    std::string Space() {
        static const char* const kSpaces[] = {"", " ", "\n", "\t ", "\r\n  "};
        return kSpaces[Pick(5)];
    }
    std::string NumberText() {
        static const char* const kNumbers[] = {"0", "-0", "7", "-12", "3.25", "1e10", "-2.5E-7", "1e308",
                                               "9007199254740993", "18446744073709551616", "4.9e-324", "0.1"};
        return kNumbers[Pick(12)];
    }
    std::string StringText() {
        static const char* const kPieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\\n", "\\\"",
                                              "\\\\", "\\/", "\\u00e9", "\\u20AC", "\\uD83D\\uDE00", "\\uDBFF\\uDFFF",
                                              " ", "\\u0000", "Radio"};
        std::string out = "\"";
        for (int n = Pick(6); n > 0; --n) out += kPieces[Pick(15)];
        return out + "\"";
    }

    std::mt19937 random_;
};

TEST(JsonReader, GeneratedDocumentsAndTheirCorruptionsAgreeWithNlohmann) {
    Generator generator(20261209);
    static const char kNoise[] = "[]{}:,\"\\u0eE+-.9 \x01\xC3\xFF";
    for (int round = 0; round < 20000; ++round) {
        std::string text = generator.Value(0);
        ExpectAgreement(text);
        if (HasFatalFailure()) return;
        // One byte changed, dropped or added.
        std::string broken = text;
        const size_t at = static_cast<size_t>(generator.Pick(static_cast<int>(broken.size())));
        switch (generator.Pick(3)) {
        case 0: broken[at] = kNoise[generator.Pick(sizeof kNoise - 1)]; break;
        case 1: broken.erase(at, 1); break;
        default: broken.insert(at, 1, kNoise[generator.Pick(sizeof kNoise - 1)]); break;
        }
        ExpectAgreement(broken);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
