// Colours of the canvas drawing, as COLORREF values (0x00BBGGRR).
#pragma once

enum : unsigned long {
    CANVAS_COLOR_VISIBLE = 0x00FF00,    // green: segments to and markers of visible points
    CANVAS_COLOR_BLANKED = 0xFF0000,    // blue: the same for blanked points
    CANVAS_COLOR_FRAME_BOX = 0x000080,  // dark red
    CANVAS_COLOR_SELECTION = 0x0000FF,  // red: selected-point markers
    CANVAS_COLOR_WHITE = 0xFFFFFF       // axes; inversion strokes
};
