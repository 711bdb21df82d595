// The system beep and the message box, with the seams through which a test hears and
// answers them as a person would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/runtime/runtime.h"

struct MessageDialog {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// Beep: the platform's alert sound.
void Beep();
// MsgBox: shows `text` in a modal message box and returns when the user dismisses it.
void RuntimeMsgBox(String text);

// ---- seams for tests -------------------------------------------------------------------
int64_t ToolkitBeepCount();
void ToolkitResetBeepCount();
// While recording, message boxes are recorded instead of shown, and answered at once.
void ToolkitRecordMessageBoxes(bool on);
std::vector<std::string> ToolkitMessageBoxes();
void ToolkitClearMessageBoxes();
