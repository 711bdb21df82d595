// The whole program, started once on the virtual display by its real start-up, and what the
// tests ask of it: its windows and fields, real input aimed at them, and waits for what the
// input brings. The tests run inside the program's event loop, after the start-up.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QWidget>
#include <functional>
#include <string>

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

enum class Session {
    kTests,           // every test, once the program is up; then Ctrl+Q in the About box
    kQuitFromSplash,  // Ctrl+Q in the splash window, before its timer fires
};
// Starts the program on `input`'s display by its real start-up, runs the session and checks
// that the program ends through its Quit key with status 0; the process's exit status.
int RunSession(XInput& input, Session session);

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
// Opens the conversion window's menu `menu` with the mouse, by its title in the bar; the menu,
// or nil with what went wrong in `why`.
QMenu* OpenWithMouse(const char* menu, std::string& why);
// Opens `menu` so and chooses `item` in it; "" when it was chosen, else what went wrong.
std::string TryChooseWithMouse(const char* menu, const char* item);
void ChooseWithMouse(const char* menu, const char* item);

// Each test starts with the conversion window up and active, the About box hidden, both
// fields empty, no beep heard and the clipboard empty.
class ProgramTest : public testing::Test {
  protected:
    void SetUp() override;
};

}  // namespace xvfb
