// Label: a line (or, with MultiLine, a wrapped block) of plain text, a QLabel.
#include <QLabel>
#include <QPalette>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"

namespace controls {
namespace {

class LabelImpl : public ControlImpl {
  public:
    explicit LabelImpl(Object* self) : ControlImpl(self, ControlKind::kLabel, KindEvents{}) {}

  protected:
    QWidget* MakeWidget(QWidget* parent) override {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }

    void ApplyOwn(Aspect aspect) override {
        auto* label = static_cast<QLabel*>(Widget());
        switch (aspect) {
            case Aspect::kText:
                label->setText(ToQString(state.value));
                break;
            case Aspect::kTextColor: {
                if (!state.textColorSet) break;
                QPalette palette = label->palette();
                for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                    palette.setColor(group, QPalette::WindowText, ToQColor(state.textColor));
                label->setPalette(palette);
                break;
            }
            case Aspect::kWrap:
                label->setWordWrap(state.multiLine);
                [[fallthrough]];
            case Aspect::kAlignment:
                // One line sits in the middle of the label's height; wrapped text starts at the
                // top.
                label->setAlignment(HorizontalAlignment(state.textAlignment) |
                                    (state.multiLine ? Qt::AlignTop : Qt::AlignVCenter));
                break;
            case Aspect::kSelectable:
                label->setTextInteractionFlags(state.selectable ? Qt::TextSelectableByMouse |
                                                                      Qt::TextSelectableByKeyboard
                                                                : Qt::NoTextInteraction);
                break;
            default:
                break;
        }
    }

    Qt::FocusPolicy NaturalFocusPolicy() const override {
        return state.selectable ? Qt::ClickFocus : Qt::NoFocus;
    }
};

ClassCell gLabel{nullptr, &Label::dunder_ctblinit};

}  // namespace
}  // namespace controls

void Label::dunder_ctblinit() {
    using controls::Aspect;
    using controls::ControlState;
    using controls::StateProperty;
    // name and type; the aspect says what the value drives in the QLabel
    static const PropertyRow own[] = {
        StateProperty<&ControlState::multiLine, Aspect::kWrap>("MultiLine", "b"),
        StateProperty<&ControlState::selectable, Aspect::kSelectable>("Selectable", "b"),
        StateProperty<&ControlState::textAlignment, Aspect::kAlignment>("TextAlignment",
                                                                        "i8<TextAlignments>"),
        StateProperty<&ControlState::textColor, Aspect::kTextColor>("TextColor", "c"),
        StateProperty<&ControlState::value, Aspect::kText>("Value", "s"),
        StateProperty<&ControlState::dataSource>("DataSource", "s"),
        StateProperty<&ControlState::dataField>("DataField", "s"),
    };
    static const std::vector<PropertyRow> properties =
        controls::JoinRows({own, controls::FontPropertyRows()});
    controls::BuildControlClass(controls::gLabel, {.name = "Label",
                                                   .superclass = &RectControl::dunder_Lookup,
                                                   .init = &controls::InitImpl<controls::LabelImpl>,
                                                   .properties = properties});
}
ClassRecord* Label::dunder_Lookup() {
    return RuntimeLookupClass(controls::gLabel);
}
