// Writing SVG pictures of frames. Reads the store and the scan speed
// directly and goes through the atomic writer; nothing in the document
// changes.
#include "formats/svg_file.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "formats/decimal_text.h"
#include "formats/name_text.h"
#include "formats/text_output.h"

// Picture units: coordinates are rounded to a grid of 64 frame units, so
// that a cell is 1024 units wide and the numbers of a path stay small. The
// picture's own scale makes a sheet cell 160 pixels wide, the animation's
// cell 320.
enum {
    GRID_SHIFT = 6,
    CELL = 65536 >> GRID_SHIFT,
    GAP = 64,  // between cells and around them
    LABEL_BAND = 160,
    LABEL_BASELINE = 104,  // below the cell
    SHEET_SCALE = 32,      // picture units per 5 pixels
    ANIMATION_SCALE = 16,
    // The most a point can add to a path: a dot, a move and a line.
    POINT_ROOM = 32,
    FRAME_ROOM = MAX_POINTS * POINT_ROOM + 256,
    LABEL_ROOM = XML_NAME_MAX + 128,
    LINE_ROOM = 512,
    MICROSECONDS = 1000000,
    SHORTEST_FRAME = (MICROSECONDS + 59) / 60  // one frame at 60 Hz
};

static const char* const LINE_STYLE =
    "fill=\"none\" stroke=\"#00FF00\" stroke-width=\"10\" stroke-linecap=\"round\" "
    "stroke-linejoin=\"round\"";
static const char* const LABEL_STYLE = "font-family=\"sans-serif\" font-size=\"80\"";
static const char* const LABEL_COLOUR = "fill=\"#C0C0C0\"";
// The extras: blanked moves thin, dim and dashed beneath the lit lines;
// marks on top, lit points as round dots, blanked points as larger squares.
// The marks are markers on the vertices of paths, which costs the lit ones
// no bytes: every lit point is a vertex of the frame's lit path. That path
// also moves to blanked points, whose squares are drawn over those dots.
static const char* const BLANKED_STYLE =
    "<path stroke=\"#808080\" stroke-width=\"5\" stroke-dasharray=\"24 16\" "
    "stroke-linecap=\"butt\"%s d=\"M";
static const char* const MARKER_DEFINITIONS =
    "<defs>\n"
    "<marker id=\"lit\" markerUnits=\"userSpaceOnUse\" markerWidth=\"12\" markerHeight=\"12\" "
    "refX=\"6\" refY=\"6\"><circle cx=\"6\" cy=\"6\" r=\"6\" fill=\"#FFFF00\"/></marker>\n"
    "<marker id=\"blanked\" markerUnits=\"userSpaceOnUse\" markerWidth=\"14\" "
    "markerHeight=\"14\" refX=\"7\" refY=\"7\"><rect width=\"14\" height=\"14\" "
    "fill=\"#FF00FF\"/></marker>\n"
    "</defs>\n";
// On the line group, for the lit paths; the other paths in it undo them.
static const char* const LIT_MARKERS =
    " marker-start=\"url(#lit)\" marker-mid=\"url(#lit)\" marker-end=\"url(#lit)\"";
static const char* const NO_MARKERS =
    " marker-start=\"none\" marker-mid=\"none\" marker-end=\"none\"";
static const char* const BLANKED_MARKS =
    "<path stroke=\"none\" marker-start=\"url(#blanked)\" marker-mid=\"url(#blanked)\" "
    "marker-end=\"url(#blanked)\" d=\"M";
// Inside the animation's line group, the label undoes the line style.
static const char* const ANIMATION_LABEL = " fill=\"#C0C0C0\" stroke=\"none\"";

static TextOutput svgOutput;

// Appends formatted text of at most LINE_ROOM bytes.
__attribute__((format(printf, 2, 3))) static void Put(TextOutput* out, const char* format, ...) {
    char* p = TextRoom(out, LINE_ROOM);
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(p, LINE_ROOM, format, args);
    va_end(args);
    if (length > 0) out->cursor = p + (length < LINE_ROOM ? length : LINE_ROOM - 1);
}

static int RangeInStore(int first, int last) {
    return first >= 0 && first < MAX_FRAMES && last >= first - 1 && last < MAX_FRAMES;
}

// A coordinate on the picture's grid, 0 to 1024 across the cell; y grows
// downward in the store and on the picture alike.
static inline int Grid(int16_t value) {
    return ((int)value + 32768 + (1 << (GRID_SHIFT - 1))) >> GRID_SHIFT;
}

// A number of a path, with a space before it only where a digit would
// otherwise run into it.
static inline char* PutNumber(char* p, int value, bool afterNumber) {
    if (afterNumber && value >= 0) *p++ = ' ';
    return PutDecimal(p, value);
}

// One relative step of a path. The letter is left out where the one before
// carries over: pairs after a move or a line are lines.
static inline char* PutStep(char* p, char command, char* last, int dx, int dy) {
    bool afterNumber = true;
    if (command == 'm' || *last == 'M') {
        *p++ = command;
        afterNumber = false;
    }
    *last = command;
    p = PutNumber(p, dx, afterNumber);
    return PutNumber(p, dy, true);
}

// The frame's beam-on moves as one path, the cell's top left corner at
// (left, top). Positions are rounded to the grid first and the steps taken
// between rounded positions, so they never drift. Blanked moves only move
// the beam; a spot lit without a line from it (a visible point reached by
// a blanked move, or a line too short for the grid) becomes a zero-length
// line, which the round caps show as a dot. Returns the end of what was
// written, or p itself when the frame lights nothing. Needs FRAME_ROOM.
// With marked set, the markers of the lit points need every point that
// ends a part of the path before a move to stand inside it too: renderers
// put no marker on such an end. A step of no length there (which the round
// caps already draw) makes the point a vertex inside the path.
static char* PutFramePath(char* p, const VectorPoint* points, int count, int left, int top,
                          bool marked) {
    char* const start = p;
    if (count <= 0) return p;
    std::memcpy(p, "<path d=\"M", 10);
    p += 10;
    int penX = Grid(points[0].x), penY = Grid(points[0].y);
    p = PutDecimal(p, left + penX);
    p = PutNumber(p, top + penY, true);
    char last = 'M';
    int beamX = penX, beamY = penY;
    bool litHere = false;  // something is drawn at or from the pen since it moved
    bool dot = (points[0].flags & POINT_VISIBLE) != 0;
    bool lit = false;
    for (int i = 1; i < count; ++i) {
        const int x = Grid(points[i].x), y = Grid(points[i].y);
        if (!(points[i].flags & POINT_VISIBLE)) {
            if (dot) {
                p = PutStep(p, 'l', &last, 0, 0);
                dot = false;
                litHere = lit = true;
            }
            beamX = x;
            beamY = y;
            continue;
        }
        if (beamX != penX || beamY != penY) {
            if (marked && litHere) p = PutStep(p, 'l', &last, 0, 0);
            p = PutStep(p, 'm', &last, beamX - penX, beamY - penY);
            penX = beamX;
            penY = beamY;
            litHere = false;
        }
        if (x == penX && y == penY) {
            dot = dot || !litHere;
            continue;
        }
        p = PutStep(p, 'l', &last, x - penX, y - penY);
        penX = beamX = x;
        penY = beamY = y;
        litHere = lit = true;
        dot = false;
    }
    if (dot) {
        p = PutStep(p, 'l', &last, 0, 0);
        lit = true;
    }
    if (!lit) return start;
    std::memcpy(p, "\"/>\n", 4);
    return p + 4;
}

static inline char* PutText(char* p, const char* text) {
    const size_t length = std::strlen(text);
    std::memcpy(p, text, length);
    return p + length;
}

static inline char* EndPath(char* p) {
    std::memcpy(p, "\"/>\n", 4);
    return p + 4;
}

// The frame's blanked moves as one dashed path, as PutFramePath draws the
// lit ones; moves that stay on one spot of the grid are left out. style:
// BLANKED_STYLE with its markers filled in. Returns p itself when there is
// none. Needs FRAME_ROOM.
static char* PutBlankedPath(char* p, const char* style, const VectorPoint* points, int count,
                            int left, int top) {
    char* const start = p;
    if (count < 2) return p;
    p = PutText(p, style);
    int penX = Grid(points[0].x), penY = Grid(points[0].y);
    p = PutDecimal(p, left + penX);
    p = PutNumber(p, top + penY, true);
    char last = 'M';
    int fromX = penX, fromY = penY;  // the point before
    bool drawn = false;
    for (int i = 1; i < count; ++i) {
        const int x = Grid(points[i].x), y = Grid(points[i].y);
        if (!(points[i].flags & POINT_VISIBLE) && (x != fromX || y != fromY)) {
            if (fromX != penX || fromY != penY)
                p = PutStep(p, 'm', &last, fromX - penX, fromY - penY);
            p = PutStep(p, 'l', &last, x - fromX, y - fromY);
            penX = x;
            penY = y;
            drawn = true;
        }
        fromX = x;
        fromY = y;
    }
    return drawn ? EndPath(p) : start;
}

// An unstroked path through the frame's blanked points, whose markers are
// their marks; a point where the one before stands adds nothing. Returns p
// itself when there is none. Needs FRAME_ROOM.
static char* PutBlankedMarks(char* p, const VectorPoint* points, int count, int left, int top) {
    int i = 0;
    while (i < count && (points[i].flags & POINT_VISIBLE)) ++i;
    if (i == count) return p;
    p = PutText(p, BLANKED_MARKS);
    int penX = Grid(points[i].x), penY = Grid(points[i].y);
    p = PutDecimal(p, left + penX);
    p = PutNumber(p, top + penY, true);
    char last = 'M';
    for (++i; i < count; ++i) {
        if (points[i].flags & POINT_VISIBLE) continue;
        const int x = Grid(points[i].x), y = Grid(points[i].y);
        if (x == penX && y == penY) continue;
        p = PutStep(p, 'l', &last, x - penX, y - penY);
        penX = x;
        penY = y;
    }
    return EndPath(p);
}

static int FrameCount(int frame) {
    return ClampInt(frameStore.pointCounts[frame], 0, MAX_POINTS);
}

// Everything drawn of one frame in its cell, extras included.
static void PutFrameDrawing(TextOutput* out, int frame, int left, int top, int extras) {
    const VectorPoint* points = frameStore.frames[frame];
    const int count = FrameCount(frame);
    if (extras & SVG_BLANKED) {
        char style[256];
        std::snprintf(style, sizeof style, BLANKED_STYLE, (extras & SVG_POINTS) ? NO_MARKERS : "");
        out->cursor = PutBlankedPath(TextRoom(out, FRAME_ROOM), style, points, count, left, top);
    }
    out->cursor = PutFramePath(TextRoom(out, FRAME_ROOM), points, count, left, top,
                               (extras & SVG_POINTS) != 0);
    if (extras & SVG_POINTS)
        out->cursor = PutBlankedMarks(TextRoom(out, FRAME_ROOM), points, count, left, top);
}

// What the extras need before the frames, and on the line group.
static void PutMarkerDefinitions(TextOutput* out, int extras) {
    if (extras & SVG_POINTS) Put(out, "%s", MARKER_DEFINITIONS);
}

static const char* LineGroupMarkers(int extras) {
    return (extras & SVG_POINTS) ? LIT_MARKERS : "";
}

// "N name" beneath the cell: the frame's number as the Frame Table counts,
// and its name. A viewport of the band's size keeps a long name from running
// into the next cell.
static void PutLabel(TextOutput* out, int left, int top, int frame, const char* attributes) {
    Put(out, "<svg x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"><text y=\"%d\"%s>", left,
        top + CELL, CELL, LABEL_BAND, LABEL_BASELINE, attributes);
    char* p = PutDecimal(TextRoom(out, LABEL_ROOM), frame + 1);
    *p++ = ' ';
    p = PutXmlName(p, &frameStore.frameNames[frame]);
    std::memcpy(p, "</text></svg>\n", 14);
    out->cursor = p + 14;
}

static void PutHeader(TextOutput* out, int width, int height, int scale) {
    Put(out,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
        "viewBox=\"0 0 %d %d\">\n"
        "<rect width=\"%d\" height=\"%d\" fill=\"#000000\"/>\n",
        width * 5 / scale, height * 5 / scale, width, height, width, height);
}

// The outline of the coordinate square, dark red as on the canvas.
static void PutBox(TextOutput* out, int left, int top) {
    Put(out, "M%d %dh%dv%dh%dz", left, top, CELL, CELL, -CELL);
}

static void BeginBoxes(TextOutput* out) {
    Put(out, "<path fill=\"none\" stroke=\"#800000\" stroke-width=\"6\" d=\"");
}

static int Finish(TextOutput* out, UiWindow owner) {
    Put(out, "</svg>\n");
    return FinishTextOutput(out, owner);
}

int WriteSvgSheet(UiWindow owner, const char* path, int first, int last, int extras) {
    if (!RangeInStore(first, last)) return 0;
    TextOutput* out = &svgOutput;
    if (!BeginTextOutput(out, owner, path)) return 0;

    const int frames = last - first + 1;
    int columns = 0;
    while (columns * columns < frames) ++columns;
    const int rows = columns ? (frames + columns - 1) / columns : 0;
    const int pitchX = CELL + GAP, pitchY = CELL + LABEL_BAND + GAP;
    PutHeader(out, GAP + columns * pitchX, GAP + rows * pitchY, SHEET_SCALE);

    if (frames > 0) {
        BeginBoxes(out);
        for (int i = 0; i < frames; ++i)
            PutBox(out, GAP + i % columns * pitchX, GAP + i / columns * pitchY);
        Put(out, "\"/>\n");
    }
    PutMarkerDefinitions(out, extras);
    Put(out, "<g %s%s>\n", LINE_STYLE, LineGroupMarkers(extras));
    for (int i = 0; i < frames && !out->file.failed; ++i)
        PutFrameDrawing(out, first + i, GAP + i % columns * pitchX, GAP + i / columns * pitchY,
                        extras);
    Put(out, "</g>\n<g %s %s xml:space=\"preserve\">\n", LABEL_STYLE, LABEL_COLOUR);
    for (int i = 0; i < frames; ++i)
        PutLabel(out, GAP + i % columns * pitchX, GAP + i / columns * pitchY, first + i, "");
    Put(out, "</g>\n");
    return Finish(out, owner);
}

// How long a frame shows: its points at the scan speed, in microseconds,
// and never less than one frame at 60 Hz.
static int64_t FrameTime(int frame) {
    const int64_t speed = ClampInt(ScanSpeed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
    const int64_t time = ((int64_t)FrameCount(frame) * MICROSECONDS + speed / 2) / speed;
    return time < (int64_t)SHORTEST_FRAME ? (int64_t)SHORTEST_FRAME : time;
}

// A moment of the loop as a fraction of it, for keyTimes: six decimals at
// most, rounded down so that the times keep their order.
static void PutKeyTime(TextOutput* out, int64_t at, int64_t total) {
    const int64_t millionths = at * MICROSECONDS / total;
    if (millionths <= 0 || millionths >= MICROSECONDS) {
        Put(out, "%d", millionths > 0 ? 1 : 0);
        return;
    }
    char digits[8];
    std::snprintf(digits, sizeof digits, "%06lld", (long long)millionths);
    int length = 6;
    while (digits[length - 1] == '0') --length;
    Put(out, "0.%.*s", length, digits);
}

// Shows the frame's group from start to end of the loop and hides it
// otherwise. Discrete values: each holds from its key time to the next.
static void PutShowing(TextOutput* out, int64_t start, int64_t end, int64_t total) {
    Put(out,
        "<animate attributeName=\"visibility\" calcMode=\"discrete\" repeatCount=\"indefinite\" "
        "dur=\"%lld.%06llds\" ",
        (long long)(total / MICROSECONDS), (long long)(total % MICROSECONDS));
    const bool before = start > 0, after = end < total;
    Put(out, "values=\"%s%s%s\" keyTimes=\"", before ? "hidden;" : "", "visible",
        after ? ";hidden" : "");
    if (before) {
        Put(out, "0;");
        PutKeyTime(out, start, total);
    } else {
        Put(out, "0");
    }
    if (after) {
        Put(out, ";");
        PutKeyTime(out, end, total);
    }
    Put(out, "\"/>\n");
}

int WriteSvgAnimation(UiWindow owner, const char* path, int first, int last, int extras) {
    if (!RangeInStore(first, last)) return 0;
    TextOutput* out = &svgOutput;
    if (!BeginTextOutput(out, owner, path)) return 0;

    PutHeader(out, GAP + CELL + GAP, GAP + CELL + LABEL_BAND + GAP, ANIMATION_SCALE);
    BeginBoxes(out);
    PutBox(out, GAP, GAP);
    Put(out, "\"/>\n");
    int64_t total = 0;
    for (int frame = first; frame <= last; ++frame) total += FrameTime(frame);
    // The label inherits the font from the group and takes its own colour.
    PutMarkerDefinitions(out, extras);
    Put(out, "<g %s%s %s xml:space=\"preserve\">\n", LINE_STYLE, LineGroupMarkers(extras),
        LABEL_STYLE);
    int64_t start = 0;
    for (int frame = first; frame <= last && !out->file.failed; ++frame) {
        const int64_t end = start + FrameTime(frame);
        Put(out, "<g visibility=\"%s\">\n", frame == first ? "visible" : "hidden");
        PutFrameDrawing(out, frame, GAP, GAP, extras);
        PutLabel(out, GAP, GAP, frame, ANIMATION_LABEL);
        if (first < last) PutShowing(out, start, end, total);
        Put(out, "</g>\n");
        start = end;
    }
    Put(out, "</g>\n");
    return Finish(out, owner);
}
