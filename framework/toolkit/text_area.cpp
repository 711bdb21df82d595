// TextArea: several lines of plain text, a QTextEdit (which, unlike QPlainTextEdit, honours
// line heights and a document-wide alignment).
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"

namespace controls {
namespace {

constexpr double kPercent = 100.0;
constexpr QChar kParagraphSeparator(0x2029);  // how QTextCursor::selectedText() ends a line

// The editor widget: MaximumCharactersAllowed refuses typed characters, input-method text
// and pasted or dropped text beyond the limit. Program writes go round these paths.
class AreaWidget : public QTextEdit {
  public:
    explicit AreaWidget(QWidget* parent) : QTextEdit(parent) {}

    int64_t limit = 0;  // 0: no limit

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (Room() < TypedLength(event)) {
            event->accept();
            return;
        }
        QTextEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        int64_t room = Room();
        if (CharacterCount(event->commitString()) > room)
            event->setCommitString(
                FirstCharacters(event->commitString(), std::max<int64_t>(room, 0)));
        QTextEdit::inputMethodEvent(event);
    }

    void insertFromMimeData(const QMimeData* source) override {
        if (limit <= 0 || !source->hasText()) {
            QTextEdit::insertFromMimeData(source);
            return;
        }
        textCursor().insertText(FirstCharacters(source->text(), std::max<int64_t>(Room(), 0)));
    }

  private:
    // How many more characters the user may put in place of the selection; the length of
    // a text already past the limit may stay as it is.
    int64_t Room() const {
        if (limit <= 0) return INT64_MAX;
        int64_t length = CharacterCount(toPlainText());
        int64_t kept = length - CharacterCount(textCursor().selectedText());
        return std::max(limit, length) - kept;
    }

    // The characters a key press would type: Return starts a line, a printable text is
    // typed; editing, movement and shortcut keys type nothing.
    static int64_t TypedLength(QKeyEvent* event) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return 1;
        QString text = event->text();
        if (text.isEmpty() || (text[0].unicode() < 0x20 && text[0] != u'\t') || text[0] == u'\x7f')
            return 0;
        return CharacterCount(text);
    }
};

class TextAreaImpl : public TextEditImpl {
  public:
    explicit TextAreaImpl(Object* self)
        : TextEditImpl(self, ControlKind::kTextArea, kTextEditEvents) {
        state.multiLine = true;
    }

    int64_t SelStart() const override { return Area() ? Area()->textCursor().selectionStart() : 0; }
    int64_t SelLength() const override {
        if (!Area()) return 0;
        QTextCursor cursor = Area()->textCursor();
        return cursor.selectionEnd() - cursor.selectionStart();
    }
    String SelText() const override {
        if (!Area()) return String();
        return FromQString(Area()->textCursor().selectedText().replace(kParagraphSeparator, u'\n'));
    }
    void Select(int64_t start, int64_t length) override {
        AreaWidget* area = Area();
        if (!area) return;
        QTextCursor cursor = area->textCursor();
        int end = static_cast<int>(area->document()->characterCount()) - 1;
        int from = static_cast<int>(std::clamp<int64_t>(start, 0, end));
        cursor.setPosition(from);
        cursor.setPosition(static_cast<int>(std::clamp<int64_t>(from + length, from, end)),
                           QTextCursor::KeepAnchor);
        area->setTextCursor(cursor);
    }
    void ReplaceSelection(const String& text) override {
        if (AreaWidget* area = Area()) area->textCursor().insertText(ToQString(text));
    }
    void AppendText(const String& text) override {
        AreaWidget* area = Area();
        if (!area) return;
        QTextCursor cursor(area->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(ToQString(text));
    }
    void Copy() override {
        if (AreaWidget* area = Area()) area->copy();
    }
    void Paste() override {
        if (AreaWidget* area = Area()) area->paste();
    }
    void SelectAll() override {
        if (AreaWidget* area = Area()) area->selectAll();
    }

  protected:
    QWidget* MakeWidget(QWidget* parent) override { return new AreaWidget(parent); }

    void ConnectSignals(QObject* context) override {
        AreaWidget* area = Area();
        QObject::connect(area, &QTextEdit::textChanged, context,
                         [this] { TextChanged(Area()->toPlainText()); });
        QObject::connect(area, &QTextEdit::selectionChanged, context,
                         [this] { SendEvent(Events().selChange); });
    }

    void ApplyOwn(Aspect aspect) override {
        AreaWidget* area = Area();
        switch (aspect) {
            case Aspect::kText:
                if (area->toPlainText() != ToQString(state.value)) {
                    area->setPlainText(ToQString(state.value));
                    ApplyLineSpacing();
                }
                break;
            case Aspect::kTextColor:
            case Aspect::kBackgroundColor:
                ApplyTextColors(area, state);
                break;
            case Aspect::kHideSelection:
                ApplyInactiveSelection(area, state.hideSelection);
                break;
            case Aspect::kAlignment: {
                QTextOption option = area->document()->defaultTextOption();
                option.setAlignment(HorizontalAlignment(state.textAlignment));
                area->document()->setDefaultTextOption(option);
                break;
            }
            case Aspect::kBorder:
                area->setFrameShape(state.hasBorder ? QFrame::StyledPanel : QFrame::NoFrame);
                break;
            case Aspect::kReadOnly:
                area->setReadOnly(state.readOnly);
                break;
            case Aspect::kLimit:
                area->limit = state.maximumCharactersAllowed;
                break;
            case Aspect::kTabs:
                area->setTabChangesFocus(!state.allowTabs);
                break;
            case Aspect::kWrap:
                area->setLineWrapMode(state.multiLine ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
                break;
            case Aspect::kScrollBars:
                area->setHorizontalScrollBarPolicy(
                    state.hasHorizontalScrollbar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
                area->setVerticalScrollBarPolicy(
                    state.hasVerticalScrollbar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
                break;
            case Aspect::kStyled:
                area->setAcceptRichText(state.allowStyledText);
                break;
            case Aspect::kLineSpacing:
                ApplyLineSpacing();
                break;
            default:
                break;
        }
    }

    Qt::FocusPolicy NaturalFocusPolicy() const override { return Qt::StrongFocus; }

  private:
    AreaWidget* Area() const { return static_cast<AreaWidget*>(Widget()); }

    // LineHeight, when above 0, fixes every line's height in pixels; else LineSpacing scales
    // the font's line height. Applied to every paragraph; new ones take their neighbour's.
    void ApplyLineSpacing() {
        bool standard = state.lineHeight <= 0 && state.lineSpacing == 1.0;
        if (standard && !spacingApplied_) return;
        spacingApplied_ = true;
        QTextBlockFormat format;
        if (state.lineHeight > 0) {
            format.setLineHeight(state.lineHeight, QTextBlockFormat::FixedHeight);
        } else {
            format.setLineHeight(state.lineSpacing * kPercent,
                                 QTextBlockFormat::ProportionalHeight);
        }
        QTextDocument* document = Area()->document();
        bool undo = document->isUndoRedoEnabled();
        document->setUndoRedoEnabled(false);  // a design change, not an edit to undo
        QTextCursor cursor(document);
        cursor.select(QTextCursor::Document);
        cursor.mergeBlockFormat(format);
        document->setUndoRedoEnabled(undo);
    }

    bool spacingApplied_ = false;
};

ClassCell gTextArea{nullptr, &TextArea::dunder_ctblinit};

}  // namespace
}  // namespace controls

void TextArea::dunder_ctblinit() {
    using controls::Aspect;
    using controls::ControlState;
    using controls::StateProperty;
    // name and type; the aspect says what the value drives in the QTextEdit
    static const PropertyRow own[] = {
        StateProperty<&ControlState::backgroundColor, Aspect::kBackgroundColor>("BackgroundColor",
                                                                                "c"),
        StateProperty<&ControlState::hasBorder, Aspect::kBorder>("HasBorder", "b"),
        StateProperty<&ControlState::format>("Format", "s"),
        StateProperty<&ControlState::hideSelection, Aspect::kHideSelection>("HideSelection", "b"),
        StateProperty<&ControlState::lineHeight, Aspect::kLineSpacing>("LineHeight", "f8"),
        StateProperty<&ControlState::lineSpacing, Aspect::kLineSpacing>("LineSpacing", "f8"),
        StateProperty<&ControlState::multiLine, Aspect::kWrap>("MultiLine", "b"),
        StateProperty<&ControlState::hasHorizontalScrollbar, Aspect::kScrollBars>(
            "HasHorizontalScrollbar", "b"),
        StateProperty<&ControlState::hasVerticalScrollbar, Aspect::kScrollBars>(
            "HasVerticalScrollbar", "b"),
        StateProperty<&ControlState::allowStyledText, Aspect::kStyled>("AllowStyledText", "b"),
        StateProperty<&ControlState::textColor, Aspect::kTextColor>("TextColor", "c"),
        StateProperty<&ControlState::allowFocusRing, Aspect::kFocusRing>("AllowFocusRing", "b"),
        ComputedProperty<String>("Value", kComputedWritable, "s", &editTextGetter, &editTextSetter),
        StateProperty<&ControlState::allowTabs, Aspect::kTabs>("AllowTabs", "b"),
        StateProperty<&ControlState::textAlignment, Aspect::kAlignment>("TextAlignment",
                                                                        "i8<TextAlignments>"),
        StateProperty<&ControlState::maximumCharactersAllowed, Aspect::kLimit>(
            "MaximumCharactersAllowed", "i8"),
        StateProperty<&ControlState::validationMask>("ValidationMask", "s"),
        StateProperty<&ControlState::readOnly, Aspect::kReadOnly>("ReadOnly", "b"),
        StateProperty<&ControlState::dataSource>("DataSource", "s"),
        StateProperty<&ControlState::dataField>("DataField", "s"),
    };
    static const std::vector<PropertyRow> properties =
        controls::JoinRows({own, controls::FontPropertyRows()});
    controls::BuildControlClass(controls::gTextArea,
                                {.name = "TextArea",
                                 .superclass = &TextEdit::dunder_Lookup,
                                 .init = &controls::InitImpl<controls::TextAreaImpl>,
                                 .properties = properties});
}
ClassRecord* TextArea::dunder_Lookup() {
    return RuntimeLookupClass(controls::gTextArea);
}
