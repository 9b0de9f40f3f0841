// The scripted driver of file dialogs and message boxes, and the test
// folder helpers.
#include "tests/win32/file_dialog_driver.h"

#include <cstdio>

#include "formats/utf16_text.h"

enum {
    FILE_TYPE_COMBO = 1136,  // cmb1
    FILE_NAME_COMBO = 1148,  // cmb13
    FILE_NAME_EDIT = 1152,   // edt1
    BOX_TEXT = 0xFFFF,       // the message text of a message box
    TICK_MS = 40,
    PATIENCE_TICKS = 250,  // ten seconds without progress gives up
    UNSCRIPTED_TICKS = 25  // an unexpected dialog may linger a second
};

static std::vector<DialogStep> script;
static size_t nextStep = 0;
static DialogRecord record;
static UINT_PTR timer = 0;
static int idleTicks = 0;
static bool inTick = false;
// The dialog the last step acted on: pressed, it may take a while to close
// on a busy machine, and is no unexpected dialog meanwhile.
static HWND answeredDialog = nullptr;

DialogStep TypeName(const std::string& caption, const std::string& name) {
    return {caption, DIALOG_TYPE_NAME, name, 0, nullptr};
}
DialogStep SwitchType(const std::string& caption, int type) {
    return {caption, DIALOG_SWITCH_TYPE, "", type, nullptr};
}
DialogStep ReadName(const std::string& caption) {
    return {caption, DIALOG_READ_NAME, "", 0, nullptr};
}
DialogStep ReadType(const std::string& caption) {
    return {caption, DIALOG_READ_TYPE, "", 0, nullptr};
}
DialogStep Press(const std::string& caption, int button) {
    return {caption, DIALOG_PRESS, "", button, nullptr};
}
DialogStep WhileUp(const std::string& caption, std::function<void(HWND dialog)> act) {
    return {caption, DIALOG_ACT, "", 0, act};
}

struct Search {
    const char* caption;  // null: any dialog
    HWND found;
};

static BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
    Search* search = (Search*)param;
    char className[32] = {}, caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0) return TRUE;
    // A dialog that owns an open message box is disabled; the box is the one.
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    GetWindowTextA(window, caption, sizeof caption);
    if (search->caption && lstrcmpA(caption, search->caption) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

static HWND FindDialog(const char* caption) {
    Search search = {caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), CheckWindow, (LPARAM)&search);
    return search.found;
}

static HWND NameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, FILE_NAME_EDIT);
    return box ? box : GetDlgItem(dialog, FILE_NAME_COMBO);
}

// Texts in UTF-8, so that names in any script are seen as they are.
static std::string TextOf(HWND window) {
    wchar_t wide[1024] = {};
    if (window) GetWindowTextW(window, wide, 1024);
    char text[3 * 1024];
    return NarrowText(wide, text, sizeof text) >= 0 ? text : "<not UTF-16>";
}

static std::wstring Wide(const std::string& text) {
    std::vector<wchar_t> wide(text.size() + 1);
    return WidenText(text.c_str(), wide.data(), (int)wide.size()) >= 0 ? wide.data() : L"";
}

static void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

// 1 when the step was done; 0 when its dialog is not ready yet.
static int Perform(HWND dialog, const DialogStep& step) {
    switch (step.action) {
        case DIALOG_TYPE_NAME: {
            HWND box = NameBox(dialog);
            if (!box) return 0;
            SetWindowTextW(box, Wide(step.text).c_str());
            return 1;
        }
        case DIALOG_SWITCH_TYPE: {
            HWND combo = GetDlgItem(dialog, FILE_TYPE_COMBO);
            if (!combo) return 0;
            SendMessageA(combo, CB_SETCURSEL, step.number - 1, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(FILE_TYPE_COMBO, CBN_SELENDOK),
                         (LPARAM)combo);
            return 1;
        }
        case DIALOG_READ_NAME: {
            HWND box = NameBox(dialog);
            if (!box) return 0;
            record.names.push_back(TextOf(box));
            return 1;
        }
        case DIALOG_READ_TYPE: {
            HWND combo = GetDlgItem(dialog, FILE_TYPE_COMBO);
            if (!combo) return 0;
            record.types.push_back((int)SendMessageA(combo, CB_GETCURSEL, 0, 0) + 1);
            return 1;
        }
        case DIALOG_PRESS:
            if (!GetDlgItem(dialog, step.number)) return 0;
            record.pressed.push_back(step.caption + "|" + TextOf(GetDlgItem(dialog, BOX_TEXT)));
            PressButton(dialog, step.number);
            return 1;
        case DIALOG_ACT:
            if (step.act) step.act(dialog);
            return 1;
    }
    return 0;
}

// Gets rid of a dialog nobody scripted, or of everything after a timeout.
static void CancelDialog(HWND dialog) {
    record.unscripted.push_back(TextOf(dialog) + "|" + TextOf(GetDlgItem(dialog, BOX_TEXT)));
    if (GetDlgItem(dialog, IDCANCEL))
        PressButton(dialog, IDCANCEL);
    else if (GetDlgItem(dialog, IDNO))
        PressButton(dialog, IDNO);
    else
        PressButton(dialog, IDOK);
}

static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (inTick) return;
    inTick = true;
    ++idleTicks;
    if (nextStep < script.size()) {
        const DialogStep& step = script[nextStep];
        HWND dialog = FindDialog(step.caption.c_str());
        if (dialog && Perform(dialog, step)) {
            ++nextStep;
            idleTicks = 0;
            answeredDialog = dialog;
        } else if (idleTicks > PATIENCE_TICKS) {
            HWND any = FindDialog(nullptr);
            if (any) CancelDialog(any);
            idleTicks = PATIENCE_TICKS / 2;
        }
    } else if (idleTicks > UNSCRIPTED_TICKS) {
        HWND any = FindDialog(nullptr);
        if (any && (any != answeredDialog || idleTicks > PATIENCE_TICKS)) {
            CancelDialog(any);
            idleTicks = 0;
        } else if (!any) {
            idleTicks = 0;
        }
    }
    inTick = false;
}

void StartDialogScript(const std::vector<DialogStep>& steps) {
    if (timer) KillTimer(nullptr, timer);
    script = steps;
    nextStep = 0;
    record = DialogRecord();
    idleTicks = 0;
    answeredDialog = nullptr;
    timer = SetTimer(nullptr, 0, TICK_MS, Tick);
}

DialogRecord FinishDialogScript() {
    if (timer) KillTimer(nullptr, timer);
    timer = 0;
    record.stepsLeft = script.size() - nextStep;
    script.clear();
    return record;
}

std::string MakeTestFolder() {
    static int serial = 0;
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "Z:\\tmp\\quillon-files-%lu-%d",
                  (unsigned long)GetCurrentProcessId(), ++serial);
    CreateDirectoryA("Z:\\tmp", nullptr);
    CreateDirectoryA(folder, nullptr);
    // The dialogs open in the current folder; a small one keeps them quick.
    SetCurrentDirectoryA(folder);
    return folder;
}

void RemoveTestFolder(const std::string& folder) {
    SetCurrentDirectoryA("Z:\\tmp");
    const std::wstring wideFolder = Wide(folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wideFolder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((wideFolder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(wideFolder.c_str());
}

std::string ReadFileBytes(const std::string& path) {
    FILE* file = _wfopen(Wide(path).c_str(), L"rb");
    if (!file) return "<missing>";
    std::string bytes;
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    std::fclose(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* file = _wfopen(Wide(path).c_str(), L"wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LongFrameCsv() {
    std::string text = "VECTOR,30000,3\r\nshort\r\n1,1,1\r\n+\r\nlong\r\n";
    for (int i = 0; i < 3005; ++i) text += "1," + std::to_string(i) + ",0\r\n";
    return text;
}

const char* const NamesInOtherScripts[2] = {"\xE3\x82\xB7\xE3\x83\xA7\xE3\x83\xBC",  // ショー
                                            "Caf\xC3\xA9"};
