// What the file check's walkers share: their results, and the lines of
// their report, which goes nowhere when there is no report to write to.
// Touches nothing but the report.
#pragma once

#include <cstdio>

enum {
    WALK_OPEN_FAILED = 0,  // the file cannot be opened
    WALK_DONE = 1,         // walked; the account says what the reader leaves out
    WALK_REFUSED = 2       // the reader refuses the file from its first bytes on
};

// One line of the report; the newline is added.
__attribute__((format(printf, 2, 3))) void ReportLine(FILE* report, const char* format, ...);
