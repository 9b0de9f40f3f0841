// Reading and writing CSV frame files. Reading fills the frame store through
// its insert and store operations and may replace the document settings;
// writing reads the store directly and goes through the atomic writer.
#include "formats/csv_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/undo.h"
#include "formats/atomic_write.h"

static const char* const LOADING_CAPTION = "Loading Frames";

enum {
    // Lines are taken in pieces of at most 49 characters, as a 50-byte line
    // buffer would take them; a longer line becomes several lines.
    LINE_BUFFER = 50,
    LINE_CHARS = LINE_BUFFER - 1,
    READ_BLOCK = 256 * 1024,
    WRITE_BLOCK = 256 * 1024,
    LONGEST_LINE = 64,  // header with two full 32-bit numbers, CR LF included
    CSV_BLANKING_DELAY_MAX = 32
};

// ---- Reading ---------------------------------------------------------------

struct CsvInput {
    FILE* stream;
    size_t pos;
    size_t length;
    bool atEnd;  // nothing more to come from the stream
    char block[READ_BLOCK];
};

static CsvInput csvInput;

static void StartInput(CsvInput* in, FILE* stream) {
    in->stream = stream;
    in->pos = 0;
    in->length = 0;
    in->atEnd = false;
}

static void Refill(CsvInput* in) {
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

// Takes the next piece of a line into out (terminated). A CR directly before
// LF is dropped, the LF ends the piece and is not kept. Returns the piece's
// length, or -1 at the end of the file.
static int ReadPiece(CsvInput* in, char* out) {
    // One piece looks at no more than LINE_BUFFER bytes (49 characters and
    // the byte after a CR), so refilling first keeps the scan inside the block.
    if (!in->atEnd && in->length - in->pos <= LINE_BUFFER) Refill(in);
    const char* p = in->block + in->pos;
    const char* end = in->block + in->length;
    if (p == end) return -1;
    int n = 0;
    while (n < LINE_CHARS && p < end) {
        char c = *p;
        if (c == '\n') {
            ++p;
            break;
        }
        if (c == '\r' && p + 1 < end && p[1] == '\n') {
            p += 2;
            break;
        }
        out[n++] = c;
        ++p;
    }
    out[n] = 0;
    in->pos = (size_t)(p - in->block);
    return n;
}

// "VECTOR," exactly, the scan speed, and optionally ",delay" (0 when absent).
static int ParseHeader(const char* line, int32_t* speed, int32_t* delay) {
    if (std::strncmp(line, "VECTOR,", 7) != 0) return 0;
    const char* p = nullptr;
    if (!ScanInt(line + 7, speed, &p)) return 0;
    *delay = 0;
    if (*p == ',') ScanInt(p + 1, delay, nullptr);
    return 1;
}

// Three integers, each comma directly after its number; the rest is ignored.
static int ParsePointLine(const char* line, int32_t fields[3]) {
    const char* p = line;
    for (int i = 0; i < 3; ++i) {
        if (!ScanInt(p, &fields[i], &p)) return 0;
        if (i < 2) {
            if (*p != ',') return 0;
            ++p;
        }
    }
    return 1;
}

// Low 16 bits, two's complement.
static int16_t Low16(uint32_t value) {
    uint16_t low = (uint16_t)(value & 0xFFFFu);
    return low >= 0x8000u ? (int16_t)((int32_t)low - 0x10000) : (int16_t)low;
}

static void ParseNameLine(const char* line, FrameName* name) {
    SetBlankName(name);
    const unsigned char* p = (const unsigned char*)line;
    const bool quoted = (*p == '"');
    if (quoted) ++p;
    for (int n = 0; n < FRAME_NAME_LENGTH; ++n, ++p) {
        unsigned char c = *p;
        if (c < 0x20 || c >= 0x80) break;
        if (quoted ? c == '"' : c == ',') break;
        name->bytes[n] = (char)c;
    }
}

// Reads the lines of one frame into the working frame and the name of slot
// index. Returns 1 when a "+" line ended it (another frame follows).
static int ReadFrameLines(CsvInput* in, int index) {
    char line[LINE_BUFFER];
    int n = 0;
    int more = 0;
    while (ReadPiece(in, line) >= 0) {
        if (line[0] == '+') {
            more = 1;
            break;
        }
        int32_t fields[3];
        if (ParsePointLine(line, fields)) {
            if (n < MAX_POINTS) {
                VectorPoint* point = &workingFrame.points[n++];
                point->flags = (fields[0] & 1) ? POINT_VISIBLE : 0;
                point->x = Low16((uint32_t)fields[1]);
                point->y = Low16(0u - (uint32_t)fields[2]);
            }
        } else {
            ParseNameLine(line, &frameStore.frameNames[index]);
        }
    }
    workingFrame.count = n;
    return more;
}

int ReadCsvFrames(UiWindow owner, const char* path, int insert) {
    FILE* stream = path ? std::fopen(path, "rb") : nullptr;
    if (!stream) {
        ShowWarning(owner, "Failed to open frame file.", LOADING_CAPTION);
        return 0;
    }
    CsvInput* in = &csvInput;
    StartInput(in, stream);
    char line[LINE_BUFFER];
    int32_t speed = 0, delay = 0;
    if (ReadPiece(in, line) < 0 || !ParseHeader(line, &speed, &delay)) {
        std::fclose(stream);
        ShowWarning(owner, "Invalid Csv frame file.", LOADING_CAPTION);
        return 0;
    }
    // The document changes only once the header has been accepted.
    if (!insert) {
        ClearFrameStore();
        ScanSpeed = ClampInt(speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
        BlankingDelay = ClampInt(delay, BLANKING_DELAY_MIN, CSV_BLANKING_DELAY_MAX);
    }
    int index = frameStore.currentFrame;
    // A full store ends the reading quietly; the frames read so far stay.
    while (InsertBlankFrame(index)) {
        int more = ReadFrameLines(in, index);
        StoreFrame(index, true);
        if (!more) break;
        ++index;
    }
    std::fclose(stream);
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    return 1;
}

// ---- Writing ---------------------------------------------------------------

struct CsvOutput {
    AtomicFile file;
    char* cursor;
    char buffer[WRITE_BLOCK];
};

static CsvOutput csvOutput;

static void FlushOutput(CsvOutput* out) {
    AtomicWriteBytes(&out->file, out->buffer, (size_t)(out->cursor - out->buffer));
    out->cursor = out->buffer;
}

// Every line is written through here first, so one check per line keeps the
// buffer from overflowing.
static char* LineRoom(CsvOutput* out) {
    if (out->buffer + WRITE_BLOCK - out->cursor < LONGEST_LINE) FlushOutput(out);
    return out->cursor;
}

// Decimal, as "%d" gives it.
static char* PutInt(char* p, int32_t value) {
    uint32_t magnitude = (uint32_t)value;
    if (value < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    char digits[10];
    int n = 0;
    do {
        digits[n++] = (char)('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude);
    while (n) *p++ = digits[--n];
    return p;
}

static char* PutLineEnd(char* p) {
    p[0] = '\r';
    p[1] = '\n';
    return p + 2;
}

// The name as stored, up to a zero byte. Quoted when a bare line would read
// back differently: a comma would end it, a leading "+" would make it a
// separator.
static void WriteNameLine(CsvOutput* out, const FrameName* name) {
    char* p = LineRoom(out);
    size_t length = 0;
    while (length < FRAME_NAME_LENGTH && name->bytes[length] != 0) ++length;
    const bool quote =
        std::memchr(name->bytes, ',', length) != nullptr || (length > 0 && name->bytes[0] == '+');
    if (quote) *p++ = '"';
    std::memcpy(p, name->bytes, length);
    p += length;
    if (quote) *p++ = '"';
    out->cursor = PutLineEnd(p);
}

static void WritePointLines(CsvOutput* out, const VectorPoint* points, int count) {
    for (int i = 0; i < count; ++i) {
        char* p = LineRoom(out);
        *p++ = (points[i].flags & POINT_VISIBLE) ? '1' : '0';
        *p++ = ',';
        p = PutInt(p, points[i].x);
        *p++ = ',';
        p = PutInt(p, -(int32_t)points[i].y);  // full int: y = -32768 gives 32768
        out->cursor = PutLineEnd(p);
    }
}

int WriteCsvFrames(UiWindow owner, const char* path, int first, int last) {
    CsvOutput* out = &csvOutput;
    if (!BeginAtomicWrite(&out->file, owner, path)) return 0;
    out->cursor = out->buffer;

    char* p = LineRoom(out);
    std::memcpy(p, "VECTOR,", 7);
    p = PutInt(p + 7, ScanSpeed);
    *p++ = ',';
    p = PutInt(p, BlankingDelay);
    out->cursor = PutLineEnd(p);

    if (first < 0) first = 0;
    if (last > MAX_FRAMES - 1) last = MAX_FRAMES - 1;
    for (int i = first; i <= last && !out->file.failed; ++i) {
        WriteNameLine(out, &frameStore.frameNames[i]);
        int count = ClampInt(frameStore.pointCounts[i], 0, MAX_POINTS);
        WritePointLines(out, frameStore.frames[i], count);
        if (i < last) {
            p = LineRoom(out);
            *p++ = '+';
            out->cursor = PutLineEnd(p);
        }
    }
    FlushOutput(out);
    return FinishAtomicWrite(&out->file, owner);
}
