// The drawing store: fixed arrays, every append checked against them.
#include "convert/drawing.h"

Drawing drawing;

void ClearDrawing() {
    drawing.pathCount = 0;
    drawing.segmentCount = 0;
    drawing.overflow = false;
    drawing.hasPage = false;
}

int BeginDrawingPath(DrawingPoint start) {
    if (drawing.pathCount >= DRAWING_MAX_PATHS) {
        drawing.overflow = true;
        return 0;
    }
    DrawingPath* path = &drawing.paths[drawing.pathCount++];
    path->start = start;
    path->firstSegment = drawing.segmentCount;
    path->segmentCount = 0;
    path->closed = false;
    return 1;
}

static DrawingSegment* NewSegment(int kind) {
    if (drawing.pathCount == 0) return nullptr;
    if (drawing.segmentCount >= DRAWING_MAX_SEGMENTS) {
        drawing.overflow = true;
        return nullptr;
    }
    DrawingSegment* segment = &drawing.segments[drawing.segmentCount++];
    segment->kind = kind;
    ++drawing.paths[drawing.pathCount - 1].segmentCount;
    return segment;
}

int AddDrawingLine(DrawingPoint end) {
    DrawingSegment* segment = NewSegment(SEGMENT_LINE);
    if (!segment) return 0;
    segment->control1 = segment->control2 = segment->end = end;
    return 1;
}

int AddDrawingCubic(DrawingPoint control1, DrawingPoint control2, DrawingPoint end) {
    DrawingSegment* segment = NewSegment(SEGMENT_CUBIC);
    if (!segment) return 0;
    segment->control1 = control1;
    segment->control2 = control2;
    segment->end = end;
    return 1;
}

DrawingPoint SegmentStart(const DrawingPath* path, int i) {
    return i == 0 ? path->start : drawing.segments[path->firstSegment + i - 1].end;
}

int CloseDrawingPath() {
    if (drawing.pathCount == 0) return 0;
    DrawingPath* path = &drawing.paths[drawing.pathCount - 1];
    const DrawingPoint end = SegmentStart(path, path->segmentCount);
    if ((end.x != path->start.x || end.y != path->start.y) && !AddDrawingLine(path->start))
        return 0;
    path->closed = true;
    return 1;
}

void TruncateDrawing(int pathCount) {
    if (pathCount >= drawing.pathCount) return;
    drawing.pathCount = pathCount < 0 ? 0 : pathCount;
    drawing.segmentCount = drawing.pathCount ? drawing.paths[drawing.pathCount - 1].firstSegment +
                                                   drawing.paths[drawing.pathCount - 1].segmentCount
                                             : 0;
}

static void Apply(DrawingPoint* p, const double m[6]) {
    const double x = p->x, y = p->y;
    p->x = m[0] * x + m[2] * y + m[4];
    p->y = m[1] * x + m[3] * y + m[5];
}

void TransformDrawing(int firstPath, const double matrix[6]) {
    for (int p = firstPath < 0 ? 0 : firstPath; p < drawing.pathCount; ++p) {
        DrawingPath* path = &drawing.paths[p];
        Apply(&path->start, matrix);
        for (int i = 0; i < path->segmentCount; ++i) {
            DrawingSegment* segment = &drawing.segments[path->firstSegment + i];
            Apply(&segment->control1, matrix);
            Apply(&segment->control2, matrix);
            Apply(&segment->end, matrix);
        }
    }
}
