// ILDA files in the published layouts of formats 0, 1, 4 and 5: every byte of
// small frames held against the layout as other programs read it (record
// sizes, the last-point bit on each frame's last record, the blanking bit,
// colour indexes and true colours), the headers as the editor writes them,
// and the frames read back as they were.
#include "formats/ilda_write.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "formats/ilda_file.h"
#include "formats/read_account.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

// "01 0A ..." as bytes.
std::string Hex(const char* text) {
    std::string bytes;
    for (const char* p = text; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        bytes += (char)std::stoi(std::string(p, 2), nullptr, 16);
        p += 2;
    }
    return bytes;
}

class IldaWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    void PutFrame(int slot, const std::string& name, std::initializer_list<VectorPoint> points) {
        workingFrame.count = 0;
        for (const VectorPoint& p : points) workingFrame.points[workingFrame.count++] = p;
        StoreFrame(slot, true);
        std::memcpy(frameStore.frameNames[slot].bytes, Padded(name).data(), 16);
    }
    // Box: lit to (256, Y 512), blanked to (-1, Y -1), lit to the corner
    // (-32768, Y -32768); Dot: one lit point, so that it is its own last.
    void PutTwoFrames() {
        PutFrame(0, "Box",
                 {{POINT_VISIBLE, 256, -512}, {0, -1, 1}, {POINT_VISIBLE, -32768, -32768}});
        PutFrame(1, "Dot", {{POINT_VISIBLE, 5, 0}});
    }
    std::string Path(const char* name) const { return folder.Path(name); }

    UiRecorder* ui;
    TempFolder folder{"quillon-ilda-write"};
};

struct LayoutCase {
    int format;
    // The four records: Box's three, then Dot's.
    const char* records[4];
};

// Lit points in colour 12 34 56 (red, green, blue), which the true-colour
// records hold as blue, green, red.
const LayoutCase LAYOUTS[] = {
    {0,
     {"0100 0200 0000 00 01", "FFFF FFFF 0000 40 00", "8000 8000 0000 80 01",
      "0005 0000 0000 80 01"}},
    {1, {"0100 0200 00 01", "FFFF FFFF 40 00", "8000 8000 80 01", "0005 0000 80 01"}},
    {4,
     {"0100 0200 0000 00 563412", "FFFF FFFF 0000 40 000000", "8000 8000 0000 80 563412",
      "0005 0000 0000 80 563412"}},
    {5,
     {"0100 0200 00 563412", "FFFF FFFF 40 000000", "8000 8000 80 563412", "0005 0000 80 563412"}},
};

std::string SectionHeader(int format, const char* name, int records, int number) {
    return std::string("ILDA\0\0\0", 7) + (char)format + Padded(name) + Be16((unsigned)records) +
           Be16((unsigned)number) + Be16(2) + std::string(2, '\0');
}

TEST_F(IldaWriteTest, EveryFormatFollowsThePublishedLayoutAndReadsBack) {
    for (const LayoutCase& c : LAYOUTS) {
        SCOPED_TRACE(c.format);
        ResetDocument();
        PutTwoFrames();
        ASSERT_EQ(WriteIldaFormat(nullptr, Path("out.ild").c_str(), 0, 1, c.format, 0x123456), 1);
        const std::string expected = SectionHeader(c.format, "Box", 3, 0) + Hex(c.records[0]) +
                                     Hex(c.records[1]) + Hex(c.records[2]) +
                                     SectionHeader(c.format, "Dot", 1, 1) + Hex(c.records[3]) +
                                     SectionHeader(c.format, "Dot", 0, 2);
        EXPECT_EQ(ReadWholeFile(Path("out.ild")), expected);

        ResetDocument();
        ASSERT_EQ(ReadIldaFrames(nullptr, Path("out.ild").c_str(), 0), 1);
        EXPECT_FALSE(ReadLeftDataOut(&lastReadAccount));
        ASSERT_EQ(frameStore.numFrames, 2);
        EXPECT_EQ(std::string(frameStore.frameNames[0].bytes, 16), Padded("Box"));
        EXPECT_EQ(std::string(frameStore.frameNames[1].bytes, 16), Padded("Dot"));
        ASSERT_EQ(frameStore.pointCounts[0], 3);
        ASSERT_EQ(frameStore.pointCounts[1], 1);
        const VectorPoint expectedPoints[] = {
            {POINT_VISIBLE, 256, -512}, {0, -1, 1}, {POINT_VISIBLE, -32768, -32768}};
        for (int i = 0; i < 3; ++i) {
            const VectorPoint& p = frameStore.frames[0][i];
            EXPECT_EQ(p.flags, expectedPoints[i].flags) << i;
            EXPECT_EQ(p.x, expectedPoints[i].x) << i;
            EXPECT_EQ(p.y, expectedPoints[i].y) << i;
        }
        EXPECT_EQ(frameStore.frames[1][0].x, 5);
    }
    EXPECT_EQ(ui->Count("warning"), 0);
}

// A blanked last point carries both bits; a range keeps the editor's
// numbering from 0 and its total, and ends with the closing header.
TEST_F(IldaWriteTest, ABlankedLastPointAndARange) {
    for (int f = 0; f < 4; ++f) PutFrame(f, "f" + std::to_string(f), {{0, 7, 7}, {0, 8, 8}});
    ASSERT_EQ(WriteIldaFormat(nullptr, Path("r.ild").c_str(), 1, 2, 5, 0xFFFFFF), 1);
    const std::string out = ReadWholeFile(Path("r.ild"));
    ASSERT_EQ(out.size(), 3u * 32 + 4u * 8);
    EXPECT_EQ(out.substr(24, 6), Be16(2) + Be16(0) + Be16(2));
    EXPECT_EQ(out.substr(32, 16), Hex("0007 FFF9 40 000000 0008 FFF8 C0 000000"));
    EXPECT_EQ(out.substr(48 + 24, 6), Be16(2) + Be16(1) + Be16(2));
    EXPECT_EQ(out.substr(96 + 8, 22), Padded("f2") + Be16(0) + Be16(2) + Be16(2));
}

// The published writer refuses what the editor's refuses, and a format it
// does not write, without touching the file.
TEST_F(IldaWriteTest, RefusalsLeaveTheFileAlone) {
    PutFrame(0, "full", {{POINT_VISIBLE, 1, 1}});
    PutFrame(1, "empty", {});
    ASSERT_TRUE(WriteWholeFile(Path("keep.ild"), "old"));
    EXPECT_EQ(WriteIldaFormat(nullptr, Path("keep.ild").c_str(), 0, 1, 1, 0), 0);
    EXPECT_EQ(ui->Count("warning"), 1);
    for (int format : {2, 3, 6, -1}) {
        EXPECT_FALSE(IldaWritableFormat(format)) << format;
        EXPECT_EQ(WriteIldaFormat(nullptr, Path("keep.ild").c_str(), 0, 0, format, 0), 0);
    }
    EXPECT_EQ(ReadWholeFile(Path("keep.ild")), "old");
    EXPECT_EQ(FolderNames(folder.dir).size(), 1u);
}

}  // namespace
