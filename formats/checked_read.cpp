// Checked reads of frame files, and the test hook that fails them.
#include "formats/checked_read.h"

#include <cerrno>

static long long faultAfter = -1;  // bytes still allowed through; < 0: no fault
static int failureCause = 0;

size_t CheckedRead(FILE* stream, void* to, size_t size, bool* failed) {
    if (faultAfter == 0 && size > 0) {
        *failed = true;
        failureCause = EIO;
        return 0;
    }
    if (faultAfter > 0 && (long long)size > faultAfter) size = (size_t)faultAfter;
    size_t got = size > 0 ? std::fread(to, 1, size, stream) : 0;
    if (faultAfter > 0) faultAfter -= (long long)got;
    if (got == 0 && std::ferror(stream)) {
        *failed = true;
        failureCause = errno;
    }
    return got;
}

int ReadFailureCause() {
    return failureCause;
}

void SetReadFault(long long afterBytes) {
    faultAfter = afterBytes;
}
