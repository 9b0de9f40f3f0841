// Dimming of the template picture's pixels, kept apart from the bitmap
// handling so that it can be checked without a window system.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes per row of a 24-bit bottom-up device-independent bitmap: three per
// pixel, padded to a multiple of four. 0 when the width is not positive or
// the size would not fit.
size_t DibRowBytes(int width);

// Size of the whole 24-bit image, or 0 when it cannot be held.
size_t DibImageBytes(int width, int height);

// Every byte, padding included, becomes a third of itself (remainder dropped).
void DimToOneThird(uint8_t* bytes, size_t count);
