// The quillon-convert program, run as a user would run it: conversions
// between the formats, ranges and settings, --info, and failures that must
// exit 1 with the program's message and leave the output file alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/tool_run.h"
#include "tests/native/ui_recorder.h"
#include "tests/samples.h"

namespace {

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
        ASSERT_EQ(mkdir(Path("io").c_str(), 0700), 0);
        WriteAll(Path("example.csv"), EXAMPLE_CSV);
    }
    // Files the tool reads and writes live in the folder; its output streams
    // are caught beside it, so the folder shows exactly what the tool left.
    std::string Path(const char* name) const { return folder.Path(name); }
    ToolRun Tool(const std::string& args) { return RunConverter(folder.dir, args); }
    static void WriteAll(const std::string& path, const std::string& data) {
        ASSERT_TRUE(WriteWholeFile(path, data)) << path;
    }
    size_t Entries() const { return FolderNames(folder.dir).size(); }
    void ExpectFailure(const std::string& args, const std::string& message) {
        ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << "\n" << run.err;
        EXPECT_EQ(run.out, "") << args;
    }

    TempFolder folder{"quillon-convert"};
};

TEST_F(ConvertTest, CsvToIldaAndBackGivesTheSameFile) {
    ToolRun toIlda = Tool("example.csv show.ild");
    ASSERT_EQ(toIlda.status, 0) << toIlda.err;
    EXPECT_EQ(toIlda.err, "");
    // The tool writes what the program itself writes.
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("example.csv").c_str(), 0), 1);
    ASSERT_EQ(WriteIldaFrames(nullptr, Path("direct.ild").c_str(), 0, 1), 1);
    EXPECT_EQ(ReadWholeFile(Path("show.ild")), ReadWholeFile(Path("direct.ild")));

    // ILDA carries no settings: they come from the command line.
    ToolRun back = Tool("--speed 20000 --delay 5 show.ild back.csv");
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(ReadWholeFile(Path("back.csv")), EXAMPLE_CSV);
    ASSERT_EQ(Tool("show.ild plain.csv").status, 0);
    EXPECT_EQ(ReadWholeFile(Path("plain.csv")).substr(0, 16), "VECTOR,30000,3\r\n");
}

TEST_F(ConvertTest, RangesAndClampedSettings) {
    ASSERT_EQ(Tool("--frames 2-2 --speed 500 --delay 99 example.csv one.csv").status, 0);
    EXPECT_EQ(ReadWholeFile(Path("one.csv")),
              "VECTOR,1000,30\r\n\"a,b             \"\r\n1,5,0\r\n");
    ASSERT_EQ(Tool("--frames 1 --speed 40000 --delay -1 example.csv first.csv").status, 0);
    EXPECT_EQ(ReadWholeFile(Path("first.csv")).substr(0, 34),
              "VECTOR,30000,0\r\nStar            \r\n");
    EXPECT_EQ(ReadWholeFile(Path("first.csv")).find('+'), std::string::npos);

    // Packed output takes the settings too: the four-point loop, delay 1.
    WriteAll(Path("loop.csv"),
             "VECTOR,9999,0\r\nLoop\r\n0,0,0\r\n1,16,-16\r\n1,-32768,32767\r\n0,32767,0\r\n");
    ASSERT_EQ(Tool("--speed 30000 --delay 1 loop.csv loop.frm").status, 0);
    const unsigned char expected[48] = {0x56, 0x44, 0x20, 0x20, 0x30, 0x75, 0x04, 0x00, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4C, 0x6F, 0x6F, 0x70,
                                        0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
                                        0x20, 0x20, 0x00, 0x08, 0x00, 0x08, 0x01, 0x08, 0xFF, 0x07,
                                        0x00, 0x80, 0xFF, 0x0F, 0xFF, 0x8F, 0x00, 0x08};
    EXPECT_EQ(ReadWholeFile(Path("loop.frm")), std::string((const char*)expected, 48));
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
    std::string version = ReadWholeFile(QUILLON_SOURCE_DIR "/VERSION");
    version = version.substr(0, version.find_first_of("\r\n"));
    ASSERT_FALSE(version.empty());
    for (const char* args : {"--version", "example.csv out.csv --version"}) {
        ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 0) << args;
        EXPECT_EQ(run.out, "quillon-convert " + version + "\n") << args;
        EXPECT_EQ(run.err, "") << args;
    }
    EXPECT_FALSE(FileExists(Path("out.csv")));
    EXPECT_NE(Tool("--help").out.find("--version"), std::string::npos);
}

TEST_F(ConvertTest, FailuresExitWithTheMessageAndLeaveTheOutputAlone) {
    WriteAll(Path("keep.ild"), "old ild");
    WriteAll(Path("keep.csv"), "old csv");
    WriteAll(Path("fake.ild"), "VECTOR,30000,3\r\nx\r\n1,2,3\r\n");
    WriteAll(Path("blank.csv"), "VECTOR,30000,3\r\nfull\r\n1,2,3\r\n+\r\nempty\r\n");
    WriteAll(Path("bad.csv"), "vector,30000,3\r\n");
    const size_t files = Entries();

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

    EXPECT_EQ(ReadWholeFile(Path("keep.ild")), "old ild");
    EXPECT_EQ(ReadWholeFile(Path("keep.csv")), "old csv");
    EXPECT_EQ(Entries(), files);  // nothing created, no temporary files
}

// Pictures: a range keeps the frames' numbers; an animation times frames by
// the file's scan speed, --speed, or 30000 for an ILDA file.
TEST_F(ConvertTest, WritesSvgSheetsAndAnimations) {
    ASSERT_EQ(Tool("--frames 2 example.csv one.SVG").status, 0);
    const std::string svg = ReadWholeFile(Path("one.SVG"));
    EXPECT_NE(svg.find(">2 a,b</text>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("Star"), std::string::npos);
    EXPECT_EQ(svg.find("<animate"), std::string::npos);

    std::string hundred = "VECTOR,1000,3\r\n";
    for (int i = 0; i < 100; ++i) hundred += "1,1,1\r\n";
    WriteAll(Path("hundred.csv"), hundred + "+\r\n1,2,2\r\n");
    ASSERT_EQ(Tool("hundred.csv hundred.ild").status, 0);
    // 100 and 1 points, at least 1/60 s each.
    for (const auto& run : {std::make_pair("--animate hundred.csv", "0.116667s"),
                            {"--animate --speed 10000 hundred.csv", "0.033334s"},
                            {"--animate hundred.ild", "0.033334s"},
                            {"--speed 2000 hundred.ild --animate", "0.066667s"}}) {
        ASSERT_EQ(Tool(std::string(run.first) + " a.svg").status, 0) << run.first;
        EXPECT_NE(ReadWholeFile(Path("a.svg")).find(std::string("dur=\"") + run.second + "\""),
                  std::string::npos)
            << run.first;
    }
}

// A read that leaves something out still writes what it read and exits 0,
// and says on stderr what was left out, one line each.
TEST_F(ConvertTest, ReadsThatLeaveDataOutSaySoAndStillWrite) {
    const std::string file = Frame0("big", 3500) + Frame0("cut", 4);
    WriteAll(Path("in.ild"), file.substr(0, file.size() - 20));
    const std::string account =
        "quillon-convert: in.ild: Not all of this file was read:\n"
        "quillon-convert: in.ild: - 500 points in 1 frame beyond the 3000 points a frame holds\n"
        "quillon-convert: in.ild: - the file ends early, in section 2 (Loading Frames)\n";
    ToolRun info = Tool("--info in.ild");
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "Frames: 2\n1\t\"big             \"\t3000\n2\t\"cut             \"\t1\n");
    EXPECT_EQ(info.err, account);
    ToolRun run = Tool("in.ild out.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, account);
    EXPECT_EQ(ReadWholeFile(Path("out.csv")).substr(0, 41),
              "VECTOR,30000,3\r\nbig             \r\n1,0,0\r\n");
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
    EXPECT_FALSE(FileExists(Path("out.csv")));
    WriteAll(Path("junk.ild"), std::string(40, 'j'));
    ExpectFailure("junk.ild out.csv", "Invalid ILDA frame file.");
}

}  // namespace
