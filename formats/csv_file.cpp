// Reading and writing CSV frame files. Reading fills the frame store through
// its insert and store operations and may replace the document settings;
// writing reads the store directly and goes through the atomic writer.
#include "formats/csv_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/undo.h"
#include "formats/csv_lines.h"
#include "formats/csv_quick_scan.h"
#include "formats/decimal_text.h"
#include "formats/frame_fit.h"
#include "formats/path_files.h"
#include "formats/read_account.h"
#include "formats/text_output.h"

static const char* const LOADING_CAPTION = "Loading Frames";

enum {
    LONGEST_LINE = 64  // header with two full 32-bit numbers, CR LF included
};

// ---- Reading ---------------------------------------------------------------

static CsvInput csvInput;

// Frames the store has no room for are still read through, into these, so
// that the account can say what they held.
static VectorPoint unstoredPoints[MAX_POINTS];
static FrameName unstoredName;

// Reads the lines of one frame: up to room points into points, its name
// lines into name. *kept gets the points stored, *total the point lines of
// the frame. Returns 1 when a "+" line ended it (another frame follows), 0
// at the end of the data.
static int ReadFrameLines(CsvInput* in, VectorPoint* points, int room, FrameName* name, int* kept,
                          int64_t* total) {
    char line[CSV_LINE_BUFFER];
    VectorPoint spare[QUICK_LINES];  // takes the points beyond the frame's limit
    int n = 0, more = 0;
    int64_t lines = 0;
    for (;;) {
        VectorPoint* out = n <= room - QUICK_LINES ? &points[n] : spare;
        int taken = 0;
        const int quick = QuickPointLines(in->block + in->pos, out, &taken);
        if (quick) {
            in->pos += (size_t)taken;
            lines += quick;
            if (out != spare) {
                n += quick;
            } else {
                for (int i = 0; i < quick && n < room; ++i) points[n++] = spare[i];
            }
            continue;
        }
        const int length = ReadCsvPiece(in, line);
        if (length < 0) break;
        if (line[0] == '+') {
            more = 1;
            break;
        }
        int32_t fields[3];
        if (ParseCsvPointLine(line, fields)) {
            ++lines;
            if (n < room) SetCsvPoint(&points[n++], fields[0], fields[1], fields[2]);
        } else {
            ParseCsvNameLine(line, length, name);
        }
    }
    *kept = n;
    *total = lines;
    return more;
}

int ReadCsvFrames(UiWindow owner, const char* path, int insert) {
    errno = 0;
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) {
        ShowFileWarning(owner, path, "Failed to open frame file.", LOADING_CAPTION,
                        path ? errno : ENOENT);
        return 0;
    }
    CsvInput* in = &csvInput;
    StartCsvInput(in, stream);
    ReadAccount* account = &lastReadAccount;
    StartReadAccount(account, READ_PLACE_FRAME);
    char line[CSV_LINE_BUFFER];
    int32_t speed = 0, delay = 0;
    if (ReadCsvPiece(in, line) < 0 || !ParseCsvHeader(line, &speed, &delay)) {
        std::fclose(stream);
        if (in->failed) {
            StopReading(account, READ_STOP_READ_ERROR, 1, 0);
            ReportReadAccount(owner, path, account);
        } else {
            ShowFileWarning(owner, path, "Invalid Csv frame file.", LOADING_CAPTION, 0);
        }
        return 0;
    }
    // The document changes only once the header has been accepted.
    if (!insert) {
        ClearFrameStore();
        ScanSpeed = ClampInt(speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
        BlankingDelay = ClampInt(delay, BLANKING_DELAY_MIN, CSV_BLANKING_DELAY_MAX);
    }
    int index = frameStore.currentFrame;
    bool storeFull = false;
    for (int32_t frame = 1;; ++frame) {
        int kept = 0, more = 0;
        int64_t total = 0;
        if (!storeFull && BlankFrameForReading(index, insert)) {
            FrameName* name = &frameStore.frameNames[index];
            int64_t length = 0;  // before the frame is cut to MAX_POINTS
            if (FittingLongFrames()) {
                // Read as far as the fitting can see, fitted, then cut.
                more = ReadFrameLines(in, longFramePoints, LONG_FRAME_POINTS, name, &kept, &total);
                length = FitIntoFrame(longFramePoints, kept, workingFrame.points) + (total - kept);
                kept = length < MAX_POINTS ? (int)length : MAX_POINTS;
            } else {
                more = ReadFrameLines(in, workingFrame.points, MAX_POINTS, name, &kept, &total);
                length = total;
            }
            workingFrame.count = kept;
            StoreFrame(index, true);
            ++index;
            account->framesRead += 1;
            account->pointsRead += kept;
            if (length > MAX_POINTS) {
                account->longFrames += 1;
                account->pointsBeyondLimit += length - MAX_POINTS;
            }
        } else {
            // Read through and counted, so that the account says what did
            // not fit.
            storeFull = true;
            more = ReadFrameLines(in, unstoredPoints, MAX_POINTS, &unstoredName, &kept, &total);
            account->framesBeyondStore += 1;
            account->pointsBeyondStore += total;
        }
        if (!more) {
            if (in->failed) StopReading(account, READ_STOP_READ_ERROR, frame, 0);
            break;
        }
    }
    std::fclose(stream);
    // Only an insertion into a full store can take nothing; it changed nothing.
    if (ReadFoundNoFrame(account)) {
        ReportReadAccount(owner, path, account);
        return 0;
    }
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    ReportReadAccount(owner, path, account);
    return 1;
}

// ---- Writing ---------------------------------------------------------------

static TextOutput csvOutput;

// Every line is written through here first, so one check per line keeps the
// buffer from overflowing.
static char* LineRoom(TextOutput* out) {
    return TextRoom(out, LONGEST_LINE);
}

static char* PutLineEnd(char* p) {
    p[0] = '\r';
    p[1] = '\n';
    return p + 2;
}

// How a name line is written. A name that the first two forms carry exactly
// is written as it always was: bare, or in double quotes when a comma would
// end a bare name or a leading "+" would make it a separator. Any other name
// (a double quote where it would end the name, a byte below 0x20 or of 0x80
// and above) is written in the full form: a double quote, the name with
// each double quote doubled, a double quote and a comma; its bytes are read
// back as they are. Lines of the first two forms never end in a comma (a
// quoted line ends in its double quote, a bare one holds no comma), so every
// file written before reads as it always did. At most 35 characters: one
// piece of a line.
enum { NAME_BARE, NAME_QUOTED, NAME_FULL };

static int NameForm(const unsigned char* bytes, size_t length) {
    bool comma = false, quote = false;
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] < 0x20 || bytes[i] >= 0x80) return NAME_FULL;
        comma = comma || bytes[i] == ',';
        quote = quote || bytes[i] == '"';
    }
    if (comma || (length > 0 && bytes[0] == '+')) return quote ? NAME_FULL : NAME_QUOTED;
    return length > 0 && bytes[0] == '"' ? NAME_FULL : NAME_BARE;
}

// The name as stored, up to a zero byte. A CR or LF would split the line
// into invented frames and points, so each is written as a space.
static void WriteNameLine(TextOutput* out, const FrameName* name) {
    unsigned char bytes[FRAME_NAME_LENGTH];
    size_t length = 0;
    while (length < FRAME_NAME_LENGTH && name->bytes[length] != 0) {
        const unsigned char c = (unsigned char)name->bytes[length];
        bytes[length++] = (c == '\r' || c == '\n') ? ' ' : c;
    }
    const int form = NameForm(bytes, length);
    char* p = LineRoom(out);
    if (form != NAME_BARE) *p++ = '"';
    for (size_t i = 0; i < length; ++i) {
        if (form == NAME_FULL && bytes[i] == '"') *p++ = '"';
        *p++ = (char)bytes[i];
    }
    if (form != NAME_BARE) *p++ = '"';
    if (form == NAME_FULL) *p++ = ',';
    out->cursor = PutLineEnd(p);
}

static void WritePointLines(TextOutput* out, const VectorPoint* points, int count) {
    for (int i = 0; i < count; ++i) {
        char* p = LineRoom(out);
        *p++ = (points[i].flags & POINT_VISIBLE) ? '1' : '0';
        *p++ = ',';
        p = PutDecimal(p, points[i].x);
        *p++ = ',';
        p = PutDecimal(p, -(int32_t)points[i].y);  // full int: y = -32768 gives 32768
        out->cursor = PutLineEnd(p);
    }
}

int WriteCsvFrames(UiWindow owner, const char* path, int first, int last) {
    TextOutput* out = &csvOutput;
    if (!BeginTextOutput(out, owner, path)) return 0;

    char* p = LineRoom(out);
    std::memcpy(p, "VECTOR,", 7);
    p = PutDecimal(p + 7, ScanSpeed);
    *p++ = ',';
    p = PutDecimal(p, BlankingDelay);
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
    return FinishTextOutput(out, owner);
}
