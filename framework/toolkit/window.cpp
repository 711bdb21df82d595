// Window: the class record, the registry of open windows, construction, showing, hiding and
// closing, controls and menu handlers by name. The widget is in window_widget.cpp, the
// property accessors in window_properties.cpp.
#include "framework/toolkit/window.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <string>

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_internal.h"
#include "framework/toolkit/class_event.h"
#include "framework/toolkit/controls.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/picture.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window_impl.h"
#include "framework/toolkit/window_widget.h"

namespace {

ClassCell gWindowCell{nullptr, &Window::dunder_ctblinit};  // Window.__ctbl

// ---- the registry of open windows -------------------------------------------------------

// The open windows, frontmost first; the framework's strong references. Every operation on
// the registry (finding a window by class name among them) passes here, on the main thread.
std::vector<Ref<Object>>& OpenWindows() {
    under_UITrap();
    static auto* windows = new std::vector<Ref<Object>>();
    return *windows;
}

std::vector<Ref<Object>>::iterator FindOpen(Object* window) {
    auto& windows = OpenWindows();
    return std::find_if(windows.begin(), windows.end(),
                        [&](const Ref<Object>& open) { return open.get() == window; });
}

void Register(Object* window) {
    if (FindOpen(window) == OpenWindows().end())
        OpenWindows().insert(OpenWindows().begin(), Ref<Object>::Retain(window));
}

// Takes the framework's reference out of the registry; nil when the window was not in it.
Ref<Object> Unregister(Object* window) {
    auto found = FindOpen(window);
    if (found == OpenWindows().end()) return nullptr;
    Ref<Object> taken = std::move(*found);
    OpenWindows().erase(found);
    return taken;
}

}  // namespace

// A hidden window goes behind every shown one.
void WindowRegistryMoveBehindShown(Object* window) {
    Ref<Object> taken = Unregister(window);
    if (!taken) return;
    auto& windows = OpenWindows();
    auto position = std::find_if(windows.begin(), windows.end(), [](const Ref<Object>& open) {
        return !RuntimeWindowVisible(open.get());
    });
    windows.insert(position, std::move(taken));
}

namespace {

bool AnyWindowVisible() {
    return std::any_of(OpenWindows().begin(), OpenWindows().end(),
                       [](const Ref<Object>& open) { return RuntimeWindowVisible(open.get()); });
}

void TraceWindowCall(const char* operation, Object* window) {
    if (RuntimeTraceEnabled()) RuntimeTrace(std::string(operation) + " " + window->cls->name);
}

// ---- placement --------------------------------------------------------------------------

void CenterOn(QWidget& widget, const QRect& area) {
    QRect geometry = widget.geometry();
    geometry.moveCenter(area.center());
    widget.setGeometry(geometry);
}

// The frontmost shown window other than `window`, or nil.
QWidget* FrontmostOtherWidget(Object* window) {
    for (const Ref<Object>& open : OpenWindows()) {
        if (open.get() == window || !RuntimeWindowVisible(open.get())) continue;
        return WindowImplOf(open.get())->widget;
    }
    return nullptr;
}

// Places a window on its first show, as its DefaultLocation asks.
void PlaceWindow(WindowImpl& impl) {
    QWidget& widget = *impl.widget;
    QScreen* mainScreen = QGuiApplication::primaryScreen();
    if (!mainScreen) return;
    QWidget* parent = FrontmostOtherWidget(impl.self);
    const int64_t location = impl.self->Field<int64_t>(window_field::kDefaultLocation);
    switch (location) {
        case kSystemDefaultLocation:
            break;
        case kCenterOnParentWindow:
            CenterOn(widget, parent ? parent->frameGeometry() : mainScreen->availableGeometry());
            break;
        case kCenterOnParentScreen: {
            QScreen* screen = parent && parent->screen() ? parent->screen() : mainScreen;
            CenterOn(widget, screen->availableGeometry());
            break;
        }
        case kStaggered:
            if (parent) {
                constexpr int kStagger = 22;
                widget.move(parent->pos() + QPoint(kStagger, kStagger));
            } else {
                CenterOn(widget, mainScreen->availableGeometry());
            }
            break;
        case kCenterOnMainScreen:
        default:
            CenterOn(widget, mainScreen->availableGeometry());
            break;
    }
}

// ---- construction and closing -----------------------------------------------------------

// The window leaves the registry and the screen; its widget, which keeps the window object
// and its controls until then, goes with the next deferred deletion.
void FinishClose(WindowImpl& impl) {
    impl.closing = false;
    impl.closed = true;
    impl.mouseDownTaken = false;
    Ref<Object> window = Unregister(impl.self);
    if (!window) window = Ref<Object>::Retain(impl.self);
    if (WindowWidget* widget = impl.widget) {
        widget->hide();
        widget->HoldUntilDestroyed(std::move(window));
        widget->deleteLater();
    } else {
        impl.controls.clear();
    }
}

// ---- the methods of the record ----------------------------------------------------------

[[noreturn]] void NoDragItems(const char* operation) {
    // Dropped data reaches a program as DragItem objects, a class this framework lacks.
    RaiseUnsupported(operation);
}
void AcceptFileDrop(Object*, String) {
    NoDragItems("Window.AcceptFileDrop");
}
void AcceptMacDataDrop(Object*, String) {
    NoDragItems("Window.AcceptMacDataDrop");
}
void AcceptPictureDrop(Object*) {
    NoDragItems("Window.AcceptPictureDrop");
}
void AcceptRawDataDrop(Object*, String) {
    NoDragItems("Window.AcceptRawDataDrop");
}
void AcceptTextDrop(Object*) {
    NoDragItems("Window.AcceptTextDrop");
}

// A cached bitmap is a Picture of a given size, which no operation of Picture makes.
Ref<Object> BitmapForCaching(Object*, int64_t, int64_t) {
    RaiseUnsupported("Window.BitmapForCaching");
}

// The control added `index`-th (from 0), or nil.
Ref<Object> ControlAt(Object* window, int64_t index) {
    WindowImpl& impl = RequireWindowImpl(window);
    if (index < 0 || index >= static_cast<int64_t>(impl.controls.size())) return nullptr;
    return impl.controls[static_cast<size_t>(index)].control;
}

// An iterator needs the Iterable interface, which this framework lacks.
Ref<Object> Controls(Object*) {
    RaiseUnsupported("Window.Controls");
}
// Drawing into a Graphics needs the Graphics class, which this framework lacks.
void DrawInto(Object*, Object*, int64_t, int64_t, bool) {
    RaiseUnsupported("Window.DrawInto");
}

void MoveFocus(Object* window, bool next) {
    WidgetOf(window).MoveFocus(next);
}
void FocusNext(Object* window) {
    MoveFocus(window, true);
}
void FocusPrevious(Object* window) {
    MoveFocus(window, false);
}

// Invalidate marks for repainting later; Refresh and UpdateNow repaint at once. Qt always
// erases the background first, so the erase flag changes nothing.
void Invalidate(Object* window, bool /*eraseBackground*/) {
    WidgetOf(window).Content()->update();
}
void InvalidateRect(Object* window, int64_t left, int64_t top, int64_t width, int64_t height,
                    bool /*eraseBackground*/) {
    WidgetOf(window).Content()->update(ToQRect(left, top, width, height));
}
void Refresh(Object* window, bool /*eraseBackground*/) {
    WidgetOf(window).Content()->repaint();
}
void RefreshRect(Object* window, int64_t left, int64_t top, int64_t width, int64_t height,
                 bool /*eraseBackground*/) {
    WidgetOf(window).Content()->repaint(ToQRect(left, top, width, height));
}
void UpdateNow(Object* window) {
    Refresh(window, false);
}

void Maximize(Object* window) {
    WidgetOf(window).showMaximized();
}
void Minimize(Object* window) {
    WidgetOf(window).showMinimized();
}
void Restore(Object* window) {
    WidgetOf(window).showNormal();
}

// The platform's handle of the window.
void* OperatorConvert(Object* window) {
    return reinterpret_cast<void*>(WidgetOf(window).winId());
}

void SetFocus(Object* window) {
    WindowWidget& widget = WidgetOf(window);
    widget.activateWindow();
    widget.Content()->setFocus(Qt::OtherFocusReason);
}

// Shows the window application-modal and returns once it is hidden or closed.
void ShowModal(Object* window) {
    WindowImpl& impl = RequireWindowImpl(window);
    if (impl.closed) return;
    Ref<Object> keep = Ref<Object>::Retain(window);
    WindowWidget& widget = EnsureWindowWidget(impl);
    if (widget.isVisible()) widget.hide();
    widget.setWindowModality(Qt::ApplicationModal);
    ShowWindowWidget(impl, true);
    WindowRegistryMoveToFront(window);
    QPointer<WindowWidget> alive(&widget);
    widget.RunModal();
    if (alive && alive->isHidden()) ApplyWindowFlags(impl);  // the type's own modality again
}

void CenterOnWindow(WindowImpl& impl, Object* parent) {
    WindowImpl* parentImpl = WindowImplOf(parent);
    if (!parentImpl || !parentImpl->widget) return;
    CenterOn(EnsureWindowWidget(impl), parentImpl->widget->frameGeometry());
    impl.placed = true;
}

void ShowModalWithin(Object* window, Object* parent) {
    CenterOnWindow(RequireWindowImpl(window), parent);
    ShowModal(window);
}

void ShowWithin(Object* window, Object* parent, int64_t /*facing*/) {
    CenterOnWindow(RequireWindowImpl(window), parent);
    RuntimeShowWindow(window);
}

// A window is its own true window.
Ref<Object> TrueWindow(Object* window) {
    return Ref<Object>::Retain(RuntimeRequire(window));
}

// The records the window's operations create objects of.
void WindowDependencyList(Object*) {
    MenuBar::dunder_Lookup();
    Picture::dunder_Lookup();
    Control::dunder_Lookup();
}

// _Move: the content's position on screen and its size.
void MoveWindow(Object* window, int64_t left, int64_t top, int64_t width, int64_t height) {
    WindowImpl& impl = RequireWindowImpl(window);
    impl.width = width;
    impl.height = height;
    ApplyWindowGeometry(impl);
    WindowWidget& widget = EnsureWindowWidget(impl);
    // A new rectangle, not QRect::moveTopLeft, which subtracts the old corner from the new.
    const QPoint topLeft(ToQtCoordinate(left), ToQtCoordinate(top));
    widget.setGeometry(QRect(topLeft, widget.geometry().size()));
    impl.placed = true;
}

// __Init and __Exit: the window's C++ state and the references its fields hold.
void WindowInit(Object* self) {
    auto* impl = new WindowImpl();
    impl->self = self;
    self->Field<WindowImpl*>(window_field::kImpl) = impl;
    self->Field<bool>(window_field::kImplicitInstance) = true;
    self->Field<bool>(window_field::kEraseBackground) = true;
}

void WindowExit(Object* self) {
    String::AdoptRaw(std::exchange(self->Field<StringData*>(window_field::kName), nullptr));
    WindowImpl* impl = std::exchange(self->Field<WindowImpl*>(window_field::kImpl), nullptr);
    if (!impl) return;
    if (WindowWidget* widget = impl->widget) {
        widget->Detach();
        widget->hide();
        widget->deleteLater();
    }
    impl->controls.clear();
    impl->menuBar.Reset();
    delete impl;
}

// The flags of Window's own entry `Window`, 416: virtual, hidden, the class-named
// constructor, without the public bit; subclasses re-state it as 288.

}  // namespace

// ---- shared with the widget and the property accessors ----------------------------------

// Every operation on a window reaches its state through one of these two, so the user-
// interface thread is checked here, once for all of them.
WindowImpl* WindowImplOf(Object* window) {
    under_UITrap();
    if (!window || !RuntimeObjectIsa(window, Window::dunder_Lookup())) return nullptr;
    return window->Field<WindowImpl*>(window_field::kImpl);
}

WindowImpl& RequireWindowImpl(Object* window) {
    under_UITrap();
    RuntimeRequire(window);
    RuntimeCheckCast(window, Window::dunder_Lookup());
    WindowImpl* impl = window->Field<WindowImpl*>(window_field::kImpl);
    if (!impl) RaiseNilObjectException();
    return *impl;
}

WindowWidget& WidgetOf(Object* window) {
    return EnsureWindowWidget(RequireWindowImpl(window));
}

WindowWidget& EnsureWindowWidget(WindowImpl& impl) {
    if (!impl.widget) {
        if (!QCoreApplication::instance()) ToolkitEnsureApplication();
        impl.widget = new WindowWidget(&impl);
        ApplyWindowFlags(impl);
        ApplyWindowBackground(impl);
        ApplyWindowMenuBar(impl);
        ApplyWindowGeometry(impl);
    }
    return *impl.widget;
}

void ApplyWindowFlags(WindowImpl& impl) {
    WindowWidget* widget = impl.widget;
    if (!widget) return;
    Qt::WindowFlags buttons = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (impl.hasCloseButton) buttons |= Qt::WindowCloseButtonHint;
    if (impl.hasMinimizeButton) buttons |= Qt::WindowMinimizeButtonHint;
    if (impl.hasMaximizeButton) buttons |= Qt::WindowMaximizeButtonHint;
    if (impl.hasFullScreenButton) buttons |= Qt::WindowFullscreenButtonHint;
    if (impl.hasCloseButton || impl.hasMinimizeButton || impl.hasMaximizeButton)
        buttons |= Qt::WindowSystemMenuHint;

    Qt::WindowFlags flags;
    Qt::WindowModality modality = Qt::NonModal;
    switch (impl.type) {
        case kMovableModalWindow:
            flags = Qt::Dialog | buttons;
            modality = Qt::ApplicationModal;
            break;
        case kModelessDialogWindow:
            flags = Qt::Dialog | buttons;
            break;
        case kFloatingWindow:
            flags = Qt::Tool | buttons;
            break;
        case kGlobalFloatingWindow:
            flags = Qt::Tool | buttons | Qt::WindowStaysOnTopHint;
            break;
        case kSheetWindow:
            flags = Qt::Sheet | buttons;
            modality = Qt::ApplicationModal;
            break;
        case kPlainBoxWindow:
        case kPlainBoxWindow2:
        case kShadowedBoxWindow:
        case kRoundedWindow:
            flags = Qt::Window | Qt::FramelessWindowHint;  // no title, no buttons
            break;
        case kDocumentWindow:
        case kMetalWindow:
        default:
            flags = Qt::Window | buttons;
            break;
    }
    if (impl.alwaysOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (!impl.hasShadow) flags |= Qt::NoDropShadowWindowHint;

    const bool wasVisible = widget->isVisible();
    if (widget->windowFlags() != flags) {
        widget->setWindowFlags(flags);  // hides the widget
        if (wasVisible) widget->show();
    }
    if (!widget->isVisible()) widget->setWindowModality(modality);
}

void ApplyWindowGeometry(WindowImpl& impl) {
    WindowWidget* widget = impl.widget;
    if (!widget) return;
    const int width = int(impl.width);
    const int menuBar = widget->MenuBarHeight(width);
    const int height = int(impl.height) + menuBar;
    if (!impl.resizeable) {
        widget->setFixedSize(width, height);
    } else {
        auto limit = [](int64_t value) {
            return int(std::clamp<int64_t>(value, 0, QWIDGETSIZE_MAX));
        };
        widget->setMinimumSize(limit(impl.minimumWidth), limit(impl.minimumHeight + menuBar));
        widget->setMaximumSize(limit(impl.maximumWidth), limit(impl.maximumHeight + menuBar));
        widget->resize(width, height);
    }
    widget->LayoutChildren();
}

void ApplyWindowBackground(WindowImpl& impl) {
    WindowWidget* widget = impl.widget;
    if (!widget) return;
    QWidget* content = widget->Content();
    if (impl.hasBackgroundColor) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, ToQColor(impl.backgroundColor));
        content->setPalette(palette);
        content->setAutoFillBackground(true);
    } else {
        content->setPalette(QPalette());  // the inherited palette again
        content->setAutoFillBackground(false);
    }
}

namespace {

// The bar that serves a window: its own, else the application's (nil when neither has one),
// as the one bar at the top of the screen serves a window without a bar on macOS.
Ref<Object> BarServing(const WindowImpl& impl) {
    if (impl.menuBar) return impl.menuBar;
    Ref<Object> app = RuntimeApplicationObject();
    return app ? AppMenuBarGetter(app.get(), 0) : nullptr;
}

}  // namespace

// A window with a bar of its own shows it; one without holds the application's bar unseen,
// so that the bar's key equivalents are the menu's in every window of the program.
void ApplyWindowMenuBar(WindowImpl& impl) {
    WindowWidget* widget = impl.widget;
    if (!widget) return;
    if (impl.menuBar) {
        ToolkitInstallMenuBar(widget, nullptr);
        QMenuBar* bar = widget->EnsureMenuBar();
        ToolkitInstallMenuBar(bar, impl.menuBar.get());
        bar->setVisible(impl.menuBarVisible);
    } else {
        widget->RemoveMenuBar();
        ToolkitInstallMenuBar(widget, BarServing(impl).get());
    }
    ApplyWindowGeometry(impl);
}

void ApplyAllWindowMenuBars() {
    std::vector<Ref<Object>> windows = OpenWindows();
    for (const Ref<Object>& window : windows)
        if (WindowImpl* impl = WindowImplOf(window.get())) ApplyWindowMenuBar(*impl);
}

void ShowWindowWidget(WindowImpl& impl, bool activate) {
    WindowWidget& widget = EnsureWindowWidget(impl);
    if (!impl.placed) {
        PlaceWindow(impl);
        impl.placed = true;
    }
    if (impl.fullScreen) {
        widget.showFullScreen();
    } else {
        widget.show();
    }
    if (activate) {
        widget.raise();
        widget.activateWindow();
    }
}

void ShowOrHideWindow(Object* window, bool shown, bool activate) {
    WindowImpl& impl = RequireWindowImpl(window);
    if (impl.closed) return;
    if (!impl.constructed) {
        impl.visible = shown;  // shown or not when its construction ends
        return;
    }
    if (shown) {
        ShowWindowWidget(impl, activate);
        WindowRegistryMoveToFront(window);
    } else {
        if (impl.widget) impl.widget->hide();
        WindowRegistryMoveBehindShown(window);
    }
}

void WindowRegistryMoveToFront(Object* window) {
    Ref<Object> taken = Unregister(window);
    if (taken) OpenWindows().insert(OpenWindows().begin(), std::move(taken));
}

bool CloseWindow(Object* window, bool appQuitting) {
    WindowImpl& impl = RequireWindowImpl(window);
    if (impl.closed) return true;
    if (impl.closing) return false;  // a Close asked for by its own CancelClose or Close
    Ref<Object> keep = Ref<Object>::Retain(window);
    impl.closing = true;
    bool cancelled = false;
    try {
        cancelled = CallClassEvent<bool>(window, Window::kCancelClose, false, appQuitting);
    } catch (...) {
        impl.closing = false;
        throw;
    }
    if (cancelled) {
        impl.closing = false;
        return false;
    }
    try {
        CallClassEventVoid(window, Window::kClose);
    } catch (...) {
        FinishClose(impl);  // a failing Close handler still closes its window
        throw;
    }
    FinishClose(impl);
    if (ToolkitApplicationAutoQuits() && !AnyWindowVisible()) RuntimeApplicationQuit(0);
    return true;
}

void ReleaseAllWindows() {
    std::vector<Ref<Object>> windows = OpenWindows();
    for (const Ref<Object>& window : windows)
        if (WindowImpl* impl = WindowImplOf(window.get())) FinishClose(*impl);
    OpenWindows().clear();
}

// ---- the operations ---------------------------------------------------------------------

void WindowDefaultConstructor(Object* window) {
    WindowImpl& impl = RequireWindowImpl(window);
    if (impl.constructing || impl.constructed || impl.closed)
        RuntimeRaiseNew(
            RuntimeException::dunder_Lookup(),
            std::string("Window.Constructor: ") + window->cls->name + " is built already");
    TraceWindowCall("WindowDefaultConstructor", window);
    Ref<Object> keep = Ref<Object>::Retain(window);
    EnsureWindowWidget(impl);
    Register(window);
    impl.constructing = true;
    try {
        CallClassEventVoid(window, Window::kLayout);
        CallClassEventVoid(window, Window::kCreateControls);
        CallClassEventVoid(window, Window::kAddMenuHandlers, window);
        CallClassEventVoid(window, Window::kOpen);
    } catch (...) {
        // A window that failed to build is not left behind to be found by name.
        impl.constructing = false;
        if (!impl.closed) FinishClose(impl);
        throw;
    }
    impl.constructing = false;
    if (impl.closed) return;  // closed by its own Open
    impl.constructed = true;
    if (impl.visible) ShowWindowWidget(impl, true);
}

void RuntimeShowWindow(Object* window) {
    RequireWindowImpl(window);
    TraceWindowCall("RuntimeShowWindow", window);
    ShowOrHideWindow(window, true, true);
}

void RuntimeHideWindow(Object* window) {
    RequireWindowImpl(window);
    TraceWindowCall("RuntimeHideWindow", window);
    ShowOrHideWindow(window, false, false);
}

void RuntimeCloseWindow(Object* window) {
    CloseWindow(window, false);
}

Ref<Object> WindowAllocateObject(Object* window, void* classRecord) {
    RequireWindowImpl(window);
    if (!classRecord) RaiseNilObjectException();
    Ref<Object> control = RuntimeNewObject(static_cast<ClassRecord*>(classRecord));
    ToolkitSetControlOwner(control.get(), window);
    return control;
}

void WindowAddControl(Object* window, String name, Object* control) {
    WindowImpl& impl = RequireWindowImpl(window);
    RuntimeRequire(control);
    impl.controls.push_back(NamedControl{name.Std(), Ref<Object>::Retain(control)});
    ToolkitControlAdded(control, window, name);
}

Ref<Object> RuntimeControlReference(Object* window, String name) {
    WindowImpl& impl = RequireWindowImpl(window);
    for (const NamedControl& entry : impl.controls)
        if (ToolkitSameObjectName(name.View(), entry.name)) return entry.control;
    return nullptr;
}

Ref<Object> RuntimeWindowControlByName(Object* window, String name) {
    return RuntimeControlReference(window, std::move(name));
}

// Controls that share a name form a control array: the one whose Index property is `index`,
// or, for controls without that property, the `index`-th of the name.
Ref<Object> RuntimeWindowControlByNameIndex(Object* window, String name, int64_t index) {
    WindowImpl& impl = RequireWindowImpl(window);
    int64_t ordinal = 0;
    for (const NamedControl& entry : impl.controls) {
        if (!ToolkitSameObjectName(name.View(), entry.name)) continue;
        Object* control = entry.control.get();
        const PropertyEntry* indexProperty = RuntimeFindProperty(control->cls, "Index");
        if (indexProperty && indexProperty->boxedGetter) {
            if (indexProperty->boxedGetter(control, indexProperty).AsInteger() == index)
                return entry.control;
        } else if (ordinal++ == index) {
            return entry.control;
        }
    }
    return nullptr;
}

void WindowAddMenuHandler(Object* window, String itemName, void* method) {
    RequireWindowImpl(window).menuHandlers.Bind(itemName, method);
}

void WindowMenuBarSetter(Object* window, int32_t /*offset*/, Object* menuBar) {
    WindowImpl& impl = RequireWindowImpl(window);
    Ref<Object> bar = RuntimeCheckCast(menuBar, MenuBar::dunder_Lookup());
    impl.menuBar = std::move(bar);
    ApplyWindowMenuBar(impl);
}

Ref<Object> WindowMenuBarGetter(Object* window, int32_t /*offset*/) {
    return RequireWindowImpl(window).menuBar;
}

Ref<Object> RuntimeGetImplicitWindow(String qualifiedClassName) {
    for (const Ref<Object>& window : OpenWindows())
        if (qualifiedClassName == std::string_view(window->cls->name)) return window;
    return nullptr;
}

Ref<Object> under_GetImplicitWindow(String qualifiedClassName) {
    return RuntimeGetImplicitWindow(std::move(qualifiedClassName));
}

int64_t RuntimeWindowCount() {
    return static_cast<int64_t>(OpenWindows().size());
}

Ref<Object> RuntimeWindowAt(int64_t index) {
    if (index < 0 || index >= RuntimeWindowCount()) return nullptr;
    return OpenWindows()[static_cast<size_t>(index)];
}

bool RuntimeWindowVisible(Object* window) {
    WindowImpl* impl = WindowImplOf(window);
    return impl && impl->widget && !impl->closed && impl->widget->isVisible();
}

// ---- what the other toolkit parts ask of windows ---------------------------------------

QWidget* ToolkitWindowWidget(Object* window) {
    WindowImpl* impl = WindowImplOf(window);
    if (!impl || impl->closed) return nullptr;
    return EnsureWindowWidget(*impl).Content();
}

Object* ToolkitWindowOfWidget(QWidget* widget) {
    for (QWidget* at = widget; at; at = at->parentWidget()) {
        auto* window = dynamic_cast<WindowWidget*>(at);
        if (!window) continue;
        WindowImpl* impl = window->Impl();
        return impl && !impl->closed ? impl->self : nullptr;
    }
    return nullptr;
}

namespace {

// A window that takes menu commands itself: it shows a bar of its own or binds handlers.
bool TakesMenuCommands(Object* window) {
    WindowImpl* impl = WindowImplOf(window);
    return impl && (impl->menuBar || !impl->menuHandlers.Empty());
}

}  // namespace

// The active window when it takes menu commands itself. A window that does not (the About
// box) leaves the bar to the frontmost shown window that does, as the bar that serves every
// window on macOS stays that window's: its items keep the state that window gives them,
// whichever of the two the window system made active first. A window just hidden may still
// count as active for a moment on X11, until the window system's focus change arrives; it
// gets no commands.
Object* ToolkitMenuCommandWindow() {
    QWidget* activeWidget = QApplication::activeWindow();
    Object* active =
        activeWidget && activeWidget->isVisible() ? ToolkitWindowOfWidget(activeWidget) : nullptr;
    if (active && TakesMenuCommands(active)) return active;
    for (const Ref<Object>& window : OpenWindows())
        if (RuntimeWindowVisible(window.get()) && TakesMenuCommands(window.get()))
            return window.get();
    if (active) return active;
    for (const Ref<Object>& window : OpenWindows())
        if (RuntimeWindowVisible(window.get())) return window.get();
    return nullptr;
}

GenericFn ToolkitWindowMenuHandler(Object* window, const String& itemName) {
    WindowImpl* impl = WindowImplOf(window);
    return impl ? impl->menuHandlers.Find(itemName) : nullptr;
}

void ToolkitRaiseEnableMenuItems(Object* window) {
    WindowImpl* impl = WindowImplOf(window);
    if (!impl) return;
    Ref<Object> app = RuntimeApplicationObject();
    Ref<Object> bar = BarServing(*impl);
    if (bar) RunProgramCode([&] { ToolkitAutoEnableMenus(bar.get(), window); });
    SendClassEvent(window, Window::kEnableMenuItems);
    if (app) SendClassEvent(app.get(), Application::kEnableMenuItems);
}

// ---- the class record -------------------------------------------------------------------

void Window::dunder_ctblinit() {
    // Window's method table, in character-code order of the names; virtual entries name
    // their slot. _GetControl and _GetControlArray are the runtime's lookups by name.
    // clang-format off
    static const MethodRow Window_methods[] = {
        //     name                    flags                  signature              function                            slot
        Method("AcceptFileDrop",       kPublicVirtual,        "%%s",                 &AcceptFileDrop,                    0),
        Method("AcceptMacDataDrop",    kPublicVirtual,        "%%s",                 &AcceptMacDataDrop,                 1),
        Method("AcceptPictureDrop",    kPublicVirtual,        "%%",                  &AcceptPictureDrop,                 2),
        Method("AcceptRawDataDrop",    kPublicVirtual,        "%%s",                 &AcceptRawDataDrop,                 3),
        Method("AcceptTextDrop",       kPublicVirtual,        "%%",                  &AcceptTextDrop,                    4),
        Method("BitmapForCaching",     kPublicVirtual,        "%o<Picture>%i8i8",    &BitmapForCaching,                  5),
        Method("Close",                kPublicVirtual,        "%%",                  &RuntimeCloseWindow,                kCloseSlot),
        Method("Constructor",          kPublicVirtual,        "%%",                  &WindowDefaultConstructor,          kConstructorSlot),
        Method("Control",              kPublicVirtual,        "%o<Control>%i8",      &ControlAt,                         8),
        Method("Controls",             kPublicVirtual,        "%o<Iterable>%",       &Controls,                          9),
        Method("DrawInto",             kPublicVirtual,        "%%o<Graphics>i8i8b",  &DrawInto,                          10),
        Method("FocusNext",            kPublicVirtual,        "%%",                  &FocusNext,                         11),
        Method("FocusPrevious",        kPublicVirtual,        "%%",                  &FocusPrevious,                     12),
        Method("Hide",                 kPublicVirtual,        "%%",                  &RuntimeHideWindow,                 kHideSlot),
        Method("Invalidate",           kPublicVirtual,        "%%b",                 &Invalidate,                        14),
        Method("Invalidate",           kPublicVirtual,        "%%i8i8i8i8b",         &InvalidateRect,                    15),
        Method("Maximize",             kPublicVirtual,        "%%",                  &Maximize,                          16),
        Method("Minimize",             kPublicVirtual,        "%%",                  &Minimize,                          17),
        Method("Operator_Convert",     kPublicVirtual,        "%?<WindowPtr>%",      &OperatorConvert,                   18),
        Method("Refresh",              kPublicVirtual,        "%%b",                 &Refresh,                           19),
        Method("RefreshRect",          kPublicVirtual,        "%%i8i8i8i8b",         &RefreshRect,                       20),
        Method("Restore",              kPublicVirtual,        "%%",                  &Restore,                           21),
        Method("SetFocus",             kPublicVirtual,        "%%",                  &SetFocus,                          22),
        Method("Show",                 kPublicVirtual,        "%%",                  &RuntimeShowWindow,                 kShowSlot),
        Method("ShowModal",            kPublicVirtual,        "%%",                  &ShowModal,                         24),
        Method("ShowModalWithin",      kPublicVirtual,        "%%o<Window>",         &ShowModalWithin,                   25),
        Method("ShowWithin",           kPublicVirtual,        "%%o<Window>i8",       &ShowWithin,                        26),
        Method("TrueWindow",           kPublicVirtual,        "%o<Window>%",         &TrueWindow,                        27),
        Method("UpdateNow",            kPublicVirtual,        "%%",                  &UpdateNow,                         28),
        Method("Window",               kClassNamedCtorHidden, "%%",                  &WindowDefaultConstructor,          29),
        Method("_AddControl",          kPublicVirtualHidden,  "%%so<Object>",        &WindowAddControl,                  kAddControlSlot),
        Method("_AddMenuHandler",      kPublicVirtual,        "%%sp",                &WindowAddMenuHandler,              kAddMenuHandlerSlot),
        Method("_ControlByName",       kPublicVirtual,        "%o<Object>%s",        &RuntimeControlReference,           kControlByNameSlot),
        Method("_ControlByNameIndex",  kPublicVirtual,        "%o<Object>%si8",      &RuntimeWindowControlByNameIndex,   kControlByNameIndexSlot),
        Method("_DependencyList",      kPublicVirtual,        "%%",                  &WindowDependencyList,              34),
        Method("_GetControl",          kPrivate,              "%o<Object>%s",        &RuntimeWindowControlByName),
        Method("_GetControlArray",     kPrivate,              "%o<Object>%si8",      &RuntimeWindowControlByNameIndex),
        Method("_Move",                kPublicVirtual,        "%%i8i8i8i8",          &MoveWindow,                        35),
        Method("__Exit",               kPrivateHidden,        "%%",                  &WindowExit),
        Method("__Init",               kPrivate,              "%%",                  &WindowInit),
        Method("__New",                kPublicVirtual,        "%o<Object>%p",        &WindowAllocateObject,              kNewSlot),
    };

    // The window events, at their indexes (Window::Event).
    static const EventRow Window_events[] = {
        {"Activate"},        {"AddMenuHandlers"}, {"CancelClose"},         {"Close"},
        {"ConstructContextualMenu"},              {"ContentsChanged"},     {"ContextualMenuAction"},
        {"CreateControls"},  {"Deactivate"},      {"DragEnter"},           {"DragExit"},
        {"DragOver"},        {"DropObject"},      {"EnableMenuItems"},     {"KeyDown"},
        {"KeyUp"},           {"Layout"},          {"Maximize"},            {"Minimize"},
        {"MouseDown"},       {"MouseDrag"},       {"MouseEnter"},          {"MouseExit"},
        {"MouseMove"},       {"MouseUp"},         {"MouseWheel"},          {"Moved"},
        {"Open"},            {"Paint"},           {"Resized"},             {"Resizing"},
        {"Restore"},         {"ScaleFactorChanged"},                       {"SetupBindings"},
    };
    // clang-format on

    static const ClassSpec spec{.name = "Window",
                                .superclass = nullptr,
                                .methodCount = kMethodCount,
                                .interfaceCount = 0,
                                .eventCount = kEventCount,
                                .propertyCount = kPropertyCount,
                                .instanceDataSize = kInstanceDataSize,
                                .slotCount = kSlotCount,
                                .init = &WindowInit,
                                .exit = &WindowExit,
                                .methods = Window_methods,
                                .events = Window_events,
                                .properties = WindowPropertyRows()};
    static_assert(kInstanceDataSize == window_field::kInstanceDataSize);
    RuntimeBuildClass(gWindowCell, spec);
}

ClassRecord* Window::dunder_Lookup() {
    return RuntimeLookupClass(gWindowCell);
}
