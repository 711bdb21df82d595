#include "framework/toolkit/key_text.h"

#include <QKeyEvent>

#include "framework/toolkit/qt_values.h"

namespace {

// Keys whose text is a fixed control character, whatever the platform types for them.
struct KeyCode {
    int key;
    char code;
};
// clang-format off
constexpr KeyCode kKeyCodes[] = {
    // Qt key             framework text
    {Qt::Key_Backspace,   8},
    {Qt::Key_Tab,         9},
    {Qt::Key_Backtab,     9},    // Shift+Tab
    {Qt::Key_Return,      13},
    {Qt::Key_Enter,       3},    // the keypad's Enter
    {Qt::Key_Escape,      27},
    {Qt::Key_Delete,      127},  // forward delete
    {Qt::Key_Left,        28},
    {Qt::Key_Right,       29},
    {Qt::Key_Up,          30},
    {Qt::Key_Down,        31},
    {Qt::Key_Home,        1},
    {Qt::Key_End,         4},
    {Qt::Key_PageUp,      11},
    {Qt::Key_PageDown,    12},
};
// clang-format on

// Keys that only modify others: no key of their own.
constexpr int kModifierKeys[] = {
    Qt::Key_Shift,    Qt::Key_Control, Qt::Key_Meta,        Qt::Key_Alt,     Qt::Key_AltGr,
    Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock,  Qt::Key_Super_L, Qt::Key_Super_R,
    Qt::Key_Hyper_L,  Qt::Key_Hyper_R, Qt::Key_Mode_switch,
};

}  // namespace

String KeyTextForEvent(const QKeyEvent& event) {
    const int key = event.key();
    for (int modifier : kModifierKeys)
        if (key == modifier) return String();
    // A key pressed with the command modifier (Ctrl; Qt maps Command to it on macOS) is a key
    // equivalent, not typing: it chooses a menu item or the control's own editing command
    // (select all, copy, undo), so it never reaches a KeyDown handler as a character.
    if (event.modifiers() & Qt::ControlModifier) return String();
    for (const KeyCode& entry : kKeyCodes)
        if (key == entry.key) return String(std::string_view(&entry.code, 1));
    return FromQString(event.text());
}
