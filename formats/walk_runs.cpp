// Stretches of alike items in the file check's report, summed up.
#include "formats/walk_runs.h"

#include <cstring>

#include "document/frame_store.h"
#include "formats/walk_report.h"

void StartWalkRuns(WalkRuns* runs, const char* place, const char* points,
                   const char* const* notes) {
    std::memset(runs, 0, sizeof *runs);
    runs->place = place;
    runs->points = points;
    runs->notes = notes;
}

static int KindSlot(WalkRuns* runs, unsigned kind) {
    for (int i = 0; i < runs->kinds; ++i)
        if (runs->kind[i] == kind) return i;
    if (runs->kinds == WALK_KINDS) return WALK_KINDS - 1;
    runs->kind[runs->kinds] = kind;
    return runs->kinds++;
}

int ShowWalkItem(FILE* report, WalkRuns* runs, int64_t place, unsigned kind,
                 const WalkLosses* lost) {
    if (!report) return 0;
    const int slot = KindSlot(runs, kind);
    if (runs->shown[slot] < WALK_SHOWN_PER_KIND) {
        EndWalkRun(report, runs);
        runs->shown[slot] += 1;
        return 1;
    }
    WalkStretch* s = &runs->stretch;
    if (s->frames + s->palettes == 0) s->first = place;
    s->last = place;
    if (kind & WALK_KIND_PALETTE)
        s->palettes += 1;
    else
        s->frames += 1;
    if (lost->pointsBeyondLimit > 0) s->longFrames += 1;
    s->lost.framesBeyondStore += lost->framesBeyondStore;
    s->lost.pointsBeyondStore += lost->pointsBeyondStore;
    s->lost.pointsBeyondLimit += lost->pointsBeyondLimit;
    // Most items have no bit or one: only the bits set are visited.
    for (unsigned bits = kind & ~(unsigned)WALK_KIND_PALETTE; bits; bits &= bits - 1)
        s->noted[__builtin_ctz(bits)] += 1;
    return 0;
}

void FormatGrouped(long long n, char* text) {
    char digits[24];
    const bool negative = n < 0;
    unsigned long long v = negative ? 0ull - (unsigned long long)n : (unsigned long long)n;
    int count = 0;
    do {
        digits[count++] = (char)('0' + v % 10);
        v /= 10;
    } while (v);
    char* p = text;
    if (negative) *p++ = '-';
    for (int i = count - 1; i >= 0; --i) {
        *p++ = digits[i];
        if (i > 0 && i % 3 == 0) *p++ = ',';
    }
    *p = 0;
}

void EndWalkRun(FILE* report, WalkRuns* runs) {
    WalkStretch* s = &runs->stretch;
    const int64_t items = s->frames + s->palettes;
    if (!report || items == 0) return;
    char first[32], last[32], count[32], frames[32], palettes[32];
    FormatGrouped(s->first, first);
    FormatGrouped(s->last, last);
    FormatGrouped(items, count);
    FormatGrouped(s->frames, frames);
    FormatGrouped(s->palettes, palettes);
    const char* what = s->palettes == 0 ? (items == 1 ? "frame" : "frames")
                       : s->frames == 0 ? (items == 1 ? "palette" : "palettes")
                                        : "sections";
    if (items == 1)
        ReportLine(report, "%s %s: 1 more %s like these", runs->place, first, what);
    else if (s->frames > 0 && s->palettes > 0)
        ReportLine(report, "%ss %s to %s: %s more %s like these, %s frames and %s palettes",
                   runs->place, first, last, count, what, frames, palettes);
    else
        ReportLine(report, "%ss %s to %s: %s more %s like these", runs->place, first, last, count,
                   what);
    char points[32];
    if (s->lost.framesBeyondStore > 0) {
        FormatGrouped(s->lost.framesBeyondStore, frames);
        FormatGrouped(s->lost.pointsBeyondStore, points);
        ReportLine(report,
                   "  lost: %s of these frames and their %s points, beyond the %d frames a "
                   "document holds",
                   frames, points, (int)MAX_FRAMES);
    }
    if (s->lost.pointsBeyondLimit > 0) {
        FormatGrouped(s->lost.pointsBeyondLimit, points);
        FormatGrouped(s->longFrames, frames);
        ReportLine(report,
                   "  lost: %s %s beyond the %d points a frame holds, in %s of these frames",
                   points, runs->points, (int)MAX_POINTS, frames);
    }
    for (int bit = 1; bit < WALK_KIND_BITS; ++bit) {
        if (s->noted[bit] == 0 || !runs->notes[bit]) continue;
        FormatGrouped(s->noted[bit], count);
        ReportLine(report, "  note: %s: %s of these %ss", runs->notes[bit], count, runs->place);
    }
    std::memset(s, 0, sizeof *s);
}
