// The one interface through which the document, the formats and the plain
// canvas and file logic reach the user interface. The shell fills it in at
// start-up; native tests install a recorder. Every entry may be left null,
// in which case the request is dropped (and a prompt counts as cancelled).
#pragma once

// Opaque handle of the window that owns a prompt or message box.
typedef void* UiWindow;

enum { STATUS_TITLE = 1, STATUS_PANES = 2 };
enum { VT_REBUILD = 0, VT_REBUILD_KEEP_TOP = 1, VT_UPDATE_VALUES = 2 };
enum { FT_FOCUS_CURRENT = 0, FT_REBUILD = 1 };

enum { PROMPT_VALUE_LENGTH = 20 };
enum { PROMPT_OK = 1, PROMPT_CANCEL = 2 };
enum { ANSWER_YES = 6, ANSWER_NO = 7, ANSWER_CANCEL = 2 };  // IDYES, IDNO, IDCANCEL

struct ValuePromptRequest {
    const char* caption;
    const char* prompt;
    bool textField;  // true: left-aligned text field; false: number field
};

namespace Prompt {
// Shared by every caller: the initial text going in, the entered text after OK.
extern char value[PROMPT_VALUE_LENGTH];
}  // namespace Prompt

struct UiPort {
    void (*refreshStatus)(int flags);
    void (*refreshVectorTable)(int mode);
    void (*refreshFrameTable)(int mode);
    void (*appendVectorRow)(int index);
    void (*truncateVectorRows)(int count);
    // 1 with the first and last selected Frame Table rows; 0 when closed or none.
    int (*selectedFrameRange)(int* first, int* last);
    void (*repaintCanvas)();
    void (*enableMenuItem)(int commandId, bool enabled);
    // PROMPT_OK or anything else (treated as cancel).
    int (*valuePrompt)(UiWindow owner, const ValuePromptRequest* request);
    // Warning icon, single OK button.
    void (*warningBox)(UiWindow owner, const char* text, const char* caption);
    // A warning about one file, with the reason the system gave (an errno
    // value, 0 for none), for a program that can name both (the converter).
    // When null, the warning goes to warningBox as the text alone: the
    // editor's message boxes say exactly what they always said.
    void (*fileWarning)(UiWindow owner, const char* path, const char* text, const char* caption,
                        int cause);
    // Warning icon, Yes/No/Cancel; returns ANSWER_YES, ANSWER_NO or ANSWER_CANCEL.
    int (*askYesNoCancel)(UiWindow owner, const char* text, const char* caption);
    void (*beep)();
    // Around each file dialog and message box: while one is open nothing
    // else acts on the document. Begin gives 0 when the step must not be
    // shown (and not ended); left null, every step may be shown.
    int (*beginModalStep)(UiWindow owner);
    void (*endModalStep)();
};

extern UiPort uiPort;

// Thin forwarders used throughout the code.
void RefreshStatus(int flags);
void RefreshVectorTable(int mode);
void RefreshFrameTable(int mode);
void AppendVectorRow(int index);
void TruncateVectorRows(int count);
int SelectedFrameRange(int* first, int* last);
void RepaintCanvas();
void EnableCommand(int commandId, bool enabled);
int ValuePrompt(UiWindow owner, const ValuePromptRequest* request);
// Both run as modal steps, between BeginModalStep and EndModalStep.
void ShowWarning(UiWindow owner, const char* text, const char* caption);
// A warning said where it is made, with the file it concerns and why.
void ShowFileWarning(UiWindow owner, const char* path, const char* text, const char* caption,
                     int cause);
int AskYesNoCancel(UiWindow owner, const char* text, const char* caption);
void Beep();
// Every modal call that does not come through the port's own prompts and
// message boxes is made between these two: 1 when it may be made, and then
// EndModalStep once it has returned.
int BeginModalStep(UiWindow owner);
void EndModalStep();
