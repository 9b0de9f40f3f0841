// Fitting frames of more than MAX_POINTS points into a frame of the store by
// dropping repeated points (a point at the same place and with the same beam
// state as the one before), which long frames from other programs hold by
// the thousand to let the scanners settle. Off unless a caller turns it on
// (the converter's --fit): the editor itself never fits. While it is on, the
// readers read a long frame whole into longFramePoints, up to
// LONG_FRAME_POINTS, and hand it to FitIntoFrame before they cut it.
// Touches nothing but its own buffer and account.
#pragma once

#include <cstdint>

#include "document/frame_store.h"

enum {
    // The most records an ILDA section holds. A CSV frame can be longer: its
    // points beyond this many are not seen by the fitting and are cut, as
    // every point beyond MAX_POINTS is without it.
    LONG_FRAME_POINTS = 65535
};

// What fitting did since StartFitting.
struct FitAccount {
    int32_t longFrames;     // frames of more than MAX_POINTS points it was given
    int32_t framesFitted;   // of them, frames it dropped points from
    int32_t framesWhole;    // of them, frames that fit MAX_POINTS after dropping
    int64_t pointsDropped;  // repeated points dropped in all
};

extern FitAccount fitAccount;

// Where a reader puts a frame it reads whole while fitting is on.
extern VectorPoint longFramePoints[LONG_FRAME_POINTS];

// Turns fitting on for the reads that follow and empties the account.
void StartFitting();
void StopFitting();
int FittingLongFrames();

// Brings a frame of count points (at most LONG_FRAME_POINTS) towards
// MAX_POINTS in place: only when it holds more, and then by dropping no more
// repeated points than it must, taken evenly from the frame's runs of equal
// points in proportion to their length, and never the first point of a run.
// Returns the new count, which is still above MAX_POINTS when there were not
// enough repeats. Counts what it did in fitAccount.
int32_t FitLongFrame(VectorPoint* points, int32_t count);

// FitLongFrame, then the first MAX_POINTS points of the result copied into
// frame. Returns the fitted count, for the reader's account of what is cut.
int32_t FitIntoFrame(VectorPoint* points, int32_t count, VectorPoint* frame);

// "N frames of more than 3000 points: ..." for the converter and its file
// check; would selects the words of a check, which only says what fitting
// would do.
void FormatFitAccount(const FitAccount* account, bool would, char* text, int size);
