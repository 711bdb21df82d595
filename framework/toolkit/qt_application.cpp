// The Qt application under the framework: made when it is first needed, watched for theme
// and activation changes, ended after the program's finalisers; and the event loop that runs
// in it, with quitting.
#include <QApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_impl.h"
#include "framework/toolkit/application_internal.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/timer.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/toolkit_testing.h"
#include "framework/toolkit/window.h"
#include "framework/toolkit/window_impl.h"

namespace {

class ApplicationWatcher;

// The toolkit's process-wide state. The event loop's part is read from any thread that
// ends the program (the report of an unhandled exception); the rest only on the main one.
struct Toolkit {
    bool supportsHiDPI = true;
    bool loopRunning = false;          // inside RuntimeRun's event loop
    bool quitPending = false;          // Quit came while the loop was not running
    QApplication* ownedApp = nullptr;  // the Qt application the toolkit made, if it did
    bool finalizerRegistered = false;
    QPointer<ApplicationWatcher> watcher;
};

Toolkit& TheToolkit() {
    static auto* toolkit = new Toolkit();
    return *toolkit;
}

// ---- appearance and activation ------------------------------------------------------------

// A change of the colour theme reaches the application object through its notification
// interface, as the platform's own notification would.
void NotifyAppearanceChanged() {
    Ref<Object> app = RuntimeApplicationObject();
    if (!app) return;
    const InterfaceEntry* entry = RuntimeInterfaceOf(
        app.get(), under_MacOSDistributedNotifications::iNotify::dunder_Lookup());
    if (!entry || entry->methodCount == 0 || !entry->table[0]) return;
    auto notify = reinterpret_cast<void (*)(Object*, String, void*, void*)>(entry->table[0]);
    RunProgramCode([&] { notify(app.get(), String(kThemeChanged), nullptr, nullptr); });
}

// Watches the Qt application for what the application object hears of: theme changes and
// the application becoming active or inactive.
class ApplicationWatcher : public QObject {
  public:
    explicit ApplicationWatcher(QApplication* app) : QObject(app) {
        app->installEventFilter(this);
        QObject::connect(app, &QGuiApplication::applicationStateChanged, this,
                         [](Qt::ApplicationState state) {
                             Ref<Object> app = RuntimeApplicationObject();
                             if (!app) return;
                             if (state == Qt::ApplicationActive) {
                                 SendClassEvent(app.get(), Application::kActivate);
                             } else if (state == Qt::ApplicationInactive) {
                                 SendClassEvent(app.get(), Application::kDeactivate);
                             }
                         });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A palette change follows a theme change; several come at once, one event is raised.
        if (watched == parent() && event->type() == QEvent::ApplicationPaletteChange &&
            !appearancePending_) {
            appearancePending_ = true;
            QTimer::singleShot(0, this, [this] {
                appearancePending_ = false;
                NotifyAppearanceChanged();
            });
        }
        return false;
    }

  private:
    bool appearancePending_ = false;
};

// ---- the end of the program -------------------------------------------------------------

void ToolkitFinalize() {
    Toolkit& toolkit = TheToolkit();
    ReleaseAllWindows();
    ToolkitForgetApplicationObject();
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(toolkit.ownedApp, nullptr);
    toolkit.finalizerRegistered = false;
    toolkit.quitPending = false;
}

}  // namespace

// Registered early in the start-up, so that it runs after the finalisers the program adds.
void ToolkitRegisterFinalizer() {
    Toolkit& toolkit = TheToolkit();
    if (toolkit.finalizerRegistered) return;
    RuntimeAddFinalizer(&ToolkitFinalize);
    toolkit.finalizerRegistered = true;
}

// ---- the Qt application -------------------------------------------------------------------

void ApplicationSetSupportsHiDPI(bool on) {
    RuntimeTrace(std::string("ApplicationSetSupportsHiDPI ") + (on ? "True" : "False"));
    ToolkitRegisterFinalizer();
    TheToolkit().supportsHiDPI = on;
    if (QCoreApplication::instance()) return;  // Qt reads both only when it starts
    // Qt 6 always draws at the screen's resolution; fractional factors are kept as they are.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        on ? Qt::HighDpiScaleFactorRoundingPolicy::PassThrough
           : Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (!on) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

bool ToolkitSupportsHiDPI() {
    return TheToolkit().supportsHiDPI;
}

bool ToolkitHaveWidgetsApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

void ToolkitEnsureApplication() {
    under_UITrap();
    Toolkit& toolkit = TheToolkit();
    ToolkitRegisterFinalizer();
    if (!QCoreApplication::instance()) {
        if (toolkit.supportsHiDPI)
            QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
                Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
        // Qt ends the process when its platform finds no display; the framework raises
        // instead, so that the start-up ends through its report like any other failure. The
        // check reads the arguments Qt is about to read.
        std::string why;
        if (!ToolkitDisplayAvailable(RuntimeArgumentCount(), RuntimeArgumentVector(), &why))
            RuntimeRaiseNew(RuntimeException::dunder_Lookup(), why);
        // Qt keeps the count by reference for the application's life: the runtime's lives on.
        toolkit.ownedApp = new QApplication(RuntimeArgumentCount(), RuntimeArgumentVector());
    }
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return;
    // The framework decides when the application ends, not the last window to close.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (!toolkit.watcher) toolkit.watcher = new ApplicationWatcher(app);
}

void ToolkitResetForTesting() {
    Toolkit& toolkit = TheToolkit();
    ReleaseAllWindows();
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ToolkitForgetApplicationObject();
    toolkit.quitPending = false;
    toolkit.loopRunning = false;
    toolkit.finalizerRegistered = false;
}

// ---- the event loop -----------------------------------------------------------------------

void RuntimeRun() {
    RuntimeTrace("RuntimeRun");
    ToolkitEnsureApplication();
    Toolkit& toolkit = TheToolkit();
    if (!toolkit.quitPending) {
        toolkit.loopRunning = true;
        QApplication::exec();
        toolkit.loopRunning = false;
    }
    if (Ref<Object> app = RuntimeApplicationObject())
        SendClassEvent(app.get(), Application::kClose);
    toolkit.quitPending = false;
}

void under_RuntimeRun() {
    RuntimeRun();
}

void RuntimeApplicationQuit(int64_t code) {
    under_UITrap();
    RuntimeTrace("RuntimeApplicationQuit " + std::to_string(code));
    RuntimeSetExitStatus(static_cast<int>(code));
    ToolkitEndEventLoop();
}

// As the platform's Quit command does: every window is asked to close (and may refuse),
// then the application; if none refused, the application quits with status 0.
void QuitMenuAction() {
    std::vector<Ref<Object>> windows;
    for (int64_t i = 0; i < RuntimeWindowCount(); ++i) windows.push_back(RuntimeWindowAt(i));
    for (const Ref<Object>& window : windows) {
        bool closed = false;
        RunProgramCode([&] { closed = CloseWindow(window.get(), true); });
        if (!closed) return;
    }
    Ref<Object> app = RuntimeApplicationObject();
    if (app && RaiseClassEvent<bool>(app.get(), Application::kCancelClose, false)) return;
    RuntimeApplicationQuit(0);
}

void ToolkitEndEventLoop() {
    Toolkit& toolkit = TheToolkit();
    if (toolkit.loopRunning && QCoreApplication::instance()) {
        QCoreApplication::exit(RuntimeExit());
    } else {
        toolkit.quitPending = true;
    }
}
