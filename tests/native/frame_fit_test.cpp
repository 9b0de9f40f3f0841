// Fitting long frames: the repeats dropped evenly from the runs, never a
// run's first point, no more than needed; and the readers handing long
// frames to it only while it is on, with their accounts saying what is
// still cut. The long frames imitate the exports of show programs that
// hold each corner and each blanked jump for many points.
#include "formats/frame_fit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "formats/read_account.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"
#include "tests/samples.h"

namespace {

struct PointRun {
    int length;
    VectorPoint point;
};

std::vector<VectorPoint> Expand(const std::vector<PointRun>& runs) {
    std::vector<VectorPoint> points;
    for (const PointRun& run : runs) points.insert(points.end(), run.length, run.point);
    return points;
}

// The runs of equal points (place and beam) of a frame.
std::vector<PointRun> Runs(const VectorPoint* points, int count) {
    std::vector<PointRun> runs;
    for (int i = 0; i < count; ++i) {
        const VectorPoint& p = points[i];
        if (!runs.empty() && runs.back().point.x == p.x && runs.back().point.y == p.y &&
            runs.back().point.flags == p.flags)
            runs.back().length += 1;
        else
            runs.push_back({1, p});
    }
    return runs;
}

class FrameFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        InstallUiRecorder();
        StartFitting();
    }
    void TearDown() override { StopFitting(); }
    std::string Path(const char* name) const { return folder.Path(name); }

    TempFolder folder{"quillon-fit"};
};

// Runs of many lengths, the same place lit and then blanked (which are two
// runs), 1500 single points: each run keeps its first point and loses its
// share of the drops, within one point.
TEST_F(FrameFitTest, RepeatsGoEvenlyFromEveryRun) {
    std::vector<PointRun> runs;
    int16_t x = -30000;
    for (int i = 0; i < 1500; ++i) {
        runs.push_back({1 + (i % 7) * (i % 5), {POINT_VISIBLE, x, 0}});
        if (i % 10 == 0) runs.push_back({4, {0, x, 0}});
        x = (int16_t)(x + 37);
    }
    std::vector<VectorPoint> points = Expand(runs);
    const int count = (int)points.size();
    long long repeats = count - (long long)runs.size();
    ASSERT_GT(count, MAX_POINTS);
    ASSERT_GT(repeats, count - MAX_POINTS);

    EXPECT_EQ(FitLongFrame(points.data(), count), MAX_POINTS);
    std::vector<PointRun> fitted = Runs(points.data(), MAX_POINTS);
    ASSERT_EQ(fitted.size(), runs.size());
    const double share = (double)(count - MAX_POINTS) / (double)repeats;
    for (size_t r = 0; r < runs.size(); ++r) {
        EXPECT_EQ(fitted[r].point.x, runs[r].point.x) << r;
        EXPECT_EQ(fitted[r].point.flags, runs[r].point.flags) << r;
        EXPECT_GE(fitted[r].length, 1);
        const double dropped = runs[r].length - fitted[r].length;
        EXPECT_NEAR(dropped, share * (runs[r].length - 1), 1.0) << r;
    }
    EXPECT_EQ(fitAccount.longFrames, 1);
    EXPECT_EQ(fitAccount.framesFitted, 1);
    EXPECT_EQ(fitAccount.framesWhole, 1);
    EXPECT_EQ(fitAccount.pointsDropped, count - MAX_POINTS);
}

// Too few repeats: every repeat goes and the rest is left to the cut. No
// repeats at all, or a frame that fits: nothing changes.
TEST_F(FrameFitTest, NoMoreIsDroppedThanTheRepeats) {
    // 200 pairs, then 3100 single points: 3300 points are left.
    std::vector<VectorPoint> points;
    for (int i = 0; i < 3500; ++i)
        points.push_back({POINT_VISIBLE, (int16_t)(i < 400 ? i / 2 : i - 200), 0});
    EXPECT_EQ(FitLongFrame(points.data(), 3500), 3300);
    for (int i = 0; i < 3300; ++i) ASSERT_EQ(points[i].x, i);
    EXPECT_EQ(fitAccount.framesWhole, 0);

    std::vector<VectorPoint> distinct;
    for (int i = 0; i < 3200; ++i) distinct.push_back({POINT_VISIBLE, (int16_t)i, 0});
    EXPECT_EQ(FitLongFrame(distinct.data(), 3200), 3200);
    std::vector<VectorPoint> small(3000, VectorPoint{POINT_VISIBLE, 1, 1});
    EXPECT_EQ(FitLongFrame(small.data(), 3000), 3000);
    EXPECT_EQ(fitAccount.longFrames, 2);
    EXPECT_EQ(fitAccount.framesFitted, 1);
    EXPECT_EQ(fitAccount.pointsDropped, 200);
}

// ILDA: a section of 6000 records, runs of four (lit corners held, and a
// blanked jump held), comes in whole as 3000 points; the same file without
// fitting loses the second half. A CSV frame longer than the fitting can
// see is fitted on what it sees and the rest is cut and said.
TEST_F(FrameFitTest, ReadersFitLongFramesOnlyWhileFittingIsOn) {
    std::string records;
    for (int i = 0; i < 1500; ++i)
        for (int k = 0; k < 4; ++k) records += Record0(i, -i, i % 3 == 0 ? 0x40 : 0);
    ASSERT_TRUE(WriteWholeFile(Path("long.ild"), Header(0, Padded("long"), 6000) + records +
                                                     Frame0("next", 3) + Closing()));
    ASSERT_EQ(ReadIldaFrames(nullptr, Path("long.ild").c_str(), 0), 1);
    EXPECT_FALSE(ReadLeftDataOut(&lastReadAccount));
    ASSERT_EQ(frameStore.numFrames, 2);
    ASSERT_EQ(frameStore.pointCounts[0], MAX_POINTS);
    std::vector<PointRun> runs = Runs(frameStore.frames[0], MAX_POINTS);
    ASSERT_EQ(runs.size(), 1500u);
    for (int i = 0; i < 1500; ++i) {
        EXPECT_EQ(runs[i].length, 2) << i;
        EXPECT_EQ(runs[i].point.x, i);
        EXPECT_EQ(runs[i].point.flags, i % 3 == 0 ? 0 : POINT_VISIBLE);
    }
    EXPECT_EQ(frameStore.pointCounts[1], 3);
    EXPECT_EQ(fitAccount.pointsDropped, 3000);

    StopFitting();
    ASSERT_EQ(ReadIldaFrames(nullptr, Path("long.ild").c_str(), 0), 1);
    EXPECT_EQ(lastReadAccount.pointsBeyondLimit, 3000);
    EXPECT_EQ(frameStore.frames[0][MAX_POINTS - 1].x, 749);

    // 70000 point lines: the first 65535, which the fitting sees, are runs
    // of 16 and leave 4096 points; the cut takes the first 3000 of them and
    // the lines beyond.
    StartFitting();
    std::string csv = "VECTOR,30000,3\r\nhuge\r\n";
    for (int i = 0; i < 70000; ++i)
        csv += "1," + std::to_string(i < LONG_FRAME_POINTS ? i / 16 : i) + ",0\r\n";
    csv += "+\r\nafter\r\n1,1,1\r\n";
    ASSERT_TRUE(WriteWholeFile(Path("huge.csv"), csv));
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("huge.csv").c_str(), 0), 1);
    ASSERT_EQ(frameStore.pointCounts[0], MAX_POINTS);
    for (int i = 0; i < MAX_POINTS; ++i) ASSERT_EQ(frameStore.frames[0][i].x, i);
    EXPECT_EQ(frameStore.pointCounts[1], 1);
    EXPECT_EQ(lastReadAccount.longFrames, 1);
    EXPECT_EQ(lastReadAccount.pointsBeyondLimit, 4096 + (70000 - LONG_FRAME_POINTS) - MAX_POINTS);
    EXPECT_EQ(fitAccount.pointsDropped, LONG_FRAME_POINTS - 4096);
}

// The real 56-frame show whose frames hold 3,531 to 7,520 points: 42 of its
// frames fit whole.
TEST_F(FrameFitTest, ARealShowMostlyFitsWhole) {
    const std::string path = SamplePath("ild/startrek.ild");
    if (path.empty()) GTEST_SKIP() << MissingSample("ild/startrek.ild");
    ASSERT_EQ(ReadIldaFrames(nullptr, path.c_str(), 0), 1);
    EXPECT_EQ(fitAccount.longFrames, 56);
    EXPECT_EQ(fitAccount.framesFitted, 56);
    EXPECT_EQ(fitAccount.framesWhole, 42);
    EXPECT_EQ(lastReadAccount.longFrames, 14);
}

}  // namespace
