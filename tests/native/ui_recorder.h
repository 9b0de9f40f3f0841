// A fake user interface for native tests: installs itself as the UiPort,
// records every request the portable code makes, and answers prompts and
// questions from scripted replies.
#pragma once

#include <string>
#include <vector>

#include "document/command_ids.h"
#include "document/ui_port.h"

// Past the highest command id.
enum { COMMAND_ID_END = CMD_CHANGE_BLANKING_DELAY + 1 };

struct RecordedCall {
    std::string what;  // "status", "vector", "frame", "append", "truncate", "repaint",
                       // "menu", "prompt", "warning", "ask", "beep"
    int a;             // flags, mode, index, command id ...
    int b;             // enabled flag for "menu"
    std::string text;  // prompt caption, message text
    std::string caption;
};

struct UiRecorder {
    std::vector<RecordedCall> calls;
    // Scripted prompt answers: each entry is consumed by one prompt. An entry
    // of nullptr-equivalent (cancel == true) cancels.
    struct PromptReply {
        bool ok;
        std::string text;
    };
    std::vector<PromptReply> promptReplies;
    std::vector<int> askReplies;  // ANSWER_YES / ANSWER_NO / ANSWER_CANCEL
    // What the last prompt was opened with.
    std::string lastPromptInitial;
    ValuePromptRequest lastPromptRequest = {nullptr, nullptr, false};
    int selectedFirst = -1, selectedLast = -1;  // SelectedFrameRange answer; -1 = none
    bool menuEnabled[COMMAND_ID_END] = {};

    void Clear() { calls.clear(); }
    int Count(const std::string& what) const;
    int Count(const std::string& what, int a) const;
    bool Has(const std::string& what, int a) const { return Count(what, a) > 0; }
    // Calls of kind what in order, as "what:a" strings, for sequence checks.
    std::vector<std::string> Sequence() const;
    // The one warning given, as "caption|text"; "<N warnings>" otherwise.
    std::string OnlyWarning() const;
};

// A menu item enabled or grayed as Sequence shows it: "menu:40010+".
std::string MenuCall(int commandId, bool enabled);

// Installs a fresh recorder as the UiPort and returns it.
UiRecorder* InstallUiRecorder();
