// TextArea: several lines of plain text, a QTextEdit (which, unlike QPlainTextEdit, honours
// line heights and a document-wide alignment).
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "framework/toolkit/controls.h"
#include "framework/toolkit/text_edit_impl.h"

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

// The selection of an editor without the focus: hidden or shown as with the focus.
void ApplyInactiveSelection(QWidget* widget, bool hide) {
    QPalette palette = widget->palette();
    QPalette::ColorGroup source = hide ? QPalette::Inactive : QPalette::Active;
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(source, hide ? QPalette::Base : QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(source, hide ? QPalette::Text : QPalette::HighlightedText));
    widget->setPalette(palette);
}

// The values only TextArea declares.
struct TextAreaValues {
    bool hideSelection = true;
    double lineHeight = 0, lineSpacing = 1;
    bool multiLine = true;
    bool hasHorizontalScrollbar = false, hasVerticalScrollbar = true;
    bool allowStyledText = false;
};

class TextAreaImpl : public WithValues<EditorImpl<AreaWidget>, TextAreaValues> {
  public:
    explicit TextAreaImpl(Object* self) : WithValues(self, ControlKind::kTextArea) {}

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
                if (area->toPlainText() != ToQString(value)) {
                    area->setPlainText(ToQString(value));
                    ApplyLineSpacing();
                }
                break;
            case Aspect::kHideSelection:
                ApplyInactiveSelection(area, hideSelection);
                break;
            case Aspect::kAlignment: {
                QTextOption option = area->document()->defaultTextOption();
                option.setAlignment(HorizontalAlignment(textAlignment));
                area->document()->setDefaultTextOption(option);
                break;
            }
            case Aspect::kBorder:
                area->setFrameShape(hasBorder ? QFrame::StyledPanel : QFrame::NoFrame);
                break;
            case Aspect::kLimit:
                area->limit = maximumCharactersAllowed;
                break;
            case Aspect::kTabs:
                area->setTabChangesFocus(!allowTabs);
                break;
            case Aspect::kWrap:
                area->setLineWrapMode(multiLine ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
                break;
            case Aspect::kScrollBars:
                area->setHorizontalScrollBarPolicy(hasHorizontalScrollbar ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAlwaysOff);
                area->setVerticalScrollBarPolicy(hasVerticalScrollbar ? Qt::ScrollBarAlwaysOn
                                                                      : Qt::ScrollBarAlwaysOff);
                break;
            case Aspect::kStyled:
                area->setAcceptRichText(allowStyledText);
                break;
            case Aspect::kLineSpacing:
                ApplyLineSpacing();
                break;
            default:
                EditorImpl::ApplyOwn(aspect);
                break;
        }
    }

  private:
    AreaWidget* Area() const { return EditorWidget(); }

    // LineHeight, when above 0, fixes every line's height in pixels; else LineSpacing scales
    // the font's line height. Applied to every paragraph; new ones take their neighbour's.
    void ApplyLineSpacing() {
        bool standard = lineHeight <= 0 && lineSpacing == 1.0;
        if (standard && !spacingApplied_) return;
        spacingApplied_ = true;
        QTextBlockFormat format;
        if (lineHeight > 0) {
            format.setLineHeight(lineHeight, QTextBlockFormat::FixedHeight);
        } else {
            format.setLineHeight(lineSpacing * kPercent, QTextBlockFormat::ProportionalHeight);
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
    using controls::StateProperty;
    using controls::TextAreaValues;
    // name and type; the aspect says what the value drives in the QTextEdit
    static const PropertyRow own[] = {
        StateProperty<&TextAreaValues::hideSelection, Aspect::kHideSelection>("HideSelection", "b"),
        StateProperty<&TextAreaValues::lineHeight, Aspect::kLineSpacing>("LineHeight", "f8"),
        StateProperty<&TextAreaValues::lineSpacing, Aspect::kLineSpacing>("LineSpacing", "f8"),
        StateProperty<&TextAreaValues::multiLine, Aspect::kWrap>("MultiLine", "b"),
        StateProperty<&TextAreaValues::hasHorizontalScrollbar, Aspect::kScrollBars>(
            "HasHorizontalScrollbar", "b"),
        StateProperty<&TextAreaValues::hasVerticalScrollbar, Aspect::kScrollBars>(
            "HasVerticalScrollbar", "b"),
        StateProperty<&TextAreaValues::allowStyledText, Aspect::kStyled>("AllowStyledText", "b"),
    };
    static const std::vector<PropertyRow> properties =
        controls::JoinRows({controls::EditorPropertyRows(), own, controls::FontPropertyRows()});
    controls::BuildControlClass(controls::gTextArea,
                                {.name = "TextArea",
                                 .superclass = &TextEdit::dunder_Lookup,
                                 .init = &controls::InitImpl<controls::TextAreaImpl>,
                                 .properties = properties});
}
ClassRecord* TextArea::dunder_Lookup() {
    return RuntimeLookupClass(controls::gTextArea);
}
