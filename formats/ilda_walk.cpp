// Walking the sections of an ILDA file for the file check. Two passes: a
// quiet one counts the frame sections, so that the second can hold every
// section's total-frames field against the file.
#include "formats/ilda_walk.h"

#include <cstdint>
#include <cstring>

#include "document/frame_store.h"
#include "formats/ilda_input.h"
#include "formats/ilda_layout.h"
#include "formats/name_text.h"
#include "formats/path_files.h"

static IldaInput walkInput;

static const char* FormatText(unsigned format) {
    switch (format) {
        case ILDA_FORMAT_3D_INDEXED:
            return " (3D, indexed colour)";
        case ILDA_FORMAT_2D_INDEXED:
            return " (2D, indexed colour)";
        case ILDA_FORMAT_PALETTE:
            return " (palette)";
        case ILDA_FORMAT_3D_TRUE_COLOUR:
            return " (3D, true colour)";
        case ILDA_FORMAT_2D_TRUE_COLOUR:
            return " (2D, true colour)";
        default:
            return "";
    }
}

static const char* Plural(long long n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

// What the records of a frame section hold.
struct SectionRecords {
    unsigned whole;         // records the file holds whole
    unsigned lastBits;      // records with the last-point bit
    unsigned firstLastBit;  // the first of them, from 1 (0: none)
    bool lastHasBit;        // the last whole record has it
};

static void WalkRecords(IldaInput* in, unsigned format, unsigned records, SectionRecords* r) {
    std::memset(r, 0, sizeof *r);
    const size_t size = IldaRecordSize(format), statusAt = IldaStatusOffset(format);
    for (; r->whole < records; ++r->whole) {
        const unsigned char* record = IldaTake(in, size);
        if (!record) break;
        r->lastHasBit = (record[statusAt] & ILDA_STATUS_LAST_POINT) != 0;
        if (r->lastHasBit && r->lastBits++ == 0) r->firstLastBit = r->whole + 1;
    }
}

// The last-point bit marks a frame's last record; players that go by it
// stop drawing at the first record that has it.
static void NoteLastPointBits(FILE* report, const SectionRecords* r) {
    if (r->whole == 0) return;
    if (r->lastBits == 0) {
        ReportLine(report, "  note: no record has the last-point bit, which belongs on the last");
    } else if (r->firstLastBit < r->whole) {
        ReportLine(report,
                   "  note: record %u of %u has the last-point bit: players that go by it stop "
                   "drawing there",
                   r->firstLastBit, r->whole);
    }
    if (r->lastBits > 0 && !r->lastHasBit)
        ReportLine(report, "  note: the last record does not have the last-point bit");
}

// Bytes a CSV file cannot hold in a name: it writes a space for CR and LF
// and ends the name at a zero byte.
static void NoteNameBytes(FILE* report, const unsigned char* name) {
    int zero = -1;
    bool breaks = false, afterZero = false;
    for (int i = 0; i < FRAME_NAME_LENGTH; ++i) {
        if (zero < 0 && (name[i] == '\r' || name[i] == '\n')) breaks = true;
        if (zero >= 0 && name[i] != 0) afterZero = true;
        if (zero < 0 && name[i] == 0) zero = i;
    }
    if (breaks)
        ReportLine(report, "  note: the name holds CR or LF, which a CSV file holds as spaces");
    if (zero >= 0 && afterZero)
        ReportLine(report,
                   "  note: the name holds a zero byte: a CSV file keeps only the %d %s before it",
                   zero, Plural(zero, "byte", "bytes"));
    else if (zero >= 0)
        ReportLine(report, "  note: the name ends in zero bytes, which a CSV file holds as spaces");
}

// Reads to the end of the file; returns its size.
static long long FileSize(IldaInput* in) {
    for (;;) {
        in->pos = in->length;
        if (in->atEnd) return IldaOffset(in);
        RefillIldaInput(in);
    }
}

static void ReportRest(FILE* report, IldaInput* in, long long from) {
    const long long rest = FileSize(in) - from;
    ReportLine(report, "  lost: reading stops here; the %lld %s from here on %s not read", rest,
               Plural(rest, "byte", "bytes"), Plural(rest, "is", "are"));
}

struct WalkTotals {
    int32_t sections;
    int32_t frameSections;
    int32_t palettes;
    long long records;
    bool closing;
};

// One pass over the file, as the reader goes through it, reporting when
// report is set. fileFrames: the file's frame sections, for the
// total-frames field (unused when quiet).
static int WalkPass(FILE* stream, FILE* report, ReadAccount* account, int32_t fileFrames,
                    WalkTotals* totals) {
    IldaInput* in = &walkInput;
    StartIldaInput(in, stream);
    StartReadAccount(account, READ_PLACE_SECTION);
    std::memset(totals, 0, sizeof *totals);
    const unsigned char* header = IldaTake(in, ILDA_HEADER_SIZE);
    if (!header || !IldaHasSignature(header)) {
        if (in->failed) {
            StopReading(account, READ_STOP_READ_ERROR, 1, 0);
            ReportLine(report, "section 1 at byte 0: the file cannot be read");
            return WALK_DONE;
        }
        ReportLine(report, "byte 0: no ILDA section header: this is no ILDA file");
        return WALK_REFUSED;
    }
    long long at = 0;
    for (int32_t section = 1; header; ++section) {
        totals->sections = section;
        if (!IldaHasSignature(header)) {
            StopReading(account, READ_STOP_NOT_SECTION, section, 0);
            ReportLine(report, "section %d at byte %lld: no section header here", (int)section, at);
            ReportRest(report, in, at);
            break;
        }
        const unsigned records = IldaBigEndian16(header + ILDA_COUNT_OFFSET);
        if (records == 0) {
            totals->closing = true;
            if (!IldaSectionFollows(in)) {
                ReportLine(report, "section %d at byte %lld: closing header", (int)section, at);
                break;
            }
            StopReading(account, READ_STOP_AFTER_CLOSING, section, 0);
            ReportLine(report,
                       "section %d at byte %lld: closing header, and more sections follow it",
                       (int)section, at);
            ReportRest(report, in, IldaOffset(in));
            break;
        }
        const unsigned format = header[ILDA_FORMAT_OFFSET];
        const unsigned number = IldaBigEndian16(header + ILDA_NUMBER_OFFSET);
        const unsigned total = IldaBigEndian16(header + ILDA_TOTAL_OFFSET);
        unsigned char name[FRAME_NAME_LENGTH];
        std::memcpy(name, header + ILDA_NAME_OFFSET, FRAME_NAME_LENGTH);
        char quoted[QUOTED_NAME_SIZE];
        FormatQuotedName((const FrameName*)name, quoted);
        char head[128];  // what the section's line begins with
        std::snprintf(head, sizeof head, "section %d at byte %lld: format %u%s, %u %s",
                      (int)section, at, format, FormatText(format), records,
                      Plural(records, "record", "records"));
        const size_t size = IldaRecordSize(format);
        if (size == 0) {
            StopReading(account, READ_STOP_FORMAT, section, (int)format);
            ReportLine(report, "%s: a format the editor cannot read", head);
            ReportRest(report, in, at);
            break;
        }
        SectionRecords walked;
        totals->records += records;
        if (format == ILDA_FORMAT_PALETTE) {
            totals->palettes += 1;
            std::memset(&walked, 0, sizeof walked);
            walked.whole = SkipIldaRecords(in, records, size);
            ReportLine(report, "%s: skipped, as the editor keeps no colours", head);
        } else {
            const int32_t frame = totals->frameSections++;
            WalkRecords(in, format, records, &walked);
            const unsigned kept =
                walked.whole < (unsigned)MAX_POINTS ? walked.whole : (unsigned)MAX_POINTS;
            const unsigned beyond = walked.whole - kept;
            if (account->framesRead < MAX_FRAMES && account->framesBeyondStore == 0) {
                account->framesRead += 1;
                account->pointsRead += kept;
                char of[32] = "";
                if (kept < records) std::snprintf(of, sizeof of, " of %u", records);
                ReportLine(report, "%s, frame number %u, total %u, name %s: frame %d, %u%s %s",
                           head, number, total, quoted, (int)account->framesRead, kept, of,
                           Plural(kept, "point", "points"));
                if (beyond > 0) {
                    account->longFrames += 1;
                    account->pointsBeyondLimit += beyond;
                    ReportLine(report, "  lost: %u %s beyond the %d points a frame holds", beyond,
                               Plural(beyond, "point", "points"), (int)MAX_POINTS);
                }
            } else {
                account->framesBeyondStore += 1;
                account->pointsBeyondStore += walked.whole;
                ReportLine(report,
                           "%s, frame number %u, total %u, name %s: beyond the %d frames a "
                           "document holds",
                           head, number, total, quoted, (int)MAX_FRAMES);
                ReportLine(report, "  lost: the frame and its %u %s", walked.whole,
                           Plural(walked.whole, "point", "points"));
            }
            if (number != (unsigned)frame)
                ReportLine(report,
                           "  note: frame number %u, but it is frame %d of the file, counting "
                           "from 0",
                           number, (int)frame);
            if (total != (unsigned)fileFrames)
                ReportLine(report, "  note: total frames %u, but the file holds %d frame %s", total,
                           (int)fileFrames, Plural(fileFrames, "section", "sections"));
            NoteLastPointBits(report, &walked);
            NoteNameBytes(report, name);
        }
        if (walked.whole < records) {
            const bool failed = in->failed;
            StopReading(account, failed ? READ_STOP_READ_ERROR : READ_STOP_CUT_SHORT, section, 0);
            if (failed)
                ReportLine(report, "  lost: the file cannot be read beyond record %u of %u",
                           walked.whole, records);
            else
                ReportLine(report, "  lost: the file ends after %u of the %u records", walked.whole,
                           records);
            break;
        }
        at = IldaOffset(in);
        const size_t left = IldaAvailable(in, ILDA_HEADER_SIZE);
        header = IldaTake(in, ILDA_HEADER_SIZE);
        if (header) continue;
        if (in->failed) {
            StopReading(account, READ_STOP_READ_ERROR, section + 1, 0);
            ReportLine(report, "section %d at byte %lld: the file cannot be read", (int)section + 1,
                       at);
            ReportLine(report, "  lost: the file could not be read further");
        } else if (left > 0) {
            StopReading(account, READ_STOP_CUT_SHORT, section + 1, 0);
            ReportLine(report, "section %d at byte %lld: only %d of the %d header bytes",
                       (int)section + 1, at, (int)left, (int)ILDA_HEADER_SIZE);
            ReportLine(report, "  lost: the file ends early");
        }
    }
    return WALK_DONE;
}

int WalkIldaFile(const char* path, FILE* report, ReadAccount* account) {
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) return WALK_OPEN_FAILED;
    WalkTotals totals;
    int result = WalkPass(stream, nullptr, account, 0, &totals);
    if (report) {
        std::rewind(stream);
        const int32_t fileFrames = totals.frameSections;
        result = WalkPass(stream, report, account, fileFrames, &totals);
    }
    IldaInput* in = &walkInput;
    const long long consumed = IldaOffset(in);
    const long long size = FileSize(in);
    std::fclose(stream);
    if (result != WALK_DONE) return result;
    if (totals.closing && size > consumed && account->stop != READ_STOP_AFTER_CLOSING)
        ReportLine(report, "note: the %lld %s after the closing header %s not read",
                   size - consumed, Plural(size - consumed, "byte", "bytes"),
                   Plural(size - consumed, "is", "are"));
    if (!totals.closing && account->stop == READ_STOP_NONE)
        ReportLine(report, "note: the file ends without a closing header (a header of 0 records)");
    ReportLine(report,
               "ILDA file of %lld bytes: %d %s, %d frame %s and %d %s holding %lld records, %s",
               size, (int)totals.sections, Plural(totals.sections, "section", "sections"),
               (int)totals.frameSections, Plural(totals.frameSections, "section", "sections"),
               (int)totals.palettes, Plural(totals.palettes, "palette", "palettes"), totals.records,
               totals.closing ? "and a closing header" : "no closing header");
    return WALK_DONE;
}
