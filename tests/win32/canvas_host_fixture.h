// The canvas tests' fixture: a host window holding the canvas (child id
// IDC_CANVAS) whose client area is exactly the size asked for, a UiPort that
// counts beeps and status refreshes and repaints the canvas, and readback of
// what the canvas shows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

struct CanvasHost {
    HWND parent = nullptr;
    HWND canvas = nullptr;
    int width = 0, height = 0;
    // Pixels read back by Capture, top-down rows, as COLORREF values.
    std::vector<COLORREF> pixels;
};

extern CanvasHost host;

// What the host UiPort saw since the last ResetCanvasHost.
struct HostCounts {
    int beeps;
    int statusPanes;
    int repaints;
    std::string promptReply;  // entered text for the next value prompt; empty cancels
};
extern HostCounts hostCounts;

// Creates (once) and sizes the host; resets the model, view and gesture,
// installs the host UiPort and paints the canvas once.
void ResetCanvasHost(int clientWidth = 800, int clientHeight = 600);
// Runs every pending message, paints included.
void PumpMessages();
// Invalidates with erase and paints at once.
void RepaintNow();
// Reads the canvas client area into host.pixels.
void Capture();
COLORREF PixelAt(int x, int y);
// Counts WM_PAINT messages reaching the canvas from now on.
void StartCountingPaints();
int PaintCount();

// Mouse messages as the system sends them.
void SendMouse(UINT message, int x, int y, WPARAM keys = 0);
