// Real ILDA files written by other programs: each must read whole, with the
// frames and points its sections give, and write back to the same frames.
// The expected figures come from a small section walker of its own here,
// which shares nothing with the reader.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/frame_store.h"
#include "formats/ilda_file.h"
#include "formats/read_account.h"
#include "tests/native/ui_recorder.h"

namespace {

const std::string ILDA_DIR = std::string(QUILLON_TESTDATA_DIR) + "/ild/";

std::string ReadAll(const std::string& path) {
    std::string data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::string();
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, got);
    std::fclose(f);
    return data;
}

struct WalkedPoint {
    int x, y;
    bool visible;
};

struct WalkedFrame {
    std::string name;
    int points;  // as stored: at most 3000
    int records;
    WalkedPoint firstPoint, lastPoint;
};

struct Walk {
    std::vector<WalkedFrame> frames;
    int palettes = 0;
    int endFormat = -1;  // format code of a section that ended the walk
    bool closingHeader = false;
    bool cutShort = false;    // the file ends inside a section
    bool notSection = false;  // bytes where a header should be are none
    int framesBeyondStore = 0;
    long long pointsBeyondLimit = 0;
    bool LeftOut() const {
        return endFormat >= 0 || cutShort || notSection || framesBeyondStore > 0 ||
               pointsBeyondLimit > 0;
    }
};

int U16(const std::string& s, size_t at) {
    return ((unsigned char)s[at] << 8) | (unsigned char)s[at + 1];
}

WalkedPoint PointAt(const std::string& s, size_t at, int format) {
    int x = (int16_t)U16(s, at);
    int fileY = (int16_t)U16(s, at + 2);
    int y = fileY == -32768 ? -32768 : -fileY;
    int status = (unsigned char)s[at + (format == 0 || format == 4 ? 6 : 4)];
    return {x, y, (status & 0x40) == 0};
}

// Section by section, by the format's own rules.
Walk WalkSections(const std::string& s) {
    Walk walk;
    size_t at = 0;
    while (at + 32 <= s.size() && s.compare(at, 5, std::string("ILDA\0", 5)) == 0) {
        int format = (unsigned char)s[at + 7];
        int records = U16(s, at + 24);
        if (records == 0) {
            walk.closingHeader = true;
            break;
        }
        size_t size = format == 0 || format == 5 ? 8
                      : format == 4              ? 10
                      : format == 1              ? 6
                      : format == 2              ? 3
                                                 : 0;
        if (size == 0) {
            walk.endFormat = format;
            break;
        }
        size_t body = at + 32;
        if (format == 2) {
            ++walk.palettes;
        } else {
            if (walk.frames.size() == 1000) {
                ++walk.framesBeyondStore;
                at = body + size * records;
                continue;
            }
            WalkedFrame frame;
            frame.name = s.substr(at + 8, 16);
            frame.records = records;
            size_t whole = (s.size() - body) / size;
            frame.points = (int)std::min<size_t>(std::min<size_t>(records, 3000), whole);
            walk.pointsBeyondLimit +=
                std::max<long long>(0, (long long)std::min<size_t>(records, whole) - 3000);
            if (frame.points > 0) {
                frame.firstPoint = PointAt(s, body, format);
                frame.lastPoint = PointAt(s, body + (frame.points - 1) * size, format);
            }
            walk.frames.push_back(frame);
        }
        at = body + size * records;
    }
    if (!walk.closingHeader && walk.endFormat < 0 && at != s.size()) {
        // Records or a header cut short, or bytes that are no header.
        if (at > s.size() || at + 32 > s.size())
            walk.cutShort = true;
        else
            walk.notSection = true;
    }
    return walk;
}

class IldaTestdataTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    UiRecorder* ui;
};

void ExpectStoreMatches(const Walk& walk, const std::string& file) {
    ASSERT_EQ(frameStore.numFrames, (int)walk.frames.size()) << file;
    for (int f = 0; f < frameStore.numFrames; ++f) {
        const WalkedFrame& w = walk.frames[f];
        SCOPED_TRACE(file + " frame " + std::to_string(f));
        EXPECT_EQ(std::string(frameStore.frameNames[f].bytes, 16), w.name);
        ASSERT_EQ(frameStore.pointCounts[f], w.points);
        if (w.points == 0) continue;
        const VectorPoint& a = frameStore.frames[f][0];
        const VectorPoint& b = frameStore.frames[f][w.points - 1];
        EXPECT_EQ(a.x, w.firstPoint.x);
        EXPECT_EQ(a.y, w.firstPoint.y);
        EXPECT_EQ(a.flags, w.firstPoint.visible ? POINT_VISIBLE : 0);
        EXPECT_EQ(b.x, w.lastPoint.x);
        EXPECT_EQ(b.y, w.lastPoint.y);
        EXPECT_EQ(b.flags, w.lastPoint.visible ? POINT_VISIBLE : 0);
    }
}

TEST_P(IldaTestdataTest, ReadsWithTheCountsOfItsSections) {
    std::string path = ILDA_DIR + GetParam();
    std::string data = ReadAll(path);
    ASSERT_FALSE(data.empty()) << path;
    Walk walk = WalkSections(data);
    ASSERT_FALSE(walk.frames.empty());
    ASSERT_EQ(ReadIldaFrames(nullptr, path.c_str(), 0), 1);
    EXPECT_EQ(ui->Count("warning"), walk.LeftOut() ? 1 : 0);
    EXPECT_EQ(lastReadAccount.pointsBeyondLimit, walk.pointsBeyondLimit);
    ExpectStoreMatches(walk, GetParam());

    // Written out and read again, the frames come back the same.
    char pattern[] = "/tmp/quillon-ilda-data-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string copy = std::string(pattern) + "/copy.ild";
    ASSERT_EQ(WriteIldaFrames(nullptr, copy.c_str(), 0, frameStore.numFrames - 1), 1);
    ResetDocument();
    ASSERT_EQ(ReadIldaFrames(nullptr, copy.c_str(), 0), 1);
    ExpectStoreMatches(walk, copy);
    std::remove(copy.c_str());
    std::remove(pattern);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, IldaTestdataTest,
                         ::testing::Values("ILDA12K.ild", "lase_title.ild", "Erweitertes-105.ild",
                                           "astroid.ild", "startrek.ild", "formatt.ild"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* c = info.param; *c && *c != '.'; ++c)
                                 name += std::isalnum((unsigned char)*c) ? *c : '_';
                             return name;
                         });

// Cut anywhere after the first header, a file keeps what was read whole.
TEST_P(IldaTestdataTest, CutCopiesKeepTheWholeRecords) {
    std::string data = ReadAll(ILDA_DIR + GetParam());
    ASSERT_GT(data.size(), 64u);
    char pattern[] = "/tmp/quillon-ilda-cut-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string cut = std::string(pattern) + "/cut.ild";
    const size_t sizes[] = {
        32, 33, 45, data.size() / 3, data.size() / 2 + 5, data.size() - 31, data.size() - 1};
    for (size_t size : sizes) {
        std::string part = data.substr(0, size);
        FILE* f = std::fopen(cut.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(std::fwrite(part.data(), 1, part.size(), f), part.size());
        std::fclose(f);
        ResetDocument();
        ui->Clear();
        ASSERT_EQ(ReadIldaFrames(nullptr, cut.c_str(), 0), 1) << size;
        Walk walk = WalkSections(part);
        ExpectStoreMatches(walk, std::string(GetParam()) + " cut at " + std::to_string(size));
        EXPECT_EQ(ui->Count("warning"), walk.LeftOut() ? 1 : 0) << size;
        EXPECT_EQ(lastReadAccount.stop == READ_STOP_CUT_SHORT, walk.cutShort) << size;
    }
    std::remove(cut.c_str());
    std::remove(pattern);
}

// What the files are known to hold, so that the walker itself is checked.
TEST(IldaTestdataWalk, AgreesWithWhatTheFilesAreKnownToHold) {
    struct Known {
        const char* file;
        size_t frames;
        int mostRecords, palettes, endFormat;
        bool closing;
    };
    const Known known[] = {
        {"ILDA12K.ild", 1, 1191, 0, -1, true},        {"lase_title.ild", 1, 1049, 0, -1, false},
        {"Erweitertes-105.ild", 1, 176, 0, -1, true}, {"astroid.ild", 50, 1345, 0, -1, true},
        {"startrek.ild", 56, 7520, 0, -1, true},      {"formatt.ild", 2, 702, 2, 3, false}};
    for (const Known& k : known) {
        Walk walk = WalkSections(ReadAll(ILDA_DIR + k.file));
        int most = 0, capped = 0;
        for (const WalkedFrame& f : walk.frames) {
            most = std::max(most, f.records);
            capped += f.records > 3000 && f.points == 3000;
        }
        EXPECT_EQ(walk.frames.size(), k.frames) << k.file;
        EXPECT_EQ(most, k.mostRecords) << k.file;
        EXPECT_EQ(capped > 0, k.mostRecords > 3000) << k.file;
        EXPECT_EQ(walk.palettes, k.palettes) << k.file;
        EXPECT_EQ(walk.endFormat, k.endFormat) << k.file;
        EXPECT_EQ(walk.closingHeader, k.closing) << k.file;
    }
}

// The figures a real file is known to give: startrek.ild holds 263,795
// points, 95,795 of them beyond 3000 in their frames.
TEST(IldaTestdataFigures, StartrekLosesWhatItHoldsBeyondTheLimit) {
    const std::string path = ILDA_DIR + "startrek.ild";
    if (ReadAll(path).empty()) GTEST_SKIP() << "sample file absent: " << path;
    ResetDocument();
    UiRecorder* ui = InstallUiRecorder();
    ASSERT_EQ(ReadIldaFrames(nullptr, path.c_str(), 0), 1);
    EXPECT_EQ(lastReadAccount.pointsBeyondLimit, 95795);
    EXPECT_EQ(lastReadAccount.pointsRead + lastReadAccount.pointsBeyondLimit, 263795);
    EXPECT_EQ(lastReadAccount.framesBeyondStore, 0);
    EXPECT_EQ(lastReadAccount.stop, READ_STOP_NONE);
    ASSERT_EQ(ui->Count("warning"), 1);
    EXPECT_NE(ui->calls.back().text.find("- 95795 points in "), std::string::npos)
        << ui->calls.back().text;
}

}  // namespace
