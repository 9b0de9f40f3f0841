// Point markers drawn as short lines, many markers to one GDI call. Each
// marker is, pixel for pixel, the 5 by 5 ellipse in the box (x - 2, y - 2) to
// (x + 3, y + 3) as GDI draws it: the ring of its outline, or the dot of the
// outline and its filling. Every pixel of a marker is drawn exactly once, so
// the same marker inverted twice leaves the screen as it was.
#pragma once

#include <windows.h>

// The longest polyline AddMarkerPolyline takes: one through every point of a
// frame, from the last point drawn before it.
enum { MARKER_POLYLINE_MAX = 3001 };

enum MarkerShape {
    MARKER_RING,  // outline only: 12 pixels
    MARKER_DOT    // filled: 21 pixels
};

// Markers added from now on go to dc with its current pen and raster
// operation, in the given shape; markers wholly outside the DC's clip box are
// left out.
void StartMarkers(HDC dc, MarkerShape shape);
void AddMarker(int x, int y);
// A polyline drawn with the markers' pen, in its place among the markers: a
// line and its markers go to the DC in one call.
void AddMarkerPolyline(const POINT* points, int count);
// Draws what waits, before the DC's pen changes; the batch stays open.
void FlushMarkers();
// Draws the markers not drawn yet; the DC is left alone after this.
void FinishMarkers();
