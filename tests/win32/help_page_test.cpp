// Help > Documents: the page installed beside the program is found however
// the program was started, and it is the shell that is asked to open it.
#include <windows.h>

#include <string>
#include <vector>

#include "app/help_page_win32.h"
#include "document/command_ids.h"
#include "document/undo.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

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
