// Pictures of frames as SVG files (".svg"), written only: a contact sheet
// of many frames, or one looping animation. Each frame shows the whole
// coordinate square on black, seen as the files see it (Y up), with its
// beam-on moves as green lines and its number and name beneath. Blanked
// moves are left out and points are not marked unless the extras ask for
// them; a spot the beam lights without moving (a visible point reached by a
// blanked move, or a line shorter than the picture's grid) shows as a round
// dot, as the projector would show it.
#pragma once

#include "document/ui_port.h"

// Extras of a picture, for checking a show without a projector.
enum {
    SVG_BLANKED = 1,  // blanked moves as thin dim dashed lines, beneath the lit ones
    SVG_POINTS = 2  // every point marked: lit ones by yellow dots, blanked ones by magenta squares
};

// Writes frames first to last inclusive as a sheet of equal square cells,
// row by row in frame order (last = first - 1 writes an empty sheet). The
// old file is replaced only by a complete new one. Returns 1, or 0 with a
// warning shown; a range outside the store gives 0 and writes nothing.
int WriteSvgSheet(UiWindow owner, const char* path, int first, int last, int extras = 0);

// Writes frames first to last inclusive as one cell that shows them one
// after another and starts again: each frame for as long as the scan speed
// takes to draw its points, and at least 1/60 second, so that a browser
// shows it. Plain SVG animation; a renderer that does not animate shows the
// first frame. Results as WriteSvgSheet.
int WriteSvgAnimation(UiWindow owner, const char* path, int first, int last, int extras = 0);
