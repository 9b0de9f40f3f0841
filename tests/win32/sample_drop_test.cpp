// An ILDA animation dropped onto the window: every frame arrives, and the
// Frame Table lists them with their names. Run on a made animation always,
// and on one written by another program when the samples are there
// (QUILLON_SAMPLES).
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tables/frame_table_win32.h"
#include "tests/samples.h"
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

static std::string ReadFileBytes(const std::string& path) {
    std::string data;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return data;
    char block[4096];
    size_t got;
    while ((got = fread(block, 1, sizeof block, file)) > 0) data.append(block, got);
    fclose(file);
    return data;
}

// Frames and the first frame's name, by walking the sections (formats 0, 1
// and 5 only, which is what these files hold).
static int CountFrames(const std::string& s, std::string* firstName) {
    int frames = 0;
    size_t at = 0;
    while (at + 32 <= s.size() && s.compare(at, 4, "ILDA") == 0) {
        int format = (unsigned char)s[at + 7];
        size_t records = ((unsigned char)s[at + 24] << 8) | (unsigned char)s[at + 25];
        if (records == 0) break;
        if (format != 2 && frames++ == 0) *firstName = s.substr(at + 8, 16);
        at += 32 + records * (format == 1 ? 6 : format == 2 ? 3 : 8);
    }
    return frames;
}

struct DroppedSample {
    const char* file;
    bool made;
};

class ShellSampleDrop : public ::testing::TestWithParam<DroppedSample> {};

TEST_P(ShellSampleDrop, EveryFrameArrivesAndIsListed) {
    std::string path;
    if (GetParam().made) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path = std::string(temp) + GetParam().file;
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::string data = MadeAnimation();
        ASSERT_EQ(fwrite(data.data(), 1, data.size(), file), data.size());
        fclose(file);
    } else {
        path = SamplePath(std::string("ild/") + GetParam().file);
        if (path.empty()) GTEST_SKIP() << MissingSample(std::string("ild/") + GetParam().file);
    }
    std::string firstName;
    int frames = CountFrames(ReadFileBytes(path), &firstName);
    ASSERT_GT(frames, 1);

    ResetProgramState();
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    ASSERT_NE(frameList, nullptr);
    SendMessageA(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({path}), 0);
    PumpProgramMessages();
    if (GetParam().made) DeleteFileA(path.c_str());

    EXPECT_EQ(frameStore.numFrames, frames);
    EXPECT_EQ(PaneText(1), "Frame: 1/" + std::to_string(frames));
    EXPECT_EQ(SendMessageA(frameList, LVM_GETITEMCOUNT, 0, 0), frames);
    char cell[32] = "";
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = cell;
    item.cchTextMax = sizeof cell;
    SendMessageA(frameList, LVM_GETITEMTEXTA, 0, (LPARAM)&item);
    EXPECT_EQ(std::string(cell), firstName.substr(0, firstName.find('\0')));
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(MainWindowTitle(), "Quillon");
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
}

INSTANTIATE_TEST_SUITE_P(MadeFile, ShellSampleDrop,
                         ::testing::Values(DroppedSample{"quillon-made-animation.ild", true}));
INSTANTIATE_TEST_SUITE_P(RealFile, ShellSampleDrop,
                         ::testing::Values(DroppedSample{"astroid.ild", false}));
