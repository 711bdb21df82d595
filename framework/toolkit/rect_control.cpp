// RectControl: a control with a rectangle on its window. Its record and constructor, and
// what every control's widget shares: geometry and edge locks, focus order and policy,
// enabling, visibility, tool tips, fonts.
#include <QApplication>
#include <QColor>
#include <QFont>
#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/window_widget.h"

namespace controls {

// ---- shared Qt helpers -----------------------------------------------------------------

namespace {

constexpr std::string_view kSystemFontName = "System";
constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

// FontUnits.
enum FontUnit : uint8_t {
    kUnitDefault = 0,
    kUnitPixel = 1,
    kUnitPoint = 2,
    kUnitInch = 3,
    kUnitMillimetre = 4
};

// TextAlignments.
enum TextAlignment : int64_t {
    kAlignDefault = 0,
    kAlignLeft = 1,
    kAlignCentre = 2,
    kAlignRight = 3
};

}  // namespace

QFont DesignFont(const FontValues& values) {
    QFont font = QApplication::font();
    if (!values.fontName.Empty() && values.fontName.View() != kSystemFontName)
        font.setFamilies({ToQString(values.fontName)});
    if (values.fontSize > 0) {
        double size = values.fontSize;
        switch (values.fontUnit) {
            // Design sizes in the default unit are laid out on a grid where a point is one
            // pixel (a 22-pixel field holds 12-unit text), so they are pixel sizes here too;
            // as points on a 96-dpi screen the text would not fit its controls.
            case kUnitDefault:
            case kUnitPixel:
                font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
                break;
            case kUnitInch:
                font.setPointSizeF(size * kPointsPerInch);
                break;
            case kUnitMillimetre:
                font.setPointSizeF(size * kPointsPerInch / kMillimetresPerInch);
                break;
            case kUnitPoint:
            default:
                font.setPointSizeF(size);
                break;
        }
    }
    font.setBold(values.bold);
    font.setItalic(values.italic);
    font.setUnderline(values.underline);
    return font;
}

Qt::Alignment HorizontalAlignment(int64_t textAlignment) {
    switch (textAlignment) {
        case kAlignCentre:
            return Qt::AlignHCenter;
        case kAlignRight:
            return Qt::AlignRight;
        case kAlignDefault:
        case kAlignLeft:
        default:
            return Qt::AlignLeft;
    }
}

// The window's content area, below its menu bar: the parent of its controls' widgets.
QWidget* ContentWidgetOf(Object* window) {
    QWidget* widget = window ? ToolkitWindowWidget(window) : nullptr;
    if (auto* top = dynamic_cast<WindowWidget*>(widget)) return top->Content();
    return widget;
}

std::span<const PropertyRow> FontPropertyRows() {
    static const PropertyRow rows[] = {
        StateProperty<&FontValues::fontName, Aspect::kFont>("FontName", "s"),
        StateProperty<&FontValues::fontSize, Aspect::kFont>("FontSize", "f4"),
        StateProperty<&FontValues::fontUnit, Aspect::kFont>("FontUnit", "u1<FontUnits>"),
        StateProperty<&FontValues::bold, Aspect::kFont>("Bold", "b"),
        StateProperty<&FontValues::italic, Aspect::kFont>("Italic", "b"),
        StateProperty<&FontValues::underline, Aspect::kFont>("Underline", "b"),
    };
    return rows;
}

void RaiseNoSuchValues(const ControlImpl& impl) {
    RuntimeRaiseNew(
        IllegalCastException::dunder_Lookup(),
        std::string("a control of class ") + impl.Self()->cls->name + " has no such property");
}

std::vector<PropertyRow> JoinRows(std::initializer_list<std::span<const PropertyRow>> parts) {
    std::vector<PropertyRow> rows;
    for (std::span<const PropertyRow> part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

// ---- the registry of live implementations, for the focus order -----------------------------

namespace {

std::vector<ControlImpl*>& LiveImpls() {
    static auto* impls = new std::vector<ControlImpl*>();
    return *impls;
}

}  // namespace

void RegisterImpl(ControlImpl* impl) {
    LiveImpls().push_back(impl);
}
void UnregisterImpl(ControlImpl* impl) {
    std::erase(LiveImpls(), impl);
}

void ReorderTabChain(QWidget* content) {
    if (!content) return;
    std::vector<ControlImpl*> chain;
    for (ControlImpl* impl : LiveImpls()) {
        QWidget* widget = impl->Widget();
        if (widget && widget->parentWidget() == content && widget->focusPolicy() != Qt::NoFocus)
            chain.push_back(impl);
    }
    std::stable_sort(chain.begin(), chain.end(), [](ControlImpl* a, ControlImpl* b) {
        if (a->state.tabIndex != b->state.tabIndex) return a->state.tabIndex < b->state.tabIndex;
        return a->Sequence() < b->Sequence();
    });
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1]->Widget(), chain[i]->Widget());
}

// ---- applying the design values to the widget -----------------------------------------

void ControlImpl::BeforeChange(Aspect aspect) {
    if (aspect == Aspect::kGeometry || aspect == Aspect::kLocks) {
        Rebase();
    } else {
        BeforeOwnChange(aspect);
    }
}

void ControlImpl::Apply(Aspect aspect) {
    if (!widget_ || aspect == Aspect::kKept) return;
    ApplyCommon(aspect);
}

void ControlImpl::ApplyAll() {
    for (int aspect = static_cast<int>(Aspect::kKept) + 1;
         aspect < static_cast<int>(Aspect::kCount); ++aspect)
        Apply(static_cast<Aspect>(aspect));
}

void ControlImpl::ApplyCommon(Aspect aspect) {
    QWidget* widget = widget_.data();
    switch (aspect) {
        case Aspect::kName:
            widget->setObjectName(ToQString(state.name));
            break;
        case Aspect::kGeometry:
        case Aspect::kLocks:
            widget->setGeometry(CurrentRect());
            break;
        case Aspect::kTabOrder:
            ReorderTabChain(widget->parentWidget());
            break;
        case Aspect::kEnabled:
            widget->setEnabled(state.enabled);
            break;
        case Aspect::kTooltip:
            widget->setToolTip(ToQString(state.tooltip));
            break;
        case Aspect::kTransparent:
            widget->setAutoFillBackground(!state.transparent);
            break;
        case Aspect::kVisible:
            // A widget outside any window stays hidden: shown, it would be a window itself.
            if (widget->parentWidget()) widget->setVisible(state.visible);
            break;
        case Aspect::kFocusRing: {
            // A kind without AllowFocusRing shows the ring, as the others do until told not to.
            const FocusValues* focus = FindValues<FocusValues>();
            widget->setAttribute(Qt::WA_MacShowFocusRect, !focus || focus->allowFocusRing);
            break;
        }
        case Aspect::kFont: {
            // A kind without font properties gets the system font the others start with.
            const FontValues* font = FindValues<FontValues>();
            widget->setFont(DesignFont(font ? *font : FontValues{}));
            break;
        }
        case Aspect::kFocusPolicy:
        case Aspect::kSelectable: {
            if (aspect == Aspect::kSelectable) ApplyOwn(aspect);
            // TabStop decides whether the Tab key stops; clicking still focuses.
            Qt::FocusPolicy policy = NaturalFocusPolicy();
            if (!state.tabStop) policy = (policy & Qt::ClickFocus) ? Qt::ClickFocus : Qt::NoFocus;
            widget->setFocusPolicy(policy);
            ReorderTabChain(widget->parentWidget());
            break;
        }
        default:
            ApplyOwn(aspect);
            break;
    }
}

// ---- geometry and edge locks ------------------------------------------------------------

// The design rectangle belongs to the content size `reference_`. A locked right (bottom)
// edge keeps its distance to the content's right (bottom): the control stretches when its
// left (top) is locked too, and moves otherwise.
QRect ControlImpl::CurrentRect() const {
    int64_t left = state.left, top = state.top, width = state.width, height = state.height;
    QWidget* content = widget_ ? widget_->parentWidget() : nullptr;
    if (content && reference_.isValid()) {
        int64_t dx = content->width() - reference_.width();
        int64_t dy = content->height() - reference_.height();
        if (state.lockRight) (state.lockLeft ? width : left) += dx;
        if (state.lockBottom) (state.lockTop ? height : top) += dy;
    }
    return ToQRect(left, top, std::max<int64_t>(width, 0), std::max<int64_t>(height, 0));
}

// Makes the current rectangle the design rectangle of the content's current size, so that
// a change of one edge or lock starts from where the control stands now.
void ControlImpl::Rebase() {
    QWidget* content = widget_ ? widget_->parentWidget() : nullptr;
    if (!content || !reference_.isValid()) return;
    QRect now = CurrentRect();
    state.left = now.x();
    state.top = now.y();
    state.width = now.width();
    state.height = now.height();
    reference_ = content->size();
}

void ControlImpl::ParentResized(QSize size) {
    if (!reference_.isValid()) reference_ = size;
    Apply(Aspect::kGeometry);
}

// ---- a plain RectControl ----------------------------------------------------------------

PlainImpl::PlainImpl(Object* self) : ControlImpl(self, ControlKind::kPlain, KindEvents{}) {}

QWidget* PlainImpl::MakeWidget(QWidget* parent) {
    return new QWidget(parent);
}

}  // namespace controls

// ---- the class record ------------------------------------------------------------------

using controls::Aspect;
using controls::ControlValues;
using controls::ImplOf;
using controls::StateProperty;
using controls::StateSet;

namespace {

enum class Edge { kLeft, kTop, kWidth, kHeight };

template <Edge E>
int64_t RectGet(Object* control, int32_t) {
    QRect rect = ImplOf(control).CurrentRect();
    switch (E) {
        case Edge::kLeft:
            return rect.x();
        case Edge::kTop:
            return rect.y();
        case Edge::kWidth:
            return rect.width();
        case Edge::kHeight:
            return rect.height();
    }
    return 0;
}

template <Edge E, auto Member>
PropertyRow EdgeProperty(const char* name) {
    return ComputedProperty<int64_t>(name, kComputedWritable, "i8", &RectGet<E>,
                                     &StateSet<Member, Aspect::kGeometry>);
}

void RectSetFocus(Object* self) {
    if (QWidget* widget = ImplOf(self).Widget()) widget->setFocus(Qt::OtherFocusReason);
}
void RectRefresh(Object* self, bool) {
    if (QWidget* widget = ImplOf(self).Widget()) widget->repaint();
}
void RectInvalidate(Object* self, bool) {
    if (QWidget* widget = ImplOf(self).Widget()) widget->update();
}
void RectRefreshRect(Object* self, int64_t x, int64_t y, int64_t width, int64_t height, bool) {
    if (QWidget* widget = ImplOf(self).Widget()) widget->repaint(ToQRect(x, y, width, height));
}

// Virtual slots after Control's four.
constexpr uint32_t kSetFocusSlot = 4;
constexpr uint32_t kRefreshSlot = 5;
constexpr uint32_t kInvalidateSlot = 7;
constexpr uint32_t kRefreshRectSlot = 8;
constexpr uint32_t kRectControlSlotCount = 9;
static_assert(controls::kKeyDownEvent == RectControl::kKeyDownEvent);

ClassCell gRectControl{nullptr, &RectControl::dunder_ctblinit};

}  // namespace

void RectControlDefaultConstructor(Object* control) {
    ImplOf(control).Construct();
}

bool ControlVisibleGetter(Object* control, int32_t) {
    return ImplOf(control).state.visible;
}
void ControlVisibleSetter(Object* control, int32_t offset, bool visible) {
    StateSet<&ControlValues::visible, Aspect::kVisible>(control, offset, visible);
}

void RectControl::dunder_ctblinit() {
    // name            flags           signature        function                 slot
    static const MethodRow methods[] = {
        Method("SetFocus", kPublicVirtual, "%%", &RectSetFocus, kSetFocusSlot),
        Method("Refresh", kPublicVirtual, "%%b", &RectRefresh, kRefreshSlot),
        Method("Constructor", kPublicVirtual, "%%", &RectControlDefaultConstructor,
               kConstructorSlot),
        Method("Invalidate", kPublicVirtual, "%%b", &RectInvalidate, kInvalidateSlot),
        Method("RefreshRect", kPublicVirtual, "%%i8i8i8i8b", &RectRefreshRect, kRefreshRectSlot),
    };
    // Numbered 3 to 14, after Control's; KeyDown is 9.
    static const EventRow events[] = {
        {"ConstructContextualMenu"},
        {"ContextualMenuAction"},
        {"DragEnter"},
        {"DragExit"},
        {"DragOver"},
        {"DropObject"},
        {"KeyDown"},
        {"KeyUp"},
        {"MouseEnter"},
        {"MouseExit"},
        {"MouseMove"},
        {"MouseWheel"},
    };
    // name, type, and the aspect of the widget the value drives
    static const PropertyRow properties[] = {
        EdgeProperty<Edge::kLeft, &ControlValues::left>("Left"),
        EdgeProperty<Edge::kTop, &ControlValues::top>("Top"),
        EdgeProperty<Edge::kWidth, &ControlValues::width>("Width"),
        EdgeProperty<Edge::kHeight, &ControlValues::height>("Height"),
        StateProperty<&ControlValues::lockLeft, Aspect::kLocks>("LockLeft", "b"),
        StateProperty<&ControlValues::lockTop, Aspect::kLocks>("LockTop", "b"),
        StateProperty<&ControlValues::lockRight, Aspect::kLocks>("LockRight", "b"),
        StateProperty<&ControlValues::lockBottom, Aspect::kLocks>("LockBottom", "b"),
        StateProperty<&ControlValues::tabIndex, Aspect::kTabOrder>("TabIndex", "i8"),
        StateProperty<&ControlValues::tabStop, Aspect::kFocusPolicy>("TabStop", "b"),
        StateProperty<&ControlValues::allowAutoDeactivate>("AllowAutoDeactivate", "b"),
        StateProperty<&ControlValues::enabled, Aspect::kEnabled>("Enabled", "b"),
        StateProperty<&ControlValues::tooltip, Aspect::kTooltip>("Tooltip", "s"),
        StateProperty<&ControlValues::transparent, Aspect::kTransparent>("Transparent", "b"),
        ComputedProperty<bool>("Visible", kComputedWritable, "b", &ControlVisibleGetter,
                               &ControlVisibleSetter),
        StateProperty<&ControlValues::initialParent>("InitialParent", "s"),
    };
    controls::BuildControlClass(gRectControl, {.name = "RectControl",
                                               .superclass = &Control::dunder_Lookup,
                                               .slotCount = kRectControlSlotCount,
                                               .methods = methods,
                                               .events = events,
                                               .properties = properties});
}
ClassRecord* RectControl::dunder_Lookup() {
    return RuntimeLookupClass(gRectControl);
}
