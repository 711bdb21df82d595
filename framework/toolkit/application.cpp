// Application: the class record and its operations, the start-up imports, the Qt
// application underneath, the event loop and quitting, and the report of an exception
// that nobody handled.
#include "framework/toolkit/application.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QScreen>
#include <QStyleHints>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <limits>
#include <string>
#include <vector>

#include "framework/toolkit/application_internal.h"
#include "framework/toolkit/class_event.h"
#include "framework/toolkit/dialogs.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/timer.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/toolkit_testing.h"
#include "framework/toolkit/window.h"
#include "framework/toolkit/window_impl.h"

namespace {

// Application's instance fields, at their offsets from the object reference.
namespace app_field {
constexpr int32_t kMajorVersion = -8;
constexpr int32_t kMinorVersion = -16;
constexpr int32_t kBugVersion = -24;
constexpr int32_t kNonReleaseVersion = -32;
constexpr int32_t kStageCode = -40;
constexpr int32_t kRegionCode = -48;
constexpr int32_t kLongVersion = -56;   // String
constexpr int32_t kShortVersion = -64;  // String
constexpr int32_t kPackageInfo = -72;   // String
constexpr int32_t kMenuBar = -80;       // the MenuBar object, retained
constexpr int32_t kState = -88;         // ApplicationState*
constexpr uint32_t kInstanceDataSize = 96;
}  // namespace app_field

// What an application object keeps beyond its fields.
struct ApplicationState {
    std::vector<MenuHandler> menuHandlers;  // bound by _AddMenuHandler
    bool allowAutoQuit = false;
};

// The notifications that tell of a change of the platform's colour theme.
constexpr std::string_view kThemeChanged = "AppleInterfaceThemeChangedNotification";
constexpr std::string_view kColorPreferencesChanged = "AppleColorPreferencesChangedNotification";

class ApplicationWatcher;

// The toolkit's process-wide state.
struct Toolkit {
    Ref<Object> app;  // the registered application object
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

ClassCell gApplicationCell{nullptr, &Application::dunder_ctblinit};  // Application.__ctbl
ClassCell gNotifyCell{nullptr, &under_MacOSDistributedNotifications::iNotify::dunder_ctblinit};

void Trace(const std::string& entry) {
    if (RuntimeTraceEnabled()) RuntimeTrace(entry);
}

// The process arguments as the runtime kept them (the Qt application may have taken its own
// options out of them).
std::vector<std::string> ProcessArguments() {
    char** vector = RuntimeArgumentVector();
    return std::vector<std::string>(vector, vector + RuntimeArgumentCount());
}

ApplicationState* StateOf(Object* app) {
    return app ? app->Field<ApplicationState*>(app_field::kState) : nullptr;
}

// ---- appearance -------------------------------------------------------------------------

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
    toolkit.app.Reset();
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(toolkit.ownedApp, nullptr);
    toolkit.finalizerRegistered = false;
    toolkit.quitPending = false;
}

// Registered early in the start-up, so that it runs after the finalisers the program adds.
void RegisterToolkitFinalizer() {
    Toolkit& toolkit = TheToolkit();
    if (toolkit.finalizerRegistered) return;
    RuntimeAddFinalizer(&ToolkitFinalize);
    toolkit.finalizerRegistered = true;
}

// The framework's report of an exception nobody handled: a message box naming the
// exception's class and message, then the end of the program with a failing status.
void ReportUnhandledException(Object* exception) {
    const ExceptionText said = RuntimeExceptionText(exception);
    const int status = RuntimeExit();
    RuntimeSetExitStatus(status == 0 ? 1 : status);

    std::string text = "An exception of class " + said.className +
                       " was not handled. The application must shut down.";
    if (!said.message.empty()) text += "\n\n" + said.message;
    bool shown = false;
    try {
        if (RuntimeIsMainThread()) {
            ToolkitEnsureApplication();  // raises where no display can be reached
            RuntimeMsgBox(String(text));
            shown = true;
        }
    } catch (const RaisedException&) {
        // A report that cannot be shown still ends the program; standard error says why, in
        // one line after the program's name, as command-line programs do.
    }
    if (!shown) RuntimeReportToStandardError(exception);
    ToolkitEndEventLoop();
}

// ---- Application's methods ----------------------------------------------------------------

// A tray item and a pollable object are objects of classes this framework lacks.
bool AddTrayItem(Object*, Object*) {
    RaiseUnsupported("Application.AddTrayItem");
}
void RemoveTrayItem(Object*, Object*) {
    RaiseUnsupported("Application.RemoveTrayItem");
}
void AddPollableObject(Object*, Object*) {
    RaiseUnsupported("Application._AddPollableObject");
}
void RemovePollableObject(Object*, Object*) {
    RaiseUnsupported("Application._RemovePollableObject");
}
// A document to open arrives as a FolderItem, a class this framework lacks.
void OpenDocument(Object*, Object*) {
    RaiseUnsupported("Application.OpenDocument");
}

// Handles the events that are waiting; with a positive `milliseconds`, goes on handling
// them for that long.
void DoEvents(Object*, int64_t milliseconds) {
    under_UITrap();
    if (!QCoreApplication::instance()) return;
    if (milliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(
        static_cast<int>(std::min<int64_t>(milliseconds, std::numeric_limits<int>::max())),
        Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void DoSingleEvent(Object*, bool wait) {
    under_UITrap();
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void HideTooltip(Object*) {
    under_UITrap();
    QToolTip::hideText();
}

void ShowTooltip(Object*, String text, int64_t x, int64_t y, bool autoHide) {
    ToolkitEnsureApplication();
    const int shownFor = autoHide ? -1 : std::numeric_limits<int>::max();
    QToolTip::showText(QPoint(int(x), int(y)), ToQString(text), nullptr, QRect(), shownFor);
}

void NewDocument(Object* app) {
    CallClassEventVoid(RuntimeRequire(app), Application::kNewDocument);
}

// Shows each open window's menu bar afresh, after the program changed its items.
void RefreshMenuBar(Object*) {
    for (int64_t i = 0; i < RuntimeWindowCount(); ++i) {
        Ref<Object> window = RuntimeWindowAt(i);
        if (WindowImpl* impl = WindowImplOf(window.get())) ApplyWindowMenuBar(*impl);
    }
}

void SleepCurrentThread(Object*, int64_t milliseconds) {
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void YieldToNextThread(Object*) {
    QThread::yieldCurrentThread();
}

Ref<Object> WindowAt(Object*, int64_t index) {
    return RuntimeWindowAt(index);
}
int64_t WindowCount(Object*) {
    return RuntimeWindowCount();
}

// An application-level menu handler: `method` is bool (*)(Object* app).
void AddMenuHandler(Object* app, String itemName, void* method) {
    under_UITrap();
    ApplicationState* state = StateOf(RuntimeRequire(app));
    if (!method) RaiseNilObjectException();
    auto function = reinterpret_cast<GenericFn>(method);
    for (MenuHandler& handler : state->menuHandlers) {
        if (ToolkitSameObjectName(itemName.View(), handler.itemName)) {
            handler.method = function;
            return;
        }
    }
    state->menuHandlers.push_back(MenuHandler{itemName.Std(), function});
}

// The records of the classes the application's operations create objects of.
void DependencyList(Object*) {
    Window::dunder_Lookup();
    MenuBar::dunder_Lookup();
}

void ApplicationInit(Object* self) {
    self->Field<ApplicationState*>(app_field::kState) = new ApplicationState();
}

void ApplicationExit(Object* self) {
    for (int32_t offset :
         {app_field::kLongVersion, app_field::kShortVersion, app_field::kPackageInfo})
        String::AdoptRaw(std::exchange(self->Field<StringData*>(offset), nullptr));
    RuntimeRelease(std::exchange(self->Field<Object*>(app_field::kMenuBar), nullptr));
    delete std::exchange(self->Field<ApplicationState*>(app_field::kState), nullptr);
}

// ---- Application's properties -------------------------------------------------------------

template <int32_t Offset>
int64_t VersionNumber(Object* app, int32_t) {
    return props::Integer::Get(app, Offset);
}
template <int32_t Offset>
String VersionText(Object* app, int32_t) {
    return props::String::Get(app, Offset);
}

bool AllowAutoQuitGet(Object* app, int32_t) {
    return StateOf(RuntimeRequire(app))->allowAutoQuit;
}
void AllowAutoQuitSet(Object* app, int32_t, bool on) {
    StateOf(RuntimeRequire(app))->allowAutoQuit = on;
}

bool SupportsHiDPIGet(Object*, int32_t) {
    return TheToolkit().supportsHiDPI;
}

int64_t DoubleClickTimeGet(Object*, int32_t) {
    return ToolkitHaveWidgetsApplication() ? QApplication::doubleClickInterval() : 0;
}
int64_t CaretBlinkTimeGet(Object*, int32_t) {
    return ToolkitHaveWidgetsApplication() ? QApplication::cursorFlashTime() : 0;
}
double ScaleFactorGet(Object*, int32_t) {
    QScreen* screen = ToolkitHaveWidgetsApplication() ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->devicePixelRatio() : 1.0;
}
// Dark when the palette's text is lighter than its window background.
bool IsDarkModeGet(Object*, int32_t) {
    if (!ToolkitHaveWidgetsApplication()) return false;
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::WindowText).lightness() >
           palette.color(QPalette::Window).lightness();
}
bool ActiveGet(Object*, int32_t) {
    return ToolkitHaveWidgetsApplication() &&
           QGuiApplication::applicationState() == Qt::ApplicationActive;
}
String ExecutablePathGet(Object*, int32_t) {
    if (ToolkitHaveWidgetsApplication())
        return FromQString(QCoreApplication::applicationFilePath());
    const std::vector<std::string> arguments = ProcessArguments();
    return String(arguments.empty() ? std::string() : arguments.front());
}
String CommandLineGet(Object*, int32_t) {
    std::string line;
    for (const std::string& argument : ProcessArguments())
        line += (line.empty() ? "" : " ") + argument;
    return String(line);
}
String ApplicationNameGet(Object*, int32_t) {
    return FromQString(QCoreApplication::applicationName());
}
void ApplicationNameSet(Object*, int32_t, String name) {
    QCoreApplication::setApplicationName(ToQString(name));
}
String OrganizationNameGet(Object*, int32_t) {
    return FromQString(QCoreApplication::organizationName());
}
void OrganizationNameSet(Object*, int32_t, String name) {
    QCoreApplication::setOrganizationName(ToQString(name));
}
int64_t ExitCodeGet(Object*, int32_t) {
    return RuntimeExit();
}
Ref<Object> ActiveWindowGet(Object*, int32_t) {
    if (!ToolkitHaveWidgetsApplication()) return nullptr;
    return Ref<Object>::Retain(ToolkitWindowOfWidget(QApplication::activeWindow()));
}
template <bool Horizontal>
int64_t MouseGet(Object*, int32_t) {
    if (!ToolkitHaveWidgetsApplication()) return 0;
    const QPoint at = QCursor::pos();
    return Horizontal ? at.x() : at.y();
}

}  // namespace

// ---- the class records --------------------------------------------------------------------

void under_MacOSDistributedNotifications::iNotify::dunder_ctblinit() {
    static const MethodRow iNotify_methods[] = {
        InterfaceMethod("_MacOSNotificationReceived", "%%spp", 0),
    };
    static const ClassSpec spec =
        InterfaceSpec("_MacOSDistributedNotifications.iNotify", iNotify_methods);
    RuntimeBuildClass(gNotifyCell, spec);
}
ClassRecord* under_MacOSDistributedNotifications::iNotify::dunder_Lookup() {
    return RuntimeLookupClass(gNotifyCell);
}

namespace {
void FillNotifyInterface(InterfaceEntry* entry) {
    static const GenericFn functions[] = {
        AsGenericFn(&Application::under_MacOSNotificationReceived)};
    RuntimeFillInterfaceEntry(entry, under_MacOSDistributedNotifications::iNotify::dunder_Lookup(),
                              functions);
}
}  // namespace

void Application::dunder_ctblinit() {
    using namespace app_field;
    // Application's method table, in character-code order of the names; virtual entries
    // name their slot.
    // clang-format off
    static const MethodRow Application_methods[] = {
        //           name                                  flags           signature            function                       slot
        Method(      "AddTrayItem",                        kPublicVirtual, "%b%o<TrayItem>",    &AddTrayItem,                  0),
        Method(      "DoEvents",                           kPublicVirtual, "%%i8",              &DoEvents,                     1),
        Method(      "HideTooltip",                        kPublicVirtual, "%%",                &HideTooltip,                  2),
        Method(      "NewDocument",                        kPublicVirtual, "%%",                &NewDocument,                  3),
        Method(      "OpenDocument",                       kPublicVirtual, "%%o<FolderItem>",   &OpenDocument,                 4),
        Method(      "RefreshMenuBar",                     kPublicVirtual, "%%",                &RefreshMenuBar,               5),
        Method(      "RemoveTrayItem",                     kPublicVirtual, "%%o<TrayItem>",     &RemoveTrayItem,               6),
        Method(      "ShowTooltip",                        kPublicVirtual, "%%si8i8b",          &ShowTooltip,                  7),
        Method(      "SleepCurrentThread",                 kPublicVirtual, "%%i8",              &SleepCurrentThread,           8),
        Method(      "Window",                             kPublicVirtual, "%o<Window>%i8",     &WindowAt,                     9),
        Method(      "WindowCount",                        kPublicVirtual, "%i8%",              &WindowCount,                  10),
        Method(      "YieldToNextThread",                  kPublicVirtual, "%%",                &YieldToNextThread,            11),
        Method(      "_AddMenuHandler",                    kPublicVirtual, "%%sp",              &AddMenuHandler,               12),
        Method(      "_AddPollableObject",                 kPublicVirtual, "%%o<_Pollable>",    &AddPollableObject,            13),
        Method(      "_CallFunctionWithExceptionHandling", kPrivateHidden, "%%p",               &Application::under_CallFunctionWithExceptionHandling),
        Method(      "_DependencyList",                    kPublicVirtual, "%%",                &DependencyList,               14),
        Method(      "_DoSingleEvent",                     kPublicVirtual, "%%b",               &DoSingleEvent,                15),
        Method(      "_MacOSNotificationReceived",         kPrivate,       "%%spp",             &Application::under_MacOSNotificationReceived),
        Method(      "_RemovePollableObject",              kPublicVirtual, "%%o<_Pollable>",    &RemovePollableObject,         16),
        SharedMethod("_SetSupportsHiDPI",                  kPublicShared,  "%%b",               &Application::under_SetSupportsHiDPI),
        Method(      "_x_SetVersionData",                  kPublicVirtual, "%%i8i8i8i8i8sss",   &Application::_x_SetVersionData, kSetVersionDataSlot),
        Method(      "__Exit",                             kPrivateHidden, "%%",                &ApplicationExit),
        Method(      "__Init",                             kPrivate,       "%%",                &ApplicationInit),
    };

    // The application events, at their indexes (Application::Event).
    static const EventRow Application_events[] = {
        {"Activate"}, {"AppearanceChanged"}, {"CancelClose"}, {"Close"}, {"Deactivate"},
        {"EnableMenuItems"}, {"HandleAppleEvent"}, {"NewDocument"}, {"Open"}, {"OpenDocument"},
        {"UnhandledException"},
    };

    static const PropertyRow Application_properties[] = {
        // The version data, as _x_SetVersionData stores it: hidden fields.
        StoredProperty<int64_t>("_x_mMajorVersion",      kHiddenStoredWritable, "i8", kMajorVersion),
        StoredProperty<int64_t>("_x_mMinorVersion",      kHiddenStoredWritable, "i8", kMinorVersion),
        StoredProperty<int64_t>("_x_mBugVersion",        kHiddenStoredWritable, "i8", kBugVersion),
        StoredProperty<int64_t>("_x_mNonReleaseVersion", kHiddenStoredWritable, "i8", kNonReleaseVersion),
        StoredProperty<int64_t>("_x_mStageCode",         kHiddenStoredWritable, "i8", kStageCode),
        StoredProperty<int64_t>("_x_mRegionCode",        kHiddenStoredWritable, "i8", kRegionCode),
        StoredProperty<String>( "_x_mLongVersion",       kHiddenStoredWritable, "s",  kLongVersion),
        StoredProperty<String>( "_x_mShortVersion",      kHiddenStoredWritable, "s",  kShortVersion),
        StoredProperty<String>( "_x_mPackageInfo",       kHiddenStoredWritable, "s",  kPackageInfo),
        // The version data as the program reads it.
        ComputedProperty<int64_t>("MajorVersion",        kComputedReadOnly, "i8", &VersionNumber<kMajorVersion>,      nullptr),
        ComputedProperty<int64_t>("MinorVersion",        kComputedReadOnly, "i8", &VersionNumber<kMinorVersion>,      nullptr),
        ComputedProperty<int64_t>("BugVersion",          kComputedReadOnly, "i8", &VersionNumber<kBugVersion>,        nullptr),
        ComputedProperty<int64_t>("NonReleaseVersion",   kComputedReadOnly, "i8", &VersionNumber<kNonReleaseVersion>, nullptr),
        ComputedProperty<int64_t>("StageCode",           kComputedReadOnly, "i8", &VersionNumber<kStageCode>,         nullptr),
        ComputedProperty<int64_t>("RegionCode",          kComputedReadOnly, "i8", &VersionNumber<kRegionCode>,        nullptr),
        ComputedProperty<String>( "LongVersion",         kComputedReadOnly, "s",  &VersionText<kLongVersion>,         nullptr),
        ComputedProperty<String>( "ShortVersion",        kComputedReadOnly, "s",  &VersionText<kShortVersion>,        nullptr),
        ComputedProperty<String>( "PackageInfo",         kComputedReadOnly, "s",  &VersionText<kPackageInfo>,         nullptr),
        // The menu bar and what the application knows of itself and the platform.
        ComputedProperty<Ref<Object>>("MenuBar",         kComputedWritable, "o<MenuBar>", &AppMenuBarGetter,     &AppMenuBarSetter),
        ComputedProperty<bool>(   "AllowAutoQuit",       kComputedWritable, "b",  &AllowAutoQuitGet,     &AllowAutoQuitSet),
        ComputedProperty<bool>(   "SupportsHiDPI",       kComputedReadOnly, "b",  &SupportsHiDPIGet,     nullptr),
        ComputedProperty<int64_t>("DoubleClickTime",     kComputedReadOnly, "i8", &DoubleClickTimeGet,   nullptr),
        ComputedProperty<int64_t>("CaretBlinkTime",      kComputedReadOnly, "i8", &CaretBlinkTimeGet,    nullptr),
        ComputedProperty<double>( "ScaleFactor",         kComputedReadOnly, "f8", &ScaleFactorGet,       nullptr),
        ComputedProperty<bool>(   "IsDarkMode",          kComputedReadOnly, "b",  &IsDarkModeGet,        nullptr),
        ComputedProperty<bool>(   "Active",              kComputedReadOnly, "b",  &ActiveGet,            nullptr),
        ComputedProperty<String>( "ExecutablePath",      kComputedReadOnly, "s",  &ExecutablePathGet,    nullptr),
        ComputedProperty<String>( "CommandLine",         kComputedReadOnly, "s",  &CommandLineGet,       nullptr),
        ComputedProperty<String>( "ApplicationName",     kComputedWritable, "s",  &ApplicationNameGet,   &ApplicationNameSet),
        ComputedProperty<String>( "OrganizationName",    kComputedWritable, "s",  &OrganizationNameGet,  &OrganizationNameSet),
        ComputedProperty<int64_t>("ExitCode",            kComputedReadOnly, "i8", &ExitCodeGet,          nullptr),
        ComputedProperty<Ref<Object>>("ActiveWindow",    kComputedReadOnly, "o<Window>",  &ActiveWindowGet,      nullptr),
        ComputedProperty<int64_t>("MouseX",              kComputedReadOnly, "i8", &MouseGet<true>,       nullptr),
        ComputedProperty<int64_t>("MouseY",              kComputedReadOnly, "i8", &MouseGet<false>,      nullptr),
    };

    static const InterfaceRow Application_interfaces[] = {
        {&FillNotifyInterface},  // _MacOSDistributedNotifications.iNotify
    };
    // clang-format on

    static const ClassSpec spec{.name = "Application",
                                .superclass = nullptr,
                                .methodCount = 23,
                                .interfaceCount = 1,
                                .eventCount = 11,
                                .propertyCount = 34,
                                .instanceDataSize = kInstanceDataSize,
                                .slotCount = 18,
                                .init = &ApplicationInit,
                                .exit = &ApplicationExit,
                                .methods = Application_methods,
                                .events = Application_events,
                                .properties = Application_properties,
                                .interfaces = Application_interfaces};
    RuntimeBuildClass(gApplicationCell, spec);
}

ClassRecord* Application::dunder_Lookup() {
    return RuntimeLookupClass(gApplicationCell);
}

// ---- Application's methods with names of their own ---------------------------------------

void Application::_x_SetVersionData(Object* self, int64_t major, int64_t minor, int64_t bug,
                                    int64_t nonRelease, int64_t stage, String longVersion,
                                    String shortVersion, String packageInfo) {
    if (RuntimeTraceEnabled()) {
        RuntimeTrace("_x_SetVersionData " + std::to_string(major) + "|" + std::to_string(minor) +
                     "|" + std::to_string(bug) + "|" + std::to_string(nonRelease) + "|" +
                     std::to_string(stage) + "|" + longVersion.Std() + "|" + shortVersion.Std() +
                     "|" + packageInfo.Std());
    }
    RuntimeRequire(self);
    using namespace app_field;
    props::Integer::Set(self, kMajorVersion, major);
    props::Integer::Set(self, kMinorVersion, minor);
    props::Integer::Set(self, kBugVersion, bug);
    props::Integer::Set(self, kNonReleaseVersion, nonRelease);
    props::Integer::Set(self, kStageCode, stage);
    props::String::Set(self, kLongVersion, std::move(longVersion));
    props::String::Set(self, kShortVersion, std::move(shortVersion));
    props::String::Set(self, kPackageInfo, std::move(packageInfo));
}

void Application::under_SetSupportsHiDPI(bool on) {
    ApplicationSetSupportsHiDPI(on);
}

// Qt follows the platform's theme by itself; what is left is to tell the program.
void Application::under_MacOSNotificationReceived(Object* self, String name, void*, void*) {
    RuntimeRequire(self);
    if (name == kThemeChanged || name == kColorPreferencesChanged)
        CallClassEventVoid(self, Application::kAppearanceChanged);
}

// ---- the start-up imports -----------------------------------------------------------------

void ApplicationSetSupportsHiDPI(bool on) {
    Trace(std::string("ApplicationSetSupportsHiDPI ") + (on ? "True" : "False"));
    RegisterToolkitFinalizer();
    TheToolkit().supportsHiDPI = on;
    if (QCoreApplication::instance()) return;  // Qt reads both only when it starts
    // Qt 6 always draws at the screen's resolution; fractional factors are kept as they are.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        on ? Qt::HighDpiScaleFactorRoundingPolicy::PassThrough
           : Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (!on) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void AppMenuBarSetter(Object* app, int32_t /*offset*/, Object* menuBar) {
    Trace(std::string("AppMenuBarSetter ") + (menuBar ? menuBar->cls->name : "nil"));
    under_UITrap();
    RuntimeRequire(app);
    Ref<Object> bar = RuntimeCheckCast(menuBar, MenuBar::dunder_Lookup());
    props::Object::Set(app, app_field::kMenuBar, bar.get());
}

Ref<Object> AppMenuBarGetter(Object* app, int32_t /*offset*/) {
    return props::Object::Get(app, app_field::kMenuBar);
}

void RuntimeRegisterAppObject(Object* app) {
    Trace(std::string("RuntimeRegisterAppObject ") + (app ? app->cls->name : "nil"));
    RuntimeRequire(app);
    RuntimeCheckCast(app, Application::dunder_Lookup());
    TheToolkit().app = Ref<Object>::Retain(app);
    QCoreApplication::setApplicationVersion(
        ToQString(props::String::Get(app, app_field::kShortVersion)));
}

void under_RuntimeRegisterAppObject(Object* app) {
    Application::dunder_Lookup();
    RuntimeRegisterAppObject(app);
}

Ref<Object> RuntimeApplicationObject() {
    return TheToolkit().app;
}

void RuntimeInitExternalClasses() {
    Trace("RuntimeInitExternalClasses");
    RuntimeInitBoxingClasses();
    for (ClassRecord* (*lookup)() :
         {&RuntimeException::dunder_Lookup, &NilObjectException::dunder_Lookup,
          &IllegalCastException::dunder_Lookup, &OutOfBoundsException::dunder_Lookup,
          &StackOverflowException::dunder_Lookup, &TypeMismatchException::dunder_Lookup,
          &UnsupportedFormatException::dunder_Lookup, &FunctionNotFoundException::dunder_Lookup,
          &ThreadAccessingUIException::dunder_Lookup, &EndException::dunder_Lookup,
          &ThreadEndException::dunder_Lookup, &UnsupportedOperationException::dunder_Lookup,
          &MessageDialog::dunder_Lookup, &WeakRef::dunder_Lookup}) {
        lookup();
    }
    RuntimeSetUnhandledExceptionReporter(&ReportUnhandledException);
    RegisterToolkitFinalizer();
}

void under_RuntimeInitExternalClasses() {
    RuntimeInitExternalClasses();
}

void InitPluginEntrypoints() {
    Trace("InitPluginEntrypoints");
}
void ResolvePluginClasses() {
    Trace("ResolvePluginClasses");
}
void under_InitPluginEntrypoints() {
    InitPluginEntrypoints();
    ResolvePluginClasses();
}

void RunFrameworkInitialization(GenericFn lateStartup) {
    Trace("RunFrameworkInitialization");
    under_UITrap();
    if (!lateStartup) RaiseNilObjectException();
    ToolkitEnsureApplication();
    if (Ref<Object> app = RuntimeApplicationObject()) SendClassEvent(app.get(), Application::kOpen);
    RunProgramCode([&] { reinterpret_cast<void (*)()>(lateStartup)(); });
}

void under_RunFrameworkInitialization(GenericFn lateStartup) {
    RunFrameworkInitialization(lateStartup);
}

// ---- the event loop -----------------------------------------------------------------------

void RuntimeRun() {
    Trace("RuntimeRun");
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
    Trace("RuntimeApplicationQuit " + std::to_string(code));
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

bool ToolkitApplicationAutoQuits() {
    ApplicationState* state = StateOf(TheToolkit().app.get());
    return state && state->allowAutoQuit;
}

GenericFn ToolkitApplicationMenuHandler(const String& itemName) {
    ApplicationState* state = StateOf(TheToolkit().app.get());
    if (!state) return nullptr;
    for (const MenuHandler& handler : state->menuHandlers)
        if (ToolkitSameObjectName(itemName.View(), handler.itemName)) return handler.method;
    return nullptr;
}

// ---- the Qt application -------------------------------------------------------------------

bool ToolkitHaveWidgetsApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

void ToolkitEnsureApplication() {
    under_UITrap();
    Toolkit& toolkit = TheToolkit();
    RegisterToolkitFinalizer();
    if (!QCoreApplication::instance()) {
        if (toolkit.supportsHiDPI)
            QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
                Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
        // Qt ends the process when its platform finds no display; the framework raises
        // instead, so that the start-up ends through its report like any other failure.
        std::string why;
        if (!ToolkitDisplayAvailable(&why)) RuntimeRaiseNew(RuntimeException::dunder_Lookup(), why);
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
    toolkit.app.Reset();
    toolkit.quitPending = false;
    toolkit.loopRunning = false;
    toolkit.finalizerRegistered = false;
}
