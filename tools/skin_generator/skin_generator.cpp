// Writes the stand-in host's two sample skins: skin_generator OUT_DIR
// creates OUT_DIR (if needed), OUT_DIR/skin_blue.bmp and OUT_DIR/skin_amber.bmp.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/skin_generator/skin_image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_generator OUT_DIR\n");
        return 2;
    }
    std::error_code ignored;
    std::filesystem::create_directories(argv[1], ignored);
    if (!skin::WriteSampleSkins(argv[1])) {
        std::fprintf(stderr, "skin_generator: cannot write the skin images into %s\n", argv[1]);
        return 1;
    }
    std::printf("%s/%s\n%s/%s\n", argv[1], skin::BlueSkin().fileName, argv[1], skin::AmberSkin().fileName);
    return 0;
}
