// Help > Documents: the user's guide, zel2.html, opened through the desktop
// shell. The page is installed beside the program, so it is looked for there
// first; the current folder is only the fallback.
#pragma once

#include <windows.h>

// The file name of the help page.
extern const char* const HelpPageName;

// Asks the shell to open the page with its default verb. Failure is silent.
void OpenHelpPage(HWND owner);

// The same, for a program at programPath (a full path of an .exe, in
// UTF-8): the page beside it when that file exists, otherwise the bare name,
// which the shell resolves in the current folder.
void OpenHelpPageBeside(HWND owner, const char* programPath);

// The shell call itself, for a UTF-8 name: ShellExecuteW with the default
// verb, no parameters, no folder, shown normally. Tests put a recorder here.
typedef void (*ShellOpenProc)(HWND owner, const char* file);
extern ShellOpenProc shellOpenProc;
void OpenWithShell(HWND owner, const char* file);
