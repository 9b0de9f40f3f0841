// Lines and point markers written straight into a 32-bit pixel buffer,
// pixel for pixel as GDI draws them with a solid one-pixel pen: a line from
// its start to its end, the end pixel excluded, stepping as GDI's line
// algorithm steps in each of the eight directions. Pixels outside the buffer
// are left out, and a line that leaves it keeps the pixels it has inside.
// Touches nothing but the buffer it is given.
#pragma once

#include <cstdint>

struct PixelBuffer {
    uint32_t* pixels;  // rows top-down, width pixels each
    int width;
    int height;
};

void DrawPixelLine(const PixelBuffer& buffer, int x1, int y1, int x2, int y2, uint32_t colour);

enum PixelMarkerShape {
    PIXEL_MARKER_RING,  // the outline of the 5 by 5 ellipse around the point: 12 pixels
    PIXEL_MARKER_DOT    // the ellipse filled: 21 pixels
};
void DrawPixelMarker(const PixelBuffer& buffer, int x, int y, PixelMarkerShape shape,
                     uint32_t colour);
