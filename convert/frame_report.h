// The file check's report on the frames the editor read, for checking a show
// without a projector: how long a lit beam stays on one spot, the largest
// jumps between consecutive points of a frame, lit and blanked apart, and
// how long the frames take to draw at the scan speed; and, for a file with
// frames of more than 3000 points, what --fit would make of them. Lines
// beginning "note: ", which cost nothing in the check's verdict. Reads the
// store; the fitting look reads the file again into it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "formats/read_account.h"

// What the check adds to the walk of a file the editor read: the safety and
// timing lines at the file's scan speed (a CSV file's), the one given
// (speedOption, 0 when none) or 30000, and when account holds long frames a
// line on what --fit would do, read anew with fitting on. Leaves the store
// as the last read filled it.
void ReportFramesRead(FILE* report, const char* path, bool csv, const ReadAccount* account,
                      int32_t speedOption);
