// The shared Win32 test harness: one real program per test process.
#include "tests/win32/harness_win32.h"

#include <commctrl.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <memory>

#include "app/shell_handles_win32.h"
#include "app/shell_win32.h"
#include "app/ui_port_win32.h"
#include "canvas/gesture.h"
#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"
#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "files/document_file.h"
#include "formats/utf16_text.h"
#include "resources/resource_ids.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"

const wchar_t* const KatakanaCancel = L"\xFF77\xFF6C\xFF9D\xFF7E\xFF99";

static bool shellStarted = false;
static void ArmAnswerTimer();

HWND ProgramWindow() {
    HWND main = MainWindow();
    if (main && IsWindow(main)) return main;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (shellStarted) {
        // A test closed the program: start it again from scratch.
        for (const char* name : {"zel_main", "zel_vect", "zel_frame", "zel_draw"})
            UnregisterClassA(name, instance);
    }
    shellStarted = true;
    main = StartShell(instance, SW_SHOWNORMAL);
    ArmAnswerTimer();
    PumpProgramMessages();
    return main;
}

void PumpProgramMessages() {
    MSG message;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;  // the test decides when to stop
            ProcessMessage(&message);
        }
        if (MainWindow() && IsWindow(MainWindow())) UpdateWindow(MainWindow());
    }
}

void ResetProgramState() {
    HWND main = ProgramWindow();
    ASSERT_NE(main, nullptr);
    ClearDialogAnswers();
    TakeUnansweredDialogs();
    if (vectorTableWindow) DestroyWindow(vectorTableWindow);
    if (frameTableWindow) DestroyWindow(frameTableWindow);
    ReleaseCapture();
    InstallWin32UiPort();
    ClearTemplatePicture();
    ResetDocument();
    ResetDocumentFile();
    ResetViewState();
    ResetGesture();
    HMENU fresh = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    HMENU old = GetMenu(main);
    SetMenu(main, fresh);
    if (old) DestroyMenu(old);
    RefreshStatus(STATUS_TITLE | STATUS_PANES);
    RepaintCanvas();
    SetForegroundWindow(main);
    SetFocus(main);
    PumpProgramMessages();
}

void MakeFrames(std::initializer_list<const char*> names, int firstPoints) {
    int f = 0;
    for (const char* name : names) {
        workingFrame.count = f + firstPoints;
        for (int i = 0; i < workingFrame.count; ++i)
            workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(10 * f + i), (int16_t)(-i)};
        StoreFrame(f, true);
        std::memset(frameStore.frameNames[f].bytes, ' ', FRAME_NAME_LENGTH);
        std::memcpy(frameStore.frameNames[f].bytes, name, std::strlen(name));
        ++f;
    }
    LoadFrame(0);
}

void PressKey(int virtualKey, bool ctrl, bool shift) {
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    memcpy(held, saved, sizeof held);
    held[VK_CONTROL] = ctrl ? 0x80 : 0;
    held[VK_LCONTROL] = ctrl ? 0x80 : 0;
    held[VK_SHIFT] = shift ? 0x80 : 0;
    held[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(held);
    HWND target = GetFocus();
    if (!target) target = ProgramWindow();
    UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
    PumpProgramMessages();
    SetKeyboardState(saved);
}

void SendCommand(int commandId) {
    SendMessageA(ProgramWindow(), WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
    PumpProgramMessages();
}

std::string PaneText(int pane) {
    HWND bar = StatusBarWindow();
    if (!bar) return "";
    LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0);
    std::string text((size_t)LOWORD(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, pane, (LPARAM)&text[0]);
    text.resize(strlen(text.c_str()));
    return text;
}

std::string MainWindowTitle() {
    wchar_t title[512] = L"";
    GetWindowTextW(ProgramWindow(), title, 512);
    char text[3 * 512];
    return NarrowText(title, text, sizeof text) >= 0 ? text : "<not UTF-16>";
}

bool MenuItemGrayed(int commandId) {
    UINT state = GetMenuState(GetMenu(ProgramWindow()), commandId, MF_BYCOMMAND);
    return state != (UINT)-1 && (state & MF_GRAYED);
}

DialogAction ClickButton(int buttonId) {
    return {ANSWER_CLICK, buttonId, nullptr};
}
DialogAction PressDialogKey(int virtualKey) {
    return {ANSWER_KEY, virtualKey, nullptr};
}
DialogAction UseCloseBox() {
    return {ANSWER_CLOSE_BOX, 0, nullptr};
}
DialogAction CustomAction(std::function<void(HWND dialog)> act) {
    return {ANSWER_CUSTOM, 0, act};
}

std::string DialogAnswer::FieldText(int id) const {
    for (const DialogControl& control : controls)
        if (control.id == id) return control.text;
    return "";
}

bool DialogAnswer::FieldVisible(int id) const {
    for (const DialogControl& control : controls)
        if (control.id == id) return control.visible;
    return false;
}

std::string DialogAnswer::StaticText() const {
    std::string joined;
    for (const DialogControl& control : controls) {
        if (lstrcmpiA(control.className.c_str(), "Static") || control.text.empty()) continue;
        if (!joined.empty()) joined += "\n";
        joined += control.text;
    }
    return joined;
}

static std::vector<std::unique_ptr<DialogAnswer>> answers;
static UINT_PTR answerTimer = 0;
static bool answering = false;

struct DialogSearch {
    const std::string* caption;
    HWND found;
};

static BOOL CALLBACK FindDialog(HWND window, LPARAM lParam) {
    DialogSearch* search = (DialogSearch*)lParam;
    char className[64] = "", caption[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (strcmp(className, "#32770") == 0 && *search->caption == caption &&
        IsWindowEnabled(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK RecordControl(HWND control, LPARAM lParam) {
    DialogAnswer* answer = (DialogAnswer*)lParam;
    DialogControl record;
    record.id = GetDlgCtrlID(control);
    char buffer[512] = "";
    GetClassNameA(control, buffer, sizeof buffer);
    record.className = buffer;
    buffer[0] = 0;
    GetWindowTextA(control, buffer, sizeof buffer);
    record.text = buffer;
    record.visible = (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    GetWindowRect(control, &record.screenRect);
    answer->controls.push_back(record);
    return TRUE;
}

static void Answer(DialogAnswer* answer, HWND dialog) {
    answer->seen = true;
    GetWindowRect(dialog, &answer->windowRect);
    EnumChildWindows(dialog, RecordControl, (LPARAM)answer);
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus)) {
        char className[64] = "";
        GetClassNameA(focus, className, sizeof className);
        answer->focusedClass = className;
        answer->focusedId = GetDlgCtrlID(focus);
    }
    if (answer->fieldId) SetDlgItemTextA(dialog, answer->fieldId, answer->typed.c_str());
    const DialogAction& action = answer->action;
    switch (action.kind) {
        case ANSWER_CLICK:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(action.value, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, action.value));
            break;
        case ANSWER_KEY: {
            HWND target = (focus && IsChild(dialog, focus)) ? focus : dialog;
            PostMessageA(target, WM_KEYDOWN, action.value, 1);
            PostMessageA(target, WM_KEYUP, action.value, 1 | (3u << 30));
            break;
        }
        case ANSWER_CLOSE_BOX:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case ANSWER_CUSTOM:
            if (action.custom) action.custom(dialog);
            break;
    }
}

// Dialogs nobody answers are cancelled after a while, so that a test fails
// instead of hanging inside a modal loop.
enum { UNANSWERED_LIMIT_MS = 4000, WATCHED_DIALOGS = 16 };
struct WatchedDialog {
    HWND window;
    DWORD since;
};
static WatchedDialog watched[WATCHED_DIALOGS];
static std::vector<std::string> unanswered;

static BOOL CALLBACK WatchDialog(HWND window, LPARAM) {
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    DWORD now = GetTickCount();
    WatchedDialog* freeSlot = nullptr;
    for (WatchedDialog& slot : watched) {
        if (slot.window == window) {
            if (now - slot.since > UNANSWERED_LIMIT_MS) {
                char caption[256] = "";
                GetWindowTextA(window, caption, sizeof caption);
                unanswered.push_back(caption);
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                PostMessageA(window, WM_CLOSE, 0, 0);
                slot.since = now;
            }
            return TRUE;
        }
        if (!freeSlot && (!slot.window || !IsWindow(slot.window))) freeSlot = &slot;
    }
    if (freeSlot) *freeSlot = {window, now};
    return TRUE;
}

static void CALLBACK AnswerTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (answering) return;
    answering = true;
    for (auto& answer : answers) {
        if (answer->seen) continue;
        DialogSearch search = {&answer->caption, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&search);
        if (search.found) {
            Answer(answer.get(), search.found);
            break;
        }
    }
    EnumThreadWindows(GetCurrentThreadId(), WatchDialog, 0);
    answering = false;
}

static void ArmAnswerTimer() {
    if (!answerTimer) answerTimer = SetTimer(nullptr, 0, 30, AnswerTimerProc);
}

std::vector<std::string> TakeUnansweredDialogs() {
    std::vector<std::string> taken;
    taken.swap(unanswered);
    return taken;
}

DialogAnswer* AnswerDialog(const std::string& caption, DialogAction action, int fieldId,
                           const std::string& typed) {
    answers.push_back(std::unique_ptr<DialogAnswer>(new DialogAnswer()));
    DialogAnswer* answer = answers.back().get();
    answer->caption = caption;
    answer->action = action;
    answer->fieldId = fieldId;
    answer->typed = typed;
    ArmAnswerTimer();
    return answer;
}

void ClearDialogAnswers() {
    answers.clear();  // the timer stays armed as the safety net
}

HDROP MakeDropHandle(const std::vector<std::string>& paths) {
    std::vector<wchar_t> list;
    for (const std::string& path : paths) {
        std::vector<wchar_t> wide(path.size() + 1);
        int length = WidenText(path.c_str(), wide.data(), (int)wide.size());
        list.insert(list.end(), wide.begin(), wide.begin() + (length < 0 ? 0 : length) + 1);
    }
    list.push_back(0);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return (HDROP)memory;
}

static INPUT MouseInput(int screenX, int screenY, DWORD buttons) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screenX, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screenY, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return input;
}

void RealMouse(int screenX, int screenY, DWORD buttons) {
    SetCursorPos(screenX, screenY);
    INPUT input = MouseInput(screenX, screenY, buttons);
    SendInput(1, &input, sizeof input);
    PumpProgramMessages();
}

void RealClick(int screenX, int screenY) {
    SetCursorPos(screenX, screenY);
    INPUT inputs[2] = {MouseInput(screenX, screenY, MOUSEEVENTF_LEFTDOWN),
                       MouseInput(screenX, screenY, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof inputs[0]);
    PumpProgramMessages();
}

void RealKey(int virtualKey, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = (WORD)virtualKey;
    input.ki.wScan = (WORD)MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
    PumpProgramMessages();
}

POINT CanvasToScreen(int x, int y) {
    POINT point = {x, y};
    ClientToScreen(CanvasWindow(), &point);
    return point;
}

std::string Cell(HWND list, int row, int column) {
    char text[64] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    return text;
}

int Rows(HWND list) {
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
    PumpProgramMessages();
}
