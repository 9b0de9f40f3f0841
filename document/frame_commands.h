// The frame-level menu commands and the settings commands.
#pragma once

#include "document/ui_port.h"

void NextFrameCommand();                          // 40023
void PreviousFrameCommand();                      // 40024
void InsertBlankFrameCommand();                   // 40026
void DeleteCurrentFrameCommand();                 // 40025
void BlankCurrentFrameCommand();                  // 40009
void UndoCommand();                               // 40011
void ChangeScanSpeedCommand(UiWindow owner);      // 40012
void ChangeBlankingDelayCommand(UiWindow owner);  // 40032
