// A drawing (convert/drawing.h) laid out as one laser frame: fitted into
// the coordinate square, curves sampled to a tolerance, dwell points where
// the beam must wait for the mirrors, paths ordered to shorten the blanked
// moves between them, and the tolerance grown until the frame fits its
// budget of points. Reads the drawing store; touches nothing else.
#pragma once

#include <cstdint>

#include "document/frame_store.h"

enum {
    // At 30000 points per second a point lasts 33 microseconds. Galvanometer
    // scanners trail their commanded position by some 100 to 150
    // microseconds, so 4 points (133 microseconds) let the mirrors reach a
    // corner before the line turns away; fewer round the corners off, more
    // make them into bright dots.
    DWELL_DEFAULT = 4,
    DWELL_MAX = 100,
    MARGIN_DEFAULT = 5,  // percent of the square on each side
    MARGIN_MAX = 45,
    // Where a path turns by more than this, it has a corner that gets dwell.
    CORNER_DEGREES = 40
};

// Tolerances in frame units: the first is invisible on any projection (a
// 2048th of the square); the tolerance grows by half at a time until the
// frame fits, and a drawing that needs more than the last is refused.
static const double TOLERANCE_FIRST = 32;
static const double TOLERANCE_LAST = 2048;

struct FrameLayoutOptions {
    int dwell;          // extra points at each corner and at each path's start and end
    int marginPercent;  // 0 to MARGIN_MAX
    int budget;         // at most MAX_POINTS
};

struct LaidOutFrame {
    VectorPoint points[MAX_POINTS];
    int count;
    int64_t needed;    // points the frame takes at the last tolerance tried
    double tolerance;  // the tolerance the frame was laid out with
    // Where the drawing went: frame = (drawing - centre) * scale.
    double fitCentreX, fitCentreY, fitScale;
};

// Lays the drawing out. Returns 1 with the frame in out, or 0 when it does
// not fit the budget even at the last tolerance (out->needed says how many
// points it would take). A drawing without paths gives an empty frame.
int LayOutDrawing(const FrameLayoutOptions* options, LaidOutFrame* out);
