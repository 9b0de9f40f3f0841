// Every modal step of a command (the file dialogs, the unsaved-changes
// questions, the readers' and writers' warnings, the Load Image dialog and
// its message, the About box) holds the rest of the program back: with both
// tables open, a click on a Frame Table row and on a Vector Table row,
// Delete sent to each list and a click on the canvas while the step is up
// change nothing, nor do row states, canvas presses, commands, a dropped
// file or a close sent straight to the windows. Each case runs its command
// twice from the same start, once only answering the step and once trying
// all of that first, and the two must leave the same document, panes, rows
// and modified state.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/shell_handles_win32.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

namespace {

// How the document starts: six frames "Fr0" to "Fr5", frame f of f + 1
// points, frame 0 current.
enum { SAVED, MODIFIED, BLANK_LAST };

// The document, and the files the commands meet: two frames as the
// program's own CSV writer writes them, a frame too long for the editor, and
// a text file named as a bitmap, as a user's renamed file would be.
void MakeStart(int start, const std::string& folder) {
    MakeFrames({"Fr0", "Fr1", "Fr2", "Fr3", "Fr4", "Fr5"}, 1);
    if (start == BLANK_LAST) frameStore.pointCounts[5] = 0;  // ILDA cannot hold it
    if (start != SAVED) SetDocumentModified(true);
    WriteFileBytes(folder + "\\in.csv", "VECTOR,20000,5\r\nIn1\r\n1,5,6\r\n+\r\nIn2\r\n0,7,8\r\n");
    WriteFileBytes(folder + "\\long.csv", LongFrameCsv());
    WriteFileBytes(folder + "\\note.bmp", "not a picture");
}

struct ModalStepCase {
    const char* name;
    int start;
    int command;
    // A file dialog on the way: the file type picked (0: as it is) and the
    // file's name typed, then confirmed unless the dialog is the step.
    const char* dialog;
    int type;
    const char* file;
    const char* step;  // the step's caption
    int answer;        // the button pressed in it
    // What the command alone leaves:
    int frames;
    bool modified;
    bool writes;  // the file
};

const ModalStepCase cases[] = {
    {"OpenFramesDialog", SAVED, CMD_OPEN_FRAMES, "Open Frames", 0, "in.csv", "Open Frames", IDOK, 2,
     false, false},
    {"InsertFramesDialog", SAVED, CMD_INSERT_FRAMES, "Insert Frames", 0, "in.csv", "Insert Frames",
     IDOK, 8, true, false},
    {"SaveDialog", SAVED, CMD_SAVE_FRAMES_AS, "Save Frames", 0, "show.csv", "Save Frames", IDOK, 6,
     false, true},
    {"OpenFrameQuestion", MODIFIED, CMD_OPEN_FRAMES, "", 0, "", "Open Frame", IDCANCEL, 6, true,
     false},
    {"ExitProgramQuestion", MODIFIED, CMD_EXIT, "", 0, "", "Exit Program", IDCANCEL, 6, true,
     false},
    {"ReaderWarning", SAVED, CMD_OPEN_FRAMES, "Open Frames", 0, "long.csv", "Loading Frames", IDOK,
     2, false, false},
    {"WriterWarning", BLANK_LAST, CMD_SAVE_FRAMES_AS, "Save Frames", 2, "show.ild", "Saving Frames",
     IDOK, 6, true, false},
    {"LoadImageDialog", SAVED, CMD_LOAD_PICTURE, "", 0, "", "Load Template Image", IDCANCEL, 6,
     false, false},
    {"LoadImageMessage", SAVED, CMD_LOAD_PICTURE, "Load Template Image", 0, "note.bmp",
     "Load Image", IDOK, 6, false, false},
    {"AboutBox", MODIFIED, CMD_ABOUT, "", 0, "", "Version", IDOK, 6, true, false},
};

std::vector<DialogStep> StepsBefore(const ModalStepCase& c, const std::string& folder) {
    std::vector<DialogStep> steps;
    if (!c.dialog[0]) return steps;
    if (c.type) steps.push_back(SwitchType(c.dialog, c.type));
    steps.push_back(TypeName(c.dialog, folder + "\\" + c.file));
    if (std::strcmp(c.dialog, c.step) != 0) steps.push_back(Press(c.dialog, IDOK));
    return steps;
}

// Where the user's clicks land: a Frame Table row, a Vector Table row and
// the canvas, none of them under another window.
struct Targets {
    POINT frameRow, vectorRow, canvas;
};

POINT RowCentre(HWND list, int row) {
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&rect);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &centre);
    return centre;
}

bool InRect(const RECT& rect, POINT point) {
    return PtInRect(&rect, point) != 0;
}

// Both tables open side by side over the canvas's top left.
Targets OpenBothTables() {
    PressKey('T', true);
    PressKey('F', true);
    RECT frames;
    GetWindowRect(frameTableWindow, &frames);
    SetWindowPos(vectorTableWindow, nullptr, frames.right + 10, frames.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpProgramMessages();
    RECT canvas;
    GetClientRect(CanvasWindow(), &canvas);
    Targets targets = {RowCentre(frameList, 3), RowCentre(vectorList, 0),
                       CanvasToScreen(canvas.right - 60, canvas.bottom - 60)};
    return targets;
}

// Moves the step's window to the screen's top right corner, away from the
// targets, and tells whether it keeps clear of them.
bool MoveAside(HWND dialog, const Targets& targets) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    int width = rect.right - rect.left;
    SetWindowPos(dialog, nullptr, GetSystemMetrics(SM_CXSCREEN) - width, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(dialog, &rect);
    return !InRect(rect, targets.frameRow) && !InRect(rect, targets.vectorRow) &&
           !InRect(rect, targets.canvas);
}

void SendDelete(HWND list) {
    PostMessageA(list, WM_KEYDOWN, VK_DELETE, 1);
    PostMessageA(list, WM_KEYUP, VK_DELETE, 1 | (3u << 30));
    PumpProgramMessages();
}

// What the user tries while a step is up, then the same sent straight to the
// windows as other code could send it, past their being disabled.
void TryEverything(const Targets& targets, const std::string& dropped) {
    RealClick(targets.frameRow.x, targets.frameRow.y);
    SendDelete(frameList);
    RealClick(targets.vectorRow.x, targets.vectorRow.y);
    SendDelete(vectorList);
    RealClick(targets.canvas.x, targets.canvas.y);

    SetRowState(frameList, 3, LVIS_FOCUSED, LVIS_FOCUSED);
    SetRowState(vectorList, 0, LVIS_SELECTED, LVIS_SELECTED);
    POINT at = targets.canvas;
    ScreenToClient(CanvasWindow(), &at);
    PostMessageA(CanvasWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(CanvasWindow(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    SendCommand(CMD_DELETE_CURRENT_FRAME);
    SendCommand(CMD_CHANGE_SCAN_SPEED);  // its prompt would be left unanswered
    HWND main = ProgramWindow();
    SendMessageA(main, WM_DROPFILES, (WPARAM)MakeDropHandle({dropped}), 0);
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), FALSE);
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main));
}

// Each row's number with its state: "3fs" focused and selected.
std::string RowStates(HWND list) {
    std::string text = std::to_string(Rows(list)) + " rows:";
    for (int row = 0; row < Rows(list); ++row) {
        UINT state = (UINT)SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_FOCUSED | LVIS_SELECTED);
        if (!state) continue;
        text += " " + std::to_string(row) + (state & LVIS_FOCUSED ? "f" : "") +
                (state & LVIS_SELECTED ? "s" : "");
    }
    return text;
}

std::string PointsText(const VectorPoint* points, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += " " + std::to_string(points[i].flags) + "," + std::to_string(points[i].x) + "," +
                std::to_string(points[i].y);
    return text;
}

// What a command left, as one text so that a difference reads plainly.
std::string WhatIsLeft(const std::string& folder, const char* written) {
    std::string text = "frames " + std::to_string(frameStore.numFrames) + ", current " +
                       std::to_string(frameStore.currentFrame) + ", modified " +
                       std::to_string(documentModified) + ", Save grayed " +
                       std::to_string(MenuItemGrayed(CMD_SAVE_FRAMES)) + ", Clear Picture grayed " +
                       std::to_string(MenuItemGrayed(CMD_CLEAR_PICTURE)) + "\n";
    for (int f = 0; f < frameStore.numFrames && f < MAX_FRAMES; ++f)
        text += std::string(frameStore.frameNames[f].bytes, FRAME_NAME_LENGTH) + ":" +
                PointsText(frameStore.frames[f], frameStore.pointCounts[f]) + "\n";
    text += "working:" + PointsText(workingFrame.points, workingFrame.count) + "\n";
    text += "panes: " + PaneText(0) + " | " + PaneText(1) + " | title " + MainWindowTitle() + "\n";
    text += "Frame Table " + RowStates(frameList) + "\n";
    text += "Vector Table " + RowStates(vectorList) + "\n";
    if (written[0]) text += "file: " + ReadFileBytes(folder + "\\" + written).substr(0, 200);
    return text;
}

void PrintTo(const ModalStepCase& c, std::ostream* out) {
    *out << c.name;
}

class ModalStepTest : public ::testing::TestWithParam<ModalStepCase> {
protected:
    void TearDown() override {
        FinishDialogScript();
        ResetProgramState();
    }

    // Runs the case from a fresh start; with interfere, tries the clicks and
    // keys while its step is up.
    std::string Run(bool interfere) {
        const ModalStepCase& c = GetParam();
        ResetProgramState();
        std::string folder = MakeTestFolder();
        MakeStart(c.start, folder);
        RefreshStatus(STATUS_TITLE | STATUS_PANES);
        Targets targets = OpenBothTables();
        EXPECT_EQ(WindowFromPoint(targets.frameRow), frameList);
        EXPECT_EQ(WindowFromPoint(targets.vectorRow), vectorList);
        EXPECT_EQ(WindowFromPoint(targets.canvas), CanvasWindow());

        std::vector<DialogStep> steps = StepsBefore(c, folder);
        bool clear = true, tablesEnabled = false;
        if (interfere) {
            steps.push_back(WhileUp(c.step, [&](HWND dialog) {
                clear = MoveAside(dialog, targets);
                tablesEnabled =
                    IsWindowEnabled(frameTableWindow) || IsWindowEnabled(vectorTableWindow);
                TryEverything(targets, folder + "\\in.csv");
            }));
        }
        steps.push_back(Press(c.step, c.answer));
        StartDialogScript(steps);
        SendCommand(c.command);
        PumpProgramMessages();
        DialogRecord record = FinishDialogScript();
        EXPECT_EQ(record.stepsLeft, 0u);
        EXPECT_TRUE(record.unscripted.empty()) << record.unscripted[0];
        EXPECT_TRUE(TakeUnansweredDialogs().empty());
        EXPECT_TRUE(clear) << "the step's window lies over a target";
        EXPECT_FALSE(tablesEnabled) << "a table took input while the step was up";
        EXPECT_TRUE(IsWindowEnabled(ProgramWindow()));
        EXPECT_TRUE(IsWindowEnabled(frameTableWindow));
        EXPECT_TRUE(IsWindowEnabled(vectorTableWindow));
        std::string left = WhatIsLeft(folder, c.writes ? c.file : "");
        RemoveTestFolder(folder);
        return left;
    }
};

TEST_P(ModalStepTest, NothingButTheStepActsWhileItIsUp) {
    const ModalStepCase& c = GetParam();
    std::string alone = Run(false);
    EXPECT_EQ(frameStore.numFrames, c.frames);
    EXPECT_EQ(documentModified, c.modified);
    if (c.writes) {
        EXPECT_EQ(alone.find("<missing>"), std::string::npos) << "nothing written";
    }
    std::string tried = Run(true);
    EXPECT_EQ(tried, alone);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ModalStepTest, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<ModalStepCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
