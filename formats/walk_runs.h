// Runs of alike items in the file check's report. A file of millions of
// tiny sections or frames would otherwise give a line or more for each: a
// gigabyte of text saying the same thing. The first WALK_SHOWN_PER_KIND
// items of each kind (items whose lines say the same kinds of thing) are
// reported in full; later ones are only counted, and each stretch of them
// is summed up in one line where it ends, with what it loses and how many
// of them each kind of note concerns. Touches nothing but the runs it is
// given and the report.
#pragma once

#include <cstdint>
#include <cstdio>

enum { WALK_SHOWN_PER_KIND = 300, WALK_KINDS = 64, WALK_KIND_BITS = 32 };

// Bit 0 of a kind: the item is a palette (ILDA), not a frame. The other
// bits are the walker's own: what its lines say.
enum { WALK_KIND_PALETTE = 1 };

// What one item loses, for the sum of a stretch.
struct WalkLosses {
    int64_t framesBeyondStore;  // 1 for a frame the document has no room for
    int64_t pointsBeyondStore;  // its points
    int64_t pointsBeyondLimit;  // points beyond MAX_POINTS in a frame that was read
};

// The items counted since the last one shown.
struct WalkStretch {
    int64_t first, last;  // their places
    int64_t frames, palettes;
    int64_t longFrames;  // frames with points beyond MAX_POINTS
    WalkLosses lost;
    int64_t noted[WALK_KIND_BITS];  // items with each kind bit
};

struct WalkRuns {
    const char* place;         // "section" or "frame": what the numbers count
    const char* points;        // "points" or "point lines": what a frame's points are in the file
    const char* const* notes;  // for each kind bit, what its note is about, or null
    int kinds;                 // kinds seen, up to WALK_KINDS; later kinds share the last
    unsigned kind[WALK_KINDS];
    int32_t shown[WALK_KINDS];
    WalkStretch stretch;
};

// Places count in place units ("section", "frame"); frames hold points
// (the word for them in the file: "points", "point lines"). notes has
// WALK_KIND_BITS entries: for a bit whose items' lines note something, what
// that is ("a frame number that is not the frame's place"), for the sum of
// a stretch; null for a bit that says nothing or what the losses say.
void StartWalkRuns(WalkRuns* runs, const char* place, const char* points, const char* const* notes);

// 1 when the item at place (counted from 1) is to be reported in full: a
// stretch counted before it has been summed up then. 0 when it is only
// counted, and always when there is no report.
int ShowWalkItem(FILE* report, WalkRuns* runs, int64_t place, unsigned kind,
                 const WalkLosses* lost);

// Sums up the stretch counted since the last item shown, if there is one.
// Before any line of the report that is not an item's, and at the end.
void EndWalkRun(FILE* report, WalkRuns* runs);

// A count with its thousands grouped ("1,999,700"), for lines that sum up
// many. text needs 32 bytes.
void FormatGrouped(long long n, char* text);
