// Help > Documents: the page installed beside the program is found however
// the program was started, and it is the shell that is asked to open it.
#include <windows.h>

#include <string>
#include <vector>

#include "app/help_page_win32.h"
#include "document/command_ids.h"
#include "document/undo.h"
#include "tests/win32/harness_win32.h"

static std::vector<std::string> opened;

static void RecordShellOpen(HWND, const char* file) {
    opened.push_back(file);
}

// The shell call is recorded instead of made while a test runs.
class ShellHelp : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        opened.clear();
        saved = shellOpenProc;
        shellOpenProc = RecordShellOpen;
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        elsewhere = std::string(temp) + "quillon-help-elsewhere";
        CreateDirectoryA(elsewhere.c_str(), nullptr);
        GetCurrentDirectoryA(sizeof startFolder, startFolder);
    }
    void TearDown() override {
        shellOpenProc = saved;
        SetCurrentDirectoryA(startFolder);
        DeleteFileA((elsewhere + "\\zel2.html").c_str());
        RemoveDirectoryA(elsewhere.c_str());
    }
    ShellOpenProc saved;
    std::string elsewhere;
    char startFolder[MAX_PATH];
};

static std::string ProgramFolder() {
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::string path(program, length);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

static bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(ShellHelp, DocumentsOpensThePageBesideTheProgramWhenStartedElsewhere) {
    std::string beside = ProgramFolder() + "zel2.html";
    ASSERT_TRUE(IsFile(beside)) << "the build puts the help page beside the programs";
    // Started from a folder that has no help page: the bare name would
    // name nothing there.
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.c_str()));
    ASSERT_FALSE(IsFile("zel2.html"));
    SendCommand(CMD_DOCUMENTS);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], beside);
    EXPECT_TRUE(IsFile(opened[0]));
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES));
}

TEST_F(ShellHelp, PageBesideTheProgramComesBeforeTheCurrentFolder) {
    // A program in a folder without the page leaves the bare name to the
    // shell, which looks in the current folder.
    std::string program = elsewhere + "\\quillon.exe";
    OpenHelpPageBeside(nullptr, program.c_str());
    // With the page there, that file is opened by its full path.
    HANDLE page = CreateFileA((elsewhere + "\\zel2.html").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(page, INVALID_HANDLE_VALUE);
    CloseHandle(page);
    OpenHelpPageBeside(nullptr, program.c_str());
    // No program path at all, or one without a folder: the bare name.
    OpenHelpPageBeside(nullptr, nullptr);
    OpenHelpPageBeside(nullptr, "quillon.exe");
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0], "zel2.html");
    EXPECT_EQ(opened[1], elsewhere + "\\zel2.html");
    EXPECT_EQ(opened[2], "zel2.html");
    EXPECT_EQ(opened[3], "zel2.html");
}
