// Mouse edits of the working frame; touches only the working frame, the undo
// snapshot, the vector-table rows and the append drawing. A refused edit takes
// no snapshot, so the last accepted edit stays undoable.
#include "canvas/edit_ops.h"

#include <cstdint>
#include <cstdlib>

#include "canvas/feedback_port.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"

static void ClientOf(const VectorPoint& p, int* x, int* y) {
    FrameToClient(p.x, p.y, x, y);
}

static bool Near(int ax, int ay, int bx, int by, int tolerance) {
    return std::abs(ax - bx) <= tolerance && std::abs(ay - by) <= tolerance;
}

int AppendPoint(bool visible, int x, int y) {
    if (workingFrame.count >= MAX_POINTS) return 0;
    int fx, fy;
    ClientToFrame(x, y, &fx, &fy);
    if (!InEditRange(fx) || !InEditRange(fy)) return 0;
    TakeUndoSnapshot(UNDO_COUNT_ONLY);

    int index = workingFrame.count;
    bool hasPrevious = index > 0;
    int px = 0, py = 0;
    if (hasPrevious) {
        ClientOf(workingFrame.points[index - 1], &px, &py);
        if (Near(x, y, px, py, SNAP_TOLERANCE)) {
            x = px;
            y = py;
        }
    }
    DrawAppendedSegment(visible, hasPrevious, px, py, x, y);

    ClientToFrame(x, y, &fx, &fy);
    workingFrame.points[index] = {(int16_t)(visible ? POINT_VISIBLE : 0), (int16_t)fx, (int16_t)fy};
    AppendVectorRow(index);
    workingFrame.count = index + 1;
    return 1;
}

int InterpolateTo(bool visible, int x, int y, int n) {
    if (n < 1 || workingFrame.count < 1) return 0;
    if (workingFrame.count + n + 1 > MAX_POINTS) return 0;
    const VectorPoint& last = workingFrame.points[workingFrame.count - 1];
    double px = last.x, py = last.y;
    int fx, fy;
    ClientToFrame(x, y, &fx, &fy);
    if (!InEditRange(fx) || !InEditRange(fy)) return 0;
    TakeUndoSnapshot(UNDO_COUNT_ONLY);

    double dx = (fx - px) / n, dy = (fy - py) / n;
    double hx = dx / 2, hy = dy / 2;
    double ux = px + hx, uy = py + hy;
    int16_t flags = visible ? POINT_VISIBLE : 0;
    int index = workingFrame.count;
    for (int i = 0; i < n; ++i) {
        workingFrame.points[index++] = {flags, (int16_t)(int)ux, (int16_t)(int)uy};
        ux += dx;
        uy += dy;
    }
    workingFrame.points[index++] = {flags, (int16_t)(int)(ux - hx), (int16_t)(int)(uy - hy)};
    workingFrame.count = index;
    return 1;
}

int TruncateAt(int x, int y) {
    if (workingFrame.count < 1) return 0;
    TakeUndoSnapshot(UNDO_COUNT_ONLY);
    int newCount = workingFrame.count - 1;
    for (int i = workingFrame.count - 1; i >= 0; --i) {
        int px, py;
        ClientOf(workingFrame.points[i], &px, &py);
        if (Near(x, y, px, py, SNAP_TOLERANCE)) {
            newCount = i;
            break;
        }
    }
    workingFrame.count = newCount;
    TruncateVectorRows(newCount);
    return 1;
}

int PickForDrag(int x, int y) {
    if (workingFrame.count < 1) return 0;
    bool hitSelected = false, hitUnselected = false;
    for (int i = 0; i < workingFrame.count; ++i) {
        VectorPoint& p = workingFrame.points[i];
        p.flags &= POINT_VISIBLE | POINT_SELECTED;
        int px, py;
        ClientOf(p, &px, &py);
        if (!Near(px, py, x, y, DRAG_PICK_TOLERANCE)) continue;
        if (p.flags & POINT_SELECTED) {
            hitSelected = true;
        } else {
            p.flags |= POINT_MARKED;
            hitUnselected = true;
        }
    }
    if (!hitSelected && !hitUnselected) return 0;
    if (hitSelected) {
        // A selected point drags the whole selection and nothing else.
        for (int i = 0; i < workingFrame.count; ++i) {
            VectorPoint& p = workingFrame.points[i];
            if (p.flags & POINT_SELECTED)
                p.flags |= POINT_MARKED;
            else
                p.flags &= ~POINT_MARKED;
        }
    }
    return 1;
}

int MoveMarked(int dx, int dy) {
    int ddx = dx * (1 << viewState.zoomShift);
    int ddy = dy * (1 << viewState.zoomShift);
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_MARKED)) continue;
        if (!InEditRange(p.x + ddx) || !InEditRange(p.y + ddy)) return 0;
    }
    TakeUndoSnapshot(UNDO_FULL_COPY);
    for (int i = 0; i < workingFrame.count; ++i) {
        VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_MARKED)) continue;
        p.x = (int16_t)(p.x + ddx);
        p.y = (int16_t)(p.y + ddy);
    }
    return 1;
}

void SelectInBand(int x1, int y1, int x2, int y2) {
    int ax, ay, bx, by;
    ClientToFrame(x1, y1, &ax, &ay);
    ClientToFrame(x2, y2, &bx, &by);
    int minX = ax < bx ? ax : bx, maxX = ax < bx ? bx : ax;
    int minY = ay < by ? ay : by, maxY = ay < by ? by : ay;
    bool any = false;
    for (int i = 0; i < workingFrame.count; ++i) {
        VectorPoint& p = workingFrame.points[i];
        if (p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY) {
            p.flags |= POINT_SELECTED;
            any = true;
        }
    }
    if (any) return;
    for (int i = 0; i < workingFrame.count; ++i) workingFrame.points[i].flags &= POINT_VISIBLE;
}
