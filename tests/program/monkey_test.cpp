// A monkey at the conversion window: ten thousand random actions of a person (any key of a
// whole keyboard typed into either field, selections made with the mouse, clicks on the three
// buttons), each checked against what the window must do.
//
// The expectation of each action is worked out here from what the window showed just before
// it: the two texts, the cursor and the selection. A press of "Calculate" is worked out by the
// conversion rules, re-stated below in plain C++ with numbers read and written by the C++
// library, not the toolkit. The run is repeatable: CORVANE_MONKEY_SEED picks another.
#include <array>
#include <charconv>
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
    std::optional<bool> help;  // the help text's visibility, when the action sets it
};

// ---- the conversion rules ----------------------------------------------------------------

// The leading number of a text, 0 when there is none, read in the "C" locale. The fields
// can hold no "inf", "nan" or "0x" (no key or copied text brings an "i", "n" or "x").
double ReadNumber(const std::string& text) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c);
}

// A number with a sign and six decimals, as both output patterns write it: "+0.000000" keeps
// the digit before the point, "+.000000" drops a lone zero there; what shows as zero carries
// a plus.
std::string SixDecimals(double value, bool digitBeforePoint) {
    char digits[400];
    auto written = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                 std::chars_format::fixed, 6);
    std::string shown(digits, written.ptr);
    const bool zero = shown == "0.000000";
    if (!digitBeforePoint && shown.starts_with("0.")) shown.erase(0, 1);
    return (std::signbit(value) && !zero ? "-" : "+") + shown;
}

// One press of "Calculate" on the texts of the two fields.
void Calculate(const std::string& rText, const std::string& zText, Expectation& e) {
    e.help = false;
    if (rText.empty() && zText.empty()) {
        e.beeps = 1;
        return;
    }
    double r = ReadNumber(rText);
    if (std::fabs(r) >= 0.000001 && 1.0 > std::fabs(r))
        e.text[1] = {SixDecimals(0.5 * std::log((1.0 + r) / (1.0 - r)), true)};
    double z = ReadNumber(*e.text[1].begin());
    if (z >= -6.10303 && 6.10303 >= z) {
        r = (std::exp(2.0 * z) - 1.0) / (std::exp(2.0 * z) + 1.0);
        e.text[0] = {SixDecimals(r, false)};
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
    kRejected,   // a beep; neither field changes
    kNothing,    // Ctrl+A, a key equivalent, and F1 to F12, keys without a character
};

Effect EffectOf(const std::string& key) {
    if (key.size() == 1)
        return key.find_first_of("0123456789-./") == 0 ? Effect::kTypes : Effect::kRejected;
    if (key == "Backspace") return Effect::kBackspace;
    if (key == "Tab" || key == "Shift+Tab") return Effect::kLeaves;
    return key == "Ctrl+A" || key[0] == 'F' ? Effect::kNothing : Effect::kRejected;
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
    static void Empty(Expectation& e, int f) { e.text[f] = {""}; }
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
    std::deque<std::string> recent_;
    std::deque<Key> plan_;  // keys still to type into planField_
};

// Per thousand actions: 60 start a whole number (its keys follow one per action, then mostly
// "Calculate"), 640 are single keys, 90 selections, 150 presses of "Calculate", 40 of "Clear"
// and 20 of "?".
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
        } else if (calculateNext_ || (roll >= 790 && roll < 940)) {
            calculateNext_ = false;
            Check(Press("CalcBtn"));
        } else {
            Check(roll < 700   ? TypeKey(f, RandomKey())
                  : roll < 790 ? Select(f)
                  : roll < 980 ? Press("ClearBtn")
                               : Press("qBtn"));
        }
    }
    EXPECT_EQ(step_, 10001);
    EXPECT_GT(messages_, 100) << "the run reaches the limits of the rules";
    EXPECT_GT(beeps_, 100);
}

}  // namespace
}  // namespace conversion_test
