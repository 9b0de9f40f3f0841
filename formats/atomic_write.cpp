// Safe replacement of a frame file: a temporary file beside the target takes
// the data, and only a completely written and closed temporary file replaces
// the target. Touches only the file system and the warning box.
#include "formats/atomic_write.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "formats/path_files.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

static const char* const CREATE_FAILED = "Failed to create frame file.";
static const char* const WRITE_FAILED = "Failed to write frame file.";
static const char* const SAVING_CAPTION = "Saving Frames";

static int faultStep = ATOMIC_FAULT_NONE;
static long long faultAfterBytes = 0;
static unsigned tempSequence = 0;

void SetAtomicWriteFault(int step, long long afterBytes) {
    faultStep = step;
    faultAfterBytes = afterBytes;
}

static bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

static int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return (int)getpid();
#endif
}

// Appends text to a bounded path; 0 when it does not fit.
static int AppendText(char* to, size_t* length, const char* text) {
    size_t add = std::strlen(text);
    if (*length + add + 1 > ATOMIC_PATH_LENGTH) return 0;
    std::memcpy(to + *length, text, add + 1);
    *length += add;
    return 1;
}

static void AppendNumber(char* text, unsigned value) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    size_t at = std::strlen(text);
    while (n) text[at++] = digits[--n];
    text[at] = 0;
}

// The temporary name lives in the target's folder, so the final step is a
// rename within one file system.
static int MakeTempPath(AtomicFile* file, unsigned sequence) {
    size_t dirLength = std::strlen(file->targetPath);
    while (dirLength > 0 && !IsSeparator(file->targetPath[dirLength - 1])) --dirLength;
    char suffix[64] = ".quillon-";
    AppendNumber(suffix, (unsigned)ProcessId());
    std::strcat(suffix, "-");
    AppendNumber(suffix, sequence);
    std::strcat(suffix, ".tmp");
    if (dirLength + 1 > ATOMIC_PATH_LENGTH) return 0;
    std::memcpy(file->tempPath, file->targetPath, dirLength);
    file->tempPath[dirLength] = 0;
    return AppendText(file->tempPath, &dirLength, suffix);
}

// An existing target must be a writable plain file, as it had to be when it
// was simply overwritten in place.
static int TargetIsReplaceable(const char* path, int* mode) {
    bool writable = false;
    int kind = InspectPath(path, &writable, mode);
    return kind == PATH_MISSING || (kind == PATH_FILE && writable);
}

static int OpenExclusive(const char* path) {
    return CreateNewPathFile(path);
}

static FILE* StreamOf(int fd) {
#ifdef _WIN32
    return _fdopen(fd, "wb");
#else
    return fdopen(fd, "wb");
#endif
}

static void CloseDescriptor(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    close(fd);
#endif
}

// The data must be on disk before the rename makes it the only copy.
static int SyncToDisk(FILE* stream) {
#ifdef _WIN32
    return _commit(_fileno(stream)) == 0;
#else
    return fsync(fileno(stream)) == 0;
#endif
}

static int ReplaceTarget(const char* temp, const char* target) {
    return ReplacePath(temp, target);
}

static int CreateFailed(AtomicFile* file, UiWindow owner) {
    file->stream = nullptr;
    file->tempPath[0] = 0;
    ShowWarning(owner, CREATE_FAILED, SAVING_CAPTION);
    return 0;
}

int BeginAtomicWrite(AtomicFile* file, UiWindow owner, const char* path) {
    file->stream = nullptr;
    file->failed = false;
    file->written = 0;
    file->targetPath[0] = 0;
    file->tempPath[0] = 0;
    if (!path || !path[0]) return CreateFailed(file, owner);
    // Through a symbolic link the file it leads to is replaced, and the
    // temporary file goes beside that one; the link stays.
    if (!ResolvePathLinks(path, file->targetPath, sizeof file->targetPath))
        return CreateFailed(file, owner);
    int mode = -1;
    if (!TargetIsReplaceable(file->targetPath, &mode)) return CreateFailed(file, owner);

    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        if (!MakeTempPath(file, tempSequence++)) return CreateFailed(file, owner);
        fd = OpenExclusive(file->tempPath);
        if (fd < 0 && errno != EEXIST) return CreateFailed(file, owner);
    }
    if (fd < 0) return CreateFailed(file, owner);
#ifndef _WIN32
    // Keep the permissions the replaced file had.
    if (mode >= 0) fchmod(fd, (mode_t)mode);
#endif
    file->stream = StreamOf(fd);
    if (!file->stream) {
        CloseDescriptor(fd);
        RemovePath(file->tempPath);
        return CreateFailed(file, owner);
    }
    return 1;
}

void AtomicWriteBytes(AtomicFile* file, const void* data, size_t size) {
    if (file->failed || !file->stream || size == 0) return;
    size_t allowed = size;
    if (faultStep == ATOMIC_FAULT_WRITE) {
        long long room = faultAfterBytes - file->written;
        if (room < (long long)size) {
            allowed = room > 0 ? (size_t)room : 0;
            file->failed = true;
        }
    }
    if (allowed > 0 && std::fwrite(data, 1, allowed, file->stream) != allowed) file->failed = true;
    file->written += (long long)allowed;
}

int FinishAtomicWrite(AtomicFile* file, UiWindow owner) {
    int ok = file->stream != nullptr && !file->failed;
    if (file->stream) {
        if (std::fflush(file->stream) != 0 || std::ferror(file->stream)) ok = 0;
        if (ok && !SyncToDisk(file->stream)) ok = 0;
        if (std::fclose(file->stream) != 0) ok = 0;
        file->stream = nullptr;
    }
    if (ok && faultStep == ATOMIC_FAULT_CLOSE) ok = 0;
    if (ok && faultStep == ATOMIC_FAULT_REPLACE) ok = 0;
    if (ok && !ReplaceTarget(file->tempPath, file->targetPath)) ok = 0;
    if (!ok) {
        if (file->tempPath[0]) RemovePath(file->tempPath);
        file->tempPath[0] = 0;
        ShowWarning(owner, WRITE_FAILED, SAVING_CAPTION);
        return 0;
    }
    file->tempPath[0] = 0;
    return 1;
}

void AbandonAtomicWrite(AtomicFile* file) {
    if (file->stream) std::fclose(file->stream);
    file->stream = nullptr;
    if (file->tempPath[0]) RemovePath(file->tempPath);
    file->tempPath[0] = 0;
}
