// TextEdit: what a text field and a text area share. Its record, the Text property the
// program reads and writes, the selection, the colours of a text editor, and the property
// rows that both classes declare.
#include <QPalette>

#include "framework/toolkit/controls.h"
#include "framework/toolkit/text_edit_impl.h"

namespace controls {

void TextEditImpl::TextChanged(const QString& text) {
    String now = FromQString(text);
    if (now == value) return;  // a change of format only
    value = std::move(now);
    SendEvent(Events().textChange);
}

void TextEditImpl::BeforeOwnChange(Aspect aspect) {
    if (aspect == Aspect::kTextColor) textColorSet = true;
    if (aspect == Aspect::kBackgroundColor) backgroundColorSet = true;
}

// The text and background colours the program gave, on the roles a text editor paints.
void TextEditImpl::ApplyOwn(Aspect aspect) {
    if (aspect != Aspect::kTextColor && aspect != Aspect::kBackgroundColor) return;
    QWidget* widget = Widget();
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        if (textColorSet) palette.setColor(group, QPalette::Text, ToQColor(textColor));
        if (backgroundColorSet) palette.setColor(group, QPalette::Base, ToQColor(backgroundColor));
    }
    widget->setPalette(palette);
}

int64_t CharacterCount(const QString& text) {
    int64_t count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!text[i].isLowSurrogate()) ++count;
    return count;
}

QString FirstCharacters(const QString& text, int64_t count) {
    qsizetype units = 0;
    for (int64_t taken = 0; units < text.size() && taken < count; ++taken)
        units += text[units].isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return text.left(units);
}

}  // namespace controls

using controls::Aspect;
using controls::FocusValues;
using controls::ImplOf;
using controls::StateProperty;
using controls::StateSet;
using controls::TextEditValues;

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
    return controls::ValuesOf<TextEditValues>(ImplOf(field)).value;
}

void editTextSetter(Object* field, int32_t offset, String text) {
    StateSet<&TextEditValues::value, Aspect::kText>(field, offset, std::move(text));
}

namespace controls {

std::span<const PropertyRow> EditorPropertyRows() {
    // name and type; the aspect says what the value drives in the editor widget
    static const PropertyRow rows[] = {
        StateProperty<&TextEditValues::backgroundColor, Aspect::kBackgroundColor>("BackgroundColor",
                                                                                  "c"),
        StateProperty<&TextEditValues::hasBorder, Aspect::kBorder>("HasBorder", "b"),
        StateProperty<&TextEditValues::format>("Format", "s"),
        StateProperty<&TextEditValues::textColor, Aspect::kTextColor>("TextColor", "c"),
        StateProperty<&FocusValues::allowFocusRing, Aspect::kFocusRing>("AllowFocusRing", "b"),
        ComputedProperty<String>("Value", kComputedWritable, "s", &editTextGetter, &editTextSetter),
        StateProperty<&FocusValues::allowTabs, Aspect::kTabs>("AllowTabs", "b"),
        StateProperty<&TextEditValues::textAlignment, Aspect::kAlignment>("TextAlignment",
                                                                          "i8<TextAlignments>"),
        StateProperty<&TextEditValues::maximumCharactersAllowed, Aspect::kLimit>(
            "MaximumCharactersAllowed", "i8"),
        StateProperty<&TextEditValues::validationMask>("ValidationMask", "s"),
        StateProperty<&TextEditValues::readOnly, Aspect::kReadOnly>("ReadOnly", "b"),
        StateProperty<&TextEditValues::dataSource>("DataSource", "s"),
        StateProperty<&TextEditValues::dataField>("DataField", "s"),
    };
    return rows;
}

}  // namespace controls

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
        StateProperty<&TextEditValues::allowSpellChecking>("AllowSpellChecking", "b"),
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
