// What the control classes share: the design values every control keeps, the implementation
// object that drives the control's widget, and the table helpers its property rows use.
//
// One framework control, one widget. The control's field area holds one pointer to its
// ControlImpl, made by the leaf class's __Init and deleted by Control's __Exit. The widget
// is a child of its window's content widget, so it dies with the window; the implementation
// guards it with a QPointer and keeps every design value itself, so each property reads
// back the same whether the widget still lives or not.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/runtime/runtime.h"
#include "framework/toolkit/qt_values.h"

class QFont;
class QKeyEvent;

namespace controls {

// ---- event numbers, through the class chain -------------------------------------------

// Control's events.
constexpr uint32_t kCloseEvent = 0;               // void(self)
constexpr uint32_t kOpenEvent = 1;                // void(self)
constexpr uint32_t kScaleFactorChangedEvent = 2;  // void(self)
// RectControl's events.
constexpr uint32_t kConstructContextualMenuEvent = 3;
constexpr uint32_t kContextualMenuActionEvent = 4;
constexpr uint32_t kDragEnterEvent = 5;
constexpr uint32_t kDragExitEvent = 6;
constexpr uint32_t kDragOverEvent = 7;
constexpr uint32_t kDropObjectEvent = 8;
constexpr uint32_t kKeyDownEvent = 9;      // bool(self, String key)
constexpr uint32_t kKeyUpEvent = 10;       // void(self, String key)
constexpr uint32_t kMouseEnterEvent = 11;  // void(self)
constexpr uint32_t kMouseExitEvent = 12;   // void(self)
constexpr uint32_t kMouseMoveEvent = 13;   // void(self, Integer x, Integer y)
constexpr uint32_t kMouseWheelEvent = 14;  // bool(self, Integer x, y, deltaX, deltaY)

constexpr int32_t kNoEvent = -1;

// The numbers of the events a kind adds after RectControl's; kNoEvent where it has none.
// Shapes: action, gotFocus, lostFocus, selChange, textChange void(self);
// mouseDown bool(self, x, y); mouseDrag, mouseUp, doubleClick void(self, x, y).
struct KindEvents {
    int32_t action = kNoEvent;
    int32_t gotFocus = kNoEvent;
    int32_t lostFocus = kNoEvent;
    int32_t mouseDown = kNoEvent;
    int32_t mouseDrag = kNoEvent;
    int32_t mouseUp = kNoEvent;
    int32_t doubleClick = kNoEvent;
    int32_t selChange = kNoEvent;
    int32_t textChange = kNoEvent;
};

// ---- design values -----------------------------------------------------------------------
//
// A control keeps every design value itself. The values every control has are its
// implementation's `state`; the values of a kind are structs that the kind's implementation
// class declares through WithValues, each declared with the kind (in its own file, or in
// text_edit_impl.h for what TextField and TextArea share), so that a property row finds them
// by their type (ValuesOf).

// Control's and RectControl's values: every control has them. The rectangle is the one the
// locks keep relative to the reference size.
struct ControlValues {
    String name;
    int64_t index = 0;
    int64_t tabPanelIndex = 0;
    int64_t left = 0, top = 0, width = 80, height = 22;
    bool lockLeft = true, lockTop = true, lockRight = false, lockBottom = false;
    int64_t tabIndex = 0;
    bool tabStop = true;
    bool allowAutoDeactivate = true;
    bool enabled = true;
    String tooltip;
    bool transparent = false;
    bool visible = true;
    String initialParent;
};

// The font that TextField, TextArea, Label and PushButton each declare.
struct FontValues {
    String fontName = "System";
    float fontSize = 0;    // 0: the application's default size
    uint8_t fontUnit = 0;  // FontUnits
    bool bold = false, italic = false, underline = false;
};

// The keyboard values that TextField, TextArea and Canvas each declare.
struct FocusValues {
    bool allowFocusRing = true;
    bool allowTabs = false;  // the control takes Tab itself
};

// The identity of a value struct, by which a property row finds it: one address per type.
template <class Values>
inline constexpr char kValuesTag = 0;

// What a property change asks of the widget. kKept: the value is only held.
enum class Aspect : uint8_t {
    kKept,
    kName,
    kGeometry,
    kLocks,
    kTabOrder,
    kFocusPolicy,
    kEnabled,
    kTooltip,
    kTransparent,
    kVisible,
    kFocusRing,
    kFont,
    kTextColor,
    kBackgroundColor,
    kAlignment,
    kText,
    kBorder,
    kPassword,
    kHint,
    kReadOnly,
    kLimit,
    kTabs,
    kWrap,
    kScrollBars,
    kStyled,
    kLineSpacing,
    kHideSelection,
    kSelectable,
    kDefault,
    kCancel,
    kBackdrop,
    kCount
};

enum class ControlKind : uint8_t { kPlain, kTextField, kTextArea, kLabel, kPushButton, kCanvas };

class EventBridge;

// ---- the implementation object ---------------------------------------------------------

class ControlImpl {
  public:
    ControlImpl(Object* self, ControlKind kind, const KindEvents& events);
    virtual ~ControlImpl();
    ControlImpl(const ControlImpl&) = delete;
    ControlImpl& operator=(const ControlImpl&) = delete;

    ControlValues state;

    // The kind's values of type `Values`, or nil when the kind has none.
    template <class Values>
    Values* FindValues() {
        return static_cast<Values*>(FindValuesByTag(&kValuesTag<Values>));
    }
    template <class Values>
    const Values* FindValues() const {
        return const_cast<ControlImpl*>(this)->FindValues<Values>();
    }

    Object* Self() const { return self_; }
    ControlKind Kind() const { return kind_; }
    const KindEvents& Events() const { return events_; }
    uint64_t Sequence() const { return sequence_; }
    QWidget* Widget() const { return widget_.data(); }

    // The window that owns the control (borrowed), or nil.
    Object* Owner() const;
    void SetOwner(Object* window);

    // RectControl's constructor: builds the widget inside the owner's content widget.
    void Construct();
    // _AddControl: the control joins `window` under `name`.
    void JoinWindow(Object* window, const String& name);
    // Control.Close: the widget goes; the Close event is raised.
    void Close();
    // The widget is being destroyed by its window (called by the bridge).
    void WidgetGone();

    // A property of `aspect` is about to change, and has changed.
    void BeforeChange(Aspect aspect);
    void Apply(Aspect aspect);

    // The rectangle the control has now, its locks applied to the content's size.
    QRect CurrentRect() const;
    void ParentResized(QSize size);

    // The kind's answer to a key press that KeyDown did not handle: true keeps it from the
    // widget.
    virtual bool KeyNotHandled(QKeyEvent* event);

  protected:
    // Raises one of the kind's own events (no arguments) for a widget signal.
    void SendEvent(int32_t event);

    virtual QWidget* MakeWidget(QWidget* parent) = 0;
    // Connects the widget's signals; `context` ends the connections when the control goes.
    virtual void ConnectSignals(QObject* context) { (void)context; }
    // The kind's values whose identity is `tag`, or nil (WithValues answers for a kind).
    virtual void* FindValuesByTag(const char* tag) {
        (void)tag;
        return nullptr;
    }
    // A kind's own values of `aspect` are about to change.
    virtual void BeforeOwnChange(Aspect aspect) { (void)aspect; }
    // Aspects that depend on the kind of widget.
    virtual void ApplyOwn(Aspect aspect) { (void)aspect; }
    // The focus policy the kind's widget has when TabStop is True.
    virtual Qt::FocusPolicy NaturalFocusPolicy() const { return Qt::NoFocus; }

  private:
    void AdoptWidget(QWidget* widget);
    void PlaceInto(QWidget* content);
    void ApplyAll();
    void ApplyCommon(Aspect aspect);
    void Rebase();
    void DropWidget();

    Object* self_;  // borrowed: the implementation lives inside the object
    ControlKind kind_;
    KindEvents events_;
    WeakControl* owner_ = nullptr;
    QPointer<QWidget> widget_;
    QPointer<EventBridge> bridge_;
    QSize reference_;  // the content size the design rectangle belongs to; invalid until known
    uint64_t sequence_;
};

// A kind's implementation: `Base` and the value structs the kind declares.
template <class Base, class... Values>
class WithValues : public Base, public Values... {
  public:
    using Base::Base;

  protected:
    void* FindValuesByTag(const char* tag) override {
        for (auto [valuesTag, values] :
             {std::pair<const char*, void*>{&kValuesTag<Values>, static_cast<Values*>(this)}...})
            if (valuesTag == tag) return values;
        return Base::FindValuesByTag(tag);
    }
};

// A plain RectControl: an empty widget.
class PlainImpl : public ControlImpl {
  public:
    explicit PlainImpl(Object* self);

  protected:
    QWidget* MakeWidget(QWidget* parent) override;
};

// The implementation of a control object; a RectControl made directly gets a plain one.
// Raises ThreadAccessingUIException off the main thread, and IllegalCastException for an
// object that is no Control.
ControlImpl& ImplOf(Object* control);
// Installs the implementation a leaf class's __Init makes (once per object).
void InstallImpl(Object* control, ControlImpl* impl);
// A leaf class's __Init: installs a new implementation of kind `Impl`.
template <class Impl>
void InitImpl(Object* control) {
    InstallImpl(control, new Impl(control));
}

// ---- shared Qt helpers ------------------------------------------------------------------

// The font the design values ask for: "System" is the application's family, size 0 its size.
QFont DesignFont(const FontValues& font);
// TextAlignments as a horizontal Qt alignment: 0 default and 1 left, 2 centre, 3 right.
Qt::Alignment HorizontalAlignment(int64_t textAlignment);
// The live implementations, which the focus order walks.
void RegisterImpl(ControlImpl* impl);
void UnregisterImpl(ControlImpl* impl);
// Orders the focus chain of the controls inside `content` by TabIndex, then creation.
void ReorderTabChain(QWidget* content);
// The widget that holds a window's controls.
QWidget* ContentWidgetOf(Object* window);

// ---- property rows over the design values ------------------------------------------------

// Raises IllegalCastException: the control's kind has no values of the type a row asks for.
[[noreturn]] void RaiseNoSuchValues(const ControlImpl& impl);

// The values of type `Values` of a control: its `state`, or the ones its kind declares.
template <class Values>
Values& ValuesOf(ControlImpl& impl) {
    if constexpr (std::is_same_v<Values, ControlValues>) {
        return impl.state;
    } else {
        Values* values = impl.FindValues<Values>();
        if (!values) RaiseNoSuchValues(impl);
        return *values;
    }
}

// A member of one of the value structs: its type and the struct that holds it.
template <class Member>
struct MemberOf;
template <class T, class Values>
struct MemberOf<T Values::*> {
    using Value = T;
    using Holder = Values;
};
template <auto Member>
using MemberValue = typename MemberOf<decltype(Member)>::Value;
template <auto Member>
using MemberHolder = typename MemberOf<decltype(Member)>::Holder;

template <auto Member>
MemberValue<Member> StateGet(Object* control, int32_t) {
    return ValuesOf<MemberHolder<Member>>(ImplOf(control)).*Member;
}

template <auto Member, Aspect A>
void StateSet(Object* control, int32_t, MemberValue<Member> value) {
    ControlImpl& impl = ImplOf(control);
    MemberHolder<Member>& values = ValuesOf<MemberHolder<Member>>(impl);
    impl.BeforeChange(A);
    values.*Member = std::move(value);
    impl.Apply(A);
}

// A writable property that holds its value in the design values and pushes it to the widget
// through `A`.
template <auto Member, Aspect A = Aspect::kKept>
PropertyRow StateProperty(const char* name, const char* typeText) {
    using T = MemberValue<Member>;
    return ComputedProperty<T>(name, kComputedWritable, typeText, &StateGet<Member>,
                               &StateSet<Member, A>);
}

// ---- class records ------------------------------------------------------------------------

// What a control class adds to its superclass's record: its own rows, its virtual slots and
// its __Init, and no fields. The record's counts are the superclass's plus the class's own.
struct ControlClassRows {
    const char* name;
    ClassRecord* (*superclass)();
    ObjectFn init = nullptr;
    uint32_t slotCount = 0;  // all slots, the superclass's included; 0: the superclass's
    std::span<const MethodRow> methods = {};
    std::span<const EventRow> events = {};
    std::span<const PropertyRow> properties = {};
};

// Builds the record that `rows` describe into `cell` (a control class's __ctblinit).
void BuildControlClass(ClassCell& cell, const ControlClassRows& rows);

// The number of rows of a class table.
template <class Row, size_t N>
constexpr uint32_t RowCount(const Row (&)[N]) {
    return static_cast<uint32_t>(N);
}

// The font rows that TextField, TextArea, Label and PushButton each declare.
std::span<const PropertyRow> FontPropertyRows();
// One class's property table from several parts, in order.
std::vector<PropertyRow> JoinRows(std::initializer_list<std::span<const PropertyRow>> parts);

}  // namespace controls
