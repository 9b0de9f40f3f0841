// Drawing the canvas scene on a DC. With GDI, consecutive segments of one
// colour make one polyline, which goes to the DC in one batch with the
// markers of its colour; the batch is drawn whenever the colour changes.
// Lines and markers of one colour may reach the DC in any order: each pixel
// they cover is simply set to that colour.
#include "canvas/scene_drawing_win32.h"

#include "canvas/canvas_colors.h"
#include "canvas/marker_batch_win32.h"
#include "canvas/paint_buffer_win32.h"
#include "canvas/template_picture_win32.h"

enum { INK_COUNT = 3, NO_INK = -1 };

static const COLORREF inkColours[INK_COUNT] = {CANVAS_COLOR_VISIBLE, CANVAS_COLOR_BLANKED,
                                               CANVAS_COLOR_SELECTION};

static HDC sceneDc = nullptr;
static RECT sceneClient = {};
static PixelBuffer scenePixels = {};
static bool toPixels = false;
static bool pixelsFlushed = false;  // GDI's drawing is in the pixels
static HPEN boxPen = nullptr, axisPen = nullptr;
static HPEN inkPens[INK_COUNT] = {};
static HGDIOBJ savedPen = nullptr, savedBrush = nullptr;
static int currentInk = NO_INK;
// The polyline waiting for the batch: the segments since the colour changed
// or a segment did not start where the one before it ended.
static POINT polyline[MARKER_POLYLINE_MAX];
static int polylineCount = 0;

static void Clear(void*) {
    FillRect(sceneDc, &sceneClient, (HBRUSH)GetStockObject(BLACK_BRUSH));
}

static void Picture(void*, const PictureCopy& copy) {
    HDC memory = CreateCompatibleDC(sceneDc);
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, templatePicture.pictureBitmap);
    BitBlt(sceneDc, copy.destX, copy.destY, copy.width, copy.height, memory, copy.srcX, copy.srcY,
           SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

static void Box(void*, int left, int top, int right, int bottom) {
    SelectObject(sceneDc, boxPen);
    Rectangle(sceneDc, left, top, right, bottom);
}

static void Axis(void*, int x1, int y1, int x2, int y2) {
    SelectObject(sceneDc, axisPen);
    MoveToEx(sceneDc, x1, y1, nullptr);
    LineTo(sceneDc, x2, y2);
}

static void FlushPolyline() {
    if (polylineCount >= 2) AddMarkerPolyline(polyline, polylineCount);
    polylineCount = 0;
}

static void UseInk(SceneInk ink) {
    if (ink == currentInk) return;
    FlushPolyline();
    FlushMarkers();
    SelectObject(sceneDc, inkPens[ink]);
    StartMarkers(sceneDc, ink == SCENE_SELECTION ? MARKER_DOT : MARKER_RING);
    currentInk = ink;
}

static void GdiLine(void*, int x1, int y1, int x2, int y2, SceneInk ink) {
    UseInk(ink);
    bool goesOn = polylineCount > 0 && polylineCount < MARKER_POLYLINE_MAX &&
                  polyline[polylineCount - 1].x == x1 && polyline[polylineCount - 1].y == y1;
    if (!goesOn) {
        FlushPolyline();
        polyline[polylineCount++] = {x1, y1};
    }
    polyline[polylineCount++] = {x2, y2};
}

static void GdiMarker(void*, int x, int y, SceneInk ink) {
    UseInk(ink);
    AddMarker(x, y);
}

static void FlushGdi() {
    if (pixelsFlushed) return;
    GdiFlush();
    pixelsFlushed = true;
}

static void PixelLine(void*, int x1, int y1, int x2, int y2, SceneInk ink) {
    FlushGdi();
    DrawPixelLine(scenePixels, x1, y1, x2, y2, BufferColour(inkColours[ink]));
}

static void PixelMarker(void*, int x, int y, SceneInk ink) {
    FlushGdi();
    DrawPixelMarker(scenePixels, x, y,
                    ink == SCENE_SELECTION ? PIXEL_MARKER_DOT : PIXEL_MARKER_RING,
                    BufferColour(inkColours[ink]));
}

void StartSceneDrawing(HDC dc, int width, int height, const PixelBuffer* pixels,
                       SceneOutput* output) {
    sceneDc = dc;
    sceneClient = {0, 0, width, height};
    toPixels = pixels != nullptr;
    scenePixels = toPixels ? *pixels : PixelBuffer{};
    pixelsFlushed = false;
    currentInk = NO_INK;
    polylineCount = 0;
    boxPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_FRAME_BOX);
    axisPen = CreatePen(PS_DOT, 1, CANVAS_COLOR_WHITE);
    for (int ink = 0; ink < INK_COUNT; ++ink)
        inkPens[ink] = toPixels ? nullptr : CreatePen(PS_SOLID, 1, inkColours[ink]);
    savedBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    savedPen = SelectObject(dc, boxPen);
    // The gaps of the dotted axes show what lies below.
    SetBkMode(dc, TRANSPARENT);
    *output = {nullptr,
               Clear,
               Picture,
               Box,
               Axis,
               toPixels ? PixelLine : GdiLine,
               toPixels ? PixelMarker : GdiMarker};
}

void FinishSceneDrawing() {
    if (!toPixels) {
        FlushPolyline();
        FinishMarkers();
    }
    SelectObject(sceneDc, savedBrush);
    SelectObject(sceneDc, savedPen);
    DeleteObject(boxPen);
    DeleteObject(axisPen);
    for (HPEN& pen : inkPens) {
        if (pen) DeleteObject(pen);
        pen = nullptr;
    }
    boxPen = axisPen = nullptr;
    sceneDc = nullptr;
}
