// A file read in part, through the running program: opened or dropped, it
// is named in one warning, and an opened one is then replaced only through
// the save dialog.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

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

// A CSV file whose second frame holds 3005 point lines, and what is said of it.
const char* const WARNED =
    "Loading Frames|Not all of this file was read:\n"
    "- 5 points in 1 frame beyond the 3000 points a frame holds";
std::string LongFrameCsv() {
    std::string text = "VECTOR,30000,3\r\nshort\r\n1,1,1\r\n+\r\nlong\r\n";
    for (int i = 0; i < 3005; ++i) text += "1," + std::to_string(i) + ",0\r\n";
    return text;
}

class DocumentKeepsTest : public FileCommandTest {};

TEST_F(DocumentKeepsTest, AFileReadInPartIsNamedInOneWarningAndReplacedOnlyThroughTheDialog) {
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

TEST_F(DocumentKeepsTest, ADroppedFileReadInPartSaysSoToo) {
    MakeFrames(2);
    RememberDocumentFile(1, Path("mine.csv").c_str(), "mine.csv");
    RefreshStatus(STATUS_TITLE);
    WriteFileBytes(Path("long.csv"), LongFrameCsv());
    StartDialogScript({Press(LOADING, IDOK)});
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({Path("long.csv")}), 0);
    PumpProgramMessages();
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    ASSERT_EQ(seen.pressed.size(), 1u);
    EXPECT_EQ(seen.pressed[0], WARNED);
    EXPECT_EQ(frameStore.numFrames, 4);
    EXPECT_TRUE(documentModified);
    // Inserting changes no file name: Ctrl+S writes the document's own file.
    Run(CMD_SAVE_FRAMES, {});
    EXPECT_NE(ReadFileBytes(Path("mine.csv")), "<missing>");
    EXPECT_EQ(MainWindowTitle(), "mine.csv - Quillon");
}

}  // namespace
