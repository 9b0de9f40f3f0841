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

enum { NOTES_KEPT = 8, NOTE_LENGTH = 320, QUOTED_PIECE_SIZE = 4 * CSV_LINE_CHARS + 3 };

struct FrameWalk {
    int32_t firstLine;  // 0 while the frame has no line
    int32_t lastLine;
    int64_t points;
    FrameName name;
    int nameLength;  // of the last name line, without the 16-byte limit
    int32_t nameLine;
    bool named;
    int notes;
    char note[NOTES_KEPT][NOTE_LENGTH];
};

static CsvInput walkInput;
static FrameWalk frameWalk;

static const char* Plural(long long n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

__attribute__((format(printf, 2, 3))) static void AddNote(FrameWalk* frame, const char* format,
                                                          ...) {
    if (frame->notes < NOTES_KEPT) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(frame->note[frame->notes], NOTE_LENGTH, format, args);
        va_end(args);
    }
    frame->notes += 1;
}

static void StartFrame(FrameWalk* frame) {
    std::memset(frame, 0, sizeof *frame);
    SetBlankName(&frame->name);
}

// The frame's line, what it loses and its notes; counts it in the account
// as the reader does.
static void EndFrame(FILE* report, ReadAccount* account, int32_t number, const FrameWalk* frame) {
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
    const long long points = frame->points;
    if (account->framesRead < MAX_FRAMES && account->framesBeyondStore == 0) {
        const long long kept = points < (long long)MAX_POINTS ? points : (long long)MAX_POINTS;
        account->framesRead += 1;
        account->pointsRead += kept;
        char of[32] = "";
        if (kept < points) std::snprintf(of, sizeof of, " of %lld", points);
        ReportLine(report, "frame %d, %s: %lld%s %s, name %s", (int)number, lines, kept, of,
                   Plural(kept, "point", "points"), quoted);
        if (kept < points) {
            account->longFrames += 1;
            account->pointsBeyondLimit += points - kept;
            ReportLine(report, "  lost: %lld point %s beyond the %d points a frame holds",
                       points - kept, Plural(points - kept, "line", "lines"), (int)MAX_POINTS);
        }
    } else {
        account->framesBeyondStore += 1;
        account->pointsBeyondStore += points;
        ReportLine(report, "frame %d, %s: %lld %s, name %s: beyond the %d frames a document holds",
                   (int)number, lines, points, Plural(points, "point", "points"), quoted,
                   (int)MAX_FRAMES);
        ReportLine(report, "  lost: the frame and its %lld %s", points,
                   Plural(points, "point", "points"));
    }
    if (frame->named && frame->nameLength > FRAME_NAME_LENGTH)
        ReportLine(report, "  note: the name on line %d has %d characters; the editor keeps %d",
                   (int)frame->nameLine, frame->nameLength, (int)FRAME_NAME_LENGTH);
    for (int i = 0; i < frame->notes && i < NOTES_KEPT; ++i)
        ReportLine(report, "  note: %s", frame->note[i]);
    if (frame->notes > NOTES_KEPT)
        ReportLine(report, "  note: and %d more such %s", frame->notes - NOTES_KEPT,
                   Plural(frame->notes - NOTES_KEPT, "note", "notes"));
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
            AddNote(frame, "line %d has more than %d characters: read as %d lines", (int)line,
                    (int)CSV_LINE_CHARS, pieces);
        char quoted[QUOTED_PIECE_SIZE];
        if (piece[0] == '+') {
            if (length > 1) {
                FormatQuotedBytes(piece + 1, length - 1, quoted);
                AddNote(frame,
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
        if (ParseCsvPointLine(piece, fields)) {
            frame->points += 1;
            continue;
        }
        if (frame->points > 0 || frame->named || frame->firstLine != line || pieces > 1) {
            FormatQuotedBytes(piece, length, quoted);
            AddNote(frame, "line %d, %s, is no point line: it names the frame", (int)line, quoted);
        }
        frame->nameLength = ParseCsvNameLine(piece, length, &frame->name);
        frame->nameLine = line;
        frame->named = true;
    }
    const bool failed = in->failed;
    std::fclose(stream);
    points += frame->points;
    EndFrame(report, account, number, frame);
    if (failed) {
        StopReading(account, READ_STOP_READ_ERROR, number, 0);
        ReportLine(report, "  lost: the file cannot be read beyond line %d", (int)line);
    }
    ReportLine(report, "CSV file of %d %s: the header and %d %s holding %lld %s", (int)line,
               Plural(line, "line", "lines"), (int)number, Plural(number, "frame", "frames"),
               points, Plural(points, "point", "points"));
    return WALK_DONE;
}
