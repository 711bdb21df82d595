// Application's properties: the version data, the menu bar, AllowAutoQuit, and what the
// application knows of itself and the platform.
#include <QApplication>
#include <QCursor>
#include <QPalette>
#include <QScreen>
#include <string>
#include <vector>

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_impl.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window_impl.h"

namespace {

// The version data: plain fields, read from any thread like their hidden stored twins.
template <int32_t Offset>
int64_t VersionNumber(Object* app, int32_t) {
    return props::Integer::Get(app, Offset);
}
template <int32_t Offset>
String VersionText(Object* app, int32_t) {
    return props::String::Get(app, Offset);
}

bool AllowAutoQuitGet(Object* app, int32_t) {
    return AppState(app).allowAutoQuit;
}
void AllowAutoQuitSet(Object* app, int32_t, bool on) {
    AppState(app).allowAutoQuit = on;
}

// What Qt or the runtime keeps for the application: read and written through the object, so
// that the thread is checked as for every other operation on it.
template <auto Read>
auto Platform(Object* app, int32_t) {
    AppState(app);
    return Read();
}
template <void (*Write)(String)>
void PlatformText(Object* app, int32_t, String text) {
    AppState(app);
    Write(std::move(text));
}

// The process arguments as the runtime kept them (the Qt application may have taken its own
// options out of them).
std::vector<std::string> ProcessArguments() {
    char** vector = RuntimeArgumentVector();
    return std::vector<std::string>(vector, vector + RuntimeArgumentCount());
}

bool SupportsHiDPI() {
    return ToolkitSupportsHiDPI();
}
int64_t DoubleClickTime() {
    return ToolkitHaveWidgetsApplication() ? QApplication::doubleClickInterval() : 0;
}
int64_t CaretBlinkTime() {
    return ToolkitHaveWidgetsApplication() ? QApplication::cursorFlashTime() : 0;
}
double ScaleFactor() {
    QScreen* screen = ToolkitHaveWidgetsApplication() ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->devicePixelRatio() : 1.0;
}
// Dark when the palette's text is lighter than its window background.
bool IsDarkMode() {
    if (!ToolkitHaveWidgetsApplication()) return false;
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::WindowText).lightness() >
           palette.color(QPalette::Window).lightness();
}
bool Active() {
    return ToolkitHaveWidgetsApplication() &&
           QGuiApplication::applicationState() == Qt::ApplicationActive;
}
String ExecutablePath() {
    if (ToolkitHaveWidgetsApplication())
        return FromQString(QCoreApplication::applicationFilePath());
    const std::vector<std::string> arguments = ProcessArguments();
    return String(arguments.empty() ? std::string() : arguments.front());
}
String CommandLine() {
    std::string line;
    for (const std::string& argument : ProcessArguments())
        line += (line.empty() ? "" : " ") + argument;
    return String(line);
}
String ApplicationName() {
    return FromQString(QCoreApplication::applicationName());
}
void SetApplicationName(String name) {
    QCoreApplication::setApplicationName(ToQString(name));
}
String OrganizationName() {
    return FromQString(QCoreApplication::organizationName());
}
void SetOrganizationName(String name) {
    QCoreApplication::setOrganizationName(ToQString(name));
}
int64_t ExitCode() {
    return RuntimeExit();
}
Ref<Object> ActiveWindow() {
    if (!ToolkitHaveWidgetsApplication()) return nullptr;
    return Ref<Object>::Retain(ToolkitWindowOfWidget(QApplication::activeWindow()));
}
template <bool Horizontal>
int64_t Mouse() {
    if (!ToolkitHaveWidgetsApplication()) return 0;
    const QPoint at = QCursor::pos();
    return Horizontal ? at.x() : at.y();
}

}  // namespace

void AppMenuBarSetter(Object* app, int32_t /*offset*/, Object* menuBar) {
    RuntimeTrace(std::string("AppMenuBarSetter ") + (menuBar ? menuBar->cls->name : "nil"));
    AppState(app);
    Ref<Object> bar = RuntimeCheckCast(menuBar, MenuBar::dunder_Lookup());
    props::Object::Set(app, app_field::kMenuBar, bar.get());
    ApplyAllWindowMenuBars();  // the windows without a bar of their own hold this one
}

Ref<Object> AppMenuBarGetter(Object* app, int32_t /*offset*/) {
    AppState(app);
    return props::Object::Get(app, app_field::kMenuBar);
}

std::span<const PropertyRow> ApplicationPropertyRows() {
    using namespace app_field;
    // clang-format off
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
        ComputedProperty<Ref<Object>>("MenuBar",         kComputedWritable, "o<MenuBar>", &AppMenuBarGetter,                 &AppMenuBarSetter),
        ComputedProperty<bool>(   "AllowAutoQuit",       kComputedWritable, "b",  &AllowAutoQuitGet,                          &AllowAutoQuitSet),
        ComputedProperty<bool>(   "SupportsHiDPI",       kComputedReadOnly, "b",  &Platform<&SupportsHiDPI>,                  nullptr),
        ComputedProperty<int64_t>("DoubleClickTime",     kComputedReadOnly, "i8", &Platform<&DoubleClickTime>,                nullptr),
        ComputedProperty<int64_t>("CaretBlinkTime",      kComputedReadOnly, "i8", &Platform<&CaretBlinkTime>,                 nullptr),
        ComputedProperty<double>( "ScaleFactor",         kComputedReadOnly, "f8", &Platform<&ScaleFactor>,                    nullptr),
        ComputedProperty<bool>(   "IsDarkMode",          kComputedReadOnly, "b",  &Platform<&IsDarkMode>,                     nullptr),
        ComputedProperty<bool>(   "Active",              kComputedReadOnly, "b",  &Platform<&Active>,                         nullptr),
        ComputedProperty<String>( "ExecutablePath",      kComputedReadOnly, "s",  &Platform<&ExecutablePath>,                 nullptr),
        ComputedProperty<String>( "CommandLine",         kComputedReadOnly, "s",  &Platform<&CommandLine>,                    nullptr),
        ComputedProperty<String>( "ApplicationName",     kComputedWritable, "s",  &Platform<&ApplicationName>,                &PlatformText<&SetApplicationName>),
        ComputedProperty<String>( "OrganizationName",    kComputedWritable, "s",  &Platform<&OrganizationName>,               &PlatformText<&SetOrganizationName>),
        ComputedProperty<int64_t>("ExitCode",            kComputedReadOnly, "i8", &Platform<&ExitCode>,                       nullptr),
        ComputedProperty<Ref<Object>>("ActiveWindow",    kComputedReadOnly, "o<Window>", &Platform<&ActiveWindow>,            nullptr),
        ComputedProperty<int64_t>("MouseX",              kComputedReadOnly, "i8", &Platform<&Mouse<true>>,                    nullptr),
        ComputedProperty<int64_t>("MouseY",              kComputedReadOnly, "i8", &Platform<&Mouse<false>>,                   nullptr),
    };
    // clang-format on
    return Application_properties;
}
