// The framework's text for a key press, as KeyDown events receive it (the table is in
// key_text.cpp). Shared by windows and controls so that both name every key alike.
#pragma once

#include "framework/runtime/runtime.h"

class QKeyEvent;
class QWidget;

// The key's text: the typed character for a printable key; a fixed control character for the
// editing, movement and function keys and for a key held with Ctrl (Command on macOS), which
// is a command, never a character; the empty text only for a modifier pressed alone, which is
// no key of its own.
String KeyTextForEvent(const QKeyEvent& event);

// The text KeyDown receives for a key pressed in `receiver`, or the empty text when the key
// raises no KeyDown: a modifier pressed alone, or a key that chooses an item of a menu bar in
// the receiver's window (it stays a menu command).
String KeyDownText(const QKeyEvent& event, const QWidget* receiver);
