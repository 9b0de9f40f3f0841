// Walking the lines of a CSV frame file for the file check, piece by piece
// as the reader takes them. A frame's notes are kept until its line is
// written, the first few of them in full.
#include "formats/csv_walk.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "formats/csv_lines.h"
#include "formats/name_text.h"
#include "formats/path_files.h"
#include "formats/walk_runs.h"

enum { NOTES_KEPT = 8, NOTE_LENGTH = 320, QUOTED_PIECE_SIZE = 4 * CSV_LINE_CHARS + 3 };

// What a frame's lines say, as a walk kind (formats/walk_runs.h): frames
// of one kind read alike, and a file of millions of them is summed up.
enum {
    KIND_BEYOND_STORE = 1 << 1,
    KIND_LONG_FRAME = 1 << 2,
    KIND_LONG_LINE = 1 << 3,
    KIND_PLUS_REST = 1 << 4,
    KIND_RENAMED = 1 << 5,
    KIND_NAME_CUT = 1 << 6,
    KIND_NAME_ZERO = 1 << 7,
    KIND_NOT_FULL_FORM = 1 << 8,
    KIND_NUMBERS = 1 << 9
};

// What each kind's notes are about, for the sum of a stretch of frames;
// the losses are summed on their own.
static const char* const KIND_NOTES[WALK_KIND_BITS] = {
    nullptr,
    nullptr,
    nullptr,
    "a line longer than the reader takes, read as several lines",
    "a \"+\" line with more on it than the \"+\", which is not read",
    "a line that is no point line and names the frame",
    "a name longer than the 16 characters the editor keeps",
    "a zero byte that ends the name",
    "a name line that looks like the full form but is not, read as an ordinary one",
    "numbers that keep only their low bits"};

struct FrameWalk {
    int32_t firstLine;  // 0 while the frame has no line
    int32_t lastLine;
    int64_t points;
    FrameName name;
    int nameLength;  // of the last name line, without the 16-byte limit
    int32_t nameLine;
    bool named;
    unsigned kind;  // the KIND_ bits of its notes
    int notes;
    char note[NOTES_KEPT][NOTE_LENGTH];  // only the first notes are kept; not cleared
};

static CsvInput walkInput;
static FrameWalk frameWalk;
static WalkRuns walkRuns;

static const char* Plural(long long n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

__attribute__((format(printf, 3, 4))) static void AddNote(FrameWalk* frame, unsigned kind,
                                                          const char* format, ...) {
    frame->kind |= kind;
    if (frame->notes < NOTES_KEPT) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(frame->note[frame->notes], NOTE_LENGTH, format, args);
        va_end(args);
    }
    frame->notes += 1;
}

static void StartFrame(FrameWalk* frame) {
    frame->firstLine = frame->lastLine = 0;
    frame->points = 0;
    SetBlankName(&frame->name);
    frame->nameLength = 0;
    frame->nameLine = 0;
    frame->named = false;
    frame->kind = 0;
    frame->notes = 0;
}

// The frame's line, what it loses and its notes, unless it is one of a
// run of alike frames; counts it in the account as the reader does.
static void EndFrame(FILE* report, ReadAccount* account, int32_t number, FrameWalk* frame) {
    const long long points = frame->points;
    const bool stored = account->framesRead < MAX_FRAMES && account->framesBeyondStore == 0;
    const long long limit = MAX_POINTS;
    const long long kept = !stored ? 0 : points < limit ? points : limit;
    WalkLosses losses = {0, 0, 0};
    if (stored) {
        account->framesRead += 1;
        account->pointsRead += kept;
        if (kept < points) {
            account->longFrames += 1;
            account->pointsBeyondLimit += points - kept;
            losses.pointsBeyondLimit = points - kept;
            frame->kind |= KIND_LONG_FRAME;
        }
    } else {
        account->framesBeyondStore += 1;
        account->pointsBeyondStore += points;
        losses.framesBeyondStore = 1;
        losses.pointsBeyondStore = points;
        frame->kind |= KIND_BEYOND_STORE;
    }
    const bool nameCut = frame->named && frame->nameLength > FRAME_NAME_LENGTH;
    if (nameCut) frame->kind |= KIND_NAME_CUT;
    if (!ShowWalkItem(report, &walkRuns, number, frame->kind, &losses)) return;

    char quoted[QUOTED_NAME_SIZE];
    FormatQuotedName(&frame->name, quoted);
    char lines[48];
    if (frame->firstLine == 0)
        std::snprintf(lines, sizeof lines, "no lines");
    else if (frame->firstLine == frame->lastLine)
        std::snprintf(lines, sizeof lines, "line %d", (int)frame->firstLine);
    else
        std::snprintf(lines, sizeof lines, "lines %d-%d", (int)frame->firstLine,
                      (int)frame->lastLine);
    if (stored) {
        char of[32] = "";
        if (kept < points) std::snprintf(of, sizeof of, " of %lld", points);
        ReportLine(report, "frame %d, %s: %lld%s %s, name %s", (int)number, lines, kept, of,
                   Plural(kept, "point", "points"), quoted);
        if (kept < points)
            ReportLine(report, "  lost: %lld point %s beyond the %d points a frame holds",
                       points - kept, Plural(points - kept, "line", "lines"), (int)MAX_POINTS);
    } else {
        ReportLine(report, "frame %d, %s: %lld %s, name %s: beyond the %d frames a document holds",
                   (int)number, lines, points, Plural(points, "point", "points"), quoted,
                   (int)MAX_FRAMES);
        ReportLine(report, "  lost: the frame and its %lld %s", points,
                   Plural(points, "point", "points"));
    }
    if (nameCut)
        ReportLine(report, "  note: the name on line %d has %d characters; the editor keeps %d",
                   (int)frame->nameLine, frame->nameLength, (int)FRAME_NAME_LENGTH);
    for (int i = 0; i < frame->notes && i < NOTES_KEPT; ++i)
        ReportLine(report, "  note: %s", frame->note[i]);
    if (frame->notes > NOTES_KEPT)
        ReportLine(report, "  note: and %d more such %s", frame->notes - NOTES_KEPT,
                   Plural(frame->notes - NOTES_KEPT, "note", "notes"));
}

// A point line whose numbers do not come back as they stand: beyond the
// 16 bits of a coordinate (or the 32 of any number), they keep their low
// 16 bits, and a V beyond 32 bits its lowest bit.
static void NoteNumbers(FrameWalk* frame, int32_t line, const char* piece, int length,
                        const int32_t fields[3], unsigned beyond) {
    VectorPoint point;
    SetCsvPoint(&point, fields[0], fields[1], fields[2]);
    const int64_t y = -(int64_t)point.y;  // as the writer writes it back
    const bool coordinates = (beyond & 6u) || point.x != fields[1] || y != fields[2];
    if (!coordinates && !(beyond & 1u)) return;
    char quoted[QUOTED_PIECE_SIZE];
    FormatQuotedBytes(piece, length, quoted);
    AddNote(frame, KIND_NUMBERS, "line %d, %s, reads as %d,%d,%lld: %s%s%s", (int)line, quoted,
            (point.flags & POINT_VISIBLE) ? 1 : 0, (int)point.x, (long long)y,
            (beyond & 1u) ? "V keeps its lowest bit" : "", (beyond & 1u) && coordinates ? ", " : "",
            coordinates ? "X and Y keep their low 16 bits" : "");
}

int WalkCsvFile(const char* path, FILE* report, ReadAccount* account) {
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) return WALK_OPEN_FAILED;
    CsvInput* in = &walkInput;
    StartCsvInput(in, stream);
    StartReadAccount(account, READ_PLACE_FRAME);
    char piece[CSV_LINE_BUFFER];
    int32_t speed = 0, delay = 0;
    if (ReadCsvPiece(in, piece) < 0 || !ParseCsvHeader(piece, &speed, &delay)) {
        const bool failed = in->failed;
        std::fclose(stream);
        if (failed) {
            StopReading(account, READ_STOP_READ_ERROR, 1, 0);
            ReportLine(report, "line 1: the file cannot be read");
            return WALK_DONE;
        }
        ReportLine(report,
                   "line 1: no CSV header (\"VECTOR,\", the scan speed and the blanking "
                   "delay): this is no CSV frame file");
        return WALK_REFUSED;
    }
    ReportLine(report, "line 1: header, scan speed %d, blanking delay %d", (int)speed, (int)delay);
    const int32_t keptSpeed = ClampInt(speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
    const int32_t keptDelay = ClampInt(delay, BLANKING_DELAY_MIN, CSV_BLANKING_DELAY_MAX);
    if (keptSpeed != speed)
        ReportLine(report, "  note: the scan speed is read as %d (%d to %d)", (int)keptSpeed,
                   (int)SCAN_SPEED_MIN, (int)SCAN_SPEED_MAX);
    if (keptDelay != delay)
        ReportLine(report, "  note: the blanking delay is read as %d (%d to %d)", (int)keptDelay,
                   (int)BLANKING_DELAY_MIN, (int)CSV_BLANKING_DELAY_MAX);

    FrameWalk* frame = &frameWalk;
    StartWalkRuns(&walkRuns, "frame", "point lines", KIND_NOTES);
    int32_t line = 1, number = 1;
    int pieces = 1;  // of the current line so far
    long long points = 0;
    StartFrame(frame);
    for (;;) {
        const bool newLine = in->lineEnded;
        const int length = ReadCsvPiece(in, piece);
        if (length < 0) break;
        if (newLine) {
            ++line;
            pieces = 1;
        } else {
            ++pieces;
        }
        if (in->lineEnded && pieces > 1)
            AddNote(frame, KIND_LONG_LINE, "line %d has more than %d characters: read as %d lines",
                    (int)line, (int)CSV_LINE_CHARS, pieces);
        char quoted[QUOTED_PIECE_SIZE];
        if (piece[0] == '+') {
            if (length > 1) {
                FormatQuotedBytes(piece + 1, length - 1, quoted);
                AddNote(frame, KIND_PLUS_REST,
                        "line %d begins with \"+\" and ends the frame; the rest, %s, is "
                        "not read",
                        (int)line, quoted);
            }
            points += frame->points;
            EndFrame(report, account, number++, frame);
            StartFrame(frame);
            continue;
        }
        // The separator stands between frames, in neither's lines.
        if (frame->firstLine == 0) frame->firstLine = line;
        frame->lastLine = line;
        int32_t fields[3];
        unsigned beyond = 0;
        if (ParseCsvPointLine(piece, fields, &beyond)) {
            frame->points += 1;
            NoteNumbers(frame, line, piece, length, fields, beyond);
            continue;
        }
        FormatQuotedBytes(piece, length, quoted);
        if (frame->points > 0 || frame->named || frame->firstLine != line || pieces > 1)
            AddNote(frame, KIND_RENAMED, "line %d, %s, is no point line: it names the frame",
                    (int)line, quoted);
        unsigned odd = 0;
        frame->nameLength = ParseCsvNameLine(piece, length, &frame->name, &odd);
        frame->nameLine = line;
        frame->named = true;
        if (odd & CSV_NAME_NOT_FULL_FORM)
            AddNote(frame, KIND_NOT_FULL_FORM,
                    "line %d, %s, ends as a full-form name does, but not every double quote in "
                    "it is doubled: it reads as an ordinary name line",
                    (int)line, quoted);
        if (odd & CSV_NAME_ZERO_ENDED)
            AddNote(frame, KIND_NAME_ZERO, "line %d: a zero byte ends the name", (int)line);
    }
    const bool failed = in->failed;
    std::fclose(stream);
    points += frame->points;
    EndFrame(report, account, number, frame);
    EndWalkRun(report, &walkRuns);
    if (failed) {
        StopReading(account, READ_STOP_READ_ERROR, number, 0);
        ReportLine(report, "  lost: the file cannot be read beyond line %d", (int)line);
    }
    ReportLine(report, "CSV file of %d %s: the header and %d %s holding %lld %s", (int)line,
               Plural(line, "line", "lines"), (int)number, Plural(number, "frame", "frames"),
               points, Plural(points, "point", "points"));
    return WALK_DONE;
}
