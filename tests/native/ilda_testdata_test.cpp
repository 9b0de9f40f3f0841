// ILDA files as other programs write them: each must read whole, with the
// frames and points its sections give, and write back to the same frames.
// The expected figures come from a small section walker of its own here,
// which shares nothing with the reader.
//
// Each real file (optional, from QUILLON_SAMPLES) has a made twin of the
// same build: sections over 3000 points, palettes, a format 3 section that
// ends the read, no closing header, no last-point bits, format 1 and 5
// records, names with zero bytes. The made ones always run.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "formats/ilda_file.h"
#include "formats/read_account.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"
#include "tests/samples.h"

namespace {

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

// ---- Made files ----------------------------------------------------------

// Records of a frame section. The first two points reach the ends of the
// range (file Y of -32768 included), the rest wander; every seventh point is
// blanked, and the last one carries the last-point bit only when asked.
std::string Records(int format, int count, unsigned seed, bool lastPointBit) {
    std::string s;
    unsigned state = seed;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        unsigned x = (state >> 8) & 0xFFFF, y = (state >> 12) & 0xFFFF;
        if (i == 0) x = y = 0x8000;
        if (i == 1) x = y = 0x7FFF;
        int status = (i % 7 == 3) ? 0x40 : 0;
        if (lastPointBit && i == count - 1) status |= 0x80;
        s += Be16(x) + Be16(y);
        if (format == 0) s += Be16(0x1234) + (char)status + '\x11';
        if (format == 1) s += std::string(1, (char)status) + '\x22';
        if (format == 5) s += std::string(1, (char)status) + "\x10\x20\x30";
    }
    return s;
}

// Frame number and total frames hold values the reader must not use.
std::string Frame(int format, const std::string& name16, int count, unsigned seed,
                  bool lastPointBit = false) {
    return Header(format, name16, (unsigned)count, 4321, 77) +
           Records(format, count, seed, lastPointBit);
}

std::string Palette(int colours) {
    return Header(2, Padded("palette"), (unsigned)colours) + std::string(3 * colours, '\x7F');
}

// One made twin per real file, of the same build.
std::string MadeSample(const std::string& file) {
    std::string s;
    if (file == "pattern.ild") {  // ILDA12K.ild: the test pattern
        s = Frame(0, Padded("ILDA12K"), 1191, 1, true) + Closing();
    } else if (file == "title.ild") {  // lase_title.ild: a name padded with zero bytes
        s = Frame(1, std::string("svg2ilda\0\0\0\0\0\0\0\0", 16), 1049, 2);
    } else if (file == "truecolour.ild") {  // Erweitertes-105.ild
        s = Frame(5, Padded("Erweitertes"), 176, 3) + Closing();
    } else if (file == "animation.ild") {  // astroid.ild: fifty frames
        for (int f = 0; f < 50; ++f)
            s += Frame(0, Padded("astroid " + std::to_string(f)), 40 + f * 27, 100 + f, true);
        s += Closing();
    } else if (file == "oversized.ild") {  // startrek.ild: frames beyond 3000 points
        const int counts[] = {2999, 3000, 3001, 7520, 120};
        for (int f = 0; f < 5; ++f) s += Frame(0, Padded("enterprise"), counts[f], 200 + f);
        s += Closing();
    } else if (file == "palettes.ild") {  // formatt.ild: palettes, then format 3
        s = Frame(1, Padded("indexed 2D"), 702, 4) + Palette(256) +
            Frame(0, Padded("indexed 3D"), 480, 5) + Palette(64) +
            Header(3, Padded("not read"), 10) + std::string(10 * 10, '\x01') +
            Frame(0, Padded("after"), 5, 6) + Closing();
    }
    return s;
}

// ---- The checks, on made and real files alike ---------------------------

struct Sample {
    const char* file;
    bool made;
    // What the file is known to hold, which checks the walker itself.
    size_t frames;
    int mostRecords, palettes, endFormat;
    bool closingHeader;
    long long pointsBeyondLimit;
};

const Sample MADE_SAMPLES[] = {
    {"pattern.ild", true, 1, 1191, 0, -1, true, 0},
    {"title.ild", true, 1, 1049, 0, -1, false, 0},
    {"truecolour.ild", true, 1, 176, 0, -1, true, 0},
    {"animation.ild", true, 50, 40 + 49 * 27, 0, -1, true, 0},
    {"oversized.ild", true, 5, 7520, 0, -1, true, 1 + 4520},
    {"palettes.ild", true, 2, 702, 2, 3, false, 0},
};

const Sample REAL_SAMPLES[] = {
    {"ILDA12K.ild", false, 1, 1191, 0, -1, true, 0},
    {"lase_title.ild", false, 1, 1049, 0, -1, false, 0},
    {"Erweitertes-105.ild", false, 1, 176, 0, -1, true, 0},
    {"astroid.ild", false, 50, 1345, 0, -1, true, 0},
    {"startrek.ild", false, 56, 7520, 0, -1, true, 95795},
    {"formatt.ild", false, 2, 702, 2, 3, false, 0},
};

void PrintTo(const Sample& sample, std::ostream* out) {
    *out << sample.file;
}

std::string SampleTestName(const ::testing::TestParamInfo<Sample>& info) {
    std::string name;
    for (const char* c = info.param.file; *c && *c != '.'; ++c)
        name += std::isalnum((unsigned char)*c) ? *c : '_';
    return name;
}

class IldaSampleTest : public ::testing::TestWithParam<Sample> {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    // The sample's path: a made one is written into the test's folder first.
    // "" when a real one is not there.
    std::string SampleFile() {
        const Sample& sample = GetParam();
        if (!sample.made) return SamplePath(std::string("ild/") + sample.file);
        std::string path = folder.Path(sample.file);
        if (WriteWholeFile(path, MadeSample(sample.file))) return path;
        ADD_FAILURE() << "cannot write " << path;
        return std::string();
    }
    std::string Missing() const { return MissingSample(std::string("ild/") + GetParam().file); }

    UiRecorder* ui;
    TempFolder folder{"quillon-ilda-sample"};
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

TEST_P(IldaSampleTest, ReadsWithTheCountsOfItsSections) {
    std::string path = SampleFile();
    if (path.empty()) GTEST_SKIP() << Missing();
    std::string data = ReadWholeFile(path);
    Walk walk = WalkSections(data);
    ASSERT_FALSE(walk.frames.empty());
    ASSERT_EQ(ReadIldaFrames(nullptr, path.c_str(), 0), 1);
    EXPECT_EQ(ui->Count("warning"), walk.LeftOut() ? 1 : 0);
    EXPECT_EQ(lastReadAccount.pointsBeyondLimit, walk.pointsBeyondLimit);
    ExpectStoreMatches(walk, GetParam().file);

    // Written out and read again, the frames come back the same.
    std::string copy = folder.Path("copy.ild");
    ASSERT_EQ(WriteIldaFrames(nullptr, copy.c_str(), 0, frameStore.numFrames - 1), 1);
    ResetDocument();
    ASSERT_EQ(ReadIldaFrames(nullptr, copy.c_str(), 0), 1);
    ExpectStoreMatches(walk, copy);
}

// Cut anywhere after the first header, a file keeps what was read whole.
TEST_P(IldaSampleTest, CutCopiesKeepTheWholeRecords) {
    std::string path = SampleFile();
    if (path.empty()) GTEST_SKIP() << Missing();
    std::string data = ReadWholeFile(path);
    ASSERT_GT(data.size(), 64u);
    std::string cut = folder.Path("cut.ild");
    const size_t sizes[] = {
        32, 33, 45, data.size() / 3, data.size() / 2 + 5, data.size() - 31, data.size() - 1};
    for (size_t size : sizes) {
        std::string part = data.substr(0, size);
        ASSERT_TRUE(WriteWholeFile(cut, part));
        ResetDocument();
        ui->Clear();
        ASSERT_EQ(ReadIldaFrames(nullptr, cut.c_str(), 0), 1) << size;
        Walk walk = WalkSections(part);
        ExpectStoreMatches(walk, std::string(GetParam().file) + " cut at " + std::to_string(size));
        EXPECT_EQ(ui->Count("warning"), walk.LeftOut() ? 1 : 0) << size;
        EXPECT_EQ(lastReadAccount.stop == READ_STOP_CUT_SHORT, walk.cutShort) << size;
    }
}

// What the files are known to hold, so that the walker itself is checked,
// and so that each made file is a true twin of its real one.
TEST_P(IldaSampleTest, AgreesWithWhatTheFileIsKnownToHold) {
    std::string path = SampleFile();
    if (path.empty()) GTEST_SKIP() << Missing();
    const Sample& known = GetParam();
    Walk walk = WalkSections(ReadWholeFile(path));
    int most = 0, capped = 0;
    for (const WalkedFrame& f : walk.frames) {
        most = std::max(most, f.records);
        capped += f.records > 3000 && f.points == 3000;
    }
    EXPECT_EQ(walk.frames.size(), known.frames);
    EXPECT_EQ(most, known.mostRecords);
    EXPECT_EQ(capped > 0, known.mostRecords > 3000);
    EXPECT_EQ(walk.palettes, known.palettes);
    EXPECT_EQ(walk.endFormat, known.endFormat);
    EXPECT_EQ(walk.closingHeader, known.closingHeader);
    EXPECT_EQ(walk.pointsBeyondLimit, known.pointsBeyondLimit);
}

INSTANTIATE_TEST_SUITE_P(MadeFiles, IldaSampleTest, ::testing::ValuesIn(MADE_SAMPLES),
                         SampleTestName);
INSTANTIATE_TEST_SUITE_P(RealFiles, IldaSampleTest, ::testing::ValuesIn(REAL_SAMPLES),
                         SampleTestName);

}  // namespace
