// The converter's file check: the reader's verdict and the walker's detail.
#include "convert/file_check.h"

#include <cstdio>
#include <cstring>

#include "convert/frame_report.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "formats/csv_file.h"
#include "formats/csv_walk.h"
#include "formats/file_names.h"
#include "formats/ilda_file.h"
#include "formats/ilda_walk.h"
#include "formats/path_files.h"
#include "formats/read_account.h"
#include "formats/walk_report.h"

enum { MESSAGE_LENGTH = 1024 };

static char readerMessage[MESSAGE_LENGTH];

// The reader's warnings become part of the report instead of going to stderr.
static void KeepWarning(UiWindow, const char* text, const char*) {
    size_t used = std::strlen(readerMessage);
    std::snprintf(readerMessage + used, sizeof readerMessage - used, "%s%s", used ? "\n" : "",
                  text);
}

// A warning about the file itself keeps the reason the system gave.
static void KeepFileWarning(UiWindow owner, const char*, const char* text, const char* caption,
                            int cause) {
    if (!cause) return KeepWarning(owner, text, caption);
    size_t used = std::strlen(readerMessage);
    std::snprintf(readerMessage + used, sizeof readerMessage - used, "%s%s (%s)", used ? "\n" : "",
                  text, std::strerror(cause));
}

static bool SameAccount(const ReadAccount* a, const ReadAccount* b) {
    return a->framesRead == b->framesRead && a->pointsRead == b->pointsRead &&
           a->longFrames == b->longFrames && a->pointsBeyondLimit == b->pointsBeyondLimit &&
           a->framesBeyondStore == b->framesBeyondStore &&
           a->pointsBeyondStore == b->pointsBeyondStore && a->stop == b->stop &&
           a->placeKind == b->placeKind && a->stopPlace == b->stopPlace &&
           a->formatCode == b->formatCode;
}

int CheckFrameFile(const char* path, int32_t speed) {
    const FrameFileKind kind = FrameFileKindOf(path);
    if (kind != FRAME_FILE_CSV && kind != FRAME_FILE_ILDA) {
        ReportText(stdout, "%s: the editor reads only .csv and .ild frame files\n", path);
        return CHECK_UNREADABLE;
    }
    const bool csv = kind == FRAME_FILE_CSV;
    readerMessage[0] = 0;
    void (*warningBox)(UiWindow, const char*, const char*) = uiPort.warningBox;
    void (*fileWarning)(UiWindow, const char*, const char*, const char*, int) = uiPort.fileWarning;
    uiPort.warningBox = KeepWarning;
    uiPort.fileWarning = KeepFileWarning;
    const int read = csv ? ReadCsvFrames(nullptr, path, 0) : ReadIldaFrames(nullptr, path, 0);
    uiPort.warningBox = warningBox;
    uiPort.fileWarning = fileWarning;
    const ReadAccount account = lastReadAccount;

    // The walk reports as it goes, so the file's kind comes first; a file
    // that cannot be opened has nothing to walk.
    ReadAccount walked;
    StartReadAccount(&walked, READ_PLACE_SECTION);
    int walk = WALK_OPEN_FAILED;
    if (FILE* probe = OpenPathStream(path, "rb")) {
        std::fclose(probe);
        ReportText(stdout, "%s: read as %s frame file, by its name\n", path,
                   csv ? "a CSV" : "an ILDA");
        walk = csv ? WalkCsvFile(path, stdout, &walked) : WalkIldaFile(path, stdout, &walked);
    }
    if (!read) {
        if (walk == WALK_OPEN_FAILED) ReportText(stdout, "%s: ", path);
        ReportText(stdout, "%s\nThe editor cannot read this file.\n", readerMessage);
        return CHECK_UNREADABLE;
    }
    ReportFramesRead(stdout, path, csv, &account, speed);
    if (walk != WALK_DONE || !SameAccount(&walked, &account))
        ReportText(stdout,
                   "The walk above does not agree with the editor's reader; what follows is "
                   "the reader's.\n");
    ReportText(stdout, "The editor reads %d %s with %lld %s", (int)account.framesRead,
               account.framesRead == 1 ? "frame" : "frames", (long long)account.pointsRead,
               account.pointsRead == 1 ? "point" : "points");
    if (csv)
        ReportText(stdout, ", scan speed %d, blanking delay %d", (int)ScanSpeed,
                   (int)BlankingDelay);
    ReportText(stdout, ".\n");
    if (ReadLeftDataOut(&account)) {
        ReportText(stdout, "%s\nSomething would be lost.\n", readerMessage);
        return CHECK_LOSES;
    }
    ReportText(stdout, "Nothing would be lost.\n");
    return CHECK_WHOLE;
}
