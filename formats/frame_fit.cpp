// Dropping repeated points from long frames. One pass counts the repeats,
// a second keeps each run's share: the drops up to the end of a run are the
// same fraction of all drops as its repeats are of all repeats, rounded
// down, so they add up exactly and no run loses more than its repeats.
#include "formats/frame_fit.h"

#include <cstdio>
#include <cstring>

FitAccount fitAccount;
VectorPoint longFramePoints[LONG_FRAME_POINTS];

static bool fitting = false;

void StartFitting() {
    std::memset(&fitAccount, 0, sizeof fitAccount);
    fitting = true;
}

void StopFitting() {
    fitting = false;
}

int FittingLongFrames() {
    return fitting ? 1 : 0;
}

// The same place and beam state; selection and marks are no part of a point
// as the files hold it.
static inline bool Repeats(const VectorPoint& a, const VectorPoint& b) {
    return a.x == b.x && a.y == b.y && ((a.flags ^ b.flags) & POINT_VISIBLE) == 0;
}

int32_t FitLongFrame(VectorPoint* points, int32_t count) {
    if (count <= MAX_POINTS) return count;
    fitAccount.longFrames += 1;
    int64_t repeats = 0;
    for (int32_t i = 1; i < count; ++i) repeats += Repeats(points[i], points[i - 1]);
    const int64_t excess = count - MAX_POINTS;
    const int64_t drops = repeats < excess ? repeats : excess;
    if (drops == 0) return count;

    int32_t kept = 0;
    int64_t repeatsSoFar = 0, dropsSoFar = 0;
    for (int32_t i = 0; i < count;) {
        const VectorPoint head = points[i];
        int32_t end = i + 1;
        while (end < count && Repeats(points[end], head)) ++end;
        repeatsSoFar += end - i - 1;
        const int64_t dropsBy = drops * repeatsSoFar / repeats;
        const int32_t keep = (end - i) - (int32_t)(dropsBy - dropsSoFar);
        dropsSoFar = dropsBy;
        // kept never passes i: the run is written where it was read or before.
        for (int32_t k = 0; k < keep; ++k) points[kept++] = head;
        i = end;
    }
    fitAccount.framesFitted += 1;
    fitAccount.pointsDropped += drops;
    if (kept <= MAX_POINTS) fitAccount.framesWhole += 1;
    return kept;
}

int32_t FitIntoFrame(VectorPoint* points, int32_t count, VectorPoint* frame) {
    const int32_t fitted = FitLongFrame(points, count);
    const int32_t stored = fitted < MAX_POINTS ? fitted : MAX_POINTS;
    std::memcpy(frame, points, (size_t)stored * sizeof *points);
    return fitted;
}

void FormatFitAccount(const FitAccount* account, bool would, char* text, int size) {
    const long long frames = account->longFrames;
    const long long cut = account->longFrames - account->framesWhole;
    const char* still = would ? "would still be cut" : cut == 1 ? "is still cut" : "are still cut";
    std::snprintf(text, (size_t)size,
                  "--fit: %lld %s of more than %d points; %s %lld repeated %s from %d of them, "
                  "%d %s whole, %lld %s",
                  frames, frames == 1 ? "frame" : "frames", (int)MAX_POINTS,
                  would ? "it would drop" : "dropped", (long long)account->pointsDropped,
                  account->pointsDropped == 1 ? "point" : "points", (int)account->framesFitted,
                  (int)account->framesWhole,
                  would                       ? "would fit"
                  : account->framesWhole == 1 ? "now fits"
                                              : "now fit",
                  cut, still);
}
