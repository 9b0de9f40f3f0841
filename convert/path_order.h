// The order in which a frame draws a drawing's paths: each next path is the
// one whose start or end lies nearest to where the beam stands, drawn from
// that end, so that the blanked moves between paths stay short. Plain
// geometry; touches nothing but what it is given.
#pragma once

#include "convert/drawing.h"

// Orders count paths given by their start and end points, beginning with
// path 0 from its start. order receives the path indexes in drawing order;
// reversed[i] is set when path i is drawn from its end.
void OrderPaths(const DrawingPoint* starts, const DrawingPoint* ends, int count, int* order,
                bool* reversed);
