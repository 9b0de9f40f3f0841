// File identity on Windows: volume serial number and file index. Touches
// nothing; only asks the file system.
#include "files/same_file_win32.h"

#include <windows.h>

static int ReadIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    // No access rights asked for: reading the identity needs none, and a
    // file another program holds open can still be looked at.
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BOOL read = GetFileInformationByHandle(file, info);
    CloseHandle(file);
    return read != 0;
}

static int SameFullName(const char* a, const char* b) {
    char fullA[MAX_PATH], fullB[MAX_PATH];
    DWORD lengthA = GetFullPathNameA(a, MAX_PATH, fullA, nullptr);
    DWORD lengthB = GetFullPathNameA(b, MAX_PATH, fullB, nullptr);
    if (lengthA == 0 || lengthA >= MAX_PATH || lengthB == 0 || lengthB >= MAX_PATH) return 0;
    return lstrcmpiA(fullA, fullB) == 0;
}

int SameFileOnVolume(const char* a, const char* b) {
    if (!a || !b || !a[0] || !b[0]) return 0;
    BY_HANDLE_FILE_INFORMATION first, second;
    if (!ReadIdentity(a, &first) || !ReadIdentity(b, &second)) return 0;
    if (first.dwVolumeSerialNumber != second.dwVolumeSerialNumber) return 0;
    if ((first.nFileIndexHigh | first.nFileIndexLow) == 0) return SameFullName(a, b);
    return first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}
