// GDI's line algorithm, written for one buffer and one colour. A line steps
// one pixel along its major axis each time and along its minor axis when an
// error term says so; in four of the eight directions a tie steps too. Where a
// line crosses the buffer's edges the error term at the first pixel inside is
// computed, not walked to, so a line of any length costs only the pixels it
// has inside.
#include "canvas/pixel_drawing.h"

#include <cstddef>

namespace {

// GDI's numbering: 1 is right and down with x the major axis, counting on
// clockwise on the screen (y grows down).
int Octant(int64_t dx, int64_t dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

int64_t CeilDiv(int64_t a, int64_t b) {  // b > 0
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// The range of steps k in [first, last] for which start + step * k lies in
// [0, size); empty when first > last.
void KeepInside(int64_t start, int step, int size, int64_t* first, int64_t* last) {
    int64_t low = step > 0 ? -start : start - (size - 1);
    int64_t high = step > 0 ? size - 1 - start : start;
    if (low > *first) *first = low;
    if (high < *last) *last = high;
}

}  // namespace

void DrawPixelLine(const PixelBuffer& buffer, int x1, int y1, int x2, int y2, uint32_t colour) {
    int64_t dx = (int64_t)x2 - x1, dy = (int64_t)y2 - y1;
    if (dx == 0 && dy == 0) return;
    int octant = Octant(dx, dy);
    bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
    int xStep = (octant <= 2 || octant >= 7) ? 1 : -1;
    int yStep = octant <= 4 ? 1 : -1;
    int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    int64_t absDx = dx < 0 ? -dx : dx, absDy = dy < 0 ? -dy : dy;
    int64_t major = xMajor ? absDx : absDy, minor = xMajor ? absDy : absDx;
    int64_t majorStart = xMajor ? x1 : y1, minorStart = xMajor ? y1 : x1;
    int majorStep = xMajor ? xStep : yStep, minorStep = xMajor ? yStep : xStep;
    int majorSize = xMajor ? buffer.width : buffer.height;
    int minorSize = xMajor ? buffer.height : buffer.width;

    // Pixel k (0 to major - 1) lies minorSteps(k) = floor((2 minor k + c) /
    // (2 major)) steps along the minor axis, with c = major + bias - 1.
    int64_t c = major + bias - 1;
    int64_t first = 0, last = major - 1;
    KeepInside(majorStart, majorStep, majorSize, &first, &last);
    // Minor steps from lowSteps to highSteps keep a pixel inside.
    int64_t lowSteps = minorStep > 0 ? -minorStart : minorStart - (minorSize - 1);
    int64_t highSteps = minorStep > 0 ? minorSize - 1 - minorStart : minorStart;
    if (highSteps < 0) return;
    if (minor == 0) {
        if (lowSteps > 0) return;
    } else {
        if (lowSteps > 0) {
            int64_t k = CeilDiv(2 * major * lowSteps - c, 2 * minor);
            if (k > first) first = k;
        }
        int64_t k = CeilDiv(2 * major * (highSteps + 1) - c, 2 * minor) - 1;
        if (k < last) last = k;
    }
    if (first > last) return;

    int64_t steps = minor == 0 ? 0 : (2 * minor * first + c) / (2 * major);
    int64_t error = 2 * minor * (first + 1) - major - 2 * major * steps;
    int64_t atMajor = majorStart + majorStep * first;
    int64_t atMinor = minorStart + minorStep * steps;
    int64_t x = xMajor ? atMajor : atMinor, y = xMajor ? atMinor : atMajor;
    ptrdiff_t at = (ptrdiff_t)(y * buffer.width + x);
    ptrdiff_t majorMove = xMajor ? xStep : (ptrdiff_t)yStep * buffer.width;
    ptrdiff_t minorMove = xMajor ? (ptrdiff_t)yStep * buffer.width : xStep;
    int64_t stepError = 2 * minor - 2 * major, plainError = 2 * minor;
    uint32_t* pixels = buffer.pixels;
    for (int64_t count = last - first + 1; count > 0; --count) {
        pixels[at] = colour;
        if (error + bias > 0) {
            at += minorMove;
            error += stepError;
        } else {
            error += plainError;
        }
        at += majorMove;
    }
}

void DrawPixelMarker(const PixelBuffer& buffer, int x, int y, PixelMarkerShape shape,
                     uint32_t colour) {
    // Rows of the marker from y - 2 to y + 2: the first and last column of
    // each, and for the ring whether only those two ends are drawn.
    static const int ringLeft[5] = {-1, -2, -2, -2, -1}, ringRight[5] = {1, 2, 2, 2, 1};
    for (int row = 0; row < 5; ++row) {
        int py = y - 2 + row;
        if (py < 0 || py >= buffer.height) continue;
        uint32_t* line = buffer.pixels + (ptrdiff_t)py * buffer.width;
        int left = x + ringLeft[row], right = x + ringRight[row];
        bool whole = shape == PIXEL_MARKER_DOT || row == 0 || row == 4;
        for (int px = left; px <= right; px += whole ? 1 : right - left) {
            if (px >= 0 && px < buffer.width) line[px] = colour;
        }
    }
}
