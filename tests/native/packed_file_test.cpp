// Packed frame files: the exact bytes, the delayed beam bit and its history
// across frames, the 12-bit coordinate words, and empty ranges.
#include "formats/packed_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "tests/native/ui_recorder.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::string data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, got);
    std::fclose(f);
    return data;
}

std::string Padded(const std::string& text) {
    return text + std::string(16 - text.size(), ' ');
}

void PutFrame(int slot, const std::string& name, const std::vector<VectorPoint>& points) {
    workingFrame.count = (int32_t)points.size();
    for (size_t i = 0; i < points.size(); ++i) workingFrame.points[i] = points[i];
    StoreFrame(slot, true);
    std::memcpy(frameStore.frameNames[slot].bytes, Padded(name).data(), 16);
}

// A frame whose points are visible where the pattern says '1'.
void PutPattern(int slot, const char* pattern) {
    std::vector<VectorPoint> points;
    for (const char* c = pattern; *c; ++c)
        points.push_back({(int16_t)(*c == '1' ? POINT_VISIBLE : 0), 0, 0});
    PutFrame(slot, "p", points);
}

unsigned Word(const std::string& file, size_t at) {
    return (unsigned char)file[at] | ((unsigned)(unsigned char)file[at + 1] << 8);
}

// The beam bits of a written file, one character per point.
std::string BeamBits(const std::string& file) {
    std::string bits;
    for (size_t at = 32; at + 4 <= file.size(); at += 4)
        bits += (Word(file, at) & 0x8000) ? '1' : '0';
    return bits;
}

class PackedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
        char pattern[] = "/tmp/quillon-packed-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string Written(int first, int last) {
        std::string path = dir + "/out.frm";
        EXPECT_EQ(WritePackedFrames(nullptr, path.c_str(), first, last), 1);
        return ReadAll(path);
    }

    UiRecorder* ui;
    std::string dir;
};

TEST_F(PackedFileTest, WorkedExampleIsWrittenByteForByte) {
    ScanSpeed = 30000;
    BlankingDelay = 1;
    PutFrame(0, "Loop",
             {{0, 0, 0}, {POINT_VISIBLE, 16, 16}, {POINT_VISIBLE, -32768, -32767}, {0, 32767, 0}});
    const unsigned char expected[48] = {0x56, 0x44, 0x20, 0x20, 0x30, 0x75, 0x04, 0x00, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4C, 0x6F, 0x6F, 0x70,
                                        0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
                                        0x20, 0x20, 0x00, 0x08, 0x00, 0x08, 0x01, 0x08, 0xFF, 0x07,
                                        0x00, 0x80, 0xFF, 0x0F, 0xFF, 0x8F, 0x00, 0x08};
    EXPECT_EQ(Written(0, 0), std::string((const char*)expected, 48));
    EXPECT_EQ(ui->Count("warning"), 0);
}

TEST_F(PackedFileTest, BeamBitLagsByTheDelayAcrossFrames) {
    PutPattern(0, "1101");
    PutPattern(1, "");  // an empty frame neither adds points nor resets the history
    PutPattern(2, "0011");
    PutPattern(3, "10");
    BlankingDelay = 0;
    EXPECT_EQ(BeamBits(Written(0, 3)), "1101001110");
    BlankingDelay = 2;
    // The first point of frame 2 carries the second-to-last flag of frame 0.
    EXPECT_EQ(BeamBits(Written(0, 3)), "0011010011");
    BlankingDelay = 3;
    EXPECT_EQ(BeamBits(Written(0, 3)), "0001101001");
    // A delay of 32 tests the newest bit again, like 0.
    BlankingDelay = 32;
    EXPECT_EQ(BeamBits(Written(0, 3)), "1101001110");
    // The history starts at zero for every write, whatever came before.
    BlankingDelay = 3;
    EXPECT_EQ(BeamBits(Written(2, 3)), "000001");
}

TEST_F(PackedFileTest, CoordinatesKeepTheirTop12BitsWithYUpward) {
    PutFrame(0, "c",
             {{0, -32768, 0},
              {0, 32767, -32768},
              {0, 0, -32767},
              {0, 15, 32767},
              {0, 0x1230, -0x1230},
              {0, 0x123F, -0x123F}});
    std::string file = Written(0, 0);
    ASSERT_EQ(file.size(), 32u + 6 * 4);
    const unsigned expected[6][2] = {{0x000, 0x800}, {0xFFF, 0x000}, {0x800, 0xFFF},
                                     {0x800, 0x000}, {0x923, 0x923}, {0x923, 0x923}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Word(file, 32 + 4 * i) & 0x7FFF, expected[i][0]) << "point " << i;
        EXPECT_EQ(Word(file, 34 + 4 * i), expected[i][1]) << "point " << i;
    }
}

TEST_F(PackedFileTest, HeaderCountsEveryPointOfTheRange) {
    ScanSpeed = 1000;
    PutPattern(0, "111");
    PutPattern(1, "");
    PutPattern(2, "11111");
    std::memcpy(frameStore.frameNames[1].bytes, std::string("mid\0dle\xff        ", 16).data(), 16);
    std::string file = Written(1, 2);
    ASSERT_EQ(file.size(), 32u + 5 * 4);
    EXPECT_EQ(file.substr(0, 16), std::string("VD  \xE8\x03\x05\0\0\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(file.substr(16, 16), std::string("mid\0dle\xff        ", 16));

    // Ranges without points: the header alone, named after frame first.
    EXPECT_EQ(Written(1, 1).substr(6),
              std::string(10, '\0') + std::string("mid\0dle\xff        ", 16));
    std::string empty = Written(2, 1);
    ASSERT_EQ(empty.size(), 32u);
    EXPECT_EQ(Word(empty, 6), 0u);
    EXPECT_EQ(empty.substr(16), std::string(frameStore.frameNames[2].bytes, 16));
}

TEST_F(PackedFileTest, UncreatableFileIsReported) {
    PutPattern(0, "1");
    EXPECT_EQ(WritePackedFrames(nullptr, (dir + "/missing/out.frm").c_str(), 0, 0), 0);
    ASSERT_EQ(ui->Count("warning"), 1);
    EXPECT_EQ(ui->calls.back().text, "Failed to create frame file.");
    EXPECT_EQ(ui->calls.back().caption, "Saving Frames");
}

}  // namespace
