// The atomic writer: a target is replaced only by a complete file, and any
// failure leaves the old file as it was, no stray file behind, and a message.
#include "formats/atomic_write.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

class AtomicWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui = InstallUiRecorder();
        dir = MakeTempFolder("quillon-atomic");
        ASSERT_FALSE(dir.empty());
        target = dir + "/frames.csv";
    }
    void TearDown() override {
        SetAtomicWriteFault(ATOMIC_FAULT_NONE, 0);
        RemoveTempFolder(dir);
    }
    // Writes data in pieces of the given size and finishes.
    int Save(const std::string& data, size_t piece = 1000) {
        AtomicFile file;
        if (!BeginAtomicWrite(&file, nullptr, target.c_str())) return 0;
        for (size_t at = 0; at < data.size(); at += piece)
            AtomicWriteBytes(&file, data.data() + at, std::min(piece, data.size() - at));
        return FinishAtomicWrite(&file, nullptr);
    }
    void ExpectOneMessage(const char* text) {
        ASSERT_EQ(ui->calls.size(), 1u);
        EXPECT_EQ(ui->calls[0].what, "warning");
        EXPECT_EQ(ui->calls[0].text, text);
        EXPECT_EQ(ui->calls[0].caption, "Saving Frames");
    }

    UiRecorder* ui;
    std::string dir;
    std::string target;
};

TEST_F(AtomicWriteTest, DataGoesToASeparateFileInTheSameFolder) {
    WriteWholeFile(target, "old");
    AtomicFile file;
    ASSERT_EQ(BeginAtomicWrite(&file, nullptr, target.c_str()), 1);
    AtomicWriteBytes(&file, "new", 3);
    std::fflush(file.stream);
    // Until the end the old file is whole and the new data lies beside it.
    EXPECT_EQ(ReadWholeFile(target), "old");
    std::vector<std::string> names = FolderNames(dir);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(std::string(file.tempPath).rfind(dir + "/", 0), 0u) << file.tempPath;
    EXPECT_EQ(ReadWholeFile(file.tempPath), "new");
    ASSERT_EQ(FinishAtomicWrite(&file, nullptr), 1);
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"frames.csv"});
    ASSERT_EQ(Save(""), 1);
    EXPECT_EQ(ReadWholeFile(target), "");
    EXPECT_TRUE(ui->calls.empty());
}

TEST_F(AtomicWriteTest, RelativeNameWithoutFolder) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    target = "plain.csv";
    int result = Save("here");
    ASSERT_EQ(chdir(cwd), 0);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(ReadWholeFile(dir + "/plain.csv"), "here");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"plain.csv"});
}

TEST_F(AtomicWriteTest, EveryFailingStepKeepsTheOldFile) {
    const std::string old(5000, 'o');
    WriteWholeFile(target, old);
    const std::string fresh(5000, 'n');
    struct Case {
        int step;
        long long afterBytes;
    } cases[] = {
        {ATOMIC_FAULT_WRITE, 0},     // nothing written at all
        {ATOMIC_FAULT_WRITE, 2500},  // disk full in the middle of a write
        {ATOMIC_FAULT_WRITE, 4999},  // only the last byte missing
        {ATOMIC_FAULT_CLOSE, 0},    {ATOMIC_FAULT_REPLACE, 0},
    };
    for (const Case& c : cases) {
        ui->Clear();
        SetAtomicWriteFault(c.step, c.afterBytes);
        EXPECT_EQ(Save(fresh, 1000), 0) << c.step << " " << c.afterBytes;
        ExpectOneMessage("Failed to write frame file.");
        EXPECT_EQ(ReadWholeFile(target), old);
        EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"frames.csv"});
    }
    SetAtomicWriteFault(ATOMIC_FAULT_NONE, 0);
    EXPECT_EQ(Save(fresh), 1);
    EXPECT_EQ(ReadWholeFile(target), fresh);
}

TEST_F(AtomicWriteTest, RealWriteErrorIsCaught) {
    // A file size limit makes the system refuse the write itself, as a full
    // disk would.
    const std::string old = "the old contents";
    WriteWholeFile(target, old);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = Save(std::string(200000, 'x'), 65536);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_EQ(result, 0);
    ExpectOneMessage("Failed to write frame file.");
    EXPECT_EQ(ReadWholeFile(target), old);
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"frames.csv"});
}

TEST_F(AtomicWriteTest, UncreatableTargetsSayCreate) {
    const std::string cases[] = {dir + "/missing/frames.csv", dir, ""};
    for (const std::string& path : cases) {
        ui->Clear();
        target = path;
        EXPECT_EQ(Save("data"), 0) << path;
        ExpectOneMessage("Failed to create frame file.");
    }
    std::string longPath = dir + "/" + std::string(ATOMIC_PATH_LENGTH, 'a');
    ui->Clear();
    target = longPath;
    EXPECT_EQ(Save("data"), 0);
    ExpectOneMessage("Failed to create frame file.");
    EXPECT_TRUE(FolderNames(dir).empty());
}

// What a program that can name them (the converter) is told: the file and
// the reason the system gave, for each way a write fails. The editor gets
// the text alone, as the tests above check.
struct FileWarning {
    std::string path, text;
    int cause;
};
std::vector<FileWarning> fileWarnings;

void KeepFileWarning(UiWindow, const char* path, const char* text, const char*, int cause) {
    fileWarnings.push_back({path ? path : "<null>", text, cause});
}

TEST_F(AtomicWriteTest, FailuresNameTheFileAndTheSystemsReason) {
    uiPort.fileWarning = KeepFileWarning;
    const std::string fifo = dir + "/fifo.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        int step;
        const char* text;
        int cause;
    } cases[] = {
        {dir + "/missing/frames.csv", ATOMIC_FAULT_NONE, "Failed to create frame file.", ENOENT},
        {dir, ATOMIC_FAULT_NONE, "Failed to create frame file.", EISDIR},
        {dir + "/" + std::string(ATOMIC_PATH_LENGTH, 'a'), ATOMIC_FAULT_NONE,
         "Failed to create frame file.", ENAMETOOLONG},
        // A pipe (or a device) would be replaced by a plain file: refused.
        {fifo, ATOMIC_FAULT_NONE, "Failed to create frame file.", EINVAL},
        {target, ATOMIC_FAULT_WRITE, "Failed to write frame file.", ENOSPC},
        {target, ATOMIC_FAULT_CLOSE, "Failed to write frame file.", EIO},
        {target, ATOMIC_FAULT_REPLACE, "Failed to write frame file.", EACCES},
    };
    for (const auto& c : cases) {
        fileWarnings.clear();
        SetAtomicWriteFault(c.step, 10);
        const std::string path = c.path;
        target = path;
        EXPECT_EQ(Save(std::string(100, 'x'), 30), 0);
        ASSERT_EQ(fileWarnings.size(), 1u) << c.text;
        EXPECT_EQ(fileWarnings[0].path, path);
        EXPECT_EQ(fileWarnings[0].text, c.text);
        EXPECT_EQ(fileWarnings[0].cause, c.cause) << std::strerror(fileWarnings[0].cause);
    }
    struct stat info;
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(ui->calls.empty());
    uiPort.fileWarning = nullptr;
}

TEST_F(AtomicWriteTest, ReplacedFileKeepsItsPermissions) {
    WriteWholeFile(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(Save("new"), 1);
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
