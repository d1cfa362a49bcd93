#include "tools/rtv_tool/png_logo.h"

#include <cstring>
#include <vector>

#include "catalogue/portable/logo_scaling.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include "stb/stb_image.h"

namespace {
const uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Larger pictures are refused before stb allocates for them.
constexpr int kMaxPngSide = 8192;
}  // namespace

bool IsPng(const uint8_t* data, size_t size) {
    return size >= sizeof kPngSignature && memcmp(data, kPngSignature, sizeof kPngSignature) == 0;
}

bool LogoFromPng(const uint8_t* data, size_t size, uint32_t keyColour, uint8_t (&logo)[kLogoBytes],
                 std::string& error) {
    int width = 0, height = 0, channels = 0;
    if (!IsPng(data, size) || size > static_cast<size_t>(INT32_MAX) ||
        !stbi_info_from_memory(data, static_cast<int>(size), &width, &height, &channels)) {
        error = "not a PNG picture";
        return false;
    }
    if (width <= 0 || height <= 0 || width > kMaxPngSide || height > kMaxPngSide) {
        error = "a PNG of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large";
        return false;
    }
    stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
    if (rgba == nullptr) {
        error = std::string("the PNG cannot be decoded: ") + stbi_failure_reason();
        return false;
    }
    std::vector<uint32_t> argb(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < argb.size(); ++i) {
        const stbi_uc* p = rgba + i * 4;
        argb[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    stbi_image_free(rgba);
    return ScaleToLogoArgb(argb.data(), width, height, keyColour, logo);
}
