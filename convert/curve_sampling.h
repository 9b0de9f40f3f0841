// Curves as chords: a cubic Bezier curve sampled so that no chord strays
// further from the curve than a tolerance, and the exact extent of a curve.
// Plain geometry; touches nothing but what it is given.
#pragma once

#include "convert/drawing.h"

enum { CUBIC_MAX_CHORDS = 4096 };

// Writes the ends of the chords after p0, p3 last, into out (room for
// CUBIC_MAX_CHORDS points) and returns their count. Each chord keeps the
// piece of curve it replaces within tolerance of itself.
int SampleCubic(DrawingPoint p0, DrawingPoint c1, DrawingPoint c2, DrawingPoint p3,
                double tolerance, DrawingPoint* out);

// Grows the box (low, high) to take in the whole curve, not only its
// control points.
void ExtendByCubic(DrawingPoint p0, DrawingPoint c1, DrawingPoint c2, DrawingPoint p3,
                   DrawingPoint* low, DrawingPoint* high);
void ExtendByPoint(DrawingPoint p, DrawingPoint* low, DrawingPoint* high);

// Distance from p to the segment a-b.
double DistanceToSegment(DrawingPoint p, DrawingPoint a, DrawingPoint b);
