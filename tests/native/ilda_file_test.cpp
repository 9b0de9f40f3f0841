// ILDA frame files: exact output, the reader's handling of every kind of
// section and of damaged files, and what a bad or failing file must not do
// to the document or to an existing file.
#include "formats/ilda_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "formats/atomic_write.h"
#include "formats/checked_read.h"
#include "formats/csv_file.h"
#include "formats/read_account.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

std::string Name(int slot) {
    return std::string(frameStore.frameNames[slot].bytes, 16);
}

void PutFrame(int slot, const std::string& name16, int points, int base) {
    workingFrame.count = points;
    for (int i = 0; i < points; ++i)
        workingFrame.points[i] = {(int16_t)((i % 3) ? POINT_VISIBLE : 0), (int16_t)(base + i),
                                  (int16_t)(base - 2 * i)};
    StoreFrame(slot, true);
    std::memcpy(frameStore.frameNames[slot].bytes, name16.data(), 16);
}

// Everything a reader could disturb, as one comparable text.
std::string DocumentFingerprint() {
    std::string s = std::to_string(frameStore.numFrames) + "/" +
                    std::to_string(frameStore.currentFrame) + "/" + std::to_string(ScanSpeed) +
                    "/" + std::to_string(BlankingDelay) + "/" + std::to_string(undoSnapshot.state) +
                    "/" + std::to_string(documentModified);
    for (int f = 0; f < frameStore.numFrames + 2 && f < MAX_FRAMES; ++f) {
        s += "|" + Name(f) + std::to_string(frameStore.pointCounts[f]);
        for (int i = 0; i < frameStore.pointCounts[f]; ++i) {
            const VectorPoint& p = frameStore.frames[f][i];
            s += "," + std::to_string(p.flags) + ":" + std::to_string(p.x) + ":" +
                 std::to_string(p.y);
        }
    }
    s += "|w" + std::to_string(workingFrame.count) + std::to_string(workingFrame.changed);
    for (int i = 0; i < workingFrame.count; ++i)
        s += "," + std::to_string(workingFrame.points[i].x) + ":" +
             std::to_string(workingFrame.points[i].y);
    return s;
}

class IldaFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
        char pattern[] = "/tmp/quillon-ilda-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        SetAtomicWriteFault(ATOMIC_FAULT_NONE, 0);
        std::string command = "chmod -R u+w '" + dir + "' && rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string Path(const char* name) const { return dir + "/" + name; }
    int Read(const std::string& data, int insert = 0) {
        EXPECT_TRUE(WriteWholeFile(Path("in.ild"), data));
        return ReadIldaFrames(nullptr, Path("in.ild").c_str(), insert);
    }
    std::string Written(int first, int last) {
        EXPECT_EQ(WriteIldaFrames(nullptr, Path("out.ild").c_str(), first, last), 1);
        return ReadWholeFile(Path("out.ild"));
    }
    void ExpectPoint(int slot, int index, int flags, int x, int y) {
        const VectorPoint& p = frameStore.frames[slot][index];
        EXPECT_EQ(p.flags, flags) << "slot " << slot << " point " << index;
        EXPECT_EQ(p.x, x) << "slot " << slot << " point " << index;
        EXPECT_EQ(p.y, y) << "slot " << slot << " point " << index;
    }
    // Two frames of the old document, with edits pending in the working frame.
    void MakeOldDocument() {
        PutFrame(0, Padded("first"), 4, 10);
        PutFrame(1, Padded("second"), 2, 500);
        frameStore.currentFrame = 1;
        LoadFrame(1);
        workingFrame.points[0].x = 999;
        SetDocumentModified(true);
        TakeUndoSnapshot(UNDO_FULL_COPY);
        ScanSpeed = 12000;
        BlankingDelay = 9;
    }

    UiRecorder* ui;
    std::string dir;
};

const unsigned char WORKED_EXAMPLE[80] = {
    0x49, 0x4C, 0x44, 0x41, 0x00, 0x00, 0x00, 0x00, 0x42, 0x6F, 0x78, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
    0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x40, 0x00,
    0x49, 0x4C, 0x44, 0x41, 0x00, 0x00, 0x00, 0x00, 0x42, 0x6F, 0x78, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};

// ---- Writing -----------------------------------------------------------

TEST_F(IldaFileTest, WorkedExampleIsWrittenByteForByteAndReadsBack) {
    workingFrame.count = 2;
    workingFrame.points[0] = {POINT_VISIBLE, 256, -512};
    workingFrame.points[1] = {0, -1, 1};
    StoreFrame(0, true);
    std::memcpy(frameStore.frameNames[0].bytes, Padded("Box").data(), 16);
    EXPECT_EQ(Written(0, 0), std::string((const char*)WORKED_EXAMPLE, 80));

    ResetDocument();
    ASSERT_EQ(ReadIldaFrames(nullptr, Path("out.ild").c_str(), 0), 1);
    ASSERT_EQ(frameStore.numFrames, 1);
    EXPECT_EQ(Name(0), Padded("Box"));
    ASSERT_EQ(frameStore.pointCounts[0], 2);
    ExpectPoint(0, 0, POINT_VISIBLE, 256, -512);
    ExpectPoint(0, 1, 0, -1, 1);
    EXPECT_EQ(ui->Count("warning"), 0);
}

TEST_F(IldaFileTest, HeadersOfAWrittenRange) {
    for (int f = 0; f < 6; ++f) PutFrame(f, Padded("frame" + std::to_string(f)), f + 1, f * 100);
    std::string out = Written(2, 4);
    ASSERT_EQ(out.size(), 32u * 4 + 8u * (3 + 4 + 5));
    size_t at = 0;
    for (int n = 0; n < 3; ++n) {
        std::string h = out.substr(at, 32);
        EXPECT_EQ(h.substr(0, 8), std::string("ILDA\0\0\0\0", 8));
        EXPECT_EQ(h.substr(8, 16), Name(2 + n));
        EXPECT_EQ(h.substr(24, 8), Be16(3 + n) + Be16(n) + Be16(3) + std::string(2, '\0'));
        at += 32 + 8 * (3 + n);
    }
    // The closing header counts the frames and keeps the last one's name.
    EXPECT_EQ(out.substr(at), std::string("ILDA\0\0\0\0", 8) + Name(4) + Be16(0) + Be16(3) +
                                  Be16(3) + std::string(2, '\0'));

    EXPECT_EQ(Written(3, 2), std::string("ILDA\0\0\0\0", 8) + std::string(24, '\0'));
}

TEST_F(IldaFileTest, ExtremeCoordinatesAndRawNameBytesSurviveBothWays) {
    std::string name("a\0b\xff\x01 zz\0\0\0\0\0\0\0\0", 16);
    workingFrame.count = 3;
    workingFrame.points[0] = {POINT_VISIBLE, -32768, -32768};
    workingFrame.points[1] = {0, 32767, 32767};
    workingFrame.points[2] = {POINT_VISIBLE | POINT_SELECTED | POINT_MARKED, 0, -32767};
    StoreFrame(0, true);
    std::memcpy(frameStore.frameNames[0].bytes, name.data(), 16);
    std::string out = Written(0, 0);
    EXPECT_EQ(out.substr(8, 16), name);
    EXPECT_EQ(out.substr(32, 8), Be16(0x8000) + Be16(0x8000) + std::string("\0\0\0\x01", 4));
    EXPECT_EQ(out.substr(40, 8), Be16(0x7FFF) + Be16(0x8001) + std::string("\0\0\x40\0", 4));
    EXPECT_EQ(out.substr(48, 8), Be16(0) + Be16(0x7FFF) + std::string("\0\0\0\x01", 4));

    ResetDocument();
    ASSERT_EQ(ReadIldaFrames(nullptr, Path("out.ild").c_str(), 0), 1);
    EXPECT_EQ(Name(0), name);
    ExpectPoint(0, 0, POINT_VISIBLE, -32768, -32768);
    ExpectPoint(0, 1, 0, 32767, 32767);
    ExpectPoint(0, 2, POINT_VISIBLE, 0, -32767);
}

TEST_F(IldaFileTest, BlankFrameInTheRangeTouchesNoFile) {
    PutFrame(0, Padded("full"), 3, 0);
    PutFrame(2, Padded("full"), 3, 0);  // frame 1 grows in empty
    ASSERT_TRUE(WriteWholeFile(Path("old.ild"), "previous contents"));
    EXPECT_EQ(WriteIldaFrames(nullptr, Path("old.ild").c_str(), 0, 2), 0);
    EXPECT_EQ(ReadWholeFile(Path("old.ild")), "previous contents");
    EXPECT_EQ(WriteIldaFrames(nullptr, Path("new.ild").c_str(), 1, 1), 0);
    EXPECT_EQ(ReadWholeFile(Path("new.ild")), "<missing>");
    ASSERT_EQ(ui->Count("warning"), 2);
    EXPECT_EQ(ui->calls[0].text, "ILDA format does not allow any blank frame.");
    EXPECT_EQ(ui->calls[0].caption, "Saving Frames");
    EXPECT_EQ(FolderNames(dir).size(), 1u);
}

TEST_F(IldaFileTest, FailedWriteKeepsTheOldFileByteForByte) {
    for (int f = 0; f < 40; ++f) PutFrame(f, Padded("f"), 3000, f);
    std::string old = Written(0, 0);
    // The disk fills up after 100000 bytes, in the middle of a frame.
    SetAtomicWriteFault(ATOMIC_FAULT_WRITE, 100000);
    EXPECT_EQ(WriteIldaFrames(nullptr, Path("out.ild").c_str(), 0, 39), 0);
    EXPECT_EQ(ReadWholeFile(Path("out.ild")), old);
    ASSERT_EQ(ui->Count("warning"), 1);
    EXPECT_EQ(ui->calls.back().text, "Failed to write frame file.");
    EXPECT_EQ(ui->calls.back().caption, "Saving Frames");
    EXPECT_EQ(FolderNames(dir).size(), 1u);  // no temporary file left behind

    SetAtomicWriteFault(ATOMIC_FAULT_NONE, 0);
    EXPECT_EQ(WriteIldaFrames(nullptr, (dir + "/missing/out.ild").c_str(), 0, 0), 0);
    EXPECT_EQ(ui->calls.back().text, "Failed to create frame file.");
    EXPECT_EQ(ui->calls.back().caption, "Saving Frames");
}

// ---- Reading -----------------------------------------------------------

TEST_F(IldaFileTest, EachFrameFormatTakesItsStatusFromItsOwnOffset) {
    std::string file = Header(0, Padded("zero"), 4) + Record0(1, 2, 0x00) + Record0(3, 4, 0x40) +
                       Record0(5, 6, 0x80) + Record0(7, 8, 0xC0) + Header(1, Padded("one"), 3) +
                       Record1(-1, -2, 0x40) + Record1(-3, -4, 0x80) + Record1(9, 9, 0xBF) +
                       Header(5, Padded("five"), 2) + Record5(100, 0x8000, 0xC0) +
                       Record5(-100, 0x7FFF, 0x00) + Header(4, Padded("four"), 3) +
                       Record4(20, 30, 0x40) + Record4(-20, -30, 0x00) +
                       Record4(0x7FFF, 0x8001, 0x80) + Closing();
    ScanSpeed = 4321;
    BlankingDelay = 17;
    ASSERT_EQ(Read(file), 1);
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(Name(0), Padded("zero"));
    EXPECT_EQ(Name(1), Padded("one"));
    EXPECT_EQ(Name(2), Padded("five"));
    EXPECT_EQ(Name(3), Padded("four"));
    ASSERT_EQ(frameStore.pointCounts[0], 4);
    ExpectPoint(0, 0, POINT_VISIBLE, 1, -2);
    ExpectPoint(0, 1, 0, 3, -4);
    ExpectPoint(0, 2, POINT_VISIBLE, 5, -6);
    ExpectPoint(0, 3, 0, 7, -8);
    ASSERT_EQ(frameStore.pointCounts[1], 3);
    ExpectPoint(1, 0, 0, -1, 2);
    ExpectPoint(1, 1, POINT_VISIBLE, -3, 4);
    ExpectPoint(1, 2, POINT_VISIBLE, 9, -9);
    ASSERT_EQ(frameStore.pointCounts[2], 2);
    ExpectPoint(2, 0, 0, 100, -32768);
    ExpectPoint(2, 1, POINT_VISIBLE, -100, -32767);
    // Format 4: 3D true colour, ten bytes, the status after Z.
    ASSERT_EQ(frameStore.pointCounts[3], 3);
    ExpectPoint(3, 0, 0, 20, -30);
    ExpectPoint(3, 1, POINT_VISIBLE, -20, 30);
    ExpectPoint(3, 2, POINT_VISIBLE, 32767, 32767);
    // The format carries no settings; the first frame becomes current.
    EXPECT_EQ(ScanSpeed, 4321);
    EXPECT_EQ(BlankingDelay, 17);
    EXPECT_EQ(frameStore.currentFrame, 0);
    EXPECT_EQ(workingFrame.count, 4);
    EXPECT_EQ(workingFrame.points[0].x, 1);
    EXPECT_FALSE(workingFrame.changed);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);
    EXPECT_EQ(ui->Count("warning"), 0);
}

// What ends a read before the end of the file: the frames before it stay,
// and the one warning says where and why.
TEST_F(IldaFileTest, SectionsThatEndTheRead) {
    const struct {
        std::string file;
        int frames;
        const char* why;  // "" when nothing is said
    } cases[] = {
        // A frame of no records is the closing header: reading ends there.
        // Bytes after it that are no section are nothing to mention;
        // sections after it are frames left out.
        {Frame0("a", 2) + Closing() + std::string(40, '\0'), 1, ""},
        {Frame0("a", 2) + Header(0, Padded("empty"), 0) + Frame0("b", 3), 1,
         "reading stopped at section 2: a header of 0 records ends the frames, but more "
         "frames follow it"},
        // A format this reader cannot take.
        {Frame0("a", 2) + Frame0("b", 1) + Header(3, Padded("c"), 5) + std::string(50, '\x01') +
             Frame0("d", 1),
         2, "reading stopped at section 3: format code 3 cannot be read"},
        {Frame0("a", 2) + Frame0("b", 1) + Header(255, Padded("c"), 5) + Frame0("d", 1), 2,
         "reading stopped at section 3: format code 255 cannot be read"},
        // Anything that is not a header; palettes count as sections.
        {Header(2, Padded("p"), 1) + "abc" + Frame0("a", 2) + "JUNKJUNKJUNKJUNKJUNKJUNKJUNKJUNK" +
             Frame0("b", 1),
         1, "reading stopped at section 3: no section header there"},
        // Frames after a closing header, behind more closing headers or
        // palettes, are left out.
        {Frame0("a", 2) + Closing() + Closing() + Frame0("b", 3), 1,
         "reading stopped at section 2: a header of 0 records ends the frames, but more "
         "frames follow it"},
        {Frame0("a", 2) + Closing() + Header(2, Padded("p"), 1) + "rgb" + Frame0("b", 3), 1,
         "reading stopped at section 2: a header of 0 records ends the frames, but more "
         "frames follow it"},
    };
    for (const auto& c : cases) {
        ui->Clear();
        ASSERT_EQ(Read(c.file), 1) << c.why;
        EXPECT_EQ(frameStore.numFrames, c.frames) << c.why;
        EXPECT_EQ(
            ui->Count("warning") ? ui->OnlyWarning() : "",
            *c.why ? std::string("Loading Frames|Not all of this file was read:\n- ") + c.why : "");
    }
    // A closing header before any frame leaves nothing read: the document stays.
    EXPECT_EQ(Read(Closing() + Frame0("b", 3)), 0);
    EXPECT_EQ(frameStore.numFrames, 1);
}

// The signature is the four bytes "ILDA"; the three reserved bytes after it
// are ignored. Real writers leave "000" there (one writes "ILDA000" and the
// format code into every header) or whatever their buffer held (another
// leaves 8B 20); such files read whole, without a word.
TEST_F(IldaFileTest, ReservedBytesAfterTheSignatureAreIgnored) {
    auto reserved = [](std::string section, const std::string& three) {
        return section.replace(4, 3, three);
    };
    const std::string writers[] = {"000", std::string("\x8B\x20\x00", 3), "\xFF\xFF\xFF"};
    for (const std::string& three : writers) {
        const std::string file = reserved(Header(2, Padded("colours"), 1) + "rgb", three) +
                                 reserved(Frame0("a", 2), three) +
                                 reserved(Frame0("b", 3, 50), three) + reserved(Closing(), three);
        for (int insert = 0; insert <= 1; ++insert) {
            ResetDocument();
            ui->Clear();
            ASSERT_EQ(Read(file, insert), 1) << three;
            EXPECT_EQ(ui->Count("warning"), 0) << three;
            ASSERT_EQ(frameStore.numFrames, 2) << three;
            EXPECT_EQ(Name(1), Padded("b"));
            ASSERT_EQ(frameStore.pointCounts[1], 3);
            ExpectPoint(1, 2, POINT_VISIBLE, 52, 52);
        }
    }
}

// A closing header ends the frames; what follows it is left out only when
// it holds frames. Another closing header (a real file of 290 frames ends
// with two) or a palette after it costs nothing, so nothing is said: the
// file counts as read whole.
TEST_F(IldaFileTest, ClosingHeadersAndPalettesAfterTheClosingHeaderLoseNothing) {
    const std::string palette = Header(2, Padded("p"), 2) + "rgbrgb";
    const std::string tails[] = {
        Closing(),
        palette,
        Closing() + palette + Closing() + Closing(),
        palette.substr(0, 35),  // a palette cut short: no frame in it either
        Header(3, Padded("x"), 1) + std::string(12, 'x') + Frame0("c", 1),  // unreadable before
        Header(7, Padded("x"), 0) + Frame0("c", 1).substr(0, 20),  // a frame header cut short
    };
    for (const std::string& tail : tails) {
        ui->Clear();
        ASSERT_EQ(Read(Frame0("a", 2) + Frame0("b", 1) + Closing() + tail), 1);
        EXPECT_EQ(frameStore.numFrames, 2);
        EXPECT_EQ(ui->Count("warning"), 0) << ui->OnlyWarning();
        EXPECT_FALSE(ReadLeftDataOut(&lastReadAccount));
    }
    // A file of a closing header and a palette is an empty document, as a
    // closing header alone is; with frames after them nothing can be read.
    MakeOldDocument();
    ui->Clear();
    ASSERT_EQ(Read(Closing() + palette + Closing()), 1);
    EXPECT_EQ(frameStore.numFrames, 0);
    EXPECT_EQ(ui->Count("warning"), 0);
    MakeOldDocument();
    const std::string before = DocumentFingerprint();
    EXPECT_EQ(Read(Closing() + Closing() + palette + Frame0("b", 3)), 0);
    EXPECT_EQ(DocumentFingerprint(), before);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|No frame could be read from this file:\n- reading stopped at section "
              "1: a header of 0 records ends the frames, but more frames follow it");
}

TEST_F(IldaFileTest, PalettesAreSkippedWithoutBecomingFrames) {
    std::string palette = Header(2, Padded("palette"), 4) + std::string(12, '\x40');
    ASSERT_EQ(Read(palette + Frame0("a", 2) + palette + Frame0("b", 3, 50) + Closing()), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(Name(0), Padded("a"));
    EXPECT_EQ(Name(1), Padded("b"));
    ASSERT_EQ(frameStore.pointCounts[1], 3);
    ExpectPoint(1, 2, POINT_VISIBLE, 52, 52);
}

TEST_F(IldaFileTest, OversizedFrameIsCappedAndTheNextSectionStillFound) {
    ASSERT_EQ(Read(Frame0("big", 3500) + Frame0("after", 2, 7000) + Closing()), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    ASSERT_EQ(frameStore.pointCounts[0], 3000);
    ExpectPoint(0, 2999, 0, 2999, 2999);
    EXPECT_EQ(Name(1), Padded("after"));
    ASSERT_EQ(frameStore.pointCounts[1], 2);
    ExpectPoint(1, 0, POINT_VISIBLE, 7000, 7000);
    ExpectPoint(1, 1, 0, 7001, 7001);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 500 points in 1 frame beyond the 3000 points a frame holds");
    EXPECT_EQ(lastReadAccount.framesRead, 2);
    EXPECT_EQ(lastReadAccount.pointsRead, 3002);
    // Several long frames add up; exactly 3000 records is no loss.
    ui->Clear();
    ASSERT_EQ(Read(Frame0("a", 3001) + Frame0("b", 3000) + Frame0("c", 4000) + Closing()), 1);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 1001 points in 2 frames beyond the 3000 points a frame holds");
}

TEST_F(IldaFileTest, CutFilesKeepEverythingReadWholeAndSaySo) {
    const std::string file = Frame0("a", 2) + Frame0("b", 5);
    const struct {
        std::string file;
        int frames;
        const char* lastName;
        int lastPoints;
        const char* cutIn;  // the section the file ends in; "" when nothing is lost
    } cases[] = {
        // Cut inside the fourth record of frame b: three records are whole.
        {file.substr(0, file.size() - 8 - 3), 2, "b", 3, "2"},
        // Cut inside a header after whole frames.
        {file + Closing().substr(0, 20), 2, "b", 5, "3"},
        // Ending after whole sections lacks only the closing header.
        {file, 2, "b", 5, ""},
        // A header with no records after it at all gives an empty frame.
        {Frame0("a", 2) + Header(1, Padded("lost"), 9), 2, "lost", 0, "2"},
        // A cut palette ends the file too.
        {Frame0("a", 2) + Header(2, Padded("p"), 100) + std::string(7, 'x'), 1, "a", 2, "2"},
    };
    for (const auto& c : cases) {
        ui->Clear();
        ASSERT_EQ(Read(c.file), 1) << c.lastName;
        ASSERT_EQ(frameStore.numFrames, c.frames) << c.lastName;
        EXPECT_EQ(Name(c.frames - 1), Padded(c.lastName));
        EXPECT_EQ(frameStore.pointCounts[c.frames - 1], c.lastPoints) << c.lastName;
        EXPECT_EQ(ui->Count("warning") ? ui->OnlyWarning() : "",
                  *c.cutIn ? std::string("Loading Frames|Not all of this file was read:\n- the "
                                         "file ends early, in section ") +
                                 c.cutIn
                           : "");
    }
}

TEST_F(IldaFileTest, AReadErrorIsNoEndOfFile) {
    std::string file = Frame0("a", 2) + Frame0("b", 500) + Closing();
    ASSERT_TRUE(WriteWholeFile(Path("in.ild"), file));
    SetReadFault(48 + 32 + 100);  // inside the records of frame b
    const int result = ReadIldaFrames(nullptr, Path("in.ild").c_str(), 0);
    SetReadFault(-1);
    ASSERT_EQ(result, 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[1], 12);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- reading stopped at section 2: the file could not be read further");
    // One in the first header is no "Invalid" file either; nothing changes.
    ui->Clear();
    SetReadFault(10);
    EXPECT_EQ(ReadIldaFrames(nullptr, Path("in.ild").c_str(), 0), 0);
    SetReadFault(-1);
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|No frame could be read from this file:\n"
              "- reading stopped at section 1: the file could not be read further");
}

TEST_F(IldaFileTest, MissingOrForeignFileLeavesTheDocumentAsItWas) {
    std::string notIlda[] = {
        std::string(),
        std::string("ILDA\0\0\0\0", 8),
        Frame0("a", 1).substr(0, 31),
        "VECTOR,30000,3\r\nname\r\n1,2,3\r\n+\r\n1,2,3\r\n",
        std::string("ILDB\0\0\0\0", 8) + Frame0("a", 1).substr(8),
        std::string("ilda\0\0\0\0", 8) + Frame0("a", 1).substr(8),
    };
    for (int insert = 0; insert <= 1; ++insert) {
        for (const std::string& data : notIlda) {
            ResetDocument();
            MakeOldDocument();
            std::string before = DocumentFingerprint();
            ui->Clear();
            EXPECT_EQ(Read(data, insert), 0) << "insert " << insert << " size " << data.size();
            EXPECT_EQ(DocumentFingerprint(), before);
            ASSERT_EQ(ui->Count("warning"), 1);
            EXPECT_EQ(ui->calls[0].text, "Invalid ILDA frame file.");
            EXPECT_EQ(ui->calls[0].caption, "Loading Frames");
        }
        std::string before = DocumentFingerprint();
        ui->Clear();
        EXPECT_EQ(ReadIldaFrames(nullptr, Path("absent.ild").c_str(), insert), 0);
        EXPECT_EQ(DocumentFingerprint(), before);
        ASSERT_EQ(ui->Count("warning"), 1);
        EXPECT_EQ(ui->calls[0].text, "Failed to open frame file.");
        EXPECT_EQ(ui->calls[0].caption, "Loading Frames");
    }
}

TEST_F(IldaFileTest, EmptyButValidFiles) {
    // A closing header alone, or a palette alone, is an ILDA file with no
    // frames: open mode empties the document, insert mode adds nothing.
    for (const std::string& data : {Closing(), Header(2, Padded("p"), 2) + std::string(6, 0)}) {
        MakeOldDocument();
        ASSERT_EQ(Read(data, 1), 1);
        EXPECT_EQ(frameStore.numFrames, 2);
        EXPECT_EQ(Name(1), Padded("second"));
        ASSERT_EQ(Read(data, 0), 1);
        EXPECT_EQ(frameStore.numFrames, 0);
        EXPECT_EQ(workingFrame.count, 0);
        EXPECT_EQ(ScanSpeed, 12000);
    }
    EXPECT_EQ(ui->Count("warning"), 0);
}

// An ILDA file of which not one frame can be taken is a failed read that
// says why, not an empty document.
TEST_F(IldaFileTest, NothingReadableLeavesTheDocumentAsItWas) {
    struct Case {
        std::string data;
        std::string why;
    } cases[] = {
        {Header(3, Padded("c"), 1) + std::string(10, '\0') + Frame0("b", 1),
         "reading stopped at section 1: format code 3 cannot be read"},
        {Header(2, Padded("p"), 1) + "abc" + Header(9, Padded("c"), 1),
         "reading stopped at section 2: format code 9 cannot be read"},
        {Header(2, Padded("p"), 2) + "abc", "the file ends early, in section 1"},
        {Header(2, Padded("p"), 1) + "abc" + "not a header at all, not at all!",
         "reading stopped at section 2: no section header there"},
    };
    for (int insert = 0; insert <= 1; ++insert) {
        for (const Case& c : cases) {
            ResetDocument();
            MakeOldDocument();
            std::string before = DocumentFingerprint();
            ui->Clear();
            EXPECT_EQ(Read(c.data, insert), 0) << c.why;
            EXPECT_EQ(DocumentFingerprint(), before) << c.why;
            EXPECT_EQ(ui->OnlyWarning(),
                      "Loading Frames|No frame could be read from this file:\n- " + c.why);
        }
    }
}

TEST_F(IldaFileTest, InsertPutsTheFramesAtTheCurrentFrame) {
    MakeOldDocument();
    ASSERT_EQ(Read(Frame0("new1", 2, 70) + Frame0("new2", 1, 80) + Closing(), 1), 1);
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(Name(0), Padded("first"));
    EXPECT_EQ(Name(1), Padded("new1"));
    EXPECT_EQ(Name(2), Padded("new2"));
    EXPECT_EQ(Name(3), Padded("second"));
    EXPECT_EQ(frameStore.pointCounts[3], 2);
    ExpectPoint(3, 1, POINT_VISIBLE, 501, 498);
    EXPECT_EQ(frameStore.currentFrame, 1);
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].x, 70);
    EXPECT_EQ(ScanSpeed, 12000);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);
}

TEST_F(IldaFileTest, OpenFillsTheStoreAndCountsWhatDidNotFit) {
    std::string many;
    for (int f = 0; f < 1200; ++f) many += Frame0("f" + std::to_string(f), 1 + f % 2, f);
    // A document of 1000 frames reads whole: nothing is said.
    ASSERT_EQ(Read(many.substr(0, 500 * (40 + 48)) + Closing()), 1);
    ASSERT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(Name(999), Padded("f999"));
    ExpectPoint(999, 1, 0, 1000, 1000);
    EXPECT_EQ(ui->Count("warning"), 0);

    // 200 frames more: the first 1000 are read, the rest counted.
    ASSERT_EQ(Read(many + Closing()), 1);
    ASSERT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(Name(999), Padded("f999"));
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 200 frames (300 points) beyond what the document can hold");
}

TEST_F(IldaFileTest, InsertKeepsTheStoreLimits) {
    std::string many;
    for (int f = 0; f < 997; ++f) many += Frame0("f" + std::to_string(f), 1, f);
    // Inserting into 997 frames at frame 5 takes three and keeps every old one.
    ASSERT_EQ(Read(many), 1);
    frameStore.currentFrame = 5;
    ui->Clear();
    ASSERT_EQ(Read(Frame0("x", 1) + Frame0("y", 1) + Frame0("z", 1) + Frame0("w", 2), 1), 1);
    ASSERT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(Name(5), Padded("x"));
    EXPECT_EQ(Name(7), Padded("z"));
    EXPECT_EQ(Name(8), Padded("f5"));
    EXPECT_EQ(Name(999), Padded("f996"));
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 1 frame (2 points) beyond what the document can hold");
    // Into a full store nothing fits: a failed read that changes nothing.
    std::string before = DocumentFingerprint();
    ui->Clear();
    EXPECT_EQ(Read(Frame0("v", 1) + Closing(), 1), 0);
    EXPECT_EQ(DocumentFingerprint(), before);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|No frame could be read from this file:\n"
              "- 1 frame (1 point) beyond what the document can hold");
    // An insertion at index 999 is refused even with room in the store.
    ASSERT_EQ(Read(many.substr(0, 10 * 40)), 1);
    frameStore.currentFrame = 999;
    EXPECT_EQ(Read(Frame0("v", 1), 1), 0);
    EXPECT_EQ(frameStore.numFrames, 10);
}

TEST_F(IldaFileTest, CsvToIldaToCsvKeepsEveryFrame) {
    ScanSpeed = 21000;
    BlankingDelay = 4;
    PutFrame(0, Padded("Star"), 5, -32768);
    PutFrame(1, Padded("a,b"), 3000, 100);
    PutFrame(2, Padded("say \"hi\""), 1, 32767);
    workingFrame.count = 2;
    workingFrame.points[0] = {POINT_VISIBLE, -32768, -32768};
    workingFrame.points[1] = {0, 32767, 32767};
    StoreFrame(3, true);
    ASSERT_EQ(WriteCsvFrames(nullptr, Path("a.csv").c_str(), 0, 3), 1);

    ResetDocument();
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("a.csv").c_str(), 0), 1);
    ASSERT_EQ(WriteIldaFrames(nullptr, Path("b.ild").c_str(), 0, frameStore.numFrames - 1), 1);
    ResetDocument();
    ScanSpeed = 21000;
    BlankingDelay = 4;
    ASSERT_EQ(ReadIldaFrames(nullptr, Path("b.ild").c_str(), 0), 1);
    ASSERT_EQ(WriteCsvFrames(nullptr, Path("c.csv").c_str(), 0, frameStore.numFrames - 1), 1);
    EXPECT_EQ(frameStore.numFrames, 4);
    std::string first = ReadWholeFile(Path("a.csv"));
    EXPECT_GT(first.size(), 3000u * 8);
    EXPECT_TRUE(first == ReadWholeFile(Path("c.csv")));
    EXPECT_EQ(ui->Count("warning"), 0);
}

}  // namespace
