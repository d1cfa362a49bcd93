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
bool WriteBytesFile(const std::string& path, const std::vector<uint8_t>& bytes);
