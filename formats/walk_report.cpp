// Report lines of the file check's walkers.
#include "formats/walk_report.h"

#include <cstdarg>

void ReportLine(FILE* report, const char* format, ...) {
    if (!report) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(report, format, args);
    va_end(args);
    std::fputc('\n', report);
}
