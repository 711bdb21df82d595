// The display check reads the platform and the X display where Qt reads them: the command line
// before the environment, option by option as Qt takes them out of the arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"

namespace {

// Sets or unsets a variable for the life of the object, then puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Put(value);
    }
    ~ScopedVariable() { Put(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void Put(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

struct ProbeCase {
    std::vector<std::string> arguments;            // after the program's name
    std::optional<std::string> display, platform;  // DISPLAY and QT_QPA_PLATFORM
    bool available;
    std::string said;  // why none is found
};

// The displays named here have no number, so that the reason names the one that was read
// without any server being asked.
TEST(DisplayProbe, AsksForThePlatformAndTheXDisplayThatQtWillUse) {
    const std::string unset = "DISPLAY is not set";
    const std::string fromArgument = "-display \"nowhere\" names no display number";
    // clang-format off
    // Arguments; DISPLAY, QT_QPA_PLATFORM; whether a display is found; else the reason. The
    // last -display counts, one at the end has no value, and after -title it is the title.
    const ProbeCase cases[] = {
        {{},                                          {},        {},          false, unset},
        {{"-platform", "offscreen"},                  {},        {},          true,  ""},
        {{"--platform", "offscreen"},                 {},        {},          true,  ""},
        {{"-platform", "xcb", "-display", "nowhere"}, {},        "offscreen", false, fromArgument},
        {{"-display", "nowhere"},                     ":0",      {},          false, fromArgument},
        {{"--display", "nowhere"},                    ":0",      {},          false, fromArgument},
        {{"-display", ":0", "-display", "nowhere"},   {},        {},          false, fromArgument},
        {{"-display"},                                "nowhere", {},          false,
         "DISPLAY \"nowhere\" names no display number"},
        {{"-title", "-display", "nowhere"},           {},        {},          false, unset},
    };
    // clang-format on
    const ScopedVariable noWayland("WAYLAND_DISPLAY", std::nullopt);
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE("DISPLAY=" + c.display.value_or("(unset)") +
                     " QT_QPA_PLATFORM=" + c.platform.value_or("(unset)") +
                     " args: " + testing::PrintToString(c.arguments));
        const ScopedVariable display("DISPLAY", c.display), platform("QT_QPA_PLATFORM", c.platform);
        std::vector<std::string> texts = {"corvane-conversion"};
        texts.insert(texts.end(), c.arguments.begin(), c.arguments.end());
        std::vector<char*> argv;
        for (std::string& text : texts) argv.push_back(text.data());
        argv.push_back(nullptr);
        std::string why;
        EXPECT_EQ(ToolkitDisplayAvailable(static_cast<int>(texts.size()), argv.data(), &why),
                  c.available);
        EXPECT_EQ(why, c.available ? "" : "no display found: " + c.said);
    }
}

}  // namespace
