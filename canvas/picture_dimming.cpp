// Dimming arithmetic of the template picture.
#include "canvas/picture_dimming.h"

size_t DibRowBytes(int width) {
    if (width <= 0 || width > 0x10000000) return 0;
    return ((size_t)width * 3 + 3) & ~(size_t)3;
}

size_t DibImageBytes(int width, int height) {
    size_t row = DibRowBytes(width);
    if (row == 0 || height <= 0) return 0;
    if ((size_t)height > (size_t)0x7FFFFFFF / row) return 0;
    return row * (size_t)height;
}

void DimToOneThird(uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) bytes[i] = (uint8_t)(bytes[i] / 3);
}
