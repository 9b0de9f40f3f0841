// The canvas view: zoom and scroll origin, the conversion between client
// pixels and frame coordinates, the scroll-bar model recomputed at every
// paint, the scroll actions, zooming about the client centre and the cursor
// readout text. Plain logic; the Win32 canvas feeds it client rectangles and
// scroll-bar readings.
#pragma once

enum {
    ZOOM_SHIFT_MIN = 0,
    ZOOM_SHIFT_MAX = 6,
    SCROLL_EXTENT = 67000,  // frame units per axis, centred on 0
    FRAME_COORD_MIN = -32767,
    FRAME_COORD_MAX = 32767
};

// Bars as the Win32 SB_HORZ and SB_VERT numbers.
enum { SCROLL_HORIZONTAL = 0, SCROLL_VERTICAL = 1 };

// Scroll actions as the low word of WM_HSCROLL / WM_VSCROLL carries them.
enum {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4
};

struct ViewState {
    int zoomShift;  // one client pixel covers 2^zoomShift frame units
    int originX;    // zoomed x shown at client column 0
    int originY;    // zoomed y shown at client row 0
    bool recenterPending;
};

extern ViewState viewState;

// One bar as it is written with SetScrollInfo.
struct ScrollBarModel {
    int min;
    int max;
    int page;
    int pos;
};

// Floor of v / 2^shift, without relying on how >> treats negative values.
int FloorShift(int v, int shift);

void ClientToFrame(int x, int y, int* fx, int* fy);
void FrameToClient(int fx, int fy, int* x, int* y);

// 1 when v may be stored from a mouse edit.
int InEditRange(int v);

// Recenters if asked, clamps the origin to the scroll extent and returns what
// both bars show. right and bottom are those of the client rectangle.
void ComputeScrollBars(int right, int bottom, ScrollBarModel* horizontal, ScrollBarModel* vertical);

// Applies one scroll action to the bar's origin. size is the plain client
// width or height; trackPos and max are read from the bar. 1 when the view
// changed and must be repainted, 0 when the action is ignored.
int ScrollView(int bar, int action, int size, int trackPos, int max);

// Zoom about the client centre; 1 when zoomed, 0 when already at the limit.
int ZoomViewIn(int right, int bottom);
int ZoomViewOut(int right, int bottom);

void RequestRecenter();

// "%d, %d": frame position under client pixel (x, y), y shown upward.
void FormatCursorPosition(int x, int y, char* text, int size);

// Start-up view: zoom 1/64, recenter at the next paint.
void ResetViewState();
