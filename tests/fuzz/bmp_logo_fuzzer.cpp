// BMP logos read by the rtv tool. Properties: an accepted image has the size
// its pixels fill and fits the limits; scaled to a logo, every logo pixel is
// one of the image's pixels.
#include <set>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "tools/rtv_tool/logo_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RgbImage image;
    std::string error;
    if (!DecodeBmp24(data, size, image, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(image.width > 0 && image.height > 0 && image.width <= kMaxBmpSide && image.height <= kMaxBmpSide);
    FUZZ_CHECK(image.bgr.size() == static_cast<size_t>(image.width) * image.height * 3);
    if (static_cast<size_t>(image.width) * image.height > 4096) return 0;   // keep each run short
    std::set<uint32_t> colours;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) colours.insert(image.Pixel(x, y));
    uint8_t logo[kLogoBytes];
    ScaleToLogo(image, logo);
    for (int y = 0; y < kLogoSide; ++y)
        for (int x = 0; x < kLogoSide; ++x) FUZZ_CHECK(colours.count(LogoPixel(logo, x, y)) == 1);
    return 0;
}
