// Laying a drawing out as a frame, in three stages that hand points on one
// at a time: the walk goes along each path in its drawing direction,
// sampling curves to half the tolerance and finding corners; the thinning
// drops the points that a longer chord passes within half the tolerance
// of, so that no chord strays further than the tolerance from the curve or
// line it stands for; the emitter writes
// the frame's points with their dwell and blanked moves. A layout that
// does not fit is counted on to the end, so that a refusal can say how
// many points the drawing takes.
#include "convert/frame_layout.h"

#include <cmath>

#include "convert/curve_sampling.h"
#include "convert/drawing.h"
#include "convert/path_order.h"

enum {
    COORDINATE_LIMIT = 32767,
    SQUARE = 2 * COORDINATE_LIMIT,
    THINNING_WINDOW = 64,  // joints checked against one chord, to stay linear
};

// What the walk says about a point.
enum {
    POINT_KEEP = 1,    // must be drawn: a corner
    POINT_CORNER = 2,  // the path turns sharply here
    POINT_START = 4
};

static struct {
    double scale;
    DrawingPoint centre;
} fit;

static int drawn[DRAWING_MAX_PATHS];  // the paths that draw anything, in file order
static int drawnCount;
static DrawingPoint starts[DRAWING_MAX_PATHS], ends[DRAWING_MAX_PATHS];
static int order[DRAWING_MAX_PATHS];
static bool reversed[DRAWING_MAX_PATHS];

static DrawingPoint Place(DrawingPoint p) {
    return {(p.x - fit.centre.x) * fit.scale, (p.y - fit.centre.y) * fit.scale};
}

static DrawingPoint PathEnd(const DrawingPath* path) {
    return SegmentStart(path, path->segmentCount);
}

static bool Same(DrawingPoint a, DrawingPoint b) {
    return a.x == b.x && a.y == b.y;
}

static bool SegmentIsEmpty(const DrawingSegment* s, DrawingPoint start) {
    return Same(s->end, start) && Same(s->control1, start) && Same(s->control2, start);
}

// The box of every path that draws anything, and of the page, centred in
// the square with the margin left free on its longer side.
static void FitDrawing(int marginPercent) {
    DrawingPoint low = {0, 0}, high = {0, 0};
    bool any = false;
    drawnCount = 0;
    for (int p = 0; p < drawing.pathCount; ++p) {
        const DrawingPath* path = &drawing.paths[p];
        bool draws = false;
        for (int i = 0; i < path->segmentCount; ++i)
            draws = draws || !SegmentIsEmpty(&drawing.segments[path->firstSegment + i],
                                             SegmentStart(path, i));
        if (!draws) continue;
        drawn[drawnCount++] = p;
        if (!any) low = high = path->start;
        any = true;
        for (int i = 0; i < path->segmentCount; ++i) {
            const DrawingSegment* s = &drawing.segments[path->firstSegment + i];
            ExtendByCubic(SegmentStart(path, i), s->control1, s->control2, s->end, &low, &high);
        }
    }
    if (drawing.hasPage) {
        const DrawingPoint far = {drawing.pageCorner.x + drawing.pageSize.x,
                                  drawing.pageCorner.y + drawing.pageSize.y};
        if (!any) low = high = drawing.pageCorner;
        ExtendByPoint(drawing.pageCorner, &low, &high);
        ExtendByPoint(far, &low, &high);
    }
    const double width = high.x - low.x, height = high.y - low.y;
    const double span = width > height ? width : height;
    fit.scale = span > 0 ? SQUARE * (100.0 - 2 * marginPercent) / 100 / span : 1;
    fit.centre = {(low.x + high.x) / 2, (low.y + high.y) / 2};
}

// The emitter.
static struct {
    VectorPoint* out;
    int capacity;
    int64_t count;
    int dwell;
    double tolerance;
    bool anyPath;
    DrawingPoint beam;            // the last point written
    DrawingPoint startDirection;  // the way the path being started leaves its start
    DrawingPoint endDirection;    // the way the path last ended comes into its end
} emit;

static int16_t Coordinate(double value) {
    const double limit = COORDINATE_LIMIT, rounded = std::floor(value + 0.5);
    return (int16_t)(rounded < -limit ? -limit : rounded > limit ? limit : rounded);
}

static void Put(DrawingPoint p, bool visible) {
    if (emit.count < emit.capacity) {
        VectorPoint* point = &emit.out[emit.count];
        point->flags = visible ? POINT_VISIBLE : 0;
        point->x = Coordinate(p.x);
        point->y = Coordinate(p.y);
    }
    ++emit.count;
}

static void PutDwell(DrawingPoint p) {
    for (int i = 0; i < emit.dwell; ++i) Put(p, true);
}

static bool SharpTurn(DrawingPoint in, DrawingPoint out) {
    const double lengths = std::hypot(in.x, in.y) * std::hypot(out.x, out.y);
    if (lengths <= 0) return false;
    static const double limit = std::cos(CORNER_DEGREES * 3.14159265358979323846 / 180);
    return (in.x * out.x + in.y * out.y) / lengths < limit;
}

// A drawn point; a path's start comes with the blanked move to it: the
// dwell where the beam stands, a blanked point there and one at the start,
// and the start's dwell.
static void Emit(DrawingPoint p, int flags) {
    if (flags & POINT_START) {
        if (emit.anyPath) {
            PutDwell(emit.beam);
            Put(emit.beam, false);
        }
        Put(p, false);
        PutDwell(p);
        emit.anyPath = true;
    } else {
        Put(p, true);
        if (flags & POINT_CORNER) PutDwell(p);
    }
    emit.beam = p;
}

static void FinishEmit() {
    if (!emit.anyPath) return;
    PutDwell(emit.beam);
    Put(emit.beam, false);
}

// The thinning: points wait in a window until a chord from the last drawn
// point can no longer pass within half the tolerance of them. The pieces
// between them are within half the tolerance of their own chords, so the
// longer chord stays within the tolerance of the whole run. A path that
// starts where the last one ended (within half the tolerance) goes on from
// there without a blanked move, its end still open to thinning, and gets
// dwell there only where it turns sharply.
static struct {
    DrawingPoint anchor;  // the last point drawn
    DrawingPoint last;    // the last point given, drawn or waiting
    DrawingPoint window[THINNING_WINDOW];
    int count;
} thin;

static bool ChordCovers(DrawingPoint to) {
    for (int i = 0; i < thin.count; ++i)
        if (DistanceToSegment(thin.window[i], thin.anchor, to) > emit.tolerance / 2) return false;
    return true;
}

static void DrawFromWindow() {
    if (thin.count == 0) return;
    const DrawingPoint last = thin.window[thin.count - 1];
    Emit(last, 0);
    thin.anchor = last;
    thin.count = 0;
}

static void Push(DrawingPoint p, int flags) {
    if (flags & POINT_START) {
        const double gap = std::hypot(p.x - thin.last.x, p.y - thin.last.y);
        if (emit.anyPath && gap <= emit.tolerance / 2) {
            if (SharpTurn(emit.endDirection, emit.startDirection)) {
                DrawFromWindow();
                PutDwell(emit.beam);
            }
            if (gap == 0) return;
            flags = 0;
        } else {
            DrawFromWindow();
            Emit(p, POINT_START);
            thin.anchor = thin.last = p;
            return;
        }
    }
    if (thin.count > 0 &&
        (!ChordCovers(p) || (!(flags & POINT_KEEP) && thin.count == THINNING_WINDOW)))
        DrawFromWindow();
    if (flags & POINT_KEEP) {
        Emit(p, flags);
        thin.anchor = p;
    } else {
        thin.window[thin.count++] = p;
    }
    thin.last = p;
}

static void FinishThinning() {
    DrawFromWindow();
    FinishEmit();
}

// The walk.
static DrawingPoint Direction(DrawingPoint from, DrawingPoint a, DrawingPoint b, DrawingPoint c) {
    if (!Same(a, from)) return {a.x - from.x, a.y - from.y};
    if (!Same(b, from)) return {b.x - from.x, b.y - from.y};
    return {c.x - from.x, c.y - from.y};
}

static DrawingPoint samples[CUBIC_MAX_CHORDS];

static void WalkPath(const DrawingPath* path, bool backwards) {
    const int n = path->segmentCount;
    bool started = false;
    DrawingPoint pendingEnd = {0, 0}, lastDirection = {0, 0};
    for (int k = 0; k < n; ++k) {
        const int i = backwards ? n - 1 - k : k;
        const DrawingSegment* s = &drawing.segments[path->firstSegment + i];
        if (SegmentIsEmpty(s, SegmentStart(path, i))) continue;
        DrawingPoint a = Place(SegmentStart(path, i)), b = Place(s->end);
        DrawingPoint c1 = Place(s->control1), c2 = Place(s->control2);
        if (backwards) {
            const DrawingPoint end = a, control = c1;
            a = b;
            b = end;
            c1 = c2;
            c2 = control;
        }
        const DrawingPoint out = Direction(a, c1, c2, b);
        if (!started) {
            emit.startDirection = out;
            Push(a, POINT_START);
            started = true;
        } else {
            const bool corner = SharpTurn(lastDirection, out);
            Push(pendingEnd, corner ? POINT_CORNER | POINT_KEEP : 0);
        }
        lastDirection = Direction(b, c2, c1, a);
        lastDirection = {-lastDirection.x, -lastDirection.y};
        pendingEnd = b;
        if (s->kind == SEGMENT_CUBIC) {
            const int count = SampleCubic(a, c1, c2, b, emit.tolerance / 2, samples);
            for (int j = 0; j + 1 < count; ++j) Push(samples[j], 0);
        }
    }
    if (!started) return;
    Push(pendingEnd, 0);
    emit.endDirection = lastDirection;
}

static int64_t LayOut(double tolerance, int dwell, VectorPoint* out, int capacity) {
    emit.out = out;
    emit.capacity = capacity;
    emit.count = 0;
    emit.dwell = dwell;
    emit.tolerance = tolerance;
    emit.anyPath = false;
    thin.count = 0;
    for (int n = 0; n < drawnCount; ++n) {
        const int i = order[n];
        WalkPath(&drawing.paths[drawn[i]], reversed[i]);
    }
    FinishThinning();
    return emit.count;
}

int LayOutDrawing(const FrameLayoutOptions* options, LaidOutFrame* out) {
    const int budget = options->budget < 0            ? 0
                       : options->budget > MAX_POINTS ? MAX_POINTS
                                                      : options->budget;
    const int dwell = options->dwell < 0           ? 0
                      : options->dwell > DWELL_MAX ? DWELL_MAX
                                                   : options->dwell;
    const int margin = options->marginPercent < 0            ? 0
                       : options->marginPercent > MARGIN_MAX ? MARGIN_MAX
                                                             : options->marginPercent;
    FitDrawing(margin);
    out->fitCentreX = fit.centre.x;
    out->fitCentreY = fit.centre.y;
    out->fitScale = fit.scale;
    for (int n = 0; n < drawnCount; ++n) {
        const DrawingPath* path = &drawing.paths[drawn[n]];
        starts[n] = Place(path->start);
        ends[n] = Place(PathEnd(path));
    }
    OrderPaths(starts, ends, drawnCount, order, reversed);

    double tolerance = TOLERANCE_FIRST;
    for (;;) {
        out->needed = LayOut(tolerance, dwell, out->points, budget);
        out->tolerance = tolerance;
        if (out->needed <= budget) {
            out->count = (int)out->needed;
            return 1;
        }
        if (tolerance >= TOLERANCE_LAST) {
            out->count = 0;
            return 0;
        }
        tolerance = tolerance * 1.5 < TOLERANCE_LAST ? tolerance * 1.5 : TOLERANCE_LAST;
    }
}
