// Safe replacement of a frame file: a temporary file beside the target takes
// the data, and only a completely written and closed temporary file replaces
// the target. Touches only the file system and the warning box.
#include "formats/atomic_write.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "formats/path_files.h"
#include "formats/temp_file_guard.h"

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
// was simply overwritten in place; a device or a folder would be replaced
// by the rename. 0 with errno set otherwise.
static int TargetIsReplaceable(const char* path, int* mode) {
    bool writable = false;
    switch (InspectPath(path, &writable, mode)) {
        case PATH_MISSING:
            return 1;
        case PATH_FILE:
            return writable ? 1 : (errno = EACCES, 0);
        case PATH_FOLDER:
            return errno = EISDIR, 0;
        case PATH_DEVICE:
            return errno = EINVAL, 0;
        default:
            return 0;
    }
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

static int CreateFailed(AtomicFile* file, UiWindow owner, const char* path, int cause) {
    file->stream = nullptr;
    file->tempPath[0] = 0;
    ShowFileWarning(owner, path, CREATE_FAILED, SAVING_CAPTION, cause);
    return 0;
}

int BeginAtomicWrite(AtomicFile* file, UiWindow owner, const char* path) {
    file->stream = nullptr;
    file->failed = false;
    file->cause = 0;
    file->written = 0;
    file->targetPath[0] = 0;
    file->tempPath[0] = 0;
    if (!path || !path[0]) return CreateFailed(file, owner, path, ENOENT);
    // Through a symbolic link the file it leads to is replaced, and the
    // temporary file goes beside that one; the link stays.
    if (!ResolvePathLinks(path, file->targetPath, sizeof file->targetPath))
        return CreateFailed(file, owner, path, ENAMETOOLONG);
    int mode = -1;
    if (!TargetIsReplaceable(file->targetPath, &mode))
        return CreateFailed(file, owner, path, errno);

    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        if (!MakeTempPath(file, tempSequence++))
            return CreateFailed(file, owner, path, ENAMETOOLONG);
        // Held before it exists, so that a stop from here on removes it.
        if (!HoldTempFile(file->tempPath)) return CreateFailed(file, owner, path, EINTR);
        fd = OpenExclusive(file->tempPath);
        const int cause = errno;
        if (fd < 0) ReleaseTempFile();
        if (fd < 0 && cause != EEXIST) return CreateFailed(file, owner, path, cause);
    }
    if (fd < 0) return CreateFailed(file, owner, path, EEXIST);
#ifndef _WIN32
    // Keep the permissions the replaced file had.
    if (mode >= 0) fchmod(fd, (mode_t)mode);
#endif
    file->stream = StreamOf(fd);
    if (!file->stream) {
        const int cause = errno;
        CloseDescriptor(fd);
        RemovePath(file->tempPath);
        ReleaseTempFile();
        return CreateFailed(file, owner, path, cause);
    }
    return 1;
}

// The first failure's reason stands.
static void Fail(AtomicFile* file, int cause) {
    if (!file->failed) file->cause = cause;
    file->failed = true;
}

void AtomicWriteBytes(AtomicFile* file, const void* data, size_t size) {
    if (!file->failed && StopRequested()) Fail(file, EINTR);
    if (file->failed || !file->stream || size == 0) return;
    size_t allowed = size;
    int cause = 0;
    if (faultStep == ATOMIC_FAULT_WRITE) {
        long long room = faultAfterBytes - file->written;
        if (room < (long long)size) {
            allowed = room > 0 ? (size_t)room : 0;
            cause = ENOSPC;
        }
    }
    if (allowed > 0 && std::fwrite(data, 1, allowed, file->stream) != allowed) cause = errno;
    file->written += (long long)allowed;
    if (cause) Fail(file, cause);
}

int FinishAtomicWrite(AtomicFile* file, UiWindow owner) {
    if (StopRequested()) Fail(file, EINTR);
    if (!file->stream) {
        Fail(file, EBADF);
    } else {
        if (!file->failed && (std::fflush(file->stream) != 0 || std::ferror(file->stream)))
            Fail(file, errno);
        if (!file->failed && !SyncToDisk(file->stream)) Fail(file, errno);
        if (std::fclose(file->stream) != 0) Fail(file, errno);
        file->stream = nullptr;
    }
    if (faultStep == ATOMIC_FAULT_CLOSE) Fail(file, EIO);
    if (faultStep == ATOMIC_FAULT_REPLACE) Fail(file, EACCES);
    if (!file->failed && StopRequested()) Fail(file, EINTR);
    if (!file->failed && !ReplacePath(file->tempPath, file->targetPath)) Fail(file, errno);
    if (file->failed) {
        if (file->tempPath[0]) RemovePath(file->tempPath);
        ReleaseTempFile();
        file->tempPath[0] = 0;
        ShowFileWarning(owner, file->targetPath, WRITE_FAILED, SAVING_CAPTION, file->cause);
        return 0;
    }
    ReleaseTempFile();
    file->tempPath[0] = 0;
    return 1;
}
