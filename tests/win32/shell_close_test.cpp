// Leaving the program (closing, end of session), dropped files (among them
// an ILDA animation, made here or written by another program, whose frames
// the Frame Table lists), the About box, and Help > Documents, which opens
// the page installed beside the program however the program was started.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_dispatch_win32.h"
#include "app/help_page_win32.h"
#include "app/shell_handles_win32.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "formats/utf16_text.h"
#include "tables/frame_table_win32.h"
#include "tests/samples.h"
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
TEST(ShellDroppedFiles, OverlongPathIsRefusedWithAMessageNotCut) {
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
    EXPECT_TRUE(warning->seen);
    EXPECT_EQ(warning->StaticText(), "The file name is too long.");
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

static std::string Be16(unsigned v) {
    return std::string{(char)((v >> 8) & 0xFF), (char)(v & 0xFF)};
}

// Forty frames of format 0 whose names end in zero bytes, as some programs
// write them, then the closing header.
static std::string MadeAnimation() {
    std::string s;
    for (int f = 0; f < 40; ++f) {
        char name[17];
        std::snprintf(name, sizeof name, "frame %-10d", f);
        name[12] = name[13] = name[14] = name[15] = 0;
        s += std::string("ILDA\0\0\0\0", 8) + std::string(name, 16) + Be16(10 + f) + Be16(f) +
             Be16(40) + std::string(2, '\0');
        for (int i = 0; i < 10 + f; ++i)
            s += Be16((unsigned)(i * 300 - f)) + Be16((unsigned)(f * 500 - i)) + Be16(0) +
                 (char)(i % 5 ? 0 : 0x40) + '\x01';
    }
    return s + std::string("ILDA\0\0\0\0", 8) + std::string(24, '\0');
}

struct DroppedSample {
    const char* file;  // nullptr: the made animation
    int frames;
    const char* firstName;  // as the Frame Table shows it
};

class ShellSampleDrop : public ::testing::TestWithParam<DroppedSample> {};

TEST_P(ShellSampleDrop, EveryFrameArrivesAndIsListed) {
    const DroppedSample& sample = GetParam();
    std::string folder, path;
    if (!sample.file) {
        folder = MakeTestFolder();
        path = folder + "\\made.ild";
        WriteFileBytes(path, MadeAnimation());
    } else {
        path = SamplePath(std::string("ild/") + sample.file);
        if (path.empty()) GTEST_SKIP() << MissingSample(std::string("ild/") + sample.file);
    }
    ResetProgramState();
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    ASSERT_NE(frameList, nullptr);
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({path}), 0);
    PumpProgramMessages();
    if (!folder.empty()) RemoveTestFolder(folder);

    EXPECT_EQ(frameStore.numFrames, sample.frames);
    EXPECT_EQ(PaneText(1), "Frame: 1/" + std::to_string(sample.frames));
    EXPECT_EQ(Rows(frameList), sample.frames);
    EXPECT_EQ(Cell(frameList, 0, 1), sample.firstName);
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "Quillon");
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
}

INSTANTIATE_TEST_SUITE_P(MadeFile, ShellSampleDrop,
                         ::testing::Values(DroppedSample{nullptr, 40, "frame 0     "}));
INSTANTIATE_TEST_SUITE_P(RealFile, ShellSampleDrop,
                         ::testing::Values(DroppedSample{"astroid.ild", 50, "Astroid.MediaLas"}));

static std::vector<std::string> opened;

static void RecordShellOpen(HWND, const char* file) {
    opened.push_back(file);
}

// The shell call is recorded instead of made while a test runs; the
// program is started from a folder of the test's own.
class ShellHelp : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        opened.clear();
        saved = shellOpenProc;
        shellOpenProc = RecordShellOpen;
        GetCurrentDirectoryA(sizeof startFolder, startFolder);
        elsewhere = MakeTestFolder();
    }
    void TearDown() override {
        shellOpenProc = saved;
        RemoveTestFolder(elsewhere);
        SetCurrentDirectoryA(startFolder);
    }
    ShellOpenProc saved;
    std::string elsewhere;
    char startFolder[MAX_PATH];
};

TEST_F(ShellHelp, DocumentsOpensThePageBesideTheProgramWhenStartedElsewhere) {
    char program[MAX_PATH];
    std::string beside(program, GetModuleFileNameA(nullptr, program, sizeof program));
    beside = beside.substr(0, beside.find_last_of("\\/") + 1) + "zel2.html";
    ASSERT_TRUE(FileExists(beside)) << "the build puts the help page beside the programs";
    // Started from a folder that has no help page: the bare name would
    // name nothing there.
    ASSERT_FALSE(FileExists("zel2.html"));
    SendCommand(CMD_DOCUMENTS);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], beside);
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES));
}

TEST_F(ShellHelp, PageBesideTheProgramComesBeforeTheCurrentFolder) {
    // A program in a folder without the page leaves the bare name to the
    // shell, which looks in the current folder.
    std::string program = elsewhere + "\\quillon.exe";
    OpenHelpPageBeside(nullptr, program.c_str());
    // With the page there, that file is opened by its full path.
    WriteFileBytes(elsewhere + "\\zel2.html", "");
    OpenHelpPageBeside(nullptr, program.c_str());
    // No program path at all, or one without a folder: the bare name.
    OpenHelpPageBeside(nullptr, nullptr);
    OpenHelpPageBeside(nullptr, "quillon.exe");
    const std::vector<std::string> expected = {"zel2.html", elsewhere + "\\zel2.html", "zel2.html",
                                               "zel2.html"};
    EXPECT_EQ(opened, expected);
}

// A program folder named in another script is found as it is named, whatever
// the code page.
TEST_F(ShellHelp, PageBesideAProgramInAFolderNamedInAnyScript) {
    for (const char* name : NamesInOtherScripts) {
        opened.clear();
        const std::string folder = elsewhere + "\\" + name;
        wchar_t wide[MAX_PATH];
        ASSERT_GE(WidenText(folder.c_str(), wide, MAX_PATH), 0);
        ASSERT_TRUE(CreateDirectoryW(wide, nullptr)) << name;
        WriteFileBytes(folder + "\\zel2.html", "");
        OpenHelpPageBeside(nullptr, (folder + "\\quillon.exe").c_str());
        RemoveTestFolder(folder);
        EXPECT_EQ(opened, std::vector<std::string>{folder + "\\zel2.html"}) << name;
    }
}
