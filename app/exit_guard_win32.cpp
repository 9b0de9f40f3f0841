// Used by closing the main window and by the end of the session alike, so
// that logging off cannot lose changes the user did not choose to drop.
#include "app/exit_guard_win32.h"

#include "files/file_commands_win32.h"
#include "files/file_flows.h"
#include "tables/modal_dialog_win32.h"

int ConfirmLeaving(HWND mainWindow) {
    // The step's command goes on once it closes, on windows that must
    // still be there.
    if (ModalDialogOpen()) return 0;
    StoreWorkingFrameForFiles();
    return OfferToSave(mainWindow, "Exit Program");
}
