// The recording fake of the user interface.
#include "tests/native/ui_recorder.h"

#include <cstring>

static UiRecorder recorder;

static void Record(const char* what, int a = 0, int b = 0, const char* text = "",
                   const char* caption = "") {
    recorder.calls.push_back({what, a, b, text ? text : "", caption ? caption : ""});
}

static void OnStatus(int flags) {
    Record("status", flags);
}
static void OnVector(int mode) {
    Record("vector", mode);
}
static void OnFrame(int mode) {
    Record("frame", mode);
}
static void OnAppend(int index) {
    Record("append", index);
}
static void OnTruncate(int count) {
    Record("truncate", count);
}
static void OnRepaint() {
    Record("repaint");
}
static void OnMenu(int id, bool enabled) {
    Record("menu", id, enabled ? 1 : 0);
    if (id >= 0 && id < COMMAND_ID_END) recorder.menuEnabled[id] = enabled;
}
static int OnSelected(int* first, int* last) {
    if (recorder.selectedFirst < 0) return 0;
    *first = recorder.selectedFirst;
    *last = recorder.selectedLast;
    return 1;
}
static int OnPrompt(UiWindow, const ValuePromptRequest* request) {
    recorder.lastPromptRequest = *request;
    recorder.lastPromptInitial = Prompt::value;
    Record("prompt", 0, 0, request->caption, request->prompt);
    if (recorder.promptReplies.empty()) return PROMPT_CANCEL;
    UiRecorder::PromptReply reply = recorder.promptReplies.front();
    recorder.promptReplies.erase(recorder.promptReplies.begin());
    if (!reply.ok) return PROMPT_CANCEL;
    // The dialog keeps at most 19 characters.
    std::strncpy(Prompt::value, reply.text.c_str(), PROMPT_VALUE_LENGTH - 1);
    Prompt::value[PROMPT_VALUE_LENGTH - 1] = 0;
    return PROMPT_OK;
}
static void OnWarning(UiWindow, const char* text, const char* caption) {
    Record("warning", 0, 0, text, caption);
}
static int OnAsk(UiWindow, const char* text, const char* caption) {
    Record("ask", 0, 0, text, caption);
    if (recorder.askReplies.empty()) return ANSWER_CANCEL;
    int answer = recorder.askReplies.front();
    recorder.askReplies.erase(recorder.askReplies.begin());
    return answer;
}
static void OnBeep() {
    Record("beep");
}

int UiRecorder::Count(const std::string& what) const {
    int n = 0;
    for (const RecordedCall& call : calls) n += (call.what == what);
    return n;
}

int UiRecorder::Count(const std::string& what, int a) const {
    int n = 0;
    for (const RecordedCall& call : calls) n += (call.what == what && call.a == a);
    return n;
}

std::string MenuCall(int commandId, bool enabled) {
    return "menu:" + std::to_string(commandId) + (enabled ? "+" : "-");
}

std::vector<std::string> UiRecorder::Sequence() const {
    std::vector<std::string> out;
    for (const RecordedCall& call : calls) {
        if (call.what == "menu")
            out.push_back(MenuCall(call.a, call.b != 0));
        else
            out.push_back(call.what + ":" + std::to_string(call.a));
    }
    return out;
}

std::string UiRecorder::OnlyWarning() const {
    if (Count("warning") != 1) return "<" + std::to_string(Count("warning")) + " warnings>";
    for (const RecordedCall& call : calls)
        if (call.what == "warning") return call.caption + "|" + call.text;
    return "";
}

UiRecorder* InstallUiRecorder() {
    recorder.calls.clear();
    recorder.promptReplies.clear();
    recorder.askReplies.clear();
    recorder.lastPromptInitial.clear();
    recorder.selectedFirst = recorder.selectedLast = -1;
    std::memset(recorder.menuEnabled, 0, sizeof recorder.menuEnabled);
    UiPort port = {};
    port.refreshStatus = OnStatus;
    port.refreshVectorTable = OnVector;
    port.refreshFrameTable = OnFrame;
    port.appendVectorRow = OnAppend;
    port.truncateVectorRows = OnTruncate;
    port.selectedFrameRange = OnSelected;
    port.repaintCanvas = OnRepaint;
    port.enableMenuItem = OnMenu;
    port.valuePrompt = OnPrompt;
    port.warningBox = OnWarning;
    port.askYesNoCancel = OnAsk;
    port.beep = OnBeep;
    uiPort = port;
    return &recorder;
}
