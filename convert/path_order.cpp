// Nearest neighbour first: quadratic in the number of paths, which is
// small for anything that fits a frame.
#include "convert/path_order.h"

static bool taken[DRAWING_MAX_PATHS];

static double Distance2(DrawingPoint a, DrawingPoint b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

void OrderPaths(const DrawingPoint* starts, const DrawingPoint* ends, int count, int* order,
                bool* reversed) {
    if (count > DRAWING_MAX_PATHS) count = DRAWING_MAX_PATHS;
    for (int i = 0; i < count; ++i) {
        taken[i] = false;
        reversed[i] = false;
    }
    if (count <= 0) return;
    order[0] = 0;
    taken[0] = true;
    DrawingPoint beam = ends[0];
    for (int n = 1; n < count; ++n) {
        int best = -1;
        bool bestReversed = false;
        double bestDistance = 0;
        for (int i = 0; i < count; ++i) {
            if (taken[i]) continue;
            const double toStart = Distance2(beam, starts[i]), toEnd = Distance2(beam, ends[i]);
            const double distance = toEnd < toStart ? toEnd : toStart;
            if (best < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
                bestReversed = toEnd < toStart;
            }
        }
        order[n] = best;
        taken[best] = true;
        reversed[best] = bestReversed;
        beam = bestReversed ? starts[best] : ends[best];
    }
}
