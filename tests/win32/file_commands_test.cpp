// The File menu's frame-file commands in the running program, through its
// menu commands and keys, the real dialogs and message boxes: what gets
// written, what is remembered, the title and the modified state, and the
// one warning of a file read in part.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "files/document_file.h"
#include "tables/frame_table_win32.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

namespace {

const char* const OPEN = "Open Frames";
const char* const INSERT = "Insert Frames";
const char* const SAVE = "Save Frames";
const char* const WRITE = "Write Frames";
const char* const QUESTION = "The changes have not been saved.\nDo you wish to save changes?";

// Three frames of one point each, frame 0 current and edited, unsaved.
void MakeDocument() {
    for (int f = 0; f < 3; ++f) {
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, (int16_t)(f + 1), (int16_t) - (f + 1)};
        StoreFrame(f, true);
        std::memcpy(frameStore.frameNames[f].bytes, "F", 1);
        frameStore.frameNames[f].bytes[1] = (char)('0' + f);
    }
    LoadFrame(0);
    workingFrame.points[workingFrame.count++] = {0, 9, -9};
    SetDocumentModified(true);
}

// The CSV the program writes for MakeDocument's frames first to last.
std::string DocumentCsv(int first, int last, bool edited = true) {
    std::string text = "VECTOR,30000,3\r\n";
    for (int f = first; f <= last; ++f) {
        if (f > first) text += "+\r\n";
        text += "F" + std::to_string(f) + std::string(14, ' ') + "\r\n";
        text += "1," + std::to_string(f + 1) + "," + std::to_string(f + 1) + "\r\n";
        if (f == 0 && edited) text += "0,9,9\r\n";
    }
    return text;
}

const char* const OTHER_CSV = "VECTOR,20000,5\r\nOther\r\n1,5,6\r\n+\r\nOther2\r\n0,7,8\r\n";

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        folder = MakeTestFolder();
    }
    void TearDown() override {
        FinishDialogScript();
        RemoveTestFolder(folder);
    }
    std::string Path(const char* name) const { return folder + "\\" + name; }
    // Runs a command with the dialogs scripted; fails on leftovers.
    DialogRecord Run(int command, const std::vector<DialogStep>& steps) {
        StartDialogScript(steps);
        SendCommand(command);
        PumpProgramMessages();
        DialogRecord seen = FinishDialogScript();
        EXPECT_EQ(seen.stepsLeft, 0u) << "command " << command;
        return seen;
    }

    std::string folder;
};

// ---- Saving -------------------------------------------------------------

TEST_F(FileCommandsTest, FirstSaveAsksThenTheSameFileIsRewrittenWithoutAsking) {
    MakeDocument();
    DialogRecord seen = Run(CMD_SAVE_FRAMES, {ReadName(SAVE), ReadType(SAVE),
                                              TypeName(SAVE, Path("show")), Press(SAVE, IDOK)});
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_EQ(seen.names, std::vector<std::string>{""});
    EXPECT_EQ(seen.types, std::vector<int>{1});
    EXPECT_EQ(ReadFileBytes(Path("show.csv")), DocumentCsv(0, 2));
    EXPECT_EQ(MainWindowTitle(), "show.csv - Quillon");
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES));

    // An edit, then Ctrl+S: no dialog, same file, new content.
    workingFrame.count = 1;
    SetDocumentModified(true);
    StartDialogScript({});
    PressKey('S', true);
    seen = FinishDialogScript();
    EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
    EXPECT_EQ(ReadFileBytes(Path("show.csv")), DocumentCsv(0, 2, false));
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "show.csv - Quillon");
}

TEST_F(FileCommandsTest, SaveAsOffersTheRememberedNameAndRenamesTheDocument) {
    MakeDocument();
    Run(CMD_SAVE_FRAMES, {TypeName(SAVE, Path("one.csv")), Press(SAVE, IDOK)});
    SetDocumentModified(true);
    DialogRecord seen = Run(
        CMD_SAVE_FRAMES_AS,
        {ReadName(SAVE), SwitchType(SAVE, 2), TypeName(SAVE, Path("two.ild")), Press(SAVE, IDOK)});
    ASSERT_EQ(seen.names.size(), 1u);
    EXPECT_NE(seen.names[0].find("one.csv"), std::string::npos) << seen.names[0];
    std::string ilda = ReadFileBytes(Path("two.ild"));
    ASSERT_GE(ilda.size(), 32u);
    EXPECT_EQ(ilda.substr(0, 8), std::string("ILDA\0\0\0\0", 8));
    EXPECT_EQ(MainWindowTitle(), "two.ild - Quillon");
    EXPECT_EQ(FilterIndex, 2);
    EXPECT_FALSE(documentModified);

    // Cancelled: title and state stay.
    SetDocumentModified(true);
    Run(CMD_SAVE_FRAMES_AS, {Press(SAVE, IDCANCEL)});
    EXPECT_EQ(MainWindowTitle(), "two.ild - Quillon");
    EXPECT_TRUE(documentModified);
}

TEST_F(FileCommandsTest, PackedExportLeavesTheDocumentModifiedAndTheTitleAlone) {
    MakeDocument();
    Run(CMD_SAVE_FRAMES, {TypeName(SAVE, Path("show.csv")), Press(SAVE, IDOK)});
    SetDocumentModified(true);
    DialogRecord seen = Run(
        CMD_SAVE_FRAMES_AS,
        {SwitchType(SAVE, 3), ReadName(SAVE), TypeName(SAVE, Path("out.frm")), Press(SAVE, IDOK)});
    EXPECT_TRUE(seen.unscripted.empty());
    std::string packed = ReadFileBytes(Path("out.frm"));
    // Header, then the four points of the three frames.
    ASSERT_EQ(packed.size(), 32u + 4 * 4);
    EXPECT_EQ(packed.substr(0, 4), "VD  ");
    EXPECT_EQ((unsigned char)packed[6], 4);
    EXPECT_EQ(packed.substr(16, 2), "F0");
    EXPECT_TRUE(documentModified);
    EXPECT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
    EXPECT_EQ(MainWindowTitle(), "show.csv - Quillon");
    EXPECT_EQ(DocumentPath, Path("show.csv"));
    EXPECT_EQ(FilterIndex, 1);
}

// ---- Write Selection As ---------------------------------------------------

TEST_F(FileCommandsTest, WriteSelectionWritesTheCurrentFrameAndChangesNothingElse) {
    MakeDocument();
    RememberDocumentFile(2, Path("show.ild").c_str(), "show.ild");
    RefreshStatus(STATUS_TITLE);
    SendCommand(CMD_NEXT_FRAME);  // stores frame 0's edit, frame 1 current
    StartDialogScript({ReadName(WRITE), ReadType(WRITE), SwitchType(WRITE, 1),
                       TypeName(WRITE, Path("sel.csv")), Press(WRITE, IDOK)});
    PressKey('W', true);
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_EQ(seen.names, std::vector<std::string>{""});
    EXPECT_EQ(seen.types, std::vector<int>{2});
    EXPECT_EQ(ReadFileBytes(Path("sel.csv")), DocumentCsv(1, 1));
    EXPECT_EQ(MainWindowTitle(), "show.ild - Quillon");
    EXPECT_EQ(DocumentPath, Path("show.ild"));
    EXPECT_STREQ(DocumentFileTitle, "show.ild");
    EXPECT_EQ(FilterIndex, 2);
    EXPECT_TRUE(documentModified);
}

TEST_F(FileCommandsTest, WriteSelectionTakesTheFrameTableRowsFirstToLast) {
    MakeDocument();
    for (int f = 3; f < 7; ++f) {
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, (int16_t)(f + 1), (int16_t) - (f + 1)};
        StoreFrame(f, true);
        frameStore.frameNames[f].bytes[0] = 'F';
        frameStore.frameNames[f].bytes[1] = (char)('0' + f);
    }
    LoadFrame(0);
    SetDocumentModified(false);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    ASSERT_NE(frameList, nullptr);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageA(frameList, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
    item.state = LVIS_SELECTED;
    SendMessageA(frameList, LVM_SETITEMSTATE, 2, (LPARAM)&item);
    SendMessageA(frameList, LVM_SETITEMSTATE, 5, (LPARAM)&item);
    Run(CMD_WRITE_SELECTION_AS, {TypeName(WRITE, Path("range.csv")), Press(WRITE, IDOK)});
    EXPECT_EQ(ReadFileBytes(Path("range.csv")), DocumentCsv(2, 5));
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "Quillon");
}

TEST_F(FileCommandsTest, WriteSelectionOverTheDocumentsOwnFileUnsavesIt) {
    MakeDocument();
    Run(CMD_SAVE_FRAMES, {TypeName(SAVE, Path("show.csv")), Press(SAVE, IDOK)});
    SendCommand(CMD_NEXT_FRAME);
    ASSERT_FALSE(documentModified);
    // Another file: the document stays saved.
    Run(CMD_WRITE_SELECTION_AS, {TypeName(WRITE, Path("other.csv")), Press(WRITE, IDOK)});
    EXPECT_EQ(ReadFileBytes(Path("other.csv")), DocumentCsv(1, 1));
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES));
    // The document's own file, typed relative to the dialog's folder and in
    // capitals: it now holds one frame, so the document is unsaved again.
    DialogRecord seen = Run(CMD_WRITE_SELECTION_AS,
                            {TypeName(WRITE, "SHOW.CSV"), Press(WRITE, IDOK), Press(WRITE, IDYES)});
    ASSERT_EQ(seen.pressed.size(), 2u);
    EXPECT_NE(seen.pressed[1].find("already exists"), std::string::npos) << seen.pressed[1];
    EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
    EXPECT_EQ(ReadFileBytes(Path("show.csv")), DocumentCsv(1, 1));
    EXPECT_TRUE(documentModified);
    EXPECT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
    EXPECT_EQ(MainWindowTitle(), "show.csv - Quillon");
}

// ---- Opening and inserting ------------------------------------------------

TEST_F(FileCommandsTest, OpenReplacesTheDocumentAndNamesItInTheTitle) {
    WriteFileBytes(Path("DATA.Csv"), OTHER_CSV);
    StartDialogScript({ReadType(OPEN), TypeName(OPEN, Path("DATA.Csv")), Press(OPEN, IDOK)});
    PressKey('O', true);
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_EQ(seen.types, std::vector<int>{1});
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(ScanSpeed, 20000);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(MainWindowTitle(), "DATA.Csv - Quillon");
    EXPECT_EQ(PaneText(1), "Frame: 1/2");
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(DocumentPath, Path("DATA.Csv"));
}

TEST_F(FileCommandsTest, OpenThroughAllFilesTakesOnlyFramesFilesAndKeepsTheType) {
    MakeDocument();
    SetDocumentModified(false);
    WriteFileBytes(Path("a.txt"), OTHER_CSV);
    WriteFileBytes(Path("b.frm"), OTHER_CSV);
    WriteFileBytes(Path("c.csv"), OTHER_CSV);
    // No reader for these: nothing happens and nothing is said.
    for (const char* name : {"a.txt", "b.frm"}) {
        DialogRecord seen = Run(
            CMD_OPEN_FRAMES, {SwitchType(OPEN, 3), TypeName(OPEN, Path(name)), Press(OPEN, IDOK)});
        EXPECT_TRUE(seen.unscripted.empty()) << name;
    }
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(MainWindowTitle(), "Quillon");
    EXPECT_EQ(FilterIndex, 1);
    // A CSV file through All Files: the next save starts on Packed files,
    // the save list's third entry.
    Run(CMD_OPEN_FRAMES, {SwitchType(OPEN, 3), TypeName(OPEN, Path("c.csv")), Press(OPEN, IDOK)});
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(FilterIndex, 3);
    DialogRecord seen = Run(CMD_SAVE_FRAMES_AS, {ReadType(SAVE), Press(SAVE, IDCANCEL)});
    EXPECT_EQ(seen.types, std::vector<int>{3});
}

TEST_F(FileCommandsTest, InsertPutsTheFileBeforeTheCurrentFrameKeepingItsEdits) {
    MakeDocument();
    Run(CMD_SAVE_FRAMES, {TypeName(SAVE, Path("mine.csv")), Press(SAVE, IDOK)});
    SendCommand(CMD_NEXT_FRAME);
    workingFrame.points[workingFrame.count++] = {POINT_VISIBLE, 4, 4};
    SetDocumentModified(true);
    WriteFileBytes(Path("in.csv"), OTHER_CSV);
    DialogRecord seen =
        Run(CMD_INSERT_FRAMES, {TypeName(INSERT, Path("in.csv")), Press(INSERT, IDOK)});
    EXPECT_TRUE(seen.unscripted.empty());
    ASSERT_EQ(frameStore.numFrames, 5);
    EXPECT_EQ(std::string(frameStore.frameNames[1].bytes, 5), "Other");
    EXPECT_EQ(std::string(frameStore.frameNames[3].bytes, 2), "F1");
    EXPECT_EQ(frameStore.pointCounts[3], 2) << "the edit went in with its frame";
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "mine.csv - Quillon");
    EXPECT_EQ(DocumentPath, Path("mine.csv"));
}

// ---- The unsaved-changes prompts -------------------------------------------

TEST_F(FileCommandsTest, OpenFramePromptOnEachAnswer) {
    MakeDocument();
    WriteFileBytes(Path("in.csv"), OTHER_CSV);
    // Cancel: nothing happens, but the edit is in the store.
    DialogRecord seen = Run(CMD_OPEN_FRAMES, {Press("Open Frame", IDCANCEL)});
    ASSERT_EQ(seen.pressed.size(), 1u);
    EXPECT_EQ(seen.pressed[0], std::string("Open Frame|") + QUESTION);
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(frameStore.pointCounts[0], 2);

    // Yes without a file name: the save dialog comes; cancelling it stops.
    seen = Run(CMD_OPEN_FRAMES, {Press("Open Frame", IDYES), Press(SAVE, IDCANCEL)});
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_TRUE(documentModified);

    // Yes with a file name: written at once; a cancelled open then leaves the
    // document modified though it was written.
    RememberDocumentFile(1, Path("show.csv").c_str(), "show.csv");
    seen = Run(CMD_OPEN_FRAMES, {Press("Open Frame", IDYES), Press(OPEN, IDCANCEL)});
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_EQ(ReadFileBytes(Path("show.csv")), DocumentCsv(0, 2));
    EXPECT_TRUE(documentModified);

    // No: straight to the open dialog, and the file replaces the document.
    seen = Run(CMD_OPEN_FRAMES,
               {Press("Open Frame", IDNO), TypeName(OPEN, Path("in.csv")), Press(OPEN, IDOK)});
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "in.csv - Quillon");
}

TEST_F(FileCommandsTest, ExitPromptSavesThroughTheDialogBeforeClosing) {
    HWND main = ProgramWindow();
    MakeDocument();
    StartDialogScript({Press("Exit Program", IDCANCEL)});
    SendMessageA(main, WM_CLOSE, 0, 0);
    PumpProgramMessages();
    DialogRecord seen = FinishDialogScript();
    ASSERT_EQ(seen.pressed.size(), 1u);
    EXPECT_EQ(seen.pressed[0], std::string("Exit Program|") + QUESTION);
    ASSERT_TRUE(IsWindow(main));

    // Yes, then a cancelled save dialog: still open, nothing written.
    StartDialogScript({Press("Exit Program", IDYES), Press(SAVE, IDCANCEL)});
    SendMessageA(main, WM_CLOSE, 0, 0);
    PumpProgramMessages();
    seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(seen.unscripted.empty());
    ASSERT_TRUE(IsWindow(main));

    // Yes and a packed name: an export is not a save, so it stays open.
    StartDialogScript(
        {Press("Exit Program", IDYES), TypeName(SAVE, Path("quit.frm")), Press(SAVE, IDOK)});
    SendMessageA(main, WM_CLOSE, 0, 0);
    PumpProgramMessages();
    seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(FileExists(Path("quit.frm")));
    ASSERT_TRUE(IsWindow(main));

    // Yes and a CSV name: written, then the window goes.
    StartDialogScript(
        {Press("Exit Program", IDYES), TypeName(SAVE, Path("quit.csv")), Press(SAVE, IDOK)});
    SendMessageA(main, WM_CLOSE, 0, 0);
    PumpProgramMessages();
    seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_EQ(ReadFileBytes(Path("quit.csv")), DocumentCsv(0, 2));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_NE(ProgramWindow(), nullptr);  // the next test gets a fresh program
}

TEST_F(FileCommandsTest, ExitPromptYesWritesTheRememberedFileWithoutADialog) {
    HWND main = ProgramWindow();
    MakeDocument();
    RememberDocumentFile(1, Path("show.csv").c_str(), "show.csv");
    StartDialogScript({Press("Exit Program", IDYES)});
    SendCommand(CMD_EXIT);
    PumpProgramMessages();
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_EQ(ReadFileBytes(Path("show.csv")), DocumentCsv(0, 2));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_NE(ProgramWindow(), nullptr);
}

// ---- Files read in part ---------------------------------------------------

// What is said of LongFrameCsv.
const char* const LOADING = "Loading Frames";
const char* const WARNED =
    "Loading Frames|Not all of this file was read:\n"
    "- 5 points in 1 frame beyond the 3000 points a frame holds";

TEST_F(FileCommandsTest, AFileReadInPartIsNamedInOneWarningAndReplacedOnlyThroughTheDialog) {
    const std::string original = LongFrameCsv();
    WriteFileBytes(Path("long.csv"), original);
    DialogRecord seen = Run(CMD_OPEN_FRAMES, {TypeName(OPEN, Path("long.csv")), Press(OPEN, IDOK),
                                              Press(LOADING, IDOK)});
    EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
    ASSERT_EQ(seen.pressed.size(), 2u);
    EXPECT_EQ(seen.pressed[1], WARNED);
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[1], 3000);
    EXPECT_EQ(MainWindowTitle(), "long.csv - Quillon");
    EXPECT_FALSE(documentModified);

    // An edit, then Ctrl+S: the save dialog comes, on that file's name, and
    // the overwrite question with it; No, then Cancel, keeps the file.
    PressKey(VK_RIGHT);
    PressKey('B', true);  // Blank Current Frame
    ASSERT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
    StartDialogScript(
        {ReadName(SAVE), Press(SAVE, IDOK), Press(SAVE, IDNO), Press(SAVE, IDCANCEL)});
    PressKey('S', true);
    seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    ASSERT_EQ(seen.names.size(), 1u);
    EXPECT_NE(seen.names[0].find("long.csv"), std::string::npos) << seen.names[0];
    EXPECT_EQ(ReadFileBytes(Path("long.csv")), original);
    EXPECT_TRUE(documentModified);
}

// ---- Dropped files ----------------------------------------------------------

// One format-0 frame of two points and the closing header.
std::string SmallIlda() {
    std::string header("ILDA\0\0\0\0", 8);
    std::string file = header + "Dropped " + "        " + std::string("\0\x02\0\0\0\x01\0\0", 8);
    file += std::string("\0\x64\0\xC8\0\0\0\x01", 8);  // 100, 200, beam on
    file += std::string("\xFF\x9C\0\0\0\0\xC0\0", 8);  // -100, 0, blanked, last
    file += header + std::string(16, ' ') + std::string(8, '\0');
    return file;
}

TEST_F(FileCommandsTest, DroppedIldaFileIsInsertedAtTheCurrentFrame) {
    MakeDocument();
    RememberDocumentFile(1, Path("mine.csv").c_str(), "mine.csv");
    SetDocumentModified(false);
    RefreshStatus(STATUS_TITLE);
    SendCommand(CMD_NEXT_FRAME);
    WriteFileBytes(Path("drop.ILD"), SmallIlda());
    StartDialogScript({});
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({Path("drop.ILD")}), 0);
    PumpProgramMessages();
    DialogRecord seen = FinishDialogScript();
    EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(std::string(frameStore.frameNames[1].bytes, 7), "Dropped");
    ASSERT_EQ(frameStore.pointCounts[1], 2);
    EXPECT_EQ(frameStore.frames[1][0].x, 100);
    EXPECT_EQ(frameStore.frames[1][0].y, -200);
    EXPECT_EQ(frameStore.frames[1][0].flags, POINT_VISIBLE);
    EXPECT_EQ(frameStore.frames[1][1].x, -100);
    EXPECT_EQ(frameStore.frames[1][1].flags, 0);
    EXPECT_EQ(std::string(frameStore.frameNames[2].bytes, 2), "F1");
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "mine.csv - Quillon");
    EXPECT_EQ(DocumentPath, Path("mine.csv"));
}

TEST_F(FileCommandsTest, ADroppedFileReadInPartSaysSoOnce) {
    WriteFileBytes(Path("long.csv"), LongFrameCsv());
    StartDialogScript({Press(LOADING, IDOK)});
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({Path("long.csv")}), 0);
    PumpProgramMessages();
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    ASSERT_EQ(seen.pressed.size(), 1u);
    EXPECT_EQ(seen.pressed[0], WARNED);
    EXPECT_EQ(frameStore.numFrames, 2);
}

}  // namespace
