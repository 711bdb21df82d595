// What choosing a menu item does, and so whether an auto-enabled item is enabled: the item's
// own Action handler first; then, for the quit item, quitting; then the method that the
// window getting the command bound to the item's name, then the application's; then the
// standard Edit commands, which act on the focused text field.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_filter.h"
#include "framework/toolkit/menu_internal.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/toolkit_internal.h"

namespace {

// ---- the standard Edit commands ---------------------------------------------------------

// The widget that had the focus before a menu bar took it: moving through the menus with the
// keyboard hands the focus to the bar, yet the Edit commands are meant for that field.
QPointer<QWidget>& FocusBeforeBar() {
    static QPointer<QWidget> widget;
    return widget;
}

bool IsMenuWidget(QObject* object) {
    return qobject_cast<QMenuBar*>(object) || qobject_cast<QMenu*>(object);
}

// Keeps FocusBeforeBar: the last widget other than a menu that got the focus.
class FocusFollower : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType() && !IsMenuWidget(watched))
            FocusBeforeBar() = static_cast<QWidget*>(watched);
        return QObject::eventFilter(watched, event);
    }
};

// The focused text widget: the application's focus (while a menu bar or one of its open
// menus has it, the widget it came from, in the window that gets the command), else the focus
// inside that window (a window that is not active still remembers its focus widget). An open
// menu that was walked with the keys before takes the focus itself each time it opens.
QWidget* FocusedTextWidget(Object* window) {
    QWidget* content = window ? ToolkitWindowWidget(window) : nullptr;
    QWidget* focus = QApplication::focusWidget();
    if (IsMenuWidget(focus)) {
        QWidget* before = FocusBeforeBar();
        const QWidget* home = content ? content->window() : nullptr;
        if (qobject_cast<QMenuBar*>(focus)) home = focus->window();
        focus = before && before->window() == home ? before : nullptr;
    }
    if (!focus && content) focus = content->window()->focusWidget();
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
        qobject_cast<QPlainTextEdit*>(focus))
        return focus;
    return nullptr;
}

// What the Edit commands ask of a text widget, whichever of the three kinds it is.
struct TextWidget {
    explicit TextWidget(QWidget* w)
        : line(qobject_cast<QLineEdit*>(w)),
          rich(qobject_cast<QTextEdit*>(w)),
          plain(qobject_cast<QPlainTextEdit*>(w)) {}

    QLineEdit* line;
    QTextEdit* rich;
    QPlainTextEdit* plain;

    bool Editable() const {
        if (line) return !line->isReadOnly();
        if (rich) return !rich->isReadOnly();
        return plain && !plain->isReadOnly();
    }
    // A password field gives nothing away through the clipboard.
    bool Secret() const { return line && line->echoMode() != QLineEdit::Normal; }
    bool HasSelection() const {
        if (line) return line->hasSelectedText();
        if (rich) return rich->textCursor().hasSelection();
        return plain && plain->textCursor().hasSelection();
    }
    bool CanUndo() const {
        if (line) return line->isUndoAvailable();
        if (rich) return rich->document()->isUndoAvailable();
        return plain && plain->document()->isUndoAvailable();
    }
    QTextCursor Cursor() const { return rich ? rich->textCursor() : plain->textCursor(); }
    // Gives the widget, as the kind it is, to `command`.
    template <class Command>
    void Run(Command command) const {
        if (line) command(line);
        if (rich) command(rich);
        if (plain) command(plain);
    }
};

bool ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

bool UndoApplies(const TextWidget& t) {
    return t.Editable() && t.CanUndo();
}
bool CutApplies(const TextWidget& t) {
    return t.Editable() && t.HasSelection() && !t.Secret();
}
bool CopyApplies(const TextWidget& t) {
    return t.HasSelection() && !t.Secret();
}
bool PasteApplies(const TextWidget& t) {
    return t.Editable() && ClipboardHasText();
}
bool ClearApplies(const TextWidget& t) {
    return t.Editable() && t.HasSelection();
}

void Undo(const TextWidget& t) {
    t.Run([](auto* editor) { editor->undo(); });
}
void Cut(const TextWidget& t) {
    t.Run([](auto* editor) { editor->cut(); });
}
void Copy(const TextWidget& t) {
    t.Run([](auto* editor) { editor->copy(); });
}
// Paste goes the way of the Paste key, so a field with a length limit takes as much of the
// clipboard as fits, whichever way the user pastes.
void Paste(const TextWidget& t) {
    t.Run([](auto* editor) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        if (!press.matches(QKeySequence::Paste)) {
            editor->paste();
            return;
        }
        QCoreApplication::sendEvent(editor, &press);
    });
}
// Clear deletes the selection and leaves the clipboard alone.
void Clear(const TextWidget& t) {
    if (t.line) {
        t.line->del();
    } else {
        t.Cursor().removeSelectedText();
    }
}

struct EditCommand {
    const char* itemName;
    bool (*applies)(const TextWidget&);
    void (*run)(const TextWidget&);
};

// clang-format off
// The standard Edit items, by the names the framework gives them.
const EditCommand kEditCommands[] = {
    {"EditUndo",  &UndoApplies,  &Undo},
    {"EditCut",   &CutApplies,   &Cut},
    {"EditCopy",  &CopyApplies,  &Copy},
    {"EditPaste", &PasteApplies, &Paste},
    {"EditClear", &ClearApplies, &Clear},
};
// clang-format on

const EditCommand* EditCommandFor(const String& name) {
    for (const EditCommand& command : kEditCommands)
        if (ToolkitSameObjectName(name.View(), command.itemName)) return &command;
    return nullptr;
}

bool IsQuitItem(Object* item) {
    return RuntimeObjectIsa(item, QuitMenuItem::dunder_Lookup());
}

bool HasActionHandler(Object* item) {
    return RuntimeFindEventHandler(item, MenuItem::kActionEvent) ||
           RuntimeClassEventHandler(item, MenuItem::kActionEvent);
}

// The quit item's own Action handler: the framework's quit command.
bool QuitItemAction(Object*) {
    QuitMenuAction();
    return true;
}

}  // namespace

void MenuItemCommand(Object* item) {
    Ref<Object> keep = Ref<Object>::Retain(item);
    if (RaiseObjectEvent<bool>(item, MenuItem::kActionEvent, false)) return;
    if (IsQuitItem(item)) {
        QuitMenuAction();
        return;
    }
    String name = MenuItemName(item);
    Ref<Object> window = Ref<Object>::Retain(ToolkitMenuCommandWindow());
    if (window) {
        if (GenericFn method = ToolkitWindowMenuHandler(window.get(), name)) {
            bool handled = false;
            RunProgramCode(
                [&] { handled = reinterpret_cast<bool (*)(Object*)>(method)(window.get()); });
            if (handled) return;
        }
    }
    Ref<Object> app = RuntimeApplicationObject();
    if (app) {
        if (GenericFn method = ToolkitApplicationMenuHandler(name)) {
            bool handled = false;
            RunProgramCode(
                [&] { handled = reinterpret_cast<bool (*)(Object*)>(method)(app.get()); });
            if (handled) return;
        }
    }
    if (const EditCommand* edit = EditCommandFor(name)) {
        if (QWidget* focus = FocusedTextWidget(window.get())) {
            TextWidget target(focus);
            if (edit->applies(target)) edit->run(target);
        }
    }
}

bool MenuItemWouldAct(Object* item, Object* window) {
    if (!MenuState(item).children.empty()) return true;
    if (HasActionHandler(item) || IsQuitItem(item)) return true;
    String name = MenuItemName(item);
    if (window && ToolkitWindowMenuHandler(window, name)) return true;
    if (ToolkitApplicationMenuHandler(name)) return true;
    const EditCommand* edit = EditCommandFor(name);
    QWidget* focus = edit ? FocusedTextWidget(window) : nullptr;
    return focus && edit->applies(TextWidget(focus));
}

void MenuCommandsFollowFocus() {
    ToolkitFilterApplicationEvents<FocusFollower>();
}

// ---- AppleMenuItem and QuitMenuItem -----------------------------------------------------

namespace {

ClassCell gAppleMenuItem{nullptr, &AppleMenuItem::dunder_ctblinit};
ClassCell gQuitMenuItem{nullptr, &QuitMenuItem::dunder_ctblinit};

constexpr uint32_t kQuitActionSlot = 30;

}  // namespace

// An item that macOS shows in the application menu; elsewhere it stays where it stands.
void AppleMenuItem::dunder_ctblinit() {
    static const ClassSpec spec{.name = "AppleMenuItem",
                                .superclass = &MenuItem::dunder_Lookup,
                                .methodCount = 32,
                                .interfaceCount = 0,
                                .eventCount = 2,
                                .propertyCount = 20,
                                .instanceDataSize = menu_field::kItemSize,
                                .slotCount = 30};
    RuntimeBuildClass(gAppleMenuItem, spec);
}
ClassRecord* AppleMenuItem::dunder_Lookup() {
    return RuntimeLookupClass(gAppleMenuItem);
}

// The quit item handles its own Action event by quitting.
void QuitMenuItem::dunder_ctblinit() {
    // clang-format off
    static const MethodRow QuitMenuItem_methods[] = {
        Method("Event_Action", kPublicVirtualHidden, "%b%", &QuitItemAction, kQuitActionSlot),
    };
    // clang-format on
    static const HandlerRow QuitMenuItem_handlers[] = {{MenuItem::kActionEvent, kQuitActionSlot}};
    static const ClassSpec spec{.name = "QuitMenuItem",
                                .superclass = &MenuItem::dunder_Lookup,
                                .methodCount = 33,
                                .interfaceCount = 0,
                                .eventCount = 2,
                                .propertyCount = 20,
                                .instanceDataSize = menu_field::kItemSize,
                                .slotCount = 31,
                                .methods = QuitMenuItem_methods,
                                .handlers = QuitMenuItem_handlers};
    RuntimeBuildClass(gQuitMenuItem, spec);
}
ClassRecord* QuitMenuItem::dunder_Lookup() {
    return RuntimeLookupClass(gQuitMenuItem);
}
