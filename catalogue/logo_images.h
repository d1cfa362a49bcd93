// Logos for records from the plugin's bitmaps and from picture files of any
// common format (PNG, JPEG, GIF, ICO, BMP), decoded by the system's GDI+.
#pragma once

#include <windows.h>

#include <cstdint>

#include "catalogue/portable/logo_scaling.h"
#include "catalogue/portable/stream_record.h"

// The module holding the code, which also holds its bitmaps (the plugin DLL,
// or a test program linked with the plugin's resources).
HMODULE CodeModule();

// How a record's logo lies in memory: 48 x 48, 24 bits, bottom row first.
BITMAPINFO LogoBitmapInfo();

// A bitmap resource of `module` stretched to 48 x 48, in the record's layout.
bool ReadLogoResource(HMODULE module, int resourceId, uint8_t (&logo)[kLogoBytes]);

enum class PictureReading {
    Read,
    Unreadable,   // no picture the system can read
    TooLarge,     // more pixels than a logo is made from; refused before decoding
};

// A picture file decoded by the system and scaled to 48 x 48 (aspect kept,
// centred), before any key colour: KeyScaledPicture makes the logo of it,
// now and again when the key colour changes. `picture` is complete only
// when the result is Read.
PictureReading ReadScaledPicture(const char* path, ScaledPicture& picture);
// The same for a picture in memory (a logo downloaded).
PictureReading ReadScaledPictureBytes(const void* bytes, size_t size, ScaledPicture& picture);
