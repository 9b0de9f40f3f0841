// View state, pixel/frame conversion, scroll-bar model, scrolling and zoom.
#include "canvas/view_transform.h"

#include <cstdio>

ViewState viewState = {ZOOM_SHIFT_MAX, 0, 0, true};

int FloorShift(int v, int shift) {
    // For negative v, ~v is non-negative and ~(~v >> s) rounds toward minus
    // infinity: -1 >> 6 stays -1.
    return v >= 0 ? v >> shift : ~(~v >> shift);
}

// Multiplication rather than << so that negative values stay well defined.
static int ScaleUp(int v, int shift) {
    return v * (1 << shift);
}

void ClientToFrame(int x, int y, int* fx, int* fy) {
    *fx = ScaleUp(x + viewState.originX, viewState.zoomShift);
    *fy = ScaleUp(y + viewState.originY, viewState.zoomShift);
}

void FrameToClient(int fx, int fy, int* x, int* y) {
    *x = FloorShift(fx, viewState.zoomShift) - viewState.originX;
    *y = FloorShift(fy, viewState.zoomShift) - viewState.originY;
}

int InEditRange(int v) {
    return v >= FRAME_COORD_MIN && v <= FRAME_COORD_MAX;
}

static void ClampAxis(int viewSize, int* origin, ScrollBarModel* bar) {
    int extent = SCROLL_EXTENT >> viewState.zoomShift;
    int half = extent / 2;
    if (viewSize >= extent) {
        // Everything fits: keep frame 0 centred and show a disabled bar.
        *origin = -(viewSize / 2);
        *bar = {0, 99, 100, 0};
        return;
    }
    if (*origin < -half) *origin = -half;
    if (*origin > half - viewSize) *origin = half - viewSize;
    *bar = {0, extent - 1, viewSize, *origin + half};
}

void ComputeScrollBars(int right, int bottom, ScrollBarModel* horizontal,
                       ScrollBarModel* vertical) {
    int w = right + 1;
    int h = bottom + 1;
    if (viewState.recenterPending) {
        viewState.originX = -(w / 2);
        viewState.originY = -(h / 2);
        viewState.recenterPending = false;
    }
    ClampAxis(w, &viewState.originX, horizontal);
    ClampAxis(h, &viewState.originY, vertical);
}

int ScrollView(int bar, int action, int size, int trackPos, int max) {
    int* origin = bar == SCROLL_VERTICAL ? &viewState.originY : &viewState.originX;
    switch (action) {
        case SCROLL_LINE_UP:
            *origin -= size / 16;
            return 1;
        case SCROLL_LINE_DOWN:
            *origin += size / 16;
            return 1;
        case SCROLL_PAGE_UP:
            *origin -= size / 2;
            return 1;
        case SCROLL_PAGE_DOWN:
            *origin += size / 2;
            return 1;
        case SCROLL_THUMB_POSITION:
            *origin = trackPos - (max + 1) / 2;
            return 1;
        default:
            // Thumb tracking and the rest: the view follows only on release.
            return 0;
    }
}

static void Rezoom(int right, int bottom, int newShift) {
    int cw = (right + 1) / 2;
    int ch = (bottom + 1) / 2;
    int cx = ScaleUp(cw + viewState.originX, viewState.zoomShift);
    int cy = ScaleUp(ch + viewState.originY, viewState.zoomShift);
    viewState.zoomShift = newShift;
    viewState.originX = FloorShift(cx, newShift) - cw;
    viewState.originY = FloorShift(cy, newShift) - ch;
}

int ZoomViewIn(int right, int bottom) {
    if (viewState.zoomShift <= ZOOM_SHIFT_MIN) return 0;
    Rezoom(right, bottom, viewState.zoomShift - 1);
    return 1;
}

int ZoomViewOut(int right, int bottom) {
    if (viewState.zoomShift >= ZOOM_SHIFT_MAX) return 0;
    Rezoom(right, bottom, viewState.zoomShift + 1);
    return 1;
}

void RequestRecenter() {
    viewState.recenterPending = true;
}

void FormatCursorPosition(int x, int y, char* text, int size) {
    int fx = ScaleUp(x + viewState.originX, viewState.zoomShift);
    int fy = ScaleUp(-(y + viewState.originY), viewState.zoomShift);
    std::snprintf(text, (size_t)size, "%d, %d", fx, fy);
}

void ResetViewState() {
    viewState = {ZOOM_SHIFT_MAX, 0, 0, true};
}
