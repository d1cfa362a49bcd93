// Any picture made into a record's 48 x 48 logo: area-averaged, aspect kept,
// centred, with what is transparent and the margins in the key colour.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/portable/stream_record.h"

// `pixels` are `width` x `height` values 0xAARRGGBB, rows top first. Each
// logo pixel is the average of the picture's pixels under it, weighted by
// how much of each it covers and by their opacity; one that comes out more
// transparent than opaque, and every pixel of the margins left by a picture
// that is not square, takes `keyColour` (0x00RRGGBB). The logo is written as
// records keep it: bottom row first, blue, green, red. Nothing is written
// for an empty picture; false then.
bool ScaleToLogoArgb(const uint32_t* pixels, int width, int height, uint32_t keyColour,
                     uint8_t (&logo)[kLogoBytes]);

// A picture at the logo's size before it meets a key colour: 0xFFRRGGBB
// where it shows, 0 where it is transparent or a margin; rows top first.
// Kept, it takes any later key colour without being read again.
struct ScaledPicture {
    uint32_t pixels[kLogoSide * kLogoSide];
};
// Read where a decoder leaves its pixels: rows `stride` bytes apart from
// `firstRow` (the top one), so that no copy of a large picture is made.
bool ScalePictureRows(const uint8_t* firstRow, ptrdiff_t stride, int width, int height, ScaledPicture& picture);
// The logo that a scaled picture makes with `keyColour` (0x00RRGGBB).
void KeyScaledPicture(const ScaledPicture& picture, uint32_t keyColour, uint8_t (&logo)[kLogoBytes]);
