// Label: a line (or, with MultiLine, a wrapped block) of plain text, a QLabel.
#include <QLabel>
#include <QPalette>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"

namespace controls {
namespace {

// The values only Label declares.
struct LabelValues {
    bool multiLine = false;
    bool selectable = false;
    int64_t textAlignment = 0;  // TextAlignments
    Color textColor{0x00, 0x00, 0x00, 0x00};
    bool textColorSet = false;  // until the program gives it, the palette's colour stays
    String value;               // the text shown
    String dataSource, dataField;
};

class LabelImpl : public WithValues<ControlImpl, FontValues, LabelValues> {
  public:
    explicit LabelImpl(Object* self) : WithValues(self, ControlKind::kLabel, KindEvents{}) {}

  protected:
    void BeforeOwnChange(Aspect aspect) override {
        if (aspect == Aspect::kTextColor) textColorSet = true;
    }

    QWidget* MakeWidget(QWidget* parent) override {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }

    void ApplyOwn(Aspect aspect) override {
        auto* label = static_cast<QLabel*>(Widget());
        switch (aspect) {
            case Aspect::kText:
                label->setText(ToQString(value));
                break;
            case Aspect::kTextColor: {
                if (!textColorSet) break;
                QPalette palette = label->palette();
                for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                    palette.setColor(group, QPalette::WindowText, ToQColor(textColor));
                label->setPalette(palette);
                break;
            }
            case Aspect::kWrap:
                label->setWordWrap(multiLine);
                [[fallthrough]];
            case Aspect::kAlignment:
                // One line sits in the middle of the label's height; wrapped text starts at the
                // top.
                label->setAlignment(HorizontalAlignment(textAlignment) |
                                    (multiLine ? Qt::AlignTop : Qt::AlignVCenter));
                break;
            case Aspect::kSelectable:
                label->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse |
                                                                Qt::TextSelectableByKeyboard
                                                          : Qt::NoTextInteraction);
                break;
            default:
                break;
        }
    }

    Qt::FocusPolicy NaturalFocusPolicy() const override {
        return selectable ? Qt::ClickFocus : Qt::NoFocus;
    }
};

ClassCell gLabel{nullptr, &Label::dunder_ctblinit};

}  // namespace
}  // namespace controls

void Label::dunder_ctblinit() {
    using controls::Aspect;
    using controls::LabelValues;
    using controls::StateProperty;
    // name and type; the aspect says what the value drives in the QLabel
    static const PropertyRow own[] = {
        StateProperty<&LabelValues::multiLine, Aspect::kWrap>("MultiLine", "b"),
        StateProperty<&LabelValues::selectable, Aspect::kSelectable>("Selectable", "b"),
        StateProperty<&LabelValues::textAlignment, Aspect::kAlignment>("TextAlignment",
                                                                       "i8<TextAlignments>"),
        StateProperty<&LabelValues::textColor, Aspect::kTextColor>("TextColor", "c"),
        StateProperty<&LabelValues::value, Aspect::kText>("Value", "s"),
        StateProperty<&LabelValues::dataSource>("DataSource", "s"),
        StateProperty<&LabelValues::dataField>("DataField", "s"),
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
