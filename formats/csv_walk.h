// The line walker of the file check: goes through a CSV frame file as the
// reader takes it when a file is opened, with the reader's own line pieces
// and line parsers, and says what the header's settings become and, frame
// by frame, which lines it spans, how many points and which name the editor
// keeps and what it leaves out, and what is odd without costing anything
// (lines that are no points and rename the frame, lines longer than the 49
// characters read at a time, names cut to 16 characters, text after a "+").
// Reads the file only; touches nothing but the report and the account.
#pragma once

#include <cstdio>

#include "formats/read_account.h"
#include "formats/walk_report.h"

// Writes the walk to report (none when null): the header, then one line per
// frame, with lines beginning "  lost: " and "  note: " beneath, and fills
// account as the reader fills lastReadAccount. Returns a WALK_ result:
// WALK_REFUSED when the first line is no valid header.
int WalkCsvFile(const char* path, FILE* report, ReadAccount* account);
