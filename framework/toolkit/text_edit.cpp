// TextEdit: what a text field and a text area share. Its record, the Text property the
// program reads and writes, the selection, and the colours of a text editor.
#include <QPalette>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"

namespace controls {

void TextEditImpl::TextChanged(const QString& text) {
    String now = FromQString(text);
    if (now == state.value) return;  // a change of format only
    state.value = std::move(now);
    SendEvent(Events().textChange);
}

void ApplyTextColors(QWidget* widget, const ControlState& state) {
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        if (state.textColorSet) palette.setColor(group, QPalette::Text, ToQColor(state.textColor));
        if (state.backgroundColorSet)
            palette.setColor(group, QPalette::Base, ToQColor(state.backgroundColor));
    }
    widget->setPalette(palette);
}

void ApplyInactiveSelection(QWidget* widget, bool hide) {
    QPalette palette = widget->palette();
    QPalette::ColorGroup source = hide ? QPalette::Inactive : QPalette::Active;
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(source, hide ? QPalette::Base : QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(source, hide ? QPalette::Text : QPalette::HighlightedText));
    widget->setPalette(palette);
}

}  // namespace controls

using controls::Aspect;
using controls::ControlState;
using controls::ImplOf;
using controls::StateProperty;
using controls::StateSet;

namespace {

controls::TextEditImpl& TextImplOf(Object* control) {
    RuntimeCheckCast(RuntimeRequire(control), TextEdit::dunder_Lookup());
    return static_cast<controls::TextEditImpl&>(ImplOf(control));
}

int64_t SelStartGetter(Object* self, int32_t) {
    return TextImplOf(self).SelStart();
}
void SelStartSetter(Object* self, int32_t, int64_t start) {
    TextImplOf(self).Select(start, 0);
}
int64_t SelLengthGetter(Object* self, int32_t) {
    return TextImplOf(self).SelLength();
}
void SelLengthSetter(Object* self, int32_t, int64_t length) {
    controls::TextEditImpl& impl = TextImplOf(self);
    impl.Select(impl.SelStart(), length);
}
String SelTextGetter(Object* self, int32_t) {
    return TextImplOf(self).SelText();
}
void SelTextSetter(Object* self, int32_t, String text) {
    TextImplOf(self).ReplaceSelection(text);
}

void TextEditAppendText(Object* self, String text) {
    TextImplOf(self).AppendText(text);
}
void TextEditCopy(Object* self) {
    TextImplOf(self).Copy();
}
void TextEditPaste(Object* self) {
    TextImplOf(self).Paste();
}
void TextEditSelectAll(Object* self) {
    TextImplOf(self).SelectAll();
}

// Virtual slots after RectControl's nine.
constexpr uint32_t kAppendTextSlot = 9;
constexpr uint32_t kCopySlot = 10;
constexpr uint32_t kPasteSlot = 11;
constexpr uint32_t kSelectAllSlot = 12;
constexpr uint32_t kTextEditSlotCount = 13;

ClassCell gTextEdit{nullptr, &TextEdit::dunder_ctblinit};

}  // namespace

String editTextGetter(Object* field, int32_t) {
    return ImplOf(field).state.value;
}

void editTextSetter(Object* field, int32_t offset, String text) {
    StateSet<&ControlState::value, Aspect::kText>(field, offset, std::move(text));
}

void TextEdit::dunder_ctblinit() {
    // name           flags           signature  function              slot
    static const MethodRow methods[] = {
        Method("AppendText", kPublicVirtual, "%%s", &TextEditAppendText, kAppendTextSlot),
        Method("Copy", kPublicVirtual, "%%", &TextEditCopy, kCopySlot),
        Method("Paste", kPublicVirtual, "%%", &TextEditPaste, kPasteSlot),
        Method("SelectAll", kPublicVirtual, "%%", &TextEditSelectAll, kSelectAllSlot),
    };
    // Numbered 15 to 18, after RectControl's.
    static const EventRow events[] = {{"GotFocus"}, {"LostFocus"}, {"SelChange"}, {"TextChange"}};
    static const PropertyRow properties[] = {
        StateProperty<&ControlState::allowSpellChecking>("AllowSpellChecking", "b"),
        ComputedProperty<String>("Text", kComputedWritable, "s", &editTextGetter, &editTextSetter),
        ComputedProperty<int64_t>("SelStart", kComputedWritable, "i8", &SelStartGetter,
                                  &SelStartSetter),
        ComputedProperty<int64_t>("SelLength", kComputedWritable, "i8", &SelLengthGetter,
                                  &SelLengthSetter),
        ComputedProperty<String>("SelText", kComputedWritable, "s", &SelTextGetter, &SelTextSetter),
    };
    controls::BuildControlClass(gTextEdit, {.name = "TextEdit",
                                            .superclass = &RectControl::dunder_Lookup,
                                            .slotCount = kTextEditSlotCount,
                                            .methods = methods,
                                            .events = events,
                                            .properties = properties});
}
ClassRecord* TextEdit::dunder_Lookup() {
    return RuntimeLookupClass(gTextEdit);
}
