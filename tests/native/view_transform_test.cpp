// Pixel/frame conversion, the scroll-bar model, the scroll actions, zoom and
// the cursor readout.
#include "canvas/view_transform.h"

#include <gtest/gtest.h>

#include <string>

#include "canvas/picture_placement.h"

namespace {

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override { ResetViewState(); }
    void SetView(int shift, int ox, int oy) { viewState = {shift, ox, oy, false}; }
    std::string Readout(int x, int y) {
        char text[32];
        FormatCursorPosition(x, y, text, sizeof text);
        return text;
    }
};

}  // namespace

TEST_F(ViewTest, ConversionRoundsTowardMinusInfinityAndRoundTrips) {
    SetView(6, 0, 0);
    int x, y;
    FrameToClient(-1, -64, &x, &y);
    EXPECT_EQ(x, -1) << "-1 >> 6 must stay -1";
    EXPECT_EQ(y, -1);
    FrameToClient(-65, 63, &x, &y);
    EXPECT_EQ(x, -2);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(FloorShift(-32768, 6), -512);
    EXPECT_EQ(FloorShift(32767, 6), 511);

    for (int shift = 0; shift <= 6; ++shift) {
        SetView(shift, -400, 300);
        for (int px : {0, 1, 399, 400, 401, 799}) {
            int fx, fy;
            ClientToFrame(px, 599 - px / 2, &fx, &fy);
            FrameToClient(fx, fy, &x, &y);
            EXPECT_EQ(x, px) << "shift " << shift;
            EXPECT_EQ(y, 599 - px / 2) << "shift " << shift;
        }
        // Frame -> client -> frame drops to the zoom grid, downward.
        int fx, fy;
        FrameToClient(-100, 100, &x, &y);
        ClientToFrame(x, y, &fx, &fy);
        int step = 1 << shift;
        EXPECT_LE(fx, -100);
        EXPECT_GT(fx, -100 - step);
        EXPECT_EQ(fx % step, 0);
        EXPECT_LE(fy, 100);
        EXPECT_GT(fy, 100 - step);
    }
}

TEST_F(ViewTest, FirstPaintRecentersAndReadoutShowsUpwardY) {
    ScrollBarModel h, v;
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, -400);
    EXPECT_EQ(viewState.originY, -300);
    EXPECT_FALSE(viewState.recenterPending);
    // Extent 1046 at 1/64, half 523.
    EXPECT_EQ(h.min, 0);
    EXPECT_EQ(h.max, 1045);
    EXPECT_EQ(h.page, 800);
    EXPECT_EQ(h.pos, 123);
    EXPECT_EQ(v.max, 1045);
    EXPECT_EQ(v.page, 600);
    EXPECT_EQ(v.pos, 223);

    EXPECT_EQ(Readout(0, 0), "-25600, 19200");
    EXPECT_EQ(Readout(400, 300), "0, 0");
    EXPECT_EQ(Readout(401, 299), "64, 64");

    // A second paint keeps a scrolled origin; a recenter request brings 0 back.
    viewState.originX = -500;
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, -500);
    RequestRecenter();
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, -400);
}

TEST_F(ViewTest, WholeExtentFittingDisablesTheBarAndRecentres) {
    SetView(6, 200, 0);
    ScrollBarModel h, v;
    ComputeScrollBars(1045, 599, &h, &v);  // W = 1046 = extent
    EXPECT_EQ(h.min, 0);
    EXPECT_EQ(h.max, 99);
    EXPECT_EQ(h.page, 100);
    EXPECT_EQ(h.pos, 0);
    EXPECT_EQ(viewState.originX, -523);
    EXPECT_EQ(v.max, 1045) << "the vertical bar still scrolls";

    viewState.originX = 200;
    ComputeScrollBars(1044, 599, &h, &v);  // one pixel narrower: clamped, enabled
    EXPECT_EQ(h.max, 1045);
    EXPECT_EQ(h.page, 1045);
    EXPECT_EQ(viewState.originX, 523 - 1045);
    EXPECT_EQ(h.pos, 1) << "thumb at the far end of a 1046 extent";
}

TEST_F(ViewTest, ScrollingStopsAtTheExtentEdges) {
    SetView(0, -400, -300);
    ScrollBarModel h, v;
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(ScrollView(SCROLL_HORIZONTAL, SCROLL_PAGE_UP, 800, 0, 0), 1);
        ComputeScrollBars(799, 599, &h, &v);
    }
    EXPECT_EQ(viewState.originX, -33500);
    EXPECT_EQ(h.pos, 0);
    for (int i = 0; i < 400; ++i) {
        ScrollView(SCROLL_HORIZONTAL, SCROLL_PAGE_DOWN, 800, 0, 0);
        ComputeScrollBars(799, 599, &h, &v);
    }
    EXPECT_EQ(viewState.originX, 33500 - 800);
    EXPECT_EQ(h.pos, h.max + 1 - h.page) << "thumb at the far end";
    EXPECT_EQ(viewState.originY, -300) << "the horizontal bar leaves y alone";
}

TEST_F(ViewTest, ScrollActionSizesAndThumb) {
    SetView(3, 0, 0);
    ScrollView(SCROLL_HORIZONTAL, SCROLL_LINE_DOWN, 799, 0, 0);
    EXPECT_EQ(viewState.originX, 49) << "799 / 16 truncates";
    ScrollView(SCROLL_HORIZONTAL, SCROLL_LINE_UP, 799, 0, 0);
    EXPECT_EQ(viewState.originX, 0);
    ScrollView(SCROLL_VERTICAL, SCROLL_PAGE_DOWN, 599, 0, 0);
    EXPECT_EQ(viewState.originY, 299);
    ScrollView(SCROLL_VERTICAL, SCROLL_PAGE_UP, 600, 0, 0);
    EXPECT_EQ(viewState.originY, -1);

    // Tracking never moves the view; the release does, as the inverse of the
    // position written at paint.
    EXPECT_EQ(ScrollView(SCROLL_HORIZONTAL, 5, 800, 4000, 8374), 0);
    EXPECT_EQ(viewState.originX, 0);
    for (int ignored : {6, 7, 8}) EXPECT_EQ(ScrollView(SCROLL_VERTICAL, ignored, 600, 1, 1), 0);
    EXPECT_EQ(viewState.originY, -1);
    ASSERT_EQ(ScrollView(SCROLL_HORIZONTAL, SCROLL_THUMB_POSITION, 800, 4000, 8374), 1);
    EXPECT_EQ(viewState.originX, 4000 - 4187);
    ScrollBarModel h, v;
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(h.pos, 4000);
}

TEST_F(ViewTest, ZoomKeepsTheCentreAndRefusesAtTheLimits) {
    SetView(6, -400, -300);
    EXPECT_EQ(ZoomViewOut(799, 599), 0);
    EXPECT_EQ(viewState.zoomShift, 6);
    EXPECT_EQ(viewState.originX, -400);

    // Centre pixel (400, 300) shows frame (0, 0) all the way down to 1/1.
    for (int shift = 5; shift >= 0; --shift) {
        ASSERT_EQ(ZoomViewIn(799, 599), 1);
        EXPECT_EQ(viewState.zoomShift, shift);
        EXPECT_EQ(viewState.originX, -400);
        EXPECT_EQ(viewState.originY, -300);
    }
    EXPECT_EQ(ZoomViewIn(799, 599), 0);
    EXPECT_EQ(viewState.zoomShift, 0);

    // Off-centre: out and back in stays within one zoom step of the start.
    SetView(2, 1234, -777);
    int cx0, cy0, cx1, cy1;
    ClientToFrame(400, 300, &cx0, &cy0);
    ASSERT_EQ(ZoomViewOut(799, 599), 1);
    ASSERT_EQ(ZoomViewIn(799, 599), 1);
    ClientToFrame(400, 300, &cx1, &cy1);
    EXPECT_LE(std::abs(cx1 - cx0), 4);
    EXPECT_LE(std::abs(cy1 - cy0), 4);
    EXPECT_EQ(viewState.zoomShift, 2);

    // Negative centre coordinates shift arithmetically.
    SetView(0, -1000, -1000);
    ZoomViewOut(799, 599);  // centre frame (-600, -700) -> zoomed (-300, -350)
    EXPECT_EQ(viewState.originX, -300 - 400);
    EXPECT_EQ(viewState.originY, -350 - 300);
    SetView(0, -401, 0);
    ZoomViewOut(799, 599);  // centre -1 -> -1 at 1/2, not 0
    EXPECT_EQ(viewState.originX, -1 - 400);
}

TEST_F(ViewTest, PictureCentredOnFrameOriginAndClippedToTheView) {
    PictureCopy copy;
    SetView(6, -400, -300);  // frame (0, 0) at client (400, 300)
    ASSERT_EQ(PlacePicture(101, 51, 800, 600, &copy), 1);
    EXPECT_EQ(copy.destX, 350);
    EXPECT_EQ(copy.destY, 275);
    EXPECT_EQ(copy.srcX, 0);
    EXPECT_EQ(copy.srcY, 0);
    EXPECT_EQ(copy.width, 101);
    EXPECT_EQ(copy.height, 51);

    // Larger than the view: its middle part shows.
    ASSERT_EQ(PlacePicture(2000, 1000, 800, 600, &copy), 1);
    EXPECT_EQ(copy.destX, 0);
    EXPECT_EQ(copy.srcX, 600);
    EXPECT_EQ(copy.srcY, 200);
    EXPECT_EQ(copy.width, 800);
    EXPECT_EQ(copy.height, 600);

    SetView(6, 60, 0);  // scrolled so that the picture lies left of the view
    EXPECT_EQ(PlacePicture(100, 100, 800, 600, &copy), 0);
    SetView(6, -900, -300);  // right of the view
    EXPECT_EQ(PlacePicture(100, 100, 800, 600, &copy), 0);
}
