// The canvas scene as one walk: what a paint shows and in which order, told
// to an output that draws it (GDI on the window, or the off-screen pixels).
// What the canvas shows is changed here, once, for every output. Reads the
// view and the working frame; touches nothing.
#pragma once

#include "canvas/picture_placement.h"

// The pen of a line or marker of the frame.
enum SceneInk {
    SCENE_VISIBLE,   // segments to, and markers of, points with the beam on
    SCENE_BLANKED,   // the same for blanked points
    SCENE_SELECTION  // the filled markers of selected points
};

// Client coordinates throughout. Lines leave out their end pixel, rectangles
// their right and bottom edges, as GDI draws them.
struct SceneOutput {
    void* target;
    // The whole client area black.
    void (*clear)(void* target);
    // The part of the template picture that shows.
    void (*picture)(void* target, const PictureCopy& copy);
    // The frame box's outline.
    void (*box)(void* target, int left, int top, int right, int bottom);
    // An axis: a dotted line, its gaps left as they are.
    void (*axis)(void* target, int x1, int y1, int x2, int y2);
    // A segment of the frame.
    void (*line)(void* target, int x1, int y1, int x2, int y2, SceneInk ink);
    // A point's marker centred on (x, y): the ring of the 5 by 5 ellipse, or
    // for SCENE_SELECTION the ellipse filled.
    void (*marker)(void* target, int x, int y, SceneInk ink);
};

// The scene for a client area of width x height, with a template picture of
// pictureWidth x pictureHeight pixels (0 x 0 when none is loaded).
void WalkCanvasScene(const SceneOutput& output, int width, int height, int pictureWidth,
                     int pictureHeight);
