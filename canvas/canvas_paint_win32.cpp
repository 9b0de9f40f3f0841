// Full repaint of the canvas: picture, frame box, axes, the working frame and
// its selection. Reads the view, the picture and the working frame; changes
// only the origin (through the scroll-bar update). Drawing objects live for
// one paint. The scene is drawn off the screen and copied to the window; the
// window itself is drawn on only when no off-screen bitmap can be had.
#include "canvas/canvas_paint_win32.h"

#include <cstdint>

#include "canvas/canvas_colors.h"
#include "canvas/marker_batch_win32.h"
#include "canvas/paint_buffer_win32.h"
#include "canvas/picture_placement.h"
#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"

enum { FRAME_SPAN = 65536 };

// Writing a bar is slow under Wine (it is redrawn, and the system metrics
// are read again): a bar that already shows the model is left alone.
static void WriteBar(HWND window, int bar, const ScrollBarModel& model) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (GetScrollInfo(window, bar, &info) && info.nMin == model.min && info.nMax == model.max &&
        info.nPage == (UINT)model.page && info.nPos == model.pos)
        return;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = model.min;
    info.nMax = model.max;
    info.nPage = (UINT)model.page;
    info.nPos = model.pos;
    SetScrollInfo(window, bar, &info, TRUE);
}

void UpdateScrollBars(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    ScrollBarModel horizontal, vertical;
    ComputeScrollBars(client.right, client.bottom, &horizontal, &vertical);
    WriteBar(window, SB_HORZ, horizontal);
    WriteBar(window, SB_VERT, vertical);
}

static void DrawPicture(HDC dc, const RECT& client) {
    if (!templatePicture.pictureBitmap) return;
    PictureCopy copy;
    if (!PlacePicture(templatePicture.pictureWidth, templatePicture.pictureHeight, client.right + 1,
                      client.bottom + 1, &copy))
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, templatePicture.pictureBitmap);
    BitBlt(dc, copy.destX, copy.destY, copy.width, copy.height, memory, copy.srcX, copy.srcY,
           SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

static void DrawBoxAndAxes(HDC dc, HPEN boxPen, HPEN axisPen) {
    int half = (FRAME_SPAN >> viewState.zoomShift) / 2;
    int ox = viewState.originX, oy = viewState.originY;
    SelectObject(dc, boxPen);
    Rectangle(dc, -half - ox, -half - oy, half - ox, half - oy);
    SelectObject(dc, axisPen);
    MoveToEx(dc, -half - ox, -oy, nullptr);
    LineTo(dc, half - ox, -oy);
    MoveToEx(dc, -ox, -half - oy, nullptr);
    LineTo(dc, -ox, half - oy);
}

// A point that repeats the previous one in visibility and position adds
// nothing to see.
static bool RepeatsPrevious(int i) {
    if (i == 0) return false;
    const VectorPoint& p = workingFrame.points[i];
    const VectorPoint& q = workingFrame.points[i - 1];
    return ((p.flags ^ q.flags) & POINT_VISIBLE) == 0 && p.x == q.x && p.y == q.y;
}

// Client positions of one run, after the run's starting point.
static POINT runPoints[MAX_POINTS + 1];
static_assert(MAX_POINTS + 1 <= MARKER_POLYLINE_MAX, "a run fits one marker batch");

// Consecutive drawn points of one colour make a run: a polyline from the
// last point drawn before it through its points, then its markers, in the
// order the segments and markers would be drawn one by one. A run's line and
// markers share its pen and go to the DC together.
static void DrawPolyline(HDC dc, HPEN visiblePen, HPEN blankedPen) {
    int count = workingFrame.count;
    int i = 0;
    int n = 0;  // points in runPoints; the last one is where the next run starts
    StartMarkers(dc, MARKER_RING);
    while (i < count) {
        bool visible = (workingFrame.points[i].flags & POINT_VISIBLE) != 0;
        FlushMarkers();
        SelectObject(dc, visible ? visiblePen : blankedPen);
        if (n > 0) {
            runPoints[0] = runPoints[n - 1];
            n = 1;
        }
        int firstOfRun = n;
        for (; i < count; ++i) {
            if (RepeatsPrevious(i)) continue;
            const VectorPoint& p = workingFrame.points[i];
            if (((p.flags & POINT_VISIBLE) != 0) != visible) break;
            int x, y;
            FrameToClient(p.x, p.y, &x, &y);
            runPoints[n++] = {x, y};
        }
        AddMarkerPolyline(runPoints, n);
        for (int k = firstOfRun; k < n; ++k) AddMarker(runPoints[k].x, runPoints[k].y);
    }
    FinishMarkers();
}

// Client positions of the selection's markers, in point order: a selected
// point on the pixel of the marker before it adds none.
static POINT selectionMarkers[MAX_POINTS];

static int FindSelectionMarkers() {
    int n = 0;
    int lastX = 100000, lastY = 100000;  // nothing drawn yet
    for (int i = 0; i < workingFrame.count && n < MAX_POINTS; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_SELECTED)) continue;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (x == lastX && y == lastY) continue;
        selectionMarkers[n++] = {x, y};
        lastX = x;
        lastY = y;
    }
    return n;
}

// Filled red markers, drawn as dots in the selection pen.
static void DrawSelection(HDC dc, HPEN selectionPen) {
    SelectObject(dc, selectionPen);
    StartMarkers(dc, MARKER_DOT);
    int n = FindSelectionMarkers();
    for (int k = 0; k < n; ++k) AddMarker(selectionMarkers[k].x, selectionMarkers[k].y);
    FinishMarkers();
}

// The polyline and markers of DrawPolyline, written into the pixels: a
// segment and then its point's marker, point by point.
static void DrawPolylinePixels(const PixelBuffer& pixels) {
    uint32_t visible = BufferColour(CANVAS_COLOR_VISIBLE);
    uint32_t blanked = BufferColour(CANVAS_COLOR_BLANKED);
    int lastX = 0, lastY = 0;
    for (int i = 0; i < workingFrame.count; ++i) {
        if (RepeatsPrevious(i)) continue;
        const VectorPoint& p = workingFrame.points[i];
        uint32_t colour = (p.flags & POINT_VISIBLE) ? visible : blanked;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (i > 0) DrawPixelLine(pixels, lastX, lastY, x, y, colour);
        DrawPixelMarker(pixels, x, y, PIXEL_MARKER_RING, colour);
        lastX = x;
        lastY = y;
    }
}

// The selection of DrawSelection, written into the pixels.
static void DrawSelectionPixels(const PixelBuffer& pixels) {
    uint32_t red = BufferColour(CANVAS_COLOR_SELECTION);
    int n = FindSelectionMarkers();
    for (int k = 0; k < n; ++k)
        DrawPixelMarker(pixels, selectionMarkers[k].x, selectionMarkers[k].y, PIXEL_MARKER_DOT,
                        red);
}

LRESULT PaintCanvas(HWND window) {
    UpdateScrollBars(window);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) return 0;
    RECT client;
    GetClientRect(window, &client);
    PaintBuffer buffer;
    bool buffered = OpenPaintBuffer(client.right, client.bottom, &buffer);
    HDC target = buffered ? buffer.dc : dc;
    // The window's own erase is skipped: the scene starts black here.
    FillRect(target, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
    DrawPicture(target, client);

    HPEN boxPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_FRAME_BOX);
    HPEN axisPen = CreatePen(PS_DOT, 1, CANVAS_COLOR_WHITE);
    HGDIOBJ oldBrush = SelectObject(target, GetStockObject(NULL_BRUSH));
    SetBkMode(target, TRANSPARENT);
    HGDIOBJ oldPen = SelectObject(target, boxPen);
    DrawBoxAndAxes(target, boxPen, axisPen);
    if (buffered) {
        GdiFlush();  // GDI's drawing is in the pixels before they are written to
        DrawPolylinePixels(buffer.pixels);
        DrawSelectionPixels(buffer.pixels);
    } else {
        HPEN visiblePen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_VISIBLE);
        HPEN blankedPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_BLANKED);
        HPEN selectionPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_SELECTION);
        DrawPolyline(dc, visiblePen, blankedPen);
        DrawSelection(dc, selectionPen);
        SelectObject(dc, oldPen);
        DeleteObject(visiblePen);
        DeleteObject(blankedPen);
        DeleteObject(selectionPen);
    }
    SelectObject(target, oldBrush);
    SelectObject(target, oldPen);
    DeleteObject(boxPen);
    DeleteObject(axisPen);
    if (buffered) {
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer.dc, r.left, r.top,
               SRCCOPY);
    }
    EndPaint(window, &paint);
    return 0;
}
