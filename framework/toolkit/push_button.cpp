// PushButton: a QPushButton. A click raises Action; a press raises MouseDown first, and
// True from it keeps the press from the button. Cancel makes Escape click the button.
#include <QPushButton>
#include <QShortcut>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"

namespace controls {
namespace {

// Numbered from 15, after RectControl's.
constexpr KindEvents kPushButtonEvents{
    .action = 15, .gotFocus = 16, .lostFocus = 17, .mouseDown = 18, .mouseDrag = 19, .mouseUp = 20};
static_assert(kPushButtonEvents.action == PushButton::kActionEvent);
static_assert(kPushButtonEvents.mouseDown == PushButton::kMouseDownEvent);

// The values only PushButton declares.
struct PushButtonValues {
    int64_t macButtonStyle = 0;  // PushButton.MacButtonStyles
    bool cancel = false, isDefault = false;
    String caption;
};

class PushButtonImpl : public WithValues<ControlImpl, FontValues, PushButtonValues> {
  public:
    explicit PushButtonImpl(Object* self)
        : WithValues(self, ControlKind::kPushButton, kPushButtonEvents) {}

    void Push() {
        if (QPushButton* button = Button()) button->click();
    }

  protected:
    QWidget* MakeWidget(QWidget* parent) override {
        auto* button = new QPushButton(parent);
        cancelKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), button);
        cancelKey_->setContext(Qt::WindowShortcut);
        cancelKey_->setEnabled(false);
        return button;
    }

    void ConnectSignals(QObject* context) override {
        QPushButton* button = Button();
        QObject::connect(button, &QPushButton::clicked, context,
                         [this] { SendEvent(Events().action); });
        QObject::connect(cancelKey_, &QShortcut::activated, context, [this] {
            QPushButton* pushed = Button();
            if (pushed && pushed->isEnabled() && pushed->isVisible()) pushed->click();
        });
    }

    void ApplyOwn(Aspect aspect) override {
        QPushButton* button = Button();
        switch (aspect) {
            case Aspect::kText:
                button->setText(ToQString(caption));
                break;
            case Aspect::kDefault:
                // Return clicks a default button that has the focus (the default look too).
                button->setDefault(isDefault);
                button->setAutoDefault(isDefault);
                break;
            case Aspect::kCancel:
                cancelKey_->setEnabled(cancel);
                break;
            default:
                break;
        }
    }

    Qt::FocusPolicy NaturalFocusPolicy() const override { return Qt::StrongFocus; }

  private:
    QPushButton* Button() const { return static_cast<QPushButton*>(Widget()); }

    QPointer<QShortcut> cancelKey_;
};

void PushButtonPush(Object* self) {
    RuntimeCheckCast(RuntimeRequire(self), PushButton::dunder_Lookup());
    static_cast<PushButtonImpl&>(ImplOf(self)).Push();
}

constexpr uint32_t kPushSlot = 9;
constexpr uint32_t kPushButtonSlotCount = 10;

ClassCell gPushButton{nullptr, &PushButton::dunder_ctblinit};

}  // namespace
}  // namespace controls

void PushButton::dunder_ctblinit() {
    using controls::Aspect;
    using controls::PushButtonValues;
    using controls::StateProperty;
    // name     flags           signature  function                    slot
    static const MethodRow methods[] = {
        Method("Push", kPublicVirtual, "%%", &controls::PushButtonPush, controls::kPushSlot),
    };
    static const EventRow events[] = {{"Action"},    {"GotFocus"},  {"LostFocus"},
                                      {"MouseDown"}, {"MouseDrag"}, {"MouseUp"}};
    // name and type; the aspect says what the value drives in the QPushButton
    static const PropertyRow own[] = {
        StateProperty<&PushButtonValues::macButtonStyle>("MacButtonStyle",
                                                         "i8<PushButton.MacButtonStyles>"),
        StateProperty<&PushButtonValues::cancel, Aspect::kCancel>("Cancel", "b"),
        StateProperty<&PushButtonValues::caption, Aspect::kText>("Caption", "s"),
        StateProperty<&PushButtonValues::isDefault, Aspect::kDefault>("Default", "b"),
    };
    static const std::vector<PropertyRow> properties =
        controls::JoinRows({own, controls::FontPropertyRows()});
    controls::BuildControlClass(controls::gPushButton,
                                {.name = "PushButton",
                                 .superclass = &RectControl::dunder_Lookup,
                                 .init = &controls::InitImpl<controls::PushButtonImpl>,
                                 .slotCount = controls::kPushButtonSlotCount,
                                 .methods = methods,
                                 .events = events,
                                 .properties = properties});
}
ClassRecord* PushButton::dunder_Lookup() {
    return RuntimeLookupClass(controls::gPushButton);
}
