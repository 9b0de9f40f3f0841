// One SVG file, one frame.
#include "convert/svg_import.h"

#include <cstdio>
#include <cstring>

#include "convert/svg_reader.h"
#include "formats/file_names.h"

static LaidOutFrame laidOut;

void FrameNameForFile(const char* path, FrameName* name) {
    const char* title = FileTitleOf(path);
    size_t length = std::strlen(title);
    if (HasFileEnding(title, ".SVG")) length -= 4;
    std::memset(name->bytes, ' ', FRAME_NAME_LENGTH);
    const size_t room = FRAME_NAME_LENGTH;
    std::memcpy(name->bytes, title, length < room ? length : room);
}

int ImportSvgFrame(const char* path, const FrameLayoutOptions* options, int slot, char* reason,
                   size_t reasonSize) {
    if (ReadSvgDrawing(path, reason, reasonSize) != SVG_READ_OK) return 0;
    if (!LayOutDrawing(options, &laidOut)) {
        std::snprintf(reason, reasonSize,
                      "needs %lld points even with its curves at the coarsest tolerance, and "
                      "a frame takes at most %d; less dwell (--dwell) takes fewer",
                      (long long)laidOut.needed, options->budget);
        return 0;
    }
    if (laidOut.count == 0) {
        std::snprintf(reason, reasonSize, "has nothing to draw");
        return 0;
    }
    if (slot > frameStore.numFrames || !InsertBlankFrame(slot)) {
        std::snprintf(reason, reasonSize, "does not fit: the document holds %d frames",
                      (int)frameStore.numFrames);
        return 0;
    }
    std::memcpy(workingFrame.points, laidOut.points, sizeof(VectorPoint) * laidOut.count);
    workingFrame.count = laidOut.count;
    StoreFrame(slot, true);
    FrameNameForFile(path, &frameStore.frameNames[slot]);
    return 1;
}
