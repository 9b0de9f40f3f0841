// The quillon-convert program, run as a user would run it: conversions
// between the formats, ranges and settings, --info, and failures that must
// exit 1 with the program's message and leave the output file alone.
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/tool_run.h"
#include "tests/native/ui_recorder.h"
#include "tests/samples.h"

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

void WriteAll(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), f), data.size());
    ASSERT_EQ(std::fclose(f), 0);
}

int EntriesIn(const std::string& dir) {
    int n = 0;
    DIR* d = opendir(dir.c_str());
    if (!d) return -1;
    while (dirent* entry = readdir(d))
        if (std::strcmp(entry->d_name, ".") && std::strcmp(entry->d_name, "..")) ++n;
    closedir(d);
    return n;
}

const char* const EXAMPLE_CSV =
    "VECTOR,20000,5\r\n"
    "Star            \r\n"
    "0,-100,200\r\n"
    "1,100,200\r\n"
    "1,0,-100\r\n"
    "+\r\n"
    "\"a,b             \"\r\n"
    "1,5,0\r\n";

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        InstallUiRecorder();
        char pattern[] = "/tmp/quillon-convert-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::string io = dir + "/io";
        ASSERT_EQ(mkdir(io.c_str(), 0700), 0);
        WriteAll(Path("example.csv"), EXAMPLE_CSV);
    }
    void TearDown() override {
        std::string command = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    // Files the tool reads and writes live in the folder; its output streams
    // are caught beside it, so the folder shows exactly what the tool left.
    std::string Path(const char* name) const { return dir + "/" + name; }
    ToolRun Tool(const std::string& args) { return RunConverter(dir, args); }
    void ExpectFailure(const std::string& args, const std::string& message) {
        ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << "\n" << run.err;
        EXPECT_EQ(run.out, "") << args;
    }

    std::string dir;
};

TEST_F(ConvertTest, CsvToIldaAndBackGivesTheSameFile) {
    ToolRun toIlda = Tool("example.csv show.ild");
    ASSERT_EQ(toIlda.status, 0) << toIlda.err;
    EXPECT_EQ(toIlda.err, "");
    // The tool writes what the program itself writes.
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("example.csv").c_str(), 0), 1);
    ASSERT_EQ(WriteIldaFrames(nullptr, Path("direct.ild").c_str(), 0, 1), 1);
    EXPECT_EQ(ReadAll(Path("show.ild")), ReadAll(Path("direct.ild")));

    // ILDA carries no settings: they come from the command line.
    ToolRun back = Tool("--speed 20000 --delay 5 show.ild back.csv");
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(ReadAll(Path("back.csv")), EXAMPLE_CSV);
    ASSERT_EQ(Tool("show.ild plain.csv").status, 0);
    EXPECT_EQ(ReadAll(Path("plain.csv")).substr(0, 16), "VECTOR,30000,3\r\n");
}

TEST_F(ConvertTest, RangesAndClampedSettings) {
    ASSERT_EQ(Tool("--frames 2-2 --speed 500 --delay 99 example.csv one.csv").status, 0);
    EXPECT_EQ(ReadAll(Path("one.csv")), "VECTOR,1000,30\r\n\"a,b             \"\r\n1,5,0\r\n");
    ASSERT_EQ(Tool("--frames 1 --speed 40000 --delay -1 example.csv first.csv").status, 0);
    EXPECT_EQ(ReadAll(Path("first.csv")).substr(0, 34), "VECTOR,30000,0\r\nStar            \r\n");
    EXPECT_EQ(ReadAll(Path("first.csv")).find('+'), std::string::npos);

    // Packed output takes the settings too: the four-point loop, delay 1.
    WriteAll(Path("loop.csv"),
             "VECTOR,9999,0\r\nLoop\r\n0,0,0\r\n1,16,-16\r\n1,-32768,32767\r\n0,32767,0\r\n");
    ASSERT_EQ(Tool("--speed 30000 --delay 1 loop.csv loop.frm").status, 0);
    const unsigned char expected[48] = {0x56, 0x44, 0x20, 0x20, 0x30, 0x75, 0x04, 0x00, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4C, 0x6F, 0x6F, 0x70,
                                        0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
                                        0x20, 0x20, 0x00, 0x08, 0x00, 0x08, 0x01, 0x08, 0xFF, 0x07,
                                        0x00, 0x80, 0xFF, 0x0F, 0xFF, 0x8F, 0x00, 0x08};
    EXPECT_EQ(ReadAll(Path("loop.frm")), std::string((const char*)expected, 48));
}

TEST_F(ConvertTest, InfoDescribesEveryFrame) {
    ToolRun csv = Tool("--info example.csv");
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out,
              "Frames: 2\nScan speed: 20000\nBlanking delay: 5\n"
              "1\t\"Star            \"\t3\n2\t\"a,b             \"\t1\n");
    // ILDA files have no settings to show; raw name bytes are spelled out,
    // as in a name that another program padded with zero bytes.
    std::string header = std::string("ILDA\0\0\0\x01svg2ilda", 16) + std::string(8, '\0') +
                         std::string("\x00\x02\x00\x00\x00\x01\x00\x00", 8);
    WriteAll(Path("title.ild"), header + std::string(12, '\x10'));
    ToolRun ilda = Tool("--info title.ild");
    ASSERT_EQ(ilda.status, 0) << ilda.err;
    EXPECT_EQ(ilda.out, "Frames: 1\n1\t\"svg2ilda\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\"\t2\n");
    ToolRun help = Tool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quillon-convert", 0), 0u);
}

// The same file as written by another program.
TEST_F(ConvertTest, InfoOnARealFileFromAnotherProgram) {
    std::string path = SamplePath("ild/lase_title.ild");
    if (path.empty()) GTEST_SKIP() << MissingSample("ild/lase_title.ild");
    ToolRun ilda = Tool("--info '" + path + "'");
    ASSERT_EQ(ilda.status, 0);
    EXPECT_EQ(ilda.out,
              "Frames: 1\n1\t\"svg2ilda\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\"\t1049\n");
}

// The release number comes from the VERSION file; --version ends the
// reading of the arguments, so nothing is converted.
TEST_F(ConvertTest, VersionIsTheOneInTheVersionFile) {
    std::string version = ReadAll(QUILLON_SOURCE_DIR "/VERSION");
    ASSERT_FALSE(version.empty());
    while (!version.empty() && (version.back() == '\n' || version.back() == '\r'))
        version.pop_back();
    for (const char* args : {"--version", "example.csv out.csv --version"}) {
        ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 0) << args;
        EXPECT_EQ(run.out, "quillon-convert " + version + "\n") << args;
        EXPECT_EQ(run.err, "") << args;
    }
    EXPECT_EQ(ReadAll(Path("out.csv")), "<missing>");
    EXPECT_NE(Tool("--help").out.find("--version"), std::string::npos);
}

TEST_F(ConvertTest, FailuresExitWithTheMessageAndLeaveTheOutputAlone) {
    WriteAll(Path("keep.ild"), "old ild");
    WriteAll(Path("keep.csv"), "old csv");
    WriteAll(Path("fake.ild"), "VECTOR,30000,3\r\nx\r\n1,2,3\r\n");
    WriteAll(Path("blank.csv"), "VECTOR,30000,3\r\nfull\r\n1,2,3\r\n+\r\nempty\r\n");
    WriteAll(Path("bad.csv"), "vector,30000,3\r\n");
    const int files = EntriesIn(dir);

    ExpectFailure("absent.csv keep.ild", "Failed to open frame file.");
    ExpectFailure("fake.ild keep.csv", "Invalid ILDA frame file.");
    ExpectFailure("bad.csv keep.ild", "Invalid Csv frame file.");
    ExpectFailure("blank.csv keep.ild", "ILDA format does not allow any blank frame.");
    ExpectFailure("example.csv missing/out.ild", "Failed to create frame file.");
    for (const char* range : {"0-1", "2-1", "1-3", "3", "x", "1-", "1-2x"})
        ExpectFailure(std::string("--frames ") + range + " example.csv keep.csv", "frame");
    ExpectFailure("--speed fast example.csv keep.csv", "scan speed");
    ExpectFailure("example.csv keep.txt", ".frm");
    ExpectFailure("keep.frm keep.csv", ".ild");
    ExpectFailure("--bogus example.csv keep.csv", "--bogus");
    ExpectFailure("example.csv", "input and an output");
    ExpectFailure("--info example.csv keep.csv", "--info");
    ExpectFailure("--animate example.csv keep.csv", "--animate needs an .svg output");
    ExpectFailure("--check example.csv --frames 1", "--check takes one file");
    ExpectFailure("--check example.csv --info example.csv", "takes one file");
    EXPECT_EQ(Tool("").status, 1);

    EXPECT_EQ(ReadAll(Path("keep.ild")), "old ild");
    EXPECT_EQ(ReadAll(Path("keep.csv")), "old csv");
    EXPECT_EQ(EntriesIn(dir), files);  // nothing created, no temporary files
}

// Pictures: a range keeps the frames' numbers; an animation times frames by
// the file's scan speed, --speed, or 30000 for an ILDA file.
TEST_F(ConvertTest, WritesSvgSheetsAndAnimations) {
    ToolRun sheet = Tool("--frames 2 example.csv one.SVG");
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    const std::string svg = ReadAll(Path("one.SVG"));
    EXPECT_NE(svg.find(">2 a,b</text>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("Star"), std::string::npos);
    EXPECT_EQ(svg.find("<animate"), std::string::npos);

    std::string hundred = "VECTOR,1000,3\r\n";
    for (int i = 0; i < 100; ++i) hundred += "1,1,1\r\n";
    WriteAll(Path("hundred.csv"), hundred + "+\r\n1,2,2\r\n");
    ASSERT_EQ(Tool("hundred.csv hundred.ild").status, 0);
    const struct {
        const char* args;
        const char* duration;  // 100 and 1 points, at least 1/60 s each
    } runs[] = {{"--animate hundred.csv a.svg", "0.116667s"},
                {"--animate --speed 10000 hundred.csv a.svg", "0.033334s"},
                {"--animate hundred.ild a.svg", "0.033334s"},
                {"--speed 2000 hundred.ild --animate a.svg", "0.066667s"}};
    for (const auto& run : runs) {
        ASSERT_EQ(Tool(run.args).status, 0) << run.args;
        const std::string animation = ReadAll(Path("a.svg"));
        EXPECT_NE(animation.find(std::string("dur=\"") + run.duration + "\""), std::string::npos)
            << run.args;
    }
}

// ---- What the files keep ----------------------------------------------

// A frame named by each byte value but 0, LF and CR, at the start, in the
// middle and at the end of the name, goes from ILDA to CSV and back to the
// same ILDA bytes: every name byte survives the CSV file.
TEST_F(ConvertTest, EveryNameByteSurvivesACsvFile) {
    int frames = 0;
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '\r') continue;
        for (int at : {0, 8, 15}) {
            std::string name = "byte at the spot";
            name[at] = (char)b;
            workingFrame.count = 1;
            workingFrame.points[0] = {POINT_VISIBLE, (int16_t)b, (int16_t)at};
            StoreFrame(frames, true);
            std::memcpy(frameStore.frameNames[frames].bytes, name.data(), 16);
            ++frames;
        }
    }
    ASSERT_EQ(WriteIldaFrames(nullptr, Path("names.ild").c_str(), 0, frames - 1), 1);
    ToolRun toCsv = Tool("names.ild names.csv");
    ASSERT_EQ(toCsv.status, 0) << toCsv.err;
    ToolRun back = Tool("names.csv back.ild");
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(toCsv.err + back.err, "");
    EXPECT_TRUE(ReadAll(Path("back.ild")) == ReadAll(Path("names.ild")));
    // CR and LF become spaces, and nothing else of the file changes.
    std::memcpy(frameStore.frameNames[0].bytes, "line\r\nbreak,+\"\xA9 ", 16);
    ASSERT_EQ(WriteIldaFrames(nullptr, Path("breaks.ild").c_str(), 0, 0), 1);
    ASSERT_EQ(Tool("breaks.ild breaks.csv").status, 0);
    EXPECT_EQ(ReadAll(Path("breaks.csv")),
              "VECTOR,30000,3\r\n\"line  break,+\"\"\xA9 \",\r\n1,1,0\r\n");
}

TEST_F(ConvertTest, AThousandFramesComeBackWhole) {
    for (int f = 0; f < MAX_FRAMES; ++f) {
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, (int16_t)f, 0};
        StoreFrame(f, true);
    }
    ASSERT_EQ(WriteCsvFrames(nullptr, Path("all.csv").c_str(), 0, MAX_FRAMES - 1), 1);
    ToolRun toIlda = Tool("all.csv all.ild");
    ASSERT_EQ(toIlda.status, 0);
    EXPECT_EQ(toIlda.err, "");
    ASSERT_EQ(Tool("all.ild again.csv").status, 0);
    EXPECT_TRUE(ReadAll(Path("again.csv")) == ReadAll(Path("all.csv")));
    for (const char* file : {"all.csv", "all.ild"}) {
        ToolRun info = Tool(std::string("--info ") + file);
        EXPECT_EQ(info.status, 0);
        EXPECT_EQ(info.out.find("Frames: 1000\n"), 0u) << file;
        EXPECT_NE(info.out.find("\n1000\t"), std::string::npos) << file;
        EXPECT_EQ(info.err, "");
    }
}

// A read that leaves something out still writes what it read and exits 0,
// and says on stderr what was left out.
TEST_F(ConvertTest, ReadsThatLeaveDataOutSaySoAndStillWrite) {
    const std::string intro = "quillon-convert: in.ild: Not all of this file was read:\n";
    struct Case {
        std::string file;
        std::string account;
        const char* info;
    } cases[] = {
        {Frame0("big", 3500) + Frame0("small", 2) + Closing(),
         "quillon-convert: in.ild: - 500 points in 1 frame beyond the 3000 points a frame holds "
         "(Loading Frames)\n",
         "Frames: 2\n1\t\"big             \"\t3000\n2\t\"small           \"\t2\n"},
        {(Frame0("a", 2) + Frame0("cut", 4)).substr(0, 48 + 32 + 20),
         "quillon-convert: in.ild: - the file ends early, in section 2 (Loading Frames)\n",
         "Frames: 2\n1\t\"a               \"\t2\n2\t\"cut             \"\t2\n"},
        {Frame0("a", 1) + Header(3, Padded("x"), 2) + std::string(8, 'x') + Frame0("b", 1),
         "quillon-convert: in.ild: - reading stopped at section 2: format code 3 cannot be read "
         "(Loading Frames)\n",
         "Frames: 1\n1\t\"a               \"\t1\n"},
    };
    for (const Case& c : cases) {
        WriteAll(Path("in.ild"), c.file);
        ToolRun info = Tool("--info in.ild");
        EXPECT_EQ(info.status, 0);
        EXPECT_EQ(info.out, c.info);
        EXPECT_EQ(info.err, intro + c.account);
        ToolRun run = Tool("in.ild out.csv");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, intro + c.account);
        EXPECT_EQ(ReadAll(Path("out.csv")).substr(0, 16), "VECTOR,30000,3\r\n");
    }
    // Format 4 (3D true colour) is read like the other frame formats.
    WriteAll(Path("four.ild"), Header(4, Padded("four"), 2) + Record4(1, 2, 0x00) +
                                   Record4(-3, -4, 0x40) + Closing());
    ToolRun four = Tool("four.ild four.csv");
    EXPECT_EQ(four.status, 0);
    EXPECT_EQ(four.err, "");
    EXPECT_EQ(ReadAll(Path("four.csv")),
              "VECTOR,30000,3\r\n" + Padded("four") + "\r\n1,1,2\r\n0,-3,-4\r\n");
    // CSV: 1200 frames give 1000 and the count of the rest.
    std::string many = "VECTOR,30000,3\r\n";
    for (int f = 0; f < 1200; ++f) many += std::string(f ? "+\r\n" : "") + "1,1,1\r\n";
    WriteAll(Path("many.csv"), many);
    ToolRun csv = Tool("many.csv many.ild");
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.err,
              "quillon-convert: many.csv: Not all of this file was read:\n"
              "quillon-convert: many.csv: - 200 frames (200 points) beyond what the document can "
              "hold (Loading Frames)\n");
    EXPECT_EQ(Tool("--info many.ild").out.find("Frames: 1000\n"), 0u);
}

// A valid ILDA file of which not one frame can be read fails, says where
// and why, and writes nothing; a file that is no ILDA file keeps its message.
TEST_F(ConvertTest, AFileWithoutOneReadableFrameFails) {
    WriteAll(Path("three.ild"), Header(3, Padded("x"), 2) + std::string(8, 'x') + Frame0("b", 1));
    ExpectFailure("three.ild out.csv",
                  "quillon-convert: three.ild: No frame could be read from this file:\n"
                  "quillon-convert: three.ild: - reading stopped at section 1: format code 3 "
                  "cannot be read (Loading Frames)\n");
    ExpectFailure("--info three.ild", "section 1: format code 3");
    EXPECT_EQ(ReadAll(Path("out.csv")), "<missing>");
    WriteAll(Path("junk.ild"), std::string(40, 'j'));
    ExpectFailure("junk.ild out.csv", "Invalid ILDA frame file.");
}

// The real file known to lose points beyond 3000, when the samples are here.
TEST_F(ConvertTest, StartrekSaysWhatItLoses) {
    const std::string path = SamplePath("ild/startrek.ild");
    if (path.empty()) GTEST_SKIP() << MissingSample("ild/startrek.ild");
    ToolRun run = Tool("'" + path + "' trek.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find(": - 95795 points in 56 frames beyond the 3000 points a frame holds"),
              std::string::npos)
        << run.err;
}

}  // namespace
