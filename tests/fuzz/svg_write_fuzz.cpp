// The SVG writer, sheet and animation, on documents made from the input.
// Each picture must be well-formed XML (libxml2 reads it back) and show the
// document: every beam-on move between distinct grid positions as one line
// of its frame's path, in order; every spot the beam lights on a line's end
// or as a dot, and dots nowhere else; every position inside its cell; a
// path exactly for the frames that light something; every label the
// frame's number and its name as the Frame Table shows it; in an animation,
// each frame shown from its start to its end as a fraction of the loop.
//
// Input: scan speed (2 bytes, any value), frame count (1 byte, 0 to 8),
// range (2 bytes), then per frame a 16-byte name, a point count (255: a
// full frame of 3000 made from the input), and 5 bytes per point (X, Y,
// flags). Missing bytes are zeros.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "document/frame_store.h"
#include "formats/svg_file.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

enum {
    CELL = 1024,
    GAP = 64,
    PITCH_X = CELL + GAP,
    PITCH_Y = CELL + 160 + GAP,
    MOST_FRAMES = 8,
    SHORTEST_FRAME = 16667
};

struct Bytes {
    const uint8_t* data;
    size_t size, at;
    unsigned Next() { return at < size ? data[at++] : 0; }
    unsigned Next16() {
        unsigned high = Next();
        return (high << 8) | Next();
    }
};

struct Spot {
    int x, y;
    bool operator==(const Spot& o) const { return x == o.x && y == o.y; }
};

struct Segment {
    Spot from, to;
    bool operator==(const Segment& o) const { return from == o.from && to == o.to; }
};

// What a frame's path must show, in picture units with the cell at
// (left, top).
struct Expected {
    std::vector<Segment> lines;  // in point order
    std::vector<Spot> lit;       // every visible point's position
};

int Grid(int16_t value) {
    return ((int)value + 32768 + 32) >> 6;
}

Expected ExpectedPath(int frame, int left, int top) {
    Expected e;
    const VectorPoint* p = frameStore.frames[frame];
    for (int i = 0; i < frameStore.pointCounts[frame]; ++i) {
        const Spot at = {left + Grid(p[i].x), top + Grid(p[i].y)};
        if (!(p[i].flags & POINT_VISIBLE)) continue;
        e.lit.push_back(at);
        if (i == 0) continue;
        const Spot from = {left + Grid(p[i - 1].x), top + Grid(p[i - 1].y)};
        if (!(from == at)) e.lines.push_back({from, at});
    }
    return e;
}

bool Contains(const std::vector<Spot>& spots, const Spot& s) {
    for (const Spot& t : spots)
        if (t == s) return true;
    return false;
}

// Reads an SVG path of M, m and l commands as a browser would.
int PathNumber(const char** p) {
    while (**p == ' ') ++*p;
    const char* start = *p;
    long v = std::strtol(start, const_cast<char**>(p), 10);
    FuzzRequire(*p != start && (*start == '-' || (*start >= '0' && *start <= '9')),
                "a path holds something that is no number");
    return (int)v;
}

void CheckPath(const char* d, const Expected& e, int left, int top) {
    FuzzRequire(d[0] == 'M', "a frame's path does not begin with a move");
    const char* p = d + 1;
    Spot pen;
    pen.x = PathNumber(&p);
    pen.y = PathNumber(&p);
    char command = 'L';  // pairs after a move are lines (absolute after M)
    std::vector<Segment> lines;
    std::vector<Spot> dots, ends;  // ends: where lines begin and end
    for (;;) {
        FuzzRequire(pen.x >= left && pen.x <= left + CELL && pen.y >= top && pen.y <= top + CELL,
                    "a path leaves its cell");
        while (*p == ' ') ++p;
        if (!*p) break;
        if (*p == 'm' || *p == 'l' || *p == 'M' || *p == 'L') command = *p++;
        const int a = PathNumber(&p), b = PathNumber(&p);
        const bool relative = command == 'm' || command == 'l';
        const Spot to = relative ? Spot{pen.x + a, pen.y + b} : Spot{a, b};
        if (command == 'm' || command == 'M') {
            command = command == 'm' ? 'l' : 'L';
        } else if (to == pen) {
            dots.push_back(pen);
        } else {
            lines.push_back({pen, to});
            ends.push_back(pen);
            ends.push_back(to);
        }
        pen = to;
    }
    FuzzRequire(lines == e.lines, "a path's lines are not the frame's beam-on moves");
    for (const Spot& s : e.lit)
        FuzzRequire(Contains(dots, s) || Contains(ends, s), "a lit spot does not show");
    for (const Spot& s : dots)
        FuzzRequire(Contains(e.lit, s), "a dot where the beam lights nothing");
}

// The label as the Frame Table shows the name: up to a zero byte, without
// trailing spaces, Latin-1 as UTF-8, control bytes as U+FFFD.
std::string ExpectedLabel(int frame) {
    const char* bytes = frameStore.frameNames[frame].bytes;
    int length = 0;
    while (length < FRAME_NAME_LENGTH && bytes[length]) ++length;
    while (length > 0 && bytes[length - 1] == ' ') --length;
    std::string label = std::to_string(frame + 1) + " ";
    for (int i = 0; i < length; ++i) {
        const unsigned char c = (unsigned char)bytes[i];
        if (c >= 0x20 && c < 0x7F) {
            label += (char)c;
        } else if (c >= 0xA0) {
            label += (char)(0xC0 | (c >> 6));
            label += (char)(0x80 | (c & 0x3F));
        } else {
            label += "\xEF\xBF\xBD";
        }
    }
    return label;
}

std::string Attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, (const xmlChar*)name);
    std::string text = value ? (const char*)value : "";
    xmlFree(value);
    return text;
}

bool Named(xmlNode* node, const char* name) {
    return node && node->type == XML_ELEMENT_NODE &&
           std::strcmp((const char*)node->name, name) == 0;
}

std::vector<xmlNode*> Children(xmlNode* node, const char* name) {
    std::vector<xmlNode*> found;
    for (xmlNode* c = node ? node->children : nullptr; c; c = c->next)
        if (Named(c, name)) found.push_back(c);
    return found;
}

void CheckLabel(xmlNode* svg, int frame) {
    std::vector<xmlNode*> texts = Children(svg, "text");
    FuzzRequire(texts.size() == 1, "a label is not one text");
    xmlChar* content = xmlNodeGetContent(texts[0]);
    const std::string text = content ? (const char*)content : "";
    xmlFree(content);
    FuzzRequire(text == ExpectedLabel(frame), "a label is not the frame's number and name");
}

bool Lights(int frame) {
    for (int i = 0; i < frameStore.pointCounts[frame]; ++i)
        if (frameStore.frames[frame][i].flags & POINT_VISIBLE) return true;
    return false;
}

xmlDoc* ReadBack(const char* path) {
    xmlDoc* doc =
        xmlReadFile(path, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    FuzzRequire(doc != nullptr, "the picture is no well-formed XML");
    FuzzRequire(Named(xmlDocGetRootElement(doc), "svg"), "the picture is no svg");
    return doc;
}

void CheckSheet(const char* path, int first, int last) {
    xmlDoc* doc = ReadBack(path);
    std::vector<xmlNode*> groups = Children(xmlDocGetRootElement(doc), "g");
    FuzzRequire(groups.size() == 2, "a sheet is not its lines and its labels");
    const int frames = last - first + 1;
    int columns = 0;
    while (columns * columns < frames) ++columns;
    // Paths in frame order; a frame that lights nothing has none.
    std::vector<xmlNode*> paths = Children(groups[0], "path");
    size_t next = 0;
    for (int i = 0; i < frames; ++i) {
        const int left = GAP + i % columns * PITCH_X, top = GAP + i / columns * PITCH_Y;
        if (!Lights(first + i)) continue;
        FuzzRequire(next < paths.size(), "a frame that lights something has no path");
        CheckPath(Attribute(paths[next++], "d").c_str(), ExpectedPath(first + i, left, top), left,
                  top);
    }
    FuzzRequire(next == paths.size(), "a path for a frame that lights nothing");
    std::vector<xmlNode*> labels = Children(groups[1], "svg");
    FuzzRequire((int)labels.size() == frames, "not one label per frame");
    for (int i = 0; i < frames; ++i) CheckLabel(labels[i], first + i);
    xmlFreeDoc(doc);
}

long long FrameTime(int frame) {
    long long speed = ScanSpeed < SCAN_SPEED_MIN   ? SCAN_SPEED_MIN
                      : ScanSpeed > SCAN_SPEED_MAX ? SCAN_SPEED_MAX
                                                   : ScanSpeed;
    const long long time = ((long long)frameStore.pointCounts[frame] * 1000000 + speed / 2) / speed;
    return time < SHORTEST_FRAME ? SHORTEST_FRAME : time;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t end; (end = text.find(';', at)) != std::string::npos; at = end + 1)
        parts.push_back(text.substr(at, end - at));
    parts.push_back(text.substr(at));
    return parts;
}

// Shown from start to end of the loop, as discrete values at key times
// that never run backwards, rounded down to millionths.
void CheckShowing(xmlNode* animate, long long start, long long end, long long total) {
    char dur[40];
    std::snprintf(dur, sizeof dur, "%lld.%06llds", total / 1000000, total % 1000000);
    FuzzRequire(Attribute(animate, "dur") == dur, "the loop does not last its frames' time");
    const std::vector<std::string> values = Split(Attribute(animate, "values"));
    const std::vector<std::string> times = Split(Attribute(animate, "keyTimes"));
    FuzzRequire(values.size() == times.size(), "values and key times do not pair up");
    double previous = 0;
    for (size_t i = 0; i < times.size(); ++i) {
        const double t = std::atof(times[i].c_str());
        FuzzRequire(t >= previous && t <= 1 && (i > 0 || t == 0),
                    "key times out of order or outside the loop");
        previous = t;
        const bool visible = values[i] == "visible";
        FuzzRequire(visible || values[i] == "hidden", "an unknown value");
        // Where visibility changes, the time is that moment of the loop.
        const double at = (double)(visible ? start : end) / (double)total;
        if (i > 0)
            FuzzRequire(t <= at + 1e-12 && t > at - 1e-6 - 1e-12,
                        "a frame shows at the wrong time");
    }
    FuzzRequire(values.size() > (start > 0 ? 1u : 0u) && values[start > 0 ? 1 : 0] == "visible",
                "a frame is never shown");
    FuzzRequire((end < total) == (values.back() == "hidden"), "a frame is not hidden at its end");
}

void CheckAnimation(const char* path, int first, int last) {
    xmlDoc* doc = ReadBack(path);
    std::vector<xmlNode*> groups = Children(xmlDocGetRootElement(doc), "g");
    FuzzRequire(groups.size() == 1, "an animation is not one group");
    std::vector<xmlNode*> frames = Children(groups[0], "g");
    FuzzRequire((int)frames.size() == last - first + 1, "not one group per frame");
    long long total = 0;
    for (int f = first; f <= last; ++f) total += FrameTime(f);
    long long start = 0;
    for (int f = first; f <= last; ++f) {
        xmlNode* group = frames[f - first];
        FuzzRequire(Attribute(group, "visibility") == (f == first ? "visible" : "hidden"),
                    "the first frame is not the one shown first");
        std::vector<xmlNode*> paths = Children(group, "path");
        FuzzRequire(paths.size() == (Lights(f) ? 1u : 0u), "a path where nothing lights, or none");
        if (!paths.empty())
            CheckPath(Attribute(paths[0], "d").c_str(), ExpectedPath(f, GAP, GAP), GAP, GAP);
        std::vector<xmlNode*> labels = Children(group, "svg");
        FuzzRequire(labels.size() == 1, "not one label per frame");
        CheckLabel(labels[0], f);
        std::vector<xmlNode*> animates = Children(group, "animate");
        FuzzRequire(animates.size() == (first < last ? 1u : 0u), "a frame alone animates");
        const long long end = start + FrameTime(f);
        if (!animates.empty()) CheckShowing(animates[0], start, end, total);
        start = end;
    }
    xmlFreeDoc(doc);
}

void MakeDocument(Bytes* in, int* first, int* last) {
    ScanSpeed = (int32_t)in->Next16();
    const int frames = (int)(in->Next() % (MOST_FRAMES + 1));
    const unsigned a = in->Next(), b = in->Next();
    for (int f = 0; f < frames; ++f) {
        for (int i = 0; i < FRAME_NAME_LENGTH; ++i)
            frameStore.frameNames[f].bytes[i] = (char)in->Next();
        const unsigned count = in->Next();
        const int points = count == 255 ? MAX_POINTS : (int)(count % 64);
        const size_t base = in->at;
        for (int i = 0; i < points; ++i) {
            // A full frame takes its points from the input over and over.
            if (count == 255 && in->at >= in->size) in->at = base;
            VectorPoint* p = &frameStore.frames[f][i];
            p->x = (int16_t)in->Next16();
            p->y = (int16_t)in->Next16();
            p->flags = (int16_t)(in->Next() & 7);  // selection bits must not matter
        }
        frameStore.pointCounts[f] = points;
    }
    frameStore.numFrames = frames;
    *first = frames ? (int)(a % frames) : 0;
    *last = *first - 1 + (int)(b % (frames - *first + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool quiet = false;
    if (!quiet) {
        uiPort = UiPort();
        xmlInitParser();
        quiet = true;
    }
    Bytes in = {data, size, 0};
    int first = 0, last = -1;
    MakeDocument(&in, &first, &last);
    const char* path = FuzzInputPath();
    FuzzRequire(WriteSvgSheet(nullptr, path, first, last) == 1, "a sheet was not written");
    CheckSheet(path, first, last);
    FuzzRequire(WriteSvgAnimation(nullptr, path, first, last) == 1, "an animation was not written");
    CheckAnimation(path, first, last);
    return 0;
}
