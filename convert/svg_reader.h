// Reading an SVG file into the drawing store (convert/drawing.h). The only
// place that sees the SVG library (svg_conditions, which it calls, sees the
// parsed tree); touches the drawing store and nothing else.
#pragma once

#include <cstddef>

enum {
    SVG_READ_OK = 0,
    SVG_READ_UNREADABLE = 1,   // cannot be opened or read, or too large
    SVG_READ_NOT_XML = 2,      // not well-formed XML
    SVG_READ_NOT_SVG = 3,      // XML whose root is not an SVG svg element
    SVG_READ_TOO_COMPLEX = 4,  // more than the drawing store holds
    SVG_READ_NOTHING = 5       // nothing visible to draw
};

enum { SVG_FILE_MAX = 16 * 1024 * 1024 };

// Reads every visible outline of the file. Returns one of the results above;
// anything but SVG_READ_OK comes with the reason as text in reason.
int ReadSvgDrawing(const char* path, char* reason, size_t reasonSize);
