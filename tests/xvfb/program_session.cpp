#include "program_session.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "framework/toolkit/toolkit_internal.h"
#include "shell/startup.h"
#include "watchdog.h"

namespace xvfb {
namespace {

constexpr int kSplashPeriodMs = 4000;
constexpr int kLongWaitMs = 12000;  // beyond the splash period on a slow machine
// What the watchdog allows each stage; together well within CTest's limit for the test.
constexpr int kComeUpMs = 60000;
constexpr int kTestsMs = 180000;
constexpr int kEndMs = 20000;

XInput* gInput = nullptr;
Session gSession = Session::kTests;
QElapsedTimer gClock;  // from the start of the program
StartupRecord gStartup;
int gTestsFailed = 1;
bool gQuitByKey = false;
bool gConversionAtQuit = false;

// The program could not be brought to its Quit key: says why and ends it.
void GiveUp(const char* why) {
    std::fprintf(stderr, "xvfb: %s\n", why);
    RuntimeApplicationQuit(98);
}

void RecordStartup() {
    Ref<Object> splash = Splash();
    QWidget* top = TopLevel(splash);
    if (!top || !WaitFor([&] { return top->windowHandle()->isExposed(); })) return;
    gStartup.closeRequestAtMs = int(gClock.elapsed());
    Input().RequestClose(top->winId());
    gStartup.splashHidden = WaitFor([] { return !Shown(Splash()); });
    gStartup.splashKept = Splash().get() == splash.get();
    gStartup.conversionEarly = Conversion() && gClock.elapsed() < kSplashPeriodMs;
    if (WaitFor([] { return Shown(Conversion()); }, kLongWaitMs))
        gStartup.conversionAtMs = int(gClock.elapsed());
}

// Quits as a person does, with the Quit item's key, in `window` once it is in front.
void QuitByKeyIn(const Ref<Object>& window, const char* where) {
    QWidget* top = TopLevel(window);
    if (!top || !WaitFor([&] { return top->isVisible() && top->isActiveWindow(); }))
        return GiveUp("the window to quit from never came to the front");
    Settle();
    Input().Chord({"Control_L", "q"});
    gQuitByKey = true;
    Expect(where, kEndMs);
}

// Ctrl+Q with the About box in front ends the program as in any other window.
void QuitFromAboutBox() {
    if (!Shown(Conversion())) return GiveUp("the conversion window is not up to show About");
    Settle();
    const std::string why = TryChooseWithMouse("Edit", "About Corvane");
    if (!why.empty()) return GiveUp(why.c_str());
    QuitByKeyIn(Splash(), "the program to end after Ctrl+Q in the About box");
}

// Runs once the event loop runs: the start-up has ended and the program waits for input.
void Drive() {
    if (QThread::currentThread()->loopLevel() == 0) {
        QTimer::singleShot(0, qApp, &Drive);
        return;
    }
    QObject::connect(qApp, &QCoreApplication::aboutToQuit,
                     [] { gConversionAtQuit = bool(Conversion()); });
    if (gSession == Session::kQuitFromSplash) {
        gTestsFailed = 0;
        return QuitByKeyIn(Splash(), "the program to end after Ctrl+Q in the splash window");
    }
    Expect("the tests to finish", kTestsMs);
    RecordStartup();
    gTestsFailed = RUN_ALL_TESTS();
    QuitFromAboutBox();
}

void ScheduleDrive() {
    QTimer::singleShot(0, qApp, &Drive);
}

}  // namespace

const StartupRecord& Startup() {
    return gStartup;
}

int RunSession(XInput& input, Session session) {
    gInput = &input;
    gSession = session;
    ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
    qAddPreRoutine(&ScheduleDrive);  // the program makes its application itself
    Expect("the program to come up and run its event loop", kComeUpMs);
    gClock.start();
    static char name[] = "corvane-conversion";
    static char* argv[] = {name, nullptr};  // the runtime keeps main's arguments
    const int status = RunProgram(1, argv);
    Disarm();
    if (status != 0) std::fprintf(stderr, "xvfb: the program ended with status %d\n", status);
    const bool early = session == Session::kQuitFromSplash && gConversionAtQuit;
    if (early) std::fprintf(stderr, "xvfb: the conversion window came before the quit\n");
    return gTestsFailed || !gQuitByKey || status != 0 || early;
}

XInput& Input() {
    return *gInput;
}

Ref<Object> Splash() {
    return RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd"));
}
Ref<Object> Conversion() {
    return RuntimeGetImplicitWindow(String("MainWnd.MainWnd"));
}
bool Shown(const Ref<Object>& window) {
    return window && RuntimeWindowVisible(window.get());
}
QWidget* TopLevel(const Ref<Object>& window) {
    QWidget* content = window ? ToolkitWindowWidget(window.get()) : nullptr;
    return content ? content->window() : nullptr;
}
QLineEdit* Field(const char* name) {
    QWidget* top = TopLevel(Conversion());
    QWidget* control = top ? top->findChild<QWidget*>(QString::fromUtf8(name)) : nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit;
    return control ? control->findChild<QLineEdit*>() : nullptr;
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

void Settle() {
    constexpr int kRounds = 4, kRoundMs = 25;
    Input().Sync();
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    for (int round = 0; round < kRounds; ++round) {
        RoundTrip(x11->display());
        QTest::qWait(kRoundMs);
    }
}

void ClickOn(QWidget* widget, QPoint at) {
    ASSERT_TRUE(widget && widget->isVisible());
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    const QPoint global = widget->mapToGlobal(at);
    Input().Click(global.x(), global.y());
}

QMenu* OpenWithMouse(const char* menu, std::string& why) {
    QWidget* top = TopLevel(Conversion());
    auto* bar = top ? top->findChild<QMenuBar*>() : nullptr;
    if (!bar) {
        why = "the conversion window shows no menu bar";
        return nullptr;
    }
    QAction* title = nullptr;
    for (QAction* action : bar->actions())
        if (action->text() == QLatin1String(menu)) title = action;
    if (!title || !title->menu()) {
        why = std::string("the bar has no menu ") + menu;
        return nullptr;
    }
    const QPoint at = bar->mapToGlobal(bar->actionGeometry(title).center());
    Input().Click(at.x(), at.y());
    QMenu* opened = title->menu();
    if (!WaitFor([&] { return opened->isVisible() && opened->windowHandle()->isExposed(); })) {
        why = std::string(menu) + " did not open";
        return nullptr;
    }
    return opened;
}

std::string TryChooseWithMouse(const char* menu, const char* item) {
    std::string why;
    QMenu* opened = OpenWithMouse(menu, why);
    if (!opened) return why;
    Settle();
    QAction* chosen = nullptr;
    for (QAction* action : opened->actions())
        if (action->text() == QLatin1String(item)) chosen = action;
    if (!chosen) return std::string(menu) + " has no item " + item;
    const QPoint at = opened->mapToGlobal(opened->actionGeometry(chosen).center());
    Input().Click(at.x(), at.y());
    if (!WaitFor([&] { return !opened->isVisible(); })) return std::string(menu) + " stayed open";
    Settle();
    return "";
}

void ChooseWithMouse(const char* menu, const char* item) {
    ASSERT_EQ(TryChooseWithMouse(menu, item), "");
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(Shown(Conversion())) << "the conversion window is not up";
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (Shown(Splash())) RuntimeHideWindow(Splash().get());
    for (const char* name : {"rEdit", "zEdit"}) Field(name)->clear();
    QWidget* top = TopLevel(Conversion());
    top->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return top->isActiveWindow(); }));
    Settle();
    QApplication::clipboard()->clear();
    ToolkitResetBeepCount();
}

}  // namespace xvfb
