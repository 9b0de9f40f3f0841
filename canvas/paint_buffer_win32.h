// The canvas's picture off the screen: a 32-bit bitmap of the client's size
// in a memory DC, kept from one paint to the next and made anew when the size
// changes. A paint draws the whole scene into it and copies it to the window
// in one go, so the window shows no half-drawn scene, and the lines and
// markers are written into its pixels directly.
#pragma once

#include <windows.h>

#include "canvas/pixel_drawing.h"

struct PaintBuffer {
    HDC dc;              // the memory DC holding the bitmap
    PixelBuffer pixels;  // the bitmap's pixels, 0x00RRGGBB
};

// The buffer for a client area of width x height; false when it cannot be
// had (no memory, an empty area): the caller then draws on the window.
bool OpenPaintBuffer(int width, int height, PaintBuffer* buffer);
// Gives the buffer's memory back, for when the canvas goes away.
void ReleasePaintBuffer();

// A COLORREF (0x00BBGGRR) as a pixel of the buffer.
uint32_t BufferColour(COLORREF colour);
