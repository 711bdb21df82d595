// The framework's text for a key press, as KeyDown events receive it (the table is in
// key_text.cpp). Shared by windows and controls so that both name every key alike.
#pragma once

#include "framework/runtime/runtime.h"

class QKeyEvent;
class QWidget;

// The text KeyDown and KeyUp receive for a key pressed in `receiver`: the typed character for
// a printable key; a fixed control character for the editing, movement and function keys and
// for a key held with Ctrl (Command on macOS), which is a command, never a character. The
// empty text, and so no KeyDown or KeyUp, for a modifier pressed alone, which is no key of
// its own, and for a key that chooses an item of a menu bar in the receiver's window, which
// stays a menu command.
String KeyTextForEvent(const QKeyEvent& event, const QWidget* receiver);
