// Window and application classes for the toolkit's tests, built from class tables as the
// program builds its own: their handlers write what they hear into a log and answer as the
// test asks.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"

namespace recorder {

// How the handlers answer.
struct Answers {
    String record;              // applied by Layout (after the menu bar) unless empty
    Object* menuBar = nullptr;  // set by Layout as the window's menu bar (borrowed)
    bool mouseDown = false;
    bool keyDown = false;
    bool cancelClose = false;
    bool appHandlesException = false;
    ClassRecord* (*raiseInMouseDown)() = nullptr;  // the exception class MouseDown raises
};

inline std::vector<std::string>& Heard() {
    static std::vector<std::string> heard;
    return heard;
}
inline Answers& Answer() {
    static Answers answers;
    return answers;
}
inline void Hear(std::string what) {
    Heard().push_back(std::move(what));
}

// The key text as a test reads it: printable characters as they are, others as chr(n).
inline std::string Readable(const String& key) {
    std::string text;
    for (unsigned char c : key.View())
        text += (c < 32 || c == 127) ? "chr(" + std::to_string(c) + ")" : std::string(1, char(c));
    return text;
}

// ---- the window class "TestWindows.Recorder" --------------------------------------------

// A subclass of Window with its own methods (in the slots after Window's) and handlers.
inline ClassSpec WindowSubclass(const char* name, std::span<const MethodRow> methods = {},
                                std::span<const HandlerRow> handlers = {}) {
    const auto own = static_cast<uint32_t>(methods.size());
    return {.name = name,
            .superclass = &Window::dunder_Lookup,
            .methodCount = Window::kMethodCount + own,
            .interfaceCount = 0,
            .eventCount = Window::kEventCount,
            .propertyCount = Window::kPropertyCount,
            .instanceDataSize = Window::kInstanceDataSize,
            .slotCount = Window::kSlotCount + own,
            .methods = methods,
            .handlers = handlers};
}

inline std::string Point(int64_t x, int64_t y) {
    return " " + std::to_string(x) + " " + std::to_string(y);
}

inline ClassRecord* RecorderClass() {
    // clang-format off
    static const MethodRow methods[] = {
        Method("Layout", kPublicVirtual, "%%", +[](Object* self) {
            Hear("Layout");
            if (Answer().menuBar) WindowMenuBarSetter(self, 0, Answer().menuBar);
            if (!Answer().record.Empty()) under_SetProperties(self, Answer().record);
        }, 37),
        Method("CreateControls", kPublicVirtual, "%%", +[](Object*) { Hear("CreateControls"); }, 38),
        Method("AddMenuHandlers", kPublicVirtual, "%%o<Window>", +[](Object* self, Object* window) {
            Hear(window == self ? "AddMenuHandlers self" : "AddMenuHandlers other");
        }, 39),
        Method("Event_Open", kPublicVirtual, "%%", +[](Object* self) {
            Hear(std::string("Open visible=") + (RuntimeWindowVisible(self) ? "True" : "False"));
        }, 40),
        Method("Event_Activate", kPublicVirtual, "%%", +[](Object*) { Hear("Activate"); }, 41),
        Method("Event_Deactivate", kPublicVirtual, "%%", +[](Object*) { Hear("Deactivate"); }, 42),
        Method("Event_EnableMenuItems", kPublicVirtual, "%%", +[](Object*) { Hear("EnableMenuItems"); }, 43),
        Method("Event_MouseDown", kPublicVirtual, "%b%i8i8", +[](Object*, int64_t x, int64_t y) {
            Hear("MouseDown" + Point(x, y));
            if (Answer().raiseInMouseDown) RuntimeRaiseNew(Answer().raiseInMouseDown(), "raised in MouseDown");
            return Answer().mouseDown;
        }, 44),
        Method("Event_MouseUp", kPublicVirtual, "%%i8i8", +[](Object*, int64_t x, int64_t y) { Hear("MouseUp" + Point(x, y)); }, 45),
        Method("Event_KeyDown", kPublicVirtual, "%b%s", +[](Object*, String key) {
            Hear("KeyDown " + Readable(key));
            return Answer().keyDown;
        }, 46),
        Method("Event_CancelClose", kPublicVirtual, "%b%b", +[](Object*, bool appQuitting) {
            Hear(std::string("CancelClose ") + (appQuitting ? "True" : "False"));
            return Answer().cancelClose;
        }, 47),
        Method("Event_Close", kPublicVirtual, "%%", +[](Object*) { Hear("Close"); }, 48),
    };
    static const HandlerRow handlers[] = {
        {Window::kLayout, 37},          {Window::kCreateControls, 38}, {Window::kAddMenuHandlers, 39},
        {Window::kOpen, 40},            {Window::kActivate, 41},       {Window::kDeactivate, 42},
        {Window::kEnableMenuItems, 43}, {Window::kMouseDown, 44},      {Window::kMouseUp, 45},
        {Window::kKeyDown, 46},         {Window::kCancelClose, 47},    {Window::kClose, 48},
    };
    // clang-format on
    static ClassCell cell{};
    return RuntimeBuildClass(cell, WindowSubclass("TestWindows.Recorder", methods, handlers));
}

// A window class that handles nothing.
inline ClassRecord* PlainClass() {
    static ClassCell cell{};
    return RuntimeBuildClass(cell, WindowSubclass("TestWindows.Plain"));
}

// A new window of `cls`, built as an implicit-instance accessor builds one.
inline Ref<Object> OpenWindow(ClassRecord* cls) {
    Ref<Object> window = RuntimeNewObject(cls);
    RuntimeCallSlot<void>(window.get(), Window::kConstructorSlot);
    return window;
}

inline QWidget* ContentOf(Object* window) {
    return ToolkitWindowWidget(window);
}
inline QWidget* TopLevelOf(Object* window) {
    return ToolkitWindowWidget(window)->window();
}

// ---- the application class "TestApp" -----------------------------------------------------

inline ClassRecord* TestAppClass() {
    // clang-format off
    static const MethodRow methods[] = {
        Method("Event_UnhandledException", kPublicVirtual, "%b%o<RuntimeException>", +[](Object*, Object* error) {
            Hear(std::string("UnhandledException ") + error->cls->name);
            return Answer().appHandlesException;
        }, 18),
        Method("Event_AppearanceChanged", kPublicVirtual, "%%", +[](Object*) { Hear("AppearanceChanged"); }, 19),
        Method("Event_CancelClose", kPublicVirtual, "%b%", +[](Object*) {
            Hear("App CancelClose");
            return false;
        }, 20),
    };
    static const HandlerRow handlers[] = {
        {Application::kUnhandledException, 18},
        {Application::kAppearanceChanged, 19},
        {Application::kCancelClose, 20},
    };
    // clang-format on
    static ClassCell cell{};
    return RuntimeBuildClass(cell, {.name = "TestApp",
                                    .superclass = &Application::dunder_Lookup,
                                    .methodCount = 23 + 3,
                                    .interfaceCount = 0,
                                    .eventCount = 11,
                                    .propertyCount = 34,
                                    .instanceDataSize = 96,
                                    .slotCount = 18 + 3,
                                    .methods = methods,
                                    .handlers = handlers});
}

// Registers a new TestApp as the application object; the framework keeps it.
inline void RegisterTestApp() {
    Ref<Object> app = RuntimeNewObject(TestAppClass());
    RuntimeRegisterAppObject(app.get());
}

// Runs Qt's deferred deletions: closed windows go with them.
inline void RunDeferredDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace recorder
