// Finding the help page beside the program and handing it to the shell.
#include "app/help_page_win32.h"

#include <shellapi.h>

#include <cstring>

#include "formats/utf16_text.h"

const char* const HelpPageName = "zel2.html";

ShellOpenProc shellOpenProc = OpenWithShell;

// Paths are UTF-8 here; the shell gets them in UTF-16, so that a program
// folder named in any script still finds the page.
void OpenWithShell(HWND owner, const char* file) {
    wchar_t wide[MAX_PATH];
    if (WidenText(file, wide, MAX_PATH) < 0) return;
    ShellExecuteW(owner, nullptr, wide, nullptr, nullptr, SW_SHOWNORMAL);
}

static bool IsFile(const char* path) {
    wchar_t wide[MAX_PATH];
    if (WidenText(path, wide, MAX_PATH) < 0) return false;
    DWORD attributes = GetFileAttributesW(wide);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program's folder with the page's name; 0 when it does not fit.
static int PathBeside(const char* programPath, char* path, size_t size) {
    const char* slash = std::strrchr(programPath, '\\');
    const char* other = std::strrchr(programPath, '/');
    if (other > slash) slash = other;
    if (!slash) return 0;
    size_t folder = (size_t)(slash + 1 - programPath);
    size_t name = std::strlen(HelpPageName);
    if (folder + name + 1 > size) return 0;
    std::memcpy(path, programPath, folder);
    std::memcpy(path + folder, HelpPageName, name + 1);
    return 1;
}

void OpenHelpPageBeside(HWND owner, const char* programPath) {
    char path[3 * MAX_PATH];
    bool beside = programPath && PathBeside(programPath, path, sizeof path) && IsFile(path);
    shellOpenProc(owner, beside ? path : HelpPageName);
}

void OpenHelpPage(HWND owner) {
    wchar_t wide[MAX_PATH];
    char program[3 * MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH);
    // A cut path (length equal to the buffer) names no real folder.
    bool known = length > 0 && length < MAX_PATH && NarrowText(wide, program, sizeof program) >= 0;
    OpenHelpPageBeside(owner, known ? program : nullptr);
}
