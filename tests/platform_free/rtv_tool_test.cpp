// The list tool: text conversion, manifest lines, BMP logos, drawn logos, and
// checking and printing list files on real files. UTF-8 input is written
// with escapes: this source's literals are compiled to Windows-1252.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/portable/list_file_format.h"
#include "tools/rtv_tool/list_inspect.h"
#include "tools/rtv_tool/logo_image.h"
#include "tools/rtv_tool/manifest.h"
#include "tools/rtv_tool/text_conversion.h"

namespace {

namespace fs = std::filesystem;

std::string To1252(const std::string& utf8) {
    std::string out, error;
    EXPECT_TRUE(Utf8ToWindows1252(utf8, out, error)) << error;
    return out;
}

std::string Refusal(const std::string& utf8) {
    std::string out, error;
    EXPECT_FALSE(Utf8ToWindows1252(utf8, out, error)) << utf8;
    return error;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    FILE* f = fopen(path.string().c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

std::string ReadFile(const fs::path& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    ReadWholeFile(path.string(), bytes, error, SIZE_MAX);
    return std::string(bytes.begin(), bytes.end());
}

void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A BMP of `width` x |height| (negative: top-down) whose pixel (x, y from the
// top) is pixels[y * width + x], 0x00RRGGBB; row padding filled with 0xEE.
std::string MakeBmp(int width, int height, const std::vector<uint32_t>& pixels, int bits = 24) {
    int rows = height < 0 ? -height : height;
    int stride = (width * 3 + 3) & ~3;
    std::string s(54 + stride * rows, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, static_cast<uint32_t>(s.size()));
    Put32(s, 10, 54);
    Put32(s, 14, 40);
    Put32(s, 18, static_cast<uint32_t>(width));
    Put32(s, 22, static_cast<uint32_t>(height));
    s[26] = 1;
    s[28] = static_cast<char>(bits);
    for (int y = 0; y < rows; ++y) {
        int fileRow = height < 0 ? y : rows - 1 - y;
        char* row = &s[54 + fileRow * stride];
        memset(row, 0xEE, stride);
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[y * width + x];
            row[x * 3] = static_cast<char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
        }
    }
    return s;
}

RgbImage Decode(const std::string& bmp) {
    RgbImage image;
    std::string error;
    EXPECT_TRUE(DecodeBmp24(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), image, error)) << error;
    return image;
}

std::string DecodeError(const std::string& bmp) {
    RgbImage image;
    std::string error;
    EXPECT_FALSE(DecodeBmp24(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), image, error));
    return error;
}

const char kGoodLine[] =
    "tv | T\xC3\xA9l\xC3\xA9 Une | http://example.org/live.m3u8 | http://example.org | | http://example.org/pod |"
    " L\xE2\x80\x99info \xE2\x82\xAC | info t\xC3\xA9l\xC3\xA9 | HLS | 720p | initials:102030:T1 | 00FF00";

ManifestEntry ParseGood(const std::string& line, int number = 1) {
    ManifestEntry entry;
    std::string error;
    EXPECT_EQ(ParseManifestLine(line, number, entry, error), LineResult::Entry) << error;
    return entry;
}

std::string LineError(const std::string& line, int number = 3) {
    ManifestEntry entry;
    std::string error;
    EXPECT_EQ(ParseManifestLine(line, number, entry, error), LineResult::Error) << line;
    return error;
}

std::string WithField(int index, const std::string& value) {
    std::vector<std::string> f = {"radio", "Name", "http://a.example/s", "", "", "", "", "", "", "", "", ""};
    f[index] = value;
    std::string line;
    for (size_t i = 0; i < f.size(); ++i) line += (i ? "|" : "") + f[i];
    return line;
}

class RtvFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("ondaria_rtv_tool_" + std::string(
                     ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // A list of one valid record, returned as bytes.
    std::string ValidList() {
        WriteFile(folder / "m.txt", std::string(kGoodLine) + "\n");
        std::vector<std::string> errors;
        EXPECT_TRUE(BuildListFile((folder / "m.txt").string(), (folder / "one.rtv").string(), "", errors));
        return ReadFile(folder / "one.rtv");
    }

    fs::path folder;
};

ListCheck Check(const std::string& bytes) {
    return CheckListBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool AnyContains(const std::vector<std::string>& messages, const std::string& part) {
    for (const std::string& m : messages) {
        if (m.find(part) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

TEST(RtvEncoding, FrenchTextAndTheHighTableBecomeSingleBytes) {
    EXPECT_EQ(To1252("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(To1252("\xE2\x82\xAC"), "\x80");                 // euro sign
    EXPECT_EQ(To1252("l\xE2\x80\x99" "eau"), "l\x92" "eau");   // right single quotation mark
    EXPECT_EQ(To1252("\xC5\x92\xC5\xB8\xC3\xBF\xC2\xA0"), "\x8C\x9F\xFF\xA0");
    // Every byte of 0x80-0xFF that has a character survives the way there and back.
    for (int b = 0x80; b <= 0xFF; ++b) {
        char byte = static_cast<char>(b);
        std::string utf8 = Windows1252ToUtf8(&byte, 1);
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            EXPECT_EQ(utf8, "\\x" + std::string(b == 0x81 ? "81" : b == 0x8D ? "8D" : b == 0x8F ? "8F" : b == 0x90 ? "90" : "9D"));
            continue;
        }
        EXPECT_EQ(To1252(utf8), std::string(1, byte)) << std::hex << b;
    }
}

TEST(RtvEncoding, CharactersWithoutAByteAndBrokenUtf8AreRefusedByName) {
    EXPECT_NE(Refusal("Radio \xE4\xB8\xAD").find("U+4E2D"), std::string::npos);
    EXPECT_NE(Refusal("\xF0\x9F\x93\xBB").find("U+1F4FB"), std::string::npos);     // radio emoji
    EXPECT_NE(Refusal("\xC2\x81").find("U+0081"), std::string::npos);              // C1 control
    EXPECT_NE(Refusal("ab\xC3").find("position 3"), std::string::npos);            // truncated
    EXPECT_NE(Refusal("\xC0\xAF").find("invalid UTF-8"), std::string::npos);       // overlong
    EXPECT_NE(Refusal("\xED\xA0\x80").find("invalid UTF-8"), std::string::npos);   // surrogate
    EXPECT_NE(Refusal("\xE2\x82").find("invalid UTF-8"), std::string::npos);
}

TEST(RtvManifest, AGoodLineFillsEveryField) {
    ManifestEntry e = ParseGood(kGoodLine);
    EXPECT_EQ(e.kind, kStreamKindTv);
    EXPECT_EQ(e.name, "T\xE9l\xE9 Une");
    EXPECT_EQ(e.address, "http://example.org/live.m3u8");
    EXPECT_EQ(e.website, "http://example.org");
    EXPECT_EQ(e.playlist, "");
    EXPECT_EQ(e.podcast, "http://example.org/pod");
    EXPECT_EQ(e.slogan, "L\x92info \x80");
    EXPECT_EQ(e.keywords, "info t\xE9l\xE9");
    EXPECT_EQ(e.format, "HLS");
    EXPECT_EQ(e.quality, "720p");
    EXPECT_FALSE(e.logoFromFile);
    EXPECT_EQ(e.initials, "T1");
    EXPECT_EQ(e.logoColour, 0x102030u);
    EXPECT_EQ(e.transparentColour, 0x00FF00u);

    // Line end, mms address, default colour, letters from the name, a logo file.
    e = ParseGood("RADIO|Radio Caf\xC3\xA9 Cr\xC3\xA8me|mms://x.example/a|||||||| initials:AABBCC |\r");
    EXPECT_EQ(e.kind, kStreamKindRadio);
    EXPECT_EQ(e.initials, "RCC");
    EXPECT_EQ(e.transparentColour, kDefaultTransparentColour);
    e = ParseGood(WithField(10, "logos/one.bmp"));
    EXPECT_TRUE(e.logoFromFile);
    EXPECT_EQ(e.logoPath, "logos/one.bmp");
    e = ParseGood(WithField(10, "initials:0000FF:z9"));
    EXPECT_EQ(e.initials, "Z9");
}

TEST(RtvManifest, CommentsBlankLinesAndByteOrderMarkAreSkipped) {
    ManifestEntry e;
    std::string error;
    EXPECT_EQ(ParseManifestLine("   # a comment | with | bars", 2, e, error), LineResult::Skipped);
    EXPECT_EQ(ParseManifestLine(" \t \r", 2, e, error), LineResult::Skipped);
    EXPECT_EQ(ParseManifestLine("\xEF\xBB\xBF# first line", 1, e, error), LineResult::Skipped);
    EXPECT_EQ(ParseManifestLine("\xEF\xBB\xBF" + WithField(1, "A"), 1, e, error), LineResult::Entry) << error;
}

TEST(RtvManifest, EachFaultIsNamedWithItsLine) {
    EXPECT_EQ(LineError("radio | a | http://x", 3).rfind("line 3: 3 fields separated by '|', expected 12", 0), 0u);
    EXPECT_EQ(LineError(WithField(0, "podcast"), 4), "line 4: kind is \"podcast\", expected radio or tv");
    EXPECT_EQ(LineError(WithField(1, " ")), "line 3: the name is empty");
    EXPECT_EQ(LineError(WithField(2, "")), "line 3: the stream address is empty");
    EXPECT_NE(LineError(WithField(2, "rtsp://x.example/a")).find("must contain http://, https:// or mms://"),
              std::string::npos);
    // Secure addresses are addresses, as in the plugin's editor.
    std::string error;
    ManifestEntry secure;
    EXPECT_EQ(ParseManifestLine(WithField(3, "https://x.example"), 3, secure, error), LineResult::Entry) << error;
    EXPECT_EQ(ParseManifestLine(WithField(2, "https://x.example/a"), 3, secure, error), LineResult::Entry) << error;
    EXPECT_NE(LineError(WithField(3, "www.x.example")).find("web site must be empty or begin with http://"), std::string::npos);
    EXPECT_NE(LineError(WithField(4, "x.example/a.pls")).find("playlist"), std::string::npos);
    EXPECT_NE(LineError(WithField(5, "ftp://x")).find("podcast"), std::string::npos);
    EXPECT_EQ(LineError(WithField(6, "Radio \xE4\xB8\xAD"), 7),
              "line 7: slogan: character U+4E2D '\xE4\xB8\xAD' cannot be written in Windows-1252");
    EXPECT_NE(LineError(WithField(7, "a\tb")).find("keywords: control character U+0009"), std::string::npos);
    EXPECT_NE(LineError(WithField(11, "GG00FF")).find("transparent colour \"GG00FF\""), std::string::npos);
    EXPECT_NE(LineError(WithField(10, "initials:12345")).find("not a colour RRGGBB"), std::string::npos);
    EXPECT_NE(LineError(WithField(10, "initials:112233:ABCD")).find("1 to 3 letters"), std::string::npos);
    EXPECT_NE(LineError(WithField(10, "initials:112233:A-B")).find("A-Z and 0-9"), std::string::npos);
}

TEST(RtvManifest, TextsAreLimitedTo259BytesAfterConversion) {
    std::string e259;
    for (int i = 0; i < 259; ++i) e259 += "\xC3\xA9";   // 518 bytes of UTF-8, 259 of Windows-1252
    EXPECT_EQ(ParseGood(WithField(6, e259)).slogan, std::string(259, '\xE9'));
    EXPECT_EQ(LineError(WithField(6, e259 + "x")),
              "line 3: slogan is 260 bytes in Windows-1252; a record holds at most 259");
    EXPECT_NE(LineError(WithField(1, std::string(300, 'n'))).find("name is 300 bytes"), std::string::npos);
}

TEST(RtvLogo, BottomUpTopDownAndPaddedBmpsScaleTo48By48) {
    const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF;
    std::vector<uint32_t> square = {red, green, blue, white};   // top row red, green
    for (int height : {2, -2}) {
        SCOPED_TRACE(height);
        RgbImage image = Decode(MakeBmp(2, height, square));
        ASSERT_EQ(image.width, 2);
        ASSERT_EQ(image.height, 2);
        EXPECT_EQ(image.Pixel(0, 0), red);
        EXPECT_EQ(image.Pixel(1, 1), white);
        uint8_t logo[kLogoBytes];
        ScaleToLogo(image, logo);
        EXPECT_EQ(LogoPixel(logo, 0, 0), red);
        EXPECT_EQ(LogoPixel(logo, 23, 23), red);
        EXPECT_EQ(LogoPixel(logo, 24, 0), green);
        EXPECT_EQ(LogoPixel(logo, 0, 24), blue);
        EXPECT_EQ(LogoPixel(logo, 47, 47), white);
        // The record keeps the bottom row first: its first pixel is the picture's bottom left.
        EXPECT_EQ(logo[0] | (logo[1] << 8) | (logo[2] << 16), static_cast<int>(blue));
    }
    // 3 x 1: 9 bytes a row padded to 12 (the padding is 0xEE and must not show).
    RgbImage row = Decode(MakeBmp(3, 1, {red, green, blue}));
    uint8_t logo[kLogoBytes];
    ScaleToLogo(row, logo);
    for (int y : {0, 47}) {
        EXPECT_EQ(LogoPixel(logo, 0, y), red);
        EXPECT_EQ(LogoPixel(logo, 15, y), red);
        EXPECT_EQ(LogoPixel(logo, 16, y), green);
        EXPECT_EQ(LogoPixel(logo, 31, y), green);
        EXPECT_EQ(LogoPixel(logo, 32, y), blue);
        EXPECT_EQ(LogoPixel(logo, 47, y), blue);
    }
    // A large picture is sampled down, keeping exact colours.
    std::vector<uint32_t> big(100 * 100);
    for (int i = 0; i < 100 * 100; ++i) big[i] = (i % 100) < 50 ? 0xFF00FF : 0x123456;
    ScaleToLogo(Decode(MakeBmp(100, 100, big)), logo);
    EXPECT_EQ(LogoPixel(logo, 23, 10), 0xFF00FFu);
    EXPECT_EQ(LogoPixel(logo, 24, 10), 0x123456u);
}

TEST(RtvLogo, UnusableBmpsAreRefusedWithTheReason) {
    std::string good = MakeBmp(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(DecodeError("GIF89a" + std::string(60, '\0')), "not a BMP file");
    EXPECT_EQ(DecodeError(good.substr(0, 40)), "not a BMP file");
    EXPECT_EQ(DecodeError(good.substr(0, good.size() - 1)), "the BMP file is truncated");
    EXPECT_NE(DecodeError(MakeBmp(2, 2, {1, 2, 3, 4}, 8)).find("only 24-bit"), std::string::npos);
    std::string compressed = good;
    compressed[30] = 1;
    EXPECT_EQ(DecodeError(compressed), "compressed BMP files cannot be logos");
    std::string empty = good;
    Put32(empty, 22, 0);
    EXPECT_NE(DecodeError(empty).find("not usable"), std::string::npos);
    std::string huge = good;
    Put32(huge, 18, 0x7FFFFFFF);
    EXPECT_NE(DecodeError(huge).find("not usable"), std::string::npos);
    std::string farOffset = good;
    Put32(farOffset, 10, 0xFFFFFFF0);
    EXPECT_EQ(DecodeError(farOffset), "the BMP file is truncated");
}

TEST(RtvLogo, InitialsAreDrawnOnADiscOfTheColour) {
    uint8_t logo[kLogoBytes];
    std::string error;
    ASSERT_TRUE(DrawInitialsLogo("FIP", 0xE6007E, 0xFF00FF, logo, error)) << error;
    int disc = 0, ink = 0, other = 0;
    for (int y = 0; y < kLogoSide; ++y) {
        for (int x = 0; x < kLogoSide; ++x) {
            uint32_t p = LogoPixel(logo, x, y);
            if (p == 0xE6007E) ++disc;
            else if (p == 0xFFFFFF) ++ink;
            else if (p != 0xFF00FF) ++other;
        }
    }
    EXPECT_EQ(LogoPixel(logo, 0, 0), 0xFF00FFu);
    EXPECT_EQ(LogoPixel(logo, 47, 47), 0xFF00FFu);
    EXPECT_EQ(LogoPixel(logo, 24, 2), 0xE6007Eu);
    EXPECT_GT(disc, 1000);
    EXPECT_GT(ink, 100);
    EXPECT_EQ(other, 0);

    // A light colour gets dark letters; different letters, different pictures.
    uint8_t light[kLogoBytes], other2[kLogoBytes];
    ASSERT_TRUE(DrawInitialsLogo("FI", 0xFFC800, 0xFF00FF, light, error));
    int black = 0;
    for (int y = 0; y < kLogoSide; ++y)
        for (int x = 0; x < kLogoSide; ++x) black += LogoPixel(light, x, y) == 0;
    EXPECT_GT(black, 100);
    ASSERT_TRUE(DrawInitialsLogo("FJ", 0xFFC800, 0xFF00FF, other2, error));
    EXPECT_NE(memcmp(light, other2, kLogoBytes), 0);

    EXPECT_FALSE(DrawInitialsLogo("AB", 0xFF00FF, 0xFF00FF, logo, error));
    EXPECT_NE(error.find("transparent colour"), std::string::npos);
    EXPECT_FALSE(DrawInitialsLogo("", 0x123456, 0xFF00FF, logo, error));
    EXPECT_FALSE(DrawInitialsLogo("A?", 0x123456, 0xFF00FF, logo, error));

    EXPECT_EQ(InitialsFromName("France Inter"), "FI");
    EXPECT_EQ(InitialsFromName("\xC9" "cole de l'\xC9t\xE9"), "EDL");   // accents folded
    EXPECT_EQ(InitialsFromName("franceinfo"), "FRA");
    EXPECT_EQ(InitialsFromName("** !!"), "");
}

TEST_F(RtvFiles, ABuiltListChecksAndDumpsItsTexts) {
    WriteFile(folder / "logo.bmp", MakeBmp(2, 2, {0xFF0000, 0xFF0000, 0xFF0000, 0x0000FF}));
    WriteFile(folder / "m.txt",
              "# test\n" + std::string(kGoodLine) + "\r\n\n"
              "radio|Deux|http://b.example/s||||||||logo.bmp|\n");
    std::vector<std::string> errors;
    int count = 0;
    ASSERT_TRUE(BuildListFile((folder / "m.txt").string(), (folder / "out.rtv").string(), "Ma liste \xC3\xA9t\xC3\xA9",
                              errors, &count)) << (errors.empty() ? "" : errors[0]);
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(fs::exists(folder / "out.rtv.tmp"));
    std::string bytes = ReadFile(folder / "out.rtv");
    ASSERT_EQ(bytes.size(), 64u + 2 * sizeof(StreamRecord));

    ListCheck check = Check(bytes);
    EXPECT_TRUE(check.valid);
    EXPECT_TRUE(check.warnings.empty()) << check.warnings[0];
    EXPECT_EQ(check.recordCount, 2u);
    EXPECT_STREQ(check.header.listName, "Ma liste \xE9t\xE9");

    // Read back the way the plugin reads it.
    struct Sink {
        static bool Take(void* context, StreamRecord* r) {
            static_cast<std::vector<StreamRecord>*>(context)->push_back(*r);
            delete r;
            return true;
        }
    };
    std::vector<StreamRecord> records;
    ASSERT_EQ(ReadListFile((folder / "out.rtv").string().c_str(), Sink::Take, &records), ListReadResult::Read);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_STREQ(records[0].name, "T\xE9l\xE9 Une");
    EXPECT_EQ(records[0].kind, kStreamKindTv);
    EXPECT_EQ(records[0].transparentColour, 0x00FF00);
    EXPECT_EQ(records[1].index, 1);
    EXPECT_EQ(records[1].transparentColour, 0xFF00FF);
    EXPECT_EQ(LogoPixel(records[1].logo, 0, 0), 0xFF0000u);
    EXPECT_EQ(LogoPixel(records[1].logo, 47, 47), 0x0000FFu);

    std::string dump = DumpListBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_NE(dump.find("list name \"Ma liste \xC3\xA9t\xC3\xA9\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("kind 1 (tv), transparent colour 00FF00"), std::string::npos) << dump;
    EXPECT_NE(dump.find("name: T\xC3\xA9l\xC3\xA9 Une"), std::string::npos);
    EXPECT_NE(dump.find("slogan: L\xE2\x80\x99info \xE2\x82\xAC"), std::string::npos);
    EXPECT_NE(dump.find("kind 0 (radio), transparent colour FF00FF"), std::string::npos);
}

TEST_F(RtvFiles, AManifestWithFaultsReportsEveryLineAndKeepsTheOldList) {
    std::string old = ValidList();
    WriteFile(folder / "bad.txt", "radio|A|http://a\n# fine\ntv|B|http://b||||||||missing.bmp|\n" +
                                      WithField(6, "\xE4\xB8\xAD") + "\n");
    std::vector<std::string> errors;
    EXPECT_FALSE(BuildListFile((folder / "bad.txt").string(), (folder / "one.rtv").string(), "", errors));
    std::string prefix = (folder / "bad.txt").string();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind(prefix + ":1: 3 fields", 0), 0u) << errors[0];
    EXPECT_EQ(errors[1].rfind(prefix + ":4: slogan: character U+4E2D", 0), 0u) << errors[1];
    EXPECT_EQ(ReadFile(folder / "one.rtv"), old);

    // Once the lines parse, a logo that cannot be read is reported with its line.
    WriteFile(folder / "bad.txt", "tv|B|http://b||||||||missing.bmp|\n");
    errors.clear();
    EXPECT_FALSE(BuildListFile((folder / "bad.txt").string(), (folder / "one.rtv").string(), "", errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(":1: logo: cannot open"), std::string::npos) << errors[0];
    EXPECT_EQ(ReadFile(folder / "one.rtv"), old);

    errors.clear();
    EXPECT_FALSE(BuildListFile((folder / "m.txt").string(), (folder / "x.rtv").string(), std::string(32, 'n'), errors));
    EXPECT_NE(errors[0].find("1 to 31 bytes"), std::string::npos);
    errors.clear();
    EXPECT_FALSE(BuildListFile((folder / "none.txt").string(), (folder / "x.rtv").string(), "", errors));
    EXPECT_NE(errors[0].find("cannot open"), std::string::npos);
}

TEST_F(RtvFiles, BrokenListsAreToldApart) {
    std::string valid = ValidList();
    ASSERT_EQ(valid.size(), 64u + sizeof(StreamRecord));
    EXPECT_TRUE(Check(valid).valid);

    EXPECT_TRUE(AnyContains(CheckListFile((folder / "absent.rtv").string()).errors, "cannot open"));
    EXPECT_EQ(Check("").errors, std::vector<std::string>{"the file is empty"});
    EXPECT_TRUE(AnyContains(Check(valid.substr(0, 30)).errors, "30 bytes, shorter than the 64-byte header"));
    EXPECT_TRUE(Check(valid.substr(0, 64)).valid);   // a header and no record

    std::string version = valid;
    Put32(version, 0, 0);
    EXPECT_TRUE(AnyContains(Check(version).errors, "bad version 0"));
    Put32(version, 0, 7);
    EXPECT_TRUE(Check(version).valid);
    std::string header = valid;
    Put32(header, 4, 63);
    EXPECT_TRUE(AnyContains(Check(header).errors, "bad header size 63"));

    ListCheck partial = Check(valid + std::string(100, 'x'));
    EXPECT_TRUE(partial.valid);
    EXPECT_TRUE(AnyContains(partial.warnings, "100 bytes after the last whole record"));

    std::string garbage(5000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919 + 13) % 251);
    EXPECT_FALSE(Check(garbage).valid);

    std::string unterminated = valid;
    memset(&unterminated[64 + offsetof(StreamRecord, slogan)], 'z', kTextFieldSize);
    ListCheck u = Check(unterminated);
    EXPECT_FALSE(u.valid);
    EXPECT_TRUE(AnyContains(u.errors, "record 1 (T\xC3\xA9l\xC3\xA9 Une): the slogan field has no terminator"));
    // The dump stays within the field and still prints.
    std::string dump = DumpListBytes(reinterpret_cast<const uint8_t*>(unterminated.data()), unterminated.size());
    EXPECT_NE(dump.find("slogan: " + std::string(260, 'z') + "\n"), std::string::npos);

    std::string kind = valid;
    kind[64 + offsetof(StreamRecord, kind)] = 2;
    EXPECT_TRUE(AnyContains(Check(kind).errors, "kind 2 is neither 0 (radio) nor 1 (television)"));

    // Many broken records: the report stays short.
    std::string many = valid.substr(0, 64);
    for (int i = 0; i < 50; ++i) many += kind.substr(64);
    ListCheck m = Check(many);
    EXPECT_EQ(m.errors.size(), kMaxReportedRecordFaults + 1);
    EXPECT_TRUE(AnyContains(m.errors, "... and 30 more"));
}

TEST(ListChecker, InputInAnyPiecesGivesTheSameFindingsAndEndlessInputStops) {
    // The same file fed a byte at a time and whole.
    std::string header(64, '\0');
    header[0] = 1;
    header[4] = 64;
    header[8] = 2;
    std::string record(sizeof(StreamRecord), '\0');
    memcpy(&record[offsetof(StreamRecord, name)], "Un", 2);
    memcpy(&record[offsetof(StreamRecord, address)], "http://un.example/", 18);
    std::string file = header + record + record + std::string(7, 'x');
    ListChecker bytewise;
    for (char c : file) bytewise.Feed(reinterpret_cast<const uint8_t*>(&c), 1);
    ListCheck one = bytewise.Finish();
    ListCheck whole = Check(file);
    EXPECT_TRUE(one.valid);
    EXPECT_EQ(one.recordCount, 2u);
    EXPECT_EQ(one.trailingBytes, 7u);
    EXPECT_EQ(one.warnings, whole.warnings);

    // Records for ever: the checker asks for no more after its limit, holding one record at a time.
    ListChecker endless;
    ASSERT_TRUE(endless.Feed(reinterpret_cast<const uint8_t*>(header.data()), header.size()));
    size_t fed = 0;
    while (endless.Feed(reinterpret_cast<const uint8_t*>(record.data()), record.size())) ASSERT_LE(++fed, kMaxCheckedRecords);
    ListCheck stopped = endless.Finish();
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.valid);
    EXPECT_EQ(stopped.recordCount, kMaxCheckedRecords);
    EXPECT_TRUE(AnyContains(stopped.errors, "far beyond any list: stopped reading"));
    EXPECT_TRUE(AnyContains(stopped.warnings, "the plugin keeps only the first 4096"));
}

TEST_F(RtvFiles, TheSampleManifestBuildsIntoAValidList) {
    std::string manifest = std::string(ONDARIA_SOURCE_DIR) + "/tools/sample_list/stations.txt";
    std::string out = (folder / "Ondaria.rtv").string();
    std::vector<std::string> errors;
    int count = 0;
    ASSERT_TRUE(BuildListFile(manifest, out, "Ondaria", errors, &count)) << (errors.empty() ? "" : errors[0]);
    ListCheck check = CheckListFile(out);
    EXPECT_TRUE(check.valid);
    EXPECT_TRUE(check.warnings.empty());
    EXPECT_STREQ(check.header.listName, "Ondaria");
    EXPECT_GE(count, 20);

    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(ReadWholeFile(out, bytes, error, SIZE_MAX));
    int tv = 0;
    bool inter = false;
    for (int i = 0; i < count; ++i) {
        StreamRecord r;
        memcpy(&r, bytes.data() + 64 + i * sizeof r, sizeof r);
        tv += r.kind;
        inter |= strcmp(r.name, "France Inter") == 0;
        EXPECT_NE(r.slogan[0], 0) << r.name;
        EXPECT_NE(r.keywords[0], 0) << r.name;
        EXPECT_NE(r.website[0], 0) << r.name;
        EXPECT_EQ(LogoPixel(r.logo, 0, 0), static_cast<uint32_t>(r.transparentColour)) << r.name;
    }
    EXPECT_TRUE(inter);
    EXPECT_GT(tv, 0);
    EXPECT_LT(tv, count);
}
