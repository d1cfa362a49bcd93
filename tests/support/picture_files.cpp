#include "tests/support/picture_files.h"

#include <cstdio>

namespace {

void Put32Big(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void Put32Little(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void Put16Little(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    Put32Big(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    Put32Big(png, Crc32(typed.data(), typed.size()));
}

}  // namespace

bool WriteBytesFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool WritePngFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32Big(header, width);
    Put32Big(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});   // 8 bits, RGBA, deflate, no filter method, no interlace
    Chunk(png, "IHDR", header);

    std::vector<uint8_t> raw;   // each row: filter type 0, then R G B A
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                   static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
        }
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0;) {
        size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
        const bool last = at + length >= raw.size();
        zlib.push_back(last ? 1 : 0);   // a stored block
        Put16Little(zlib, static_cast<uint32_t>(length));
        Put16Little(zlib, static_cast<uint32_t>(~length & 0xFFFF));
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
        if (last) break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    Put32Big(zlib, (b << 16) | a);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return WriteBytesFile(path, png);
}

bool WriteIcoFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    const int maskStride = ((width + 31) / 32) * 4;
    const uint32_t imageSize = 40 + width * height * 4 + maskStride * height;
    std::vector<uint8_t> ico;
    Put16Little(ico, 0);
    Put16Little(ico, 1);   // an icon
    Put16Little(ico, 1);   // one image
    ico.push_back(static_cast<uint8_t>(width));
    ico.push_back(static_cast<uint8_t>(height));
    ico.push_back(0);
    ico.push_back(0);
    Put16Little(ico, 1);
    Put16Little(ico, 32);
    Put32Little(ico, imageSize);
    Put32Little(ico, 6 + 16);
    // BITMAPINFOHEADER with the double height of icons.
    Put32Little(ico, 40);
    Put32Little(ico, width);
    Put32Little(ico, height * 2);
    Put16Little(ico, 1);
    Put16Little(ico, 32);
    for (int k = 0; k < 6; ++k) Put32Little(ico, k == 1 ? width * height * 4 : 0);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) Put32Little(ico, pixels[static_cast<size_t>(y) * width + x]);
    // The AND mask: set where the pixel is transparent.
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < width; ++x)
            if ((pixels[static_cast<size_t>(y) * width + x] >> 24) == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        ico.insert(ico.end(), row.begin(), row.end());
    }
    return WriteBytesFile(path, ico);
}

namespace {

// Bits of a deflate stream, least significant first.
struct BitWriter {
    std::vector<uint8_t>& out;
    uint32_t pending = 0;
    int count = 0;
    void Put(uint32_t bits, int length) {
        for (int k = 0; k < length; ++k) {
            pending |= ((bits >> k) & 1u) << count;
            if (++count == 8) Flush();
        }
    }
    // Huffman codes go most significant bit first.
    void PutCode(uint32_t code, int length) {
        for (int k = length - 1; k >= 0; --k) Put((code >> k) & 1u, 1);
    }
    void Flush() {
        if (count == 0) return;
        out.push_back(static_cast<uint8_t>(pending));
        pending = 0;
        count = 0;
    }
};

}  // namespace

bool WriteBlankPngFile(const std::string& path, int width, int height) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32Big(header, width);
    Put32Big(header, height);
    header.insert(header.end(), {1, 0, 0, 0, 0});   // 1-bit grey: every byte of the image data is 0
    Chunk(png, "IHDR", header);

    // One block of fixed codes: a literal 0, then copies of the byte before.
    const uint64_t total = static_cast<uint64_t>(height) * (1 + (static_cast<uint64_t>(width) + 7) / 8);
    std::vector<uint8_t> zlib = {0x78, 0x01};
    BitWriter bits{zlib};
    bits.Put(1, 1);   // last block
    bits.Put(1, 2);   // fixed codes
    bits.PutCode(0x30, 8);   // literal 0
    constexpr int kLongestCopy = 258;
    for (uint64_t left = total - 1; left > 0;) {
        // Never leave a remainder of 1 or 2, which no copy can take.
        uint64_t copy = left > kLongestCopy + 2 ? kLongestCopy : (left > kLongestCopy ? left - 3 : left);
        if (copy < 3) {   // only at the very end: literals
            for (; left > 0; --left) bits.PutCode(0x30, 8);
            break;
        }
        // Length codes 257..285 with their extra bits (RFC 1951, 3.2.5).
        static const int kBase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67,
                                    83, 99, 115, 131, 163, 195, 227, 258};
        static const int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        int index = 28;
        while (kBase[index] > static_cast<int>(copy)) --index;
        const int symbol = 257 + index;
        // Fixed codes: 256-279 are 7 bits from 0, 280-287 are 8 bits from 0xC0.
        if (symbol <= 279) bits.PutCode(static_cast<uint32_t>(symbol - 256), 7);
        else bits.PutCode(static_cast<uint32_t>(0xC0 + symbol - 280), 8);
        bits.Put(static_cast<uint32_t>(copy - kBase[index]), kExtra[index]);
        bits.PutCode(0, 5);   // distance 1
        left -= copy;
    }
    bits.PutCode(0, 7);   // end of block
    bits.Flush();
    // Adler-32 of zeros: a stays 1, b adds 1 a byte.
    Put32Big(zlib, static_cast<uint32_t>((total % 65521) << 16 | 1));
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return WriteBytesFile(path, png);
}
