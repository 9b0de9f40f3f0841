// Full repaint times of a 3000-point frame, half of it selected, on an
// 800 x 600 canvas.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "tests/win32/canvas_host_fixture.h"

namespace {

struct Timing {
    double median, fastest;
};

Timing RepaintTimes(int zoomShift) {
    ResetCanvasHost(800, 600);
    viewState.zoomShift = zoomShift;
    RequestRecenter();
    RepaintNow();
    // Points spread over the visible area so that every one is drawn.
    for (int i = 0; i < MAX_POINTS; ++i) {
        int fx, fy;
        ClientToFrame(5 + (i * 37) % 790, 5 + (i * 53) % 590, &fx, &fy);
        int16_t flags = (i % 7 == 0) ? 0 : POINT_VISIBLE;
        if (i % 2) flags |= POINT_SELECTED;
        workingFrame.points[i] = {flags, (int16_t)fx, (int16_t)fy};
    }
    workingFrame.count = MAX_POINTS;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < 31; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        RepaintNow();
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * (double)(end.QuadPart - start.QuadPart) /
                        (double)frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

}  // namespace

TEST(CanvasBenchmark, FullRepaintOf3000Points) {
    for (int shift : {6, 0}) {
        Timing t = RepaintTimes(shift);
        std::printf("full repaint, 3000 points, zoom 1/%d: median %.2f ms, fastest %.2f ms\n",
                    1 << shift, t.median, t.fastest);
        RecordProperty(shift ? "median_us_zoom_1_64" : "median_us_zoom_1_1",
                       (int)(t.median * 1000));
        EXPECT_LE(t.median, 30.0);
    }
}
