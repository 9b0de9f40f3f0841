// The real save dialog with its hook: the start name and type, the rename
// on a change of type, and what a confirmed name leads to.
#include <gtest/gtest.h>
#include <windows.h>

#include "document/frame_store.h"
#include "document/undo.h"
#include "files/document_file.h"
#include "files/file_commands_win32.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

namespace {

const char* const SAVE = "Save Frames";
const char* const SAVING = "Saving Frames";
const char* const NO_WRITER = "Frames are saved as .csv or .ild files, or exported as .frm files.";

class FileSaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        folder = MakeTestFolder();
        workingFrame.count = 2;
        workingFrame.points[0] = {POINT_VISIBLE, 10, -20};
        workingFrame.points[1] = {0, -30, 40};
        StoreFrame(0, true);
        SetDocumentModified(true);
    }
    void TearDown() override { RemoveTestFolder(folder); }
    std::string Path(const char* name) const { return folder + "\\" + name; }

    std::string folder;
};

TEST_F(FileSaveDialogTest, HookKeepsTheExtensionInStepWithTheType) {
    StartDialogScript({ReadName(SAVE),      ReadType(SAVE),      TypeName(SAVE, "show.csv"),
                       SwitchType(SAVE, 2), ReadName(SAVE),      SwitchType(SAVE, 3),
                       ReadName(SAVE),      SwitchType(SAVE, 4), ReadName(SAVE),
                       SwitchType(SAVE, 1), ReadName(SAVE),      TypeName(SAVE, "my.show.csv"),
                       SwitchType(SAVE, 2), ReadName(SAVE),      TypeName(SAVE, "plain"),
                       SwitchType(SAVE, 3), ReadName(SAVE),      TypeName(SAVE, ""),
                       SwitchType(SAVE, 2), ReadName(SAVE),      Press(SAVE, IDCANCEL)});
    EXPECT_EQ(SaveFrames(ProgramWindow(), 0, 0, 0), 0);
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(seen.unscripted.empty());
    ASSERT_EQ(seen.names.size(), 8u);
    EXPECT_EQ(seen.names[0], "");
    EXPECT_EQ(seen.names[1], "show.ild");
    EXPECT_EQ(seen.names[2], "show.frm");
    EXPECT_EQ(seen.names[3], "show.");
    EXPECT_EQ(seen.names[4], "show.csv");
    EXPECT_EQ(seen.names[5], "my.ild");
    EXPECT_EQ(seen.names[6], "plain.frm");
    EXPECT_EQ(seen.names[7], "");
    ASSERT_EQ(seen.types.size(), 1u);
    EXPECT_EQ(seen.types[0], 1);
    // A cancelled dialog remembers nothing, not even the type last shown.
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_STREQ(DocumentPath, "");
}

TEST_F(FileSaveDialogTest, OverlongNameIsLeftAsTyped) {
    std::string name(300, 'n');
    StartDialogScript(
        {TypeName(SAVE, name), SwitchType(SAVE, 2), ReadName(SAVE), Press(SAVE, IDCANCEL)});
    SaveFrames(ProgramWindow(), 0, 0, 0);
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    ASSERT_EQ(seen.names.size(), 1u);
    EXPECT_EQ(seen.names[0], name);
}

TEST_F(FileSaveDialogTest, DefaultExtensionFollowsTheChosenType) {
    std::string path = Path("laser");
    StartDialogScript({SwitchType(SAVE, 2), TypeName(SAVE, path), Press(SAVE, IDOK)});
    EXPECT_EQ(SaveFrames(ProgramWindow(), SAVE_ASK_NAME, 0, 0), 1);
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    std::string bytes = ReadFileBytes(path + ".ild");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), "ILDA");
    EXPECT_EQ(DocumentPath, path + ".ild");
    EXPECT_EQ(FilterIndex, 2);
}

TEST_F(FileSaveDialogTest, NameWithoutAWriterIsRefusedWithAWarning) {
    // The bare dot that switching to All Files leaves behind.
    StartDialogScript({TypeName(SAVE, Path("show.csv")), SwitchType(SAVE, 4), ReadName(SAVE),
                       Press(SAVE, IDOK), Press(SAVING, IDOK)});
    EXPECT_EQ(SaveFrames(ProgramWindow(), 0, 0, 0), 0);
    DialogRecord seen = FinishDialogScript();
    EXPECT_EQ(seen.stepsLeft, 0u);
    EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
    ASSERT_EQ(seen.names.size(), 1u);
    EXPECT_EQ(seen.names[0], Path("show."));
    ASSERT_EQ(seen.pressed.size(), 2u);
    EXPECT_EQ(seen.pressed[1], std::string(SAVING) + "|" + NO_WRITER);
    for (const char* name : {"show.", "show", "show.csv"})
        EXPECT_FALSE(FileExists(Path(name))) << name;
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_TRUE(documentModified);
}

}  // namespace
