// Writing ILDA frame files: the editor's own format 0 and the published
// layouts of formats 0, 1, 4 and 5 share the sections and differ only in
// their records. Reads the store directly and goes through the atomic
// writer.
#include "formats/ilda_write.h"

#include <cstdint>
#include <cstring>

#include "document/frame_store.h"
#include "formats/atomic_write.h"
#include "formats/ilda_file.h"
#include "formats/ilda_layout.h"

static const char* const SAVING_CAPTION = "Saving Frames";
static const char* const BLANK_FRAME = "ILDA format does not allow any blank frame.";

enum { WRITE_BLOCK = 256 * 1024 };

// How the records of a file are laid out.
struct RecordStyle {
    unsigned format;
    size_t size;
    size_t statusAt;
    bool trueColour;
    unsigned char lastPoint;  // the status bit of a frame's last record
    unsigned char lit[3];     // blue, green and red of a lit point
};

struct IldaOutput {
    AtomicFile file;
    size_t length;
    unsigned char block[WRITE_BLOCK];
};

static IldaOutput ildaOutput;

static void Flush(IldaOutput* out) {
    AtomicWriteBytes(&out->file, out->block, out->length);
    out->length = 0;
}

// Room for size more bytes in the block.
static unsigned char* Reserve(IldaOutput* out, size_t size) {
    if (out->length + size > WRITE_BLOCK) Flush(out);
    unsigned char* at = out->block + out->length;
    out->length += size;
    return at;
}

static int RangeInStore(int first, int last) {
    return first >= 0 && first < MAX_FRAMES && last >= first - 1 && last < MAX_FRAMES;
}

// X, Y, Z = 0 in 3D formats, the status byte, then the colour index or the
// colour. Blanked points are black, or colour index 0.
static void PutRecord(unsigned char* record, const VectorPoint* point, const RecordStyle* style,
                      unsigned char status) {
    const bool visible = (point->flags & POINT_VISIBLE) != 0;
    IldaPutBigEndian16(record, (uint16_t)point->x);
    IldaPutBigEndian16(record + 2, (uint16_t)IldaNegate16((uint16_t)point->y));
    unsigned char* at = record + style->statusAt;
    if (style->statusAt > 4) IldaPutBigEndian16(record + 4, 0);
    at[0] = (unsigned char)(status | (visible ? 0 : ILDA_STATUS_BLANKED));
    if (!style->trueColour) {
        at[1] = visible ? 1 : 0;
        return;
    }
    for (int i = 0; i < 3; ++i) at[1 + i] = visible ? style->lit[i] : 0;
}

static int WriteSections(UiWindow owner, const char* path, int first, int last,
                         const RecordStyle* style) {
    if (!RangeInStore(first, last)) return 0;
    for (int i = first; i <= last; ++i) {
        if (frameStore.pointCounts[i] <= 0) {
            ShowFileWarning(owner, path, BLANK_FRAME, SAVING_CAPTION, 0);
            return 0;
        }
    }
    IldaOutput* out = &ildaOutput;
    if (!BeginAtomicWrite(&out->file, owner, path)) return 0;
    out->length = 0;

    unsigned char header[ILDA_HEADER_SIZE];
    std::memset(header, 0, sizeof header);
    std::memcpy(header, "ILDA", 4);
    header[ILDA_FORMAT_OFFSET] = (unsigned char)style->format;
    IldaPutBigEndian16(header + ILDA_TOTAL_OFFSET, (unsigned)(last - first + 1) & 0xFFFFu);
    unsigned frameNumber = 0;
    for (int i = first; i <= last; ++i) {
        int count = frameStore.pointCounts[i];
        if (count > MAX_POINTS) count = MAX_POINTS;
        std::memcpy(header + ILDA_NAME_OFFSET, frameStore.frameNames[i].bytes, FRAME_NAME_LENGTH);
        IldaPutBigEndian16(header + ILDA_COUNT_OFFSET, (unsigned)count);
        IldaPutBigEndian16(header + ILDA_NUMBER_OFFSET, frameNumber);
        std::memcpy(Reserve(out, ILDA_HEADER_SIZE), header, ILDA_HEADER_SIZE);
        const VectorPoint* points = frameStore.frames[i];
        for (int p = 0; p < count - 1; ++p)
            PutRecord(Reserve(out, style->size), &points[p], style, 0);
        PutRecord(Reserve(out, style->size), &points[count - 1], style, style->lastPoint);
        frameNumber = (frameNumber + 1) & 0xFFFFu;
    }
    // The closing header keeps the last frame's name and counts the frames.
    IldaPutBigEndian16(header + ILDA_COUNT_OFFSET, 0);
    IldaPutBigEndian16(header + ILDA_NUMBER_OFFSET, frameNumber);
    std::memcpy(Reserve(out, ILDA_HEADER_SIZE), header, ILDA_HEADER_SIZE);
    Flush(out);
    return FinishAtomicWrite(&out->file, owner);
}

int WriteIldaFrames(UiWindow owner, const char* path, int first, int last) {
    static const RecordStyle editor = {ILDA_FORMAT_3D_INDEXED, 8, 6, false, 0, {0, 0, 0}};
    return WriteSections(owner, path, first, last, &editor);
}

int IldaWritableFormat(int format) {
    return format == ILDA_FORMAT_3D_INDEXED || format == ILDA_FORMAT_2D_INDEXED ||
           format == ILDA_FORMAT_3D_TRUE_COLOUR || format == ILDA_FORMAT_2D_TRUE_COLOUR;
}

int WriteIldaFormat(UiWindow owner, const char* path, int first, int last, int format,
                    uint32_t colour) {
    if (!IldaWritableFormat(format)) return 0;
    RecordStyle style;
    style.format = (unsigned)format;
    style.size = IldaRecordSize((unsigned)format);
    style.statusAt = IldaStatusOffset((unsigned)format);
    style.trueColour = format == ILDA_FORMAT_3D_TRUE_COLOUR || format == ILDA_FORMAT_2D_TRUE_COLOUR;
    style.lastPoint = ILDA_STATUS_LAST_POINT;
    style.lit[0] = (unsigned char)colour;
    style.lit[1] = (unsigned char)(colour >> 8);
    style.lit[2] = (unsigned char)(colour >> 16);
    return WriteSections(owner, path, first, last, &style);
}
