// The command table: one small handler per command id. Commands that change
// what the canvas shows repaint it afterwards.
#include "app/command_dispatch_win32.h"

#include "app/help_page_win32.h"
#include "app/shell_handles_win32.h"
#include "canvas/canvas_window_win32.h"
#include "canvas/template_picture_win32.h"
#include "canvas/view_transform.h"
#include "document/command_ids.h"
#include "document/frame_commands.h"
#include "document/frame_resize.h"
#include "document/ui_port.h"
#include "files/file_commands_win32.h"
#include "resources/version.h"
#include "tables/frame_table_win32.h"
#include "tables/modal_dialog_win32.h"
#include "tables/vector_table_win32.h"

const char* const AboutText = "Quillon " QUILLON_VERSION_TEXT "\nLaser-show frame editor";

static void Exit(HWND main) {
    SendMessageA(main, WM_CLOSE, 0, 0);
}
static void LoadPicture(HWND main) {
    if (!LoadTemplatePicture(main, nullptr)) return;
    RequestRecenter();
    RepaintCanvas();
}
static void ClearPicture(HWND) {
    ClearTemplatePicture();
    RepaintCanvas();
}
static void About(HWND main) {
    if (!BeginModalStep((UiWindow)main)) return;
    MessageBoxA(main, AboutText, "Version", MB_OK);
    EndModalStep();
}
static void BlankCurrent(HWND) {
    BlankCurrentFrameCommand();
    RepaintCanvas();
}
static void Undo(HWND) {
    UndoCommand();
    RepaintCanvas();
}
static void ScanSpeed(HWND main) {
    ChangeScanSpeedCommand((UiWindow)main);
}
static void BlankingDelay(HWND main) {
    ChangeBlankingDelayCommand((UiWindow)main);
}
static void ResizeCurrent(HWND main) {
    ResizeCurrentFrameCommand((UiWindow)main);
    RepaintCanvas();
}
static void ZoomInHandler(HWND) {
    ZoomIn(CanvasWindow());
    RepaintCanvas();
}
static void ZoomOutHandler(HWND) {
    ZoomOut(CanvasWindow());
    RepaintCanvas();
}
static void NextFrame(HWND) {
    NextFrameCommand();
}
static void PreviousFrame(HWND) {
    PreviousFrameCommand();
}
static void DeleteCurrent(HWND) {
    DeleteCurrentFrameCommand();
    RepaintCanvas();
}
static void InsertBlank(HWND) {
    InsertBlankFrameCommand();
    RepaintCanvas();
}

struct CommandEntry {
    int id;
    void (*run)(HWND mainWindow);
};

static const CommandEntry commandTable[] = {
    {CMD_EXIT, Exit},
    {CMD_LOAD_PICTURE, LoadPicture},
    {CMD_OPEN_FRAMES, OpenFramesCommand},
    {CMD_SAVE_FRAMES_AS, SaveFramesAsCommand},
    {CMD_ABOUT, About},
    {CMD_CLEAR_PICTURE, ClearPicture},
    {CMD_BLANK_CURRENT_FRAME, BlankCurrent},
    {CMD_SAVE_FRAMES, SaveFramesCommand},
    {CMD_UNDO, Undo},
    {CMD_CHANGE_SCAN_SPEED, ScanSpeed},
    {CMD_RESIZE_CURRENT_FRAME, ResizeCurrent},
    {CMD_INSERT_FRAMES, InsertFramesCommand},
    {CMD_TOGGLE_VECTOR_TABLE, ToggleVectorTable},
    {CMD_DOCUMENTS, OpenHelpPage},
    {CMD_ZOOM_IN, ZoomInHandler},
    {CMD_ZOOM_OUT, ZoomOutHandler},
    {CMD_NEXT_FRAME, NextFrame},
    {CMD_PREVIOUS_FRAME, PreviousFrame},
    {CMD_DELETE_CURRENT_FRAME, DeleteCurrent},
    {CMD_INSERT_BLANK_FRAME, InsertBlank},
    {CMD_WRITE_SELECTION_AS, WriteSelectionAsCommand},
    {CMD_TOGGLE_FRAME_TABLE, ToggleFrameTable},
    {CMD_CHANGE_BLANKING_DELAY, BlankingDelay},
};

// A grayed item's command does nothing, whichever way it arrives.
static bool Grayed(HWND main, int id) {
    HMENU menu = GetMenu(main);
    if (!menu) return false;
    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != (UINT)-1 && (state & (MF_GRAYED | MF_DISABLED));
}

// While a modal step is open the main window is disabled; a command that
// arrives all the same runs only if it cannot touch the frames, the points
// or the view the step will act on. The settings prompts may open beside a
// prompt or the Edit Vector dialog, but not beside a file dialog or message
// box, whose command may yet write, replace or mark the document.
struct CommandBesideADialog {
    int id;
    bool besideSystemDialogs;
};
static const CommandBesideADialog commandsBesideADialog[] = {{CMD_ABOUT, true},
                                                             {CMD_DOCUMENTS, true},
                                                             {CMD_CHANGE_SCAN_SPEED, false},
                                                             {CMD_CHANGE_BLANKING_DELAY, false}};

static bool HeldBackByDialog(int id) {
    if (!ModalDialogOpen()) return false;
    for (const CommandBesideADialog& allowed : commandsBesideADialog)
        if (allowed.id == id) return !allowed.besideSystemDialogs && SystemDialogOpen();
    return true;
}

void DispatchCommand(HWND mainWindow, int commandId) {
    for (const CommandEntry& entry : commandTable) {
        if (entry.id != commandId) continue;
        if (!Grayed(mainWindow, commandId) && !HeldBackByDialog(commandId)) entry.run(mainWindow);
        return;
    }
}
