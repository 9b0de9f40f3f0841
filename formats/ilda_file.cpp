// Reading ILDA frame files. Reading fills the frame store through its insert
// and store operations; the settings are never touched. The writers are in
// formats/ilda_write.cpp.
#include "formats/ilda_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/undo.h"
#include "formats/frame_fit.h"
#include "formats/ilda_input.h"
#include "formats/ilda_layout.h"
#include "formats/ilda_tail.h"
#include "formats/path_files.h"
#include "formats/read_account.h"

static const char* const LOADING_CAPTION = "Loading Frames";
static const char* const OPEN_FAILED = "Failed to open frame file.";
static const char* const NOT_ILDA = "Invalid ILDA frame file.";

// ---- Reading ---------------------------------------------------------------

static IldaInput ildaInput;

// Reads the records of one frame section into the working frame, keeping
// MAX_POINTS of them; the rest are read and dropped so that the next header
// is found. While long frames are fitted, a long section is read whole and
// fitted first. Returns how many records the file held whole; *length gets
// the frame's length before it is cut to MAX_POINTS.
static unsigned ReadFrameRecords(IldaInput* in, unsigned format, unsigned records,
                                 unsigned* length) {
    const size_t size = IldaRecordSize(format), statusAt = IldaStatusOffset(format);
    const bool fit = records > (unsigned)MAX_POINTS && FittingLongFrames();
    VectorPoint* points = fit ? longFramePoints : workingFrame.points;
    unsigned kept = fit || records < (unsigned)MAX_POINTS ? records : (unsigned)MAX_POINTS;
    unsigned n = 0;
    for (; n < kept; ++n) {
        const unsigned char* record = IldaTake(in, size);
        if (!record) break;
        VectorPoint* point = &points[n];
        point->x = (int16_t)(uint16_t)IldaBigEndian16(record);
        point->y = IldaNegate16(IldaBigEndian16(record + 2));
        point->flags = (record[statusAt] & ILDA_STATUS_BLANKED) ? 0 : POINT_VISIBLE;
    }
    const unsigned whole = n < kept ? n : n + SkipIldaRecords(in, records - kept, size);
    *length = fit ? (unsigned)FitIntoFrame(points, (int32_t)n, workingFrame.points) : whole;
    workingFrame.count = *length < (unsigned)MAX_POINTS ? (int32_t)*length : MAX_POINTS;
    return whole;
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
    errno = 0;
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) {
        ShowFileWarning(owner, path, OPEN_FAILED, LOADING_CAPTION, path ? errno : ENOENT);
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
            ReportReadAccount(owner, path, account);
        } else {
            ShowFileWarning(owner, path, NOT_ILDA, LOADING_CAPTION, 0);
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
            // Another closing header or a palette after it loses nothing.
            IldaTail tail;
            ScanIldaTail(in, section, &tail);
            if (tail.frameSection) StopReading(account, READ_STOP_AFTER_CLOSING, section, 0);
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
                unsigned length = 0;
                whole = ReadFrameRecords(in, format, records, &length);
                StoreFrame(index, true);
                ++index;
                account->framesRead += 1;
                account->pointsRead += workingFrame.count;
                if (length > (unsigned)MAX_POINTS) {
                    account->longFrames += 1;
                    account->pointsBeyondLimit += length - MAX_POINTS;
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
        ReportReadAccount(owner, path, account);
        return 0;
    }
    if (!cleared) ClearFrameStore();  // a valid file without frames: an empty document
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    ReportReadAccount(owner, path, account);
    return 1;
}
