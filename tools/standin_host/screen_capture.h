// A 24-bit BMP of the whole screen, taken with GDI from the desktop.
#pragma once

#include <string>

namespace standin {

// Returns 1 when the file was written, 0 otherwise.
int CaptureScreenToBmp(const std::string& path);

}  // namespace standin
