// A drawing read from a vector file: its outlines as paths of straight and
// cubic segments in the file's own units, every transform already applied,
// with y growing downward as the file has it. One static instance, filled
// by the SVG reader and read by the frame layout. Touches nothing else.
#pragma once

enum {
    DRAWING_MAX_PATHS = 65536,
    DRAWING_MAX_SEGMENTS = 262144,
};

enum { SEGMENT_LINE = 0, SEGMENT_CUBIC = 1 };

struct DrawingPoint {
    double x, y;
};

struct DrawingSegment {
    int kind;
    DrawingPoint control1, control2;  // cubic segments only
    DrawingPoint end;                 // the segment starts where the one before ends
};

struct DrawingPath {
    DrawingPoint start;
    int firstSegment;
    int segmentCount;
    bool closed;  // the last segment returns to start
};

struct Drawing {
    DrawingPath paths[DRAWING_MAX_PATHS];
    int pathCount;
    DrawingSegment segments[DRAWING_MAX_SEGMENTS];
    int segmentCount;
    bool overflow;  // something did not fit; the drawing is incomplete
    // The page the drawing is made for (the outermost viewport), in the
    // drawing's units; absent when the file gives no size.
    bool hasPage;
    DrawingPoint pageCorner;
    DrawingPoint pageSize;
};

extern Drawing drawing;

void ClearDrawing();

// Paths are built segment by segment. Each call returns 1, or 0 when the
// store is full (drawing.overflow is set and the call did nothing).
int BeginDrawingPath(DrawingPoint start);
int AddDrawingLine(DrawingPoint end);
int AddDrawingCubic(DrawingPoint control1, DrawingPoint control2, DrawingPoint end);
// Closes the open path with a line back to its start where it does not end
// there already.
int CloseDrawingPath();

// The point where segment i of path p starts.
DrawingPoint SegmentStart(const DrawingPath* path, int i);

// Drops the paths from the given count on, with their segments: what a
// hidden element drew.
void TruncateDrawing(int pathCount);

// Applies the affine matrix (a b c d e f: x' = a x + c y + e,
// y' = b x + d y + f) to paths from firstPath on.
void TransformDrawing(int firstPath, const double matrix[6]);
