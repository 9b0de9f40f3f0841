// Feedback drawing with GDI: pens and brushes live for one stroke only.
#include "canvas/canvas_feedback_win32.h"

#include "canvas/canvas_colors.h"
#include "canvas/feedback_port.h"
#include "canvas/marker_batch_win32.h"

static HWND feedbackWindow = nullptr;

// State of one inversion stroke, between begin and end. Filled markers are
// drawn as dots in the pen, so no stroke needs a brush.
static HDC inversionDc = nullptr;
static HPEN inversionPen = nullptr;
static HGDIOBJ savedPen = nullptr;
static HGDIOBJ savedBrush = nullptr;

static void DrawSegment(bool visible, bool hasFrom, int fromX, int fromY, int toX, int toY) {
    if (!feedbackWindow) return;
    HDC dc = GetDC(feedbackWindow);
    if (!dc) return;
    HPEN pen = CreatePen(PS_SOLID, 1, visible ? CANVAS_COLOR_VISIBLE : CANVAS_COLOR_BLANKED);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (hasFrom) {
        MoveToEx(dc, fromX, fromY, nullptr);
        LineTo(dc, toX, toY);
    }
    StartMarkers(dc, MARKER_RING);
    AddMarker(toX, toY);
    FinishMarkers();
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    ReleaseDC(feedbackWindow, dc);
    DeleteObject(pen);
}

static void BeginStroke(int kind) {
    if (!feedbackWindow || inversionDc) return;
    inversionDc = GetDC(feedbackWindow);
    if (!inversionDc) return;
    SetROP2(inversionDc, R2_NOT);
    // Under R2_NOT the colour does not matter; white keeps it recognisable.
    inversionPen = CreatePen(PS_SOLID, 1, CANVAS_COLOR_WHITE);
    savedPen = SelectObject(inversionDc, inversionPen);
    savedBrush = SelectObject(inversionDc, GetStockObject(NULL_BRUSH));
    // The markers of one stroke wait in the batch and go out together.
    if (kind == INVERT_FILLED_MARKERS) StartMarkers(inversionDc, MARKER_DOT);
}

static void StrokeMarker(int x, int y) {
    if (inversionDc) AddMarker(x, y);
}

static void StrokeRectangle(int left, int top, int right, int bottom) {
    if (inversionDc) Rectangle(inversionDc, left, top, right, bottom);
}

static void EndStroke() {
    if (!inversionDc) return;
    FinishMarkers();
    SetROP2(inversionDc, R2_COPYPEN);
    SelectObject(inversionDc, savedBrush);
    SelectObject(inversionDc, savedPen);
    ReleaseDC(feedbackWindow, inversionDc);
    DeleteObject(inversionPen);
    inversionDc = nullptr;
    inversionPen = nullptr;
}

void DrawFeedbackOn(HWND window) {
    feedbackWindow = window;
    feedbackPort = {DrawSegment, BeginStroke, StrokeMarker, StrokeRectangle, EndStroke};
}

void StopFeedbackOn(HWND window) {
    if (feedbackWindow != window) return;
    feedbackWindow = nullptr;
    feedbackPort = {};
}
