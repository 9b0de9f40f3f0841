// Row texts of both tables, formatted on demand from the working frame and
// the frame store; rows outside the fixed limits read as empty.
#include "tables/row_texts.h"

#include <cstdio>

#include "document/frame_store.h"

static void Clear(char* text, int size) {
    if (size > 0) text[0] = 0;
}

void VectorCellText(int row, int column, char* text, int size) {
    Clear(text, size);
    if (size <= 0 || row < 0 || row >= MAX_POINTS) return;
    const VectorPoint& point = workingFrame.points[row];
    switch (column) {
        case 0:
            std::snprintf(text, (size_t)size, "%d", row + 1);
            break;
        case 1:
            std::snprintf(text, (size_t)size, "%s", (point.flags & POINT_VISIBLE) ? "1" : "0");
            break;
        case 2:
            std::snprintf(text, (size_t)size, "%d", (int)point.x);
            break;
        case 3:
            std::snprintf(text, (size_t)size, "%d", -(int)point.y);
            break;
        default:
            break;
    }
}

void FrameCellText(int row, int column, char* text, int size) {
    Clear(text, size);
    if (size <= 0 || row < 0 || row >= MAX_FRAMES) return;
    if (column == 0) {
        std::snprintf(text, (size_t)size, "%d", row + 1);
    } else if (column == 1) {
        const char* bytes = frameStore.frameNames[row].bytes;
        int i = 0;
        for (; i < FRAME_NAME_LENGTH && i < size - 1 && bytes[i]; ++i) text[i] = bytes[i];
        text[i] = 0;
    }
}
