// Walking the sections of an ILDA file for the file check. Two passes: a
// quiet one counts the frame sections, so that the second can hold every
// section's total-frames field against the file.
#include "formats/ilda_walk.h"

#include <cstdint>
#include <cstring>

#include "document/frame_store.h"
#include "formats/ilda_input.h"
#include "formats/ilda_layout.h"
#include "formats/ilda_tail.h"
#include "formats/name_text.h"
#include "formats/path_files.h"
#include "formats/walk_runs.h"

static IldaInput walkInput;
static WalkRuns walkRuns;

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

// What a section's lines say, as a walk kind (formats/walk_runs.h):
// sections of one kind read alike, and a file of millions of them is summed
// up.
enum {
    KIND_BEYOND_STORE = 1 << 1,
    KIND_LONG_FRAME = 1 << 2,
    KIND_NUMBER = 1 << 3,
    KIND_TOTAL = 1 << 4,
    KIND_NO_LAST_BIT = 1 << 5,
    KIND_EARLY_LAST_BIT = 1 << 6,
    KIND_LAST_WITHOUT_BIT = 1 << 7,
    KIND_NAME_BREAKS = 1 << 8,
    KIND_NAME_ZERO = 1 << 9,
    KIND_NAME_ZERO_END = 1 << 10,
    KIND_RESERVED = 1 << 11,
    KIND_CUT = 1 << 12  // the file ends inside the section, or cannot be read further
};

// What each kind's notes are about, for the sum of a stretch of sections;
// the losses are summed on their own.
static const char* const KIND_NOTES[WALK_KIND_BITS] = {
    nullptr,
    nullptr,
    nullptr,
    "a frame number that is not the frame's place in the file",
    "a total of frames that is not the file's",
    "no record with the last-point bit",
    "the last-point bit before the last record, where players that go by it stop drawing",
    "no last-point bit on the last record",
    "CR or LF in the name, which a CSV file holds as spaces",
    "a zero byte inside the name: a CSV file keeps only the bytes before it",
    "a name ending in zero bytes, which a CSV file holds as spaces",
    "reserved bytes after \"ILDA\" that are not zeros and change; the editor ignores them",
    nullptr};

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
static unsigned LastPointBitKinds(const SectionRecords* r) {
    unsigned kind = 0;
    if (r->whole == 0) return 0;
    if (r->lastBits == 0) kind |= KIND_NO_LAST_BIT;
    if (r->lastBits > 0 && r->firstLastBit < r->whole) kind |= KIND_EARLY_LAST_BIT;
    if (r->lastBits > 0 && !r->lastHasBit) kind |= KIND_LAST_WITHOUT_BIT;
    return kind;
}

static void NoteLastPointBits(FILE* report, unsigned kind, const SectionRecords* r) {
    if (kind & KIND_NO_LAST_BIT)
        ReportLine(report, "  note: no record has the last-point bit, which belongs on the last");
    if (kind & KIND_EARLY_LAST_BIT)
        ReportLine(report,
                   "  note: record %u of %u has the last-point bit: players that go by it stop "
                   "drawing there",
                   r->firstLastBit, r->whole);
    if (kind & KIND_LAST_WITHOUT_BIT)
        ReportLine(report, "  note: the last record does not have the last-point bit");
}

// Bytes a CSV file cannot hold in a name: it writes a space for CR and LF
// and ends the name at a zero byte. *zeroAt gets where the first zero is.
static unsigned NameKinds(const unsigned char* name, int* zeroAt) {
    int zero = -1;
    bool breaks = false, afterZero = false;
    for (int i = 0; i < FRAME_NAME_LENGTH; ++i) {
        if (zero < 0 && (name[i] == '\r' || name[i] == '\n')) breaks = true;
        if (zero >= 0 && name[i] != 0) afterZero = true;
        if (zero < 0 && name[i] == 0) zero = i;
    }
    *zeroAt = zero;
    unsigned kind = breaks ? KIND_NAME_BREAKS : 0;
    if (zero >= 0) kind |= afterZero ? KIND_NAME_ZERO : KIND_NAME_ZERO_END;
    return kind;
}

static void NoteNameBytes(FILE* report, unsigned kind, int zero) {
    if (kind & KIND_NAME_BREAKS)
        ReportLine(report, "  note: the name holds CR or LF, which a CSV file holds as spaces");
    if (kind & KIND_NAME_ZERO)
        ReportLine(report,
                   "  note: the name holds a zero byte: a CSV file keeps only the %d %s before it",
                   zero, Plural(zero, "byte", "bytes"));
    if (kind & KIND_NAME_ZERO_END)
        ReportLine(report, "  note: the name ends in zero bytes, which a CSV file holds as spaces");
}

// Writers leave "000" or other bytes in the three reserved bytes after the
// signature; the editor ignores them. Said where they first appear and
// wherever they change, not for every header.
struct Reserved {
    unsigned char last[ILDA_RESERVED_SIZE];  // the previous header's
    unsigned char now[ILDA_RESERVED_SIZE];
};

static unsigned ReservedKind(Reserved* r, const unsigned char* header) {
    std::memcpy(r->now, header + ILDA_RESERVED_OFFSET, ILDA_RESERVED_SIZE);
    static const unsigned char zero[ILDA_RESERVED_SIZE] = {0, 0, 0};
    const bool odd = std::memcmp(r->now, zero, ILDA_RESERVED_SIZE) != 0 &&
                     std::memcmp(r->now, r->last, ILDA_RESERVED_SIZE) != 0;
    std::memcpy(r->last, r->now, ILDA_RESERVED_SIZE);
    return odd ? KIND_RESERVED : 0;
}

static void NoteReserved(FILE* report, unsigned kind, const Reserved* r) {
    if (!(kind & KIND_RESERVED)) return;
    char text[4 * ILDA_RESERVED_SIZE + 3];
    FormatQuotedBytes((const char*)r->now, ILDA_RESERVED_SIZE, text);
    ReportLine(report,
               "  note: the reserved bytes after \"ILDA\" hold %02X %02X %02X (%s), not zeros; the "
               "editor ignores them",
               r->now[0], r->now[1], r->now[2], text);
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

// Closing headers and palettes after the closing header hold no frames.
static void NoteTail(FILE* report, const IldaTail* tail) {
    if (tail->sections == 0) return;
    char closings[64] = "", palettes[64] = "";
    if (tail->closings > 0)
        std::snprintf(closings, sizeof closings, "%d more closing %s", (int)tail->closings,
                      Plural(tail->closings, "header", "headers"));
    if (tail->palettes > 0)
        std::snprintf(palettes, sizeof palettes, "%d %s", (int)tail->palettes,
                      Plural(tail->palettes, "palette", "palettes"));
    ReportLine(report,
               "  note: %s%s%s %s it, holding no frames; the editor reads no further, and "
               "loses nothing",
               closings, closings[0] && palettes[0] ? " and " : "", palettes,
               Plural(tail->sections, "follows", "follow"));
}

struct WalkTotals {
    int32_t sections;
    int32_t frameSections;
    int32_t palettes;
    long long records;
    bool closing;
    long long closingEnd;  // where the first closing header ends
};

// The section's head: where it stands, its format and its records.
static void FormatHead(char* head, size_t size, int32_t section, long long at, unsigned format,
                       unsigned records) {
    std::snprintf(head, size, "section %d at byte %lld: format %u%s, %u %s", (int)section, at,
                  format, FormatText(format), records, Plural(records, "record", "records"));
}

// One pass over the file, as the reader goes through it, reporting when
// report is set. fileFrames: the file's frame sections, for the
// total-frames field (unused when quiet).
static int WalkPass(FILE* stream, FILE* report, ReadAccount* account, int32_t fileFrames,
                    WalkTotals* totals) {
    IldaInput* in = &walkInput;
    StartIldaInput(in, stream);
    StartReadAccount(account, READ_PLACE_SECTION);
    std::memset(totals, 0, sizeof *totals);
    WalkRuns* runs = &walkRuns;
    StartWalkRuns(runs, "section", "points", KIND_NOTES);
    Reserved reserved;
    std::memset(&reserved, 0, sizeof reserved);
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
    char head[128];  // what the section's line begins with
    for (int32_t section = 1; header; ++section) {
        totals->sections = section;
        if (!IldaHasSignature(header)) {
            StopReading(account, READ_STOP_NOT_SECTION, section, 0);
            EndWalkRun(report, runs);
            ReportLine(report, "section %d at byte %lld: no section header here", (int)section, at);
            ReportRest(report, in, at);
            break;
        }
        const unsigned reservedKind = ReservedKind(&reserved, header);
        const unsigned records = IldaBigEndian16(header + ILDA_COUNT_OFFSET);
        if (records == 0) {
            totals->closing = true;
            totals->closingEnd = IldaOffset(in);
            IldaTail tail;
            ScanIldaTail(in, section, &tail);
            EndWalkRun(report, runs);
            if (!tail.frameSection) {
                ReportLine(report, "section %d at byte %lld: closing header", (int)section, at);
                NoteReserved(report, reservedKind, &reserved);
                NoteTail(report, &tail);
                break;
            }
            StopReading(account, READ_STOP_AFTER_CLOSING, section, 0);
            ReportLine(report,
                       "section %d at byte %lld: closing header, and frames follow it (section %d "
                       "at byte %lld)",
                       (int)section, at, (int)tail.frameSection, tail.sectionsEnd);
            NoteReserved(report, reservedKind, &reserved);
            ReportRest(report, in, totals->closingEnd);
            break;
        }
        const unsigned format = header[ILDA_FORMAT_OFFSET];
        const size_t size = IldaRecordSize(format);
        if (size == 0) {
            StopReading(account, READ_STOP_FORMAT, section, (int)format);
            EndWalkRun(report, runs);
            FormatHead(head, sizeof head, section, at, format, records);
            ReportLine(report, "%s: a format the editor cannot read", head);
            NoteReserved(report, reservedKind, &reserved);
            ReportRest(report, in, at);
            break;
        }
        // The header lives in the input block: take what is needed of it
        // before the records move it.
        const unsigned number = IldaBigEndian16(header + ILDA_NUMBER_OFFSET);
        const unsigned total = IldaBigEndian16(header + ILDA_TOTAL_OFFSET);
        unsigned char name[FRAME_NAME_LENGTH];
        std::memcpy(name, header + ILDA_NAME_OFFSET, FRAME_NAME_LENGTH);
        const WalkLosses none = {0, 0, 0};
        SectionRecords walked;
        totals->records += records;
        if (format == ILDA_FORMAT_PALETTE) {
            totals->palettes += 1;
            std::memset(&walked, 0, sizeof walked);
            walked.whole = SkipIldaRecords(in, records, size);
            const unsigned kind =
                WALK_KIND_PALETTE | reservedKind | (walked.whole < records ? KIND_CUT : 0);
            if (ShowWalkItem(report, runs, section, kind, &none)) {
                FormatHead(head, sizeof head, section, at, format, records);
                ReportLine(report, "%s: skipped, as the editor keeps no colours", head);
                NoteReserved(report, reservedKind, &reserved);
            }
        } else {
            const int32_t frame = totals->frameSections++;
            WalkRecords(in, format, records, &walked);
            const unsigned kept =
                walked.whole < (unsigned)MAX_POINTS ? walked.whole : (unsigned)MAX_POINTS;
            const unsigned beyond = walked.whole - kept;
            const bool stored = account->framesRead < MAX_FRAMES && account->framesBeyondStore == 0;
            WalkLosses losses = none;
            int zero = -1;
            unsigned kind = reservedKind | LastPointBitKinds(&walked) | NameKinds(name, &zero);
            if (number != (unsigned)frame) kind |= KIND_NUMBER;
            if (report && total != (unsigned)fileFrames) kind |= KIND_TOTAL;
            if (walked.whole < records) kind |= KIND_CUT;
            if (stored) {
                account->framesRead += 1;
                account->pointsRead += kept;
                if (beyond > 0) {
                    account->longFrames += 1;
                    account->pointsBeyondLimit += beyond;
                    losses.pointsBeyondLimit = beyond;
                    kind |= KIND_LONG_FRAME;
                }
            } else {
                account->framesBeyondStore += 1;
                account->pointsBeyondStore += walked.whole;
                losses.framesBeyondStore = 1;
                losses.pointsBeyondStore = walked.whole;
                kind |= KIND_BEYOND_STORE;
            }
            if (ShowWalkItem(report, runs, section, kind, &losses)) {
                FormatHead(head, sizeof head, section, at, format, records);
                char quoted[QUOTED_NAME_SIZE];
                FormatQuotedName((const FrameName*)name, quoted);
                if (stored) {
                    char of[32] = "";
                    if (kept < records) std::snprintf(of, sizeof of, " of %u", records);
                    ReportLine(report, "%s, frame number %u, total %u, name %s: frame %d, %u%s %s",
                               head, number, total, quoted, (int)account->framesRead, kept, of,
                               Plural(kept, "point", "points"));
                    if (beyond > 0)
                        ReportLine(report, "  lost: %u %s beyond the %d points a frame holds",
                                   beyond, Plural(beyond, "point", "points"), (int)MAX_POINTS);
                } else {
                    ReportLine(report,
                               "%s, frame number %u, total %u, name %s: beyond the %d frames a "
                               "document holds",
                               head, number, total, quoted, (int)MAX_FRAMES);
                    ReportLine(report, "  lost: the frame and its %u %s", walked.whole,
                               Plural(walked.whole, "point", "points"));
                }
                if (kind & KIND_NUMBER)
                    ReportLine(report,
                               "  note: frame number %u, but it is frame %d of the file, counting "
                               "from 0",
                               number, (int)frame);
                if (kind & KIND_TOTAL)
                    ReportLine(report, "  note: total frames %u, but the file holds %d frame %s",
                               total, (int)fileFrames, Plural(fileFrames, "section", "sections"));
                NoteLastPointBits(report, kind, &walked);
                NoteNameBytes(report, kind, zero);
                NoteReserved(report, kind, &reserved);
            }
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
        EndWalkRun(report, runs);
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
    EndWalkRun(report, runs);
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
    const long long size = FileSize(in);
    std::fclose(stream);
    if (result != WALK_DONE) return result;
    if (totals.closing && size > totals.closingEnd && account->stop != READ_STOP_AFTER_CLOSING)
        ReportLine(report, "note: the %lld %s after the closing header %s not read",
                   size - totals.closingEnd, Plural(size - totals.closingEnd, "byte", "bytes"),
                   Plural(size - totals.closingEnd, "is", "are"));
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
