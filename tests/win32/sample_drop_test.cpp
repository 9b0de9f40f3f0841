// An ILDA animation dropped onto the window: every frame arrives, and the
// Frame Table lists them with their names. Run on a made animation always,
// and on one written by another program when the samples are there
// (QUILLON_SAMPLES).
#include <windows.h>

#include <cstdio>
#include <string>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tables/frame_table_win32.h"
#include "tests/samples.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

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
