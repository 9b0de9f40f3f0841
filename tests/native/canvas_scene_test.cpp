// The walk over the canvas scene, as an output is told it: the order of the
// parts, the box and axes at every zoom, the picture's placement, and which
// points give a segment, a marker or a selection marker.
#include "canvas/canvas_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/view_transform.h"
#include "document/document_reset.h"
#include "document/frame_store.h"

namespace {

std::vector<std::string> told;

void Tell(const std::string& text) {
    told.push_back(text);
}
std::string Ink(SceneInk ink) {
    return ink == SCENE_VISIBLE ? "green" : ink == SCENE_BLANKED ? "blue" : "red";
}
std::string Place(int x, int y) {
    return std::to_string(x) + "," + std::to_string(y);
}

void Clear(void*) {
    Tell("clear");
}
void Picture(void*, const PictureCopy& c) {
    Tell("picture " + Place(c.srcX, c.srcY) + " to " + Place(c.destX, c.destY) + " " +
         Place(c.width, c.height));
}
void Box(void*, int left, int top, int right, int bottom) {
    Tell("box " + Place(left, top) + " " + Place(right, bottom));
}
void Axis(void*, int x1, int y1, int x2, int y2) {
    Tell("axis " + Place(x1, y1) + " " + Place(x2, y2));
}
void Line(void*, int x1, int y1, int x2, int y2, SceneInk ink) {
    Tell(Ink(ink) + " line " + Place(x1, y1) + " " + Place(x2, y2));
}
void Marker(void*, int x, int y, SceneInk ink) {
    Tell(Ink(ink) + " marker " + Place(x, y));
}

const SceneOutput recorder = {nullptr, Clear, Picture, Box, Axis, Line, Marker};

typedef std::vector<std::string> Calls;

// What the walk tells after the background, the box and the axes.
Calls FrameCalls() {
    told.clear();
    WalkCanvasScene(recorder, 800, 600, 0, 0);
    return Calls(told.begin() + 4, told.end());
}

class CanvasSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        viewState = {6, -400, -300, false};  // frame (0, 0) at client (400, 300)
    }
    void Put(int16_t x, int16_t y, int16_t flags) {
        workingFrame.points[workingFrame.count++] = {flags, x, y};
    }
};

}  // namespace

TEST_F(CanvasSceneTest, BackgroundPictureBoxAndAxesInOrder) {
    struct Case {
        int zoomShift, pictureWidth, pictureHeight;
        Calls calls;
    } cases[] = {
        {6,
         0,
         0,
         {"clear", "box -112,-212 912,812", "axis -112,300 912,300", "axis 400,-212 400,812"}},
        // The picture's centre pixel on frame (0, 0); a picture larger than the
        // view shows its middle part.
        {6,
         100,
         80,
         {"clear", "picture 0,0 to 350,260 100,80", "box -112,-212 912,812",
          "axis -112,300 912,300", "axis 400,-212 400,812"}},
        {0,
         1000,
         1000,
         {"clear", "picture 100,200 to 0,0 801,601", "box -32368,-32468 33168,33068",
          "axis -32368,300 33168,300", "axis 400,-32468 400,33068"}},
    };
    for (const Case& c : cases) {
        viewState.zoomShift = c.zoomShift;
        told.clear();
        WalkCanvasScene(recorder, 800, 600, c.pictureWidth, c.pictureHeight);
        EXPECT_EQ(told, c.calls) << "zoom 1/" << (1 << c.zoomShift);
    }
}

TEST_F(CanvasSceneTest, SegmentsTakeTheColourOfThePointTheyLeadTo) {
    Put(-6400, -6400, 0);          // (300, 200), blanked first point: a marker alone
    Put(0, -6400, POINT_VISIBLE);  // (400, 200)
    Put(0, -6400, POINT_VISIBLE);  // repeats the point before it: nothing
    Put(0, -6400, 0);              // the same place blanked: a line of no length
    Put(6, -6400, 0);              // on the same pixel, but another frame point
    Put(6400, 0, POINT_VISIBLE | POINT_SELECTED);  // (500, 300)
    EXPECT_EQ(FrameCalls(),
              (Calls{"blue marker 300,200", "green line 300,200 400,200", "green marker 400,200",
                     "blue line 400,200 400,200", "blue marker 400,200",
                     "blue line 400,200 400,200", "blue marker 400,200",
                     "green line 400,200 500,300", "green marker 500,300", "red marker 500,300"}));
}

TEST_F(CanvasSceneTest, SelectedPointsOnThePixelOfTheMarkerBeforeGiveNone) {
    Put(0, 0, POINT_VISIBLE | POINT_SELECTED);
    Put(63, 63, POINT_VISIBLE | POINT_SELECTED);  // same pixel at 1/64
    Put(6400, 0, POINT_VISIBLE);                  // not selected: keeps no place
    Put(1, 1, POINT_VISIBLE | POINT_SELECTED);    // the last marker's pixel again
    Put(6400, 0, POINT_VISIBLE | POINT_SELECTED);
    Calls calls = FrameCalls();
    Calls selection;
    for (const std::string& call : calls)
        if (call.compare(0, 3, "red") == 0) selection.push_back(call);
    EXPECT_EQ(selection, (Calls{"red marker 400,300", "red marker 500,300"}));
    EXPECT_EQ(calls.back(), "red marker 500,300") << "the selection comes last";
}

TEST_F(CanvasSceneTest, EmptyFrameGivesNoLinesOrMarkers) {
    EXPECT_TRUE(FrameCalls().empty());
}
