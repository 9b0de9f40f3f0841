// The walk over the canvas scene: background, picture, frame box, axes, the
// working frame's polyline with a marker on every point, and the selection
// over it.
#include "canvas/canvas_scene.h"

#include "canvas/view_transform.h"
#include "document/frame_store.h"

enum { FRAME_SPAN = 65536 };

static void WalkBoxAndAxes(const SceneOutput& output) {
    int half = (FRAME_SPAN >> viewState.zoomShift) / 2;
    int ox = viewState.originX, oy = viewState.originY;
    output.box(output.target, -half - ox, -half - oy, half - ox, half - oy);
    output.axis(output.target, -half - ox, -oy, half - ox, -oy);
    output.axis(output.target, -ox, -half - oy, -ox, half - oy);
}

// A point that repeats the previous one in visibility and position adds
// nothing to see.
static bool RepeatsPrevious(int i) {
    if (i == 0) return false;
    const VectorPoint& p = workingFrame.points[i];
    const VectorPoint& q = workingFrame.points[i - 1];
    return ((p.flags ^ q.flags) & POINT_VISIBLE) == 0 && p.x == q.x && p.y == q.y;
}

// Each point drawn: the segment from the point before it, in the colour of
// the point it leads to, then the point's marker.
static void WalkPolyline(const SceneOutput& output) {
    int lastX = 0, lastY = 0;
    for (int i = 0; i < workingFrame.count; ++i) {
        if (RepeatsPrevious(i)) continue;
        const VectorPoint& p = workingFrame.points[i];
        SceneInk ink = (p.flags & POINT_VISIBLE) ? SCENE_VISIBLE : SCENE_BLANKED;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (i > 0) output.line(output.target, lastX, lastY, x, y, ink);
        output.marker(output.target, x, y, ink);
        lastX = x;
        lastY = y;
    }
}

// Selected points in order; one on the pixel of the marker before it adds
// none.
static void WalkSelection(const SceneOutput& output) {
    int lastX = 100000, lastY = 100000;  // nothing drawn yet
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_SELECTED)) continue;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (x == lastX && y == lastY) continue;
        output.marker(output.target, x, y, SCENE_SELECTION);
        lastX = x;
        lastY = y;
    }
}

void WalkCanvasScene(const SceneOutput& output, int width, int height, int pictureWidth,
                     int pictureHeight) {
    output.clear(output.target);
    PictureCopy copy;
    // The view is one pixel wider and taller than the client area.
    if (pictureWidth > 0 && pictureHeight > 0 &&
        PlacePicture(pictureWidth, pictureHeight, width + 1, height + 1, &copy))
        output.picture(output.target, copy);
    WalkBoxAndAxes(output);
    WalkPolyline(output);
    WalkSelection(output);
}
