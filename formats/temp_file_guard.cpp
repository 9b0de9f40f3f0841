// The temporary file held by the write in progress. The handler may run at
// any moment, on this thread or another: the name is published with atomic
// operations, only once it is complete, and the stop is marked before the
// name is looked at, so that a writer either sees the stop or has published
// its file.
#include "formats/temp_file_guard.h"

#include <atomic>

#ifdef _WIN32
#include "formats/path_files.h"
#else
#include <unistd.h>
#endif

static std::atomic<const char*> heldPath{nullptr};
static std::atomic<int> stopAsked{0};

int HoldTempFile(const char* path) {
    heldPath.store(path);
    if (!stopAsked.load()) return 1;
    heldPath.store(nullptr);
    return 0;
}

void ReleaseTempFile() {
    heldPath.store(nullptr);
}

int StopRequested() {
    return stopAsked.load();
}

const char* RequestStop() {
    stopAsked.store(1);
    return heldPath.load();
}

void RemoveHeldTempFile() {
    const char* path = RequestStop();
#ifdef _WIN32
    // A console handler's thread, not a signal: the wide call may be made,
    // and must be, for a name outside the code page.
    if (path) RemovePath(path);
#else
    if (path) unlink(path);
#endif
}
