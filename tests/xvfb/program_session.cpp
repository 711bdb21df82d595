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

namespace xvfb {
namespace {

constexpr int kSplashPeriodMs = 4000;
constexpr int kLongWaitMs = 12000;  // beyond the splash period on a slow machine
constexpr int kQuitWaitMs = 15000;

XInput* gInput = nullptr;
QElapsedTimer gClock;  // from the start of the program
StartupRecord gStartup;
int gTestsFailed = 1;
bool gQuitByKey = false;

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

// Quits as a person does, with the Quit item's key in the conversion window.
void QuitByKey() {
    QTimer::singleShot(kQuitWaitMs, qApp, [] {
        std::fprintf(stderr, "xvfb: the program did not end after its Quit key\n");
        RuntimeApplicationQuit(99);
    });
    QWidget* top = TopLevel(Conversion());
    if (!top) return RuntimeApplicationQuit(98);
    Settle();
    top->activateWindow();
    if (!WaitFor([&] { return top->isActiveWindow(); })) return RuntimeApplicationQuit(97);
    Input().Chord({"Control_L", "q"});
    gQuitByKey = true;
}

// Runs once the event loop runs: the start-up has ended and the program waits for input.
void Drive() {
    if (QThread::currentThread()->loopLevel() == 0) {
        QTimer::singleShot(0, qApp, &Drive);
        return;
    }
    RecordStartup();
    gTestsFailed = RUN_ALL_TESTS();
    QuitByKey();
}

void ScheduleDrive() {
    QTimer::singleShot(0, qApp, &Drive);
}

}  // namespace

const StartupRecord& Startup() {
    return gStartup;
}

int RunSession(XInput& input) {
    gInput = &input;
    ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
    qAddPreRoutine(&ScheduleDrive);  // the program makes its application itself
    gClock.start();
    static char name[] = "corvane-conversion";
    static char* argv[] = {name, nullptr};  // the runtime keeps main's arguments
    const int status = RunProgram(1, argv);
    if (status != 0) std::fprintf(stderr, "xvfb: the program ended with status %d\n", status);
    return gTestsFailed || !gQuitByKey || status != 0;
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

void ChooseWithMouse(const char* menu, const char* item) {
    auto* bar = TopLevel(Conversion())->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* title = nullptr;
    for (QAction* action : bar->actions())
        if (action->text() == QLatin1String(menu)) title = action;
    ASSERT_TRUE(title && title->menu()) << menu;
    ClickOn(bar, bar->actionGeometry(title).center());
    QMenu* opened = title->menu();
    ASSERT_TRUE(WaitFor([&] { return opened->isVisible() && opened->windowHandle()->isExposed(); }))
        << menu << " did not open";
    Settle();
    QAction* chosen = nullptr;
    for (QAction* action : opened->actions())
        if (action->text() == QLatin1String(item)) chosen = action;
    ASSERT_NE(chosen, nullptr) << item;
    ClickOn(opened, opened->actionGeometry(chosen).center());
    ASSERT_TRUE(WaitFor([&] { return !opened->isVisible(); })) << menu << " stayed open";
    Settle();
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
