// Lines and markers in a pixel buffer. The lines are checked against a walk
// of GDI's line steps from the start pixel, one step at a time, keeping the
// pixels that fall inside: the drawing itself jumps to the first pixel
// inside, which is where an off-by-one would hide.
#include "canvas/pixel_drawing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Buffer {
    int width, height;
    std::vector<uint32_t> pixels;
    Buffer(int w, int h) : width(w), height(h), pixels((size_t)(w * h), 0) {}
    PixelBuffer View() { return {pixels.data(), width, height}; }
};

// GDI's steps, walked: x major in octants 1, 4, 5 and 8, and a tie steps the
// minor axis in octants 3, 5, 6 and 8.
void WalkLine(Buffer* b, int x1, int y1, int x2, int y2, uint32_t colour) {
    int dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 && dy == 0) return;
    int octant = dy > 0 ? (dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3))
                        : (dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7));
    bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
    int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    int major = xMajor ? std::abs(dx) : std::abs(dy), minor = xMajor ? std::abs(dy) : std::abs(dx);
    int xStep = dx > 0 || (dx == 0 && (octant == 7 || octant == 8)) ? 1 : -1;
    int yStep = octant <= 4 ? 1 : -1;
    int x = x1, y = y1, error = 2 * minor - major;
    for (int k = 0; k < major; ++k) {
        if (x >= 0 && x < b->width && y >= 0 && y < b->height)
            b->pixels[(size_t)(y * b->width + x)] = colour;
        bool minorStep = error + bias > 0;
        error += minorStep ? 2 * minor - 2 * major : 2 * minor;
        if (xMajor) {
            x += xStep;
            if (minorStep) y += yStep;
        } else {
            y += yStep;
            if (minorStep) x += xStep;
        }
    }
}

::testing::AssertionResult SameAsWalked(int width, int height, int x1, int y1, int x2, int y2) {
    Buffer drawn(width, height), walked(width, height);
    DrawPixelLine(drawn.View(), x1, y1, x2, y2, 7);
    WalkLine(&walked, x1, y1, x2, y2, 7);
    if (drawn.pixels == walked.pixels) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "line (" << x1 << ", " << y1 << ") to (" << x2 << ", "
                                         << y2 << ") in " << width << " x " << height;
}

std::string Picture(const Buffer& b) {
    std::string text;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) text += b.pixels[(size_t)(y * b.width + x)] ? '#' : '.';
        text += '\n';
    }
    return text;
}

}  // namespace

TEST(PixelDrawing, EveryShortLineAroundASmallBufferAsWalked) {
    // Every line between two points of a 17 x 17 grid around a 5 x 4 buffer:
    // all eight directions, the ties, and every way of entering and leaving.
    int failures = 0;
    for (int x1 = -6; x1 <= 10 && failures < 5; ++x1)
        for (int y1 = -6; y1 <= 10; ++y1)
            for (int x2 = -6; x2 <= 10; ++x2)
                for (int y2 = -6; y2 <= 10; ++y2)
                    if (!SameAsWalked(5, 4, x1, y1, x2, y2)) {
                        ADD_FAILURE() << SameAsWalked(5, 4, x1, y1, x2, y2).message();
                        ++failures;
                    }
}

TEST(PixelDrawing, LongLinesFromFarOutsideAsWalked) {
    unsigned seed = 7;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return (int)((seed >> 8) % (unsigned)range);
    };
    for (int i = 0; i < 6000; ++i) {
        // Ends up to 70000 pixels away, as at zoom 1/1; some lines pass the
        // buffer closely, some cross it.
        int spread = i % 3 == 0 ? 140001 : 2001;
        int x1 = next(spread) - spread / 2 + 150, y1 = next(spread) - spread / 2 + 100;
        int x2 = next(spread) - spread / 2 + 150, y2 = next(spread) - spread / 2 + 100;
        ASSERT_TRUE(SameAsWalked(300, 200, x1, y1, x2, y2));
    }
}

TEST(PixelDrawing, LinesExcludeTheirEndAndStayWithinOneRowOrColumnPerStep) {
    Buffer b(6, 4);
    DrawPixelLine(b.View(), 0, 0, 5, 2, 1);  // right and down, x major
    DrawPixelLine(b.View(), 5, 3, 0, 3, 1);  // leftwards along the last row
    EXPECT_EQ(Picture(b),
              "##....\n"
              "..##..\n"
              "....#.\n"
              ".#####\n");
    Buffer dotOnly(3, 3);
    DrawPixelLine(dotOnly.View(), 1, 1, 1, 1, 1);
    EXPECT_EQ(Picture(dotOnly), "...\n...\n...\n") << "a line of no length draws nothing";
}

TEST(PixelDrawing, MarkersAreTheFiveByFiveEllipseAndClipAtTheEdges) {
    Buffer ring(7, 7), dot(7, 7), corner(3, 3);
    DrawPixelMarker(ring.View(), 3, 3, PIXEL_MARKER_RING, 1);
    DrawPixelMarker(dot.View(), 3, 3, PIXEL_MARKER_DOT, 1);
    DrawPixelMarker(corner.View(), 0, 0, PIXEL_MARKER_DOT, 1);
    EXPECT_EQ(Picture(ring),
              ".......\n"
              "..###..\n"
              ".#...#.\n"
              ".#...#.\n"
              ".#...#.\n"
              "..###..\n"
              ".......\n");
    EXPECT_EQ(Picture(dot),
              ".......\n"
              "..###..\n"
              ".#####.\n"
              ".#####.\n"
              ".#####.\n"
              "..###..\n"
              ".......\n");
    EXPECT_EQ(Picture(corner),
              "###\n"
              "###\n"
              "##.\n");
}
