// Used by closing the main window and by the end of the session alike, so
// that logging off cannot lose changes the user did not choose to drop.
#include "app/exit_guard_win32.h"

#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "files/file_commands_win32.h"
#include "files/file_flows.h"
#include "tables/modal_dialog_win32.h"

int ConfirmLeaving(HWND mainWindow) {
    // The step's command goes on once it closes, on windows that must
    // still be there.
    if (ModalDialogOpen()) return 0;
    StoreWorkingFrameForFiles();
    if (!documentModified) return 1;
    int answer = AskYesNoCancel((UiWindow)mainWindow,
                                "The changes have not been saved.\nDo you wish to save changes?",
                                "Exit Program");
    if (answer == ANSWER_NO) return 1;
    if (answer != ANSWER_YES) return 0;
    return SaveFrames(mainWindow, 0, 0, frameStore.numFrames - 1) ? 1 : 0;
}
