// TextField: one line of editable text, a QLineEdit.
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include "framework/toolkit/controls.h"
#include "framework/toolkit/text_edit_impl.h"

namespace controls {
namespace {

// MaximumCharactersAllowed: refuses an edit by the user that makes the text longer than the
// limit. QLineEdit::setMaxLength would also cut what the program writes; a validator sees
// only what is typed, pasted or dropped (setText is never validated). A text already longer
// than the limit, written by the program, may still be shortened.
class LengthLimit : public QValidator {
  public:
    explicit LengthLimit(QObject* parent) : QValidator(parent) {}

    int64_t limit = 0;     // 0: no limit
    int64_t accepted = 0;  // the length of the text as it stands

    State validate(QString& input, int&) const override {
        int64_t count = CharacterCount(input);
        return limit > 0 && count > limit && count > accepted ? Invalid : Acceptable;
    }
};

// The editor widget. Text an input method commits enters as far as the limit leaves room,
// as a paste does; the validator would refuse the whole commit, after KeyDown has taken
// each of its characters. The selection stays while the menu bar has the keyboard: the Edit
// items chosen with the keys act on it, as they do when chosen with the mouse (an open menu
// takes no focus), and the field has it back when the menu is left.
class FieldWidget : public QLineEdit {
  public:
    explicit FieldWidget(QWidget* parent) : QLineEdit(parent), limit(new LengthLimit(this)) {
        setValidator(limit);
    }

    LengthLimit* const limit;

  protected:
    void inputMethodEvent(QInputMethodEvent* event) override {
        const QString commit = event->commitString();
        int64_t room = Room(*event);
        if (CharacterCount(commit) > room)
            event->setCommitString(FirstCharacters(commit, room), event->replacementStart(),
                                   event->replacementLength());
        QLineEdit::inputMethodEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        if (event->reason() != Qt::MenuBarFocusReason) return QLineEdit::focusOutEvent(event);
        QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);  // keeps the selection
        QLineEdit::focusOutEvent(&toMenu);
    }

  private:
    // The characters a commit may add to what stays of the text: the selection goes first,
    // then the range the commit replaces, counted from the cursor as QLineEdit counts it. A
    // text already longer than the limit may stay as long.
    int64_t Room(const QInputMethodEvent& event) const {
        if (limit->limit <= 0) return INT64_MAX;
        QString kept = text();
        int cursor = cursorPosition();
        if (hasSelectedText()) {
            cursor = selectionStart();
            kept.remove(cursor, selectionLength());
        }
        int from = std::max(cursor + event.replacementStart(), 0);
        if (event.replacementLength() > 0 && from + event.replacementLength() <= kept.size())
            kept.remove(from, event.replacementLength());
        int64_t most = std::max(limit->limit, CharacterCount(text()));
        return std::max<int64_t>(most - CharacterCount(kept), 0);
    }
};

// The values only TextField declares.
struct TextFieldValues {
    bool password = false;
    String hint;
};

class TextFieldImpl : public WithValues<EditorImpl<QLineEdit>, TextFieldValues> {
  public:
    explicit TextFieldImpl(Object* self) : WithValues(self, ControlKind::kTextField) {}

    int64_t SelStart() const override {
        QLineEdit* edit = Edit();
        if (!edit) return 0;
        return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    }
    int64_t SelLength() const override { return Edit() ? Edit()->selectionLength() : 0; }
    String SelText() const override {
        return Edit() ? FromQString(Edit()->selectedText()) : String();
    }
    void Select(int64_t start, int64_t length) override {
        QLineEdit* edit = Edit();
        if (!edit) return;
        int size = static_cast<int>(edit->text().size());
        int from = static_cast<int>(std::clamp<int64_t>(start, 0, size));
        int count = static_cast<int>(std::clamp<int64_t>(length, 0, size - from));
        if (count == 0) {
            edit->setCursorPosition(from);
        } else {
            edit->setSelection(from, count);
        }
    }
    void ReplaceSelection(const String& text) override {
        QLineEdit* edit = Edit();
        if (!edit) return;
        QString now = edit->text();
        int from = static_cast<int>(SelStart());
        QString inserted = ToQString(text);
        WriteText(now.replace(from, static_cast<int>(SelLength()), inserted));
        edit->setCursorPosition(from + static_cast<int>(inserted.size()));
    }
    void AppendText(const String& text) override {
        if (QLineEdit* edit = Edit()) WriteText(edit->text() + ToQString(text));
    }
    // A key that KeyDown let through. AllowTabs: Tab is typed into the text. Paste with a
    // limit: as much of the clipboard's text as fits (the validator would refuse it all).
    bool KeyNotHandled(QKeyEvent* event) override {
        QLineEdit* edit = Edit();
        if (!edit) return false;
        if (allowTabs && event->key() == Qt::Key_Tab &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            edit->insert(QStringLiteral("\t"));
            return true;
        }
        if (event->matches(QKeySequence::Paste) && limit_->limit > 0 && !edit->isReadOnly()) {
            int64_t kept = CharacterCount(edit->text()) - CharacterCount(edit->selectedText());
            int64_t room = std::max<int64_t>(limit_->limit - kept, 0);
            edit->insert(FirstCharacters(QGuiApplication::clipboard()->text(), room));
            return true;
        }
        return false;
    }

  protected:
    QWidget* MakeWidget(QWidget* parent) override {
        auto* edit = new FieldWidget(parent);
        limit_ = edit->limit;
        return edit;
    }

    void ConnectSignals(QObject* context) override {
        QLineEdit* edit = Edit();
        QObject::connect(edit, &QLineEdit::textChanged, context, [this](const QString& text) {
            if (limit_) limit_->accepted = CharacterCount(text);
            TextChanged(text);
        });
        QObject::connect(edit, &QLineEdit::selectionChanged, context,
                         [this] { SendEvent(Events().selChange); });
        QObject::connect(edit, &QLineEdit::cursorPositionChanged, context,
                         [this] { SendEvent(Events().selChange); });
    }

    void ApplyOwn(Aspect aspect) override {
        QLineEdit* edit = Edit();
        switch (aspect) {
            case Aspect::kText:
                WriteText(ToQString(value));
                break;
            case Aspect::kAlignment:
                edit->setAlignment(HorizontalAlignment(textAlignment) | Qt::AlignVCenter);
                break;
            case Aspect::kBorder:
                edit->setFrame(hasBorder);
                break;
            case Aspect::kPassword:
                edit->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
                break;
            case Aspect::kHint:
                edit->setPlaceholderText(ToQString(hint));
                break;
            case Aspect::kLimit:
                limit_->limit = maximumCharactersAllowed;
                break;
            default:
                EditorImpl::ApplyOwn(aspect);
                break;
        }
    }

  private:
    QLineEdit* Edit() const { return EditorWidget(); }

    // A text the program writes is taken whole, whatever the limit on typing.
    void WriteText(const QString& text) {
        QLineEdit* edit = Edit();
        if (edit->text() == text) return;
        limit_->accepted = CharacterCount(text);
        edit->setText(text);
    }

    QPointer<LengthLimit> limit_;
};

ClassCell gTextField{nullptr, &TextField::dunder_ctblinit};

}  // namespace
}  // namespace controls

void TextField::dunder_ctblinit() {
    using controls::Aspect;
    using controls::StateProperty;
    using controls::TextFieldValues;
    // name and type; the aspect says what the value drives in the QLineEdit
    static const PropertyRow own[] = {
        StateProperty<&TextFieldValues::password, Aspect::kPassword>("Password", "b"),
        StateProperty<&TextFieldValues::hint, Aspect::kHint>("Hint", "s"),
    };
    static const std::vector<PropertyRow> properties =
        controls::JoinRows({controls::EditorPropertyRows(), own, controls::FontPropertyRows()});
    controls::BuildControlClass(controls::gTextField,
                                {.name = "TextField",
                                 .superclass = &TextEdit::dunder_Lookup,
                                 .init = &controls::InitImpl<controls::TextFieldImpl>,
                                 .properties = properties});
}
ClassRecord* TextField::dunder_Lookup() {
    return RuntimeLookupClass(controls::gTextField);
}
