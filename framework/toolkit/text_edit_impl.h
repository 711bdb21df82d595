// What TextField and TextArea share: the values both classes declare, the implementation that
// keeps the text, its selection and the editing commands, and the property rows over them.
#pragma once

#include <span>

#include "framework/toolkit/control_impl.h"

namespace controls {

// The values TextField and TextArea each declare, and TextEdit's own AllowSpellChecking.
struct TextEditValues {
    bool allowSpellChecking = false;
    Color backgroundColor{0xFF, 0xFF, 0xFF, 0x00};
    bool hasBorder = true;
    String format;
    Color textColor{0x00, 0x00, 0x00, 0x00};
    String value;               // the text shown, kept in step with the widget
    int64_t textAlignment = 0;  // TextAlignments
    int64_t maximumCharactersAllowed = 0;
    String validationMask;
    bool readOnly = false;
    String dataSource, dataField;
    // Whether the program has given the colours; until then the widget keeps its palette's.
    bool backgroundColorSet = false, textColorSet = false;
};

// TextEdit's own events, which TextField and TextArea inherit.
constexpr KindEvents kTextEditEvents{
    .gotFocus = 15, .lostFocus = 16, .selChange = 17, .textChange = 18};

class TextEditImpl : public WithValues<ControlImpl, FontValues, FocusValues, TextEditValues> {
  public:
    TextEditImpl(Object* self, ControlKind kind) : WithValues(self, kind, kTextEditEvents) {}

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
    // The widget's text has changed: the values follow it and TextChange is raised.
    void TextChanged(const QString& text);

    void BeforeOwnChange(Aspect aspect) override;
    void ApplyOwn(Aspect aspect) override;
    Qt::FocusPolicy NaturalFocusPolicy() const override { return Qt::StrongFocus; }
};

// What a text edit does through its editor widget's own class: QLineEdit and QTextEdit have
// these operations alike, but no common base that declares them.
template <class Editor>
class EditorImpl : public TextEditImpl {
  public:
    using TextEditImpl::TextEditImpl;

    void Copy() override {
        if (Editor* editor = EditorWidget()) editor->copy();
    }
    void Paste() override {
        if (Editor* editor = EditorWidget()) editor->paste();
    }
    void SelectAll() override {
        if (Editor* editor = EditorWidget()) editor->selectAll();
    }

  protected:
    Editor* EditorWidget() const { return static_cast<Editor*>(Widget()); }

    void ApplyOwn(Aspect aspect) override {
        if (aspect == Aspect::kReadOnly) {
            EditorWidget()->setReadOnly(readOnly);
        } else {
            TextEditImpl::ApplyOwn(aspect);
        }
    }
};

// The property rows that TextField and TextArea each declare over the values above; each
// class adds its own and the font's.
std::span<const PropertyRow> EditorPropertyRows();

// The number of characters (code points) of a text.
int64_t CharacterCount(const QString& text);
// The first `count` characters of a text.
QString FirstCharacters(const QString& text, int64_t count);

}  // namespace controls
