// Puts the whole model (store, working frame, settings, undo, modified state)
// back into its program-start state. Start-up relies on static
// initialisation; tests call this between cases.
#pragma once

void ResetDocument();
