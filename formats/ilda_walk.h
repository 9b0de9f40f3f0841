// The section walker of the file check: goes through an ILDA file section
// by section as the reader takes it when a file is opened, and says for
// each where it stands, what it is, what the reader keeps of it and what
// it leaves out, and what is odd about it without costing anything (frame
// numbers and total-frame fields that disagree with the file, last-point
// bits, names a CSV file cannot hold, reserved bytes that are not zeros, no
// closing header, closing headers, palettes and bytes after it). Runs of
// alike sections are summed up (formats/walk_runs.h).
// Reads the file only; touches nothing but the report and the account.
#pragma once

#include <cstdio>

#include "formats/read_account.h"
#include "formats/walk_report.h"

// Writes the walk to report (none when null): one line per section, with
// lines beginning "  lost: " and "  note: " beneath it, and fills account as
// the reader fills lastReadAccount. Returns a WALK_ result: WALK_REFUSED when
// the file does not begin with a section header.
int WalkIldaFile(const char* path, FILE* report, ReadAccount* account);
