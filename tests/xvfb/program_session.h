// The whole program, started once on the virtual display by its real start-up, and what the
// tests ask of it: its windows and fields, real input aimed at them, and waits for what the
// input brings. The tests run inside the program's event loop, after the start-up.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>
#include <functional>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_testing.h"
#include "x_display.h"

namespace xvfb {

// What the start-up showed: a close request reached the splash window before its timer fired.
struct StartupRecord {
    int closeRequestAtMs = -1;     // from the start of the program
    bool splashHidden = false;     // hidden by the close request
    bool splashKept = false;       // still the splash window of the program, not closed
    bool conversionEarly = false;  // the conversion window came before the timer
    int conversionAtMs = -1;       // when it came; -1: it never did
};
const StartupRecord& Startup();

// Starts the program on `input`'s display, runs every test once it is up, quits it with its
// Quit key; the process's exit status.
int RunSession(XInput& input);

XInput& Input();

Ref<Object> Splash();
Ref<Object> Conversion();
bool Shown(const Ref<Object>& window);
QWidget* TopLevel(const Ref<Object>& window);
QLineEdit* Field(const char* name);

// Handles events until `condition` holds or `timeoutMs` have passed; whether it holds.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);
// Handles every event that the input given so far brings, and those that its handling
// brings in turn: the server and the program have caught up.
void Settle();
// A press of the left button at `at` (the widget's coordinates; its centre by default).
void ClickOn(QWidget* widget, QPoint at = QPoint(-1, -1));
// Chooses `item` from the conversion window's menu `menu` with the mouse: the menu's title
// in the bar, then the item in the menu that opens.
void ChooseWithMouse(const char* menu, const char* item);

// Each test starts with the conversion window up and active, the About box hidden, both
// fields empty, no beep heard and the clipboard empty.
class ProgramTest : public testing::Test {
  protected:
    void SetUp() override;
};

}  // namespace xvfb
