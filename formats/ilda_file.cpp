// Reading and writing ILDA frame files. Reading fills the frame store through
// its insert and store operations (the settings are never touched); writing
// reads the store directly and goes through the atomic writer.
#include "formats/ilda_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/undo.h"
#include "formats/atomic_write.h"

static const char* const LOADING_CAPTION = "Loading Frames";
static const char* const SAVING_CAPTION = "Saving Frames";
static const char* const OPEN_FAILED = "Failed to open frame file.";
static const char* const NOT_ILDA = "Invalid ILDA frame file.";
static const char* const BLANK_FRAME = "ILDA format does not allow any blank frame.";

enum {
    HEADER_SIZE = 32,
    NAME_OFFSET = 8,
    COUNT_OFFSET = 24,
    NUMBER_OFFSET = 26,
    TOTAL_OFFSET = 28,
    FORMAT_OFFSET = 7,
    FORMAT_3D_INDEXED = 0,
    FORMAT_2D_INDEXED = 1,
    FORMAT_PALETTE = 2,
    FORMAT_2D_TRUE_COLOUR = 5,
    PALETTE_RECORD_SIZE = 3,
    WRITTEN_RECORD_SIZE = 8,
    STATUS_BLANKED = 0x40,
    READ_BLOCK = 256 * 1024,
    WRITE_BLOCK = 256 * 1024
};

static unsigned BigEndian16(const unsigned char* at) {
    return ((unsigned)at[0] << 8) | at[1];
}

static void PutBigEndian16(unsigned char* at, unsigned value) {
    at[0] = (unsigned char)(value >> 8);
    at[1] = (unsigned char)value;
}

// Y in the file points up: the 16-bit negation in both directions, so that
// -32768 stays -32768.
static int16_t Negate16(unsigned value) {
    return (int16_t)(uint16_t)(0u - value);
}

// ---- Reading ---------------------------------------------------------------

struct IldaInput {
    FILE* stream;
    size_t pos;
    size_t length;
    bool atEnd;
    unsigned char block[READ_BLOCK];
};

static IldaInput ildaInput;

static void StartInput(IldaInput* in, FILE* stream) {
    in->stream = stream;
    in->pos = 0;
    in->length = 0;
    in->atEnd = false;
}

static void Refill(IldaInput* in) {
    size_t rest = in->length - in->pos;
    std::memmove(in->block, in->block + in->pos, rest);
    in->pos = 0;
    in->length = rest;
    while (!in->atEnd && in->length < READ_BLOCK) {
        size_t got = std::fread(in->block + in->length, 1, READ_BLOCK - in->length, in->stream);
        if (got == 0) in->atEnd = true;
        in->length += got;
    }
}

// The next size bytes (size is at most a header), or null when the file
// holds fewer; a short read consumes what was left.
static const unsigned char* Take(IldaInput* in, size_t size) {
    if (in->length - in->pos < size) {
        Refill(in);
        if (in->length - in->pos < size) {
            in->pos = in->length;
            return nullptr;
        }
    }
    const unsigned char* at = in->block + in->pos;
    in->pos += size;
    return at;
}

// Reads and drops bytes, stopping quietly at the end of the file.
static void Skip(IldaInput* in, size_t size) {
    while (size > 0) {
        if (in->pos == in->length) {
            Refill(in);
            if (in->length == 0) return;
        }
        size_t here = in->length - in->pos;
        if (here > size) here = size;
        in->pos += here;
        size -= here;
    }
}

// Signature with its zero byte and a format this reader knows. The record
// count is not looked at here: zero is a valid, empty file.
static int IsSectionHeader(const unsigned char* header) {
    if (std::memcmp(header, "ILDA\0", 5) != 0) return 0;
    unsigned format = header[FORMAT_OFFSET];
    return format == FORMAT_3D_INDEXED || format == FORMAT_2D_INDEXED || format == FORMAT_PALETTE ||
           format == FORMAT_2D_TRUE_COLOUR;
}

// Reads the records of one frame section into the working frame. Records
// beyond MAX_POINTS are read and dropped so that the next header is found.
static void ReadFrameRecords(IldaInput* in, unsigned format, unsigned records) {
    size_t size = format == FORMAT_2D_INDEXED ? 6 : 8;
    size_t statusAt = format == FORMAT_3D_INDEXED ? 6 : 4;
    unsigned kept = records < (unsigned)MAX_POINTS ? records : (unsigned)MAX_POINTS;
    unsigned n = 0;
    for (; n < kept; ++n) {
        const unsigned char* record = Take(in, size);
        if (!record) break;
        VectorPoint* point = &workingFrame.points[n];
        point->x = (int16_t)(uint16_t)BigEndian16(record);
        point->y = Negate16(BigEndian16(record + 2));
        point->flags = (record[statusAt] & STATUS_BLANKED) ? 0 : POINT_VISIBLE;
    }
    workingFrame.count = (int32_t)n;
    if (n == kept && records > kept) Skip(in, (size_t)(records - kept) * size);
}

int ReadIldaFrames(UiWindow owner, const char* path, int insert) {
    FILE* stream = path ? std::fopen(path, "rb") : nullptr;
    if (!stream) {
        ShowWarning(owner, OPEN_FAILED, LOADING_CAPTION);
        return 0;
    }
    IldaInput* in = &ildaInput;
    StartInput(in, stream);
    // Nothing changes before the file has shown that it is an ILDA file.
    const unsigned char* header = Take(in, HEADER_SIZE);
    if (!header || !IsSectionHeader(header)) {
        std::fclose(stream);
        ShowWarning(owner, NOT_ILDA, LOADING_CAPTION);
        return 0;
    }
    if (!insert) ClearFrameStore();

    int index = frameStore.currentFrame;
    while (header && IsSectionHeader(header)) {
        unsigned records = BigEndian16(header + COUNT_OFFSET);
        if (records == 0) break;
        unsigned format = header[FORMAT_OFFSET];
        if (format == FORMAT_PALETTE) {
            Skip(in, (size_t)records * PALETTE_RECORD_SIZE);
        } else {
            if (!InsertBlankFrame(index)) break;
            // The header lives in the input block: take the name before
            // the records move it.
            std::memcpy(frameStore.frameNames[index].bytes, header + NAME_OFFSET,
                        FRAME_NAME_LENGTH);
            ReadFrameRecords(in, format, records);
            StoreFrame(index, true);
            ++index;
        }
        header = Take(in, HEADER_SIZE);
    }
    std::fclose(stream);
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    return 1;
}

// ---- Writing ---------------------------------------------------------------

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

static void PutRecord(unsigned char* record, const VectorPoint* point) {
    bool visible = (point->flags & POINT_VISIBLE) != 0;
    PutBigEndian16(record, (uint16_t)point->x);
    PutBigEndian16(record + 2, (uint16_t)Negate16((uint16_t)point->y));
    PutBigEndian16(record + 4, 0);
    record[6] = visible ? 0 : STATUS_BLANKED;
    record[7] = visible ? 1 : 0;
}

int WriteIldaFrames(UiWindow owner, const char* path, int first, int last) {
    if (!RangeInStore(first, last)) return 0;
    for (int i = first; i <= last; ++i) {
        if (frameStore.pointCounts[i] <= 0) {
            ShowWarning(owner, BLANK_FRAME, SAVING_CAPTION);
            return 0;
        }
    }
    IldaOutput* out = &ildaOutput;
    if (!BeginAtomicWrite(&out->file, owner, path)) return 0;
    out->length = 0;

    unsigned char header[HEADER_SIZE];
    std::memset(header, 0, sizeof header);
    std::memcpy(header, "ILDA", 4);
    header[FORMAT_OFFSET] = FORMAT_3D_INDEXED;
    PutBigEndian16(header + TOTAL_OFFSET, (unsigned)(last - first + 1) & 0xFFFFu);
    unsigned frameNumber = 0;
    for (int i = first; i <= last; ++i) {
        int count = frameStore.pointCounts[i];
        if (count > MAX_POINTS) count = MAX_POINTS;
        std::memcpy(header + NAME_OFFSET, frameStore.frameNames[i].bytes, FRAME_NAME_LENGTH);
        PutBigEndian16(header + COUNT_OFFSET, (unsigned)count);
        PutBigEndian16(header + NUMBER_OFFSET, frameNumber);
        std::memcpy(Reserve(out, HEADER_SIZE), header, HEADER_SIZE);
        const VectorPoint* points = frameStore.frames[i];
        for (int p = 0; p < count; ++p) PutRecord(Reserve(out, WRITTEN_RECORD_SIZE), &points[p]);
        frameNumber = (frameNumber + 1) & 0xFFFFu;
    }
    // The closing header keeps the last frame's name and counts the frames.
    PutBigEndian16(header + COUNT_OFFSET, 0);
    PutBigEndian16(header + NUMBER_OFFSET, frameNumber);
    std::memcpy(Reserve(out, HEADER_SIZE), header, HEADER_SIZE);
    Flush(out);
    return FinishAtomicWrite(&out->file, owner);
}
