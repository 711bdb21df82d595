// Window's property entries: the design keys every window record may hold, and the rest of
// what a program can read or set on a window. Values Qt keeps are computed from the widget;
// the frame and size live in the window's state and are pushed to the widget when set;
// values with no counterpart in Qt are stored in the window's fields.
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/window.h"
#include "framework/toolkit/window_impl.h"
#include "framework/toolkit/window_widget.h"

namespace {

// A value of the window's state; setting it brings the widget in line through `Apply`.
template <class T, T WindowImpl::*Member, void (*Apply)(WindowImpl&)>
struct StateValue {
    using Type = T;
    static T Get(Object* window, int32_t) { return RequireWindowImpl(window).*Member; }
    static void Set(Object* window, int32_t, T value) {
        WindowImpl& impl = RequireWindowImpl(window);
        impl.*Member = value;
        Apply(impl);
    }
};

template <int64_t WindowImpl::*Member>
using SizeValue = StateValue<int64_t, Member, &ApplyWindowGeometry>;
template <bool WindowImpl::*Member>
using FrameFlag = StateValue<bool, Member, &ApplyWindowFlags>;

using Width = SizeValue<&WindowImpl::width>;
using Height = SizeValue<&WindowImpl::height>;
using MinimumWidth = SizeValue<&WindowImpl::minimumWidth>;
using MinimumHeight = SizeValue<&WindowImpl::minimumHeight>;
using MaximumWidth = SizeValue<&WindowImpl::maximumWidth>;
using MaximumHeight = SizeValue<&WindowImpl::maximumHeight>;
using Resizeable = StateValue<bool, &WindowImpl::resizeable, &ApplyWindowGeometry>;
using WindowTypeValue = StateValue<int64_t, &WindowImpl::type, &ApplyWindowFlags>;
using HasCloseButton = FrameFlag<&WindowImpl::hasCloseButton>;
using HasMaximizeButton = FrameFlag<&WindowImpl::hasMaximizeButton>;
using HasMinimizeButton = FrameFlag<&WindowImpl::hasMinimizeButton>;
using HasFullScreenButton = FrameFlag<&WindowImpl::hasFullScreenButton>;
using AlwaysOnTop = FrameFlag<&WindowImpl::alwaysOnTop>;
using HasShadow = FrameFlag<&WindowImpl::hasShadow>;
using HasBackgroundColor =
    StateValue<bool, &WindowImpl::hasBackgroundColor, &ApplyWindowBackground>;
using BackgroundColor = StateValue<Color, &WindowImpl::backgroundColor, &ApplyWindowBackground>;
using MenuBarVisible = StateValue<bool, &WindowImpl::menuBarVisible, &ApplyWindowMenuBar>;

struct Title {
    using Type = String;
    static String Get(Object* window, int32_t) {
        return FromQString(WidgetOf(window).windowTitle());
    }
    static void Set(Object* window, int32_t, String title) {
        WidgetOf(window).setWindowTitle(ToQString(title));
    }
};

// Before the window is built, Visible only says whether its construction ends by showing it.
struct Visible {
    using Type = bool;
    static bool Get(Object* window, int32_t) {
        WindowImpl& impl = RequireWindowImpl(window);
        if (impl.closed) return false;
        return impl.constructed ? RuntimeWindowVisible(window) : impl.visible;
    }
    static void Set(Object* window, int32_t, bool visible) {
        ShowOrHideWindow(window, visible, false);
    }
};

struct FullScreen {
    using Type = bool;
    static bool Get(Object* window, int32_t) {
        WindowImpl& impl = RequireWindowImpl(window);
        return RuntimeWindowVisible(window) ? impl.widget->isFullScreen() : impl.fullScreen;
    }
    static void Set(Object* window, int32_t, bool on) {
        WindowImpl& impl = RequireWindowImpl(window);
        impl.fullScreen = on;
        if (!RuntimeWindowVisible(window)) return;  // applied when the window is shown
        if (on) {
            impl.widget->showFullScreen();
        } else {
            impl.widget->showNormal();
        }
    }
};

// Left and Top: where the window's client area stands on the screen.
template <bool Horizontal>
struct Position {
    using Type = int64_t;
    static int64_t Get(Object* window, int32_t) {
        const QRect geometry = WidgetOf(window).geometry();
        return Horizontal ? geometry.x() : geometry.y();
    }
    static void Set(Object* window, int32_t, int64_t value) {
        WindowWidget& widget = WidgetOf(window);
        const QRect geometry = widget.geometry();
        const int at = ToQtCoordinate(value);
        // A new rectangle at the position: QRect::moveLeft subtracts the old edge from the new
        // one, which overflows between two far-off positions on opposite sides.
        const QPoint topLeft =
            Horizontal ? QPoint(at, geometry.top()) : QPoint(geometry.left(), at);
        widget.setGeometry(QRect(topLeft, geometry.size()));
        RequireWindowImpl(window).placed = true;
    }
};

struct MenuBarProperty {
    using Type = Ref<Object>;
    static constexpr auto Get = &WindowMenuBarGetter;
    static constexpr auto Set = &WindowMenuBarSetter;
};

struct Handle {
    using Type = int64_t;
    static int64_t Get(Object* window, int32_t) {
        return static_cast<int64_t>(WidgetOf(window).winId());
    }
};

// Changed: the window holds unsaved changes (Qt's modified mark); ContentsChanged follows.
struct Changed {
    using Type = bool;
    static bool Get(Object* window, int32_t) { return WidgetOf(window).isWindowModified(); }
    static void Set(Object* window, int32_t, bool changed) {
        WidgetOf(window).setWindowModified(changed);
    }
};

struct Enabled {
    using Type = bool;
    static bool Get(Object* window, int32_t) { return WidgetOf(window).isEnabled(); }
    static void Set(Object* window, int32_t, bool enabled) { WidgetOf(window).setEnabled(enabled); }
};

struct Opacity {
    using Type = double;
    static double Get(Object* window, int32_t) { return WidgetOf(window).windowOpacity(); }
    static void Set(Object* window, int32_t, double opacity) {
        WidgetOf(window).setWindowOpacity(opacity);
    }
};

// Read-only states of the shown window.
template <bool (QWidget::*Test)() const>
struct WidgetState {
    using Type = bool;
    static bool Get(Object* window, int32_t) {
        return RuntimeWindowVisible(window) && (WidgetOf(window).*Test)();
    }
};
using Active = WidgetState<&QWidget::isActiveWindow>;
using Maximized = WidgetState<&QWidget::isMaximized>;
using Minimized = WidgetState<&QWidget::isMinimized>;
using Modal = WidgetState<&QWidget::isModal>;

// The mouse pointer in the window's content coordinates.
template <bool Horizontal>
struct MousePosition {
    using Type = int64_t;
    static int64_t Get(Object* window, int32_t) {
        const QPoint at = WidgetOf(window).Content()->mapFromGlobal(QCursor::pos());
        return Horizontal ? at.x() : at.y();
    }
};

struct ScaleFactor {
    using Type = double;
    static double Get(Object* window, int32_t) { return WidgetOf(window).devicePixelRatioF(); }
};

struct ControlCount {
    using Type = int64_t;
    static int64_t Get(Object* window, int32_t) {
        return static_cast<int64_t>(RequireWindowImpl(window).controls.size());
    }
};

struct MenuBarHeight {
    using Type = int64_t;
    static int64_t Get(Object* window, int32_t) {
        WindowWidget& widget = WidgetOf(window);
        return widget.MenuBarHeight(widget.width());
    }
};

// The index of the screen the window is on, in the platform's order; -1 for none.
struct ScreenIndex {
    using Type = int64_t;
    static int64_t Get(Object* window, int32_t) {
        QScreen* screen = WidgetOf(window).screen();
        return screen ? QGuiApplication::screens().indexOf(screen) : -1;
    }
};

struct HelpTag {
    using Type = String;
    static String Get(Object* window, int32_t) {
        return FromQString(WidgetOf(window).Content()->toolTip());
    }
    static void Set(Object* window, int32_t, String text) {
        WidgetOf(window).Content()->setToolTip(ToQString(text));
    }
};

// A value held in one of the window's own fields, reached through the window's state like
// every other property, so that the same checks hold for it.
template <class T>
struct FieldValue {
    using Family = typename props::For<T>::Type;
    static T Get(Object* window, int32_t offset) {
        RequireWindowImpl(window);
        return Family::Get(window, offset);
    }
    static void Set(Object* window, int32_t offset, T value) {
        RequireWindowImpl(window);
        Family::Set(window, offset, std::move(value));
    }
};

// An entry that only holds its place, so that the table keeps the size the class declares.
int64_t Reserved(Object*, int32_t) {
    RaiseRefused("a reserved entry of Window's property table holds no value");
}

template <class A>
PropertyRow Writable(const char* name, const char* type) {
    return ComputedProperty<typename A::Type>(name, kComputedWritable, type, A::Get, A::Set);
}
template <class A>
PropertyRow ReadOnly(const char* name, const char* type) {
    return ComputedProperty<typename A::Type>(name, kComputedReadOnly, type, A::Get, nullptr);
}
template <class T>
PropertyRow Stored(const char* name, const char* type, int32_t offset) {
    using F = FieldValue<T>;
    return StoredProperty<T>(name, kStoredWritable, type, offset, &F::Get, &F::Set);
}
PropertyRow ReservedEntry(const char* name) {
    return ComputedProperty<int64_t>(name, kReservedEntry, "i8", &Reserved, nullptr);
}

}  // namespace

std::span<const PropertyRow> WindowPropertyRows() {
    using namespace window_field;
    // clang-format off
    static const PropertyRow Window_properties[] = {
        // The design keys of a window record, in record order.
        Writable<Width>                  ("Width",               "i8"),
        Writable<Height>                 ("Height",              "i8"),
        Writable<MinimumWidth>           ("MinimumWidth",        "i8"),
        Writable<MinimumHeight>          ("MinimumHeight",       "i8"),
        Writable<MaximumWidth>           ("MaximumWidth",        "i8"),
        Writable<MaximumHeight>          ("MaximumHeight",       "i8"),
        Writable<WindowTypeValue>        ("Type",                "i8<Window.Types>"),
        Writable<Title>                  ("Title",               "s"),
        Writable<HasCloseButton>         ("HasCloseButton",      "b"),
        Writable<HasMaximizeButton>      ("HasMaximizeButton",   "b"),
        Writable<HasMinimizeButton>      ("HasMinimizeButton",   "b"),
        Writable<HasFullScreenButton>    ("HasFullScreenButton", "b"),
        Writable<Resizeable>             ("Resizeable",          "b"),
        Stored<bool>                     ("Composite",           "b",  kComposite),
        Stored<int64_t>                  ("MacProcId",           "i8", kMacProcId),
        Writable<FullScreen>             ("FullScreen",          "b"),
        Stored<int64_t>                  ("DefaultLocation",     "i8<Window.Locations>", kDefaultLocation),
        Writable<Visible>                ("Visible",             "b"),
        Writable<HasBackgroundColor>     ("HasBackgroundColor",  "b"),
        Writable<BackgroundColor>        ("BackgroundColor",     "c"),
        Writable<MenuBarVisible>         ("MenuBarVisible",      "b"),
        Stored<bool>                     ("LiveResize",          "b",  kLiveResize),
        // Position, menu bar and the window's state on screen.
        Writable<Position<true>>         ("Left",                "i8"),
        Writable<Position<false>>        ("Top",                 "i8"),
        Writable<MenuBarProperty>        ("MenuBar",             "o<MenuBar>"),
        ReadOnly<Handle>                 ("Handle",              "i8"),
        Writable<Changed>                ("Changed",             "b"),
        Writable<Enabled>                ("Enabled",             "b"),
        ReadOnly<Active>                 ("Active",              "b"),
        ReadOnly<Maximized>              ("Maximized",           "b"),
        ReadOnly<Minimized>              ("Minimized",           "b"),
        Writable<Opacity>                ("Opacity",             "f8"),
        ReadOnly<Modal>                  ("Modal",               "b"),
        Writable<AlwaysOnTop>            ("AlwaysOnTop",         "b"),
        Writable<HasShadow>              ("HasShadow",           "b"),
        ReadOnly<MousePosition<true>>    ("MouseX",              "i8"),
        ReadOnly<MousePosition<false>>   ("MouseY",              "i8"),
        ReadOnly<ScaleFactor>            ("ScaleFactor",         "f8"),
        ReadOnly<ControlCount>           ("ControlCount",        "i8"),
        ReadOnly<MenuBarHeight>          ("MenuBarHeight",       "i8"),
        ReadOnly<ScreenIndex>            ("Screen",              "i8"),
        Writable<HelpTag>                ("HelpTag",             "s"),
        // Design values without a counterpart in Qt, kept as they are set.
        Stored<bool>                     ("ImplicitInstance",    "b",  kImplicitInstance),
        Stored<bool>                     ("SystemUIVisible",     "b",  kSystemUIVisible),
        Stored<bool>                     ("Metal",               "b",  kMetal),
        Stored<bool>                     ("EraseBackground",     "b",  kEraseBackground),
        Stored<String>                   ("Name",                "s",  kName),
        // Reserved entries: the class declares 60, and these hold the places no property
        // fills. Each is hidden, has no value and cannot be set.
        ReservedEntry("_Reserved1"),  ReservedEntry("_Reserved2"),  ReservedEntry("_Reserved3"),
        ReservedEntry("_Reserved4"),  ReservedEntry("_Reserved5"),  ReservedEntry("_Reserved6"),
        ReservedEntry("_Reserved7"),  ReservedEntry("_Reserved8"),  ReservedEntry("_Reserved9"),
        ReservedEntry("_Reserved10"), ReservedEntry("_Reserved11"), ReservedEntry("_Reserved12"),
        ReservedEntry("_Reserved13"),
    };
    // clang-format on
    static_assert(std::size(Window_properties) == Window::kPropertyCount);
    return Window_properties;
}
