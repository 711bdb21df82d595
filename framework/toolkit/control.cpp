// Control: the root of the control classes. Its record, the life of a control's
// implementation and widget, the bridge that turns widget events into control events, and
// what the window code asks of controls.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"
#include "framework/toolkit/key_text.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/timer.h"
#include "framework/toolkit/toolkit_internal.h"

namespace controls {

// ---- the bridge from widget events to control events ----------------------------------

namespace {

// How deeply program code raised from a control's widget is running now. While it runs, a
// widget that goes is deleted later, never under the event that is being delivered to it.
int gDispatchDepth = 0;

struct DispatchScope {
    DispatchScope() { ++gDispatchDepth; }
    ~DispatchScope() { --gDispatchDepth; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

// A wheel turn in notches of 15 degrees, as whole steps.
constexpr int kEighthsOfADegreePerStep = 120;

}  // namespace

// Watches the control's widget (its events) and the widget's parent (its resizes).
class EventBridge : public QObject {
  public:
    EventBridge(ControlImpl* impl, QWidget* widget)
        : QObject(widget), impl_(impl), widget_(widget) {
        widget->installEventFilter(this);
    }
    ~EventBridge() override {
        // The widget is being destroyed with its window: the implementation lets go of it.
        if (ControlImpl* impl = std::exchange(impl_, nullptr)) impl->WidgetGone();
    }
    EventBridge(const EventBridge&) = delete;
    EventBridge& operator=(const EventBridge&) = delete;

    ControlImpl* Impl() const { return impl_; }
    void Detach() { impl_ = nullptr; }

    void WatchParent(QWidget* parent) {
        if (parent_) parent_->removeEventFilter(this);
        parent_ = parent;
        if (parent) parent->installEventFilter(this);
    }

    // Raises a control event with a result; `fallback` when the control is gone.
    template <class R, class... A>
    R Raise(int32_t event, R fallback, A... args) {
        if (!impl_ || event == kNoEvent) return fallback;
        DispatchScope scope;
        return RaiseObjectEvent<R, A...>(impl_->Self(), static_cast<uint32_t>(event), fallback,
                                         args...);
    }
    template <class... A>
    void Send(int32_t event, A... args) {
        if (!impl_ || event == kNoEvent) return;
        DispatchScope scope;
        SendObjectEvent<A...>(impl_->Self(), static_cast<uint32_t>(event), args...);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!impl_) return false;
        if (watched == parent_) {
            if (event->type() == QEvent::Resize)
                impl_->ParentResized(static_cast<QResizeEvent*>(event)->size());
            return false;
        }
        if (watched != widget_) return false;
        QPointer<QWidget> alive(widget_);
        bool consumed = WidgetEvent(event);
        return consumed || !alive || !impl_;  // a widget or control gone takes nothing more
    }

  private:
    bool WidgetEvent(QEvent* event);
    bool KeyPress(QKeyEvent* event);
    bool InputMethod(QInputMethodEvent* event);
    bool MousePress(QMouseEvent* event);

    static int64_t X(QMouseEvent* event) { return event->position().toPoint().x(); }
    static int64_t Y(QMouseEvent* event) { return event->position().toPoint().y(); }

    ControlImpl* impl_;
    QWidget* widget_;
    QPointer<QWidget> parent_;
    bool mouseCaptured_ = false;  // MouseDown answered True: drags and the release are ours
    bool opened_ = false;
    bool forwarding_ = false;  // passing on what KeyDown took of an input method's text
    qreal scaleFactor_ = 0;
};

bool EventBridge::WidgetEvent(QEvent* event) {
    const KindEvents& events = impl_->Events();
    switch (event->type()) {
        case QEvent::KeyPress:
            return KeyPress(static_cast<QKeyEvent*>(event));
        case QEvent::InputMethod:
            return InputMethod(static_cast<QInputMethodEvent*>(event));
        case QEvent::KeyRelease: {
            String key = KeyTextForEvent(*static_cast<QKeyEvent*>(event), widget_);
            if (!key.Empty()) Send<String>(kKeyUpEvent, key);
            return false;
        }
        case QEvent::Enter:
            Send(kMouseEnterEvent);
            return false;
        case QEvent::Leave:
            Send(kMouseExitEvent);
            return false;
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouseCaptured_) {
                Send<int64_t, int64_t>(events.mouseDrag, X(mouse), Y(mouse));
                return true;
            }
            if (mouse->buttons() == Qt::NoButton)
                Send<int64_t, int64_t>(kMouseMoveEvent, X(mouse), Y(mouse));
            return false;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            QPoint at = wheel->position().toPoint();
            QPoint steps = -wheel->angleDelta() / kEighthsOfADegreePerStep;
            return Raise<bool, int64_t, int64_t, int64_t, int64_t>(kMouseWheelEvent, false, at.x(),
                                                                   at.y(), steps.x(), steps.y());
        }
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Send<int64_t, int64_t>(events.doubleClick, X(mouse), Y(mouse));
            return MousePress(mouse);
        }
        case QEvent::MouseButtonPress:
            return MousePress(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease: {
            if (!mouseCaptured_) return false;
            mouseCaptured_ = false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            Send<int64_t, int64_t>(events.mouseUp, X(mouse), Y(mouse));
            return true;
        }
        case QEvent::FocusIn:
            Send(events.gotFocus);
            return false;
        case QEvent::FocusOut:
            Send(events.lostFocus);
            return false;
        case QEvent::Show:
            if (!opened_) {
                opened_ = true;
                scaleFactor_ = widget_->devicePixelRatioF();
                Send(kOpenEvent);
            }
            return false;
        case QEvent::ScreenChangeInternal:
            if (opened_ && widget_->devicePixelRatioF() != scaleFactor_) {
                scaleFactor_ = widget_->devicePixelRatioF();
                Send(kScaleFactorChangedEvent);
            }
            return false;
        default:
            return false;
    }
}

// KeyDown comes first, before the widget's own handling and before Tab moves the focus. A
// modifier pressed alone, and a key that chooses a menu item, raise nothing but still get the
// control's own handling.
bool EventBridge::KeyPress(QKeyEvent* event) {
    String key = KeyTextForEvent(*event, widget_);
    if (!key.Empty() && Raise<bool, String>(kKeyDownEvent, false, key)) return true;
    return impl_ && impl_->KeyNotHandled(event);
}

// Text that an input method commits is typing too: each of its characters raises KeyDown as
// its key would, and only the characters KeyDown lets through reach the widget. Text still
// being composed (the preedit) is not in the control yet and passes as it is.
bool EventBridge::InputMethod(QInputMethodEvent* event) {
    if (forwarding_ || event->commitString().isEmpty()) return false;
    const QString committed = event->commitString();
    QString taken;
    for (qsizetype at = 0; at < committed.size();) {
        const qsizetype length = committed.at(at).isHighSurrogate() ? 2 : 1;
        const QString character = committed.mid(at, length);
        at += length;
        if (!Raise<bool, String>(kKeyDownEvent, false, FromQString(character))) taken += character;
        if (!impl_) return true;  // the control went during its handler
    }
    if (taken == committed) return false;
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(taken, event->replacementStart(), event->replacementLength());
    forwarding_ = true;
    QCoreApplication::sendEvent(widget_, &filtered);
    forwarding_ = false;
    return true;
}

bool EventBridge::MousePress(QMouseEvent* event) {
    if (impl_->Events().mouseDown == kNoEvent) return false;
    if (!Raise<bool, int64_t, int64_t>(impl_->Events().mouseDown, false, X(event), Y(event)))
        return false;
    mouseCaptured_ = true;
    return true;
}

// ---- the implementation's life ---------------------------------------------------------

namespace {

constexpr int32_t kImplOffset = -8;  // Control's one field: the ControlImpl*
constexpr uint32_t kControlDataSize = 8;
uint64_t gNextSequence = 0;

ControlImpl*& ImplField(Object* control) {
    return control->Field<ControlImpl*>(kImplOffset);
}

}  // namespace

ControlImpl::ControlImpl(Object* self, ControlKind kind, const KindEvents& events)
    : self_(self), kind_(kind), events_(events), sequence_(gNextSequence++) {
    RegisterImpl(this);
}

ControlImpl::~ControlImpl() {
    UnregisterImpl(this);
    RuntimeReleaseWeakControl(std::exchange(owner_, nullptr));
    DropWidget();
}

Object* ControlImpl::Owner() const {
    return owner_ ? owner_->target : nullptr;
}

void ControlImpl::SetOwner(Object* window) {
    if (Owner() == window) return;
    RuntimeReleaseWeakControl(std::exchange(owner_, RuntimeRetainWeakControl(window)));
}

void ControlImpl::Construct() {
    if (widget_) return;  // constructed already
    QWidget* content = Owner() ? ContentWidgetOf(Owner()) : nullptr;
    AdoptWidget(MakeWidget(content));
}

void ControlImpl::AdoptWidget(QWidget* widget) {
    widget_ = widget;
    widget->setMouseTracking(true);
    bridge_ = new EventBridge(this, widget);
    ConnectSignals(bridge_);
    PlaceInto(widget->parentWidget());
    ApplyAll();
    ReorderTabChain(widget->parentWidget());
}

// Settles the widget into `content` (or nowhere): the reference size for its locks is the
// content's size once the content is on screen, else the size of its first resize.
void ControlImpl::PlaceInto(QWidget* content) {
    if (!widget_) return;
    if (widget_->parentWidget() != content) {
        widget_->hide();
        widget_->setParent(content);
    }
    reference_ = content && content->isVisible() ? content->size() : QSize();
    if (bridge_) bridge_->WatchParent(content);
}

void ControlImpl::JoinWindow(Object* window, const String& name) {
    SetOwner(window);
    state.name = name;
    if (widget_) {
        QWidget* content = ContentWidgetOf(window);
        if (widget_->parentWidget() != content) {
            PlaceInto(content);
            ApplyAll();
        }
        Apply(Aspect::kName);
        ReorderTabChain(content);
    }
}

void ControlImpl::Close() {
    if (!widget_) return;
    DropWidget();
    SendObjectEvent(self_, kCloseEvent);
}

void ControlImpl::WidgetGone() {
    widget_ = nullptr;
    bridge_ = nullptr;
    SendObjectEvent(self_, kCloseEvent);
}

void ControlImpl::SendEvent(int32_t event) {
    if (event == kNoEvent) return;
    DispatchScope scope;
    SendObjectEvent(self_, static_cast<uint32_t>(event));
}

void ControlImpl::DropWidget() {
    QWidget* widget = widget_.data();
    widget_ = nullptr;
    if (EventBridge* bridge = bridge_.data()) {
        bridge->Detach();
        if (widget) QObject::disconnect(widget, nullptr, bridge, nullptr);
    }
    bridge_ = nullptr;
    if (!widget) return;
    widget->hide();
    if (gDispatchDepth > 0) {
        widget->deleteLater();
    } else {
        delete widget;
    }
}

bool ControlImpl::KeyNotHandled(QKeyEvent*) {
    return false;
}

// Every operation on a control reaches its state through here, so the user-interface thread
// is checked here, once for all of them.
ControlImpl& ImplOf(Object* control) {
    under_UITrap();
    RuntimeRequire(control);
    ControlImpl*& impl = ImplField(control);
    if (!impl) {
        RuntimeCheckCast(control, RectControl::dunder_Lookup());  // raises for a non-control
        impl = new PlainImpl(control);
    }
    return *impl;
}

void InstallImpl(Object* control, ControlImpl* impl) {
    ControlImpl*& field = ImplField(control);
    if (field) {
        delete impl;  // a subclass's __Init after its superclass's: the first one stays
        return;
    }
    field = impl;
}

}  // namespace controls

using controls::ImplOf;

// ---- the class record -----------------------------------------------------------------

namespace {

void ControlExit(Object* self) {
    delete std::exchange(controls::ImplField(self), nullptr);
}

void ControlClose(Object* self) {
    ImplOf(self).Close();
}

int64_t MouseCoordinate(Object* self, bool horizontal) {
    QWidget* widget = ImplOf(self).Widget();
    if (!widget) return 0;
    QPoint at = widget->mapFromGlobal(QCursor::pos());
    return horizontal ? at.x() : at.y();
}
int64_t ControlMouseX(Object* self) {
    return MouseCoordinate(self, true);
}
int64_t ControlMouseY(Object* self) {
    return MouseCoordinate(self, false);
}

Ref<Object> ControlTrueWindow(Object* self) {
    return Ref<Object>::Retain(ImplOf(self).Owner());
}
Ref<Object> ControlWindowGetter(Object* self, int32_t) {
    return ControlTrueWindow(self);
}

void ControlNameSetter(Object* self, int32_t, String name) {
    controls::ControlImpl& impl = ImplOf(self);
    impl.state.name = std::move(name);
    impl.Apply(controls::Aspect::kName);
}

ClassCell gControl{nullptr, &Control::dunder_ctblinit};

// Virtual slots.
constexpr uint32_t kCloseSlot = 0;
constexpr uint32_t kMouseXSlot = 1;
constexpr uint32_t kMouseYSlot = 2;
constexpr uint32_t kTrueWindowSlot = 3;
constexpr uint32_t kControlSlotCount = 4;

}  // namespace

namespace controls {

void BuildControlClass(ClassCell& cell, const ControlClassRows& rows) {
    ClassRecord* super = rows.superclass();
    // A row naming an inherited slot overrides that slot's entry; every other row adds one.
    uint32_t ownMethods = 0;
    for (const MethodRow& row : rows.methods)
        if (row.slot == kNoSlot || row.slot >= super->slotCount) ++ownMethods;
    const ClassSpec spec{
        .name = rows.name,
        .superclass = rows.superclass,
        .methodCount = super->methodCount + ownMethods,
        .interfaceCount = 0,
        .eventCount = super->eventCount + static_cast<uint32_t>(rows.events.size()),
        .propertyCount = super->propertyCount + static_cast<uint32_t>(rows.properties.size()),
        .instanceDataSize = super->instanceDataSize,
        .slotCount = rows.slotCount != 0 ? rows.slotCount : super->slotCount,
        .init = rows.init,
        .methods = rows.methods,
        .events = rows.events,
        .properties = rows.properties};
    RuntimeBuildClass(cell, spec);
}

}  // namespace controls

String ControlNameGetter(Object* control, int32_t) {
    return ImplOf(control).state.name;
}

void Control::dunder_ctblinit() {
    using controls::ControlValues;
    using controls::StateProperty;
    // name          flags           signature       function            slot
    static const MethodRow methods[] = {
        Method("Close", kPublicVirtual, "%%", &ControlClose, kCloseSlot),
        Method("MouseX", kPublicVirtual, "%i8%", &ControlMouseX, kMouseXSlot),
        Method("MouseY", kPublicVirtual, "%i8%", &ControlMouseY, kMouseYSlot),
        Method("TrueWindow", kPublicVirtual, "%o<Window>%", &ControlTrueWindow, kTrueWindowSlot),
    };
    static const EventRow events[] = {{"Close"}, {"Open"}, {"ScaleFactorChanged"}};
    // name and type; every design key is kept by the control's implementation
    static const PropertyRow properties[] = {
        ComputedProperty<String>("Name", kComputedWritable, "s", &ControlNameGetter,
                                 &ControlNameSetter),
        StateProperty<&ControlValues::index>("Index", "i8"),
        StateProperty<&ControlValues::tabPanelIndex>("TabPanelIndex", "i8"),
        ComputedProperty<Ref<Object>>("Window", kComputedReadOnly, "o<Window>",
                                      &ControlWindowGetter, nullptr),
    };
    static const ClassSpec spec{.name = "Control",
                                .superclass = nullptr,
                                .methodCount = controls::RowCount(methods),
                                .interfaceCount = 0,
                                .eventCount = controls::RowCount(events),
                                .propertyCount = controls::RowCount(properties),
                                .instanceDataSize = controls::kControlDataSize,
                                .slotCount = kControlSlotCount,
                                .exit = &ControlExit,
                                .methods = methods,
                                .events = events,
                                .properties = properties};
    RuntimeBuildClass(gControl, spec);
}
ClassRecord* Control::dunder_Lookup() {
    return RuntimeLookupClass(gControl);
}

// ---- what the window code asks of controls ---------------------------------------------

namespace {

bool IsControl(Object* object) {
    return RuntimeObjectIsa(object, Control::dunder_Lookup());
}

using SetWindowFn = void (*)(Object* self, Object* window);

}  // namespace

void ToolkitSetControlOwner(Object* control, Object* window) {
    RuntimeRequire(control);
    if (IsControl(control)) {
        ImplOf(control).SetOwner(window);
        return;
    }
    // A non-visual control (a timer on a window) takes its window through _PaneChild.
    const InterfaceEntry* pane = RuntimeInterfaceOf(control, under_PaneChild::dunder_Lookup());
    if (!pane || pane->methodCount <= under_PaneChild::kSetWindow ||
        !pane->table[under_PaneChild::kSetWindow])
        RaiseRefused(std::string("Window.__New: ") + control->cls->name +
                     " cannot be placed on a window");
    reinterpret_cast<SetWindowFn>(pane->table[under_PaneChild::kSetWindow])(control, window);
}

void ToolkitControlAdded(Object* control, Object* window, const String& name) {
    RuntimeRequire(control);
    if (!IsControl(control)) return;  // a timer has no widget to place
    ImplOf(control).JoinWindow(window, name);
}

Object* ToolkitControlOwner(Object* control) {
    if (!control || !IsControl(control)) return nullptr;
    return ImplOf(control).Owner();
}
