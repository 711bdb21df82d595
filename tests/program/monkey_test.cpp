// A monkey at the conversion window: ten thousand random actions of a person (keys typed into
// either field, clicks on the three buttons), each checked against what the window must do.
//
// The expectation of each action is worked out here from what the window showed just before
// it. A press of "Calculate" is worked out by the conversion rules, re-stated below in plain
// C++ with numbers read and written by the C++ library, not the toolkit. The run is
// repeatable: CORVANE_MONKEY_SEED picks another.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <random>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

constexpr size_t kFieldLimit = 9;  // characters a person may type into a number field
constexpr const char* kFieldName[] = {"rEdit", "zEdit"};  // a field is 0 (r) or 1 (z)
constexpr const char* kMessage = "r values must range from -1.00 to +1.00";

struct Expectation {
    std::string text[2];
    int beeps = 0;
    bool message = false;
    int help = -1;  // the help text's visibility when the action sets it: 0 or 1
};

// ---- the conversion rules ----------------------------------------------------------------

// The leading number of a text, 0 when there is none ("." and "-" read as 0, "1/2" as 1).
double ReadNumber(const std::string& text) {
    double value = 0;
    const char* first = text.c_str() + (text.starts_with("+") ? 1 : 0);
    std::from_chars(first, text.c_str() + text.size(), value);
    return value;
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
void Calculate(Expectation& e) {
    e.help = 0;
    if (e.text[0].empty() && e.text[1].empty()) {
        e.beeps = 1;
        return;
    }
    double r = ReadNumber(e.text[0]);
    if (std::fabs(r) >= 0.000001 && 1.0 > std::fabs(r))
        e.text[1] = SixDecimals(0.5 * std::log((1.0 + r) / (1.0 - r)), true);
    double z = ReadNumber(e.text[1]);
    if (z >= -6.10303 && 6.10303 >= z) {
        r = (std::exp(2.0 * z) - 1.0) / (std::exp(2.0 * z) + 1.0);
        e.text[0] = SixDecimals(r, false);
    }
    e.message = 0.000001 > std::fabs(r) || std::fabs(r) > 0.999999;
}

// ---- the monkey ----------------------------------------------------------------------------

// The keys, each typed at the end of a field: those a number needs, some the filter refuses,
// and Backspace. (Keys that move the cursor or the focus are left to the key filter's test.)
const std::string kTyped = "0123456789-./", kRefused = "+,:eZ *";

class ConversionMonkey : public ConversionWindowTest {
  protected:
    void SetUp() override {
        ConversionWindowTest::SetUp();
        const char* seed = std::getenv("CORVANE_MONKEY_SEED");
        seed_ = seed && *seed ? std::strtoull(seed, nullptr, 0) : 20190311;
        random_.seed(seed_);
    }

    std::string Shown(int f) const {
        return QtControl<QLineEdit>(window(), kFieldName[f])->text().toStdString();
    }
    int Pick(size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(random_); }
    Expectation Now() const { return {{Shown(0), Shown(1)}}; }

    // Half the numbers typed lie at a limit of the rules.
    void PlanNumber() {
        static const char* const kEdges[] = {
            "0.99999", "0.999999", ".9999999", "-0.999999", "0.000001", ".0000005",
            "1",       "-1",       "0",        "0.5",       "1/2",      "-",
            "6.10303", "6.10304",  "-6.10303", "7.5",       ".0000001"};
        plan_ = Pick(2) ? kEdges[Pick(std::size(kEdges))]
                        : std::to_string(std::uniform_real_distribution<>(-1.0, 1.0)(random_) *
                                         (Pick(2) ? 8 : 1))
                              .substr(0, 1 + Pick(8));
        planField_ = Pick(2);
        QtControl<QLineEdit>(window(), kFieldName[planField_])->clear();
        Log(std::string(kFieldName[planField_]) + ": cleared to type " + plan_);
    }

    Expectation TypeKey(int f, char key) {
        Expectation e = Now();
        const bool typed = kTyped.find(key) != std::string::npos, backspace = key == '\b';
        if (typed && e.text[f].size() < kFieldLimit) e.text[f] += key;
        if (backspace && !e.text[f].empty()) e.text[f].pop_back();
        if (typed || backspace) e.text[1 - f] = "";
        e.beeps = !typed && !backspace;
        Log(std::string(kFieldName[f]) + ": key " +
            (backspace ? "Backspace" : std::string(1, key)));
        auto* edit = QtControl<QLineEdit>(window(), kFieldName[f]);
        edit->end(false);
        if (backspace) QTest::keyClick(edit, Qt::Key_Backspace);
        if (!backspace) QTest::keyClicks(edit, QString(QChar(key)));
        return e;
    }

    Expectation Press(const std::string& button) {
        Expectation e = Now();
        Log("click " + button + " on r \"" + e.text[0] + "\" z \"" + e.text[1] + "\"");
        if (button == "CalcBtn") Calculate(e);
        if (button == "ClearBtn") e.text[0] = e.text[1] = "", e.help = 0;
        if (button == "qBtn") e.help = 1;
        Click(button.c_str());
        return e;
    }

    void Check(const Expectation& e) {
        for (int f : {0, 1})
            if (Shown(f) != e.text[f] || TextOf(f ? W::kZEditSlot : W::kREditSlot) != e.text[f])
                Fail(std::string(kFieldName[f]) + " shows \"" + Shown(f) + "\"; expected \"" +
                     e.text[f] + "\"");
        if (ToolkitBeepCount() != e.beeps) Fail(std::to_string(ToolkitBeepCount()) + " beeps");
        if (ToolkitMessageBoxes() != std::vector<std::string>(e.message, kMessage))
            Fail(std::to_string(ToolkitMessageBoxes().size()) + " message boxes");
        help_ = e.help < 0 ? help_ : e.help == 1;
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
                             " (CORVANE_MONKEY_SEED=" + std::to_string(seed_) + " repeats it):";
        for (const std::string& entry : recent_) report += "\n  " + entry;
        ADD_FAILURE() << report;
    }

    uint64_t seed_ = 0;
    std::mt19937_64 random_;
    bool help_ = false, failed_ = false;
    int step_ = 0, beeps_ = 0, messages_ = 0, planField_ = 0;
    std::string plan_;  // keys still to type into planField_, then "Calculate"
    std::deque<std::string> recent_;
};

// Per thousand actions: 80 start a whole number (its keys follow one per action, then
// "Calculate"), 620 are single keys, 200 presses of "Calculate", 70 of "Clear", 30 of "?".
TEST_F(ConversionMonkey, TenThousandRandomActionsKeepTheWindowConsistent) {
    for (step_ = 1; step_ <= 10000 && !failed_; ++step_) {
        const int roll = Pick(1000);
        if (!plan_.empty()) {
            const char key = plan_.front();
            plan_.erase(0, 1);
            Check(TypeKey(planField_, key));
            if (plan_.empty()) Check(Press("CalcBtn"));
        } else if (roll < 80) {
            PlanNumber();
            Check(Now());
        } else if (roll < 700) {
            const std::string keys = kTyped + kRefused + "\b\b";
            Check(TypeKey(Pick(2), keys[Pick(keys.size())]));
        } else {
            Check(Press(roll < 900 ? "CalcBtn" : roll < 970 ? "ClearBtn" : "qBtn"));
        }
    }
    EXPECT_EQ(step_, 10001);
    EXPECT_GT(messages_, 100) << "the run reaches the limits of the rules";
    EXPECT_GT(beeps_, 100);
}

}  // namespace
}  // namespace conversion_test
