// The file commands' flows over a scripted file dialog: which dialog is
// shown, which writer or reader runs, what is remembered, and each command's
// follow-up on the modified state, the title and the tables.
#include "files/file_flows.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/command_ids.h"
#include "document/document_reset.h"
#include "document/frame_move.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
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

// One frame of n points named by its slot.
void PutFrame(int slot, int points) {
    workingFrame.count = points;
    for (int i = 0; i < points; ++i)
        workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(slot * 100 + i), (int16_t)-i};
    StoreFrame(slot, true);
    std::memcpy(frameStore.frameNames[slot].bytes, "frame", 5);
    frameStore.frameNames[slot].bytes[5] = (char)('0' + slot);
}

const char *const NO_WRITER_WARNING =
    "Frames are saved as .csv or .ild files, or exported as .frm files.";

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
        dir = MakeTempFolder("quillon-flows");
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override {
        fileDialogProc = nullptr;
        RemoveTempFolder(dir);
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
        std::string text = ReadWholeFile(csv);
        if (text == "<missing>") return -1;
        int separators = 0;
        for (size_t at = 0; (at = text.find("\r\n+\r\n", at)) != std::string::npos; ++at)
            ++separators;
        return text.find("\r\n") + 2 < text.size() ? separators + 1 : 0;
    }

    UiRecorder *ui;
    std::string dir;
};

// What the Win32 suite cannot reach easily: refusals, failures and the
// remembered-state rules, over a scripted dialog.

TEST_F(FileFlowsTest, RefusedCancelledOrFailedSavesChangeNothing) {
    MakeModifiedDocument();
    Cancel();
    SaveFramesFlow(nullptr);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE)) << "refreshed whatever the result";
    // Names without a writer, including the bare dot left by All Files and
    // names too short to have an ending: said, and nothing written.
    for (std::string name : {Path("show."), Path("a.txt"), std::string("csv"), std::string("x")}) {
        Reply(name, 4);
        ui->Clear();
        EXPECT_EQ(SaveFramesWith(nullptr, SAVE_ASK_NAME, 0, 2), 0) << name;
        EXPECT_FALSE(FileExists(name)) << name;
        EXPECT_EQ(ui->OnlyWarning(), std::string("Saving Frames|") + NO_WRITER_WARNING) << name;
    }
    // A folder that does not exist: the writer's message, nothing remembered.
    Reply(dir + "/missing/show.csv", 2);
    ui->Clear();
    SaveFramesFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 1);
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE));
    // Save As stops quietly on a cancel.
    Cancel();
    ui->Clear();
    SaveFramesAsFlow(nullptr);
    EXPECT_EQ(ui->Count("status"), 0);
    EXPECT_TRUE(documentModified);
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(FilterIndex, 1);
}

TEST_F(FileFlowsTest, SaveAsStartsFromTheRememberedPathAndKeepsTheTypeInUse) {
    MakeModifiedDocument();
    RememberDocumentFile(2, Path("old.ild").c_str(), "old.ild");
    Reply(Path("new.csv"), 1);
    SaveFramesAsFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_STREQ(dialog.requests[0].title, "Save Frames");
    EXPECT_EQ(dialog.requests[0].filterIndex, 2);
    EXPECT_EQ(dialog.startNames[0], Path("old.ild"));
    EXPECT_EQ(FramesIn(Path("new.csv")), 3);
    EXPECT_EQ(DocumentPath, Path("new.csv"));
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_FALSE(documentModified);
    // A packed export reports 0 and remembers nothing.
    Reply(Path("out.frm"), 3);
    EXPECT_EQ(SaveFramesWith(nullptr, SAVE_ASK_NAME, 0, 2), 0);
    EXPECT_TRUE(FileExists(Path("out.frm")));
    EXPECT_EQ(DocumentPath, Path("new.csv"));
    EXPECT_EQ(FilterIndex, 1);
}

TEST_F(FileFlowsTest, WriteSelectionStartsEmptyAndRemembersNothing) {
    MakeModifiedDocument();
    RememberDocumentFile(2, Path("show.ild").c_str(), "show.ild");
    Reply(Path("sel.csv"), 1);
    ui->Clear();
    WriteSelectionAsFlow(nullptr);
    EXPECT_STREQ(dialog.requests[0].title, "Write Frames");
    EXPECT_EQ(dialog.startNames[0], "");
    EXPECT_EQ(FramesIn(Path("sel.csv")), 1);
    EXPECT_EQ(DocumentPath, Path("show.ild"));
    EXPECT_STREQ(DocumentFileTitle, "show.ild");
    EXPECT_EQ(FilterIndex, 2);
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(ui->Count("status"), 0);
    // A clean document stays clean; a reversed range falls back to the
    // current frame.
    SetDocumentModified(false);
    ui->selectedFirst = 2;
    ui->selectedLast = 1;
    Reply(Path("sel2.csv"), 1);
    WriteSelectionAsFlow(nullptr);
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(FramesIn(Path("sel2.csv")), 1);
}

// Written over the document's own file, by any of its names, a selection
// leaves the document unsaved; over another file, it stays saved.
TEST_F(FileFlowsTest, WriteSelectionOverTheDocumentsOwnFileUnsavesIt) {
    MakeModifiedDocument();
    Reply(Path("show.csv"), 1);
    SaveFramesFlow(nullptr);
    ASSERT_FALSE(documentModified);
    const std::string saved = ReadWholeFile(Path("show.csv"));
    // A hard link shares the file only until the new one replaces it.
    ASSERT_EQ(link(Path("show.csv").c_str(), Path("alias.csv").c_str()), 0);
    Reply(Path("alias.csv"), 1);
    WriteSelectionAsFlow(nullptr);
    EXPECT_EQ(FramesIn(Path("alias.csv")), 1);
    EXPECT_EQ(ReadWholeFile(Path("show.csv")), saved);
    EXPECT_FALSE(documentModified);

    ASSERT_EQ(symlink(dir.c_str(), Path("link").c_str()), 0);
    char home[4096];
    ASSERT_NE(getcwd(home, sizeof home), nullptr);
    // The same file by other names: with a "." step, through a linked
    // folder, relative to the current folder.
    for (const std::string &name :
         {dir + "/./show.csv", dir + "/link/show.csv", std::string("show.csv")}) {
        SetDocumentModified(false);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        Reply(name, 1);
        WriteSelectionAsFlow(nullptr);
        ASSERT_EQ(chdir(home), 0);
        EXPECT_EQ(FramesIn(Path("show.csv")), 1) << name;
        EXPECT_TRUE(documentModified) << name;
        EXPECT_TRUE(ui->menuEnabled[CMD_SAVE_FRAMES]) << name;
    }
    EXPECT_EQ(DocumentPath, Path("show.csv"));
    ui->Clear();
    ui->askReplies = {ANSWER_CANCEL};
    EXPECT_EQ(OfferToSaveChanges(nullptr, "Exit Program"), 0);
    EXPECT_EQ(ui->Count("ask"), 1);

    // From past the end: the empty frame is written, but the working frame
    // does not count as changed, so going back adds no frame.
    SetDocumentModified(false);
    GoToFrame(5);
    Reply(Path("show.csv"), 1);
    WriteSelectionAsFlow(nullptr);
    EXPECT_TRUE(documentModified);
    GoToFrame(4);
    EXPECT_EQ(frameStore.numFrames, 3);
    // A refused write over the document's file leaves it saved.
    Reply(Path("show.ild"), 2);
    SaveFramesAsFlow(nullptr);
    ASSERT_EQ(DocumentPath, Path("show.ild"));
    GoToFrame(4);
    Reply(Path("show.ild"), 2);
    ui->Clear();
    WriteSelectionAsFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 1) << "the blank frame is refused";
    EXPECT_FALSE(documentModified);
}

// Storing a frame drawn past the end adds frames: every flow that stores
// before writing shows the new count, whatever then becomes of the write.
TEST_F(FileFlowsTest, FramesAddedByStoringShowInTheFrameCount) {
    PutFrame(0, 2);
    void (*flows[])(UiWindow) = {SaveFramesFlow, SaveFramesAsFlow, WriteSelectionAsFlow,
                                 OpenFramesFlow};
    for (auto flow : flows) {
        frameStore.currentFrame = frameStore.numFrames + 1;  // past the end, a gap before it
        const int frames = frameStore.numFrames;
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, 7, 7};
        SetDocumentModified(true);
        ui->Clear();
        ui->askReplies = {ANSWER_CANCEL};
        flow(nullptr);  // every dialog and question cancelled
        EXPECT_EQ(frameStore.numFrames, frames + 2);
        EXPECT_TRUE(ui->Has("status", STATUS_PANES)) << ui->Sequence().size();
    }
    // Nothing added, nothing refreshed for it.
    ui->Clear();
    SaveFramesAsFlow(nullptr);
    EXPECT_FALSE(ui->Has("status", STATUS_PANES));
}

TEST_F(FileFlowsTest, FailedOpensKeepTheDocumentAndItsName) {
    MakeModifiedDocument();
    SetDocumentModified(false);
    RememberDocumentFile(2, "kept.ild", "kept.ild");
    ASSERT_TRUE(WriteWholeFile(Path("fake.ild"), TWO_FRAMES_CSV));
    Cancel();
    OpenFramesFlow(nullptr);
    Reply(Path("missing.csv"), 1);
    OpenFramesFlow(nullptr);
    Reply(Path("fake.ild"), 2);  // not ILDA inside
    OpenFramesFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 2);  // the readers' own messages
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_STREQ(DocumentPath, "kept.ild");
    EXPECT_EQ(FilterIndex, 2);
    EXPECT_EQ(ui->Count("status"), 0);
    EXPECT_FALSE(documentModified);
}

TEST_F(FileFlowsTest, InsertFromAPathOrNotAtAll) {
    ASSERT_TRUE(WriteWholeFile(Path("drop.CSV"), TWO_FRAMES_CSV));
    PutFrame(0, 1);
    PutFrame(1, 1);
    GoToFrame(1);
    RememberDocumentFile(1, "mine.csv", "mine.csv");
    EXPECT_EQ(LoadFramesWith(nullptr, Path("drop.CSV").c_str(), 1), 1);
    EXPECT_TRUE(dialog.requests.empty());
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(std::string(frameStore.frameNames[1].bytes, 5), "first");
    EXPECT_EQ(std::string(frameStore.frameNames[3].bytes, 6), "frame1");
    EXPECT_STREQ(DocumentPath, "mine.csv");
    EXPECT_EQ(LoadFramesWith(nullptr, Path("drop.bmp").c_str(), 1), 0);
    EXPECT_EQ(ui->Count("warning"), 0);
    // A cancelled Insert Frames asks for nothing else.
    Cancel();
    ui->Clear();
    InsertFramesFlow(nullptr);
    EXPECT_EQ(frameStore.numFrames, 4);
    EXPECT_TRUE(ui->calls.empty());
    // No dialog at all counts as cancelled.
    fileDialogProc = nullptr;
    EXPECT_EQ(LoadFramesWith(nullptr, nullptr, 0), 0);
    EXPECT_EQ(SaveFramesWith(nullptr, SAVE_ASK_NAME, 0, 2), 0);
}

// A file that could not be read whole is never replaced by the shortened
// copy without the save dialog (and its overwrite question).
TEST_F(FileFlowsTest, AFileNotReadWholeIsReplacedOnlyThroughTheDialog) {
    std::string longCsv = "VECTOR,20000,5\r\nlong\r\n";
    for (int i = 0; i < 3001; ++i) longCsv += "1," + std::to_string(i) + ",0\r\n";
    ASSERT_TRUE(WriteWholeFile(Path("long.csv"), longCsv));
    Reply(Path("long.csv"), 1);
    OpenFramesFlow(nullptr);
    EXPECT_EQ(ui->OnlyWarning().substr(0, 15), "Loading Frames|");
    EXPECT_EQ(DocumentPath, Path("long.csv"));  // the title still names it
    EXPECT_TRUE(ui->Has("status", STATUS_TITLE | STATUS_PANES));
    EXPECT_FALSE(documentModified);

    // Save Frames asks, starting on that name; cancelled, nothing is written.
    SetDocumentModified(true);
    Cancel();
    SaveFramesFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 2u);
    EXPECT_STREQ(dialog.requests[1].title, "Save Frames");
    EXPECT_EQ(dialog.startNames[1], Path("long.csv"));
    EXPECT_EQ(ReadWholeFile(Path("long.csv")), longCsv);
    EXPECT_TRUE(documentModified);
    // So does the question before another file is opened.
    ui->askReplies.push_back(ANSWER_YES);
    Cancel();
    OpenFramesFlow(nullptr);
    ASSERT_EQ(dialog.requests.size(), 3u);
    EXPECT_EQ(dialog.startNames[2], Path("long.csv"));
    EXPECT_EQ(ReadWholeFile(Path("long.csv")), longCsv);
    // Confirmed in the dialog, the file is written and from then on saved
    // without asking.
    Reply(Path("long.csv"), 1);
    SaveFramesFlow(nullptr);
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(FramesIn(Path("long.csv")), 1);
    EXPECT_NE(ReadWholeFile(Path("long.csv")), longCsv);
    SetDocumentModified(true);
    SaveFramesFlow(nullptr);
    EXPECT_EQ(dialog.requests.size(), 4u);
    EXPECT_FALSE(documentModified);

    // A whole file opened next is saved without asking.
    ASSERT_TRUE(WriteWholeFile(Path("whole.csv"), TWO_FRAMES_CSV));
    Reply(Path("whole.csv"), 1);
    OpenFramesFlow(nullptr);
    SetDocumentModified(true);
    SaveFramesFlow(nullptr);
    EXPECT_EQ(dialog.requests.size(), 5u);
    EXPECT_FALSE(documentModified);
}

// A file that loses nothing is saved without the dialog, even when it is
// odd: an ILDA show that ends with two closing headers and a palette, with
// "000" in its reserved bytes, as real writers leave them.
TEST_F(FileFlowsTest, AnOddFileThatLosesNothingIsSavedWithoutTheDialog) {
    std::string file;
    for (int f = 0; f < 3; ++f) file += Frame0("show", 2 + f, 10 * f);
    file += Closing() + Closing() + Header(2, Padded("p"), 1) + "rgb";
    for (size_t at = 0; at < file.size(); at = file.find("ILDA", at + 1))
        file.replace(at + 4, 3, "000");
    ASSERT_TRUE(WriteWholeFile(Path("show.ild"), file));
    Reply(Path("show.ild"), 2);
    OpenFramesFlow(nullptr);
    EXPECT_EQ(ui->Count("warning"), 0) << ui->OnlyWarning();
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_FALSE(DocumentFileIncomplete);
    SetDocumentModified(true);
    SaveFramesFlow(nullptr);
    EXPECT_EQ(dialog.requests.size(), 1u);  // only the open dialog
    EXPECT_FALSE(documentModified);
    EXPECT_NE(ReadWholeFile(Path("show.ild")), file);  // written as the program writes ILDA
}

}  // namespace
