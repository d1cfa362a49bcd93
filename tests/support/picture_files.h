// Picture files written by the tests, byte by byte, so that the system's own
// decoders read real files: PNG (RGBA, stored deflate blocks) and ICO (one
// 32-bit image with its alpha and an AND mask).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `pixels` are 0xAARRGGBB, rows top first.
bool WritePngFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
bool WriteIcoFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
// A picture of any size, all black, in a few hundred kilobytes: 1-bit grey
// whose image data is one literal and copies of it.
bool WriteBlankPngFile(const std::string& path, int width, int height);
bool WriteBytesFile(const std::string& path, const std::vector<uint8_t>& bytes);
