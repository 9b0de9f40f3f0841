// Full repaint of the canvas: picture, frame box, axes, the working frame and
// its selection. Reads the view, the picture and the working frame; changes
// only the origin (through the scroll-bar update). Drawing objects live for
// one paint.
#include "canvas/canvas_paint_win32.h"

#include "canvas/canvas_colors.h"
#include "canvas/picture_placement.h"
#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"

enum { FRAME_SPAN = 65536 };

static void WriteBar(HWND window, int bar, const ScrollBarModel& model) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
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

static void Marker(HDC dc, int x, int y) {
    Ellipse(dc, x - 2, y - 2, x + 3, y + 3);
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

static void DrawPolyline(HDC dc, HPEN visiblePen, HPEN blankedPen) {
    HPEN current = nullptr;
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (i > 0) {
            // A repeat of the previous point adds nothing to see.
            const VectorPoint& q = workingFrame.points[i - 1];
            if (((p.flags ^ q.flags) & POINT_VISIBLE) == 0 && p.x == q.x && p.y == q.y) continue;
        }
        HPEN pen = (p.flags & POINT_VISIBLE) ? visiblePen : blankedPen;
        if (pen != current) {
            SelectObject(dc, pen);
            current = pen;
        }
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (i == 0)
            MoveToEx(dc, x, y, nullptr);
        else
            LineTo(dc, x, y);
        Marker(dc, x, y);
    }
}

static void DrawSelection(HDC dc, HPEN selectionPen, HBRUSH selectionBrush) {
    SelectObject(dc, selectionPen);
    SelectObject(dc, selectionBrush);
    int lastX = 100000, lastY = 100000;  // nothing drawn yet
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& p = workingFrame.points[i];
        if (!(p.flags & POINT_SELECTED)) continue;
        int x, y;
        FrameToClient(p.x, p.y, &x, &y);
        if (x == lastX && y == lastY) continue;
        Marker(dc, x, y);
        lastX = x;
        lastY = y;
    }
}

LRESULT PaintCanvas(HWND window) {
    UpdateScrollBars(window);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) return 0;
    RECT client;
    GetClientRect(window, &client);
    DrawPicture(dc, client);

    HPEN visiblePen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_VISIBLE);
    HPEN blankedPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_BLANKED);
    HPEN boxPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_FRAME_BOX);
    HPEN selectionPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_SELECTION);
    HPEN axisPen = CreatePen(PS_DOT, 1, CANVAS_COLOR_WHITE);
    HBRUSH selectionBrush = CreateSolidBrush(CANVAS_COLOR_SELECTION);

    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldPen = SelectObject(dc, boxPen);
    DrawBoxAndAxes(dc, boxPen, axisPen);
    DrawPolyline(dc, visiblePen, blankedPen);
    DrawSelection(dc, selectionPen, selectionBrush);

    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(visiblePen);
    DeleteObject(blankedPen);
    DeleteObject(boxPen);
    DeleteObject(selectionPen);
    DeleteObject(axisPen);
    DeleteObject(selectionBrush);
    EndPaint(window, &paint);
    return 0;
}
