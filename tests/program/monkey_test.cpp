// A monkey at the conversion window: ten thousand random actions of a person (any key of a
// whole keyboard typed into either field, clicks on the three buttons, the Edit menu's items
// on a selection or none, the About box), each checked against what the window must do.
//
// The expectation of each action is worked out here from what the window showed just before
// it: the two texts, the cursor and the selection, the clipboard. A press of "Calculate" is
// worked out by the conversion rules, re-stated below in plain C++ (numbers read by the C
// library); only Format, which the toolkit provides, is borrowed. The run is repeatable:
// CORVANE_MONKEY_SEED picks another.
#include <QClipboard>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

constexpr size_t kFieldLimit = 9;  // characters a person may put into a number field
constexpr const char* kFieldName[] = {"rEdit", "zEdit"};  // a field is 0 (r) or 1 (z)

struct Expectation {
    std::array<std::set<std::string>, 2> text;  // what each field may show afterwards
    int beeps = 0;
    bool message = false;
    std::optional<bool> help;          // the help text's visibility, when the action sets it
    std::array<bool, 2> written = {};  // the fields the program writes
};

// ---- the conversion rules ----------------------------------------------------------------

// The leading number of a text, 0 when there is none, read in the "C" locale. The fields
// can hold no "inf", "nan" or "0x" (no key or copied text brings an "i", "n" or "x").
double ReadNumber(const std::string& text) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c);
}

std::string Format(double value, const char* pattern) {
    return StringFormat(value, String(pattern)).Std();
}

// One press of "Calculate" on the texts of the two fields.
void Calculate(const std::string& rText, const std::string& zText, Expectation& e) {
    e.help = false;
    e.written = {true, true};
    if (rText.empty() && zText.empty()) {
        e.beeps = 1;
        return;
    }
    double r = ReadNumber(rText);
    if (std::fabs(r) >= 0.000001 && 1.0 > std::fabs(r))
        e.text[1] = {Format(0.5 * std::log((1.0 + r) / (1.0 - r)), "+0.000000")};
    double z = ReadNumber(*e.text[1].begin());
    if (z >= -6.10303 && 6.10303 >= z) {
        r = (std::exp(2.0 * z) - 1.0) / (std::exp(2.0 * z) + 1.0);
        e.text[0] = {Format(r, "+.000000")};
    }
    e.message = 0.000001 > std::fabs(r) || std::fabs(r) > 0.999999;
}

// ---- the keyboard --------------------------------------------------------------------------

// A key; one named by a single character is typed as that character.
struct Key {
    std::string name;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = {};
};

std::map<std::string, Key> Keyboard() {
    // clang-format off
    std::vector<Key> keys = {
        {"Delete", Qt::Key_Delete}, {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape},
        {"Enter", Qt::Key_Enter, Qt::KeypadModifier}, {"Left", Qt::Key_Left},
        {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down},
        {"Home", Qt::Key_Home}, {"End", Qt::Key_End}, {"PageUp", Qt::Key_PageUp},
        {"PageDown", Qt::Key_PageDown}, {"Shift+Left", Qt::Key_Left, Qt::ShiftModifier},
        {"Shift+Right", Qt::Key_Right, Qt::ShiftModifier},
        {"Shift+Home", Qt::Key_Home, Qt::ShiftModifier}, {"Backspace", Qt::Key_Backspace},
        {"Tab", Qt::Key_Tab}, {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier}};
    // clang-format on
    for (char c : std::string("abcdefghijklmnopqrstuvwxyz0123456789`-=[]\\;',./ "))
        keys.push_back({std::string(1, c)});
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ~!@#$%^&*()_+{}|:\"<>?"))
        keys.push_back({std::string(1, c), Qt::Key_unknown, Qt::ShiftModifier});
    for (int n = 0; n < 12; ++n)
        keys.push_back({"F" + std::to_string(n + 1), static_cast<Qt::Key>(Qt::Key_F1 + n)});
    std::map<std::string, Key> byName;
    for (Key& key : keys) byName.emplace(key.name, key);
    return byName;
}

enum class Effect {
    kTypes,      // a number character: typed into the field, the other field emptied
    kBackspace,  // deletes the selection or the character before the cursor; other emptied
    kLeaves,     // Tab and Shift+Tab: the text stays, the focus moves on; other emptied
    kRejected,   // a beep; neither field changes (Ctrl+A and F1 to F12 among them)
};

Effect EffectOf(const std::string& key) {
    if (key.size() == 1)
        return key.find_first_of("0123456789-./") == 0 ? Effect::kTypes : Effect::kRejected;
    if (key == "Backspace") return Effect::kBackspace;
    if (key == "Tab" || key == "Shift+Tab") return Effect::kLeaves;
    return Effect::kRejected;
}

// ---- editing a field -----------------------------------------------------------------------

// The field's selection, or an empty span at its cursor.
struct Span {
    int from, length;
};
Span SelectionOf(QLineEdit* edit) {
    if (!edit->hasSelectedText()) return {edit->cursorPosition(), 0};
    return {edit->selectionStart(), static_cast<int>(edit->selectedText().size())};
}

std::string Replace(std::string text, Span span, const std::string& inserted) {
    return text.replace(span.from, span.length, inserted);
}

// What a field may show after `inserted` went into it: the whole of it when the result fits
// the limit (or is no longer than before); otherwise as much as fits, or nothing.
std::set<std::string> AfterInsertion(const std::string& text, Span span,
                                     const std::string& inserted) {
    std::string whole = Replace(text, span, inserted);
    if (whole.size() <= kFieldLimit || whole.size() <= text.size()) return {whole};
    size_t room = kFieldLimit - std::min(kFieldLimit, text.size() - span.length);
    return {text, Replace(text, span, inserted.substr(0, room))};
}

// ---- the monkey ----------------------------------------------------------------------------

class ConversionMonkey : public ConversionWindowTest {
  protected:
    void SetUp() override {
        ConversionWindowTest::SetUp();
        const char* seed = std::getenv("CORVANE_MONKEY_SEED");
        seed_ = seed && *seed ? std::strtoull(seed, nullptr, 0) : 20190311;
        random_.seed(seed_);
        QApplication::clipboard()->clear();
        Activate();
        unhandled_ = RuntimeUnhandledExceptionCount();
    }

    QLineEdit* Edit(int f) const { return QtControl<QLineEdit>(window(), kFieldName[f]); }
    std::string TextShown(int f) const { return Edit(f)->text().toStdString(); }
    void Activate() {
        Top()->activateWindow();
        if (!QTest::qWaitForWindowActive(Top())) Fail("the window could not be activated");
    }
    int Pick(size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    QPoint Somewhere(QLineEdit* edit) { return {2 + Pick(edit->width() - 4), edit->height() / 2}; }
    // A person gives a field the focus by clicking into it, unless it has the focus already.
    void Focus(int f) {
        if (QApplication::focusWidget() != Edit(f))
            QTest::mouseClick(Edit(f), Qt::LeftButton, {}, Somewhere(Edit(f)));
    }
    int Focused() const {  // the field with the focus, or -1
        QWidget* focus = QApplication::focusWidget();
        return focus == Edit(0) ? 0 : focus == Edit(1) ? 1 : -1;
    }
    static void Empty(Expectation& e, int f) {
        e.text[f] = {""};
        e.written[f] = true;
    }
    Expectation Unchanged() const { return {{{{TextShown(0)}, {TextShown(1)}}}}; }

    // ---- the actions; each does what a person would and says what must follow ----

    // Half the keys are those a number needs, so that numbers worth converting build up.
    const Key& RandomKey() {
        if (Chance(50)) return std::next(keys_.begin(), Pick(keys_.size()))->second;
        const int n = Pick(15);
        return keys_.at(n == 13   ? "Backspace"
                        : n == 14 ? "Tab"
                                  : std::string(1, "0123456789-./"[n]));
    }

    // Now and then a person types a whole number into one field after selecting what it
    // holds: often one at a limit of the rules.
    void PlanNumber(int f) {
        static const std::vector<std::string> kEdges[] = {
            {"0.99999",   "0.999999", ".9999999", "-0.99999", "-0.999999", "-.9999999", "0.000001",
             "-0.000001", ".0000005", ".0000015", "1",        "-1",        "0",         "0.5",
             "-0.3",      "2",        "1/2",      "-",        ".",         "0.9999",    "-.999990"},
            {"6.10303", "-6.10303", "6.10304", "-6.10304", "6.103029", "-6.103029", "7.5",
             "7.254329", ".0000001", "0.000001", "-2.5", "1", "0", "-"}};
        std::ostringstream number;
        number.precision(1 + Pick(7));
        if (Chance(50)) {
            number << kEdges[f][Pick(kEdges[f].size())];
        } else {
            number << std::fixed
                   << std::uniform_real_distribution<>(-1.0, 1.0)(random_) * (f ? 8 : 1);
        }
        planField_ = f;
        plan_ = {keys_.at("Ctrl+A")};
        for (char c : number.str()) plan_.push_back(keys_.at(std::string(1, c)));
        Log(std::string(kFieldName[f]) + ": set out to type " + number.str());
    }

    Expectation TypeKey(int f, const Key& key) {
        Focus(f);
        QLineEdit* edit = Edit(f);
        Span span = SelectionOf(edit);
        Expectation e = Unchanged();
        const Effect effect = EffectOf(key.name);
        if (effect == Effect::kTypes) e.text[f] = AfterInsertion(TextShown(f), span, key.name);
        if (effect == Effect::kBackspace && span.length == 0 && span.from > 0)
            span = {span.from - 1, 1};
        if (effect == Effect::kBackspace) e.text[f] = {Replace(TextShown(f), span, "")};
        if (effect == Effect::kTypes || effect == Effect::kBackspace || effect == Effect::kLeaves)
            Empty(e, 1 - f);
        e.beeps = effect == Effect::kRejected;
        Log(std::string(kFieldName[f]) + ": key " + key.name);
        if (key.key == Qt::Key_unknown) {
            QTest::keyClick(edit, key.name[0], key.modifiers);
        } else {
            QTest::keyClick(edit, key.key, key.modifiers);
        }
        return e;
    }

    // A selection made with the mouse: a double click on a word, or a click and a Shift-click.
    Expectation Select(int f) {
        Log(std::string(kFieldName[f]) + ": mouse selection");
        if (Chance(50))
            return QTest::mouseDClick(Edit(f), Qt::LeftButton, {}, Somewhere(Edit(f))), Unchanged();
        QTest::mouseClick(Edit(f), Qt::LeftButton, {}, Somewhere(Edit(f)));
        QTest::mouseClick(Edit(f), Qt::LeftButton, Qt::ShiftModifier, Somewhere(Edit(f)));
        return Unchanged();
    }

    Expectation Press(const std::string& button) {
        Expectation e = Unchanged();
        Log("click " + button + " on r \"" + TextShown(0) + "\" z \"" + TextShown(1) + "\"");
        if (button == "CalcBtn") Calculate(TextShown(0), TextShown(1), e);
        if (button == "ClearBtn") Empty(e, 0), Empty(e, 1);
        if (button != "CalcBtn") e.help = button == "qBtn";
        Click(button.c_str());
        return e;
    }

    // The Edit menu's items act on the field with the focus; a person opens the menu and
    // chooses the item when it is enabled.
    Expectation ChooseEditItem() {
        const std::string name = std::array{"Undo", "Cut", "Copy", "Paste", "Clear"}[Pick(5)];
        if (Chance(10) || Focused() < 0) Focus(Pick(2));
        if (name == "Paste" && Chance(15)) {  // a person copies a text in some other program
            const char* text =
                std::array{"0.25", "-0.75",       "3",     "123456789012", "0.5abc",
                           "1e3",  "  -.9999999", "hello", "-0.3000004",   "7.5"}[Pick(10)];
            Log(std::string("elsewhere: copy \"") + text + "\"");
            QApplication::clipboard()->setText(text);
        }
        const int f = Focused();
        if (f < 0) return Fail("a click into a field gave it no focus"), Unchanged();
        const Span span = SelectionOf(Edit(f));
        const std::string text = TextShown(f),
                          clipboard = QApplication::clipboard()->text().toStdString();
        Expectation e = Unchanged();
        bool applies = span.length > 0;  // Cut, Copy and Clear
        if (name == "Undo" && (applies = Edit(f)->isUndoAvailable())) e.text[f] = history_[f];
        if ((name == "Cut" || name == "Clear") && applies) e.text[f] = {Replace(text, span, "")};
        if (name == "Paste" && (applies = !clipboard.empty()))
            e.text[f] = AfterInsertion(text, span, clipboard);
        Log(std::string(kFieldName[f]) + ": Edit > " + name + " on \"" + text + "\" (" +
            std::to_string(span.length) + " selected), clipboard \"" + clipboard + "\"");
        QAction* item = MenuItem(name);
        if (item && item->isEnabled() != applies)
            Fail("Edit > " + name + (applies ? " is greyed" : " is enabled") + " where it " +
                 (applies ? "applies" : "does not apply"));
        if (!item || !applies || !item->isEnabled()) return e;
        item->trigger();
        const std::string now = QApplication::clipboard()->text().toStdString();
        if ((name == "Cut" || name == "Copy") && now != text.substr(span.from, span.length))
            Fail(name + " left \"" + now + "\" on the clipboard");
        return e;
    }

    // About shows the splash window as the About box; activating the conversion window hides
    // it. Checked at once: the splash window's own timer may still run here, and hide it.
    Expectation ChooseAbout() {
        Log("Edit > About Corvane");
        QAction* item = MenuItem("About Corvane");
        if (!item || !item->isEnabled()) return Fail("About Corvane is greyed"), Unchanged();
        item->trigger();
        if (!SplashShown()) Fail("About did not show the splash window");
        Activate();
        if (!QTest::qWaitFor([] { return !SplashShown(); }, 1000))
            Fail("the splash window stayed up after the conversion window was activated");
        return Unchanged();
    }

    QAction* MenuItem(const std::string& caption) {
        QAction* item = MenuItemOf(Top(), QString::fromStdString(caption));
        if (!item) Fail("no menu item " + caption);
        return item;
    }

    // ---- the checks after each action ----

    void Check(const Expectation& e) {
        for (int f : {0, 1}) {
            const std::string shown = TextShown(f);
            if (TextOf(f ? W::kZEditSlot : W::kREditSlot) != shown)
                Fail(std::string(kFieldName[f]) + ": the program reads other than \"" + shown +
                     "\"");
            if (!e.text[f].count(shown))
                Fail(std::string(kFieldName[f]) + " shows \"" + shown + "\"; expected \"" +
                     *e.text[f].begin() + "\"" + (e.text[f].size() > 1 ? " or the like" : ""));
            // The texts shown since the program last changed the field: what Undo may bring back.
            if (e.written[f] && shown != shownBefore_[f]) history_[f].clear();
            history_[f].insert(shownBefore_[f] = shown);
        }
        if (ToolkitBeepCount() != e.beeps)
            Fail(std::to_string(ToolkitBeepCount()) + " beeps; expected " +
                 std::to_string(e.beeps));
        const std::vector<std::string> boxes = ToolkitMessageBoxes();
        if (boxes != std::vector<std::string>(e.message, "r values must range from -1.00 to +1.00"))
            Fail(std::to_string(boxes.size()) + " message boxes; expected " +
                 std::to_string(e.message));
        if (RuntimeUnhandledExceptionCount() != unhandled_) Fail("an unhandled exception");
        help_ = e.help.value_or(help_);
        if (HelpVisible() != help_)
            Fail(std::string("the help text is ") + (help_ ? "hidden" : "shown"));
        beeps_ += e.beeps;
        messages_ += e.message;
        ToolkitResetBeepCount();
        ToolkitClearMessageBoxes();
    }

    // Keeps the last actions for a failure's report.
    void Log(const std::string& entry) {
        recent_.push_back("#" + std::to_string(step_) + " " + entry);
        if (recent_.size() > 30) recent_.pop_front();
    }
    void Fail(const std::string& what) {
        if (failed_) return;
        failed_ = true;
        std::string report = what + "\nat action " + std::to_string(step_) +
                             " (CORVANE_MONKEY_SEED=" + std::to_string(seed_) +
                             " repeats it); the last actions:";
        for (const std::string& entry : recent_) report += "\n  " + entry;
        ADD_FAILURE() << report;
    }

    uint64_t seed_ = 0;
    std::mt19937_64 random_;
    const std::map<std::string, Key> keys_ = Keyboard();
    int64_t unhandled_ = 0;
    bool help_ = false, failed_ = false, calculateNext_ = false;
    int step_ = 0, beeps_ = 0, messages_ = 0, planField_ = 0;
    std::string shownBefore_[2];
    std::set<std::string> history_[2];
    std::deque<std::string> recent_;
    std::deque<Key> plan_;  // keys still to type into planField_
};

// Per thousand actions: 60 start a whole number (its keys follow one per action, then mostly
// "Calculate"), 580 are single keys, 60 selections, 120 presses of "Calculate", 30 of "Clear",
// 30 of "?", 115 Edit items and 5 About boxes.
TEST_F(ConversionMonkey, TenThousandRandomActionsKeepTheWindowConsistent) {
    Check(Unchanged());
    for (step_ = 1; step_ <= 10000 && !failed_; ++step_) {
        const int f = Pick(2), roll = Pick(1000);
        if (plan_.empty() && !calculateNext_ && roll < 60) PlanNumber(f);
        if (!plan_.empty()) {
            const Key key = plan_.front();
            plan_.pop_front();
            calculateNext_ = plan_.empty() && Chance(80);
            Check(TypeKey(planField_, key));
        } else if (calculateNext_ || (roll >= 700 && roll < 820)) {
            calculateNext_ = false;
            Check(Press("CalcBtn"));
        } else {
            Check(roll < 640   ? TypeKey(f, RandomKey())
                  : roll < 700 ? Select(f)
                  : roll < 850 ? Press("ClearBtn")
                  : roll < 880 ? Press("qBtn")
                  : roll < 995 ? ChooseEditItem()
                               : ChooseAbout());
        }
    }
    EXPECT_EQ(step_, 10001);
    EXPECT_GT(messages_, 100) << "the run reaches the limits of the rules";
    EXPECT_GT(beeps_, 100);
}

}  // namespace
}  // namespace conversion_test
