// Shortcut texts as the framework writes them, turned into the platform's key equivalents.
// "Cmd" is the menu modifier: Command on macOS, Ctrl elsewhere; Qt's Ctrl already means
// Command on macOS, so Cmd maps to Qt's Ctrl everywhere, and the framework's "Ctrl" (the
// Control key on macOS) to Qt's Meta there.
#include <QKeyEvent>
#include <QMenuBar>
#include <QString>
#include <QStringList>

#include "framework/toolkit/menu_internal.h"

namespace {

#ifdef Q_OS_MACOS
constexpr bool kMac = true;
#else
constexpr bool kMac = false;
#endif

struct ModifierWord {
    const char* word;  // compared without regard to case
    Qt::KeyboardModifier modifier;
};

// Modifier words of a shortcut text and what each stands for here.
const ModifierWord kModifierWords[] = {
    {"cmd", Qt::ControlModifier},
    {"command", Qt::ControlModifier},
    {"ctrl", kMac ? Qt::MetaModifier : Qt::ControlModifier},
    {"control", kMac ? Qt::MetaModifier : Qt::ControlModifier},
    {"shift", Qt::ShiftModifier},
    {"alt", Qt::AltModifier},
    {"option", Qt::AltModifier},
    {"opt", Qt::AltModifier},
};

bool ModifierOf(const QString& word, Qt::KeyboardModifiers& modifiers) {
    for (const ModifierWord& entry : kModifierWords) {
        if (word.compare(QLatin1String(entry.word), Qt::CaseInsensitive) == 0) {
            modifiers |= entry.modifier;
            return true;
        }
    }
    return false;
}

// The key named by the last part of a shortcut: one character, or a key name ("F5", "Del").
Qt::Key KeyOf(const QString& name) {
    if (name.isEmpty()) return Qt::Key_unknown;
    QKeySequence parsed = QKeySequence::fromString(name.size() == 1 ? name.toUpper() : name,
                                                   QKeySequence::PortableText);
    if (parsed.count() != 1) return Qt::Key_unknown;
    QKeyCombination combination = parsed[0];
    if (combination.keyboardModifiers() != Qt::NoModifier) return Qt::Key_unknown;
    return combination.key();
}

bool AnyActionHasShortcut(const QList<QAction*>& actions, const QKeySequence& key) {
    for (const QAction* action : actions) {
        if (!action->isVisible()) continue;
        if (action->shortcuts().contains(key)) return true;
        if (const QMenu* menu = action->menu(); menu && AnyActionHasShortcut(menu->actions(), key))
            return true;
    }
    return false;
}

}  // namespace

bool KeyChoosesMenuItem(const QKeyEvent& event, const QWidget* receiver) {
    if (!receiver || event.key() == Qt::Key_unknown) return false;
    const QKeySequence key(
        QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
    for (const QMenuBar* bar : receiver->window()->findChildren<QMenuBar*>())
        if (AnyActionHasShortcut(bar->actions(), key)) return true;
    return false;
}

QKeySequence MenuShortcutSequence(std::string_view text, const ShortcutModifiers& extra) {
    QString written = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    if (written.isEmpty()) return {};

    // "Cmd++" names the plus key: split off the key before splitting the modifiers.
    QString keyName;
    QString modifierPart;
    if (written.endsWith(QLatin1String("++"))) {
        keyName = QStringLiteral("+");
        modifierPart = written.chopped(2);
    } else if (written == QLatin1String("+")) {
        keyName = written;
    } else {
        qsizetype plus = written.lastIndexOf(QLatin1Char('+'));
        keyName = written.mid(plus + 1).trimmed();
        if (plus > 0) modifierPart = written.left(plus);
    }

    Qt::KeyboardModifiers modifiers;
    const QStringList words = modifierPart.split(QLatin1Char('+'), Qt::SkipEmptyParts);
    for (const QString& word : words)
        if (!ModifierOf(word.trimmed(), modifiers)) return {};
    if (words.isEmpty() && extra.menuModifier) modifiers |= Qt::ControlModifier;
    if (extra.alternate) modifiers |= Qt::ShiftModifier;
    if (kMac && extra.macOption) modifiers |= Qt::AltModifier;
    if (kMac && extra.macControl) modifiers |= Qt::MetaModifier;
    if (!kMac && extra.pcAlt) modifiers |= Qt::AltModifier;

    Qt::Key key = KeyOf(keyName);
    if (key == Qt::Key_unknown) return {};
    return QKeySequence(QKeyCombination(modifiers, key));
}
