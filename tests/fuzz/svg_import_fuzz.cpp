// SVG import: any bytes as an SVG file, read and laid out as one frame. A
// file is refused with a reason or gives a drawing; a drawing is laid out
// as a frame of at most the budget, every point inside the coordinate
// square, or refused with the points it would need, more than the budget.
// The same file read twice gives the same frame (the reader keeps nothing
// from one file to the next).
#include <cstring>

#include "convert/drawing.h"
#include "convert/frame_layout.h"
#include "convert/svg_reader.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

LaidOutFrame frame, again;

int ReadAndLayOut(const FrameLayoutOptions* options, LaidOutFrame* out, char* reason, size_t size) {
    reason[0] = 0;
    const int read = ReadSvgDrawing(FuzzInputPath(), reason, size);
    FuzzRequire(read == SVG_READ_OK || reason[0] != 0, "a refused file comes with its reason");
    if (read != SVG_READ_OK) return -read;
    FuzzRequire(drawing.pathCount > 0, "a file read has something to draw");
    return LayOutDrawing(options, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte chooses the budget and the dwell; the rest is the file.
    const uint8_t choice = size > 0 ? data[0] : 0;
    const FrameLayoutOptions options = {choice & 7, MARGIN_DEFAULT,
                                        (choice & 0x80) ? 1 + (choice & 0x70) : MAX_POINTS};
    WriteFuzzInput(size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    char reason[256];
    const int laid = ReadAndLayOut(&options, &frame, reason, sizeof reason);
    if (laid < 0) return 0;
    if (laid == 0) {
        FuzzRequire(frame.needed > options.budget, "a refused drawing needs more than the budget");
        return 0;
    }
    FuzzRequire(frame.count >= 0 && frame.count <= options.budget, "a frame fits its budget");
    for (int i = 0; i < frame.count; ++i)
        FuzzRequire(frame.points[i].x >= -32767 && frame.points[i].x <= 32767 &&
                        frame.points[i].y >= -32767 && frame.points[i].y <= 32767,
                    "every point lies inside the coordinate square");
    FuzzRequire(ReadAndLayOut(&options, &again, reason, sizeof reason) == 1 &&
                    again.count == frame.count &&
                    std::memcmp(again.points, frame.points, sizeof(VectorPoint) * frame.count) == 0,
                "the same file gives the same frame");
    return 0;
}
