// What the control classes share: the design state every control keeps, the implementation
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
#include <vector>

#include "framework/runtime/runtime.h"
#include "framework/toolkit/qt_values.h"

class QColor;
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

// ---- design state ----------------------------------------------------------------------

// The design values of a control, whatever its kind; each kind declares and reads its own.
struct ControlState {
    // Control
    String name;
    int64_t index = 0;
    int64_t tabPanelIndex = 0;
    // RectControl; the rectangle is the one the locks keep relative to the reference size
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
    // the text-showing kinds
    bool allowSpellChecking = false;
    Color backgroundColor{0xFF, 0xFF, 0xFF, 0x00};
    bool hasBorder = true;
    String format;
    bool password = false;
    Color textColor{0x00, 0x00, 0x00, 0x00};
    bool allowFocusRing = true;
    String fontName = "System";
    float fontSize = 0;    // 0: the application's default size
    uint8_t fontUnit = 0;  // FontUnits
    bool bold = false, italic = false, underline = false;
    String hint;
    String value;  // the text shown; a text edit keeps it in step with its widget
    bool allowTabs = false;
    int64_t textAlignment = 0;  // TextAlignments
    int64_t maximumCharactersAllowed = 0;
    String validationMask;
    bool readOnly = false;
    String dataSource, dataField;
    // TextArea
    bool hideSelection = true;
    double lineHeight = 0, lineSpacing = 1;
    bool multiLine = false;
    bool hasHorizontalScrollbar = false, hasVerticalScrollbar = true;
    bool allowStyledText = false;
    // Label
    bool selectable = false;
    // PushButton
    int64_t macButtonStyle = 0;  // PushButton.MacButtonStyles
    bool cancel = false, isDefault = false;
    String caption;
    // Canvas
    bool allowFocus = false;
    bool doubleBuffer = false;
    Ref<Object> backdrop;  // a Picture, or nil

    // Whether the program has given the colours; until then the widget keeps its palette's.
    bool backgroundColorSet = false, textColorSet = false;
};

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

    ControlState state;

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

// A plain RectControl: an empty widget.
class PlainImpl : public ControlImpl {
  public:
    explicit PlainImpl(Object* self);

  protected:
    QWidget* MakeWidget(QWidget* parent) override;
};

// What TextField and TextArea share: the text, its selection and the editing commands.
class TextEditImpl : public ControlImpl {
  public:
    using ControlImpl::ControlImpl;

    // Selection, in characters of the text; 0 and "" while there is no widget.
    virtual int64_t SelStart() const = 0;
    virtual int64_t SelLength() const = 0;
    virtual String SelText() const = 0;
    virtual void Select(int64_t start, int64_t length) = 0;
    // Program edits: they replace or extend the text whatever its limit.
    virtual void ReplaceSelection(const String& text) = 0;
    virtual void AppendText(const String& text) = 0;
    // The Edit commands, as the user gives them.
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    virtual void SelectAll() = 0;

  protected:
    // The widget's text has changed: the state follows it and TextChange is raised.
    void TextChanged(const QString& text);
};

// TextEdit's own events, which TextField and TextArea inherit.
constexpr KindEvents kTextEditEvents{
    .gotFocus = 15, .lostFocus = 16, .selChange = 17, .textChange = 18};

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
QFont DesignFont(const ControlState& state);
// TextAlignments as a horizontal Qt alignment: 0 default and 1 left, 2 centre, 3 right.
Qt::Alignment HorizontalAlignment(int64_t textAlignment);
// The text and background colours the program gave, on the roles a text editor paints.
void ApplyTextColors(QWidget* widget, const ControlState& state);
// The selection of an editor without the focus: hidden or shown as with the focus.
void ApplyInactiveSelection(QWidget* widget, bool hide);
// The number of characters (code points) of a text.
int64_t CharacterCount(const QString& text);
// The first `count` characters of a text.
QString FirstCharacters(const QString& text, int64_t count);
// The live implementations, which the focus order walks.
void RegisterImpl(ControlImpl* impl);
void UnregisterImpl(ControlImpl* impl);
// Orders the focus chain of the controls inside `content` by TabIndex, then creation.
void ReorderTabChain(QWidget* content);
// The widget that holds a window's controls.
QWidget* ContentWidgetOf(Object* window);

// ---- property rows over the design state -------------------------------------------------

template <auto Member>
using MemberValue = std::remove_cvref_t<decltype(std::declval<ControlState&>().*Member)>;

template <auto Member>
MemberValue<Member> StateGet(Object* control, int32_t) {
    return ImplOf(control).state.*Member;
}

template <auto Member, Aspect A>
void StateSet(Object* control, int32_t, MemberValue<Member> value) {
    ControlImpl& impl = ImplOf(control);
    impl.BeforeChange(A);
    impl.state.*Member = std::move(value);
    impl.Apply(A);
}

// A writable property that holds its value in the design state and pushes it to the widget
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
