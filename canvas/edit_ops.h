// The mouse edits of the working frame, in client coordinates: append,
// interpolate, take off the end, pick for dragging, move the marked points,
// select in a band. Each returns 1 on success and 0 when refused, and leaves
// the working frame unchanged when refused.
#pragma once

enum {
    SNAP_TOLERANCE = 3,      // snap to the previous point, right-click hit
    DRAG_PICK_TOLERANCE = 2  // drag pick
};

// Takes a count-only snapshot once the checks pass, snaps to the previous
// point within 3 pixels, draws the segment at once and adds a table row.
int AppendPoint(bool visible, int x, int y);

// Appends n points at the middles of n equal steps from the last point
// towards the click, then the click itself; takes a count-only snapshot once
// the checks pass.
int InterpolateTo(bool visible, int x, int y, int n);

// Removes the last point hit by the click (searching from the end) and all
// after it, or only the last point when none is hit.
int TruncateAt(int x, int y);

// Marks the points that a drag from (x, y) moves: the whole selection when a
// selected point is hit, otherwise the unselected points hit.
int PickForDrag(int x, int y);

// Moves every marked point by a client-pixel offset; takes a full snapshot
// once every moved point is known to stay in range.
int MoveMarked(int dx, int dy);

// Adds the points inside the band to the selection; clears the selection
// and the marks when the band holds none.
void SelectInBand(int x1, int y1, int x2, int y2);
