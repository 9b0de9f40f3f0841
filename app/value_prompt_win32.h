// The value prompt dialog (template 109): one text or number field.
#pragma once

#include <windows.h>

#include "document/ui_port.h"

// Runs the prompt modally over owner with Prompt::value as the initial text.
// 1 after OK (Prompt::value holds the entry, cut to 19 characters),
// 2 after Cancel, anything else when the dialog could not be created.
INT_PTR RunValuePrompt(HWND owner, const ValuePromptRequest* request);
