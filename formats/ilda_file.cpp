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
#include "formats/ilda_input.h"
#include "formats/ilda_layout.h"
#include "formats/path_files.h"
#include "formats/read_account.h"

static const char* const LOADING_CAPTION = "Loading Frames";
static const char* const SAVING_CAPTION = "Saving Frames";
static const char* const OPEN_FAILED = "Failed to open frame file.";
static const char* const NOT_ILDA = "Invalid ILDA frame file.";
static const char* const BLANK_FRAME = "ILDA format does not allow any blank frame.";

enum { WRITTEN_RECORD_SIZE = 8, WRITE_BLOCK = 256 * 1024 };

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

static IldaInput ildaInput;

// Reads the records of one frame section into the working frame, keeping
// MAX_POINTS of them; the rest are read and dropped so that the next header
// is found. Returns how many records the file held whole.
static unsigned ReadFrameRecords(IldaInput* in, unsigned format, unsigned records) {
    const size_t size = IldaRecordSize(format), statusAt = IldaStatusOffset(format);
    unsigned kept = records < (unsigned)MAX_POINTS ? records : (unsigned)MAX_POINTS;
    unsigned n = 0;
    for (; n < kept; ++n) {
        const unsigned char* record = IldaTake(in, size);
        if (!record) break;
        VectorPoint* point = &workingFrame.points[n];
        point->x = (int16_t)(uint16_t)IldaBigEndian16(record);
        point->y = Negate16(IldaBigEndian16(record + 2));
        point->flags = (record[statusAt] & ILDA_STATUS_BLANKED) ? 0 : POINT_VISIBLE;
    }
    workingFrame.count = (int32_t)n;
    if (n < kept) return n;
    return n + SkipIldaRecords(in, records - kept, size);
}

// The next section header, or null at the end of the file; a header cut
// short or a read error is recorded as the reason reading stops.
static const unsigned char* NextHeader(IldaInput* in, ReadAccount* account, int32_t section) {
    size_t left = IldaAvailable(in, ILDA_HEADER_SIZE);
    if (left == ILDA_HEADER_SIZE) return IldaTake(in, ILDA_HEADER_SIZE);
    if (in->failed)
        StopReading(account, READ_STOP_READ_ERROR, section, 0);
    else if (left > 0)
        StopReading(account, READ_STOP_CUT_SHORT, section, 0);
    return nullptr;
}

int ReadIldaFrames(UiWindow owner, const char* path, int insert) {
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) {
        ShowWarning(owner, OPEN_FAILED, LOADING_CAPTION);
        return 0;
    }
    IldaInput* in = &ildaInput;
    StartIldaInput(in, stream);
    ReadAccount* account = &lastReadAccount;
    StartReadAccount(account, READ_PLACE_SECTION);
    // Nothing changes before the file has shown that it is an ILDA file.
    const unsigned char* header = IldaTake(in, ILDA_HEADER_SIZE);
    if (!header || !IldaHasSignature(header)) {
        std::fclose(stream);
        if (in->failed) {
            StopReading(account, READ_STOP_READ_ERROR, 1, 0);
            ReportReadAccount(owner, account);
        } else {
            ShowWarning(owner, NOT_ILDA, LOADING_CAPTION);
        }
        return 0;
    }
    // Open mode replaces the document only once a frame section is found,
    // so that a file of which nothing can be read leaves it as it was.
    bool cleared = insert != 0;
    bool storeFull = false;
    int index = insert ? frameStore.currentFrame : 0;
    for (int32_t section = 1; header; ++section) {
        if (!IldaHasSignature(header)) {
            StopReading(account, READ_STOP_NOT_SECTION, section, 0);
            break;
        }
        unsigned records = IldaBigEndian16(header + ILDA_COUNT_OFFSET);
        if (records == 0) {  // the closing header
            // Frames after it are not read; some files hold more than one
            // sequence this way, so say so rather than drop them quietly.
            if (IldaSectionFollows(in)) StopReading(account, READ_STOP_AFTER_CLOSING, section, 0);
            break;
        }
        unsigned format = header[ILDA_FORMAT_OFFSET];
        size_t size = IldaRecordSize(format);
        if (size == 0) {
            StopReading(account, READ_STOP_FORMAT, section, (int)format);
            break;
        }
        unsigned whole = 0;
        if (format == ILDA_FORMAT_PALETTE) {
            whole = SkipIldaRecords(in, records, size);
        } else {
            if (!cleared) ClearFrameStore();
            cleared = true;
            if (!storeFull && BlankFrameForReading(index, insert)) {
                // The header lives in the input block: take the name before
                // the records move it.
                std::memcpy(frameStore.frameNames[index].bytes, header + ILDA_NAME_OFFSET,
                            FRAME_NAME_LENGTH);
                whole = ReadFrameRecords(in, format, records);
                StoreFrame(index, true);
                ++index;
                account->framesRead += 1;
                account->pointsRead += workingFrame.count;
                if (whole > (unsigned)MAX_POINTS) {
                    account->longFrames += 1;
                    account->pointsBeyondLimit += whole - MAX_POINTS;
                }
            } else {
                // Counted, so that the account says what did not fit.
                storeFull = true;
                whole = SkipIldaRecords(in, records, size);
                account->framesBeyondStore += 1;
                account->pointsBeyondStore += whole;
            }
        }
        if (whole < records) {
            StopReading(account, in->failed ? READ_STOP_READ_ERROR : READ_STOP_CUT_SHORT, section,
                        0);
            break;
        }
        header = NextHeader(in, account, section + 1);
    }
    std::fclose(stream);
    if (ReadFoundNoFrame(account)) {
        ReportReadAccount(owner, account);
        return 0;
    }
    if (!cleared) ClearFrameStore();  // a valid file without frames: an empty document
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    ReportReadAccount(owner, account);
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
    record[6] = visible ? 0 : ILDA_STATUS_BLANKED;
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

    unsigned char header[ILDA_HEADER_SIZE];
    std::memset(header, 0, sizeof header);
    std::memcpy(header, "ILDA", 4);
    header[ILDA_FORMAT_OFFSET] = ILDA_FORMAT_3D_INDEXED;
    PutBigEndian16(header + ILDA_TOTAL_OFFSET, (unsigned)(last - first + 1) & 0xFFFFu);
    unsigned frameNumber = 0;
    for (int i = first; i <= last; ++i) {
        int count = frameStore.pointCounts[i];
        if (count > MAX_POINTS) count = MAX_POINTS;
        std::memcpy(header + ILDA_NAME_OFFSET, frameStore.frameNames[i].bytes, FRAME_NAME_LENGTH);
        PutBigEndian16(header + ILDA_COUNT_OFFSET, (unsigned)count);
        PutBigEndian16(header + ILDA_NUMBER_OFFSET, frameNumber);
        std::memcpy(Reserve(out, ILDA_HEADER_SIZE), header, ILDA_HEADER_SIZE);
        const VectorPoint* points = frameStore.frames[i];
        for (int p = 0; p < count; ++p) PutRecord(Reserve(out, WRITTEN_RECORD_SIZE), &points[p]);
        frameNumber = (frameNumber + 1) & 0xFFFFu;
    }
    // The closing header keeps the last frame's name and counts the frames.
    PutBigEndian16(header + ILDA_COUNT_OFFSET, 0);
    PutBigEndian16(header + ILDA_NUMBER_OFFSET, frameNumber);
    std::memcpy(Reserve(out, ILDA_HEADER_SIZE), header, ILDA_HEADER_SIZE);
    Flush(out);
    return FinishAtomicWrite(&out->file, owner);
}
