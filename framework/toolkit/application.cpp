// Application: its class record, its methods, and the one accessor through which they reach
// an application object's state. Its properties are in application_properties.cpp, the
// start-up services in startup_imports.cpp, the Qt application and the event loop in
// qt_application.cpp, the report of an unhandled exception in unhandled_exception_report.cpp.
#include "framework/toolkit/application.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QToolTip>
#include <limits>
#include <string>

#include "framework/toolkit/application_impl.h"
#include "framework/toolkit/application_internal.h"
#include "framework/toolkit/class_event.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window.h"
#include "framework/toolkit/window_impl.h"

namespace {

ClassCell gApplicationCell{nullptr, &Application::dunder_ctblinit};  // Application.__ctbl
ClassCell gNotifyCell{nullptr, &under_MacOSDistributedNotifications::iNotify::dunder_ctblinit};

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
void DoEvents(Object* app, int64_t milliseconds) {
    AppState(app);
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

void DoSingleEvent(Object* app, bool wait) {
    AppState(app);
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
}

void HideTooltip(Object* app) {
    AppState(app);
    QToolTip::hideText();
}

void ShowTooltip(Object* app, String text, int64_t x, int64_t y, bool autoHide) {
    AppState(app);
    ToolkitEnsureApplication();
    const int shownFor = autoHide ? -1 : std::numeric_limits<int>::max();
    QToolTip::showText(QPoint(int(x), int(y)), ToQString(text), nullptr, QRect(), shownFor);
}

void NewDocument(Object* app) {
    AppState(app);
    CallClassEventVoid(app, Application::kNewDocument);
}

// Shows each open window's menu bar afresh, after the program changed its items.
void RefreshMenuBar(Object* app) {
    AppState(app);
    ApplyAllWindowMenuBars();
}

// The thread operations serve any thread, so they do without the application's state.
void SleepCurrentThread(Object*, int64_t milliseconds) {
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void YieldToNextThread(Object*) {
    QThread::yieldCurrentThread();
}

Ref<Object> WindowAt(Object* app, int64_t index) {
    AppState(app);
    return RuntimeWindowAt(index);
}
int64_t WindowCount(Object* app) {
    AppState(app);
    return RuntimeWindowCount();
}

// An application-level menu handler: `method` is bool (*)(Object* app).
void AddMenuHandler(Object* app, String itemName, void* method) {
    AppState(app).menuHandlers.Bind(itemName, method);
}

// The records of the classes the application's operations create objects of.
void DependencyList(Object* app) {
    AppState(app);
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

void FillNotifyInterface(InterfaceEntry* entry) {
    static const GenericFn functions[] = {
        AsGenericFn(&Application::under_MacOSNotificationReceived)};
    RuntimeFillInterfaceEntry(entry, under_MacOSDistributedNotifications::iNotify::dunder_Lookup(),
                              functions);
}

}  // namespace

ApplicationState& AppState(Object* app) {
    under_UITrap();
    RuntimeRequire(app);
    if (!RuntimeObjectIsa(app, Application::dunder_Lookup()))
        RuntimeRaiseNew(IllegalCastException::dunder_Lookup(),
                        std::string("an object of class ") + app->cls->name + " is no application");
    ApplicationState* state = app->Field<ApplicationState*>(app_field::kState);
    if (!state) RaiseNilObjectException();
    return *state;
}

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

void Application::dunder_ctblinit() {
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
                                .instanceDataSize = app_field::kInstanceDataSize,
                                .slotCount = 18,
                                .init = &ApplicationInit,
                                .exit = &ApplicationExit,
                                .methods = Application_methods,
                                .events = Application_events,
                                .properties = ApplicationPropertyRows(),
                                .interfaces = Application_interfaces};
    RuntimeBuildClass(gApplicationCell, spec);
}

ClassRecord* Application::dunder_Lookup() {
    return RuntimeLookupClass(gApplicationCell);
}

// ---- Application's methods with names of their own ---------------------------------------

// The version data are plain fields: they are given before the application is registered,
// from whichever thread starts the program.
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
    AppState(self);
    if (name == kThemeChanged || name == kColorPreferencesChanged)
        CallClassEventVoid(self, Application::kAppearanceChanged);
}

// ---- what the toolkit's other parts ask of the application object -------------------------

bool ToolkitApplicationAutoQuits() {
    Ref<Object> app = RuntimeApplicationObject();
    return app && AppState(app.get()).allowAutoQuit;
}

GenericFn ToolkitApplicationMenuHandler(const String& itemName) {
    Ref<Object> app = RuntimeApplicationObject();
    return app ? AppState(app.get()).menuHandlers.Find(itemName) : nullptr;
}
