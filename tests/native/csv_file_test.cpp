// CSV frame files: exact output, reading back, the lenient reader's rules,
// the limits, and what a bad or failing file must not do to the document.
#include "formats/csv_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "formats/atomic_write.h"
#include "formats/checked_read.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

std::string Name(int slot) {
    return std::string(frameStore.frameNames[slot].bytes, 16);
}

void SetName(int slot, const std::string& text) {
    SetBlankName(&frameStore.frameNames[slot]);
    std::memcpy(frameStore.frameNames[slot].bytes, text.data(), text.size());
}

void PutFrame(int slot, const std::string& name, std::initializer_list<VectorPoint> points) {
    workingFrame.count = 0;
    for (const VectorPoint& p : points) workingFrame.points[workingFrame.count++] = p;
    StoreFrame(slot, true);
    SetName(slot, name);
}

class CsvFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
        dir = MakeTempFolder("quillon-csv");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override {
        SetAtomicWriteFault(ATOMIC_FAULT_NONE, 0);
        RemoveTempFolder(dir);
    }
    std::string Path(const char* name) const { return dir + "/" + name; }
    // Writes data to a file and opens it in the given mode.
    int Read(const std::string& data, int insert = 0) {
        EXPECT_TRUE(WriteWholeFile(Path("in.csv"), data));
        return ReadCsvFrames(nullptr, Path("in.csv").c_str(), insert);
    }
    std::string Written(int first, int last) {
        EXPECT_EQ(WriteCsvFrames(nullptr, Path("out.csv").c_str(), first, last), 1);
        return ReadWholeFile(Path("out.csv"));
    }
    void ExpectPoint(int slot, int index, int flags, int x, int y) {
        const VectorPoint& p = frameStore.frames[slot][index];
        EXPECT_EQ(p.flags, flags) << "slot " << slot << " point " << index;
        EXPECT_EQ(p.x, x) << "slot " << slot << " point " << index;
        EXPECT_EQ(p.y, y) << "slot " << slot << " point " << index;
    }

    UiRecorder* ui;
    std::string dir;
};

const char* const EXAMPLE =
    "VECTOR,20000,5\r\n"
    "Star            \r\n"
    "0,-100,200\r\n"
    "1,100,200\r\n"
    "1,0,-100\r\n"
    "+\r\n"
    "\"a,b             \"\r\n"
    "1,5,0\r\n";

void MakeExample() {
    ScanSpeed = 20000;
    BlankingDelay = 5;
    PutFrame(0, "Star", {{0, -100, -200}, {POINT_VISIBLE, 100, -200}, {POINT_VISIBLE, 0, 100}});
    PutFrame(1, "a,b", {{POINT_VISIBLE, 5, 0}});
}

// ---- Exact format ------------------------------------------------------

TEST_F(CsvFileTest, WorkedExampleIsWrittenByteForByte) {
    MakeExample();
    EXPECT_EQ(Written(0, 1), EXAMPLE);
    EXPECT_EQ(ui->Count("warning"), 0);
}

TEST_F(CsvFileTest, WorkedExampleReadsBackIntoTheDocument) {
    ScanSpeed = 1000;
    BlankingDelay = 0;
    PutFrame(0, "old", {{1, 1, 1}});
    PutFrame(1, "old", {});
    PutFrame(2, "old", {});
    frameStore.currentFrame = 2;

    ASSERT_EQ(Read(EXAMPLE), 1);
    EXPECT_EQ(ScanSpeed, 20000);
    EXPECT_EQ(BlankingDelay, 5);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.currentFrame, 0);
    EXPECT_EQ(Name(0), Padded("Star"));
    EXPECT_EQ(Name(1), Padded("a,b"));
    ASSERT_EQ(frameStore.pointCounts[0], 3);
    ExpectPoint(0, 0, 0, -100, -200);
    ExpectPoint(0, 1, POINT_VISIBLE, 100, -200);
    ExpectPoint(0, 2, POINT_VISIBLE, 0, 100);
    ASSERT_EQ(frameStore.pointCounts[1], 1);
    ExpectPoint(1, 0, POINT_VISIBLE, 5, 0);
    // Frame 0 is the working frame and there is nothing to undo.
    EXPECT_EQ(workingFrame.count, 3);
    EXPECT_EQ(workingFrame.points[1].x, 100);
    EXPECT_FALSE(workingFrame.changed);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);
    EXPECT_TRUE(ui->Has("menu", CMD_UNDO));
    EXPECT_FALSE(ui->menuEnabled[CMD_UNDO]);
}

TEST_F(CsvFileTest, WriterEdgeForms) {
    ScanSpeed = 30000;
    BlankingDelay = 3;
    // Only the beam bit is written; y = -32768 is negated as a full integer.
    PutFrame(0, "",
             {{POINT_VISIBLE | POINT_SELECTED | POINT_MARKED, -32768, -32768},
              {POINT_SELECTED, 32767, 32767}});
    // A frame without points is its name line alone; a name with a zero byte
    // ends there.
    PutFrame(1, "ab", {});
    frameStore.frameNames[1].bytes[2] = 0;
    frameStore.frameNames[1].bytes[3] = 'z';
    EXPECT_EQ(Written(0, 1), "VECTOR,30000,3\r\n" + Padded("") +
                                 "\r\n1,-32768,32768\r\n0,32767,-32767\r\n+\r\nab\r\n");
    // An empty range gives the header alone.
    EXPECT_EQ(Written(1, 0), "VECTOR,30000,3\r\n");
    // A single frame out of the middle has no separator.
    EXPECT_EQ(Written(1, 1), "VECTOR,30000,3\r\nab\r\n");
}

TEST_F(CsvFileTest, NumbersAreWrittenAsPrintfWritesThem) {
    ScanSpeed = INT32_MIN;  // out of the usual range, but the writer must not care
    BlankingDelay = INT32_MAX;
    workingFrame.count = MAX_POINTS;
    for (int i = 0; i < MAX_POINTS; ++i) {
        int x = i < 2 ? (i ? 32767 : -32768) : -32768 + i * 21 + (i % 7);
        int y = i < 2 ? (i ? -32768 : 32767) : 32767 - i * 19 - (i % 5);
        workingFrame.points[i] = {(int16_t)(i % 3 ? POINT_VISIBLE : 0), (int16_t)x, (int16_t)y};
    }
    StoreFrame(0, true);
    SetName(0, "n");
    char line[64];
    std::snprintf(line, sizeof line, "VECTOR,%d,%d\r\n", ScanSpeed, BlankingDelay);
    std::string expected = line + Padded("n") + "\r\n";
    for (int i = 0; i < MAX_POINTS; ++i) {
        const VectorPoint& p = frameStore.frames[0][i];
        std::snprintf(line, sizeof line, "%d,%d,%d\r\n", p.flags & POINT_VISIBLE ? 1 : 0, p.x,
                      -p.y);
        expected += line;
    }
    EXPECT_EQ(Written(0, 0), expected);
}

// ---- Round trips -------------------------------------------------------

// Names with a comma or a leading "+" are quoted so that they come back whole.
TEST_F(CsvFileTest, ManyFramesSurviveWriteAndRead) {
    ScanSpeed = 12345;
    BlankingDelay = 17;
    const char* names[] = {
        "plain",         "with, comma", "+plus first",    "sixteen chars!!!", "  lead & trail  ",
        "quote\"inside", "x+y",         "a,b,c,d,e,f,g,h"};
    const int frames = 8;
    for (int f = 0; f < frames; ++f) {
        workingFrame.count = f == 3 ? MAX_POINTS : f * 7;
        for (int i = 0; i < workingFrame.count; ++i)
            workingFrame.points[i] = {(int16_t)((i + f) % 3 == 0 ? POINT_VISIBLE : 0),
                                      (int16_t)(i * 37 - 32768), (int16_t)(32767 - i * 53)};
        StoreFrame(f, true);
        SetName(f, names[f]);
    }
    FrameStore* before = new FrameStore(frameStore);
    ASSERT_EQ(WriteCsvFrames(nullptr, Path("round.csv").c_str(), 0, frames - 1), 1);
    ResetDocument();
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("round.csv").c_str(), 0), 1);
    EXPECT_EQ(ScanSpeed, 12345);
    EXPECT_EQ(BlankingDelay, 17);
    ASSERT_EQ(frameStore.numFrames, frames);
    for (int f = 0; f < frames; ++f) {
        EXPECT_EQ(Name(f), std::string(before->frameNames[f].bytes, 16)) << f;
        ASSERT_EQ(frameStore.pointCounts[f], before->pointCounts[f]) << f;
        EXPECT_EQ(std::memcmp(frameStore.frames[f], before->frames[f],
                              sizeof(VectorPoint) * before->pointCounts[f]),
                  0)
            << f;
    }
    delete before;
}

// ---- Header ------------------------------------------------------------

TEST_F(CsvFileTest, HeaderVariantsAndClamps) {
    struct Case {
        const char* header;
        int speed, delay;
    } cases[] = {
        {"VECTOR,25000", 25000, 0},                   // no delay: 0
        {"VECTOR,500,99", 1000, 32},                  // 32 is the reader's limit
        {"VECTOR,90000,-4", 30000, 0},                //
        {"VECTOR,  +2000,32", 2000, 32},              // blanks and sign before the number
        {"VECTOR,2000 ,7", 2000, 0},                  // the comma must follow directly
        {"VECTOR,2000,x", 2000, 0},                   //
        {"VECTOR,4294967297,4294967301", 30000, 32},  // too long: saturates, no wrap
    };
    for (const Case& c : cases) {
        ResetDocument();
        ASSERT_EQ(Read(std::string(c.header) + "\r\n"), 1) << c.header;
        EXPECT_EQ(ScanSpeed, c.speed) << c.header;
        EXPECT_EQ(BlankingDelay, c.delay) << c.header;
        // The header alone is one empty frame with a blank name.
        EXPECT_EQ(frameStore.numFrames, 1) << c.header;
        EXPECT_EQ(frameStore.pointCounts[0], 0);
        EXPECT_EQ(Name(0), Padded(""));
    }
}

TEST_F(CsvFileTest, RejectedHeaderLeavesTheDocumentAlone) {
    // clang-format off
    const std::string bad[] = {"", "vector,20000,5\r\n", " VECTOR,20000,5\r\n", "VECTOR20000\r\n",
                               "VECTOR,\r\n", "VECTOR,x,5\r\n", "\r\nVECTOR,20000,5\r\n",
                               std::string("VECTOR,\0" "5\n", 10)};
    // clang-format on
    for (const std::string& text : bad) {
        ResetDocument();
        PutFrame(0, "keep", {{1, 10, 20}});
        PutFrame(1, "me", {{0, 30, 40}});
        frameStore.currentFrame = 1;
        LoadFrame(1);
        workingFrame.points[0].x = 99;  // an edit not yet stored
        workingFrame.changed = true;
        ScanSpeed = 7777;
        BlankingDelay = 9;
        TakeUndoSnapshot(UNDO_COUNT_ONLY);
        ui->Clear();

        EXPECT_EQ(Read(text), 0) << text;
        ASSERT_EQ(ui->calls.size(), 1u);
        EXPECT_EQ(ui->calls[0].text, "Invalid Csv frame file.");
        EXPECT_EQ(ui->calls[0].caption, "Loading Frames");
        EXPECT_EQ(frameStore.numFrames, 2);
        EXPECT_EQ(frameStore.currentFrame, 1);
        EXPECT_EQ(Name(0), Padded("keep"));
        EXPECT_EQ(frameStore.frames[1][0].x, 30);
        EXPECT_EQ(workingFrame.points[0].x, 99);
        EXPECT_TRUE(workingFrame.changed);
        EXPECT_EQ(ScanSpeed, 7777);
        EXPECT_EQ(BlankingDelay, 9);
        EXPECT_EQ(undoSnapshot.state, 1);
    }
}

TEST_F(CsvFileTest, MissingFileIsReportedAndChangesNothing) {
    PutFrame(0, "keep", {{1, 10, 20}});
    EXPECT_EQ(ReadCsvFrames(nullptr, Path("absent.csv").c_str(), 0), 0);
    ASSERT_EQ(ui->Count("warning"), 1);
    EXPECT_EQ(ui->calls.back().text, "Failed to open frame file.");
    EXPECT_EQ(ui->calls.back().caption, "Loading Frames");
    EXPECT_EQ(frameStore.numFrames, 1);
}

// ---- Point lines -------------------------------------------------------

TEST_F(CsvFileTest, PointLineParsing) {
    ASSERT_EQ(Read("VECTOR,20000,5\n"
                   "3,10,20\n"                     // odd V: visible
                   "2,10,20\n"                     // even V: blanked
                   "-1,1,1\n"                      // negative odd
                   " 1,2,3\n"                      // leading blank: still a point
                   "1, -4,\t+5 trailing words\n"   // blanks and signs before each number
                   "1,40000,-32768\n"              // low 16 bits
                   "1,99999999999,-99999999999\n"  // beyond 32 bits: still the low 16 bits
                   "0,-99999999999,99999999999\n"
                   "2147483648,1,1\n"  // bit 0 of V as written, not of a saturated V
                   "-2147483649,1,1\n"
                   "1,4294967296,-18446744073709551617\n"),
              1);
    ASSERT_EQ(frameStore.pointCounts[0], 11);
    ExpectPoint(0, 0, POINT_VISIBLE, 10, -20);
    ExpectPoint(0, 1, 0, 10, -20);
    ExpectPoint(0, 2, POINT_VISIBLE, 1, -1);
    ExpectPoint(0, 3, POINT_VISIBLE, 2, -3);
    ExpectPoint(0, 4, POINT_VISIBLE, -4, -5);
    ExpectPoint(0, 5, POINT_VISIBLE, -25536, -32768);
    // 99999999999 is 0x174876E7FF: its low 16 bits are 0xE7FF, -6145.
    ExpectPoint(0, 6, POINT_VISIBLE, -6145, -6145);
    ExpectPoint(0, 7, 0, 6145, 6145);
    ExpectPoint(0, 8, 0, 1, -1);
    ExpectPoint(0, 9, POINT_VISIBLE, 1, -1);
    ExpectPoint(0, 10, POINT_VISIBLE, 0, 1);  // 2^32 and 2^64 + 1
    // Written back as the numbers they became.
    const std::string text = Written(0, 0);
    EXPECT_NE(text.find("\r\n1,-6145,6145\r\n0,6145,-6145\r\n0,1,1\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(Name(0), Padded(""));
}

TEST_F(CsvFileTest, LinesThatLookLikePointsButAreNot) {
    ASSERT_EQ(Read("VECTOR,20000,5\n1,1,1\n1 ,2,3\n"), 1);
    EXPECT_EQ(frameStore.pointCounts[0], 1);
    EXPECT_EQ(Name(0), Padded("1"));

    ASSERT_EQ(Read("VECTOR,20000,5\n1,2\n"), 1);
    EXPECT_EQ(frameStore.pointCounts[0], 0);
    EXPECT_EQ(Name(0), Padded("1"));

    // A leading plus is a separator whatever follows.
    ASSERT_EQ(Read("VECTOR,20000,5\n1,1,1\n+1,2,3\n2,2,2\n"), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[0], 1);
    EXPECT_EQ(frameStore.pointCounts[1], 1);
    ExpectPoint(1, 0, 0, 2, -2);
}

// ---- Line ends and pieces ----------------------------------------------

TEST_F(CsvFileTest, CrLfAndLfReadTheSame) {
    MakeExample();
    std::string lf = EXAMPLE;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    ASSERT_EQ(Read(lf), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(Name(1), Padded("a,b"));
    EXPECT_EQ(frameStore.pointCounts[0], 3);
    // A CR that is not before LF stays in the line: it ends a name.
    ASSERT_EQ(Read("VECTOR,20000,5\r\nab\rcd\r\n1,2,3\r"), 1);
    EXPECT_EQ(Name(0), Padded("ab"));
    EXPECT_EQ(frameStore.pointCounts[0], 1);
}

TEST_F(CsvFileTest, LongLinesAreReadInPiecesOf49) {
    std::string n49(49, 'n');
    // 49 characters: the line end comes as an empty piece, which blanks the name.
    ASSERT_EQ(Read("VECTOR,20000,5\r\n" + n49 + "\r\n"), 1);
    EXPECT_EQ(Name(0), Padded(""));
    // 48 characters and CR LF fit in one piece.
    ASSERT_EQ(Read("VECTOR,20000,5\r\n" + std::string(48, 'n') + "\r\n"), 1);
    EXPECT_EQ(Name(0), std::string(16, 'n'));
    // The last piece of a long name line names the frame.
    ASSERT_EQ(Read("VECTOR,20000,5\n" + n49 + "tail name\n"), 1);
    EXPECT_EQ(Name(0), Padded("tail name"));
    // A piece that starts with "+" is a separator; one that holds numbers a point.
    ASSERT_EQ(Read("VECTOR,20000,5\n" + n49 + "+\n" + n49 + "7,8,9\n"), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    ASSERT_EQ(frameStore.pointCounts[1], 1);
    ExpectPoint(1, 0, POINT_VISIBLE, 8, -9);
    // The header is a line like any other: its overflow is the next line.
    ASSERT_EQ(Read("VECTOR,20000,5" + std::string(35, ' ') + "4,5,6\n"), 1);
    EXPECT_EQ(ScanSpeed, 20000);
    ASSERT_EQ(frameStore.pointCounts[0], 1);
    ExpectPoint(0, 0, 0, 5, -6);
}

TEST_F(CsvFileTest, EveryFormOfPointLineReadsAsTheLibraryScanfDoes) {
    // Plain lines take a quicker road than the rest; both must agree with
    // "%d,%d,%d" everywhere, also across block boundaries and frame limits.
    unsigned seed = 777;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    auto number = [&](bool first) {
        std::string text;
        switch (next(12)) {
            case 0:
                text = " ";
                break;
            case 1:
                text = first ? "" : "+";
                break;
            case 2:
                text = "\t-";
                break;
            case 3:
                text = "-";
                break;
            case 4:
                text = "--";
                break;
            default:
                break;
        }
        int digits = 1 + (int)next(9);  // up to 9 digits: no overflow in the library
        if (next(20) == 0) digits = 0;
        for (int i = 0; i < digits; ++i) text += (char)('0' + next(10));
        return text;
    };
    std::string text = "VECTOR,20000,5\n";
    std::vector<std::vector<VectorPoint>> expected(1);
    const int lines = 40000;
    for (int i = 0; i < lines; ++i) {
        if (i % 3500 == 3499) {  // more than 3000 lines in some frames, fewer in others
            text += "+\n";
            expected.emplace_back();
            continue;
        }
        std::string line = number(true) + "," + number(false);
        line += next(15) ? "," : ", ";
        line += number(false);
        switch (next(16)) {
            case 0:
                line += " tail";
                break;
            case 1:
                line += ",9";
                break;
            case 2:
                line += "\r";
                break;  // stays in the line: not before LF
            case 3:
                line = "x" + line;
                break;
            case 4:
                line.insert(next((unsigned)line.size()), 1, '\r');
                break;
            default:
                break;
        }
        text += line + (next(2) ? "\r\n" : "\n");
        if (line[0] == '+') continue;  // a separator would need no scanf
        int v, x, y;
        if (std::sscanf(line.c_str(), "%d,%d,%d", &v, &x, &y) == 3 &&
            expected.back().size() < MAX_POINTS)
            expected.back().push_back({(int16_t)(v & 1), (int16_t)x, (int16_t)(-y)});
    }
    ASSERT_GT(text.size(), 3u * 256 * 1024);
    ASSERT_EQ(Read(text), 1);
    ASSERT_EQ(frameStore.numFrames, (int)expected.size());
    for (size_t f = 0; f < expected.size(); ++f) {
        ASSERT_EQ(frameStore.pointCounts[f], (int)expected[f].size()) << f;
        for (size_t i = 0; i < expected[f].size(); ++i)
            ExpectPoint((int)f, (int)i, expected[f][i].flags, expected[f][i].x, expected[f][i].y);
    }
}

// ---- Name lines --------------------------------------------------------

TEST_F(CsvFileTest, NameLineParsing) {
    struct Case {
        std::string line;
        std::string name;
    } cases[] = {
        {"\"a,b\" rest", Padded("a,b")},  // quoted keeps commas
        {"a\"b,c", Padded("a\"b")},       // unquoted ends at comma
        {"\"no close, at all", Padded("no close, at all")},
        {"seventeen chars!!", "seventeen chars!"},  // 16 kept
        {"  spaced  ", Padded("  spaced  ")},
        {"caf\xE9 au lait", Padded("caf")},  // 0x80 and above end it
        {"tab\there", Padded("tab")},
        {"\"\"", Padded("")},
        {"del\x7f ok", Padded("del\x7f ok")},
        // The full form only where every double quote inside is doubled, as
        // the writer writes it; any other line reads as name lines always
        // have (a hand-edited file that looks like the full form).
        {"\"\"\"Q\"\" mark\",", Padded("\"Q\" mark")},
        {"\"ab\"\"\",", Padded("ab\"")},
        {"\"ab\"c\",", Padded("ab")},
        {"\"ab\"\"\"c\",", Padded("ab")},
        {"\"\"\",", Padded("")},
        {"\"\",", Padded("")},
        // A zero byte ends the name in every form.
        {std::string("\"ab\0cd\",", 8), Padded("ab")},
        {std::string("\"a\"\"\0\"\"d\",", 10), Padded("a\"")},
        {std::string("\"ab\0cd\"", 7), Padded("ab")},
        {std::string("ab\0cd", 5), Padded("ab")},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Read("VECTOR,20000,5\n" + c.line + "\n"), 1) << c.line;
        EXPECT_EQ(Name(0), c.name) << c.line;
    }
}

TEST_F(CsvFileTest, NameLinesMayComeAnywhereAndTheLastWins) {
    ASSERT_EQ(Read("VECTOR,20000,5\nfirst\n1,1,1\nsecond\n2,2,2\n+\n1,3,3\nnamed later\n+\n"
                   "gone\n1,4,4\n\n"),
              1);
    ASSERT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(Name(0), Padded("second"));
    EXPECT_EQ(frameStore.pointCounts[0], 2);
    EXPECT_EQ(Name(1), Padded("named later"));
    EXPECT_EQ(Name(2), Padded(""));  // an empty line blanks the name
    EXPECT_EQ(frameStore.pointCounts[2], 1);
    // A "+" as the last line adds an empty frame.
    ASSERT_EQ(Read("VECTOR,20000,5\r\nA\r\n1,1,1\r\n+\r\n"), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[1], 0);
}

// Frame names through files: every byte of a name but CR, LF and the zero
// byte comes back from a save and reopen, CR and LF never split a line, and
// every name line the earlier writer wrote still reads as it did.

// The name line the earlier writer wrote: the name up to a zero byte, in
// double quotes when it held a comma or began with "+", bare otherwise.
std::string EarlierNameLine(const std::string& name16) {
    std::string name = name16.substr(0, name16.find('\0'));
    bool quote = name.find(',') != std::string::npos || (!name.empty() && name[0] == '+');
    return quote ? "\"" + name + "\"" : name;
}

// What the earlier reader made of a name line.
std::string EarlierReading(const std::string& line) {
    std::string name(16, ' ');
    const bool quoted = !line.empty() && line[0] == '"';
    for (size_t n = 0, i = quoted ? 1 : 0; n < 16 && i < line.size(); ++n, ++i) {
        unsigned char c = (unsigned char)line[i];
        if (c < 0x20 || c >= 0x80) break;
        if (quoted ? c == '"' : c == ',') break;
        name[n] = (char)c;
    }
    return name;
}

// Each byte value but 0, 10 and 13 at the start, in the middle and at the
// end of a name, and the forms that used to change: a leading double quote,
// a double quote with a comma, bytes of 0x80 and above, control bytes.
std::vector<std::string> TrickyNames() {
    std::vector<std::string> names;
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '\r') continue;
        for (int at : {0, 7, 15}) {
            std::string name = "name with byte!!";
            name[at] = (char)b;
            names.push_back(name);
        }
    }
    const char* forms[] = {"\"quoted start",
                           "a\"b,c",
                           "\"a,b\"",
                           "+\"plus quote",
                           "Caf\xC3\xA9",
                           "\xA9 2001 lasers",
                           "\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"",
                           ",,,,,,,,,,,,,,,,",
                           "\"",
                           "\x01\x02\x03\x7F\x80\x81\xFE\xFF\"\",,++",
                           "\"hi\",",
                           ""};
    for (const char* form : forms) names.push_back(Padded(form));
    return names;
}

TEST_F(CsvFileTest, EveryNameByteButLineBreaksAndZeroSurvives) {
    std::vector<std::string> names = TrickyNames();
    ASSERT_LT(names.size(), 1000u);
    for (size_t f = 0; f < names.size(); ++f)
        PutFrame((int)f, names[f], {{POINT_VISIBLE, (int16_t)f, (int16_t)-f}});
    const std::string text = Written(0, (int)names.size() - 1);
    ResetDocument();
    ASSERT_EQ(Read(text), 1);
    ASSERT_EQ(frameStore.numFrames, (int)names.size());
    for (size_t f = 0; f < names.size(); ++f) {
        EXPECT_EQ(Name((int)f), names[f]) << "frame " << f;
        EXPECT_EQ(frameStore.pointCounts[f], 1) << f;
        EXPECT_EQ(frameStore.frames[f][0].x, (int)f) << f;
    }
    EXPECT_EQ(ui->Count("warning"), 0);
    // Every line of the file is whole: within one 49-character piece.
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        ASSERT_LE(end - at, 49u) << text.substr(at, end - at);
}

// Names the earlier reader read back are written as before, the rest in the
// full form; CR and LF are written as spaces, so they never split a line.
TEST_F(CsvFileTest, NamesThatUsedToReadBackAreWrittenAsBeforeTheRestInFullForm) {
    struct Case {
        std::string name;
        std::string line;
    } cases[] = {
        {Padded("Star"), Padded("Star")},
        {Padded("a,b"), "\"" + Padded("a,b") + "\""},
        {Padded("+plus"), "\"" + Padded("+plus") + "\""},
        {Padded("say \"hi\""), Padded("say \"hi\"")},  // a quote inside a bare name is a letter
        {std::string("ab\0zzzzzzzzzzzzz", 16), "ab"},
        {Padded("Caf\xE9"), "\"" + Padded("Caf\xE9") + "\","},
        {Padded("\"hi"), "\"\"\"hi             \","},
        {Padded("a\",b"), "\"a\"\",b            \","},
        {Padded("tab\there"), "\"" + Padded("tab\there") + "\","},
        {"two\nlines\r\n1,2,3", "\"two lines  1,2,3\""},
        {Padded("\r\n+\n\xE9"), "\"" + Padded("  + \xE9") + "\","},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.name.size(), 16u);
        PutFrame(0, c.name, {{POINT_VISIBLE, 0, 0}});
        EXPECT_EQ(Written(0, 0), "VECTOR,30000,3\r\n" + c.line + "\r\n1,0,0\r\n") << c.line;
    }
}

// Every name line the earlier writer could write, for names made of the
// bytes that matter to its rules, reads as the earlier reader read it.
TEST_F(CsvFileTest, LinesTheEarlierWriterWroteReadAsTheyDid) {
    const char alphabet[] = {'"',  ',',    '+',    ' ',    'a',    'Z',    '1',    '-',
                             '\t', '\x01', '\x1F', '\x7F', '\x80', '\xA9', '\xFF', '\0'};
    std::vector<std::string> lines;
    // Every name of up to three of these bytes, padded with spaces...
    for (size_t length = 0; length <= 3; ++length) {
        size_t combinations = 1;
        for (size_t i = 0; i < length; ++i) combinations *= sizeof alphabet;
        for (size_t k = 0; k < combinations; ++k) {
            std::string name(16, ' ');
            for (size_t i = 0, rest = k; i < length; ++i, rest /= sizeof alphabet)
                name[i] = alphabet[rest % sizeof alphabet];
            lines.push_back(EarlierNameLine(name));
        }
    }
    // ...and full 16-byte names drawn from them.
    unsigned seed = 7;
    for (int k = 0; k < 3000; ++k) {
        std::string name(16, ' ');
        for (char& c : name) {
            seed = seed * 1103515245u + 12345u;
            c = alphabet[(seed >> 16) % sizeof alphabet];
        }
        lines.push_back(EarlierNameLine(name));
    }
    // In files of up to 1000 frames, one point each.
    for (size_t first = 0; first < lines.size(); first += 1000) {
        const size_t count = std::min<size_t>(1000, lines.size() - first);
        std::string text = "VECTOR,30000,3\r\n";
        for (size_t i = 0; i < count; ++i)
            text += (i ? "+\r\n" : "") + lines[first + i] + "\r\n1,2,3\r\n";
        ASSERT_EQ(Read(text), 1);
        ASSERT_EQ(frameStore.numFrames, (int)count);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(Name((int)i), EarlierReading(lines[first + i])) << lines[first + i];
            ASSERT_EQ(frameStore.pointCounts[i], 1) << lines[first + i];
        }
    }
    EXPECT_EQ(ui->Count("warning"), 0);
}

// ---- Limits ------------------------------------------------------------

TEST_F(CsvFileTest, PointsBeyond3000AreIgnored) {
    std::string text = "VECTOR,20000,5\n";
    for (int i = 0; i < 3005; ++i) text += "1," + std::to_string(i) + ",0\n";
    text += "late name\n+\n1,7,7\n";
    ASSERT_EQ(Read(text), 1);
    EXPECT_EQ(frameStore.pointCounts[0], MAX_POINTS);
    ExpectPoint(0, 2999, POINT_VISIBLE, 2999, 0);
    EXPECT_EQ(Name(0), Padded("late name"));  // lines after the limit are still read
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[1], 1);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 5 points in 1 frame beyond the 3000 points a frame holds");
    // Exactly 3000 lines lose nothing.
    text = "VECTOR,20000,5\n";
    for (int i = 0; i < 3000; ++i) text += "1," + std::to_string(i) + ",0\n";
    ui->Clear();
    ASSERT_EQ(Read(text), 1);
    EXPECT_EQ(ui->Count("warning"), 0);
}

TEST_F(CsvFileTest, OpeningTakesAThousandFramesAndCountsTheRest) {
    std::string text = "VECTOR,20000,5\n";
    for (int f = 0; f < 1200; ++f)
        text += (f ? "+\n" : "") + std::to_string(f) + "x\n1,1,1\n" + (f >= 1000 ? "2,2,2\n" : "");
    ASSERT_EQ(Read(text), 1);
    EXPECT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(Name(999), Padded("999x"));
    EXPECT_EQ(frameStore.pointCounts[999], 1);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 200 frames (400 points) beyond what the document can hold");
    // A document of 1000 frames, as the program writes it, reads back whole.
    ASSERT_EQ(WriteCsvFrames(nullptr, Path("all.csv").c_str(), 0, 999), 1);
    ResetDocument();
    ui->Clear();
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("all.csv").c_str(), 0), 1);
    EXPECT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(Name(999), Padded("999x"));
    EXPECT_EQ(ui->Count("warning"), 0);
}

TEST_F(CsvFileTest, AReadErrorIsNoEndOfFile) {
    std::string text = "VECTOR,20000,5\nA\n1,1,1\n+\nB\n";
    for (int i = 0; i < 20000; ++i) text += "1," + std::to_string(i) + ",0\n+\n";
    ASSERT_TRUE(WriteWholeFile(Path("in.csv"), text));
    SetReadFault(100);
    const int result = ReadCsvFrames(nullptr, Path("in.csv").c_str(), 0);
    SetReadFault(-1);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(Name(0), Padded("A"));
    EXPECT_LT(frameStore.numFrames, 20);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- reading stopped at frame " +
                  std::to_string(frameStore.numFrames) + ": the file could not be read further");
    // One at the header is no "Invalid" file either; nothing changes.
    ui->Clear();
    SetReadFault(3);
    EXPECT_EQ(ReadCsvFrames(nullptr, Path("in.csv").c_str(), 0), 0);
    SetReadFault(-1);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|No frame could be read from this file:\n"
              "- reading stopped at frame 1: the file could not be read further");
}

// ---- Insert mode -------------------------------------------------------

TEST_F(CsvFileTest, InsertPutsTheFramesAtTheCurrentFrame) {
    PutFrame(0, "zero", {{1, 0, 0}});
    PutFrame(1, "one", {{1, 1, 1}});
    PutFrame(2, "two", {{1, 2, 2}});
    frameStore.currentFrame = 1;
    ScanSpeed = 4000;
    BlankingDelay = 2;
    ASSERT_EQ(Read("VECTOR,20000,5\nA\n1,10,10\n+\nB\n1,11,11\n1,12,12\n", 1), 1);
    EXPECT_EQ(ScanSpeed, 4000);
    EXPECT_EQ(BlankingDelay, 2);
    ASSERT_EQ(frameStore.numFrames, 5);
    const char* order[] = {"zero", "A", "B", "one", "two"};
    for (int f = 0; f < 5; ++f) EXPECT_EQ(Name(f), Padded(order[f])) << f;
    EXPECT_EQ(frameStore.frames[3][0].x, 1);
    EXPECT_EQ(frameStore.currentFrame, 1);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(workingFrame.points[0].x, 10);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);
}

TEST_F(CsvFileTest, InsertIntoANearlyFullStoreKeepsEveryOldFrame) {
    for (int f = 0; f < 997; ++f) {
        frameStore.pointCounts[f] = 1;
        frameStore.frames[f][0] = {POINT_VISIBLE, (int16_t)f, 0};
        SetName(f, "old" + std::to_string(f));
    }
    frameStore.numFrames = 997;
    frameStore.currentFrame = 0;
    ASSERT_EQ(Read("VECTOR,1,1\nnew0\n+\nnew1\n+\nnew2\n+\nnew3\n", 1), 1);
    ASSERT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(Name(0), Padded("new0"));
    EXPECT_EQ(Name(2), Padded("new2"));
    EXPECT_EQ(Name(3), Padded("old0"));
    EXPECT_EQ(Name(999), Padded("old996"));
    EXPECT_EQ(frameStore.frames[999][0].x, 996);

    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|Not all of this file was read:\n"
              "- 1 frame (0 points) beyond what the document can hold");

    // With the current frame at 999 nothing fits: a failed read that says so
    // and changes nothing.
    frameStore.currentFrame = 999;
    frameStore.numFrames = 999;
    frameStore.pointCounts[999] = 0;
    LoadFrame(998);
    ASSERT_EQ(workingFrame.points[0].x, 995);
    ui->Clear();
    ASSERT_EQ(Read("VECTOR,1,1\nnew\n1,1,1\n1,2,2\n", 1), 0);
    EXPECT_EQ(frameStore.numFrames, 999);
    EXPECT_EQ(workingFrame.points[0].x, 995);
    EXPECT_EQ(ui->OnlyWarning(),
              "Loading Frames|No frame could be read from this file:\n"
              "- 1 frame (2 points) beyond what the document can hold");
}

// ---- Malformed input ---------------------------------------------------

TEST_F(CsvFileTest, GarbageNeverBreaksTheStore) {
    unsigned seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const char alphabet[] = "0123456789,,,+-\" \r\n\n\n\t\x80\xff\0abcVECTOR";
    for (int round = 0; round < 200; ++round) {
        std::string text = round % 2 ? "VECTOR," : "VECTOR,100,";
        int length = next() % 3000;
        for (int i = 0; i < length; ++i) text += alphabet[next() % (sizeof alphabet - 1)];
        ResetDocument();
        int result = Read(text);
        ASSERT_TRUE(result == 0 || result == 1);
        ASSERT_LE(frameStore.numFrames, 1000);
        for (int f = 0; f < MAX_FRAMES; ++f) {
            ASSERT_GE(frameStore.pointCounts[f], 0);
            ASSERT_LE(frameStore.pointCounts[f], MAX_POINTS);
        }
        ASSERT_GE(ScanSpeed, 1000);
        ASSERT_LE(ScanSpeed, 30000);
        ASSERT_GE(BlankingDelay, 0);
        ASSERT_LE(BlankingDelay, 32);
    }
}

// ---- Failed saves ------------------------------------------------------

TEST_F(CsvFileTest, FailedSaveKeepsTheOldFileAndSaysSo) {
    MakeExample();
    std::string path = Path("doc.csv");
    ASSERT_EQ(WriteCsvFrames(nullptr, path.c_str(), 0, 1), 1);
    const std::string old = ReadWholeFile(path);
    PutFrame(1, "changed", {{1, 1, 1}, {1, 2, 2}});

    for (int step : {ATOMIC_FAULT_WRITE, ATOMIC_FAULT_CLOSE, ATOMIC_FAULT_REPLACE}) {
        ui->Clear();
        SetAtomicWriteFault(step, 20);
        EXPECT_EQ(WriteCsvFrames(nullptr, path.c_str(), 0, 1), 0) << step;
        ASSERT_EQ(ui->calls.size(), 1u);
        EXPECT_EQ(ui->calls[0].text, "Failed to write frame file.");
        EXPECT_EQ(ui->calls[0].caption, "Saving Frames");
        EXPECT_EQ(ReadWholeFile(path), old) << step;
    }
    SetAtomicWriteFault(ATOMIC_FAULT_NONE, 0);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"doc.csv"});

    ASSERT_EQ(WriteCsvFrames(nullptr, path.c_str(), 0, 1), 1);
    EXPECT_NE(ReadWholeFile(path), old);
    // A file that cannot be made at all keeps its own message.
    ui->Clear();
    EXPECT_EQ(WriteCsvFrames(nullptr, Path("no/such/x.csv").c_str(), 0, 0), 0);
    ASSERT_EQ(ui->calls.size(), 1u);
    EXPECT_EQ(ui->calls[0].text, "Failed to create frame file.");
}

}  // namespace
