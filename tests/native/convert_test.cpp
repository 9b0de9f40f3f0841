// The quillon-convert program, run as a user would run it: conversions
// between the formats, ranges and settings, --info, failures that must exit
// 1 with the program's message and leave the output file alone, and --check.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "formats/checked_read.h"
#include "formats/csv_file.h"
#include "formats/csv_walk.h"
#include "formats/ilda_file.h"
#include "formats/ilda_walk.h"
#include "formats/read_account.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
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

struct ToolRun {
    int status;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

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
    std::string Path(const std::string& name) const { return folder.Path(name); }
    ToolRun Tool(const std::string& args) { return ToolWith("", args, Path("io/out")); }
    // The same with shell commands before it (limits, signals) and its
    // standard output sent to out.
    ToolRun ToolWith(const std::string& before, const std::string& args, const std::string& out) {
        const std::string err = Path("io/err");
        const std::string command = "cd '" + folder.dir + "' && " + before + "'" +
                                    QUILLON_CONVERT_PATH + "' " + args + " >'" + out + "' 2>'" +
                                    err + "'";
        const int raw = std::system(command.c_str());
        // A device such as /dev/full is not read back.
        const bool file = out.compare(0, folder.dir.size(), folder.dir) == 0;
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, file ? ReadWholeFile(out) : "",
                ReadWholeFile(err)};
    }
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

// Output on stdout that does not arrive (here a full disk, /dev/full) is a
// failure, said on stderr: --info, --check (whatever its verdict), --help
// and --version all exit 1, never 0 or the 2 of a file the editor cannot
// read.
TEST_F(ConvertTest, StandardOutputThatDoesNotArriveIsAFailure) {
    std::string large = "VECTOR,30000,3\r\n";
    for (int f = 0; f < 200; ++f)
        large += (f ? "+\r\nframe\r\n" : "frame\r\n") + std::string("1,1,1\r\n");
    WriteAll(Path("large.csv"), large);
    for (const char* args : {"--info example.csv", "--info large.csv", "--check example.csv",
                             "--check large.csv", "--check absent.ild", "--help", "--version"}) {
        ToolRun run = ToolWith("", args, "/dev/full");
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_EQ(run.err,
                  "quillon-convert: cannot write to standard output: No space left on "
                  "device\n")
            << args;
    }
    // Sent where it arrives, the same commands succeed.
    EXPECT_EQ(ToolWith("", "--info large.csv", "/dev/null").status, 0);
    EXPECT_EQ(ToolWith("", "--check absent.ild", "/dev/null").status, 2);
}

// Options are options: an unknown one is named as such, whether it has one
// dash or two; "--" ends the options, for a file whose name begins with "-".
TEST_F(ConvertTest, UnknownOptionsAreNamedAsOptions) {
    for (const char* option : {"-x", "--foo", "-info", "-frames"}) {
        ToolRun run = Tool(std::string(option) + " example.csv out.csv");
        EXPECT_EQ(run.status, 1) << option;
        EXPECT_EQ(run.err, std::string("quillon-convert: unknown option: ") + option + "\n");
    }
    EXPECT_FALSE(FileExists(Path("out.csv")));
    WriteAll(Path("-dash.csv"), EXAMPLE_CSV);
    ToolRun run = Tool("-- -dash.csv -out.csv");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(Path("-out.csv")), EXAMPLE_CSV);
    EXPECT_EQ(Tool("--frames 1 -- -dash.csv --odd.csv").status, 0);
    EXPECT_EQ(Tool("--info -- -dash.csv").status, 1);  // --info takes the next argument
}

// Each message names the file it concerns, as the reader or writer was
// given it, and a failed open or write the reason the system gave, after
// the message the editor shows.
TEST_F(ConvertTest, FailuresNameTheirFileAndTheSystemsReason) {
    ASSERT_EQ(mkdir(Path("folder.csv").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(Path("pipe.ild").c_str(), 0600), 0);
    WriteAll(Path("keep.csv"), "old csv");
    std::string big = "VECTOR,30000,3\r\nbig\r\n";
    for (int i = 0; i < 3000; ++i) big += "1," + std::to_string(i) + ",-2000\r\n";
    WriteAll(Path("big.csv"), big);
    const size_t files = Entries();
    ExpectFailure("absent.csv out.ild",
                  "quillon-convert: absent.csv: Failed to open frame file. (Loading Frames): No "
                  "such file or directory\n");
    ExpectFailure("example.csv missing/out.ild",
                  "quillon-convert: missing/out.ild: Failed to create frame file. (Saving "
                  "Frames): No such file or directory\n");
    ExpectFailure("example.csv folder.csv",
                  "quillon-convert: folder.csv: Failed to create frame file. (Saving Frames): Is "
                  "a directory\n");
    // A pipe is no file to replace: it stays a pipe.
    ExpectFailure("example.csv pipe.ild",
                  "quillon-convert: pipe.ild: Failed to create frame file. (Saving Frames): "
                  "Invalid argument\n");
    struct stat info;
    ASSERT_EQ(stat(Path("pipe.ild").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    // A file size limit refuses the write itself, as a full disk would.
    ToolRun run = ToolWith("ulimit -f 16 && trap '' XFSZ && ", "big.csv keep.csv", Path("io/out"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "quillon-convert: keep.csv: Failed to write frame file. (Saving Frames): File too "
              "large\n");
    EXPECT_EQ(ReadWholeFile(Path("keep.csv")), "old csv");
    EXPECT_EQ(Entries(), files);  // nothing created, no temporary files
}

// A conversion stopped by Ctrl+C (SIGINT) or a termination request
// (SIGTERM) while it writes leaves the old output as it was and no
// temporary file, and ends as the signal ends a program. The signal is sent
// once the temporary file is seen; a run that finished first is tried
// again.
TEST_F(ConvertTest, AStoppedConversionLeavesNoTemporaryFile) {
    // 999 frames of 3000 points: writing them as CSV takes a while.
    for (int f = 0; f < MAX_FRAMES - 1; ++f) {
        workingFrame.count = MAX_POINTS;
        for (int i = 0; i < MAX_POINTS; ++i)
            workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i * 7 - f), (int16_t)(f * 31 - i)};
        StoreFrame(f, true);
    }
    ASSERT_EQ(WriteIldaFrames(nullptr, Path("big.ild").c_str(), 0, MAX_FRAMES - 2), 1);
    auto temporary = [this]() {
        for (const std::string& name : FolderNames(folder.dir))
            if (name.find(".quillon-") != std::string::npos) return true;
        return false;
    };
    const std::string in = Path("big.ild"), out = Path("out.csv");
    for (int signal : {SIGINT, SIGTERM}) {
        bool caught = false;
        for (int attempt = 0; attempt < 20 && !caught; ++attempt) {
            WriteAll(out, "old");
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                const int null = open("/dev/null", O_WRONLY);
                dup2(null, 1);
                dup2(null, 2);
                execl(QUILLON_CONVERT_PATH, QUILLON_CONVERT_PATH, in.c_str(), out.c_str(),
                      (char*)nullptr);
                _exit(127);
            }
            bool seen = false;
            for (int wait = 0; wait < 100000 && !seen; ++wait) {
                seen = temporary();
                if (!seen) usleep(100);
                if (waitpid(pid, nullptr, WNOHANG) == pid) break;  // finished unseen
            }
            if (seen) kill(pid, signal);
            int status = 0;
            waitpid(pid, &status, 0);
            if (!seen || !WIFSIGNALED(status)) continue;
            caught = true;
            EXPECT_EQ(WTERMSIG(status), signal);
            EXPECT_EQ(ReadWholeFile(out), "old");
            EXPECT_FALSE(temporary());
        }
        EXPECT_TRUE(caught) << "never stopped while writing, signal " << signal;
    }
}

// Saving through a symbolic link writes the file it leads to and keeps the
// link, as an editor does for a show kept in one folder and linked from
// others. The temporary file goes beside the real file, in its folder.
TEST_F(ConvertTest, SavesThroughSymbolicLinksIntoTheFilesTheyLeadTo) {
    ASSERT_EQ(mkdir(Path("shows").c_str(), 0700), 0);
    struct LinkCase {
        const char* link;     // made in the test folder
        const char* leadsTo;  // the link's text
        const char* real;     // the file that must receive the frames
    } cases[] = {
        {"same.csv", "plain.csv", "plain.csv"},
        {"other.csv", "shows/kept.csv", "shows/kept.csv"},
        {"absolute.csv", "", "shows/absolute.csv"},  // filled in below: an absolute link
        {"chain.csv", "same.csv", "plain.csv"},
        {"dangling.csv", "shows/new.csv", "shows/new.csv"},  // the file is made
    };
    WriteAll(Path("plain.csv"), "old");
    WriteAll(Path("shows/kept.csv"), "old");
    WriteAll(Path("shows/absolute.csv"), "old");
    for (const LinkCase& c : cases) {
        const std::string leadsTo = c.leadsTo[0] ? c.leadsTo : Path(c.real);
        ASSERT_EQ(symlink(leadsTo.c_str(), Path(c.link).c_str()), 0) << c.link;
    }
    const std::vector<std::string> before = FolderNames(folder.dir);
    for (const LinkCase& c : cases) {
        ToolRun run = Tool(std::string("example.csv ") + c.link);
        ASSERT_EQ(run.status, 0) << c.link << "\n" << run.err;
        EXPECT_EQ(ReadWholeFile(Path(c.real)), ReadWholeFile(Path("example.csv"))) << c.link;
        struct stat info;
        ASSERT_EQ(lstat(Path(c.link).c_str(), &info), 0) << c.link;
        EXPECT_TRUE(S_ISLNK(info.st_mode)) << c.link << " was replaced by a plain file";
    }
    EXPECT_EQ(FolderNames(folder.dir), before);  // no temporary file left
    EXPECT_EQ(FolderNames(Path("shows")),
              (std::vector<std::string>{"absolute.csv", "kept.csv", "new.csv"}));
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

// ---- --check ------------------------------------------------------------

// --check on crafted files, one for every item it reports, and on the real
// sample files when they are present. Its verdict must be the reader's:
// exit 2 when the reader refuses the file, 1 exactly when the reader's
// account says it left something out, 0 otherwise; and the walker's own
// account of the file must equal the reader's.

std::string AccountText(const ReadAccount& a) {
    char text[256];
    std::snprintf(
        text, sizeof text, "read %d/%lld long %d/%lld beyond %d/%lld stop %d at %d (%d) %d",
        (int)a.framesRead, (long long)a.pointsRead, (int)a.longFrames,
        (long long)a.pointsBeyondLimit, (int)a.framesBeyondStore, (long long)a.pointsBeyondStore,
        a.stop, (int)a.stopPlace, a.formatCode, a.placeKind);
    return text;
}

bool IsCsv(const std::string& path) {
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".csv") == 0;
}

// The reader's verdict on a file opened in the editor: 2 refused, 1 read
// with losses, 0 whole; and its account.
int ReaderVerdict(const std::string& path, ReadAccount* account) {
    ResetDocument();
    InstallUiRecorder();
    const int read = IsCsv(path) ? ReadCsvFrames(nullptr, path.c_str(), 0)
                                 : ReadIldaFrames(nullptr, path.c_str(), 0);
    *account = lastReadAccount;
    return !read ? 2 : ReadLeftDataOut(&lastReadAccount) ? 1 : 0;
}

// The walker's account of the same file, read in the same way.
std::string WalkedAccount(const std::string& path) {
    ReadAccount walked;
    const int result = IsCsv(path) ? WalkCsvFile(path.c_str(), nullptr, &walked)
                                   : WalkIldaFile(path.c_str(), nullptr, &walked);
    return result == WALK_OPEN_FAILED ? "cannot open" : AccountText(walked);
}

class FileCheckTest : public ConvertTest {
protected:
    void TearDown() override { SetReadFault(-1); }

    // Checks the file with the tool, holds its verdict against the
    // reader's and its walk against the reader's account; returns the run.
    ToolRun Check(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(WriteWholeFile(Path(name), bytes));
        return CheckFile(Path(name));
    }
    ToolRun CheckFile(const std::string& path) {
        ToolRun run = Tool("--check '" + path + "'");
        ReadAccount account;
        const int verdict = ReaderVerdict(path, &account);
        EXPECT_EQ(run.status, verdict) << path << "\n" << run.out;
        if (verdict != 2) {
            EXPECT_EQ(WalkedAccount(path), AccountText(account)) << path;
            EXPECT_EQ(run.out.find("  lost: ") != std::string::npos, verdict == 1) << run.out;
            EXPECT_EQ(run.out.find("does not agree"), std::string::npos) << run.out;
        }
        EXPECT_EQ(run.err, "");
        return run;
    }
    static void ExpectLines(const ToolRun& run, const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            EXPECT_NE(run.out.find(line), std::string::npos) << "missing: " << line << "\n"
                                                             << run.out;
    }
};

// The notes of the walk, without the safety and timing report's.
std::string WalkNotes(const std::string& out) {
    static const char* const REPORT[] = {
        "note: timing at ",         "note: drawing a frame ",       "note: longest dwell: ",
        "note: largest lit jump: ", "note: largest blanked jump: ", "note: --fit: "};
    std::string notes;
    for (size_t at = 0; (at = out.find("note: ", at)) != std::string::npos; ++at) {
        const std::string line = out.substr(at, out.find('\n', at) - at);
        bool report = false;
        for (const char* start : REPORT) report = report || line.rfind(start, 0) == 0;
        if (!report) notes += line + "\n";
    }
    return notes;
}

std::string Records(int count, int status = 0) {
    std::string s;
    for (int i = 0; i < count; ++i) s += Record0(i, -i, i + 1 == count ? status | 0x80 : status);
    return s;
}

// A frame section as a careful writer makes it: numbered, totalled, the
// last-point bit on its last record.
std::string Proper(const std::string& name, int records, unsigned number = 0, unsigned total = 1) {
    return Header(0, Padded(name), (unsigned)records, number, total) + Records(records);
}

// ---- ILDA ------------------------------------------------------------------

TEST_F(FileCheckTest, AWholeIldaFileHasNothingToSay) {
    ToolRun run = Check("whole.ild", Proper("one", 3, 0, 2) + Header(2, Padded("pal"), 2) +
                                         std::string(6, 'p') + Proper("two", 2, 1, 2) + Closing());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(WalkNotes(run.out), "") << run.out;
    ExpectLines(run, {"whole.ild: read as an ILDA frame file, by its name\n",
                      "section 1 at byte 0: format 0 (3D, indexed colour), 3 records, frame number "
                      "0, total 2, name \"one             \": frame 1, 3 points\n",
                      "section 2 at byte 56: format 2 (palette), 2 records: skipped",
                      "section 3 at byte 94: format 0 (3D, indexed colour), 2 records, frame "
                      "number 1, total 2, name \"two             \": frame 2, 2 points\n",
                      "section 4 at byte 142: closing header\n",
                      "ILDA file of 174 bytes: 4 sections, 2 frame sections and 1 palette holding "
                      "7 records, and a closing header\n",
                      "The editor reads 2 frames with 5 points.\nNothing would be lost.\n"});
}

// Sections of the other frame formats walk with their own record sizes: a
// format 5 section cut short is found where the reader finds it.
TEST_F(FileCheckTest, IldaFormatsOneFourAndFiveWalkAsTheReaderReads) {
    ToolRun run =
        Check("formats.ild",
              Header(1, Padded("two d"), 2, 0, 3) + Record1(1, 1, 0) + Record1(2, 2, 0x80) +
                  Header(4, Padded("three d"), 2, 1, 3) + Record4(3, 3, 0) + Record4(4, 4, 0x80) +
                  Header(5, Padded("colour"), 3, 2, 3) + Record5(5, 5, 0) + Record5(6, 6, 0));
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"section 1 at byte 0: format 1 (2D, indexed colour), 2 records",
                      "section 2 at byte 44: format 4 (3D, true colour), 2 records",
                      "section 3 at byte 96: format 5 (2D, true colour), 3 records",
                      "  lost: the file ends after 2 of the 3 records\n"});
}

// Each way a read leaves something out, said where it happens (the
// reader's account beneath it is held against the walk by Check).
TEST_F(FileCheckTest, IldaLossesAreSaidWhereTheyHappen) {
    std::string many;
    for (int f = 0; f < 1001; ++f) many += Proper("f", 1, (unsigned)f, 1001);
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"long.ild",
         Proper("big", 3500) + Closing(),
         {"frame 1, 3000 of 3500 points\n",
          "  lost: 500 points beyond the 3000 points a frame holds\n",
          "- 500 points in 1 frame beyond the 3000 points a frame holds\n"
          "Something would be lost.\n"}},
        {"many.ild",
         many + Closing(),
         {"name \"f               \": frame 300, 1 point\n"
          "sections 301 to 1,000: 700 more frames like these\n",
          "section 1001 at byte 40000: format 0 (3D, indexed colour), 1 record, frame number "
          "1000, total 1001, name \"f               \": beyond the 1000 frames a document "
          "holds\n  lost: the frame and its 1 point\n"}},
        {"two.ild",
         Proper("a", 1) + Closing() + Proper("b", 2) + Closing(),
         {"section 2 at byte 40: closing header, and frames follow it (section 3 at byte 72)\n"
          "  lost: reading stops here; the 80 bytes from here on are not read\n"}},
        {"three.ild",
         Proper("a", 1) + Header(3, Padded("x"), 2) + std::string(10, 'x'),
         {"section 2 at byte 40: format 3, 2 records: a format the editor cannot read\n"
          "  lost: reading stops here; the 42 bytes from here on are not read\n"}},
        {"cut.ild",
         (Proper("a", 1) + Proper("b", 4)).substr(0, 40 + 32 + 28),
         {"frame 2, 3 of 4 points\n  note: ", "  lost: the file ends after 3 of the 4 records\n"}},
        {"header.ild",
         Proper("a", 1) + Closing().substr(0, 20),
         {"section 2 at byte 40: only 20 of the 32 header bytes\n  lost: the file ends early\n"}},
        {"junk.ild",
         Proper("a", 1) + std::string(40, 'j'),
         {"section 2 at byte 40: no section header here\n"
          "  lost: reading stops here; the 40 bytes from here on are not read\n"}},
    };
    for (const auto& c : cases) {
        ToolRun run = Check(c.name, c.bytes);
        EXPECT_EQ(run.status, 1) << c.name;
        ExpectLines(run, c.lines);
    }
}

// What costs nothing is noted, and the verdict stays 0.
TEST_F(FileCheckTest, IldaOdditiesAreNotedWithoutALoss) {
    ToolRun run =
        Check("odd.ild", Header(0, Padded("n"), 2, 7, 5) + Records(2) +
                             Header(0, Padded("m"), 3, 1, 4) + Record0(1, 1, 0x80) +
                             Record0(2, 2, 0) + Record0(3, 3, 0) + Header(0, Padded("z"), 2, 2, 4) +
                             Records(2, 0) + Header(0, Padded("w"), 1, 3, 4) + Record0(0, 0, 0x40));
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"  note: frame number 7, but it is frame 0 of the file, counting from 0\n",
                      "  note: total frames 5, but the file holds 4 frame sections\n",
                      "1 record, frame number 3",
                      "  note: record 1 of 3 has the last-point bit: players that go by it stop "
                      "drawing there\n  note: the last record does not have the last-point bit\n",
                      "  note: no record has the last-point bit, which belongs on the last\n",
                      "note: the file ends without a closing header (a header of 0 records)\n",
                      "no closing header\n", "Nothing would be lost.\n"});
    // Section 3's last-point bit is where it belongs: no note for it.
    const size_t third = run.out.find("section 3 ");
    EXPECT_EQ(run.out.substr(third, run.out.find("section 4 ") - third).find("note:"),
              std::string::npos)
        << run.out;

    run = Check("names.ild",
                Proper(std::string("line\r\nbreak"), 1, 0, 3) +
                    Header(0, std::string("ab\0cdefghijklmn\0", 16), 1, 1, 3) + Records(1) +
                    Header(0, std::string("tail\0\0\0\0\0\0\0\0\0\0\0\0", 16), 1, 2, 3) +
                    Records(1) + Closing() + "trailing");
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"name \"line\\x0D\\x0Abreak     \"",
                      "  note: the name holds CR or LF, which a CSV file holds as spaces\n",
                      "  note: the name holds a zero byte: a CSV file keeps only the 2 bytes "
                      "before it\n",
                      "  note: the name ends in zero bytes, which a CSV file holds as spaces\n",
                      "note: the 8 bytes after the closing header are not read\n"});
}

// Files as real writers make them: "000" in the reserved bytes of every
// header (a writer that puts "ILDA000" and the format code there), 8B 20
// left from its buffer by another, a 290-frame show that ends with two
// closing headers, and a palette after the closing header. The converter
// reads each whole (exit 0, nothing on stderr), and --check notes the odd
// bytes and sections without calling anything lost.
TEST_F(FileCheckTest, IldaReservedBytesAndWhatFollowsTheClosingHeaderLoseNothing) {
    auto reserved = [](std::string section, const std::string& three) {
        return section.replace(4, 3, three);
    };
    ToolRun run = Check("ascii.ild", reserved(Proper("one", 2, 0, 2), "000") +
                                         reserved(Proper("two", 2, 1, 2), "000") +
                                         reserved(Closing(), "000"));
    EXPECT_EQ(run.status, 0);
    const std::string ascii =
        "  note: the reserved bytes after \"ILDA\" hold 30 30 30 (\"000\"), not zeros; the "
        "editor ignores them\n";
    ExpectLines(
        run, {"name \"one             \": frame 1, 2 points\n" + ascii + "section 2 at byte 48:"});
    EXPECT_EQ(run.out.find(ascii), run.out.rfind(ascii)) << "said once, where they appear";
    run = Check("buffer.ild", reserved(Proper("one", 2), std::string("\x8B\x20\x00", 3)) +
                                  Proper("two", 1, 1, 1) + Closing());
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"hold 8B 20 00 (\"\\x8B \\x00\"), not zeros"});

    std::string show;
    for (int f = 0; f < 290; ++f) show += Proper("frame", 3, (unsigned)f, 290);
    run = Check("double.ild", show + Closing() + Closing());
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"section 291 at byte 16240: closing header\n  note: 1 more closing header "
                      "follows it, holding no frames; the editor reads no further, and loses "
                      "nothing\n",
                      "note: the 32 bytes after the closing header are not read\n",
                      "The editor reads 290 frames with 870 points.\nNothing would be lost.\n"});
    run = Check("palette.ild",
                Proper("one", 2) + Closing() + Header(2, Padded("p"), 1) + "rgb" + Closing());
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"  note: 1 more closing header and 1 palette follow it, holding no frames"});
    for (const char* name : {"ascii.ild", "buffer.ild", "double.ild", "palette.ild"}) {
        ToolRun convert = Tool(std::string(name) + " out.csv");
        EXPECT_EQ(convert.status, 0) << name;
        EXPECT_EQ(convert.err, "") << name;
    }
    EXPECT_EQ(Tool("--info double.ild").out.substr(0, 12), "Frames: 290\n");
}

// Files of thousands of tiny sections or frames, as a generator that
// writes one per sample or a script gone wrong makes them: the first 300
// of each kind are listed, and each run of alike ones after them is summed
// up in one line, with what it loses and what their notes say, so the
// report stays short. What is
// lost and the verdict stay exact (Check holds them against the reader).
TEST_F(FileCheckTest, RunsOfAlikeSectionsAndFramesAreSummedUp) {
    auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    std::string tiny;
    for (int f = 0; f < 20000; ++f) tiny += Proper("f", 1, (unsigned)f, 20000);
    ToolRun run = Check("tiny.ild", tiny + Closing().substr(0, 10));
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"name \"f               \": frame 300, 1 point\n"
                      "sections 301 to 1,000: 700 more frames like these\n"
                      "section 1001 at byte 40000: format 0",
                      "frame number 1299, total 20000, name \"f               \": beyond the 1000 "
                      "frames a document holds\n  lost: the frame and its 1 point\n"
                      "sections 1,301 to 20,000: 18,700 more frames like these\n"
                      "  lost: 18,700 of these frames and their 18,700 points, beyond the 1000 "
                      "frames a document holds\n"
                      "section 20001 at byte 800000: only 10 of the 32 header bytes\n"});
    EXPECT_LT(lines(run.out), 1000) << run.out.size();

    // Every frame numbered 0, as a writer that leaves the number unset
    // makes them: the sums say how many of their frames have the note.
    std::string zeros;
    for (int f = 0; f < 2000; ++f) zeros += Proper("z", 1, 0, 2000);
    run = Check("zeros.ild", zeros + Closing());
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"sections 302 to 1,000: 699 more frames like these\n"
                      "  note: a frame number that is not the frame's place in the file: 699 of "
                      "these sections\nsection 1001 at byte 40000",
                      "sections 1,301 to 2,000: 700 more frames like these\n"
                      "  lost: 700 of these frames and their 700 points, beyond the 1000 frames a "
                      "document holds\n"
                      "  note: a frame number that is not the frame's place in the file: 700 of "
                      "these sections\n"});
    EXPECT_LT(lines(run.out), 2000) << run.out.size();

    // A palette before every frame, as some writers put one: the runs hold both.
    std::string paletted;
    for (int f = 0; f < 1000; ++f)
        paletted += Header(2, Padded("p"), 1) + "rgb" + Proper("f", 1, (unsigned)f, 1000);
    run = Check("paletted.ild", paletted + Closing());
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"sections 601 to 2,000: 1,400 more sections like these, 700 frames and 700 "
                      "palettes\nsection 2001 at byte 75000: closing header\n"});

    // Frames beyond 3000 points, one after another.
    std::string big;
    for (int f = 0; f < 302; ++f) big += Proper("big", 3002, (unsigned)f, 302);
    run = Check("big.ild", big + Closing());
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"sections 301 to 302: 2 more frames like these\n"
                      "  lost: 4 points beyond the 3000 points a frame holds, in 2 of these "
                      "frames\n"});

    // A CSV file of "+" lines: 50,001 empty frames.
    std::string plus = "VECTOR,30000,3\r\n";
    for (int f = 0; f < 50000; ++f) plus += "+\r\n";
    run = Check("plus.csv", plus);
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"frame 300, no lines: 0 points",
                      "frames 301 to 1,000: 700 more frames like these\n"
                      "frame 1001, no lines: 0 points",
                      "frames 1,301 to 50,001: 48,701 more frames like these\n"
                      "  lost: 48,701 of these frames and their 0 points, beyond the 1000 frames "
                      "a document holds\nCSV file of 50001 lines"});
    EXPECT_LT(lines(run.out), 1000) << run.out.size();
}

TEST_F(FileCheckTest, FilesTheEditorCannotReadExitTwo) {
    ToolRun run =
        Check("first.ild", Header(3, Padded("x"), 2) + std::string(10, 'x') + Proper("b", 1));
    EXPECT_EQ(run.status, 2);
    ExpectLines(run, {"section 1 at byte 0: format 3, 2 records: a format the editor cannot read\n",
                      "No frame could be read from this file:\n- reading stopped at section 1: "
                      "format code 3 cannot be read\nThe editor cannot read this file.\n"});
    run = Check("text.ild", "VECTOR,30000,3\r\n");
    EXPECT_EQ(run.status, 2);
    ExpectLines(run, {"byte 0: no ILDA section header: this is no ILDA file\n"
                      "Invalid ILDA frame file.\nThe editor cannot read this file.\n"});
    EXPECT_EQ(Check("short.ild", "ILDA").status, 2);
    EXPECT_EQ(Check("empty.csv", "").status, 2);
    run = Check("bad.csv", "vector,30000,3\r\n1,2,3\r\n");
    EXPECT_EQ(run.status, 2);
    ExpectLines(run, {"line 1: no CSV header", "Invalid Csv frame file.\n"});
    run = CheckFile(Path("absent.ild"));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, Path("absent.ild") +
                           ": Failed to open frame file. (No such file or directory)\n"
                           "The editor cannot read this file.\n");
    WriteWholeFile(Path("show.frm"), "VD  ");
    run = Tool("--check show.frm");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "show.frm: the editor reads only .csv and .ild frame files\n");
}

// ---- CSV -------------------------------------------------------------------

TEST_F(FileCheckTest, CsvFramesAndTheirOddities) {
    ToolRun run = Check("plain.csv",
                        "VECTOR,20000,5\r\nStar\r\n0,-100,200\r\n1,100,200\r\n+\r\n"
                        "\"a,b\"\r\n1,5,0\r\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Path("plain.csv") +
                           ": read as a CSV frame file, by its name\n"
                           "line 1: header, scan speed 20000, blanking delay 5\n"
                           "frame 1, lines 2-4: 2 points, name \"Star            \"\n"
                           "frame 2, lines 6-7: 1 point, name \"a,b             \"\n"
                           "CSV file of 7 lines: the header and 2 frames holding 3 points\n"
                           "note: timing at 20000 points per second, the file's scan speed\n"
                           "note: drawing a frame takes from 0.05 ms (frame 2, 1 point) to "
                           "0.10 ms (frame 1, 2 points)\n"
                           "note: longest dwell: the beam stays lit on one spot for 1 point, "
                           "0.05 ms (frame 1, point 2 at X 100, Y 200)\n"
                           "note: largest lit jump: 200 units, 0.3 % of the 65536 span (frame 1, "
                           "to point 2 at X 100, Y 200)\n"
                           "note: largest blanked jump: none, no move is blanked\n"
                           "The editor reads 2 frames with 3 points, scan speed 20000, blanking "
                           "delay 5.\nNothing would be lost.\n");

    const std::string long49(49, 'n');
    run = Check("odd.csv",
                "VECTOR,500,99\r\n"
                "A name that is far too long\r\n"
                "1,1,1\r\n"
                "1 ,2,3\r\n"
                "1,2,3," +
                    std::string(43, '.') + "the line too long\r\n" + "+more\r\n" + long49 + "\r\n" +
                    std::string(48, 'm') + "\r\r\n1,1,1\n+");
    EXPECT_EQ(run.status, 0);
    ExpectLines(run,
                {"  note: the scan speed is read as 1000 (1000 to 30000)\n"
                 "  note: the blanking delay is read as 32 (0 to 32)\n",
                 "frame 1, lines 2-5: 2 points, name \"the line too lon\"\n",
                 "  note: the name on line 5 has 17 characters; the editor keeps 16\n",
                 "  note: line 4, \"1 ,2,3\", is no point line: it names the frame\n",
                 "  note: line 5 has more than 49 characters: read as 2 lines\n",
                 "  note: line 5, \"the line too long\", is no point line: it names the frame\n",
                 "  note: line 6 begins with \"+\" and ends the frame; the rest, \"more\", is "
                 "not read\n",
                 // A line of exactly 49 characters leaves an empty line behind it.
                 "frame 2, lines 7-9: 1 point, name \"                \"\n",
                 "  note: line 7 has more than 49 characters: read as 2 lines\n",
                 "  note: line 7, \"\", is no point line: it names the frame\n",
                 "  note: line 8, \"mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm\\x0D\", is no "
                 "point line",
                 "frame 3, no lines: 0 points, name \"                \"\n",
                 "CSV file of 10 lines: the header and 3 frames holding 3 points\n",
                 "scan speed 1000, blanking delay 32.\nNothing would be lost.\n"});
    // The name cut at 16: the first name line of frame 1 is not the one that stands.
    EXPECT_EQ(run.out.find("has 27 characters"), std::string::npos);
}

// Lines a hand or another program made that the reader does not take as
// they stand: a name that looks like the full form but has a double quote
// that is not doubled (as a spreadsheet that quotes a whole cell writes
// it), a zero byte in a name (as a C program that writes a fixed-size name
// field does), numbers beyond 16 and 32 bits (a generator that does not
// keep to the coordinate range, or to 32 bits for V). Each is noted as the
// reader reads it, and the conversion writes exactly that.
TEST_F(FileCheckTest, CsvCornerCasesAreNotedAndConvertAsRead) {
    const std::string file = std::string(
                                 "VECTOR,30000,3\r\n"
                                 "\"ab\"c\",\r\n"
                                 "1,99999999999,-99999999999\r\n"
                                 "2147483648,40000,-40000\r\n"
                                 "4294967297,5,5\r\n"
                                 "1,-32768,32768\r\n"
                                 "+\r\n\"ab") +
                             '\0' + "cd\",\r\n0,1,1\r\n+\r\n\"\"\"Q\"\" mark\",\r\n1,2,3\r\n";
    ToolRun run = Check("corner.csv", file);
    EXPECT_EQ(run.status, 0);
    ExpectLines(
        run, {"frame 1, lines 2-6: 4 points, name \"ab              \"\n",
              "  note: line 2, \"\\\"ab\\\"c\\\",\", ends as a full-form name does, but not every "
              "double quote in it is doubled: it reads as an ordinary name line\n",
              "  note: line 3, \"1,99999999999,-99999999999\", reads as 1,-6145,6145: X and Y "
              "keep their low 16 bits\n",
              "  note: line 4, \"2147483648,40000,-40000\", reads as 0,-25536,25536: V keeps "
              "its lowest bit, X and Y keep their low 16 bits\n",
              "  note: line 5, \"4294967297,5,5\", reads as 1,5,5: V keeps its lowest bit\n",
              "frame 2, lines 8-9: 1 point, name \"ab              \"\n"
              "  note: line 8: a zero byte ends the name\n",
              "frame 3, lines 11-12: 1 point, name \"\\\"Q\\\" mark        \"\n"
              "CSV file of 12 lines"});
    // The program's own Y of 32768 (y = -32768) is no oddity.
    EXPECT_EQ(run.out.find("line 6, "), std::string::npos) << run.out;
    ASSERT_EQ(Tool("corner.csv back.csv").status, 0);
    EXPECT_EQ(ReadWholeFile(Path("back.csv")),
              "VECTOR,30000,3\r\nab              \r\n1,-6145,6145\r\n0,-25536,25536\r\n"
              "1,5,5\r\n1,-32768,32768\r\n+\r\nab              \r\n0,1,1\r\n+\r\n"
              "\"\"\"Q\"\" mark        \",\r\n1,2,3\r\n");
}

TEST_F(FileCheckTest, CsvLossesAreSaidWhereTheyHappen) {
    std::string file = "VECTOR,30000,3\r\nbig\r\n";
    for (int i = 0; i < 3001; ++i) file += "1,1,1\r\n";
    ToolRun run = Check("big.csv", file);
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"frame 1, lines 2-3003: 3000 of 3001 points, name \"big             \"\n"
                      "  lost: 1 point line beyond the 3000 points a frame holds\n"});

    file = "VECTOR,30000,3\r\n";
    for (int f = 0; f < 1002; ++f) file += std::string(f ? "+\r\n" : "") + "1,1,1\r\n";
    run = Check("many.csv", file + "1,2,2\r\n");
    EXPECT_EQ(run.status, 1);
    // The frames between that read alike are summed up.
    ExpectLines(run, {"frame 300, line 600: 1 point, name \"                \"\n"
                      "frames 301 to 1,000: 700 more frames like these\n"
                      "frame 1001, ",
                      "frame 1001, line 2002: 1 point, name \"                \": beyond the 1000 "
                      "frames a document holds\n  lost: the frame and its 1 point\n",
                      "frame 1002, lines 2004-2005: 2 points"});
    // One frame with a plain point line at every length around the
    // 49-character piece, and CR just before and at the cut.
    file = "VECTOR,30000,3\r\n";
    for (int pad = 40; pad < 52; ++pad) {
        file += "1,2," + std::string(pad, ' ') + "3\r\n";
        file += "1,2," + std::string(pad, '4') + "\r\n";
        file += std::string(pad, '\r') + "\r\n1,1,1\r\n";
    }
    Check("pieces.csv", file);
}

// A read error is the reader's stop, and the walker's, at the same place.
TEST_F(FileCheckTest, ReadErrorsStopBothAlike) {
    std::string csv = "VECTOR,30000,3\r\n";
    for (int f = 0; f < 300; ++f) csv += "name\r\n1,1,1\r\n1,2,2\r\n+\r\n";
    std::string ilda;
    for (int f = 0; f < 50; ++f) ilda += Proper("f", 40, (unsigned)f, 50);
    ASSERT_TRUE(WriteWholeFile(Path("e.csv"), csv));
    ASSERT_TRUE(WriteWholeFile(Path("e.ild"), ilda + Closing()));
    for (const char* name : {"e.csv", "e.ild"}) {
        for (long long after : {0LL, 10LL, 100LL, 1000LL, 5000LL}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(after));
            ReadAccount account;
            SetReadFault(after);
            ReaderVerdict(Path(name), &account);
            SetReadFault(after);
            const std::string walked = WalkedAccount(Path(name));
            SetReadFault(-1);
            EXPECT_EQ(account.stop, READ_STOP_READ_ERROR);
            EXPECT_EQ(walked, AccountText(account));
        }
    }
}

// ---- Real files ------------------------------------------------------------

// Every sample, and copies cut at many places, gets the reader's verdict.
TEST_F(FileCheckTest, RealFilesGetTheReadersVerdict) {
    if (SamplesFolder().empty()) GTEST_SKIP() << MissingSample("ild/");
    const std::string samples = SamplesFolder() + "/ild";
    std::vector<std::string> names;
    for (const std::string& name : FolderNames(samples))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ild") == 0) names.push_back(name);
    if (names.empty()) GTEST_SKIP() << "no sample files in " << samples;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = samples + "/" + name;
        ToolRun run = CheckFile(path);
        EXPECT_NE(run.out.find("ILDA file of "), std::string::npos);
        const std::string data = ReadWholeFile(path);
        for (size_t size : {(size_t)32, (size_t)45, data.size() / 3, data.size() / 2 + 5,
                            data.size() - 31, data.size() - 1}) {
            ASSERT_TRUE(WriteWholeFile(Path("cut.ild"), data.substr(0, size)));
            ReadAccount account;
            ReaderVerdict(Path("cut.ild"), &account);
            EXPECT_EQ(WalkedAccount(Path("cut.ild")), AccountText(account)) << size;
        }
    }
}

// ---- Standard ILDA, the report, fitting and the picture's extras -----------

// --ilda-format writes the published layout of each format; --colour
// colours the lit points of formats 4 and 5 (white when not given). Read
// back, the frames are those of the input, and --check finds the
// last-point bits where they belong.
TEST_F(ConvertTest, IldaFormatsAreWrittenAsPublishedAndReadBack) {
    const struct {
        const char* args;
        int format;
        size_t recordSize;
        const char* litColour;  // blue, green, red of a lit record; null for colour index 1
    } cases[] = {
        {"--ilda-format 0", 0, 8, nullptr},
        {"--ilda-format 1", 1, 6, nullptr},
        {"--ilda-format 4 --colour 10a0Ff", 4, 10, "\xFF\xA0\x10"},
        {"--colour 102030 --ilda-format 5", 5, 8, "\x30\x20\x10"},
        {"--ilda-format 5", 5, 8, "\xFF\xFF\xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ToolRun run = Tool(std::string(c.args) + " example.csv out.ild");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const std::string out = ReadWholeFile(Path("out.ild"));
        ASSERT_EQ(out.size(), 3 * 32 + 4 * c.recordSize);
        for (size_t header : {(size_t)0, 32 + 3 * c.recordSize, 64 + 4 * c.recordSize})
            EXPECT_EQ(out[header + 7], (char)c.format) << header;
        // Star's second point is lit; the bytes of every record are the
        // writer's tests'.
        const size_t colourAt = 32 + c.recordSize + (c.format == 0 || c.format == 4 ? 7 : 5);
        EXPECT_EQ(out.substr(colourAt, c.litColour ? 3 : 1), c.litColour ? c.litColour : "\x01");
        ASSERT_EQ(Tool("--speed 20000 --delay 5 out.ild back.csv").status, 0);
        EXPECT_EQ(ReadWholeFile(Path("back.csv")), EXAMPLE_CSV);
        ToolRun check = Tool("--check out.ild");
        EXPECT_EQ(check.status, 0);
        EXPECT_EQ(check.out.find("last-point bit"), std::string::npos) << check.out;
    }
}

TEST_F(ConvertTest, NewOptionsRefuseBadValuesAndOutputsTheyDoNotApplyTo) {
    WriteAll(Path("keep.ild"), "old ild");
    const size_t files = Entries();
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"--ilda-format 2 example.csv keep.ild", "invalid --ilda-format (0, 1, 4 or 5): 2"},
        {"--ilda-format x example.csv keep.ild", "invalid --ilda-format"},
        {"--ilda-format 5x example.csv keep.ild", "invalid --ilda-format"},
        {"example.csv keep.ild --ilda-format", "missing value after --ilda-format"},
        {"--ilda-format 5 --colour FFFFF example.csv keep.ild", "invalid --colour"},
        {"--ilda-format 5 --colour FFFFFFF example.csv keep.ild", "invalid --colour"},
        {"--ilda-format 5 --colour '#FFFFF' example.csv keep.ild", "invalid --colour"},
        {"--ilda-format 5 --colour GGGGGG example.csv keep.ild", "invalid --colour"},
        {"--colour FF0000 example.csv keep.ild", "--colour needs --ilda-format 4 or 5"},
        {"--ilda-format 1 --colour FF0000 example.csv keep.ild", "--colour needs --ilda-format"},
        {"--ilda-format 0 example.csv keep.csv", "keep.csv: --ilda-format needs an .ild output"},
        {"--ilda-format 0 example.csv keep.svg", "--ilda-format needs an .ild output"},
        {"--blanked example.csv keep.ild", "keep.ild: --blanked needs an .svg output"},
        {"--points example.csv keep.frm", "--points needs an .svg output"},
        {"--check example.csv --fit", "--check takes one file and no other option but --speed"},
        {"--check example.csv --points", "--check takes one file"},
        {"--check example.csv --ilda-format 0", "--check takes one file"},
        {"--info example.csv --speed 1000", "--info takes one file and no other options"},
        {"--info example.csv --fit", "--info takes one file"},
        {"--check example.csv --speed", "missing value after --speed"},
    };
    for (const auto& c : cases) {
        ExpectFailure(c.args, c.message);
        const std::string err = Tool(c.args).err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.args << "\n" << err;
    }
    EXPECT_EQ(ReadWholeFile(Path("keep.ild")), "old ild");
    EXPECT_EQ(Entries(), files);
    // The help names every option.
    const std::string help = Tool("--help").out;
    for (const char* option : {"--ilda-format F", "--colour RRGGBB", "--blanked", "--points",
                               "--fit", "--check FILE [--speed N]"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

// The extras reach the sheet and the animation; the picture itself is
// tested with the SVG writer.
TEST_F(ConvertTest, PictureExtrasReachSheetsAndAnimations) {
    WriteAll(Path("moves.csv"), "VECTOR,30000,3\r\nm\r\n1,0,0\r\n0,9000,9000\r\n1,0,9000\r\n");
    for (const char* args :
         {"--blanked --points moves.csv a.svg", "--animate --points --blanked moves.csv a.svg"}) {
        ASSERT_EQ(Tool(args).status, 0) << args;
        const std::string svg = ReadWholeFile(Path("a.svg"));
        for (const char* part : {"stroke-dasharray", "#FFFF00", "#FF00FF"})
            EXPECT_NE(svg.find(part), std::string::npos) << args << " " << part;
    }
    ASSERT_EQ(Tool("--points moves.csv a.svg").status, 0);
    EXPECT_EQ(ReadWholeFile(Path("a.svg")).find("stroke-dasharray"), std::string::npos);
}

// Frames made for the report: a known dwell, known jumps lit and blanked,
// frames of known lengths, timed at the file's speed, --speed or 30000.
// The report costs nothing: the exit status stays 0.
TEST_F(FileCheckTest, TheReportFindsDwellsJumpsAndFrameTimes) {
    std::string csv = "VECTOR,20000,3\r\nhold\r\n0,0,0\r\n1,10,10\r\n";
    for (int i = 0; i < 7; ++i) csv += "1,1000,2000\r\n";  // points 3 to 9
    csv += "0,1000,2000\r\n1,1000,2000\r\n";               // the blanked one ends the run
    csv += "+\r\njumps\r\n1,-30000,0\r\n1,30000,5\r\n0,-32768,-32767\r\n0,32767,32767\r\n";
    csv += "0,0,32768\r\n1,0,32767\r\n+\r\none\r\n1,0,0\r\n";
    ToolRun run = Check("report.csv", csv);
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"note: timing at 20000 points per second, the file's scan speed\n"
                      "note: drawing a frame takes from 0.05 ms (frame 3, 1 point) to 0.55 ms "
                      "(frame 1, 11 points)\n"
                      "note: longest dwell: the beam stays lit on one spot for 7 points, 0.35 ms "
                      "(frame 1, points 3-9 at X 1000, Y 2000)\n"
                      "note: largest lit jump: 60000 units, 91.6 % of the 65536 span (frame 2, "
                      "to point 2 at X 30000, Y 5)\n"
                      "note: largest blanked jump: 65535 units, 100.0 % of the 65536 span (frame "
                      "2, to point 4 at X 32767, Y 32767)\n"});
    run = Tool("--check report.csv --speed 500");
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"note: timing at 1000 points per second, given with --speed\n",
                      "from 1.00 ms (frame 3, 1 point) to 11.00 ms (frame 1, 11 points)\n",
                      "for 7 points, 7.00 ms (frame 1, points 3-9",
                      // The file's own speed stays what the editor reads.
                      "scan speed 20000, blanking delay 3.\n"});

    // An ILDA file holds Y = -32768 where a CSV file holds 32768 (the store
    // keeps both as y = -32768): the last moves of both frames are steps of
    // one, not jumps across the square.
    std::string ilda = Header(0, Padded("jumps"), 4, 0, 1) + Record0(-30000, 0, 0) +
                       Record0(30000, 5, 0) + Record0(0, -32768, 0x40) + Record0(0, -32767, 0x80) +
                       Closing();
    run = Check("report.ild", ilda);
    EXPECT_EQ(run.status, 0);
    ExpectLines(run, {"note: timing at 30000 points per second, as an ILDA file holds no scan "
                      "speed\n",
                      "note: drawing a frame takes from 0.13 ms (frame 1, 4 points) to 0.13 ms "
                      "(frame 1, 4 points)\n",
                      "note: largest lit jump: 60000 units",
                      "note: largest blanked jump: 32773 units, 50.0 % of the 65536 span (frame "
                      "1, to point 3 at X 0, Y -32768)\n"});
    run = Check("dark.ild", Header(0, Padded("dark"), 1, 0, 1) + Record0(0, 0, 0xC0) + Closing());
    ExpectLines(run, {"note: longest dwell: none, no point is lit\n",
                      "note: largest lit jump: none, no move is lit\n"});
}

// Two long frames: runs of four, which fit whole; and 100 pairs among 3300
// single points, which still lose 400. --check says what --fit would do,
// the conversion does it and says so.
TEST_F(FileCheckTest, FitIsForetoldByTheCheckAndDoneByTheConversion) {
    std::string runs, pairs;
    for (int i = 0; i < 4000; ++i) runs += Record0(i / 4, 0, (i / 4) % 2 ? 0x40 : 0);
    for (int i = 0; i < 3500; ++i) pairs += Record0(i < 200 ? i / 2 : i - 100, 7, 0);
    const std::string file = Header(0, Padded("runs"), 4000, 0, 2) + runs +
                             Header(0, Padded("pairs"), 3500, 1, 2) + pairs + Closing();
    ToolRun run = Check("long.ild", file);
    EXPECT_EQ(run.status, 1);
    ExpectLines(run, {"note: --fit: 2 frames of more than 3000 points; it would drop 1100 "
                      "repeated points from 2 of them, 1 would fit whole, 1 would still be cut\n"
                      "The editor reads 2 frames with 6000 points.\n"});

    run = Tool("--fit long.ild fitted.ild");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "quillon-convert: long.ild: Not all of this file was read:\n"
              "quillon-convert: long.ild: - 400 points in 1 frame beyond the 3000 points a frame "
              "holds (Loading Frames)\n"
              "quillon-convert: long.ild: --fit: 2 frames of more than 3000 points; dropped 1100 "
              "repeated points from 2 of them, 1 now fits whole, 1 is still cut\n");
    ASSERT_EQ(ReadIldaFrames(nullptr, Path("fitted.ild").c_str(), 0), 1);
    ASSERT_EQ(frameStore.pointCounts[0], MAX_POINTS);
    for (int i = 0; i < MAX_POINTS; ++i) ASSERT_EQ(frameStore.frames[0][i].x, i / 3) << i;
    for (int i = 0; i < MAX_POINTS; ++i) ASSERT_EQ(frameStore.frames[1][i].x, i) << i;

    // Nothing to fit: nothing said.
    run = Tool("--fit example.csv out.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

// ---- SVG artwork ------------------------------------------------------------

// Artwork as a drawing program saves it: a square, and a circle in a file
// with a long name.
const char* const SQUARE_SVG =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
    "<rect width=\"10\" height=\"10\"/></svg>";
const char* const CIRCLE_SVG =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
    "<circle cx=\"5\" cy=\"5\" r=\"4\" fill=\"none\" stroke=\"#000\"/></svg>";

TEST_F(ConvertTest, SvgFilesBecomeFramesInOrderNamedAfterTheirFiles) {
    WriteAll(Path("sq.svg"), SQUARE_SVG);
    WriteAll(Path("a circle drawn by hand.SVG"), CIRCLE_SVG);
    ToolRun run = Tool("sq.svg 'a circle drawn by hand.SVG' sq.svg both.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("both.csv").c_str(), 0), 1);
    ASSERT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(std::string(frameStore.frameNames[0].bytes, 16), "sq              ");
    EXPECT_EQ(std::string(frameStore.frameNames[1].bytes, 16), "a circle drawn b");
    // Blanked to the start, its dwell, three corners with theirs, back at
    // the start with the end's dwell, blanked away.
    EXPECT_EQ(frameStore.pointCounts[0], 1 + 4 + 3 * 5 + 1 + 4 + 1);
    EXPECT_GT(frameStore.pointCounts[1], 60);
    EXPECT_EQ(frameStore.pointCounts[2], frameStore.pointCounts[0]);
    EXPECT_EQ(ScanSpeed, SCAN_SPEED_INITIAL);

    // The options: no dwell, no margin.
    run = Tool("--dwell 0 --margin 0 sq.svg bare.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(Path("bare.csv")),
              "VECTOR,30000,3\r\nsq              \r\n0,-32767,32767\r\n1,32767,32767\r\n"
              "1,32767,-32767\r\n1,-32767,-32767\r\n1,-32767,32767\r\n0,-32767,32767\r\n");
    // Every output format takes artwork, with the usual settings and range.
    for (const char* out : {"sq.ild", "sq.frm", "sq-sheet.svg"})
        EXPECT_EQ(
            Tool(std::string("--speed 20000 --frames 2 sq.svg 'a circle drawn by hand.SVG' ") + out)
                .status,
            0)
            << out;
    // A smaller budget coarsens the circle.
    run = Tool("--points 40 'a circle drawn by hand.SVG' small.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("small.csv").c_str(), 0), 1);
    EXPECT_LE(frameStore.pointCounts[0], 40);
    // --points with a number is that budget; without one it marks the
    // points of an .svg picture, and the two go together.
    run = Tool("--points 40 --points 'a circle drawn by hand.SVG' marked.svg");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadWholeFile(Path("marked.svg")).find("#FFFF00"), std::string::npos);
    run = Tool("--points sq.svg plain.csv");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "quillon-convert: plain.csv: --points needs an .svg output\n");
}

TEST_F(ConvertTest, BadArtworkIsNamedWithItsReasonAndTheOutputStaysAlone) {
    WriteAll(Path("sq.svg"), SQUARE_SVG);
    WriteAll(Path("keep.csv"), "old csv");
    WriteAll(Path("text.svg"), "just some words\n");
    WriteAll(Path("page.svg"), "<html><body><p>a page</p></body></html>");
    WriteAll(Path("broken.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\"><g></svg>");
    WriteAll(Path("empty.svg"),
             "<svg xmlns=\"http://www.w3.org/2000/svg\"><g display=\"none\"><rect width=\"1\" "
             "height=\"1\"/></g><text>words</text></svg>");
    std::string dots = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\">";
    for (int i = 0; i < 400; ++i)
        dots += "<rect x=\"" + std::to_string(i % 20 * 5) + "\" y=\"" + std::to_string(i / 20 * 5) +
                "\" width=\"1\" height=\"1\"/>";
    WriteAll(Path("dots.svg"), dots + "</svg>");
    const size_t files = Entries();

    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"text.svg keep.csv", "quillon-convert: text.svg: is not well-formed XML"},
        {"page.svg keep.csv", "quillon-convert: page.svg: is not an SVG file"},
        {"broken.svg keep.csv", "quillon-convert: broken.svg: is not well-formed XML"},
        {"empty.svg keep.csv", "quillon-convert: empty.svg: has nothing to draw"},
        {"absent.svg keep.csv", "quillon-convert: absent.svg: cannot be opened"},
        {"sq.svg empty.svg keep.csv", "quillon-convert: empty.svg: has nothing to draw"},
        {"dots.svg keep.csv", "quillon-convert: dots.svg: needs 10400 points"},
        {"--points 20 sq.svg keep.csv", "quillon-convert: sq.svg: needs 26 points"},
        {"sq.svg example.csv keep.csv", "example.csv: only .svg inputs can be several"},
        {"--dwell 2 example.csv keep.csv", "--dwell, --margin and --points N are for .svg inputs"},
        {"--dwell 101 sq.svg keep.csv", "invalid value for --dwell: 101 (0 to 100)"},
        {"--margin 46 sq.svg keep.csv", "invalid value for --margin: 46 (0 to 45)"},
        {"--points 0 sq.svg keep.csv", "invalid value for --points: 0 (1 to 3000)"},
        {"--points 3001 sq.svg keep.csv", "--points"},
        {"--dwell x sq.svg keep.csv", "--dwell"},
        {"sq.svg keep.csv --dwell", "missing value after --dwell"},
        {"--check sq.svg --dwell 1", "--check takes one file"},
    };
    for (const auto& c : cases) {
        ToolRun run = Tool(c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
        EXPECT_EQ(run.err.find("quillon-convert: "), 0u) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
    }
    // Artwork failures are one line each, naming the file.
    for (const char* args :
         {"text.svg keep.csv", "dots.svg keep.csv", "sq.svg empty.svg keep.csv"}) {
        const std::string err = Tool(args).err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << args << "\n" << err;
    }
    EXPECT_EQ(ReadWholeFile(Path("keep.csv")), "old csv");
    EXPECT_EQ(Entries(), files);  // nothing created, no temporary files
}

}  // namespace
