// Forwarders from the portable code to whichever user interface is installed.
#include "document/ui_port.h"

UiPort uiPort = {};

namespace Prompt {
char value[PROMPT_VALUE_LENGTH];
}

void RefreshStatus(int flags) {
    if (uiPort.refreshStatus) uiPort.refreshStatus(flags);
}
void RefreshVectorTable(int mode) {
    if (uiPort.refreshVectorTable) uiPort.refreshVectorTable(mode);
}
void RefreshFrameTable(int mode) {
    if (uiPort.refreshFrameTable) uiPort.refreshFrameTable(mode);
}
void AppendVectorRow(int index) {
    if (uiPort.appendVectorRow) uiPort.appendVectorRow(index);
}
void TruncateVectorRows(int count) {
    if (uiPort.truncateVectorRows) uiPort.truncateVectorRows(count);
}
int SelectedFrameRange(int* first, int* last) {
    if (!uiPort.selectedFrameRange) return 0;
    return uiPort.selectedFrameRange(first, last);
}
void RepaintCanvas() {
    if (uiPort.repaintCanvas) uiPort.repaintCanvas();
}
void EnableCommand(int commandId, bool enabled) {
    if (uiPort.enableMenuItem) uiPort.enableMenuItem(commandId, enabled);
}
int ValuePrompt(UiWindow owner, const ValuePromptRequest* request) {
    if (!uiPort.valuePrompt) return PROMPT_CANCEL;
    return uiPort.valuePrompt(owner, request);
}
void ShowWarning(UiWindow owner, const char* text, const char* caption) {
    if (!uiPort.warningBox || !BeginModalStep(owner)) return;
    uiPort.warningBox(owner, text, caption);
    EndModalStep();
}
void ShowFileWarning(UiWindow owner, const char* path, const char* text, const char* caption,
                     int cause) {
    if (uiPort.fileWarning)
        uiPort.fileWarning(owner, path, text, caption, cause);
    else
        ShowWarning(owner, text, caption);
}
int AskYesNoCancel(UiWindow owner, const char* text, const char* caption) {
    if (!uiPort.askYesNoCancel || !BeginModalStep(owner)) return ANSWER_CANCEL;
    int answer = uiPort.askYesNoCancel(owner, text, caption);
    EndModalStep();
    return answer;
}
void Beep() {
    if (uiPort.beep) uiPort.beep();
}
int BeginModalStep(UiWindow owner) {
    return uiPort.beginModalStep ? uiPort.beginModalStep(owner) : 1;
}
void EndModalStep() {
    if (uiPort.endModalStep) uiPort.endModalStep();
}
