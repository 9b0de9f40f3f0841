// Mouse messages sent to the real canvas: what gets stored, what is drawn at
// once, what the gesture feedback leaves behind, and the beeps and status
// refreshes that follow.

#include "canvas/canvas_window_win32.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "tests/win32/canvas_host_fixture.h"

namespace {

const COLORREF GREEN = 0x00FF00, BLUE = 0xFF0000, RED = 0x0000FF, BLACK = 0;

class CanvasMouseTest : public ::testing::Test {
protected:
    // 800 x 600 at 1/64: frame (0, 0) at client (400, 300).
    void SetUp() override { ResetCanvasHost(); }
    void Put(int16_t x, int16_t y, int16_t flags = POINT_VISIBLE) {
        workingFrame.points[workingFrame.count++] = {flags, x, y};
    }
    static bool HasUpdateRegion() { return GetUpdateRect(host.canvas, nullptr, FALSE) != 0; }
};

// Every pixel that differs from before lies inside the given box (inclusive).
int DiffOutside(const std::vector<COLORREF>& before, int left, int top, int right, int bottom,
                int* changed) {
    int outside = 0;
    *changed = 0;
    for (int y = 0; y < host.height; ++y)
        for (int x = 0; x < host.width; ++x) {
            if (before[(size_t)y * host.width + x] == PixelAt(x, y)) continue;
            ++*changed;
            if (x < left || x > right || y < top || y > bottom) ++outside;
        }
    return outside;
}

}  // namespace

TEST_F(CanvasMouseTest, ClicksAppendAndDrawOnlyTheirSegmentWithoutRepaint) {
    StartCountingPaints();
    SendMouse(WM_LBUTTONDOWN, 401, 301, MK_LBUTTON);
    SendMouse(WM_LBUTTONDOWN, 501, 301, MK_LBUTTON | MK_SHIFT);
    EXPECT_FALSE(HasUpdateRegion()) << "appending must not invalidate the canvas";
    PumpMessages();
    EXPECT_EQ(PaintCount(), 0);
    EXPECT_EQ(hostCounts.repaints, 0);
    EXPECT_EQ(hostCounts.statusPanes, 2);

    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE);
    EXPECT_EQ(workingFrame.points[0].x, 64);
    EXPECT_EQ(workingFrame.points[0].y, 64);
    EXPECT_EQ(workingFrame.points[1].flags, 0);
    EXPECT_EQ(workingFrame.points[1].x, 6464);

    Capture();
    EXPECT_EQ(PixelAt(401, 299), GREEN) << "outline of the first marker";
    EXPECT_EQ(PixelAt(401, 301), BLUE) << "the segment starts at the first point";
    EXPECT_EQ(PixelAt(451, 301), BLUE) << "a move to a blanked point is blue";
    EXPECT_EQ(PixelAt(501, 299), BLUE);
    EXPECT_EQ(PixelAt(501, 301), BLACK) << "markers are not filled";

    // The immediate drawing is exactly what a full paint draws.
    std::vector<COLORREF> immediate = host.pixels;
    RepaintNow();
    Capture();
    EXPECT_TRUE(immediate == host.pixels);
}

TEST_F(CanvasMouseTest, CtrlDragShowsOneMovingMarkerAndLeavesNothingBehind) {
    Put(64, 64);  // client (401, 301)
    Put(-6400, 64);
    RepaintNow();
    Capture();
    std::vector<COLORREF> before = host.pixels;

    SendMouse(WM_LBUTTONDOWN, 401, 301, MK_LBUTTON | MK_CONTROL);
    SendMouse(WM_MOUSEMOVE, 411, 301, MK_LBUTTON | MK_CONTROL);
    SendMouse(WM_MOUSEMOVE, 421, 311, MK_LBUTTON | MK_CONTROL);
    Capture();
    int changed = 0;
    EXPECT_EQ(DiffOutside(before, 419, 309, 423, 313, &changed), 0)
        << "the marker drawn at the first move must be erased";
    EXPECT_GE(changed, 9);

    SendMouse(WM_LBUTTONUP, 421, 311, MK_CONTROL);
    PumpMessages();
    EXPECT_EQ(workingFrame.points[0].x, 64 + 20 * 64);
    EXPECT_EQ(workingFrame.points[0].y, 64 + 10 * 64);
    EXPECT_EQ(workingFrame.points[1].x, -6400);
    EXPECT_EQ(hostCounts.repaints, 1);
    Capture();
    std::vector<COLORREF> released = host.pixels;
    EXPECT_EQ(PixelAt(421, 309), GREEN);
    EXPECT_EQ(PixelAt(401, 299), BLACK);
    RepaintNow();
    Capture();
    EXPECT_TRUE(released == host.pixels) << "feedback left on the canvas after release";
}

TEST_F(CanvasMouseTest, CtrlShiftBandShowsOnlyItsLatestOutlineAndSelects) {
    Put(64, 64);     // (401, 301)
    Put(640, 640);   // (410, 310)
    Put(6400, 640);  // (500, 310), outside the band
    RepaintNow();
    Capture();
    std::vector<COLORREF> before = host.pixels;

    const WPARAM keys = MK_LBUTTON | MK_CONTROL | MK_SHIFT;
    SendMouse(WM_LBUTTONDOWN, 390, 290, keys);
    SendMouse(WM_MOUSEMOVE, 415, 315, keys);
    SendMouse(WM_MOUSEMOVE, 430, 330, keys);
    Capture();
    int changed = 0, inside = 0;
    for (int y = 291; y < 329; ++y)
        for (int x = 391; x < 429; ++x)
            inside += before[(size_t)y * host.width + x] != PixelAt(x, y);
    EXPECT_EQ(DiffOutside(before, 390, 290, 429, 329, &changed), 0);
    EXPECT_EQ(inside, 0) << "only the outline of the latest band is on the screen";
    EXPECT_GE(changed, 100);

    SendMouse(WM_LBUTTONUP, 430, 330, MK_CONTROL | MK_SHIFT);
    PumpMessages();
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(workingFrame.points[2].flags, POINT_VISIBLE);
    Capture();
    EXPECT_EQ(PixelAt(401, 301), RED) << "selected markers are filled red";
    EXPECT_EQ(PixelAt(410, 310), RED);
    EXPECT_EQ(PixelAt(500, 310), BLACK);
    EXPECT_EQ(PixelAt(390, 300), BLACK) << "no band left behind";
}

TEST_F(CanvasMouseTest, RightAndMiddleButtons) {
    Put(64, 64);
    Put(640, 64);
    Put(1280, 64);
    SendMouse(WM_RBUTTONDOWN, 200, 200, MK_RBUTTON | MK_SHIFT);
    SendMouse(WM_RBUTTONDOWN, 200, 200, MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(workingFrame.count, 3) << "modified right clicks do nothing";
    SendMouse(WM_RBUTTONDOWN, 411, 302, MK_RBUTTON);  // on the second point
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(hostCounts.repaints, 1);
    EXPECT_EQ(hostCounts.beeps, 0);

    hostCounts.promptReply = "4";
    SendMouse(WM_MBUTTONDOWN, 401 + 100, 301, MK_MBUTTON | MK_SHIFT);
    ASSERT_EQ(workingFrame.count, 6);
    EXPECT_EQ(workingFrame.points[5].x, 6464);
    EXPECT_EQ(workingFrame.points[5].flags, 0);
    PumpMessages();
    Capture();
    EXPECT_EQ(PixelAt(451, 301), BLUE) << "interpolated points are painted";

    // A click whose frame x would be 32768 refuses with a beep.
    hostCounts.promptReply = "1";
    SendMouse(WM_MBUTTONDOWN, 400 + 512, 301, MK_MBUTTON);
    SendMouse(WM_LBUTTONDOWN, 400 + 512, 301, MK_LBUTTON);
    EXPECT_EQ(hostCounts.beeps, 2);
    EXPECT_EQ(workingFrame.count, 6);
}

namespace {

// The 21 pixels of the 5 x 5 dot centred on (x, y).
bool InDot(int px, int py, int x, int y) {
    int dx = px - x, dy = py - y;
    if (dx < -2 || dx > 2 || dy < -2 || dy > 2) return false;
    return !((dx == -2 || dx == 2) && (dy == -2 || dy == 2));
}

// Every pixel that differs from before is inverted, and those pixels are
// exactly the dot at (x, y).
::testing::AssertionResult OnlyTheDotInverted(const std::vector<COLORREF>& before, int x, int y) {
    for (int py = 0; py < host.height; ++py)
        for (int px = 0; px < host.width; ++px) {
            COLORREF was = before[(size_t)py * host.width + px], now = PixelAt(px, py);
            bool dot = InDot(px, py, x, y);
            if (dot && now != (was ^ 0xFFFFFF))
                return ::testing::AssertionFailure() << "(" << px << ", " << py << ") not inverted";
            if (!dot && now != was)
                return ::testing::AssertionFailure()
                       << "(" << px << ", " << py << ") changed outside the dot";
        }
    return ::testing::AssertionSuccess();
}

// Paints the frame, keeps what is on the screen, then Ctrl-drags from the
// point at client (401, 301) to (311, 211) and reads the screen again.
std::vector<COLORREF> PaintAndDragFirstPoint() {
    RepaintNow();
    Capture();
    std::vector<COLORREF> before = host.pixels;
    SendMouse(WM_LBUTTONDOWN, 401, 301, MK_LBUTTON | MK_CONTROL);
    SendMouse(WM_MOUSEMOVE, 311, 211, MK_LBUTTON | MK_CONTROL);
    Capture();
    return before;
}

}  // namespace

TEST_F(CanvasMouseTest, DragFeedbackIsTheWholeFiveByFiveDotAndErasesExactly) {
    Put(64, 64);  // client (401, 301)
    std::vector<COLORREF> before = PaintAndDragFirstPoint();
    EXPECT_TRUE(OnlyTheDotInverted(before, 311, 211)) << "on the black background";
    SendMouse(WM_MOUSEMOVE, 313, 212, MK_LBUTTON | MK_CONTROL);
    Capture();
    EXPECT_TRUE(OnlyTheDotInverted(before, 313, 212)) << "overlapping the dot it erases";
    // Over the dotted axis at x = 400 and the point's own green marker.
    SendMouse(WM_MOUSEMOVE, 400, 300, MK_LBUTTON | MK_CONTROL);
    Capture();
    EXPECT_TRUE(OnlyTheDotInverted(before, 400, 300)) << "over drawing";
    SendMouse(WM_MOUSEMOVE, 401, 301, MK_LBUTTON | MK_CONTROL);
    SendMouse(WM_MOUSEMOVE, 400, 300, MK_LBUTTON | MK_CONTROL);
    Capture();
    EXPECT_TRUE(OnlyTheDotInverted(before, 400, 300)) << "drawn twice on one spot, then moved";

    SendMouse(WM_RBUTTONDOWN, 400, 300, MK_RBUTTON);  // cancels; the repaint clears it
    PumpMessages();
    Capture();
    EXPECT_TRUE(before == host.pixels);
    EXPECT_EQ(workingFrame.points[0].x, 64);
}

TEST_F(CanvasMouseTest, TwoDotsInvertedOnOneSpotLeaveTheScreenAsItWas) {
    // Distinct frame points on one client pixel at 1/64: both are drawn, and
    // the second inversion undoes the first exactly.
    Put(64, 64, POINT_VISIBLE | POINT_SELECTED);
    Put(65, 65, POINT_VISIBLE | POINT_SELECTED);
    std::vector<COLORREF> before = PaintAndDragFirstPoint();
    EXPECT_TRUE(before == host.pixels);
}
