// Drives the system's file dialogs and message boxes from inside their own
// modal loops: a thread timer finds the dialog by its caption among this
// thread's top-level "#32770" windows and performs the next scripted step.
// Anything that comes up unscripted is recorded and cancelled, so a test
// never hangs on a dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum DialogStepKind {
    DIALOG_TYPE_NAME,    // put text into the file-name box
    DIALOG_SWITCH_TYPE,  // pick file type number (1-based) as the user would
    DIALOG_READ_NAME,    // record the file-name box text
    DIALOG_READ_TYPE,    // record the selected file type number
    DIALOG_PRESS,        // click the button with this id (IDOK, IDCANCEL, IDYES, IDNO)
    DIALOG_ACT           // run a test's action while the dialog is up
};

struct DialogStep {
    std::string caption;
    DialogStepKind action;
    std::string text;
    int number;
    std::function<void(HWND dialog)> act;  // for DIALOG_ACT
};

struct DialogRecord {
    std::vector<std::string> names;       // by DIALOG_READ_NAME, in order
    std::vector<int> types;               // by DIALOG_READ_TYPE, in order
    std::vector<std::string> pressed;     // "caption|box text" of every box a button was pressed in
    std::vector<std::string> unscripted;  // captions of dialogs nobody expected
    size_t stepsLeft = 0;
};

DialogStep TypeName(const std::string& caption, const std::string& name);
DialogStep SwitchType(const std::string& caption, int type);
DialogStep ReadName(const std::string& caption);
DialogStep ReadType(const std::string& caption);
DialogStep Press(const std::string& caption, int button);
// Runs the action from inside the dialog's modal loop, once it is up.
DialogStep WhileUp(const std::string& caption, std::function<void(HWND dialog)> act);

// Arms the driver with a script; an empty script still cancels anything
// that shows up.
void StartDialogScript(const std::vector<DialogStep>& steps);
// Disarms it and tells what happened.
DialogRecord FinishDialogScript();

// A folder of its own under Z:\tmp for each test, and file helpers there.
// Names and texts are UTF-8 throughout, in any script.
std::string MakeTestFolder();
void RemoveTestFolder(const std::string& folder);
std::string ReadFileBytes(const std::string& path);  // "<missing>" when absent
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// A CSV file of two frames whose second holds 3005 point lines, as another
// program's writer with no limit on a frame would make it: the editor reads
// it in part and warns once.
std::string LongFrameCsv();

// Names outside one Windows code page or another, in UTF-8: a Japanese one,
// which the Western code page cannot hold, and one with Latin accents,
// which the Japanese one cannot. The tests of names run under both locales.
extern const char* const NamesInOtherScripts[2];
