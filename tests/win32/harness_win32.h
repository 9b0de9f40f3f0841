// Test harness for the Win32 suite: the real program, started once per
// process through its real start-up code, driven through its real loop.
//
//   TEST(Something, Works) {
//       ResetProgramState();                 // fresh document, view, menus, title
//       PressKey(VK_RIGHT);                  // posted to the focus, through the
//                                            // accelerators of the real loop
//       SendCommand(CMD_CHANGE_SCAN_SPEED);  // as a menu click would
//       EXPECT_EQ(PaneText(1), "Frame: 1/0");
//   }
//
// Modal dialogs and message boxes nest inside a command, so answer them
// before sending it. An answer waits (on a thread timer, which also fires
// inside nested modal loops) for a dialog of class "#32770" with the given
// caption, records what it shows, optionally types into a field, and then
// presses a button, sends a key, or uses the close box:
//
//   DialogAnswer* a = AnswerDialog("Change Speed", ClickButton(IDOK),
//                                  IDC_PROMPT_NUMBER_FIELD, "12345");
//   SendCommand(CMD_CHANGE_SCAN_SPEED);
//   EXPECT_TRUE(a->seen);
//   EXPECT_EQ(a->FieldText(IDC_PROMPT_NUMBER_FIELD), "30000");  // what it held on opening
//   ClearDialogAnswers();                     // drops the unseen ones
//
// Several answers can be queued; each is used once, in order of arrival.
// A custom action (for the common file dialogs, say) can be given instead.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Starts the shell the first time (and again if a test closed it); returns
// the main window.
HWND ProgramWindow();

// Stores frames with the given names, frame f holding f + firstPoints beam-on
// points, point i at (10 f + i, -i); frame 0 is then current.
void MakeFrames(std::initializer_list<const char*> names, int firstPoints);

// Puts the program back into its start state: document, file name, view,
// gesture, template picture, tool windows closed, menu as in the resource,
// the program's own UI port installed, title and panes refreshed, no
// pending dialog answers.
void ResetProgramState();

// Runs every pending message through the program's loop step.
void PumpProgramMessages();

// Posts key down/up to the window with the focus (the main window when
// none) with Ctrl/Shift held in the keyboard state, and pumps it through the
// program's loop step.
void PressKey(int virtualKey, bool ctrl = false, bool shift = false);
// Sends WM_COMMAND with the id to the main window, as a menu click does.
void SendCommand(int commandId);

// Input as the system's input queue delivers it (to the window under the
// pointer, or to the window holding the mouse): the pointer moves to the
// screen position, then the MOUSEEVENTF_ button flags are pressed or
// released there. Pumps the program's loop afterwards.
void RealMouse(int screenX, int screenY, DWORD buttons = 0);
void RealKey(int virtualKey, bool down);
// A left click at the screen position, press and release queued together:
// a list view that waits for the release inside its press finds it there.
void RealClick(int screenX, int screenY);
// Screen position of a canvas client position.
POINT CanvasToScreen(int x, int y);

// A list view as the user sees it: a cell's text, the number of rows, and a
// row's state set as a click or a key would (the notifications it raises are
// handled before this returns).
std::string Cell(HWND list, int row, int column);
int Rows(HWND list);
void SetRowState(HWND list, int row, UINT state, UINT mask);

// The text of a status bar pane, read with SB_GETTEXTA (named apart from
// the canvas host's StatusPaneText, which reads its own status bar).
std::string PaneText(int pane);

// A drop handle as the shell builds one for WM_DROPFILES, the paths (given
// in UTF-8) in UTF-16. The receiver releases it (DragFinish).
HDROP MakeDropHandle(const std::vector<std::string>& paths);
std::string MainWindowTitle();  // in UTF-8
bool MenuItemGrayed(int commandId);

// One control of a dialog as it was when the dialog was found.
struct DialogControl {
    int id;
    std::string className;
    std::string text;
    bool visible;
    RECT screenRect;
};

enum AnswerKind { ANSWER_CLICK, ANSWER_KEY, ANSWER_CLOSE_BOX, ANSWER_CUSTOM };

struct DialogAction {
    AnswerKind kind;
    int value;  // button id for ANSWER_CLICK, virtual key for ANSWER_KEY
    std::function<void(HWND dialog)> custom;
};
DialogAction ClickButton(int buttonId);
DialogAction PressDialogKey(int virtualKey);  // sent to the dialog's focused control
DialogAction UseCloseBox();
DialogAction CustomAction(std::function<void(HWND dialog)> act);

struct DialogAnswer {
    std::string caption;
    DialogAction action;
    int fieldId;  // 0: type nothing
    std::string typed;
    // Recorded when found:
    bool seen = false;
    RECT windowRect = {};
    std::vector<DialogControl> controls;
    std::string focusedClass;
    int focusedId = 0;
    // Text of the first control with this id; "" when absent.
    std::string FieldText(int id) const;
    bool FieldVisible(int id) const;
    // All static texts joined with "\n" (a message box's message).
    std::string StaticText() const;
};

// Queues an answer; the pointer stays valid until ClearDialogAnswers.
DialogAnswer* AnswerDialog(const std::string& caption, DialogAction action, int fieldId = 0,
                           const std::string& typed = "");
void ClearDialogAnswers();

// A dialog of class "#32770" that stays unanswered for four seconds is
// cancelled and its caption kept here (so a test fails instead of hanging).
std::vector<std::string> TakeUnansweredDialogs();

// Half-width katakana for Cancel as the dialog templates carry it.
extern const wchar_t* const KatakanaCancel;
