// Report lines of the file check's walkers, with failed writes remembered.
#include "formats/walk_report.h"

#include <cerrno>
#include <cstdarg>

#include "formats/stream_text.h"

// The reason for the first write to a report that failed; 0 while none did.
// A stream may drop what it could not write and flush cleanly afterwards,
// so the failure is taken where it happens.
static int reportCause = 0;

static void Failed() {
    if (!reportCause) reportCause = errno ? errno : EIO;
}

static void Write(FILE* report, const char* format, va_list args, bool newline) {
    if (reportCause) return;  // the report is lost already
    if (!PrintTextList(report, format, args)) Failed();
    if (newline && !reportCause && !WriteText(report, "\n")) Failed();
}

void ReportLine(FILE* report, const char* format, ...) {
    if (!report) return;
    va_list args;
    va_start(args, format);
    Write(report, format, args, true);
    va_end(args);
}

void ReportText(FILE* report, const char* format, ...) {
    if (!report) return;
    va_list args;
    va_start(args, format);
    Write(report, format, args, false);
    va_end(args);
}

int FinishReport(FILE* report) {
    errno = 0;
    if (report && (std::fflush(report) != 0 || std::ferror(report))) Failed();
    return reportCause;
}
