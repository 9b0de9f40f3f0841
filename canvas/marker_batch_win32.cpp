// The marker batch: the lines of up to MARKER_BATCH markers, and the polylines
// drawn with them, wait in a static buffer and go to the DC in one
// PolyPolyline, in the order they were added. Lines exclude their end pixel.
#include "canvas/marker_batch_win32.h"

#include <climits>

enum { MARKER_BATCH = 1024, LINES_PER_MARKER_MAX = 5, MARKER_RADIUS = 2 };
enum { BATCH_LINES = MARKER_BATCH * LINES_PER_MARKER_MAX };
// Room for the marker lines and one polyline through every point of a frame.
enum { BATCH_POINTS = 2 * BATCH_LINES + MARKER_POLYLINE_MAX };

static HDC batchDc = nullptr;
static MarkerShape batchShape = MARKER_RING;
static RECT batchClip = {};
static POINT batchPoints[BATCH_POINTS];
static DWORD pointsPerLine[BATCH_LINES + 1];
static int pointCount = 0;
static int lineCount = 0;
static int markerCount = 0;

static void Flush() {
    if (batchDc && lineCount > 0)
        PolyPolyline(batchDc, batchPoints, pointsPerLine, (DWORD)lineCount);
    pointCount = 0;
    lineCount = 0;
    markerCount = 0;
}

static void Line(int x1, int y1, int x2, int y2) {
    batchPoints[pointCount++] = {x1, y1};
    batchPoints[pointCount++] = {x2, y2};
    pointsPerLine[lineCount++] = 2;
}

void StartMarkers(HDC dc, MarkerShape shape) {
    Flush();
    batchDc = dc;
    batchShape = shape;
    // Without a clip box every marker is drawn.
    if (GetClipBox(dc, &batchClip) == ERROR)
        batchClip = {INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
}

void AddMarkerPolyline(const POINT* points, int count) {
    if (!batchDc || count < 2 || count > MARKER_POLYLINE_MAX) return;
    if (pointCount + count > BATCH_POINTS || lineCount == BATCH_LINES + 1) Flush();
    for (int i = 0; i < count; ++i) batchPoints[pointCount++] = points[i];
    pointsPerLine[lineCount++] = (DWORD)count;
}

void AddMarker(int x, int y) {
    if (!batchDc) return;
    // The marker covers x - 2 to x + 2; the clip box excludes its right and bottom.
    if (x + MARKER_RADIUS < batchClip.left || x - MARKER_RADIUS >= batchClip.right ||
        y + MARKER_RADIUS < batchClip.top || y - MARKER_RADIUS >= batchClip.bottom)
        return;
    if (markerCount == MARKER_BATCH || lineCount + LINES_PER_MARKER_MAX > BATCH_LINES + 1 ||
        pointCount + 2 * LINES_PER_MARKER_MAX > BATCH_POINTS)
        Flush();
    if (batchShape == MARKER_DOT) {
        Line(x - 1, y - 2, x + 2, y - 2);
        for (int row = y - 1; row <= y + 1; ++row) Line(x - 2, row, x + 3, row);
        Line(x - 1, y + 2, x + 2, y + 2);
    } else {
        Line(x - 1, y - 2, x + 2, y - 2);
        Line(x - 2, y - 1, x - 2, y + 2);
        Line(x + 2, y - 1, x + 2, y + 2);
        Line(x - 1, y + 2, x + 2, y + 2);
    }
    ++markerCount;
}

void FlushMarkers() {
    Flush();
}

void FinishMarkers() {
    Flush();
    batchDc = nullptr;
}
