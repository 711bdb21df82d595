#include "framework/toolkit/key_text.h"

#include <QKeyEvent>

#include "framework/toolkit/menu_internal.h"
#include "framework/toolkit/qt_values.h"

namespace {

// The codes of keys that are no character, as the framework has always named them: the
// function keys share one code, and Insert is the Help key of a Mac keyboard.
constexpr char kFunctionKeyCode = 16;
constexpr char kHelpKeyCode = 5;

// Keys whose text is a fixed control character, whatever the platform types for them and
// whatever modifiers are held.
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
    {Qt::Key_Insert,      kHelpKeyCode},
    {Qt::Key_Help,        kHelpKeyCode},
};
// clang-format on

// Keys that only modify others: no key of their own.
constexpr int kModifierKeys[] = {
    Qt::Key_Shift,    Qt::Key_Control, Qt::Key_Meta,        Qt::Key_Alt,     Qt::Key_AltGr,
    Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock,  Qt::Key_Super_L, Qt::Key_Super_R,
    Qt::Key_Hyper_L,  Qt::Key_Hyper_R, Qt::Key_Mode_switch,
};

String Code(char code) {
    return String(std::string_view(&code, 1));
}

// A key held with the command modifier (Ctrl; Qt maps Command to it on macOS) is a command:
// a letter gives its control character (Ctrl+A is 1, as a terminal has it), any other key the
// code of keys that are no character. Ctrl with Alt may be AltGr typing a character.
bool HeldWithCommand(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers();
    return (held & Qt::ControlModifier) && !(held & Qt::AltModifier);
}
String CommandKeyText(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return Code(char(key - Qt::Key_A + 1));
    return Code(kFunctionKeyCode);
}

}  // namespace

String KeyTextForEvent(const QKeyEvent& event, const QWidget* receiver) {
    const int key = event.key();
    for (int modifier : kModifierKeys)
        if (key == modifier) return String();
    if (KeyChoosesMenuItem(event, receiver)) return String();
    for (const KeyCode& entry : kKeyCodes)
        if (key == entry.key) return Code(entry.code);
    if (HeldWithCommand(event)) return CommandKeyText(key);
    String text = FromQString(event.text());
    return text.Empty() ? Code(kFunctionKeyCode) : text;
}
