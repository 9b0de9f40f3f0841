// Pixel/frame conversion, the scroll-bar model, the scroll actions, zoom,
// the cursor readout and the picture placement.
#include "canvas/view_transform.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
    ScrollBarModel h, v;
};

}  // namespace

TEST_F(ViewTest, ConversionFloorsNegativesAndRoundTrips) {
    SetView(6, 0, 0);
    int x, y, fx, fy;
    FrameToClient(-1, -65, &x, &y);
    EXPECT_EQ(x, -1) << "-1 >> 6 must stay -1";
    EXPECT_EQ(y, -2);
    // Frame -> client -> frame drops to the zoom grid, downward.
    const int gridOfMinus100[] = {-100, -100, -100, -104, -112, -128, -128};
    const int gridOf100[] = {100, 100, 100, 96, 96, 96, 64};
    for (int shift = 0; shift <= 6; ++shift) {
        SetView(shift, -400, 300);
        for (int px : {0, 1, 400, 799}) {
            ClientToFrame(px, 599 - px / 2, &fx, &fy);
            FrameToClient(fx, fy, &x, &y);
            EXPECT_EQ(x, px);
            EXPECT_EQ(y, 599 - px / 2);
        }
        FrameToClient(-100, 100, &x, &y);
        ClientToFrame(x, y, &fx, &fy);
        EXPECT_EQ(fx, gridOfMinus100[shift]);
        EXPECT_EQ(fy, gridOf100[shift]);
    }
}

TEST_F(ViewTest, FirstPaintRecentersAndTheReadoutShowsUpwardY) {
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, -400);
    EXPECT_EQ(viewState.originY, -300);
    EXPECT_FALSE(viewState.recenterPending);
    EXPECT_EQ(h.max, 1045);  // extent 1046 at 1/64, half 523
    EXPECT_EQ(h.page, 800);
    EXPECT_EQ(h.pos, 123);
    EXPECT_EQ(v.page, 600);
    EXPECT_EQ(v.pos, 223);
    EXPECT_EQ(Readout(0, 0), "-25600, 19200");
    EXPECT_EQ(Readout(401, 299), "64, 64");

    viewState.originX = -500;  // a scrolled origin survives the next paint...
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, -500);
    RequestRecenter();  // ...until a recenter is asked for
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, -400);
}

TEST_F(ViewTest, OriginClampedToTheExtentAndDisabledBarWhenItFits) {
    SetView(0, -400, -300);
    for (int i = 0; i < 200; ++i) {
        ScrollView(SCROLL_HORIZONTAL, SCROLL_PAGE_UP, 800, 0, 0);
        ComputeScrollBars(799, 599, &h, &v);
    }
    EXPECT_EQ(viewState.originX, -33500);
    EXPECT_EQ(h.pos, 0);
    for (int i = 0; i < 200; ++i) {
        ScrollView(SCROLL_HORIZONTAL, SCROLL_PAGE_DOWN, 800, 0, 0);
        ComputeScrollBars(799, 599, &h, &v);
    }
    EXPECT_EQ(viewState.originX, 33500 - 800);
    EXPECT_EQ(h.pos, h.max + 1 - h.page);
    EXPECT_EQ(viewState.originY, -300) << "the horizontal bar leaves y alone";

    SetView(6, 200, 0);
    ComputeScrollBars(1045, 599, &h, &v);  // W = 1046 = extent
    EXPECT_EQ(h.max, 99);
    EXPECT_EQ(h.page, 100);
    EXPECT_EQ(h.pos, 0);
    EXPECT_EQ(viewState.originX, -523);
    EXPECT_EQ(v.max, 1045) << "the vertical bar still scrolls";
    viewState.originX = 200;
    ComputeScrollBars(1044, 599, &h, &v);  // one pixel narrower: enabled and clamped
    EXPECT_EQ(h.page, 1045);
    EXPECT_EQ(viewState.originX, 523 - 1045);
}

TEST_F(ViewTest, ScrollActionSizesAndTheThumb) {
    SetView(3, 0, 0);
    ScrollView(SCROLL_HORIZONTAL, SCROLL_LINE_DOWN, 799, 0, 0);
    EXPECT_EQ(viewState.originX, 49) << "799 / 16 truncates";
    ScrollView(SCROLL_VERTICAL, SCROLL_PAGE_DOWN, 599, 0, 0);
    ScrollView(SCROLL_VERTICAL, SCROLL_LINE_UP, 600, 0, 0);
    EXPECT_EQ(viewState.originY, 299 - 37);
    for (int ignored : {5, 6, 7, 8})
        EXPECT_EQ(ScrollView(SCROLL_HORIZONTAL, ignored, 800, 1, 1), 0);
    EXPECT_EQ(viewState.originX, 49) << "thumb tracking does not move the view";
    ASSERT_EQ(ScrollView(SCROLL_HORIZONTAL, SCROLL_THUMB_POSITION, 800, 4000, 8374), 1);
    ComputeScrollBars(799, 599, &h, &v);
    EXPECT_EQ(viewState.originX, 4000 - 4187);
    EXPECT_EQ(h.pos, 4000) << "the release is the inverse of the position written at paint";
}

TEST_F(ViewTest, ZoomKeepsTheCentreAndRefusesAtTheLimits) {
    SetView(6, -400, -300);
    EXPECT_EQ(ZoomViewOut(799, 599), 0);
    for (int shift = 5; shift >= 0; --shift) {
        ASSERT_EQ(ZoomViewIn(799, 599), 1);
        EXPECT_EQ(viewState.zoomShift, shift);
        EXPECT_EQ(viewState.originX, -400) << "frame (0, 0) stays under the centre";
        EXPECT_EQ(viewState.originY, -300);
    }
    EXPECT_EQ(ZoomViewIn(799, 599), 0);
    EXPECT_EQ(viewState.zoomShift, 0);

    SetView(2, 1234, -777);
    int cx0, cy0, cx1, cy1;
    ClientToFrame(400, 300, &cx0, &cy0);
    ZoomViewOut(799, 599);
    ZoomViewIn(799, 599);
    ClientToFrame(400, 300, &cx1, &cy1);
    EXPECT_LE(std::abs(cx1 - cx0), 4);
    EXPECT_LE(std::abs(cy1 - cy0), 4);

    SetView(0, -401, 0);  // centre frame x -1 stays -1 at 1/2, not 0
    ZoomViewOut(799, 599);
    EXPECT_EQ(viewState.originX, -1 - 400);
}

static void ExpectCopy(const PictureCopy& c, int destX, int destY, int srcX, int srcY, int w,
                       int h) {
    EXPECT_EQ(c.destX, destX);
    EXPECT_EQ(c.destY, destY);
    EXPECT_EQ(c.srcX, srcX);
    EXPECT_EQ(c.srcY, srcY);
    EXPECT_EQ(c.width, w);
    EXPECT_EQ(c.height, h);
}

TEST_F(ViewTest, PictureCentredOnFrameOriginAndClippedToTheView) {
    PictureCopy c;
    SetView(6, -400, -300);
    ASSERT_EQ(PlacePicture(101, 51, 800, 600, &c), 1);
    ExpectCopy(c, 350, 275, 0, 0, 101, 51);
    ASSERT_EQ(PlacePicture(2000, 1000, 800, 600, &c), 1);  // larger: its middle shows
    ExpectCopy(c, 0, 0, 600, 200, 800, 600);
    SetView(6, 60, 0);  // wholly left of the view
    EXPECT_EQ(PlacePicture(100, 100, 800, 600, &c), 0);
    SetView(6, -900, -300);  // wholly right of it
    EXPECT_EQ(PlacePicture(100, 100, 800, 600, &c), 0);
}
