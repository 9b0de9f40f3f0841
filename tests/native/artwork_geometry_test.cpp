// The geometry that turns a drawing into a frame, on drawings built here
// point by point: curve sampling, the path order, and the layout with its
// fit, dwell, blanked moves, joins, thinning and budget.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "convert/curve_sampling.h"
#include "convert/drawing.h"
#include "convert/frame_layout.h"
#include "convert/path_order.h"

namespace {

// The length of the blanked moves of drawing the paths in the given order
// (null for file order, none reversed), the move from the last path back to
// the first included, as a frame that loops makes it.
double BlankedTravel(const DrawingPoint* starts, const DrawingPoint* ends, int count,
                     const int* order, const bool* reversed) {
    double travel = 0;
    for (int n = 0; n < count; ++n) {
        const int from = order ? order[n] : n,
                  to = order ? order[(n + 1) % count] : (n + 1) % count;
        const DrawingPoint a = reversed && reversed[from] ? starts[from] : ends[from];
        const DrawingPoint b = reversed && reversed[to] ? ends[to] : starts[to];
        travel += std::hypot(a.x - b.x, a.y - b.y);
    }
    return travel;
}

DrawingPoint CubicAt(const DrawingPoint c[4], double t) {
    const double u = 1 - t;
    return {
        u * u * u * c[0].x + 3 * u * u * t * c[1].x + 3 * u * t * t * c[2].x + t * t * t * c[3].x,
        u * u * u * c[0].y + 3 * u * u * t * c[1].y + 3 * u * t * t * c[2].y + t * t * t * c[3].y};
}

TEST(CurveSamplingTest, EveryChordStaysWithinTheToleranceOfItsPieceOfCurve) {
    const DrawingPoint curves[][4] = {
        {{0, 0}, {0, 10000}, {10000, 10000}, {10000, 0}},       // an arch
        {{0, 0}, {20000, 10000}, {-10000, 10000}, {10000, 0}},  // a loop
        {{0, 0}, {10000, 8000}, {0, 8000}, {10000, 0}},         // a cusp
        {{0, 0}, {30000, 0}, {-20000, 0}, {10000, 0}},          // straight, doubling back
        {{5, 5}, {5, 5}, {5, 5}, {5, 5}},                       // a point
    };
    for (const auto& c : curves) {
        for (double tolerance : {1.0, 32.0, 500.0}) {
            DrawingPoint out[CUBIC_MAX_CHORDS];
            const int count = SampleCubic(c[0], c[1], c[2], c[3], tolerance, out);
            ASSERT_GE(count, 1);
            EXPECT_EQ(out[count - 1].x, c[3].x);
            EXPECT_EQ(out[count - 1].y, c[3].y);
            // Walk the curve finely; each stretch between two samples must
            // stay near the chord that replaces it.
            DrawingPoint from = c[0];
            int chord = 0;
            double worst = 0;
            // Halving puts the samples at multiples of 1/4096 at most.
            for (int step = 1; step <= 16384; ++step) {
                const DrawingPoint p = CubicAt(c, step / 16384.0);
                worst = std::fmax(worst, DistanceToSegment(p, from, out[chord]));
                if (chord + 1 < count && std::hypot(p.x - out[chord].x, p.y - out[chord].y) < 1e-6)
                    from = out[chord++];
            }
            EXPECT_LE(worst, tolerance * 1.01) << "tolerance " << tolerance;
        }
    }
    DrawingPoint fine[CUBIC_MAX_CHORDS], coarse[CUBIC_MAX_CHORDS];
    EXPECT_GT(SampleCubic(curves[0][0], curves[0][1], curves[0][2], curves[0][3], 4, fine),
              4 * SampleCubic(curves[0][0], curves[0][1], curves[0][2], curves[0][3], 256, coarse));
}

TEST(CurveSamplingTest, TheExtentOfACurveIsItsOwnNotItsControlPoints) {
    // An arch from (0,0) to (100,0) with both controls at height 100 peaks
    // at 75; an S-curve turns inside its control box on both sides.
    const DrawingPoint arch[4] = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
    DrawingPoint low = arch[0], high = arch[0];
    ExtendByCubic(arch[0], arch[1], arch[2], arch[3], &low, &high);
    EXPECT_NEAR(high.y, 75, 1e-9);
    EXPECT_NEAR(low.x, 0, 1e-9);
    EXPECT_NEAR(high.x, 100, 1e-9);
    const DrawingPoint s[4] = {{0, 0}, {100, -100}, {-100, 100}, {0, 0}};
    low = high = s[0];
    ExtendByCubic(s[0], s[1], s[2], s[3], &low, &high);
    double minX = 0, maxX = 0;
    for (int i = 0; i <= 100000; ++i) {
        const DrawingPoint p = CubicAt(s, i / 100000.0);
        minX = std::fmin(minX, p.x);
        maxX = std::fmax(maxX, p.x);
    }
    EXPECT_NEAR(low.x, minX, 1e-3);
    EXPECT_NEAR(high.x, maxX, 1e-3);
}

TEST(PathOrderTest, NearestFirstShortensTheBlankedTravelOfTheFileOrder) {
    // Short strokes along a line, filed alternately from either end of it
    // and each drawn the "wrong" way: the order goes along the line
    // instead, and turns strokes round where that helps.
    std::vector<DrawingPoint> starts, ends;
    for (int i = 0; i < 20; ++i) {
        const double x = i % 2 ? 20000 - i * 1000 : i * 1000;
        starts.push_back({x + 500, 0});
        ends.push_back({x, 0});
    }
    int order[20];
    bool reversed[20];
    OrderPaths(starts.data(), ends.data(), 20, order, reversed);
    const double fileTravel = BlankedTravel(starts.data(), ends.data(), 20, nullptr, nullptr);
    const double orderedTravel = BlankedTravel(starts.data(), ends.data(), 20, order, reversed);
    EXPECT_LT(orderedTravel, fileTravel / 5);
    bool seen[20] = {};
    for (int n = 0; n < 20; ++n) seen[order[n]] = true;
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(seen[i]) << i;
    EXPECT_EQ(order[0], 0);
    int turned = 0;
    for (int i = 0; i < 20; ++i) turned += reversed[i];
    EXPECT_GT(turned, 0);
}

class FrameLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { ClearDrawing(); }
    // A polygon in drawing units, closed or open.
    static void Polygon(std::vector<DrawingPoint> points, bool closed) {
        ASSERT_EQ(BeginDrawingPath(points[0]), 1);
        for (size_t i = 1; i < points.size(); ++i) ASSERT_EQ(AddDrawingLine(points[i]), 1);
        if (closed) {
            ASSERT_EQ(CloseDrawingPath(), 1);
        }
    }
    int LayOut(int dwell, int margin = 5, int budget = MAX_POINTS) {
        FrameLayoutOptions options = {dwell, margin, budget};
        return LayOutDrawing(&options, &frame);
    }
    // The frame as (visible, x, y) triples, y as files show it.
    std::vector<std::vector<int>> Points() const {
        std::vector<std::vector<int>> points;
        for (int i = 0; i < frame.count; ++i)
            points.push_back(
                {frame.points[i].flags & POINT_VISIBLE, frame.points[i].x, -frame.points[i].y});
        return points;
    }
    int Blanked() const {
        int blanked = 0;
        for (int i = 0; i < frame.count; ++i) blanked += !(frame.points[i].flags & POINT_VISIBLE);
        return blanked;
    }
    LaidOutFrame frame;
};

TEST_F(FrameLayoutTest, ASquareGivesItsFourCornersWithTheirDwell) {
    // A square 0..10 drawn clockwise on the page (y down), as SVG files do.
    Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);
    ASSERT_EQ(LayOut(2), 1);
    const int e = 29490;  // 90% of the square: 5% margin on each side
    const std::vector<std::vector<int>> expected = {
        {0, -e, e},                             // blanked move to the start
        {1, -e, e},  {1, -e, e},                // start dwell
        {1, e, e},   {1, e, e},   {1, e, e},    // corner and its dwell
        {1, e, -e},  {1, e, -e},  {1, e, -e},   //
        {1, -e, -e}, {1, -e, -e}, {1, -e, -e},  //
        {1, -e, e},  {1, -e, e},  {1, -e, e},   // back at the start: end dwell
        {0, -e, e}};                            // blanked move away
    EXPECT_EQ(Points(), expected);
    EXPECT_EQ(frame.tolerance, TOLERANCE_FIRST);

    ASSERT_EQ(LayOut(0, 0), 1);
    const std::vector<std::vector<int>> bare = {{0, -32767, 32767}, {1, 32767, 32767},
                                                {1, 32767, -32767}, {1, -32767, -32767},
                                                {1, -32767, 32767}, {0, -32767, 32767}};
    EXPECT_EQ(Points(), bare);
}

TEST_F(FrameLayoutTest, TheFitKeepsTheAspectRatioAndCentresThePageOrTheDrawing) {
    // A wide line on a page twice as wide as high, drawn in its top half.
    Polygon({{0, 0}, {200, 0}}, false);
    drawing.hasPage = true;
    drawing.pageCorner = {0, 0};
    drawing.pageSize = {200, 100};
    ASSERT_EQ(LayOut(0), 1);
    EXPECT_EQ(Points(), (std::vector<std::vector<int>>{
                            {0, -29490, 14745}, {1, 29490, 14745}, {0, 29490, 14745}}));
    // Without a page the drawing alone is fitted: the line is centred.
    drawing.hasPage = false;
    ASSERT_EQ(LayOut(0), 1);
    EXPECT_EQ(Points()[0], (std::vector<int>{0, -29490, 0}));
    // What reaches beyond the page widens the box, so nothing leaves the square.
    drawing.hasPage = true;
    drawing.pageSize = {50, 50};
    ASSERT_EQ(LayOut(0), 1);
    EXPECT_EQ(Points()[1], (std::vector<int>{1, 29490, 7373}));
}

TEST_F(FrameLayoutTest, PathsThatMeetAreDrawnOnWithoutABlankedMove) {
    // Three strokes: the second goes on straight from the first, the third
    // turns sharply where the second ends; a fourth stands apart.
    Polygon({{0, 0}, {10, 0}}, false);
    Polygon({{10, 0}, {20, 0}}, false);
    Polygon({{20, 0}, {20, 10}}, false);
    Polygon({{0, 20}, {5, 20}}, false);
    ASSERT_EQ(LayOut(3), 1);
    // Blanked points: the start, the move to the fourth stroke (two), the end.
    EXPECT_EQ(Blanked(), 4);
    // Dwell at the starts and ends of the two runs (4 x 3) and at the turn
    // (3), and the ends of the strokes but the first, where the line goes
    // straight on.
    EXPECT_EQ(frame.count, 4 + 12 + 3 + 3);
}

TEST_F(FrameLayoutTest, StraightRunsAreThinnedWithinTheToleranceAndCornersStay) {
    // A line of 1000 steps that wobble by less than the tolerance, then a
    // sharp zigzag whose points stray far from any chord.
    std::vector<DrawingPoint> points;
    for (int i = 0; i <= 1000; ++i) points.push_back({i * 10.0, i % 2 ? 0.002 : 0.0});
    points.push_back({10000, 2000});
    points.push_back({9000, 0});
    drawing.hasPage = false;
    Polygon(points, false);
    ASSERT_EQ(LayOut(0), 1);
    // The joints of the line go but for one in each window of 64 that is
    // checked against one chord; the corners of the zigzag stay.
    EXPECT_LT(frame.count, 1001 / 64 + 8);
    bool corner = false;  // (10000, 2000): the right end, at the bottom
    for (const std::vector<int>& p : Points()) corner = corner || (p[1] == 29490 && p[2] < -5000);
    EXPECT_TRUE(corner);
}

TEST_F(FrameLayoutTest, TheToleranceGrowsUntilTheFrameFitsAndOtherwiseTheDrawingIsRefused) {
    // Many circles of four cubic quarters each.
    const double k = 0.5523;
    for (int c = 0; c < 40; ++c) {
        const double x = (c % 8) * 30, y = (c / 8) * 30, r = 12;
        ASSERT_EQ(BeginDrawingPath({x + r, y}), 1);
        AddDrawingCubic({x + r, y + k * r}, {x + k * r, y + r}, {x, y + r});
        AddDrawingCubic({x - k * r, y + r}, {x - r, y + k * r}, {x - r, y});
        AddDrawingCubic({x - r, y - k * r}, {x - k * r, y - r}, {x, y - r});
        AddDrawingCubic({x + k * r, y - r}, {x + r, y - k * r}, {x + r, y});
        ASSERT_EQ(CloseDrawingPath(), 1);
    }
    ASSERT_EQ(LayOut(4), 1);
    const int full = frame.count;
    const double fine = frame.tolerance;
    ASSERT_EQ(LayOut(4, 5, 800), 1);
    EXPECT_LE(frame.count, 800);
    EXPECT_LT(frame.count, full);
    EXPECT_GT(frame.tolerance, fine);
    // 40 circles need at least 40 x (2 blanked + 8 dwell) points however
    // coarse their curves.
    EXPECT_EQ(LayOut(4, 5, 300), 0);
    EXPECT_GT(frame.needed, 400);
    EXPECT_EQ(frame.tolerance, TOLERANCE_LAST);
    EXPECT_EQ(frame.count, 0);
}

}  // namespace
