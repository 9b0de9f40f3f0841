// Point markers drawn as short lines, many markers to one GDI call. Each
// marker is, pixel for pixel, the 5 by 5 ellipse in the box (x - 2, y - 2) to
// (x + 3, y + 3) as GDI draws it: the ring of its outline, or the dot of the
// outline and its filling. Every pixel of a marker is drawn exactly once, so
// the same marker inverted twice leaves the screen as it was.
#pragma once

#include <windows.h>

enum MarkerShape {
    MARKER_RING,  // outline only: 12 pixels
    MARKER_DOT    // filled: 21 pixels
};

// Markers added from now on go to dc with its current pen and raster
// operation, in the given shape; markers wholly outside the DC's clip box are
// left out.
void StartMarkers(HDC dc, MarkerShape shape);
void AddMarker(int x, int y);
// Draws the markers not drawn yet; the DC is left alone after this.
void FinishMarkers();
