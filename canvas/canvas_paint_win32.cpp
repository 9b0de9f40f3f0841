// Full repaint of the canvas: the scene walked once, drawn off the screen and
// copied to the window; the window itself is drawn on only when no
// off-screen bitmap can be had. Reads the view, the picture and the working
// frame; changes only the origin (through the scroll-bar update).
#include "canvas/canvas_paint_win32.h"

#include "canvas/canvas_scene.h"
#include "canvas/paint_buffer_win32.h"
#include "canvas/scene_drawing_win32.h"
#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"

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

LRESULT PaintCanvas(HWND window) {
    UpdateScrollBars(window);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) return 0;
    RECT client;
    GetClientRect(window, &client);
    PaintBuffer buffer;
    bool buffered = OpenPaintBuffer(client.right, client.bottom, &buffer);
    // The window's own erase is skipped: the scene starts black.
    SceneOutput output;
    StartSceneDrawing(buffered ? buffer.dc : dc, client.right, client.bottom,
                      buffered ? &buffer.pixels : nullptr, &output);
    bool picture = templatePicture.pictureBitmap != nullptr;
    WalkCanvasScene(output, client.right, client.bottom, picture ? templatePicture.pictureWidth : 0,
                    picture ? templatePicture.pictureHeight : 0);
    FinishSceneDrawing();
    if (buffered) {
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer.dc, r.left, r.top,
               SRCCOPY);
    }
    EndPaint(window, &paint);
    return 0;
}
