// The system beep and the message box.
#pragma once

#include "framework/runtime/runtime.h"

struct MessageDialog {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// Beep: the platform's alert sound.
void Beep();
// MsgBox: shows `text` in a modal message box and returns when the user dismisses it.
void RuntimeMsgBox(String text);
