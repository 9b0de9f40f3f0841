// The move to another frame, as Next Frame, Previous Frame and a Frame Table
// row make it: stores the working frame if it changed, loads the frame at
// slot, drops the undo snapshot and refreshes the status panes, the tables
// and the canvas. Slots of 1000 and above do nothing.
#pragma once

void GoToFrame(int slot);
