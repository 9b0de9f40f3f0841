// Feedback drawing with GDI: pens and brushes live for one stroke only.
#include "canvas/canvas_feedback_win32.h"

#include "canvas/canvas_colors.h"
#include "canvas/feedback_port.h"

static HWND feedbackWindow = nullptr;

// State of one inversion stroke, between begin and end.
static HDC inversionDc = nullptr;
static HPEN inversionPen = nullptr;
static HBRUSH inversionBrush = nullptr;  // null for the band outline
static HGDIOBJ savedPen = nullptr;
static HGDIOBJ savedBrush = nullptr;

static void Marker(HDC dc, int x, int y) {
    Ellipse(dc, x - 2, y - 2, x + 3, y + 3);
}

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
    Marker(dc, toX, toY);
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
    inversionBrush = kind == INVERT_FILLED_MARKERS ? CreateSolidBrush(CANVAS_COLOR_WHITE) : nullptr;
    savedPen = SelectObject(inversionDc, inversionPen);
    savedBrush = SelectObject(
        inversionDc, inversionBrush ? (HGDIOBJ)inversionBrush : GetStockObject(NULL_BRUSH));
}

static void StrokeMarker(int x, int y) {
    if (inversionDc) Marker(inversionDc, x, y);
}

static void StrokeRectangle(int left, int top, int right, int bottom) {
    if (inversionDc) Rectangle(inversionDc, left, top, right, bottom);
}

static void EndStroke() {
    if (!inversionDc) return;
    SetROP2(inversionDc, R2_COPYPEN);
    SelectObject(inversionDc, savedBrush);
    SelectObject(inversionDc, savedPen);
    ReleaseDC(feedbackWindow, inversionDc);
    DeleteObject(inversionPen);
    if (inversionBrush) DeleteObject(inversionBrush);
    inversionDc = nullptr;
    inversionPen = nullptr;
    inversionBrush = nullptr;
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
