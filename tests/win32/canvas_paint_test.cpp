// What a full paint of the real canvas puts on the screen, and the scroll
// bars it writes.
#include <algorithm>
#include <string>
#include <vector>

#include "canvas/canvas_scene.h"
#include "canvas/scene_drawing_win32.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "tests/win32/canvas_host_fixture.h"

namespace {

const COLORREF GREEN = 0x00FF00, BLUE = 0xFF0000, RED = 0x0000FF, DARK_RED = 0x000080,
               WHITE = 0xFFFFFF, BLACK = 0;

class CanvasPaintTest : public ::testing::Test {
protected:
    void SetUp() override { ResetCanvasHost(); }
    void Put(int16_t x, int16_t y, int16_t flags = POINT_VISIBLE) {
        workingFrame.points[workingFrame.count++] = {flags, x, y};
    }
    void ExpectPaintAsDrawnOneByOne(int zoomShift);
    SCROLLINFO Bar(int bar) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(host.canvas, bar, &info);
        return info;
    }
};

// Counts of white and black pixels along a line, and of anything else.
struct Dots {
    int white = 0, black = 0, other = 0;
};
Dots Along(int x0, int y0, int dx, int dy, int n) {
    Dots dots;
    for (int i = 0; i < n; ++i) {
        COLORREF c = PixelAt(x0 + i * dx, y0 + i * dy);
        if (c == WHITE)
            ++dots.white;
        else if (c == BLACK)
            ++dots.black;
        else
            ++dots.other;
    }
    return dots;
}

}  // namespace

TEST_F(CanvasPaintTest, FrameBoxAndDottedAxesAtTheirPositions) {
    // Scrolled to the top-left corner of the extent: the box edge is at
    // -512 + 523 = 11 and the axes at 523.
    viewState.originX = -523;
    viewState.originY = -523;
    RepaintNow();
    Capture();
    EXPECT_EQ(PixelAt(11, 300), DARK_RED);
    EXPECT_EQ(PixelAt(300, 11), DARK_RED);
    EXPECT_EQ(PixelAt(10, 300), BLACK);
    EXPECT_EQ(PixelAt(12, 300), BLACK);
    Dots vertical = Along(523, 30, 0, 1, 200);
    Dots horizontal = Along(30, 523, 1, 0, 200);
    for (const Dots& d : {vertical, horizontal}) {
        EXPECT_GT(d.white, 40) << "dotted";
        EXPECT_GT(d.black, 40) << "the gaps show the black background";
        EXPECT_EQ(d.other, 0);
    }
    EXPECT_EQ(Along(522, 30, 0, 1, 200).white, 0) << "one pixel wide";

    // At 1/1 the box is far outside; the axes cross at frame (0, 0).
    viewState = {0, 0, 0, true};
    RepaintNow();
    Capture();
    EXPECT_GT(Along(400, 20, 0, 1, 200).white, 40);
    EXPECT_GT(Along(20, 300, 1, 0, 200).white, 40);
    int darkRed = 0;
    for (COLORREF c : host.pixels) darkRed += c == DARK_RED;
    EXPECT_EQ(darkRed, 0);
}

TEST_F(CanvasPaintTest, PolylineColoursMarkersAndSelection) {
    Put(-6400, -6400, 0);             // (300, 200) blanked first point
    Put(0, -6400);                    // (400, 200) reached by a green line
    Put(6400, -6400);                 // (500, 200)
    Put(6400, -6400, 0);              // same place, blanked: drawn again in blue
    Put(6400, 6400, POINT_SELECTED);  // (500, 400) blanked and selected
    Put(6401, 6401, POINT_SELECTED);  // same client pixel: one red marker
    RepaintNow();
    Capture();
    EXPECT_EQ(PixelAt(300, 198), BLUE) << "blanked first marker";
    EXPECT_EQ(PixelAt(350, 200), GREEN) << "the segment takes the colour of its end";
    EXPECT_EQ(PixelAt(400, 198), GREEN);
    EXPECT_EQ(PixelAt(450, 200), GREEN);
    EXPECT_EQ(PixelAt(500, 198), BLUE) << "the blanked twin redraws the marker";
    EXPECT_EQ(PixelAt(500, 300), BLUE);
    EXPECT_EQ(PixelAt(500, 400), RED);
    EXPECT_EQ(PixelAt(500, 398), RED);
    EXPECT_EQ(PixelAt(300, 200), GREEN) << "the line starts on its first point";
    EXPECT_EQ(PixelAt(301, 201), BLACK) << "unselected markers are not filled";
}

TEST_F(CanvasPaintTest, EmptyFrameShowsOnlyBackgroundBoxAndAxes) {
    viewState.originX = -523;
    viewState.originY = -523;
    RepaintNow();
    Capture();
    int other = 0;
    for (COLORREF c : host.pixels) other += !(c == BLACK || c == WHITE || c == DARK_RED);
    EXPECT_EQ(other, 0);
}

TEST_F(CanvasPaintTest, ScrollBarsWrittenAtPaint) {
    // The view size is one more than the client size: 801 x 601.
    SCROLLINFO h = Bar(SB_HORZ), v = Bar(SB_VERT);
    EXPECT_EQ(viewState.originX, -400);
    EXPECT_EQ(h.nMin, 0);
    EXPECT_EQ(h.nMax, 1045);
    EXPECT_EQ((int)h.nPage, 801);
    EXPECT_EQ(h.nPos, 123);
    EXPECT_EQ(v.nMax, 1045);
    EXPECT_EQ((int)v.nPage, 601);
    EXPECT_EQ(v.nPos, 223);

    // Wide enough for the whole extent: a disabled bar, not a hidden one.
    ResetCanvasHost(1100, 600);
    h = Bar(SB_HORZ);
    EXPECT_EQ(h.nMax, 99);
    EXPECT_EQ((int)h.nPage, 100);
    EXPECT_EQ(h.nPos, 0);
    EXPECT_EQ(viewState.originX, -550);
    RECT client;
    GetClientRect(host.canvas, &client);
    EXPECT_EQ(client.right, 1100) << "writing the bars must not change the client size";
    EXPECT_EQ(client.bottom, 600);
}

TEST_F(CanvasPaintTest, ThumbDragMovesTheViewOnlyOnRelease) {
    SendMessageA(host.canvas, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
    EXPECT_EQ(viewState.originX, -400);
    EXPECT_EQ(GetUpdateRect(host.canvas, nullptr, FALSE), 0);

    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = 200;  // where the user let the thumb go
    SetScrollInfo(host.canvas, SB_HORZ, &info, TRUE);
    SendMessageA(host.canvas, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 200), 0);
    EXPECT_EQ(viewState.originX, 200 - 523);
    EXPECT_NE(GetUpdateRect(host.canvas, nullptr, FALSE), 0);
    PumpMessages();
    EXPECT_EQ(Bar(SB_HORZ).nPos, 200);

    SendMessageA(host.canvas, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(viewState.originY, -300 + 600 / 16);
    SendMessageA(host.canvas, WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
    EXPECT_EQ(viewState.originY, -300 + 37 - 300);
    PumpMessages();
    EXPECT_EQ(viewState.originY, -523) << "clamped at the next paint";
    EXPECT_EQ(Bar(SB_VERT).nPos, 0);
}

namespace {

// The 7 x 7 pixels around (x, y): '.' black, 'G' green, 'R' red, '?' other.
std::string Around(int x, int y) {
    std::string picture;
    for (int row = y - 3; row <= y + 3; ++row) {
        for (int column = x - 3; column <= x + 3; ++column) {
            COLORREF c = PixelAt(column, row);
            picture += c == BLACK ? '.' : c == GREEN ? 'G' : c == RED ? 'R' : '?';
        }
        picture += '\n';
    }
    return picture;
}

}  // namespace

TEST_F(CanvasPaintTest, MarkersAreTheFiveByFiveEllipsePixelForPixel) {
    Put(-6400, -6400);  // client (300, 200), away from the axes
    RepaintNow();
    Capture();
    EXPECT_EQ(Around(300, 200),
              ".......\n"
              "..GGG..\n"
              ".G...G.\n"
              ".G...G.\n"
              ".G...G.\n"
              "..GGG..\n"
              ".......\n")
        << "the outline of the ellipse in (x - 2, y - 2) to (x + 3, y + 3)";
    workingFrame.points[0].flags |= POINT_SELECTED;
    RepaintNow();
    Capture();
    EXPECT_EQ(Around(300, 200),
              ".......\n"
              "..RRR..\n"
              ".RRRRR.\n"
              ".RRRRR.\n"
              ".RRRRR.\n"
              "..RRR..\n"
              ".......\n")
        << "outline and filling";
}

namespace {

// A DIB holds 0x00RRGGBB, a COLORREF 0x00BBGGRR: each is the other swapped.
DWORD Swapped(DWORD c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A 32-bit bitmap of the canvas's size, its rows top-down in *bits.
HBITMAP CanvasSizedBitmap(HDC dc, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = host.width;
    info.bmiHeader.biHeight = -host.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The scene as the canvas shows it now, drawn with GDI alone into a bitmap
// of the canvas's size.
std::vector<COLORREF> DrawnWithGdiAlone() {
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP section = CanvasSizedBitmap(memory, &bits);
    if (!section) {
        DeleteDC(memory);
        ADD_FAILURE() << "no bitmap";
        return std::vector<COLORREF>((size_t)host.width * host.height);
    }
    HGDIOBJ old = SelectObject(memory, section);
    SceneOutput output;
    StartSceneDrawing(memory, host.width, host.height, nullptr, &output);
    WalkCanvasScene(output, host.width, host.height, 0, 0);
    FinishSceneDrawing();
    GdiFlush();
    const DWORD* drawn = (const DWORD*)bits;
    std::vector<COLORREF> pixels((size_t)host.width * host.height);
    std::transform(drawn, drawn + pixels.size(), pixels.begin(), Swapped);
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    return pixels;
}

}  // namespace

// A paint draws what drawing each segment and then its point's marker one at
// a time, in point order, and the selection over them would: lines of both
// colours cross each other and the markers many times here, so any change of
// order shows. At zoom 1/1 most segments run from far outside the canvas.
void CanvasPaintTest::ExpectPaintAsDrawnOneByOne(int zoomShift) {
    workingFrame.count = 0;
    viewState.zoomShift = zoomShift;
    RequestRecenter();
    RepaintNow();
    Capture();
    std::vector<COLORREF> expected = host.pixels;  // background, box and axes
    unsigned seed = 99;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return (int)((seed >> 8) % (unsigned)range);
    };
    for (int i = 0; i < 600; ++i) {
        int16_t flags = (int16_t)((next(4) ? POINT_VISIBLE : 0) | (next(7) ? 0 : POINT_SELECTED));
        Put((int16_t)(next(50001) - 25000), (int16_t)(next(36001) - 18000), flags);
    }
    RepaintNow();
    Capture();

    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP section = CanvasSizedBitmap(memory, &bits);
    ASSERT_NE(section, nullptr);
    HGDIOBJ oldBitmap = SelectObject(memory, section);
    DWORD* reference = (DWORD*)bits;
    std::transform(expected.begin(), expected.end(), reference, Swapped);
    HPEN green = CreatePen(PS_SOLID, 1, GREEN), blue = CreatePen(PS_SOLID, 1, BLUE);
    HPEN red = CreatePen(PS_SOLID, 1, RED);
    HBRUSH redFill = CreateSolidBrush(RED);
    HGDIOBJ oldPen = SelectObject(memory, green);
    HGDIOBJ oldBrush = SelectObject(memory, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        SelectObject(memory, (p.flags & POINT_VISIBLE) ? green : blue);
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (i > 0) {
            int px, py;
            FrameToClient(workingFrame.points[i - 1].x, workingFrame.points[i - 1].y, &px, &py);
            MoveToEx(memory, px, py, nullptr);
            LineTo(memory, x, y);
        }
        Ellipse(memory, x - 2, y - 2, x + 3, y + 3);
    }
    SelectObject(memory, red);
    SelectObject(memory, redFill);
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_SELECTED)) continue;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        Ellipse(memory, x - 2, y - 2, x + 3, y + 3);
    }
    GdiFlush();
    auto expectSame = [&](const std::vector<COLORREF>& pixels, const char* how) {
        int differing = 0, first = -1;
        for (int i = 0; i < host.width * host.height; ++i) {
            if (Swapped(reference[i]) == (pixels[i] & 0xFFFFFF)) continue;
            if (first < 0) first = i;
            ++differing;
        }
        EXPECT_EQ(differing, 0) << how << " at zoom 1/" << (1 << zoomShift) << ", the first at ("
                                << first % host.width << ", " << first / host.width << ")";
    };
    expectSame(host.pixels, "painted");
    // The same scene drawn on a DC with GDI alone, as a paint draws on the
    // window when it can have no off-screen bitmap.
    expectSame(DrawnWithGdiAlone(), "drawn with GDI alone");
    SelectObject(memory, oldPen);
    SelectObject(memory, oldBrush);
    SelectObject(memory, oldBitmap);
    DeleteObject(section);
    DeleteDC(memory);
    for (HGDIOBJ object : {(HGDIOBJ)green, (HGDIOBJ)blue, (HGDIOBJ)red, (HGDIOBJ)redFill})
        DeleteObject(object);
}

TEST_F(CanvasPaintTest, APaintIsTheSegmentsAndMarkersDrawnOneByOne) {
    ExpectPaintAsDrawnOneByOne(6);
    ExpectPaintAsDrawnOneByOne(0);
}
