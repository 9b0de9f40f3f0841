// The file commands' flows over a scripted file dialog: which dialog is
// shown, which writer or reader runs, what is remembered, and each command's
// follow-up on the modified state, the title and the tables.
#include "files/file_flows.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

struct ScriptedDialog {
    std::vector<FileDialogRequest> requests;
    std::vector<std::string> startNames;
    struct Reply {
        bool chosen;
        std::string path;
        int filterIndex;
    };
    std::vector<Reply> replies;  // consumed one per dialog; none left = cancel
};

ScriptedDialog dialog;

int ScriptedFileDialog(UiWindow, const FileDialogRequest *request, FileDialogAnswer *answer) {
    dialog.requests.push_back(*request);
    dialog.startNames.push_back(request->startName ? request->startName : "<null>");
    if (dialog.replies.empty()) return 0;
    ScriptedDialog::Reply reply = dialog.replies.front();
    dialog.replies.erase(dialog.replies.begin());
    if (!reply.chosen) return 0;
    std::snprintf(answer->path, sizeof answer->path, "%s", reply.path.c_str());
    std::snprintf(answer->fileTitle, sizeof answer->fileTitle, "%s", FileTitleOf(answer->path));
    answer->filterIndex = reply.filterIndex;
    return 1;
}

std::string ReadAll(const std::string &path) {
    std::string data;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, got);
    std::fclose(f);
    return data;
}

void WriteAll(const std::string &path, const std::string &data) {
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), f), data.size());
    ASSERT_EQ(std::fclose(f), 0);
}

bool Exists(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// One frame of n points named by its slot.
void PutFrame(int slot, int points) {
    workingFrame.count = points;
    for (int i = 0; i < points; ++i)
        workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(slot * 100 + i), (int16_t)-i};
    StoreFrame(slot, true);
    std::memcpy(frameStore.frameNames[slot].bytes, "frame", 5);
    frameStore.frameNames[slot].bytes[5] = (char)('0' + slot);
}

const char *const TWO_FRAMES_CSV =
    "VECTOR,20000,5\r\n"
    "first\r\n"
    "1,1,1\r\n"
    "+\r\n"
    "second\r\n"
    "1,2,2\r\n"
    "0,3,3\r\n";

class FileFlowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ResetDocumentFile();
        ui = InstallUiRecorder();
        dialog = ScriptedDialog();
        fileDialogProc = ScriptedFileDialog;
        char pattern[] = "/tmp/quillon-flows-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        fileDialogProc = nullptr;
        std::string command = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string Path(const char *name) const { return dir + "/" + name; }
    void Reply(const std::string &path, int filterIndex) {
        dialog.replies.push_back({true, path, filterIndex});
    }
    void Cancel() { dialog.replies.push_back({false, "", 0}); }
    // Three frames, the working frame edited and the document modified.
    void MakeModifiedDocument() {
        PutFrame(0, 2);
        PutFrame(1, 3);
        PutFrame(2, 1);
        LoadFrame(0);
        workingFrame.points[workingFrame.count++] = {POINT_VISIBLE, 7, 7};
        SetDocumentModified(true);
    }
    int FramesIn(const std::string &csv) {
        std::string text = ReadAll(csv);
        if (text == "<missing>") return -1;
        int separators = 0;
        for (size_t at = 0; (at = text.find("\r\n+\r\n", at)) != std::string::npos; ++at)
            ++separators;
        return text.find("\r\n") + 2 < text.size() ? separators + 1 : 0;
    }

    UiRecorder *ui;
    std::string dir;
};

// ---- Save Frames and Save Frames As -------------------------------------

TEST_F(FileFlowsTest, FirstSaveAsksOnTheCsvTypeAndRemembersTheFile) {
    MakeModifiedDocument();
    Reply(Path("show.csv"), 1);
    SaveFramesFlow(nullptr);

    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].kind, FILE_DIALOG_SAVE);
    EXPECT_STREQ(dialog.requests[0].title, "Save Frames");
    EXPECT_EQ(dialog.requests[0].filterIndex, 1);
    EXPECT_EQ(dialog.startNames[0], "");
    // The working frame's edit was stored before writing.
    EXPECT_EQ(frameStore.pointCounts[0], 3);
    EXPECT_EQ(FramesIn(Path("show.csv")), 3);
    EXPECT_NE(ReadAll(Path("show.csv")).find("1,7,-7\r\n"), std::string::npos);
    EXPECT_EQ(DocumentPath, Path("show.csv"));
    EXPECT_STREQ(DocumentFileTitle, "show.csv");
    EXPECT_FALSE(documentModified);
    EXPECT_FALSE(ui->menuEnabled[40010]);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE));
}

TEST_F(FileFlowsTest, LaterSavesWriteToTheRememberedPathWithoutADialog) {
    MakeModifiedDocument();
    Reply(Path("show.csv"), 1);
    SaveFramesFlow(nullptr);
    PutFrame(3, 4);
    SetDocumentModified(true);
    ui->Clear();
    SaveFramesFlow(nullptr);
    EXPECT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(FramesIn(Path("show.csv")), 4);
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE));
}

TEST_F(FileFlowsTest, SaveAsAlwaysAsksStartingFromTheRememberedPath) {
    MakeModifiedDocument();
    RememberDocumentFile(2, Path("old.ild").c_str(), "old.ild");
    Reply(Path("new.ild"), 2);
    SaveFramesAsFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_STREQ(dialog.requests[0].title, "Save Frames");
    EXPECT_EQ(dialog.requests[0].filterIndex, 2);
    EXPECT_EQ(dialog.startNames[0], Path("old.ild"));
    EXPECT_TRUE(Exists(Path("new.ild")));
    EXPECT_EQ(DocumentPath, Path("new.ild"));
    EXPECT_STREQ(DocumentFileTitle, "new.ild");
    EXPECT_FALSE(documentModified);
}

TEST_F(FileFlowsTest, TypeInUseAtCloseIsRemembered) {
    MakeModifiedDocument();
    Reply(Path("show.ild"), 2);
    SaveFramesAsFlow(nullptr);
    EXPECT_EQ(FilterIndex, 2);
    Reply(Path("again.csv"), 1);
    SaveFramesAsFlow(nullptr);
    EXPECT_EQ(dialog.requests[1].filterIndex, 2);
    EXPECT_EQ(FilterIndex, 1);
}

TEST_F(FileFlowsTest, PackedExportLeavesTheDocumentModifiedAndUnnamed) {
    MakeModifiedDocument();
    RememberDocumentFile(1, Path("show.csv").c_str(), "show.csv");
    Reply(Path("out.frm"), 3);
    ui->Clear();
    SaveFramesAsFlow(nullptr);
    EXPECT_TRUE(Exists(Path("out.frm")));
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(DocumentPath, Path("show.csv"));
    EXPECT_STREQ(DocumentFileTitle, "show.csv");
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_EQ(ui->Count("status"), 0);
    EXPECT_EQ(SaveFramesWith(nullptr, SAVE_ASK_NAME, 0, 2), 0) << "a packed export reports 0";
}

TEST_F(FileFlowsTest, NamesWithoutWriterWriteNothingAndSayNothing) {
    MakeModifiedDocument();
    const char *names[] = {"show.", "a.txt", "csv", "x"};
    for (const char *name : names) {
        Reply(Path(name), 4);
        EXPECT_EQ(SaveFramesWith(nullptr, SAVE_ASK_NAME, 0, 2), 0) << name;
        EXPECT_FALSE(Exists(Path(name))) << name;
    }
    EXPECT_EQ(ui->Count("warning"), 0);
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_TRUE(documentModified);
}

TEST_F(FileFlowsTest, CancelledOrFailedSaveChangesNothingButStillRefreshesTheTitle) {
    MakeModifiedDocument();
    Cancel();
    SaveFramesFlow(nullptr);
    EXPECT_TRUE(documentModified);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE));
    // A folder that does not exist: the writer warns and the state stays.
    Reply(dir + "/missing/show.csv", 2);
    ui->Clear();
    SaveFramesFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 1);
    EXPECT_TRUE(documentModified);
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE));
    // Save As stops quietly on a cancel.
    Cancel();
    ui->Clear();
    SaveFramesAsFlow(nullptr);
    EXPECT_EQ(ui->Count("status"), 0);
    EXPECT_TRUE(documentModified);
}

// ---- Write Selection As -------------------------------------------------

TEST_F(FileFlowsTest, WriteSelectionWritesTheFrameTableRange) {
    for (int f = 0; f < 7; ++f) PutFrame(f, 1);
    ui->selectedFirst = 2;
    ui->selectedLast = 5;
    Reply(Path("part.csv"), 1);
    WriteSelectionAsFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_STREQ(dialog.requests[0].title, "Write Frames");
    EXPECT_EQ(FramesIn(Path("part.csv")), 4);
    std::string text = ReadAll(Path("part.csv"));
    EXPECT_EQ(text.find("frame2"), 16u);
    EXPECT_NE(text.find("frame5"), std::string::npos);
    EXPECT_EQ(text.find("frame6"), std::string::npos);
}

TEST_F(FileFlowsTest, WriteSelectionWithoutTableRangeWritesTheCurrentFrame) {
    for (int f = 0; f < 4; ++f) PutFrame(f, 2);
    GoToFrame(3);
    workingFrame.points[workingFrame.count++] = {0, 9, 9};
    SetDocumentModified(true);
    Reply(Path("one.csv"), 1);
    WriteSelectionAsFlow(nullptr);
    EXPECT_EQ(FramesIn(Path("one.csv")), 1);
    std::string text = ReadAll(Path("one.csv"));
    EXPECT_NE(text.find("frame3"), std::string::npos);
    EXPECT_NE(text.find("0,9,-9\r\n"), std::string::npos) << "the edit was stored first";
}

TEST_F(FileFlowsTest, WriteSelectionNeverTouchesTheRememberedFileOrTheState) {
    MakeModifiedDocument();
    RememberDocumentFile(2, Path("show.ild").c_str(), "show.ild");
    Reply(Path("sel.csv"), 1);
    ui->Clear();
    WriteSelectionAsFlow(nullptr);
    EXPECT_TRUE(Exists(Path("sel.csv")));
    EXPECT_EQ(dialog.startNames[0], "") << "always starts with an empty name";
    EXPECT_EQ(dialog.requests[0].filterIndex, 2);
    EXPECT_EQ(DocumentPath, Path("show.ild"));
    EXPECT_STREQ(DocumentFileTitle, "show.ild");
    EXPECT_EQ(FilterIndex, 2);
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(ui->Count("status"), 0);

    // A clean document stays clean.
    SetDocumentModified(false);
    Reply(Path("sel2.csv"), 1);
    WriteSelectionAsFlow(nullptr);
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(dialog.startNames[1], "");
}

// ---- Open Frames ----------------------------------------------------------

TEST_F(FileFlowsTest, OpenReplacesTheDocumentAndNamesIt) {
    WriteAll(Path("DATA.Csv"), TWO_FRAMES_CSV);
    MakeModifiedDocument();
    SetDocumentModified(false);
    Reply(Path("DATA.Csv"), 1);
    ui->Clear();
    OpenFramesFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].kind, FILE_DIALOG_OPEN);
    EXPECT_STREQ(dialog.requests[0].title, "Open Frames");
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(ScanSpeed, 20000);
    EXPECT_EQ(DocumentPath, Path("DATA.Csv"));
    EXPECT_STREQ(DocumentFileTitle, "DATA.Csv");
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(ui->Count("ask"), 0);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE | STATUS_PANES));
    EXPECT_TRUE(ui->Has("frame", FT_REBUILD));
    EXPECT_TRUE(ui->Has("vector", VT_REBUILD));
    EXPECT_EQ(ui->Count("repaint"), 1);
}

TEST_F(FileFlowsTest, OpeningThroughAllFilesMakesTheNextSaveStartOnPacked) {
    WriteAll(Path("a.csv"), TWO_FRAMES_CSV);
    Reply(Path("a.csv"), 3);
    OpenFramesFlow(nullptr);
    EXPECT_EQ(FilterIndex, 3);
    Cancel();
    SaveFramesAsFlow(nullptr);
    EXPECT_EQ(dialog.requests[1].filterIndex, 3);
    EXPECT_STREQ(DefaultExtensions[dialog.requests[1].filterIndex], "frm");
}

TEST_F(FileFlowsTest, OpenRefusesFilesWithoutReaderSilently) {
    MakeModifiedDocument();
    SetDocumentModified(false);
    WriteAll(Path("a.txt"), TWO_FRAMES_CSV);
    WriteAll(Path("b.frm"), TWO_FRAMES_CSV);
    Reply(Path("a.txt"), 3);
    OpenFramesFlow(nullptr);
    Reply(Path("b.frm"), 3);
    OpenFramesFlow(nullptr);
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(ui->Count("warning"), 0);
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_EQ(ui->Count("status"), 0);
}

TEST_F(FileFlowsTest, FailedOrCancelledOpenKeepsTheDocumentAndItsName) {
    MakeModifiedDocument();
    SetDocumentModified(false);
    RememberDocumentFile(2, "kept.ild", "kept.ild");
    Cancel();
    OpenFramesFlow(nullptr);
    Reply(Path("missing.csv"), 1);
    OpenFramesFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 1);  // the reader's own message
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_STREQ(DocumentPath, "kept.ild");
    EXPECT_EQ(FilterIndex, 2);
    EXPECT_EQ(ui->Count("status"), 0);
}

TEST_F(FileFlowsTest, IldaNameOnAFileThatIsNotIldaLeavesTheDocumentAndItsName) {
    MakeModifiedDocument();
    SetDocumentModified(false);
    RememberDocumentFile(1, "kept.csv", "kept.csv");
    WriteAll(Path("fake.ild"), TWO_FRAMES_CSV);
    Reply(Path("fake.ild"), 2);
    OpenFramesFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 1);
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_STREQ(DocumentPath, "kept.csv");
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_FALSE(ui->Has("status", STATUS_TITLE | STATUS_PANES));
}

TEST_F(FileFlowsTest, OpenPromptCancelKeepsEverything) {
    MakeModifiedDocument();
    ui->askReplies = {ANSWER_CANCEL};
    OpenFramesFlow(nullptr);
    ASSERT_EQ(ui->Count("ask"), 1);
    const RecordedCall *ask = nullptr;
    for (const RecordedCall &call : ui->calls)
        if (call.what == "ask") ask = &call;
    EXPECT_EQ(ask->text, "The changes have not been saved.\nDo you wish to save changes?");
    EXPECT_EQ(ask->caption, "Open Frame");
    EXPECT_TRUE(dialog.requests.empty());
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(frameStore.pointCounts[0], 3) << "the edit was stored before asking";
}

TEST_F(FileFlowsTest, OpenPromptNoGoesStraightToTheOpenDialog) {
    WriteAll(Path("in.csv"), TWO_FRAMES_CSV);
    MakeModifiedDocument();
    ui->askReplies = {ANSWER_NO};
    Reply(Path("in.csv"), 1);
    OpenFramesFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].kind, FILE_DIALOG_OPEN);
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_FALSE(documentModified);
}

TEST_F(FileFlowsTest, OpenPromptYesWithCancelledSaveStops) {
    MakeModifiedDocument();
    ui->askReplies = {ANSWER_YES};
    Cancel();
    OpenFramesFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].kind, FILE_DIALOG_SAVE);
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(frameStore.numFrames, 3);
}

TEST_F(FileFlowsTest, OpenPromptYesSavesThenACancelledOpenLeavesItModified) {
    MakeModifiedDocument();
    RememberDocumentFile(1, Path("show.csv").c_str(), "show.csv");
    ui->askReplies = {ANSWER_YES};
    Cancel();
    OpenFramesFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u) << "saved to the remembered path, then asked to open";
    EXPECT_EQ(dialog.requests[0].kind, FILE_DIALOG_OPEN);
    EXPECT_EQ(FramesIn(Path("show.csv")), 3);
    EXPECT_TRUE(documentModified);
}

TEST_F(FileFlowsTest, ExitPromptSharesTheQuestionWithItsOwnCaption) {
    EXPECT_EQ(OfferToSaveChanges(nullptr, "Exit Program"), 1) << "clean: no question";
    EXPECT_EQ(ui->Count("ask"), 0);
    MakeModifiedDocument();
    ui->askReplies = {ANSWER_CANCEL, ANSWER_NO, ANSWER_YES, ANSWER_YES};
    EXPECT_EQ(OfferToSaveChanges(nullptr, "Exit Program"), 0);
    EXPECT_EQ(OfferToSaveChanges(nullptr, "Exit Program"), 1);
    Reply(Path("quit.frm"), 3);  // a packed export does not count as saved
    EXPECT_EQ(OfferToSaveChanges(nullptr, "Exit Program"), 0);
    Reply(Path("quit.csv"), 1);
    EXPECT_EQ(OfferToSaveChanges(nullptr, "Exit Program"), 1);
    EXPECT_EQ(ui->calls.back().caption, "Exit Program");
    EXPECT_EQ(DocumentPath, Path("quit.csv"));
}

// ---- Insert Frames and dropped files --------------------------------------

TEST_F(FileFlowsTest, InsertKeepsTheCurrentFramesEditsBehindTheNewFrames) {
    WriteAll(Path("in.csv"), TWO_FRAMES_CSV);
    MakeModifiedDocument();  // frame 0 edited to 3 points, not yet stored
    SetDocumentModified(false);
    workingFrame.changed = true;
    RememberDocumentFile(1, "mine.csv", "mine.csv");
    Reply(Path("in.csv"), 2);
    ui->Clear();
    InsertFramesFlow(nullptr);
    EXPECT_STREQ(dialog.requests[0].title, "Insert Frames");
    ASSERT_EQ(frameStore.numFrames, 5);
    EXPECT_EQ(frameStore.pointCounts[0], 1);
    EXPECT_EQ(frameStore.pointCounts[1], 2);
    EXPECT_EQ(frameStore.pointCounts[2], 3);
    EXPECT_EQ(frameStore.frames[2][2].x, 7);
    EXPECT_TRUE(documentModified);
    EXPECT_STREQ(DocumentPath, "mine.csv");
    EXPECT_EQ(FilterIndex, 1) << "insert mode remembers nothing";
    EXPECT_TRUE(ui->Has("status", STATUS_PANES));
    EXPECT_FALSE(ui->Has("status", STATUS_TITLE));
    EXPECT_FALSE(ui->Has("status", STATUS_TITLE | STATUS_PANES));
    EXPECT_TRUE(ui->Has("frame", FT_REBUILD));
    EXPECT_TRUE(ui->Has("vector", VT_REBUILD));
}

TEST_F(FileFlowsTest, DroppedPathIsInsertedWithoutADialog) {
    WriteAll(Path("drop.CSV"), TWO_FRAMES_CSV);
    PutFrame(0, 1);
    PutFrame(1, 1);
    GoToFrame(1);
    EXPECT_EQ(LoadFramesWith(nullptr, Path("drop.CSV").c_str(), 1), 1);
    EXPECT_TRUE(dialog.requests.empty());
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(std::string(frameStore.frameNames[1].bytes, 5), "first");
    EXPECT_EQ(std::string(frameStore.frameNames[3].bytes, 6), "frame1");
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(LoadFramesWith(nullptr, Path("drop.bmp").c_str(), 1), 0);
    EXPECT_EQ(ui->Count("warning"), 0);
}

TEST_F(FileFlowsTest, CancelledInsertDoesNothing) {
    MakeModifiedDocument();
    Cancel();
    ui->Clear();
    InsertFramesFlow(nullptr);
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_TRUE(ui->calls.empty());
}

TEST_F(FileFlowsTest, NoDialogInstalledCountsAsCancelled) {
    fileDialogProc = nullptr;
    MakeModifiedDocument();
    EXPECT_EQ(LoadFramesWith(nullptr, nullptr, 0), 0);
    EXPECT_EQ(SaveFramesWith(nullptr, 0, 0, 2), 0);
    EXPECT_TRUE(documentModified);
}

}  // namespace
