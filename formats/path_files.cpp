// File calls for UTF-8 paths. Touches only the file system.
#include "formats/path_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

const char* const PATH_TOO_LONG_TEXT = "The file name is too long.";

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "formats/utf16_text.h"
// Declared here so that formats/ stays free of the Win32 headers.
extern "C" {
__declspec(dllimport) int __stdcall MoveFileExW(const wchar_t* existing, const wchar_t* target,
                                                unsigned long flags);
__declspec(dllimport) void* __stdcall CreateFileW(const wchar_t* name, unsigned long access,
                                                  unsigned long share, void* security,
                                                  unsigned long creation, unsigned long flags,
                                                  void* pattern);
__declspec(dllimport) unsigned long __stdcall GetFinalPathNameByHandleW(void* file, wchar_t* path,
                                                                        unsigned long size,
                                                                        unsigned long flags);
__declspec(dllimport) int __stdcall CloseHandle(void* handle);
__declspec(dllimport) unsigned long __stdcall GetLastError();
}

// The system's error codes a replacement meets, as the C library's.
static int CauseOfWindowsError(unsigned long code) {
    switch (code) {
        case 2:  // ERROR_FILE_NOT_FOUND
        case 3:  // ERROR_PATH_NOT_FOUND
            return ENOENT;
        case 5:   // ERROR_ACCESS_DENIED
        case 32:  // ERROR_SHARING_VIOLATION
            return EACCES;
        case 112:  // ERROR_DISK_FULL
            return ENOSPC;
        case 206:  // ERROR_FILENAME_EXCED_RANGE
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

// A path as the wide calls take it; false (errno set) when it is no UTF-8
// or too long.
struct WidePath {
    wchar_t text[SYSTEM_PATH_UNITS];
};
static bool Widen(const char* path, WidePath* wide) {
    if (path && WidenText(path, wide->text, SYSTEM_PATH_UNITS) >= 0) return true;
    errno = path ? ENAMETOOLONG : EINVAL;
    return false;
}

FILE* OpenPathStream(const char* path, const char* mode) {
    static WidePath wide;
    wchar_t wideMode[8];
    if (!Widen(path, &wide) || WidenText(mode, wideMode, 8) < 0) return nullptr;
    return _wfopen(wide.text, wideMode);
}

int CreateNewPathFile(const char* path) {
    static WidePath wide;
    if (!Widen(path, &wide)) return -1;
    return _wopen(wide.text, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

// On the stack: a stopped converter removes its temporary file from the
// thread of its console handler.
int RemovePath(const char* path) {
    WidePath wide;
    return Widen(path, &wide) && _wremove(wide.text) == 0;
}

int ReplacePath(const char* from, const char* target) {
    static WidePath wideFrom, wideTarget;
    if (!Widen(from, &wideFrom) || !Widen(target, &wideTarget)) return 0;
    const unsigned long MOVEFILE_REPLACE_EXISTING = 1, MOVEFILE_WRITE_THROUGH = 8;
    if (MoveFileExW(wideFrom.text, wideTarget.text,
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    errno = CauseOfWindowsError(GetLastError());
    return 0;
}

int InspectPath(const char* path, bool* writable, int* mode) {
    static WidePath wide;
    *writable = false;
    *mode = -1;
    if (!Widen(path, &wide)) return PATH_UNKNOWN;
    struct _stat64 info;
    if (_wstat64(wide.text, &info) != 0) return errno == ENOENT ? PATH_MISSING : PATH_UNKNOWN;
    if (info.st_mode & _S_IFDIR) return PATH_FOLDER;
    if (!(info.st_mode & _S_IFREG)) return PATH_DEVICE;
    *writable = _waccess(wide.text, 2) == 0;
    return PATH_FILE;
}

// The system's name of the file a handle is open on: through every link,
// with the "\\?\" form the call gives turned back into a plain path.
static int FinalPathOf(const wchar_t* path, char* out, size_t capacity) {
    const unsigned long SHARE_ALL = 7, OPEN_EXISTING = 3, BACKUP_SEMANTICS = 0x02000000;
    void* file = CreateFileW(path, 0, SHARE_ALL, nullptr, OPEN_EXISTING, BACKUP_SEMANTICS, nullptr);
    if (file == (void*)-1) return 0;
    static WidePath final;
    unsigned long length = GetFinalPathNameByHandleW(file, final.text, SYSTEM_PATH_UNITS, 0);
    CloseHandle(file);
    if (length == 0 || length >= SYSTEM_PATH_UNITS) return 0;
    wchar_t* plain = final.text;
    if (std::wcsncmp(plain, L"\\\\?\\UNC\\", 8) == 0) {
        plain += 6;
        plain[0] = L'\\';
    } else if (std::wcsncmp(plain, L"\\\\?\\", 4) == 0 && plain[4] && plain[5] == L':') {
        plain += 4;
    }
    return NarrowText(plain, out, (int)capacity) >= 0;
}

int ResolvePathLinks(const char* path, char* out, size_t capacity) {
    static WidePath wide;
    if (Widen(path, &wide) && FinalPathOf(wide.text, out, capacity)) return 1;
    size_t length = std::strlen(path);
    if (length + 1 > capacity) return 0;
    std::memcpy(out, path, length + 1);
    return 1;
}

#else
#include <fcntl.h>
#include <unistd.h>

FILE* OpenPathStream(const char* path, const char* mode) {
    return path ? std::fopen(path, mode) : nullptr;
}

int CreateNewPathFile(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int RemovePath(const char* path) {
    return std::remove(path) == 0;
}

int ReplacePath(const char* from, const char* target) {
    return std::rename(from, target) == 0;
}

int InspectPath(const char* path, bool* writable, int* mode) {
    *writable = false;
    *mode = -1;
    struct stat info;
    if (stat(path, &info) != 0) return errno == ENOENT ? PATH_MISSING : PATH_UNKNOWN;
    if (S_ISDIR(info.st_mode)) return PATH_FOLDER;
    if (!S_ISREG(info.st_mode)) return PATH_DEVICE;
    *writable = access(path, W_OK) == 0;
    *mode = (int)(info.st_mode & 07777);
    return PATH_FILE;
}

// Follows the chain of links by hand rather than asking for the real path,
// so that a link to a file not made yet leads to where it will be made.
int ResolvePathLinks(const char* path, char* out, size_t capacity) {
    size_t length = std::strlen(path);
    if (length + 1 > capacity) return 0;
    std::memcpy(out, path, length + 1);
    enum { LINK_HOPS = 40, LINK_TEXT = 4096 };
    static char link[LINK_TEXT];
    for (int hop = 0; hop < LINK_HOPS; ++hop) {
        struct stat info;
        if (lstat(out, &info) != 0 || !S_ISLNK(info.st_mode)) return 1;
        ssize_t got = readlink(out, link, sizeof link - 1);
        if (got <= 0) return 1;
        link[got] = 0;
        // A relative link counts from the folder the link is in.
        size_t folder = 0;
        if (link[0] != '/') {
            const char* slash = std::strrchr(out, '/');
            folder = slash ? (size_t)(slash + 1 - out) : 0;
        }
        if (folder + (size_t)got + 1 > capacity) return 0;
        std::memcpy(out + folder, link, (size_t)got + 1);
    }
    return 1;
}
#endif
