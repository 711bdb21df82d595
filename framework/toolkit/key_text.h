// The framework's text for a key press, as KeyDown events receive it (the table is in
// controls.h). Shared by windows and controls so that both name every key alike.
#pragma once

#include "framework/runtime/runtime.h"

class QKeyEvent;

// The key's text: the typed character for a printable key, a control character for the
// editing and movement keys; the empty text for a press of a modifier alone, for a key
// equivalent (a key pressed with Ctrl, Command on macOS) and for keys the framework has no
// text for: none of these reaches a KeyDown handler.
String KeyTextForEvent(const QKeyEvent& event);
