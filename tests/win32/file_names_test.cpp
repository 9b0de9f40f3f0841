// Frame files named in another script than the system's code page, through
// the File menu's dialogs and a drop: open, save, save as (with the save
// dialog's rename on a change of type) and insert, and the title that shows
// the name. Also a save through a symbolic link, which must replace the
// file the link leads to and keep the link. make test runs these under a
// Western and under a Japanese locale.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "files/document_file.h"
#include "formats/utf16_text.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

namespace {

const char* const OPEN = "Open Frames";
const char* const SAVE = "Save Frames";
// A file as the program writes it: two frames.
const char* const SHOW_CSV =
    "VECTOR,20000,5\r\nStar            \r\n1,5,6\r\n+\r\nTwo             \r\n0,7,8\r\n";

// Makes a symbolic link as a Unix user would: Wine starts Unix programs as
// they are, though it gives no exit status for them, so the link is waited
// for. 1 when it is there.
int MakeUnixLink(const std::string& leadsTo, const std::string& unixLink,
                 const std::string& windowsLink) {
    const std::string command = "/bin/ln -s \"" + leadsTo + "\" \"" + unixLink + "\"";
    std::vector<wchar_t> line(command.size() + 1);
    if (WidenText(command.c_str(), line.data(), (int)line.size()) < 0) return 0;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0;
    for (int wait = 0; wait < 100 && !FileExists(windowsLink); ++wait) Sleep(50);
    return FileExists(windowsLink);
}

// Where the system says a name leads, through every link, in UTF-8.
std::string FinalPath(const std::string& path) {
    wchar_t wide[1024], final[1024];
    if (WidenText(path.c_str(), wide, 1024) < 0) return "";
    HANDLE file = CreateFileW(wide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    DWORD length = GetFinalPathNameByHandleW(file, final, 1024, 0);
    CloseHandle(file);
    char text[3 * 1024];
    if (length == 0 || length >= 1024 || NarrowText(final, text, sizeof text) < 0) return "";
    return text;
}

// The Unix name of a folder under Z:, which Wine maps to /.
std::string UnixPath(std::string path) {
    if (path.compare(0, 2, "Z:") == 0) path.erase(0, 2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

class FileNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        folder = MakeTestFolder();
    }
    void TearDown() override {
        FinishDialogScript();
        RemoveTestFolder(Path("kept"));
        RemoveTestFolder(folder);
    }
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    DialogRecord Run(int command, const std::vector<DialogStep>& steps) {
        StartDialogScript(steps);
        SendCommand(command);
        PumpProgramMessages();
        DialogRecord seen = FinishDialogScript();
        EXPECT_EQ(seen.stepsLeft, 0u) << "command " << command;
        EXPECT_TRUE(seen.unscripted.empty()) << seen.unscripted[0];
        return seen;
    }
    void Edit() {
        workingFrame.points[0].x = 1;
        workingFrame.changed = true;
        SetDocumentModified(true);
    }

    std::string folder;
};

}  // namespace

TEST_F(FileNamesTest, OpenSaveAndSaveAsKeepTheNameAndShowItInTheTitle) {
    for (const std::string name : NamesInOtherScripts) {
        ResetProgramState();
        const std::string csv = Path(name + ".csv"), ilda = Path(name + ".ild");
        WriteFileBytes(csv, SHOW_CSV);
        Run(CMD_OPEN_FRAMES, {TypeName(OPEN, csv), Press(OPEN, IDOK)});
        ASSERT_EQ(frameStore.numFrames, 2) << name;
        EXPECT_EQ(ScanSpeed, 20000);
        EXPECT_EQ(MainWindowTitle(), name + ".csv - Quillon");
        EXPECT_EQ(std::string(DocumentPath), csv);

        // Save writes back to the same file, without a dialog.
        Edit();
        Run(CMD_SAVE_FRAMES, {});
        EXPECT_FALSE(documentModified) << name;
        EXPECT_EQ(ReadFileBytes(csv).substr(0, 39), "VECTOR,20000,5\r\nStar            \r\n1,1,6");

        // Save As: switching to ILDA renames the name in the box.
        Edit();
        DialogRecord seen = Run(CMD_SAVE_FRAMES_AS, {SwitchType(SAVE, 2), ReadName(SAVE),
                                                     TypeName(SAVE, ilda), Press(SAVE, IDOK)});
        ASSERT_EQ(seen.names.size(), 1u);
        EXPECT_NE(seen.names[0].find(name + ".ild"), std::string::npos) << seen.names[0];
        EXPECT_EQ(ReadFileBytes(ilda).substr(0, 4), "ILDA") << name;
        EXPECT_EQ(MainWindowTitle(), name + ".ild - Quillon");
        EXPECT_FALSE(documentModified);

        // The first save of a new document names the file in the dialog.
        ResetProgramState();
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, 3, -4};
        SetDocumentModified(true);
        Run(CMD_SAVE_FRAMES, {TypeName(SAVE, Path(name + " new")), Press(SAVE, IDOK)});
        EXPECT_EQ(ReadFileBytes(Path(name + " new.csv")),
                  "VECTOR,30000,3\r\n" + std::string(16, ' ') + "\r\n1,3,4\r\n");
        EXPECT_EQ(MainWindowTitle(), name + " new.csv - Quillon");
    }
}

TEST_F(FileNamesTest, DroppedFramesAreInsertedWhateverTheirName) {
    for (const std::string name : NamesInOtherScripts) {
        ResetProgramState();
        const std::string csv = Path(name + ".csv");
        WriteFileBytes(csv, SHOW_CSV);
        StartDialogScript({});
        SendMessageW(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({csv}), 0);
        PumpProgramMessages();
        DialogRecord seen = FinishDialogScript();
        EXPECT_TRUE(seen.unscripted.empty()) << name << ": " << seen.unscripted[0];
        EXPECT_EQ(frameStore.numFrames, 2) << name;
        EXPECT_TRUE(documentModified);
        EXPECT_EQ(MainWindowTitle(), "Quillon");
    }
}

// A show kept in one folder and linked from another, as a user links the
// show of the night into a folder of current work.
TEST_F(FileNamesTest, SaveThroughASymbolicLinkWritesTheFileItLeadsTo) {
    const std::string kept = Path("kept");
    ASSERT_TRUE(CreateDirectoryA(kept.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string name = NamesInOtherScripts[0];
    const std::string real = kept + "\\" + name + ".csv", link = Path("tonight.csv");
    WriteFileBytes(real, SHOW_CSV);
    ASSERT_TRUE(MakeUnixLink("kept/" + name + ".csv", UnixPath(link), link));
    ASSERT_EQ(FinalPath(link), "\\\\?\\" + real);

    Run(CMD_OPEN_FRAMES, {TypeName(OPEN, link), Press(OPEN, IDOK)});
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(MainWindowTitle(), "tonight.csv - Quillon");
    Edit();
    Run(CMD_SAVE_FRAMES, {});
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(FinalPath(link), "\\\\?\\" + real) << "the link was replaced by a file";
    EXPECT_EQ(ReadFileBytes(real).substr(0, 39), "VECTOR,20000,5\r\nStar            \r\n1,1,6");
    // Nothing left beside the file: the temporary file went there and became it.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((kept + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// The title bar draws the names, not boxes: every letter of them, in the
// caption font, looks like itself. A font without the letters (Wine's
// stand-in for the caption font links to a Japanese font only when told to)
// draws each as the same empty box, which a private-use character shows.
TEST(FileNamesInTheTitleBar, TheCaptionFontDrawsEveryLetterOfTheNames) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, 48, -48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(bitmap && bits);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    auto drawn = [&](wchar_t letter) {
        RECT all = {0, 0, 48, 48};
        ExtTextOutW(dc, 8, 8, ETO_OPAQUE, &all, &letter, 1, nullptr);
        GdiFlush();
        const uint32_t* pixels = (const uint32_t*)bits;
        return std::vector<uint32_t>(pixels, pixels + 48 * 48);
    };
    const std::vector<uint32_t> box = drawn(L'\xE000');
    std::vector<std::vector<uint32_t>> letters;
    for (const char* name : NamesInOtherScripts) {
        wchar_t wide[64];
        ASSERT_GE(WidenText(name, wide, 64), 0);
        for (const wchar_t* c = wide; *c; ++c) {
            if (*c < 0x80) continue;
            letters.push_back(drawn(*c));
            EXPECT_TRUE(letters.back() != box)
                << "U+" << std::hex << (int)*c << " is drawn as a box";
        }
    }
    for (size_t i = 1; i < letters.size(); ++i)
        EXPECT_NE(letters[i], letters[i - 1])
            << "letters " << i - 1 << " and " << i << " look alike";
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DeleteObject(font);
}
