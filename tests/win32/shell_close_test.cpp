// Leaving the program (closing, end of session), dropped files, and the
// About box.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>

#include "app/command_dispatch_win32.h"
#include "app/shell_win32.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

static const char* const ExitQuestion =
    "The changes have not been saved.\nDo you wish to save changes?";

static void ModifyDocument() {
    SendCommand(CMD_INSERT_BLANK_FRAME);
    ASSERT_TRUE(documentModified);
}

TEST(ShellClosing, UnmodifiedClosesWithoutAsking) {
    ResetProgramState();
    HWND main = ProgramWindow();
    DialogAnswer* question = AnswerDialog("Exit Program", ClickButton(IDCANCEL));
    SendCommand(CMD_EXIT);
    EXPECT_FALSE(question->seen);
    EXPECT_FALSE(IsWindow(main));
    ClearDialogAnswers();
    // The next test gets a freshly started program.
    EXPECT_NE(ProgramWindow(), nullptr);
}

TEST(ShellClosing, CancelStaysAndNoCloses) {
    ResetProgramState();
    HWND main = ProgramWindow();
    ModifyDocument();
    workingFrame.points[0] = {POINT_VISIBLE, 5, 5};
    workingFrame.count = 1;
    workingFrame.changed = true;
    DialogAnswer* cancel = AnswerDialog("Exit Program", ClickButton(IDCANCEL));
    SendMessageA(main, WM_CLOSE, 0, 0);
    PumpProgramMessages();
    ASSERT_TRUE(cancel->seen);
    EXPECT_EQ(cancel->StaticText(), ExitQuestion);
    EXPECT_TRUE(IsWindow(main));
    // The working frame was stored before the question.
    EXPECT_EQ(frameStore.pointCounts[0], 1);

    AnswerDialog("Exit Program", UseCloseBox());
    SendCommand(CMD_EXIT);
    EXPECT_TRUE(IsWindow(main));

    DialogAnswer* no = AnswerDialog("Exit Program", ClickButton(IDNO));
    SendCommand(CMD_EXIT);
    EXPECT_TRUE(no->seen);
    EXPECT_FALSE(IsWindow(main));
    ClearDialogAnswers();
}

TEST(ShellClosing, YesWithAFailedSaveStaysOpen) {
    ResetProgramState();
    HWND main = ProgramWindow();
    ModifyDocument();
    DialogAnswer* yes = AnswerDialog("Exit Program", ClickButton(IDYES));
    // No file is remembered, so the save asks for a name; cancel that.
    AnswerDialog("Save Frames", ClickButton(IDCANCEL));
    AnswerDialog("Saving Frames", ClickButton(IDOK));
    SendCommand(CMD_EXIT);
    EXPECT_TRUE(yes->seen);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(documentModified);
    ClearDialogAnswers();
    EXPECT_TRUE(TakeUnansweredDialogs().empty());
}

TEST(ShellClosing, EndOfSessionAsksLikeClosing) {
    ResetProgramState();
    HWND main = ProgramWindow();
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);  // nothing to lose

    ModifyDocument();
    DialogAnswer* cancel = AnswerDialog("Exit Program", ClickButton(IDCANCEL));
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_TRUE(cancel->seen);

    AnswerDialog("Exit Program", ClickButton(IDYES));
    AnswerDialog("Save Frames", ClickButton(IDCANCEL));
    AnswerDialog("Saving Frames", ClickButton(IDOK));
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), FALSE);  // the save did not happen

    AnswerDialog("Exit Program", ClickButton(IDNO));
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_TRUE(IsWindow(main));  // the session ends the process, not the query
    ClearDialogAnswers();
}

TEST(ShellCommands, AboutShowsVersionAndChangesNothing) {
    ResetProgramState();
    DialogAnswer* about = AnswerDialog("Version", ClickButton(IDOK));
    SendCommand(CMD_ABOUT);
    ASSERT_TRUE(about->seen);
    // "Quillon" and the release number of the VERSION file on the first line.
    std::string version = ReadFileBytes(QUILLON_SOURCE_DIR "/VERSION");
    std::string text = about->StaticText();
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "Quillon " + version.substr(0, version.find_first_of("\r\n")));
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES));
    ClearDialogAnswers();
}

static void WriteCsv(const std::string& path, int points) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fputs("VECTOR,20000,3\r\nDropped         \r\n", file);
    for (int i = 0; i < points; ++i) fprintf(file, "1,%d,%d\r\n", i * 10, i * 20);
    fclose(file);
}

static std::string TempDir() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "quillon-drop";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

TEST(ShellDroppedFiles, FirstFrameFileIsInsertedAtTheCurrentFrame) {
    ResetProgramState();
    std::string first = TempDir() + "\\first.csv", second = TempDir() + "\\second.csv";
    WriteCsv(first, 3);
    WriteCsv(second, 5);
    SendCommand(CMD_INSERT_BLANK_FRAME);
    SendCommand(CMD_INSERT_BLANK_FRAME);
    PressKey(VK_RIGHT);
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({first, second}), 0);
    PumpProgramMessages();
    EXPECT_EQ(PaneText(1), "Frame: 2/3");
    EXPECT_EQ(frameStore.pointCounts[1], 3);
    EXPECT_EQ(PaneText(0), " 3 points,  10000.0fps/30000pps");  // settings are not replaced
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "Quillon");  // inserting never takes over the document's file
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
}

// A path the program cannot hold whole is ignored, rather than cut to one that
// may name another file.
TEST(ShellDroppedFiles, OverlongPathIsIgnoredNotCut) {
    ResetProgramState();
    std::string dir = TempDir();
    std::string nested = dir;
    std::vector<std::string> created;
    while (nested.size() < 200) {
        nested += "\\" + std::string(40, 'd');
        CreateDirectoryA(nested.c_str(), nullptr);
        created.push_back(nested);
    }
    // A real file whose path is exactly 255 characters long.
    std::string name = std::string(255 - nested.size() - 1 - 4, 'f') + ".csv";
    std::string exact = nested + "\\" + name;
    ASSERT_EQ(exact.size(), 255u);
    WriteCsv(exact, 4);
    std::string overlong = exact + "x.csv";  // 260 characters, starts with the real file's path

    DialogAnswer* warning = AnswerDialog("Loading Frames", ClickButton(IDOK));
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({overlong}), 0);
    PumpProgramMessages();
    EXPECT_FALSE(warning->seen);
    EXPECT_EQ(frameStore.numFrames, 0);
    EXPECT_FALSE(documentModified);

    // The 255-character path itself is taken whole.
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({exact}), 0);
    PumpProgramMessages();
    EXPECT_EQ(frameStore.numFrames, 1);
    EXPECT_EQ(workingFrame.count, 4);
    ClearDialogAnswers();
    DeleteFileA(exact.c_str());
    for (auto it = created.rbegin(); it != created.rend(); ++it) RemoveDirectoryA(it->c_str());
}

TEST(ShellDroppedFiles, UnreadableNonBitmapIsIgnored) {
    ResetProgramState();
    std::string path = TempDir() + "\\notes.txt";
    FILE* file = fopen(path.c_str(), "wb");
    fputs("hello", file);
    fclose(file);
    AnswerDialog("Loading Frames", ClickButton(IDOK));
    AnswerDialog("Load Image", ClickButton(IDOK));
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({path}), 0);
    PumpProgramMessages();
    EXPECT_EQ(frameStore.numFrames, 0);
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(MenuItemGrayed(CMD_CLEAR_PICTURE));
    ClearDialogAnswers();
    DeleteFileA(path.c_str());
}

static void WriteBitmap(const std::string& path) {
    // 2 x 2 pixels, 24 bits, rows padded to 8 bytes.
    unsigned char bytes[54 + 16] = {'B', 'M'};
    auto put32 = [&](int at, unsigned value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = (unsigned char)(value >> (8 * i));
    };
    put32(2, sizeof bytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, 2);
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, 16);
    for (int i = 54; i < (int)sizeof bytes; ++i) bytes[i] = 0xC0;
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes, 1, sizeof bytes, file);
    fclose(file);
}

TEST(ShellDroppedFiles, LowerCaseBmpBecomesTheTemplatePicture) {
    ResetProgramState();
    std::string path = TempDir() + "\\trace.bmp";
    WriteBitmap(path);
    AnswerDialog("Loading Frames", ClickButton(IDOK));  // not a frame file
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({path}), 0);
    PumpProgramMessages();
    EXPECT_FALSE(MenuItemGrayed(CMD_CLEAR_PICTURE));
    EXPECT_FALSE(documentModified);
    SendCommand(CMD_CLEAR_PICTURE);
    EXPECT_TRUE(MenuItemGrayed(CMD_CLEAR_PICTURE));
    ClearDialogAnswers();
    DeleteFileA(path.c_str());
}
