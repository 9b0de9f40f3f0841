// Latency of everyday commands in the real program with a full document
// (999 frames of 3000 points), once with both tables open and once with none.
// A command is timed from sending it until its handler has returned and the
// paints it asked for are done; the figures are the median, the 10th and 90th
// percentile and the slowest of three rounds.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/shell_handles_win32.h"
#include "canvas/view_transform.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

namespace {

const int RUNS = 21;
const int DRAG_MOVES = 50;
const int DELETED_ROWS = 100;

// A frame store to put back after each Delete Selected Frames (18 MB).
FrameStore savedStore;

const int ROUNDS = 3;

struct Figures {
    double median = 0, low = 0, high = 0, slowest = 0;  // low, high: 10th and 90th percentile
    int samples = 0;
};

Figures Summarise(std::vector<double> times) {
    Figures f;
    if (times.empty()) return f;
    std::sort(times.begin(), times.end());
    f.median = times[times.size() / 2];
    f.low = times[times.size() / 10];
    f.high = times[times.size() * 9 / 10];
    f.slowest = times.back();
    f.samples = (int)times.size();
    return f;
}

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)counter.QuadPart / (double)frequency.QuadPart;
}

// Every paint the command asked for: the canvas, the status bar, both lists.
void FinishPaints() {
    const UINT now = RDW_UPDATENOW | RDW_ALLCHILDREN;
    RedrawWindow(ProgramWindow(), nullptr, nullptr, now);
    if (vectorTableWindow) RedrawWindow(vectorTableWindow, nullptr, nullptr, now);
    if (frameTableWindow) RedrawWindow(frameTableWindow, nullptr, nullptr, now);
    GdiFlush();
}

double Timed(const std::function<void()>& act) {
    double start = Now();
    act();
    FinishPaints();
    double time = Now() - start;
    PumpProgramMessages();
    return time;
}

void Command(int id) {
    SendMessageA(ProgramWindow(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// Deterministic points over the whole frame box: long segments, a blanked
// point now and then, names that differ.
void FillDocument() {
    unsigned seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (int)((seed >> 8) & 0xFFFF);
    };
    for (int f = 0; f < MAX_FRAMES - 1; ++f) {
        workingFrame.count = MAX_POINTS;
        for (int i = 0; i < MAX_POINTS; ++i) {
            int16_t flags = (next() % 9 == 0) ? 0 : POINT_VISIBLE;
            int16_t x = (int16_t)(next() % 60001 - 30000);
            int16_t y = (int16_t)(next() % 60001 - 30000);
            workingFrame.points[i] = {flags, x, y};
        }
        StoreFrame(f, true);
        char name[FRAME_NAME_LENGTH + 1];
        std::snprintf(name, sizeof name, "Shot %03d take %d", f, f % 7);
        for (int c = 0; c < FRAME_NAME_LENGTH; ++c) frameStore.frameNames[f].bytes[c] = name[c];
    }
}

void StartOn(int frame, bool tables) {
    ResetProgramState();
    MoveWindow(ProgramWindow(), 0, 0, 1024, 768, TRUE);
    FillDocument();
    frameStore.currentFrame = frame;
    LoadFrame(frame);
    if (tables) {
        Command(CMD_TOGGLE_VECTOR_TABLE);
        Command(CMD_TOGGLE_FRAME_TABLE);
    }
    PumpProgramMessages();
    FinishPaints();
}

struct Row {
    std::string command;
    Figures both, none;
};

std::vector<double> Repeat(int runs, const std::function<double()> once) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) times.push_back(once());
    return times;
}

std::vector<double> Steps(int id) {
    return Repeat(RUNS, [id] { return Timed([id] { Command(id); }); });
}

// Opens a table (timed) and closes it again (untimed).
std::vector<double> Showing(int toggle) {
    return Repeat(RUNS, [toggle] {
        double time = Timed([toggle] { Command(toggle); });
        Command(toggle);
        PumpProgramMessages();
        return time;
    });
}

std::vector<double> UndoOfBlank() {
    return Repeat(RUNS, [] {
        Command(CMD_BLANK_CURRENT_FRAME);
        PumpProgramMessages();
        return Timed([] { Command(CMD_UNDO); });
    });
}

// Insert a Blank Frame and Delete Current Frame in turn leave the document as
// it was; both are timed. The deletion then brings a full frame back after a
// blank one, the costliest case for the Vector Table (its scroll bar appears).
void InsertAndDelete(std::vector<double>* inserts, std::vector<double>* deletes) {
    for (int run = 0; run < RUNS; ++run) {
        inserts->push_back(Timed([] { Command(CMD_INSERT_BLANK_FRAME); }));
        deletes->push_back(Timed([] { Command(CMD_DELETE_CURRENT_FRAME); }));
    }
}

// The store as it was, and the tables and view rebuilt from it (untimed).
void PutBackStore() {
    frameStore = savedStore;
    LoadFrame(frameStore.currentFrame);
    RefreshFrameTable(FT_REBUILD);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    RepaintCanvas();
    PumpProgramMessages();
}

// Delete Current Frame on a frame of 3000 points followed by another.
std::vector<double> DeleteFullFrame() {
    return Repeat(RUNS, [] {
        savedStore = frameStore;
        double time = Timed([] { Command(CMD_DELETE_CURRENT_FRAME); });
        PutBackStore();
        return time;
    });
}

std::vector<double> DeleteSelectedRows() {
    return Repeat(RUNS, [] {
        savedStore = frameStore;
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        for (int row = 300; row < 300 + DELETED_ROWS; ++row)
            SendMessageA(frameList, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
        PumpProgramMessages();
        double time = Timed(
            [] { SendMessageA(frameTableWindow, WM_COMMAND, MAKEWPARAM(CMD_TABLE_DELETE, 0), 0); });
        PutBackStore();
        return time;
    });
}

// Every point selected, a Ctrl press on one of them, then each mouse move
// timed; the release (also timed) puts the points back where they were.
void CtrlDrag(std::vector<double>* moves, std::vector<double>* releases) {
    for (int i = 0; i < workingFrame.count; ++i) workingFrame.points[i].flags |= POINT_SELECTED;
    RefreshVectorTable(VT_UPDATE_VALUES);
    PumpProgramMessages();
    HWND canvas = CanvasWindow();
    // The press lands on the point nearest the middle of the canvas.
    int x = 0, y = 0;
    FrameToClient(0, 0, &x, &y);
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < workingFrame.count; ++i) {
        int px, py;
        FrameToClient(workingFrame.points[i].x, workingFrame.points[i].y, &px, &py);
        int distance = std::abs(px - x) + std::abs(py - y);
        if (distance < bestDistance) best = i, bestDistance = distance;
    }
    FrameToClient(workingFrame.points[best].x, workingFrame.points[best].y, &x, &y);
    for (int drag = 0; drag < 3; ++drag) {
        SendMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(x, y));
        for (int m = 1; m <= DRAG_MOVES; ++m) {
            LPARAM at = MAKELPARAM(x + m % 25, y + m % 17);
            moves->push_back(Timed(
                [canvas, at] { SendMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, at); }));
        }
        releases->push_back(Timed(
            [canvas, x, y] { SendMessageA(canvas, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(x, y)); }));
    }
}

std::vector<double> FullPaints() {
    return Repeat(RUNS, [] {
        return Timed([] {
            RedrawWindow(CanvasWindow(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        });
    });
}

// All figures for one setting of the tables.
std::vector<std::vector<double>> Measure(bool tables) {
    std::vector<std::vector<double>> all;
    StartOn(480, tables);
    all.push_back(Steps(CMD_NEXT_FRAME));
    all.push_back(Steps(CMD_PREVIOUS_FRAME));
    all.push_back(FullPaints());
    if (tables) Command(CMD_TOGGLE_VECTOR_TABLE);
    all.push_back(Showing(CMD_TOGGLE_VECTOR_TABLE));
    if (tables) {
        Command(CMD_TOGGLE_VECTOR_TABLE);
        Command(CMD_TOGGLE_FRAME_TABLE);
    }
    all.push_back(Showing(CMD_TOGGLE_FRAME_TABLE));
    if (tables) Command(CMD_TOGGLE_FRAME_TABLE);
    PumpProgramMessages();
    all.push_back(UndoOfBlank());
    std::vector<double> inserts, deletes;
    InsertAndDelete(&inserts, &deletes);
    all.push_back(inserts);
    all.push_back(deletes);
    all.push_back(DeleteFullFrame());
    if (tables) {
        all.push_back(DeleteSelectedRows());
    } else {
        // The command belongs to the Frame Table: measured with that table alone.
        Command(CMD_TOGGLE_FRAME_TABLE);
        PumpProgramMessages();
        all.push_back(DeleteSelectedRows());
        Command(CMD_TOGGLE_FRAME_TABLE);
        PumpProgramMessages();
    }
    std::vector<double> moves, releases;
    CtrlDrag(&moves, &releases);
    all.push_back(moves);
    all.push_back(releases);
    all.push_back(FullPaints());
    return all;
}

// The machine's load average when it can be read (Wine maps / to Z:).
std::string LoadAverage() {
    FILE* file = std::fopen("Z:\\proc\\loadavg", "r");
    if (!file) return "unknown";
    char text[64] = "";
    if (!std::fgets(text, sizeof text, file)) text[0] = 0;
    std::fclose(file);
    std::string load = text;
    while (!load.empty() && (load.back() == '\n' || load.back() == '\r')) load.pop_back();
    return load;
}

}  // namespace

TEST(CommandLatencyBenchmark, FullDocumentWithAndWithoutTables) {
    const char* names[] = {"Next Frame",
                           "Previous Frame",
                           "Full paint, 3000 points",
                           "Show Vector Table",
                           "Show Frame Table",
                           "Undo of Blank Current Frame",
                           "Insert a Blank Frame",
                           "Delete Current Frame (that blank one)",
                           "Delete Current Frame (3000 points)",
                           "Delete Selected Frames, 100 rows (*)",
                           "Ctrl-drag 3000 points, per move",
                           "Ctrl-drag release",
                           "Full paint, 3000 selected"};
    std::string loadBefore = LoadAverage();
    // Rounds with and without tables in turn, so that a burst of load from
    // elsewhere falls on both columns alike.
    std::vector<std::vector<double>> both, none;
    for (int round = 0; round < ROUNDS; ++round) {
        for (bool tables : {true, false}) {
            std::vector<std::vector<double>> times = Measure(tables);
            std::vector<std::vector<double>>& all = tables ? both : none;
            all.resize(times.size());
            for (size_t i = 0; i < times.size(); ++i)
                all[i].insert(all[i].end(), times[i].begin(), times[i].end());
        }
    }
    std::printf("\nload average before: %s, after: %s\n", loadBefore.c_str(),
                LoadAverage().c_str());
    std::printf("%-38s %-31s %-31s\n", "command (ms)", "both tables: median [p10-p90] max",
                "no tables: median [p10-p90] max");
    for (size_t i = 0; i < both.size(); ++i) {
        Figures b = Summarise(both[i]), n = Summarise(none[i]);
        std::printf("%-38s %6.2f [%5.2f-%6.2f] %6.1f   %6.2f [%5.2f-%6.2f] %6.1f  n=%d\n", names[i],
                    b.median, b.low, b.high, b.slowest, n.median, n.low, n.high, n.slowest,
                    b.samples);
        std::string key = "row" + std::to_string(i);
        RecordProperty(key + "_both_median_us", (int)(b.median * 1000));
        RecordProperty(key + "_none_median_us", (int)(n.median * 1000));
    }
    std::printf("(*) without tables: with the Frame Table alone, whose command it is\n");
    ResetProgramState();
}
