// PNG logos for the rtv tool, decoded by stb_image (Debian's libstb-dev).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/portable/stream_record.h"

// True when the bytes begin with the PNG signature.
bool IsPng(const uint8_t* data, size_t size);

// Decodes a PNG and makes the logo as the plugin does for pictures: area
// averaged to 48 x 48, aspect kept and centred, transparent parts and the
// margins in `keyColour` (0x00RRGGBB). False, with a message, when it cannot.
bool LogoFromPng(const uint8_t* data, size_t size, uint32_t keyColour, uint8_t (&logo)[kLogoBytes],
                 std::string& error);
