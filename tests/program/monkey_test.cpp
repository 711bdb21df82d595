// A monkey at the conversion window: thousands of random actions of a person (any key of a
// whole keyboard typed into either field, clicks on the three buttons, the Edit menu's items
// on a selection or none, the About box), each checked against what the window must do.
//
// The expectation of each action is worked out here from what the window showed just before
// it: the two texts, the cursor and the selection, the clipboard. A press of "Calculate" is
// worked out by the conversion rules, re-stated below in plain C++; only Format, which the
// toolkit provides, is borrowed. The run is repeatable: CORVANE_MONKEY_SEED picks another.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

constexpr int kActions = 10000;
constexpr uint64_t kDefaultSeed = 20190311;
constexpr size_t kFieldLimit = 9;  // characters a person may put into a number field
constexpr const char* kRangeMessage = "r values must range from -1.00 to +1.00";

// ---- the conversion rules ----------------------------------------------------------------

// The leading number of a text, read as strtod would read it: leading blanks, a sign, digits
// with an optional point and fraction, an exponent only when a digit follows its "e"; the
// rest is ignored, and a text without a number gives 0.
double ReadNumber(const std::string& text) {
    size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    auto digit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    size_t begin = i;
    size_t digits = 0;
    while (digit(i)) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (digit(i)) ++i, ++digits;
    }
    if (digits == 0) return 0;
    size_t end = i;
    int exponentSign = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        int sign = 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) sign = text[j++] == '-' ? -1 : 1;
        if (digit(j)) {
            while (digit(j)) ++j;
            end = j;
            exponentSign = sign;
        }
    }
    double value = 0;
    auto [ptr, error] = std::from_chars(text.data() + begin, text.data() + end, value);
    if (error == std::errc::result_out_of_range)
        value = exponentSign > 0 ? HUGE_VAL : 0.0;  // too large, or too small
    return negative ? -value : value;
}

std::string Format(double value, const char* pattern) {
    return StringFormat(value, String(pattern)).Std();
}

struct CalculateOutcome {
    std::string r, z;
    bool beep = false;
    bool message = false;
};

// One press of "Calculate", from the texts of the two fields.
CalculateOutcome Calculate(const std::string& rText, const std::string& zText) {
    CalculateOutcome out{rText, zText};
    if (rText.empty() && zText.empty()) {
        out.beep = true;
        return out;
    }
    double r = ReadNumber(rText);
    if (std::fabs(r) >= 0.000001 && 1.0 > std::fabs(r))
        out.z = Format(0.5 * std::log((1.0 + r) / (1.0 - r)), "+0.000000");
    double z = ReadNumber(out.z);
    if (z >= -6.10303 && 6.10303 >= z) {
        double e = std::exp(2.0 * z);
        r = (e - 1.0) / (e + 1.0);
        out.r = Format(r, "+.000000");
    }
    out.message = 0.000001 > std::fabs(r) || std::fabs(r) > 0.999999;
    return out;
}

// ---- the keyboard --------------------------------------------------------------------------

enum class KeyEffect {
    kTypes,       // a number character: typed into the field, the other field emptied
    kBackspace,   // deletes the selection or the character before the cursor; other emptied
    kLeaves,      // Tab and Shift+Tab: the text stays, the focus moves on; other emptied
    kRejected,    // a beep; neither field changes
    kSelectsAll,  // Ctrl+A: a key equivalent, no typing
    kNothing,     // a key without a character (F1 to F12): nothing at all
};

struct Key {
    std::string name;
    Qt::Key key;  // Qt::Key_unknown: the character `ascii`
    char ascii;
    Qt::KeyboardModifiers modifiers;
    KeyEffect effect;
};

std::vector<Key> Keyboard() {
    std::vector<Key> keys;
    auto character = [&](char c, Qt::KeyboardModifiers modifiers) {
        bool number = (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '/';
        keys.push_back({std::string(1, c), Qt::Key_unknown, c, modifiers,
                        number ? KeyEffect::kTypes : KeyEffect::kRejected});
    };
    for (char c : std::string("abcdefghijklmnopqrstuvwxyz0123456789`-=[]\\;',./ "))
        character(c, Qt::NoModifier);
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ~!@#$%^&*()_+{}|:\"<>?"))
        character(c, Qt::ShiftModifier);
    const Key named[] = {
        {"Backspace", Qt::Key_Backspace, 0, Qt::NoModifier, KeyEffect::kBackspace},
        {"Tab", Qt::Key_Tab, 0, Qt::NoModifier, KeyEffect::kLeaves},
        {"Shift+Tab", Qt::Key_Backtab, 0, Qt::ShiftModifier, KeyEffect::kLeaves},
        {"Delete", Qt::Key_Delete, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Return", Qt::Key_Return, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Enter", Qt::Key_Enter, 0, Qt::KeypadModifier, KeyEffect::kRejected},
        {"Escape", Qt::Key_Escape, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Left", Qt::Key_Left, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Right", Qt::Key_Right, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Up", Qt::Key_Up, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Down", Qt::Key_Down, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Home", Qt::Key_Home, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"End", Qt::Key_End, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"PageUp", Qt::Key_PageUp, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"PageDown", Qt::Key_PageDown, 0, Qt::NoModifier, KeyEffect::kRejected},
        {"Shift+Left", Qt::Key_Left, 0, Qt::ShiftModifier, KeyEffect::kRejected},
        {"Shift+Right", Qt::Key_Right, 0, Qt::ShiftModifier, KeyEffect::kRejected},
        {"Shift+Home", Qt::Key_Home, 0, Qt::ShiftModifier, KeyEffect::kRejected},
        {"Ctrl+A", Qt::Key_A, 0, Qt::ControlModifier, KeyEffect::kSelectsAll},
    };
    keys.insert(keys.end(), std::begin(named), std::end(named));
    for (int n = 0; n < 12; ++n)
        keys.push_back({"F" + std::to_string(n + 1), static_cast<Qt::Key>(Qt::Key_F1 + n), 0,
                        Qt::NoModifier, KeyEffect::kNothing});
    return keys;
}

// ---- what the window shows -----------------------------------------------------------------

struct FieldView {
    std::string text;
    int cursor = 0;
    int selectionStart = -1;  // -1: nothing selected
    int selectionLength = 0;
};

FieldView ViewOf(QLineEdit* edit) {
    FieldView view{edit->text().toStdString(), edit->cursorPosition()};
    if (edit->hasSelectedText()) {
        view.selectionStart = edit->selectionStart();
        view.selectionLength = static_cast<int>(edit->selectedText().size());
    }
    return view;
}

// The text with the selection (or nothing, at the cursor) replaced by `inserted`.
std::string Replace(const FieldView& view, const std::string& inserted) {
    std::string text = view.text;
    if (view.selectionStart >= 0)
        return text.replace(view.selectionStart, view.selectionLength, inserted);
    return text.insert(view.cursor, inserted);
}

// What a field may show after `inserted` went into it: the whole of it when the result fits
// the limit (or is no longer than before); otherwise as much as fits, or nothing.
std::set<std::string> AfterInsertion(const FieldView& view, const std::string& inserted) {
    std::string whole = Replace(view, inserted);
    if (whole.size() <= kFieldLimit || whole.size() <= view.text.size()) return {whole};
    size_t kept = view.text.size() - (view.selectionStart >= 0 ? view.selectionLength : 0);
    size_t room = kFieldLimit > kept ? kFieldLimit - kept : 0;
    return {view.text, Replace(view, inserted.substr(0, room))};
}

// ---- the monkey ----------------------------------------------------------------------------

enum class Field { kR, kZ };

struct Expectation {
    std::set<std::string> r, z;  // the texts each field may show afterwards
    int beeps = 0;
    bool message = false;
    std::optional<bool> help;  // the help text's visibility, when the action sets it
    bool written[2] = {};      // the fields the program writes (r, z)
};

class ConversionMonkey : public ConversionWindowTest {
  protected:
    void SetUp() override {
        ConversionWindowTest::SetUp();
        const char* seed = std::getenv("CORVANE_MONKEY_SEED");
        seed_ = seed && *seed ? std::strtoull(seed, nullptr, 0) : kDefaultSeed;
        random_.seed(seed_);
        keys_ = Keyboard();
        QApplication::clipboard()->clear();
        Activate();
        unhandled_ = RuntimeUnhandledExceptionCount();
        help_ = HelpVisible();
    }

    QLineEdit* Edit(Field f) const {
        return QtControl<QLineEdit>(window(), f == Field::kR ? "rEdit" : "zEdit");
    }
    QWidget* Top() const { return ToolkitWindowWidget(window())->window(); }
    void Activate() {
        Top()->activateWindow();
        if (!QTest::qWaitForWindowActive(Top()))
            Fail("the conversion window could not be activated");
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // The field gets the focus as a person gives it: by clicking into it (which puts the
    // cursor where the click lands) unless it has the focus already.
    void Focus(Field f) {
        QLineEdit* edit = Edit(f);
        if (QApplication::focusWidget() == edit) return;
        QTest::mouseClick(edit, Qt::LeftButton, {},
                          QPoint(2 + Pick(edit->width() - 4), edit->height() / 2));
    }
    std::optional<Field> FocusedField() const {
        for (Field f : {Field::kR, Field::kZ})
            if (QApplication::focusWidget() == Edit(f)) return f;
        return std::nullopt;
    }

    std::set<std::string>& Expected(Expectation& e, Field f) { return f == Field::kR ? e.r : e.z; }
    // The program empties the field.
    void Empty(Expectation& e, Field f) {
        Expected(e, f) = {""};
        e.written[static_cast<int>(f)] = true;
    }
    static Field Other(Field f) { return f == Field::kR ? Field::kZ : Field::kR; }

    // Everything unchanged: the default expectation of an action.
    Expectation Unchanged() const {
        return {{Edit(Field::kR)->text().toStdString()}, {Edit(Field::kZ)->text().toStdString()}};
    }

    const Key* KeyNamed(const std::string& name) const {
        for (const Key& key : keys_)
            if (key.name == name) return &key;
        return nullptr;
    }

    // ---- the actions; each does what a person would and says what must follow ----

    // Half the keys come from the keys a number needs, so that numbers worth converting build
    // up; the other half from the whole keyboard.
    Key RandomKey() {
        if (Chance(50)) return keys_[Pick(static_cast<int>(keys_.size()))];
        int n = Pick(15);
        if (n == 13) return *KeyNamed("Backspace");
        if (n == 14) return *KeyNamed("Tab");
        return *KeyNamed(std::string(1, "0123456789-./"[n]));
    }

    // Now and then the person sets out to type a whole number into one field, key by key,
    // after selecting what the field holds: often one that lies at a limit of the rules.
    void PlanNumber(Field f) {
        static const char* kREdges[] = {
            "0.99999",   "0.999999", ".9999999", "-0.99999", "-0.999999", "-.9999999", "0.000001",
            "-0.000001", ".0000005", ".0000015", "1",        "-1",        "0",         "0.5",
            "-0.3",      "2",        "1/2",      "-",        ".",         "0.9999",    "-.999990",
        };
        static const char* kZEdges[] = {
            "6.10303",  "-6.10303", "6.10304",  "-6.10304", "6.103029", "-6.103029", "7.5",
            "7.254329", ".0000001", "0.000001", "-2.5",     "1",        "0",         "-",
        };
        auto pick = [&](auto& edges) { return edges[Pick(static_cast<int>(std::size(edges)))]; };
        std::string number;
        if (Chance(50)) {
            number = f == Field::kR ? pick(kREdges) : pick(kZEdges);
        } else {
            double magnitude = f == Field::kR ? 1.0 : 8.0;
            double value = std::uniform_real_distribution<double>(-magnitude, magnitude)(random_);
            std::ostringstream text;
            text.precision(1 + Pick(7));
            text << std::fixed << value;
            number = text.str();
        }
        planField_ = f;
        plan_.clear();
        plan_.push_back(*KeyNamed("Ctrl+A"));
        for (char c : number) plan_.push_back(*KeyNamed(std::string(1, c)));
        Remember(Name(f) + ": set out to type " + number);
    }

    Expectation TypeKey(Field f, const Key& k, const char* kind = "key") {
        const Key* key = &k;
        Focus(f);
        QLineEdit* edit = Edit(f);
        FieldView view = ViewOf(edit);
        Expectation e = Unchanged();
        switch (key->effect) {
            case KeyEffect::kTypes:
                Expected(e, f) = AfterInsertion(view, std::string(1, key->ascii));
                Empty(e, Other(f));
                break;
            case KeyEffect::kBackspace: {
                std::string text = view.text;
                if (view.selectionStart >= 0) {
                    text.erase(view.selectionStart, view.selectionLength);
                } else if (view.cursor > 0) {
                    text.erase(view.cursor - 1, 1);
                }
                Expected(e, f) = {text};
                Empty(e, Other(f));
                break;
            }
            case KeyEffect::kLeaves:
                Empty(e, Other(f));
                break;
            case KeyEffect::kRejected:
                e.beeps = 1;
                break;
            case KeyEffect::kSelectsAll:
            case KeyEffect::kNothing:
                break;
        }
        Log(kind, Name(f) + ": key " + key->name);
        if (key->key == Qt::Key_unknown) {
            QTest::keyClick(edit, key->ascii, key->modifiers);
        } else {
            QTest::keyClick(edit, key->key, key->modifiers);
        }
        if (key->effect == KeyEffect::kSelectsAll && !edit->text().isEmpty() &&
            edit->selectedText() != edit->text())
            Fail("Ctrl+A did not select the whole field");
        return e;
    }

    // A selection made with the mouse: a double click on a word, or a click and a
    // Shift-click that spans the characters between them.
    Expectation Select(Field f) {
        QLineEdit* edit = Edit(f);
        auto at = [&] { return QPoint(2 + Pick(edit->width() - 4), edit->height() / 2); };
        if (Chance(50)) {
            Log("double click", Name(f) + ": double click");
            QTest::mouseDClick(edit, Qt::LeftButton, {}, at());
        } else {
            Log("click, Shift-click", Name(f) + ": click, Shift-click");
            QTest::mouseClick(edit, Qt::LeftButton, {}, at());
            QTest::mouseClick(edit, Qt::LeftButton, Qt::ShiftModifier, at());
        }
        return Unchanged();
    }

    Expectation Press(const char* button) {
        Expectation e = Unchanged();
        std::string r = *e.r.begin(), z = *e.z.begin();
        if (std::string(button) == "CalcBtn") {
            CalculateOutcome out = Calculate(r, z);
            e.r = {out.r};
            e.z = {out.z};
            e.beeps = out.beep ? 1 : 0;
            e.message = out.message;
            e.help = false;
            e.written[0] = e.written[1] = true;
        } else if (std::string(button) == "ClearBtn") {
            Empty(e, Field::kR);
            Empty(e, Field::kZ);
            e.help = false;
        } else {
            e.help = true;
        }
        Log(button, std::string("click ") + button + " on r \"" + r + "\" z \"" + z + "\"");
        Click(button);
        return e;
    }

    // The Edit menu's items act on the field with the focus; a person opens the menu, and
    // chooses the item when it is enabled.
    Expectation ChooseEditItem() {
        static const char* kItems[] = {"Undo", "Cut", "Copy", "Paste", "Clear"};
        const char* caption = kItems[Pick(5)];
        if (!FocusedField() || Chance(10)) Focus(Chance(50) ? Field::kR : Field::kZ);
        if (std::string(caption) == "Paste" && Chance(15)) CopyElsewhere();
        if (!FocusedField()) {
            Fail("a click into a field did not give it the focus");
            return Unchanged();
        }
        Field f = *FocusedField();
        QLineEdit* edit = Edit(f);
        FieldView view = ViewOf(edit);
        std::string clipboard = QApplication::clipboard()->text().toStdString();
        bool selected = view.selectionStart >= 0;
        std::string withoutSelection = selected ? Replace(view, "") : view.text;

        Expectation e = Unchanged();
        bool applies = false;
        std::string name = caption;
        if (name == "Undo") {
            applies = edit->isUndoAvailable();
            if (applies) Expected(e, f) = history_[static_cast<int>(f)];
        } else if (name == "Cut" || name == "Clear") {
            applies = selected;
            if (applies) Expected(e, f) = {withoutSelection};
        } else if (name == "Copy") {
            applies = selected;
        } else {
            applies = !clipboard.empty();
            if (applies) Expected(e, f) = AfterInsertion(view, clipboard);
        }

        Log(std::string("Edit > ") + caption,
            Name(f) + ": Edit > " + caption + " on \"" + view.text + "\"" +
                (selected ? " with a selection" : "") + ", clipboard \"" + clipboard + "\"");
        QAction* item = MenuItem("Edit", caption);
        if (!item) return e;
        if (item->isEnabled() != applies) {
            Fail(std::string("Edit > ") + caption + (applies ? " is greyed" : " is enabled") +
                 " where it " + (applies ? "applies" : "does not apply"));
            return e;
        }
        if (!applies) return e;
        item->trigger();

        std::string now = QApplication::clipboard()->text().toStdString();
        if ((name == "Cut" || name == "Copy") &&
            now != view.text.substr(view.selectionStart, view.selectionLength))
            Fail(std::string(caption) + " left \"" + now + "\" on the clipboard");
        return e;
    }

    // A person copies a text in some other program: a number, a long one, or no number.
    void CopyElsewhere() {
        static const char* kTexts[] = {"0.25",        "-0.75", "3",     "123456789012", "0.5abc",
                                       "  -.9999999", "1e3",   "hello", "-0.3000004",   "7.5"};
        const char* text = kTexts[Pick(10)];
        Log("copy elsewhere", std::string("elsewhere: copy \"") + text + "\"");
        QApplication::clipboard()->setText(QString::fromUtf8(text));
    }

    // About shows the splash window as the About box; the next activation of the conversion
    // window hides it again.
    Expectation ChooseAbout() {
        Log("Edit > About Corvane", "Edit > About Corvane");
        Expectation e = Unchanged();
        QAction* item = MenuItem("Edit", "About Corvane");
        if (!item) return e;
        if (!item->isEnabled()) {
            Fail("About Corvane is greyed");
            return e;
        }
        item->trigger();
        // Checked at once: in this test the splash window's own timer may still be running
        // (the window was not brought up by it), and when it fires it hides the window.
        if (!SplashShown()) Fail("About did not show the splash window");
        Activate();
        if (!QTest::qWaitFor([] { return !SplashShown(); }, 1000))
            Fail("the splash window stayed up after the conversion window was activated");
        return e;
    }

    static bool SplashShown() {
        Ref<Object> splash = RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd"));
        return splash && RuntimeWindowVisible(splash.get());
    }

    // The item captioned `caption` in the menu captioned `menu`, after the menu has been told
    // that it opens, as when a person opens it (which enables its items).
    QAction* MenuItem(const char* menu, const char* caption) {
        QMenuBar* bar = Top()->findChild<QMenuBar*>();
        for (QAction* top : bar ? bar->actions() : QList<QAction*>()) {
            if (top->text() != QString::fromUtf8(menu) || !top->menu()) continue;
            emit top->menu()->aboutToShow();
            for (QAction* item : top->menu()->actions())
                if (item->text() == QString::fromUtf8(caption)) return item;
        }
        Fail(std::string("no menu item ") + menu + " > " + caption);
        return nullptr;
    }

    // ---- the checks after each action ----

    void Check(const Expectation& e) {
        std::string r = Edit(Field::kR)->text().toStdString();
        std::string z = Edit(Field::kZ)->text().toStdString();
        if (RText() != r || ZText() != z)
            Fail("the program reads \"" + RText() + "\" \"" + ZText() +
                 "\" where the fields show \"" + r + "\" \"" + z + "\"");
        for (const std::string& text : {r, z})
            if (text.size() > kFieldLimit) Fail("\"" + text + "\" is longer than nine characters");
        if (!e.r.count(r)) Fail("r shows \"" + r + "\"; expected " + Join(e.r));
        if (!e.z.count(z)) Fail("z shows \"" + z + "\"; expected " + Join(e.z));

        int64_t beeps = ToolkitBeepCount();
        beeps_ += static_cast<int>(beeps);
        messages_ += e.message ? 1 : 0;
        if (beeps != e.beeps)
            Fail(std::to_string(beeps) + " beeps; expected " + std::to_string(e.beeps));
        ToolkitResetBeepCount();

        std::vector<std::string> boxes = ToolkitMessageBoxes();
        ToolkitClearMessageBoxes();
        for (const std::string& box : boxes)
            if (box != kRangeMessage) Fail("a message box: \"" + box + "\"");
        if (static_cast<int>(boxes.size()) != (e.message ? 1 : 0))
            Fail(std::to_string(boxes.size()) + " message boxes; expected " +
                 (e.message ? "1" : "0"));

        if (RuntimeUnhandledExceptionCount() != unhandled_) Fail("an unhandled exception");
        if (e.help) help_ = *e.help;
        if (HelpVisible() != help_)
            Fail(std::string("the help text is ") + (help_ ? "hidden" : "shown"));

        // The texts each field held since the program last changed it: what Undo may bring back.
        for (Field f : {Field::kR, Field::kZ}) {
            const std::string& now = f == Field::kR ? r : z;
            auto& history = history_[static_cast<int>(f)];
            if (e.written[static_cast<int>(f)] && now != shown_[static_cast<int>(f)])
                history.clear();
            history.insert(now);
            shown_[static_cast<int>(f)] = now;
        }
    }

    static std::string Join(const std::set<std::string>& texts) {
        std::string all;
        for (const std::string& t : texts) all += (all.empty() ? "\"" : " or \"") + t + "\"";
        return all;
    }

    static std::string Name(Field f) { return f == Field::kR ? "r" : "z"; }

    // Keeps the last actions for a failure's report, and counts the kinds of action.
    void Log(const std::string& kind, const std::string& entry) {
        ++mix_[kind];
        Remember("#" + std::to_string(step_) + " " + entry);
    }
    void Remember(const std::string& entry) {
        recent_.push_back(entry);
        if (recent_.size() > 30) recent_.pop_front();
    }
    void Fail(const std::string& what) {
        if (failed_) return;
        failed_ = true;
        std::ostringstream out;
        out << what << "\nat action " << step_ << " of the run with seed " << seed_
            << " (CORVANE_MONKEY_SEED=" << seed_ << " repeats it); the last actions:\n";
        for (const std::string& entry : recent_) out << "  " << entry << "\n";
        ADD_FAILURE() << out.str();
    }

    uint64_t seed_ = 0;
    std::mt19937_64 random_;
    std::vector<Key> keys_;
    int64_t unhandled_ = 0;
    bool help_ = false;
    int step_ = 0;
    bool failed_ = false;
    std::string shown_[2];
    std::set<std::string> history_[2];
    std::deque<std::string> recent_;
    std::deque<Key> plan_;  // keys still to type into planField_
    Field planField_ = Field::kR;
    bool calculateNext_ = false;
    std::map<std::string, int> mix_;  // actions by kind
    int beeps_ = 0;
    int messages_ = 0;
};

// Each action is drawn by the thousand: 60 start a whole number (its keys follow one per
// action, then mostly "Calculate"), 580 are single keys, 60 selections, 120 presses of
// "Calculate", 30 of "Clear", 30 of "?", 115 Edit items and 5 About boxes.
TEST_F(ConversionMonkey, TenThousandRandomActionsKeepTheWindowConsistent) {
    Check(Unchanged());
    for (step_ = 1; step_ <= kActions && !failed_; ++step_) {
        Field f = Chance(50) ? Field::kR : Field::kZ;
        int roll = Pick(1000);
        if (plan_.empty() && !calculateNext_ && roll < 60) PlanNumber(f);
        Expectation e;
        if (!plan_.empty()) {
            Key key = plan_.front();
            plan_.pop_front();
            e = TypeKey(planField_, key, "key of a whole number");
            calculateNext_ = plan_.empty() && Chance(80);
        } else if (calculateNext_) {
            calculateNext_ = false;
            e = Press("CalcBtn");
        } else if (roll < 640) {
            e = TypeKey(f, RandomKey());
        } else if (roll < 700) {
            e = Select(f);
        } else if (roll < 820) {
            e = Press("CalcBtn");
        } else if (roll < 850) {
            e = Press("ClearBtn");
        } else if (roll < 880) {
            e = Press("qBtn");
        } else if (roll < 995) {
            e = ChooseEditItem();
        } else {
            e = ChooseAbout();
        }
        Check(e);
    }
    std::string mix;
    for (const auto& [kind, count] : mix_) mix += "\n  " + std::to_string(count) + " " + kind;
    std::printf("monkey: seed %llu, %d actions, %d range messages, %d beeps:%s\n",
                static_cast<unsigned long long>(seed_), step_ - 1, messages_, beeps_, mix.c_str());
}

}  // namespace
}  // namespace conversion_test
