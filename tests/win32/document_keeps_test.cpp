// What the running program keeps and says: deleting the last frame stores
// no blank frame, a file read in part is named in one warning and is then
// replaced only through the save dialog, and files the program writes read
// back whole.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstring>
#include <string>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "files/document_file.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

namespace {

const char* const OPEN = "Open Frames";
const char* const SAVE = "Save Frames";
const char* const LOADING = "Loading Frames";

// Frames of one point each, frame 0 current, saved.
void MakeFrames(int count) {
    for (int f = 0; f < count; ++f) {
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, (int16_t)(f + 1), (int16_t) - (f + 1)};
        StoreFrame(f, true);
    }
    LoadFrame(0);
    SetDocumentModified(false);
    RefreshStatus(STATUS_PANES);
}

// A CSV file whose second frame holds 3005 point lines.
std::string LongFrameCsv() {
    std::string text = "VECTOR,30000,3\r\nshort\r\n1,1,1\r\n+\r\nlong\r\n";
    for (int i = 0; i < 3005; ++i) text += "1," + std::to_string(i) + ",0\r\n";
    return text;
}

class DocumentKeepsTest : public FileCommandTest {
protected:
    // Runs a command and its dialogs; nothing unscripted may show up.
    DialogRecord RunQuietly(int command, const std::vector<DialogStep>& steps) {
        DialogRecord seen = Run(command, steps);
        EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
        return seen;
    }
    // Opens or inserts a file through the dialog; returns its one warning.
    std::string ReadWithWarning(int command, const char* title, const char* name) {
        DialogRecord seen = RunQuietly(
            command, {TypeName(title, Path(name)), Press(title, IDOK), Press(LOADING, IDOK)});
        return seen.pressed.size() == 2 ? seen.pressed[1] : "<no warning>";
    }
};

TEST_F(DocumentKeepsTest, DeletingTheLastFrameBringsNoBlankFrameBack) {
    MakeFrames(3);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    EXPECT_EQ(PaneText(1), "Frame: 3/3");
    PressKey('D', true);
    EXPECT_EQ(PaneText(1), "Frame: 3/2");
    PressKey(VK_LEFT);
    EXPECT_EQ(PaneText(1), "Frame: 2/2");
    // Nor does saving from past the end: the ILDA file takes both frames.
    PressKey(VK_RIGHT);
    RunQuietly(CMD_SAVE_FRAMES, {TypeName(SAVE, Path("two.ild")), Press(SAVE, IDOK)});
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(ReadFileBytes(Path("two.ild")).size(), 3u * 32 + 2 * 8);
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(PaneText(1), "Frame: 3/2");
}

TEST_F(DocumentKeepsTest, AFileReadInPartIsNamedInOneWarningAndReplacedOnlyThroughTheDialog) {
    const std::string original = LongFrameCsv();
    WriteFileBytes(Path("long.csv"), original);
    EXPECT_EQ(ReadWithWarning(CMD_OPEN_FRAMES, OPEN, "long.csv"),
              std::string(LOADING) +
                  "|Not all of this file was read:\n"
                  "- 5 points in 1 frame beyond the 3000 points a frame holds");
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
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    ASSERT_EQ(seen.names.size(), 1u);
    EXPECT_NE(seen.names[0].find("long.csv"), std::string::npos) << seen.names[0];
    EXPECT_EQ(ReadFileBytes(Path("long.csv")), original);
    EXPECT_TRUE(documentModified);

    // Yes to the question: written, and from then on saved without asking.
    StartDialogScript({Press(SAVE, IDOK), Press(SAVE, IDYES)});
    PressKey('S', true);
    seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(seen.unscripted.empty());
    EXPECT_NE(ReadFileBytes(Path("long.csv")), original);
    EXPECT_FALSE(documentModified);
    SendCommand(CMD_PREVIOUS_FRAME);
    PressKey('B', true);
    RunQuietly(CMD_SAVE_FRAMES, {});
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "long.csv - Quillon");
}

TEST_F(DocumentKeepsTest, InsertedAndDroppedFilesReadInPartSaySoToo) {
    MakeFrames(2);
    RememberDocumentFile(1, Path("mine.csv").c_str(), "mine.csv");
    RefreshStatus(STATUS_TITLE);
    WriteFileBytes(Path("long.csv"), LongFrameCsv());
    const std::string warning = std::string(LOADING) +
                                "|Not all of this file was read:\n"
                                "- 5 points in 1 frame beyond the 3000 points a frame holds";
    EXPECT_EQ(ReadWithWarning(CMD_INSERT_FRAMES, "Insert Frames", "long.csv"), warning);
    EXPECT_EQ(frameStore.numFrames, 4);

    StartDialogScript({Press(LOADING, IDOK)});
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({Path("long.csv")}), 0);
    PumpProgramMessages();
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    ASSERT_EQ(seen.pressed.size(), 1u);
    EXPECT_EQ(seen.pressed[0], warning);
    EXPECT_EQ(frameStore.numFrames, 6);
    EXPECT_TRUE(documentModified);
    // Inserting changes no file name: Ctrl+S writes the document's own file.
    RunQuietly(CMD_SAVE_FRAMES, {});
    EXPECT_NE(ReadFileBytes(Path("mine.csv")), "<missing>");
    EXPECT_EQ(MainWindowTitle(), "mine.csv - Quillon");
}

TEST_F(DocumentKeepsTest, AnIldaFileThatStartsWithAnUnknownSectionLeavesTheDocument) {
    MakeFrames(3);
    std::string file("ILDA\0\0\0\x03", 8);
    file += std::string(16, ' ') + std::string("\0\x01\0\0\0\x01\0\0", 8) + std::string(4, 'x');
    WriteFileBytes(Path("three.ild"), file);
    EXPECT_EQ(ReadWithWarning(CMD_OPEN_FRAMES, OPEN, "three.ild"),
              std::string(LOADING) +
                  "|No frame could be read from this file:\n"
                  "- reading stopped at section 1: format code 3 cannot be read");
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(MainWindowTitle(), "Quillon");
    EXPECT_EQ(PaneText(1), "Frame: 1/3");
}

}  // namespace
