// What the file check's walkers share: their results, and the lines of
// their report, which goes nowhere when there is no report to write to.
// The report is the converter's standard output, which may fail (a full
// disk, a closed pipe): the first failed write is remembered, so that the
// converter can say so instead of passing for a complete report. Touches
// nothing but the report.
#pragma once

#include <cstdio>

enum {
    WALK_OPEN_FAILED = 0,  // the file cannot be opened
    WALK_DONE = 1,         // walked; the account says what the reader leaves out
    WALK_REFUSED = 2       // the reader refuses the file from its first bytes on
};

// One line of the report; the newline is added.
__attribute__((format(printf, 2, 3))) void ReportLine(FILE* report, const char* format, ...);

// Text for the report, as it is formatted; no newline is added.
__attribute__((format(printf, 2, 3))) void ReportText(FILE* report, const char* format, ...);

// Flushes the report. 0 when everything written to a report so far
// arrived; otherwise the reason the system gave for the first write that
// did not (an errno value).
int FinishReport(FILE* report);
