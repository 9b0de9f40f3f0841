// The canvas tests' fixture: the host window, its UiPort and pixel readback.
#include "tests/win32/canvas_host_fixture.h"

#include "canvas/canvas_window_win32.h"
#include "canvas/gesture.h"
#include "canvas/view_transform.h"
#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "resources/resource_ids.h"

CanvasHost host;
HostCounts hostCounts;

static WNDPROC canvasProc = nullptr;
static int paintCount = 0;
static bool countingPaints = false;

static void HostBeep() {
    ++hostCounts.beeps;
}
static void HostStatus(int flags) {
    if (flags & STATUS_PANES) ++hostCounts.statusPanes;
}
static void HostRepaint() {
    ++hostCounts.repaints;
    InvalidateRect(host.canvas, nullptr, TRUE);
}
static int HostPrompt(UiWindow, const ValuePromptRequest*) {
    if (hostCounts.promptReply.empty()) return PROMPT_CANCEL;
    lstrcpynA(Prompt::value, hostCounts.promptReply.c_str(), PROMPT_VALUE_LENGTH);
    return PROMPT_OK;
}

static LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && countingPaints) ++paintCount;
    return CallWindowProcA(canvasProc, window, message, wParam, lParam);
}

static void CreateHost() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hInstance = instance;
    parentClass.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    parentClass.lpszClassName = "canvas_test_parent";
    RegisterClassA(&parentClass);
    WNDCLASSA drawClass = {};
    drawClass.style = CS_HREDRAW | CS_VREDRAW;
    drawClass.lpfnWndProc = CanvasWindowProc;
    drawClass.hInstance = instance;
    drawClass.hCursor = LoadCursor(nullptr, IDC_CROSS);
    drawClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    drawClass.lpszClassName = "canvas_test_draw";
    RegisterClassA(&drawClass);

    host.parent = CreateWindowExA(0, "canvas_test_parent", "canvas test",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 1200,
                                  900, nullptr, nullptr, instance, nullptr);
}

// A fresh canvas for every test: no scroll state or drawing of an earlier
// test stays on it.
static void CreateCanvas() {
    if (host.canvas) DestroyWindow(host.canvas);
    host.canvas = CreateWindowExA(WS_EX_CLIENTEDGE, "canvas_test_draw", "",
                                  WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 900, 700,
                                  host.parent, (HMENU)(INT_PTR)IDC_CANVAS,
                                  GetModuleHandleA(nullptr), nullptr);
    canvasProc = (WNDPROC)SetWindowLongPtrA(host.canvas, GWLP_WNDPROC, (LONG_PTR)CountingProc);
}

static void SizeCanvas(int clientWidth, int clientHeight) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT window, client;
        GetWindowRect(host.canvas, &window);
        GetClientRect(host.canvas, &client);
        int w = (window.right - window.left) + clientWidth - client.right;
        int h = (window.bottom - window.top) + clientHeight - client.bottom;
        SetWindowPos(host.canvas, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE);
        GetClientRect(host.canvas, &client);
        if (client.right == clientWidth && client.bottom == clientHeight) break;
    }
    host.width = clientWidth;
    host.height = clientHeight;
}

void ResetCanvasHost(int clientWidth, int clientHeight) {
    if (!host.parent) CreateHost();
    CreateCanvas();
    ResetDocument();
    ResetViewState();
    ResetGesture();
    UiPort port = {};
    port.beep = HostBeep;
    port.refreshStatus = HostStatus;
    port.repaintCanvas = HostRepaint;
    port.valuePrompt = HostPrompt;
    uiPort = port;
    hostCounts = {0, 0, 0, ""};
    countingPaints = false;
    SetForegroundWindow(host.parent);
    SizeCanvas(clientWidth, clientHeight);
    RepaintNow();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UpdateWindow(host.canvas);
}

void RepaintNow() {
    RedrawWindow(host.canvas, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    GdiFlush();
}

void Capture() {
    GdiFlush();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = host.width;
    info.bmiHeader.biHeight = -host.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(host.canvas);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(windowDc);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, host.width, host.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    host.pixels.assign((size_t)host.width * host.height, 0);
    const unsigned char* bytes = (const unsigned char*)bits;
    for (size_t i = 0; i < host.pixels.size(); ++i)
        host.pixels[i] = RGB(bytes[4 * i + 2], bytes[4 * i + 1], bytes[4 * i]);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(host.canvas, windowDc);
}

COLORREF PixelAt(int x, int y) {
    if (x < 0 || y < 0 || x >= host.width || y >= host.height) return CLR_INVALID;
    return host.pixels[(size_t)y * host.width + x];
}

void StartCountingPaints() {
    paintCount = 0;
    countingPaints = true;
}

int PaintCount() {
    return paintCount;
}

void SendMouse(UINT message, int x, int y, WPARAM keys) {
    SendMessageA(host.canvas, message, keys, MAKELPARAM(x, y));
}
