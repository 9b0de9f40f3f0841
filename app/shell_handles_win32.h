// The handles the shell holds for the whole run: the main window, its status
// bar and canvas, the module instance and the accelerator table. A leaf that
// every part of the shell may include; start-up and the main window's
// creation fill it in.
#pragma once

#include <windows.h>

struct ShellHandles {
    // Set by the main window's creation; null before and after its lifetime.
    HWND main;
    HWND statusBar;
    HWND canvas;
    // Set by start-up.
    HINSTANCE instance;
    HACCEL accelerators;
};

extern ShellHandles shellHandles;

inline HWND MainWindow() {
    return shellHandles.main;
}
inline HWND StatusBarWindow() {
    return shellHandles.statusBar;
}
inline HWND CanvasWindow() {
    return shellHandles.canvas;
}
inline HINSTANCE AppInstance() {
    return shellHandles.instance;
}
inline HACCEL AcceleratorTable() {
    return shellHandles.accelerators;
}
