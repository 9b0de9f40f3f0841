// The Vector Table's edits of the working frame, apart from the list view:
// the window gathers the focused and selected rows and hands them in.
#pragma once

#include <cstdint>

// Duplicates point f in place (f and f + 1 both hold the old point f).
// Refused (0) for an empty or full frame or a row outside the frame.
int InsertVectorAt(int f);

// Removes the points of the given rows (in any order), keeping the others in
// order. Refused (0) when no row is given.
int DeleteVectorRows(const int* rows, int rowCount);

// Which rows the edit reaches.
enum { ROW_FOCUSED = 1, ROW_SELECTED = 2 };

// Applies the Edit Vector dialog's V, X and Y: V's lowest bit to the focused
// point, X and the negated Y (low 16 bits) to the focused and every selected
// point. rowStates holds ROW_FOCUSED / ROW_SELECTED per point.
void ApplyVectorEdit(const uint8_t* rowStates, int32_t v, int32_t x, int32_t y);
