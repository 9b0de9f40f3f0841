// The safety and timing report of the file check, and its look at what
// --fit would do. One pass over the stored frames finds every figure.
#include "convert/frame_report.h"

#include <cstring>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/ui_port.h"
#include "formats/csv_file.h"
#include "formats/frame_fit.h"
#include "formats/ilda_file.h"
#include "formats/ilda_layout.h"
#include "formats/walk_report.h"

enum { SPAN = 65536, FIT_TEXT_LENGTH = 256, DEFAULT_SPEED = 30000 };

// Where a figure was found: frame and point numbered from 1, as the tables
// number them, and the point's place as the files show it (Y up).
struct Found {
    int64_t value;  // -1 while nothing was found
    int frame;
    int point;
    int x, y;
};

struct FrameFigures {
    Found dwell;        // lit points in a row at one place, from the first of them
    Found litJump;      // the larger of the X and Y steps of a move, at the point moved to
    Found blankedJump;  // the same for moves with the beam off
    Found shortest;     // a frame's point count
    Found longest;
};

// Y as the file shows it. The two formats part at y = -32768: an ILDA file
// holds it as Y = -32768 (which is where it came from), a CSV file as 32768.
static bool ildaView = false;

static inline int FileY(const VectorPoint* p) {
    return ildaView ? (int)IldaNegate16((uint16_t)p->y) : -(int)p->y;
}

// Keeps the first of the largest values (or of the smallest).
static void Keep(Found* found, int64_t value, int frame, int point, const VectorPoint* at,
                 bool largest) {
    if (found->value >= 0 && (largest ? value <= found->value : value >= found->value)) return;
    found->value = value;
    found->frame = frame + 1;
    found->point = point + 1;
    found->x = at->x;
    found->y = FileY(at);
}

static inline bool Lit(const VectorPoint* p) {
    return (p->flags & POINT_VISIBLE) != 0;
}

static inline bool SamePlace(const VectorPoint* a, const VectorPoint* b) {
    return a->x == b->x && a->y == b->y;
}

static inline int Step(const VectorPoint* from, const VectorPoint* to) {
    int dx = to->x - from->x, dy = FileY(to) - FileY(from);
    if (dx < 0) dx = -dx;
    if (dy < 0) dy = -dy;
    return dx > dy ? dx : dy;
}

static void MeasureFrames(FrameFigures* figures) {
    Found none;
    std::memset(&none, 0, sizeof none);
    none.value = -1;
    figures->dwell = figures->litJump = figures->blankedJump = none;
    figures->shortest = figures->longest = none;
    for (int f = 0; f < frameStore.numFrames; ++f) {
        const VectorPoint* points = frameStore.frames[f];
        const int count = ClampInt(frameStore.pointCounts[f], 0, MAX_POINTS);
        Keep(&figures->shortest, count, f, 0, points, false);
        Keep(&figures->longest, count, f, 0, points, true);
        int run = 0;  // where the lit points at one place that end here begin
        for (int i = 0; i < count; ++i) {
            const VectorPoint* p = &points[i];
            if (i > 0)
                Keep(Lit(p) ? &figures->litJump : &figures->blankedJump, Step(p - 1, p), f, i, p,
                     true);
            if (!Lit(p)) continue;
            if (i == 0 || !Lit(p - 1) || !SamePlace(p - 1, p)) run = i;
            Keep(&figures->dwell, i - run + 1, f, run, &points[run], true);
        }
    }
}

// Points at the scan speed, as milliseconds with two decimals.
static void PutMilliseconds(char* text, size_t size, int64_t points, int32_t speed) {
    const int64_t hundredths = (points * 100000 + speed / 2) / speed;
    std::snprintf(text, size, "%lld.%02lld ms", (long long)(hundredths / 100),
                  (long long)(hundredths % 100));
}

static const char* Plural(long long n, const char* one, const char* many) {
    return n == 1 ? one : many;
}

static void ReportJump(FILE* report, const char* kind, const Found* jump) {
    if (jump->value < 0) {
        ReportLine(report, "note: largest %s jump: none, no move is %s", kind, kind);
        return;
    }
    const long long tenths = (jump->value * 1000 + SPAN / 2) / SPAN;
    ReportLine(report,
               "note: largest %s jump: %lld units, %lld.%lld %% of the %d span (frame %d, to "
               "point %d at X %d, Y %d)",
               kind, (long long)jump->value, tenths / 10, tenths % 10, (int)SPAN, jump->frame,
               jump->point, jump->x, jump->y);
}

// The safety and timing lines for the frames in the store, at speed points
// per second; source says where the speed comes from. Places as an ILDA
// file (ilda) or a CSV file holds them.
static void ReportFrameSafety(FILE* report, bool ilda, int32_t speed, const char* source) {
    if (!report) return;
    ildaView = ilda;
    speed = ClampInt(speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
    ReportLine(report, "note: timing at %d points per second, %s", (int)speed, source);
    if (frameStore.numFrames <= 0) {
        ReportLine(report, "note: no frame to time");
        return;
    }
    FrameFigures figures;
    MeasureFrames(&figures);
    char shortest[32], longest[32];
    PutMilliseconds(shortest, sizeof shortest, figures.shortest.value, speed);
    PutMilliseconds(longest, sizeof longest, figures.longest.value, speed);
    ReportLine(report,
               "note: drawing a frame takes from %s (frame %d, %lld %s) to %s (frame %d, %lld "
               "%s)",
               shortest, figures.shortest.frame, (long long)figures.shortest.value,
               Plural(figures.shortest.value, "point", "points"), longest, figures.longest.frame,
               (long long)figures.longest.value, Plural(figures.longest.value, "point", "points"));
    const Found* dwell = &figures.dwell;
    if (dwell->value < 0) {
        ReportLine(report, "note: longest dwell: none, no point is lit");
    } else {
        char time[32], points[32];
        PutMilliseconds(time, sizeof time, dwell->value, speed);
        if (dwell->value == 1)
            std::snprintf(points, sizeof points, "point %d", dwell->point);
        else
            std::snprintf(points, sizeof points, "points %d-%d", dwell->point,
                          dwell->point + (int)dwell->value - 1);
        ReportLine(report,
                   "note: longest dwell: the beam stays lit on one spot for %lld %s, %s (frame "
                   "%d, %s at X %d, Y %d)",
                   (long long)dwell->value, Plural(dwell->value, "point", "points"), time,
                   dwell->frame, points, dwell->x, dwell->y);
    }
    ReportJump(report, "lit", &figures.litJump);
    ReportJump(report, "blanked", &figures.blankedJump);
}

static void Quiet(UiWindow, const char*, const char*) {}

void ReportFramesRead(FILE* report, const char* path, bool csv, const ReadAccount* account,
                      int32_t speedOption) {
    if (speedOption > 0)
        ReportFrameSafety(report, !csv, speedOption, "given with --speed");
    else if (csv)
        ReportFrameSafety(report, false, ScanSpeed, "the file's scan speed");
    else
        ReportFrameSafety(report, true, DEFAULT_SPEED, "as an ILDA file holds no scan speed");
    if (account->longFrames <= 0 || !report) return;
    // The same read as the converter's with --fit; what it would leave out
    // besides is the reader's account above.
    void (*warningBox)(UiWindow, const char*, const char*) = uiPort.warningBox;
    void (*fileWarning)(UiWindow, const char*, const char*, const char*, int) = uiPort.fileWarning;
    uiPort.warningBox = Quiet;
    uiPort.fileWarning = nullptr;
    StartFitting();
    if (csv)
        ReadCsvFrames(nullptr, path, 0);
    else
        ReadIldaFrames(nullptr, path, 0);
    StopFitting();
    uiPort.warningBox = warningBox;
    uiPort.fileWarning = fileWarning;
    char text[FIT_TEXT_LENGTH];
    FormatFitAccount(&fitAccount, true, text, sizeof text);
    ReportLine(report, "note: %s", text);
}
