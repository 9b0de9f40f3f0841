// File identity on Windows: volume serial number and file index. Touches
// nothing; only asks the file system, with the names in UTF-16.
#include "files/same_file_win32.h"

#include <windows.h>

#include "formats/path_files.h"
#include "formats/utf16_text.h"

struct WideName {
    wchar_t text[SYSTEM_PATH_UNITS];
};

static int ReadIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    static WideName wide;
    if (WidenText(path, wide.text, SYSTEM_PATH_UNITS) < 0) return 0;
    // No access rights asked for: reading the identity needs none, and a
    // file another program holds open can still be looked at.
    HANDLE file = CreateFileW(wide.text, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BOOL read = GetFileInformationByHandle(file, info);
    CloseHandle(file);
    return read != 0;
}

static int FullName(const char* path, WideName* full) {
    static WideName wide;
    if (WidenText(path, wide.text, SYSTEM_PATH_UNITS) < 0) return 0;
    DWORD length = GetFullPathNameW(wide.text, SYSTEM_PATH_UNITS, full->text, nullptr);
    return length > 0 && length < SYSTEM_PATH_UNITS;
}

static int SameFullName(const char* a, const char* b) {
    static WideName fullA, fullB;
    if (!FullName(a, &fullA) || !FullName(b, &fullB)) return 0;
    return lstrcmpiW(fullA.text, fullB.text) == 0;
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
